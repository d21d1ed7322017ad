#include "todayClassesFixture.h"

#include "core/ui/gForms.h"
#include "core/model/gState.h"
#include "core/ui/gWindowServices.h"
#include "platform/settingsStore.h"
#include "shell/frmMain.h"
#include "timetable/frmScheRemind.h"
#include "timetable/frmScheReport.h"

#include <QAction>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

void gRegisterShellForms();

namespace {

// The program's own main window in place of the stand-in.
class ReportWithMainWindow : public TodayClassesTest {
protected:
    void SetUp() override {
        TodayClassesTest::SetUp();
        gRegisterShellForms();
        gTraySeam::reset();
        gTraySeam::setAreaExists(true);
        gDataPath = home().folder(QStringLiteral("data"));
        settings::save(QStringLiteral("Rededera"), QStringLiteral("Option"), QStringLiteral("ShowAbout"),
                       QStringLiteral("0"));
        addCourse(QStringLiteral("线性代数"), QStringLiteral("1-101"), 1, QStringLiteral("01"));
        setNow(1, 7, 31);
        loadToday();
    }
    void TearDown() override {
        TodayClassesTest::TearDown();
        gTraySeam::reset();
    }
};

} // namespace

TEST_F(ReportWithMainWindow, ClosingTheReportStartsTheMainWindow) {
    forms::load(Form::frmScheRemind);
    auto* report = forms::load<frmScheReport>(Form::frmScheReport);
    ASSERT_FALSE(gCloseMinimizes);
    report->closeButton->click();
    pumpEvents();
    frmMain* main = gMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(gCloseMinimizes);
}

TEST_F(ReportWithMainWindow, TheExitTakesTheReportAndTheReminderAlongAndEnds) {
    auto* remind = forms::load<frmScheRemind>(Form::frmScheRemind);
    remind->checkTimer->stop();
    frmMain* main = forms::load<frmMain>(Form::frmMain);
    ASSERT_NE(main, nullptr);
    // A report still open when the user quits from the main window.
    forms::load(Form::frmScheReport);
    main->mTExit->trigger();
    pumpEvents();
    EXPECT_FALSE(forms::isLoaded(Form::frmMain));
    EXPECT_FALSE(forms::isLoaded(Form::frmScheReport));
    EXPECT_FALSE(forms::isLoaded(Form::frmScheRemind));
    EXPECT_EQ(gMainWindow(), nullptr);
}
