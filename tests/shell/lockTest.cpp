// Minimising, restoring and the auto-lock of the main window, on both roads:
// with a notification area (the window hides) and without (it stays in the task bar).
#include "shellFixture.h"

#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/model/gState.h"
#include "core/ui/gWindowServices.h"
#include "shell/frmMain.h"

#include <ostream>

#include <QAction>
#include <QMenu>
#include <QTimer>

namespace {

const QString kHide = QStringLiteral("隐藏 Rededera (&O)");
const QString kShow = QStringLiteral("显示 Rededera (&O)");

bool suspendLoaded() {
    return forms::isLoaded(Form::frmSuspend);
}
bool lockWindowLoaded() {
    return forms::isLoaded(Form::frmLock);
}

struct LockCase {
    bool floating;  // option 0
    bool hideWhile; // option 1
    bool autoLock;  // option 11
    int timeout;    // minutes
};

// Read in test names and failure messages instead of the case's raw bytes.
void PrintTo(const LockCase& c, std::ostream* os) {
    *os << (c.floating ? "Float" : "NoFloat") << (c.hideWhile ? "Hide" : "Keep")
        << (c.autoLock ? "Lock" : "NoLock") << "T" << c.timeout;
}

class MainLockTable : public ShellTest, public ::testing::WithParamInterface<LockCase> {};

TEST_P(MainLockTable, MinimiseTicksAndRestore) {
    const LockCase c = GetParam();
    gOption(Option::FloatingWindow) = c.floating;
    gOption(Option::HideFloatingWithMain) = c.hideWhile;
    gOption(Option::BalloonOnMinimise) = true; // balloon after minimising
    gOption(Option::LockWhenMinimised) = c.autoLock;
    gLockTimeout = c.timeout;
    frmMain* m = loadMain();
    EXPECT_EQ(suspendLoaded(), c.floating && !c.hideWhile);
    EXPECT_EQ(m->mTSuspend->isChecked(), suspendLoaded());

    m->setWindowState(Qt::WindowMinimized);

    const bool lockedAtOnce = c.autoLock && c.timeout == 0;
    EXPECT_FALSE(m->isVisible());
    EXPECT_TRUE(m->isMinimized());
    EXPECT_EQ(gLocked, lockedAtOnce);
    EXPECT_EQ(m->lockTimer->isActive(), c.autoLock && c.timeout > 0);
    EXPECT_EQ(suspendLoaded(), c.floating && !lockedAtOnce);
    EXPECT_EQ(m->mTSuspend->isChecked(), suspendLoaded());
    const auto& balloons = gTrayIcon::instance().balloonsShown();
    if (lockedAtOnce) {
        EXPECT_TRUE(balloons.isEmpty());
        EXPECT_EQ(m->mTOpen->text(), kHide);
    } else {
        ASSERT_EQ(balloons.size(), 1);
        EXPECT_EQ(balloons[0].title, QStringLiteral("Rededera 仍在运行！"));
        EXPECT_EQ(balloons[0].text, QStringLiteral("方便您记录日记，程序没有退出。\n单击此处关闭气球。"));
        EXPECT_EQ(balloons[0].infoFlags, gBalloonIcon::Information);
        EXPECT_EQ(balloons[0].kind, 0);
        EXPECT_EQ(m->mTOpen->text(), kShow);
    }

    if (m->lockTimer->isActive()) {
        EXPECT_EQ(m->lockTimer->interval(), 60000);
        m->lockTimer_Timer();
        EXPECT_FALSE(gLocked);
        EXPECT_EQ(m->lockTicks(), 1);
        m->lockTimer_Timer();
        EXPECT_TRUE(gLocked);
        EXPECT_EQ(m->lockTicks(), 0);
        EXPECT_FALSE(m->lockTimer->isActive());
        EXPECT_FALSE(suspendLoaded());
        EXPECT_FALSE(m->mTSuspend->isChecked());
    }

    // Restoring: while locked only the unlock window comes up.
    m->setWindowState(Qt::WindowNoState);
    if (gLocked) {
        EXPECT_FALSE(m->isVisible());
        EXPECT_TRUE(m->isMinimized());
        EXPECT_TRUE(lockWindowLoaded());
    } else {
        EXPECT_TRUE(m->isVisible());
        EXPECT_FALSE(m->lockTimer->isActive());
        EXPECT_EQ(suspendLoaded(), c.floating && !c.hideWhile);
        EXPECT_EQ(m->mTOpen->text(), kHide);
        EXPECT_FALSE(lockWindowLoaded());
    }
}

std::vector<LockCase> lockCases() {
    std::vector<LockCase> out;
    for (int bits = 0; bits < 8; ++bits)
        for (int timeout : {0, 2})
            out.push_back({bool(bits & 1), bool(bits & 2), bool(bits & 4), timeout});
    return out;
}

INSTANTIATE_TEST_SUITE_P(Options, MainLockTable, ::testing::ValuesIn(lockCases()));

class MainLock : public ShellTest {};

TEST_F(MainLock, LockedWindowComesBackOnlyThroughTheUnlockWindow) {
    gOption(Option::LockWhenMinimised) = true;
    gLockTimeout = 0;
    frmMain* m = loadMain();
    m->setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(gLocked);

    // The page switch does not restore it.
    EXPECT_TRUE(m->gChangeFrame(Page::Review));
    EXPECT_FALSE(m->isVisible());
    EXPECT_EQ(m->pageIndex(), pageNumber(Page::Review));
    // The icon's left click opens the unlock window instead.
    gTrayIcon::instance().leftClick();
    EXPECT_FALSE(m->isVisible());
    EXPECT_TRUE(lockWindowLoaded());
    forms::unload(Form::frmLock);
    // The icon's menu is the lock menu.
    EXPECT_EQ(gTrayIcon::instance().menuNow(), m->mLock);
    m->mLunLock->trigger();
    EXPECT_TRUE(lockWindowLoaded());
    // Neither the help topics, a tool menu still on screen nor the balloon click bring it back.
    EXPECT_TRUE(m->gChangeFrame(Page::HelpWindow));
    forms::unload(Form::frmLock);
    m->mTOpen->trigger();
    EXPECT_FALSE(m->isVisible());
    EXPECT_TRUE(lockWindowLoaded());
    m->mTSuspend->trigger();
    EXPECT_FALSE(suspendLoaded());
    EXPECT_FALSE(m->mTSuspend->isChecked());
    gBalloonKind = 1;
    gTrayIcon::instance().balloonClicked();
    EXPECT_FALSE(m->isVisible());
    EXPECT_EQ(m->pageIndex(), pageNumber(Page::Review));

    // What the unlock window does on success.
    gLocked = false;
    m->setWindowState(Qt::WindowNoState);
    m->show();
    EXPECT_TRUE(m->isVisible());
    EXPECT_EQ(gTrayIcon::instance().menuNow(), m->mTool);
}

TEST_F(MainLock, LockNowFromTheMenu) {
    gOption(Option::FloatingWindow) = true;
    frmMain* m = loadMain();
    ASSERT_TRUE(suspendLoaded());
    ASSERT_TRUE(m->isVisible());
    m->mTLock->trigger();
    EXPECT_TRUE(gLocked);
    EXPECT_FALSE(m->isVisible());
    EXPECT_FALSE(suspendLoaded());
    EXPECT_FALSE(m->mTSuspend->isChecked());
    // Locking is not a minimise to the tray: no balloon, no floating window.
    EXPECT_TRUE(gTrayIcon::instance().balloonsShown().isEmpty());
}

TEST_F(MainLock, ExitWhileLockedAsksWithTheWindowHidden) {
    gOption(Option::LockWhenMinimised) = true;
    gLockTimeout = 0;
    frmMain* m = loadMain();
    ASSERT_TRUE(m->gChangeFrame(Page::Writing));
    editor()->Text2->setText(QStringLiteral("未保存"));
    m->setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(gLocked);

    gMsgBoxSeam::pushAnswer(gMsgResult::No);
    m->mLExit->trigger();
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::EntryNotEmptyDiscard});
    // Still running, hidden and locked.
    EXPECT_EQ(gMainWindow(), m);
    EXPECT_FALSE(m->isVisible());
    EXPECT_TRUE(gLocked);
    EXPECT_TRUE(gCloseMinimizes);
    EXPECT_NE(editor(), nullptr);

    gMsgBoxSeam::pushAnswer(gMsgResult::Yes);
    m->mLExit->trigger();
    EXPECT_EQ(gMainWindow(), nullptr);
}

TEST_F(MainLock, RestoreStopsTheTimerWhateverTheOptionSaysNow) {
    gOption(Option::LockWhenMinimised) = true;
    gLockTimeout = 5;
    frmMain* m = loadMain();
    m->setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(m->lockTimer->isActive());
    gOption(Option::LockWhenMinimised) = false; // changed on the way, e.g. by the settings page
    m->setWindowState(Qt::WindowNoState);
    EXPECT_FALSE(m->lockTimer->isActive());
    // A tick that was already queued changes nothing once restored.
    EXPECT_FALSE(gLocked);
}

TEST_F(MainLock, TrayLeftClickAlternates) {
    frmMain* m = loadMain();
    ASSERT_TRUE(m->isVisible());
    gTrayIcon::instance().leftClick();
    EXPECT_FALSE(m->isVisible());
    EXPECT_TRUE(m->isMinimized());
    EXPECT_EQ(m->mTOpen->text(), kShow);
    gTrayIcon::instance().leftClick();
    EXPECT_TRUE(m->isVisible());
    EXPECT_FALSE(m->isMinimized());
    EXPECT_EQ(m->mTOpen->text(), kHide);
    // The page that was shown is shown again.
    EXPECT_EQ(m->currentPage(), forms::find(Form::frmWelcome));
    // mTOpen does the same from the menu.
    m->mTOpen->trigger();
    EXPECT_FALSE(m->isVisible());
    m->mTOpen->trigger();
    EXPECT_TRUE(m->isVisible());
}

TEST_F(MainLock, NothingReactsWhileAMessageBoxIsOpen) {
    frmMain* m = loadMain();
    gMessageOpen = true;
    gTrayIcon::instance().leftClick();
    EXPECT_TRUE(m->isVisible());
    EXPECT_EQ(gTrayIcon::instance().rightClick(), nullptr);
    m->mTLock->trigger();
    m->mTNew->trigger();
    m->mTSuspend->trigger();
    m->mTExit->trigger();
    EXPECT_FALSE(gLocked);
    EXPECT_FALSE(forms::isLoaded(Form::frmSuspend));
    EXPECT_FALSE(m->mTSuspend->isChecked());
    EXPECT_EQ(m->pageIndex(), pageNumber(Page::Home));
    EXPECT_EQ(gMainWindow(), m);
    gMessageOpen = false;
    QMenu* menu = gTrayIcon::instance().rightClick();
    EXPECT_EQ(menu, m->mTool);
    if (menu) menu->hide();
}

TEST_F(MainLock, HiddenStartGoesStraightToTheNotificationArea) {
    gOption(Option::BalloonOnMinimise) = true;
    gHiddenStart = true;
    frmMain* m = loadMain();
    gHiddenStart = false;
    EXPECT_FALSE(m->isVisible());
    EXPECT_TRUE(m->isMinimized());
    EXPECT_TRUE(gTrayIcon::instance().balloonsShown().isEmpty());
    EXPECT_EQ(m->mTOpen->text(), kShow);
    gTrayIcon::instance().leftClick();
    EXPECT_TRUE(m->isVisible());
    EXPECT_EQ(m->currentPage(), forms::find(Form::frmWelcome));
}

// ---- no notification area ----

class MainNoTray : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        gTraySeam::setAreaExists(false);
    }
};

TEST_F(MainNoTray, MinimisingLeavesTheWindowInTheTaskBar) {
    gOption(Option::BalloonOnMinimise) = true;
    frmMain* m = loadMain();
    m->setWindowState(Qt::WindowMinimized);
    EXPECT_TRUE(m->isVisible());
    EXPECT_TRUE(m->isMinimized());
    EXPECT_TRUE(gTrayIcon::instance().balloonsShown().isEmpty());
    m->setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(m->isVisible());
    EXPECT_FALSE(m->isMinimized());
}

TEST_F(MainNoTray, HiddenStartShowsTheWindowMinimised) {
    gHiddenStart = true;
    frmMain* m = loadMain();
    gHiddenStart = false;
    EXPECT_TRUE(m->isVisible());
    EXPECT_TRUE(m->isMinimized());
}

TEST_F(MainNoTray, NotificationAreaThatAppearsLaterGetsTheIcon) {
    // A start with the desktop session often comes before its panel.
    frmMain* m = loadMain();
    ASSERT_FALSE(gTrayIcon::instance().isPlaced());
    m->setWindowState(Qt::WindowMinimized);
    EXPECT_TRUE(m->isVisible());
    m->setWindowState(Qt::WindowNoState);

    gTraySeam::setAreaExists(true);
    m->setWindowState(Qt::WindowMinimized);
    // Hidden only with an icon to come back through.
    EXPECT_TRUE(gTrayIcon::instance().isPlaced());
    EXPECT_FALSE(m->isVisible());
    gTrayIcon::instance().leftClick();
    EXPECT_TRUE(m->isVisible());
    EXPECT_FALSE(m->isMinimized());
}

TEST_F(MainNoTray, LockedWindowHidesAndLeavesTheFloatingWindowAsTheRoadBack) {
    gOption(Option::LockWhenMinimised) = true;
    gLockTimeout = 0;
    frmMain* m = loadMain();
    m->setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(gLocked);
    EXPECT_TRUE(m->isMinimized());
    // A desktop may have no task bar to come back from: hidden, with nothing of
    // the account in it, and the floating window on screen instead.
    EXPECT_FALSE(m->isVisible());
    EXPECT_FALSE(m->pagePanel->isVisible());
    EXPECT_TRUE(suspendLoaded());
    EXPECT_TRUE(m->mTSuspend->isChecked());
    // Restoring it from outside brings up the unlock window, not the diary.
    m->setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(m->isMinimized());
    EXPECT_FALSE(m->isVisible());
    EXPECT_TRUE(lockWindowLoaded());
    EXPECT_FALSE(m->pagePanel->isVisible());
    EXPECT_TRUE(suspendLoaded());
}

} // namespace
