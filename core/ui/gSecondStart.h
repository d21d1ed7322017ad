#pragma once
// A second start of the program: the running program listens on a local socket
// in the user's runtime folder, open to the user alone; a second start asks it
// to come forward there and ends without a word. A connection that says
// anything else is closed and changes nothing.
#include <QByteArray>
#include <QString>

// What a second start sends, and what the running program answers once it came forward.
inline const QByteArray kComeForwardRequest = QByteArrayLiteral("Rededera come forward\n");
inline const QByteArray kComeForwardAnswer = QByteArrayLiteral("Rededera came forward\n");

// How long a second start waits for the running program.
constexpr int kComeForwardWaitMs = 2000;

// The socket, "Rededera.socket" in the user's runtime folder ($XDG_RUNTIME_DIR,
// else the private one Qt makes in the temporary folder); "" when there is none.
QString gSecondStartSocket();

// The running program starts listening (it holds the instance lock, so a socket
// left there is a crashed instance's and is replaced); false when it cannot.
bool gListenForSecondStart();
void gStopListening();
bool gIsListening();

// The second start: true when the running program answered within `waitMs`.
bool gAskRunningToComeForward(int waitMs = kComeForwardWaitMs);

// What the running program does for a second start: while locked, the unlock
// window; else its main window shown, restored and raised; before the main
// window, the windows it shows (sign-in, account creation, today's classes).
void gComeForward();
