#include "core/model/clsSchedule.h"
#include "core/base/gError.h"
#include "testSupport.h"

#include <gtest/gtest.h>

namespace {

clsRow row(const char* name) {
    clsRow r;
    r.Name = QString::fromLatin1(name);
    return r;
}

QStringList rowNames(const clsSchedule& s) {
    QStringList out;
    for (const clsRow& r : s.gRow)
        out << r.Name;
    return out;
}

} // namespace

TEST(TimetableModel, SplitsStoredPeriodsIntoTwoCharacterPieces) {
    const std::pair<const char*, QList<double>> cases[] = {
        {"010203", {1, 2, 3}}, {"", {}},           {"0102031", {1, 2, 3, 1}}, {"7", {7}},
        {"10", {10}},          {"1012", {10, 12}}, {"ab01", {0, 1}},          {"x", {0}},
        {"0 1", {0, 1}},       {"99", {99}},
    };
    for (const auto& [text, want] : cases)
        EXPECT_EQ(gSplitPeriods(QString::fromLatin1(text)), want) << text;
}

TEST(TimetableModel, CourseWeekdayOutsideOneToSevenIsAnError) {
    clsCourse c;
    const clsCourse& cc = c;
    for (int d = 1; d <= 7; ++d)
        EXPECT_TRUE(cc.Course(d).isEmpty()) << d;
    c.Course(3) = {1, 2};
    EXPECT_EQ(cc.Course(3), (QList<double>{1, 2}));
    EXPECT_EQ(errorOf([&] { cc.Course(8); }), gErr::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { cc.Course(0); }), gErr::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { c.Course(-1); }), gErr::SubscriptOutOfRange);
}

TEST(TimetableModel, GettersWithAMissingKeyRaiseInvalidArgument) {
    clsSchedule s;
    s.gRow.add(row("a"), clsSchedule::key(1));
    EXPECT_EQ(s.Row(1).Name, QStringLiteral("a"));
    EXPECT_EQ(errorOf([&] { s.Row(2); }), gErr::InvalidCall);
    EXPECT_EQ(errorOf([&] { s.Row(0); }), gErr::InvalidCall);
    EXPECT_EQ(errorOf([&] { s.Col(1); }), gErr::InvalidCall);
    EXPECT_EQ(errorOf([&] { s.Course(1); }), gErr::InvalidCall);
    EXPECT_EQ(errorOf([&] { s.Row(2, row("b")); }), gErr::InvalidCall);
    EXPECT_EQ(errorOf([&] { s.CourseRemove(1); }), gErr::InvalidCall);
}

TEST(TimetableModel, KeysStayWithTheirElements) {
    clsSchedule s;
    for (int k = 1; k <= 3; ++k)
        s.gRow.add(row(k == 1 ? "a" : k == 2 ? "b" : "c"), clsSchedule::key(k));
    EXPECT_EQ(errorOf([&] { s.gRow.add(row("dup"), clsSchedule::key(2)); }), 457);
    s.RowRemove(2);
    EXPECT_EQ(s.rowCount(), 2);
    EXPECT_EQ(s.Row(3).Name, QStringLiteral("c")); // still key ID3, now second
    EXPECT_EQ(errorOf([&] { s.Row(2); }), gErr::InvalidCall);
    s.Row(3, row("C"));
    EXPECT_EQ(rowNames(s), (QStringList{"a", "C"}));
}

TEST(TimetableModel, AddInsertsUnkeyedByPosition) {
    clsSchedule s;
    s.gRow.add(row("a"), clsSchedule::key(1));
    s.gRow.add(row("b"), clsSchedule::key(2));
    EXPECT_EQ(s.RowAdd(row("end")), 3);
    EXPECT_EQ(s.RowAdd(row("first"), 1), 1);
    EXPECT_EQ(s.RowAdd(row("last"), 5), 5);
    EXPECT_EQ(rowNames(s), (QStringList{"first", "a", "b", "end", "last"}));
    EXPECT_EQ(s.Row(2).Name, QStringLiteral("b"));
    EXPECT_EQ(errorOf([&] { s.RowAdd(row("x"), 7); }), gErr::InvalidCall);
    EXPECT_EQ(errorOf([&] { s.RowAdd(row("x"), -1); }), gErr::InvalidCall);
    clsCourse c;
    c.Name = QStringLiteral("m");
    EXPECT_EQ(s.CourseAdd(c), 1);
    EXPECT_EQ(s.CourseCount(), 1);
    EXPECT_EQ(errorOf([&] { s.Course(1); }), gErr::InvalidCall); // added without a key
}
