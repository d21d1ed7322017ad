// Saves a picture of the main window for the development notes. Runs only when
// REDEDERA_SCREENSHOT names the file, e.g. under Xvfb:
//   REDEDERA_SCREENSHOT=/tmp/frmMain.png QT_QPA_PLATFORM=xcb xvfb-run -a \
//       build/tests/shell/test_shell --gtest_filter='MainScreenshot*'
#include "shellFixture.h"

#include "core/model/gState.h"
#include "shell/frmMain.h"
#include "shell/gProgram.h"

#include <QAction>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

namespace {

class MainScreenshot : public AccountShellTest {};

TEST_F(MainScreenshot, SavesTheMainWindow) {
    const QString out = qEnvironmentVariable("REDEDERA_SCREENSHOT");
    if (out.isEmpty()) GTEST_SKIP() << "REDEDERA_SCREENSHOT not set";
    // The program's own forms where they exist, the stand-ins elsewhere, over a real account.
    makeAccount();
    gRegisterForms();
    frmMain* m = loadMain();
    ASSERT_NE(m, nullptr);
    m->move(40, 40);
    m->raise();
    m->activateWindow();
    pumpEvents(1500);
    QPixmap shot;
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        const QRect frame = m->frameGeometry();
        shot = m->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    } else {
        shot = m->grab();
    }
    ASSERT_FALSE(shot.isNull());
    EXPECT_TRUE(shot.save(out));
}

} // namespace

namespace {

TEST_F(MainScreenshot, SavesTheAboutBox) {
    const QString out = qEnvironmentVariable("REDEDERA_SCREENSHOT");
    if (out.isEmpty()) GTEST_SKIP() << "REDEDERA_SCREENSHOT not set";
    frmMain* m = loadMain();
    m->mHAbout->trigger();
    QWidget* about = forms::find(Form::frmAbout);
    ASSERT_NE(about, nullptr);
    pumpEvents(500);
    const QString file = QFileInfo(out).absolutePath() + QStringLiteral("/frmAbout.png");
    EXPECT_TRUE(about->grab().save(file));
}

} // namespace
