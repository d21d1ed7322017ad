// The course editor, the course list and the base settings driven through their
// own buttons, lists and keys, as a user setting up a term drives them.
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
#include "timetable/frmSchedule.h"
#include "timetable/scheduleBasePane.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class SchedulePageEditorRoad : public SchedulePageTest {
protected:
    scheduleCourseEditor* editor() { return page_->courseEditorPane; }
    scheduleCourseList* list() { return page_->courseListPane; }
    // `n` periods of 25 minutes every half hour from 06:00.
    static void periods(int n) {
        for (int p = 1; p <= n; ++p)
            addRow(QStringLiteral("Row"), {{"Name", QStringLiteral("第%1节").arg(p)},
                                           {"ClassBeginTime", 360 + (p - 1) * 30},
                                           {"ClassEndTime", 385 + (p - 1) * 30},
                                           {"RowIsVisible", true}});
    }
    void key(Qt::Key k) { QTest::keyClick(page_->windowHandle(), k); }
    // The user drags the list's scroll bar to its end.
    static void scrollToEnd(QAbstractItemView* view) {
        view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    }
    static bool inView(QListWidget* list, int row) {
        return list->viewport()->rect().contains(list->visualItemRect(list->item(row)));
    }
};

TEST_F(SchedulePageEditorRoad, PeriodsChosenWithTheKeyboardAreStored) {
    open();
    // 新课程, 星期六, click 第三节, Down, Space, 增加.
    menu(2);
    scheduleCourseEditor* e = editor();
    ASSERT_TRUE(e->isVisible());
    typeText(e->nameEdit, QStringLiteral("日语"));
    typeText(e->roomEdit, QStringLiteral("外语楼"));
    clickItem(e->weekdayList, 5);
    clickItem(e->periodList, 2);
    QTest::keyClick(e->periodList, Qt::Key_Down);
    QTest::keyClick(e->periodList, Qt::Key_Space);
    ASSERT_TRUE(e->periodList->item(3)->isSelected());
    ASSERT_TRUE(e->periodList->item(2)->isSelected());
    // Space again on 第四节 takes it back; Down and Space on 第五节 add it.
    QTest::keyClick(e->periodList, Qt::Key_Space);
    QTest::keyClick(e->periodList, Qt::Key_Down);
    QTest::keyClick(e->periodList, Qt::Key_Space);
    // Another weekday and back: the list shows what will be stored.
    clickItem(e->weekdayList, 0);
    EXPECT_TRUE(e->periodList->selectedItems().isEmpty());
    clickItem(e->weekdayList, 5);
    EXPECT_TRUE(e->periodList->item(2)->isSelected());
    EXPECT_FALSE(e->periodList->item(3)->isSelected());
    EXPECT_TRUE(e->periodList->item(4)->isSelected());
    QTest::mouseClick(e->saveButton, Qt::LeftButton);

    ASSERT_TRUE(page_->weekPane->isVisible());
    EXPECT_EQ(stored(1, QStringLiteral("Weekday6")), QStringLiteral("0305"));
    for (int d : {1, 2, 3, 4, 5, 7})
        EXPECT_EQ(stored(1, QStringLiteral("Weekday%1").arg(d)), QString()) << d;
}

// Space chooses the period the list shows as current, which is always in view.
TEST_F(SchedulePageEditorRoad, TheCurrentPeriodIsInViewWhenTheKeysChooseIt) {
    periods(24);
    open();
    menu(2);
    scheduleCourseEditor* e = editor();
    QListWidget* list = e->periodList;
    // Scrolled to the last periods, then 星期二 chosen with the mouse.
    scrollToEnd(list);
    clickItem(e->weekdayList, 1);
    ASSERT_FALSE(inView(list, 0));
    // Tab into the periods and Space: the period chosen is the current one, in view.
    key(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), list);
    key(Qt::Key_Space);
    ASSERT_EQ(list->selectedItems().size(), 1);
    const int chosen = list->row(list->selectedItems().first());
    EXPECT_EQ(chosen, list->currentRow());
    EXPECT_TRUE(inView(list, chosen));
    // Down to the last period and Space: in view too.
    for (int i = chosen; i < list->count() - 1; ++i)
        key(Qt::Key_Down);
    key(Qt::Key_Space);
    EXPECT_TRUE(list->item(list->count() - 1)->isSelected());
    EXPECT_TRUE(inView(list, list->count() - 1));
    EXPECT_TRUE(e->periodChoice(2, chosen + 1));
    EXPECT_TRUE(e->periodChoice(2, list->count()));
}

// Coming back to the course list shows the first course, which it selects, in view.
TEST_F(SchedulePageEditorRoad, TheSelectedCourseIsInViewOnEveryVisitToTheList) {
    for (int k = 1; k <= 30; ++k)
        addCourse(QStringLiteral("课程%1").arg(k), QStringLiteral("A%1").arg(k), 1 + k % 7,
                  QStringLiteral("01"));
    open();
    menu(3);
    QListWidget* courses = list()->courseList;
    scrollToEnd(courses);
    clickItem(courses, 29);
    QTest::mouseClick(list()->backButton, Qt::LeftButton);
    ASSERT_TRUE(page_->weekPane->isVisible());
    menu(3);
    EXPECT_EQ(courses->currentRow(), 0);
    EXPECT_TRUE(inView(courses, 0));
    EXPECT_TRUE(list()->detailsText->toPlainText().startsWith(QStringLiteral("课程名：课程1")));
}

// 增加 brings the new period into view with its name's editor open.
TEST_F(SchedulePageEditorRoad, AnAddedPeriodIsInViewWithItsNameBeingEdited) {
    periods(24);
    open();
    menu(1);
    scheduleBasePane* b = page_->basePane;
    QTableWidget* grid = b->periodGrid;
    ASSERT_EQ(b->periodCount(), 24);
    QTest::mouseClick(b->addPeriodButton, Qt::LeftButton);
    ASSERT_EQ(b->periodCount(), 25);
    const QRect nameCell = grid->visualItemRect(grid->item(24, 1));
    EXPECT_TRUE(grid->viewport()->rect().contains(nameCell));
    EXPECT_EQ(grid->currentRow(), 24);
    ASSERT_TRUE(b->periodCellEdit->isVisible());
    EXPECT_EQ(b->periodCellEdit->geometry().topLeft(), grid->viewport()->mapTo(b, nameCell.topLeft()));
    typeAndEnter(b->periodCellEdit, QStringLiteral("晚自习"));
    EXPECT_EQ(b->cell(25, 1), QStringLiteral("晚自习"));
    // The times are clicked and typed as any cell's.
    clickPeriodCell(25, 2);
    typeAndEnter(b->periodCellEdit, QStringLiteral("19:00"));
    clickPeriodCell(25, 3);
    typeAndEnter(b->periodCellEdit, QStringLiteral("21:00"));
    QTest::mouseClick(b->saveButton, Qt::LeftButton);
    EXPECT_TRUE(gMsgBoxSeam::shown().isEmpty());
    ASSERT_EQ(gTimetable.rowCount(), 25);
    EXPECT_EQ(gTimetable.Row(25).Name, QStringLiteral("晚自习"));
}

TEST_F(SchedulePageEditorRoad, WeeksAndRuleChosenWithTheirControlsAreStored) {
    open();
    menu(2);
    scheduleCourseEditor* e = editor();
    typeText(e->nameEdit, QStringLiteral("音乐"));
    typeText(e->roomEdit, QStringLiteral("琴房"));
    clickItem(e->periodList, 0);
    // The first week after the last disables 增加; a last week after it enables it again.
    QTest::keyClick(e->endWeekCombo, Qt::Key_Home);
    EXPECT_TRUE(e->saveButton->isEnabled());
    QTest::keyClick(e->beginWeekCombo, Qt::Key_Down);
    EXPECT_FALSE(e->saveButton->isEnabled());
    QTest::keyClick(e->endWeekCombo, Qt::Key_End);
    EXPECT_TRUE(e->saveButton->isEnabled());
    QTest::keyClick(e->endWeekCombo, Qt::Key_Up);
    QTest::mouseClick(e->weekRuleOptions[1], Qt::LeftButton, Qt::NoModifier,
                      QPoint(8, e->weekRuleOptions[1]->height() / 2));
    ASSERT_TRUE(e->saveButton->isEnabled());
    QTest::mouseClick(e->saveButton, Qt::LeftButton);

    ASSERT_TRUE(page_->weekPane->isVisible());
    const int total = e->endWeekCombo->count();
    EXPECT_EQ(stored(1, QStringLiteral("BeginWeek")), QStringLiteral("2"));
    EXPECT_EQ(stored(1, QStringLiteral("EndWeek")), QString::number(total - 1));
    EXPECT_EQ(stored(1, QStringLiteral("DoubleWeek")), QStringLiteral("1"));
    EXPECT_EQ(stored(1, QStringLiteral("Weekday1")), QStringLiteral("01"));
}

TEST_F(SchedulePageEditorRoad, ACourseWithAColourOutOfRangeCanBeEditedAndSaved) {
    addRow(QStringLiteral("Course"), {{"Name", "化学"},
                                      {"Place", "B2"},
                                      {"BeginWeek", 1},
                                      {"EndWeek", 16},
                                      {"DoubleWeek", 0},
                                      {"Color", 40},
                                      {"UserColor", 255},
                                      {"Weekday1", "01"}});
    addCourse(QStringLiteral("生物"), QStringLiteral("C3"), 2, QStringLiteral("02"));
    open();
    // Edit the second course (palette colour 3) first and leave with 取消, then the first.
    menu(3);
    clickItem(list()->courseList, 1);
    QTest::mouseClick(list()->editButton, Qt::LeftButton);
    ASSERT_TRUE(editor()->isVisible());
    EXPECT_EQ(editor()->colorSet->color(), 3);
    QTest::mouseClick(editor()->cancelButton, Qt::LeftButton);
    ASSERT_TRUE(list()->isVisible());
    EXPECT_EQ(list()->courseList->currentRow(), 1);

    clickItem(list()->courseList, 0);
    QTest::mouseClick(list()->editButton, Qt::LeftButton);
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
    ASSERT_TRUE(editor()->isVisible());
    EXPECT_FALSE(list()->isVisible());
    EXPECT_EQ(editor()->nameEdit->text(), QStringLiteral("化学"));
    // The picker has no swatch 40: it shows the first palette colour, as the card does.
    EXPECT_EQ(editor()->colorSet->color(), 0);
    editor()->roomEdit->clear();
    typeText(editor()->roomEdit, QStringLiteral("B5"));
    QTest::mouseClick(editor()->saveButton, Qt::LeftButton);
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
    ASSERT_TRUE(list()->isVisible());
    EXPECT_EQ(stored(1, QStringLiteral("Place")), QStringLiteral("B5"));
    EXPECT_EQ(stored(1, QStringLiteral("Weekday1")), QStringLiteral("01"));
    EXPECT_EQ(stored(1, QStringLiteral("Color")), QStringLiteral("0"));
}

TEST_F(SchedulePageEditorRoad, NewCourseCancelAndDeleteThroughTheirButtons) {
    addCourse(QStringLiteral("体育"), QStringLiteral("操场"), 1, QStringLiteral("01"));
    open();
    menu(2);
    typeText(editor()->nameEdit, QStringLiteral("不要"));
    QTest::mouseClick(editor()->cancelButton, Qt::LeftButton);
    EXPECT_TRUE(page_->weekPane->isVisible());
    EXPECT_EQ(gConnection.count(QStringLiteral("Course")), 1);

    menu(3);
    ASSERT_TRUE(list()->isVisible());
    gMsgBoxSeam::pushAnswer(gMsgResult::Cancel);
    QTest::mouseClick(list()->deleteButton, Qt::LeftButton);
    EXPECT_EQ(gConnection.count(QStringLiteral("Course")), 1);
    gMsgBoxSeam::pushAnswer(gMsgResult::OK);
    QTest::mouseClick(list()->deleteButton, Qt::LeftButton);
    EXPECT_EQ(gMsgBoxSeam::shownIds(), (QList<int>{Msg::ConfirmDeleteCourse, Msg::ConfirmDeleteCourse}));
    EXPECT_EQ(gConnection.count(QStringLiteral("Course")), 0);
    EXPECT_EQ(list()->courseList->count(), 0);
    EXPECT_FALSE(list()->deleteButton->isEnabled());
    QTest::mouseClick(list()->backButton, Qt::LeftButton);
    EXPECT_TRUE(page_->weekPane->isVisible());
    EXPECT_EQ(page_->weekGrid->cardCount(), 0);
}

// Courses store each period in two digits: the grid never holds a hundredth.
TEST_F(SchedulePageEditorRoad, TheBaseSettingsHoldAtMostNinetyNinePeriods) {
    open();
    menu(1);
    scheduleBasePane* b = page_->basePane;
    ASSERT_EQ(b->periodCount(), 10);
    EXPECT_TRUE(b->addPeriodButton->isEnabled());
    for (int i = 0; i < 95; ++i)
        QTest::mouseClick(b->addPeriodButton, Qt::LeftButton);
    EXPECT_EQ(b->periodCount(), 99);
    EXPECT_FALSE(b->addPeriodButton->isEnabled());

    // 删除 frees a place again.
    b->periodGrid->setCurrentCell(98, 1);
    QTest::mouseClick(b->deletePeriodButton, Qt::LeftButton);
    EXPECT_EQ(b->periodCount(), 98);
    EXPECT_TRUE(b->addPeriodButton->isEnabled());
    QTest::mouseClick(b->addPeriodButton, Qt::LeftButton);
    EXPECT_EQ(b->periodCount(), 99);
    EXPECT_FALSE(b->addPeriodButton->isEnabled());

    // 取消 and back: the grid is reloaded from the model's ten.
    QTest::mouseClick(b->cancelButton, Qt::LeftButton);
    EXPECT_TRUE(page_->weekPane->isVisible());
    menu(1);
    EXPECT_EQ(b->periodCount(), 10);
    EXPECT_TRUE(b->addPeriodButton->isEnabled());
}

} // namespace
