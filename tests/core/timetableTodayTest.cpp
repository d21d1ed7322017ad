#include "core/model/clsSchedule.h"
#include "core/model/gClock.h"
#include "core/model/gState.h"
#include "core/model/gWeek.h"
#include "testSupport.h"

#include <gtest/gtest.h>

namespace {

QDate day(const char* iso) {
    return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate);
}

// A model filled in memory: a term from Monday 7 September 2026 to 20 December
// (15 weeks) and three periods.
class TimetableToday : public HomeTest {
protected:
    void SetUp() override {
        HomeTest::SetUp();
        gTimetable = clsSchedule();
        gTimetable.Term.TermBegin = day("2026-09-07");
        gTimetable.Term.TermEnd = day("2026-12-20");
        const std::array<std::array<int, 2>, 3> times{{{480, 525}, {535, 580}, {600, 645}}};
        for (int k = 1; k <= 3; ++k) {
            clsRow r;
            r.Name = QStringLiteral("P%1").arg(k);
            r.ClassBeginTime = qint16(times[k - 1][0]);
            r.ClassEndTime = qint16(times[k - 1][1]);
            r.Index = qint16(k);
            gTimetable.gRow.add(r, clsSchedule::key(k));
        }
    }
    void TearDown() override {
        gTimetable = clsSchedule();
        HomeTest::TearDown();
    }

    // A course on one weekday in the given periods.
    void addCourse(const QString& name, int weekday, QList<double> periods, int beginWeek = 1,
                   int endWeek = 15, int doubleWeek = 0) {
        clsCourse c;
        c.Name = name;
        c.Place = name + QStringLiteral("-room");
        c.BeginWeek = qint16(beginWeek);
        c.EndWeek = qint16(endWeek);
        c.DoubleWeek = qint16(doubleWeek);
        c.Course(weekday) = periods;
        const int k = gTimetable.CourseCount() + 1;
        c.Index = qint16(k);
        gTimetable.gCourse.add(c, clsSchedule::key(k));
    }

    // Builds the list on the given weekday (1 = Monday) of teaching week w.
    void buildOn(int week, int weekday = 1) {
        gClockSeam::set(QDateTime(day("2026-09-07").addDays((week - 1) * 7 + weekday - 1), QTime(7, 0)));
        gBuildTodayCourses();
    }
    void buildOnDate(const char* iso) {
        gClockSeam::set(QDateTime(day(iso), QTime(7, 0)));
        gBuildTodayCourses();
    }

    // The course names per period 1..3 ("" for none).
    static QStringList names() {
        QStringList out;
        for (int p = 1; p < gTodayCourses.size(); ++p)
            out << gTodayCourses[p][0];
        return out;
    }
};

} // namespace

TEST_F(TimetableToday, FillsThePeriodsOfTodaysCourses) {
    addCourse("Maths", 2, {1, 3});
    addCourse("Art", 3, {2});
    buildOn(4, 2); // a Tuesday
    ASSERT_EQ(gTodayCourses.size(), 4);
    ASSERT_EQ(gTodayTimes.size(), 4);
    EXPECT_EQ(gTodayCourses[0], (std::array<QString, 3>{}));
    EXPECT_EQ(gTodayTimes[0], (std::array<qint16, 2>{0, 0}));
    EXPECT_EQ(gTodayCourses[1], (std::array<QString, 3>{"Maths", "Maths-room", "P1"}));
    EXPECT_EQ(gTodayTimes[1], (std::array<qint16, 2>{480, 525}));
    EXPECT_EQ(gTodayCourses[2], (std::array<QString, 3>{}));
    EXPECT_EQ(gTodayTimes[2], (std::array<qint16, 2>{0, 0}));
    EXPECT_EQ(gTodayCourses[3], (std::array<QString, 3>{"Maths", "Maths-room", "P3"}));
    EXPECT_EQ(gTodayTimes[3], (std::array<qint16, 2>{600, 645}));
}

TEST_F(TimetableToday, OddAndEvenWeeks) {
    addCourse("Every", 1, {1}, 1, 15, 0);
    addCourse("Odd", 1, {2}, 1, 15, 1);
    addCourse("Even", 1, {3}, 1, 15, 2);
    for (int w = 1; w <= 6; ++w) {
        buildOn(w);
        const bool odd = w % 2 == 1;
        EXPECT_EQ(names(), (QStringList{"Every", odd ? "Odd" : "", odd ? "" : "Even"})) << w;
    }
}

TEST_F(TimetableToday, OnlyBetweenBeginWeekAndEndWeek) {
    addCourse("Short", 1, {1}, 3, 5);
    const std::pair<int, bool> cases[] = {{2, false}, {3, true}, {4, true}, {5, true}, {6, false}};
    for (const auto& [w, listed] : cases) {
        buildOn(w);
        EXPECT_EQ(gTodayCourses[1][0], listed ? QStringLiteral("Short") : QString()) << w;
        EXPECT_EQ(gTodayTimes[1][0], listed ? 480 : 0) << w;
    }
}

TEST_F(TimetableToday, TheLaterCourseWinsASharedPeriod) {
    addCourse("First", 1, {1, 2});
    addCourse("Second", 1, {2});
    buildOn(1);
    EXPECT_EQ(names(), (QStringList{"First", "Second", ""}));
    EXPECT_EQ(gTodayCourses[2][1], QStringLiteral("Second-room"));
}

TEST_F(TimetableToday, PeriodsThatDoNotExistAreSkipped) {
    addCourse("Ghost", 1, {0, 4, 99, -1, 0.5, 2});
    buildOn(1);
    EXPECT_EQ(gTodayCourses.size(), 4);
    EXPECT_EQ(names(), (QStringList{"", "Ghost", ""}));
}

TEST_F(TimetableToday, OutsideTheTermNothingIsListed) {
    addCourse("Long", 1, {1}, 1, 30);
    buildOn(15);
    EXPECT_EQ(names(), (QStringList{"Long", "", ""}));
    buildOn(16); // the course would still run, but the term is over
    EXPECT_EQ(names(), (QStringList{"", "", ""}));
    buildOnDate("2026-08-31"); // a Monday before the term
    EXPECT_EQ(names(), (QStringList{"", "", ""}));
}

TEST_F(TimetableToday, OtherWeekdaysAndSunday) {
    addCourse("Sunday", 7, {3});
    buildOn(2, 6);
    EXPECT_EQ(names(), (QStringList{"", "", ""}));
    buildOn(2, 7);
    EXPECT_EQ(names(), (QStringList{"", "", "Sunday"}));
}

TEST_F(TimetableToday, TermAcrossTheNewYearKeepsItsClasses) {
    gTimetable.Term.TermBegin = day("2026-09-01");
    gTimetable.Term.TermEnd = day("2027-01-15");
    addCourse("Odd", 2, {1}, 1, 20, 1);
    addCourse("Even", 2, {2}, 1, 20, 2);
    buildOnDate("2027-01-05"); // Tuesday of week 19
    EXPECT_EQ(names(), (QStringList{"Odd", "", ""}));
    buildOnDate("2027-01-12"); // week 20, the last
    EXPECT_EQ(names(), (QStringList{"", "Even", ""}));
    buildOnDate("2027-01-19"); // after the term
    EXPECT_EQ(names(), (QStringList{"", "", ""}));
}

TEST_F(TimetableToday, EachBuildReplacesTheLists) {
    addCourse("Maths", 1, {1});
    buildOn(1);
    EXPECT_EQ(gTodayCourses[1][0], QStringLiteral("Maths"));
    gTimetable.RowRemove(3);
    buildOn(1, 2);
    EXPECT_EQ(gTodayCourses.size(), 3);
    EXPECT_EQ(names(), (QStringList{"", ""}));
}

TEST_F(TimetableToday, AnEmptyModelGivesOneEmptyRow) {
    gTimetable = clsSchedule();
    buildOnDate("2026-09-07");
    EXPECT_EQ(gTodayCourses.size(), 1);
    EXPECT_EQ(gTodayTimes.size(), 1);
}
