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
    static void clickItem(QListWidget* list, int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualItemRect(list->item(row)).center());
    }

    // A stored field of course k (1-based), as text.
    static QString stored(int k, const QString& field) {
        gCommand.setCommandText(QStringLiteral("SELECT * FROM Course"));
        gRecordset.setCursorLocation(db::CursorLocation::Client);
        gRecordset.open(gCommand, db::CursorType::Static, db::LockType::ReadOnly);
        gRecordset.move(k - 1);
        const QString v = gRecordset.text(field);
        gRecordset.close();
        return v;
    }

    scheduleCourseEditor* editor() { return page_->courseEditorPane; }
    scheduleCourseList* list() { return page_->courseListPane; }
};

TEST_F(SchedulePageEditorRoad, PeriodsChosenWithTheKeyboardAreStored) {
    open();
    // 新课程, 星期六, click 第三节, Down, Space, 增加.
    menu(2);
    scheduleCourseEditor* e = editor();
    ASSERT_TRUE(e->isVisible());
    typeText(e->Text3, QStringLiteral("日语"));
    typeText(e->Text4, QStringLiteral("外语楼"));
    clickItem(e->List1, 5);
    clickItem(e->List2, 2);
    QTest::keyClick(e->List2, Qt::Key_Down);
    QTest::keyClick(e->List2, Qt::Key_Space);
    ASSERT_TRUE(e->List2->item(3)->isSelected());
    ASSERT_TRUE(e->List2->item(2)->isSelected());
    // Space again on 第四节 takes it back; Down and Space on 第五节 add it.
    QTest::keyClick(e->List2, Qt::Key_Space);
    QTest::keyClick(e->List2, Qt::Key_Down);
    QTest::keyClick(e->List2, Qt::Key_Space);
    // Another weekday and back: the list shows what will be stored.
    clickItem(e->List1, 0);
    EXPECT_TRUE(e->List2->selectedItems().isEmpty());
    clickItem(e->List1, 5);
    EXPECT_TRUE(e->List2->item(2)->isSelected());
    EXPECT_FALSE(e->List2->item(3)->isSelected());
    EXPECT_TRUE(e->List2->item(4)->isSelected());
    QTest::mouseClick(e->Command5, Qt::LeftButton);

    ASSERT_TRUE(page_->weekPane->isVisible());
    EXPECT_EQ(stored(1, QStringLiteral("Weekday6")), QStringLiteral("0305"));
    for (int d : {1, 2, 3, 4, 5, 7})
        EXPECT_EQ(stored(1, QStringLiteral("Weekday%1").arg(d)), QString()) << d;
}

TEST_F(SchedulePageEditorRoad, WeeksAndRuleChosenWithTheirControlsAreStored) {
    open();
    menu(2);
    scheduleCourseEditor* e = editor();
    typeText(e->Text3, QStringLiteral("音乐"));
    typeText(e->Text4, QStringLiteral("琴房"));
    clickItem(e->List2, 0);
    // The first week after the last disables 增加; a last week after it enables it again.
    QTest::keyClick(e->Combo2, Qt::Key_Home);
    EXPECT_TRUE(e->Command5->isEnabled());
    QTest::keyClick(e->Combo1, Qt::Key_Down);
    EXPECT_FALSE(e->Command5->isEnabled());
    QTest::keyClick(e->Combo2, Qt::Key_End);
    EXPECT_TRUE(e->Command5->isEnabled());
    QTest::keyClick(e->Combo2, Qt::Key_Up);
    QTest::mouseClick(e->Option1[1], Qt::LeftButton, Qt::NoModifier, QPoint(8, e->Option1[1]->height() / 2));
    ASSERT_TRUE(e->Command5->isEnabled());
    QTest::mouseClick(e->Command5, Qt::LeftButton);

    ASSERT_TRUE(page_->weekPane->isVisible());
    const int total = e->Combo2->count();
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
    clickItem(list()->List3, 1);
    QTest::mouseClick(list()->Command8, Qt::LeftButton);
    ASSERT_TRUE(editor()->isVisible());
    EXPECT_EQ(editor()->scheduleColorSet1->color(), 3);
    QTest::mouseClick(editor()->Command6, Qt::LeftButton);
    ASSERT_TRUE(list()->isVisible());
    EXPECT_EQ(list()->List3->currentRow(), 1);

    clickItem(list()->List3, 0);
    QTest::mouseClick(list()->Command8, Qt::LeftButton);
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
    ASSERT_TRUE(editor()->isVisible());
    EXPECT_FALSE(list()->isVisible());
    EXPECT_EQ(editor()->Text3->text(), QStringLiteral("化学"));
    // The picker has no swatch 40: it shows the first palette colour, as the card does.
    EXPECT_EQ(editor()->scheduleColorSet1->color(), 0);
    editor()->Text4->clear();
    typeText(editor()->Text4, QStringLiteral("B5"));
    QTest::mouseClick(editor()->Command5, Qt::LeftButton);
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
    typeText(editor()->Text3, QStringLiteral("不要"));
    QTest::mouseClick(editor()->Command6, Qt::LeftButton);
    EXPECT_TRUE(page_->weekPane->isVisible());
    EXPECT_EQ(gConnection.count(QStringLiteral("Course")), 1);

    menu(3);
    ASSERT_TRUE(list()->isVisible());
    gMsgBoxSeam::pushAnswer(gMsgResult::Cancel);
    QTest::mouseClick(list()->Command9, Qt::LeftButton);
    EXPECT_EQ(gConnection.count(QStringLiteral("Course")), 1);
    gMsgBoxSeam::pushAnswer(gMsgResult::OK);
    QTest::mouseClick(list()->Command9, Qt::LeftButton);
    EXPECT_EQ(gMsgBoxSeam::shownIds(), (QList<int>{Msg::ConfirmDeleteCourse, Msg::ConfirmDeleteCourse}));
    EXPECT_EQ(gConnection.count(QStringLiteral("Course")), 0);
    EXPECT_EQ(list()->List3->count(), 0);
    EXPECT_FALSE(list()->Command9->isEnabled());
    QTest::mouseClick(list()->Command7, Qt::LeftButton);
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
