#include "shell/frmAbout.h"

#include "core/model/gConvert.h"
#include "core/base/gError.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gResIds.h"
#include "core/ui/gResources.h"
#include "core/ui/gShared.h"
#include "core/ui/gTwips.h"
#include "platform/settingsStore.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

namespace {
const QString kApp = QStringLiteral("Rededera");
const QString kSection = QStringLiteral("Option");
const QString kKey = QStringLiteral("ShowAbout");
constexpr int kWidthTw = 6300;  // 420 pixels
constexpr int kHeightTw = 4500; // client area, 300 pixels
} // namespace

frmAbout::frmAbout() {
    setWindowTitle(QStringLiteral("关于与赞助"));
    setWindowFlag(Qt::Dialog, true);
    setFixedSize(gPxSize(kWidthTw, kHeightTw));

    nameLabel = new QLabel(QStringLiteral("Rededera"), this);
    nameLabel->setObjectName(QStringLiteral("Label1"));
    QFont big = nameLabel->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    nameLabel->setFont(big);
    nameLabel->setStyleSheet(QStringLiteral("QLabel#Label1 { color: #2f6fb8; background: transparent; }"));
    nameLabel->setGeometry(gPxRect(360, 2820, 3600, 540));

    versionLabel = new QLabel(QStringLiteral("版本:2.0.0"), this);
    versionLabel->setObjectName(QStringLiteral("Label2"));
    versionLabel->setStyleSheet(QStringLiteral("QLabel#Label2 { color: #44556a; background: transparent; }"));
    versionLabel->setGeometry(gPxRect(360, 3360, 3600, 300));

    showAtStartCheck = new QCheckBox(QStringLiteral("启动时显示此窗口"), this);
    showAtStartCheck->setObjectName(QStringLiteral("Check1"));
    showAtStartCheck->setGeometry(gPxRect(360, 3840, 3300, 360));

    okButton = new QPushButton(QStringLiteral("确定"), this);
    okButton->setObjectName(QStringLiteral("Command1"));
    okButton->setGeometry(gPxRect(kWidthTw - 1455, 3825, 1095, 375));
    // Not marked as the default button: the box takes Return itself (keyPressEvent),
    // and the style's default outline would look the same as its focus mark.
    connect(okButton, &QPushButton::clicked, this, [this] { gGuard([this] { okButton_Click(); }); });
}

void frmAbout::formLoad() {
    picture_ = gLoadResPicture(Res::WelcomeBackground, gResKind::Bitmap, size());
    showAtStartCheck->setChecked(gVal(settings::get(kApp, kSection, kKey, QStringLiteral("1"))) == 1);
    versionLabel->setText(QStringLiteral("版本:%1.%2.%3")
                              .arg(REDEDERA_VERSION_MAJOR)
                              .arg(REDEDERA_VERSION_MINOR)
                              .arg(REDEDERA_VERSION_PATCH));
    gSetTopMost(this, true);
}

void frmAbout::formUnload() {
    // Without a window manager nobody else hands the keyboard back. Later, so
    // that a main window closing at the same time is not brought forward.
    if (QWidget* main = forms::find(Form::frmMain))
        QTimer::singleShot(0, main, [main] {
            if (main->isVisible() && !main->isMinimized()) main->activateWindow();
        });
}

void frmAbout::okButton_Click() {
    settings::save(kApp, kSection, kKey,
                   showAtStartCheck->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    forms::unload(this);
}

void frmAbout::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!picture_.isNull()) p.drawPixmap(0, 0, picture_);
}

void frmAbout::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    // The focus starts on 确定 and shows there at once: the box is answered
    // from the keyboard before any Tab is pressed.
    setAttribute(Qt::WA_KeyboardFocusChange);
    okButton->setFocus(Qt::OtherFocusReason);
}

void frmAbout::keyPressEvent(QKeyEvent* e) {
    // The focused 确定 takes Return itself; the check box passes it on to here.
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        e->accept();
        gGuard([this] { okButton_Click(); });
        return;
    case Qt::Key_Escape:
        e->accept();
        close();
        return;
    default:
        QWidget::keyPressEvent(e);
    }
}

void frmAbout::closeEvent(QCloseEvent* e) {
    // Closing any other way keeps the stored setting.
    e->ignore();
    gGuard([this] { forms::unload(this); });
}
