#include "setupWizard.h"

#include "setupFiles.h"
#include "setupMsgBox.h"
#include "setupPlace.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTranslator>

#include <cerrno>
#include <cstring>

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

bool installIcon(const QString& path, QString* why) {
    QFile icon{QString::fromLatin1(kIconResource)};
    if (!icon.open(QIODevice::ReadOnly)) {
        *why = icon.errorString();
        return false;
    }
    return writeFileAtomic(path, icon.readAll(), why);
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
    centreOnShow(this);
    // The program's own icon, drawn at the usual sizes; the message boxes take it
    // from their parent.
    QIcon icon;
    for (int s : {16, 24, 32, 48, 64})
        icon.addPixmap(svgPixmap(QLatin1String(kIconResource), QSize(s, s), 1));
    setWindowIcon(icon);
    setFixedSize(500, 360);
    // The page is white above the frame line; the buttons sit on the window colour.
    auto* page = new QWidget(this);
    page->setGeometry(0, 0, 500, 314);
    page->setAutoFillBackground(true);
    QPalette pal = page->palette();
    pal.setColor(QPalette::Window, Qt::white);
    page->setPalette(pal);

    sidePicture = new QLabel(this);
    sidePicture->setObjectName(QStringLiteral("Picture1"));
    sidePicture->setGeometry(0, 0, 164, 314);
    sidePicture->setPixmap(
        svgPixmap(QStringLiteral(":/setup/art/side.svg"), QSize(164, 314), devicePixelRatioF()));

    titleLabel = new QLabel(QStringLiteral("欢迎使用 Rededera 快速安装向导"), this);
    titleLabel->setObjectName(QStringLiteral("Label1"));
    QFont title = titleLabel->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.35);
    titleLabel->setFont(title);
    titleLabel->setGeometry(184, 18, 306, 34);

    purposeLabel = wrappedLabel(this, QStringLiteral("该向导用以解决因缺少控件 Rededera 无法运行的问题。"),
                                QRect(184, 66, 310, 40));
    adviceLabel =
        wrappedLabel(this, QStringLiteral("建议您在继续之前关闭 Rededera 及其它可能妨碍向导运行的程序。"),
                     QRect(184, 112, 300, 40));
    purposeLabel->setObjectName(QStringLiteral("Label2"));
    adviceLabel->setObjectName(QStringLiteral("Label3"));
    stepsCaption = new QLabel(QStringLiteral("选择需要进行的项目："), this);
    stepsCaption->setObjectName(QStringLiteral("Label4"));
    stepsCaption->setGeometry(184, 176, 300, 22);

    registerControlsCheck = new QCheckBox(text::kRegisterControls, this);
    copyProgramCheck = new QCheckBox(text::kCopyProgram, this);
    shortcutCheck = new QCheckBox(QStringLiteral("创建快捷方式"), this);
    registerControlsCheck->setObjectName(QStringLiteral("Check1"));
    copyProgramCheck->setObjectName(QStringLiteral("Check2"));
    shortcutCheck->setObjectName(QStringLiteral("Check3"));
    int y = 204;
    for (QCheckBox* c : {registerControlsCheck, copyProgramCheck, shortcutCheck}) {
        c->setChecked(true);
        c->setGeometry(200, y, 290, 24);
        y += 28;
    }
    // The main program hosts no separately registered controls here: the step
    // stays in its place, greyed and unticked, its caption saying why.
    registerControlsCheck->setChecked(false);
    registerControlsCheck->setEnabled(false);

    // The frame line between the page and its buttons.
    separatorLine = new QFrame(this);
    separatorLine->setObjectName(QStringLiteral("Shape1"));
    separatorLine->setFrameShape(QFrame::HLine);
    separatorLine->setFrameShadow(QFrame::Sunken);
    separatorLine->setGeometry(0, 314, 500, 2);

    finishButton = new QPushButton(QStringLiteral("完成"), this);
    cancelButton = new QPushButton(QStringLiteral("取消(&C)"), this);
    finishButton->setObjectName(QStringLiteral("Command1"));
    cancelButton->setObjectName(QStringLiteral("Command2"));
    finishButton->setGeometry(304, 324, 88, 28);
    cancelButton->setGeometry(402, 324, 88, 28);
    finishButton->setDefault(true);
    finishButton->setAutoDefault(true);
    cancelButton->setAutoDefault(false);
    connect(finishButton, &QPushButton::clicked, this, &frmMain::finishButton_Click);
    connect(cancelButton, &QPushButton::clicked, this, &frmMain::cancelButton_Click);
    // Escape (QDialog's reject) is the cancel button.
    finishButton->setFocus();
}

std::unique_ptr<QTranslator> loadQtChinese(const QString& dir) {
    auto t = std::make_unique<QTranslator>();
    if (!t->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qt"), QStringLiteral("_"), dir))
        return nullptr;
    QCoreApplication::installTranslator(t.get());
    return t;
}

int frmMain::exitStatus() const {
    return failed_ ? 1 : 0;
}

void frmMain::cancelButton_Click() {
    close();
}

void frmMain::finishButton_Click() {
    if (!finishButton->isEnabled()) return;
    for (QWidget* w : std::initializer_list<QWidget*>{copyProgramCheck, shortcutCheck, finishButton})
        w->setEnabled(false);
    bool allDone = true;
    // Each failure names what failed and, on its own line, the system's reason.
    auto fail = [&](const QString& what, const QString& why) {
        showInfo(this, what + QStringLiteral(" 。\n") + why);
        allDone = false;
    };
    QString why;

    const QString appDir = folders::appDir();

    QString launcher = appDir + QLatin1String(kLauncher);
    QString mainExe = appDir + QLatin1String(kMainProgram);

    if (copyProgramCheck->isChecked()) {
        const QString dest = folders::programFilesDir() + QLatin1String(kProgramFolder) + QLatin1Char('/');
        // From here on only copies made by this run count: an older copy left in
        // the folder must not become the shortcut's target.
        bool launcherCopied = false, mainCopied = false;
        if (!makeFolder(dest, &why)) {
            fail(QStringLiteral("未能创建文件夹 ") + dest, why);
        } else {
            // The launcher is optional: a missing one is skipped without a word.
            if (isFile(launcher)) {
                launcherCopied = copyFileReplacing(launcher, dest + QLatin1String(kLauncher), &why);
                if (!launcherCopied) fail(QStringLiteral("未能复制 ") + launcher, why);
            }
            if (!isFile(mainExe))
                fail(QStringLiteral("未能找到 ") + mainExe, QString::fromLocal8Bit(std::strerror(ENOENT)));
            else if (!(mainCopied = copyFileReplacing(mainExe, dest + QLatin1String(kMainProgram), &why)))
                fail(QStringLiteral("未能复制 ") + mainExe, why);
            // The manifest belongs beside the program; without it, it would be an orphan.
            if (mainCopied &&
                !writeFileAtomic(dest + QLatin1String(kManifestFile), manifestFileBytes(), &why))
                fail(QStringLiteral("未能写入 ") + dest + QLatin1String(kManifestFile), why);
        }
        launcher = launcherCopied ? dest + QLatin1String(kLauncher) : QString();
        mainExe = mainCopied ? dest + QLatin1String(kMainProgram) : QString();
    }

    // The menu entry and the autostart entry name the icon; the theme must hold it.
    if (copyProgramCheck->isChecked() || shortcutCheck->isChecked()) {
        const QString dir = folders::iconsDir();
        if (!makeFolder(dir, &why) || !installIcon(dir + QLatin1String(kIconFile), &why))
            fail(QStringLiteral("未能安装图标 ") + dir + QLatin1String(kIconFile), why);
    }

    if (shortcutCheck->isChecked()) {
        const QString target = isFile(launcher) ? launcher : isFile(mainExe) ? mainExe : QString();
        if (target.isEmpty()) {
            showInfo(this, text::kNoProgram);
            allDone = false;
        } else {
            const QString menu = folders::applicationsDir();
            const QString link = menu + QLatin1String(kShortcutFile);
            if (!makeFolder(menu, &why) || !writeFileAtomic(link, desktopEntry(target), &why))
                fail(QStringLiteral("未能创建快捷方式 ") + link, why);
        }
    }

    failed_ = !allDone;
    showInfo(this, allDone ? text::kDone : text::kDoneWithFailures);
    close();
}

} // namespace setup
