#include "core/ui/frmMsg.h"

#include "core/ui/gFormParts.h"
#include "core/ui/gLinkLabel.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gResIds.h"
#include "core/ui/gResources.h"
#include "core/ui/gShared.h"
#include "core/ui/gTwips.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

#include <iterator>

namespace {
constexpr int kButtonWidth = 1095, kButtonHeight = 350, kButtonTop = 160;
constexpr int kLabelLeft = 720, kLabelTop = 600, kLabelWidth = 4695;

QString displayText(QString t) {
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.remove(QLatin1Char('\r'));
    return t;
}

// Captions, count, default and cancel button (gMsgPress::First..Third, or
// None for a set that Escape cannot close) of each button set.
struct Layout {
    const char* captions[3];
    int count, def, cancel;
};

using namespace gMsgPress;
const Layout kLayouts[] = {
    /* Close */ {{"关闭", nullptr, nullptr}, 1, First, First},
    /* OkCancel */ {{"确定", "取消", nullptr}, 2, First, Second},
    /* AbortRetryIgnore */ {{"中止(&A)", "重试(&R)", "忽略(&I)"}, 3, First, None},
    /* YesNoCancel */ {{"是(&Y)", "否(&N)", "取消"}, 3, First, Third},
    /* YesNo */ {{"是(&Y)", "否(&N)", nullptr}, 2, First, Second},
    /* RetryCancel */ {{"重试(&R)", "取消", nullptr}, 2, First, Second},
    /* ImportRecreateCancel */ {{"导入密匙", "重新创建", "取消"}, 3, First, Third},
    /* RecreateLocateClose */ {{"重新创建", "指定位置", "关闭"}, 3, Third, Third},
    /* LocateClose */ {{"指定位置", "关闭", nullptr}, 2, Second, Second},
};
static_assert(std::size(kLayouts) == gButtonSet::LocateClose + 1);

// The buttons' left edges in twips, by how many the set has: right-aligned.
constexpr int kButtonLefts[3][3] = {{4320, 0, 0}, {3120, 4320, 0}, {1920, 3120, 4320}};

const Layout& layoutOf(int set) {
    return kLayouts[(set >= gButtonSet::Close && set <= gButtonSet::LocateClose) ? set : gButtonSet::Close];
}
} // namespace

int frmMsg::cancelButtonOf(int buttonSet) {
    return layoutOf(buttonSet).cancel;
}

frmMsg::frmMsg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Rededera"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setModal(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);

    kindIcon = new QLabel(this);
    kindIcon->setObjectName(QStringLiteral("Image1"));
    kindIcon->setGeometry(gPx(120), gPx(540), 32, 32);

    textLabel = new QLabel(this);
    textLabel->setObjectName(QStringLiteral("Label1"));
    textLabel->setTextFormat(Qt::PlainText);
    textLabel->setWordWrap(true);
    textLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    textLabel->setGeometry(gPxRect(kLabelLeft, kLabelTop, kLabelWidth, kLabelHeight));

    buttonBar = new QWidget(this);
    buttonBar->setObjectName(QStringLiteral("Picture1"));
    buttonBar->setAutoFillBackground(true);
    QPalette bar = buttonBar->palette();
    bar.setColor(QPalette::Window, QColor(0xF0, 0xF2, 0xF5));
    buttonBar->setPalette(bar);

    auto makeButton = [this](const char* name) {
        auto* b = new QPushButton(buttonBar);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(gPxRect(0, kButtonTop, kButtonWidth, kButtonHeight));
        // Enter presses the button that has the focus, and the default button otherwise.
        b->setAutoDefault(true);
        return b;
    };
    firstButton = makeButton("Command1");
    secondButton = makeButton("Command3");
    thirdButton = makeButton("Command4");
    helpLink = new gLinkLabel(QStringLiteral("帮助"), buttonBar);
    helpLink->setObjectName(QStringLiteral("Command2"));
    helpLink->move(gPxPoint(120, 240));
    helpLink->adjustSize();

    connect(firstButton, &QPushButton::clicked, this, [this] { press(gMsgPress::First); });
    connect(secondButton, &QPushButton::clicked, this, [this] { press(gMsgPress::Second); });
    connect(thirdButton, &QPushButton::clicked, this, [this] { press(gMsgPress::Third); });
    connect(helpLink, &gLinkLabel::clicked, this, [this] { press(gMsgPress::HelpLink); });

    layoutHeight(gPx(kClientHeight));
}

frmMsg::~frmMsg() = default;

void frmMsg::layoutHeight(int clientPx) {
    const int width = gPx(kClientWidth);
    setFixedSize(width, clientPx);
    buttonBar->setGeometry(0, clientPx - gPx(kBarHeight), width, gPx(kBarHeight));
}

void frmMsg::setLabelText(const QString& text) {
    textLabel->setText(displayText(text));
    const int w = gPx(kLabelWidth);
    const int h = textLabel->heightForWidth(w);
    // The label grows downwards with its text, and the form with it.
    const int labelH = std::max(gPx(kLabelHeight), h);
    textLabel->setGeometry(gPx(kLabelLeft), gPx(kLabelTop), w, labelH);
    if (labelH > gPx(kLabelHeight)) {
        layoutHeight(labelH + gPx(gClientHeightTwips(1875)));
    } else {
        layoutHeight(gPx(kClientHeight));
    }
}

void frmMsg::setupMessage(int kind, const QString& text, int buttonSet, bool hasHelp) {
    setLabelText(text);
    if (kind >= gMsgKind::Error && kind <= gMsgKind::Information)
        kindIcon->setPixmap(gLoadResPicture(Res::KindIconBase + kind, gResKind::Icon, QSize(32, 32)));
    helpLink->setText(QStringLiteral("帮助"));
    helpLink->adjustSize();
    helpLink->move(gPxPoint(120, 240));

    const Layout& l = layoutOf(buttonSet);
    QPushButton* buttons[3] = {firstButton, secondButton, thirdButton};
    for (int i = 0; i < 3; ++i) {
        if (i < l.count) {
            buttons[i]->setText(QString::fromUtf8(l.captions[i]));
            buttons[i]->move(gPxPoint(kButtonLefts[l.count - 1][i], kButtonTop));
            buttons[i]->show();
        } else {
            buttons[i]->hide();
        }
        buttons[i]->setDefault(i + 1 == l.def);
    }
    cancel_ = l.cancel;
    buttons[l.def - 1]->setFocus();
    helpLink->setVisible(hasHelp);
}

void frmMsg::setupError(const QString& text) {
    setLabelText(text);
    kindIcon->setPixmap(gLoadResPicture(Res::ErrorIcon, gResKind::Icon, QSize(32, 32)));
    firstButton->setText(QStringLiteral("关闭"));
    firstButton->move(gPxPoint(kButtonLefts[0][0], kButtonTop));
    firstButton->setDefault(true);
    firstButton->show();
    firstButton->setFocus();
    secondButton->hide();
    thirdButton->hide();
    helpLink->move(gPxPoint(120, 240));
    helpLink->show();
    cancel_ = gMsgPress::First;
}

void frmMsg::press(int n) {
    pressed_ = n;
    accept();
}

void frmMsg::reject() {
    // Escape stands for the cancel button; a set without one cannot be closed this way.
    if (cancel_ > 0) press(cancel_);
}

void frmMsg::closeEvent(QCloseEvent* e) {
    if (result() == QDialog::Accepted || pressed_ != 0) {
        e->accept();
        return;
    }
    e->ignore();
    if (cancel_ > 0) press(cancel_);
}

void frmMsg::paintEvent(QPaintEvent* e) {
    gPaintDialogBackground(this, background_);
    QDialog::paintEvent(e);
}
