// The month view: its date model, the header buttons, day clicks, the in-place
// year and month boxes, the frames and the bold marks.
#include "controls/scheduleCommand.h"
#include "controls/scheduleMonthView.h"
#include "core/model/gClock.h"
#include "core/base/gError.h"
#include "core/ui/gMsgBox.h"
#include "testSupport.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {
// A month view in a shown, active window with a second widget to take the focus.
class MonthView : public ::testing::Test {
protected:
    void SetUp() override {
        gMsgBoxSeam::reset();
        gClockSeam::set(QDateTime(QDate(2008, 5, 14), QTime(10, 0)));
        window = std::make_unique<QWidget>();
        window->resize(260, 220);
        view = new scheduleMonthView(window.get());
        other = new QLineEdit(window.get());
        other->move(0, 190);
        QObject::connect(view, &scheduleMonthView::SelChange, view,
                         [this](const QDate& start, const QDate& end, bool& cancel) {
                             events.append({start, end});
                             cancel = true; // ignored by the view
                         });
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override {
        window.reset();
        gClockSeam::reset();
    }

    void show(const QDate& d) {
        view->setValue(d);
        events.clear();
    }
    // A left click as the controls see it: press, then release.
    static void click(QWidget* w, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mousePress(w, b, Qt::NoModifier, QPoint(3, 3));
        QTest::mouseRelease(w, b, Qt::NoModifier, QPoint(3, 3));
    }
    int cellOf(const QDate& d) const {
        for (int i = 1; i <= 42; ++i)
            if (view->VisibleDays(i) == d) return i;
        return 0;
    }
    QPoint frameAt(int cell) const { return view->dayCells[cell]->pos() - QPoint(10, 6); }
    // A pointer move with no button held, delivered straight to the widget.
    static void moveOver(QWidget* w) {
        const QPointF at(2, 2);
        QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    }
    static bool isBold(QLabel* l) { return l->font().bold(); }
    static QColor textColour(QLabel* l) { return l->palette().color(QPalette::WindowText); }

    std::unique_ptr<QWidget> window;
    scheduleMonthView* view = nullptr;
    QLineEdit* other = nullptr;
    QList<QPair<QDate, QDate>> events;
};
} // namespace

TEST_F(MonthView, KeepsItsSizeWhateverTheHostAsks) {
    EXPECT_EQ(view->size(), QSize(173, 153));
    view->resize(400, 300);
    EXPECT_EQ(view->size(), QSize(173, 153));
}

TEST_F(MonthView, GridShowsSixWeeksFromASunday) {
    struct Case {
        QDate shown;
        QDate firstCell;
    };
    const Case cases[] = {
        {QDate(2008, 5, 14), QDate(2008, 4, 27)}, // 1 May 2008 is a Thursday
        {QDate(2015, 2, 10), QDate(2015, 1, 25)}, // 1 February 2015 is a Sunday: a week of January first
        {QDate(2009, 3, 31), QDate(2009, 2, 22)}, // so is 1 March 2009
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown.toString(Qt::ISODate).toStdString());
        show(c.shown);
        EXPECT_EQ(view->VisibleDays(1), c.firstCell);
        EXPECT_EQ(view->VisibleDays(1).dayOfWeek(), 7);
        for (int i = 2; i <= 42; ++i)
            ASSERT_EQ(view->VisibleDays(i), c.firstCell.addDays(i - 1));
        for (int i = 1; i <= 42; ++i) {
            const QDate d = view->VisibleDays(i);
            ASSERT_EQ(view->dayCells[i]->text(), QString::number(d.day()));
            const bool inMonth = d.month() == c.shown.month();
            ASSERT_EQ(textColour(view->dayCells[i]), inMonth ? QColor(0, 0, 0) : QColor(0x80, 0x80, 0x80))
                << i;
        }
        EXPECT_EQ(view->yearLabel->text(), QString::number(c.shown.year()));
        EXPECT_EQ(view->monthLabel->text(), QString::number(c.shown.month()));
    }
    EXPECT_EQ(errorOf([&] { view->VisibleDays(0); }), 380);
    EXPECT_EQ(errorOf([&] { view->VisibleDays(43); }), 380);
}

TEST_F(MonthView, HeaderButtonsStepTheMonth) {
    struct Step {
        QDate from;
        int delta;
        QDate to;
    };
    const Step steps[] = {
        {QDate(2008, 1, 10), -1, QDate(2007, 12, 10)}, {QDate(2008, 12, 10), 1, QDate(2009, 1, 10)},
        {QDate(2008, 1, 31), 1, QDate(2008, 2, 29)},   {QDate(2009, 1, 31), 1, QDate(2009, 2, 28)},
        {QDate(2008, 3, 31), -1, QDate(2008, 2, 29)},  {QDate(2008, 7, 15), 1, QDate(2008, 8, 15)},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.from.toString(Qt::ISODate).toStdString());
        show(s.from);
        click(s.delta < 0 ? view->previousMonthButton : view->nextMonthButton);
        EXPECT_EQ(view->Value(), s.to);
        EXPECT_EQ(view->yearLabel->text(), QString::number(s.to.year()));
        EXPECT_EQ(view->monthLabel->text(), QString::number(s.to.month()));
        ASSERT_EQ(events.size(), 1);
        EXPECT_EQ(events.at(0), qMakePair(s.to, s.to));
        const int cell = cellOf(s.to);
        EXPECT_EQ(view->selectedCell(), cell);
        EXPECT_EQ(view->selectedFrame->pos(), frameAt(cell));
        EXPECT_FALSE(view->dayCells[cell]->autoFillBackground());
    }
}

TEST_F(MonthView, ButtonsActOnALeftReleaseOnly) {
    show(QDate(2008, 6, 1));
    click(view->nextMonthButton, Qt::RightButton);
    click(view->previousMonthButton, Qt::MiddleButton);
    EXPECT_EQ(view->Value(), QDate(2008, 6, 1));
    EXPECT_TRUE(events.isEmpty());

    // The picture sits pressed until the release, then the month changes.
    QTest::mousePress(view->nextMonthButton, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    EXPECT_TRUE(view->nextMonthButton->isPressed());
    EXPECT_EQ(view->Value(), QDate(2008, 6, 1));
    QTest::mouseRelease(view->nextMonthButton, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
    EXPECT_FALSE(view->nextMonthButton->isPressed());
    EXPECT_EQ(view->Value(), QDate(2008, 7, 1));
}

TEST_F(MonthView, ButtonsStopAtTheEndsOfTheRange) {
    view->setMinDate(QDate(2008, 1, 1));
    view->setMaxDate(QDate(2008, 12, 31));
    show(QDate(2008, 1, 20));
    click(view->previousMonthButton);
    EXPECT_EQ(view->Value(), QDate(2008, 1, 20));
    show(QDate(2008, 12, 20));
    click(view->nextMonthButton);
    EXPECT_EQ(view->Value(), QDate(2008, 12, 20));
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
}

TEST_F(MonthView, TodayButtonSelectsTodayAndFramesIt) {
    show(QDate(2007, 2, 3));
    EXPECT_TRUE(view->todayFrame->isHidden()); // today is not in February 2007
    EXPECT_EQ(view->todayCell(), 0);
    click(view->todayButton);
    EXPECT_EQ(view->Value(), QDate(2008, 5, 14));
    EXPECT_EQ(events.size(), 2); // the value set, then once more
    const int cell = cellOf(QDate(2008, 5, 14));
    EXPECT_EQ(view->todayCell(), cell);
    EXPECT_EQ(view->selectedCell(), cell);
    EXPECT_FALSE(view->todayFrame->isHidden());
    EXPECT_EQ(view->todayFrame->pos(), frameAt(cell));
    EXPECT_EQ(view->selectedFrame->pos(), frameAt(cell));
}

TEST_F(MonthView, MarkedCellsGetTheirWhiteBackBeforeTheNextDraw) {
    show(QDate(2008, 5, 20));
    const int today = cellOf(QDate(2008, 5, 14));
    const int selected = cellOf(QDate(2008, 5, 20));
    EXPECT_FALSE(view->dayCells[today]->autoFillBackground());
    EXPECT_FALSE(view->dayCells[selected]->autoFillBackground());
    view->setValue(QDate(2008, 5, 21));
    EXPECT_FALSE(view->dayCells[today]->autoFillBackground());
    EXPECT_TRUE(view->dayCells[selected]->autoFillBackground());
    view->setValue(QDate(2008, 9, 1));
    EXPECT_TRUE(view->dayCells[today]->autoFillBackground());
    EXPECT_TRUE(view->todayFrame->isHidden());
    int transparent = 0;
    for (int i = 1; i <= 42; ++i)
        transparent += view->dayCells[i]->autoFillBackground() ? 0 : 1;
    EXPECT_EQ(transparent, 1); // only 1 September
}

TEST_F(MonthView, ClickOnAGreyDaySwitchesToItsMonth) {
    show(QDate(2008, 5, 14));
    const int cell = 42; // 7 June 2008
    ASSERT_EQ(view->VisibleDays(cell), QDate(2008, 6, 7));
    QTest::mousePress(view->dayCells[cell], Qt::LeftButton);
    EXPECT_EQ(view->Value(), QDate(2008, 6, 7));
    EXPECT_EQ(view->Month(), 6);
    EXPECT_EQ(events.size(), 2);
    const int now = cellOf(QDate(2008, 6, 7));
    EXPECT_EQ(view->selectedCell(), now);
    EXPECT_EQ(view->selectedFrame->pos(), frameAt(now));
    EXPECT_EQ(textColour(view->dayCells[now]), QColor(0, 0, 0));

    // Other buttons choose nothing.
    events.clear();
    QTest::mousePress(view->dayCells[1], Qt::RightButton);
    EXPECT_EQ(view->Value(), QDate(2008, 6, 7));
    EXPECT_TRUE(events.isEmpty());
}

TEST_F(MonthView, HoverFrameFollowsThePointerAndLeavesWithIt) {
    show(QDate(2008, 5, 14));
    EXPECT_TRUE(view->hoverFrame->isHidden());
    moveOver(view->dayCells[10]);
    EXPECT_FALSE(view->hoverFrame->isHidden());
    EXPECT_EQ(view->hoverFrame->pos(), frameAt(10));
    moveOver(view->dayCells[25]);
    EXPECT_EQ(view->hoverFrame->pos(), frameAt(25));
    // Between the cells the frame goes.
    moveOver(view->gridPane);
    EXPECT_TRUE(view->hoverFrame->isHidden());
    moveOver(view->dayCells[3]);
    EXPECT_FALSE(view->hoverFrame->isHidden());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(view, &leave);
    EXPECT_TRUE(view->hoverFrame->isHidden());
}

TEST_F(MonthView, MonthSetLowersTheDayToFit) {
    struct Case {
        QDate from;
        int month;
        QDate to;
    };
    const Case cases[] = {
        {QDate(2008, 3, 31), 4, QDate(2008, 4, 30)},
        {QDate(2008, 1, 31), 2, QDate(2008, 2, 29)},
        {QDate(2007, 1, 31), 2, QDate(2007, 2, 28)},
        {QDate(2007, 1, 15), 11, QDate(2007, 11, 15)},
    };
    for (const auto& c : cases) {
        show(c.from);
        view->setMonth(c.month);
        EXPECT_EQ(view->Value(), c.to);
    }
    // Only Value draws: the month set changed the model, not the grid.
    EXPECT_TRUE(events.isEmpty());
    EXPECT_EQ(view->monthLabel->text(), QStringLiteral("1"));

    show(QDate(2008, 5, 31));
    for (int bad : {0, 13, -1})
        EXPECT_EQ(errorOf([&] { view->setMonth(bad); }), 380);
    EXPECT_EQ(errorOf([&] { view->setDay(32); }), 380);
    EXPECT_EQ(errorOf([&] { view->setValue(QDate(1700, 1, 1)); }), 380);
    EXPECT_EQ(errorOf([&] { view->setValue(QDate()); }), 380);
    EXPECT_EQ(view->Value(), QDate(2008, 5, 31));
    view->setYear(2010);
    EXPECT_EQ(view->Value(), QDate(2010, 5, 31));
    show(QDate(2008, 2, 29));
    view->setYear(2009);
    EXPECT_EQ(view->Value(), QDate(2009, 2, 28));
}

TEST_F(MonthView, YearBoxTakesShortYearsInThisCentury) {
    struct Case {
        const char* typed;
        int year;        // the year after Enter
        bool staysOpen;  // the box is still shown
        const char* box; // what the box then holds
    };
    const Case cases[] = {
        {"8", 2008, false, "8"},
        {"12", 2012, false, "12"},
        {"123", 2123, false, "123"},
        {"1999", 1999, false, "1999"},
        {"  9 ", 2009, false, "9"},
        {"07", 2007, false, "07"},
        {"0", 2000, false, "0"},
        {"abc", 2006, true, "abc"},
        {"20x8", 2006, true, "20x8"},
        {"", 2006, false, ""},
        {"99999", 2006, false, "99999"},
        {"1600", 2006, false, "1600"},
        {"123456789012345678901234567890", 2006, false, "12345678901234567890"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        show(QDate(2006, 5, 14));
        click(view->yearLabel);
        ASSERT_TRUE(view->yearEdit->isVisible());
        EXPECT_EQ(view->yearEdit->text(), QStringLiteral("2006"));
        EXPECT_EQ(view->yearEdit->selectedText(), QStringLiteral("2006"));
        QTRY_VERIFY(view->yearEdit->hasFocus());
        view->yearEdit->setText(QString::fromLatin1(c.typed));
        QTest::keyClick(view->yearEdit, Qt::Key_Return);
        EXPECT_EQ(view->Year(), c.year);
        EXPECT_EQ(view->yearLabel->text(), QString::number(c.year));
        EXPECT_EQ(view->yearEdit->isVisible(), c.staysOpen);
        EXPECT_EQ(view->yearEdit->text(), QString::fromLatin1(c.box));
        EXPECT_EQ(events.size(), c.year != 2006 ? 1 : 0);
        view->yearEdit->hide();
    }
}

TEST_F(MonthView, MonthBoxTakesOneToTwelve) {
    struct Case {
        const char* typed;
        QDate value;
        bool staysOpen;
    };
    const Case cases[] = {
        {"5", QDate(2008, 5, 31), false},   {"2", QDate(2008, 2, 29), false},
        {"11", QDate(2008, 11, 30), false}, {"13", QDate(2008, 1, 31), false},
        {"0", QDate(2008, 1, 31), false},   {"", QDate(2008, 1, 31), false},
        {"x", QDate(2008, 1, 31), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        show(QDate(2008, 1, 31));
        click(view->monthLabel);
        ASSERT_TRUE(view->monthEdit->isVisible());
        EXPECT_EQ(view->monthEdit->text(), QStringLiteral("1"));
        view->monthEdit->setText(QString::fromLatin1(c.typed));
        QTest::keyClick(view->monthEdit, Qt::Key_Enter);
        EXPECT_EQ(view->Value(), c.value);
        EXPECT_EQ(view->monthEdit->isVisible(), c.staysOpen);
        EXPECT_EQ(view->monthLabel->text(), QString::number(c.value.month()));
        view->monthEdit->hide();
    }
}

TEST_F(MonthView, BoxesCommitWhenTheyLoseTheFocus) {
    show(QDate(2008, 5, 14));
    click(view->yearLabel);
    QTRY_VERIFY(view->yearEdit->hasFocus());
    view->yearEdit->setText(QStringLiteral("11"));
    other->setFocus();
    QTRY_VERIFY(!view->yearEdit->isVisible());
    EXPECT_EQ(view->Year(), 2011);
    EXPECT_EQ(events.size(), 1); // one commit, although hiding the box moved the focus again

    click(view->monthLabel);
    QTRY_VERIFY(view->monthEdit->hasFocus());
    view->monthEdit->setText(QStringLiteral("1x"));
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    EXPECT_TRUE(view->monthEdit->isVisible()); // left open for correction
    EXPECT_EQ(view->Month(), 5);

    // Other keys only type.
    view->monthEdit->setFocus();
    view->monthEdit->setText(QStringLiteral("9"));
    QTest::keyClick(view->monthEdit, Qt::Key_Left);
    QTest::keyClick(view->monthEdit, Qt::Key_1);
    EXPECT_EQ(view->Month(), 5);
}

TEST_F(MonthView, DayBoldMarksTheCellOfItsDate) {
    show(QDate(2008, 5, 14));
    const QDate neighbour(2008, 4, 28); // cell 2, grey
    view->setDayBold(QDate(2008, 5, 3), true);
    view->setDayBold(neighbour, true);
    EXPECT_TRUE(isBold(view->dayCells[cellOf(QDate(2008, 5, 3))]));
    EXPECT_TRUE(isBold(view->dayCells[cellOf(neighbour)]));
    EXPECT_TRUE(view->dayBold(QDate(2008, 5, 3)));

    // A date outside the grid only sets the calendar's flag.
    view->setDayBold(QDate(2008, 8, 8), true);
    int bold = 0;
    for (int i = 1; i <= 42; ++i)
        bold += isBold(view->dayCells[i]) ? 1 : 0;
    EXPECT_EQ(bold, 2);
    EXPECT_TRUE(view->dayBold(QDate(2008, 8, 8)));

    // The flags belong to the dates, so they come back with their month.
    view->setValue(QDate(2008, 8, 1));
    EXPECT_TRUE(isBold(view->dayCells[cellOf(QDate(2008, 8, 8))]));
    EXPECT_FALSE(isBold(view->dayCells[cellOf(QDate(2008, 8, 3))]));
    view->setValue(QDate(2008, 5, 1));
    EXPECT_TRUE(isBold(view->dayCells[cellOf(QDate(2008, 5, 3))]));
    view->setDayBold(QDate(2008, 5, 3), false);
    EXPECT_FALSE(isBold(view->dayCells[cellOf(QDate(2008, 5, 3))]));
    EXPECT_FALSE(view->dayBold(QDate(2008, 5, 3)));
}

TEST_F(MonthView, HostMayMarkDaysInsideSelChange) {
    // The home and review pages mark the new month from their handler; the draw
    // that follows keeps those marks.
    QObject::connect(view, &scheduleMonthView::SelChange, view, [this](const QDate&, const QDate&, bool&) {
        for (int i = 1; i <= 42; ++i)
            view->setDayBold(view->VisibleDays(i), view->VisibleDays(i).day() == 9);
    });
    show(QDate(2008, 5, 14));
    click(view->nextMonthButton);
    for (int i = 1; i <= 42; ++i)
        ASSERT_EQ(isBold(view->dayCells[i]), view->VisibleDays(i).day() == 9) << i;
}

TEST_F(MonthView, TabReachesTheButtonsAndTheDaysWhoseKeysMoveTheDate) {
    show(QDate(2008, 5, 14));
    view->setMinDate(QDate(2008, 1, 1));
    view->setMaxDate(QDate(2008, 12, 31));
    const auto key = [&](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(window->windowHandle(), k, m);
    };
    other->setFocus(Qt::OtherFocusReason);
    QList<QWidget*> stops;
    for (int i = 0; i < 5; ++i) {
        key(Qt::Key_Tab);
        stops.append(QApplication::focusWidget());
    }
    EXPECT_EQ(stops, (QList<QWidget*>{view->previousMonthButton, view->todayButton, view->nextMonthButton,
                                      view->gridPane, other}));
    // The focused button and the focused grid carry a mark.
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), view->gridPane);
    const QImage marked = view->gridPane->grab().toImage();
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_NE(view->gridPane->grab().toImage(), marked);
    key(Qt::Key_Tab);

    struct Case {
        Qt::Key key;
        QDate to;
    };
    const Case cases[] = {
        {Qt::Key_Right, QDate(2008, 5, 15)},   {Qt::Key_Left, QDate(2008, 5, 14)},
        {Qt::Key_Down, QDate(2008, 5, 21)},    {Qt::Key_Up, QDate(2008, 5, 14)},
        {Qt::Key_Down, QDate(2008, 5, 21)},    {Qt::Key_Down, QDate(2008, 5, 28)},
        {Qt::Key_Down, QDate(2008, 6, 4)}, // into the next month, which is then shown
        {Qt::Key_PageDown, QDate(2008, 7, 4)}, {Qt::Key_PageUp, QDate(2008, 6, 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.to.toString(Qt::ISODate).toStdString());
        events.clear();
        key(c.key);
        EXPECT_EQ(view->Value(), c.to);
        EXPECT_EQ(events.size(), 1); // SelChange, then the redraw
        EXPECT_EQ(view->VisibleDays(view->selectedCell()), c.to);
        EXPECT_EQ(view->monthLabel->text(), QString::number(c.to.month()));
    }
    // The ends of the range stop the keys.
    show(QDate(2008, 1, 2));
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    key(Qt::Key_Up);
    key(Qt::Key_PageUp);
    EXPECT_EQ(view->Value(), QDate(2008, 1, 1));
    EXPECT_TRUE(gMsgBoxSeam::errors().isEmpty());
    // Space on a focused button presses it.
    view->nextMonthButton->setFocus(Qt::TabFocusReason);
    key(Qt::Key_Space);
    EXPECT_EQ(view->Value(), QDate(2008, 2, 1));
}
