#include "core/gPageSwitch.h"

#include "core/gForms.h"

gPageSwitch* gPageSwitcher() {
    return forms::find<gPageSwitch>(QStringLiteral("frmMain"));
}

bool gChangeFrame(int Index, bool setDiary, bool editMode, bool returnReview) {
    gPageSwitch* m = gPageSwitcher();
    return m && m->gChangeFrame(Index, setDiary, editMode, returnReview);
}
