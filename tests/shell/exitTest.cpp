// Closing the main window: minimising instead, the exit sequence and what it
// leaves behind, with a real account and its database.
#include "shellFixture.h"

#include "accounts/frmLogin.h"
#include "core/model/gDatabase.h"
#include "core/ui/gMain.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/ui/gStartup.h"
#include "core/model/gState.h"
#include "core/model/gUserData.h"
#include "core/ui/gWindowServices.h"
#include "shell/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

void gRegisterAccountsForms();
void gRegisterShellForms();

namespace {

// Counts the times a window is shown.
class ShowCounter : public QObject {
public:
    int shows = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Show) ++shows;
        return false;
    }
};

class MainExit : public AccountShellTest {};

TEST_F(MainExit, NoToTheLeavePromptKeepsEverythingAlive) {
    makeAccount();
    frmMain* m = loadMain();
    ASSERT_TRUE(m->gChangeFrame(Page::Writing, {.setDiary = true, .editMode = true}));
    TestEditor* ed = editor();
    ed->gChanged = true;
    forms::load(Form::frmSuspend)->show();

    gMsgBoxSeam::pushAnswer(gMsgResult::No);
    m->mTExit->trigger();

    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::EntryChangedDiscard});
    EXPECT_EQ(gMainWindow(), m);
    EXPECT_TRUE(m->isVisible());
    EXPECT_EQ(editor(), ed);
    EXPECT_EQ(m->pageIndex(), pageNumber(Page::Writing));
    EXPECT_TRUE(gCloseMinimizes);
    EXPECT_TRUE(gConnection.isOpen());
    EXPECT_TRUE(gTrayIcon::instance().isAdded());
    EXPECT_TRUE(gClipboardWatch::instance().isHooked());
    EXPECT_TRUE(forms::isLoaded(Form::frmSuspend));
}

TEST_F(MainExit, YesClosesTheDatabaseAndEveryOtherWindow) {
    makeAccount();
    frmMain* m = loadMain();
    ASSERT_TRUE(m->gChangeFrame(Page::Timetable)); // the timetable page stays loaded while hidden
    ASSERT_TRUE(m->gChangeFrame(Page::Writing));
    editor()->Text1->setPlainText(QStringLiteral("写了一半"));
    for (gFormName n : {Form::frmSuspend, Form::frmScheReport, Form::frmScheRemind})
        forms::load(n)->show();
    gShowHelp(gHelpTopics);
    m->mHAbout->trigger();
    ASSERT_TRUE(forms::isLoaded(Form::frmAbout));
    m->setWindowState(Qt::WindowMinimized);
    ASSERT_FALSE(m->isVisible());
    ShowCounter counter;
    m->installEventFilter(&counter);
    QPointer<frmMain> alive = m;

    gMsgBoxSeam::pushAnswer(gMsgResult::Yes);
    m->mTExit->trigger();

    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::EntryNotEmptyDiscard});
    EXPECT_EQ(counter.shows, 0) << "the exit showed the main window again";
    EXPECT_EQ(gMainWindow(), nullptr);
    EXPECT_FALSE(gConnection.isOpen());
    EXPECT_FALSE(gTrayIcon::instance().isAdded());
    EXPECT_FALSE(gClipboardWatch::instance().isHooked());
    EXPECT_TRUE(gCloseMinimizes);
    EXPECT_EQ(forms::loadedNames(), QStringList());
    pumpEvents();
    EXPECT_TRUE(alive.isNull());
    EXPECT_EQ(pageLog().alive(QStringLiteral("frmSchedule")), 0);
}

TEST_F(MainExit, CloseButtonMinimisesWithOptionThree) {
    makeAccount();
    gOption(Option::CloseMinimises) = true;
    frmMain* m = loadMain();
    m->close();
    EXPECT_EQ(gMainWindow(), m);
    EXPECT_TRUE(m->isMinimized());
    EXPECT_FALSE(m->isVisible());
    EXPECT_TRUE(gConnection.isOpen());
    // The exit items still exit.
    m->mTExit->trigger();
    EXPECT_EQ(gMainWindow(), nullptr);
    EXPECT_FALSE(gConnection.isOpen());
}

TEST_F(MainExit, CloseButtonExitsWithoutOptionThree) {
    makeAccount();
    frmMain* m = loadMain();
    m->close();
    EXPECT_EQ(gMainWindow(), nullptr);
    EXPECT_FALSE(gConnection.isOpen());
}

// ---- leaving the settings page ----

class MainSettingsLeave : public AccountShellTest {};

TEST_F(MainSettingsLeave, UnsavedSettingsAreReadBackFromTheProfile) {
    makeAccount();
    gOption(Option::BalloonOnMinimise) = true;
    ASSERT_TRUE(gSaveUserData());
    frmMain* m = loadMain();
    ASSERT_TRUE(m->gChangeFrame(Page::Settings));
    // What the settings page does before "取消".
    gOption(Option::BalloonOnMinimise) = false;
    gLockTimeout = 99;
    gPathOption = PathOption::ProgramFolder;
    ASSERT_TRUE(m->gChangeFrame(Page::Home));
    EXPECT_TRUE(gOption(Option::BalloonOnMinimise));
    EXPECT_EQ(gLockTimeout, 2);
    EXPECT_EQ(gPathOption, PathOption::Documents);
    EXPECT_TRUE(gMsgBoxSeam::shown().isEmpty());
    EXPECT_FALSE(forms::isLoaded(Form::frmSet));
}

TEST_F(MainSettingsLeave, RestartAfterAFolderChangeSkipsTheReadBack) {
    makeAccount();
    frmMain* m = loadMain();
    ASSERT_TRUE(m->gChangeFrame(Page::Settings));
    gLockTimeout = 77;
    // What the settings page does when the user folder changed.
    gRestartPending = true;
    gCloseMinimizes = false;
    EXPECT_TRUE(forms::unload(m));
    EXPECT_EQ(gLockTimeout, 77);
    EXPECT_FALSE(gRestartPending);
    EXPECT_FALSE(gConnection.isOpen());
}

// ---- from the sign-in ----

class MainAfterSignIn : public AccountShellTest {
protected:
    // A program folder with its manifest, so the start-up goes straight to the sign-in.
    void startUp() {
        gCloseDatabase();
        gResetAccountState();
        const QString program = home().folder(QStringLiteral("program"));
        writeFile(program + QStringLiteral("Rededera.exe.manifest"), "manifest");
        gStartupSeam::setProgram(program, QStringLiteral("Rededera"));
        gAppPath = program;
        gRegisterAccountsForms();
        gRegisterShellForms();
        registerTestPages();
        Main();
    }
};

TEST_F(MainAfterSignIn, HiddenStartSignsInToTheNotificationArea) {
    for (bool tray : {true, false}) {
        SCOPED_TRACE(tray);
        gTraySeam::setAreaExists(tray);
        makeAccount(QString()); // no password: "/S" signs in at once
        gCommandLine = QStringLiteral(" /s");
        startUp();
        frmMain* m = gMainWindow();
        ASSERT_NE(m, nullptr);
        EXPECT_FALSE(gHiddenStart);
        EXPECT_TRUE(gConnection.isOpen());
        EXPECT_TRUE(m->isMinimized());
        // Without a notification area the window waits in the task bar.
        EXPECT_EQ(m->isVisible(), !tray);
        EXPECT_FALSE(forms::isLoaded(Form::frmLogin));
        m->mTExit->trigger();
        forms::unloadAllNow();
        gCommandLine.clear();
    }
}

TEST_F(MainAfterSignIn, SignInOpensTheMainWindow) {
    gOption(Option::AutoSignIn) = true; // the name is asked with the password
    makeAccount(QStringLiteral("secret"));
    startUp();
    auto* login = forms::find<frmLogin>(Form::frmLogin);
    ASSERT_NE(login, nullptr);
    login->nameEdit->setText(QStringLiteral("Ann"));
    login->passwordEdit->setText(QStringLiteral("secret"));
    login->okButton->click();
    frmMain* m = gMainWindow();
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(m->isVisible());
    EXPECT_TRUE(gConnection.isOpen());
    EXPECT_TRUE(gCloseMinimizes);
    EXPECT_EQ(m->currentPage(), forms::find(Form::frmWelcome));
    EXPECT_TRUE(gTrayIcon::instance().isAdded());
    m->mTExit->trigger();
    EXPECT_FALSE(gConnection.isOpen());
}

} // namespace
