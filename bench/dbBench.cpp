// Speed of the account database: the layer against raw SQLCipher running the
// same statements, on accounts of 1,000, 20,000 and 200,000 diary entries.
//
// The accounts are built once into REDEDERA_BENCH_DIR (default
// /tmp/rededera-bench) and reused by later runs.
#include "benchAccounts.h"
#include "core/model/gDatabase.h"
#include "core/model/gState.h"
#include "diary/DiarySearch.h"
#include "diary/SearchEntries.h"
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

using namespace bench;

const QDate kAddDay(9000, 1,
                    1); // from here on: the rows the add benchmarks write, one a day, removed afterwards

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

// The rows a list shows on its first screen, as its model gives them.
constexpr size_t kScreenRows = 30;

void showFirstRows(DiarySearch& s) {
    SearchEntries& e = *s.entries();
    QStringList cells;
    for (size_t k = 0; k < std::min(kScreenRows, s.found().size()); ++k) {
        const quint32 i = s.found()[k];
        cells << QString::number(e[i].number) << e.date(i).toString() << e.title(i) << e.preview(i)
              << QString::number(e.score(i));
    }
    benchmark::DoNotOptimize(cells);
}

void runToEnd(DiarySearch& s) {
    while (!s.run(DiarySearch::Clock::time_point::max())) {
    }
}

// A statement stepped to its end, each column of each row touched.
void readRaw(benchmark::State& state, const char* sql) {
    ensureSearchAccount(int(state.range(0)));
    Raw raw(searchAccountFile(int(state.range(0))));
    sqlite3_stmt* st = raw.prepare(sql);
    size_t bytes = 0;
    for (auto _ : state) {
        sqlite3_reset(st);
        while (sqlite3_step(st) == SQLITE_ROW)
            for (int i = 0; i < sqlite3_column_count(st); ++i)
                bytes += size_t(sqlite3_column_bytes(st, i));
    }
    benchmark::DoNotOptimize(bytes);
    sqlite3_finalize(st);
}

// Every full row by date: the floor of any read that needs a column behind the
// rich text (the score, the flag), such as the listing with its scores.
void BM_SearchEveryRowRaw(benchmark::State& state) {
    readRaw(state, "SELECT rowid, * FROM \"Diary\" ORDER BY \"Date\", rowid");
}
// The columns in front of the rich text alone.
void BM_SearchTextsRaw(benchmark::State& state) {
    readRaw(state, "SELECT rowid, \"Date\", \"Title\", \"Diary\" FROM \"Diary\" ORDER BY \"Date\", rowid");
}

// The page on opening: every entry with its score and flag, kept for the
// searches after it. First the first screen of rows, then all.
void BM_SearchListingFirstRowsLayer(benchmark::State& state) {
    ensureSearchAccount(int(state.range(0)));
    gOpenDatabase(searchAccountFile(int(state.range(0))), password());
    for (auto _ : state) {
        state.PauseTiming();
        gForgetSearchTexts();
        state.ResumeTiming();
        DiarySearch s(gConnection, {}, true);
        while (s.found().size() < kScreenRows &&
               !s.run(DiarySearch::Clock::now() + std::chrono::milliseconds(12))) {
        }
        showFirstRows(s);
    }
    gForgetSearchTexts();
    gCloseDatabase();
}

void listingLayer(benchmark::State& state, bool withScores) {
    ensureSearchAccount(int(state.range(0)));
    gOpenDatabase(searchAccountFile(int(state.range(0))), password());
    size_t found = 0;
    const double before = residentMB();
    double kept = 0;
    for (auto _ : state) {
        state.PauseTiming();
        gForgetSearchTexts();
        state.ResumeTiming();
        DiarySearch s(gConnection, {}, withScores);
        runToEnd(s);
        showFirstRows(s);
        found = s.found().size();
        kept = residentMB() - before;
    }
    state.counters["found"] = double(found);
    state.counters["kept_MB"] = kept;
    gForgetSearchTexts();
    gCloseDatabase();
}

// The listing as the page reads it: every score and flag read along.
void BM_SearchListingLayer(benchmark::State& state) {
    listingLayer(state, true);
}
// The texts alone, as a search of the texts reads them: against their statement.
void BM_SearchListingTextsLayer(benchmark::State& state) {
    listingLayer(state, false);
}

// The scores and flags of every kept entry read after the texts, as the page
// reads them while nothing runs after a first search of the texts.
void BM_SearchScoresLayer(benchmark::State& state) {
    ensureSearchAccount(int(state.range(0)));
    gOpenDatabase(searchAccountFile(int(state.range(0))), password());
    for (auto _ : state) {
        state.PauseTiming();
        gForgetSearchTexts();
        {
            DiarySearch listing(gConnection, {});
            runToEnd(listing);
        }
        state.ResumeTiming();
        DiarySearch s(gConnection, db::Filter::eq(QStringLiteral("Collect"), true));
        runToEnd(s);
    }
    gForgetSearchTexts();
    gCloseDatabase();
}

// The first search of the texts with nothing kept, and its first screen.
void BM_SearchContentFirstLayer(benchmark::State& state) {
    ensureSearchAccount(int(state.range(0)));
    gOpenDatabase(searchAccountFile(int(state.range(0))), password());
    const db::Filter filter(QStringLiteral("Diary"), db::Op::Contains, kContentWord);
    size_t found = 0;
    for (auto _ : state) {
        state.PauseTiming();
        gForgetSearchTexts();
        state.ResumeTiming();
        DiarySearch s(gConnection, filter);
        runToEnd(s);
        showFirstRows(s);
        found = s.found().size();
    }
    state.counters["found"] = double(found);
    gForgetSearchTexts();
    gCloseDatabase();
}

// The statement the page ran before, on raw SQLCipher: the matches by date,
// then the dates of their days from the index to number them.
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

void BM_SearchContentRaw(benchmark::State& state) {
    searchRaw(state, "Diary", kContentWord);
}
void BM_SearchTitleRaw(benchmark::State& state) {
    searchRaw(state, "Title", kTitleWord);
}

// Searches after the listing, from the kept entries: range(1) picks the criteria.
void BM_SearchLaterLayer(benchmark::State& state) {
    const int entries = int(state.range(0));
    ensureSearchAccount(entries);
    gOpenDatabase(searchAccountFile(entries), password());
    const QDate last = entryDays(entries).back();
    const QString text = QStringLiteral("Diary");
    const struct {
        const char* name;
        db::Filter filter;
    } criteria[] = {
        {"content 露营", db::Filter(text, db::Op::Contains, kContentWord)},
        {"content begins 12", db::Filter(text, db::Op::BeginsWith, QStringLiteral("12"))},
        {"title 考试", db::Filter(QStringLiteral("Title"), db::Op::Contains, kTitleWord)},
        {"content Camp (letters)", db::Filter(text, db::Op::Contains, QStringLiteral("Camp"))},
        {"score 60-80", db::Filter::between(QStringLiteral("Score"), 60, 80)},
        {"favourites", db::Filter::eq(QStringLiteral("Collect"), true)},
        {"last year", db::Filter::between(QStringLiteral("Date"), last.addDays(-365), last)},
        {"content, favourites, score", db::Filter(text, db::Op::Contains, kContentWord)
                                           .and_(QStringLiteral("Collect"), db::Op::Eq, true)
                                           .and_(db::Filter::between(QStringLiteral("Score"), 0, 50))},
    };
    const auto& c = criteria[state.range(1)];
    state.SetLabel(c.name);
    {
        DiarySearch listing(gConnection, {}, true);
        runToEnd(listing);
    }
    size_t found = 0;
    for (auto _ : state) {
        DiarySearch s(gConnection, c.filter);
        runToEnd(s);
        showFirstRows(s);
        found = s.found().size();
    }
    state.counters["found"] = double(found);
    gForgetSearchTexts();
    gCloseDatabase();
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

BENCHMARK(BM_SearchEveryRowRaw) SEARCHED;
BENCHMARK(BM_SearchTextsRaw) SEARCHED;
BENCHMARK(BM_SearchListingFirstRowsLayer) SEARCHED;
BENCHMARK(BM_SearchListingLayer) SEARCHED;
BENCHMARK(BM_SearchListingTextsLayer) SEARCHED;
BENCHMARK(BM_SearchScoresLayer) SEARCHED;
BENCHMARK(BM_SearchContentFirstLayer) SEARCHED;
BENCHMARK(BM_SearchContentRaw) SEARCHED;
BENCHMARK(BM_SearchTitleRaw) SEARCHED;
BENCHMARK(BM_SearchLaterLayer)
    ->ArgsProduct({{20000, 200000}, {0, 1, 2, 3, 4, 5, 6, 7}})
    ->Unit(benchmark::kMillisecond);

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
