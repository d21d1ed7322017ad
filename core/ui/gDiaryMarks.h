#pragma once
// What the diary pages share about entries: the bold marks of the days that
// have entries in a month view.
#include <QDate>

// The month view's side of the marking: its 42 visible dates and the bold flag
// of a date. scheduleMonthView provides it; core knows no control.
class gDayMarkView {
public:
    virtual ~gDayMarkView() = default;
    // The date of visible cell sIndex, 1..42 (1 the top-left Sunday).
    virtual QDate VisibleDays(int sIndex) const = 0;
    virtual bool dayBold(const QDate& dateIndex) const = 0;
    virtual void setDayBold(const QDate& dateIndex, bool isBold) = 0;
};

// The month views `MonthView1` of the review page and of the home page, which
// the diary builds above this library; it implements this and registers it
// with its forms.
class gDiaryPages {
public:
    virtual ~gDiaryPages() = default;
    // The loaded review page's month view (fromReview) or the home page's; nullptr
    // when that page is not loaded.
    virtual gDayMarkView* monthView(bool fromReview) const = 0;

    // The registered pages, or nullptr before the diary registered them.
    static gDiaryPages* registered();
    static void setRegistered(gDiaryPages* pages);
};

// Marks bold every visible day of the month view `MonthView1` that has at
// least one entry: the review page's when fromReview is true, else the home
// page's. The page must be loaded (error 91 otherwise).
void gMarkDiaryDays(bool fromReview);
// The same for any month view.
void gMarkDiaryDays(gDayMarkView& view);
