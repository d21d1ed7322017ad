#include "shell/frmAbout.h"

#include "core/gConvert.h"
#include "core/gError.h"
#include "core/gResources.h"
#include "core/gShared.h"
#include "core/gTwips.h"
#include "platform/settingsStore.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

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

    Label1 = new QLabel(QStringLiteral("Rededera"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont big = Label1->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    Label1->setFont(big);
    Label1->setStyleSheet(QStringLiteral("color: #2f6fb8; background: transparent;"));
    Label1->setGeometry(gPxRect(360, 2820, 3600, 540));

    Label2 = new QLabel(QStringLiteral("版本:2.0.0"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setStyleSheet(QStringLiteral("color: #44556a; background: transparent;"));
    Label2->setGeometry(gPxRect(360, 3360, 3600, 300));

    Check1 = new QCheckBox(QStringLiteral("启动时显示此窗口"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setGeometry(gPxRect(360, 3840, 3300, 360));

    Command1 = new QPushButton(QStringLiteral("确定"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(gPxRect(kWidthTw - 1455, 3825, 1095, 375));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, [this] { gGuard([this] { Command1_Click(); }); });
}

void frmAbout::formLoad() {
    picture_ = gLoadResPicture(120, gResKind::Bitmap, size());
    Check1->setChecked(gVal(settings::get(kApp, kSection, kKey, QStringLiteral("1"))) == 1);
    Label2->setText(QStringLiteral("版本:%1.%2.%3")
                        .arg(REDEDERA_VERSION_MAJOR)
                        .arg(REDEDERA_VERSION_MINOR)
                        .arg(REDEDERA_VERSION_PATCH));
    gSetTopMost(this, true);
}

void frmAbout::Command1_Click() {
    settings::save(kApp, kSection, kKey, Check1->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    forms::unload(this);
}

void frmAbout::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!picture_.isNull()) p.drawPixmap(0, 0, picture_);
}

void frmAbout::closeEvent(QCloseEvent* e) {
    // Closing any other way keeps the stored setting.
    e->ignore();
    gGuard([this] { forms::unload(this); });
}
