#include "core/ui/gPageSwitch.h"

#include "core/ui/gForms.h"

gPageSwitch* gPageSwitcher() {
    return forms::find<gPageSwitch>(QStringLiteral("frmMain"));
}

bool gChangeFrame(Page page, PageFlags flags) {
    gPageSwitch* m = gPageSwitcher();
    return m && m->gChangeFrame(page, flags);
}

PageFlags gPageFlags() {
    const gPageSwitch* m = gPageSwitcher();
    return m ? m->pageFlags() : PageFlags{};
}
