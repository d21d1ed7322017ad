#include "core/model/TimetableStore.h"
#include "core/model/gDatabase.h"
#include "core/base/gError.h"
#include "platform/db/db.h"
#include "testSupport.h"

#include <QVariantMap>

#include <gtest/gtest.h>

#include <functional>

namespace {

TimetableCourseRow course(const QString& name, const QString& monday = {}) {
    TimetableCourseRow c;
    c.name = name;
    c.place = name + QStringLiteral("-room");
    c.beginWeek = 1;
    c.endWeek = 20;
    c.color = 3;
    c.userColor = 14589563;
    c.weekdays[0] = monday;
    return c;
}

// A fresh encrypted account database on a connection of the test's own: the
// store needs neither the shared handles nor any window.
class TimetableStoreTest : public HomeTest {
protected:
    void SetUp() override {
        HomeTest::SetUp();
        const QString file = home().folder("account") + QStringLiteral("Userdata.dat");
        gCreateDatabase(file, QStringLiteral("key"));
        db_.setSchema(gDatabaseSchema());
        db_.open(file, QStringLiteral("key"), true);
    }
    void TearDown() override {
        db_.close();
        HomeTest::TearDown();
    }

    // Every row of a table, each field as text, in table order.
    QList<QVariantMap> rows(const QString& table) {
        QList<QVariantMap> out;
        db::Recordset rs;
        rs.setCursorLocation(db::CursorLocation::Client);
        rs.open(QStringLiteral("SELECT * FROM ") + table, db_, db::CursorType::Static,
                db::LockType::ReadOnly);
        for (; !rs.eof(); rs.moveNext()) {
            QVariantMap m;
            for (int i = 0; i < rs.fieldCount(); ++i)
                m[rs.fieldName(i)] = rs.field(rs.fieldName(i));
            out << m;
        }
        return out;
    }
    QStringList courseNames() {
        QStringList out;
        for (const QVariantMap& m : rows(QStringLiteral("Course")))
            out << m.value(QStringLiteral("Name")).toString();
        return out;
    }
    void saveOneOfEach(const QString& name) {
        TimetableStore(db_).saveBase(QDate(2026, 9, 7), QDate(2027, 1, 15), {{name, true}},
                                     {{name, 480, 525, true}});
    }

    db::Connection db_;
};

} // namespace

TEST_F(TimetableStoreTest, SaveBaseReplacesTermWeekdaysAndPeriods) {
    saveOneOfEach(QStringLiteral("旧"));
    QList<TimetableWeekday> days;
    for (int i = 1; i <= 7; ++i)
        days.append({QStringLiteral("周%1").arg(i), i != 7});
    TimetableStore(db_).saveBase(
        QDate(2026, 2, 23), QDate(2026, 7, 3), days,
        {{QStringLiteral("早读"), 450, 475, false}, {QStringLiteral("一"), 480, 525, true}});

    const QList<QVariantMap> term = rows(QStringLiteral("Term"));
    ASSERT_EQ(term.size(), 1);
    EXPECT_EQ(term[0].value("Begin").toDate(), QDate(2026, 2, 23));
    EXPECT_EQ(term[0].value("End").toDate(), QDate(2026, 7, 3));

    const QList<QVariantMap> cols = rows(QStringLiteral("Col"));
    ASSERT_EQ(cols.size(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(cols[i].value("Name").toString(), QStringLiteral("周%1").arg(i + 1));
        // Booleans are stored as 1 and 0.
        EXPECT_EQ(cols[i].value("ColIsVisible").toInt(), i != 6 ? 1 : 0) << i;
    }

    const QList<QVariantMap> periods = rows(QStringLiteral("Row"));
    ASSERT_EQ(periods.size(), 2);
    EXPECT_EQ(periods[0].value("Name").toString(), QStringLiteral("早读"));
    EXPECT_EQ(periods[0].value("ClassBeginTime").toInt(), 450);
    EXPECT_EQ(periods[0].value("ClassEndTime").toInt(), 475);
    EXPECT_EQ(periods[0].value("RowIsVisible").toInt(), 0);
    EXPECT_EQ(periods[1].value("RowIsVisible").toInt(), 1);
    EXPECT_EQ(db_.transactionLevel(), 0);
}

TEST_F(TimetableStoreTest, AFailedSaveBaseKeepsEveryOldRow) {
    // Each table in turn refuses its new rows; the ones rewritten before it come back.
    for (const char* table : {"Term", "Col", "Row"}) {
        SCOPED_TRACE(table);
        saveOneOfEach(QStringLiteral("旧"));
        db_.execute(
            QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON %1 BEGIN SELECT RAISE(ABORT, 'full'); END")
                .arg(QLatin1String(table)));
        EXPECT_NE(errorOf([&] { saveOneOfEach(QStringLiteral("新")); }), 0);
        db_.execute(QStringLiteral("DROP TRIGGER refuse"));

        EXPECT_EQ(db_.transactionLevel(), 0);
        const QList<QVariantMap> term = rows(QStringLiteral("Term"));
        ASSERT_EQ(term.size(), 1);
        EXPECT_EQ(term[0].value("Begin").toDate(), QDate(2026, 9, 7));
        for (const char* t : {"Col", "Row"}) {
            const QList<QVariantMap> r = rows(QLatin1String(t));
            ASSERT_EQ(r.size(), 1) << t;
            EXPECT_EQ(r[0].value("Name").toString(), QStringLiteral("旧")) << t;
        }
    }
}

TEST_F(TimetableStoreTest, CoursesAreAddedUpdatedAndDeletedByPosition) {
    TimetableStore store(db_);
    store.addCourse(course(QStringLiteral("数学"), QStringLiteral("0102")));
    store.addCourse(course(QStringLiteral("语文")));
    store.addCourse(course(QStringLiteral("英语")));
    EXPECT_EQ(courseNames(), (QStringList{"数学", "语文", "英语"}));

    TimetableCourseRow c = course(QStringLiteral("物理"), QStringLiteral("05"));
    c.place = QStringLiteral("实验楼");
    c.beginWeek = 3;
    c.endWeek = 18;
    c.doubleWeek = 2;
    c.color = 7;
    c.userColor = 255;
    c.weekdays[6] = QStringLiteral("0910");
    store.updateCourse(1, c);
    const QVariantMap m = rows(QStringLiteral("Course")).at(1);
    EXPECT_EQ(m.value("Name").toString(), QStringLiteral("物理"));
    EXPECT_EQ(m.value("Place").toString(), QStringLiteral("实验楼"));
    EXPECT_EQ(m.value("BeginWeek").toInt(), 3);
    EXPECT_EQ(m.value("EndWeek").toInt(), 18);
    EXPECT_EQ(m.value("DoubleWeek").toInt(), 2);
    EXPECT_EQ(m.value("Color").toInt(), 7);
    EXPECT_EQ(m.value("UserColor").toLongLong(), 255);
    EXPECT_EQ(m.value("Weekday1").toString(), QStringLiteral("05"));
    EXPECT_EQ(m.value("Weekday2").toString(), QString());
    EXPECT_EQ(m.value("Weekday7").toString(), QStringLiteral("0910"));

    store.deleteCourse(0);
    EXPECT_EQ(courseNames(), (QStringList{"物理", "英语"}));
    store.deleteCourse(1);
    EXPECT_EQ(courseNames(), (QStringList{"物理"}));
}

TEST_F(TimetableStoreTest, APositionPastTheLastCourseChangesNothing) {
    const struct {
        int courses;
        int index;
    } cases[] = {{0, 0}, {2, 2}, {2, 5}};
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << k.courses << " courses, at " << k.index);
        db_.execute(QStringLiteral("DELETE FROM Course"));
        TimetableStore store(db_);
        QStringList names;
        for (int i = 0; i < k.courses; ++i) {
            names << QStringLiteral("课%1").arg(i);
            store.addCourse(course(names.last()));
        }
        EXPECT_EQ(errorOf([&] { store.updateCourse(k.index, course(QStringLiteral("新"))); }),
                  gErr::InvalidCall);
        EXPECT_EQ(errorOf([&] { store.deleteCourse(k.index); }), gErr::InvalidCall);
        EXPECT_EQ(courseNames(), names);
    }
}

TEST_F(TimetableStoreTest, AFailedCourseWriteChangesNothing) {
    TimetableStore store(db_);
    store.addCourse(course(QStringLiteral("数学")));
    const struct {
        const char* trigger;
        std::function<void()> write;
    } cases[] = {
        {"BEFORE INSERT", [&] { store.addCourse(course(QStringLiteral("新"))); }},
        {"BEFORE UPDATE", [&] { store.updateCourse(0, course(QStringLiteral("新"))); }},
        {"BEFORE DELETE", [&] { store.deleteCourse(0); }},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.trigger);
        db_.execute(QStringLiteral("CREATE TRIGGER refuse %1 ON Course BEGIN SELECT RAISE(ABORT, 'no'); END")
                        .arg(QLatin1String(k.trigger)));
        EXPECT_NE(errorOf(k.write), 0);
        db_.execute(QStringLiteral("DROP TRIGGER refuse"));
        EXPECT_EQ(courseNames(), QStringList{QStringLiteral("数学")});
        EXPECT_EQ(db_.transactionLevel(), 0);
    }
}

TEST_F(TimetableStoreTest, EmptyTablesReadAsNothing) {
    TimetableStore store(db_);
    EXPECT_FALSE(store.readTerm().has_value());
    EXPECT_TRUE(store.readWeekdays().isEmpty());
    EXPECT_TRUE(store.readPeriods().isEmpty());
    EXPECT_TRUE(store.readCourses().isEmpty());
}

TEST_F(TimetableStoreTest, WhatIsSavedReadsBackInTableOrder) {
    TimetableStore store(db_);
    store.saveBase(QDate(2026, 2, 23), QDate(2026, 7, 3),
                   {{QStringLiteral("一"), true}, {QStringLiteral("二"), false}},
                   {{QStringLiteral("早"), 450, 475, false}, {QStringLiteral("晚"), 1170, 1215, true}});
    TimetableCourseRow c = course(QStringLiteral("数学"), QStringLiteral("0102"));
    c.doubleWeek = 1;
    c.weekdays[4] = QStringLiteral("07");
    store.addCourse(c);
    store.addCourse(course(QStringLiteral("语文")));

    const std::optional<TimetableTermRow> term = store.readTerm();
    ASSERT_TRUE(term.has_value());
    EXPECT_EQ(term->begin, QDate(2026, 2, 23));
    EXPECT_EQ(term->end, QDate(2026, 7, 3));

    const QList<TimetableWeekday> days = store.readWeekdays();
    ASSERT_EQ(days.size(), 2);
    EXPECT_EQ(days[0].name, QStringLiteral("一"));
    EXPECT_TRUE(days[0].visible);
    EXPECT_FALSE(days[1].visible);

    const QList<TimetablePeriod> periods = store.readPeriods();
    ASSERT_EQ(periods.size(), 2);
    EXPECT_EQ(periods[0].name, QStringLiteral("早"));
    EXPECT_EQ(periods[0].beginMinutes, 450);
    EXPECT_EQ(periods[0].endMinutes, 475);
    EXPECT_FALSE(periods[0].visible);
    EXPECT_TRUE(periods[1].visible);

    const QList<TimetableCourseRow> courses = store.readCourses();
    ASSERT_EQ(courses.size(), 2);
    EXPECT_EQ(courses[0].name, QStringLiteral("数学"));
    EXPECT_EQ(courses[0].place, QStringLiteral("数学-room"));
    EXPECT_EQ(courses[0].beginWeek, 1);
    EXPECT_EQ(courses[0].endWeek, 20);
    EXPECT_EQ(courses[0].doubleWeek, 1);
    EXPECT_EQ(courses[0].color, 3);
    EXPECT_EQ(courses[0].userColor, 14589563);
    EXPECT_EQ(courses[0].weekdays[0], QStringLiteral("0102"));
    EXPECT_EQ(courses[0].weekdays[4], QStringLiteral("07"));
    EXPECT_EQ(courses[0].weekdays[6], QString());
    EXPECT_EQ(courses[1].name, QStringLiteral("语文"));
}

TEST_F(TimetableStoreTest, AnyNonZeroFlagReadsAsVisible) {
    db_.execute(QStringLiteral("INSERT INTO Col (Name, ColIsVisible) VALUES ('a', ?), ('b', ?), ('c', ?)"),
                {0, 1, -1});
    const QList<TimetableWeekday> days = TimetableStore(db_).readWeekdays();
    ASSERT_EQ(days.size(), 3);
    EXPECT_FALSE(days[0].visible);
    EXPECT_TRUE(days[1].visible);
    EXPECT_TRUE(days[2].visible);
}

TEST_F(TimetableStoreTest, NumbersBeyondSixteenBitsRaiseOverflow) {
    const struct {
        const char* table;
        const char* field;
        int value;
    } cases[] = {
        {"Row", "ClassBeginTime", 32768}, {"Row", "ClassEndTime", -32769}, {"Course", "BeginWeek", 40000},
        {"Course", "EndWeek", 40000},     {"Course", "DoubleWeek", 65536}, {"Course", "Color", 32768},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.field);
        db_.execute(QStringLiteral("DELETE FROM %1").arg(QLatin1String(k.table)));
        db_.execute(QStringLiteral("INSERT INTO %1 (Name, %2) VALUES ('x', ?)")
                        .arg(QLatin1String(k.table), QLatin1String(k.field)),
                    {k.value});
        TimetableStore store(db_);
        EXPECT_EQ(errorOf([&] {
                      if (QLatin1String(k.table) == QLatin1String("Row"))
                          store.readPeriods();
                      else
                          store.readCourses();
                  }),
                  gErr::Overflow);
    }
    // The course's own colour is a full 32-bit number.
    db_.execute(QStringLiteral("DELETE FROM Course"));
    db_.execute(QStringLiteral("INSERT INTO Course (Name, UserColor) VALUES ('x', ?)"), {16777215});
    EXPECT_EQ(TimetableStore(db_).readCourses().at(0).userColor, 16777215);
}

TEST_F(TimetableStoreTest, ATermRowWithoutItsDatesIsUnreadableNotAnError) {
    // A damaged Term table whose row lacks the end date column.
    db_.execute(QStringLiteral("DROP TABLE Term"));
    db_.execute(QStringLiteral("CREATE TABLE Term (\"Begin\" DATETEXT)"));
    db_.execute(QStringLiteral("INSERT INTO Term (\"Begin\") VALUES ('2020-09-01')"));
    const std::optional<TimetableTermRow> term = TimetableStore(db_).readTerm();
    ASSERT_TRUE(term.has_value());
    EXPECT_FALSE(term->begin.isValid());
    EXPECT_FALSE(term->end.isValid());
}
