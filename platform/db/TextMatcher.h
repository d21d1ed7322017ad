#pragma once
// The text conditions BeginsWith and Contains decided in memory, with exactly
// the answers of the LIKE the statement would run: the value taken literally
// ("%", "_", "'" and "\" are ordinary characters), ASCII letters matching either
// case and every other character only itself. A text is given as the UTF-8
// bytes SQLite holds, or converted to UTF-16; a valid text of either form gets
// the same answer. Bytes that are not valid UTF-8, or hold a NUL, U+FFFE or
// U+FFFF, SQLite reads in its own way (it stops at a NUL and reads the
// noncharacters as U+FFFD): those texts, and values that hold them, are asked
// of the database (matchesInDatabase).
#include "platform/db/dbTypes.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace db {

class Connection;

class TextMatcher {
public:
    TextMatcher() = default;
    // op is BeginsWith or Contains; value is the condition's text.
    TextMatcher(const QString& value, Op op);

    bool matches(QByteArrayView utf8) const;
    bool matches(QStringView utf16) const;
    // The statement's own answer, through SQLite (errors as the statement raises
    // them); null stands for a null text.
    bool matchesInDatabase(Connection& connection, QByteArrayView bytes, bool null = false) const;

    // Whether matches() answers for these bytes as LIKE does: valid UTF-8
    // without a NUL, U+FFFE or U+FFFF.
    static bool plain(QByteArrayView utf8);
    // The same for UTF-16 units already known to be valid UTF-8 (no NUL among the bytes).
    static bool plainUnits(QStringView units);
    // Whether the value itself can only be answered for by the database.
    bool needsDatabase() const { return needsDatabase_; }

    // The bytes of the LIKE pattern the statement binds.
    qsizetype patternBytes() const { return pattern_.size(); }

private:
    Op op_ = Op::Contains;
    QByteArray pattern_; // the LIKE pattern, escaped, as bound
    // The value with ASCII capitals made small, in both forms.
    QByteArray folded8_;
    std::u16string folded16_;
    bool letters_ = false; // the value holds an ASCII letter
    bool needsDatabase_ = false;
};

} // namespace db
