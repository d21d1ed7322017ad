#pragma once
#include <functional>

// The end of the user's session, the ways this desktop tells it: SIGTERM (the
// session's processes are stopped at logout or shutdown, or a plain `kill`),
// SIGHUP (the terminal or session it ran in went away), the session manager's
// request to save (Qt's commitDataRequest, after which the session may also go
// on) and its order to quit (a Quit event sent to the application).
namespace sessionEnd {

struct Handlers {
    // Keep what would be lost, asking nothing; the program goes on.
    std::function<void()> save;
    // Keep what would be lost and end the program at once, asking nothing.
    std::function<void()> end;
    // True while the program runs; a Quit event then comes from the session
    // manager, not from the program ending by itself.
    std::function<bool()> running;
};

// Installs the handlers (a second call replaces them). The signals are caught
// by a handler that only writes a byte into a socket pair; the event loop reads
// it, so `end` runs on the program's own thread like any other event, also
// inside a dialog's loop.
void watch(Handlers handlers);

} // namespace sessionEnd
