#include "platform/db/Recordset.h"

#include "core/base/gError.h"
#include "platform/db/Command.h"
#include "platform/db/Connection.h"
#include "platform/db/dbSql.h"

#include <QRegularExpression>

#include <algorithm>
#include <limits>
#include <sqlite3.h>

namespace db {

using detail::quoteIdent;

namespace {

// Rows read with their long texts at open; past this, long texts of the
// remaining rows are read when first asked for, so a large open stays small.
constexpr int kEagerLongRows = 2000;

enum class RowState : quint8 { Clean, Modified, Added, Deleted, Gone };

struct Row {
    qint64 rowid = 0;           // 0: not in the table (yet)
    qint64 seq = 0;             // table order
    qsizetype base = 0;         // the row's first field in Impl::cells
    QVector<QVariant> original; // values before the pending change (Modified)
    quint64 dirty = 0;          // bit i: column i changed (tables have at most 64 columns)
    RowState state = RowState::Clean;
    bool longLoaded = true;
};

[[noreturn]] void notFound(const QString& name) {
    gRaise(err::ItemNotFound, QStringLiteral("在对应所需名称或序数的集合中，未找到项目 %1。").arg(name));
}

struct ParsedSource {
    enum Kind { Table, Query, Statement } kind = Statement;
    QString table;
    QStringList columns; // empty: every column
    QString text;        // the statement as given (Query, Statement)
};

QString unquote(QString s) {
    s = s.trimmed();
    if (s.size() >= 2 && ((s.front() == QLatin1Char('[') && s.back() == QLatin1Char(']')) ||
                          (s.front() == QLatin1Char('"') && s.back() == QLatin1Char('"')) ||
                          (s.front() == QLatin1Char('`') && s.back() == QLatin1Char('`'))))
        s = s.mid(1, s.size() - 2);
    return s;
}

ParsedSource parseSource(const QString& source) {
    static const QString ident =
        QStringLiteral("(?:[A-Za-z_][A-Za-z0-9_]*|\\[[^\\]]+\\]|\"[^\"]+\"|`[^`]+`)");
    static const QRegularExpression select(
        QStringLiteral("^\\s*SELECT\\s+(\\*|%1(?:\\s*,\\s*%1)*)\\s+FROM\\s+(%1)\\s*;?\\s*$").arg(ident),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression rows(QStringLiteral("^\\s*(SELECT|WITH|PRAGMA|VALUES)\\b"),
                                         QRegularExpression::CaseInsensitiveOption);
    ParsedSource p;
    p.text = source;
    const auto m = select.match(source);
    if (m.hasMatch()) {
        p.kind = ParsedSource::Table;
        p.table = unquote(m.captured(2));
        if (m.captured(1).trimmed() != QLatin1String("*"))
            for (const QString& c : m.captured(1).split(QLatin1Char(',')))
                p.columns << unquote(c);
        return p;
    }
    p.kind = rows.match(source).hasMatch() ? ParsedSource::Query : ParsedSource::Statement;
    return p;
}

// What an open of one table with one shape of filter and sort needs, built once.
struct TablePlan {
    QString table;
    std::vector<ColumnSpec> cols;
    std::vector<int> longCols;        // indexes into cols of columns read lazily
    std::vector<ColumnSpec> condCols; // the column of each condition
    QString sqlAll;                   // ordered by the sort, then table order
    QString sqlUnordered;             // no ORDER BY, for opens without a sort
};

const ParsedSource& parseCached(const QString& source) {
    static QHash<QString, ParsedSource> cache;
    auto it = cache.constFind(source);
    if (it != cache.constEnd()) return *it;
    if (cache.size() > 500) cache.clear();
    return *cache.insert(source, parseSource(source));
}

QString planKey(const QString& source, const Filter& filter, const Sort& sort) {
    QString key;
    key.reserve(source.size() + 32);
    key += source;
    key += QChar(0x1f);
    for (const Condition& c : filter.conditions()) {
        key += c.field;
        key += QChar(0x1e);
        key += QChar(u'a' + int(c.op));
        key += (!c.value.isValid() || c.value.isNull()) ? QChar(u'n') : QChar(u'v');
    }
    key += QChar(0x1f);
    for (const SortKey& k : sort.keys()) {
        key += k.field;
        key += k.ascending ? QChar(u'+') : QChar(u'-');
    }
    return key;
}

// The plans of the last few opens, recognised by comparing the source and the
// shape of filter and sort directly: cheaper than building and hashing the plan
// key, and pages repeat the same few opens (a day's entries, the month's marks).
// A plan the connection dropped (schema change, close) has expired here too.
struct PlanMemo {
    const Connection* conn = nullptr;
    quint64 generation = 0;
    QString source;
    std::vector<std::pair<QString, int>> conds; // field, op * 2 + (value is null)
    std::vector<std::pair<QString, bool>> keys;
    std::weak_ptr<const void> plan;
};

int condShape(const Condition& c) {
    return int(c.op) * 2 + ((!c.value.isValid() || c.value.isNull()) ? 1 : 0);
}

bool sameShape(const PlanMemo& m, const Connection& conn, const QString& source, const Filter& filter,
               const Sort& sort) {
    if (m.conn != &conn || m.generation != conn.generation() || m.source != source) return false;
    const auto& cs = filter.conditions();
    if (cs.size() != m.conds.size() || sort.keys().size() != m.keys.size()) return false;
    for (size_t i = 0; i < cs.size(); ++i)
        if (m.conds[i].second != condShape(cs[i]) || m.conds[i].first != cs[i].field) return false;
    for (size_t i = 0; i < m.keys.size(); ++i)
        if (m.keys[i].second != sort.keys()[i].ascending || m.keys[i].first != sort.keys()[i].field)
            return false;
    return true;
}

constexpr int kPlanMemos = 4;
thread_local PlanMemo planMemos[kPlanMemos];
thread_local int nextPlanMemo = 0;

std::shared_ptr<const void> recalledPlan(const Connection& conn, const QString& source, const Filter& filter,
                                         const Sort& sort) {
    for (const PlanMemo& m : planMemos)
        if (sameShape(m, conn, source, filter, sort)) return m.plan.lock();
    return {};
}

void rememberPlan(const Connection& conn, const QString& source, const Filter& filter, const Sort& sort,
                  const std::shared_ptr<const void>& plan) {
    PlanMemo& m = planMemos[nextPlanMemo];
    nextPlanMemo = (nextPlanMemo + 1) % kPlanMemos;
    m.conn = &conn;
    m.generation = conn.generation();
    m.source = source;
    m.conds.clear();
    for (const Condition& c : filter.conditions())
        m.conds.push_back({c.field, condShape(c)});
    m.keys.clear();
    for (const SortKey& k : sort.keys())
        m.keys.push_back({k.field, k.ascending});
    m.plan = plan;
}

std::shared_ptr<const TablePlan> buildTablePlan(Connection& connection, const QString& key,
                                                const ParsedSource& p, const Filter& filter,
                                                const Sort& sort) {
    auto plan = std::make_shared<TablePlan>();
    plan->table = p.table;
    const auto& all = connection.columnListOf(p.table);
    if (p.columns.isEmpty()) {
        plan->cols = all;
    } else {
        const auto& byName = connection.columnsOf(p.table);
        for (const QString& c : p.columns) {
            auto it = byName.constFind(c.toLower());
            if (it == byName.constEnd()) notFound(c);
            plan->cols.push_back(*it);
        }
    }
    if (plan->cols.size() > 64) gRaise(err::WrongArguments, QStringLiteral("记录集最多支持 64 个字段。"));
    const detail::Resolver resolve = [&](const QString& f) {
        for (const ColumnSpec& c : plan->cols)
            if (c.name.compare(f, Qt::CaseInsensitive) == 0) return c;
        notFound(f);
    };
    for (const Condition& c : filter.conditions())
        plan->condCols.push_back(resolve(c.field));
    QVariantList unused;
    const QString where = detail::whereClause(filter, resolve, unused);
    QString order = detail::orderKeys(sort, resolve);
    order = QStringLiteral(" ORDER BY ") + (order.isEmpty() ? QString() : order + QStringLiteral(", ")) +
            QStringLiteral("rowid");
    QString allList;
    for (size_t i = 0; i < plan->cols.size(); ++i) {
        allList += QStringLiteral(", ") + quoteIdent(plan->cols[i].name);
        if (plan->cols[i].type == ColumnType::LongText) plan->longCols.push_back(int(i));
    }
    const QString from = QStringLiteral(" FROM ") + quoteIdent(p.table) + where + order;
    plan->sqlUnordered =
        QStringLiteral("SELECT rowid") + allList + QStringLiteral(" FROM ") + quoteIdent(p.table) + where;
    plan->sqlAll = QStringLiteral("SELECT rowid") + allList + from;
    connection.setPlan(key, plan);
    return plan;
}

} // namespace

struct Recordset::Impl {
    // Settings that a close puts back.
    Filter filter;
    Sort sort;
    long eagerRows = kEagerLongRows; // rows read with their long texts at open

    bool open = false;
    bool filterSet = false, sortSet = false; // set since the last open
    Connection* conn = nullptr;
    quint64 generation = 0;
    LockType lock = LockType::ReadOnly;
    QString table; // empty: the rows cannot be edited
    std::vector<ColumnSpec> cols;
    std::vector<int> longCols; // indexes into cols of columns read lazily
    std::vector<Row> rows;
    std::vector<QVariant> cells; // every row's fields, row after row
    std::vector<int> view;       // indexes into rows, in cursor order
    long pos = 0;                // index into view; -1 bof, view.size() eof
    bool onDeleted = false;
    bool sortedBySeq = true; // rows are in table order (nothing to sort without keys)
    // Rows by value of one Date, Integer or Boolean column, for repeated "field = value"
    // filters after open (the month view asks for 42 days in a row). Dropped on any change.
    int indexedCol = -1;
    std::vector<std::pair<qint64, int>> eqIndex; // (value, row index), sorted
    qint64 nextSeq = 0;

    // ---- helpers ----
    // Back to a fresh state, keeping the row buffers of a small result for the
    // next use and the cache size, which belongs to the recordset, not one open.
    void reset() {
        std::vector<Row> r = std::move(rows);
        std::vector<QVariant> c = std::move(cells);
        std::vector<int> v = std::move(view);
        const long keepEager = eagerRows;
        *this = Impl();
        eagerRows = keepEager;
        if (r.capacity() <= 1024 && c.capacity() <= 16384) {
            r.clear();
            c.clear();
            v.clear();
            rows = std::move(r);
            cells = std::move(c);
            view = std::move(v);
        }
    }
    void checkOpen() const {
        if (!open) gRaise(err::Closed, QStringLiteral("对象关闭时，不允许操作。"));
    }
    Connection& connection() const {
        if (!conn || !conn->isOpen() || conn->generation() != generation)
            gRaise(err::Closed, QStringLiteral("连接已关闭。"));
        return *conn;
    }
    int columnIndex(const QString& name) const {
        // Call sites nearly always spell the name as the table does: try that first,
        // it costs a length check and a memcmp instead of a case fold.
        for (size_t i = 0; i < cols.size(); ++i)
            if (cols[i].name == name) return int(i);
        for (size_t i = 0; i < cols.size(); ++i)
            if (cols[i].name.compare(name, Qt::CaseInsensitive) == 0) return int(i);
        return -1;
    }
    int requireColumn(const QString& name) const {
        const int i = columnIndex(name);
        if (i < 0) notFound(name);
        return i;
    }
    bool hasCurrent() const { return !onDeleted && pos >= 0 && pos < long(view.size()); }
    Row& current() {
        checkOpen();
        if (onDeleted) gRaise(err::RowDeleted, QStringLiteral("行句柄引用了一个已删除的行。"));
        if (!hasCurrent())
            gRaise(err::BofOrEof, QStringLiteral("BOF 或 EOF 中有一个是“真”，或者当前记录已被删除。"));
        return rows[view[pos]];
    }
    void checkWritable() const {
        checkOpen();
        if (lock == LockType::ReadOnly || table.isEmpty())
            gRaise(err::ReadOnly, QStringLiteral("当前记录集不支持更新。"));
    }
    bool immediate() const { return lock == LockType::Optimistic || lock == LockType::Pessimistic; }

    void ensureLong(Row& r) {
        if (r.longLoaded) return;
        if (r.rowid == 0) {
            r.longLoaded = true;
            return;
        }
        QString list;
        for (int c : longCols) {
            if (!list.isEmpty()) list += QStringLiteral(", ");
            list += quoteIdent(cols[c].name);
        }
        Connection& c = connection();
        sqlite3_stmt* st = c.prepare(QStringLiteral("SELECT ") + list + QStringLiteral(" FROM ") +
                                     quoteIdent(table) + QStringLiteral(" WHERE rowid = ?"));
        sqlite3_bind_int64(st, 1, r.rowid);
        const int rc = sqlite3_step(st);
        if (rc == SQLITE_ROW) {
            for (size_t k = 0; k < longCols.size(); ++k)
                cells[r.base + longCols[k]] = readValue(st, int(k), cols[longCols[k]]);
            sqlite3_reset(st);
            r.longLoaded = true;
            return;
        }
        sqlite3_reset(st);
        if (rc != SQLITE_DONE) c.raise(rc);
        gRaise(err::RowDeleted, QStringLiteral("行句柄引用了一个已删除的行。"));
    }

    static QVariant readValue(sqlite3_stmt* st, int i, const ColumnSpec& c) {
        const int t = sqlite3_column_type(st, i);
        if (t == SQLITE_NULL) return c.type == ColumnType::Boolean ? QVariant(false) : QVariant();
        switch (c.type) {
        case ColumnType::Date: {
            const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
            const QDate d = textToDate(p, sqlite3_column_bytes(st, i));
            return d.isValid() ? QVariant(d) : QVariant();
        }
        case ColumnType::Integer:
            return int(sqlite3_column_int64(st, i));
        case ColumnType::Boolean:
            return sqlite3_column_int64(st, i) != 0;
        case ColumnType::Text:
        case ColumnType::LongText: {
            const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
            return QString::fromUtf8(p, sqlite3_column_bytes(st, i));
        }
        case ColumnType::Other:
            break;
        }
        switch (t) {
        case SQLITE_INTEGER:
            return qlonglong(sqlite3_column_int64(st, i));
        case SQLITE_FLOAT:
            return sqlite3_column_double(st, i);
        case SQLITE_BLOB:
            return QByteArray(static_cast<const char*>(sqlite3_column_blob(st, i)),
                              sqlite3_column_bytes(st, i));
        default:
            return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                                     sqlite3_column_bytes(st, i));
        }
    }

    QVariant& valueOf(Row& r, int c) {
        if (cols[c].type == ColumnType::LongText) ensureLong(r);
        return cells[r.base + c];
    }

    static bool indexable(ColumnType t) {
        return t == ColumnType::Date || t == ColumnType::Integer || t == ColumnType::Boolean;
    }
    static qint64 indexKey(const QVariant& v) {
        if (v.metaType().id() == QMetaType::QDate) return v.toDate().toJulianDay();
        return v.toLongLong();
    }
    void dropIndex() {
        indexedCol = -1;
        eqIndex.clear();
    }
    // The index key of a condition value that already has the column's own type,
    // without going through coerce (the month view filters 42 days in a row).
    static bool directKey(ColumnType t, const QVariant& v, qint64& key) {
        const int id = v.metaType().id();
        if (t == ColumnType::Date && id == QMetaType::QDate) {
            const QDate d = *static_cast<const QDate*>(v.constData());
            if (!d.isValid()) return false;
            key = d.toJulianDay();
            return true;
        }
        if (t == ColumnType::Integer && id == QMetaType::Int) {
            key = *static_cast<const int*>(v.constData());
            return true;
        }
        if (t == ColumnType::Boolean && id == QMetaType::Bool) {
            key = *static_cast<const bool*>(v.constData()) ? 1 : 0;
            return true;
        }
        return false;
    }
    // One "field = value" condition on an indexable column: the view from the index.
    void viewFromIndex(int col, qint64 key) {
        if (indexedCol != col) {
            eqIndex.clear();
            eqIndex.reserve(rows.size());
            const bool dates = cols[col].type == ColumnType::Date;
            for (size_t i = 0; i < rows.size(); ++i) {
                const QVariant& v = cells[rows[i].base + col];
                if (dates && v.metaType().id() == QMetaType::QDate) // stored dates are valid or null
                    eqIndex.push_back({static_cast<const QDate*>(v.constData())->toJulianDay(), int(i)});
                else if (v.isValid() && !v.isNull())
                    eqIndex.push_back({indexKey(v), int(i)});
            }
            // Rows come in table order, which for dates is mostly date order already.
            if (!std::is_sorted(eqIndex.begin(), eqIndex.end())) std::sort(eqIndex.begin(), eqIndex.end());
            indexedCol = col;
        }
        view.clear();
        auto it = std::lower_bound(eqIndex.begin(), eqIndex.end(), std::pair<qint64, int>(key, -1));
        for (; it != eqIndex.end() && it->first == key; ++it)
            if (rows[it->second].state != RowState::Deleted && rows[it->second].state != RowState::Gone)
                view.push_back(it->second);
    }

    // Applies the in-memory filter and sort to every live row; the cursor goes to the first.
    void rebuildView() {
        pos = 0;
        onDeleted = false;
        if (filter.conditions().size() == 1 && filter.conditions()[0].op == Op::Eq) {
            const Condition& c = filter.conditions()[0];
            const int col = requireColumn(c.field);
            qint64 key = 0;
            bool keyed = directKey(cols[col].type, c.value, key);
            if (!keyed && indexable(cols[col].type)) {
                const QVariant v = detail::coerce(cols[col], c.value);
                if (v.isValid()) {
                    key = indexKey(v);
                    keyed = true;
                }
            }
            if (keyed) {
                viewFromIndex(col, key);
                sortView();
                return;
            }
        }
        view.clear();
        view.reserve(rows.size());
        struct Cond {
            int col;
            Op op;
            QVariant value;
        };
        std::vector<Cond> conds;
        for (const Condition& c : filter.conditions()) {
            const int col = requireColumn(c.field);
            conds.push_back({col, c.op, detail::coerce(cols[col], c.value)});
        }
        for (size_t i = 0; i < rows.size(); ++i) {
            Row& r = rows[i];
            if (r.state == RowState::Deleted || r.state == RowState::Gone) continue;
            bool pass = true;
            for (const Cond& c : conds) {
                if (!detail::evaluate(valueOf(r, c.col), c.op, c.value)) {
                    pass = false;
                    break;
                }
            }
            if (pass) view.push_back(int(i));
        }
        sortView();
        pos = 0;
        onDeleted = false;
    }

    void sortView() {
        if (sort.isEmpty() && sortedBySeq) {
            // Rows are in table order, so the view is too once it follows the rows.
            if (!std::is_sorted(view.begin(), view.end())) std::sort(view.begin(), view.end());
            return;
        }
        std::vector<std::pair<int, bool>> keys;
        for (const SortKey& k : sort.keys())
            keys.push_back({requireColumn(k.field), k.ascending});
        for (const auto& k : keys)
            if (cols[k.first].type == ColumnType::LongText)
                for (int i : view)
                    ensureLong(rows[i]);
        std::stable_sort(view.begin(), view.end(), [&](int a, int b) {
            const Row& x = rows[a];
            const Row& y = rows[b];
            for (const auto& k : keys) {
                const int r = detail::compareValues(cells[x.base + k.first], cells[y.base + k.first]);
                if (r != 0) return k.second ? r < 0 : r > 0;
            }
            return x.seq < y.seq;
        });
    }

    // Writes one row's pending change now (inside whatever transaction is open).
    // Returns the new rowid for an added row (the row itself is updated by the caller).
    qint64 writeRow(Row& r) {
        Connection& c = connection();
        const QString t = quoteIdent(table);
        switch (r.state) {
        case RowState::Clean:
        case RowState::Gone:
            return r.rowid;
        case RowState::Added: {
            QStringList names, marks;
            QVariantList params;
            for (size_t i = 0; i < cols.size(); ++i) {
                if (!(r.dirty >> i & 1)) continue;
                names << quoteIdent(cols[i].name);
                marks << QStringLiteral("?");
                params << cells[r.base + i];
            }
            const QString sql = names.isEmpty()
                                    ? QStringLiteral("INSERT INTO ") + t + QStringLiteral(" DEFAULT VALUES")
                                    : QStringLiteral("INSERT INTO ") + t + QStringLiteral(" (") +
                                          names.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
                                          marks.join(QStringLiteral(", ")) + QLatin1Char(')');
            c.execute(sql, params);
            return sqlite3_last_insert_rowid(c.handle());
        }
        case RowState::Modified: {
            QStringList sets;
            QVariantList params;
            for (size_t i = 0; i < cols.size(); ++i) {
                if (!(r.dirty >> i & 1)) continue;
                sets << quoteIdent(cols[i].name) + QStringLiteral(" = ?");
                params << cells[r.base + i];
            }
            if (sets.isEmpty()) return r.rowid;
            params << r.rowid;
            if (c.execute(QStringLiteral("UPDATE ") + t + QStringLiteral(" SET ") +
                              sets.join(QStringLiteral(", ")) + QStringLiteral(" WHERE rowid = ?"),
                          params) == 0)
                gRaise(err::RowDeleted, QStringLiteral("要更新的行已不在表中。"));
            return r.rowid;
        }
        case RowState::Deleted:
            if (r.rowid != 0 &&
                c.execute(QStringLiteral("DELETE FROM ") + t + QStringLiteral(" WHERE rowid = ?"),
                          {r.rowid}) == 0)
                gRaise(err::RowDeleted, QStringLiteral("要删除的行已不在表中。"));
            return r.rowid;
        }
        return r.rowid;
    }

    void markWritten(Row& r, qint64 rowid) {
        if (r.state == RowState::Deleted) {
            r.state = RowState::Gone;
        } else if (r.state != RowState::Gone) {
            r.rowid = rowid;
            r.state = RowState::Clean;
        }
        r.original.clear();
        r.dirty = 0;
    }

    // Immediate locks: the row the cursor leaves is written first.
    void flushCurrent() {
        if (!open || !immediate() || !hasCurrent()) return;
        Row& r = rows[view[pos]];
        if (r.state == RowState::Added || r.state == RowState::Modified) markWritten(r, writeRow(r));
    }

    void moveTo(long target) {
        checkOpen();
        flushCurrent();
        onDeleted = false;
        const long n = long(view.size());
        pos = std::clamp(target, -1L, n);
    }
};

Recordset::Recordset() : d_(std::make_unique<Impl>()) {}
Recordset::~Recordset() = default;

void Recordset::setCursorLocation(CursorLocation) {
    // Every use starts by choosing the location: a recordset still open from an
    // earlier use is released here, so nothing of that use carries over.
    if (d_->open) d_->reset();
}

void Recordset::setFilter(Filter f) {
    d_->filterSet = true;
    if (!d_->open) {
        d_->filter = std::move(f);
        return;
    }
    d_->flushCurrent();
    Filter before = std::move(d_->filter);
    d_->filter = std::move(f);
    try {
        d_->rebuildView();
    } catch (...) {
        d_->filter = std::move(before);
        d_->rebuildView();
        throw;
    }
}

void Recordset::setSort(const Sort& s) {
    d_->sortSet = true;
    if (!d_->open) {
        d_->sort = s;
        return;
    }
    d_->flushCurrent();
    const Sort before = d_->sort;
    d_->sort = s;
    try {
        d_->sortView();
    } catch (...) {
        d_->sort = before;
        d_->sortView();
        throw;
    }
    d_->pos = 0;
    d_->onDeleted = false;
}

void Recordset::setCacheSize(long rows) {
    d_->eagerRows = std::max(rows, 1L);
}

const Filter& Recordset::filter() const {
    return d_->filter;
}
const Sort& Recordset::sort() const {
    return d_->sort;
}

void Recordset::open(const Command& source, CursorType cursor, LockType lock) {
    if (!source.activeConnection()) gRaise(err::Closed, QStringLiteral("命令没有活动连接。"));
    open(source.commandText(), *source.activeConnection(), cursor, lock);
}

void Recordset::open(const QString& source, Connection& connection, CursorType, LockType lock) {
    // A recordset left open by an earlier error is released, not an obstacle;
    // only a filter or sort set since that open carries over.
    if (d_->open) {
        const Filter f = d_->filterSet ? d_->filter : Filter();
        const Sort s = d_->sortSet ? d_->sort : Sort();
        d_->reset();
        d_->filter = f;
        d_->sort = s;
    }
    if (!connection.isOpen()) gRaise(err::Closed, QStringLiteral("连接已关闭。"));
    Impl& d = *d_;
    // A table opened before with this shape of filter and sort has its plan ready.
    std::shared_ptr<const TablePlan> plan =
        std::static_pointer_cast<const TablePlan>(recalledPlan(connection, source, d.filter, d.sort));
    QString key;
    if (!plan) {
        key = planKey(source, d.filter, d.sort);
        plan = std::static_pointer_cast<const TablePlan>(connection.plan(key));
        if (plan) rememberPlan(connection, source, d.filter, d.sort, plan);
    }
    ParsedSource parsed;
    if (!plan) {
        parsed = parseCached(source);
        if (parsed.kind == ParsedSource::Statement) {
            connection.execute(source);
            return;
        }
    }
    const ParsedSource::Kind kind = plan ? ParsedSource::Table : parsed.kind;
    Filter filter = std::move(d.filter);
    Sort sort = std::move(d.sort);
    try {
        d.conn = &connection;
        d.generation = connection.generation();
        d.lock = lock == LockType::Unspecified ? LockType::ReadOnly : lock;
        d.rows.clear();
        d.cells.clear();
        d.cols.clear();
        d.longCols.clear();
        if (kind == ParsedSource::Table) {
            if (!plan) {
                plan = buildTablePlan(connection, key, parsed, filter, sort);
                rememberPlan(connection, source, filter, sort, plan);
            }
            d.table = plan->table;
            d.cols = plan->cols;
            d.longCols = plan->longCols;
            // Room for a month's entries without growing (the month view's marks).
            d.rows.reserve(64);
            d.cells.reserve(64 * d.cols.size());
            QVariantList params;
            params.reserve(int(filter.conditions().size()) + 1);
            for (size_t i = 0; i < filter.conditions().size(); ++i) {
                const Condition& c = filter.conditions()[i];
                const QVariant v = detail::coerce(plan->condCols[i], c.value);
                if (!v.isValid()) continue;
                params.append(c.op == Op::BeginsWith || c.op == Op::Contains
                                  ? QVariant(detail::likePattern(v, c.op))
                                  : v);
            }
            // One pass over the rows: every column of the first rows, the short
            // columns of the rest (their long texts are read when asked for).
            // Reading a large result twice would scan the table twice.
            auto readRows = [&](const QString& sql, const QVariantList& bound) {
                sqlite3_stmt* st = connection.prepare(sql);
                Connection::bind(st, bound);
                int rc;
                const int n = int(d.cols.size());
                const bool lazy = !d.longCols.empty();
                while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
                    Row r;
                    r.rowid = sqlite3_column_int64(st, 0);
                    r.seq = r.rowid;
                    r.base = qsizetype(d.cells.size());
                    if (!lazy || d.rows.size() < size_t(d.eagerRows)) {
                        for (int i = 0; i < n; ++i)
                            d.cells.push_back(Impl::readValue(st, i + 1, d.cols[i]));
                    } else {
                        for (int i = 0; i < n; ++i)
                            d.cells.push_back(d.cols[i].type != ColumnType::LongText
                                                  ? Impl::readValue(st, i + 1, d.cols[i])
                                                  : QVariant());
                        r.longLoaded = false;
                    }
                    d.rows.push_back(std::move(r));
                }
                sqlite3_reset(st);
                if (rc != SQLITE_DONE) connection.raise(rc);
            };
            if (sort.isEmpty()) {
                // Table order by sorting the rows here: an ORDER BY rowid would make
                // SQLite sort them anyway, after reading them through an index.
                readRows(plan->sqlUnordered, params);
                // Entries are mostly added in date order, so a read through the
                // Date index usually comes back in table order already.
                const auto byRowid = [](const Row& a, const Row& b) { return a.rowid < b.rowid; };
                if (!std::is_sorted(d.rows.begin(), d.rows.end(), byRowid))
                    std::sort(d.rows.begin(), d.rows.end(), byRowid);
            } else {
                readRows(plan->sqlAll, params);
            }
            d.sortedBySeq = sort.isEmpty();
            d.filter = Filter();
        } else {
            // Any other query: read-only rows as it returns them.
            d.table.clear();
            QString text = source.trimmed();
            while (text.endsWith(QLatin1Char(';')))
                text.chop(1);
            sqlite3_stmt* st = connection.prepare(text);
            const int n = sqlite3_column_count(st);
            for (int i = 0; i < n; ++i) {
                // A column straight from a table of the schema reads as its kind there.
                const char* table = sqlite3_column_table_name(st, i);
                const char* origin = sqlite3_column_origin_name(st, i);
                const ColumnSpec* known = table && origin ? connection.schemaColumn(QString::fromUtf8(table),
                                                                                    QString::fromUtf8(origin))
                                                          : nullptr;
                ColumnSpec c =
                    known ? *known
                          : detail::columnFromDecl(QString::fromUtf8(sqlite3_column_name(st, i)),
                                                   QString::fromUtf8(sqlite3_column_decltype(st, i)));
                c.name = QString::fromUtf8(sqlite3_column_name(st, i));
                if (c.type == ColumnType::Boolean) c.type = ColumnType::Other;
                d.cols.push_back(c);
            }
            int rc;
            qint64 seq = 0;
            while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
                Row r;
                r.seq = ++seq;
                r.base = qsizetype(d.cells.size());
                for (int i = 0; i < n; ++i)
                    d.cells.push_back(Impl::readValue(st, i, d.cols[i]));
                d.rows.push_back(std::move(r));
            }
            sqlite3_reset(st);
            if (rc != SQLITE_DONE) connection.raise(rc);
            d.lock = LockType::ReadOnly;
            // Filter and sort work on the rows read.
        }
        d.nextSeq = std::numeric_limits<qint64>::max() / 2;
        d.open = true;
        d.filterSet = d.sortSet = false;
        if (kind == ParsedSource::Table) {
            d.sort = std::move(sort);
            d.view.resize(d.rows.size());
            for (size_t i = 0; i < d.rows.size(); ++i)
                d.view[i] = int(i);
            d.pos = 0;
        } else {
            d.filter = filter;
            d.sort = sort;
            d.rebuildView();
        }
    } catch (...) {
        d.reset();
        d.filter = std::move(filter);
        d.sort = std::move(sort);
        throw;
    }
}

bool Recordset::isOpen() const {
    return d_->open;
}
LockType Recordset::lockType() const {
    return d_->lock;
}

void Recordset::close() {
    d_->reset();
}

long Recordset::recordCount() const {
    d_->checkOpen();
    return long(d_->view.size());
}

bool Recordset::eof() const {
    d_->checkOpen();
    return d_->view.empty() || (!d_->onDeleted && d_->pos >= long(d_->view.size()));
}

bool Recordset::bof() const {
    d_->checkOpen();
    return d_->view.empty() || d_->pos < 0;
}

long Recordset::absolutePosition() const {
    d_->checkOpen();
    return d_->hasCurrent() ? d_->pos + 1 : 0;
}

qint64 Recordset::bookmark() const {
    return d_->current().rowid;
}

void Recordset::moveFirst() {
    d_->moveTo(0);
}
void Recordset::moveLast() {
    d_->moveTo(long(d_->view.size()) - 1);
}

void Recordset::moveNext() {
    d_->checkOpen();
    if (d_->onDeleted) {
        d_->onDeleted = false; // the row after the deleted one is already under the cursor
        return;
    }
    if (eof()) gRaise(err::BofOrEof, QStringLiteral("BOF 或 EOF 中有一个是“真”，或者当前记录已被删除。"));
    d_->moveTo(d_->pos + 1);
}

void Recordset::movePrevious() {
    d_->checkOpen();
    if (!d_->onDeleted && bof())
        gRaise(err::BofOrEof, QStringLiteral("BOF 或 EOF 中有一个是“真”，或者当前记录已被删除。"));
    d_->moveTo(d_->pos - 1);
}

void Recordset::move(long n) {
    d_->checkOpen();
    if (n == 0) return;
    if (d_->onDeleted && n > 0) --n; // counted from the deleted row, whose successor is current
    if (d_->onDeleted && n == 0) {
        d_->onDeleted = false;
        return;
    }
    d_->moveTo(d_->pos + n);
}

QVariant Recordset::field(const QString& name) const {
    Row& r = d_->current();
    const int c = d_->requireColumn(name);
    return d_->valueOf(r, c);
}

QString Recordset::text(const QString& name) const {
    Row& r = d_->current();
    const QVariant& v = d_->valueOf(r, d_->requireColumn(name));
    if (!v.isValid()) return QString(QLatin1String(""));
    if (v.metaType().id() == QMetaType::QDate) return dateToText(v.toDate());
    return v.toString();
}

int Recordset::integer(const QString& name) const {
    const QVariant v = field(name);
    return v.isValid() ? v.toInt() : 0;
}

bool Recordset::boolean(const QString& name) const {
    const QVariant v = field(name);
    return v.isValid() && v.toBool();
}

QDate Recordset::date(const QString& name) const {
    const QVariant v = field(name);
    return v.metaType().id() == QMetaType::QDate ? v.toDate() : QDate();
}

int Recordset::fieldCount() const {
    d_->checkOpen();
    return int(d_->cols.size());
}

QString Recordset::fieldName(int index) const {
    d_->checkOpen();
    if (index < 0 || index >= int(d_->cols.size())) notFound(QString::number(index));
    return d_->cols[index].name;
}

void Recordset::setField(const QString& name, const QVariant& value) {
    d_->checkWritable();
    Row& r = d_->current();
    const int c = d_->requireColumn(name);
    const QVariant v = detail::coerceForStore(d_->cols[c], value);
    d_->ensureLong(r);
    d_->dropIndex();
    if (r.state == RowState::Clean) {
        r.original = QVector<QVariant>(d_->cells.begin() + r.base,
                                       d_->cells.begin() + r.base + qsizetype(d_->cols.size()));
        r.state = RowState::Modified;
    }
    d_->cells[r.base + c] = v;
    r.dirty |= quint64(1) << c;
}

void Recordset::addNew() {
    d_->checkWritable();
    d_->flushCurrent();
    Impl& d = *d_;
    d.dropIndex();
    Row r;
    r.seq = ++d.nextSeq;
    r.state = RowState::Added;
    r.base = qsizetype(d.cells.size());
    for (size_t i = 0; i < d.cols.size(); ++i)
        d.cells.push_back(d.cols[i].type == ColumnType::Boolean ? QVariant(false) : QVariant());
    d.rows.push_back(std::move(r));
    d.view.push_back(int(d.rows.size()) - 1);
    d.pos = long(d.view.size()) - 1;
    d.onDeleted = false;
}

void Recordset::update() {
    d_->checkWritable();
    Row& r = d_->current();
    if (!d_->immediate()) return; // batch: updateBatch writes
    if (r.state == RowState::Added || r.state == RowState::Modified) d_->markWritten(r, d_->writeRow(r));
}

void Recordset::cancelUpdate() {
    d_->checkOpen();
    if (!d_->hasCurrent()) return;
    Impl& d = *d_;
    Row& r = d.rows[d.view[d.pos]];
    if (r.state == RowState::Added) {
        r.state = RowState::Gone;
        d.view.erase(d.view.begin() + d.pos);
        d.pos = std::min<long>(d.pos, long(d.view.size()));
    } else if (r.state == RowState::Modified) {
        d.dropIndex();
        std::copy(r.original.begin(), r.original.end(), d.cells.begin() + r.base);
        r.original.clear();
        r.dirty = 0;
        r.state = RowState::Clean;
    }
}

void Recordset::updateBatch() {
    d_->checkWritable();
    Impl& d = *d_;
    std::vector<std::pair<size_t, qint64>> written;
    {
        Transaction t(d.connection());
        for (size_t i = 0; i < d.rows.size(); ++i) {
            Row& r = d.rows[i];
            if (r.state == RowState::Clean || r.state == RowState::Gone) continue;
            written.push_back({i, d.writeRow(r)});
        }
        t.commit();
    }
    // Only now that every row is written do the rows take their new state.
    for (const auto& w : written)
        d.markWritten(d.rows[w.first], w.second);
}

void Recordset::deleteCurrent() {
    d_->checkWritable();
    Row& r = d_->current();
    Impl& d = *d_;
    if (r.state == RowState::Added && r.rowid == 0) {
        r.state = RowState::Gone;
    } else if (d.immediate()) {
        r.state = RowState::Deleted;
        try {
            d.writeRow(r);
        } catch (...) {
            r.state = r.original.isEmpty() ? RowState::Clean : RowState::Modified;
            throw;
        }
        r.state = RowState::Gone;
    } else {
        r.state = RowState::Deleted;
    }
    d.view.erase(d.view.begin() + d.pos);
    d.onDeleted = true;
}

} // namespace db
