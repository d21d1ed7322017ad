// The account database: its password, its schema, its creation and its open.
#include "core/model/gDatabase.h"
#include "core/base/gError.h"
#include "core/model/gState.h"
#include "testSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

namespace {

struct PasswordCase {
    const char* password;
    const char* recordKey;
    const char* expected;
};

class DbPassword : public ::testing::TestWithParam<PasswordCase> {};

TEST_P(DbPassword, MatchesKnownVectors) {
    const PasswordCase& c = GetParam();
    const QString saved = gRecordKey;
    gRecordKey = QString::fromUtf8(c.recordKey);
    EXPECT_EQ(gMakeDbPassword(QString::fromUtf8(c.password)).toStdString(), std::string(c.expected));
    gRecordKey = saved;
}

TEST_P(DbPassword, ARecordKeyGivenTakesThePlaceOfTheCurrentOne) {
    const PasswordCase& c = GetParam();
    const QString saved = gRecordKey;
    gRecordKey = QStringLiteral("4711"); // no vector's key: it must not count, nor change
    EXPECT_EQ(gMakeDbPassword(QString::fromUtf8(c.password), QString::fromUtf8(c.recordKey)).toStdString(),
              std::string(c.expected));
    EXPECT_EQ(gRecordKey, QStringLiteral("4711"));
    gRecordKey = saved;
}

INSTANTIATE_TEST_SUITE_P(
    Vectors, DbPassword,
    ::testing::Values(PasswordCase{"", "1234567", "六\r\n赂\r\n门\r\n寞\r\n胖\r\n婆\r\n巧"},
                      PasswordCase{"j", "0", "怜"}, PasswordCase{"K", "1", "敛"},
                      PasswordCase{"J", "1", "背"}, PasswordCase{"ab", "123", "隶\r\n楼\r\n梅"},
                      PasswordCase{"", "9999998", "烈\r\n马\r\n孟\r\n能\r\n陪\r\n匹\r\n恰"}));

} // namespace

namespace {

// A user folder with the path of its (not yet created) account database.
class DbAccount : public HomeTest {
protected:
    void SetUp() override {
        HomeTest::SetUp();
        file_ = home().folder(QStringLiteral("data")) + QStringLiteral("Userdata.dat");
        savedKey_ = gRecordKey;
        gRecordKey = QStringLiteral("4711");
        password_ = gMakeDbPassword(QStringLiteral("secret"));
    }
    void TearDown() override {
        gCloseDatabase();
        gRecordKey = savedKey_;
        HomeTest::TearDown();
    }
    QStringList folderEntries() const {
        return QDir(QFileInfo(file_).absolutePath()).entryList(QDir::Files | QDir::Hidden);
    }
    QString file_, password_, savedKey_;
};

struct ColumnRow {
    QString name, type;
    bool notNull;
};

std::vector<ColumnRow> columnsOf(db::Connection& c, const QString& table) {
    db::Recordset rs;
    rs.open(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table), c);
    std::vector<ColumnRow> out;
    for (; !rs.eof(); rs.moveNext())
        out.push_back({rs.text(QStringLiteral("name")), rs.text(QStringLiteral("type")),
                       rs.field(QStringLiteral("notnull")).toInt() != 0});
    return out;
}

TEST_F(DbAccount, NewDatabaseHoldsTheSchemaIndexAndSettingsRow) {
    gCreateDatabase(file_, password_);
    gOpenDatabase(file_, password_);
    ASSERT_TRUE(gConnection.isOpen());
    EXPECT_EQ(gCommand.activeConnection(), &gConnection);

    // Tables in their order, columns in their order with their stored types.
    db::Recordset rs;
    rs.open(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid"),
            gConnection);
    QStringList tables;
    for (; !rs.eof(); rs.moveNext())
        tables << rs.text(QStringLiteral("name"));
    rs.close();
    EXPECT_EQ(tables, (QStringList{"Diary", "DiarySettings", "Term", "Col", "Row", "Course"}));

    const std::map<QString, QStringList> expected = {
        {"Diary", {"Date", "Title", "Diary", "DiaryRTF", "Score", "Collect"}},
        {"DiarySettings", {"Score"}},
        {"Term", {"Begin", "End"}},
        {"Col", {"Name", "ColIsVisible"}},
        {"Row", {"Name", "RowIsVisible", "ClassBeginTime", "ClassEndTime"}},
        {"Course",
         {"Name", "Place", "BeginWeek", "EndWeek", "DoubleWeek", "Color", "UserColor", "Weekday1", "Weekday2",
          "Weekday3", "Weekday4", "Weekday5", "Weekday6", "Weekday7"}}};
    for (const auto& [table, names] : expected) {
        QStringList got;
        for (const ColumnRow& c : columnsOf(gConnection, table))
            got << c.name;
        EXPECT_EQ(got, names) << table.toStdString();
    }
    const auto diary = columnsOf(gConnection, QStringLiteral("Diary"));
    // Plain SQLite types, which any SQLite tool reads as they are.
    const QStringList types{"TEXT", "TEXT", "TEXT", "TEXT", "INTEGER", "INTEGER"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(diary[i].type, types[i]) << i;
    EXPECT_TRUE(diary[5].notNull);
    for (const auto& [table, column] : {std::pair{"Term", 0}, {"Term", 1}, {"Col", 0}, {"Row", 0}})
        EXPECT_EQ(columnsOf(gConnection, table)[column].type, QStringLiteral("TEXT")) << table;
    for (const auto& [table, column] : {std::pair{"Col", 1}, {"Row", 1}, {"Row", 2}, {"Course", 2}})
        EXPECT_EQ(columnsOf(gConnection, table)[column].type, QStringLiteral("INTEGER")) << table;

    rs.open(QStringLiteral("PRAGMA index_list(\"Diary\")"), gConnection);
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.text(QStringLiteral("name")), QStringLiteral("Index"));
    EXPECT_EQ(rs.field(QStringLiteral("unique")).toInt(), 0);
    rs.close();
    rs.open(QStringLiteral("PRAGMA index_info(\"Index\")"), gConnection);
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.text(QStringLiteral("name")), QStringLiteral("Date"));
    rs.close();

    EXPECT_EQ(gConnection.count(QStringLiteral("Diary")), 0);
    rs.open(QStringLiteral("SELECT * FROM DiarySettings"), gConnection);
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.field(QStringLiteral("Score")), QVariant(0));
    rs.close();

    // Only the database itself is left in the folder.
    gCloseDatabase();
    EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("Userdata.dat")});
}

TEST_F(DbAccount, CreatingOverAnExistingFileFailsAndLeavesItAlone) {
    writeFile(file_, "not a database, but the user's file");
    try {
        gCreateDatabase(file_, password_);
        FAIL() << "created over an existing file";
    } catch (const gRuntimeError& e) {
        EXPECT_EQ(e.number(), db::err::AlreadyExists);
    }
    EXPECT_EQ(readFile(file_), QByteArray("not a database, but the user's file"));
    EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("Userdata.dat")});
}

TEST_F(DbAccount, CreationInAMissingFolderFailsWithoutLeavingAFile) {
    const QString missing = home().path() + QStringLiteral("/nowhere/Userdata.dat");
    EXPECT_THROW(gCreateDatabase(missing, password_), gRuntimeError);
    EXPECT_FALSE(QFile::exists(missing));
}

int openError(const QString& file, const QString& password) {
    try {
        gOpenDatabase(file, password);
    } catch (const gRuntimeError& e) {
        return e.number();
    }
    return 0;
}

TEST_F(DbAccount, WrongPasswordOrOtherRecordKeyIsTheProvidersWrongKeyError) {
    gCreateDatabase(file_, password_);
    EXPECT_EQ(openError(file_, gMakeDbPassword(QStringLiteral("Secret"))), db::err::WrongKey);
    EXPECT_FALSE(gConnection.isOpen());
    // The right password with the record key of another profile.
    gRecordKey = QStringLiteral("4712");
    EXPECT_EQ(openError(file_, gMakeDbPassword(QStringLiteral("secret"))), db::err::WrongKey);
    EXPECT_FALSE(gConnection.isOpen());
    gRecordKey = QStringLiteral("4711");
    EXPECT_EQ(openError(file_, gMakeDbPassword(QStringLiteral("secret"))), 0);
    EXPECT_TRUE(gConnection.isOpen());
}

TEST_F(DbAccount, AccountWithoutPasswordStillHasAKey) {
    const QString empty = gMakeDbPassword(QString());
    EXPECT_EQ(empty, gMakeDbPassword(QStringLiteral("tarnwick")));
    EXPECT_EQ(empty.count(QStringLiteral("\r\n")), 3);
    gCreateDatabase(file_, empty);
    // The file is encrypted: no SQLite header, no readable text.
    const QByteArray bytes = readFile(file_);
    EXPECT_FALSE(bytes.startsWith("SQLite format 3"));
    EXPECT_FALSE(bytes.contains("DiarySettings"));
    EXPECT_EQ(openError(file_, QString()), db::err::WrongKey);
    EXPECT_EQ(openError(file_, empty), 0);
}

TEST_F(DbAccount, PasswordWithDoubleByteCharacterIsRefused) {
    try {
        gMakeDbPassword(QStringLiteral("密码"));
        FAIL();
    } catch (const gRuntimeError& e) {
        EXPECT_EQ(e.number(), gErr::InvalidCall);
    }
}

TEST_F(DbAccount, OpenRestoresAMissingSettingsRow) {
    gCreateDatabase(file_, password_);
    gOpenDatabase(file_, password_);
    gConnection.execute(QStringLiteral("DELETE * FROM DiarySettings"));
    gCloseDatabase();
    gOpenDatabase(file_, password_);
    EXPECT_EQ(gConnection.count(QStringLiteral("DiarySettings")), 1);
    // An intact database keeps its one row.
    gCloseDatabase();
    gOpenDatabase(file_, password_);
    EXPECT_EQ(gConnection.count(QStringLiteral("DiarySettings")), 1);
}

TEST_F(DbAccount, EndingAtOnceClosesTheConnectionAndKeepsCommittedRows) {
    gCreateDatabase(file_, password_);
    gOpenDatabase(file_, password_);
    gConnection.execute(QStringLiteral("UPDATE DiarySettings SET Score = 42"));
    gConnection.beginTrans();
    gConnection.execute(QStringLiteral("UPDATE DiarySettings SET Score = 99"));
    gEndSeam::setHandler([](int) { throw 1; });
    EXPECT_THROW(gEndProgram(0), int);
    gEndSeam::setHandler(nullptr);
    EXPECT_FALSE(gConnection.isOpen());
    gOpenDatabase(file_, password_);
    db::Recordset rs;
    rs.open(QStringLiteral("SELECT Score FROM DiarySettings"), gConnection);
    EXPECT_EQ(rs.integer(QStringLiteral("Score")), 42);
}

} // namespace
