#include "core/gDiaryMarks.h"

#include "core/gDatabase.h"
#include "core/gError.h"
#include "core/gForms.h"
#include "core/gMsgBox.h"
#include "core/gState.h"

namespace {
// The shared recordset is released however the use ends, so the next user
// starts afresh.
struct ReleaseRecordset {
    ~ReleaseRecordset() { gRecordset.close(); }
};
} // namespace

void gMarkDiaryDays(bool fromReview) {
    const QString page = fromReview ? QStringLiteral("frmReview") : QStringLiteral("frmWelcome");
    QWidget* form = forms::find(page);
    QWidget* child = form ? form->findChild<QWidget*>(QStringLiteral("MonthView1")) : nullptr;
    auto* view = dynamic_cast<gDayMarkView*>(child);
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

void gSetDiaryCollect(const QDate& diaryDate, int position, bool value) {
    const int question = value ? Msg::ConfirmAddFavourite : Msg::ConfirmRemoveFavourite;
    if (gMsgBox(question, gButtonSet::YesNo) == gMsgResult::No) return;

    ReleaseRecordset release;
    gCommand.setCommandText(QStringLiteral("SELECT * FROM Diary"));
    gRecordset.setCursorLocation(db::CursorLocation::Client);
    gRecordset.setFilter(db::Filter::eq(QStringLiteral("Date"), diaryDate));
    gRecordset.open(gCommand, db::CursorType::Static, db::LockType::Pessimistic);
    // The rows of a day in table order, as the calling page listed them. A
    // position before the first row or past the last leaves no current row,
    // which the field change refuses.
    if (position < 1 || position > gRecordset.recordCount())
        gRaise(db::err::BofOrEof, QStringLiteral("没有当前记录"));
    gRecordset.move(position - 1);
    gRecordset.setField(QStringLiteral("Collect"), value);
    gRecordset.update();
}
