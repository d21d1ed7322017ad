// The connection: exclusive open, errors of the open, key changes, transactions.
#include "core/base/gError.h"
#include "dbTestSupport.h"
#include "platform/db/db.h"
#include "testSupport.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

const std::vector<db::TableSpec>& testTables() {
    static const std::vector<db::TableSpec> t = {{QStringLiteral("Note"),
                                                  {{QStringLiteral("Date"), db::ColumnType::Date},
                                                   {QStringLiteral("Title"), db::ColumnType::Text},
                                                   {QStringLiteral("Body"), db::ColumnType::LongText},
                                                   {QStringLiteral("Score"), db::ColumnType::Integer},
                                                   {QStringLiteral("Flag"), db::ColumnType::Boolean}},
                                                  {{QStringLiteral("NoteDate"), QStringLiteral("Date")}}}};
    return t;
}

class DbConnection : public HomeTest {
protected:
    void SetUp() override {
        HomeTest::SetUp();
        file_ = home().folder(QStringLiteral("db")) + QStringLiteral("test.dat");
        db::createDatabase(file_, key_, testTables());
    }
    int openError(db::Connection& c, const QString& key) {
        try {
            c.open(file_, key);
        } catch (const gRuntimeError& e) {
            EXPECT_FALSE(c.isOpen());
            return e.number();
        }
        return 0;
    }
    long titles(db::Connection& c, const QString& title) {
        return c.count(QStringLiteral("Note"), db::Filter::eq(QStringLiteral("Title"), title));
    }
    void insert(db::Connection& c, const QString& title) {
        c.execute(QStringLiteral("INSERT INTO Note (Title) VALUES (?)"), {title});
    }
    QString file_;
    QString key_ = QStringLiteral("鍵\r\nkey");
};

TEST_F(DbConnection, OpenErrorsLeaveNothingOpen) {
    db::Connection c;
    EXPECT_EQ(openError(c, QStringLiteral("wrong")), db::err::WrongKey);
    EXPECT_EQ(openError(c, QString()), db::err::WrongKey);
    const QString savedFile = file_;
    file_ = home().path() + QStringLiteral("/missing.dat");
    EXPECT_NE(openError(c, key_), 0);
    EXPECT_FALSE(QFile::exists(file_)); // an open never creates a file
    file_ = savedFile;
    // After all those failures the right key opens it.
    EXPECT_EQ(openError(c, key_), 0);
    EXPECT_TRUE(c.isOpen());
}

TEST_F(DbConnection, FileHeldByAnotherProcessGivesItsOwnError) {
    auto child = dbtest::startChild(QStringLiteral("DISABLED_Hold"), file_, key_);
    ASSERT_TRUE(dbtest::waitForLine(*child, "ready")) << child->readAllStandardError().toStdString();
    db::Connection c;
    const int held = openError(c, key_);
    EXPECT_EQ(held, db::err::FileInUse);
    EXPECT_NE(held, db::err::WrongKey);
    // Even the wrong key is not mistaken for a wrong key while the file is held.
    EXPECT_NE(openError(c, QStringLiteral("wrong")), db::err::WrongKey);
    child->closeWriteChannel();
    ASSERT_TRUE(child->waitForFinished(30000));
    EXPECT_EQ(openError(c, key_), 0);
}

TEST_F(DbConnection, SecondConnectionInTheSameProcessIsRefused) {
    db::Connection a, b;
    a.open(file_, key_);
    EXPECT_EQ(openError(b, key_), db::err::FileInUse);
    a.close();
    EXPECT_EQ(openError(b, key_), 0);
}

TEST_F(DbConnection, AlterDatabasePasswordChangesTheKey) {
    db::Connection c;
    c.open(file_, key_);
    insert(c, QStringLiteral("kept"));
    const QString next = QStringLiteral("新\r\n钥");
    // A wrong old password changes nothing.
    try {
        c.execute(QStringLiteral("ALTER DATABASE PASSWORD [%1] [%2];").arg(next, QStringLiteral("nope")));
        FAIL();
    } catch (const gRuntimeError& e) {
        EXPECT_EQ(e.number(), db::err::WrongKey);
    }
    c.close();
    ASSERT_EQ(openError(c, key_), 0);
    c.execute(QStringLiteral("ALTER DATABASE PASSWORD [%1] [%2];").arg(next, key_));
    EXPECT_EQ(titles(c, QStringLiteral("kept")), 1); // the open connection goes on
    c.close();
    EXPECT_EQ(openError(c, key_), db::err::WrongKey);
    ASSERT_EQ(openError(c, next), 0);
    EXPECT_EQ(titles(c, QStringLiteral("kept")), 1);
    // Not in the middle of a transaction: its rows and the key stay as they were.
    c.beginTrans();
    insert(c, QStringLiteral("pending"));
    EXPECT_THROW(c.changePassword(key_, next), gRuntimeError);
    c.commitTrans();
    c.close();
    ASSERT_EQ(openError(c, next), 0);
    EXPECT_EQ(titles(c, QStringLiteral("pending")), 1);
}

TEST_F(DbConnection, ChangePasswordReKeysTheFileAndBackAgain) {
    db::Connection c;
    const QString next = QStringLiteral("新\r\n钥");
    // Refused calls: each raises its own error and the file keeps its key.
    EXPECT_EQ(errorOf([&] { c.changePassword(next, key_); }), db::err::Closed);
    ASSERT_EQ(openError(c, key_), 0);
    insert(c, QStringLiteral("kept"));
    const struct {
        const char* what;
        QString fresh, old;
        int error;
    } refused[] = {
        {"wrong old key", next, QStringLiteral("nope"), db::err::WrongKey},
        {"old key of another case", next, key_.toUpper(), db::err::WrongKey},
        {"empty new key", QString(), key_, db::err::WrongArguments},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(errorOf([&] { c.changePassword(r.fresh, r.old); }), r.error);
        EXPECT_EQ(titles(c, QStringLiteral("kept")), 1);
    }
    c.close();
    ASSERT_EQ(openError(c, key_), 0);

    // To the new key, then back, as a change that cannot be kept is undone.
    c.changePassword(next, key_);
    EXPECT_EQ(titles(c, QStringLiteral("kept")), 1);
    c.close();
    EXPECT_EQ(openError(c, key_), db::err::WrongKey);
    ASSERT_EQ(openError(c, next), 0);
    c.changePassword(key_, next);
    c.close();
    EXPECT_EQ(openError(c, next), db::err::WrongKey);
    ASSERT_EQ(openError(c, key_), 0);
    EXPECT_EQ(titles(c, QStringLiteral("kept")), 1);
}

TEST_F(DbConnection, NestedTransactionsAndTheGuard) {
    db::Connection c;
    c.open(file_, key_);
    EXPECT_EQ(c.beginTrans(), 1);
    insert(c, QStringLiteral("outer"));
    EXPECT_EQ(c.beginTrans(), 2);
    insert(c, QStringLiteral("inner"));
    c.rollbackTrans(); // only the inner level
    EXPECT_EQ(c.transactionLevel(), 1);
    c.commitTrans();
    EXPECT_EQ(titles(c, QStringLiteral("outer")), 1);
    EXPECT_EQ(titles(c, QStringLiteral("inner")), 0);
    EXPECT_THROW(c.commitTrans(), gRuntimeError);

    // An error between begin and commit leaves nothing behind.
    try {
        db::Transaction t(c);
        insert(c, QStringLiteral("half"));
        c.execute(QStringLiteral("INSERT INTO NoSuchTable VALUES (1)"));
        t.commit();
    } catch (const gRuntimeError&) {
    }
    EXPECT_EQ(c.transactionLevel(), 0);
    EXPECT_EQ(titles(c, QStringLiteral("half")), 0);
}

TEST_F(DbConnection, CloseRollsBackAnOpenTransaction) {
    db::Connection c;
    c.open(file_, key_);
    insert(c, QStringLiteral("committed"));
    c.beginTrans();
    insert(c, QStringLiteral("open"));
    c.close();
    c.open(file_, key_);
    EXPECT_EQ(titles(c, QStringLiteral("committed")), 1);
    EXPECT_EQ(titles(c, QStringLiteral("open")), 0);
    EXPECT_EQ(c.transactionLevel(), 0);
}

TEST_F(DbConnection, ClosedConnectionRefusesWork) {
    db::Connection c;
    for (auto call : std::vector<std::function<void()>>{[&] { c.execute(QStringLiteral("SELECT 1")); },
                                                        [&] { c.beginTrans(); },
                                                        [&] { c.count(QStringLiteral("Note")); }}) {
        try {
            call();
            ADD_FAILURE();
        } catch (const gRuntimeError& e) {
            EXPECT_EQ(e.number(), db::err::Closed);
        }
    }
    db::Command cmd;
    cmd.setCommandText(QStringLiteral("SELECT * FROM Note"));
    db::Recordset rs;
    EXPECT_THROW(rs.open(cmd), gRuntimeError);
    cmd.setActiveConnection(c);
    EXPECT_THROW(rs.open(cmd), gRuntimeError);
    EXPECT_FALSE(rs.isOpen());
}

TEST_F(DbConnection, ExecuteRunsStatementsScriptsAndJetDeletes) {
    db::Connection c;
    c.open(file_, key_);
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(c.execute(QStringLiteral(
                      "INSERT INTO Note (Title) VALUES ('a'); INSERT INTO Note (Title) VALUES ('b');")),
                  2);
        EXPECT_EQ(c.execute(QStringLiteral("UPDATE Note SET Score = ? WHERE Title = ?"),
                            {round, QStringLiteral("a")}),
                  1);
        EXPECT_EQ(c.execute(QStringLiteral("DELETE * FROM Note")), 2);
    }
    EXPECT_EQ(c.execute(QStringLiteral("   ")), 0);
    EXPECT_THROW(c.execute(QStringLiteral("UPDATE Note SET Score = ?"), {}),
                 gRuntimeError); // a value missing
    EXPECT_THROW(c.execute(QStringLiteral("SELEC nonsense")), gRuntimeError);
    // Every statement is released at close: the file opens again at once.
    c.close();
    EXPECT_EQ(openError(c, key_), 0);
}

} // namespace
