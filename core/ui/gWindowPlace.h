#pragma once
// Where the program's windows open. Without a window manager a window would open
// at the top-left corner, over the one before it; with one, where the manager
// pleases. So each window is placed by the program: a window centred on the
// screen, a dialog centred on the window it belongs to.
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// The top-left corner that centres a window of `frame` size (frame included) in
// `on`, moved back inside `bounds` (the screen's free area) where it would stick out.
QPoint gCentredPos(const QRect& on, const QSize& frame, const QRect& bounds);

// Where a window of `frame` size goes so that it does not cover `other`: right of
// it, else left, else below, else above, `gap` pixels apart and inside `bounds`,
// with `other` where it is. Where the screen leaves no room beside it, both move
// to sit side by side (else one above the other) in its middle; where even that
// does not fit, the window is kept on screen as far right as it can.
struct gBesidePlaces {
    QPoint other;
    QPoint window;
};
gBesidePlaces gPlacesBeside(const QRect& other, const QSize& frame, const QRect& bounds, int gap);

// The frame the window manager puts around a window, as seen on a window of the
// program on screen now or before (none without a window manager).
QMargins gFrameMargins();

// The window's outer rectangle, its frame included once it has one.
QRect gOuterRect(const QWidget* window);

// The free area of the screen the window is on (or the pointer, or the primary one).
QRect gScreenArea(const QWidget* window);

// Centres the window on its owner window when one is given and on screen,
// otherwise on the screen.
void gCentreWindow(QWidget* window, const QWidget* owner = nullptr);

// Moves the window beside `other`, and `other` too where it must (see gPlacesBeside).
void gPlaceBeside(QWidget* window, QWidget* other);

// Centres the window when it is first shown, on `owner` when that is on screen
// then, else on the screen; unless the program placed it itself before (as the
// floating window and the pop-up editor are).
void gCentreOnFirstShow(QWidget* window, QWidget* owner = nullptr);

// Qt's own dialogs (file, folder, colour, print) centre themselves on their
// owner with a guess at a title bar, 40 pixels too high without a window
// manager: from now on every dialog that nothing else placed is centred on
// the window it belongs to (its parent's, else gOwnerWindow), or the screen.
void gCentreEveryDialog();

// Without a window manager nobody gives a window that comes up the keyboard
// focus: it takes the typed characters under the pointer, but no window is
// active, so Return, Escape and the shortcuts do nothing. From now on every
// window of the program that is shown asks for the focus itself (a tool window,
// a pop-up or one shown without activating does not); with a window manager
// this is what the manager does anyway.
void gFocusEveryShownWindow();

// The program's window a dialog belongs to now: the active window, else the
// newest of its windows on screen; nullptr when none is shown.
QWidget* gOwnerWindow(const QWidget* except = nullptr);
