#pragma once

// Lists, trees, grids and text views keep their frame when they take the
// focus, and the style draws a window's default button as if it had the focus,
// so the keyboard user would not see where the focus went. Once this is
// installed, such a view carries the focus mark round its edge, and a push
// button just inside its own, while it has the focus and its window is used
// from the keyboard. Installing it again does nothing.
void gInstallFocusRing();
