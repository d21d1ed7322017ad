// The setup wizard, driven through its window with real files in a temporary home.
#include "setupFiles.h"
#include "setupMsgBox.h"
#include "setupWizard.h"

#include "core/model/gResIds.h"
#include "core/model/gStrings.h"
#include "testSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

using namespace setup;

namespace {

// The program's icon as it lies in the sources, drawn at side x side.
QImage programIcon(int side) {
    QSvgRenderer svg(QStringLiteral(REDEDERA_SOURCE_DIR "/resources/icon/105.svg"));
    QImage img(side, side, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    svg.render(&p, QRectF(0, 0, side, side));
    return img;
}

QImage iconImage(const QIcon& icon, int side) {
    return icon.pixmap(side, side).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QString systemText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// desktop-file-validate's complaints about a desktop entry; empty when it has
// none or when the tool is not installed.
std::string desktopFileProblems(const QString& file) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (tool.isEmpty()) return {};
    QProcess p;
    p.start(tool, {file});
    p.waitForFinished();
    const QString out = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    if (p.exitCode() == 0 && out.trimmed().isEmpty()) return {};
    return (out + QStringLiteral("(exit %1)").arg(p.exitCode())).toStdString();
}

class SetupTest : public HomeTest {
protected:
    void SetUp() override {
        HomeTest::SetUp();
        ship = home().folder(QStringLiteral("ship"));
        pf = home().folder(QStringLiteral("programs"));
        menu = home().path() + QStringLiteral("/menu/applications/");
        folders::seam::setAppDir(ship);
        folders::seam::setProgramFilesDir(pf);
        folders::seam::setApplicationsDir(menu);
        msgSeam::setScripted(true);
        msgSeam::clear();
    }
    void TearDown() override {
        folders::seam::reset();
        msgSeam::clear();
        HomeTest::TearDown();
    }

    void shipProgram(const char* name, const QByteArray& bytes) {
        const QString path = writeFile(ship + QLatin1String(name), bytes);
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeUser);
    }

    // Runs Finish with the two steps that do something here ticked as given (the
    // registration stays greyed); returns what the boxes said.
    QStringList run(bool c2, bool c3) {
        frmMain w;
        w.show();
        EXPECT_FALSE(w.registerControlsCheck->isEnabled());
        for (auto [box, on] : {std::pair{w.copyProgramCheck, c2}, std::pair{w.shortcutCheck, c3}})
            if (box->isChecked() != on)
                QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
        EXPECT_EQ(w.copyProgramCheck->isChecked(), c2);
        EXPECT_EQ(w.shortcutCheck->isChecked(), c3);
        QTest::mouseClick(w.finishButton, Qt::LeftButton);
        EXPECT_FALSE(w.isVisible());
        EXPECT_FALSE(w.finishButton->isEnabled());
        EXPECT_FALSE(w.copyProgramCheck->isEnabled());
        status = w.exitStatus();
        return msgSeam::shown();
    }

    QString dest() const { return pf + QStringLiteral("Rededera/"); }
    QString link() const { return menu + QStringLiteral("rededera.desktop"); }
    QString execLine() const {
        for (const QByteArray& line : readFile(link()).split('\n'))
            if (line.startsWith("Exec=")) return QString::fromUtf8(line.mid(5));
        return QString();
    }

    QString icon() {
        return home().path() + QStringLiteral("/data/icons/hicolor/scalable/apps/rededera.svg");
    }

    QString ship, pf, menu;
    int status = -1; // the wizard's exit status after run()
};

} // namespace

TEST(SetupManifest, OwnCopyIsTheMainProgramsText) {
    // The wizard carries its own copy; it must not drift from the program's.
    EXPECT_EQ(manifestText().toUtf8(), gLoadResString(Res::ManifestText).toUtf8());
    EXPECT_EQ(manifestFileBytes(), gLoadResString(Res::ManifestText).toUtf8() + "\r\n\r\n");
    EXPECT_FALSE(manifestText().contains(QRegularExpression(QStringLiteral("[^\r]\n"))));
}

TEST(SetupFolders, DefaultsFollowHomeAndXdgDataHome) {
    TempHome h;
    folders::seam::reset();
    EXPECT_EQ(folders::programFilesDir(), QDir::homePath() + QStringLiteral("/.local/lib/"));
    EXPECT_EQ(folders::appDir(), QCoreApplication::applicationDirPath() + QStringLiteral("/"));

    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    struct Case {
        const char* env;
        QString expected; // the data folder the menu and icon folders lie in
    } cases[] = {
        {"/srv/data", QStringLiteral("/srv/data/")},
        {"/srv/data/", QStringLiteral("/srv/data/")},
        {"", QDir::homePath() + QStringLiteral("/.local/share/")},
        {"relative/data", QDir::homePath() + QStringLiteral("/.local/share/")},
    };
    for (const Case& c : cases) {
        qputenv("XDG_DATA_HOME", c.env);
        EXPECT_EQ(folders::applicationsDir(), c.expected + QStringLiteral("applications/")) << c.env;
        EXPECT_EQ(folders::iconsDir(), c.expected + QStringLiteral("icons/hicolor/scalable/apps/")) << c.env;
    }
    qputenv("XDG_DATA_HOME", saved);

    folders::seam::setProgramFilesDir(QStringLiteral("/opt/x"));
    EXPECT_EQ(folders::programFilesDir(), QStringLiteral("/opt/x/"));
    folders::seam::reset();
}

TEST(SetupDesktopEntry, ExecQuotesEveryReservedCharacter) {
    struct Case {
        QString path;
        QString exec; // as written in the file, after the string escapes
    } cases[] = {
        {QStringLiteral("/home/u/.local/lib/Rededera/Rededera"),
         QStringLiteral("\"/home/u/.local/lib/Rededera/Rededera\"")},
        {QStringLiteral("/home/my user/日记/Rededera"), QStringLiteral("\"/home/my user/日记/Rededera\"")},
        {QStringLiteral("/a\"b/$HOME/`x`/Rededera"),
         QStringLiteral("\"/a\\\\\"b/\\\\$HOME/\\\\`x\\\\`/Rededera\"")},
        {QStringLiteral("/a\\b/Rededera"), QStringLiteral("\"/a\\\\\\\\b/Rededera\"")},
        {QStringLiteral("/100%/Rededera"), QStringLiteral("\"/100%%/Rededera\"")},
    };
    for (const Case& c : cases) {
        const QString entry = QString::fromUtf8(desktopEntry(c.path));
        EXPECT_TRUE(entry.startsWith(QStringLiteral("[Desktop Entry]\n"))) << c.path.toStdString();
        EXPECT_TRUE(entry.contains(QStringLiteral("\nExec=") + c.exec + QLatin1Char('\n')))
            << c.path.toStdString() << "\n"
            << entry.toStdString();
        EXPECT_TRUE(entry.contains(QStringLiteral("\nName=Rededera\n")));
    }
    // A line break in a folder name cannot end the key early.
    const QString entry = QString::fromUtf8(desktopEntry(QStringLiteral("/x\ny/Rededera")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nPath=/x\\ny\n")));
    EXPECT_FALSE(entry.contains(QStringLiteral("\ny/")));
}

TEST_F(SetupTest, AllBoxesClearedShowsOnlyTheEnd) {
    shipProgram("Rededera", "program");
    EXPECT_EQ(run(false, false), QStringList{text::kDone});
    EXPECT_FALSE(QFileInfo::exists(dest()));
    EXPECT_FALSE(QFileInfo::exists(link()));
}

TEST_F(SetupTest, FullRunCopiesProgramWritesManifestAndShortcut) {
    shipProgram("Rededera", QByteArray("program bytes\0\x01\xff", 17));
    EXPECT_EQ(run(true, true), QStringList{text::kDone});

    EXPECT_EQ(status, 0);
    EXPECT_EQ(readFile(dest() + "Rededera"), readFile(ship + "Rededera"));
    EXPECT_TRUE(QFileInfo(dest() + "Rededera").isExecutable());
    EXPECT_EQ(readFile(dest() + "Rededera.exe.manifest"), manifestFileBytes());
    EXPECT_FALSE(QFileInfo::exists(dest() + "Kestrove"));
    // Without a launcher the shortcut starts the copied program.
    EXPECT_EQ(execLine(), QLatin1Char('"') + dest() + "Rededera\"");
    EXPECT_TRUE(readFile(link()).contains("\nPath=" + (pf + "Rededera").toUtf8() + "\n"));
    // The menu entry shows the program's own icon, installed into the icon theme.
    EXPECT_TRUE(readFile(link()).contains("\nIcon=rededera\n"));
    EXPECT_EQ(readFile(icon()), readFile(REDEDERA_SOURCE_DIR "/resources/icon/105.svg"));
    EXPECT_EQ(desktopFileProblems(link()), "");
    // Nothing but the finished files is left behind.
    EXPECT_EQ(QDir(dest()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    EXPECT_EQ(QDir(menu).entryList(QDir::Files | QDir::Hidden), QStringList{"rededera.desktop"});
}

TEST_F(SetupTest, ShortcutPrefersTheLauncher) {
    shipProgram("Rededera", "program");
    shipProgram("Kestrove", "launcher");
    EXPECT_EQ(run(true, true), QStringList{text::kDone});
    EXPECT_EQ(readFile(dest() + "Kestrove"), QByteArray("launcher"));
    EXPECT_EQ(execLine(), QLatin1Char('"') + dest() + "Kestrove\"");
}

TEST_F(SetupTest, WithoutCopyingTheShortcutPointsBesideTheWizard) {
    shipProgram("Rededera", "program");
    EXPECT_EQ(run(false, true), QStringList{text::kDone});
    EXPECT_FALSE(QFileInfo::exists(dest()));
    EXPECT_EQ(execLine(), QLatin1Char('"') + ship + "Rededera\"");
}

TEST_F(SetupTest, SecondRunReplacesEverythingWithoutAWord) {
    shipProgram("Rededera", "version one");
    run(true, true);
    writeFile(dest() + "Rededera.exe.manifest", "stale");
    writeFile(link(), "stale");
    msgSeam::clear();

    shipProgram("Rededera", "version two, longer than the first");
    EXPECT_EQ(run(true, true), QStringList{text::kDone});
    EXPECT_EQ(readFile(dest() + "Rededera"), QByteArray("version two, longer than the first"));
    EXPECT_EQ(readFile(dest() + "Rededera.exe.manifest"), manifestFileBytes());
    EXPECT_EQ(execLine(), QLatin1Char('"') + dest() + "Rededera\"");
}

TEST_F(SetupTest, RunningFromTheInstalledFolderKeepsTheProgram) {
    // The wizard started from the install folder copies the program onto itself.
    shipProgram("Rededera", "program");
    folders::seam::setProgramFilesDir(home().path());
    QDir().rename(ship, home().path() + "/Rededera");
    folders::seam::setAppDir(home().path() + "/Rededera");
    EXPECT_EQ(run(true, true), QStringList{text::kDone});
    EXPECT_EQ(readFile(home().path() + "/Rededera/Rededera"), QByteArray("program"));
}

TEST_F(SetupTest, MissingProgramIsReportedNotCalledDone) {
    const QStringList shown = run(true, true);
    EXPECT_EQ(shown, (QStringList{QStringLiteral("未能找到 ") + ship + "Rededera 。\n" + systemText(ENOENT),
                                  text::kNoProgram, text::kDoneWithFailures}))
        << shown.join('|').toStdString();
    EXPECT_EQ(status, 1);
    // No manifest without its program, and no shortcut to nothing.
    EXPECT_FALSE(QFileInfo::exists(dest() + "Rededera.exe.manifest"));
    EXPECT_FALSE(QFileInfo::exists(link()));
}

TEST_F(SetupTest, TheShortcutNeverPointsAtACopyLeftByAnEarlierRun) {
    struct Case {
        const char* name;
        QStringList shipped;    // beside the wizard now
        QStringList leftBefore; // in the program folder from an earlier run
        QString target;         // the shortcut's target, or empty for none
    } cases[] = {
        {"program gone from beside the wizard", {}, {"Rededera"}, QString()},
        {"launcher gone from beside the wizard", {"Rededera"}, {"Rededera", "Kestrove"}, "Rededera"},
        {"both gone", {}, {"Rededera", "Kestrove"}, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(ship).removeRecursively();
        QDir(pf).removeRecursively();
        QFile::remove(link());
        msgSeam::clear();
        for (const QString& f : c.shipped)
            shipProgram(f.toUtf8().constData(), "new " + f.toUtf8());
        for (const QString& f : c.leftBefore)
            writeFile(dest() + f, "old " + f.toUtf8());

        run(true, true);
        if (c.target.isEmpty()) {
            EXPECT_FALSE(QFileInfo::exists(link()));
            EXPECT_TRUE(msgSeam::shown().contains(text::kNoProgram));
        } else {
            EXPECT_EQ(execLine(), QLatin1Char('"') + dest() + c.target + '"');
            EXPECT_EQ(readFile(dest() + c.target), "new " + c.target.toUtf8());
        }
    }
}

TEST_F(SetupTest, EveryFailureSaysWhyAndEndsWithAFailureStatus) {
    const QString notADir = systemText(ENOTDIR);
    struct Case {
        const char* name;
        std::function<void()> arrange;
        bool c2, c3;
        QString what;   // the message's first line
        QString reason; // its second line; empty: any text from the system
    } cases[] = {
        {"program folder is a file", [&] { writeFile(pf + "Rededera", "x"); }, true, false,
         "未能创建文件夹 " + dest() + " 。", systemText(EEXIST)},
        {"menu folder's parent is a file", [&] { writeFile(home().path() + "/menu", "x"); }, false, true,
         "未能创建快捷方式 " + link() + " 。", notADir},
        {"icon folder's parent is a file", [&] { writeFile(home().path() + "/data/icons", "x"); }, false,
         true, "未能安装图标 " + icon() + " 。", notADir},
        {"program copy blocked by a folder", [&] { QDir().mkpath(dest() + "Rededera/x"); }, true, false,
         "未能复制 " + ship + "Rededera 。", QString()},
        {"launcher copy blocked by a folder",
         [&] {
             shipProgram("Kestrove", "launcher");
             QDir().mkpath(dest() + "Kestrove/x");
         },
         true, false, "未能复制 " + ship + "Kestrove 。", QString()},
        {"manifest blocked by a folder", [&] { QDir().mkpath(dest() + "Rededera.exe.manifest/x"); }, true,
         false, "未能写入 " + dest() + "Rededera.exe.manifest 。", QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* f : {"ship", "programs", "menu", "data"}) {
            QDir(home().path() + '/' + f).removeRecursively();
            QFile::remove(home().path() + '/' + f);
        }
        ship = home().folder(QStringLiteral("ship"));
        pf = home().folder(QStringLiteral("programs"));
        home().folder(QStringLiteral("data"));
        shipProgram("Rededera", "program");
        msgSeam::clear();
        c.arrange();

        const QStringList shown = run(c.c2, c.c3);
        ASSERT_EQ(shown.size(), 2) << shown.join('|').toStdString();
        const QStringList lines = shown[0].split('\n');
        ASSERT_EQ(lines.size(), 2) << shown[0].toStdString();
        EXPECT_EQ(lines[0].toStdString(), c.what.toStdString());
        if (c.reason.isEmpty())
            EXPECT_FALSE(lines[1].trimmed().isEmpty());
        else
            EXPECT_EQ(lines[1].toStdString(), c.reason.toStdString());
        EXPECT_EQ(shown[1], text::kDoneWithFailures);
        EXPECT_EQ(status, 1);
    }
}

TEST_F(SetupTest, UncreatableProgramFolderIsReported) {
    shipProgram("Rededera", "program");
    writeFile(pf + "Rededera", "a file where the folder should be");
    const QStringList shown = run(true, false);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("未能创建文件夹 ") + dest()));
    EXPECT_EQ(shown[1], text::kDoneWithFailures);
    EXPECT_EQ(readFile(pf + "Rededera"), QByteArray("a file where the folder should be"));
    EXPECT_EQ(status, 1);
}

TEST_F(SetupTest, UnwritableMenuFolderIsReported) {
    shipProgram("Rededera", "program");
    writeFile(home().path() + "/menu", "not a folder");
    const QStringList shown = run(false, true);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("未能创建快捷方式 ")));
    EXPECT_EQ(shown[1], text::kDoneWithFailures);
}

TEST_F(SetupTest, FinishRunsOnceAndCancelTouchesNothing) {
    shipProgram("Rededera", "program");
    {
        frmMain w;
        w.show();
        EXPECT_TRUE(w.copyProgramCheck->isChecked() && w.shortcutCheck->isChecked());
        // Nothing to register here: greyed, and a click does not tick it.
        EXPECT_FALSE(w.registerControlsCheck->isChecked());
        EXPECT_FALSE(w.registerControlsCheck->isEnabled());
        QTest::mouseClick(w.registerControlsCheck, Qt::LeftButton, {},
                          QPoint(8, w.registerControlsCheck->height() / 2));
        EXPECT_FALSE(w.registerControlsCheck->isChecked());
        EXPECT_TRUE(w.finishButton->isDefault());
        QTest::mouseClick(w.cancelButton, Qt::LeftButton);
        EXPECT_FALSE(w.isVisible());
    }
    {
        frmMain w;
        w.show();
        QTest::keyClick(&w, Qt::Key_Escape);
        EXPECT_FALSE(w.isVisible());
    }
    EXPECT_TRUE(msgSeam::shown().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dest()));
    EXPECT_FALSE(QFileInfo::exists(link()));
    EXPECT_FALSE(QFileInfo::exists(icon()));

    frmMain w;
    w.show();
    w.finishButton->click();
    w.finishButton->click();
    EXPECT_EQ(msgSeam::shown(), QStringList{text::kDone});
    EXPECT_EQ(w.exitStatus(), 0);
}

TEST_F(SetupTest, WindowTextsAndPicture) {
    frmMain w;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Rededera 快速安装向导"));
    EXPECT_EQ(w.titleLabel->text(), QStringLiteral("欢迎使用 Rededera 快速安装向导"));
    // The steps say what they do on this system.
    EXPECT_EQ(w.registerControlsCheck->text(), QStringLiteral("注册控件（在本系统上不需要）"));
    EXPECT_EQ(w.copyProgramCheck->text(), QStringLiteral("复制程序到 ~/.local/lib/Rededera"));
    EXPECT_EQ(w.shortcutCheck->text(), QStringLiteral("创建快捷方式"));
    EXPECT_EQ(w.cancelButton->text(), QStringLiteral("取消(&C)"));
    EXPECT_EQ(w.sidePicture->size(), QSize(164, 314));
    ASSERT_FALSE(w.sidePicture->pixmap().isNull());
    // The window shows the program's own icon.
    for (int side : {16, 32, 48})
        EXPECT_EQ(iconImage(w.windowIcon(), side), programIcon(side)) << side;
    // The picture is drawn, not a blank.
    const QImage img = w.sidePicture->pixmap().toImage();
    EXPECT_NE(img.pixelColor(2, 2), img.pixelColor(80, 100));
}

// Without a window manager nothing else places them: the wizard opens in the
// middle of the screen and its message box in the middle of the wizard.
TEST_F(SetupTest, TheWizardAndItsBoxesOpenCentred) {
    frmMain w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_TRUE(sameCentre(w.frameGeometry(), w.screen()->availableGeometry())) << w.x() << "," << w.y();

    msgSeam::setScripted(false);
    QRect box;
    QTimer::singleShot(0, [&] {
        if (auto* b = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box = b->frameGeometry();
            b->button(QMessageBox::Ok)->click();
        }
    });
    showInfo(&w, QStringLiteral("快速安装完成。"));
    msgSeam::setScripted(true);
    ASSERT_FALSE(box.isEmpty());
    EXPECT_TRUE(sameCentre(box, w.frameGeometry())) << box.x() << "," << box.y();

    // Once more where windows have no frame, as without a window manager.
    if (inFramelessChild()) return;
    const QString failed =
        reRunFrameless(QStringLiteral("SetupTest.TheWizardAndItsBoxesOpenCentred"), home().path());
    EXPECT_TRUE(failed.isEmpty()) << failed.toStdString();
}

TEST_F(SetupTest, TheIconIsInstalledWithTheProgramOrTheShortcut) {
    shipProgram("Rededera", "program");
    struct Case {
        bool c2, c3, installed;
    } cases[] = {{true, false, true}, {false, true, true}, {false, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.c2 << c.c3);
        QFile::remove(icon());
        msgSeam::clear();
        EXPECT_EQ(run(c.c2, c.c3), QStringList{text::kDone});
        EXPECT_EQ(QFileInfo::exists(icon()), c.installed);
    }
}

TEST_F(SetupTest, MessageBoxesReadInChineseAndShowTheProgramsIcon) {
    // Real boxes this time: each is read and closed with its own button.
    msgSeam::setScripted(false);
    struct Seen {
        QString text;
        QStringList buttons;
        bool icon;
    };
    QList<Seen> seen;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        Seen s{box->text(), {}, iconImage(box->windowIcon(), 32) == programIcon(32)};
        for (QAbstractButton* b : box->buttons())
            s.buttons << b->text();
        seen << s;
        QTest::mouseClick(box->buttons().value(0), Qt::LeftButton);
    });
    answer.start(5);
    // No program beside the wizard: the shortcut has no target.
    const QStringList shown = run(false, true);
    answer.stop();
    msgSeam::setScripted(true);

    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(seen[0].text, text::kNoProgram);
    EXPECT_EQ(seen[1].text, text::kDoneWithFailures);
    for (const Seen& s : seen) {
        EXPECT_EQ(s.buttons, QStringList{QStringLiteral("确定")}) << s.text.toStdString();
        EXPECT_TRUE(s.icon) << s.text.toStdString();
    }
}

TEST(SetupTranslations, QtsOwnChineseTextsLoadWhenInstalled) {
    const QString qtDir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    QTemporaryDir empty;
    struct Case {
        QString dir;
        bool loads;
    } cases[] = {
        {empty.path(), false},
        {qtDir, QFileInfo::exists(qtDir + "/qt_zh_CN.qm")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dir.toStdString());
        const auto t = loadQtChinese(c.dir);
        EXPECT_EQ(t != nullptr, c.loads);
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                  c.loads ? QStringLiteral("取消") : QStringLiteral("Cancel"));
    }
    // Gone with its owner.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}

// The real build: the wizard finds the program in its own folder and installs it
// into a fresh home, with nothing scripted but the message boxes.
TEST(SetupFromTheBuild, InstallsTheBuiltProgramIntoAFreshHome) {
    TempHome h;
    folders::seam::reset();
    msgSeam::setScripted(true);
    msgSeam::clear();
    const QFileInfo setupExe(QStringLiteral(BUILT_SETUP)), program(QStringLiteral(BUILT_PROGRAM));
    ASSERT_TRUE(setupExe.isExecutable());
    EXPECT_EQ(setupExe.absolutePath(), program.absolutePath());
    folders::seam::setAppDir(setupExe.absolutePath());

    {
        frmMain w;
        w.show();
        QTest::mouseClick(w.finishButton, Qt::LeftButton);
        EXPECT_EQ(w.exitStatus(), 0);
    }
    EXPECT_EQ(msgSeam::shown(), QStringList{text::kDone}) << msgSeam::shown().join('|').toStdString();

    const QString dest = h.home() + "/.local/lib/Rededera/";
    EXPECT_TRUE(QFileInfo(dest + "Rededera").isExecutable());
    EXPECT_EQ(QFileInfo(dest + "Rededera").size(), program.size());
    EXPECT_EQ(readFile(dest + "Rededera"), readFile(program.absoluteFilePath()));
    EXPECT_EQ(readFile(dest + "Rededera.exe.manifest"), manifestFileBytes());
    const QString data = h.path() + "/data/";
    const QString link = data + "applications/rededera.desktop";
    EXPECT_TRUE(readFile(link).contains("\nExec=\"" + (dest + "Rededera").toUtf8() + "\"\n"));
    EXPECT_TRUE(QFileInfo::exists(data + "icons/hicolor/scalable/apps/rededera.svg"));
    EXPECT_EQ(desktopFileProblems(link), "");
    folders::seam::reset();
    msgSeam::clear();
}
