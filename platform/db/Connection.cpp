#include "platform/db/Connection.h"

#include "core/gError.h"

#include <sqlite3.h>

namespace db {

QString dateToText(const QDate& d) {
    return d.isValid() ? d.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}
QDate textToDate(const QString& s) {
    return QDate::fromString(s, QStringLiteral("yyyy-MM-dd"));
}

Connection::~Connection() {
    close();
}
void Connection::open(const QString&, const QString&, bool) {
    gRaise(err::FileInUse, QStringLiteral("not yet"));
}
void Connection::close() {}
int Connection::execute(const QString&, const QVariantList&) {
    checkOpen();
    return 0;
}
void Connection::changePassword(const QString&, const QString&) {
    checkOpen();
}
long Connection::count(const QString&, const Filter&) {
    checkOpen();
    return 0;
}
int Connection::beginTrans() {
    checkOpen();
    return 0;
}
void Connection::commitTrans() {
    checkOpen();
}
void Connection::rollbackTrans() {
    checkOpen();
}
sqlite3_stmt* Connection::prepare(const QString&) {
    checkOpen();
    return nullptr;
}
void Connection::bind(sqlite3_stmt*, const QVariantList&) {}
void Connection::raise(int rc, const QString& context) const {
    gRaise(err::CommandFailed, context);
}
const QHash<QString, ColumnSpec>& Connection::columnsOf(const QString& table) {
    return tables_[table].byName;
}
const std::vector<ColumnSpec>& Connection::columnListOf(const QString& table) {
    return tables_[table].list;
}
void Connection::checkOpen() const {
    if (!db_) gRaise(err::Closed, QStringLiteral("连接已关闭。"));
}
void Connection::finalizeAll() {}

Transaction::Transaction(Connection& c) : c_(c) {
    c_.beginTrans();
    open_ = true;
}
Transaction::~Transaction() {
    if (open_) {
        try {
            c_.rollbackTrans();
        } catch (...) {
        }
    }
}
void Transaction::commit() {
    open_ = false;
    c_.commitTrans();
}
void Transaction::rollback() {
    open_ = false;
    c_.rollbackTrans();
}

void createDatabase(const QString&, const QString&, const std::vector<TableSpec>&, const QStringList&) {}
QStringList tableDefinition(const TableSpec&) {
    return {};
}

} // namespace db
