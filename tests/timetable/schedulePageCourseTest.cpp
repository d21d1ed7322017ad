// The timetable page's course editor and course list, on a real account database.
#include "todayClassesFixture.h"

#include "controls/scheduleBackground.h"
#include "controls/scheduleColorSet.h"
#include "controls/scheduleTable.h"
#include "core/model/clsSchedule.h"
#include "core/model/gDatabase.h"
#include "core/ui/gForms.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gState.h"
#include "core/ui/gTwips.h"
#include "core/model/gWeek.h"
#include "timetable/frmSchedule.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class SchedulePageCourseTest : public SchedulePageTest {
protected:
    // Picks a weekday and then clicks the given periods (1-based) in the editor.
    void choose(int weekday, const QList<int>& periods) {
        scheduleCourseEditor* e = page_->courseEditorPane;
        clickItem(e->weekdayList, weekday - 1);
        for (int p : periods)
            clickItem(e->periodList, p - 1);
    }

    // Picks a week in a closed week box from the keyboard: Home, then Down to it.
    static void chooseWeek(QComboBox* combo, int week) {
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Home);
        for (int i = 1; i < week; ++i)
            QTest::keyClick(combo, Qt::Key_Down);
        ASSERT_EQ(combo->currentText(), QString::number(week));
    }
};

TEST_F(SchedulePageCourseTest, ANewCourseStoresItsPeriodsAsTwoDigitPieces) {
    open();
    menu(SchedulePane::NewCourse);
    scheduleCourseEditor* e = page_->courseEditorPane;
    ASSERT_TRUE(e->isVisible());
    EXPECT_FALSE(e->editingCourse());
    EXPECT_FALSE(e->saveButton->isEnabled());
    EXPECT_EQ(e->saveButton->text(), QStringLiteral("增加(&S)"));
    const int total = gWeekDiff(gTimetable.Term.TermBegin, gTimetable.Term.TermEnd);
    EXPECT_EQ(e->beginWeekCombo->currentText(), QStringLiteral("1"));
    EXPECT_EQ(e->endWeekCombo->currentText(), QString::number(total));
    EXPECT_TRUE(e->weekRuleOptions[0]->isChecked());
    EXPECT_EQ(e->colorSet->color(), 0);

    e->nameEdit->setText(QStringLiteral("物理"));
    e->roomEdit->setText(QStringLiteral("实验楼"));
    EXPECT_TRUE(e->saveButton->isEnabled());
    choose(1, {4, 3, 10});
    choose(5, {1});
    choose(1, {10}); // clicking again takes it back
    EXPECT_TRUE(e->periodList->item(2)->isSelected()) << "Monday's choice is shown again";
    EXPECT_FALSE(e->periodList->item(0)->isSelected());

    e->saveButton->click();
    ASSERT_TRUE(page_->weekPane->isVisible()) << "saved";
    const QVariantMap m = stored(1);
    EXPECT_EQ(m["Name"], QStringLiteral("物理"));
    EXPECT_EQ(m["Weekday1"], QStringLiteral("0304"));
    EXPECT_EQ(m["Weekday5"], QStringLiteral("01"));
    for (int d : {2, 3, 4, 6, 7})
        EXPECT_EQ(m[QStringLiteral("Weekday%1").arg(d)], QString()) << d;
    EXPECT_EQ(m["BeginWeek"], QStringLiteral("1"));
    EXPECT_EQ(m["EndWeek"], QString::number(total));
    EXPECT_EQ(m["DoubleWeek"], QStringLiteral("0"));
    EXPECT_EQ(m["UserColor"], QStringLiteral("14589563"));
    // The model was reloaded: the week view shows it on Monday periods 3-4 and Friday 1.
    EXPECT_EQ(gTimetable.CourseCount(), 1);
    EXPECT_EQ(page_->weekGrid->cardCount(), 2);
    EXPECT_EQ(page_->courseListPane->courseList->count(), 1);
}

TEST_F(SchedulePageCourseTest, TheLastEnablingEventDecides) {
    open();
    menu(SchedulePane::NewCourse);
    scheduleCourseEditor* e = page_->courseEditorPane;
    chooseWeek(e->beginWeekCombo, 6);
    chooseWeek(e->endWeekCombo, 3);
    e->nameEdit->setText(QStringLiteral("甲"));
    EXPECT_FALSE(e->saveButton->isEnabled());
    e->roomEdit->setText(QStringLiteral("乙"));
    EXPECT_TRUE(e->saveButton->isEnabled()) << "names alone decide";
    chooseWeek(e->endWeekCombo, 3);
    EXPECT_FALSE(e->saveButton->isEnabled());
    chooseWeek(e->endWeekCombo, 6);
    EXPECT_TRUE(e->saveButton->isEnabled());
    e->roomEdit->clear();
    EXPECT_FALSE(e->saveButton->isEnabled());
}

TEST_F(SchedulePageCourseTest, EditingDropsPeriodsPastTheLastAndKeepsTheRest) {
    // Ten periods; period 12 was deleted in the base settings. Week 30 lies past the term.
    addRow(QStringLiteral("Course"), {{"Name", "化学"},
                                      {"Place", "B2"},
                                      {"BeginWeek", 2},
                                      {"EndWeek", 30},
                                      {"DoubleWeek", 2},
                                      {"Color", 25},
                                      {"UserColor", 255},
                                      {"Weekday1", "011012"},
                                      {"Weekday3", "05"}});
    open();
    menu(SchedulePane::AllCourses);
    scheduleCourseList* l = page_->courseListPane;
    ASSERT_EQ(l->courseList->currentRow(), 0);
    EXPECT_EQ(l->detailsText->toPlainText(),
              QStringLiteral("课程名：化学\n课室：B2\n从第 2 周 到 第 30 周\n只在 双周 有课\n课程分布：\n") +
                  gTimetable.Col(1).Name + QStringLiteral("：") + gTimetable.Row(1).Name +
                  QStringLiteral(" ") + gTimetable.Row(10).Name + QStringLiteral(" \n") +
                  gTimetable.Col(3).Name + QStringLiteral("：") + gTimetable.Row(5).Name +
                  QStringLiteral(" \n"));
    EXPECT_EQ(l->colorSample->color(), 25);

    l->editButton->click();
    scheduleCourseEditor* e = page_->courseEditorPane;
    ASSERT_TRUE(e->isVisible());
    EXPECT_FALSE(l->isVisible());
    EXPECT_TRUE(e->editingCourse());
    EXPECT_EQ(e->saveButton->text(), QStringLiteral("保存(&S)"));
    EXPECT_TRUE(e->periodChoice(1, 1));
    EXPECT_TRUE(e->periodChoice(1, 10));
    EXPECT_FALSE(e->periodChoice(1, 12));
    EXPECT_TRUE(e->periodList->item(9)->isSelected());
    EXPECT_TRUE(e->weekRuleOptions[2]->isChecked());
    EXPECT_EQ(e->endWeekCombo->currentText(), QStringLiteral("30"));
    EXPECT_EQ(e->colorSet->color(), 25);

    e->roomEdit->setText(QStringLiteral("B3"));
    e->saveButton->click();
    ASSERT_FALSE(e->isVisible()) << "saved";
    EXPECT_TRUE(l->isVisible());
    EXPECT_EQ(l->courseList->currentRow(), 0);
    EXPECT_TRUE(l->detailsText->toPlainText().contains(QStringLiteral("课室：B3")));
    const QVariantMap m = stored(1);
    EXPECT_EQ(m["Weekday1"], QStringLiteral("0110"));
    EXPECT_EQ(m["Weekday3"], QStringLiteral("05"));
    EXPECT_EQ(m["EndWeek"], QStringLiteral("30"));
    EXPECT_EQ(m["UserColor"], QStringLiteral("255"));
    EXPECT_EQ(gConnection.count(QStringLiteral("Course")), 1);
}

TEST_F(SchedulePageCourseTest, SameNamesAreKeptAndDeletingAsksFirst) {
    addCourse(QStringLiteral("体育"), QStringLiteral("操场"), 1, QStringLiteral("01"));
    addCourse(QStringLiteral("体育"), QStringLiteral("馆"), 2, QStringLiteral("02"));
    open();
    menu(SchedulePane::AllCourses);
    scheduleCourseList* l = page_->courseListPane;
    ASSERT_EQ(l->courseList->count(), 2);
    l->selectCourse(1);
    EXPECT_TRUE(l->detailsText->toPlainText().contains(QStringLiteral("课室：馆")));

    l->deleteButton->click();
    EXPECT_EQ(l->courseList->count(), 2) << "no answer is Cancel";
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::ConfirmDeleteCourse});
    EXPECT_EQ(gConnection.count(QStringLiteral("Course")), 2);

    gMsgBoxSeam::pushAnswer(gMsgResult::OK);
    l->deleteButton->click();
    ASSERT_EQ(l->courseList->count(), 1) << "deleted";
    EXPECT_EQ(gTimetable.CourseCount(), 1);
    EXPECT_EQ(gTimetable.Course(1).Place, QStringLiteral("操场"));
    EXPECT_EQ(l->courseList->currentRow(), 0);
    EXPECT_TRUE(l->deleteButton->isEnabled());

    gMsgBoxSeam::pushAnswer(gMsgResult::OK);
    l->deleteButton->click();
    ASSERT_EQ(l->courseList->count(), 0) << "deleted";
    EXPECT_EQ(gConnection.count(QStringLiteral("Course")), 0);
    EXPECT_TRUE(l->detailsText->toPlainText().isEmpty());
    EXPECT_FALSE(l->editButton->isEnabled());
    EXPECT_FALSE(l->deleteButton->isEnabled());
    EXPECT_FALSE(l->colorSample->isVisible());
}

TEST_F(SchedulePageCourseTest, EditWithoutASelectionIsRefused) {
    open();
    menu(SchedulePane::AllCourses);
    scheduleCourseList* l = page_->courseListPane;
    EXPECT_FALSE(l->editButton->isEnabled());
    // The button is locked with nothing to edit; the check behind it still refuses.
    l->editButton_Click();
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::NoCourseChosen});
    EXPECT_TRUE(l->isVisible());
    l->backButton->click();
    EXPECT_TRUE(page_->weekPane->isVisible());
}

} // namespace
