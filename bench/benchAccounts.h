#pragma once
// The accounts the benchmarks read, built once into REDEDERA_BENCH_DIR (default
// /tmp/rededera-bench) and reused by later runs, and raw SQLCipher opened as
// the layer opens it.
#include <QDate>
#include <QString>

#include <sqlite3.h>

#include <vector>

namespace bench {

extern const QDate kFirstDay;
// "露营" is in the plain text of one search entry in 50, "考试" in the title of one in 20.
extern const QString kContentWord;
extern const QString kTitleWord;

QString benchDir();
// The database password of every bench account (and its record key in gRecordKey).
QString password();
// The user name, password and record key behind it.
extern const QString kUserName, kUserPassword, kRecordKey;

// Accounts of the same entry on every day's pattern (1,000 / 20,000 / 200,000 entries).
QString accountFile(int entries);
void ensureAccount(int entries);
const std::vector<QDate>& entryDays(int entries);
QString plainText(int i);
QString richText(const QString& plain);

// Accounts whose entries differ from each other, for the search.
QString searchAccountFile(int entries);
void ensureSearchAccount(int entries);

// The resident memory of this process, in MB.
double residentMB();

struct Raw {
    sqlite3* db = nullptr;
    explicit Raw(const QString& file, bool exclusive = true);
    ~Raw();
    void exec(const char* sql);
    sqlite3_stmt* prepare(const char* sql);
};

void bindDate(sqlite3_stmt* st, int i, const QDate& d);
QString columnText(sqlite3_stmt* st, int i);

} // namespace bench
