// The stepped read: its rows and columns, its end, and a connection that goes
// away in the middle of it.
#include "core/base/gError.h"
#include "platform/db/Cursor.h"
#include "platform/db/db.h"
#include "testSupport.h"

#include <gtest/gtest.h>

namespace {

class DbCursor : public HomeTest {
protected:
    void SetUp() override {
        HomeTest::SetUp();
        file_ = home().folder(QStringLiteral("db")) + QStringLiteral("cursor.dat");
        db::createDatabase(file_, QStringLiteral("k"),
                           {{QStringLiteral("T"),
                             {{QStringLiteral("Date"), db::ColumnType::Date},
                              {QStringLiteral("Body"), db::ColumnType::LongText},
                              {QStringLiteral("N"), db::ColumnType::Integer}},
                             {}}},
                           {QStringLiteral("INSERT INTO T VALUES ('2026-03-18', '雨天', 7)"),
                            QStringLiteral("INSERT INTO T VALUES ('18.3.2026', NULL, NULL)"),
                            QStringLiteral("INSERT INTO T VALUES (NULL, '', -2)")});
        c_.open(file_, QStringLiteral("k"));
    }
    QString file_;
    db::Connection c_;
};

TEST_F(DbCursor, StepsThroughTheRowsAndEnds) {
    db::Cursor cur(c_, QStringLiteral("SELECT rowid, Date, Body, N FROM T WHERE rowid >= ? ORDER BY rowid"),
                   {1});
    ASSERT_TRUE(cur.next());
    EXPECT_EQ(cur.int64(0), 1);
    EXPECT_EQ(cur.date(1), QDate(2026, 3, 18));
    EXPECT_EQ(QString::fromUtf8(cur.utf8(2)), QStringLiteral("雨天"));
    EXPECT_EQ(cur.int64(3), 7);
    ASSERT_TRUE(cur.next());
    EXPECT_FALSE(cur.date(1).isValid()); // not the stored form
    EXPECT_TRUE(cur.isNull(2));
    EXPECT_TRUE(cur.isNull(3));
    ASSERT_TRUE(cur.next());
    EXPECT_FALSE(cur.date(1).isValid());
    EXPECT_FALSE(cur.isNull(2));
    EXPECT_EQ(cur.utf8(2).size(), 0);
    EXPECT_EQ(cur.int64(3), -2);
    EXPECT_FALSE(cur.next());
    EXPECT_FALSE(cur.isOpen());
    EXPECT_FALSE(cur.next());
}

TEST_F(DbCursor, ARefusedStatementOrAClosedConnectionRaises) {
    EXPECT_EQ(errorOf([&] { db::Cursor(c_, QStringLiteral("SELECT nothing FROM T")); }),
              db::err::CommandFailed);
    // Writes on the connection while the read is open are seen by neither side as an error.
    db::Cursor cur(c_, QStringLiteral("SELECT rowid FROM T ORDER BY rowid"));
    ASSERT_TRUE(cur.next());
    EXPECT_EQ(c_.execute(QStringLiteral("UPDATE T SET N = 1 WHERE rowid = 3")), 1);
    EXPECT_TRUE(cur.next());
    c_.close();
    EXPECT_EQ(errorOf([&] { cur.next(); }), db::err::Closed);
    EXPECT_FALSE(cur.isOpen());
    c_.open(file_, QStringLiteral("k"));
    db::Connection closed;
    EXPECT_EQ(errorOf([&] { db::Cursor(closed, QStringLiteral("SELECT 1")); }), db::err::Closed);
}

} // namespace
