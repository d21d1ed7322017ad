#include "diary/DiarySearch.h"

#include "core/base/gError.h"
#include "platform/db/dbSql.h"

#include <algorithm>
#include <sqlite3.h>

namespace {

size_t rowsPerTurn = 0;

} // namespace

void DiarySearch::setRowsPerTurn(size_t rows) {
    rowsPerTurn = rows;
}

DiarySearch::DiarySearch(db::Connection& connection, const db::Filter& filter, bool withScores)
    : connection_(connection), scores_(withScores) {
    // The fields the search reads, as the statement "SELECT Date,Title,Diary,Score,Collect" has them.
    static const struct {
        const char* name;
        Field field;
    } fields[] = {{"Date", Field::Date},
                  {"Title", Field::Title},
                  {"Diary", Field::Text},
                  {"Score", Field::Score},
                  {"Collect", Field::Collect}};
    const auto& columns = connection.columnsOf(QStringLiteral("Diary"));
    for (const db::Condition& c : filter.conditions()) {
        Condition k;
        const auto* known = std::find_if(std::begin(fields), std::end(fields), [&](const auto& f) {
            return c.field.compare(QLatin1String(f.name), Qt::CaseInsensitive) == 0;
        });
        const auto column = columns.constFind(c.field.toLower());
        if (known == std::end(fields) || column == columns.constEnd())
            gRaise(db::err::ItemNotFound,
                   QStringLiteral("在对应所需名称或序数的集合中，未找到项目 %1。").arg(c.field));
        k.field = known->field;
        k.op = c.op;
        k.value = db::detail::coerce(*column, c.value);
        k.never = !k.value.isValid();
        const bool text = k.field == Field::Title || k.field == Field::Text;
        k.like = text && (k.op == db::Op::BeginsWith || k.op == db::Op::Contains);
        if (!k.never) {
            if (k.like) {
                k.matcher = db::TextMatcher(k.value.toString(), k.op);
                // SQLite refuses a pattern past its limit, for every row it is
                // asked about, and reads some characters of a value its own way.
                k.inDatabase = k.matcher.needsDatabase() ||
                               k.matcher.patternBytes() >
                                   sqlite3_limit(connection.handle(), SQLITE_LIMIT_LIKE_PATTERN_LENGTH, -1);
            } else if (k.field == Field::Date && k.value.metaType().id() == QMetaType::QDate) {
                k.number = k.value.toDate().toJulianDay();
            } else if (k.field == Field::Score || k.field == Field::Collect) {
                k.number = k.value.toLongLong();
            }
        }
        if (k.field == Field::Score || k.field == Field::Collect) scores_ = true;
        conditions_.push_back(std::move(k));
    }
    // The cheap conditions first, the plain text last.
    std::stable_sort(conditions_.begin(), conditions_.end(), [](const Condition& a, const Condition& b) {
        const auto cost = [](Field f) { return f == Field::Text ? 2 : f == Field::Title ? 1 : 0; };
        return cost(a.field) < cost(b.field);
    });
    attachTo(SearchEntries::of(connection));
}

DiarySearch::~DiarySearch() {
    if (entries_) entries_->detach();
}

void DiarySearch::attachTo(std::shared_ptr<SearchEntries> entries) {
    // The new ones first, so that entries shared by both stay in use.
    entries->attach();
    if (entries_) entries_->detach();
    entries_ = std::move(entries);
    found_.clear();
    next_ = 0;
}

bool DiarySearch::run(Clock::time_point deadline) {
    if (finished_) return true;
    size_t readThisTurn = 0;
    for (;;) {
        if (!entries_->current()) {
            if (entries_->released()) {
                // The program locked: it holds no texts, and reads none until a new search.
                interrupted_ = finished_ = true;
                return true;
            }
            attachTo(SearchEntries::of(connection_)); // written to meanwhile: from the start
        }
        const size_t limit = scores_ ? entries_->scored() : entries_->size();
        while (next_ < limit) {
            if (passes(next_)) found_.push_back(quint32(next_));
            ++next_;
            if (next_ % 256 == 0 && Clock::now() >= deadline) return false;
        }
        if (entries_->complete() && (!scores_ || entries_->scoresComplete())) {
            finished_ = true;
            return true;
        }
        if (rowsPerTurn && readThisTurn >= rowsPerTurn) return false;
        const size_t read =
            entries_->readMore(scores_, deadline, rowsPerTurn ? rowsPerTurn - readThisTurn : 0);
        readThisTurn += read;
        if (Clock::now() >= deadline && entries_->current()) {
            // What was read is looked at before the turn ends.
            const size_t upTo = scores_ ? entries_->scored() : entries_->size();
            for (; next_ < upTo; ++next_)
                if (passes(next_)) found_.push_back(quint32(next_));
            return false;
        }
    }
}

bool DiarySearch::passes(size_t i) {
    for (const Condition& c : conditions_)
        if (!passes(c, i)) return false;
    return true;
}

bool DiarySearch::passes(const Condition& c, size_t i) {
    if (c.never) return false;
    const SearchEntries::Entry& e = (*entries_)[i];
    const auto compare = [&](qint64 field) {
        switch (c.op) {
        case db::Op::Eq:
            return field == c.number;
        case db::Op::Ne:
            return field != c.number;
        case db::Op::Lt:
            return field < c.number;
        case db::Op::Le:
            return field <= c.number;
        case db::Op::Gt:
            return field > c.number;
        case db::Op::Ge:
            return field >= c.number;
        default:
            return false;
        }
    };
    const bool like = c.op == db::Op::BeginsWith || c.op == db::Op::Contains;
    switch (c.field) {
    case Field::Date:
        if (e.day == SearchEntries::kNoDay) return false;
        if (like) return db::detail::evaluate(entries_->date(i), c.op, c.value);
        return compare(e.day);
    case Field::Score:
        if (e.scoreNull) return false;
        if (like) return db::detail::evaluate(e.score, c.op, c.value);
        return compare(e.score);
    case Field::Collect:
        if (like) return db::detail::evaluate(e.collect, c.op, c.value);
        return compare(e.collect ? 1 : 0);
    case Field::Title:
    case Field::Text: {
        const SearchEntries::Text& t = c.field == Field::Title ? e.title : e.text;
        if (c.inDatabase)
            return c.matcher.matchesInDatabase(connection_, entries_->bytesOf(t, scratch_),
                                               t.form == SearchEntries::Form::Null);
        if (t.form == SearchEntries::Form::Null) return false;
        if (!c.like) {
            const QString s = c.field == Field::Title ? entries_->title(i)
                                                      : QString::fromUtf8(entries_->bytesOf(t, scratch_));
            return db::detail::evaluate(s, c.op, c.value);
        }
        switch (t.form) {
        case SearchEntries::Form::Utf8:
            return c.matcher.matches(QByteArrayView(static_cast<const char*>(t.data), t.size));
        case SearchEntries::Form::Utf16:
            return c.matcher.matches(QStringView(static_cast<const char16_t*>(t.data), t.size));
        case SearchEntries::Form::Raw:
            return c.matcher.matchesInDatabase(connection_, entries_->bytesOf(t, scratch_));
        case SearchEntries::Form::Null:
            break;
        }
        return false;
    }
    }
    return false;
}
