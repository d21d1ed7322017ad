// The week view at the main window's default, smallest and a large size: every
// period can be scrolled to with the wheel and the keys, the date line and the
// week buttons stay clear of the grid, and the grid grows with the page.
#include "todayClassesFixture.h"

#include "controls/scheduleBackground.h"
#include "controls/scheduleCommand.h"
#include "controls/scheduleTable.h"
#include "core/ui/gTwips.h"
#include "timetable/frmSchedule.h"
#include "timetable/scheduleCoursePanes.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {
const QSize kDefault(780, 580), kSmallest(655, 505), kLarge(1280, 900);

std::string sizeName(QSize s) {
    return std::to_string(s.width()) + "x" + std::to_string(s.height());
}

class SchedulePageFit : public SchedulePageTest {
protected:
    // `n` periods of 25 minutes every half hour from 06:00.
    static void periods(int n) {
        for (int p = 1; p <= n; ++p)
            addRow(QStringLiteral("Row"), {{"Name", QStringLiteral("第%1节").arg(p)},
                                           {"ClassBeginTime", 360 + (p - 1) * 30},
                                           {"ClassEndTime", 385 + (p - 1) * 30},
                                           {"RowIsVisible", true}});
    }
    // The page as the main window of that size shows it.
    void showAt(QSize window) {
        page_->resize(timetablePageSize(window));
        QCoreApplication::processEvents();
    }
    QScrollArea* area() const { return page_->weekArea; }
    QScrollBar* bar() const { return area()->verticalScrollBar(); }
    // Whether the card lies wholly in the part of the grid the area shows.
    bool seen(scheduleBackground* card) const {
        const QRect r(card->mapTo(area()->viewport(), QPoint(0, 0)), card->size());
        return area()->viewport()->rect().contains(r);
    }
    // A turn of the wheel over the card, as the window system delivers it.
    static void wheel(QWidget* over, int delta) {
        const QPointF at(over->width() / 2.0, over->height() / 2.0);
        QWheelEvent e(at, over->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        // Delivered as QTest delivers its key events: through sendEvent it would
        // count as the program's own, which Qt gives the widget alone, never its parents.
        QSpontaneKeyEvent::setSpontaneous(&e);
        qApp->notify(over, &e);
    }
    void key(Qt::Key k) { QTest::keyClick(page_->windowHandle(), k); }
};

TEST_F(SchedulePageFit, EveryPeriodCanBeScrolledToByWheelAndKeys) {
    periods(30);
    addCourse(QStringLiteral("早读"), QStringLiteral("A101"), 1, QStringLiteral("01"));
    addCourse(QStringLiteral("晚自习"), QStringLiteral("B204"), 1, QStringLiteral("30"));
    open();
    ASSERT_EQ(page_->weekGrid->cardCount(), 2);
    for (QSize window : {kDefault, kSmallest, kLarge}) {
        SCOPED_TRACE(sizeName(window));
        showAt(window);
        scheduleBackground* first = page_->weekGrid->card(1);
        scheduleBackground* last = page_->weekGrid->card(2);
        ASSERT_TRUE(bar()->isVisible());
        EXPECT_FALSE(area()->horizontalScrollBar()->isVisible());
        // The date line and the week buttons lie under the grid's area, inside the pane.
        for (QWidget* w :
             {static_cast<QWidget*>(page_->weekDateLabel), static_cast<QWidget*>(page_->previousWeekButton),
              static_cast<QWidget*>(page_->nextWeekButton)}) {
            EXPECT_FALSE(w->geometry().intersects(area()->geometry())) << w->objectName().toStdString();
            EXPECT_TRUE(page_->weekPane->rect().contains(w->geometry())) << w->objectName().toStdString();
        }
        EXPECT_TRUE(page_->weekPane->rect().contains(area()->geometry()));

        // Page Down to the end, where the last period's card shows; Page Up back.
        bar()->setValue(0);
        EXPECT_TRUE(seen(first));
        EXPECT_FALSE(seen(last));
        for (int i = 0; i < 40 && bar()->value() < bar()->maximum(); ++i)
            key(Qt::Key_PageDown);
        EXPECT_EQ(bar()->value(), bar()->maximum());
        EXPECT_TRUE(seen(last));
        for (int i = 0; i < 40 && bar()->value() > 0; ++i)
            key(Qt::Key_PageUp);
        EXPECT_EQ(bar()->value(), 0);
        // The arrow keys step.
        key(Qt::Key_Down);
        EXPECT_GT(bar()->value(), 0);
        key(Qt::Key_Up);
        EXPECT_EQ(bar()->value(), 0);

        // The wheel over a card scrolls the grid beneath it.
        wheel(first, -120);
        const int step = bar()->value();
        EXPECT_GT(step, 0);
        for (int i = 0; i < 200 && bar()->value() < bar()->maximum(); ++i)
            wheel(page_->weekGrid, -120);
        EXPECT_TRUE(seen(last));
        wheel(last, 120);
        EXPECT_EQ(bar()->value(), bar()->maximum() - step);
    }
}

TEST_F(SchedulePageFit, TheGridGrowsWithThePageFromItsDesignedSizes) {
    addCourse(QStringLiteral("高等数学"), QStringLiteral("A101"), 3, QStringLiteral("0304"));
    open();
    scheduleTable* t = page_->weekGrid;
    QSize defaultCard;
    for (QSize window : {kDefault, kLarge, kSmallest, kDefault}) {
        SCOPED_TRACE(sizeName(window));
        showAt(window);
        const QRect shown = area()->viewport()->rect();
        EXPECT_GE(t->colWidth(1), 900);
        EXPECT_GE(t->rowHeight(1), 450);
        for (int c = 2; c <= 7; ++c)
            EXPECT_EQ(t->colWidth(c), t->colWidth(1)) << c;
        for (int r = 2; r < t->rows(); ++r)
            EXPECT_EQ(t->rowHeight(r), t->rowHeight(1)) << r;
        EXPECT_FALSE(area()->horizontalScrollBar()->isVisible());
        if (window == kSmallest) {
            // The ten periods at their least height: one period more than the room.
            EXPECT_TRUE(bar()->isVisible());
            EXPECT_EQ(t->rowHeight(1), 450);
        } else {
            // The grid fills the room, bar the pixels that do not share out evenly.
            EXPECT_FALSE(bar()->isVisible());
            EXPECT_LE(t->width(), shown.width());
            EXPECT_LE(t->height(), shown.height());
            EXPECT_GT(t->width(), shown.width() - 8);
            EXPECT_GT(t->height(), shown.height() - 11);
        }
        // The card covers its two periods at whatever size they have now.
        ASSERT_EQ(t->cardCount(), 1);
        EXPECT_EQ(t->card(1)->geometry(), t->mergedRect(3, 3));
        if (window == kDefault) defaultCard = t->card(1)->size();
        if (window == kLarge) {
            EXPECT_GT(t->card(1)->width(), defaultCard.width() * 3 / 2);
            EXPECT_GT(t->card(1)->height(), defaultCard.height() * 3 / 2);
        }
    }
}

} // namespace

namespace {

// The course list takes a third of a wide pane: a long name reads whole at a large window.
TEST_F(SchedulePageFit, TheCourseListWidensWithThePage) {
    addCourse(QStringLiteral("Introduction to Macroeconomics"), QStringLiteral("A101"), 1,
              QStringLiteral("01"));
    open();
    menu(SchedulePane::AllCourses);
    QListWidget* names = page_->courseListPane->courseList;
    showAt(kSmallest);
    EXPECT_EQ(names->width(), gPx(2800));
    EXPECT_TRUE(names->horizontalScrollBar()->isVisible()) << "the long name is wider than the list";
    showAt(kLarge);
    EXPECT_GT(names->width(), gPx(2800) * 3 / 2);
    EXPECT_FALSE(names->horizontalScrollBar()->isVisible());
    EXPECT_LE(names->visualItemRect(names->item(0)).right(), names->viewport()->width());
    // The details lie beside it, inside the pane.
    QWidget* details = page_->courseListPane->detailsText;
    EXPECT_GT(details->x(), names->geometry().right());
    EXPECT_TRUE(page_->courseListPane->rect().contains(details->geometry()));
}

} // namespace
