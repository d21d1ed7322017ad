// The review page's commands: the page switches it asks for, the favourite
// flag, the print of the body, and the page as the main window shows it.
#include "reviewTestSupport.h"

#include "controls/scheduleCommand.h"
#include "controls/scheduleMonthView.h"
#include "core/ui/gLinkLabel.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gState.h"
#include "diary/frmReview.h"
#include "platform/db/db.h"
#include "shell/frmMain.h"

#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>

class ReviewCommandsTest : public ReviewTest {
protected:
    // The main window on the review page at `day`, entry `index`.
    frmReview* reviewFromMain(const QDate& day, int index) {
        EXPECT_NE(loadMain(), nullptr);
        gDiaryDate = day;
        gDayIndex = index;
        EXPECT_TRUE(gChangeFrame(Page::Review, {.setDiary = true}));
        return review();
    }
    ReviewPageVisit lastVisit() const {
        return reviewVisits().isEmpty() ? ReviewPageVisit{} : reviewVisits().last();
    }
};

TEST_F(ReviewCommandsTest, MainWindowPlacesThePageAndItLoadsTheChosenEntry) {
    addEntry(today_, QStringLiteral("一"), 10);
    addEntry(today_, QStringLiteral("二"), 20);
    frmReview* p = reviewFromMain(today_, 2);
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->isVisible());
    EXPECT_EQ(p->parentWidget(), gMainWindow()->pagePanel);
    EXPECT_EQ(p->titleView->toPlainText(), QStringLiteral("二"));
    EXPECT_EQ(p->bodyView->width(), p->width() - 201); // W - 3015 twips
}

TEST_F(ReviewCommandsTest, AddOpensTheEditorForTheDayAndComesBack) {
    // Also on a day without entries.
    frmReview* p = reviewFromMain(today_.addDays(3), 1);
    ASSERT_NE(p, nullptr);
    reviewVisits().clear();
    press(p->addLink);
    pumpEvents();
    const ReviewPageVisit v = lastVisit();
    EXPECT_EQ(v.name, QStringLiteral("frmNew"));
    EXPECT_TRUE(v.setDiary);
    EXPECT_FALSE(v.editMode);
    EXPECT_TRUE(v.returnReview);
    EXPECT_EQ(v.diaryDate, today_.addDays(3));
    EXPECT_EQ(review(), nullptr);
}

TEST_F(ReviewCommandsTest, EditOpensTheShownEntry) {
    addEntry(today_, QStringLiteral("一"), 10);
    addEntry(today_, QStringLiteral("二"), 20);
    frmReview* p = reviewFromMain(today_, 1);
    ASSERT_NE(p, nullptr);
    press(p->nextEntryButton);
    reviewVisits().clear();
    press(p->editLink);
    pumpEvents();
    const ReviewPageVisit v = lastVisit();
    EXPECT_EQ(v.name, QStringLiteral("frmNew"));
    EXPECT_TRUE(v.setDiary);
    EXPECT_TRUE(v.editMode);
    EXPECT_TRUE(v.returnReview);
    EXPECT_EQ(v.dayIndex, 2);
    EXPECT_EQ(gDayTitles.value(2), QStringLiteral("二"));
    EXPECT_EQ(gDayScores.value(2), 20);
}

TEST_F(ReviewCommandsTest, BackGoesHomeOnTheSelectedDay) {
    frmReview* p = reviewFromMain(today_, 1);
    ASSERT_NE(p, nullptr);
    p->monthView->setValue(QDate(2026, 1, 9));
    reviewVisits().clear();
    press(p->backLink);
    pumpEvents();
    const ReviewPageVisit v = lastVisit();
    EXPECT_EQ(v.name, QStringLiteral("frmWelcome"));
    EXPECT_TRUE(v.setDiary);
    EXPECT_FALSE(v.editMode);
    EXPECT_FALSE(v.returnReview);
    EXPECT_EQ(v.diaryDate, QDate(2026, 1, 9));
}

TEST_F(ReviewCommandsTest, CommandsAnswerTheLeftButtonOnly) {
    addEntry(today_, QStringLiteral("一"), 10);
    frmReview* p = reviewFromMain(today_, 1);
    ASSERT_NE(p, nullptr);
    reviewVisits().clear();
    for (gLinkLabel* l :
         {p->addLink, p->editLink, p->deleteLink, p->favouriteLink, p->printLink, p->backLink})
        press(l, Qt::RightButton);
    pumpEvents();
    EXPECT_TRUE(reviewVisits().isEmpty());
    EXPECT_TRUE(gMsgBoxSeam::shown().isEmpty());
    EXPECT_EQ(reviewPrints().dialogs, 0);
    EXPECT_EQ(review(), p);
}

TEST_F(ReviewCommandsTest, EntryCommandsDoNothingOnAnEmptyDay) {
    frmReview* p = openReview();
    // The links are disabled: a click on them reaches no command.
    for (gLinkLabel* l : {p->editLink, p->deleteLink, p->favouriteLink}) {
        EXPECT_FALSE(l->isEnabled());
        press(l);
    }
    EXPECT_TRUE(gMsgBoxSeam::shown().isEmpty());
    EXPECT_TRUE(reviewVisits().isEmpty());
}

TEST_F(ReviewCommandsTest, FavouriteSetsTheFlagOfTheShownEntryAfterAYes) {
    addEntry(today_, QStringLiteral("一"), 10);
    addEntry(today_, QStringLiteral("二"), 20);
    addEntry(today_.addDays(1), QStringLiteral("别的"), 20);
    frmReview* p = openReview();
    press(p->nextEntryButton);

    gMsgBoxSeam::pushAnswer(gMsgResult::No);
    press(p->favouriteLink);
    ASSERT_EQ(gMsgBoxSeam::shownIds(), QList<int>{Msg::ConfirmAddFavourite});
    EXPECT_EQ(gMsgBoxSeam::shown().last().buttonSet, gButtonSet::YesNo);
    EXPECT_EQ(rowsOf(today_), (QList<QPair<QString, bool>>{{"一", false}, {"二", false}}));

    gMsgBoxSeam::pushAnswer(gMsgResult::Yes);
    press(p->favouriteLink);
    EXPECT_EQ(rowsOf(today_), (QList<QPair<QString, bool>>{{"一", false}, {"二", true}}));
    EXPECT_EQ(rowsOf(today_.addDays(1)), (QList<QPair<QString, bool>>{{"别的", false}}));
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
}

TEST_F(ReviewCommandsTest, PrintSendsTheWholeBodyWithoutTheTitle) {
    addEntry(ReviewEntry{today_, QStringLiteral("标题不打印"), QStringLiteral("第一段\r\n第二段"), 50});
    frmReview* p = openReview();
    press(p->printLink);
    EXPECT_EQ(reviewPrints().dialogs, 1);
    EXPECT_FALSE(reviewPrints().selectionOffered);
    EXPECT_EQ(reviewPrints().printed, QStringList{QStringLiteral("第一段\n第二段")});
}

TEST_F(ReviewCommandsTest, PrintSendsOnlyTheSelection) {
    addEntry(ReviewEntry{today_, QStringLiteral("标题"), QStringLiteral("前面选中后面"), 50});
    frmReview* p = openReview();
    QTextCursor c(p->bodyView->document());
    c.setPosition(2);
    c.setPosition(4, QTextCursor::KeepAnchor);
    p->bodyView->setTextCursor(c);
    press(p->printLink);
    EXPECT_TRUE(reviewPrints().selectionOffered);
    EXPECT_EQ(reviewPrints().printed, QStringList{QStringLiteral("选中")});
}

TEST_F(ReviewCommandsTest, CancelledPrintDialogPrintsNothing) {
    addEntry(today_, QStringLiteral("标题"), 50);
    frmReview* p = openReview();
    reviewPrints().answer = false;
    press(p->printLink);
    EXPECT_EQ(reviewPrints().dialogs, 1);
    EXPECT_TRUE(reviewPrints().printed.isEmpty());
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
}

TEST_F(ReviewCommandsTest, PrintFailureIsPassedOver) {
    addEntry(today_, QStringLiteral("标题"), 50);
    frmReview* p = openReview();
    reviewPrintSeam::set([](bool) { return true; },
                         [](const QTextDocument&) { throw std::runtime_error("printer gone"); });
    press(p->printLink);
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
    EXPECT_EQ(review(), p);
}

TEST_F(ReviewCommandsTest, PrintOnAnEmptyDayPrintsAnEmptyBody) {
    frmReview* p = openReview();
    press(p->printLink);
    EXPECT_EQ(reviewPrints().printed, QStringList{QString()});
}
