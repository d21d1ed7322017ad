#pragma once
// Value types shared by the data-access layer: error numbers, cursor and lock
// types, and the structured filters and sorts. Conditions are values built in
// code; their values always reach SQLite as bound parameters, never as SQL text.
#include <QDate>
#include <QString>
#include <QStringView>
#include <QVariant>

#include <initializer_list>
#include <vector>

namespace db {

// Error numbers raised as gRuntimeError (the provider's HRESULTs as signed 32-bit
// numbers, and the recordset's own errors by their small numbers).
namespace err {
constexpr int WrongKey = -2147217843;       // 0x80040E4D: the key (password) does not open the file
constexpr int FileInUse = -2147467259;      // 0x80004005: another process holds the file, or I/O failed
constexpr int CommandFailed = -2147217900;  // 0x80040E14: a statement SQLite refused
constexpr int DataTooLong = -2147217833;    // 0x80040E57: text longer than the column allows
constexpr int TypeMismatch = -2147217913;   // 0x80040E07: a value that does not fit the column
constexpr int RowDeleted = -2147217885;     // 0x80040E23: the row is no longer in the table
constexpr int NoTransaction = -2147168242;  // 0x8004D00E: commit or rollback without a begin
constexpr int AlreadyExists = -2147217897;  // 0x80040E17: creating over an existing file
constexpr int SchemaMismatch = -2147217865; // 0x80040E37: a table or column the program needs is missing
constexpr int WrongArguments = 3001;        // a filter, sort or call that makes no sense here
constexpr int BofOrEof = 3021;              // no current record (before the first or after the last)
constexpr int ReadOnly = 3251;              // the lock type does not allow the change
constexpr int ItemNotFound = 3265;          // no field of that name
constexpr int Damaged = 3343;               // the file is not whole: a page is missing or does not read back
constexpr int Closed = 3704;                // the recordset or connection is not open
} // namespace err

// Cursor types as the call sites pass them. Every cursor is client-side and
// static: the rows are read at open and the record count is exact.
enum class CursorType { Unspecified = -1, ForwardOnly = 0, Keyset = 1, Dynamic = 2, Static = 3 };

// Lock types. ReadOnly (and Unspecified) refuse edits; Pessimistic and
// Optimistic write each row at update (or when the cursor leaves an edited row);
// BatchOptimistic keeps the changes until updateBatch writes them all at once.
enum class LockType { Unspecified = -1, ReadOnly = 1, Pessimistic = 2, Optimistic = 3, BatchOptimistic = 4 };

// Accepted for fidelity with the call sites; every cursor is client-side anyway.
enum class CursorLocation { Server = 2, Client = 3 };

// Comparison of one condition. Text comparisons are exact; BeginsWith and
// Contains match the value literally ("%", "_", "'" are ordinary characters),
// ignoring the case of ASCII letters only.
enum class Op { Eq, Ne, Lt, Le, Gt, Ge, BeginsWith, Contains };

struct Condition {
    QString field;
    Op op = Op::Eq;
    QVariant value; // QDate for date columns, int, bool or QString; a null value never matches
};

// Conditions joined by "and". An empty filter selects every row.
class Filter {
public:
    Filter() = default;
    Filter(std::initializer_list<Condition> conditions) : conditions_(conditions) {}
    Filter(QString field, Op op, QVariant value) { and_(std::move(field), op, std::move(value)); }
    // Appends one more condition; returns *this so calls chain.
    Filter& and_(QString field, Op op, QVariant value) {
        conditions_.push_back({std::move(field), op, std::move(value)});
        return *this;
    }
    Filter& and_(const Filter& other) {
        conditions_.insert(conditions_.end(), other.conditions_.begin(), other.conditions_.end());
        return *this;
    }
    bool isEmpty() const { return conditions_.empty(); }
    const std::vector<Condition>& conditions() const { return conditions_; }

    // Shorthands: Filter::eq("Date", d), Filter::between("Date", from, to) (inclusive).
    static Filter eq(QString field, QVariant value) {
        return Filter(std::move(field), Op::Eq, std::move(value));
    }
    static Filter between(const QString& field, QVariant from, QVariant to) {
        Filter f(field, Op::Ge, std::move(from));
        return f.and_(field, Op::Le, std::move(to));
    }

private:
    std::vector<Condition> conditions_;
};

struct SortKey {
    QString field;
    bool ascending = true;
};

// Sort keys, most significant first. Sorts are stable: rows that tie keep
// their table order. An empty sort is table order (the order rows were added).
class Sort {
public:
    Sort() = default;
    Sort(std::initializer_list<SortKey> keys) : keys_(keys) {}
    explicit Sort(QString field, bool ascending = true) { keys_.push_back({std::move(field), ascending}); }
    Sort& then(QString field, bool ascending = true) {
        keys_.push_back({std::move(field), ascending});
        return *this;
    }
    bool isEmpty() const { return keys_.empty(); }
    const std::vector<SortKey>& keys() const { return keys_; }

private:
    std::vector<SortKey> keys_;
};

// The stored form of a date ("yyyy-MM-dd") and back (null QDate when not a date).
QString dateToText(const QDate& d);
QDate textToDate(QStringView s);
QDate textToDate(const char* utf8, int bytes);

} // namespace db

namespace db {

// Column kinds the layer knows. The tables a connection is given as its schema
// take their kinds from it; other tables from their declared types, where the
// names of earlier files (in quotes) are still understood.
enum class ColumnType {
    Date,     // TEXT "yyyy-MM-dd", read as QDate ("DATETEXT")
    Text,     // TEXT of at most `size` characters, 255 when size is 0 ("VARCHAR(n)")
    LongText, // TEXT of any length ("LONGTEXT")
    Integer,  // INTEGER: 32-bit integer, read as int
    Boolean,  // INTEGER 0 or 1, never null, False for a new row; any non-zero reads as True ("BOOLEAN")
    Other     // an expression or an undeclared column: read as SQLite gives it
};

struct ColumnSpec {
    QString name;
    ColumnType type = ColumnType::Text;
    int size = 0; // Text only; 0 means 255
};

struct IndexSpec {
    QString name;
    QString column;
    bool unique = false;
};

struct TableSpec {
    QString name;
    std::vector<ColumnSpec> columns;
    std::vector<IndexSpec> indexes;
};

} // namespace db
