#pragma once
// A client-side static cursor over the rows of one query.
//
// Typical use (the shared handles of the program):
//   gCommand.setCommandText("SELECT * FROM Diary");
//   gRecordset.setCursorLocation(db::CursorLocation::Client);
//   gRecordset.setFilter(db::Filter::eq("Date", day));      // becomes WHERE "Date" = ?
//   gRecordset.open(gCommand, db::CursorType::Static, db::LockType::Optimistic);
//   for (; !gRecordset.eof(); gRecordset.moveNext()) ... gRecordset.text("Title") ...
//   gRecordset.close();                                      // "set to nothing"
//
// Rows come in table order (the order they were added) unless a sort is given;
// sorts are stable (ties keep table order). An update or delete reaches exactly
// the row it was read from. A filter or sort set before open becomes part of the
// query (bound values, indexes used); set after open it works on the rows read,
// and the cursor goes to the first row. Long texts of very large results are
// read when first asked for, so opening many rows stays cheap.
//
// Give every condition known up front before open: the month view's marks read
// the visible range (Filter::between("Date", first, last)) and then filter each
// day after open, which is fast for "field = value" on dates, integers and
// Booleans. To count rows without reading them, use Connection::count.
#include "platform/db/dbTypes.h"

#include <QDate>
#include <QString>
#include <QVariant>

#include <memory>

namespace db {

class Command;
class Connection;

class Recordset {
public:
    Recordset();
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Before open. The location is accepted for the call sites; all cursors are
    // client-side. Called on an open recordset it releases it first (a use that
    // failed half-way leaves nothing behind for the next one).
    void setCursorLocation(CursorLocation location);
    // Before or after open (see above). An empty filter or sort removes it.
    void setFilter(Filter filter);
    void setSort(const Sort& sort);
    const Filter& filter() const;
    const Sort& sort() const;
    // Before open: how many rows are read with their long texts at open (2000
    // unless set; kept for later opens); the long texts of the rest are read when first asked for.
    // A use that reads every row's long text anyway saves a read per row.
    void setCacheSize(long rows);

    // Opens on the command's text and active connection (an open recordset is
    // released first; only a filter or sort set since its open carries over).
    // A statement that returns no rows (e.g. "DELETE * FROM t") is run and the
    // recordset stays closed.
    // Unspecified lock means ReadOnly. Errors: err::Closed (no open connection),
    // err::CommandFailed, err::ItemNotFound (a filter or sort field the rows lack).
    void open(const Command& source, CursorType cursor = CursorType::Unspecified,
              LockType lock = LockType::Unspecified);
    void open(const QString& source, Connection& connection, CursorType cursor = CursorType::Unspecified,
              LockType lock = LockType::Unspecified);
    bool isOpen() const;
    LockType lockType() const;

    // Releases the rows: unsaved changes are dropped, and filter, sort and
    // location go back to their defaults (the next use starts afresh).
    void close();

    // Rows that pass the current filter, excluding deleted ones.
    long recordCount() const;
    bool eof() const; // after the last row (always true with no rows)
    bool bof() const; // before the first row (always true with no rows)
    // 1-based position of the current row, 0 at bof or eof.
    long absolutePosition() const;
    // The current row's place in its table: rows later in table order have
    // larger bookmarks (0 for a row not yet written, or one of a query that is
    // not a table's). err::BofOrEof without a current row.
    qint64 bookmark() const;

    // Leaving a row with unsaved changes (Optimistic/Pessimistic) updates it first.
    void moveFirst();
    void moveLast();
    void moveNext();     // err::BofOrEof when already at eof
    void movePrevious(); // err::BofOrEof when already at bof
    void move(long n);   // relative to the current row; stops at bof/eof

    // Fields of the current row by name (case-insensitive). Errors: err::BofOrEof
    // without a current row, err::ItemNotFound for an unknown name. A null field
    // gives an invalid QVariant; date fields give QDate, Boolean fields bool,
    // integer fields int, text fields QString.
    QVariant field(const QString& name) const;
    QString text(const QString& name) const; // null gives ""
    int integer(const QString& name) const;  // null gives 0
    bool boolean(const QString& name) const; // null gives false
    QDate date(const QString& name) const;   // null gives a null QDate
    int fieldCount() const;
    QString fieldName(int index) const;

    // Changes a field of the current row (converted to the column's type).
    // err::ReadOnly under a read-only lock or on a row that has no table behind
    // it, err::DataTooLong for text past the column's size, err::TypeMismatch for
    // a value that does not convert (or null for a Boolean).
    void setField(const QString& name, const QVariant& value);

    // Adds a new row at the end and makes it current; its fields are null
    // (Boolean fields False) until set.
    void addNew();
    // Writes the current row's changes (immediate locks); under BatchOptimistic
    // it only ends the edit, and updateBatch writes.
    void update();
    // Forgets the current row's unsaved changes (a new row that was never
    // updated disappears).
    void cancelUpdate();
    // Writes every pending change (added, changed, deleted rows) in one
    // transaction (a nested level when the caller holds one, so the caller's
    // commit makes them durable and its rollback undoes them).
    void updateBatch();
    // Deletes the current row (at once, or at updateBatch under BatchOptimistic).
    // The row leaves the recordset; moveNext goes to the row after it.
    void deleteCurrent();

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

} // namespace db
