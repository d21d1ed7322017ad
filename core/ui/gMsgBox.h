#pragma once
#include <QList>
#include <QString>
#include <QStringList>

#include "core/model/gMsgIds.h"

class gRuntimeError;

// Result codes of gMsgBox.
namespace gMsgResult {
constexpr quint8 None = 0, OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7;
constexpr quint8 First = 8, Second = 9, Third = 10;
} // namespace gMsgResult

// A message's kind, the digit its text begins with; it chooses the box's icon.
namespace gMsgKind {
constexpr int Error = 1, Warning = 2, Question = 3, Information = 4;
} // namespace gMsgKind

// Button sets of gMsgBox, named by their buttons.
namespace gButtonSet {
constexpr int Close = 0, OkCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4, RetryCancel = 5;
constexpr int ImportRecreateCancel = 6, RecreateLocateClose = 7;
// The last two of RecreateLocateClose, with their results: where recreating is no way out.
constexpr int LocateClose = 8;
} // namespace gButtonSet

// Shows string-table message `id` modally with button set 0..8 and up to nine
// arguments for "%1".."%9"; returns the result code of the button pressed.
quint8 gMsgBox(int id, int buttonSet, const QString& a1 = {}, const QString& a2 = {}, const QString& a3 = {},
               const QString& a4 = {}, const QString& a5 = {}, const QString& a6 = {}, const QString& a7 = {},
               const QString& a8 = {}, const QString& a9 = {});

// The error box for an error. continueRun false ends the program after it.
void gShowErrorBox(const gRuntimeError& error, bool continueRun);
// The error box for the error being handled (inside a catch block).
void gShowErrorBox(bool continueRun);

// Runs an event handler's body; nothing escapes a Qt slot, so an error that
// reaches here is shown in the error box and the handler is abandoned.
template <class F> void gGuard(F&& body) {
    try {
        body();
    } catch (...) {
        gShowErrorBox(true);
    }
}

// The presses on the message box, as gMsgButton keeps them.
namespace gMsgPress {
constexpr int None = 0, First = 1, Second = 2, Third = 3, HelpLink = 4;
} // namespace gMsgPress

// gShowHelp's id for the topic browser.
constexpr int gHelpTopics = 0;

// gHelpTopics opens the topic browser (modeless); any other id shows help text
// id + 300 modally.
void gShowHelp(int id);

// The substitution rule: "%" with "1".."9" becomes that argument, "%" with any
// other character becomes "%" (the character is dropped), a final "%" stays.
QString gSubstitute(const QString& text, const QStringList& args);

// The result a press (1..3 the buttons) gives in a button set; 0 for anything else.
quint8 gMsgResultOf(int buttonSet, int press);

// Test seam: while scripted, boxes are recorded instead of shown and return the
// queued answers (an empty queue answers with the set's cancel button, or its
// first button where it has none). HelpLink as an answer presses the help link.
namespace gMsgBoxSeam {
constexpr quint8 HelpLink = 255;
struct Shown {
    int id;
    int buttonSet;
    QStringList args;
    QString text; // after substitution, kind digit removed
};
struct ErrorShown {
    int number;
    QString description;
    bool continueRun;
};
void setScripted(bool on);
bool scripted();
void pushAnswer(quint8 answer);
void pushAnswers(std::initializer_list<quint8> answers);
int pendingAnswers();
const QList<Shown>& shown();
QList<int> shownIds();
const QList<ErrorShown>& errors();
const QList<int>& helpShown();
void reset();
} // namespace gMsgBoxSeam
