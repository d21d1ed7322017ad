#include "benchAccounts.h"

#include "core/model/gDatabase.h"
#include "core/model/gState.h"
#include "platform/db/dbTypes.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>

namespace bench {

const QDate kFirstDay(2001, 1, 1);
const QString kContentWord = QStringLiteral("露营");
const QString kTitleWord = QStringLiteral("考试");
const QString kUserName = QStringLiteral("bench"), kUserPassword = QStringLiteral("benchmark"),
              kRecordKey = QStringLiteral("2718281");

namespace {
// Entries per day, repeated: several entries on some days, none on others.
const int kPattern[] = {1, 0, 2, 1, 3, 1, 0, 1, 1, 4, 0, 1};
constexpr int kPatternLength = sizeof kPattern / sizeof kPattern[0];
} // namespace

QString benchDir() {
    const QString d = qEnvironmentVariable("REDEDERA_BENCH_DIR", QStringLiteral("/tmp/rededera-bench"));
    QDir().mkpath(d);
    return d;
}

QString accountFile(int entries) {
    return benchDir() + QStringLiteral("/account-%1.dat").arg(entries);
}

QString password() {
    gRecordKey = kRecordKey;
    return gMakeDbPassword(kUserPassword);
}

// About 500 characters of plain text and 2 KB of rich text.
QString plainText(int i) {
    static const QString base =
        QStringLiteral("今天早上下了一场小雨，空气很清新。上午有两节数学课，老师讲了极限和连续，"
                       "下午去图书馆借了几本书，晚上和同学一起复习英语单词。");
    QString s = QString::number(i) + QLatin1Char(' ');
    while (s.size() < 500)
        s += base;
    return s.left(500);
}

QString richText(const QString& plain) {
    QString s = QStringLiteral(
        "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"
        "\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs18 ");
    for (QChar c : plain.left(330)) {
        const ushort u = c.unicode();
        if (u < 128) {
            s += c;
        } else {
            s += QStringLiteral("\\'%1\\'%2")
                     .arg((u >> 8) | 0x80, 2, 16, QLatin1Char('0'))
                     .arg((u & 0xff) | 0x80, 2, 16, QLatin1Char('0'));
        }
    }
    s += QStringLiteral("\\par\n}");
    return s;
}

// The days that hold entries, in order, for an account of `entries` entries.
const std::vector<QDate>& entryDays(int entries) {
    static std::map<int, std::vector<QDate>> cache;
    auto& days = cache[entries];
    if (!days.empty()) return days;
    int n = 0;
    for (int d = 0; n < entries; ++d) {
        const int k = std::min(kPattern[d % kPatternLength], entries - n);
        if (k > 0) days.push_back(kFirstDay.addDays(d));
        n += k;
    }
    return days;
}

// Builds an account of `entries` entries into `file` once, each entry's title and
// plain text given by its number, the days filled as the pattern says.
static void buildAccount(const QString& file, int entries, QString (*title)(int), QString (*text)(int)) {
    const QString key = password();
    if (QFile::exists(file)) return;
    std::fprintf(stderr, "building %s ...\n", qPrintable(file));
    const QString temp = file + QStringLiteral(".building");
    QFile::remove(temp);
    gCreateDatabase(temp, key);
    gOpenDatabase(temp, key);
    int n = 0;
    for (int d = 0; n < entries;) {
        db::Transaction t(gConnection);
        for (int batch = 0; batch < 5000 && n < entries; ++d) {
            const int k = std::min(kPattern[d % kPatternLength], entries - n);
            for (int j = 0; j < k; ++j, ++n, ++batch) {
                const QString plain = text(n);
                gConnection.execute(
                    QStringLiteral("INSERT INTO \"Diary\" (\"Date\", \"Title\", \"Diary\", \"DiaryRTF\", "
                                   "\"Score\", \"Collect\") VALUES (?, ?, ?, ?, ?, ?)"),
                    {kFirstDay.addDays(d), title(n), plain, richText(plain), n % 101, n % 17 == 0});
            }
        }
        t.commit();
    }
    gCloseDatabase();
    QFile::rename(temp, file);
}

static QString diaryTitle(int n) {
    return QStringLiteral("第 %1 篇日记").arg(n);
}

void ensureAccount(int entries) {
    buildAccount(accountFile(entries), entries, diaryTitle, plainText);
}

QString searchAccountFile(int entries) {
    return benchDir() + QStringLiteral("/search-%1.dat").arg(entries);
}

static QString searchText(int i) {
    static const char* const sentences[] = {"今天早上下了一场小雨，空气很清新。",
                                            "上午有两节数学课，老师讲了极限和连续。",
                                            "下午去图书馆借了几本书。",
                                            "晚上和同学一起复习英语单词。",
                                            "食堂的午饭有红烧肉和青菜。",
                                            "班会上讨论了运动会的安排。",
                                            "物理实验做得不太顺利，明天要重做。",
                                            "给家里打了电话，妈妈让我多穿衣服。",
                                            "跑步三千米，感觉比上周轻松。",
                                            "读完了一本小说，结尾让人难忘。",
                                            "宿舍停电了，大家点着台灯聊天。",
                                            "化学作业很难，做到很晚才完成。",
                                            "和室友去超市买了些水果。",
                                            "社团活动排练了新的节目。",
                                            "老师表扬了我的作文。",
                                            "天气转凉，树叶开始变黄。"};
    QString s = QString::number(i) + QLatin1Char(' ');
    if (i % 50 == 7) s += QStringLiteral("周末和同学去郊外露营，看到了满天的星星。");
    for (int k = 0; s.size() < 500; ++k)
        s += QString::fromUtf8(sentences[(i * 7 + k * 5) % 16]);
    return s.left(500);
}

static QString searchTitle(int i) {
    static const char* const titles[] = {"平常的一天", "雨天", "图书馆", "运动会",   "周末", "社团", "晚自习",
                                         "家里来电",   "跑步", "小说",   "停电",     "作业", "超市", "作文",
                                         "秋天",       "实验", "班会",   "期中考试", "食堂", "单词"};
    return QString::fromUtf8(titles[i % 20]);
}

void ensureSearchAccount(int entries) {
    buildAccount(searchAccountFile(entries), entries, searchTitle, searchText);
}

double residentMB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

Raw::Raw(const QString& file, bool exclusive) {
    const QByteArray key = password().toUtf8();
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK)
        throw std::runtime_error("open");
    sqlite3_key(db, key.constData(), int(key.size()));
    if (exclusive) exec("PRAGMA locking_mode = EXCLUSIVE");
    exec("SELECT count(*) FROM sqlite_master");
    if (exclusive) {
        exec("PRAGMA synchronous = FULL");
        exec("PRAGMA journal_mode = DELETE");
        exec("BEGIN EXCLUSIVE; COMMIT;");
    }
}

Raw::~Raw() {
    sqlite3_close_v2(db);
}

void Raw::exec(const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
}

sqlite3_stmt* Raw::prepare(const char* sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    return st;
}

void bindDate(sqlite3_stmt* st, int i, const QDate& d) {
    const QByteArray t = db::dateToText(d).toUtf8();
    sqlite3_bind_text(st, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
}

QString columnText(sqlite3_stmt* st, int i) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                             sqlite3_column_bytes(st, i));
}

} // namespace bench
