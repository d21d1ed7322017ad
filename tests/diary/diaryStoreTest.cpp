// The diary store on a real encrypted database, with no widget: what each
// change writes, and that a change that fails half-way leaves the file as it was.
#include "diary/DiaryStore.h"
#include "core/model/gDatabase.h"
#include "testSupport.h"

#include <QStringList>

#include <functional>

namespace {
const QString kPassword = QStringLiteral("store pw");
const QDate kDay(2009, 3, 7);
const QDate kOtherDay(2009, 3, 8);

DiaryEntryText text(const QString& title, int score) {
    return {title, title + QStringLiteral(" body"), QStringLiteral("{\\rtf1 ") + title + QStringLiteral("}"),
            score};
}

class DiaryStoreTest : public HomeTest {
protected:
    void SetUp() override {
        HomeTest::SetUp();
        file_ = home().folder(QStringLiteral("data")) + QStringLiteral("Userdata.dat");
        gCreateDatabase(file_, kPassword);
        open();
    }
    void TearDown() override {
        connection_.close();
        HomeTest::TearDown();
    }
    void open() {
        connection_.setSchema(gDatabaseSchema());
        connection_.open(file_, kPassword);
    }
    // Closes the file and opens it again, so only what reached the disk counts.
    void reopen() {
        connection_.close();
        open();
    }
    // Every entry in table order, then the stored score total.
    QStringList contents() {
        QStringList out;
        db::Recordset rs;
        rs.open(QStringLiteral("SELECT * FROM Diary"), connection_);
        for (; !rs.eof(); rs.moveNext())
            out.append(QStringLiteral("%1|%2|%3|%4|%5|%6")
                           .arg(rs.date(QStringLiteral("Date")).toString(Qt::ISODate),
                                rs.text(QStringLiteral("Title")), rs.text(QStringLiteral("Diary")),
                                rs.text(QStringLiteral("DiaryRTF")))
                           .arg(rs.integer(QStringLiteral("Score")))
                           .arg(rs.boolean(QStringLiteral("Collect"))));
        rs.close();
        rs.open(QStringLiteral("SELECT Score FROM DiarySettings"), connection_);
        out.append(rs.eof() ? QStringLiteral("no total")
                            : QStringLiteral("total %1").arg(rs.integer(QStringLiteral("Score"))));
        return out;
    }
    static QString row(const QDate& d, const QString& title, int score, bool collect = false) {
        const DiaryEntryText t = text(title, score);
        return QStringLiteral("%1|%2|%3|%4|%5|%6")
            .arg(d.toString(Qt::ISODate), t.title, t.text, t.rtf)
            .arg(score)
            .arg(collect);
    }
    void setFlag(int rowid, bool value) {
        connection_.execute(QStringLiteral("UPDATE Diary SET Collect=? WHERE rowid=?"), {value, rowid});
    }
    // The three entries most cases start from: two on kDay, one on kOtherDay,
    // the total their scores' sum.
    DiaryStore& withEntries() {
        store_.add(kDay, text(QStringLiteral("a"), 10), 0);
        store_.add(kOtherDay, text(QStringLiteral("x"), 20), 10);
        store_.add(kDay, text(QStringLiteral("b"), 30), 30);
        return store_;
    }

    QString file_;
    db::Connection connection_;
    DiaryStore store_{connection_};
};

TEST_F(DiaryStoreTest, AddAppendsToTheDayAndTheTotal) {
    EXPECT_EQ(store_.add(kDay, text(QStringLiteral("a"), 10), 0).dayCount, 1);
    const DiaryStore::Added other = store_.add(kOtherDay, text(QStringLiteral("x"), 20), 10);
    EXPECT_EQ(other.dayCount, 1);
    EXPECT_EQ(other.scoreTotal, 30);
    const DiaryStore::Added second = store_.add(kDay, text(QStringLiteral("b"), 30), 30);
    EXPECT_EQ(second.dayCount, 2);
    EXPECT_EQ(second.scoreTotal, 60);
    reopen();
    EXPECT_EQ(contents(), (QStringList{row(kDay, "a", 10), row(kOtherDay, "x", 20), row(kDay, "b", 30),
                                       QStringLiteral("total 60")}));
}

TEST_F(DiaryStoreTest, EntriesOfADayInTableOrder) {
    withEntries();
    const auto summary = [](const std::vector<DiaryEntryText>& entries) {
        QStringList out;
        for (const DiaryEntryText& e : entries)
            out.append(QStringLiteral("%1|%2|%3|%4").arg(e.title, e.text, e.rtf).arg(e.score));
        return out;
    };
    EXPECT_EQ(summary(store_.entriesOf(kDay)),
              (QStringList{"a|a body|{\\rtf1 a}|10", "b|b body|{\\rtf1 b}|30"}));
    EXPECT_EQ(summary(store_.entriesOf(kDay, false)), (QStringList{"a|a body||0", "b|b body||0"}));
    EXPECT_TRUE(store_.entriesOf(QDate(2009, 3, 9)).empty());
}

// Each found entry as "place date title preview score".
QStringList found(const std::vector<gFoundEntry>& entries) {
    QStringList out;
    for (const gFoundEntry& e : entries)
        out.append(QStringLiteral("%1 %2 %3 %4 %5")
                       .arg(e.number)
                       .arg(e.date.toString(Qt::ISODate), e.title, e.preview)
                       .arg(e.score));
    return out;
}

TEST_F(DiaryStoreTest, SearchFindsByDateWithThePlaceInTheDay) {
    withEntries();
    setFlag(3, true);
    EXPECT_EQ(found(store_.search(db::Filter::eq(QStringLiteral("Collect"), true))),
              (QStringList{"2 2009-03-07 b b body 30"}));
    EXPECT_EQ(found(store_.search({})), (QStringList{"1 2009-03-07 a a body 10", "2 2009-03-07 b b body 30",
                                                     "1 2009-03-08 x x body 20"}));

    // A search of the texts keeps them, until the next change.
    const db::Filter words(QStringLiteral("Diary"), db::Op::Contains, QStringLiteral("body"));
    EXPECT_EQ(found(store_.search(words)).size(), 3);
    store_.add(kOtherDay, text(QStringLiteral("y"), 1), 60);
    EXPECT_EQ(found(store_.search(words)).last(), QStringLiteral("2 2009-03-08 y y body 1"));
}

TEST_F(DiaryStoreTest, UpdateRewritesOneEntryAndMovesTheTotalByTheChange) {
    withEntries();
    setFlag(3, true); // the update clears the flag, as the editor always has
    EXPECT_EQ(store_.update(kDay, 2, text(QStringLiteral("b2"), 5), 60), 35);
    reopen();
    EXPECT_EQ(contents(), (QStringList{row(kDay, "a", 10), row(kOtherDay, "x", 20), row(kDay, "b2", 5),
                                       QStringLiteral("total 35")}));
}

TEST_F(DiaryStoreTest, RemoveDeletesOneEntryAndItsScore) {
    withEntries();
    const DiaryStore::Removed removed = store_.remove(kDay, 1, 60);
    EXPECT_EQ(removed.dayCount, 1);
    EXPECT_EQ(removed.scoreTotal, 50);
    reopen();
    EXPECT_EQ(contents(),
              (QStringList{row(kOtherDay, "x", 20), row(kDay, "b", 30), QStringLiteral("total 50")}));
}

TEST_F(DiaryStoreTest, RemoveMakesAMissingSettingsRowAgain) {
    withEntries();
    connection_.execute(QStringLiteral("DELETE FROM DiarySettings"));
    EXPECT_EQ(store_.remove(kOtherDay, 1, 60).scoreTotal, 40);
    EXPECT_EQ(contents().last(), QStringLiteral("total 40"));
}

TEST_F(DiaryStoreTest, FavouriteFlagOfOneEntryAndClearingThemAll) {
    withEntries();
    store_.setFavourite(kDay, 2, true);
    store_.setFavourite(kOtherDay, 1, true);
    reopen();
    EXPECT_EQ(contents(), (QStringList{row(kDay, "a", 10), row(kOtherDay, "x", 20, true),
                                       row(kDay, "b", 30, true), QStringLiteral("total 60")}));
    store_.setFavourite(kDay, 2, false);
    EXPECT_EQ(contents().at(2), row(kDay, "b", 30, false));

    setFlag(1, true);
    setFlag(3, true);
    store_.clearFavourites();
    reopen();
    EXPECT_EQ(contents(), (QStringList{row(kDay, "a", 10), row(kOtherDay, "x", 20), row(kDay, "b", 30),
                                       QStringLiteral("total 60")}));
    store_.clearFavourites(); // none left: nothing to do
}

// Every change that fails, for whatever reason, raises and leaves the file as
// it was: the entry and the total go together or not at all.
TEST_F(DiaryStoreTest, AFailedChangeChangesNothing) {
    const QString failTotal = QStringLiteral(
        "CREATE TRIGGER failTotal BEFORE UPDATE ON DiarySettings BEGIN SELECT RAISE(ABORT, 'refused'); END");
    const QString failFlagOfB = QStringLiteral("CREATE TRIGGER failFlag BEFORE UPDATE ON Diary WHEN "
                                               "NEW.Title = 'b' BEGIN SELECT RAISE(ABORT, 'refused'); END");
    const QString noSettingsRow = QStringLiteral("DELETE FROM DiarySettings");
    struct Case {
        const char* name;
        QString breakage;
        std::function<void(DiaryStore&)> change;
        int error; // 0: any error
    };
    const Case cases[] = {
        {"add, total refused", failTotal, [](DiaryStore& s) { s.add(kDay, text("c", 1), 60); }, 0},
        {"add, no settings row", noSettingsRow, [](DiaryStore& s) { s.add(kDay, text("c", 1), 60); },
         db::err::BofOrEof},
        {"update, total refused", failTotal, [](DiaryStore& s) { s.update(kDay, 1, text("c", 1), 60); }, 0},
        {"update, no settings row", noSettingsRow, [](DiaryStore& s) { s.update(kDay, 1, text("c", 1), 60); },
         db::err::BofOrEof},
        {"update, position 0",
         {},
         [](DiaryStore& s) { s.update(kDay, 0, text("c", 1), 60); },
         db::err::BofOrEof},
        {"update, past the day's last",
         {},
         [](DiaryStore& s) { s.update(kDay, 3, text("c", 1), 60); },
         db::err::BofOrEof},
        {"update, a day without entries",
         {},
         [](DiaryStore& s) { s.update(QDate(2009, 3, 9), 1, text("c", 1), 60); },
         db::err::BofOrEof},
        {"remove, total refused", failTotal, [](DiaryStore& s) { s.remove(kDay, 1, 60); }, 0},
        {"favourite, position -1",
         {},
         [](DiaryStore& s) { s.setFavourite(kDay, -1, true); },
         db::err::BofOrEof},
        {"favourite, past the day's last",
         {},
         [](DiaryStore& s) { s.setFavourite(kOtherDay, 2, true); },
         db::err::BofOrEof},
        {"favourite, refused", failFlagOfB, [](DiaryStore& s) { s.setFavourite(kDay, 2, false); }, 0},
        // The first favourite is cleared before the second is refused.
        {"clear all, one refused", failFlagOfB, [](DiaryStore& s) { s.clearFavourites(); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        withEntries();
        setFlag(1, true);
        setFlag(3, true);
        if (!c.breakage.isEmpty()) connection_.execute(c.breakage);
        const QStringList before = contents();

        const int error = errorOf([&] { c.change(store_); });
        if (c.error)
            EXPECT_EQ(error, c.error);
        else
            EXPECT_NE(error, 0);
        EXPECT_EQ(connection_.transactionLevel(), 0);
        reopen();
        EXPECT_EQ(contents(), before);
    }
}
} // namespace
