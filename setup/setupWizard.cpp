#include "setupWizard.h"

#include "setupFiles.h"
#include "setupMsgBox.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSvgRenderer>

namespace setup {
namespace {

QPixmap svgPixmap(const QString& path, QSize size, qreal dpr) {
    QSvgRenderer renderer(path);
    QPixmap pm(size * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(size)));
    return pm;
}

bool isFile(const QString& path) {
    return QFileInfo(path).isFile();
}

QLabel* wrappedLabel(QWidget* parent, const QString& s, const QRect& r) {
    auto* l = new QLabel(s, parent);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setGeometry(r);
    return l;
}

} // namespace

frmMain::frmMain(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Rededera 快速安装向导"));
    QIcon icon;
    for (int s : {16, 32, 48})
        icon.addPixmap(svgPixmap(QStringLiteral(":/setup/art/icon.svg"), QSize(s, s), 1));
    setWindowIcon(icon);
    setFixedSize(500, 360);
    // The page is white above the frame line; the buttons sit on the window colour.
    auto* page = new QWidget(this);
    page->setGeometry(0, 0, 500, 314);
    page->setAutoFillBackground(true);
    QPalette pal = page->palette();
    pal.setColor(QPalette::Window, Qt::white);
    page->setPalette(pal);

    Picture1 = new QLabel(this);
    Picture1->setGeometry(0, 0, 164, 314);
    Picture1->setPixmap(
        svgPixmap(QStringLiteral(":/setup/art/side.svg"), QSize(164, 314), devicePixelRatioF()));

    Label1 = new QLabel(QStringLiteral("欢迎使用 Rededera 快速安装向导"), this);
    QFont title = Label1->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.35);
    Label1->setFont(title);
    Label1->setGeometry(184, 18, 306, 34);

    Label2 = wrappedLabel(this, QStringLiteral("该向导用以解决因缺少控件 Rededera 无法运行的问题。"),
                          QRect(184, 66, 310, 40));
    Label3 =
        wrappedLabel(this, QStringLiteral("建议您在继续之前关闭 Rededera 及其它可能妨碍向导运行的程序。"),
                     QRect(184, 112, 300, 40));
    Label4 = new QLabel(QStringLiteral("选择需要进行的项目："), this);
    Label4->setGeometry(184, 176, 300, 22);

    Check1 = new QCheckBox(QStringLiteral("注册控件"), this);
    Check2 = new QCheckBox(QStringLiteral("复制程序到 Program Files 文件夹"), this);
    Check3 = new QCheckBox(QStringLiteral("创建快捷方式"), this);
    int y = 204;
    for (QCheckBox* c : {Check1, Check2, Check3}) {
        c->setChecked(true);
        c->setGeometry(200, y, 290, 24);
        y += 28;
    }

    // The frame line between the page and its buttons.
    Shape1 = new QFrame(this);
    Shape1->setFrameShape(QFrame::HLine);
    Shape1->setFrameShadow(QFrame::Sunken);
    Shape1->setGeometry(0, 314, 500, 2);

    Command1 = new QPushButton(QStringLiteral("完成"), this);
    Command2 = new QPushButton(QStringLiteral("取消(&C)"), this);
    Command1->setGeometry(304, 324, 88, 28);
    Command2->setGeometry(402, 324, 88, 28);
    Command1->setDefault(true);
    Command1->setAutoDefault(true);
    Command2->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &frmMain::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmMain::Command2_Click);
    // Escape (QDialog's reject) is the cancel button.
    Command1->setFocus();
}

void frmMain::Command2_Click() {
    close();
}

void frmMain::Command1_Click() {
    if (!Command1->isEnabled()) return;
    for (QWidget* w : std::initializer_list<QWidget*>{Check1, Check2, Check3, Command1})
        w->setEnabled(false);
    bool allDone = true;
    auto fail = [&](const QString& message) {
        showInfo(this, message);
        allDone = false;
    };

    const QString appDir = folders::appDir();

    // The main program hosts no separately registered controls here: there is
    // nothing to register, and the user is told so rather than shown a fake.
    if (Check1->isChecked()) showInfo(this, text::kNoControls);

    QString launcher = appDir + QLatin1String(kLauncher);
    QString mainExe = appDir + QLatin1String(kMainProgram);

    if (Check2->isChecked()) {
        const QString dest = folders::programFilesDir() + QLatin1String(kProgramFolder) + QLatin1Char('/');
        if (!QDir().mkpath(dest)) {
            fail(QStringLiteral("未能创建文件夹 ") + dest + QStringLiteral(" 。"));
        } else {
            // The launcher is optional: a missing one is skipped without a word.
            if (isFile(launcher) && !copyFileReplacing(launcher, dest + QLatin1String(kLauncher)))
                fail(QStringLiteral("未能复制 ") + launcher + QStringLiteral(" 。"));
            if (!isFile(mainExe))
                fail(QStringLiteral("未能找到 ") + mainExe);
            else if (!copyFileReplacing(mainExe, dest + QLatin1String(kMainProgram)))
                fail(QStringLiteral("未能复制 ") + mainExe + QStringLiteral(" 。"));
            if (!writeFileAtomic(dest + QLatin1String(kManifestFile), manifestFileBytes()))
                fail(QStringLiteral("未能写入 ") + dest + QLatin1String(kManifestFile) +
                     QStringLiteral(" 。"));
        }
        launcher = dest + QLatin1String(kLauncher);
        mainExe = dest + QLatin1String(kMainProgram);
    }

    if (Check3->isChecked()) {
        const QString target = isFile(launcher) ? launcher : isFile(mainExe) ? mainExe : QString();
        if (target.isEmpty()) {
            fail(text::kNoProgram);
        } else {
            const QString menu = folders::applicationsDir();
            const QString link = menu + QLatin1String(kShortcutFile);
            if (!QDir().mkpath(menu) || !writeFileAtomic(link, desktopEntry(target)))
                fail(QStringLiteral("未能创建快捷方式 ") + link + QStringLiteral(" 。"));
        }
    }

    showInfo(this, allDone ? text::kDone : text::kDoneWithFailures);
    close();
}

} // namespace setup
