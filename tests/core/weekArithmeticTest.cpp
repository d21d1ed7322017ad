#include "core/model/gClock.h"
#include "core/model/gWeek.h"
#include "testSupport.h"

#include <gtest/gtest.h>

namespace {

QDate day(const char* iso) {
    return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate);
}

struct WeekCase {
    const char* from;
    const char* to;
    int weeks;
};

class WeekClock : public HomeTest {};

} // namespace

TEST(WeekArithmetic, CountsMondayToSundayWeeksThatPassed) {
    const WeekCase cases[] = {
        // Within one year.
        {"2026-09-07", "2026-09-07", 1},  // a Monday begin: that Monday ...
        {"2026-09-07", "2026-09-13", 1},  // ... to the Sunday is week 1
        {"2026-09-07", "2026-09-14", 2},  // the next Monday is week 2
        {"2026-09-13", "2026-09-14", 2},  // a Sunday begin: the next day already is week 2
        {"2026-09-07", "2026-09-06", 0},  // the day before the term's week
        {"2026-09-07", "2026-08-31", 0},  // the whole week before
        {"2026-03-01", "2026-07-01", 19}, // the default spring term
        // Across a new year.
        {"2026-12-28", "2027-01-03", 1},
        {"2026-12-28", "2027-01-04", 2},
        {"2026-12-31", "2027-01-01", 1},
        {"2026-12-31", "2027-01-04", 2},
        {"2026-09-01", "2027-01-05", 19},
        {"2026-09-01", "2027-01-01", 18}, // the default autumn term
        {"2026-09-01", "2027-01-15", 20},
        {"2027-01-04", "2026-12-27", -1}, // backwards over a new year
        {"2024-09-02", "2026-09-07", 106},
        // Leap years.
        {"2024-02-01", "2024-03-01", 5},
        {"2024-02-26", "2024-03-03", 1},
        {"2024-02-29", "2024-03-04", 2},
        {"2028-02-29", "2028-03-06", 2},
        {"2027-02-28", "2027-03-01", 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(gWeekDiff(day(c.from), day(c.to)), c.weeks) << c.from << " " << c.to;
}

TEST(WeekArithmetic, TermBeginningOnEachWeekday) {
    // 7 September 2026 is a Monday; whatever day of that week the term begins,
    // the days up to Sunday 13th are week 1 and Monday 14th is week 2.
    const QDate monday = day("2026-09-07");
    for (int offset = 0; offset < 7; ++offset) {
        const QDate begin = monday.addDays(offset);
        SCOPED_TRACE(begin.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(gWeekDiff(begin, begin), 1);
        EXPECT_EQ(gWeekDiff(begin, day("2026-09-13")), 1);
        EXPECT_EQ(gWeekDiff(begin, day("2026-09-14")), 2);
        EXPECT_EQ(gWeekDiff(begin, day("2026-09-06")), 0);
        // The same begin weekday a new year later: a December term start.
        const QDate december = day("2026-12-28").addDays(offset);
        EXPECT_EQ(gWeekDiff(december, day("2027-01-03")), 1);
        EXPECT_EQ(gWeekDiff(december, day("2027-01-11")), 3);
    }
}

TEST(WeekArithmetic, InvalidDatesCountNoWeeks) {
    EXPECT_EQ(gWeekDiff(QDate(), day("2026-09-07")), 0);
    EXPECT_EQ(gWeekDiff(day("2026-09-07"), QDate()), 0);
}

TEST_F(WeekClock, WeekOfDateCountsToToday) {
    gClockSeam::set(QDateTime(day("2027-01-05"), QTime(9, 0)));
    EXPECT_EQ(gWeekOfDate(day("2026-09-01")), 19);
    EXPECT_EQ(gWeekOfDate(day("2027-01-04")), 1);
    EXPECT_EQ(gWeekOfDate(day("2027-01-11")), 0);
    gClockSeam::set(QDateTime(day("2026-09-13"), QTime(23, 59)));
    EXPECT_EQ(gWeekOfDate(day("2026-09-07")), 1);
}

TEST(WeekTime, MinutesToTime) {
    const std::pair<int, const char*> cases[] = {
        {0, "00:00"},   {5, "00:05"},   {59, "00:59"},   {480, "08:00"},  {545, "09:05"},
        {600, "10:00"}, {605, "10:05"}, {1270, "21:10"}, {1439, "23:59"},
    };
    for (const auto& [m, text] : cases)
        EXPECT_EQ(gMinutesToTime(m), QString::fromLatin1(text)) << m;
}

TEST(WeekTime, TimeToMinutes) {
    const std::pair<const char*, int> cases[] = {
        {"8:30", 510},    {"08:30", 510},  {"0:00", 0},     {"23:59", 1439}, {"9:05", 545}, {"8:", 480},
        {":30", 30},      {":", 0},        {"24:00", 0},    {"12:60", 0},    {"1230", 0},   {"", 0},
        {"   ", 0},       {"-5:30", 0},    {"5:-30", 0},    {"abc:xyz", 0},  {"x:15", 15},  {" 9 : 05 ", 545},
        {"9:05:30", 545}, {"7.5:00", 480}, {"99999:00", 0}, {"1:99999", 0},
    };
    for (const auto& [text, m] : cases)
        EXPECT_EQ(gTimeToMinutes(QString::fromLatin1(text)), m) << text;
    // Every time the period editor can show reads back to itself.
    for (int m = 0; m < 24 * 60; m += 7)
        EXPECT_EQ(gTimeToMinutes(gMinutesToTime(m)), m);
}

TEST(WeekTerm, DefaultTermByMonth) {
    for (int month = 1; month <= 12; ++month) {
        const auto [b, e] = gDefaultTerm(QDate(2026, month, 15));
        if (month >= 2 && month <= 7) {
            EXPECT_EQ(b, day("2026-03-01")) << month;
            EXPECT_EQ(e, day("2026-07-01")) << month;
        } else {
            EXPECT_EQ(b, day("2026-09-01")) << month;
            EXPECT_EQ(e, day("2027-01-01")) << month;
        }
    }
}

TEST(WeekTerm, StoredDatesTakeTodaysYearAndSpanTheNewYear) {
    struct Case {
        const char* begin;
        const char* end;
        const char* today;
        const char* wantBegin;
        const char* wantEnd;
    };
    const Case cases[] = {
        // Within a year: both dates take today's year.
        {"2020-03-01", "2020-07-01", "2026-05-10", "2026-03-01", "2026-07-01"},
        {"2020-03-01", "2020-07-01", "2026-12-10", "2026-03-01", "2026-07-01"},
        {"2026-05-04", "2026-05-04", "2026-01-01", "2026-05-04", "2026-05-04"},
        // Across a new year: the half of the term today lies in decides.
        {"2020-09-01", "2021-01-15", "2027-01-05", "2026-09-01", "2027-01-15"},
        {"2020-09-01", "2021-01-15", "2026-12-10", "2026-09-01", "2027-01-15"},
        {"2020-09-01", "2021-01-15", "2027-01-15", "2026-09-01", "2027-01-15"},
        {"2020-09-01", "2021-01-15", "2027-01-16", "2027-09-01", "2028-01-15"},
        {"2020-09-01", "2021-01-15", "2026-07-01", "2026-09-01", "2027-01-15"},
        // 29 February, in whichever year the date ends up.
        {"2024-02-29", "2024-07-01", "2026-05-01", "2026-02-28", "2026-07-01"},
        {"2024-02-29", "2024-07-01", "2028-05-01", "2028-02-29", "2028-07-01"},
        {"2023-09-01", "2024-02-29", "2027-01-10", "2026-09-01", "2027-02-28"},
        {"2023-09-01", "2024-02-29", "2027-12-01", "2027-09-01", "2028-02-29"},
        {"2023-09-01", "2024-02-29", "2028-02-29", "2027-09-01", "2028-02-29"},
        {"2024-02-29", "2024-01-10", "2027-01-05", "2026-02-28", "2027-01-10"},
        {"2024-02-29", "2024-01-10", "2027-06-05", "2027-02-28", "2028-01-10"},
    };
    for (const auto& c : cases) {
        const auto [b, e] = gResolveTerm(day(c.begin), day(c.end), day(c.today));
        EXPECT_EQ(b, day(c.wantBegin)) << c.begin << " " << c.end << " on " << c.today;
        EXPECT_EQ(e, day(c.wantEnd)) << c.begin << " " << c.end << " on " << c.today;
    }
}

TEST(WeekTerm, AutumnTermHasWeeksOnBothSidesOfTheNewYear) {
    for (const char* today : {"2026-12-10", "2027-01-05"}) {
        const auto [b, e] = gResolveTerm(day("2020-09-01"), day("2021-01-15"), day(today));
        EXPECT_EQ(gWeekDiff(b, e), 20) << today;
        EXPECT_GE(gWeekDiff(b, day(today)), 1) << today;
    }
    const auto [b, e] = gDefaultTerm(day("2026-10-15"));
    EXPECT_EQ(gWeekDiff(b, e), 18);
}
