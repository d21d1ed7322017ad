#include "core/model/clsSchedule.h"
#include "core/model/gClock.h"
#include "core/model/gDatabase.h"
#include "core/base/gError.h"
#include "core/model/gState.h"
#include "core/model/gWeek.h"
#include "testSupport.h"

#include <QVariantMap>

#include <gtest/gtest.h>

namespace {

QDate day(const char* iso) {
    return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate);
}

// A fresh encrypted account database, open through the shared handles.
class TimetableLoad : public HomeTest {
protected:
    void SetUp() override {
        HomeTest::SetUp();
        file_ = home().folder("account") + QStringLiteral("Userdata.dat");
        gCreateDatabase(file_, QStringLiteral("key"));
        gOpenDatabase(file_, QStringLiteral("key"));
        gTimetable = clsSchedule();
        setToday("2026-05-10");
    }
    void TearDown() override {
        gCloseDatabase();
        gTimetable = clsSchedule();
        HomeTest::TearDown();
    }

    static void setToday(const char* iso) { gClockSeam::set(QDateTime(day(iso), QTime(9, 0))); }

    static void addCourse(const QString& name, const QVariantMap& extra = {}) {
        QVariantMap f{{"Name", name},         {"Place", name + "-room"}, {"BeginWeek", 1},
                      {"EndWeek", 20},        {"DoubleWeek", 0},         {"Color", 3},
                      {"UserColor", 14589563}};
        for (auto it = extra.begin(); it != extra.end(); ++it)
            f[it.key()] = it.value();
        addRow(QStringLiteral("Course"), f);
    }
    static QStringList courseNames() {
        QStringList out;
        for (const clsCourse& c : gTimetable.gCourse)
            out << c.Name;
        return out;
    }

    QString file_;
};

} // namespace

TEST_F(TimetableLoad, EmptyTablesGiveTheDefaults) {
    gTimetable.gGetSchedule();
    EXPECT_EQ(gTimetable.Term.TermBegin, day("2026-03-01"));
    EXPECT_EQ(gTimetable.Term.TermEnd, day("2026-07-01"));

    const char* weekdays[] = {"星期一", "星期二", "星期三", "星期四", "星期五", "星期六", "星期日"};
    ASSERT_EQ(gTimetable.gCol.count(), 7);
    for (int k = 1; k <= 7; ++k) {
        EXPECT_EQ(gTimetable.Col(k).Name, QString::fromUtf8(weekdays[k - 1]));
        EXPECT_TRUE(gTimetable.Col(k).ColIsVisible);
        EXPECT_EQ(gTimetable.Col(k).Index, k);
    }

    const struct {
        const char* name;
        int begin, end;
    } periods[] = {{"第一节", 480, 525},  {"第二节", 535, 580},   {"第三节", 600, 645},
                   {"第四节", 655, 700},  {"第五节", 870, 915},   {"第六节", 925, 970},
                   {"第七节", 980, 1025}, {"第八节", 1035, 1080}, {"第九节", 1170, 1215},
                   {"第十节", 1225, 1270}};
    ASSERT_EQ(gTimetable.rowCount(), 10);
    for (int k = 1; k <= 10; ++k) {
        const clsRow& r = gTimetable.Row(k);
        EXPECT_EQ(r.Name, QString::fromUtf8(periods[k - 1].name)) << k;
        EXPECT_EQ(r.ClassBeginTime, periods[k - 1].begin) << k;
        EXPECT_EQ(r.ClassEndTime, periods[k - 1].end) << k;
        EXPECT_TRUE(r.RowIsVisible);
        EXPECT_EQ(r.Index, k);
    }
    EXPECT_EQ(gTimetable.CourseCount(), 0);
    EXPECT_FALSE(gRecordset.isOpen());
}

TEST_F(TimetableLoad, DefaultTermFollowsTheMonth) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"2026-05-10", "2026-03-01", "2026-07-01"}, {"2026-02-01", "2026-03-01", "2026-07-01"},
        {"2026-07-31", "2026-03-01", "2026-07-01"}, {"2026-08-15", "2026-09-01", "2027-01-01"},
        {"2026-09-15", "2026-09-01", "2027-01-01"}, {"2027-01-05", "2027-09-01", "2028-01-01"},
    };
    for (const auto& [today, begin, end] : cases) {
        setToday(today);
        gTimetable.gGetSchedule();
        EXPECT_EQ(gTimetable.Term.TermBegin, day(begin)) << today;
        EXPECT_EQ(gTimetable.Term.TermEnd, day(end)) << today;
    }
}

TEST_F(TimetableLoad, StoredTermTakesTheCurrentYear) {
    addRow("Term", {{"Begin", day("2020-09-01")}, {"End", day("2021-01-15")}});
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"2027-01-05", "2026-09-01", "2027-01-15"},
        {"2026-12-10", "2026-09-01", "2027-01-15"},
        {"2027-03-01", "2027-09-01", "2028-01-15"},
    };
    for (const auto& [today, begin, end] : cases) {
        setToday(today);
        gTimetable.gGetSchedule();
        EXPECT_EQ(gTimetable.Term.TermBegin, day(begin)) << today;
        EXPECT_EQ(gTimetable.Term.TermEnd, day(end)) << today;
    }
}

TEST_F(TimetableLoad, StoredLeapDayInAnotherYear) {
    addRow("Term", {{"Begin", day("2024-02-29")}, {"End", day("2024-07-01")}});
    setToday("2026-04-01");
    gTimetable.gGetSchedule();
    EXPECT_EQ(gTimetable.Term.TermBegin, day("2026-02-28"));
    EXPECT_EQ(gTimetable.Term.TermEnd, day("2026-07-01"));
    setToday("2028-04-01");
    gTimetable.gGetSchedule();
    EXPECT_EQ(gTimetable.Term.TermBegin, day("2028-02-29"));
}

TEST_F(TimetableLoad, TermRowWithoutDatesFallsBackToTheMonth) {
    addRow("Term", {{"Begin", day("2020-09-01")}});
    gTimetable.gGetSchedule();
    EXPECT_EQ(gTimetable.Term.TermBegin, day("2026-03-01"));
    EXPECT_EQ(gTimetable.Term.TermEnd, day("2026-07-01"));
}

TEST_F(TimetableLoad, UnreadableTermRowFallsBackToTheMonthAndTheRestLoads) {
    // A damaged Term table whose row lacks the end date column.
    gConnection.execute(QStringLiteral("DROP TABLE Term"));
    gConnection.execute(QStringLiteral("CREATE TABLE Term (\"Begin\" DATETEXT)"));
    addRow("Term", {{"Begin", day("2020-09-01")}});
    addCourse("Kept");
    gTimetable.gGetSchedule();
    EXPECT_EQ(gTimetable.Term.TermBegin, day("2026-03-01"));
    EXPECT_EQ(gTimetable.Term.TermEnd, day("2026-07-01"));
    EXPECT_EQ(courseNames(), (QStringList{"Kept"}));
    EXPECT_FALSE(gRecordset.isOpen());
}

TEST_F(TimetableLoad, StoredWeekdaysAndPeriodsInTableOrder) {
    for (int k = 1; k <= 7; ++k)
        addRow("Col", {{"Name", QStringLiteral("D%1").arg(k)}, {"ColIsVisible", k != 6}});
    addRow("Row",
           {{"Name", "Late"}, {"RowIsVisible", false}, {"ClassBeginTime", 1200}, {"ClassEndTime", 1250}});
    addRow("Row",
           {{"Name", "Early"}, {"RowIsVisible", true}, {"ClassBeginTime", 420}, {"ClassEndTime", 465}});
    gTimetable.gGetSchedule();
    ASSERT_EQ(gTimetable.gCol.count(), 7);
    EXPECT_EQ(gTimetable.Col(6).Name, QStringLiteral("D6"));
    EXPECT_FALSE(gTimetable.Col(6).ColIsVisible);
    EXPECT_TRUE(gTimetable.Col(7).ColIsVisible);
    ASSERT_EQ(gTimetable.rowCount(), 2);
    EXPECT_EQ(gTimetable.Row(1).Name, QStringLiteral("Late"));
    EXPECT_FALSE(gTimetable.Row(1).RowIsVisible);
    EXPECT_EQ(gTimetable.Row(1).ClassBeginTime, 1200);
    EXPECT_EQ(gTimetable.Row(2).ClassEndTime, 465);
    EXPECT_EQ(gTimetable.Row(2).Index, 2);
    EXPECT_EQ(errorOf([] { gTimetable.Row(3); }), gErr::InvalidCall);
}

TEST_F(TimetableLoad, CourseFieldsAndWeekdayPieces) {
    addCourse("Maths", {{"BeginWeek", 2},
                        {"EndWeek", 17},
                        {"DoubleWeek", 1},
                        {"Color", 25},
                        {"UserColor", 0x123456},
                        {"Weekday1", "0110"},
                        {"Weekday2", ""},
                        {"Weekday3", "010203"},
                        {"Weekday4", "0102031"},
                        {"Weekday5", "ab07"}});
    gTimetable.gGetSchedule();
    ASSERT_EQ(gTimetable.CourseCount(), 1);
    const clsCourse& c = gTimetable.Course(1);
    EXPECT_EQ(c.Name, QStringLiteral("Maths"));
    EXPECT_EQ(c.Place, QStringLiteral("Maths-room"));
    EXPECT_EQ(c.BeginWeek, 2);
    EXPECT_EQ(c.EndWeek, 17);
    EXPECT_EQ(c.DoubleWeek, 1);
    EXPECT_EQ(c.Color, 25);
    EXPECT_EQ(c.UserColor, 0x123456);
    EXPECT_EQ(c.Index, 1);
    EXPECT_EQ(c.Course(1), (QList<double>{1, 10}));
    EXPECT_TRUE(c.Course(2).isEmpty());
    EXPECT_EQ(c.Course(3), (QList<double>{1, 2, 3}));
    EXPECT_EQ(c.Course(4), (QList<double>{1, 2, 3, 1}));
    EXPECT_EQ(c.Course(5), (QList<double>{0, 7}));
    EXPECT_TRUE(c.Course(6).isEmpty()); // never written: null
    EXPECT_TRUE(c.Course(7).isEmpty());
    EXPECT_EQ(errorOf([&] { c.Course(8); }), gErr::SubscriptOutOfRange);
}

TEST_F(TimetableLoad, ReloadStartsFromEmptyAndRenumbers) {
    addCourse("A");
    addCourse("B");
    addCourse("C");
    addRow("Row", {{"Name", "Only"}, {"RowIsVisible", true}, {"ClassBeginTime", 480}, {"ClassEndTime", 525}});
    gTimetable.gGetSchedule();
    ASSERT_EQ(courseNames(), (QStringList{"A", "B", "C"}));
    ASSERT_EQ(gTimetable.rowCount(), 1);

    gConnection.execute(QStringLiteral("DELETE FROM Course WHERE Name = ?"), {QStringLiteral("B")});
    gConnection.execute(QStringLiteral("DELETE * FROM Row"));
    gTimetable.gGetSchedule();
    EXPECT_EQ(courseNames(), (QStringList{"A", "C"}));
    EXPECT_EQ(gTimetable.Course(2).Name, QStringLiteral("C"));
    EXPECT_EQ(gTimetable.Course(2).Index, 2);
    EXPECT_EQ(errorOf([] { gTimetable.Course(3); }), gErr::InvalidCall);
    EXPECT_EQ(gTimetable.rowCount(), 10); // the defaults, not added to the old row
    EXPECT_EQ(gTimetable.gCol.count(), 7);
}

TEST_F(TimetableLoad, AFailedReloadKeepsTheLastTimetable) {
    addCourse("Kept");
    gTimetable.gGetSchedule();
    addCourse("Broken", {{"BeginWeek", 40000}});
    EXPECT_EQ(errorOf([] { gTimetable.gGetSchedule(); }), gErr::Overflow);
    EXPECT_EQ(courseNames(), (QStringList{"Kept"}));
    EXPECT_EQ(gTimetable.rowCount(), 10);
    EXPECT_FALSE(gRecordset.isOpen());

    gCloseDatabase();
    EXPECT_NE(errorOf([] { gTimetable.gGetSchedule(); }), 0);
    EXPECT_EQ(courseNames(), (QStringList{"Kept"}));
    EXPECT_FALSE(gRecordset.isOpen());
}

TEST_F(TimetableLoad, TodaysCoursesOfAnAutumnTermAfterNewYear) {
    addRow("Term", {{"Begin", day("2020-09-01")}, {"End", day("2021-01-15")}});
    addCourse("Odd", {{"DoubleWeek", 1}, {"Weekday2", "0102"}});
    addCourse("Even", {{"DoubleWeek", 2}, {"Weekday2", "02"}});
    addCourse("Gone", {{"Weekday2", "0311"}}); // period 11 does not exist
    setToday("2027-01-05");                    // Tuesday of week 19
    gTimetable.gGetSchedule();
    gBuildTodayCourses();
    ASSERT_EQ(gTodayCourses.size(), 11);
    EXPECT_EQ(gTodayCourses[1], (std::array<QString, 3>{"Odd", "Odd-room", QString::fromUtf8("第一节")}));
    EXPECT_EQ(gTodayCourses[2][0], QStringLiteral("Odd"));
    EXPECT_EQ(gTodayCourses[3][0], QStringLiteral("Gone"));
    EXPECT_EQ(gTodayTimes[3], (std::array<qint16, 2>{600, 645}));
    for (int p = 4; p <= 10; ++p)
        EXPECT_EQ(gTodayTimes[p][0], 0) << p;

    setToday("2026-12-29"); // Tuesday of week 18, before the new year
    gTimetable.gGetSchedule();
    gBuildTodayCourses();
    EXPECT_EQ(gTodayCourses[1][0], QString());
    EXPECT_EQ(gTodayCourses[2][0], QStringLiteral("Even"));
}
