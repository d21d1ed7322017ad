#include "todayClassesFixture.h"

#include "core/ui/gForms.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gState.h"
#include "platform/shutDown.h"
#include "timetable/frmScheRemind.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// The reminder showing the first period (08:00-08:45, lead 30) of Monday, with
// the second period (08:55-09:40) after it.
class RemindAnswer : public TodayClassesTest {
protected:
    void SetUp() override {
        TodayClassesTest::SetUp();
        addCourse(QStringLiteral("线性代数"), QStringLiteral("1-101"), 1, QStringLiteral("01"));
        addCourse(QStringLiteral("大学物理"), QStringLiteral("2-202"), 1, QStringLiteral("02"));
        loadToday();
        r_ = forms::load<frmScheRemind>(Form::frmScheRemind);
        r_->checkTimer->stop();
    }
    void checkAt(int h, int m) {
        setNow(1, h, m);
        r_->checkTimer_Timer();
    }
    // Types the minutes and presses OK with the first choice.
    void snoozeFor(const QString& minutes) {
        r_->snoozeOption->click();
        r_->minutesEdit->setText(minutes);
        QTest::mouseClick(r_->okButton, Qt::LeftButton);
    }
    frmScheRemind* r_ = nullptr;
};

// A press on the choice's round button, where a user presses it.
void pressChoice(QRadioButton* b) {
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(8, b->height() / 2));
}

} // namespace

TEST_F(RemindAnswer, SnoozeMinutesMustBeDigitsWithinTheClass) {
    const struct {
        int h, m;
        const char* text;
        bool accepted;
    } cases[] = {
        {7, 35, "25", true},
        {7, 35, "26", false},
        {7, 35, "40", false}, // until the begin
        {8, 10, "35", true},
        {8, 10, "36", false}, // until the end once begun
        {7, 35, "0", true},
        {7, 35, "", false},
        {7, 35, "5a", false},
        {7, 35, " 5", false},
        {7, 35, "-1", false},
        {7, 35, "５", false},
        {7, 35, "99999999999999999999999", false},
        {7, 35, "0005", true},
    };
    for (const auto& c : cases) {
        r_->hide();
        gMsgBoxSeam::reset();
        checkAt(c.h, c.m);
        ASSERT_TRUE(r_->isVisible());
        const int before = r_->snooze();
        snoozeFor(QString::fromUtf8(c.text));
        const std::string at = std::to_string(c.h) + ":" + std::to_string(c.m) + " '" + c.text + "'";
        if (c.accepted) {
            EXPECT_TRUE(gMsgBoxSeam::shown().isEmpty()) << at;
            EXPECT_FALSE(r_->isVisible()) << at;
            EXPECT_EQ(r_->snooze(), QString::fromUtf8(c.text).toInt()) << at;
        } else {
            EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::TimeInvalid}) << at;
            EXPECT_TRUE(r_->isVisible()) << at;
            EXPECT_EQ(r_->minutesEdit->text(), QString::fromUtf8(c.text)) << at;
            EXPECT_EQ(r_->snooze(), before) << at;
        }
        r_->checkTimer->stop();
        // Back to a reminder at every check for the next case.
        r_->minutesEdit->setText(QStringLiteral("0"));
        r_->okButton->click();
    }
}

TEST_F(RemindAnswer, ASnoozeCountsTheChecksThatFindAClass) {
    checkAt(7, 35);
    snoozeFor(QStringLiteral("3"));
    ASSERT_FALSE(r_->isVisible());
    checkAt(7, 36);
    checkAt(7, 37);
    EXPECT_FALSE(r_->isVisible());
    EXPECT_EQ(r_->snooze(), 1);
    checkAt(7, 38);
    EXPECT_TRUE(r_->isVisible());
    EXPECT_EQ(r_->snooze(), 0);
    EXPECT_EQ(r_->messageLabel->text(), QStringLiteral("在 22 分钟之后在 1-101 有课程：线性代数"));
    // Shown again from hidden: the choice starts over.
    EXPECT_EQ(r_->minutesEdit->text(), QStringLiteral("5"));
    EXPECT_TRUE(r_->snoozeOption->isChecked());
}

TEST_F(RemindAnswer, NoMinutesRemindsAtTheNextCheck) {
    checkAt(7, 35);
    snoozeFor(QStringLiteral("0"));
    EXPECT_FALSE(r_->isVisible());
    checkAt(7, 36);
    EXPECT_TRUE(r_->isVisible());
}

TEST_F(RemindAnswer, SkippingAClassHoldsUntilAnotherPeriodIsFound) {
    checkAt(7, 31);
    r_->skipClassOption->click();
    EXPECT_FALSE(r_->minutesEdit->isEnabled());
    r_->okButton->click();
    EXPECT_FALSE(r_->isVisible());
    EXPECT_EQ(r_->snooze(), -1);
    EXPECT_EQ(r_->skippedPeriod(), 1);
    // The second period's lead begins at 08:25, but the first period is found first until it ends.
    for (int t = 7 * 60 + 32; t < 8 * 60 + 45; ++t) {
        checkAt(t / 60, t % 60);
        ASSERT_FALSE(r_->isVisible()) << t;
    }
    checkAt(8, 45);
    EXPECT_TRUE(r_->isVisible());
    EXPECT_EQ(r_->snooze(), 0);
    EXPECT_EQ(r_->messageLabel->text(), QStringLiteral("在 10 分钟之后在 2-202 有课程：大学物理"));
}

TEST_F(RemindAnswer, TheChoicesEnableTheMinutesBox) {
    checkAt(7, 31);
    pressChoice(r_->skipClassOption);
    EXPECT_FALSE(r_->minutesEdit->isEnabled());
    pressChoice(r_->shutDownOption);
    EXPECT_TRUE(r_->shutDownOption->isChecked());
    EXPECT_FALSE(r_->minutesEdit->isEnabled());
    // The end of the first choice's caption, past the box, chooses it too.
    const int end = r_->minutesEdit->geometry().right() - r_->snoozeOption->x() + 30;
    QTest::mouseClick(r_->snoozeOption, Qt::LeftButton, Qt::NoModifier,
                      QPoint(end, r_->snoozeOption->height() / 2));
    EXPECT_TRUE(r_->snoozeOption->isChecked());
    EXPECT_TRUE(r_->minutesEdit->isEnabled());
    pressChoice(r_->shutDownOption);
    EXPECT_TRUE(r_->minutesEdit->isEnabled());
}

TEST_F(RemindAnswer, ShutDownAsksFirstAndRunsOnlyOnYes) {
    checkAt(7, 35);
    snoozeFor(QStringLiteral("4"));
    checkAt(7, 36);
    ASSERT_EQ(r_->snooze(), 3);
    r_->show();

    // Declined: nothing runs.
    shutDown::seam::pushAnswer(false);
    r_->shutDownOption->click();
    r_->okButton->click();
    EXPECT_FALSE(r_->isVisible());
    EXPECT_EQ(shutDown::seam::questionsAsked(), 1);
    EXPECT_TRUE(shutDown::seam::commands().isEmpty());
    EXPECT_EQ(r_->snooze(), 3);

    // Confirmed: the system is asked to power off.
    r_->show();
    shutDown::seam::pushAnswer(true);
    shutDown::seam::pushResult({true, 0});
    r_->okButton->click();
    EXPECT_EQ(shutDown::seam::questionsAsked(), 2);
    ASSERT_EQ(shutDown::seam::commands().size(), 1);
    EXPECT_EQ(shutDown::seam::commands()[0],
              (QStringList{QStringLiteral("systemctl"), QStringLiteral("poweroff")}));
    EXPECT_TRUE(shutDown::seam::messages().isEmpty());
    EXPECT_EQ(r_->snooze(), 3);
    EXPECT_TRUE(gMsgBoxSeam::shown().isEmpty());
}

TEST_F(RemindAnswer, AShutDownThatCannotBeDoneIsReported) {
    const struct {
        bool available;
        bool started;
        int exitCode;
        int questions;
    } cases[] = {
        {false, false, 0, 0}, // no systemctl: nothing to ask
        {true, false, 0, 1},  // it did not start
        {true, true, 1, 1},   // the system refused
    };
    for (const auto& c : cases) {
        shutDown::seam::reset();
        shutDown::seam::setAvailable(c.available);
        shutDown::seam::pushAnswer(true);
        shutDown::seam::pushResult({c.started, c.exitCode});
        r_->show();
        r_->shutDownOption->click();
        r_->okButton->click();
        EXPECT_FALSE(r_->isVisible());
        EXPECT_EQ(shutDown::seam::questionsAsked(), c.questions);
        EXPECT_EQ(shutDown::seam::messages(), QStringList{shutDown::failureText()});
    }
    EXPECT_EQ(shutDown::failureText(), QStringLiteral("无法关闭计算机。\n请从桌面的菜单中关闭计算机。"));
}

TEST_F(RemindAnswer, EnterInTheMinutesBoxPressesOK) {
    checkAt(7, 35);
    r_->minutesEdit->setText(QStringLiteral("7"));
    QApplication::setActiveWindow(r_);
    r_->minutesEdit->setFocus();
    QTest::keyClick(r_->minutesEdit, Qt::Key_Return);
    EXPECT_FALSE(r_->isVisible());
    EXPECT_EQ(r_->snooze(), 7);
}
