#include "platform/db/Connection.h"

#include "core/base/gError.h"
#include "platform/db/dbSql.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <cerrno>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace db {

using detail::quoteIdent;

namespace {

// The number and text a SQLite result code turns into.
int errorNumber(int rc) {
    switch (rc & 0xff) {
    case SQLITE_NOTADB:
        return err::WrongKey;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
    case SQLITE_FULL:
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_PROTOCOL:
        return err::FileInUse;
    case SQLITE_CORRUPT:
        return err::Damaged;
    case SQLITE_TOOBIG:
        return err::DataTooLong;
    case SQLITE_MISMATCH:
        return err::TypeMismatch;
    default:
        return err::CommandFailed;
    }
}

QString errorText(int rc, const char* sqliteMessage) {
    QString base;
    switch (rc & 0xff) {
    case SQLITE_NOTADB:
        base = QStringLiteral("不是有效的密码。");
        break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        base = QStringLiteral("文件已被另一个程序以独占方式打开。");
        break;
    case SQLITE_CANTOPEN:
        base = QStringLiteral("无法打开数据库文件。");
        break;
    case SQLITE_FULL:
        base = QStringLiteral("磁盘已满。");
        break;
    case SQLITE_IOERR:
        base = QStringLiteral("磁盘或文件读写错误。");
        break;
    case SQLITE_CORRUPT:
        base = QStringLiteral("数据库文件已损坏。");
        break;
    default:
        base = QStringLiteral("数据库操作失败。");
        break;
    }
    if (sqliteMessage && *sqliteMessage)
        base += QStringLiteral(" (") + QString::fromUtf8(sqliteMessage) + QLatin1Char(')');
    return base;
}

[[noreturn]] void raiseRc(sqlite3* db, int rc) {
    const char* msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    gRaise(errorNumber(rc), errorText(rc, msg));
}

// Runs statements that take no values and return nothing of interest.
void exec(sqlite3* db, const char* sql) {
    char* msg = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &msg);
    if (rc != SQLITE_OK) {
        const QString text = errorText(rc, msg ? msg : sqlite3_errmsg(db));
        sqlite3_free(msg);
        gRaise(errorNumber(rc), text);
    }
}

int cipherMajorVersion(sqlite3* db) {
    static int major = -1;
    if (major >= 0) return major;
    sqlite3_stmt* st = nullptr;
    major = 3;
    if (sqlite3_prepare_v2(db, "PRAGMA cipher_version", -1, &st, nullptr) == SQLITE_OK) {
        if (sqlite3_step(st) == SQLITE_ROW) {
            const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
            if (t) major = QByteArray(t).split('.').value(0).toInt();
        }
    }
    sqlite3_finalize(st);
    return major;
}

struct AlterPassword {
    bool matched = false;
    QString newPassword, oldPassword;
};

// "ALTER DATABASE PASSWORD [new] [old];" (NULL in place of a bracket: no password).
AlterPassword parseAlterPassword(const QString& sql) {
    static const QRegularExpression re(QStringLiteral("^\\s*ALTER\\s+DATABASE\\s+PASSWORD\\s*(?:\\[(.*?)\\]|("
                                                      "NULL))\\s*(?:\\[(.*)\\]|(NULL))\\s*;?\\s*$"),
                                       QRegularExpression::CaseInsensitiveOption |
                                           QRegularExpression::DotMatchesEverythingOption);
    AlterPassword a;
    const auto m = re.match(sql);
    if (!m.hasMatch()) return a;
    a.matched = true;
    a.newPassword = m.captured(1);
    a.oldPassword = m.captured(3);
    return a;
}

// Jet's "DELETE * FROM t" is SQLite's "DELETE FROM t".
QString translate(const QString& sql) {
    static const QRegularExpression del(QStringLiteral("^\\s*DELETE\\s+\\*\\s+FROM\\s+"),
                                        QRegularExpression::CaseInsensitiveOption);
    QString s = sql;
    const auto m = del.match(s);
    if (m.hasMatch()) s.replace(0, m.capturedLength(), QStringLiteral("DELETE FROM "));
    return s;
}

bool changesSchema(const QString& sql) {
    const QString head = sql.trimmed().left(8).toUpper();
    return head.startsWith(QLatin1String("CREATE")) || head.startsWith(QLatin1String("DROP")) ||
           head.startsWith(QLatin1String("ALTER"));
}

} // namespace

Connection::~Connection() {
    try {
        close();
    } catch (...) {
    }
}

void Connection::open(const QString& file, const QString& password, bool exclusive) {
    close();
    if (!QFileInfo(file).isFile())
        gRaise(err::FileInUse, QStringLiteral("找不到数据库文件 \"%1\"。").arg(file));
    // Every database of ours is encrypted, so an empty key is never the right one.
    if (password.isEmpty()) gRaise(err::WrongKey, QStringLiteral("不是有效的密码。"));
    sqlite3* db = nullptr;
    // The program uses a connection from one thread only: no locking per call.
    int rc = sqlite3_open_v2(QFile::encodeName(file).constData(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    try {
        if (rc != SQLITE_OK) raiseRc(db, rc);
        sqlite3_extended_result_codes(db, 0);
        const QByteArray key = password.toUtf8();
        rc = sqlite3_key(db, key.constData(), int(key.size()));
        if (rc != SQLITE_OK) raiseRc(db, rc);
        if (cipherMajorVersion(db) >= 4) exec(db, "PRAGMA cipher_compatibility = 3");
        if (exclusive) exec(db, "PRAGMA locking_mode = EXCLUSIVE");
        // SQLCipher finds out about a wrong key only when it first reads a page.
        exec(db, "SELECT count(*) FROM sqlite_master");
        exec(db, "PRAGMA synchronous = FULL");
        exec(db, "PRAGMA journal_mode = DELETE");
        // Takes the exclusive lock now; locking_mode keeps it until close.
        if (exclusive) exec(db, "BEGIN EXCLUSIVE; COMMIT;");
        db_ = db;
        file_ = file;
        key_ = key;
        level_ = 0;
        ++generation_;
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
}

void Connection::finalizeAll() {
    for (sqlite3_stmt* st : std::as_const(statements_))
        sqlite3_finalize(st);
    statements_.clear();
    tables_.clear();
    plans_.clear();
}

void Connection::setPlan(const QString& key, std::shared_ptr<const void> plan) {
    if (plans_.size() > 500) plans_.clear();
    plans_.insert(key, std::move(plan));
}

void Connection::close() {
    if (!db_) return;
    finalizeAll();
    if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close_v2(db_);
    db_ = nullptr;
    file_.clear();
    key_.fill('\0');
    key_.clear();
    level_ = 0;
    ++generation_;
}

qint64 Connection::changeCount() const {
    return db_ ? sqlite3_total_changes(db_) : 0;
}

void Connection::checkOpen() const {
    if (!db_) gRaise(err::Closed, QStringLiteral("对象关闭时，不允许操作。"));
}

sqlite3_stmt* Connection::prepare(const QString& sql) {
    checkOpen();
    auto it = statements_.constFind(sql);
    if (it != statements_.constEnd()) {
        sqlite3_reset(*it);
        sqlite3_clear_bindings(*it);
        return *it;
    }
    sqlite3_stmt* st = nullptr;
    const QByteArray text = sql.toUtf8();
    // The length includes the terminating NUL, so SQLite needs no copy of the text.
    const int rc = sqlite3_prepare_v2(db_, text.constData(), int(text.size()) + 1, &st, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(st);
        raise(rc);
    }
    if (!st) gRaise(err::CommandFailed, QStringLiteral("空的命令文本。"));
    if (statements_.size() > 200) {
        for (sqlite3_stmt* old : std::as_const(statements_))
            sqlite3_finalize(old);
        statements_.clear();
    }
    statements_.insert(sql, st);
    return st;
}

void Connection::bind(sqlite3_stmt* st, const QVariantList& params) {
    const int n = sqlite3_bind_parameter_count(st);
    if (params.size() != n)
        gRaise(err::WrongArguments,
               QStringLiteral("参数个数 %1 与命令需要的 %2 不符。").arg(params.size()).arg(n));
    for (int i = 0; i < n; ++i) {
        const QVariant& v = params[i];
        int rc = SQLITE_OK;
        if (!v.isValid() || v.isNull()) {
            rc = sqlite3_bind_null(st, i + 1);
        } else {
            switch (v.metaType().id()) {
            case QMetaType::Bool:
                rc = sqlite3_bind_int(st, i + 1, v.toBool() ? 1 : 0);
                break;
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
            case QMetaType::Short:
            case QMetaType::UShort:
            case QMetaType::Long:
            case QMetaType::ULong:
                rc = sqlite3_bind_int64(st, i + 1, v.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(st, i + 1, v.toDouble());
                break;
            case QMetaType::QDate: {
                const QDate d = v.toDate();
                if (!d.isValid()) {
                    rc = sqlite3_bind_null(st, i + 1);
                } else if (d.year() >= 0 && d.year() <= 9999) {
                    // The stored form, written straight into the statement.
                    const int y = d.year(), m = d.month(), day = d.day();
                    const char t[10] = {char('0' + y / 1000),
                                        char('0' + y / 100 % 10),
                                        char('0' + y / 10 % 10),
                                        char('0' + y % 10),
                                        '-',
                                        char('0' + m / 10),
                                        char('0' + m % 10),
                                        '-',
                                        char('0' + day / 10),
                                        char('0' + day % 10)};
                    rc = sqlite3_bind_text(st, i + 1, t, 10, SQLITE_TRANSIENT);
                } else {
                    const QByteArray t = dateToText(d).toUtf8();
                    rc = sqlite3_bind_text(st, i + 1, t.constData(), int(t.size()), SQLITE_TRANSIENT);
                }
                break;
            }
            case QMetaType::QByteArray: {
                const QByteArray b = v.toByteArray();
                rc = sqlite3_bind_blob(st, i + 1, b.constData(), int(b.size()), SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QByteArray t = v.toString().toUtf8();
                rc = sqlite3_bind_text(st, i + 1, t.constData(), int(t.size()), SQLITE_TRANSIENT);
                break;
            }
            }
        }
        if (rc != SQLITE_OK) raiseRc(sqlite3_db_handle(st), rc);
    }
}

void Connection::raise(int rc, const QString& context) const {
    QString text = errorText(rc, db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc));
    if (!context.isEmpty()) text = context + QLatin1Char(' ') + text;
    gRaise(errorNumber(rc), text);
}

int Connection::execute(const QString& sql, const QVariantList& params) {
    checkOpen();
    auto run = [&](sqlite3_stmt* st) {
        bind(st, params);
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        }
        sqlite3_reset(st);
        if (rc != SQLITE_DONE) raise(rc);
        return sqlite3_changes(db_);
    };
    // A statement run before is ready in the cache.
    auto cached = statements_.constFind(sql);
    if (cached != statements_.constEnd()) {
        sqlite3_reset(*cached);
        sqlite3_clear_bindings(*cached);
        return run(*cached);
    }
    const QString head = sql.trimmed().left(6).toUpper();
    if (head == QLatin1String("ALTER ")) {
        const AlterPassword alter = parseAlterPassword(sql);
        if (alter.matched) {
            changePassword(alter.newPassword, alter.oldPassword);
            return 0;
        }
    }
    const QString text = head.startsWith(QLatin1String("DELETE")) ? translate(sql) : sql;
    if (changesSchema(text)) {
        tables_.clear();
        plans_.clear();
    }
    if (text != sql) {
        auto again = statements_.constFind(text);
        if (again != statements_.constEnd()) {
            sqlite3_reset(*again);
            sqlite3_clear_bindings(*again);
            return run(*again);
        }
    }
    // One statement goes into the cache; a script runs statement by statement.
    const QByteArray utf8 = text.toUtf8();
    const char* tail = nullptr;
    sqlite3_stmt* st = nullptr;
    const int rc = sqlite3_prepare_v2(db_, utf8.constData(), int(utf8.size()) + 1, &st, &tail);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(st);
        raise(rc);
    }
    const QByteArray rest = tail ? QByteArray(tail).trimmed() : QByteArray();
    if (rest.isEmpty() || rest == ";") {
        if (!st) return 0; // only blanks or a comment
        if (statements_.size() > 200) {
            for (sqlite3_stmt* old : std::as_const(statements_))
                sqlite3_finalize(old);
            statements_.clear();
            plans_.clear();
        }
        statements_.insert(text, st);
        return run(st);
    }
    sqlite3_finalize(st);
    if (!params.isEmpty()) gRaise(err::WrongArguments, QStringLiteral("多条语句不能带参数。"));
    const int before = sqlite3_total_changes(db_);
    exec(db_, utf8.constData());
    return sqlite3_total_changes(db_) - before;
}

void Connection::changePassword(const QString& newPassword, const QString& oldPassword) {
    checkOpen();
    if (oldPassword.toUtf8() != key_) gRaise(err::WrongKey, QStringLiteral("不是有效的密码。"));
    if (newPassword.isEmpty()) gRaise(err::WrongArguments, QStringLiteral("数据库密码不能为空。"));
    if (level_ > 0 || !sqlite3_get_autocommit(db_))
        gRaise(err::CommandFailed, QStringLiteral("事务进行中，不能更改数据库密码。"));
    const QByteArray key = newPassword.toUtf8();
    // Statements hold pages read with the old key.
    finalizeAll();
    const int rc = sqlite3_rekey(db_, key.constData(), int(key.size()));
    if (rc != SQLITE_OK) raise(rc);
    key_ = key;
}

long Connection::count(const QString& table, const Filter& filter) {
    checkOpen();
    const auto& cols = columnsOf(table);
    QVariantList params;
    const QString where = detail::whereClause(
        filter,
        [&](const QString& f) {
            auto it = cols.constFind(f.toLower());
            if (it == cols.constEnd())
                gRaise(err::ItemNotFound,
                       QStringLiteral("在对应所需名称或序数的集合中，未找到项目 %1。").arg(f));
            return *it;
        },
        params);
    sqlite3_stmt* st = prepare(QStringLiteral("SELECT count(*) FROM ") + quoteIdent(table) + where);
    bind(st, params);
    const int rc = sqlite3_step(st);
    if (rc != SQLITE_ROW) {
        sqlite3_reset(st);
        raise(rc);
    }
    const long n = long(sqlite3_column_int64(st, 0));
    sqlite3_reset(st);
    return n;
}

int Connection::beginTrans() {
    checkOpen();
    if (level_ > 0 && sqlite3_get_autocommit(db_)) level_ = 0; // SQLite ended it after an error
    if (level_ == 0) {
        exec(db_, "BEGIN");
    } else {
        exec(db_, QStringLiteral("SAVEPOINT lv%1").arg(level_ + 1).toUtf8().constData());
    }
    return ++level_;
}

void Connection::commitTrans() {
    checkOpen();
    if (level_ == 0) gRaise(err::NoTransaction, QStringLiteral("没有活动的事务。"));
    if (sqlite3_get_autocommit(db_)) {
        // The transaction was rolled back by SQLite itself (disk full, I/O error).
        level_ = 0;
        gRaise(err::FileInUse, QStringLiteral("事务已被撤消，更改没有保存。"));
    }
    if (level_ == 1) {
        char* msg = nullptr;
        const int rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, &msg);
        if (rc != SQLITE_OK) {
            const QString text = errorText(rc, msg ? msg : sqlite3_errmsg(db_));
            sqlite3_free(msg);
            // Never leave a failed commit hanging open: it is undone and reported.
            if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
            level_ = 0;
            gRaise(errorNumber(rc), text);
        }
    } else {
        exec(db_, QStringLiteral("RELEASE lv%1").arg(level_).toUtf8().constData());
    }
    --level_;
}

void Connection::rollbackTrans() {
    checkOpen();
    if (level_ == 0) gRaise(err::NoTransaction, QStringLiteral("没有活动的事务。"));
    if (sqlite3_get_autocommit(db_)) {
        level_ = 0;
        return;
    }
    if (level_ == 1) {
        exec(db_, "ROLLBACK");
    } else {
        const QByteArray lv = QByteArray::number(level_);
        exec(db_, ("ROLLBACK TO lv" + lv + "; RELEASE lv" + lv).constData());
    }
    --level_;
}

const QHash<QString, ColumnSpec>& Connection::columnsOf(const QString& table) {
    columnListOf(table);
    return tables_[table.toLower()].byName;
}

const std::vector<ColumnSpec>& Connection::columnListOf(const QString& table) {
    checkOpen();
    const TableInfo* info = tableInfo(table);
    if (!info) gRaise(err::CommandFailed, QStringLiteral("找不到表 \"%1\"。").arg(table));
    return info->list;
}

const Connection::TableInfo* Connection::tableInfo(const QString& table) {
    const QString key = table.toLower();
    auto it = tables_.find(key);
    if (it != tables_.end()) return &*it;
    TableInfo info;
    sqlite3_stmt* st = prepare(QStringLiteral("PRAGMA table_info(") + quoteIdent(table) + QLatin1Char(')'));
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        const QString name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
        const QString decl = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 2)));
        const ColumnSpec* known = schemaColumn(table, name);
        ColumnSpec c = known ? *known : detail::columnFromDecl(name, decl);
        c.name = name;
        info.list.push_back(c);
        info.byName.insert(name.toLower(), c);
    }
    sqlite3_reset(st);
    if (rc != SQLITE_DONE) raise(rc);
    if (info.list.empty()) return nullptr;
    return &*tables_.insert(key, std::move(info));
}

void Connection::setSchema(std::vector<TableSpec> tables) {
    schema_ = std::move(tables);
    tables_.clear();
    plans_.clear();
}

const ColumnSpec* Connection::schemaColumn(const QString& table, const QString& column) const {
    for (const TableSpec& t : schema_) {
        if (t.name.compare(table, Qt::CaseInsensitive) != 0) continue;
        for (const ColumnSpec& c : t.columns)
            if (c.name.compare(column, Qt::CaseInsensitive) == 0) return &c;
        return nullptr;
    }
    return nullptr;
}

void Connection::checkSchema() {
    checkOpen();
    for (const TableSpec& t : schema_) {
        const TableInfo* present = tableInfo(t.name);
        if (!present) gRaise(err::SchemaMismatch, QStringLiteral("数据库中没有表 \"%1\"。").arg(t.name));
        for (const ColumnSpec& c : t.columns)
            if (!present->byName.contains(c.name.toLower()))
                gRaise(err::SchemaMismatch,
                       QStringLiteral("数据库的表 \"%1\" 中没有字段 \"%2\"。").arg(t.name, c.name));
    }
}

Transaction::Transaction(Connection& c) : c_(c) {
    c_.beginTrans();
    open_ = true;
}

Transaction::~Transaction() {
    if (!open_) return;
    try {
        c_.rollbackTrans();
    } catch (...) {
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

QStringList tableDefinition(const TableSpec& table) {
    QStringList cols;
    for (const ColumnSpec& c : table.columns) {
        const QString decl = detail::declOf(c);
        cols << quoteIdent(c.name) + (decl.isEmpty() ? QString() : QLatin1Char(' ') + decl);
    }
    QStringList out;
    out << QStringLiteral("CREATE TABLE ") + quoteIdent(table.name) + QStringLiteral(" (") +
               cols.join(QStringLiteral(", ")) + QLatin1Char(')');
    for (const IndexSpec& ix : table.indexes)
        out << QStringLiteral("CREATE ") + (ix.unique ? QStringLiteral("UNIQUE ") : QString()) +
                   QStringLiteral("INDEX ") + quoteIdent(ix.name) + QStringLiteral(" ON ") +
                   quoteIdent(table.name) + QStringLiteral(" (") + quoteIdent(ix.column) + QLatin1Char(')');
    return out;
}

namespace {

void syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void removeQuietly(const QString& path) {
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

} // namespace

void createDatabase(const QString& file, const QString& password, const std::vector<TableSpec>& tables,
                    const QStringList& seed) {
    const QFileInfo target(file);
    if (target.exists() || target.isSymLink())
        gRaise(err::AlreadyExists, QStringLiteral("数据库 \"%1\" 已存在。").arg(file));
    const QString folder = target.absolutePath();
    QString temp;
    {
        QTemporaryFile t(folder + QLatin1Char('/') + target.fileName() + QStringLiteral(".XXXXXX.new"));
        t.setAutoRemove(false);
        if (!t.open()) gRaise(err::FileInUse, QStringLiteral("无法在 \"%1\" 中创建文件。").arg(folder));
        temp = t.fileName();
    }
    try {
        {
            Connection c;
            c.open(temp, password, true);
            Transaction tr(c);
            for (const TableSpec& t : tables)
                for (const QString& stmt : tableDefinition(t))
                    c.execute(stmt);
            for (const QString& stmt : seed)
                c.execute(stmt);
            tr.commit();
            c.close();
        }
        // A hard link puts the file in place only when the name is still free.
        const QByteArray from = QFile::encodeName(temp), to = QFile::encodeName(target.absoluteFilePath());
        if (::link(from.constData(), to.constData()) != 0) {
            const int e = errno;
            if (e == EEXIST) gRaise(err::AlreadyExists, QStringLiteral("数据库 \"%1\" 已存在。").arg(file));
            // Folders without hard links: rename, after a last check of the name.
            if (QFileInfo::exists(file))
                gRaise(err::AlreadyExists, QStringLiteral("数据库 \"%1\" 已存在。").arg(file));
            if (::rename(from.constData(), to.constData()) != 0)
                gRaise(err::FileInUse, QStringLiteral("无法创建数据库 \"%1\"。").arg(file));
        } else {
            ::unlink(from.constData());
        }
        syncFolder(folder);
    } catch (...) {
        removeQuietly(temp);
        throw;
    }
    removeQuietly(temp);
}

} // namespace db
