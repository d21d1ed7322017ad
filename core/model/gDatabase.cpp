#include "core/model/gDatabase.h"

#include "core/base/gError.h"
#include "core/model/DiarySummaryStore.h"
#include "core/model/gState.h"
#include "platform/codePage.h"

db::Connection gConnection;
db::Command gCommand;
db::Recordset gRecordset;

namespace {

// Used in place of an empty password, so an account without one still has a key.
const QString kFallbackWord = QStringLiteral("tarnwick");

// Reduced by 15 as often as needed until it is at most 15 (15 stays 15).
int reduce15(int v) {
    while (v > 15)
        v -= 15;
    return v;
}

} // namespace

QString gMakeDbPassword(const QString& password, const QString& recordKey) {
    const QString p = password.isEmpty() ? kFallbackWord : password;
    QString result;
    const qsizetype n = recordKey.size();
    for (qsizetype i = 1; i <= n; ++i) {
        const int digit = codepage::ansiCode(recordKey[i - 1]);
        const int ch = codepage::ansiCode(p[(i - 1) % p.size()]);
        if (digit > 255 || ch > 255)
            gRaise(gErr::InvalidCall, QStringLiteral("密码中含有不能用于数据库密码的字符。"));
        const int x = digit ^ ch;
        // The hexadecimal letter A..F chosen by the last decimal digit of x.
        static const int kLetter[10] = {0xA, 0xA, 0xB, 0xB, 0xC, 0xC, 0xD, 0xD, 0xE, 0xF};
        const int lead = ((x > 122 ? 0xB : 0xC) << 4) | reduce15(int(i));
        const int trail = (kLetter[x % 10] << 4) | reduce15(x);
        const QChar c =
            codepage::fromDoubleByte(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
        if (c.isNull()) gRaise(gErr::InvalidCall, QStringLiteral("无法生成数据库密码。"));
        result += c;
        if (i < n) result += QStringLiteral("\r\n");
    }
    return result;
}

QString gMakeDbPassword(const QString& password) {
    return gMakeDbPassword(password, gRecordKey);
}

const std::vector<db::TableSpec>& gDatabaseSchema() {
    using db::ColumnType;
    static const std::vector<db::TableSpec> schema = [] {
        std::vector<db::TableSpec> s;
        s.push_back({QStringLiteral("Diary"),
                     {{QStringLiteral("Date"), ColumnType::Date},
                      {QStringLiteral("Title"), ColumnType::Text},
                      {QStringLiteral("Diary"), ColumnType::LongText},
                      {QStringLiteral("DiaryRTF"), ColumnType::LongText},
                      {QStringLiteral("Score"), ColumnType::Integer},
                      {QStringLiteral("Collect"), ColumnType::Boolean}},
                     {{QStringLiteral("Index"), QStringLiteral("Date")}}});
        s.push_back({QStringLiteral("DiarySettings"), {{QStringLiteral("Score"), ColumnType::Integer}}, {}});
        s.push_back({QStringLiteral("Term"),
                     {{QStringLiteral("Begin"), ColumnType::Date}, {QStringLiteral("End"), ColumnType::Date}},
                     {}});
        s.push_back({QStringLiteral("Col"),
                     {{QStringLiteral("Name"), ColumnType::Text, 255},
                      {QStringLiteral("ColIsVisible"), ColumnType::Boolean}},
                     {}});
        s.push_back({QStringLiteral("Row"),
                     {{QStringLiteral("Name"), ColumnType::Text, 255},
                      {QStringLiteral("RowIsVisible"), ColumnType::Boolean},
                      {QStringLiteral("ClassBeginTime"), ColumnType::Integer},
                      {QStringLiteral("ClassEndTime"), ColumnType::Integer}},
                     {}});
        db::TableSpec course{QStringLiteral("Course"),
                             {{QStringLiteral("Name"), ColumnType::Text, 255},
                              {QStringLiteral("Place"), ColumnType::Text, 255},
                              {QStringLiteral("BeginWeek"), ColumnType::Integer},
                              {QStringLiteral("EndWeek"), ColumnType::Integer},
                              {QStringLiteral("DoubleWeek"), ColumnType::Integer},
                              {QStringLiteral("Color"), ColumnType::Integer},
                              {QStringLiteral("UserColor"), ColumnType::Integer}},
                             {}};
        for (int n = 1; n <= 7; ++n)
            course.columns.push_back({QStringLiteral("Weekday") + QString::number(n), ColumnType::Text});
        s.push_back(course);
        return s;
    }();
    return schema;
}

namespace {
const QString kSettingsRow = QStringLiteral("INSERT INTO \"DiarySettings\" (\"Score\") VALUES (0)");
}

void gCreateDatabase(const QString& file, const QString& dbPassword) {
    db::createDatabase(file, dbPassword, gDatabaseSchema(), {kSettingsRow});
}

void gOpenDatabase(const QString& file, const QString& dbPassword) {
    gAtEndProgram(&gCloseDatabase);
    gRecordset.close();
    // Columns read as the schema says, whatever type names the file declares.
    gConnection.setSchema(gDatabaseSchema());
    gConnection.open(file, dbPassword, true);
    try {
        // A file without a table or column of ours is refused here, by name,
        // rather than giving wrong results later.
        gConnection.checkSchema();
        // A database without its one DiarySettings row gets it back.
        if (gConnection.count(QStringLiteral("DiarySettings")) == 0) gConnection.execute(kSettingsRow);
    } catch (...) {
        gConnection.close();
        throw;
    }
    gCommand.setActiveConnection(gConnection);
}

long gTakeDiaryCount() {
    if (gDiaryCount == kDiaryCountPending) gDiaryCount = DiarySummaryStore(gConnection).entryCount();
    return gDiaryCount;
}

void gCloseDatabase() {
    gRecordset.close();
    gConnection.close();
}
