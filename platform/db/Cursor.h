#pragma once
// A forward-only read of one statement, stepped a row at a time, so that a long
// read can be spread over many short turns of the event loop. It owns its
// statement (apart from the connection's cache), which holds a read of the file
// open until the last row or close().
//
//   db::Cursor c(connection, "SELECT rowid, \"Date\" FROM \"Diary\" ORDER BY \"Date\", rowid");
//   while (c.next()) ... c.int64(0) ... c.date(1) ...
#include <QByteArrayView>
#include <QDate>
#include <QString>
#include <QVariantList>

struct sqlite3_stmt;

namespace db {

class Connection;

class Cursor {
public:
    Cursor() = default;
    // Prepares sql (values bound to its "?" placeholders). Errors: err::Closed
    // without an open connection, err::CommandFailed for a statement SQLite refuses.
    Cursor(Connection& connection, const QString& sql, const QVariantList& params = {});
    ~Cursor();
    Cursor(const Cursor&) = delete;
    Cursor& operator=(const Cursor&) = delete;

    // Moves to the next row; false after the last one (the statement is then
    // released). Errors as SQLite reports them (the statement is released), and
    // err::Closed when the connection was closed or opened again since.
    bool next();
    bool isOpen() const { return st_ != nullptr; }
    // Releases the statement; harmless when closed.
    void close();

    // Columns of the current row, from 0. A text's bytes stay valid until the
    // next step.
    bool isNull(int column) const;
    qint64 int64(int column) const;
    QByteArrayView utf8(int column) const;
    QDate date(int column) const; // a stored "yyyy-MM-dd"; a null QDate for anything else

private:
    Connection* connection_ = nullptr;
    quint64 generation_ = 0;
    sqlite3_stmt* st_ = nullptr;
};

} // namespace db
