// The reminder left as the user leaves it: open past its class's end, and
// across midnight after a skip or a snooze.
#include "todayClassesFixture.h"

#include "core/ui/gForms.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gState.h"
#include "timetable/frmScheRemind.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class RemindDay : public TodayClassesTest {
protected:
    void load() {
        loadToday();
        r_ = forms::load<frmScheRemind>(Form::frmScheRemind);
        r_->checkTimer->stop();
    }
    // One check at h:m of the given day of the term week (8 = the next Monday).
    void checkAt(int weekday, int h, int m) {
        setNow(weekday, h, m);
        r_->checkTimer_Timer();
    }
    frmScheRemind* r_ = nullptr;
};

} // namespace

TEST_F(RemindDay, AWindowLeftOpenPastTheClassIsTakenDown) {
    const struct {
        const char* name;
        int weekday, h, m; // the first check that finds nothing
    } cases[] = {
        {"the class's end", 1, 8, 45},
        {"later that day", 1, 13, 0},
        {"the next day", 2, 7, 0},
    };
    addCourse(QStringLiteral("线性代数"), QStringLiteral("1-101"), 1, QStringLiteral("01"));
    load();
    for (const auto& c : cases) {
        gMsgBoxSeam::reset();
        checkAt(1, 8, 44);
        ASSERT_TRUE(r_->isVisible()) << c.name;
        EXPECT_TRUE(r_->messageLabel->text().endsWith(QStringLiteral("还有 1 分钟下课！"))) << c.name;
        // Left open; the clock goes on.
        checkAt(c.weekday, c.h, c.m);
        EXPECT_FALSE(r_->isVisible()) << c.name;
        EXPECT_TRUE(gMsgBoxSeam::shown().isEmpty()) << c.name;
    }
    // Nothing is left to answer: the next reminder starts afresh.
    checkAt(1, 7, 50);
    ASSERT_TRUE(r_->isVisible());
    EXPECT_EQ(r_->minutesEdit->text(), QStringLiteral("5"));
    QTest::mouseClick(r_->okButton, Qt::LeftButton);
    EXPECT_TRUE(gMsgBoxSeam::shown().isEmpty());
    EXPECT_FALSE(r_->isVisible());
    EXPECT_EQ(r_->snooze(), 5);
}

// The day's last class skipped, or snoozed, in the evening; the same period the next day.
TEST_F(RemindDay, ANewDayStartsWithNoSkipAndNoSnooze) {
    // Monday to Wednesday each end with a class in the tenth period.
    const char* rooms[] = {"5-505", "6-606", "7-707"};
    for (int d = 1; d <= 3; ++d)
        addCourse(QStringLiteral("晚课%1").arg(d), QString::fromUtf8(rooms[d - 1]), d, QStringLiteral("10"));
    load();
    const int begin = gTodayTimes[10][0];
    const int lead = begin - gRemindLead + 1;
    ASSERT_GT(lead, 60);
    const struct {
        const char* name;
        bool skip;
    } cases[] = {{"skipped", true}, {"snoozed", false}};
    int day = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        checkAt(day, begin / 60, begin % 60 + 1);
        ASSERT_TRUE(r_->isVisible());
        if (c.skip) {
            QTest::mouseClick(r_->skipClassOption, Qt::LeftButton, Qt::NoModifier,
                              QPoint(8, r_->skipClassOption->height() / 2));
        } else {
            r_->minutesEdit->selectAll();
            QTest::keyClicks(r_->minutesEdit, QStringLiteral("20"));
        }
        QTest::mouseClick(r_->okButton, Qt::LeftButton);
        ASSERT_FALSE(r_->isVisible());
        ASSERT_TRUE(gMsgBoxSeam::shown().isEmpty());
        checkAt(day, 23, 59);
        // Across midnight, then the next evening's class at the first minute of its lead.
        ++day;
        checkAt(day, 0, 0);
        EXPECT_EQ(r_->snooze(), 0);
        EXPECT_EQ(r_->skippedPeriod(), 0);
        checkAt(day, lead / 60, lead % 60);
        EXPECT_TRUE(r_->isVisible());
        EXPECT_EQ(r_->messageLabel->text(), QStringLiteral("在 29 分钟之后在 ") +
                                                QString::fromUtf8(rooms[day - 1]) +
                                                QStringLiteral(" 有课程：晚课%1").arg(day));
    }
}
