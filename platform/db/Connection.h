#pragma once
// One SQLCipher database file opened for this process alone.
#include "platform/db/dbTypes.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariantList>

#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace db {

class Connection {
public:
    Connection() = default;
    ~Connection(); // closes (rolling back an open transaction)
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens `file` with the database password `password` (its UTF-8 bytes are the
    // SQLCipher key). The open reads the file, so a wrong password fails here with
    // err::WrongKey; a file another process holds fails with err::FileInUse; a
    // file cut short or with a page that does not read back fails (here or at
    // a later read) with err::Damaged; a missing file fails (nothing is created). With `exclusive` the file
    // stays locked against every other process until close. On any failure nothing stays open. Opening an
    // open connection closes it first.
    void open(const QString& file, const QString& password, bool exclusive = true);
    bool isOpen() const { return db_ != nullptr; }
    const QString& fileName() const { return file_; }
    // Changes with every open and close, so a recordset notices a connection that went away.
    quint64 generation() const { return generation_; }
    // Rows added, changed or deleted through this connection since its open
    // (also those of a rolled-back transaction): unchanged means nothing was written.
    qint64 changeCount() const;

    // Closes the file; an open transaction is rolled back. Harmless when closed.
    void close();

    // Runs one statement built in code; values are bound to its "?" placeholders.
    // Returns the number of rows changed. "ALTER DATABASE PASSWORD [new] [old];"
    // changes the key after checking that old is the key the file was opened with
    // (err::WrongKey otherwise; nothing changes). Jet's "DELETE * FROM t" is accepted.
    int execute(const QString& sql, const QVariantList& params = {});

    // Changes the file's key; the connection stays open. old must be the key it
    // was opened with (err::WrongKey otherwise), new must not be empty, and no
    // transaction may be open: a refused change changes nothing.
    void changePassword(const QString& newPassword, const QString& oldPassword);

    // The program's own tables: their columns read and write as the kinds given
    // here, whatever type names the file declares (a file made or repaired with
    // another SQLite tool reads the same). Columns of other tables take the kinds
    // their declared types name. Kept across close and open.
    void setSchema(std::vector<TableSpec> tables);
    // Raises err::SchemaMismatch naming the first table or column of the schema
    // that the open file lacks.
    void checkSchema();

    // Number of rows of `table` that pass `filter` (no rows are read).
    long count(const QString& table, const Filter& filter = {});

    // Transactions. A begin inside a transaction opens a nested level (a savepoint);
    // commit and rollback end the innermost level. Only the outermost commit makes
    // the changes durable. Returns the new level (1 for the outermost).
    int beginTrans();
    void commitTrans();
    void rollbackTrans();
    int transactionLevel() const { return level_; }

    // ---- for the layer itself (Recordset, Command, database creation) ----
    sqlite3* handle() const { return db_; }
    // A prepared statement cached by its text, reset and with bindings cleared.
    sqlite3_stmt* prepare(const QString& sql);
    // Binds values to a statement's placeholders (QDate as "yyyy-MM-dd", bool as 0/1).
    static void bind(sqlite3_stmt* st, const QVariantList& params);
    // Raises the error SQLite reported for rc as a gRuntimeError.
    [[noreturn]] void raise(int rc, const QString& context = {}) const;
    // The declared types of a table's columns, by lower-case name (cached).
    const QHash<QString, ColumnSpec>& columnsOf(const QString& table);
    const std::vector<ColumnSpec>& columnListOf(const QString& table);
    // The schema's column of that table and name (either in any letter case), or null.
    const ColumnSpec* schemaColumn(const QString& table, const QString& column) const;
    // Query plans of the recordsets, by a key of theirs; dropped with the column cache.
    std::shared_ptr<const void> plan(const QString& key) const { return plans_.value(key); }
    void setPlan(const QString& key, std::shared_ptr<const void> plan);

private:
    void checkOpen() const;
    void finalizeAll();

    sqlite3* db_ = nullptr;
    QString file_;
    QByteArray key_;
    int level_ = 0;
    quint64 generation_ = 0;
    QHash<QString, sqlite3_stmt*> statements_;
    struct TableInfo {
        std::vector<ColumnSpec> list;
        QHash<QString, ColumnSpec> byName;
    };
    QHash<QString, TableInfo> tables_;
    // The table's columns as the file has them, cached; null for a table the file lacks.
    const TableInfo* tableInfo(const QString& table);
    QHash<QString, std::shared_ptr<const void>> plans_;
    std::vector<TableSpec> schema_;
};

// Keeps a transaction open for a block: rolled back on leaving the block unless
// commit() was called, so an error between begin and commit leaves nothing half-done.
class Transaction {
public:
    explicit Transaction(Connection& c);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();
    void rollback();

private:
    Connection& c_;
    bool open_ = false;
};

// Creates a new database file protected by `password` with the given tables,
// then runs `seed` (statements built in code, e.g. the first rows). Everything is
// made in a temporary file in the same folder and moved to `file` only when
// complete, so a half-made database never exists under that name. Fails with
// err::AlreadyExists when `file` exists.
void createDatabase(const QString& file, const QString& password, const std::vector<TableSpec>& tables,
                    const QStringList& seed = {});

// The CREATE TABLE / CREATE INDEX text of a table (identifiers quoted).
QStringList tableDefinition(const TableSpec& table);

} // namespace db
