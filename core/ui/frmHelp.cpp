#include "core/ui/frmHelp.h"

#include "core/base/gError.h"
#include "core/ui/gForms.h"
#include "core/ui/gFormParts.h"
#include "core/ui/gLinkLabel.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gResIds.h"
#include "core/ui/gResources.h"
#include "core/model/gStrings.h"
#include "core/ui/gTwips.h"

#include <QLabel>
#include <QPushButton>

namespace {
constexpr int kClientWidth = 5520, kClientHeight = 2055, kBarHeight = 615;
constexpr int kLabelLeft = 120, kLabelTop = 600, kLabelWidth = 5280;
constexpr int kBrowserFormHeight = 3500;

QString displayText(QString t) {
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.remove(QLatin1Char('\r'));
    return t;
}
} // namespace

frmHelp::frmHelp(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Rededera 帮助"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);

    auto* l0 = new QLabel(this);
    l0->setObjectName(QStringLiteral("Label1_0"));
    l0->setTextFormat(Qt::PlainText);
    l0->setWordWrap(true);
    l0->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l0->setGeometry(gPxRect(kLabelLeft, kLabelTop, kLabelWidth, 660));
    labels_.insert(0, l0);

    buttonBar = new QWidget(this);
    buttonBar->setObjectName(QStringLiteral("Picture1"));
    buttonBar->setAutoFillBackground(true);
    QPalette bar = buttonBar->palette();
    bar.setColor(QPalette::Window, QColor(0xF0, 0xF2, 0xF5));
    buttonBar->setPalette(bar);

    closeButton = new QPushButton(QStringLiteral("关闭"), buttonBar);
    closeButton->setObjectName(QStringLiteral("Command1"));
    closeButton->setGeometry(gPxRect(4320, 160, 1095, 350));
    closeButton->setDefault(true);
    backLink = new gLinkLabel(QStringLiteral("返回"), buttonBar);
    backLink->setObjectName(QStringLiteral("Command2"));
    backLink->move(gPxPoint(120, 240));
    backLink->adjustSize();
    backLink->hide();

    connect(closeButton, &QPushButton::clicked, this, [this] { gGuard([&] { forms::unload(this); }); });
    connect(backLink, &gLinkLabel::clicked, this, [this] { gGuard([&] { back(); }); });
    setClientHeightTwips(kClientHeight);
}

void frmHelp::setClientHeightTwips(int twips) {
    const int h = gPx(twips);
    setFixedSize(gPx(kClientWidth), h);
    buttonBar->setGeometry(0, h - gPx(kBarHeight), gPx(kClientWidth), gPx(kBarHeight));
}

void frmHelp::setLabel0(const QString& text) {
    QLabel* l0 = labels_.value(0);
    l0->setText(displayText(text));
    const int w = gPx(kLabelWidth);
    l0->setGeometry(gPx(kLabelLeft), gPx(kLabelTop), w, l0->heightForWidth(w));
}

void frmHelp::showText(int textId) {
    setLabel0(gLoadResString(textId));
    const int h = labels_.value(0)->height();
    if (gTwips(h) > 720) setClientHeightTwips(gClientHeightTwips(gTwips(h) + 1815));
}

void frmHelp::gShowMain() {
    setLabel0(gLoadResString(Res::HelpHeading));
    for (int i = Res::FirstHelpTopic; i <= Res::LastHelpTopic; ++i) {
        QLabel* l = labels_.value(i);
        if (!l) {
            auto* link = new gLinkLabel(gLoadResString(i), this);
            link->setObjectName(QStringLiteral("Label1_%1").arg(i));
            connect(link, &gLinkLabel::clicked, this, [this, i] { gGuard([&] { topicClicked(i); }); });
            l = link;
            labels_.insert(i, l);
        }
        // A step apart, from under the text above them, which a line of Chinese
        // makes taller than a step.
        const int first = qMax(gPx(840), labels_.value(0)->geometry().bottom() + 1);
        l->move(gPx(240), first + (i - Res::FirstHelpTopic) * gPx(240));
        l->adjustSize();
        l->resize(l->width(), gPx(240));
        l->show();
    }
    setClientHeightTwips(gClientHeightTwips(kBrowserFormHeight));
}

void frmHelp::topicClicked(int index) {
    if (index < Res::FirstHelpTopic) return;
    setLabel0(gLoadResString(index + Res::HelpTextOffset));
    const int h = labels_.value(0)->height();
    if (gTwips(h) > 660) setClientHeightTwips(gClientHeightTwips(gTwips(h) + 1875));
    for (int i = Res::FirstHelpTopic; i <= Res::LastHelpTopic; ++i)
        if (QLabel* l = labels_.value(i)) l->hide();
    backLink->show();
}

void frmHelp::back() {
    setLabel0(gLoadResString(Res::HelpHeading));
    for (int i = Res::FirstHelpTopic; i <= Res::LastHelpTopic; ++i)
        if (QLabel* l = labels_.value(i)) l->show();
    setClientHeightTwips(gClientHeightTwips(kBrowserFormHeight));
    backLink->hide();
}

void frmHelp::done(int r) {
    // Closed by the window or Escape: unloaded like the close button does.
    QDialog::done(r);
    forms::unload(this);
}

void frmHelp::paintEvent(QPaintEvent* e) {
    gPaintDialogBackground(this, background_);
    QDialog::paintEvent(e);
}
