// Text conditions decided in memory against SQLite's own LIKE: every value of a
// table against every text, in both forms of the text and both operations.
#include "platform/db/TextMatcher.h"
#include "platform/db/db.h"
#include "platform/db/dbSql.h"
#include "testSupport.h"

#include <QStringList>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

class DbTextMatcher : public HomeTest {
protected:
    void SetUp() override {
        HomeTest::SetUp();
        const QString file = home().folder(QStringLiteral("db")) + QStringLiteral("like.dat");
        db::createDatabase(file, QStringLiteral("k"),
                           {{QStringLiteral("T"), {{QStringLiteral("Body"), db::ColumnType::LongText}}, {}}});
        c_.open(file, QStringLiteral("k"));
    }
    // What the statement's LIKE says for these bytes.
    bool like(const QByteArray& text, const QString& value, db::Op op) {
        sqlite3_stmt* st = c_.prepare(QStringLiteral("SELECT ? LIKE ? ESCAPE '\\'"));
        const QByteArray pattern = db::detail::likePattern(value, op).toUtf8();
        sqlite3_bind_text(st, 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, pattern.constData(), int(pattern.size()), SQLITE_TRANSIENT);
        EXPECT_EQ(sqlite3_step(st), SQLITE_ROW);
        const bool r = sqlite3_column_int(st, 0) != 0;
        sqlite3_reset(st);
        return r;
    }
    db::Connection c_;
};

QStringList texts() {
    QStringList t = {QString(),
                     QStringLiteral("a"),
                     QStringLiteral("abc"),
                     QStringLiteral("ABC"),
                     QStringLiteral("xAbCx"),
                     QStringLiteral("aaab"),
                     QStringLiteral("Straße STRASSE"),
                     QStringLiteral("ÉCOLE"),
                     QStringLiteral("école"),
                     QStringLiteral("考试 50%"),
                     QStringLiteral("a_b"),
                     QStringLiteral("axb"),
                     QStringLiteral("it's done"),
                     QStringLiteral("back\\slash"),
                     QStringLiteral("露营"),
                     QStringLiteral("周末和同学去郊外露营，看到了满天的星星。"),
                     QStringLiteral("营露"),
                     QStringLiteral("😀笑了"),
                     QStringLiteral("Camp露营ING camping"),
                     QStringLiteral("x' OR '1'='1"),
                     QStringLiteral("\t\n\r ~")};
    // A word at every place across a few vectors of the scan, and at the end.
    const QString filler = QStringLiteral("今天上午下了一场小雨abc");
    for (int at = 0; at <= 40; at += 3) {
        QString s = filler.repeated(3);
        s.insert(at, QStringLiteral("露营Xy"));
        t << s;
    }
    t << filler.repeated(5) + QStringLiteral("露营") << filler.repeated(5) + QStringLiteral("xY");
    return t;
}

const QStringList kValues = {QStringLiteral("a"),        QStringLiteral("A"),
                             QStringLiteral("abc"),      QStringLiteral("aab"),
                             QStringLiteral("b"),        QStringLiteral("露营"),
                             QStringLiteral("营"),       QStringLiteral("露营xy"),
                             QStringLiteral("XY"),       QStringLiteral("%"),
                             QStringLiteral("_"),        QStringLiteral("'"),
                             QStringLiteral("\\"),       QStringLiteral("é"),
                             QStringLiteral("É"),        QStringLiteral("ß"),
                             QStringLiteral("SS"),       QStringLiteral("😀"),
                             QStringLiteral("camp"),     QStringLiteral("CAMPING"),
                             QStringLiteral("ing"),      QStringLiteral("x' OR '1'='1"),
                             QStringLiteral("考试 50%"), QStringLiteral(" ~"),
                             QStringLiteral("星星。"),   QString()};

TEST_F(DbTextMatcher, GivesTheStatementsAnswerForEveryValueAndText) {
    int found = 0, missed = 0; // the table holds plenty of both answers
    for (db::Op op : {db::Op::Contains, db::Op::BeginsWith}) {
        for (const QString& value : kValues) {
            const db::TextMatcher m(value, op);
            for (const QString& text : texts()) {
                const QByteArray utf8 = text.toUtf8();
                const bool expected = like(utf8, value, op);
                SCOPED_TRACE(
                    QStringLiteral("%1 \"%2\" in \"%3\"")
                        .arg(op == db::Op::Contains ? QStringLiteral("contains") : QStringLiteral("begins"),
                             value, text)
                        .toStdString());
                ASSERT_TRUE(db::TextMatcher::plain(utf8));
                EXPECT_EQ(m.matches(QByteArrayView(utf8)), expected);
                EXPECT_EQ(m.matches(QStringView(text)), expected);
                EXPECT_EQ(m.matchesInDatabase(c_, utf8), expected);
                ++(expected ? found : missed);
            }
        }
    }
    EXPECT_GT(found, 200);
    EXPECT_GT(missed, 200);
}

// Bytes SQLite reads in its own way are not plain; the database answers for them.
TEST_F(DbTextMatcher, BytesThatAreNotPlainUtf8AreLeftToTheDatabase) {
    const struct {
        QByteArray bytes;
        const char* value;
        bool contains;
    } cases[] = {
        {QByteArray("ab\0cd", 5), "cd", false}, // LIKE stops at a NUL
        {QByteArray("ab\0cd", 5), "ab", true},
        {QByteArray("a\xff"
                    "b"),
         "b", true},
        {QByteArray("\xc0\xaf"
                    "x"),
         "x", true},                                          // an overlong "/"
        {QByteArray("\xed\xa0\x80"), "a", false},             // a surrogate
        {QByteArray("x\xef\xbf\xbey"), "\xef\xbf\xbd", true}, // U+FFFE reads as U+FFFD
        {QByteArray("x\xef\xbf\xbfy"), "xy", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.toHex().toStdString());
        EXPECT_FALSE(db::TextMatcher::plain(c.bytes));
        const QString value = QString::fromUtf8(c.value);
        EXPECT_EQ(db::TextMatcher(value, db::Op::Contains).matchesInDatabase(c_, c.bytes), c.contains);
        EXPECT_EQ(like(c.bytes, value, db::Op::Contains), c.contains);
    }
    EXPECT_TRUE(db::TextMatcher::plain(QByteArrayView("")));

    // A value SQLite reads its own way is answered for by the database alone.
    for (const QString& v :
         {QString(QChar(0xFFFE)), QString(QChar(0xFFFF)), QStringLiteral("a") + QChar(0) + 'b'}) {
        const db::TextMatcher m(v, db::Op::Contains);
        EXPECT_TRUE(m.needsDatabase());
        EXPECT_EQ(m.matchesInDatabase(c_, QByteArray("\xef\xbf\xbd")),
                  like(QByteArray("\xef\xbf\xbd"), v, db::Op::Contains));
    }
    EXPECT_FALSE(db::TextMatcher(QStringLiteral("露营"), db::Op::Contains).needsDatabase());
}

} // namespace
