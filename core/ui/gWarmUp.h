#pragma once
#include <functional>

class QWidget;

// Work that makes a later window open faster (its pictures drawn, its fonts
// loaded), done while the program waits for the user anyway. The program sets
// it; the sign-in window asks for it once it has been painted.
void gSetWarmUp(std::function<void()> work);

// Runs the work from the event loop, once in the program's run, if `waiting`
// is still shown by then. Nothing when no work is set. A failure in it is
// dropped: the window it readies works the same without it.
void gWarmUpLater(QWidget* waiting);
