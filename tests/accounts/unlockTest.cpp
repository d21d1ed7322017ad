// The unlock window over a real, locked main window.
#include "accountsFixture.h"

#include "accounts/frmLock.h"
#include "accounts/frmLogin.h"
#include "core/ui/gMain.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/model/gState.h"
#include "core/ui/gWindowServices.h"
#include "platform/settingsStore.h"
#include "shell/frmMain.h"
#include "shell/frmSuspend.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <ostream>
#include <sstream>

void gRegisterShellForms();

namespace {

class StandInWindow : public QWidget, public gForm {};

class Unlock : public AccountsTest {
protected:
    void SetUp() override {
        AccountsTest::SetUp();
        gRegisterShellForms(); // the real main window in place of the stand-in
        forms::registerForm(Form::frmSuspend, [] { return new StandInWindow; });
        gTraySeam::reset();
        gTraySeam::setAreaExists(true);
        settings::save(QStringLiteral("Rededera"), QStringLiteral("Option"), QStringLiteral("ShowAbout"),
                       QStringLiteral("0"));
    }
    void TearDown() override {
        forms::unloadAllNow();
        gTraySeam::reset();
        AccountsTest::TearDown();
    }

    // The account in memory, the main window loaded and then locked from its menu;
    // the notification icon's click brings up the unlock window.
    frmLock* lockedMain(const QString& name, const QString& password) {
        gUserName = name;
        gPasswordHash = digest(password);
        main_ = forms::load<frmMain>(Form::frmMain);
        EXPECT_NE(main_, nullptr);
        if (!main_) return nullptr;
        main_->mTLock->trigger();
        EXPECT_TRUE(gLocked);
        EXPECT_FALSE(main_->isVisible());
        gTrayIcon::instance().leftClick();
        auto* lock = forms::find<frmLock>(Form::frmLock);
        EXPECT_NE(lock, nullptr);
        if (lock) QApplication::setActiveWindow(lock);
        return lock;
    }

    bool stillLocked() const { return gLocked && main_ && !main_->isVisible() && main_->isMinimized(); }

    frmMain* main_ = nullptr;
};

TEST_F(Unlock, WindowShowsItsTexts) {
    frmLock* lock = lockedMain(QStringLiteral("Ann"), QStringLiteral("secret"));
    ASSERT_NE(lock, nullptr);
    EXPECT_TRUE(lock->isVisible());
    EXPECT_EQ(lock->windowTitle(), QStringLiteral("Rededera"));
    EXPECT_EQ(lock->promptLabel->text(), QStringLiteral("键入用户名和密码，再单击“确定”。"));
    EXPECT_EQ(lock->nameCaption->text(), QStringLiteral("用户："));
    EXPECT_EQ(lock->passwordCaption->text(), QStringLiteral("密码："));
    EXPECT_EQ(lock->okButton->text(), QStringLiteral("确定"));
    EXPECT_EQ(lock->cancelButton->text(), QStringLiteral("取消"));
    EXPECT_EQ(lock->passwordEdit->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(lock->nameEdit->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), lock->nameEdit);
    // Every control lies inside the window.
    for (QWidget* w : lock->findChildren<QWidget*>())
        EXPECT_TRUE(lock->rect().contains(w->mapTo(lock, w->rect().bottomRight())))
            << w->objectName().toStdString();
}

struct UnlockCase {
    const char* label;
    const char* account;  // the account's name
    const char* password; // the account's password
    const char* typedName;
    const char* typedPassword;
    bool unlocks;
};

class UnlockTable : public Unlock, public ::testing::WithParamInterface<UnlockCase> {};

TEST_P(UnlockTable, NameAndPasswordDecide) {
    const UnlockCase c = GetParam();
    frmLock* lock = lockedMain(QString::fromUtf8(c.account), QString::fromUtf8(c.password));
    ASSERT_NE(lock, nullptr);
    QPointer<frmLock> alive = lock;
    lock->nameEdit->setText(QString::fromUtf8(c.typedName));
    lock->passwordEdit->setText(QString::fromUtf8(c.typedPassword));
    lock->okButton->click();
    pumpEvents();
    if (c.unlocks) {
        EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
        EXPECT_FALSE(gLocked);
        EXPECT_TRUE(main_->isVisible());
        EXPECT_FALSE(main_->isMinimized());
        EXPECT_FALSE(forms::isLoaded(Form::frmLock));
        EXPECT_TRUE(alive.isNull());
        EXPECT_EQ(gTrayIcon::instance().menuNow(), main_->mTool);
    } else {
        EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::SignInRejected});
        EXPECT_TRUE(stillLocked());
        ASSERT_FALSE(alive.isNull());
        EXPECT_TRUE(lock->isVisible());
        // The password goes whatever was wrong; the name is kept, trimmed and selected.
        EXPECT_TRUE(lock->passwordEdit->text().isEmpty());
        EXPECT_EQ(lock->nameEdit->text(), QString::fromUtf8(c.typedName).trimmed());
        EXPECT_EQ(QApplication::focusWidget(), lock->nameEdit);
        EXPECT_EQ(lock->nameEdit->selectedText(), lock->nameEdit->text());
        EXPECT_EQ(gTrayIcon::instance().menuNow(), main_->mLock);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnlockTable,
    ::testing::Values(UnlockCase{"Right", "Ann", "secret", "Ann", "secret", true},
                      UnlockCase{"BlanksAroundTheName", "Ann", "secret", "  Ann ", "secret", true},
                      UnlockCase{"ChineseName", "小明", "pa ss", "小明", "pa ss", true},
                      UnlockCase{"NoPasswordEmptyBox", "Ann", "", "Ann", "", true},
                      UnlockCase{"OtherLetterCase", "Ann", "secret", "ann", "secret", false},
                      UnlockCase{"WrongName", "Ann", "secret", "Bob", "secret", false},
                      UnlockCase{"WrongPassword", "Ann", "secret", "Ann", "Secret", false},
                      UnlockCase{"EmptyName", "Ann", "secret", "", "secret", false},
                      UnlockCase{"NoPasswordButOneTyped", "Ann", "", "Ann", "x", false}),
    [](const ::testing::TestParamInfo<UnlockCase>& info) { return std::string(info.param.label); });

TEST_F(Unlock, NameIsAskedEvenWhenTheSignInAsksThePasswordAlone) {
    gOption(Option::PasswordOnlySignIn) = true;
    frmLock* lock = lockedMain(QStringLiteral("Ann"), QStringLiteral("secret"));
    ASSERT_NE(lock, nullptr);
    EXPECT_TRUE(lock->nameEdit->isVisible());
    lock->passwordEdit->setText(QStringLiteral("secret"));
    lock->okButton->click();
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::SignInRejected});
    EXPECT_TRUE(stillLocked());
    lock->nameEdit->setText(QStringLiteral("Ann"));
    lock->passwordEdit->setText(QStringLiteral("secret"));
    lock->okButton->click();
    EXPECT_FALSE(gLocked);
}

TEST_F(Unlock, CancelAndCloseLeaveItLockedAndTheIconAsksAgain) {
    frmLock* lock = lockedMain(QStringLiteral("Ann"), QStringLiteral("secret"));
    ASSERT_NE(lock, nullptr);
    lock->nameEdit->setText(QStringLiteral("Ann"));
    lock->passwordEdit->setText(QStringLiteral("secret"));
    lock->cancelButton->click();
    pumpEvents();
    EXPECT_FALSE(forms::isLoaded(Form::frmLock));
    EXPECT_TRUE(stillLocked());

    // A fresh window: nothing typed before is left in it.
    gTrayIcon::instance().leftClick();
    lock = forms::find<frmLock>(Form::frmLock);
    ASSERT_NE(lock, nullptr);
    EXPECT_TRUE(lock->nameEdit->text().isEmpty());
    EXPECT_TRUE(lock->passwordEdit->text().isEmpty());
    lock->close();
    pumpEvents();
    EXPECT_FALSE(forms::isLoaded(Form::frmLock));
    EXPECT_TRUE(stillLocked());

    // The lock menu's item opens it too.
    main_->mLunLock->trigger();
    EXPECT_TRUE(forms::isLoaded(Form::frmLock));
}

TEST_F(Unlock, EnterUnlocksAndEscapeCancels) {
    frmLock* lock = lockedMain(QStringLiteral("Ann"), QStringLiteral("secret"));
    ASSERT_NE(lock, nullptr);
    lock->nameEdit->setFocus();
    QTest::keyClick(lock->nameEdit, Qt::Key_Escape);
    pumpEvents();
    EXPECT_FALSE(forms::isLoaded(Form::frmLock));
    EXPECT_TRUE(stillLocked());

    gTrayIcon::instance().leftClick();
    lock = forms::find<frmLock>(Form::frmLock);
    ASSERT_NE(lock, nullptr);
    QApplication::setActiveWindow(lock);
    lock->nameEdit->setText(QStringLiteral("Ann"));
    lock->passwordEdit->setFocus();
    QTest::keyClicks(lock->passwordEdit, QStringLiteral("secret"));
    QTest::keyClick(lock->passwordEdit, Qt::Key_Return);
    pumpEvents();
    EXPECT_FALSE(gLocked);
    EXPECT_TRUE(main_->isVisible());
}

struct FloatingCase {
    bool floating;  // option 0: the floating window
    bool hideWhile; // option 1: only while the main window is hidden
    bool shown;
};

class UnlockFloating : public Unlock, public ::testing::WithParamInterface<FloatingCase> {};

TEST_P(UnlockFloating, FloatingWindowFollowsTheOptions) {
    const FloatingCase c = GetParam();
    gOption(Option::FloatingWindow) = c.floating;
    gOption(Option::HideFloatingWithMain) = c.hideWhile;
    frmLock* lock = lockedMain(QStringLiteral("Ann"), QStringLiteral("secret"));
    ASSERT_NE(lock, nullptr);
    // Locking took the floating window away.
    EXPECT_FALSE(forms::isLoaded(Form::frmSuspend));
    lock->nameEdit->setText(QStringLiteral("Ann"));
    lock->passwordEdit->setText(QStringLiteral("secret"));
    lock->okButton->click();
    ASSERT_FALSE(gLocked);
    QWidget* floating = forms::find(Form::frmSuspend);
    EXPECT_EQ(floating && floating->isVisible(), c.shown);
    EXPECT_EQ(main_->mTSuspend->isChecked(), c.shown);
}

INSTANTIATE_TEST_SUITE_P(Options, UnlockFloating,
                         ::testing::Values(FloatingCase{false, false, false},
                                           FloatingCase{false, true, false}, FloatingCase{true, false, true},
                                           FloatingCase{true, true, false}),
                         [](const ::testing::TestParamInfo<FloatingCase>& info) {
                             return std::string(info.param.floating ? "Floating" : "NoFloating") +
                                    (info.param.hideWhile ? "OnlyWhileHidden" : "Always");
                         });

TEST_F(Unlock, AutoLockAfterMinimisingThenUnlockRestoresThePage) {
    gOption(Option::LockWhenMinimised) = true;
    gLockTimeout = 0;
    gUserName = QStringLiteral("Ann");
    gPasswordHash = digest(QStringLiteral("secret"));
    main_ = forms::load<frmMain>(Form::frmMain);
    ASSERT_NE(main_, nullptr);
    main_->setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(gLocked);
    // Restoring from outside asks for the unlock instead.
    main_->setWindowState(Qt::WindowNoState);
    auto* lock = forms::find<frmLock>(Form::frmLock);
    ASSERT_NE(lock, nullptr);
    EXPECT_TRUE(stillLocked());
    lock->nameEdit->setText(QStringLiteral("Ann"));
    lock->passwordEdit->setText(QStringLiteral("secret"));
    lock->okButton->click();
    EXPECT_FALSE(gLocked);
    EXPECT_TRUE(main_->isVisible());
    EXPECT_FALSE(main_->isMinimized());
    EXPECT_EQ(main_->currentPage()->geometry(), main_->pageRect());
    EXPECT_TRUE(main_->currentPage()->isVisible());
    EXPECT_FALSE(main_->lockTimer->isActive());
}

// ---- no notification area ----

// Locked where no notification icon can lead back, the floating window stays
// on screen as the road to the unlock window, whatever the desktop and options.
class UnlockNoTray : public Unlock {
protected:
    void SetUp() override {
        Unlock::SetUp();
        forms::registerForm(Form::frmSuspend, [] { return new frmSuspend; });
        gTraySeam::setAreaExists(false);
        gUserName = QStringLiteral("Ann");
        gPasswordHash = digest(QStringLiteral("secret"));
    }
    void TearDown() override {
        if (QWidget* menu = QApplication::activePopupWidget()) menu->hide();
        Unlock::TearDown();
    }
    frmSuspend* floating() const { return forms::find<frmSuspend>(Form::frmSuspend); }

    // A right click on the floating window, then a click on the item of the menu it pops.
    QMenu* rightClickFloating() {
        frmSuspend* f = floating();
        if (!f) return nullptr;
        QTest::mouseClick(f->picture, Qt::RightButton, {}, QPoint(10, 10));
        return qobject_cast<QMenu*>(QApplication::activePopupWidget());
    }
    static void clickItem(QMenu* menu, QAction* item) {
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
        pumpEvents();
    }

    // The program's windows on screen.
    static QStringList windowsShown() {
        QStringList names;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && !qobject_cast<QMenu*>(w)) names << w->objectName();
        names.sort();
        return names;
    }

    // Typed into the unlock window and 确定 pressed.
    static void typeAndPressOk(frmLock* lock, const QString& name, const QString& password) {
        QApplication::setActiveWindow(lock);
        lock->nameEdit->clear();
        QTest::keyClicks(lock->nameEdit, name);
        QTest::keyClicks(lock->passwordEdit, password);
        QTest::mouseClick(lock->okButton, Qt::LeftButton);
        pumpEvents();
    }
};

enum class NoTrayRoad {
    // A desktop without a notification area (openbox without a panel): the
    // main window minimised, the lock from the floating window's menu.
    MinimisedThenLock,
    // No window manager: the floating window shown with the main window, the
    // review page open, the lock from the floating window's menu.
    ShownWithReviewThenLock,
};

void PrintTo(NoTrayRoad r, std::ostream* os) {
    *os << (r == NoTrayRoad::MinimisedThenLock ? "MinimisedThenLock" : "ShownWithReviewThenLock");
}

class UnlockNoTrayRoad : public UnlockNoTray, public ::testing::WithParamInterface<NoTrayRoad> {};

TEST_P(UnlockNoTrayRoad, TheFloatingWindowLeadsBackThroughThePassword) {
    const bool minimised = GetParam() == NoTrayRoad::MinimisedThenLock;
    gOption(Option::FloatingWindow) = true;
    gOption(Option::HideFloatingWithMain) = minimised;
    main_ = forms::load<frmMain>(Form::frmMain);
    ASSERT_NE(main_, nullptr);
    if (minimised) {
        main_->setWindowState(Qt::WindowMinimized);
    } else {
        QTest::mouseClick(main_->buttonCaptions[pageNumber(Page::Review)], Qt::LeftButton);
        ASSERT_EQ(main_->pageIndex(), pageNumber(Page::Review));
    }
    QWidget* page = main_->currentPage();
    ASSERT_NE(page, nullptr);
    ASSERT_NE(floating(), nullptr);
    ASSERT_TRUE(floating()->isVisible());

    QMenu* menu = rightClickFloating();
    ASSERT_EQ(menu, main_->mTool);
    clickItem(menu, main_->mTLock);
    ASSERT_TRUE(gLocked);

    // Nothing of the diary is on screen; the floating window is.
    EXPECT_FALSE(main_->isVisible());
    EXPECT_FALSE(main_->pagePanel->isVisible());
    EXPECT_EQ(windowsShown(), QStringList{"frmSuspend"});
    ASSERT_NE(floating(), nullptr);
    EXPECT_TRUE(main_->mTSuspend->isChecked());
    // Neither its close nor the menu item take it away while it is the only road.
    floating()->close();
    main_->mTSuspend->trigger();
    pumpEvents();
    ASSERT_NE(floating(), nullptr);
    EXPECT_TRUE(floating()->isVisible());

    // Its menu is the lock menu: 解除锁定 opens the unlock window.
    menu = rightClickFloating();
    ASSERT_EQ(menu, main_->mLock);
    clickItem(menu, main_->mLunLock);
    auto* lock = forms::find<frmLock>(Form::frmLock);
    ASSERT_NE(lock, nullptr);
    EXPECT_TRUE(lock->isVisible());
    // Cancelled, the floating window is still there; its double click asks again.
    QTest::mouseClick(lock->cancelButton, Qt::LeftButton);
    pumpEvents();
    EXPECT_FALSE(forms::isLoaded(Form::frmLock));
    EXPECT_EQ(windowsShown(), QStringList{"frmSuspend"});
    QTest::mouseDClick(floating()->picture, Qt::LeftButton, {}, QPoint(10, 10));
    pumpEvents();
    lock = forms::find<frmLock>(Form::frmLock);
    ASSERT_NE(lock, nullptr);
    EXPECT_EQ(windowsShown(), (QStringList{"frmLock", "frmSuspend"}));

    typeAndPressOk(lock, QStringLiteral("Ann"), QStringLiteral("wrong"));
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::SignInRejected});
    EXPECT_TRUE(gLocked);
    EXPECT_FALSE(main_->isVisible());

    typeAndPressOk(lock, QStringLiteral("Ann"), QStringLiteral("secret"));
    EXPECT_FALSE(gLocked);
    EXPECT_TRUE(main_->isVisible());
    EXPECT_FALSE(main_->isMinimized());
    EXPECT_TRUE(main_->pagePanel->isVisible());
    EXPECT_EQ(main_->currentPage(), page);
    EXPECT_TRUE(page->isVisible());
    // The floating window as the options have it with the main window shown.
    EXPECT_EQ(forms::isLoaded(Form::frmSuspend), !minimised);
    EXPECT_EQ(main_->mTSuspend->isChecked(), !minimised);
}

INSTANTIATE_TEST_SUITE_P(Roads, UnlockNoTrayRoad,
                         ::testing::Values(NoTrayRoad::MinimisedThenLock,
                                           NoTrayRoad::ShownWithReviewThenLock),
                         [](const ::testing::TestParamInfo<NoTrayRoad>& info) {
                             std::ostringstream name;
                             PrintTo(info.param, &name);
                             return name.str();
                         });

struct NoTrayOptionCase {
    bool floating;  // option 0
    bool hideWhile; // option 1
};

class UnlockNoTrayOptions : public UnlockNoTray, public ::testing::WithParamInterface<NoTrayOptionCase> {};

TEST_P(UnlockNoTrayOptions, EveryRoadIntoTheLockLeavesTheFloatingWindow) {
    const NoTrayOptionCase c = GetParam();
    gOption(Option::FloatingWindow) = c.floating;
    gOption(Option::HideFloatingWithMain) = c.hideWhile;
    gOption(Option::LockWhenMinimised) = true;
    gLockTimeout = 1;
    main_ = forms::load<frmMain>(Form::frmMain);
    ASSERT_NE(main_, nullptr);

    // The time-out after minimising.
    main_->setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(main_->lockTimer->isActive());
    main_->lockTimer_Timer();
    ASSERT_TRUE(gLocked);
    EXPECT_FALSE(main_->isVisible());
    EXPECT_EQ(windowsShown(), QStringList{"frmSuspend"});
    // A restore from outside asks for the password and shows nothing else.
    main_->setWindowState(Qt::WindowNoState);
    EXPECT_FALSE(main_->isVisible());
    EXPECT_EQ(windowsShown(), (QStringList{"frmLock", "frmSuspend"}));
    typeAndPressOk(forms::find<frmLock>(Form::frmLock), QStringLiteral("Ann"), QStringLiteral("secret"));
    ASSERT_FALSE(gLocked);
    EXPECT_EQ(forms::isLoaded(Form::frmSuspend), c.floating && !c.hideWhile);

    // The menu item 现在锁定.
    main_->mTLock->trigger();
    ASSERT_TRUE(gLocked);
    EXPECT_EQ(windowsShown(), QStringList{"frmSuspend"});
}

INSTANTIATE_TEST_SUITE_P(Options, UnlockNoTrayOptions,
                         ::testing::Values(NoTrayOptionCase{false, false}, NoTrayOptionCase{true, false},
                                           NoTrayOptionCase{true, true}),
                         [](const ::testing::TestParamInfo<NoTrayOptionCase>& info) {
                             return std::string(info.param.floating ? "Floating" : "NoFloating") +
                                    (info.param.hideWhile ? "OnlyWhileHidden" : "Always");
                         });

TEST_F(UnlockNoTray, ANotificationAreaThatAppearsTakesOverTheRoad) {
    main_ = forms::load<frmMain>(Form::frmMain);
    ASSERT_NE(main_, nullptr);
    main_->mTLock->trigger();
    ASSERT_NE(floating(), nullptr);
    // With an icon to come back through, the floating window goes as usual.
    gTraySeam::setAreaExists(true);
    gTrayIcon::instance().place();
    gTrayIcon::instance().leftClick();
    auto* lock = forms::find<frmLock>(Form::frmLock);
    ASSERT_NE(lock, nullptr);
    typeAndPressOk(lock, QStringLiteral("Ann"), QStringLiteral("secret"));
    ASSERT_FALSE(gLocked);
    EXPECT_FALSE(forms::isLoaded(Form::frmSuspend));
    main_->mTLock->trigger();
    EXPECT_FALSE(forms::isLoaded(Form::frmSuspend));
    EXPECT_TRUE(windowsShown().isEmpty());
}

TEST_F(Unlock, PasswordBoxKeepsTheSignInRule) {
    frmLock* lock = lockedMain(QStringLiteral("Ann"), QStringLiteral("secret"));
    ASSERT_NE(lock, nullptr);
    // A character that no password can hold never reaches the box, as at the sign-in.
    lock->passwordEdit->setFocus();
    for (QChar c : QStringLiteral("sec中ret")) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(lock->passwordEdit, &press);
    }
    EXPECT_EQ(lock->passwordEdit->text(), QStringLiteral("secret"));
}

TEST_F(Unlock, WhatSignsInAlsoUnlocks) {
    // A real sign-in of a profile whose name carries blanks, then a lock.
    writeProfile(QStringLiteral(" Ann "), QStringLiteral("p@ss €"), QStringLiteral("7654321"),
                 QStringLiteral("000000000010000000000"));
    Main();
    auto* login = forms::find<frmLogin>(Form::frmLogin);
    ASSERT_NE(login, nullptr);
    login->nameEdit->setText(QStringLiteral("Ann"));
    login->passwordEdit->setText(QStringLiteral("p@ss €"));
    login->okButton->click();
    main_ = gMainWindow();
    ASSERT_NE(main_, nullptr);
    main_->mTLock->trigger();
    ASSERT_TRUE(gLocked);

    main_->mLunLock->trigger();
    auto* lock = forms::find<frmLock>(Form::frmLock);
    ASSERT_NE(lock, nullptr);
    lock->nameEdit->setText(QStringLiteral("Ann"));
    lock->passwordEdit->setText(QStringLiteral("p@ss €"));
    lock->okButton->click();
    EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
    EXPECT_FALSE(gLocked);
    EXPECT_TRUE(main_->isVisible());
}

} // namespace
