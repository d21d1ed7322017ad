#include "todayClassesFixture.h"

#include "core/model/gClock.h"
#include "core/ui/gForms.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/model/gState.h"
#include "timetable/frmScheRemind.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString kLinear = QStringLiteral("线性代数");
const QString kPhysics = QStringLiteral("大学物理");

// The reminder loaded hidden, as the sign-in loads it. Its own timer is stopped
// so that only the checks a test runs happen.
class RemindCheck : public TodayClassesTest {
protected:
    frmScheRemind* load() {
        auto* r = forms::load<frmScheRemind>(Form::frmScheRemind);
        r->checkTimer->stop();
        return r;
    }
    // One check at h:m of the given day.
    static void checkAt(frmScheRemind* r, int h, int m, int weekday = 1) {
        setNow(weekday, h, m);
        r->checkTimer_Timer();
    }
    static QColor textColour(frmScheRemind* r) {
        return r->messageLabel->palette().color(QPalette::WindowText);
    }
};

} // namespace

TEST_F(RemindCheck, LoadsHiddenAndOnTop) {
    addCourse(kLinear, QStringLiteral("1-101"), 1, QStringLiteral("01"));
    loadToday();
    frmScheRemind* r = load();
    EXPECT_FALSE(r->isVisible());
    EXPECT_EQ(r->windowTitle(), QStringLiteral("课程"));
    EXPECT_TRUE(r->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(r->lastDate(), termMonday());
    EXPECT_EQ(r->snoozeOption->text(), QStringLiteral("在      分钟后提醒我   "));
    EXPECT_EQ(r->skipClassOption->text(), QStringLiteral("不要再提醒我这堂课"));
    EXPECT_EQ(r->shutDownOption->text(), QStringLiteral("关闭计算机"));
    EXPECT_EQ(r->okButton->text(), QStringLiteral("确定"));
    // minutesEdit sits in the gap of snoozeOption's caption, above it.
    EXPECT_TRUE(r->snoozeOption->geometry().contains(r->minutesEdit->geometry().center()));
    EXPECT_GT(r->minutesEdit->geometry().left(), r->snoozeOption->geometry().left() + 10);
}

// A lead of 30 minutes and the first period (08:00-08:45), each minute on a window that was hidden.
TEST_F(RemindCheck, TextAtEachMinuteOfTheLeadAndTheClass) {
    addCourse(kLinear, QStringLiteral("1-101"), 1, QStringLiteral("01"));
    loadToday();
    frmScheRemind* r = load();
    const QColor black(0, 0, 0), red(255, 0, 0);
    const struct {
        int h, m;
        const char* text; // nullptr: no reminder
        QColor colour;
    } cases[] = {
        {7, 0, nullptr, {}},
        {7, 30, nullptr, {}}, // strictly after begin - lead
        {7, 31, "在 29 分钟之后在 1-101 有课程：线性代数", black},
        {7, 59, "在 1 分钟之后在 1-101 有课程：线性代数", black},
        {8, 0, "在 0 分钟之前在 1-101 已经开始了课程：线性代数\r\n\r\n还有 45 分钟下课！", red},
        {8, 10, "在 10 分钟之前在 1-101 已经开始了课程：线性代数\r\n\r\n还有 35 分钟下课！", red},
        {8, 44, "在 44 分钟之前在 1-101 已经开始了课程：线性代数\r\n\r\n还有 1 分钟下课！", red},
        {8, 45, nullptr, {}}, // the class has ended
        {12, 0, nullptr, {}},
    };
    for (const auto& c : cases) {
        r->hide();
        const int beeps = r->beeps();
        checkAt(r, c.h, c.m);
        const QString at = QStringLiteral("%1:%2").arg(c.h).arg(c.m);
        if (!c.text) {
            EXPECT_FALSE(r->isVisible()) << at.toStdString();
            EXPECT_EQ(r->beeps(), beeps) << at.toStdString();
            continue;
        }
        EXPECT_TRUE(r->isVisible()) << at.toStdString();
        EXPECT_EQ(r->messageLabel->text(), QString::fromUtf8(c.text)) << at.toStdString();
        EXPECT_EQ(textColour(r), c.colour) << at.toStdString();
        EXPECT_EQ(r->beeps(), beeps + 1) << at.toStdString();
        EXPECT_EQ(r->currentPeriod(), 1);
    }
}

TEST_F(RemindCheck, AnOpenWindowIsRefreshedEachMinuteWithoutLosingTheUsersChoice) {
    addCourse(kLinear, QStringLiteral("1-101"), 1, QStringLiteral("01"));
    loadToday();
    frmScheRemind* r = load();
    checkAt(r, 7, 31);
    ASSERT_TRUE(r->isVisible());
    EXPECT_EQ(r->minutesEdit->text(), QStringLiteral("5"));
    EXPECT_TRUE(r->snoozeOption->isChecked());
    EXPECT_TRUE(r->minutesEdit->isEnabled());

    r->minutesEdit->setText(QStringLiteral("12"));
    r->skipClassOption->click();
    checkAt(r, 7, 32);
    EXPECT_EQ(r->messageLabel->text(), QStringLiteral("在 28 分钟之后在 1-101 有课程：线性代数"));
    EXPECT_EQ(r->beeps(), 2);
    EXPECT_TRUE(r->skipClassOption->isChecked());
    EXPECT_EQ(r->minutesEdit->text(), QStringLiteral("12"));
    EXPECT_FALSE(r->minutesEdit->isEnabled());
}

TEST_F(RemindCheck, ALeadOfNoMinutesRemindsOnceTheClassHasBegun) {
    gRemindLead = 0;
    addCourse(kLinear, QStringLiteral("1-101"), 1, QStringLiteral("01"));
    loadToday();
    frmScheRemind* r = load();
    checkAt(r, 7, 59);
    checkAt(r, 8, 0);
    EXPECT_FALSE(r->isVisible());
    checkAt(r, 8, 1);
    EXPECT_TRUE(r->isVisible());
    EXPECT_EQ(r->messageLabel->text(),
              QStringLiteral("在 1 分钟之前在 1-101 已经开始了课程：线性代数\r\n\r\n还有 44 分钟下课！"));
}

TEST_F(RemindCheck, TheFirstPeriodWhoseWindowHoldsNowIsReminded) {
    // Periods 1 (08:00-08:45) and 2 (08:55-09:40); with a long lead both windows are open at 08:30.
    gRemindLead = 60;
    addCourse(kLinear, QStringLiteral("1-101"), 1, QStringLiteral("01"));
    addCourse(kPhysics, QStringLiteral("2-202"), 1, QStringLiteral("02"));
    loadToday();
    frmScheRemind* r = load();
    checkAt(r, 8, 30);
    EXPECT_EQ(r->messageLabel->text(),
              QStringLiteral("在 30 分钟之前在 1-101 已经开始了课程：线性代数\r\n\r\n还有 15 分钟下课！"));
    EXPECT_EQ(r->currentPeriod(), 1);
    checkAt(r, 8, 45);
    EXPECT_EQ(r->messageLabel->text(), QStringLiteral("在 10 分钟之后在 2-202 有课程：大学物理"));
    EXPECT_EQ(r->currentPeriod(), 2);
}

TEST_F(RemindCheck, NothingWhileTheOptionIsOffOrThereIsNoClass) {
    addCourse(kLinear, QStringLiteral("1-101"), 1, QStringLiteral("01"));
    loadToday();
    frmScheRemind* r = load();
    gOption(Option::ClassReminders) = false;
    for (int m = 31; m <= 59; ++m)
        checkAt(r, 7, m);
    EXPECT_FALSE(r->isVisible());
    EXPECT_EQ(r->beeps(), 0);
    // Tuesday has no class.
    gOption(Option::ClassReminders) = true;
    checkAt(r, 7, 31, 2);
    EXPECT_FALSE(r->isVisible());
    EXPECT_EQ(r->beeps(), 0);
}

TEST_F(RemindCheck, ChecksMoveOntoMinuteBoundaries) {
    loadToday();
    frmScheRemind* r = load();
    EXPECT_EQ(r->checkTimer->interval(), 10);
    setNow(1, 7, 30, 15);
    r->checkTimer_Timer();
    EXPECT_EQ(r->checkTimer->interval(), 45000);
    setNow(1, 7, 31, 0);
    r->checkTimer_Timer();
    EXPECT_EQ(r->checkTimer->interval(), 60000);
    // Once on the minute it stays there, also with the option off.
    gOption(Option::ClassReminders) = false;
    setNow(1, 7, 32, 20);
    r->checkTimer_Timer();
    EXPECT_EQ(r->checkTimer->interval(), 60000);
}

TEST_F(RemindCheck, ItsOwnTimerRunsTheFirstCheckAtOnce) {
    addCourse(kLinear, QStringLiteral("1-101"), 1, QStringLiteral("01"));
    loadToday();
    setNow(1, 7, 40, 50);
    auto* r = forms::load<frmScheRemind>(Form::frmScheRemind);
    EXPECT_TRUE(r->checkTimer->isActive());
    for (int i = 0; i < 50 && !r->isVisible(); ++i)
        pumpEvents(10);
    EXPECT_TRUE(r->isVisible());
    EXPECT_EQ(r->messageLabel->text(), QStringLiteral("在 20 分钟之后在 1-101 有课程：线性代数"));
    EXPECT_EQ(r->checkTimer->interval(), 10000);
    EXPECT_TRUE(r->checkTimer->isActive());
}

TEST_F(RemindCheck, ANewDayRebuildsTodaysList) {
    addCourse(kLinear, QStringLiteral("1-101"), 1, QStringLiteral("01"));
    addCourse(kPhysics, QStringLiteral("2-202"), 2, QStringLiteral("01"));
    addCourse(QStringLiteral("英语"), QStringLiteral("3-303"), 3, QString());
    loadToday();
    frmScheRemind* r = load();
    checkAt(r, 23, 59);
    EXPECT_EQ(r->lastDate(), termMonday());
    EXPECT_EQ(gTodayCourses[1][0], kLinear);

    // The first check after midnight.
    checkAt(r, 0, 0, 2);
    EXPECT_EQ(r->lastDate(), termMonday().addDays(1));
    EXPECT_EQ(gTodayCourses[1][0], kPhysics);
    checkAt(r, 7, 31, 2);
    EXPECT_TRUE(r->isVisible());
    EXPECT_EQ(r->messageLabel->text(), QStringLiteral("在 29 分钟之后在 2-202 有课程：大学物理"));

    // Wednesday has nothing: no stale reminder of Tuesday's class.
    r->hide();
    checkAt(r, 7, 31, 3);
    EXPECT_FALSE(r->isVisible());
    EXPECT_EQ(gTodayTimes[1][0], 0);
}

TEST_F(RemindCheck, NamesAreShownAsTheyAre) {
    addCourse(QStringLiteral("100%1 %2"), QStringLiteral("%4"), 1, QStringLiteral("01"));
    addCourse(QStringLiteral("<b>Art</b>"), QStringLiteral("<i>Hall</i>"), 2, QStringLiteral("01"));
    loadToday();
    frmScheRemind* r = load();
    checkAt(r, 8, 10);
    EXPECT_EQ(r->messageLabel->text(),
              QStringLiteral("在 10 分钟之前在 %4 已经开始了课程：100%1 %2\r\n\r\n还有 35 分钟下课！"));
    r->hide();
    checkAt(r, 7, 50, 2);
    EXPECT_EQ(r->messageLabel->text(), QStringLiteral("在 10 分钟之后在 <i>Hall</i> 有课程：<b>Art</b>"));
    EXPECT_EQ(r->messageLabel->textFormat(), Qt::PlainText);
}

TEST_F(RemindCheck, TheCloseButtonOnlyHidesIt) {
    addCourse(kLinear, QStringLiteral("1-101"), 1, QStringLiteral("01"));
    loadToday();
    frmScheRemind* r = load();
    checkAt(r, 7, 31);
    ASSERT_TRUE(r->isVisible());
    r->close();
    pumpEvents();
    EXPECT_FALSE(r->isVisible());
    EXPECT_EQ(forms::find(Form::frmScheRemind), r);
    checkAt(r, 7, 32);
    EXPECT_TRUE(r->isVisible());
    EXPECT_TRUE(gMsgBoxSeam::shown().isEmpty());
}

TEST_F(RemindCheck, UnloadingStopsTheChecks) {
    addCourse(kLinear, QStringLiteral("1-101"), 1, QStringLiteral("01"));
    loadToday();
    setNow(1, 7, 40);
    auto* r = forms::load<frmScheRemind>(Form::frmScheRemind);
    QPointer<frmScheRemind> alive(r);
    ASSERT_TRUE(r->checkTimer->isActive());
    forms::unload(r);
    EXPECT_FALSE(r->checkTimer->isActive());
    EXPECT_FALSE(r->isVisible());
    pumpEvents(30);
    EXPECT_TRUE(alive.isNull());
}
