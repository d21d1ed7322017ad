// A second start of the program talks to the running main window through its
// socket: the request brings it forward (the unlock window while locked);
// anything else is closed unanswered and changes nothing.
#include "shellFixture.h"

#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/ui/gSecondStart.h"
#include "core/ui/gStartup.h"
#include "core/model/gState.h"
#include "core/ui/gWindowServices.h"
#include "shell/frmMain.h"

#include <QAction>
#include <QFileInfo>
#include <QLocalSocket>

#include <ostream>
#include <string>

namespace {

bool lockWindowShown() {
    QWidget* w = forms::find(Form::frmLock);
    return w && w->isVisible();
}

class SecondStart : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        ASSERT_TRUE(gClaimSingleInstance());
        ASSERT_TRUE(gIsListening());
    }
    void TearDown() override {
        gStartupSeam::releaseInstanceLock();
        ShellTest::TearDown();
    }

    struct Talk {
        QByteArray answer;
        bool closedByProgram = false;
    };
    // Sends `bytes` as a second start would and lets the program run until it
    // closes the connection (or a generous while passes without that).
    Talk talk(const QByteArray& bytes) {
        Talk t;
        QLocalSocket s;
        QObject::connect(&s, &QLocalSocket::readyRead, [&] { t.answer += s.readAll(); });
        QObject::connect(&s, &QLocalSocket::disconnected, [&] { t.closedByProgram = true; });
        s.connectToServer(gSecondStartSocket());
        for (int i = 0; i < 200 && s.state() != QLocalSocket::ConnectedState; ++i)
            pumpEvents(5);
        EXPECT_EQ(s.state(), QLocalSocket::ConnectedState);
        s.write(bytes);
        s.flush();
        for (int i = 0; i < 2000 && !t.closedByProgram; ++i)
            pumpEvents(5);
        t.answer += s.readAll();
        return t;
    }
};

TEST_F(SecondStart, TheSocketIsTheUsersOwnInTheRuntimeFolder) {
    const QFileInfo socket(gSecondStartSocket());
    EXPECT_EQ(socket.absolutePath(), QFileInfo(home().runtime()).absoluteFilePath());
    EXPECT_EQ(socket.fileName(), QStringLiteral("Rededera.socket"));
    ASSERT_TRUE(socket.exists());
    EXPECT_EQ(fileMode(socket.filePath()) & 077, 0);
    EXPECT_EQ(fileMode(home().runtime()) & 077, 0);
    // Lets go of it with the instance lock.
    gStartupSeam::releaseInstanceLock();
    EXPECT_FALSE(gIsListening());
    EXPECT_FALSE(QFileInfo::exists(socket.filePath()));
}

struct ForwardCase {
    const char* label;
    bool tray;     // a notification area
    bool lock;     // locked from the menu before the second start
    bool minimise; // minimised (hidden in the notification area when there is one)
};

void PrintTo(const ForwardCase& c, std::ostream* os) {
    *os << c.label;
}

class SecondStartForward : public SecondStart, public ::testing::WithParamInterface<ForwardCase> {};

TEST_P(SecondStartForward, BringsTheProgramForward) {
    const ForwardCase c = GetParam();
    gTraySeam::setAreaExists(c.tray);
    frmMain* m = loadMain();
    ASSERT_TRUE(m->gChangeFrame(Page::Review));
    if (c.minimise) m->setWindowState(Qt::WindowMinimized);
    if (c.lock) m->mTLock->trigger();
    ASSERT_EQ(gLocked, c.lock);

    const Talk t = talk(kComeForwardRequest);
    EXPECT_EQ(t.answer, kComeForwardAnswer);
    EXPECT_TRUE(t.closedByProgram);
    if (c.lock) {
        // The password first: the window stays hidden behind the unlock window.
        EXPECT_TRUE(lockWindowShown());
        EXPECT_FALSE(m->isVisible());
        EXPECT_FALSE(m->pagePanel->isVisible());
        EXPECT_TRUE(gLocked);
    } else {
        EXPECT_TRUE(m->isVisible());
        EXPECT_FALSE(m->isMinimized());
        EXPECT_EQ(m->pageIndex(), pageNumber(Page::Review));
        EXPECT_TRUE(m->pagePanel->isVisible());
        EXPECT_EQ(m->mTOpen->text(), QStringLiteral("隐藏 Rededera (&O)"));
        EXPECT_FALSE(lockWindowShown());
    }
}

INSTANTIATE_TEST_SUITE_P(
    States, SecondStartForward,
    ::testing::Values(ForwardCase{"InTheNotificationArea", true, false, true},
                      ForwardCase{"MinimisedWithoutNotificationArea", false, false, true},
                      ForwardCase{"AlreadyShown", false, false, false},
                      ForwardCase{"LockedWithNotificationArea", true, true, false},
                      ForwardCase{"LockedWithoutNotificationArea", false, true, false}),
    [](const ::testing::TestParamInfo<ForwardCase>& info) { return std::string(info.param.label); });

TEST_F(SecondStart, EachSecondStartIsAnsweredAgain) {
    frmMain* m = loadMain();
    for (int i = 0; i < 3; ++i) {
        m->setWindowState(Qt::WindowMinimized);
        EXPECT_EQ(talk(kComeForwardRequest).answer, kComeForwardAnswer);
        EXPECT_FALSE(m->isMinimized());
    }
}

struct StrangerCase {
    const char* label;
    QByteArray bytes;
};

void PrintTo(const StrangerCase& c, std::ostream* os) {
    *os << c.label;
}

class SecondStartStranger : public SecondStart, public ::testing::WithParamInterface<StrangerCase> {};

TEST_P(SecondStartStranger, IsClosedAndChangesNothing) {
    gTraySeam::setAreaExists(false);
    gOption(Option::FloatingWindow) = false;
    frmMain* m = loadMain();
    m->setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(m->isMinimized());

    const Talk t = talk(GetParam().bytes);
    EXPECT_TRUE(t.answer.isEmpty());
    EXPECT_TRUE(t.closedByProgram);
    EXPECT_TRUE(m->isMinimized());
    EXPECT_FALSE(gLocked);
    EXPECT_FALSE(lockWindowShown());
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
    // And the program still answers a real second start afterwards.
    EXPECT_EQ(talk(kComeForwardRequest).answer, kComeForwardAnswer);
    EXPECT_FALSE(m->isMinimized());
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, SecondStartStranger,
    ::testing::Values(StrangerCase{"Other", QByteArrayLiteral("hello\n")},
                      StrangerCase{"OtherCase", QByteArrayLiteral("rededera come forward\n")},
                      StrangerCase{"RequestAndMore", kComeForwardRequest + QByteArrayLiteral("rm -rf\n")},
                      StrangerCase{"Zeros", QByteArray(64, '\0')},
                      StrangerCase{"Flood", QByteArray(1 << 20, 'R')},
                      // Said only in part: closed once the program stops waiting for the rest.
                      StrangerCase{"Unfinished", kComeForwardRequest.left(8)}),
    [](const ::testing::TestParamInfo<StrangerCase>& info) { return std::string(info.param.label); });

} // namespace
