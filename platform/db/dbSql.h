#pragma once
// Internal helpers of the data-access layer: identifier quoting, value
// conversion to a column's type, and the WHERE / ORDER BY text of structured
// filters and sorts (values become bound parameters).
#include "platform/db/dbTypes.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <functional>

namespace db::detail {

QString quoteIdent(const QString& name);

// The column type a declared type names, and back.
ColumnSpec columnFromDecl(const QString& name, const QString& declType);
QString declOf(const ColumnSpec& c);
// The most characters a text column takes (0: no limit).
int textLimit(const ColumnSpec& c);

// A value converted to the column's in-memory type (QDate, int, bool, QString;
// null stays null, except for Boolean columns). Raises err::TypeMismatch.
QVariant coerce(const ColumnSpec& c, const QVariant& v, bool nullAllowed = true);
// coerce plus the column's length limit (err::DataTooLong): what setField stores.
QVariant coerceForStore(const ColumnSpec& c, const QVariant& v);

// The text a value has in a LIKE comparison (as SQLite turns it into text).
QString likeText(const QVariant& typed);
// Whether text matches a BeginsWith/Contains pattern, folding ASCII case only,
// as SQLite's LIKE does.
bool likeMatch(const QString& text, const QString& pattern, Op op);
// Three-way comparison of two typed values of one column; nulls first.
int compareValues(const QVariant& a, const QVariant& b);
// Whether a typed field value passes a condition with an already coerced value.
bool evaluate(const QVariant& fieldValue, Op op, const QVariant& conditionValue);

// Resolves a field name to its column spec; raises err::ItemNotFound.
using Resolver = std::function<ColumnSpec(const QString& field)>;
// The LIKE pattern (escape character "\\") that matches a value literally.
QString likePattern(const QVariant& typed, Op op);
// " WHERE ..." (or "") for a filter; appends the bound values to params.
QString whereClause(const Filter& filter, const Resolver& resolve, QVariantList& params);
// The ORDER BY keys of a sort, without the keyword ("" for none).
QString orderKeys(const Sort& sort, const Resolver& resolve);

} // namespace db::detail
