// The search page in the main window: its panes, opening an entry on the review
// page, the pop-up menu, and the favourites pane.
#include "searchTestSupport.h"

#include "core/ui/gLinkLabel.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gState.h"
#include "core/ui/gTwips.h"
#include "diary/frmReview.h"
#include "platform/db/db.h"
#include "shell/frmMain.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>

class SearchEntriesTest : public SearchTest {
protected:
    frmRetrieval* searchFromMain() {
        EXPECT_NE(loadMain(), nullptr);
        EXPECT_TRUE(gChangeFrame(Page::Search));
        return search();
    }
    // Once the page's searches are done: the favourites pane's state follows its search.
    static bool shown(QWidget* w, frmRetrieval* p) {
        settle(p);
        return w->isVisibleTo(p);
    }
};

TEST_F(SearchEntriesTest, TheMainWindowSelectsTheFirstNodeWithoutSwitchingPanes) {
    frmRetrieval* p = searchFromMain();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->parentWidget(), gMainWindow()->pagePanel);
    ASSERT_NE(p->paneTree->currentItem(), nullptr);
    EXPECT_EQ(p->paneTree->currentItem()->text(0), QStringLiteral("检索"));
    EXPECT_EQ(p->currentPane(), SearchPane::None);
    EXPECT_TRUE(shown(p->hintPane, p));
    EXPECT_FALSE(shown(p->favouritesPane, p));
}

TEST_F(SearchEntriesTest, TreeNodesChooseThePanes) {
    frmRetrieval* p = openSearch();
    ASSERT_EQ(count(p->paneTree), 2);
    QTreeWidgetItem* root = p->paneTree->topLevelItem(0);
    ASSERT_EQ(root->childCount(), 4);
    EXPECT_EQ(root->child(2)->text(0), QStringLiteral("按内容"));
    const int h = gTwips(p->height());

    clickTreeNode(p, root);
    EXPECT_EQ(p->currentPane(), SearchPane::Results);
    EXPECT_EQ(gTwips(p->resultsPane->y()), 720);
    EXPECT_EQ(p->resultList->size(), p->resultsPane->size());
    for (QFrame* f :
         {p->hintPane, p->datePane, p->titlePane, p->contentPane, p->scorePane, p->favouritesPane})
        EXPECT_FALSE(shown(f, p));

    const QFrame* panes[] = {p->datePane, p->titlePane, p->contentPane, p->scorePane};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        clickTreeNode(p, root->child(i));
        EXPECT_EQ(p->currentPane(), SearchPane::ByDate + i);
        for (const QFrame* f : panes)
            EXPECT_EQ(f->isVisibleTo(p), f == panes[i]);
        EXPECT_TRUE(shown(p->resultsPane, p));
        EXPECT_EQ(gTwips(p->resultsPane->y()), 2040);
        EXPECT_NEAR(gTwips(p->resultsPane->height()), h - 2040, 15);
        EXPECT_LE(p->resultsPane->geometry().bottom(), p->height() - 1); // nothing past the page's edge
    }

    clickTreeNode(p, p->paneTree->topLevelItem(1));
    EXPECT_EQ(p->currentPane(), SearchPane::Favourites);
    EXPECT_TRUE(shown(p->favouritesPane, p));
    EXPECT_FALSE(shown(p->resultsPane, p));

    // The results keep their place when the page is resized.
    clickTreeNode(p, root->child(0));
    p->resize(p->width() + 100, p->height() + 60);
    EXPECT_EQ(gTwips(p->resultsPane->y()), 2040);
    EXPECT_EQ(p->resultList->size(), p->resultsPane->size());
    EXPECT_NEAR(gTwips(p->backLink->x()), gTwips(p->width()) - 510, 15);
}

TEST_F(SearchEntriesTest, ChoosingAResultOpensTheReviewPageOnThatEntry) {
    addEntry(today_.addDays(-2), QStringLiteral("早上"), 50);
    addEntry(today_.addDays(-2), QStringLiteral("中午"), 50);
    addEntry(today_.addDays(-2), QStringLiteral("晚上散步"), 80);
    frmRetrieval* p = searchFromMain();
    ASSERT_NE(p, nullptr);
    p->titleEdit->setText(QStringLiteral("散步"));
    p->byTitleCheck->setChecked(true);
    ASSERT_EQ(count(p->resultList), 1);

    clickRow(p->resultList, 0);
    frmReview* r = review();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(search(), nullptr);
    EXPECT_EQ(gDiaryDate, today_.addDays(-2));
    EXPECT_EQ(gDayIndex, 3);
    EXPECT_EQ(r->titleView->toPlainText(), QStringLiteral("晚上散步"));
}

TEST_F(SearchEntriesTest, ALeftClickBesideTheRowsOpensNothing) {
    addEntry(today_, QStringLiteral("一"), 50);
    frmRetrieval* p = searchFromMain();
    ASSERT_NE(p, nullptr);
    QTest::mouseClick(p->resultList->viewport(), Qt::LeftButton, {},
                      QPoint(10, p->resultList->viewport()->height() - 5));
    pumpEvents();
    EXPECT_EQ(search(), p);
    EXPECT_EQ(review(), nullptr);
}

TEST_F(SearchEntriesTest, AddingToFavouritesFromTheMenu) {
    addEntry(today_, QStringLiteral("一"), 50);
    addEntry(today_, QStringLiteral("二"), 50);
    frmRetrieval* p = openSearch();

    // Nothing chosen yet.
    p->mCollect->trigger();
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::NoEntryForFavourite});

    clickRow(p->resultList, 1, Qt::RightButton);
    EXPECT_TRUE(p->resultMenu->isVisible());
    p->resultMenu->hide();
    select(p->resultList, 1);

    p->mCollect->trigger(); // answered No
    EXPECT_EQ(rowsOf(today_), (QList<QPair<QString, bool>>{{"一", false}, {"二", false}}));
    gMsgBoxSeam::pushAnswer(gMsgResult::Yes);
    p->mCollect->trigger();
    EXPECT_EQ(gMsgBoxSeam::shownIds().last(), Msg::ConfirmAddFavourite);
    EXPECT_EQ(rowsOf(today_), (QList<QPair<QString, bool>>{{"一", false}, {"二", true}}));
}

TEST_F(SearchEntriesTest, FavouritesPaneShowsItsEmptyStateWithoutFavourites) {
    addEntry(today_, QStringLiteral("一"), 50);
    frmRetrieval* p = openSearch();
    clickTreeNode(p, QStringLiteral("收藏"));
    EXPECT_TRUE(shown(p->favouritesHelpLabel, p));
    EXPECT_TRUE(shown(p->noFavouritesLabel, p));
    for (QWidget* w :
         {static_cast<QWidget*>(p->favouritesList), static_cast<QWidget*>(p->removeFavouriteLink),
          static_cast<QWidget*>(p->removeAllFavouritesLink), static_cast<QWidget*>(p->goToReviewLink)})
        EXPECT_FALSE(shown(w, p));
}

TEST_F(SearchEntriesTest, FavouritesListTheirPlaceInTheDayAndCanBeRemoved) {
    addEntry({today_.addDays(-1), QStringLiteral("昨一"), QStringLiteral("b"), 50, false});
    addEntry({today_.addDays(-1), QStringLiteral("昨二"), QStringLiteral("b"), 50, true});
    addEntry({today_, QStringLiteral("今一"), QStringLiteral("b"), 50, true});
    frmRetrieval* p = openSearch();
    clickTreeNode(p, QStringLiteral("收藏"));
    EXPECT_EQ(rows(p->favouritesList), (QStringList{"2 昨二", "1 今一"}));
    EXPECT_TRUE(shown(p->favouritesList, p));
    EXPECT_TRUE(shown(p->removeAllFavouritesLink, p));
    EXPECT_FALSE(shown(p->noFavouritesLabel, p));

    // "删除" with nothing chosen does nothing; with a favourite chosen it asks.
    QTest::mouseClick(p->removeFavouriteLink, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_TRUE(gMsgBoxSeam::shownIds().isEmpty());
    select(p->favouritesList, 0);
    gMsgBoxSeam::pushAnswer(gMsgResult::Yes);
    QTest::mouseClick(p->removeFavouriteLink, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::ConfirmRemoveFavourite});
    EXPECT_EQ(rowsOf(today_.addDays(-1)), (QList<QPair<QString, bool>>{{"昨一", false}, {"昨二", false}}));
    EXPECT_EQ(rows(p->favouritesList), QStringList{"1 今一"});

    // Refreshing the search on this pane keeps the favourites listed.
    QTest::mouseClick(p->refreshLink, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(rows(p->favouritesList), QStringList{"1 今一"});
}

TEST_F(SearchEntriesTest, RemovingAllFavouritesAsksFirstAndClearsEveryFlag) {
    addEntry({today_.addDays(-1), QStringLiteral("昨一"), QStringLiteral("b"), 50, true});
    addEntry({today_, QStringLiteral("今一"), QStringLiteral("b"), 50, false});
    addEntry({today_, QStringLiteral("今二"), QStringLiteral("b"), 50, true});
    frmRetrieval* p = openSearch();
    clickTreeNode(p, QStringLiteral("收藏"));

    gMsgBoxSeam::pushAnswer(gMsgResult::No);
    QTest::mouseClick(p->removeAllFavouritesLink, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::ConfirmRemoveAllFavourites});
    EXPECT_EQ(rows(p->favouritesList), (QStringList{"1 昨一", "2 今二"}));
    EXPECT_EQ(rowsOf(today_), (QList<QPair<QString, bool>>{{"今一", false}, {"今二", true}}));

    gMsgBoxSeam::pushAnswer(gMsgResult::Yes);
    QTest::mouseClick(p->removeAllFavouritesLink, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(rowsOf(today_.addDays(-1)), (QList<QPair<QString, bool>>{{"昨一", false}}));
    EXPECT_EQ(rowsOf(today_), (QList<QPair<QString, bool>>{{"今一", false}, {"今二", false}}));
    EXPECT_TRUE(shown(p->noFavouritesLabel, p));
    EXPECT_FALSE(shown(p->favouritesList, p));
    EXPECT_EQ(gConnection.transactionLevel(), 0);
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
}

TEST_F(SearchEntriesTest, DoubleClickingAFavouriteOpensItOnTheReviewPage) {
    addEntry({today_.addDays(-5), QStringLiteral("一"), QStringLiteral("b"), 50, false});
    addEntry({today_.addDays(-5), QStringLiteral("二"), QStringLiteral("b"), 50, true});
    frmRetrieval* p = searchFromMain();
    ASSERT_NE(p, nullptr);
    clickTreeNode(p, QStringLiteral("收藏"));
    QTreeView* lv = p->favouritesList;
    settle(lv);
    const QPoint first = lv->visualRect(lv->model()->index(0, 0)).center();
    // The first click of a double click presses the row; the second is the double click.
    QTest::mouseClick(lv->viewport(), Qt::LeftButton, {}, first);
    QTest::mouseDClick(lv->viewport(), Qt::LeftButton, {}, first);
    pumpEvents();
    frmReview* r = review();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(gDayIndex, 2);
    EXPECT_EQ(r->titleView->toPlainText(), QStringLiteral("二"));
}

TEST_F(SearchEntriesTest, TheLinksSwitchPages) {
    frmRetrieval* p = searchFromMain();
    ASSERT_NE(p, nullptr);
    QTest::mouseClick(p->backLink, Qt::LeftButton, {}, QPoint(3, 3));
    pumpEvents();
    EXPECT_EQ(search(), nullptr);
    ASSERT_FALSE(reviewVisits().isEmpty());
    EXPECT_EQ(reviewVisits().last().name, QStringLiteral("frmWelcome"));
}
