// Speed of the account database: the layer against raw SQLCipher running the
// same statements, on accounts of 1,000, 20,000 and 200,000 diary entries.
//
// The accounts are built once into REDEDERA_BENCH_DIR (default
// /tmp/rededera-bench) and reused by later runs.
#include "core/gDatabase.h"
#include "core/gState.h"
#include "diary/gDiarySearch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QString>
#include <QStringList>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <vector>

namespace {

const QDate kFirstDay(2001, 1, 1);
const QDate kAddDay(9000, 1,
                    1); // from here on: the rows the add benchmarks write, one a day, removed afterwards

// Entries per day, repeated: several entries on some days, none on others.
const int kPattern[] = {1, 0, 2, 1, 3, 1, 0, 1, 1, 4, 0, 1};
constexpr int kPatternLength = sizeof kPattern / sizeof kPattern[0];

QString benchDir() {
    const QString d = qEnvironmentVariable("REDEDERA_BENCH_DIR", QStringLiteral("/tmp/rededera-bench"));
    QDir().mkpath(d);
    return d;
}

QString accountFile(int entries) {
    return benchDir() + QStringLiteral("/account-%1.dat").arg(entries);
}

QString password() {
    gRecordKey = QStringLiteral("2718281");
    return gMakeDbPassword(QStringLiteral("benchmark"));
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
void buildAccount(const QString& file, int entries, QString (*title)(int), QString (*text)(int)) {
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

QString diaryTitle(int n) {
    return QStringLiteral("第 %1 篇日记").arg(n);
}

void ensureAccount(int entries) {
    buildAccount(accountFile(entries), entries, diaryTitle, plainText);
}

// ---- raw SQLCipher, configured as the layer configures it ----

struct Raw {
    sqlite3* db = nullptr;
    explicit Raw(const QString& file, bool exclusive = true) {
        const QByteArray key = password().toUtf8();
        if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db,
                            SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK)
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
    ~Raw() { sqlite3_close_v2(db); }
    void exec(const char* sql) {
        if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
    }
    sqlite3_stmt* prepare(const char* sql) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
        return st;
    }
};

void bindDate(sqlite3_stmt* st, int i, const QDate& d) {
    const QByteArray t = db::dateToText(d).toUtf8();
    sqlite3_bind_text(st, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
}

QString columnText(sqlite3_stmt* st, int i) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                             sqlite3_column_bytes(st, i));
}

// A spread of days with entries, visited in turn.
struct DayCycle {
    std::vector<QDate> days;
    size_t next = 0;
    explicit DayCycle(int entries) {
        const auto& all = entryDays(entries);
        for (size_t i = 0; i < all.size(); i += std::max<size_t>(1, all.size() / 997))
            days.push_back(all[i]);
    }
    QDate operator()() { return days[next++ % days.size()]; }
};

// The 42 days a month view shows for the month of d (weeks start on Sunday).
std::vector<QDate> visibleDays(const QDate& d) {
    const QDate first(d.year(), d.month(), 1);
    QDate start = first.addDays(-(first.dayOfWeek() % 7));
    if (start == first) start = start.addDays(-7);
    std::vector<QDate> out;
    for (int i = 0; i < 42; ++i)
        out.push_back(start.addDays(i));
    return out;
}

// ---- opening ----

void BM_KeyDerivationOnly(benchmark::State& state) {
    const QString file = accountFile(int(state.range(0)));
    ensureAccount(int(state.range(0)));
    for (auto _ : state) {
        Raw raw(file, false); // key and the first read, nothing else
        benchmark::DoNotOptimize(raw.db);
    }
}

void BM_OpenLayer(benchmark::State& state) {
    const QString file = accountFile(int(state.range(0)));
    ensureAccount(int(state.range(0)));
    const QString key = password();
    // Key derivation alone, timed in the same process state as the opens
    // (OpenSSL's PBKDF2 speed varies with the state of the process).
    double kdfMs = 0;
    for (auto _ : state) {
        gOpenDatabase(file, key);
        gCloseDatabase();
        state.PauseTiming();
        const auto t0 = std::chrono::steady_clock::now();
        { Raw raw(file, false); }
        kdfMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        state.ResumeTiming();
    }
    state.counters["kdf_ms"] = kdfMs / double(state.iterations());
}

// ---- a day's entries ----

// The home page's preview: date, title and plain text of the day's entries.
void BM_DayLayer(benchmark::State& state) {
    ensureAccount(int(state.range(0)));
    gOpenDatabase(accountFile(int(state.range(0))), password());
    DayCycle day(int(state.range(0)));
    long rows = 0;
    for (auto _ : state) {
        gCommand.setCommandText(QStringLiteral("SELECT Date,Title,Diary FROM Diary "));
        gRecordset.setCursorLocation(db::CursorLocation::Client);
        gRecordset.setFilter(db::Filter::eq(QStringLiteral("Date"), day()));
        gRecordset.open(gCommand, db::CursorType::Static);
        QStringList titles, texts;
        for (; !gRecordset.eof(); gRecordset.moveNext()) {
            titles << gRecordset.text(QStringLiteral("Title"));
            texts << gRecordset.text(QStringLiteral("Diary"));
        }
        rows += titles.size();
        gRecordset.close();
        benchmark::DoNotOptimize(texts);
    }
    state.counters["rows/day"] = double(rows) / double(state.iterations());
    gCloseDatabase();
}

void BM_DayRaw(benchmark::State& state) {
    ensureAccount(int(state.range(0)));
    Raw raw(accountFile(int(state.range(0))));
    sqlite3_stmt* st =
        raw.prepare("SELECT rowid, \"Date\", \"Title\", \"Diary\" FROM \"Diary\" WHERE \"Date\" = ?");
    DayCycle day(int(state.range(0)));
    for (auto _ : state) {
        sqlite3_reset(st);
        bindDate(st, 1, day());
        // Table order, as the pages need it: by rowid.
        struct Entry {
            qint64 rowid;
            QDate date;
            QString title, text;
        };
        std::vector<Entry> rows;
        while (sqlite3_step(st) == SQLITE_ROW)
            rows.push_back({sqlite3_column_int64(st, 0),
                            db::textToDate(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)),
                                           sqlite3_column_bytes(st, 1)),
                            columnText(st, 2), columnText(st, 3)});
        std::sort(rows.begin(), rows.end(), [](const Entry& a, const Entry& b) { return a.rowid < b.rowid; });
        QStringList titles, texts;
        for (const Entry& e : rows) {
            titles << e.title;
            texts << e.text;
        }
        benchmark::DoNotOptimize(texts);
    }
    sqlite3_finalize(st);
}

// The review page: every field of the day's entries.
void BM_ReviewDayLayer(benchmark::State& state) {
    ensureAccount(int(state.range(0)));
    gOpenDatabase(accountFile(int(state.range(0))), password());
    DayCycle day(int(state.range(0)));
    for (auto _ : state) {
        gCommand.setCommandText(QStringLiteral("SELECT * FROM Diary"));
        gRecordset.setCursorLocation(db::CursorLocation::Client);
        gRecordset.setFilter(db::Filter::eq(QStringLiteral("Date"), day()));
        gRecordset.open(gCommand, db::CursorType::Dynamic);
        QStringList titles, texts, rtfs;
        int sum = 0;
        for (; !gRecordset.eof(); gRecordset.moveNext()) {
            titles << gRecordset.text(QStringLiteral("Title"));
            texts << gRecordset.text(QStringLiteral("Diary"));
            rtfs << gRecordset.text(QStringLiteral("DiaryRTF"));
            sum += gRecordset.integer(QStringLiteral("Score"));
        }
        gRecordset.close();
        benchmark::DoNotOptimize(rtfs);
        benchmark::DoNotOptimize(sum);
    }
    gCloseDatabase();
}

void BM_ReviewDayRaw(benchmark::State& state) {
    ensureAccount(int(state.range(0)));
    Raw raw(accountFile(int(state.range(0))));
    sqlite3_stmt* st =
        raw.prepare("SELECT rowid, \"Date\", \"Title\", \"Diary\", \"DiaryRTF\", \"Score\", \"Collect\" "
                    "FROM \"Diary\" WHERE \"Date\" = ? LIMIT 2000");
    DayCycle day(int(state.range(0)));
    for (auto _ : state) {
        sqlite3_reset(st);
        bindDate(st, 1, day());
        struct Entry {
            qint64 rowid;
            QDate date;
            QString title, text, rtf;
            int score;
            bool collect;
        };
        std::vector<Entry> rows;
        while (sqlite3_step(st) == SQLITE_ROW)
            rows.push_back({sqlite3_column_int64(st, 0),
                            db::textToDate(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)),
                                           sqlite3_column_bytes(st, 1)),
                            columnText(st, 2), columnText(st, 3), columnText(st, 4),
                            sqlite3_column_int(st, 5), sqlite3_column_int(st, 6) != 0});
        std::sort(rows.begin(), rows.end(), [](const Entry& a, const Entry& b) { return a.rowid < b.rowid; });
        QStringList titles, texts, rtfs;
        int sum = 0;
        for (const Entry& e : rows) {
            titles << e.title;
            texts << e.text;
            rtfs << e.rtf;
            sum += e.score;
        }
        benchmark::DoNotOptimize(rtfs);
        benchmark::DoNotOptimize(sum);
    }
    sqlite3_finalize(st);
}

// ---- the month view's bold days ----

void BM_MonthMarksLayer(benchmark::State& state) {
    ensureAccount(int(state.range(0)));
    gOpenDatabase(accountFile(int(state.range(0))), password());
    DayCycle day(int(state.range(0)));
    for (auto _ : state) {
        const std::vector<QDate> visible = visibleDays(day());
        db::Recordset rs;
        rs.setFilter(db::Filter::between(QStringLiteral("Date"), visible.front(), visible.back()));
        gCommand.setCommandText(QStringLiteral("SELECT Date FROM Diary"));
        rs.open(gCommand, db::CursorType::Static);
        int bold = 0;
        for (const QDate& d : visible) {
            rs.setFilter(db::Filter::eq(QStringLiteral("Date"), d));
            bold += rs.recordCount() > 0;
        }
        rs.close();
        benchmark::DoNotOptimize(bold);
    }
    gCloseDatabase();
}

void BM_MonthMarksRaw(benchmark::State& state) {
    ensureAccount(int(state.range(0)));
    Raw raw(accountFile(int(state.range(0))));
    sqlite3_stmt* st =
        raw.prepare("SELECT rowid, \"Date\" FROM \"Diary\" WHERE \"Date\" >= ? AND \"Date\" <= ?");
    DayCycle day(int(state.range(0)));
    for (auto _ : state) {
        const std::vector<QDate> visible = visibleDays(day());
        sqlite3_reset(st);
        bindDate(st, 1, visible.front());
        bindDate(st, 2, visible.back());
        // The dates straight from the stored text, as the layer reads them.
        QSet<QDate> days;
        while (sqlite3_step(st) == SQLITE_ROW)
            days.insert(db::textToDate(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)),
                                       sqlite3_column_bytes(st, 1)));
        int bold = 0;
        for (const QDate& d : visible)
            bold += days.contains(d);
        benchmark::DoNotOptimize(bold);
    }
    sqlite3_finalize(st);
}

// ---- adding one entry, durably ----

void removeAdded(int entries) {
    gOpenDatabase(accountFile(entries), password());
    gConnection.execute(QStringLiteral("DELETE FROM \"Diary\" WHERE \"Date\" >= ?"), {kAddDay});
    gCloseDatabase();
}

void BM_AddEntryLayer(benchmark::State& state) {
    ensureAccount(int(state.range(0)));
    gOpenDatabase(accountFile(int(state.range(0))), password());
    const QString plain = plainText(7);
    const QString rtf = richText(plain);
    QDate day = kAddDay;
    for (auto _ : state) {
        day = day.addDays(1);
        gCommand.setCommandText(QStringLiteral("SELECT * FROM Diary"));
        gRecordset.setCursorLocation(db::CursorLocation::Client);
        gRecordset.setFilter(db::Filter::eq(QStringLiteral("Date"), day));
        gRecordset.open(gCommand, db::CursorType::Static, db::LockType::Optimistic);
        gRecordset.addNew();
        gRecordset.setField(QStringLiteral("Date"), day);
        gRecordset.setField(QStringLiteral("Title"), QStringLiteral("新日记"));
        gRecordset.setField(QStringLiteral("Diary"), plain);
        gRecordset.setField(QStringLiteral("DiaryRTF"), rtf);
        gRecordset.setField(QStringLiteral("Score"), 60);
        gRecordset.setField(QStringLiteral("Collect"), false);
        gRecordset.update();
        gRecordset.close();
    }
    gCloseDatabase();
    removeAdded(int(state.range(0)));
}

void BM_AddEntryRaw(benchmark::State& state) {
    ensureAccount(int(state.range(0)));
    {
        Raw raw(accountFile(int(state.range(0))));
        raw.exec("PRAGMA synchronous = FULL");
        sqlite3_stmt* sel = raw.prepare("SELECT rowid, * FROM \"Diary\" WHERE \"Date\" = ? LIMIT 2000");
        sqlite3_stmt* ins =
            raw.prepare("INSERT INTO \"Diary\" (\"Date\", \"Title\", \"Diary\", \"DiaryRTF\", \"Score\", "
                        "\"Collect\") VALUES (?, ?, ?, ?, ?, ?)");
        const QByteArray plain = plainText(7).toUtf8();
        const QByteArray rtf = richText(plainText(7)).toUtf8();
        const QByteArray title = QStringLiteral("新日记").toUtf8();
        QDate day = kAddDay;
        for (auto _ : state) {
            day = day.addDays(1);
            sqlite3_reset(sel);
            bindDate(sel, 1, day);
            while (sqlite3_step(sel) == SQLITE_ROW) {
            }
            sqlite3_reset(ins);
            bindDate(ins, 1, day);
            sqlite3_bind_text(ins, 2, title.constData(), int(title.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(ins, 3, plain.constData(), int(plain.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(ins, 4, rtf.constData(), int(rtf.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int(ins, 5, 60);
            sqlite3_bind_int(ins, 6, 0);
            if (sqlite3_step(ins) != SQLITE_DONE) state.SkipWithError("insert failed");
        }
        sqlite3_finalize(sel);
        sqlite3_finalize(ins);
    }
    removeAdded(int(state.range(0)));
}

// ---- the search page: every entry read ----

// Accounts whose entries differ from each other, so a word is in some and not
// in others: "露营" in one entry of 50, "考试" in one title of 20.
QString searchAccountFile(int entries) {
    return benchDir() + QStringLiteral("/search-%1.dat").arg(entries);
}

QString searchText(int i) {
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

QString searchTitle(int i) {
    static const char* const titles[] = {"平常的一天", "雨天", "图书馆", "运动会",   "周末", "社团", "晚自习",
                                         "家里来电",   "跑步", "小说",   "停电",     "作业", "超市", "作文",
                                         "秋天",       "实验", "班会",   "期中考试", "食堂", "单词"};
    return QString::fromUtf8(titles[i % 20]);
}

void ensureSearchAccount(int entries) {
    buildAccount(searchAccountFile(entries), entries, searchTitle, searchText);
}

const QString kContentWord = QStringLiteral("露营");
const QString kTitleWord = QStringLiteral("考试");

// The search page's reads for one condition: the results by date with their
// place in the day. A search of the plain texts keeps them for the following
// searches until the database changes; `afterChange` times the first one.
void searchLayer(benchmark::State& state, const QString& field, const QString& word,
                 bool afterChange = false) {
    ensureSearchAccount(int(state.range(0)));
    gOpenDatabase(searchAccountFile(int(state.range(0))), password());
    const db::Filter filter(field, db::Op::Contains, word);
    if (!afterChange) gSearchDiary(filter); // timed: the searches after the first
    size_t found = 0;
    for (auto _ : state) {
        if (afterChange) {
            state.PauseTiming();
            gConnection.execute(QStringLiteral("UPDATE \"DiarySettings\" SET \"Score\" = \"Score\""));
            state.ResumeTiming();
        }
        const std::vector<gFoundEntry> rows = gSearchDiary(filter);
        found = rows.size();
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["found"] = double(found);
    gCloseDatabase();
}

// The same two statements on raw SQLCipher: the matches by date, then the
// dates of their days from the index to number them.
void searchRaw(benchmark::State& state, const char* field, const QString& word) {
    ensureSearchAccount(int(state.range(0)));
    Raw raw(searchAccountFile(int(state.range(0))));
    const QByteArray matches =
        QByteArray("SELECT rowid, \"Date\", \"Title\", \"Diary\", \"Score\", \"Collect\" "
                   "FROM \"Diary\" WHERE \"") +
        field + "\" LIKE ? ESCAPE '\\' ORDER BY \"Date\", rowid";
    sqlite3_stmt* st = raw.prepare(matches.constData());
    sqlite3_stmt* days = raw.prepare("SELECT rowid, \"Date\" FROM \"Diary\" WHERE \"Date\" >= ? AND \"Date\" "
                                     "<= ? ORDER BY \"Date\", rowid");
    const QByteArray pattern = (QLatin1Char('%') + word + QLatin1Char('%')).toUtf8();
    size_t found = 0;
    for (auto _ : state) {
        sqlite3_reset(st);
        sqlite3_bind_text(st, 1, pattern.constData(), int(pattern.size()), SQLITE_TRANSIENT);
        std::vector<gFoundEntry> rows;
        std::vector<qint64> marks;
        while (sqlite3_step(st) == SQLITE_ROW) {
            rows.push_back({0,
                            db::textToDate(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)),
                                           sqlite3_column_bytes(st, 1)),
                            columnText(st, 2), columnText(st, 3).left(50), sqlite3_column_int(st, 4)});
            marks.push_back(sqlite3_column_int64(st, 0));
        }
        if (!rows.empty()) {
            sqlite3_reset(days);
            bindDate(days, 1, rows.front().date);
            bindDate(days, 2, rows.back().date);
            size_t k = 0;
            QDate day;
            int place = 0;
            while (k < rows.size() && sqlite3_step(days) == SQLITE_ROW) {
                const QDate d = db::textToDate(reinterpret_cast<const char*>(sqlite3_column_text(days, 1)),
                                               sqlite3_column_bytes(days, 1));
                place = d == day ? place + 1 : 1;
                day = d;
                if (d == rows[k].date && sqlite3_column_int64(days, 0) == marks[k]) rows[k++].number = place;
            }
        }
        found = rows.size();
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["found"] = double(found);
    sqlite3_finalize(st);
    sqlite3_finalize(days);
}

void BM_SearchContentLayer(benchmark::State& state) {
    searchLayer(state, QStringLiteral("Diary"), kContentWord);
}
void BM_SearchContentFirstLayer(benchmark::State& state) {
    searchLayer(state, QStringLiteral("Diary"), kContentWord, true);
}
void BM_SearchContentRaw(benchmark::State& state) {
    searchRaw(state, "Diary", kContentWord);
}
void BM_SearchTitleLayer(benchmark::State& state) {
    searchLayer(state, QStringLiteral("Title"), kTitleWord);
}
void BM_SearchTitleRaw(benchmark::State& state) {
    searchRaw(state, "Title", kTitleWord);
}

#define ACCOUNTS ->Arg(1000)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond)

BENCHMARK(BM_KeyDerivationOnly) ACCOUNTS;
BENCHMARK(BM_OpenLayer) ACCOUNTS;
BENCHMARK(BM_DayLayer) ACCOUNTS;
BENCHMARK(BM_DayRaw) ACCOUNTS;
BENCHMARK(BM_ReviewDayLayer) ACCOUNTS;
BENCHMARK(BM_ReviewDayRaw) ACCOUNTS;
BENCHMARK(BM_MonthMarksLayer) ACCOUNTS;
BENCHMARK(BM_MonthMarksRaw) ACCOUNTS;
BENCHMARK(BM_AddEntryLayer) ACCOUNTS;
BENCHMARK(BM_AddEntryRaw) ACCOUNTS;

#define SEARCHED ->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond)

BENCHMARK(BM_SearchContentFirstLayer) SEARCHED;
BENCHMARK(BM_SearchContentLayer) SEARCHED;
BENCHMARK(BM_SearchContentRaw) SEARCHED;
BENCHMARK(BM_SearchTitleLayer) SEARCHED;
BENCHMARK(BM_SearchTitleRaw) SEARCHED;

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    try {
        benchmark::RunSpecifiedBenchmarks();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "benchmark failed: %s\n", e.what());
        return 1;
    }
    benchmark::Shutdown();
    return 0;
}
