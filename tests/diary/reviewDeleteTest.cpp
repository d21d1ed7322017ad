// Deleting the shown entry: the row, the running totals and the stored total
// change together, and the page shows the day again.
#include "reviewTestSupport.h"

#include "controls/scheduleCommand.h"
#include "controls/scheduleMonthView.h"
#include "core/model/gDatabase.h"
#include "core/ui/gLinkLabel.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gState.h"
#include "diary/frmReview.h"
#include "platform/db/db.h"

#include <QPlainTextEdit>
#include <QTest>

using Rows = QList<QPair<QString, bool>>;

TEST_F(ReviewTest, DeleteAsksFirstAndCancelKeepsEverything) {
    addEntry(today_, QStringLiteral("一"), 30);
    frmReview* p = openReview();
    press(p->deleteLink);
    ASSERT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::ConfirmDeleteEntry});
    EXPECT_EQ(gMsgBoxSeam::shown().last().buttonSet, gButtonSet::OkCancel);
    EXPECT_EQ(rowsOf(today_), (Rows{{"一", false}}));
    EXPECT_EQ(gDiaryCount, 1);
    EXPECT_EQ(gScoreTotal, 30);
    EXPECT_EQ(p->titleView->toPlainText(), QStringLiteral("一"));
}

TEST_F(ReviewTest, DeletingOneOfSeveralShowsTheFirstRemaining) {
    addEntry(today_.addDays(-1), QStringLiteral("昨天"), 5);
    addEntry(today_, QStringLiteral("一"), 30);
    addEntry(today_, QStringLiteral("二"), 45);
    addEntry(today_, QStringLiteral("三"), 60);
    frmReview* p = openReview();
    press(p->nextEntryButton);
    press(p->nextEntryButton);
    ASSERT_EQ(gDayIndex, 3);

    gMsgBoxSeam::pushAnswer(gMsgResult::OK);
    press(p->deleteLink);
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
    EXPECT_EQ(rowsOf(today_), (Rows{{"一", false}, {"二", false}}));
    EXPECT_EQ(rowsOf(today_.addDays(-1)), (Rows{{"昨天", false}}));
    EXPECT_EQ(gDiaryCount, 3);
    EXPECT_EQ(gScoreTotal, 80);
    EXPECT_EQ(storedTotal(), 80); // kept with the row, not left to the next save
    EXPECT_EQ(gDayCount, 2);
    EXPECT_EQ(gDayIndex, 1);
    EXPECT_EQ(p->titleView->toPlainText(), QStringLiteral("一"));
    EXPECT_EQ(p->entryCounterLabel->text(), QStringLiteral("  1 / 2"));
    EXPECT_EQ(p->averageValueLabel->text(), QStringLiteral("37"));
    EXPECT_TRUE(p->monthView->dayBold(today_));
}

TEST_F(ReviewTest, DeletingTheMiddleEntryRemovesExactlyThatRow) {
    addEntry(today_, QStringLiteral("一"), 30);
    addEntry(today_, QStringLiteral("二"), 45);
    addEntry(today_, QStringLiteral("三"), 60);
    frmReview* p = openReview();
    press(p->nextEntryButton);
    gMsgBoxSeam::pushAnswer(gMsgResult::OK);
    press(p->deleteLink);
    EXPECT_EQ(rowsOf(today_), (Rows{{"一", false}, {"三", false}}));
    EXPECT_EQ(gScoreTotal, 90);
    EXPECT_EQ(gDayTitles.value(2), QStringLiteral("三"));
}

TEST_F(ReviewTest, DeletingTheOnlyEntryLeavesTheDayEmpty) {
    addEntry(today_, QStringLiteral("唯一"), 70);
    frmReview* p = openReview();
    gMsgBoxSeam::pushAnswer(gMsgResult::OK);
    press(p->deleteLink);
    EXPECT_TRUE(rowsOf(today_).isEmpty());
    EXPECT_FALSE(p->monthView->dayBold(today_));
    EXPECT_EQ(p->titleView->toPlainText(), QStringLiteral("没有选择日记。"));
    EXPECT_FALSE(p->deleteLink->isEnabled());
    EXPECT_FALSE(p->scoreBar->isVisible());
    EXPECT_EQ(gDayCount, 0);
    EXPECT_EQ(gDiaryCount, 0);
    EXPECT_EQ(gScoreTotal, 0);
    EXPECT_EQ(storedTotal(), 0);
    EXPECT_EQ(gConnection.transactionLevel(), 0);
}

// Right after the sign-in the entries are not counted yet; a delete then is
// left to that count, which no longer sees the row.
TEST_F(ReviewTest, ADeleteBeforeTheEntriesAreCountedIsLeftToTheCount) {
    addEntry(today_.addDays(-1), QStringLiteral("昨天"), 5);
    addEntry(today_, QStringLiteral("一"), 30);
    gDiaryCount = kDiaryCountPending;
    frmReview* p = openReview();
    gMsgBoxSeam::pushAnswer(gMsgResult::OK);
    press(p->deleteLink);
    EXPECT_TRUE(rowsOf(today_).isEmpty());
    EXPECT_EQ(gDiaryCount, kDiaryCountPending);
    EXPECT_EQ(gTakeDiaryCount(), 1);
    EXPECT_EQ(gScoreTotal, 5);
}

TEST_F(ReviewTest, FailedDeleteChangesNothing) {
    addEntry(today_, QStringLiteral("一"), 30);
    addEntry(today_, QStringLiteral("二"), 45);
    frmReview* p = openReview();
    // The stored total cannot be written: the row must stay as well.
    gConnection.execute(QStringLiteral("DROP TABLE DiarySettings"));
    gMsgBoxSeam::pushAnswer(gMsgResult::OK);
    press(p->deleteLink);
    EXPECT_EQ(gMsgBoxSeam::errors().size(), 1);
    EXPECT_EQ(gConnection.transactionLevel(), 0);
    EXPECT_FALSE(gRecordset.isOpen());
    EXPECT_EQ(rowsOf(today_), (Rows{{"一", false}, {"二", false}}));
    EXPECT_EQ(gDiaryCount, 2);
    EXPECT_EQ(gScoreTotal, 75);
    EXPECT_EQ(gDayCount, 2);
    EXPECT_EQ(p->titleView->toPlainText(), QStringLiteral("一"));
}

TEST_F(ReviewTest, DeletedEntryStaysDeletedAfterTheDatabaseReopens) {
    addEntry(today_, QStringLiteral("一"), 30);
    addEntry(today_, QStringLiteral("二"), 45);
    frmReview* p = openReview();
    gMsgBoxSeam::pushAnswer(gMsgResult::OK);
    press(p->deleteLink);
    forms::unloadAllNow();
    gCloseDatabase();
    gOpenDatabase(gDatabaseFile, gMakeDbPassword(QStringLiteral("secret")));
    EXPECT_EQ(rowsOf(today_), (Rows{{"二", false}}));
    EXPECT_EQ(gConnection.count(QStringLiteral("Diary")), 1);
    EXPECT_EQ(storedTotal(), 45);
}
