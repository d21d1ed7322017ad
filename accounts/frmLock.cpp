#include "accounts/frmLock.h"

#include "accounts/gAccountRules.h"
#include "accounts/gAccountWindow.h"
#include "core/ui/gDialogKeys.h"
#include "core/base/gError.h"
#include "core/ui/gFormParts.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/ui/gPageSwitch.h"
#include "core/model/gResIds.h"
#include "core/ui/gResources.h"
#include "core/model/gState.h"
#include "core/ui/gShellApi.h"
#include "core/ui/gTwips.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>

namespace {
constexpr int kPanelLeft = 120, kPanelTop = 960, kPanelWidth = 5760, kPanelHeight = 2160;
constexpr int kLabelLeft = 1200, kBoxLeft = 2220, kBoxWidth = 3240, kBoxHeight = 345;
constexpr int kButtonTop = 3300, kRuleTop = 3180;

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& r) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);
    l->setGeometry(r);
    return l;
}

QLineEdit* makeBox(QWidget* parent, const char* name, const QRect& r) {
    auto* t = new QLineEdit(parent);
    t->setObjectName(QLatin1String(name));
    t->setGeometry(r);
    return t;
}

QPixmap padlock(QSize size) {
    return gRenderSvg(QStringLiteral(":/res/accounts/padlock.svg"), size);
}
} // namespace

frmLock::frmLock(QWidget* parent) : QWidget(parent) {
    gSetUpAccountWindow(this, QStringLiteral("Rededera"), kClientWidth, kClientHeight, false);

    namePasswordPanel = new QWidget(this);
    namePasswordPanel->setObjectName(QStringLiteral("Frame1"));
    namePasswordPanel->setGeometry(gPxRect(kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight));

    padlockPicture = makeLabel(namePasswordPanel, "Picture1", {}, gPxRect(240, 60, 720, 720));
    padlockPicture->setPixmap(padlock(padlockPicture->size()));
    promptLabel = makeLabel(namePasswordPanel, "Label3", QStringLiteral("键入用户名和密码，再单击“确定”。"),
                            gPxRect(kLabelLeft, 60, kPanelWidth - kLabelLeft - 120, 330));
    nameCaption = makeLabel(namePasswordPanel, "Label9", QStringLiteral("用户："),
                            gPxRect(kLabelLeft, 600, kBoxLeft - kLabelLeft - 60, kBoxHeight));
    nameEdit = makeBox(namePasswordPanel, "Text1", gPxRect(kBoxLeft, 600, kBoxWidth, kBoxHeight));
    gTipWhenCut(nameEdit);
    passwordCaption = makeLabel(namePasswordPanel, "Label10", QStringLiteral("密码："),
                                gPxRect(kLabelLeft, 1110, kBoxLeft - kLabelLeft - 60, kBoxHeight));
    passwordEdit = makeBox(namePasswordPanel, "Text2", gPxRect(kBoxLeft, 1110, kBoxWidth, kBoxHeight));
    nameCaption->setBuddy(nameEdit);
    passwordCaption->setBuddy(passwordEdit);
    passwordEdit->setEchoMode(QLineEdit::Password);
    // The same password rule as at the sign-in, so what signs in also unlocks.
    gUsePasswordFilter(passwordEdit);

    buttonRule = new QFrame(this);
    buttonRule->setObjectName(QStringLiteral("Shape1"));
    buttonRule->setFrameShape(QFrame::HLine);
    buttonRule->setFrameShadow(QFrame::Plain);
    QPalette rule = buttonRule->palette();
    rule.setColor(QPalette::WindowText, QColor(0xd5, 0xdd, 0xe7));
    buttonRule->setPalette(rule);
    buttonRule->setGeometry(gPxRect(0, kRuleTop, kClientWidth, 15));

    gAddOkCancel(this, kClientWidth, kButtonTop, okButton, cancelButton);

    setTabOrder(nameEdit, passwordEdit);
    setTabOrder(passwordEdit, okButton);
    setTabOrder(okButton, cancelButton);

    connect(okButton, &QPushButton::clicked, this, [this] { gGuard([this] { okButton_Click(); }); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { gGuard([this] { cancelButton_Click(); }); });
}

frmLock::~frmLock() = default;

void frmLock::formLoad() {
    if (gHasResPicture(gResKind::Bitmap, Res::LockBackground))
        background_ = gLoadResPicture(Res::LockBackground, gResKind::Bitmap, size());
}

void frmLock::paintEvent(QPaintEvent* e) {
    QWidget::paintEvent(e);
    if (background_.isNull()) return;
    QPainter p(this);
    p.drawPixmap(0, 0, background_);
}

void frmLock::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    nameEdit->setFocus();
}

void frmLock::closeEvent(QCloseEvent* e) {
    // The close button cancels: the program stays locked.
    e->ignore();
    gGuard([this] { forms::unload(this); });
}

void frmLock::okButton_Click() {
    // The name is asked even when the sign-in asks for the password alone.
    nameEdit->setText(nameEdit->text().trimmed());
    if (!gSameAccountName(nameEdit->text(), gUserName) ||
        !gPasswordMatches(passwordEdit->text(), gPasswordHash)) {
        gMsgBox(Msg::SignInRejected, gButtonSet::Close);
        passwordEdit->clear();
        nameEdit->setFocus();
        nameEdit->selectAll();
        return;
    }

    passwordEdit->clear();
    gLocked = false;
    if (gPageSwitch* main = gPageSwitcher()) {
        auto* m = dynamic_cast<QWidget*>(main);
        m->setWindowState(m->windowState() & ~Qt::WindowMinimized);
        if (gOption(Option::FloatingWindow) && !gOption(Option::HideFloatingWithMain)) {
            if (gShellWindows* shell = gShellWindows::registered()) shell->showFloatingWindow();
        } else {
            // The floating window that led here while locked goes where the options do not want it.
            if (gShellWindows* shell = gShellWindows::registered()) shell->unloadFloatingWindow();
        }
        main->syncSuspendCheck();
        m->show();
        m->raise();
        m->activateWindow();
    }
    forms::unload(this);
}

void frmLock::cancelButton_Click() {
    forms::unload(this);
}
