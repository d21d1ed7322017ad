#include "platform/db/TextMatcher.h"

#include "platform/db/Connection.h"
#include "platform/db/dbSql.h"

#include <QStringDecoder>

#include <cstring>
#include <sqlite3.h>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace db {
namespace {

template <typename T> inline T fold(T c) {
    return (c >= T('A') && c <= T('Z')) ? T(c | 0x20) : c;
}

// Whether text (at least n units) begins with the folded value.
template <typename T> inline bool equalFolded(const T* text, const T* value, qsizetype n, bool letters) {
    if (n == 0) return true;
    if (!letters) return std::memcmp(text, value, size_t(n) * sizeof(T)) == 0;
    for (qsizetype i = 0; i < n; ++i)
        if (fold(text[i]) != value[i]) return false;
    return true;
}

#ifdef __SSE2__
inline __m128i splat(quint8 v) {
    return _mm_set1_epi8(char(v));
}
inline __m128i splat(char16_t v) {
    return _mm_set1_epi16(short(v));
}
inline __m128i equal(__m128i a, __m128i b, quint8) {
    return _mm_cmpeq_epi8(a, b);
}
inline __m128i equal(__m128i a, __m128i b, char16_t) {
    return _mm_cmpeq_epi16(a, b);
}
#endif

// Whether the folded value (n units, n > 0) occurs in text. The value's first
// and last units are looked for together, a vector of places at a time; only
// where both fit is the rest compared.
template <typename T>
bool contains(const T* text, qsizetype size, const T* value, qsizetype n, bool letters) {
    if (n > size) return false;
    const qsizetype last = size - n; // the last place the value can start
    qsizetype at = 0;
#ifdef __SSE2__
    constexpr qsizetype lanes = 16 / qsizetype(sizeof(T));
    // A small letter of the value also takes its capital: x | 0x20 is that
    // letter for exactly the two of them.
    const auto caseBit = [](T c) { return T(c >= T('a') && c <= T('z') ? 0x20 : 0); };
    const __m128i first = splat(value[0]), end = splat(value[n - 1]);
    const __m128i firstBit = splat(caseBit(value[0])), endBit = splat(caseBit(value[n - 1]));
    for (; at + lanes - 1 <= last; at += lanes) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at + n - 1));
        const __m128i both = _mm_and_si128(equal(_mm_or_si128(a, firstBit), first, T()),
                                           equal(_mm_or_si128(b, endBit), end, T()));
        unsigned mask = unsigned(_mm_movemask_epi8(both));
        if (sizeof(T) == 2) mask &= 0x5555u; // one bit per unit
        while (mask) {
            const qsizetype place = at + qsizetype(__builtin_ctz(mask)) / qsizetype(sizeof(T));
            if (equalFolded(text + place, value, n, letters)) return true;
            mask &= mask - 1;
        }
    }
#endif
    for (; at <= last; ++at)
        if (fold(text[at]) == value[0] && equalFolded(text + at, value, n, letters)) return true;
    return false;
}

template <typename T>
bool match(const T* text, qsizetype size, const T* value, qsizetype n, bool letters, Op op) {
    if (n == 0) return true;
    if (op == Op::BeginsWith) return size >= n && equalFolded(text, value, n, letters);
    return contains(text, size, value, n, letters);
}

} // namespace

TextMatcher::TextMatcher(const QString& value, Op op) : op_(op) {
    pattern_ = detail::likePattern(value, op).toUtf8();
    // The value as the statement receives it: its UTF-8 (a lone surrogate
    // already replaced), and that read back for the UTF-16 form.
    folded8_ = value.toUtf8();
    for (char& c : folded8_) {
        if (c >= 'A' && c <= 'Z') c = char(c | 0x20);
        if (c >= 'a' && c <= 'z') letters_ = true;
    }
    const QString back = QString::fromUtf8(folded8_);
    folded16_.assign(reinterpret_cast<const char16_t*>(back.utf16()), size_t(back.size()));
    needsDatabase_ = !plain(value.toUtf8());
}

bool TextMatcher::matches(QByteArrayView utf8) const {
    return match(reinterpret_cast<const quint8*>(utf8.data()), utf8.size(),
                 reinterpret_cast<const quint8*>(folded8_.constData()), folded8_.size(), letters_, op_);
}

bool TextMatcher::matches(QStringView utf16) const {
    return match(reinterpret_cast<const char16_t*>(utf16.utf16()), utf16.size(), folded16_.data(),
                 qsizetype(folded16_.size()), letters_, op_);
}

bool TextMatcher::matchesInDatabase(Connection& connection, QByteArrayView bytes, bool null) const {
    sqlite3_stmt* st = connection.prepare(QStringLiteral("SELECT ?1 LIKE ?2 ESCAPE '\\'"));
    if (null)
        sqlite3_bind_null(st, 1);
    else
        sqlite3_bind_text(st, 1, bytes.data() ? bytes.data() : "", int(bytes.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 2, pattern_.constData(), int(pattern_.size()), SQLITE_TRANSIENT);
    const int rc = sqlite3_step(st);
    if (rc != SQLITE_ROW) {
        try {
            connection.raise(rc);
        } catch (...) {
            sqlite3_reset(st);
            throw;
        }
    }
    const bool found = sqlite3_column_int(st, 0) != 0;
    sqlite3_reset(st);
    return found;
}

bool TextMatcher::plainUnits(QStringView units) {
    const char16_t* u = units.utf16();
    bool odd = false;
    for (qsizetype i = 0; i < units.size(); ++i)
        odd |= u[i] >= 0xFFFE;
    return !odd;
}

bool TextMatcher::plain(QByteArrayView utf8) {
    if (utf8.isEmpty()) return true;
    if (!utf8.isValidUtf8() || std::memchr(utf8.data(), 0, size_t(utf8.size()))) return false;
    return plainUnits(QString::fromUtf8(utf8));
}

} // namespace db
