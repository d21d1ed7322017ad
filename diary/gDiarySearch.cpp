#include "diary/gDiarySearch.h"

#include "core/gState.h"
#include "platform/db/db.h"

#include <QScopeGuard>

#include <limits>

std::vector<gFoundEntry> gSearchDiary(const db::Filter& filter) {
    const auto release = qScopeGuard([] { gRecordset.close(); });
    const QString date = QStringLiteral("Date");
    std::vector<gFoundEntry> found;
    std::vector<qint64> marks;
    gCommand.setCommandText(QStringLiteral("SELECT Date,Title,Diary,Score,Collect FROM Diary"));
    gRecordset.setCursorLocation(db::CursorLocation::Client);
    gRecordset.setFilter(filter);
    gRecordset.setSort(db::Sort(date));
    // Every result shows its preview, so every plain text is read in the one pass.
    gRecordset.setCacheSize(std::numeric_limits<long>::max());
    gRecordset.open(gCommand, db::CursorType::Static);
    found.reserve(size_t(gRecordset.recordCount()));
    for (; !gRecordset.eof(); gRecordset.moveNext()) {
        found.push_back({0, gRecordset.date(date), gRecordset.text(QStringLiteral("Title")),
                         gRecordset.text(QStringLiteral("Diary")).left(50),
                         gRecordset.integer(QStringLiteral("Score"))});
        marks.push_back(gRecordset.bookmark());
    }
    gRecordset.close();
    if (found.empty()) return found;
    if (filter.isEmpty()) {
        // Every entry was read: each day's entries follow each other in table order.
        for (size_t k = 0; k < found.size(); ++k)
            found[k].number = k > 0 && found[k].date == found[k - 1].date ? found[k - 1].number + 1 : 1;
        return found;
    }

    // "NO.": the days' rows in the same order (by date, then table order) are
    // walked beside the found ones; only their dates are read, from the index.
    gCommand.setCommandText(QStringLiteral("SELECT Date FROM Diary"));
    gRecordset.setCursorLocation(db::CursorLocation::Client);
    // Entries without a date come first; they are numbered among themselves.
    if (found.front().date.isValid())
        gRecordset.setFilter(db::Filter::between(date, found.front().date, found.back().date));
    gRecordset.setSort(db::Sort(date));
    gRecordset.open(gCommand, db::CursorType::Static);
    size_t k = 0;
    QDate day;
    int place = 0;
    for (bool first = true; !gRecordset.eof() && k < found.size(); gRecordset.moveNext(), first = false) {
        const QDate d = gRecordset.date(date);
        place = !first && d == day ? place + 1 : 1;
        day = d;
        if (d == found[k].date && gRecordset.bookmark() == marks[k]) found[k++].number = place;
    }
    return found;
}
