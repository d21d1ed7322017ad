#pragma once
#include <QString>
#include <QStringList>

class QWidget;

// Shutting the computer down at the user's request. The user is asked first;
// only a confirmed request goes to the system (systemctl poweroff, which the
// session's login manager carries out). When that cannot be done the user is
// told so, and nothing else happens.
namespace shutDown {

// Where the request ended (the command itself runs on; its failure is reported
// to the user when it comes).
enum class Outcome { Declined, Requested, Unavailable };

// Asks and, on a yes, starts the shut-down. Never blocks on the command.
Outcome offer(QWidget* parent = nullptr);

// The texts the user sees.
QString questionText();
QString failureText();

// Test seam: while scripted nothing is shown and nothing is run. The question
// takes the queued answer (none left: the user declines); the command is
// recorded and takes the queued result (none left: it fails to start).
namespace seam {
struct CommandResult {
    bool started = false;
    int exitCode = 0;
};
void setScripted(bool on);
bool scripted();
// Whether the command can be found at all.
void setAvailable(bool on);
void pushAnswer(bool yes);
void pushResult(CommandResult result);
int questionsAsked();
// Each command that would have run: the program, then its arguments.
const QList<QStringList>& commands();
// The failure messages that would have been shown.
const QStringList& messages();
void reset();
} // namespace seam

} // namespace shutDown
