#include "diary/gDiarySearch.h"

#include "core/gDatabase.h"
#include "core/gState.h"
#include "platform/db/db.h"
#include "platform/db/dbSql.h"

#include <algorithm>
#include <limits>

namespace {

// Every entry of the signed-in account as the search reads it, kept while the
// database is unchanged: a word in the plain texts is then found without
// decrypting and scanning the whole table again.
// Numbers entries in day order within their day: 1, 2, ... for each date.
template <typename Entries, typename Shown> void numberWithinDays(Entries& entries, Shown shown) {
    for (size_t k = 0; k < entries.size(); ++k) {
        gFoundEntry& e = shown(entries[k]);
        e.number = k > 0 && e.date == shown(entries[k - 1]).date ? shown(entries[k - 1]).number + 1 : 1;
    }
}

struct CachedEntry {
    gFoundEntry shown; // with its place in the day
    QString text;
    bool collect = false;
};
struct SearchCache {
    const db::Connection* connection = nullptr; // the one read
    quint64 generation = 0;                     // of that connection when read; 0: nothing read
    qint64 changes = -1;
    std::vector<CachedEntry> entries; // by date, then table order
};
SearchCache& searchCache() {
    static SearchCache c;
    return c;
}

bool cacheValid(const db::Connection& connection) {
    const SearchCache& c = searchCache();
    return c.generation != 0 && c.connection == &connection && connection.isOpen() &&
           c.generation == connection.generation() && c.changes == connection.changeCount();
}

const db::ColumnSpec* diaryColumn(const QString& field) {
    for (const db::TableSpec& t : gDatabaseSchema())
        if (t.name == QLatin1String("Diary"))
            for (const db::ColumnSpec& c : t.columns)
                if (c.name.compare(field, Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

// The value of a cached entry's field, or an invalid QVariant for a field the
// cache does not hold.
QVariant cachedField(const CachedEntry& e, const QString& name) {
    if (name == QLatin1String("Date")) return e.shown.date.isValid() ? QVariant(e.shown.date) : QVariant();
    if (name == QLatin1String("Title")) return e.shown.title;
    if (name == QLatin1String("Diary")) return e.text;
    if (name == QLatin1String("Score")) return e.shown.score;
    if (name == QLatin1String("Collect")) return e.collect;
    return {};
}

void readCache(db::Connection& connection) {
    SearchCache& c = searchCache();
    c = SearchCache();
    const QString date = QStringLiteral("Date");
    db::Recordset rs;
    rs.setCursorLocation(db::CursorLocation::Client);
    rs.setCacheSize(std::numeric_limits<long>::max());
    // In table order, which scans the table once; sorted by date here.
    rs.open(QStringLiteral("SELECT Date,Title,Diary,Score,Collect FROM Diary"), connection,
            db::CursorType::Static);
    std::vector<CachedEntry> entries;
    entries.reserve(size_t(rs.recordCount()));
    for (; !rs.eof(); rs.moveNext()) {
        CachedEntry e;
        e.shown.date = rs.date(date);
        e.shown.title = rs.text(QStringLiteral("Title"));
        e.text = rs.text(QStringLiteral("Diary"));
        e.shown.preview = e.text.left(50);
        e.shown.score = rs.integer(QStringLiteral("Score"));
        e.collect = rs.boolean(QStringLiteral("Collect"));
        entries.push_back(std::move(e));
    }
    rs.close();
    // Entries without a date first (a null date has the lowest day number), as
    // the ordered read gives them.
    std::stable_sort(entries.begin(), entries.end(), [](const CachedEntry& a, const CachedEntry& b) {
        return a.shown.date.toJulianDay() < b.shown.date.toJulianDay();
    });
    numberWithinDays(entries, [](CachedEntry& e) -> gFoundEntry& { return e.shown; });
    c.entries = std::move(entries);
    c.connection = &connection;
    c.generation = connection.generation();
    c.changes = connection.changeCount();
}

// The search over the cached entries, with the conditions as the layer
// evaluates them on rows it has read; false when a field is not cached.
bool searchCached(const db::Filter& filter, std::vector<gFoundEntry>& found) {
    struct Cond {
        QString field;
        db::Op op;
        QVariant value;
    };
    std::vector<Cond> conds;
    for (const db::Condition& c : filter.conditions()) {
        const db::ColumnSpec* col = diaryColumn(c.field);
        static const QStringList held{QStringLiteral("Date"), QStringLiteral("Title"),
                                      QStringLiteral("Diary"), QStringLiteral("Score"),
                                      QStringLiteral("Collect")};
        if (!col || !held.contains(col->name)) return false;
        conds.push_back({col->name, c.op, db::detail::coerce(*col, c.value)});
    }
    for (const CachedEntry& e : searchCache().entries) {
        bool pass = true;
        for (const Cond& c : conds)
            if (!db::detail::evaluate(cachedField(e, c.field), c.op, c.value)) {
                pass = false;
                break;
            }
        if (pass) found.push_back(e.shown);
    }
    return true;
}

bool searchesTheTexts(const db::Filter& filter) {
    for (const db::Condition& c : filter.conditions())
        if (c.field.compare(QLatin1String("Diary"), Qt::CaseInsensitive) == 0) return true;
    return false;
}

} // namespace

std::vector<gFoundEntry> gSearchDiary(const db::Filter& filter) {
    return gSearchDiary(gConnection, filter);
}

std::vector<gFoundEntry> gSearchDiary(db::Connection& connection, const db::Filter& filter) {
    // A search in the plain texts reads the whole table anyway: read it once
    // for this and the following searches, until the database changes.
    if (!cacheValid(connection) && searchesTheTexts(filter)) readCache(connection);
    if (cacheValid(connection)) {
        std::vector<gFoundEntry> found;
        if (searchCached(filter, found)) return found;
    }

    const QString date = QStringLiteral("Date");
    std::vector<gFoundEntry> found;
    std::vector<qint64> marks;
    db::Recordset rs;
    rs.setCursorLocation(db::CursorLocation::Client);
    rs.setFilter(filter);
    rs.setSort(db::Sort(date));
    // Every result shows its preview, so every plain text is read in the one pass.
    rs.setCacheSize(std::numeric_limits<long>::max());
    rs.open(QStringLiteral("SELECT Date,Title,Diary,Score,Collect FROM Diary"), connection,
            db::CursorType::Static);
    found.reserve(size_t(rs.recordCount()));
    for (; !rs.eof(); rs.moveNext()) {
        found.push_back({0, rs.date(date), rs.text(QStringLiteral("Title")),
                         rs.text(QStringLiteral("Diary")).left(50), rs.integer(QStringLiteral("Score"))});
        marks.push_back(rs.bookmark());
    }
    rs.close();
    if (found.empty()) return found;
    if (filter.isEmpty()) {
        // Every entry was read: each day's entries follow each other in table order.
        numberWithinDays(found, [](gFoundEntry& e) -> gFoundEntry& { return e; });
        return found;
    }

    // "NO.": the days' rows in the same order (by date, then table order) are
    // walked beside the found ones; only their dates are read, from the index.
    rs.setCursorLocation(db::CursorLocation::Client);
    // Entries without a date come first; they are numbered among themselves.
    if (found.front().date.isValid())
        rs.setFilter(db::Filter::between(date, found.front().date, found.back().date));
    rs.setSort(db::Sort(date));
    rs.open(QStringLiteral("SELECT Date FROM Diary"), connection, db::CursorType::Static);
    size_t k = 0;
    QDate day;
    int place = 0;
    for (bool first = true; !rs.eof() && k < found.size(); rs.moveNext(), first = false) {
        const QDate d = rs.date(date);
        place = !first && d == day ? place + 1 : 1;
        day = d;
        if (d == found[k].date && rs.bookmark() == marks[k]) found[k++].number = place;
    }
    return found;
}

void gForgetSearchTexts() {
    searchCache() = SearchCache();
}

size_t gKeptSearchTexts() {
    return searchCache().entries.size();
}
