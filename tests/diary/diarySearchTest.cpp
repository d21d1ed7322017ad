// The search's rows against the statement's: a table of criteria over a diary
// of varied entries, searched from a fresh read, from the kept entries, and a
// few rows a turn; a write or the lock in the middle of a read.
#include "diary/DiarySearch.h"
#include "core/model/gDatabase.h"
#include "core/base/gError.h"
#include "diary/DiaryStore.h"
#include "diary/gDiarySearch.h"
#include "platform/db/Cursor.h"
#include "platform/db/db.h"
#include "platform/db/dbSql.h"
#include "testSupport.h"

#include <QStringList>

namespace {

const QString kPassword = QStringLiteral("search pw");
const QDate kFirst(2024, 2, 27);

class DiarySearchTest : public HomeTest {
protected:
    void SetUp() override {
        HomeTest::SetUp();
        const QString file = home().folder(QStringLiteral("data")) + QStringLiteral("Userdata.dat");
        gCreateDatabase(file, kPassword);
        connection_.setSchema(gDatabaseSchema());
        connection_.open(file, kPassword);
        seed();
    }
    void TearDown() override {
        DiarySearch::setRowsPerTurn(0);
        gForgetSearchTexts();
        connection_.close();
        HomeTest::TearDown();
    }

    // Entries added out of date order, several on some days; texts in Chinese
    // and Latin letters of both cases, with pattern characters, empty and null
    // values, bytes that are not UTF-8, dates not in the stored form, and the
    // favourite flag as True, -1, 2 and False.
    void seed() {
        const QStringList words = {QStringLiteral("周末去郊外露营，看到了满天的星星。"),
                                   QStringLiteral("Went CAMPING with friends"),
                                   QStringLiteral("考试 50% 完成"),
                                   QStringLiteral("a_b and it's done"),
                                   QStringLiteral("back\\slash"),
                                   QStringLiteral("😀 笑了 Straße"),
                                   QStringLiteral("今天上午下了一场小雨，空气很清新。"),
                                   QString(),
                                   QStringLiteral("camp露营Camp")};
        const QStringList titles = {QStringLiteral("雨天"),
                                    QStringLiteral("Camp"),
                                    QStringLiteral("期中考试"),
                                    QStringLiteral("50%"),
                                    QStringLiteral("a_b"),
                                    QStringLiteral("x' OR '1'='1"),
                                    QString()};
        const QString insert = QStringLiteral(
            "INSERT INTO Diary (Date, Title, Diary, DiaryRTF, Score, Collect) VALUES (?, ?, ?, ?, ?, ?)");
        db::Transaction t(connection_);
        for (int i = 0; i < 240; ++i) {
            const QDate day = kFirst.addDays((i * 37) % 61);
            QString text = words[i % words.size()];
            // Long texts put the word in ever other places of the scan.
            if (i % 5 == 0) text = QStringLiteral("今天上午").repeated(i % 23) + text + QStringLiteral("xY");
            connection_.execute(insert, {day, titles[i % titles.size()], text, QStringLiteral("{\\rtf1 x}"),
                                         (i * 13) % 101, i % 7 == 0});
        }
        connection_.execute(QStringLiteral("UPDATE Diary SET Collect = -1 WHERE rowid % 11 = 0"));
        connection_.execute(QStringLiteral("UPDATE Diary SET Collect = 2 WHERE rowid % 13 = 0"));
        connection_.execute(QStringLiteral("UPDATE Diary SET Score = NULL WHERE rowid % 17 = 0"));
        connection_.execute(QStringLiteral("UPDATE Diary SET Diary = NULL WHERE rowid % 19 = 0"));
        connection_.execute(QStringLiteral("UPDATE Diary SET Title = NULL WHERE rowid % 23 = 0"));
        connection_.execute(QStringLiteral("UPDATE Diary SET Date = NULL WHERE rowid % 29 = 0"));
        connection_.execute(QStringLiteral("UPDATE Diary SET Date = '2024-3-1' WHERE rowid % 31 = 0"));
        connection_.execute(QStringLiteral("UPDATE Diary SET Diary = CAST(? AS TEXT) WHERE rowid % 37 = 0"),
                            {QByteArray("camp \xff\xfe \0露营", 12)});
        // An overlong "/", a surrogate, a sequence cut short: not UTF-8.
        connection_.execute(QStringLiteral("UPDATE Diary SET Title = CAST(? AS TEXT) WHERE rowid % 43 = 0"),
                            {QByteArray("camp\xc0\xaf\xed\xa0\x80\xe9\x9c")});
        connection_.execute(QStringLiteral("UPDATE Diary SET Diary = ? WHERE rowid % 41 = 0"),
                            {QStringLiteral("camp ") + QChar(0xFFFE) + QStringLiteral(" 露营")});
        t.commit();
    }

    // The statement's rows for filter, as "NO. date title preview score": the
    // layer's WHERE clause, by date, with each entry's place among all of its
    // day's entries in table order.
    QStringList statementRows(const db::Filter& filter) {
        QHash<qint64, int> places;
        {
            db::Cursor all(connection_, QStringLiteral("SELECT rowid, Date FROM Diary ORDER BY Date, rowid"));
            QDate day;
            int place = 0;
            for (bool first = true; all.next(); first = false) {
                const QDate d = all.date(1);
                place = !first && d == day ? place + 1 : 1;
                day = d;
                places.insert(all.int64(0), place);
            }
        }
        const auto& columns = connection_.columnsOf(QStringLiteral("Diary"));
        QVariantList params;
        const QString where = db::detail::whereClause(
            filter, [&](const QString& f) { return columns.value(f.toLower()); }, params);
        db::Cursor rows(connection_,
                        QStringLiteral("SELECT rowid, Date, Title, Diary, Score FROM Diary") + where +
                            QStringLiteral(" ORDER BY Date, rowid"),
                        params);
        QStringList out;
        while (rows.next())
            out << line(places.value(rows.int64(0)), rows.date(1), QString::fromUtf8(rows.utf8(2)),
                        QString::fromUtf8(rows.utf8(3)).left(50), int(rows.int64(4)));
        return out;
    }
    static QString line(int number, const QDate& d, const QString& title, const QString& preview, int score) {
        return QStringLiteral("%1 %2 %3 %4 %5")
            .arg(number)
            .arg(d.toString(Qt::ISODate), title, preview)
            .arg(score);
    }
    static QStringList lines(const std::vector<gFoundEntry>& found) {
        QStringList out;
        for (const gFoundEntry& e : found)
            out << line(e.number, e.date, e.title, e.preview, e.score);
        return out;
    }
    // The search in turns, as the page runs it; its rows as lines.
    QStringList turnRows(const db::Filter& filter, int* turns = nullptr) {
        DiarySearch s(connection_, filter);
        int n = 1;
        for (; !s.run(DiarySearch::Clock::time_point::max()); ++n) {
        }
        if (turns) *turns = n;
        QStringList out;
        SearchEntries& e = *s.entries();
        for (quint32 i : s.found())
            out << line(e[i].number, e.date(i), e.title(i), e.preview(i), e.score(i));
        return out;
    }

    db::Connection connection_;
};

std::vector<std::pair<const char*, db::Filter>> criteria() {
    using db::Filter;
    using db::Op;
    const QString title = QStringLiteral("Title"), text = QStringLiteral("Diary");
    std::vector<std::pair<const char*, Filter>> c = {
        {"everything", Filter()},
        {"date range", Filter::between(QStringLiteral("Date"), kFirst.addDays(10), kFirst.addDays(30))},
        {"one day", Filter::eq(QStringLiteral("Date"), kFirst.addDays(37))},
        {"no date given", Filter::eq(QStringLiteral("Date"), QDate())},
        {"score", Filter::eq(QStringLiteral("Score"), 13)},
        {"score range", Filter::between(QStringLiteral("Score"), 60, 80)},
        {"score not", Filter(QStringLiteral("Score"), Op::Ne, 0)},
        {"score below", Filter(QStringLiteral("Score"), Op::Lt, 10)},
        {"favourites", Filter::eq(QStringLiteral("Collect"), true)},
        {"not favourites", Filter::eq(QStringLiteral("Collect"), false)},
        {"title equal", Filter::eq(title, QStringLiteral("Camp"))},
        {"title after", Filter(title, Op::Gt, QStringLiteral("a"))},
        {"text equal", Filter::eq(text, QStringLiteral("back\\slash"))},
        {"date and title", Filter::between(QStringLiteral("Date"), kFirst, kFirst.addDays(20))
                               .and_(title, Op::Contains, QStringLiteral("雨"))},
        {"text and favourites",
         Filter(text, Op::Contains, QStringLiteral("露营")).and_(QStringLiteral("Collect"), Op::Eq, true)},
        {"text and score range", Filter(text, Op::Contains, QStringLiteral("camp"))
                                     .and_(Filter::between(QStringLiteral("Score"), 20, 70))},
        {"score as text", Filter(QStringLiteral("Score"), Op::BeginsWith, QStringLiteral("1"))},
        {"flag as text", Filter(QStringLiteral("Collect"), Op::Contains, QStringLiteral("1"))},
        {"field spelled small", Filter(QStringLiteral("diary"), Op::Contains, QStringLiteral("雨"))},
    };
    for (const char* v : {"露营", "camp", "CAMP", "Camp", "%", "_", "'", "\\", "😀", "ß", "xy", "今天上午今天",
                          "x' OR '1'='1", "50%", "a_b", "营", "星星。", "\xef\xbf\xbd", "\xef\xbf\xbe"}) {
        c.push_back({"title contains", Filter(title, Op::Contains, QString::fromUtf8(v))});
        c.push_back({"title begins", Filter(title, Op::BeginsWith, QString::fromUtf8(v))});
        c.push_back({"text contains", Filter(text, Op::Contains, QString::fromUtf8(v))});
        c.push_back({"text begins", Filter(text, Op::BeginsWith, QString::fromUtf8(v))});
    }
    return c;
}

TEST_F(DiarySearchTest, EveryCriterionGivesTheStatementsRowsInItsOrder) {
    int withRows = 0;
    for (const auto& [name, filter] : criteria()) {
        SCOPED_TRACE(name);
        const QStringList expected = statementRows(filter);
        SCOPED_TRACE(filter.isEmpty() ? std::string()
                                      : filter.conditions()[0].value.toString().toStdString());
        withRows += !expected.isEmpty();
        gForgetSearchTexts();
        EXPECT_EQ(lines(gSearchDiary(connection_, filter)), expected) << "from a fresh read";
        EXPECT_EQ(lines(gSearchDiary(connection_, filter)), expected) << "from the kept entries";
        EXPECT_EQ(turnRows(filter), expected) << "in turns";
    }
    EXPECT_GT(withRows, 40);
}

TEST_F(DiarySearchTest, AFewRowsATurnGiveTheSameRows) {
    DiarySearch::setRowsPerTurn(7);
    for (const auto& [name, filter] : criteria()) {
        SCOPED_TRACE(name);
        gForgetSearchTexts();
        int turns = 0;
        EXPECT_EQ(turnRows(filter, &turns), statementRows(filter));
        EXPECT_GT(turns, 30); // 240 entries, and their scores for some
    }
}

TEST_F(DiarySearchTest, TheStatementsErrorsAreRaised) {
    const QString longText = QStringLiteral("露").repeated(17000); // a pattern past SQLite's limit
    const struct {
        const char* name;
        db::Filter filter;
        int error;
    } cases[] = {
        {"a field the rows lack", db::Filter::eq(QStringLiteral("Nothing"), 1), db::err::ItemNotFound},
        {"a field the search does not read", db::Filter::eq(QStringLiteral("DiaryRTF"), QStringLiteral("x")),
         db::err::ItemNotFound},
        {"a value that is not a score", db::Filter::eq(QStringLiteral("Score"), QStringLiteral("abc")),
         db::err::TypeMismatch},
        {"a value that is not a date", db::Filter::eq(QStringLiteral("Date"), QStringLiteral("morgen")),
         db::err::TypeMismatch},
        {"a pattern too long", db::Filter(QStringLiteral("Diary"), db::Op::Contains, longText),
         db::err::CommandFailed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The statement the page ran before.
        const int statement = errorOf([&] {
            db::Recordset rs;
            rs.setFilter(c.filter);
            rs.open(QStringLiteral("SELECT Date,Title,Diary,Score,Collect FROM Diary"), connection_);
        });
        EXPECT_EQ(statement, c.error);
        EXPECT_EQ(errorOf([&] { gSearchDiary(connection_, c.filter); }), c.error);
    }
}

// A write between two turns: the search starts again on a new read, and its
// rows are those of the database as it is now.
TEST_F(DiarySearchTest, AWriteDuringAReadStartsItAgain) {
    DiarySearch::setRowsPerTurn(20);
    const db::Filter filter(QStringLiteral("Diary"), db::Op::Contains, QStringLiteral("露营"));
    DiarySearch s(connection_, filter);
    ASSERT_FALSE(s.run(DiarySearch::Clock::time_point::max()));
    ASSERT_FALSE(s.run(DiarySearch::Clock::time_point::max()));
    const std::shared_ptr<SearchEntries> before = s.entries();
    DiaryStore(connection_).add(kFirst, {QStringLiteral("新"), QStringLiteral("又去露营"), QString(), 1}, 0);
    while (!s.run(DiarySearch::Clock::time_point::max())) {
    }
    EXPECT_NE(s.entries(), before);
    QStringList rows;
    for (quint32 i : s.found())
        rows << line((*s.entries())[i].number, s.entries()->date(i), s.entries()->title(i),
                     s.entries()->preview(i), s.entries()->score(i));
    EXPECT_EQ(rows, statementRows(filter));
    EXPECT_EQ(rows.filter(QStringLiteral("新 又去露营 1")).size(), 1);
}

// The lock lets go of the texts, in the middle of a read too: the read stops,
// the rows found keep their previews, and a new search reads again.
TEST_F(DiarySearchTest, TheLockLetsGoOfTheTextsAndStopsTheRead) {
    const db::Filter all;
    DiarySearch done(connection_, all);
    while (!done.run(DiarySearch::Clock::time_point::max())) {
    }
    const QString preview = done.entries()->preview(done.found()[3]);
    DiarySearch::setRowsPerTurn(10);
    gForgetSearchTexts();
    DiarySearch reading(connection_,
                        db::Filter(QStringLiteral("Diary"), db::Op::Contains, QStringLiteral("a")));
    ASSERT_FALSE(reading.run(DiarySearch::Clock::time_point::max()));
    EXPECT_EQ(gKeptSearchTexts(), 10u);

    gForgetSearchTexts();
    EXPECT_EQ(gKeptSearchTexts(), 0u);
    EXPECT_TRUE(reading.run(DiarySearch::Clock::time_point::max()));
    EXPECT_TRUE(reading.interrupted());
    EXPECT_EQ(gKeptSearchTexts(), 0u);
    EXPECT_EQ(done.entries()->preview(done.found()[3]), preview); // what the list shows stays

    DiarySearch::setRowsPerTurn(0);
    const db::Filter camp(QStringLiteral("Diary"), db::Op::Contains, QStringLiteral("camp"));
    EXPECT_EQ(lines(gSearchDiary(connection_, camp)), statementRows(camp));
    EXPECT_EQ(gKeptSearchTexts(), 240u);
}

} // namespace
