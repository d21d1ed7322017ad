#include "controls/scheduleText.h"

#include "core/base/gColor.h"
#include "core/base/gError.h"
#include "core/ui/gLinkLabel.h"
#include "core/ui/gMsgBox.h"
#include "core/ui/gResources.h"
#include "core/model/gState.h"
#include "core/ui/gTwips.h"
#include "platform/codePage.h"
#include "platform/rtf/rtf.h"
#include "platform/rtf/rtfTextDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QColorDialog>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMimeData>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>

#include <cmath>
#include <vector>

std::function<void(scheduleText* owner)> gShowPopUpEditor;

std::function<std::optional<long>(long current, QWidget* parent)> gTextColorDialog =
    [](long current, QWidget* parent) -> std::optional<long> {
    const QColor c = QColorDialog::getColor(gWinColor(current), parent);
    if (!c.isValid()) return std::nullopt;
    return gWinColorNumber(c);
};

namespace {

const QString kDefaultFontName = QStringLiteral("宋体");
constexpr int kDefaultHalfPoints = 18;
const char* const kRtfMime = "text/rtf";

// Positions on the strip, in twips.
constexpr int kToolLeft[scheduleText::kToolCount] = {0, 360, 720, 1200, 1560, 1920, 2400, 2760, 3120, 6390};
constexpr int kToolSize = 375;
constexpr int kFontNameLeft = 3600, kFontNameWidth = 1800;
constexpr int kFontSizeLeft = 5460, kFontSizeWidth = 870;
constexpr int kLinkDesignLeft = 7560, kLinkTop = 120, kLinkWidth = 360, kLinkHeight = 180;
constexpr int kStripHeight = 375, kBoxTop = 480, kLinkFollowsWidth = 7935;

const char* const kToolPicture[scheduleText::kToolCount] = {
    "textCut",       "textCopy", "textPaste",  "textBold",  "textItalic",
    "textUnderline", "textLeft", "textCenter", "textRight", "textColor"};
const char* const kToolTip[scheduleText::kToolCount] = {"剪切",   "复制",   "粘贴", "加粗",   "倾斜",
                                                        "下划线", "左对齐", "居中", "右对齐", "字体颜色"};

QPixmap toolPicture(const char* name) {
    return gRenderSvg(QStringLiteral(":/res/controls/%1.svg").arg(QLatin1String(name)), QSize(20, 20));
}

rtf::Defaults writerDefaults() {
    return rtf::Defaults{kDefaultFontName, kDefaultHalfPoints};
}

rtf::CharFormat resolved(rtf::CharFormat f) {
    if (f.font.isEmpty()) f.font = kDefaultFontName;
    if (f.halfPoints <= 0) f.halfPoints = kDefaultHalfPoints;
    return f;
}

QString sizeText(int halfPoints) {
    return halfPoints % 2 == 0 ? QString::number(halfPoints / 2) : QString::number(halfPoints / 2) + ".5";
}

// Text from outside as the box may hold it: "\n" between paragraphs, no control
// characters or object markers.
QString cleanPlainText(QString s) {
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(u'\r', u'\n');
    QString out;
    out.reserve(s.size());
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (u == u'\n' || u == u'\t' || (u >= 0x20 && u != 0xFFFC && u != 0xFDD0 && u != 0xFDD1)) out += c;
    }
    return out;
}

QTextDocument* documentOf(const QTextEdit* e) {
    return e->document();
}

} // namespace

QFont scheduleTextDefaultFont() {
    QFont f;
    f.setFamilies({kDefaultFontName, QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                   QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei")});
    f.setPointSizeF(9);
    return f;
}

// ---------------------------------------------------------------------------

scheduleTextBox::scheduleTextBox(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(true);
    const QFont f = scheduleTextDefaultFont();
    setFont(f);
    document()->setDefaultFont(f);
}

void scheduleTextBox::keyPressEvent(QKeyEvent* e) {
    if (tabChangesFocus() && e->key() == Qt::Key_Tab && e->modifiers() == Qt::ControlModifier &&
        !isReadOnly()) {
        e->accept();
        insertPlainText(QStringLiteral("\t"));
        return;
    }
    QTextEdit::keyPressEvent(e);
}

QMimeData* scheduleTextBox::createMimeDataFromSelection() const {
    auto* m = new QMimeData;
    const QTextCursor c = textCursor();
    if (!c.hasSelection()) return m;
    const rtf::Document d = rtf::fromTextDocument(*documentOf(this), c.selectionStart(), c.selectionEnd());
    m->setData(QString::fromLatin1(kRtfMime), rtf::write(d, writerDefaults()));
    QString plain = d.plainText();
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m->setText(plain);
    return m;
}

namespace {
QByteArray rtfData(const QMimeData* source) {
    for (const char* type : {"text/rtf", "application/rtf", "text/richtext"}) {
        const QString t = QString::fromLatin1(type);
        if (source->hasFormat(t)) {
            const QByteArray data = source->data(t);
            if (rtf::isRtf(data)) return data;
        }
    }
    return {};
}
} // namespace

bool scheduleTextBox::canInsertFromMimeData(const QMimeData* source) const {
    return source && (!rtfData(source).isEmpty() || source->hasText());
}

void scheduleTextBox::insertFromMimeData(const QMimeData* source) {
    gGuard([&] {
        if (!source || isReadOnly()) return;
        const QByteArray data = rtfData(source);
        // RTF that holds no text (a picture alone) is as good as none.
        const rtf::Document doc = data.isEmpty() ? rtf::Document{} : rtf::read(data);
        QTextCursor c = textCursor();
        if (!doc.plainText().isEmpty()) {
            rtf::insertDocument(c, doc);
        } else {
            // Plain text takes the format at the caret; with nothing usable the selection stays.
            const QString text = source->hasText() ? cleanPlainText(source->text()) : QString();
            if (text.isEmpty()) return;
            c.insertText(text);
        }
        setTextCursor(c);
        ensureCursorVisible();
    });
}

// ---------------------------------------------------------------------------

scheduleText::scheduleText(QWidget* parent) : QWidget(parent) {
    strip_ = new QWidget(this);
    strip_->setGeometry(0, 0, gPx(kLinkFollowsWidth), gPx(kStripHeight));

    for (int i = 0; i < kToolCount; ++i) {
        auto* b = new QToolButton(strip_);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setToolTip(QString::fromUtf8(kToolTip[i]));
        b->setIcon(QIcon(toolPicture(kToolPicture[i])));
        b->setIconSize(QSize(20, 20));
        b->setGeometry(gPx(kToolLeft[i]), 0, gPx(kToolSize), gPx(kToolSize));
        b->setCheckable(i >= kBold && i <= kRight);
        tools_[i] = b;
    }

    fontName_ = new QComboBox(strip_);
    fontName_->setEditable(true);
    fontName_->setInsertPolicy(QComboBox::NoInsert);
    fontName_->setGeometry(gPx(kFontNameLeft), 1, gPx(kFontNameWidth), gPx(kToolSize) - 2);
    fontName_->addItems(QFontDatabase::families());
    fontName_->setEditText(kDefaultFontName);

    fontSize_ = new QComboBox(strip_);
    fontSize_->setEditable(true);
    fontSize_->setInsertPolicy(QComboBox::NoInsert);
    fontSize_->setGeometry(gPx(kFontSizeLeft), 1, gPx(kFontSizeWidth), gPx(kToolSize) - 2);
    for (int s = 5; s <= 72; ++s)
        fontSize_->addItem(QString::number(s));
    fontSize_->setEditText(QStringLiteral("9"));

    link_ = new gLinkLabel(QStringLiteral("弹出"), strip_);
    link_->setGeometry(gPx(kLinkDesignLeft), gPx(kLinkTop), gPx(kLinkWidth), gPx(kLinkHeight) + 4);
    // Greyed with the rest of the strip while the pop-up editor has the text.
    QPalette linkPalette = link_->palette();
    linkPalette.setColor(QPalette::Disabled, QPalette::WindowText,
                         palette().color(QPalette::Disabled, QPalette::WindowText));
    link_->setPalette(linkPalette);

    box_ = new scheduleTextBox(this);
    box_->setGeometry(0, gPx(kBoxTop), width(), std::max(0, height() - gPx(kBoxTop)));

    setFaceColor(0);

    connect(tools_[kCut], &QToolButton::clicked, this, [this] {
        gGuard([&] {
            if (box_->textCursor().hasSelection()) box_->cut();
            box_->setFocus();
        });
    });
    connect(tools_[kCopy], &QToolButton::clicked, this, [this] {
        gGuard([&] {
            if (box_->textCursor().hasSelection()) box_->copy();
            box_->setFocus();
        });
    });
    connect(tools_[kPaste], &QToolButton::clicked, this, [this] {
        gGuard([&] {
            box_->paste();
            box_->setFocus();
        });
    });
    for (int i = 0; i < 3; ++i) {
        connect(tools_[kBold + i], &QToolButton::clicked, this,
                [this, i] { gGuard([&] { styleClicked(i); }); });
    }
    // The alignment options keep the box's numbering: 0 left, 1 right, 2 centre.
    connect(tools_[kLeft], &QToolButton::clicked, this, [this] { gGuard([&] { alignClicked(0); }); });
    connect(tools_[kRight], &QToolButton::clicked, this, [this] { gGuard([&] { alignClicked(1); }); });
    connect(tools_[kCenter], &QToolButton::clicked, this, [this] { gGuard([&] { alignClicked(2); }); });
    connect(tools_[kColor], &QToolButton::clicked, this, [this] { gGuard([&] { chooseColor(); }); });

    connect(fontName_, &QComboBox::textActivated, this,
            [this](const QString& t) { gGuard([&] { applyFontName(t); }); });
    connect(fontName_, &QComboBox::editTextChanged, this,
            [this](const QString& t) { gGuard([&] { applyFontName(t); }); });
    connect(fontSize_, &QComboBox::textActivated, this,
            [this](const QString& t) { gGuard([&] { applyFontSize(t); }); });
    connect(fontSize_, &QComboBox::editTextChanged, this,
            [this](const QString& t) { gGuard([&] { applyFontSize(t); }); });

    connect(link_, &gLinkLabel::clicked, this, [this] { gGuard([&] { popOut(); }); });

    connect(box_, &QTextEdit::textChanged, this, [this] { Q_EMIT change(); });
    connect(box_, &QTextEdit::selectionChanged, this, [this] { gGuard([&] { mirrorSelection(); }); });
    connect(box_, &QTextEdit::cursorPositionChanged, this, [this] { gGuard([&] { mirrorSelection(); }); });

    resize(gPx(kLinkFollowsWidth), gPx(3000));
}

QString scheduleText::text() const {
    return rtf::fromTextDocument(*box_->document()).plainText();
}

void scheduleText::setText(const QString& plain) {
    rtf::setTextDocument(*box_->document(), rtf::fromPlainText(plain));
    box_->moveCursor(QTextCursor::Start);
    // New content starts a new history: undo must not bring back the previous text.
    box_->document()->clearUndoRedoStacks();
}

QString scheduleText::textRTF() const {
    return QString::fromLatin1(rtf::write(rtf::fromTextDocument(*box_->document()), writerDefaults()));
}

void scheduleText::setTextRTF(const QString& rtfText) {
    rtf::setTextDocument(*box_->document(), rtf::read(QStringView(rtfText)));
    box_->moveCursor(QTextCursor::Start);
    // New content starts a new history: undo must not bring back the previous text.
    box_->document()->clearUndoRedoStacks();
}

bool scheduleText::loadFile(const QString& fileName, int fileType) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) return false;
    if (fileType == rtfText) {
        rtf::setTextDocument(*box_->document(), rtf::fromPlainBytes(bytes));
    } else {
        if (!rtf::isRtf(bytes)) return false;
        rtf::setTextDocument(*box_->document(), rtf::read(bytes));
    }
    box_->moveCursor(QTextCursor::Start);
    // New content starts a new history: undo must not bring back the previous text.
    box_->document()->clearUndoRedoStacks();
    return true;
}

bool scheduleText::saveFile(const QString& fileName, int fileType) const {
    QByteArray bytes;
    if (fileType == rtfText) {
        bytes = text().toUtf8();
    } else {
        bytes = rtf::write(rtf::fromTextDocument(*box_->document()), writerDefaults());
    }
    QSaveFile f(fileName);
    if (!f.open(QIODevice::WriteOnly)) return false;
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

void scheduleText::setEnabled(bool on) {
    enabled_ = on;
    strip_->setEnabled(on);
    box_->setEnabled(on);
}

void scheduleText::setShowPopUp(bool on) {
    showPopUp_ = on;
    link_->setVisible(on);
}

QString scheduleText::firstLine() const {
    QTextDocument* d = box_->document();
    const QTextBlock b = d->firstBlock();
    QString line = b.text();
    // Lays the block out at the box's current width if it is not yet.
    d->documentLayout()->blockBoundingRect(b);
    if (const QTextLayout* l = b.layout(); l && l->lineCount() > 0) {
        const QTextLine tl = l->lineAt(0);
        line = b.text().mid(tl.textStart(), tl.textLength());
    }
    const qsizetype lineEnd = line.indexOf(QChar::LineSeparator);
    if (lineEnd >= 0) line.truncate(lineEnd);
    line.remove(QChar::ObjectReplacementCharacter);
    // The line as a 256-byte buffer of the system code page holds it.
    int bytes = 0;
    qsizetype i = 0;
    while (i < line.size()) {
        const bool pair = line[i].isHighSurrogate() && i + 1 < line.size() && line[i + 1].isLowSurrogate();
        const int cost = pair ? 2 : (codepage::ansiCode(line[i]) > 255 ? 2 : 1);
        if (bytes + cost > 256) break;
        bytes += cost;
        i += pair ? 2 : 1;
    }
    line.truncate(i);
    return line;
}

bool scheduleText::popOut() {
    // One pop-up editor at a time: a second pop-out would leave this control
    // disabled with nobody to enable it again.
    if (!showPopUp_ || !enabled_ || gPopUpOwner || !gShowPopUpEditor) return false;
    Q_EMIT popUp();
    gPopUpOwner = this;
    setEnabled(false);
    try {
        gShowPopUpEditor(this);
    } catch (...) {
        // No editor opened: nothing would ever give the text back.
        if (gPopUpOwner == this) gPopUpOwner = nullptr;
        setEnabled(true);
        throw;
    }
    return true;
}

void scheduleText::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    const int boxHeight = height() - gPx(kBoxTop);
    if (boxHeight >= 0) box_->setGeometry(0, gPx(kBoxTop), width(), boxHeight);
    strip_->setGeometry(0, 0, std::max(width(), gPx(kLinkFollowsWidth)), gPx(kStripHeight));
    if (width() >= gPx(kLinkFollowsWidth)) link_->move(width() - gPx(375), gPx(kLinkTop));
}

void scheduleText::styleClicked(int which) {
    if (!updating_) {
        QTextCharFormat f;
        const bool on = tools_[kBold + which]->isChecked();
        if (which == 0) f.setFontWeight(on ? QFont::Bold : QFont::Normal);
        if (which == 1) f.setFontItalic(on);
        if (which == 2) f.setFontUnderline(on);
        box_->mergeCurrentCharFormat(f);
    }
    box_->setFocus();
}

void scheduleText::alignClicked(int which) {
    if (!updating_) {
        box_->setAlignment(which == 1 ? Qt::AlignRight : which == 2 ? Qt::AlignHCenter : Qt::AlignLeft);
        mirrorSelection();
    }
    box_->setFocus();
}

void scheduleText::applyFontName(const QString& name) {
    if (updating_ || name.trimmed().isEmpty()) return;
    QTextCharFormat f;
    f.setFontFamilies(rtf::fontFamilies(name.trimmed()));
    box_->mergeCurrentCharFormat(f);
}

void scheduleText::applyFontSize(const QString& size) {
    if (updating_) return;
    bool ok = false;
    const double pt = QLocale::c().toDouble(size.trimmed(), &ok);
    if (!ok || !std::isfinite(pt) || pt < 1 || pt > 1638) return;
    // RTF keeps half points: what is shown is what will be saved.
    const double halfPoints =
        std::clamp(std::nearbyint(pt * 2), double(rtf::kMinHalfPoints), double(rtf::kMaxHalfPoints));
    QTextCharFormat f;
    f.setFontPointSize(halfPoints / 2.0);
    box_->mergeCurrentCharFormat(f);
}

void scheduleText::chooseColor() {
    if (!gTextColorDialog) return;
    const std::optional<long> chosen = gTextColorDialog(faceColor_, this);
    if (!chosen) return;
    QTextCharFormat f;
    f.setForeground(gWinColor(*chosen));
    box_->mergeCurrentCharFormat(f);
    setFaceColor(*chosen & 0xFFFFFF);
}

void scheduleText::setFaceColor(long color) {
    faceColor_ = color;
    QPixmap pm = toolPicture(kToolPicture[kColor]);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(gWinColor(color));
    p.drawRoundedRect(QRectF(4.5, 14.5, 11, 3.5), 1, 1);
    p.end();
    tools_[kColor]->setIcon(QIcon(pm));
}

void scheduleText::mirrorSelection() {
    updating_ = true;
    std::vector<std::unique_ptr<QSignalBlocker>> blockers;
    for (QToolButton* b : tools_)
        blockers.push_back(std::make_unique<QSignalBlocker>(b));
    blockers.push_back(std::make_unique<QSignalBlocker>(fontName_));
    blockers.push_back(std::make_unique<QSignalBlocker>(fontSize_));

    const QTextCursor c = box_->textCursor();
    std::vector<rtf::CharFormat> formats;
    std::vector<rtf::Align> aligns;
    if (c.hasSelection()) {
        const rtf::Document d =
            rtf::fromTextDocument(*box_->document(), c.selectionStart(), c.selectionEnd());
        for (const rtf::Paragraph& p : d.paragraphs) {
            aligns.push_back(p.align);
            for (const rtf::Run& r : p.runs)
                formats.push_back(resolved(r.format));
        }
    } else {
        aligns.push_back(rtf::fromQtAlignment(c.blockFormat().alignment()));
    }
    if (formats.empty()) formats.push_back(resolved(rtf::fromCharFormat(box_->currentCharFormat())));

    auto all = [&](auto pick) {
        for (const rtf::CharFormat& f : formats)
            if (pick(f) != pick(formats.front())) return false;
        return true;
    };
    const bool bold = all([](const rtf::CharFormat& f) { return f.bold; }) && formats.front().bold;
    const bool italic = all([](const rtf::CharFormat& f) { return f.italic; }) && formats.front().italic;
    const bool underline =
        all([](const rtf::CharFormat& f) { return f.underline; }) && formats.front().underline;
    tools_[kBold]->setChecked(bold);
    tools_[kItalic]->setChecked(italic);
    tools_[kUnderline]->setChecked(underline);

    bool oneAlign = true;
    for (rtf::Align a : aligns)
        oneAlign = oneAlign && a == aligns.front();
    tools_[kLeft]->setChecked(oneAlign && aligns.front() == rtf::Align::Left);
    tools_[kRight]->setChecked(oneAlign && aligns.front() == rtf::Align::Right);
    tools_[kCenter]->setChecked(oneAlign && aligns.front() == rtf::Align::Center);

    // Colour, name and size keep what they showed when the selection mixes them.
    if (all([](const rtf::CharFormat& f) { return f.color; }))
        setFaceColor(formats.front().color == rtf::kAutoColor ? 0 : formats.front().color);
    if (all([](const rtf::CharFormat& f) { return f.font; })) fontName_->setEditText(formats.front().font);
    if (all([](const rtf::CharFormat& f) { return f.halfPoints; }))
        fontSize_->setEditText(sizeText(formats.front().halfPoints));
    updating_ = false;
}
