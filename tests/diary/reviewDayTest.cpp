// The review page's chosen day: the entries it loads into the shared arrays,
// what it shows of them, the bold marks, the counter and the score bars.
#include "reviewTestSupport.h"

#include "controls/scheduleCommand.h"
#include "controls/scheduleMonthView.h"
#include "core/ui/gLinkLabel.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gResIds.h"
#include "core/ui/gResources.h"
#include "core/model/gState.h"
#include "core/ui/gTwips.h"
#include "diary/frmReview.h"
#include "platform/db/db.h"
#include "platform/rtf/rtf.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

namespace {

QString bodyText(frmReview* p) {
    return p->bodyView->toPlainText();
}

// Every label, bar and button that a day of several entries shows.
void expectSeveralShown(frmReview* p, bool several) {
    for (QWidget* w :
         {static_cast<QWidget*>(p->severalEntriesLabel), static_cast<QWidget*>(p->entryCounterLabel),
          static_cast<QWidget*>(p->averageBarCaption), static_cast<QWidget*>(p->averageValueLabel),
          static_cast<QWidget*>(p->averageBar), static_cast<QWidget*>(p->averageBarFrame),
          static_cast<QWidget*>(p->previousEntryButton), static_cast<QWidget*>(p->nextEntryButton)})
        EXPECT_EQ(w->isVisible(), several) << w->objectName().toStdString();
}

} // namespace

TEST_F(ReviewTest, DayWithoutEntriesShowsTheEmptyState) {
    addEntry(today_.addDays(-1), QStringLiteral("昨天"), 60);
    frmReview* p = openReview();
    EXPECT_EQ(gDiaryDate, today_);
    EXPECT_EQ(p->titleView->toPlainText(), QStringLiteral("没有选择日记。"));
    EXPECT_TRUE(bodyText(p).isEmpty());
    for (QWidget* w : {static_cast<QWidget*>(p->scoreCaption), static_cast<QWidget*>(p->scoreBarCaption),
                       static_cast<QWidget*>(p->scoreValueLabel), static_cast<QWidget*>(p->scoreBar),
                       static_cast<QWidget*>(p->scoreBarFrame)})
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    expectSeveralShown(p, false);
    EXPECT_FALSE(p->editLink->isEnabled());
    EXPECT_FALSE(p->deleteLink->isEnabled());
    EXPECT_FALSE(p->favouriteLink->isEnabled());
    EXPECT_TRUE(p->addLink->isEnabled());
    EXPECT_TRUE(p->printLink->isEnabled());
    EXPECT_TRUE(p->backLink->isEnabled());
}

TEST_F(ReviewTest, EmptyDayLeavesTheLastLoadedDayInTheArrays) {
    addEntry(today_, QStringLiteral("今天"), 40);
    frmReview* p = openReview();
    ASSERT_EQ(gDayCount, 1);
    p->monthView->setValue(today_.addDays(2));
    EXPECT_EQ(gDiaryDate, today_.addDays(2));
    EXPECT_EQ(gDayCount, 1);
    EXPECT_EQ(gDayTitles.value(1), QStringLiteral("今天"));
    EXPECT_EQ(gDayIndex, 1);
}

TEST_F(ReviewTest, DayWithOneEntryShowsItsBarButNoCounter) {
    addEntry(ReviewEntry{today_, QStringLiteral("一个标题"), QStringLiteral("第一行\r\n第二行"), 64});
    frmReview* p = openReview();
    EXPECT_EQ(p->titleView->toPlainText(), QStringLiteral("一个标题"));
    EXPECT_EQ(bodyText(p), QStringLiteral("第一行\n第二行"));
    EXPECT_EQ(p->scoreValueLabel->text(), QStringLiteral("64"));
    for (QWidget* w : {static_cast<QWidget*>(p->scoreCaption), static_cast<QWidget*>(p->scoreBarCaption),
                       static_cast<QWidget*>(p->scoreValueLabel), static_cast<QWidget*>(p->scoreBar),
                       static_cast<QWidget*>(p->scoreBarFrame)})
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
    expectSeveralShown(p, false);
    EXPECT_TRUE(p->editLink->isEnabled());
    EXPECT_TRUE(p->deleteLink->isEnabled());
    EXPECT_TRUE(p->favouriteLink->isEnabled());

    EXPECT_EQ(gDayCount, 1);
    EXPECT_EQ(gDayIndex, 1);
    EXPECT_EQ(gDayTitles.value(1), QStringLiteral("一个标题"));
    EXPECT_EQ(gDayTexts.value(1), QStringLiteral("第一行\r\n第二行"));
    EXPECT_TRUE(rtf::isRtf(gDayRTFs.value(1)));
    EXPECT_EQ(gDayScores.value(1), 64);
}

TEST_F(ReviewTest, SeveralEntriesFillTheArraysInTableOrderAndShowTheAverage) {
    addEntry(today_, QStringLiteral("早上"), 70, QStringLiteral("早"));
    addEntry(today_.addDays(1), QStringLiteral("明天"), 10);
    addEntry(today_, QStringLiteral("晚上"), 85, QStringLiteral("晚"));
    frmReview* p = openReview();
    ASSERT_EQ(gDayCount, 2);
    EXPECT_EQ(gDayTitles.value(1), QStringLiteral("早上"));
    EXPECT_EQ(gDayTitles.value(2), QStringLiteral("晚上"));
    EXPECT_EQ(gDayTexts.value(2), QStringLiteral("晚"));
    EXPECT_EQ(gDayScores.value(1), 70);
    EXPECT_EQ(gDayScores.value(2), 85);
    EXPECT_EQ(gDayTitles.size(), 3); // 1-based
    EXPECT_EQ(p->dayScoreSum(), 155);

    expectSeveralShown(p, true);
    EXPECT_EQ(p->averageValueLabel->text(), QStringLiteral("77")); // rounded down
    EXPECT_EQ(p->averageBarTarget(), 2002);                        // Int(77 / 100 * 2600)
    EXPECT_EQ(p->scoreBarTarget(), 1820);
    EXPECT_EQ(p->entryCounterLabel->text(), QStringLiteral("  1 / 2"));
    EXPECT_EQ(p->titleView->toPlainText(), QStringLiteral("早上"));

    settleBars(p);
    EXPECT_EQ(p->scoreBarWidth(), 1820);
    EXPECT_EQ(p->averageBarWidth(), 2002);
    EXPECT_EQ(p->scoreBar->width(), gPx(1820));
    EXPECT_EQ(p->averageBar->width(), gPx(2002));
}

TEST_F(ReviewTest, PreviousAndNextWrapAroundTheDay) {
    for (int i = 1; i <= 3; ++i)
        addEntry(today_, QStringLiteral("第%1篇").arg(i), i * 10);
    frmReview* p = openReview();
    press(p->previousEntryButton);
    EXPECT_EQ(gDayIndex, 3);
    EXPECT_EQ(p->titleView->toPlainText(), QStringLiteral("第3篇"));
    EXPECT_EQ(p->entryCounterLabel->text(), QStringLiteral("  3 / 3"));
    EXPECT_EQ(p->scoreValueLabel->text(), QStringLiteral("30"));
    EXPECT_EQ(p->scoreBarTarget(), 780);
    press(p->nextEntryButton);
    EXPECT_EQ(gDayIndex, 1);
    press(p->nextEntryButton);
    EXPECT_EQ(gDayIndex, 2);
    EXPECT_EQ(p->titleView->toPlainText(), QStringLiteral("第2篇"));

    // Only the left button moves, through the button's own mouse handling.
    QTest::mouseClick(p->nextEntryButton, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(gDayIndex, 2);
    QTest::mouseClick(p->nextEntryButton, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(gDayIndex, 3);
    QTest::mouseClick(p->previousEntryButton, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(gDayIndex, 2);
}

TEST_F(ReviewTest, OpeningWithSetDiaryShowsTheCallersEntry) {
    const QDate day(2026, 2, 3);
    addEntry(day, QStringLiteral("一"), 10);
    addEntry(day, QStringLiteral("二"), 20);
    gDiaryDate = day;
    gDayIndex = 2;
    frmReview* p = openReview(true);
    EXPECT_EQ(p->monthView->Value(), day);
    EXPECT_EQ(gDayIndex, 2);
    EXPECT_EQ(p->titleView->toPlainText(), QStringLiteral("二"));
    EXPECT_FALSE(gSetDiary); // consumed
    // The next day change starts from the first entry again.
    p->monthView->setValue(day);
    EXPECT_EQ(gDayIndex, 1);
}

TEST_F(ReviewTest, OpeningWithoutSetDiaryShowsTodaysFirstEntry) {
    addEntry(today_, QStringLiteral("一"), 10);
    addEntry(today_, QStringLiteral("二"), 20);
    gDiaryDate = QDate(2025, 1, 1);
    gDayIndex = 2;
    frmReview* p = openReview(false);
    EXPECT_EQ(gDiaryDate, today_);
    EXPECT_EQ(gDayIndex, 1);
    EXPECT_EQ(p->titleView->toPlainText(), QStringLiteral("一"));
}

TEST_F(ReviewTest, PositionTheDayNoLongerHasShowsTheFirstEntry) {
    addEntry(today_, QStringLiteral("一"), 10);
    addEntry(today_, QStringLiteral("二"), 20);
    gDiaryDate = today_;
    gDayIndex = 7;
    frmReview* p = openReview(true);
    EXPECT_EQ(gDayIndex, 1);
    EXPECT_EQ(p->titleView->toPlainText(), QStringLiteral("一"));
}

TEST_F(ReviewTest, DaysWithEntriesAreBoldAcrossTheVisibleCells) {
    frmReview* p = openReview();
    const QDate first = p->monthView->VisibleDays(1);
    const QDate last = p->monthView->VisibleDays(42);
    ASSERT_LT(first, QDate(2026, 3, 1));
    ASSERT_GT(last, QDate(2026, 3, 31));
    forms::unload(Form::frmReview);
    pumpEvents();
    // Neighbouring months' cells are marked too; a day past the grid is not.
    addEntry(first, QStringLiteral("上个月"), 50);
    addEntry(QDate(2026, 3, 5), QStringLiteral("三月"), 50);
    addEntry(last, QStringLiteral("下个月"), 50);
    addEntry(last.addDays(1), QStringLiteral("看不见"), 50);
    p = openReview();
    EXPECT_TRUE(p->monthView->dayBold(first));
    EXPECT_TRUE(p->monthView->dayBold(QDate(2026, 3, 5)));
    EXPECT_TRUE(p->monthView->dayBold(last));
    EXPECT_FALSE(p->monthView->dayBold(last.addDays(1)));
    EXPECT_FALSE(p->monthView->dayBold(today_));
    EXPECT_EQ(p->markedMonth(), 3);
    EXPECT_EQ(p->markedYear(), 2026);
}

TEST_F(ReviewTest, MarksAreReadOncePerMonthShown) {
    frmReview* p = openReview();
    // Written behind the page's back: the same month does not look again, so
    // the day counts as empty whatever the table holds.
    addEntry(QDate(2026, 3, 20), QStringLiteral("后来"), 90);
    p->monthView->setValue(QDate(2026, 3, 20));
    EXPECT_FALSE(p->monthView->dayBold(QDate(2026, 3, 20)));
    EXPECT_EQ(p->titleView->toPlainText(), QStringLiteral("没有选择日记。"));

    // Another month marks afresh, and coming back marks again.
    p->monthView->setValue(QDate(2026, 5, 20));
    EXPECT_EQ(p->markedMonth(), 5);
    p->monthView->setValue(QDate(2026, 3, 20));
    EXPECT_TRUE(p->monthView->dayBold(QDate(2026, 3, 20)));
    EXPECT_EQ(p->titleView->toPlainText(), QStringLiteral("后来"));
    // The same month in another year is another month.
    addEntry(QDate(2025, 3, 20), QStringLiteral("去年"), 90);
    p->monthView->setValue(QDate(2025, 3, 20));
    EXPECT_EQ(p->markedYear(), 2025);
    EXPECT_EQ(p->titleView->toPlainText(), QStringLiteral("去年"));
}

TEST_F(ReviewTest, BoldDayWhoseRowsAreGoneShowsAsEmpty) {
    addEntry(today_, QStringLiteral("一"), 10);
    frmReview* p = openReview();
    gConnection.execute(QStringLiteral("DELETE FROM Diary"));
    p->monthView->setValue(today_);
    EXPECT_EQ(p->titleView->toPlainText(), QStringLiteral("没有选择日记。"));
    EXPECT_FALSE(p->monthView->dayBold(today_));
    EXPECT_FALSE(p->editLink->isEnabled());
}

TEST_F(ReviewTest, BodyKeepsItsFormattingAndIsReadOnly) {
    rtf::Document doc;
    rtf::Run plain{QStringLiteral("平常 "), {}};
    rtf::CharFormat boldFormat;
    boldFormat.bold = true;
    rtf::Run boldRun{QStringLiteral("加粗"), boldFormat};
    doc.paragraphs[0].runs = {plain, boldRun};
    addEntry(ReviewEntry{today_, QStringLiteral("格式"), QStringLiteral("平常 加粗"), 50, false,
                         QString::fromLatin1(rtf::write(doc))});
    frmReview* p = openReview();
    EXPECT_EQ(bodyText(p), QStringLiteral("平常 加粗"));
    QTextCursor c(p->bodyView->document());
    c.setPosition(3); // the format of the character before the position
    EXPECT_FALSE(c.charFormat().font().bold());
    c.setPosition(4);
    EXPECT_TRUE(c.charFormat().font().bold());
    EXPECT_TRUE(p->bodyView->isReadOnly());
    EXPECT_TRUE(p->titleView->isReadOnly());
    QTest::keyClicks(p->bodyView, QStringLiteral("x"));
    EXPECT_EQ(bodyText(p), QStringLiteral("平常 加粗"));
}

TEST_F(ReviewTest, BrokenOrPlainBodiesStillShow) {
    const QStringList bodies = {QStringLiteral("{\\rtf1{{{{{\\b 半截"), QStringLiteral("不是 RTF 的正文"),
                                QStringLiteral("{\\rtf1\\ansi\\uc1\\u-1\\'\\bin99999 x}"), QString()};
    for (const QString& b : bodies)
        addEntry(ReviewEntry{today_, QStringLiteral("坏"), QStringLiteral("x"), 50, false,
                             b.isEmpty() ? QStringLiteral(" ") : b});
    frmReview* p = openReview();
    ASSERT_EQ(gDayCount, bodies.size());
    QStringList shown;
    for (int i = 0; i < bodies.size(); ++i) {
        shown << bodyText(p);
        press(p->nextEntryButton);
    }
    EXPECT_TRUE(shown[0].contains(QStringLiteral("半截")));
    EXPECT_EQ(shown[1], QStringLiteral("不是 RTF 的正文"));
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
}

TEST_F(ReviewTest, BodyFollowsThePagesSize) {
    frmReview* p = openReview();
    p->resize(gPxSize(12000, 7500));
    EXPECT_EQ(p->titleView->geometry(), gPxRect(2880, 0, 12000 - 3015, 600));
    EXPECT_EQ(p->bodyView->geometry(), gPxRect(2880, 600, 12000 - 3015, 7500 - 650));
    EXPECT_EQ(p->monthView->pos(), gPxPoint(0, 720));
    EXPECT_EQ(p->backLink->geometry(), gPxRect(2400, 5520, 360, 180));
}

TEST_F(ReviewTest, LinkLabelsHaveTheHandCursor) {
    // A day with an entry, so every command is live (dead ones show no hand).
    addEntry(today_, QStringLiteral("一"), 10);
    frmReview* p = openReview();
    for (gLinkLabel* l :
         {p->addLink, p->editLink, p->deleteLink, p->favouriteLink, p->printLink, p->backLink})
        EXPECT_EQ(l->cursor().shape(), gLoadResCursor(Res::HandCursor).shape())
            << l->objectName().toStdString();
}

// ---- counter and bar arithmetic ----

TEST(ReviewCounter, SlashStandsAtTheFifthCharacterWhereTheCountLeavesRoom) {
    const struct {
        int index, count;
        const char* text;
    } cases[] = {
        {1, 5, "  1 / 5"},    {1, 12, "  1 / 12"},     {12, 15, " 12 / 15"}, {9, 9, "  9 / 9"},
        {99, 99, " 99 / 99"}, {123, 150, "123 / 150"}, {5, 100, "5 / 100"},  {1, 1, "  1 / 1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(frmReview::counterText(c.index, c.count), QString::fromLatin1(c.text))
            << c.index << " of " << c.count;
}

TEST(ReviewBar, TargetIsTheScoreShareOf2600Twips) {
    const struct {
        double score;
        int target;
    } cases[] = {{50, 1300}, {0, 0}, {100, 2600}, {77, 2002}, {1, 26}, {99, 2574}, {-5, 0}, {250, 2600}};
    for (const auto& c : cases)
        EXPECT_EQ(frmReview::barTarget(c.score), c.target) << c.score;
}

TEST(ReviewBar, EachStepMoves25TwipsAndStopsAtTheTarget) {
    const struct {
        int width, target, next;
        bool stop;
    } cases[] = {
        {1300, 1300, 1300, true}, // there already
        {0, 1300, 25, false},      {1290, 1300, 1300, true}, {1275, 1300, 1300, false},
        {2595, 1300, 2570, false}, {1310, 1300, 1300, true}, {1325, 1300, 1300, false},
        {20, 0, 0, true},          {25, 0, 0, true},         {26, 10, 10, true},
        {2595, 2600, 2600, true},
    };
    for (const auto& c : cases) {
        bool stop = false;
        EXPECT_EQ(frmReview::barStep(c.width, c.target, stop), c.next) << c.width << " to " << c.target;
        EXPECT_EQ(stop, c.stop) << c.width << " to " << c.target;
    }
}

TEST_F(ReviewTest, BarsMoveFromWhereTheyStandToEachNewTarget) {
    addEntry(today_, QStringLiteral("高"), 100);
    addEntry(today_, QStringLiteral("低"), 0);
    frmReview* p = openReview();
    // The first day after the load starts from the design width.
    EXPECT_EQ(p->scoreBarWidth(), 2595);
    EXPECT_TRUE(p->scoreBarTimer->isActive());
    p->scoreBarTimer_Timer();
    EXPECT_EQ(p->scoreBarWidth(), 2600);
    EXPECT_FALSE(p->scoreBarTimer->isActive());
    settleBars(p);
    EXPECT_EQ(p->averageBarWidth(), 1300);

    // The next entry only moves the target; the bar goes on from 2600.
    press(p->nextEntryButton);
    EXPECT_EQ(p->scoreBarTarget(), 0);
    p->scoreBarTimer_Timer();
    EXPECT_EQ(p->scoreBarWidth(), 2575);
    settleBars(p);
    EXPECT_EQ(p->scoreBarWidth(), 0);
    EXPECT_EQ(p->scoreBar->width(), 0);
}
