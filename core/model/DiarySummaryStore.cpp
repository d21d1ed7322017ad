#include "core/model/DiarySummaryStore.h"

#include "platform/db/db.h"

namespace {
const QString kSettings = QStringLiteral("SELECT * FROM DiarySettings");
const QString kScore = QStringLiteral("Score");
const QString kDate = QStringLiteral("Date");
} // namespace

bool DiarySummaryStore::addSettingsRowIfMissing() {
    db::Transaction trans(connection_);
    db::Recordset rs;
    rs.setCursorLocation(db::CursorLocation::Client);
    rs.open(kSettings, connection_, db::CursorType::Static, db::LockType::Optimistic);
    const bool missing = rs.recordCount() == 0;
    if (missing) {
        rs.addNew();
        rs.setField(kScore, 0);
        rs.update();
    }
    rs.close();
    trans.commit();
    return missing;
}

long DiarySummaryStore::scoreTotal() {
    db::Recordset rs;
    rs.setCursorLocation(db::CursorLocation::Client);
    rs.open(kSettings, connection_);
    try {
        return rs.integer(kScore);
    } catch (...) {
        // A missing total reads as 0; the editor keeps it from here on.
        return 0;
    }
}

long DiarySummaryStore::entryCount() {
    return connection_.count(QStringLiteral("Diary"));
}

void DiarySummaryStore::checkDateIndex() {
    // The smallest date is found by going down the index from its root page.
    connection_.execute(QStringLiteral("SELECT min(\"Date\") FROM \"Diary\""));
}

QSet<QDate> DiarySummaryStore::daysWithEntries(const QDate& first, const QDate& last) {
    db::Recordset rs;
    // Only the dates of the range are read, through the date index.
    rs.setFilter(db::Filter::between(kDate, first, last));
    rs.open(QStringLiteral("SELECT Date FROM Diary"), connection_, db::CursorType::Static);
    QSet<QDate> days;
    for (; !rs.eof(); rs.moveNext())
        days.insert(rs.date(kDate));
    return days;
}
