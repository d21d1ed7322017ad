// The setup wizard, driven through its window with real files in a temporary home.
#include "setupFiles.h"
#include "setupMsgBox.h"
#include "setupWizard.h"

#include "core/gStrings.h"
#include "testSupport.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

using namespace setup;

namespace {

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

    // Runs Finish with the given boxes ticked; returns what the boxes said.
    QStringList run(bool c1, bool c2, bool c3) {
        frmMain w;
        w.show();
        w.Check1->setChecked(c1);
        w.Check2->setChecked(c2);
        w.Check3->setChecked(c3);
        QTest::mouseClick(w.Command1, Qt::LeftButton);
        EXPECT_FALSE(w.isVisible());
        EXPECT_FALSE(w.Command1->isEnabled());
        EXPECT_FALSE(w.Check2->isEnabled());
        return msgSeam::shown();
    }

    QString dest() const { return pf + QStringLiteral("Rededera/"); }
    QString link() const { return menu + QStringLiteral("Rededera.desktop"); }
    QString execLine() const {
        for (const QByteArray& line : readFile(link()).split('\n'))
            if (line.startsWith("Exec=")) return QString::fromUtf8(line.mid(5));
        return QString();
    }

    QString ship, pf, menu;
};

} // namespace

TEST(SetupManifest, OwnCopyIsTheMainProgramsText) {
    // The wizard carries its own copy; it must not drift from the program's.
    EXPECT_EQ(manifestText().toUtf8(), gLoadResString(1000).toUtf8());
    EXPECT_EQ(manifestFileBytes(), gLoadResString(1000).toUtf8() + "\r\n\r\n");
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
        QString expected;
    } cases[] = {
        {"/srv/data", QStringLiteral("/srv/data/applications/")},
        {"/srv/data/", QStringLiteral("/srv/data/applications/")},
        {"", QDir::homePath() + QStringLiteral("/.local/share/applications/")},
        {"relative/data", QDir::homePath() + QStringLiteral("/.local/share/applications/")},
    };
    for (const Case& c : cases) {
        qputenv("XDG_DATA_HOME", c.env);
        EXPECT_EQ(folders::applicationsDir(), c.expected) << c.env;
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
    EXPECT_EQ(run(false, false, false), QStringList{text::kDone});
    EXPECT_FALSE(QFileInfo::exists(dest()));
    EXPECT_FALSE(QFileInfo::exists(link()));
}

TEST_F(SetupTest, FullRunCopiesProgramWritesManifestAndShortcut) {
    shipProgram("Rededera", QByteArray("program bytes\0\x01\xff", 17));
    EXPECT_EQ(run(true, true, true), (QStringList{text::kNoControls, text::kDone}));

    EXPECT_EQ(readFile(dest() + "Rededera"), readFile(ship + "Rededera"));
    EXPECT_TRUE(QFileInfo(dest() + "Rededera").isExecutable());
    EXPECT_EQ(readFile(dest() + "Rededera.exe.manifest"), manifestFileBytes());
    EXPECT_FALSE(QFileInfo::exists(dest() + "Kestrove"));
    // Without a launcher the shortcut starts the copied program.
    EXPECT_EQ(execLine(), QLatin1Char('"') + dest() + "Rededera\"");
    EXPECT_TRUE(readFile(link()).contains("\nPath=" + (pf + "Rededera").toUtf8() + "\n"));
    // Nothing but the finished files is left behind.
    EXPECT_EQ(QDir(dest()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    EXPECT_EQ(QDir(menu).entryList(QDir::Files | QDir::Hidden), QStringList{"Rededera.desktop"});
}

TEST_F(SetupTest, ShortcutPrefersTheLauncher) {
    shipProgram("Rededera", "program");
    shipProgram("Kestrove", "launcher");
    EXPECT_EQ(run(false, true, true), QStringList{text::kDone});
    EXPECT_EQ(readFile(dest() + "Kestrove"), QByteArray("launcher"));
    EXPECT_EQ(execLine(), QLatin1Char('"') + dest() + "Kestrove\"");
}

TEST_F(SetupTest, WithoutCopyingTheShortcutPointsBesideTheWizard) {
    shipProgram("Rededera", "program");
    EXPECT_EQ(run(false, false, true), QStringList{text::kDone});
    EXPECT_FALSE(QFileInfo::exists(dest()));
    EXPECT_EQ(execLine(), QLatin1Char('"') + ship + "Rededera\"");
}

TEST_F(SetupTest, SecondRunReplacesEverythingWithoutAWord) {
    shipProgram("Rededera", "version one");
    run(false, true, true);
    writeFile(dest() + "Rededera.exe.manifest", "stale");
    writeFile(link(), "stale");
    msgSeam::clear();

    shipProgram("Rededera", "version two, longer than the first");
    EXPECT_EQ(run(false, true, true), QStringList{text::kDone});
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
    EXPECT_EQ(run(false, true, true), QStringList{text::kDone});
    EXPECT_EQ(readFile(home().path() + "/Rededera/Rededera"), QByteArray("program"));
}

TEST_F(SetupTest, MissingProgramIsReportedNotCalledDone) {
    const QStringList shown = run(false, true, true);
    EXPECT_EQ(shown, (QStringList{QStringLiteral("未能找到 ") + ship + "Rededera", text::kNoProgram,
                                  text::kDoneWithFailures}));
    // The manifest is still written; no shortcut to nothing is made.
    EXPECT_EQ(readFile(dest() + "Rededera.exe.manifest"), manifestFileBytes());
    EXPECT_FALSE(QFileInfo::exists(link()));
}

TEST_F(SetupTest, UncreatableProgramFolderIsReported) {
    shipProgram("Rededera", "program");
    writeFile(pf + "Rededera", "a file where the folder should be");
    const QStringList shown = run(false, true, false);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("未能创建文件夹 ") + dest()));
    EXPECT_EQ(shown[1], text::kDoneWithFailures);
    EXPECT_EQ(readFile(pf + "Rededera"), QByteArray("a file where the folder should be"));
}

TEST_F(SetupTest, UnwritableMenuFolderIsReported) {
    shipProgram("Rededera", "program");
    writeFile(home().path() + "/menu", "not a folder");
    const QStringList shown = run(false, false, true);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("未能创建快捷方式 ")));
    EXPECT_EQ(shown[1], text::kDoneWithFailures);
}

TEST_F(SetupTest, FinishRunsOnceAndCancelTouchesNothing) {
    shipProgram("Rededera", "program");
    {
        frmMain w;
        w.show();
        EXPECT_TRUE(w.Check1->isChecked() && w.Check2->isChecked() && w.Check3->isChecked());
        EXPECT_TRUE(w.Command1->isDefault());
        QTest::mouseClick(w.Command2, Qt::LeftButton);
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

    frmMain w;
    w.show();
    w.Check1->setChecked(false);
    w.Command1_Click();
    w.Command1_Click();
    EXPECT_EQ(msgSeam::shown(), QStringList{text::kDone});
}

TEST_F(SetupTest, WindowTextsAndPicture) {
    frmMain w;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Rededera 快速安装向导"));
    EXPECT_EQ(w.Label1->text(), QStringLiteral("欢迎使用 Rededera 快速安装向导"));
    EXPECT_EQ(w.Check2->text(), QStringLiteral("复制程序到 Program Files 文件夹"));
    EXPECT_EQ(w.Command2->text(), QStringLiteral("取消(&C)"));
    EXPECT_EQ(w.Picture1->size(), QSize(164, 314));
    ASSERT_FALSE(w.Picture1->pixmap().isNull());
    EXPECT_FALSE(w.windowIcon().isNull());
    // The picture is drawn, not a blank.
    const QImage img = w.Picture1->pixmap().toImage();
    EXPECT_NE(img.pixelColor(2, 2), img.pixelColor(80, 100));
}
