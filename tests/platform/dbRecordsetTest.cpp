// Recordsets over a real account database: counts, edits, batches, deletes,
// positions, limits, and filters whose values are matched literally.
#include "core/model/gDatabase.h"
#include "core/base/gError.h"
#include "core/model/gState.h"
#include "testSupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

using db::Filter;
using db::LockType;
using db::Op;

const QDate kDay(2024, 3, 5);

class DbRecordset : public HomeTest {
protected:
    void SetUp() override {
        HomeTest::SetUp();
        file_ = home().folder(QStringLiteral("data")) + QStringLiteral("Userdata.dat");
        gCreateDatabase(file_, key_);
        gOpenDatabase(file_, key_);
    }
    void TearDown() override {
        gCloseDatabase();
        HomeTest::TearDown();
    }
    void reopen() {
        gCloseDatabase();
        gOpenDatabase(file_, key_);
    }
    // Adds an entry through the recordset, as the editor does.
    void addEntry(const QDate& d, const QString& title, int score = 50, const QString& body = QString()) {
        gCommand.setCommandText(QStringLiteral("SELECT * FROM Diary"));
        gRecordset.setCursorLocation(db::CursorLocation::Client);
        gRecordset.setFilter(Filter::eq(QStringLiteral("Date"), d));
        gRecordset.open(gCommand, db::CursorType::Static, LockType::Optimistic);
        gRecordset.addNew();
        gRecordset.setField(QStringLiteral("Date"), d);
        gRecordset.setField(QStringLiteral("Title"), title);
        gRecordset.setField(QStringLiteral("Diary"), body.isNull() ? title + QStringLiteral(" body") : body);
        gRecordset.setField(QStringLiteral("DiaryRTF"),
                            QStringLiteral("{\\rtf1 ") + title + QLatin1Char('}'));
        gRecordset.setField(QStringLiteral("Score"), score);
        gRecordset.update();
        gRecordset.close();
    }
    // The titles of a day in table order.
    QStringList day(const QDate& d) {
        gCommand.setCommandText(QStringLiteral("SELECT Date,Title,Diary FROM Diary "));
        gRecordset.setCursorLocation(db::CursorLocation::Client);
        gRecordset.setFilter(Filter::eq(QStringLiteral("Date"), d));
        gRecordset.open(gCommand, db::CursorType::Static);
        QStringList out;
        for (; !gRecordset.eof(); gRecordset.moveNext())
            out << gRecordset.text(QStringLiteral("Title"));
        gRecordset.close();
        return out;
    }
    QString file_;
    QString key_ = QStringLiteral("k\r\ney");
};

TEST_F(DbRecordset, AddedAndUpdatedRowsSurviveReopenInTableOrder) {
    addEntry(kDay, QStringLiteral("one"), 10);
    addEntry(kDay.addDays(1), QStringLiteral("other day"));
    addEntry(kDay, QStringLiteral("two"), 20);
    addEntry(kDay, QStringLiteral("three"), 30);
    reopen();
    EXPECT_EQ(day(kDay), (QStringList{"one", "two", "three"}));
    EXPECT_EQ(gConnection.count(QStringLiteral("Diary")), 4);

    // Edit the second entry of the day, as the editor does, moving by position.
    gCommand.setCommandText(QStringLiteral("SELECT * FROM Diary"));
    gRecordset.setCursorLocation(db::CursorLocation::Client);
    gRecordset.setFilter(Filter::eq(QStringLiteral("Date"), kDay));
    gRecordset.open(gCommand, db::CursorType::Static, LockType::Optimistic);
    EXPECT_EQ(gRecordset.recordCount(), 3);
    gRecordset.move(1);
    gRecordset.setField(QStringLiteral("Title"), QStringLiteral("two, edited"));
    gRecordset.setField(QStringLiteral("Collect"), true);
    gRecordset.update();
    gRecordset.close();
    reopen();

    gCommand.setCommandText(QStringLiteral("SELECT * FROM Diary"));
    gRecordset.setFilter(Filter::eq(QStringLiteral("Date"), kDay));
    gRecordset.open(gCommand);
    ASSERT_EQ(gRecordset.recordCount(), 3);
    gRecordset.move(1);
    EXPECT_EQ(gRecordset.text(QStringLiteral("Title")), QStringLiteral("two, edited"));
    EXPECT_EQ(gRecordset.field(QStringLiteral("Collect")), QVariant(true));
    EXPECT_EQ(gRecordset.field(QStringLiteral("Score")), QVariant(20));
    EXPECT_EQ(gRecordset.field(QStringLiteral("Date")), QVariant(kDay));
    EXPECT_EQ(gRecordset.text(QStringLiteral("DiaryRTF")), QStringLiteral("{\\rtf1 two}"));
    gRecordset.moveFirst();
    EXPECT_EQ(gRecordset.field(QStringLiteral("Collect")), QVariant(false)); // a new row's flag is False
    gRecordset.close();
}

TEST_F(DbRecordset, FilterCountsBeforeAndAfterOpenAgree) {
    for (int i = 0; i < 12; ++i)
        addEntry(kDay.addDays(i % 4), QStringLiteral("e%1").arg(i), i * 10);
    const std::vector<Filter> filters = {
        Filter::eq(QStringLiteral("Date"), kDay.addDays(1)),
        Filter::between(QStringLiteral("Date"), kDay.addDays(1), kDay.addDays(2)),
        Filter(QStringLiteral("Score"), Op::Ge, 50)
            .and_(QStringLiteral("Score"), Op::Le, QStringLiteral("90")),
        Filter(QStringLiteral("Score"), Op::Ne, 30),
        Filter(QStringLiteral("Title"), Op::BeginsWith, QStringLiteral("E1")),
        Filter(QStringLiteral("Diary"), Op::Contains, QStringLiteral("1 BO")),
        Filter(QStringLiteral("Date"), Op::Lt, kDay.addDays(1)),
        Filter(QStringLiteral("Date"), Op::Eq, QVariant()), // null never matches
    };
    const std::vector<long> expected = {3, 6, 5, 11, 3, 2, 3, 0};
    for (size_t i = 0; i < filters.size(); ++i) {
        gRecordset.setFilter(filters[i]);
        gRecordset.open(QStringLiteral("SELECT * FROM Diary"), gConnection);
        EXPECT_EQ(gRecordset.recordCount(), expected[i]) << "before open, case " << i;
        gRecordset.close();
        gRecordset.open(QStringLiteral("SELECT * FROM Diary"), gConnection);
        gRecordset.setFilter(filters[i]);
        EXPECT_EQ(gRecordset.recordCount(), expected[i]) << "after open, case " << i;
        gRecordset.close();
        EXPECT_EQ(gConnection.count(QStringLiteral("Diary"), filters[i]), expected[i]) << "count, case " << i;
    }
}

struct LiteralCase {
    const char* typed;
    Op op;
    std::vector<const char*> matches;
};

class DbFilterLiteral : public DbRecordset, public ::testing::WithParamInterface<LiteralCase> {};

TEST_P(DbFilterLiteral, ValuesAreMatchedLiterally) {
    const QStringList titles = {"it's",        "100%",
                                "100 percent", "a_b",
                                "axb",         "O'Brien's diary",
                                "back\\slash", "backXslash",
                                "\"quoted\"",  "'; DROP TABLE Diary; --"};
    for (const QString& t : titles)
        addEntry(kDay, t);
    const LiteralCase& c = GetParam();
    QStringList want;
    for (const char* m : c.matches)
        want << QString::fromUtf8(m);
    const Filter f(QStringLiteral("Title"), c.op, QString::fromUtf8(c.typed));
    for (bool before : {true, false}) {
        if (before) gRecordset.setFilter(f);
        gRecordset.open(QStringLiteral("SELECT Title FROM Diary"), gConnection);
        if (!before) gRecordset.setFilter(f);
        QStringList got;
        for (; !gRecordset.eof(); gRecordset.moveNext())
            got << gRecordset.text(QStringLiteral("Title"));
        gRecordset.close();
        EXPECT_EQ(got, want) << (before ? "as WHERE" : "in memory");
    }
    EXPECT_EQ(gConnection.count(QStringLiteral("Diary")), titles.size());
}

INSTANTIATE_TEST_SUITE_P(
    Typed, DbFilterLiteral,
    ::testing::Values(LiteralCase{"'", Op::Contains, {"it's", "O'Brien's diary", "'; DROP TABLE Diary; --"}},
                      LiteralCase{"%", Op::Contains, {"100%"}}, LiteralCase{"_", Op::Contains, {"a_b"}},
                      LiteralCase{"a_", Op::BeginsWith, {"a_b"}},
                      LiteralCase{"\\", Op::Contains, {"back\\slash"}},
                      LiteralCase{"o'b", Op::BeginsWith, {"O'Brien's diary"}},
                      LiteralCase{"\"quoted\"", Op::Eq, {"\"quoted\""}},
                      LiteralCase{"'; DROP TABLE Diary; --", Op::Eq, {"'; DROP TABLE Diary; --"}},
                      LiteralCase{"*", Op::Contains, {}}));

TEST_F(DbRecordset, BatchIsWrittenOnlyByItsCommit) {
    for (int i = 0; i < 4; ++i)
        addEntry(kDay, QStringLiteral("e%1").arg(i));
    auto flagAll = [&] {
        gCommand.setCommandText(QStringLiteral("SELECT * FROM Diary"));
        gRecordset.setCursorLocation(db::CursorLocation::Client);
        gRecordset.open(gCommand, db::CursorType::Static, LockType::BatchOptimistic);
        for (; !gRecordset.eof(); gRecordset.moveNext())
            gRecordset.setField(QStringLiteral("Collect"), true);
        gRecordset.addNew();
        gRecordset.setField(QStringLiteral("Title"), QStringLiteral("added in batch"));
    };
    const Filter favourites(QStringLiteral("Collect"), Op::Eq, true);

    flagAll();
    EXPECT_EQ(gConnection.count(QStringLiteral("Diary"), favourites), 0); // nothing written yet
    gConnection.beginTrans();
    gRecordset.updateBatch();
    gConnection.rollbackTrans();
    gRecordset.close();
    EXPECT_EQ(gConnection.count(QStringLiteral("Diary"), favourites), 0);
    EXPECT_EQ(gConnection.count(QStringLiteral("Diary")), 4);

    flagAll();
    gRecordset.close(); // released without updateBatch: dropped
    EXPECT_EQ(gConnection.count(QStringLiteral("Diary"), favourites), 0);

    flagAll();
    gConnection.beginTrans();
    gRecordset.updateBatch();
    gConnection.commitTrans();
    gRecordset.close();
    reopen();
    EXPECT_EQ(gConnection.count(QStringLiteral("Diary"), favourites), 4);
    EXPECT_EQ(gConnection.count(QStringLiteral("Diary")), 5);
}

TEST_F(DbRecordset, BatchRewriteOfATableIsAllOrNothing) {
    // The base-settings rewrite: delete every row, add the new ones, one transaction.
    auto rewrite = [&](const QStringList& names) {
        db::Transaction t(gConnection);
        gCommand.setCommandText(QStringLiteral("DELETE * FROM Col"));
        gRecordset.open(gCommand);
        EXPECT_FALSE(gRecordset.isOpen());
        gRecordset.setCursorLocation(db::CursorLocation::Client);
        gCommand.setCommandText(QStringLiteral("SELECT * FROM Col"));
        gRecordset.open(gCommand, db::CursorType::Dynamic, LockType::BatchOptimistic);
        for (const QString& n : names) {
            gRecordset.addNew();
            gRecordset.setField(QStringLiteral("Name"), n);
            gRecordset.setField(QStringLiteral("ColIsVisible"), true);
        }
        gRecordset.updateBatch();
        t.commit();
        gRecordset.close();
    };
    rewrite({"一", "二", "三"});
    const QString tooLong(256, QLatin1Char('x'));
    EXPECT_EQ(errorOf([&] { rewrite({"四", tooLong}); }), db::err::DataTooLong);
    gRecordset.close();
    gRecordset.open(QStringLiteral("SELECT * FROM Col"), gConnection);
    QStringList names;
    for (; !gRecordset.eof(); gRecordset.moveNext())
        names << gRecordset.text(QStringLiteral("Name"));
    gRecordset.close();
    EXPECT_EQ(names, (QStringList{"一", "二", "三"}));
}

TEST_F(DbRecordset, DeleteReachesExactlyItsRowAndPositionsStayInOrder) {
    const QStringList all = {"a", "b", "c", "d", "e"};
    for (const QString& t : all)
        addEntry(kDay, t);
    addEntry(kDay.addDays(1), QStringLiteral("x"));
    // Delete the 2nd, then the (new) 3rd entry of the day, as the review page does.
    for (int position : {2, 3}) {
        gCommand.setCommandText(QStringLiteral("SELECT * FROM Diary"));
        gRecordset.setCursorLocation(db::CursorLocation::Client);
        gRecordset.setFilter(Filter::eq(QStringLiteral("Date"), kDay));
        gRecordset.open(gCommand, db::CursorType::Unspecified, LockType::Pessimistic);
        gRecordset.move(position - 1);
        gRecordset.deleteCurrent();
        EXPECT_EQ(errorOf([&] { gRecordset.text(QStringLiteral("Title")); }), db::err::RowDeleted);
        gRecordset.moveNext();
        EXPECT_EQ(gRecordset.absolutePosition(), position);
        gRecordset.close();
    }
    EXPECT_EQ(day(kDay), (QStringList{"a", "c", "e"}));
    reopen();
    EXPECT_EQ(day(kDay), (QStringList{"a", "c", "e"}));
    EXPECT_EQ(day(kDay.addDays(1)), QStringList{"x"});
    // New entries go after the remaining ones.
    addEntry(kDay, QStringLiteral("f"));
    EXPECT_EQ(day(kDay), (QStringList{"a", "c", "e", "f"}));
}

TEST_F(DbRecordset, DeletingWhileWalkingVisitsEveryRowOnce) {
    for (int i = 0; i < 6; ++i)
        addEntry(kDay, QString::number(i), i);
    gRecordset.open(QStringLiteral("SELECT * FROM Diary"), gConnection, db::CursorType::Static,
                    LockType::Pessimistic);
    QStringList seen;
    while (!gRecordset.eof()) {
        seen << gRecordset.text(QStringLiteral("Title"));
        if (gRecordset.integer(QStringLiteral("Score")) % 2 == 0) gRecordset.deleteCurrent();
        gRecordset.moveNext();
    }
    EXPECT_EQ(seen, (QStringList{"0", "1", "2", "3", "4", "5"}));
    EXPECT_EQ(gRecordset.recordCount(), 3);
    gRecordset.close();
    EXPECT_EQ(day(kDay), (QStringList{"1", "3", "5"}));
}

TEST_F(DbRecordset, TextLimitsAndTypesAreEnforced) {
    gRecordset.open(QStringLiteral("SELECT * FROM Diary"), gConnection, db::CursorType::Static,
                    LockType::Optimistic);
    gRecordset.addNew();
    EXPECT_EQ(errorOf([&] { gRecordset.setField(QStringLiteral("Title"), QString(256, QChar(0x4E2D))); }),
              db::err::DataTooLong);
    EXPECT_EQ(errorOf([&] { gRecordset.setField(QStringLiteral("Title"), QString(255, QChar(0x4E2D))); }), 0);
    EXPECT_EQ(
        errorOf([&] { gRecordset.setField(QStringLiteral("Diary"), QString(100000, QLatin1Char('x'))); }), 0);
    EXPECT_EQ(errorOf([&] { gRecordset.setField(QStringLiteral("Score"), QStringLiteral("abc")); }),
              db::err::TypeMismatch);
    EXPECT_EQ(errorOf([&] { gRecordset.setField(QStringLiteral("Score"), 5000000000LL); }),
              db::err::DataTooLong);
    EXPECT_EQ(errorOf([&] { gRecordset.setField(QStringLiteral("Date"), QStringLiteral("5.3.2024")); }),
              db::err::TypeMismatch);
    EXPECT_EQ(errorOf([&] { gRecordset.setField(QStringLiteral("Collect"), QVariant()); }),
              db::err::TypeMismatch);
    EXPECT_EQ(errorOf([&] { gRecordset.setField(QStringLiteral("NoSuchField"), 1); }), db::err::ItemNotFound);
    gRecordset.setField(QStringLiteral("Date"), kDay);
    gRecordset.update();
    gRecordset.close();
    reopen();
    gRecordset.open(QStringLiteral("SELECT * FROM Diary"), gConnection);
    ASSERT_EQ(gRecordset.recordCount(), 1);
    EXPECT_EQ(gRecordset.text(QStringLiteral("Title")).size(), 255);
    EXPECT_EQ(gRecordset.text(QStringLiteral("Diary")).size(), 100000);
    EXPECT_FALSE(gRecordset.field(QStringLiteral("Score")).isValid()); // never set: null
    EXPECT_EQ(gRecordset.integer(QStringLiteral("Score")), 0);
    gRecordset.close();
}

TEST_F(DbRecordset, CursorEdgesAreErrors) {
    addEntry(kDay, QStringLiteral("only"));
    gRecordset.open(QStringLiteral("SELECT * FROM Diary"), gConnection);
    EXPECT_FALSE(gRecordset.bof());
    gRecordset.moveNext();
    EXPECT_TRUE(gRecordset.eof());
    EXPECT_EQ(errorOf([&] { gRecordset.field(QStringLiteral("Title")); }), db::err::BofOrEof);
    EXPECT_EQ(errorOf([&] { gRecordset.moveNext(); }), db::err::BofOrEof);
    gRecordset.move(-5);
    EXPECT_TRUE(gRecordset.bof());
    EXPECT_EQ(errorOf([&] { gRecordset.movePrevious(); }), db::err::BofOrEof);
    gRecordset.moveFirst();
    EXPECT_EQ(gRecordset.text(QStringLiteral("TITLE")), QStringLiteral("only")); // names ignore case
    // A read-only cursor refuses every change.
    for (auto change : std::vector<std::function<void()>>{
             [] { gRecordset.setField(QStringLiteral("Title"), QStringLiteral("x")); },
             [] { gRecordset.addNew(); }, [] { gRecordset.deleteCurrent(); },
             [] { gRecordset.updateBatch(); }})
        EXPECT_EQ(errorOf(change), db::err::ReadOnly);
    gRecordset.close();
    EXPECT_EQ(errorOf([] { gRecordset.recordCount(); }), db::err::Closed);
    // An empty result is at bof and eof at once.
    gRecordset.setFilter(Filter::eq(QStringLiteral("Date"), kDay.addDays(9)));
    gRecordset.open(QStringLiteral("SELECT * FROM Diary"), gConnection);
    EXPECT_TRUE(gRecordset.eof());
    EXPECT_TRUE(gRecordset.bof());
    EXPECT_EQ(gRecordset.recordCount(), 0);
    gRecordset.close();
}

TEST_F(DbRecordset, LeavingAnEditedRowWritesItAndCancelDropsIt) {
    addEntry(kDay, QStringLiteral("a"));
    addEntry(kDay, QStringLiteral("b"));
    gRecordset.open(QStringLiteral("SELECT * FROM Diary"), gConnection, db::CursorType::Static,
                    LockType::Optimistic);
    gRecordset.setField(QStringLiteral("Title"), QStringLiteral("a2"));
    gRecordset.moveNext(); // writes "a2"
    gRecordset.setField(QStringLiteral("Title"), QStringLiteral("b2"));
    gRecordset.cancelUpdate();
    EXPECT_EQ(gRecordset.text(QStringLiteral("Title")), QStringLiteral("b"));
    gRecordset.addNew();
    gRecordset.cancelUpdate();
    EXPECT_EQ(gRecordset.recordCount(), 2);
    gRecordset.close();
    EXPECT_EQ(day(kDay), (QStringList{"a2", "b"}));
}

TEST_F(DbRecordset, SortIsStableAndFilterAfterOpenStartsAtTheFirstRow) {
    addEntry(kDay.addDays(2), QStringLiteral("late 1"));
    addEntry(kDay, QStringLiteral("early 1"));
    addEntry(kDay.addDays(2), QStringLiteral("late 2"));
    addEntry(kDay, QStringLiteral("early 2"));
    addEntry(kDay.addDays(1), QStringLiteral("middle"));
    const QStringList sorted = {"early 1", "early 2", "middle", "late 1", "late 2"};
    auto titles = [] {
        QStringList out;
        for (; !gRecordset.eof(); gRecordset.moveNext())
            out << gRecordset.text(QStringLiteral("Title"));
        return out;
    };
    gRecordset.setSort(db::Sort(QStringLiteral("Date")));
    gRecordset.open(QStringLiteral("SELECT * FROM Diary"), gConnection);
    EXPECT_EQ(titles(), sorted);
    gRecordset.close();

    gRecordset.open(QStringLiteral("SELECT * FROM Diary"), gConnection);
    gRecordset.setSort(db::Sort(QStringLiteral("Date")));
    EXPECT_EQ(titles(), sorted);
    gRecordset.setSort(db::Sort(QStringLiteral("Date"), false));
    EXPECT_EQ(titles(), (QStringList{"late 1", "late 2", "middle", "early 1", "early 2"}));
    gRecordset.setSort({});
    EXPECT_EQ(titles(), (QStringList{"late 1", "early 1", "late 2", "early 2", "middle"}));
    gRecordset.setFilter(Filter::eq(QStringLiteral("Date"), kDay.addDays(2)));
    EXPECT_EQ(gRecordset.absolutePosition(), 1);
    EXPECT_EQ(titles(), (QStringList{"late 1", "late 2"}));
    EXPECT_EQ(errorOf([] { gRecordset.setFilter(Filter::eq(QStringLiteral("Nope"), 1)); }),
              db::err::ItemNotFound);
    gRecordset.close();
}

TEST_F(DbRecordset, LargeResultsReadLongTextsWhenAskedFor) {
    // More rows than are read whole at open: long texts of the rest come later.
    {
        db::Transaction t(gConnection);
        for (int i = 0; i < 2300; ++i)
            gConnection.execute(
                QStringLiteral("INSERT INTO Diary (Date, Title, Diary, DiaryRTF, Score) VALUES "
                               "(?, ?, ?, ?, ?)"),
                {kDay.addDays(i % 31), QString::number(i), QStringLiteral("text %1").arg(i),
                 QStringLiteral("rtf %1").arg(i), i});
        t.commit();
    }
    gRecordset.setSort(db::Sort(QStringLiteral("Date")));
    gRecordset.open(QStringLiteral("SELECT * FROM Diary"), gConnection, db::CursorType::Static,
                    LockType::BatchOptimistic);
    ASSERT_EQ(gRecordset.recordCount(), 2300);
    long n = 0;
    QDate last;
    for (; !gRecordset.eof(); gRecordset.moveNext(), ++n) {
        const int score = gRecordset.integer(QStringLiteral("Score"));
        ASSERT_EQ(gRecordset.text(QStringLiteral("Diary")), QStringLiteral("text %1").arg(score));
        ASSERT_EQ(gRecordset.text(QStringLiteral("DiaryRTF")), QStringLiteral("rtf %1").arg(score));
        ASSERT_LE(last, gRecordset.date(QStringLiteral("Date")));
        last = gRecordset.date(QStringLiteral("Date"));
        if (score == 2299) gRecordset.setField(QStringLiteral("Diary"), QStringLiteral("changed"));
    }
    EXPECT_EQ(n, 2300);
    gRecordset.setFilter(Filter(QStringLiteral("Diary"), Op::Contains, QStringLiteral("changed")));
    EXPECT_EQ(gRecordset.recordCount(), 1);
    gRecordset.updateBatch();
    gRecordset.close();
    EXPECT_EQ(gConnection.count(QStringLiteral("Diary"),
                                Filter::eq(QStringLiteral("Diary"), QStringLiteral("changed"))),
              1);
}

TEST_F(DbRecordset, TheCacheSizeSaysWhichLongTextsAreReadAtOpen) {
    {
        db::Transaction t(gConnection);
        for (int i = 0; i < 2100; ++i)
            gConnection.execute(
                QStringLiteral("INSERT INTO Diary (Date, Title, Diary, Score) VALUES (?, ?, ?, ?)"),
                {kDay.addDays(i % 31), QString::number(i), QStringLiteral("text %1").arg(i), i});
        t.commit();
    }
    struct Case {
        bool sorted;
        long cacheSize; // 0: not set
        bool lastTextInMemory;
    };
    for (const Case c : {Case{false, 0, false}, Case{true, 0, false}, Case{false, 2100, true},
                         Case{true, 100000, true}, Case{true, 2099, false}}) {
        SCOPED_TRACE(testing::Message() << c.sorted << " " << c.cacheSize);
        gConnection.beginTrans();
        if (c.sorted) gRecordset.setSort(db::Sort(QStringLiteral("Date")));
        if (c.cacheSize) gRecordset.setCacheSize(c.cacheSize);
        gRecordset.open(QStringLiteral("SELECT * FROM Diary"), gConnection);
        // The rows leave the table behind the recordset: only texts read at open remain.
        gConnection.execute(QStringLiteral("DELETE FROM Diary"));
        gRecordset.moveLast();
        EXPECT_EQ(errorOf([] { gRecordset.text(QStringLiteral("Diary")); }),
                  c.lastTextInMemory ? 0 : db::err::RowDeleted);
        gRecordset.close();
        gConnection.rollbackTrans();
    }
}

TEST_F(DbRecordset, AReleaseForgottenAfterAnErrorDoesNotLeakIntoTheNextUse) {
    addEntry(kDay, QStringLiteral("a"));
    addEntry(kDay.addDays(1), QStringLiteral("b"));
    gRecordset.open(QStringLiteral("SELECT Date FROM Diary"), gConnection);
    gRecordset.setFilter(Filter::eq(QStringLiteral("Date"), kDay)); // and then an error, no release
    gCommand.setCommandText(QStringLiteral("SELECT * FROM Diary"));
    gRecordset.setCursorLocation(db::CursorLocation::Client);
    gRecordset.open(gCommand);
    EXPECT_EQ(gRecordset.recordCount(), 2);
    EXPECT_EQ(gRecordset.fieldCount(), 6);
    gRecordset.close();
}

TEST_F(DbRecordset, RecordsetNoticesItsConnectionWentAway) {
    addEntry(kDay, QStringLiteral("a"));
    gRecordset.open(QStringLiteral("SELECT * FROM Diary"), gConnection, db::CursorType::Static,
                    LockType::Optimistic);
    gRecordset.setField(QStringLiteral("Title"), QStringLiteral("b"));
    const QString savedFile = file_;
    gConnection.close();
    gConnection.open(savedFile, key_);
    EXPECT_EQ(errorOf([] { gRecordset.update(); }), db::err::Closed);
    gRecordset.close();
    EXPECT_EQ(day(kDay), QStringList{"a"});
}

TEST_F(DbRecordset, RepeatedDayFiltersFollowEditsDeletesAndAdds) {
    // The month view's way: one read of the visible range, then a filter per day.
    for (int i = 0; i < 9; ++i)
        addEntry(kDay.addDays(i % 3), QStringLiteral("e%1").arg(i));
    gRecordset.setFilter(Filter::between(QStringLiteral("Date"), kDay, kDay.addDays(41)));
    gRecordset.open(QStringLiteral("SELECT * FROM Diary"), gConnection, db::CursorType::Static,
                    LockType::Optimistic);
    auto countOn = [](const QDate& d) {
        gRecordset.setFilter(Filter::eq(QStringLiteral("Date"), d));
        return gRecordset.recordCount();
    };
    EXPECT_EQ(countOn(kDay), 3);
    EXPECT_EQ(countOn(kDay.addDays(3)), 0);
    gRecordset.setFilter(Filter::eq(QStringLiteral("Date"), kDay));
    gRecordset.deleteCurrent();
    EXPECT_EQ(countOn(kDay), 2);
    gRecordset.setFilter(Filter::eq(QStringLiteral("Date"), kDay.addDays(1)));
    gRecordset.setField(QStringLiteral("Date"), kDay.addDays(3));
    gRecordset.update();
    EXPECT_EQ(countOn(kDay.addDays(1)), 2);
    EXPECT_EQ(countOn(kDay.addDays(3)), 1);
    gRecordset.addNew();
    gRecordset.setField(QStringLiteral("Date"), kDay.addDays(3));
    gRecordset.update();
    EXPECT_EQ(countOn(kDay.addDays(3)), 2);
    gRecordset.setFilter({});
    EXPECT_EQ(gRecordset.recordCount(), 9);
    gRecordset.close();
    EXPECT_EQ(gConnection.count(QStringLiteral("Diary"), Filter::eq(QStringLiteral("Date"), kDay.addDays(3))),
              2);
    EXPECT_EQ(gConnection.count(QStringLiteral("Diary")), 9);
}

TEST_F(DbRecordset, AFilterGivenBeforeOpenReadsOnlyItsRowsThroughTheIndex) {
    {
        db::Transaction t(gConnection);
        for (int i = 0; i < 300; ++i)
            gConnection.execute(QStringLiteral("INSERT INTO Diary (Date, Title, Score) VALUES (?, ?, ?)"),
                                {kDay.addDays(i % 100), QString::number(i), i});
        t.commit();
    }
    gCommand.setCommandText(QStringLiteral("SELECT * FROM Diary"));
    gRecordset.setCursorLocation(db::CursorLocation::Client);
    gRecordset.setFilter(Filter::eq(QStringLiteral("Date"), kDay.addDays(7)));
    gRecordset.open(gCommand);
    ASSERT_EQ(gRecordset.recordCount(), 3);
    QStringList titles;
    for (; !gRecordset.eof(); gRecordset.moveNext())
        titles << gRecordset.text(QStringLiteral("Title"));
    EXPECT_EQ(titles, (QStringList{"7", "107", "207"}));
    gRecordset.close();
    // The statement that read them found them through the index, without a scan.
    bool seen = false;
    for (sqlite3_stmt* st = sqlite3_next_stmt(gConnection.handle(), nullptr); st;
         st = sqlite3_next_stmt(gConnection.handle(), st)) {
        const QString sql = QString::fromUtf8(sqlite3_sql(st));
        if (!sql.contains(QStringLiteral("FROM \"Diary\" WHERE \"Date\" = ?"))) continue;
        seen = true;
        EXPECT_EQ(sqlite3_stmt_status(st, SQLITE_STMTSTATUS_FULLSCAN_STEP, 0), 0) << sql.toStdString();
        EXPECT_EQ(sqlite3_stmt_status(st, SQLITE_STMTSTATUS_SORT, 0), 0) << sql.toStdString();
    }
    EXPECT_TRUE(seen);
}

} // namespace
