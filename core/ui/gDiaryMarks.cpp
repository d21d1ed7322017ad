#include "core/ui/gDiaryMarks.h"

#include "core/model/gDatabase.h"
#include "core/base/gError.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gState.h"

namespace {
// The shared recordset is released however the use ends, so the next user
// starts afresh.
struct ReleaseRecordset {
    ~ReleaseRecordset() { gRecordset.close(); }
};

gDiaryPages* diaryPages = nullptr;
} // namespace

gDiaryPages* gDiaryPages::registered() {
    return diaryPages;
}

void gDiaryPages::setRegistered(gDiaryPages* pages) {
    diaryPages = pages;
}

void gMarkDiaryDays(bool fromReview) {
    gDiaryPages* pages = gDiaryPages::registered();
    gDayMarkView* view = pages ? pages->monthView(fromReview) : nullptr;
    if (!view) gRaise(gErr::ObjectNotSet);
    gMarkDiaryDays(*view);
}

void gMarkDiaryDays(gDayMarkView& view) {
    const QDate first = view.VisibleDays(1);
    const QDate last = view.VisibleDays(42);

    ReleaseRecordset release;
    gRecordset.close();
    gCommand.setCommandText(QStringLiteral("SELECT Date FROM Diary"));
    // Only the 42 visible days are read; each day is then a filter on those rows.
    gRecordset.setFilter(db::Filter::between(QStringLiteral("Date"), first, last));
    gRecordset.open(gCommand, db::CursorType::Static);
    for (int i = 1; i <= 42; ++i) {
        const QDate d = view.VisibleDays(i);
        gRecordset.setFilter(db::Filter::eq(QStringLiteral("Date"), d));
        view.setDayBold(d, gRecordset.recordCount() > 0);
    }
}
