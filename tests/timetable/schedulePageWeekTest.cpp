// The timetable page's week view and slide menu, on a real account database.
#include "todayClassesFixture.h"

#include "controls/scheduleBackground.h"
#include "controls/scheduleCommand.h"
#include "controls/scheduleTable.h"
#include "core/model/clsSchedule.h"
#include "core/model/gClock.h"
#include "core/model/gDatabase.h"
#include "core/ui/gForms.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gState.h"
#include "core/ui/gTwips.h"
#include "core/model/gWeek.h"
#include "timetable/frmSchedule.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class SchedulePageWeekTest : public TodayClassesTest {
protected:
    void TearDown() override {
        page_ = nullptr;
        TodayClassesTest::TearDown();
    }

    // A course as the course editor stores it: periods per weekday ("0203").
    static void course(const QString& name, int begin, int end, int doubleWeek,
                       const QMap<int, QString>& days) {
        QVariantMap f{{"Name", name},         {"Place", "A101"},          {"BeginWeek", begin},
                      {"EndWeek", end},       {"DoubleWeek", doubleWeek}, {"Color", 4},
                      {"UserColor", 14589563}};
        for (int d = 1; d <= 7; ++d)
            f[QStringLiteral("Weekday%1").arg(d)] = days.value(d);
        addRow(QStringLiteral("Course"), f);
    }

    // Loads the model and the page, shown as the main window shows it.
    frmSchedule* open() {
        gTimetable.gGetSchedule();
        page_ = forms::load<frmSchedule>(Form::frmSchedule);
        page_->resize(gPx(9780), gPx(6000));
        page_->show();
        return page_;
    }

    // Number of cards the week shows.
    int cardsInWeek(int week) {
        page_->setShownWeek(week);
        page_->DrawWeek();
        return page_->weekGrid->cardCount();
    }

    static void moveOver(QWidget* w) {
        QMouseEvent e(QEvent::MouseMove, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }
    static void release(QWidget* w, Qt::MouseButton b) {
        QMouseEvent e(QEvent::MouseButtonRelease, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), b,
                      Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }

    frmSchedule* page_ = nullptr;
};

TEST_F(SchedulePageWeekTest, OpensOnTheCurrentWeekWithItsDateLine) {
    // Monday 14 September 2026 is week 2 of the term that began on 7 September.
    open();
    EXPECT_EQ(page_->shownWeek(), 2);
    EXPECT_TRUE(page_->weekPane->isVisible());
    EXPECT_FALSE(page_->basePane->isVisible());
    EXPECT_EQ(page_->weekDateLabel->text(), QStringLiteral("2026 年 09 月 14 日 -  09 月 20 日，第 2 周"));
    EXPECT_EQ(page_->weekGrid->textMatrix(0, 1), gTimetable.Col(1).Name);
    EXPECT_EQ(page_->weekGrid->rows(), gTimetable.rowCount() + 1);
    EXPECT_EQ(page_->weekGrid->textMatrix(1, 0), gTimetable.Row(1).Name);
}

TEST_F(SchedulePageWeekTest, WeekOneBeginsOnTheMondayBeforeAMidweekTermStart) {
    gConnection.execute(QStringLiteral("DELETE FROM Term"));
    addRow(QStringLiteral("Term"), {{"Begin", QDate(2026, 9, 9)}, {"End", QDate(2026, 12, 31)}});
    gClockSeam::set(QDateTime(QDate(2026, 9, 10), QTime(8, 0)));
    open();
    EXPECT_EQ(page_->shownWeek(), 1);
    EXPECT_EQ(page_->weekDateLabel->text(), QStringLiteral("2026 年 09 月 07 日 -  09 月 13 日，第 1 周"));
}

TEST_F(SchedulePageWeekTest, CoursesFollowTheirWeeksAndOddEvenRule) {
    course(QStringLiteral("偶"), 3, 3, 2, {{1, "01"}});
    course(QStringLiteral("单"), 3, 3, 1, {{2, "01"}});
    course(QStringLiteral("每周"), 2, 4, 0, {{3, "01"}});
    open();
    const struct {
        int week;
        int cards;
    } cases[] = {{1, 0}, {2, 1}, {3, 2}, {4, 1}, {5, 0}, {0, 0}, {-1, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(cardsInWeek(c.week), c.cards) << "week " << c.week;
    cardsInWeek(3);
    EXPECT_EQ(page_->weekGrid->textMatrix(1, 1), QString()) << "even-week course in week 3";
    EXPECT_EQ(page_->weekGrid->card(1)->caption(), QStringLiteral("单\r\nA101\r\n3-3 周"));
}

TEST_F(SchedulePageWeekTest, ConsecutivePeriodsMakeOneCardPerRun) {
    course(QStringLiteral("数学"), 1, 16, 0, {{2, "02030407"}, {5, "05"}});
    open();
    scheduleTable* t = page_->weekGrid;
    ASSERT_EQ(t->cardCount(), 3);
    EXPECT_EQ(t->textMatrix(2, 2), QStringLiteral("1"));
    EXPECT_EQ(t->textMatrix(4, 2), QStringLiteral("1"));
    EXPECT_EQ(t->textMatrix(5, 2), QString());
    EXPECT_EQ(t->textMatrix(7, 2), QStringLiteral("2"));
    EXPECT_EQ(t->textMatrix(5, 5), QStringLiteral("3"));
    EXPECT_EQ(t->mergedRect(2, 2), t->mergedRect(4, 2));
    EXPECT_EQ(t->mergedRect(7, 2).height(), t->cellRect(7, 2).height());
    EXPECT_EQ(t->card(1)->color(), 4);
}

TEST_F(SchedulePageWeekTest, APeriodPieceThatIsNoNumberLeavesTheHeaderAlone) {
    // "xx" reads as period 0, the header row.
    course(QStringLiteral("坏"), 1, 16, 0, {{1, "xx02"}});
    open();
    EXPECT_EQ(page_->weekGrid->textMatrix(0, 1), gTimetable.Col(1).Name);
    EXPECT_EQ(page_->weekGrid->cardCount(), 1);
    EXPECT_EQ(page_->weekGrid->textMatrix(2, 1), QStringLiteral("1"));
}

TEST_F(SchedulePageWeekTest, HiddenWeekdaysAndPeriodsHaveZeroSize) {
    for (int i = 1; i <= 7; ++i)
        addRow(QStringLiteral("Col"), {{"Name", QStringLiteral("日%1").arg(i)}, {"ColIsVisible", i != 6}});
    addRow(QStringLiteral("Row"),
           {{"Name", "早"}, {"ClassBeginTime", 480}, {"ClassEndTime", 525}, {"RowIsVisible", true}});
    addRow(QStringLiteral("Row"),
           {{"Name", "晚"}, {"ClassBeginTime", 540}, {"ClassEndTime", 585}, {"RowIsVisible", false}});
    course(QStringLiteral("课"), 1, 16, 0, {{1, "01"}});
    open();
    scheduleTable* t = page_->weekGrid;
    EXPECT_EQ(t->rows(), 3);
    EXPECT_EQ(t->colWidth(6), 0);
    EXPECT_GE(t->colWidth(5), 900);
    EXPECT_EQ(t->colWidth(5), t->colWidth(1));
    EXPECT_GE(t->rowHeight(1), 450);
    EXPECT_EQ(t->rowHeight(2), 0);
    EXPECT_EQ(t->textMatrix(0, 5), QStringLiteral("日5"));
    EXPECT_EQ(t->cardCount(), 1);
}

TEST_F(SchedulePageWeekTest, WeekButtonsStayInsideTheTerm) {
    open();
    const int total = gWeekDiff(gTimetable.Term.TermBegin, gTimetable.Term.TermEnd);
    const struct {
        int from;
        bool next;
        Qt::MouseButton button;
        int to;
    } cases[] = {
        {2, false, Qt::LeftButton, 1},
        {1, false, Qt::LeftButton, 1},
        {2, true, Qt::LeftButton, 3},
        {total, true, Qt::LeftButton, total},
        {total + 3, true, Qt::LeftButton, total + 3},
        {total + 3, false, Qt::LeftButton, total + 2},
        {-2, false, Qt::LeftButton, -2},
        {-2, true, Qt::LeftButton, -1},
        {2, true, Qt::RightButton, 2},
    };
    for (const auto& c : cases) {
        page_->setShownWeek(c.from);
        scheduleCommand* b = c.next ? page_->nextWeekButton : page_->previousWeekButton;
        const QPoint at = b->pictureRect().center();
        QTest::mousePress(b, c.button, {}, at);
        QTest::mouseRelease(b, c.button, {}, at);
        EXPECT_EQ(page_->shownWeek(), c.to) << "from " << c.from << (c.next ? " next" : " previous");
    }
    page_->setShownWeek(2);
    QTest::mouseClick(page_->nextWeekButton, Qt::LeftButton, {},
                      page_->nextWeekButton->pictureRect().center());
    EXPECT_TRUE(page_->weekDateLabel->text().endsWith(QStringLiteral("第 3 周")));
}

TEST_F(SchedulePageWeekTest, MenuSlidesInOverTheArrowAndOutOverThePage) {
    open();
    EXPECT_EQ(page_->menuLeft(), -1600);
    moveOver(page_->menuArrow);
    EXPECT_TRUE(page_->menuOpen());
    EXPECT_TRUE(page_->slideTimer->isActive());
    for (int i = 0; i < 9; ++i)
        page_->slideTimer_Timer();
    EXPECT_EQ(page_->menuLeft(), -160);
    page_->slideTimer_Timer();
    EXPECT_EQ(page_->menuLeft(), 0);
    EXPECT_FALSE(page_->slideTimer->isActive());

    moveOver(page_->weekGrid);
    EXPECT_FALSE(page_->menuOpen());
    ASSERT_TRUE(page_->slideTimer->isActive());
    QTRY_COMPARE_WITH_TIMEOUT(page_->menuLeft(), -1600, 3000);
    EXPECT_FALSE(page_->slideTimer->isActive());
    EXPECT_EQ(page_->menuPanel->pos(), QPoint(gPx(-1600), gPx(840)));
}

TEST_F(SchedulePageWeekTest, HoverHighlightsOneEntryAtATime) {
    open();
    moveOver(page_->menuIcons[0]);
    EXPECT_EQ(page_->hoverTab(), 0);
    EXPECT_TRUE(page_->menuCaptions[0]->font().underline());
    EXPECT_EQ(page_->menuIcons[0]->pixmap().cacheKey(), page_->menuIconHighlights[0].cacheKey());
    moveOver(page_->menuCaptions[1]);
    EXPECT_EQ(page_->hoverTab(), 1);
    EXPECT_FALSE(page_->menuCaptions[0]->font().underline());
    EXPECT_EQ(page_->menuIcons[0]->pixmap().cacheKey(), page_->menuIconPictures[0].cacheKey());
    EXPECT_TRUE(page_->menuCaptions[1]->font().underline());
    moveOver(page_->menuPanel);
    EXPECT_EQ(page_->hoverTab(), -1);
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(page_->menuCaptions[i]->font().underline()) << i;
}

TEST_F(SchedulePageWeekTest, MenuCaptionsSwitchPanes) {
    open();
    const char* captions[] = {"课程表", "基础选项", "新课程", "所有课程"};
    QFrame* frames[] = {page_->weekPane, page_->basePane, page_->courseEditorPane, page_->courseListPane};
    for (int i : {SchedulePane::BaseSettings, SchedulePane::NewCourse, SchedulePane::AllCourses,
                  SchedulePane::Week}) {
        EXPECT_EQ(page_->menuCaptions[i]->text(), QString::fromUtf8(captions[i]));
        release(page_->menuCaptions[i], Qt::RightButton);
        release(page_->menuCaptions[i], Qt::LeftButton);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(frames[k]->isVisible(), k == i) << i << " " << k;
    }
    page_->gChangeFrame(7); // a number that names no pane shows none
    for (QFrame* f : frames)
        EXPECT_FALSE(f->isVisible());
}

TEST_F(SchedulePageWeekTest, EntryPicturesOpenTheirPanesAsTheCaptionsDo) {
    open();
    QFrame* frames[] = {page_->weekPane, page_->basePane, page_->courseEditorPane, page_->courseListPane};
    int shown = SchedulePane::Week;
    for (int i : {SchedulePane::NewCourse, SchedulePane::BaseSettings, SchedulePane::AllCourses,
                  SchedulePane::Week}) {
        release(page_->menuIcons[i], Qt::RightButton);
        EXPECT_TRUE(frames[shown]->isVisible()) << i;
        QTest::mouseClick(page_->menuIcons[i], Qt::LeftButton);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(frames[k]->isVisible(), k == i) << i << " " << k;
        shown = i;
    }
}

TEST_F(SchedulePageWeekTest, TabSlidesTheMenuInAndItsEntriesOpenTheirPanes) {
    open();
    QApplication::setActiveWindow(page_);
    ASSERT_TRUE(QTest::qWaitForWindowActive(page_));
    QFrame* frames[] = {page_->weekPane, page_->basePane, page_->courseEditorPane, page_->courseListPane};
    const auto key = [&](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(page_->windowHandle(), k, m);
    };
    // Shift+Tab from the pane's first control goes back into the menu.
    const auto backTo = [&](QWidget* target) {
        for (int i = 0; i < 80 && QApplication::focusWidget() != target; ++i)
            key(Qt::Key_Backtab, Qt::ShiftModifier);
        return QApplication::focusWidget() == target;
    };
    // The week's buttons come after the menu's entries.
    page_->previousWeekButton->setFocus(Qt::OtherFocusReason);
    ASSERT_FALSE(page_->menuOpen());
    ASSERT_TRUE(backTo(page_->menuCaptions[SchedulePane::AllCourses]));
    // Open at once, so the focused entry is in view.
    EXPECT_TRUE(page_->menuOpen());
    EXPECT_EQ(page_->hoverTab(), SchedulePane::AllCourses);
    EXPECT_EQ(page_->menuLeft(), 0);
    EXPECT_EQ(page_->menuPanel->x(), 0);
    EXPECT_FALSE(page_->menuCaptions[SchedulePane::AllCourses]->visibleRegion().isEmpty());

    struct Case {
        int entry;
        Qt::Key key;
    };
    const Case cases[] = {{SchedulePane::BaseSettings, Qt::Key_Return},
                          {SchedulePane::NewCourse, Qt::Key_Space},
                          {SchedulePane::AllCourses, Qt::Key_Enter}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        ASSERT_TRUE(backTo(page_->menuCaptions[c.entry]));
        EXPECT_TRUE(page_->menuOpen());
        EXPECT_EQ(page_->hoverTab(), c.entry);
        EXPECT_TRUE(page_->menuCaptions[c.entry]->font().underline());
        key(c.key);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(frames[k]->isVisible(), k == c.entry) << k;
        // The pane takes the focus: the menu slides away.
        EXPECT_TRUE(frames[c.entry]->isAncestorOf(QApplication::focusWidget()));
        EXPECT_FALSE(page_->menuOpen());
        EXPECT_EQ(page_->hoverTab(), -1);
    }
    ASSERT_TRUE(backTo(page_->menuCaptions[SchedulePane::Week]));
    key(Qt::Key_Space);
    EXPECT_TRUE(page_->weekPane->isVisible());
    // The week takes the focus too, so its keys scroll it; the menu slides away.
    EXPECT_TRUE(page_->weekPane->isAncestorOf(QApplication::focusWidget()));
    EXPECT_FALSE(page_->menuOpen());
    ASSERT_TRUE(backTo(page_->menuCaptions[SchedulePane::BaseSettings]));
    EXPECT_EQ(page_->menuLeft(), 0);
    // Out of the menu, it slides away.
    page_->previousWeekButton->setFocus(Qt::TabFocusReason);
    EXPECT_FALSE(page_->menuOpen());
    QTRY_COMPARE_WITH_TIMEOUT(page_->menuLeft(), -1600, 3000);
}

TEST_F(SchedulePageWeekTest, HiddenPageKeepsItsStateAndReopensOnTheCurrentWeek) {
    open();
    page_->setShownWeek(6);
    moveOver(page_->menuIcons[2]);
    release(page_->menuCaptions[SchedulePane::AllCourses], Qt::LeftButton);
    // Leaving the page hides it; the next visit comes back to it.
    page_->hide();
    EXPECT_EQ(forms::find(Form::frmSchedule), page_);
    EXPECT_EQ(page_->hoverTab(), 2);
    page_->show();
    EXPECT_EQ(page_->shownWeek(), 2);
    EXPECT_TRUE(page_->weekPane->isVisible());
    EXPECT_FALSE(page_->courseListPane->isVisible());
    EXPECT_EQ(page_->hoverTab(), 2);
}

} // namespace

namespace {

// Before any account's timetable is read the page still opens, on an empty grid.
TEST_F(SchedulePageWeekTest, AnEmptyModelShowsAnEmptyWeek) {
    page_ = forms::load<frmSchedule>(Form::frmSchedule);
    page_->show();
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
    EXPECT_TRUE(page_->weekPane->isVisible());
    EXPECT_EQ(page_->weekGrid->cardCount(), 0);
}

} // namespace
