#pragma once
#include <QColor>

class QKeyEvent;
class QPainter;
class QRect;
class QWidget;

// The program's own controls draw themselves, so they draw the focus too: a
// frame in `w`'s palette highlight colour just inside `r`, over what the
// control drew.
void gDrawFocusMark(QPainter& p, const QRect& r, const QWidget* w);

// Whether `w` shows its focus mark: it has the focus and its window has been
// used from the keyboard (Tab, a shortcut), as the style's own controls decide.
bool gFocusMarkShown(const QWidget* w);

// Whether a key presses the focused control as a left click would: Space,
// Return or Enter, without Ctrl, Alt or Shift.
bool gIsPressKey(const QKeyEvent* e);
