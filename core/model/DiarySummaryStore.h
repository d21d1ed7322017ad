#pragma once

// What the account's diary amounts to, for the sign-in and the month views,
// which sit below the diary's pages: the entry count, the stored score total
// and its one DiarySettings row, and the days that have entries. It needs no
// window; each call uses recordsets of its own (the shared one is not touched)
// and raises its errors for the caller to report.

#include <QDate>
#include <QSet>

namespace db {
class Connection;
}

class DiarySummaryStore {
public:
    explicit DiarySummaryStore(db::Connection& connection) : connection_(connection) {}

    // Adds the DiarySettings row with Score 0 when the table has none, in one
    // transaction; never a second row. True when it added the row.
    bool addSettingsRowIfMissing();

    // The stored score total, the Score of the first DiarySettings row. A row
    // that is missing or cannot be read reads 0; a table that cannot be read raises.
    long scoreTotal();

    // The number of diary entries (no row is read). It reads the whole date index.
    long entryCount();

    // The sign-in's check of the date index: its first pages must read back
    // (the count that reads all of it comes later). Raises as any read does.
    void checkDateIndex();

    // The days from first to last, both included, with at least one entry.
    QSet<QDate> daysWithEntries(const QDate& first, const QDate& last);

private:
    db::Connection& connection_;
};
