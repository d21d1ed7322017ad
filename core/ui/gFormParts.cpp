#include "core/ui/gFormParts.h"
#include "core/model/gResIds.h"
#include "core/ui/gResources.h"

#include "core/ui/gTwips.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QStringList>

QLabel* gNewLabel(QWidget* parent, const QString& text, int leftTw, int topTw, int widthTw, int heightTw) {
    auto* lbl = new QLabel(text, parent);
    lbl->setTextFormat(Qt::PlainText);
    lbl->setGeometry(gPxRect(leftTw, topTw, widthTw, heightTw));
    return lbl;
}

QLabel* gNewLabel(QWidget* parent, const char* name, const QString& text, int leftTw, int topTw, int widthTw,
                  int heightTw) {
    QLabel* lbl = gNewLabel(parent, text, leftTw, topTw, widthTw, heightTw);
    lbl->setObjectName(QLatin1String(name));
    return lbl;
}

namespace {

// The text as drawn: "&&" shows "&", a single "&" marks the shortcut and is not drawn.
QString drawnText(const QString& text, bool mnemonic) {
    if (!mnemonic) return text;
    QString out;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&') && i + 1 < text.size()) ++i;
        out += text.at(i);
    }
    return out;
}

} // namespace

void gSetNameText(QLabel* label, const QString& name, const QString& prefix, const QString& suffix,
                  bool mnemonic) {
    if (!label) return;
    const QFontMetrics fm(label->font());
    // Only the line the name stands on can grow with it.
    const QString before = drawnText(prefix.section(QLatin1Char('\n'), -1), mnemonic);
    const QString after = drawnText(suffix.section(QLatin1Char('\n'), 0, 0), mnemonic);
    const int room = label->contentsRect().width() - fm.horizontalAdvance(before + after);
    QString shown = name;
    if (fm.horizontalAdvance(name) > room) shown = fm.elidedText(name, Qt::ElideRight, qMax(room, 0));
    const bool cut = shown != name;
    if (mnemonic) shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    label->setText(prefix + shown + suffix);
    label->setToolTip(cut ? drawnText(prefix, mnemonic) + name + drawnText(suffix, mnemonic) : QString());
}

void gTipWhenCut(QLineEdit* box) {
    if (!box) return;
    const auto update = [box] {
        const int room = box->contentsRect().width() - 8; // the frame and the text margins
        box->setToolTip(box->fontMetrics().horizontalAdvance(box->text()) > room ? box->text() : QString());
    };
    QObject::connect(box, &QLineEdit::textChanged, box, update);
    update();
}

namespace {
const char* const kFittedText = "gFittedText";
}

void gSetFittedLines(QLabel* label, const QString& text) {
    if (!label) return;
    label->setProperty(kFittedText, text);
    label->setWordWrap(false);
    const QFontMetrics fm(label->font());
    const QRect box = label->contentsRect();
    QStringList lines =
        QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    // Lines of Chinese stand taller than the font's own line spacing says: measure
    // them as laid out.
    const auto fits = [&](const QStringList& shown) {
        return fm.boundingRect(QRect(0, 0, box.width(), 1 << 20), Qt::AlignLeft | Qt::AlignTop,
                               shown.join(QLatin1Char('\n')))
                   .height() <= box.height();
    };
    bool cut = false;
    if (!fits(lines)) {
        int keep = lines.size() - 1;
        while (keep > 0 && !fits(lines.mid(0, keep) << QStringLiteral("…")))
            --keep;
        lines = lines.mid(0, keep) << QStringLiteral("…");
        cut = true;
    }
    for (QString& line : lines) {
        const QString shown = fm.elidedText(line, Qt::ElideRight, box.width());
        cut = cut || shown != line;
        line = shown;
    }
    label->setText(lines.join(QLatin1Char('\n')));
    label->setToolTip(cut ? text.trimmed() : QString());
}

void gRefitLines(QLabel* label) {
    if (label && label->property(kFittedText).isValid())
        gSetFittedLines(label, label->property(kFittedText).toString());
}

void gPaintDialogBackground(QWidget* dialog, QPixmap& cache) {
    QPainter p(dialog);
    p.fillRect(dialog->rect(), Qt::white);
    if (cache.isNull()) {
        try {
            cache = gLoadResPicture(Res::DialogBackground, gResKind::Bitmap);
        } catch (...) {
        }
    }
    if (!cache.isNull()) p.drawPixmap(0, 0, cache);
}
