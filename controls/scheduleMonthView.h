#pragma once
#include "core/ui/gDiaryMarks.h"

#include <QDate>
#include <QSet>
#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;
class scheduleCommand;

// A fixed-size month calendar (2600 × 2300 twips): a header with the year and
// the month (each editable in place by a click on it) and buttons for the
// previous month, today and the next month, over a six-week grid of 42 days,
// Sunday first. Days of the shown month are black, the others grey; today and
// the selected day carry a frame, the day under the pointer a hover frame, and
// days the host marks are bold.
//
// The date model (the current date, which also decides the month shown, the
// bold flags and the allowed range) is the calendar's own; the grid is redrawn
// when Value is set, by the buttons, a day click and a committed entry, each of
// which raises SelChange first. Month, Day, Year, MinDate, MaxDate and dayBold
// only change the model (dayBold also the one cell of its date).
//
// From the keyboard: Tab reaches the three buttons and the grid of days; in
// the grid Left and Right move the current date a day, Up and Down a week,
// Page Up and Page Down a month, each raising SelChange and redrawing the
// grid; nothing happens at the ends of the range.
//
// Errors: a date outside MinDate..MaxDate, or a day, month or year the calendar
// cannot take, raises error 380 and changes nothing.
class scheduleMonthView : public QWidget, public gDayMarkView {
    Q_OBJECT
public:
    explicit scheduleMonthView(QWidget* parent = nullptr);

    // The current date; setting it redraws the grid (SelChange first).
    QDate Value() const { return value_; }
    void setValue(const QDate& value);
    // The month shown, 1..12. A month that lacks the current day takes the
    // month's last day instead (31 March becomes 30 April).
    int Month() const { return value_.month(); }
    void setMonth(int month);
    qint16 Day() const { return qint16(value_.day()); }
    void setDay(int day);
    // Setting a year without the current 29 February gives 28 February.
    qint16 Year() const { return qint16(value_.year()); }
    void setYear(int year);
    // The range allowed; 1753-01-01 .. 9999-12-31 unless a host narrows it.
    QDate MinDate() const { return min_; }
    void setMinDate(const QDate& d);
    QDate MaxDate() const { return max_; }
    void setMaxDate(const QDate& d);

    bool dayBold(const QDate& dateIndex) const override;
    // Sets the calendar's flag, then the bold state of the first cell showing that date.
    void setDayBold(const QDate& dateIndex, bool isBold) override;
    // The date of cell sIndex, 1..42; anything else raises error 380.
    QDate VisibleDays(int sIndex) const override;

    // The children, as a host or a test reaches them.
    QLabel* headerStrip = nullptr;
    scheduleCommand* previousMonthButton = nullptr;
    scheduleCommand* nextMonthButton = nullptr;
    scheduleCommand* todayButton = nullptr;
    QLabel* yearLabel = nullptr;
    QLabel* monthLabel = nullptr;
    QLabel* yearUnitLabel = nullptr;  // "年"
    QLabel* monthUnitLabel = nullptr; // "月"
    QLineEdit* yearEdit = nullptr;    // in place over the year
    QLineEdit* monthEdit = nullptr;   // in place over the month
    QWidget* gridPane = nullptr;
    std::array<QLabel*, 7> weekdayLabels{};
    std::array<QLabel*, 43> dayCells{}; // 1..42; [0] unused
    QLabel* todayFrame = nullptr;
    QLabel* selectedFrame = nullptr;
    QLabel* hoverFrame = nullptr;

    // The cells marked by the last redraw (0 for none).
    int todayCell() const { return todayCell_; }
    int selectedCell() const { return selectedCell_; }

Q_SIGNALS:
    // Raised before each redraw; what the host puts into Cancel is not looked at.
    void SelChange(const QDate& StartDate, const QDate& EndDate, bool& Cancel);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    void refresh(const QDate& startDate, const QDate& endDate, bool& cancel);
    void refresh();
    // The current date moved by whole months (the day lowered as needed);
    // nothing happens at the ends of the range.
    void stepMonth(int delta);
    // The current date moved by days, as the keys move it.
    void stepDays(int days);
    void goToday();
    void dayPressed(int cell);
    void dayHovered(int cell);
    void hideHover(int button, int shift, int x, int y);
    void openBox(QLineEdit* box, int value);
    void commitYear();
    void commitMonth();
    // Moves the current date, checking the range; error 380 when refused.
    void setCurrent(const QDate& d);
    QDate firstVisible() const;
    QPoint framePos(int cell) const;

    QDate value_;
    QDate min_;
    QDate max_;
    QSet<QDate> bold_;
    int todayCell_ = 0;
    int selectedCell_ = 0;
    bool committing_ = false;
};
