#pragma once
// Where the wizard's windows open: centred on the screen, a message box on the
// wizard, whether or not a window manager places them. Qt's own centring
// allows for a title bar it only guesses at, so without a window manager the
// windows open that much too high.
class QWidget;

namespace setup {

// Centres `window` when it is shown (on `owner`'s window when given, else on
// its screen's free area), allowing for a frame only once the platform knows it.
void centreOnShow(QWidget* window, const QWidget* owner = nullptr);

} // namespace setup
