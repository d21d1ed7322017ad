#include "core/model/DiarySummaryStore.h"
#include "core/base/gError.h"
#include "core/model/gDatabase.h"
#include "platform/db/db.h"
#include "testSupport.h"

#include <gtest/gtest.h>

namespace {

// A fresh encrypted account database on a connection of the test's own: the
// store needs neither the shared handles nor any window.
class DiarySummaryStoreTest : public HomeTest {
protected:
    void SetUp() override {
        HomeTest::SetUp();
        file_ = home().folder("account") + QStringLiteral("Userdata.dat");
        gCreateDatabase(file_, QStringLiteral("key"));
        open();
    }
    void TearDown() override {
        db_.close();
        HomeTest::TearDown();
    }
    void open() {
        db_.setSchema(gDatabaseSchema());
        db_.open(file_, QStringLiteral("key"), true);
    }
    // Closes and opens the file again, so only what reached it counts.
    void reopen() {
        db_.close();
        open();
    }
    void addEntry(const QDate& day) {
        db_.execute(QStringLiteral("INSERT INTO \"Diary\" (\"Date\", \"Title\", \"Score\", \"Collect\") "
                                   "VALUES (?, 't', 50, 0)"),
                    {day});
    }
    QList<int> scores() {
        QList<int> out;
        db::Recordset rs;
        rs.open(QStringLiteral("SELECT * FROM DiarySettings"), db_);
        for (; !rs.eof(); rs.moveNext())
            out << rs.integer(QStringLiteral("Score"));
        return out;
    }

    QString file_;
    db::Connection db_;
};

} // namespace

TEST_F(DiarySummaryStoreTest, TheSettingsRowIsAddedOnlyWhenMissing) {
    DiarySummaryStore store(db_);
    // A new database has its row already.
    EXPECT_FALSE(store.addSettingsRowIfMissing());
    EXPECT_EQ(scores(), QList<int>{0});

    db_.execute(QStringLiteral("UPDATE DiarySettings SET Score = 77"));
    EXPECT_FALSE(store.addSettingsRowIfMissing());
    EXPECT_EQ(scores(), QList<int>{77});

    db_.execute(QStringLiteral("DELETE FROM DiarySettings"));
    EXPECT_TRUE(store.addSettingsRowIfMissing());
    EXPECT_FALSE(store.addSettingsRowIfMissing());
    EXPECT_EQ(db_.transactionLevel(), 0);
    reopen();
    EXPECT_EQ(scores(), QList<int>{0});
}

TEST_F(DiarySummaryStoreTest, ASettingsRowThatCannotBeWrittenLeavesTheTableAsItWas) {
    db_.execute(QStringLiteral("DELETE FROM DiarySettings"));
    db_.execute(QStringLiteral(
        "CREATE TRIGGER refuse BEFORE INSERT ON DiarySettings BEGIN SELECT RAISE(ABORT, 'no'); END"));
    EXPECT_NE(errorOf([&] { DiarySummaryStore(db_).addSettingsRowIfMissing(); }), 0);
    EXPECT_EQ(db_.transactionLevel(), 0);
    EXPECT_TRUE(scores().isEmpty());
}

TEST_F(DiarySummaryStoreTest, TheScoreTotalIsTheFirstRowsScoreOrZero) {
    const struct {
        const char* rows; // statements run after the table is emptied
        long total;
    } cases[] = {
        {"INSERT INTO DiarySettings (Score) VALUES (150)", 150},
        {"INSERT INTO DiarySettings (Score) VALUES (-20)", -20},
        {"INSERT INTO DiarySettings (Score) VALUES (7); INSERT INTO DiarySettings (Score) VALUES (9)", 7},
        {"INSERT INTO DiarySettings (Score) VALUES (NULL)", 0},
        {"INSERT INTO DiarySettings (Score) VALUES ('many')", 0},
        {"", 0}, // no row at all
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rows);
        db_.execute(QStringLiteral("DELETE FROM DiarySettings"));
        if (*c.rows) db_.execute(QString::fromLatin1(c.rows));
        EXPECT_EQ(DiarySummaryStore(db_).scoreTotal(), c.total);
    }
}

TEST_F(DiarySummaryStoreTest, TheEntryCountCountsEveryEntry) {
    DiarySummaryStore store(db_);
    EXPECT_EQ(store.entryCount(), 0);
    for (int i = 0; i < 3; ++i)
        addEntry(QDate(2026, 12, 1));
    addEntry(QDate(1999, 1, 31));
    EXPECT_EQ(store.entryCount(), 4);
}

TEST_F(DiarySummaryStoreTest, ReadsOfATableThatIsGoneRaise) {
    db_.execute(QStringLiteral("DROP TABLE DiarySettings"));
    db_.execute(QStringLiteral("DROP TABLE Diary"));
    DiarySummaryStore store(db_);
    EXPECT_NE(errorOf([&] { store.scoreTotal(); }), 0);
    EXPECT_NE(errorOf([&] { store.entryCount(); }), 0);
    EXPECT_NE(errorOf([&] { store.checkDateIndex(); }), 0);
    EXPECT_NE(errorOf([&] { store.daysWithEntries(QDate(2026, 1, 1), QDate(2026, 2, 1)); }), 0);
    EXPECT_NE(errorOf([&] { store.addSettingsRowIfMissing(); }), 0);
    EXPECT_EQ(db_.transactionLevel(), 0);
}

TEST_F(DiarySummaryStoreTest, DaysWithEntriesAreThoseOfTheRangeBothEndsIncluded) {
    for (const QDate& d : {QDate(2008, 4, 26), QDate(2008, 4, 27), QDate(2008, 5, 3), QDate(2008, 5, 3),
                           QDate(2008, 5, 31), QDate(2008, 6, 7), QDate(2008, 6, 8), QDate(2009, 5, 3)})
        addEntry(d);
    DiarySummaryStore store(db_);
    EXPECT_EQ(store.daysWithEntries(QDate(2008, 4, 27), QDate(2008, 6, 7)),
              (QSet<QDate>{QDate(2008, 4, 27), QDate(2008, 5, 3), QDate(2008, 5, 31), QDate(2008, 6, 7)}));
    EXPECT_EQ(store.daysWithEntries(QDate(2008, 5, 3), QDate(2008, 5, 3)), QSet<QDate>{QDate(2008, 5, 3)});
    EXPECT_TRUE(store.daysWithEntries(QDate(2008, 5, 4), QDate(2008, 5, 30)).isEmpty());
    EXPECT_TRUE(store.daysWithEntries(QDate(2010, 1, 1), QDate(2010, 2, 11)).isEmpty());
}
