#include "diary/gDiaryCollect.h"

#include "core/ui/gMsgBox.h"
#include "core/model/gMsgIds.h"
#include "core/model/gState.h"
#include "diary/DiaryStore.h"

void gSetDiaryCollect(const QDate& diaryDate, int position, bool value) {
    const int question = value ? Msg::ConfirmAddFavourite : Msg::ConfirmRemoveFavourite;
    if (gMsgBox(question, gButtonSet::YesNo) == gMsgResult::No) return;
    DiaryStore(gConnection).setFavourite(diaryDate, position, value);
}
