#pragma once
#include "core/model/gPages.h"

#include <QRect>

class QWidget;

// What the pages need of the main window, which is built above them: its page
// switch, the area the pages are placed in, and the suspend item's check mark.
// The main window implements it; the pages reach it through the shell's
// registered windows (gShellApi.h), as the main window reaches the editor page
// through gEditorPage.
class gPageSwitch {
public:
    virtual ~gPageSwitch() = default;

    // Opens a page, or runs one of the switch's commands (Page::CloseCurrent,
    // HelpWindow, HelpMenu), with the flags for the page it opens; false when
    // the switch did not happen.
    virtual bool gChangeFrame(Page page, PageFlags flags = {}) = 0;
    // The flags of the last switch that happened; they keep until the next one.
    virtual PageFlags pageFlags() const = 0;
    // Where the pages are placed, and where a page goes inside it, in pixels.
    virtual QWidget* pageArea() const = 0;
    virtual QRect pageRect() const = 0;
    // Keeps the suspend menu item's check mark in step with the floating window.
    virtual void syncSuspendCheck() = 0;
};

// The loaded main window's page switch, or nullptr.
gPageSwitch* gPageSwitcher();
// The page switch of the loaded main window; false when there is none.
bool gChangeFrame(Page page, PageFlags flags = {});
// The loaded main window's page flags; none set when there is no main window.
PageFlags gPageFlags();
