// The timetable page's base settings pane, on a real account database.
#include "todayClassesFixture.h"

#include "controls/scheduleTable.h"
#include "core/model/clsSchedule.h"
#include "core/model/gDatabase.h"
#include "core/ui/gForms.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gState.h"
#include "core/ui/gTwips.h"
#include "core/model/gWeek.h"
#include "timetable/frmSchedule.h"
#include "timetable/scheduleBasePane.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class SchedulePageBaseTest : public SchedulePageTest {
protected:
    void SetUp() override {
        SchedulePageTest::SetUp();
        open();
        menu(SchedulePane::BaseSettings);
        pane_ = page_->basePane;
    }
    void TearDown() override {
        pane_ = nullptr;
        SchedulePageTest::TearDown();
    }

    // Replaces the grid's periods: {name, begin, end}.
    void periods(const QList<QStringList>& rows) {
        while (pane_->periodCount() > 0)
            pane_->periodGrid->removeRow(0);
        for (const QStringList& r : rows) {
            // 增加 opens the new period's name for typing.
            pane_->addPeriodButton->click();
            typeAndEnter(pane_->periodCellEdit, r.value(0));
            const int n = pane_->periodCount();
            for (int c = 1; c < 3; ++c)
                pane_->setCell(n, c + 1, r.value(c));
        }
    }

    // Types into a grid cell through the in-place editor.
    void typeInto(int row, int col, const QString& text) {
        clickPeriodCell(row, col);
        ASSERT_TRUE(pane_->periodCellEdit->isVisible());
        typeAndEnter(pane_->periodCellEdit, text);
    }

    // Makes period `row` the grid's current row, by a click beside its times.
    void selectPeriod(int row) { clickPeriodCell(row, 5); }

    // The user's 保存; the page goes back to the week once it saved.
    void save() { pane_->saveButton->click(); }

    static long rows(const QString& table) { return gConnection.count(table); }

    scheduleBasePane* pane_ = nullptr;
};

TEST_F(SchedulePageBaseTest, OpensWithTheModelInItsControls) {
    EXPECT_TRUE(pane_->isVisible());
    EXPECT_FALSE(page_->weekPane->isVisible());
    EXPECT_EQ(pane_->termBeginPicker->date(), QDate(2026, 9, 7));
    EXPECT_EQ(pane_->termEndPicker->date(), QDate(2026, 12, 31));
    EXPECT_EQ(pane_->weekCountLabel->text(), QStringLiteral("本学期共 17 周。\r\n\r\n本周是第 2 周。"));
    EXPECT_EQ(pane_->periodCount(), gTimetable.rowCount());
    EXPECT_EQ(pane_->cell(1, 1), gTimetable.Row(1).Name);
    EXPECT_EQ(pane_->cell(1, 2), gMinutesToTime(gTimetable.Row(1).ClassBeginTime));
    EXPECT_EQ(pane_->cell(1, 4), QStringLiteral("True"));
    EXPECT_EQ(pane_->weekdayLabels[1]->text(), gTimetable.Col(1).Name);
    EXPECT_EQ(pane_->periodGrid->horizontalHeaderItem(2)->text(), QStringLiteral("开始时间"));

    // A begin after the end empties the count and locks the save; equal dates are one week.
    pane_->termBeginPicker->setDate(QDate(2027, 1, 5));
    EXPECT_TRUE(pane_->weekCountLabel->text().isEmpty());
    EXPECT_FALSE(pane_->saveButton->isEnabled());
    pane_->termBeginPicker->setDate(QDate(2026, 12, 31));
    EXPECT_TRUE(pane_->saveButton->isEnabled());
    EXPECT_TRUE(pane_->weekCountLabel->text().startsWith(QStringLiteral("本学期共 1 周。")));
}

TEST_F(SchedulePageBaseTest, TimeCellsTakeOnlyValidTimes) {
    const struct {
        const char* typed;
        const char* stored;
    } cases[] = {{"8:5", "08:05"}, {" 9:30 ", "09:30"}, {"25:00", "08:00"},
                 {"abc", "08:00"}, {"0:00", "08:00"},   {"", "08:00"}};
    for (const auto& c : cases) {
        pane_->setCell(1, 2, QStringLiteral("08:00"));
        typeInto(1, 2, QString::fromUtf8(c.typed));
        EXPECT_EQ(pane_->cell(1, 2), QString::fromUtf8(c.stored)) << c.typed;
    }
}

TEST_F(SchedulePageBaseTest, NamesAreCutToSixteenBytes) {
    typeInto(1, 1, QStringLiteral("一二三四五六七八九十"));
    EXPECT_EQ(pane_->cell(1, 1), QStringLiteral("一二三四五六七八"));
    typeInto(1, 1, QStringLiteral("   "));
    EXPECT_EQ(pane_->cell(1, 1), QString()) << "an empty period name is written too";

    QTest::mouseClick(pane_->weekdayLabels[3], Qt::LeftButton);
    ASSERT_TRUE(pane_->weekdayNameEdit->isVisible());
    typeAndEnter(pane_->weekdayNameEdit, QStringLiteral("abcdefghijklmnopq周"));
    EXPECT_FALSE(pane_->weekdayNameEdit->isVisible());
    EXPECT_EQ(pane_->weekdayLabels[3]->text(), QStringLiteral("abcdefghijklmnop"));
    QTest::mouseClick(pane_->weekdayLabels[3], Qt::LeftButton);
    typeAndEnter(pane_->weekdayNameEdit, QStringLiteral("  "));
    EXPECT_EQ(pane_->weekdayLabels[3]->text(), QStringLiteral("abcdefghijklmnop"));
    EXPECT_EQ(gLeftAnsiBytes(QStringLiteral("ab一二"), 3), QStringLiteral("ab"));
}

TEST_F(SchedulePageBaseTest, TheLastVisibleWeekdayAndPeriodStay) {
    for (int i = 2; i <= 7; ++i)
        pane_->weekdayChecks[i]->setChecked(false);
    pane_->weekdayChecks[1]->click();
    EXPECT_TRUE(pane_->weekdayChecks[1]->isChecked());
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::KeepOneAtLeast});

    periods({{"一", "08:00", "08:45"}, {"二", "09:00", "09:45"}});
    clickPeriodCell(1, 0);
    EXPECT_EQ(pane_->cell(1, 4), QStringLiteral("False"));
    clickPeriodCell(2, 0);
    EXPECT_EQ(pane_->cell(2, 4), QStringLiteral("True"));
    selectPeriod(2);
    pane_->deletePeriodButton->click();
    EXPECT_EQ(pane_->periodCount(), 2);
    EXPECT_EQ(gMsgBoxSeam::shownIds(),
              (QList<int>{Msg::KeepOneAtLeast, Msg::KeepOneAtLeast, Msg::KeepOneAtLeast}));
    selectPeriod(1);
    pane_->deletePeriodButton->click();
    EXPECT_EQ(pane_->periodCount(), 1);
    selectPeriod(1);
    pane_->deletePeriodButton->click();
    EXPECT_EQ(pane_->periodCount(), 1) << "the last period cannot be deleted";
}

TEST_F(SchedulePageBaseTest, ChecksStopTheSaveWithTheirMessage) {
    const struct {
        QList<QStringList> rows;
        int message;
        QStringList args;
    } cases[] = {
        {{{"一", "08:00", ""}}, Msg::PeriodCellEmpty, {}},
        {{{"一", "08:00", "08:00"}}, Msg::PeriodBeginNotBeforeEnd, {"1"}},
        {{{"一", "08:00", "08:45"}, {"二", "08:44", "09:30"}}, Msg::PeriodsOverlap, {"2", "1"}},
        // Same begin: the order stays, then the overlap shows.
        {{{"甲", "08:00", "08:45"}, {"乙", "08:00", "08:30"}}, Msg::PeriodsOverlap, {"2", "1"}},
        {{{"甲", "08:00", "07:50"}, {"乙", "08:00", "08:30"}}, Msg::PeriodBeginNotBeforeEnd, {"1"}},
    };
    for (const auto& c : cases) {
        gMsgBoxSeam::reset();
        periods(c.rows);
        save();
        EXPECT_FALSE(page_->weekPane->isVisible()) << "not saved";
        ASSERT_EQ(gMsgBoxSeam::shown().size(), 1);
        EXPECT_EQ(gMsgBoxSeam::shown().at(0).id, c.message);
        EXPECT_EQ(gMsgBoxSeam::shown().at(0).args.mid(0, c.args.size()), c.args);
        EXPECT_TRUE(pane_->isVisible());
    }
    EXPECT_EQ(pane_->cell(1, 1), QStringLiteral("甲"));
    EXPECT_EQ(rows(QStringLiteral("Row")), 0) << "nothing was written";

    gMsgBoxSeam::reset();
    pane_->termEndPicker->setDate(QDate(2026, 9, 1));
    // The button is locked while the term ends before it begins; the check behind
    // it still refuses.
    EXPECT_FALSE(pane_->saveButton->isEnabled());
    EXPECT_FALSE(pane_->saveButton_Click());
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::TermStartsAfterEnd});
}

TEST_F(SchedulePageBaseTest, SaveSortsRewritesAndReturnsToTheWeek) {
    periods({{"晚", "10:00", "10:45"}, {"早", "08:00", "08:45"}, {"中", "08:45", "09:30"}});
    clickPeriodCell(1, 0); // "晚" hidden
    pane_->weekdayChecks[7]->setChecked(false);
    QTest::mouseClick(pane_->weekdayLabels[1], Qt::LeftButton);
    typeAndEnter(pane_->weekdayNameEdit, QStringLiteral("周一"));
    pane_->termBeginPicker->setDate(QDate(2026, 9, 14));
    pane_->termEndPicker->setDate(QDate(2027, 1, 15));

    save();
    ASSERT_TRUE(page_->weekPane->isVisible()) << "saved";
    EXPECT_TRUE(gMsgBoxSeam::shown().isEmpty());
    EXPECT_FALSE(pane_->isVisible());
    EXPECT_EQ(page_->shownWeek(), 1);

    // The model was reloaded from what was written.
    ASSERT_EQ(gTimetable.rowCount(), 3);
    EXPECT_EQ(gTimetable.Row(1).Name, QStringLiteral("早"));
    EXPECT_EQ(gTimetable.Row(2).ClassBeginTime, 8 * 60 + 45);
    EXPECT_EQ(gTimetable.Row(3).Name, QStringLiteral("晚"));
    EXPECT_FALSE(gTimetable.Row(3).RowIsVisible);
    EXPECT_EQ(gTimetable.Col(1).Name, QStringLiteral("周一"));
    EXPECT_FALSE(gTimetable.Col(7).ColIsVisible);
    EXPECT_EQ(gTimetable.Term.TermBegin, QDate(2026, 9, 14));
    EXPECT_EQ(rows(QStringLiteral("Term")), 1);
    EXPECT_EQ(rows(QStringLiteral("Col")), 7);
    EXPECT_EQ(rows(QStringLiteral("Row")), 3);
    EXPECT_EQ(page_->weekGrid->rowHeight(3), 0);
    EXPECT_EQ(page_->weekGrid->colWidth(7), 0);

    // A second save replaces, never adds.
    menu(SchedulePane::BaseSettings);
    save();
    ASSERT_TRUE(page_->weekPane->isVisible()) << "saved";
    EXPECT_EQ(rows(QStringLiteral("Row")), 3);
    EXPECT_EQ(rows(QStringLiteral("Term")), 1);
}

TEST_F(SchedulePageBaseTest, AFailingWriteKeepsEveryOldRow) {
    periods({{"一", "08:00", "08:45"}});
    save();
    ASSERT_TRUE(page_->weekPane->isVisible()) << "saved";
    menu(SchedulePane::BaseSettings);
    // The period table refuses new rows, after Term and Col were already rewritten.
    gConnection.execute(
        QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON Row BEGIN SELECT RAISE(ABORT, 'full'); END"));
    periods({{"新", "07:00", "07:45"}, {"新二", "08:00", "08:45"}});
    pane_->termBeginPicker->setDate(QDate(2026, 9, 21));
    pane_->weekdayChecks[2]->setChecked(false);

    save();
    EXPECT_FALSE(page_->weekPane->isVisible()) << "not saved";
    EXPECT_EQ(gMsgBoxSeam::errors().size(), 1) << "the failure is reported";
    EXPECT_TRUE(pane_->isVisible());
    EXPECT_EQ(gConnection.transactionLevel(), 0);
    EXPECT_FALSE(gRecordset.isOpen());
    EXPECT_EQ(rows(QStringLiteral("Row")), 1);
    EXPECT_EQ(rows(QStringLiteral("Col")), 7);
    EXPECT_EQ(rows(QStringLiteral("Term")), 1);
    gTimetable.gGetSchedule();
    EXPECT_EQ(gTimetable.Term.TermBegin, QDate(2026, 9, 7));
    EXPECT_TRUE(gTimetable.Col(2).ColIsVisible);
    EXPECT_EQ(gTimetable.Row(1).Name, QStringLiteral("一"));
}

TEST_F(SchedulePageBaseTest, CancelDropsTheEdits) {
    pane_->setCell(1, 1, QStringLiteral("改"));
    pane_->cancelButton->click();
    EXPECT_TRUE(page_->weekPane->isVisible());
    menu(SchedulePane::BaseSettings);
    EXPECT_EQ(pane_->cell(1, 1), gTimetable.Row(1).Name);
}

} // namespace
