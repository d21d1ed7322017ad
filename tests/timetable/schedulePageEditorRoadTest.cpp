// The course editor, the course list and the base settings driven through their
// own buttons, lists and keys, as a user setting up a term drives them.
#include "todayClassesFixture.h"

#include "controls/scheduleBackground.h"
#include "controls/scheduleColorSet.h"
#include "controls/scheduleTable.h"
#include "core/clsSchedule.h"
#include "core/gDatabase.h"
#include "core/gForms.h"
#include "core/gMsgBox.h"
#include "core/gState.h"
#include "core/gTwips.h"
#include "timetable/frmSchedule.h"
#include "timetable/scheduleBasePane.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class SchedulePageEditorRoad : public SchedulePageTest {
protected:
    scheduleCourseEditor* editor() { return page_->courseEditorPane; }
    scheduleCourseList* list() { return page_->courseListPane; }
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
