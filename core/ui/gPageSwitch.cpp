#include "core/ui/gPageSwitch.h"

#include "core/ui/gShellApi.h"

#include <QWidget>

gPageSwitch* gPageSwitcher() {
    gShellWindows* shell = gShellWindows::registered();
    return shell ? dynamic_cast<gPageSwitch*>(shell->mainWindow()) : nullptr;
}

bool gChangeFrame(Page page, PageFlags flags) {
    gPageSwitch* m = gPageSwitcher();
    return m && m->gChangeFrame(page, flags);
}

PageFlags gPageFlags() {
    const gPageSwitch* m = gPageSwitcher();
    return m ? m->pageFlags() : PageFlags{};
}
