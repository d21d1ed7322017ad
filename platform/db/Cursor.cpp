#include "platform/db/Cursor.h"

#include "core/base/gError.h"
#include "platform/db/Connection.h"
#include "platform/db/dbTypes.h"

#include <sqlite3.h>

namespace db {

Cursor::Cursor(Connection& connection, const QString& sql, const QVariantList& params) {
    if (!connection.isOpen()) gRaise(err::Closed, QStringLiteral("连接已关闭。"));
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* st = nullptr;
    const int rc =
        sqlite3_prepare_v2(connection.handle(), text.constData(), int(text.size()) + 1, &st, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(st);
        connection.raise(rc);
    }
    if (!st) gRaise(err::CommandFailed, QStringLiteral("空的命令文本。"));
    try {
        Connection::bind(st, params);
    } catch (...) {
        sqlite3_finalize(st);
        throw;
    }
    connection_ = &connection;
    generation_ = connection.generation();
    st_ = st;
}

Cursor::~Cursor() {
    close();
}

void Cursor::close() {
    // Also after the connection closed: it stays a zombie until its last statement goes.
    if (st_) sqlite3_finalize(st_);
    st_ = nullptr;
}

bool Cursor::next() {
    if (!st_) return false;
    if (!connection_->isOpen() || connection_->generation() != generation_) {
        close();
        gRaise(err::Closed, QStringLiteral("连接已关闭。"));
    }
    const int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW) return true;
    if (rc != SQLITE_DONE) {
        // The message is read before the statement goes.
        try {
            connection_->raise(rc);
        } catch (...) {
            close();
            throw;
        }
    }
    close();
    return false;
}

bool Cursor::isNull(int column) const {
    return sqlite3_column_type(st_, column) == SQLITE_NULL;
}

qint64 Cursor::int64(int column) const {
    return sqlite3_column_int64(st_, column);
}

QByteArrayView Cursor::utf8(int column) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st_, column));
    return QByteArrayView(p, p ? sqlite3_column_bytes(st_, column) : 0);
}

QDate Cursor::date(int column) const {
    const QByteArrayView t = utf8(column);
    return textToDate(t.data(), int(t.size()));
}

} // namespace db
