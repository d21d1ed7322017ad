#include "diary/SearchEntries.h"

#include <QStringView>

#include <algorithm>
#include <cstring>
#include <sqlite3.h>
#include <sys/mman.h>

namespace {

// Texts go into blocks of this size, mapped and unmapped whole, so that letting
// them go gives the memory back to the system at once. The blocks ask for
// large pages: fresh memory a small page at a time (a fault for each 4 KB)
// can cost about as much as reading the texts from the file. One large page
// a block keeps the time a new block takes short.
constexpr size_t kBlockBytes = size_t(2) << 20;
constexpr size_t kLargePage = size_t(2) << 20;
constexpr int kPreviewUnits = 50;

struct Shared {
    std::vector<SearchEntries*> live;     // every set of entries in memory
    std::shared_ptr<SearchEntries> kept;  // the last complete read
    std::weak_ptr<SearchEntries> reading; // a read not yet complete
};
Shared& shared() {
    static Shared s;
    return s;
}

const QString kEntriesSql =
    QStringLiteral("SELECT rowid, \"Date\", \"Title\", \"Diary\" FROM \"Diary\" ORDER BY \"Date\", rowid");
const QString kScoresSql =
    QStringLiteral("SELECT rowid, \"Score\", \"Collect\" FROM \"Diary\" ORDER BY \"Date\", rowid");

} // namespace

std::shared_ptr<SearchEntries> SearchEntries::of(db::Connection& connection) {
    Shared& s = shared();
    if (s.kept && &s.kept->connection_ == &connection && s.kept->current()) return s.kept;
    s.kept.reset(); // out of date: it goes before a new read takes its room
    if (auto r = s.reading.lock(); r && &r->connection_ == &connection && r->current()) return r;
    auto fresh = std::make_shared<SearchEntries>(connection);
    s.reading = fresh;
    return fresh;
}

void SearchEntries::forgetTexts() {
    Shared& s = shared();
    s.kept.reset();
    s.reading.reset();
    for (SearchEntries* e : s.live)
        e->releaseTexts();
}

size_t SearchEntries::keptTexts() {
    size_t n = 0;
    for (const SearchEntries* e : shared().live)
        if (!e->released_) n += e->entries_.size();
    return n;
}

SearchEntries::SearchEntries(db::Connection& connection) : connection_(connection) {
    generation_ = connection.generation();
    changes_ = connection.changeCount();
    shared().live.push_back(this);
}

SearchEntries::~SearchEntries() {
    stop();
    freeBlocks(blocks_);
    auto& live = shared().live;
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

bool SearchEntries::current() const {
    return !broken_ && !released_ && connection_.isOpen() && connection_.generation() == generation_ &&
           connection_.changeCount() == changes_;
}

long SearchEntries::total() {
    if (total_ < 0) {
        try {
            total_ = connection_.count(QStringLiteral("Diary"));
        } catch (...) {
            total_ = long(entries_.size());
        }
    }
    return std::max(total_, long(entries_.size()));
}

void SearchEntries::stop() {
    entryRead_.reset();
    scoreRead_.reset();
}

void SearchEntries::detach() {
    if (--users_ > 0) return;
    users_ = 0;
    // No statement stays open while no search needs it.
    if (!readDone_ && entryRead_) broken_ = true; // a half read is not taken up again
    if (!scoresDone_ && scoreRead_) {
        scoreRead_.reset();
        scoredUpTo_ = 0; // read again from the start when asked for
    }
    entryRead_.reset();
}

size_t SearchEntries::readMore(bool scores, Clock::time_point deadline, size_t maxRows) {
    if (!current()) return 0;
    size_t n = 0;
    try {
        for (;; ++n) {
            if (maxRows && n >= maxRows) break;
            if (n > 0 && n % 32 == 0 && Clock::now() >= deadline) break;
            if (scores && !scoresDone_ && scoredUpTo_ < entries_.size())
                stepScores();
            else if (!readDone_)
                stepEntries();
            else if (scores && !scoresDone_)
                stepScores(); // its end
            else
                break;
            if (broken_) break;
        }
    } catch (...) {
        broken_ = true;
        stop();
        throw;
    }
    return n;
}

void SearchEntries::stepEntries() {
    if (!entryRead_) entryRead_ = std::make_unique<db::Cursor>(connection_, kEntriesSql);
    db::Cursor& c = *entryRead_;
    if (!c.next()) {
        entryRead_.reset();
        readDone_ = true;
        if (current()) {
            Shared& s = shared();
            s.kept = shared_from_this();
            if (s.reading.lock().get() == this) s.reading.reset();
        }
        return;
    }
    Entry e;
    e.rowid = c.int64(0);
    const QDate d = c.date(1);
    e.day = d.isValid() ? qint32(d.toJulianDay()) : kNoDay;
    e.number = !entries_.empty() && entries_.back().day == e.day ? entries_.back().number + 1 : 1;
    e.title = keep(c.utf8(2), c.isNull(2));
    e.text = keep(c.utf8(3), c.isNull(3));
    entries_.push_back(e);
}

void SearchEntries::stepScores() {
    if (!scoreRead_) {
        scoreRead_ = std::make_unique<db::Cursor>(connection_, kScoresSql);
        scoredUpTo_ = 0;
    }
    db::Cursor& c = *scoreRead_;
    if (!c.next()) {
        scoreRead_.reset();
        // Fewer rows than the entries: the table changed under the reads.
        if (scoredUpTo_ < entries_.size() || !readDone_)
            broken_ = true;
        else
            scoresDone_ = true;
        return;
    }
    if (scoredUpTo_ >= entries_.size() || entries_[scoredUpTo_].rowid != c.int64(0)) {
        broken_ = true; // more rows, or others: changed under the reads
        scoreRead_.reset();
        return;
    }
    Entry& e = entries_[scoredUpTo_++];
    e.scoreNull = c.isNull(1);
    e.score = e.scoreNull ? 0 : int(c.int64(1));
    e.collect = !c.isNull(2) && c.int64(2) != 0;
    e.scoreRead = true;
}

int SearchEntries::score(size_t i) {
    Entry& e = entries_[i];
    if (e.scoreRead) return e.score;
    if (!connection_.isOpen() || connection_.generation() != generation_) return 0;
    try {
        sqlite3_stmt* st = connection_.prepare(
            QStringLiteral("SELECT \"Score\", \"Collect\" FROM \"Diary\" WHERE rowid = ?"));
        sqlite3_bind_int64(st, 1, e.rowid);
        if (sqlite3_step(st) == SQLITE_ROW) {
            e.scoreNull = sqlite3_column_type(st, 0) == SQLITE_NULL;
            e.score = e.scoreNull ? 0 : int(sqlite3_column_int64(st, 0));
            e.collect = sqlite3_column_type(st, 1) != SQLITE_NULL && sqlite3_column_int64(st, 1) != 0;
            e.scoreRead = true;
        }
        sqlite3_reset(st);
    } catch (...) {
        return 0;
    }
    return e.score;
}

// ---- texts ----

void* SearchEntries::place(const void* from, size_t bytes) {
    // Two-byte units stay aligned.
    const size_t pad = reinterpret_cast<quintptr>(free_) & 1;
    if (bytes + pad <= left_) {
        free_ += pad;
        left_ -= pad;
    } else {
        const size_t size = std::max(kBlockBytes, (bytes + kLargePage - 1) & ~(kLargePage - 1));
        // Mapped a large page longer, to start it on a large page's boundary.
        void* p =
            ::mmap(nullptr, size + kLargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) throw std::bad_alloc();
        blocks_.push_back({static_cast<char*>(p), size + kLargePage});
        char* start =
            reinterpret_cast<char*>((reinterpret_cast<quintptr>(p) + kLargePage - 1) & ~(kLargePage - 1));
        ::madvise(start, size, MADV_HUGEPAGE);
        free_ = start;
        left_ = size;
    }
    char* to = free_;
    std::memcpy(to, from, bytes);
    free_ += bytes;
    left_ -= bytes;
    return to;
}

void SearchEntries::freeBlocks(std::vector<Block>& blocks) {
    for (const Block& b : blocks)
        ::munmap(b.data, b.size);
    blocks.clear();
}

namespace {

// UTF-16 of bytes that are plain for db::TextMatcher (valid UTF-8 without a
// NUL, U+FFFE or U+FFFF); -1 for any other bytes. Qt's converter with the
// checks after it took twice as long, and this runs for every text read.
qsizetype plainUtf16(const unsigned char* p, qsizetype n, char16_t* out) {
    const unsigned char* const end = p + n;
    char16_t* o = out;
    while (p < end) {
        const unsigned c = *p;
        if (c < 0x80) {
            if (c == 0) return -1;
            *o++ = char16_t(c);
            ++p;
        } else if ((c & 0xF0) == 0xE0) { // most of Chinese
            if (end - p < 3 || (p[1] & 0xC0) != 0x80 || (p[2] & 0xC0) != 0x80) return -1;
            const unsigned u = ((c & 0x0F) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
            if (u < 0x800 || (u >= 0xD800 && u <= 0xDFFF) || u >= 0xFFFE) return -1;
            *o++ = char16_t(u);
            p += 3;
        } else if ((c & 0xE0) == 0xC0) {
            if (c < 0xC2 || end - p < 2 || (p[1] & 0xC0) != 0x80) return -1;
            *o++ = char16_t(((c & 0x1F) << 6) | (p[1] & 0x3Fu));
            p += 2;
        } else if ((c & 0xF8) == 0xF0) {
            if (end - p < 4 || (p[1] & 0xC0) != 0x80 || (p[2] & 0xC0) != 0x80 || (p[3] & 0xC0) != 0x80)
                return -1;
            const unsigned u =
                ((c & 0x07) << 18) | ((p[1] & 0x3Fu) << 12) | ((p[2] & 0x3Fu) << 6) | (p[3] & 0x3Fu);
            if (u < 0x10000 || u > 0x10FFFF) return -1;
            *o++ = char16_t(0xD800 + ((u - 0x10000) >> 10));
            *o++ = char16_t(0xDC00 + ((u - 0x10000) & 0x3FF));
            p += 4;
        } else {
            return -1;
        }
    }
    return o - out;
}

} // namespace

SearchEntries::Text SearchEntries::keep(QByteArrayView bytes, bool null) {
    static const char empty = 0;
    if (null) return {};
    if (bytes.isEmpty()) return {&empty, 0, Form::Utf8};
    const qsizetype n = bytes.size();
    if (scratch_.size() < size_t(n)) scratch_.resize(size_t(n));
    const qsizetype units =
        plainUtf16(reinterpret_cast<const unsigned char*>(bytes.data()), n, scratch_.data());
    if (units < 0) return {place(bytes.data(), size_t(n)), qint32(n), Form::Raw};
    if (2 * units < n) return {place(scratch_.data(), size_t(units) * 2), qint32(units), Form::Utf16};
    return {place(bytes.data(), size_t(n)), qint32(n), Form::Utf8};
}

QString SearchEntries::toQString(const Text& t, qsizetype most) {
    switch (t.form) {
    case Form::Null:
        return QString(QLatin1String(""));
    case Form::Utf16: {
        const qsizetype n = most < 0 ? t.size : std::min<qsizetype>(most, t.size);
        return QString(static_cast<const QChar*>(t.data), n);
    }
    case Form::Utf8:
    case Form::Raw: {
        // 4 bytes make at least one unit: enough bytes for `most` units.
        const qsizetype n = most < 0 || t.form == Form::Raw ? t.size : std::min<qsizetype>(t.size, 4 * most);
        QString s = QString::fromUtf8(static_cast<const char*>(t.data), n);
        if (most >= 0) s.truncate(most);
        return s;
    }
    }
    return {};
}

QByteArrayView SearchEntries::bytesOf(const Text& t, QByteArray& scratch) const {
    if (t.form == Form::Null) return {};
    if (t.form == Form::Utf16) {
        scratch = QStringView(static_cast<const char16_t*>(t.data), t.size).toUtf8();
        return scratch;
    }
    return QByteArrayView(static_cast<const char*>(t.data), t.size);
}

QDate SearchEntries::date(size_t i) const {
    const qint32 d = entries_[i].day;
    return d == kNoDay ? QDate() : QDate::fromJulianDay(d);
}

QString SearchEntries::title(size_t i) const {
    return toQString(entries_[i].title);
}

QString SearchEntries::preview(size_t i) const {
    return toQString(entries_[i].text, kPreviewUnits);
}

void SearchEntries::releaseTexts() {
    if (released_) return;
    released_ = true;
    stop();
    // The previews move into new blocks; the old ones, with the whole texts, go.
    std::vector<Block> old = std::move(blocks_);
    blocks_.clear();
    free_ = nullptr;
    left_ = 0;
    for (size_t i = 0; i < entries_.size(); ++i) {
        Entry& e = entries_[i];
        if (e.text.form == Form::Null) continue;
        const QString p = toQString(e.text, kPreviewUnits);
        e.text = {p.isEmpty() ? "" : place(p.utf16(), size_t(p.size()) * 2), qint32(p.size()), Form::Utf16};
    }
    // The titles stay: copied over as they are.
    for (size_t i = 0; i < entries_.size(); ++i) {
        Entry& e = entries_[i];
        if (e.title.form == Form::Null) continue;
        const size_t bytes = e.title.form == Form::Utf16 ? size_t(e.title.size) * 2 : size_t(e.title.size);
        e.title.data = bytes ? place(e.title.data, bytes) : "";
    }
    freeBlocks(old);
    scratch_.clear();
    scratch_.shrink_to_fit();
}
