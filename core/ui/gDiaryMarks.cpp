#include "core/ui/gDiaryMarks.h"

#include "core/model/DiarySummaryStore.h"
#include "core/base/gError.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gState.h"

namespace {
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
    // Only the 42 visible days are read; a failed read changes no mark.
    const QSet<QDate> days =
        DiarySummaryStore(gConnection).daysWithEntries(view.VisibleDays(1), view.VisibleDays(42));
    for (int i = 1; i <= 42; ++i) {
        const QDate d = view.VisibleDays(i);
        view.setDayBold(d, days.contains(d));
    }
}
