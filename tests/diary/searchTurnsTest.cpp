// The search page's searches run in turns of the event loop: rows shown as
// they are found, a newer search in place of a running one with none of its
// rows left, the progress while a search lasts, and a write in the middle.
#include "searchTestSupport.h"

#include "core/ui/gMsgBox.h"
#include "core/model/gState.h"
#include "diary/DiarySearch.h"
#include "platform/db/db.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>

namespace {

class SearchTurnsTest : public SearchTest {
protected:
    void SetUp() override {
        SearchTest::SetUp();
        // 60 entries over 20 days, "甲" and "乙" in turn.
        for (int i = 0; i < 60; ++i)
            addEntry({today_.addDays(-i / 3),
                      QStringLiteral("%1%2").arg(i % 2 ? QStringLiteral("乙") : QStringLiteral("甲")).arg(i),
                      QStringLiteral("正文%1").arg(i), i});
        DiarySearch::setRowsPerTurn(4);
    }
    void TearDown() override {
        DiarySearch::setRowsPerTurn(0);
        frmRetrieval::setProgressDelay(500);
        SearchTest::TearDown();
    }
    // The rows shown now, without waiting for the search to end.
    static QStringList shownNow(const QTreeView* lv) {
        QStringList out;
        for (int i = 0; i < lv->model()->rowCount(); ++i)
            out << lv->model()->index(i, 2).data().toString();
        return out;
    }
    // The titles the statement finds, by date.
    QStringList statementTitles(const QString& word) {
        db::Recordset rs;
        rs.setFilter(db::Filter(QStringLiteral("Title"), db::Op::Contains, word));
        rs.setSort(db::Sort(QStringLiteral("Date")));
        rs.open(QStringLiteral("SELECT Date,Title FROM Diary"), gConnection);
        QStringList out;
        for (; !rs.eof(); rs.moveNext())
            out << rs.text(QStringLiteral("Title"));
        return out;
    }
    static void typeKey(QLineEdit* box, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QCoreApplication::sendEvent(box, &press);
    }
};

TEST_F(SearchTurnsTest, TheFirstRowsShowAtOnceAndTheRestFollowInTurns) {
    frmRetrieval* p = openSearch();
    ASSERT_TRUE(p->searching());
    const int first = p->resultList->model()->rowCount();
    EXPECT_GT(first, 0);
    EXPECT_LT(first, 60);
    EXPECT_EQ(count(p->resultList), 60);
    EXPECT_FALSE(p->searching());
    EXPECT_EQ(cell(p->resultList, 0, 2), QStringLiteral("乙57")); // the oldest day first
    EXPECT_EQ(cell(p->resultList, 0, 0), QStringLiteral("1"));
    EXPECT_EQ(cell(p->resultList, 2, 0), QStringLiteral("3"));
}

// Typed while a search still runs: the newer search takes its place, and the
// list never holds a row of the one it replaced.
TEST_F(SearchTurnsTest, ANewerSearchLeavesNoRowOfTheOneItReplaced) {
    frmRetrieval* p = openSearch();
    clickTreeNode(p, QStringLiteral("按标题"));
    p->byTitleCheck->setChecked(true);
    typeKey(p->titleEdit, QStringLiteral("甲"));
    ASSERT_TRUE(p->searching());
    for (int turn = 0; turn < 3; ++turn)
        QCoreApplication::processEvents();
    ASSERT_TRUE(p->searching());
    // 甲 → 乙: what is shown at any moment is the new search's alone.
    p->titleEdit->selectAll();
    typeKey(p->titleEdit, QStringLiteral("乙"));
    for (int turn = 0; p->searching() && turn < 1000; ++turn) {
        for (const QString& t : shownNow(p->resultList))
            ASSERT_TRUE(t.startsWith(QStringLiteral("乙"))) << t.toStdString();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(rows(p->resultList).size(), 30);
    QStringList titles;
    for (int i = 0; i < count(p->resultList); ++i)
        titles << cell(p->resultList, i, 2);
    EXPECT_EQ(titles, statementTitles(QStringLiteral("乙")));
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
}

TEST_F(SearchTurnsTest, ASearchThatLastsShowsItsProgress) {
    frmRetrieval::setProgressDelay(0);
    frmRetrieval* p = openSearch();
    ASSERT_TRUE(p->searching());
    QCoreApplication::processEvents();
    EXPECT_TRUE(p->searchProgress->isVisibleTo(p));
    EXPECT_GT(p->searchProgress->maximum(), 0);
    settle(p->resultList);
    EXPECT_FALSE(p->searchProgress->isVisibleTo(p));

    // A search from the kept entries ends in its first turn: nothing to show.
    p->byContentCheck->setChecked(true);
    typeKey(p->contentEdit, QStringLiteral("正文1"));
    EXPECT_FALSE(p->searching());
    EXPECT_FALSE(p->searchProgress->isVisibleTo(p));
    EXPECT_EQ(count(p->resultList), 11); // 1, 10 to 19
}

// A favourite added while the listing still reads: the read starts again on
// the changed table, and the rows are whole.
TEST_F(SearchTurnsTest, AWriteInTheMiddleOfAReadStartsItAgain) {
    frmRetrieval* p = openSearch();
    ASSERT_TRUE(p->searching());
    ASSERT_GT(p->resultList->model()->rowCount(), 0);
    p->favouritesOnlyCheck->setChecked(true);
    ASSERT_TRUE(p->searching());
    EXPECT_EQ(gConnection.execute(QStringLiteral("UPDATE Diary SET Collect = 1 WHERE Title = '乙1'")), 1);
    EXPECT_EQ(rows(p->resultList), QStringList{QStringLiteral("2 乙1")});
}

} // namespace
