#include "diary/DiaryStore.h"

#include "core/base/gError.h"
#include "platform/db/Recordset.h"
#include "platform/db/dbTypes.h"

namespace {
const QString kDiary = QStringLiteral("SELECT * FROM Diary");
const QString kSettings = QStringLiteral("SELECT * FROM DiarySettings");

void writeEntryFields(db::Recordset& rs, const QDate& day, const DiaryEntryText& entry) {
    rs.setField(QStringLiteral("Date"), day);
    rs.setField(QStringLiteral("Title"), entry.title);
    rs.setField(QStringLiteral("Diary"), entry.text);
    rs.setField(QStringLiteral("DiaryRTF"), entry.rtf);
    rs.setField(QStringLiteral("Score"), entry.score);
    rs.setField(QStringLiteral("Collect"), false);
}
} // namespace

std::vector<DiaryEntryText> DiaryStore::entriesOf(const QDate& day, bool withRtf) {
    db::Recordset rs;
    rs.setCursorLocation(db::CursorLocation::Client);
    rs.setFilter(db::Filter::eq(QStringLiteral("Date"), day));
    rs.open(withRtf ? kDiary : QStringLiteral("SELECT Date,Title,Diary FROM Diary"), connection_,
            db::CursorType::Static);
    std::vector<DiaryEntryText> entries;
    entries.reserve(size_t(rs.recordCount()));
    for (; !rs.eof(); rs.moveNext()) {
        DiaryEntryText& e = entries.emplace_back();
        e.title = rs.text(QStringLiteral("Title"));
        e.text = rs.text(QStringLiteral("Diary"));
        if (!withRtf) continue;
        e.rtf = rs.text(QStringLiteral("DiaryRTF"));
        e.score = rs.integer(QStringLiteral("Score"));
    }
    return entries;
}

DiaryStore::Added DiaryStore::add(const QDate& day, const DiaryEntryText& entry, long scoreTotal) {
    // The entry and the stored score total change together or not at all.
    db::Transaction trans(connection_);
    Added added;
    {
        db::Recordset rs;
        rs.setCursorLocation(db::CursorLocation::Client);
        rs.setFilter(db::Filter::eq(QStringLiteral("Date"), day));
        rs.open(kDiary, connection_, db::CursorType::Static, db::LockType::Optimistic);
        rs.addNew();
        writeEntryFields(rs, day, entry);
        rs.update();
        added.dayCount = int(rs.recordCount());
    }
    added.scoreTotal = scoreTotal + entry.score;
    writeScoreTotal(added.scoreTotal, false);
    trans.commit();
    return added;
}

long DiaryStore::update(const QDate& day, int position, const DiaryEntryText& entry, long scoreTotal) {
    db::Transaction trans(connection_);
    int oldScore = 0;
    {
        db::Recordset rs;
        rs.setCursorLocation(db::CursorLocation::Client);
        rs.setFilter(db::Filter::eq(QStringLiteral("Date"), day));
        rs.open(kDiary, connection_, db::CursorType::Static, db::LockType::Optimistic);
        if (position < 1 || position > rs.recordCount()) gRaise(db::err::BofOrEof);
        rs.moveFirst();
        rs.move(position - 1);
        oldScore = rs.integer(QStringLiteral("Score"));
        writeEntryFields(rs, day, entry);
        rs.update();
    }
    const long total = scoreTotal - oldScore + entry.score;
    writeScoreTotal(total, false);
    trans.commit();
    return total;
}

DiaryStore::Removed DiaryStore::remove(const QDate& day, int position, long scoreTotal) {
    db::Transaction trans(connection_);
    Removed removed;
    removed.scoreTotal = scoreTotal;
    {
        db::Recordset rs;
        rs.setCursorLocation(db::CursorLocation::Client);
        rs.setFilter(db::Filter::eq(QStringLiteral("Date"), day));
        rs.open(kDiary, connection_, db::CursorType::Unspecified, db::LockType::Pessimistic);
        rs.move(position - 1);
        removed.scoreTotal -= rs.integer(QStringLiteral("Score"));
        rs.deleteCurrent();
        removed.dayCount = int(rs.recordCount());
    }
    writeScoreTotal(removed.scoreTotal, true);
    trans.commit();
    return removed;
}

void DiaryStore::setFavourite(const QDate& day, int position, bool value) {
    db::Recordset rs;
    rs.setCursorLocation(db::CursorLocation::Client);
    rs.setFilter(db::Filter::eq(QStringLiteral("Date"), day));
    rs.open(kDiary, connection_, db::CursorType::Static, db::LockType::Pessimistic);
    // A position before the first row or past the last leaves no current row,
    // which the field change refuses.
    if (position < 1 || position > rs.recordCount())
        gRaise(db::err::BofOrEof, QStringLiteral("没有当前记录"));
    rs.move(position - 1);
    rs.setField(QStringLiteral("Collect"), value);
    rs.update();
}

void DiaryStore::clearFavourites() {
    db::Recordset rs;
    rs.setCursorLocation(db::CursorLocation::Client);
    rs.setFilter(db::Filter::eq(QStringLiteral("Collect"), true));
    rs.open(kDiary, connection_, db::CursorType::Static, db::LockType::BatchOptimistic);
    for (; !rs.eof(); rs.moveNext())
        rs.setField(QStringLiteral("Collect"), false);
    db::Transaction trans(connection_);
    rs.updateBatch();
    trans.commit();
}

void DiaryStore::writeScoreTotal(long total, bool addIfMissing) {
    db::Recordset rs;
    rs.setCursorLocation(db::CursorLocation::Client);
    rs.open(kSettings, connection_, db::CursorType::Unspecified, db::LockType::Pessimistic);
    if (rs.eof()) {
        // The editor's save refuses a database without its settings row; a
        // delete makes the row again.
        if (!addIfMissing) gRaise(db::err::BofOrEof);
        rs.addNew();
    }
    rs.setField(QStringLiteral("Score"), int(total));
    rs.update();
}
