#include "platform/db/dbSql.h"

#include "core/base/gError.h"

#include <QDateTime>

#include <limits>

namespace db {

// Written and read by hand: these run for every date of every row.
QString dateToText(const QDate& d) {
    if (!d.isValid()) return {};
    int y = d.year(), m = d.month(), day = d.day();
    if (y < 0 || y > 9999) return d.toString(QStringLiteral("yyyy-MM-dd"));
    char16_t b[10] = {char16_t(u'0' + y / 1000),
                      char16_t(u'0' + y / 100 % 10),
                      char16_t(u'0' + y / 10 % 10),
                      char16_t(u'0' + y % 10),
                      u'-',
                      char16_t(u'0' + m / 10),
                      char16_t(u'0' + m % 10),
                      u'-',
                      char16_t(u'0' + day / 10),
                      char16_t(u'0' + day % 10)};
    return QString(reinterpret_cast<const QChar*>(b), 10);
}

QDate textToDate(QStringView s) {
    if (s.size() != 10 || s[4] != u'-' || s[7] != u'-') return {};
    int v[8];
    const int at[8] = {0, 1, 2, 3, 5, 6, 8, 9};
    for (int i = 0; i < 8; ++i) {
        const char16_t c = s[at[i]].unicode();
        if (c < u'0' || c > u'9') return {};
        v[i] = c - u'0';
    }
    const QDate d(v[0] * 1000 + v[1] * 100 + v[2] * 10 + v[3], v[4] * 10 + v[5], v[6] * 10 + v[7]);
    return d.isValid() ? d : QDate();
}

QDate textToDate(const char* utf8, int bytes) {
    if (bytes != 10 || !utf8) return {};
    char16_t b[10];
    for (int i = 0; i < 10; ++i)
        b[i] = static_cast<unsigned char>(utf8[i]);
    return textToDate(QStringView(b, 10));
}

namespace detail {

QString quoteIdent(const QString& name) {
    QString q = name;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

ColumnSpec columnFromDecl(const QString& name, const QString& declType) {
    ColumnSpec c;
    c.name = name;
    const QString t = declType.trimmed().toUpper();
    if (t.startsWith(QLatin1String("DATETEXT"))) {
        c.type = ColumnType::Date;
    } else if (t.startsWith(QLatin1String("VARCHAR"))) {
        c.type = ColumnType::Text;
        const qsizetype open = t.indexOf(QLatin1Char('('));
        const qsizetype close = t.indexOf(QLatin1Char(')'));
        if (open > 0 && close > open) c.size = t.mid(open + 1, close - open - 1).trimmed().toInt();
    } else if (t.startsWith(QLatin1String("LONGTEXT")) || t == QLatin1String("TEXT")) {
        c.type = ColumnType::LongText;
    } else if (t == QLatin1String("INTEGER") || t == QLatin1String("INT")) {
        c.type = ColumnType::Integer;
    } else if (t.startsWith(QLatin1String("BOOLEAN"))) {
        c.type = ColumnType::Boolean;
    } else {
        c.type = ColumnType::Other;
    }
    return c;
}

// Plain SQLite types, so any SQLite tool reads the file as it is; the kinds
// come from the schema the connection is given.
QString declOf(const ColumnSpec& c) {
    switch (c.type) {
    case ColumnType::Date:
    case ColumnType::Text:
    case ColumnType::LongText:
        return QStringLiteral("TEXT");
    case ColumnType::Integer:
        return QStringLiteral("INTEGER");
    case ColumnType::Boolean:
        return QStringLiteral("INTEGER NOT NULL DEFAULT 0");
    case ColumnType::Other:
        break;
    }
    return {};
}

int textLimit(const ColumnSpec& c) {
    if (c.type != ColumnType::Text) return 0;
    return c.size > 0 ? c.size : 255;
}

namespace {

[[noreturn]] void mismatch(const ColumnSpec& c, const QVariant& v) {
    gRaise(err::TypeMismatch,
           QStringLiteral("字段 %1 不能取值 \"%2\"：数据类型不匹配。").arg(c.name, v.toString().left(40)));
}

bool isIntegral(const QVariant& v) {
    switch (v.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

} // namespace

QVariant coerce(const ColumnSpec& c, const QVariant& v, bool nullAllowed) {
    if (!v.isValid() || v.isNull()) {
        if (c.type == ColumnType::Boolean && !nullAllowed) mismatch(c, v);
        // A null QString is still a text: keep it as an empty one for text columns.
        if (v.metaType().id() == QMetaType::QString &&
            (c.type == ColumnType::Text || c.type == ColumnType::LongText))
            return QString(QLatin1String(""));
        return QVariant();
    }
    const int id = v.metaType().id();
    switch (c.type) {
    case ColumnType::Date: {
        if (id == QMetaType::QDate) return v.toDate().isValid() ? v : QVariant();
        if (id == QMetaType::QDateTime) return v.toDateTime().date();
        if (id == QMetaType::QString) {
            const QString s = v.toString().trimmed();
            QDate d = textToDate(s);
            if (!d.isValid()) d = QDate::fromString(s, Qt::ISODate);
            if (!d.isValid()) mismatch(c, v);
            return d;
        }
        mismatch(c, v);
    }
    case ColumnType::Integer: {
        qlonglong n = 0;
        if (isIntegral(v) || id == QMetaType::Bool) {
            n = id == QMetaType::Bool ? (v.toBool() ? 1 : 0) : v.toLongLong();
            if (id == QMetaType::ULongLong &&
                v.toULongLong() > quint64(std::numeric_limits<qlonglong>::max()))
                n = std::numeric_limits<qlonglong>::max();
        } else if (id == QMetaType::Double || id == QMetaType::Float) {
            const double d = v.toDouble();
            if (!(d > -2147483649.0 && d < 2147483648.0))
                gRaise(err::DataTooLong, QStringLiteral("数值溢出。"));
            n = qRound64(d);
        } else if (id == QMetaType::QString) {
            bool ok = false;
            n = v.toString().trimmed().toLongLong(&ok);
            if (!ok) mismatch(c, v);
        } else {
            mismatch(c, v);
        }
        if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
            gRaise(err::DataTooLong, QStringLiteral("字段 %1 数值溢出。").arg(c.name));
        return int(n);
    }
    case ColumnType::Boolean: {
        if (id == QMetaType::Bool) return v;
        if (isIntegral(v) || id == QMetaType::Double) return v.toDouble() != 0;
        if (id == QMetaType::QString) {
            const QString s = v.toString().trimmed();
            if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return true;
            if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return false;
            bool ok = false;
            const int n = s.toInt(&ok);
            if (ok) return n != 0;
        }
        mismatch(c, v);
    }
    case ColumnType::Text:
    case ColumnType::LongText:
        if (id == QMetaType::QString) return v;
        if (id == QMetaType::QDate) return dateToText(v.toDate());
        if (id == QMetaType::Bool) return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        if (v.canConvert<QString>()) return v.toString();
        mismatch(c, v);
    case ColumnType::Other:
        return v;
    }
    return v;
}

QVariant coerceForStore(const ColumnSpec& c, const QVariant& v) {
    QVariant t = coerce(c, v, false);
    const int limit = textLimit(c);
    if (limit > 0 && t.isValid() && t.toString().size() > limit)
        gRaise(err::DataTooLong, QStringLiteral("字段 %1 的文本超过 %2 个字符。").arg(c.name).arg(limit));
    return t;
}

QString likeText(const QVariant& typed) {
    switch (typed.metaType().id()) {
    case QMetaType::QDate:
        return dateToText(typed.toDate());
    case QMetaType::Bool:
        return typed.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    default:
        return typed.toString();
    }
}

namespace {
inline char16_t foldAscii(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
}
bool equalAt(const QString& text, qsizetype at, const QString& pattern) {
    for (qsizetype i = 0; i < pattern.size(); ++i)
        if (foldAscii(text[at + i].unicode()) != foldAscii(pattern[i].unicode())) return false;
    return true;
}
} // namespace

bool likeMatch(const QString& text, const QString& pattern, Op op) {
    if (pattern.size() > text.size()) return false;
    if (op == Op::BeginsWith) return equalAt(text, 0, pattern);
    for (qsizetype at = 0; at + pattern.size() <= text.size(); ++at)
        if (equalAt(text, at, pattern)) return true;
    return false;
}

int compareValues(const QVariant& a, const QVariant& b) {
    const bool an = !a.isValid() || a.isNull(), bn = !b.isValid() || b.isNull();
    if (an || bn) return an == bn ? 0 : (an ? -1 : 1);
    const int ta = a.metaType().id(), tb = b.metaType().id();
    if (ta == QMetaType::QDate && tb == QMetaType::QDate) {
        const qint64 x = a.toDate().toJulianDay(), y = b.toDate().toJulianDay();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (ta == QMetaType::QString || tb == QMetaType::QString) {
        const int r = QString::compare(likeText(a), likeText(b), Qt::CaseSensitive);
        return r < 0 ? -1 : (r > 0 ? 1 : 0);
    }
    if (ta == QMetaType::Double || tb == QMetaType::Double) {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    const qlonglong x = a.toLongLong(), y = b.toLongLong();
    return x < y ? -1 : (x > y ? 1 : 0);
}

bool evaluate(const QVariant& fieldValue, Op op, const QVariant& value) {
    if (!fieldValue.isValid() || fieldValue.isNull() || !value.isValid() || value.isNull()) return false;
    switch (op) {
    case Op::BeginsWith:
    case Op::Contains:
        return likeMatch(likeText(fieldValue), likeText(value), op);
    default:
        break;
    }
    const int r = compareValues(fieldValue, value);
    switch (op) {
    case Op::Eq:
        return r == 0;
    case Op::Ne:
        return r != 0;
    case Op::Lt:
        return r < 0;
    case Op::Le:
        return r <= 0;
    case Op::Gt:
        return r > 0;
    case Op::Ge:
        return r >= 0;
    default:
        return false;
    }
}

namespace {
QString escapeLike(const QString& s) {
    QString out;
    out.reserve(s.size() + 4);
    for (QChar ch : s) {
        if (ch == QLatin1Char('\\') || ch == QLatin1Char('%') || ch == QLatin1Char('_'))
            out += QLatin1Char('\\');
        out += ch;
    }
    return out;
}
} // namespace

QString likePattern(const QVariant& typed, Op op) {
    return (op == Op::Contains ? QStringLiteral("%") : QString()) + escapeLike(likeText(typed)) +
           QStringLiteral("%");
}

QString whereClause(const Filter& filter, const Resolver& resolve, QVariantList& params) {
    if (filter.isEmpty()) return {};
    QString w = QStringLiteral(" WHERE ");
    bool first = true;
    for (const Condition& c : filter.conditions()) {
        const ColumnSpec col = resolve(c.field);
        const QVariant v = coerce(col, c.value);
        if (!first) w += QStringLiteral(" AND ");
        first = false;
        // A flag is True when non-zero: files written earlier hold -1 for True.
        const QString id =
            col.type == ColumnType::Boolean
                ? QStringLiteral("(IFNULL(") + quoteIdent(col.name) + QStringLiteral(", 0) <> 0)")
                : quoteIdent(col.name);
        if (!v.isValid()) {
            w += QStringLiteral("0"); // a null value never matches
            continue;
        }
        switch (c.op) {
        case Op::Eq:
            w += id + QStringLiteral(" = ?");
            break;
        case Op::Ne:
            w += id + QStringLiteral(" <> ?");
            break;
        case Op::Lt:
            w += id + QStringLiteral(" < ?");
            break;
        case Op::Le:
            w += id + QStringLiteral(" <= ?");
            break;
        case Op::Gt:
            w += id + QStringLiteral(" > ?");
            break;
        case Op::Ge:
            w += id + QStringLiteral(" >= ?");
            break;
        case Op::BeginsWith:
        case Op::Contains:
            w += id + QStringLiteral(" LIKE ? ESCAPE '\\'");
            params.append(likePattern(v, c.op));
            continue;
        }
        params.append(v);
    }
    return w;
}

QString orderKeys(const Sort& sort, const Resolver& resolve) {
    QString o;
    for (const SortKey& k : sort.keys()) {
        const ColumnSpec col = resolve(k.field);
        if (!o.isEmpty()) o += QStringLiteral(", ");
        o += quoteIdent(col.name) + (k.ascending ? QString() : QStringLiteral(" DESC"));
    }
    return o;
}

} // namespace detail
} // namespace db
