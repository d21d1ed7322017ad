#pragma once
#include <QIcon>
#include <QString>

// Registers every form of the program with the form registry.
void gRegisterForms();

// Loads Qt's own Simplified Chinese texts for its standard dialogs (file, folder,
// colour, print) from `folder` (Qt's translations folder when empty) and makes
// Chinese the default locale. False when the file is missing: the program still
// runs, with those dialogs in English.
bool gLoadQtTranslations(const QString& folder = {});

// The program's icon (the notification icon's picture) at the usual sizes.
QIcon gProgramIcon();

// What the desktop sees of the program: every window's icon, the desktop entry
// that groups its windows, and Qt's own dialogs (not the desktop's) in Chinese.
void gSetUpDesktop();

// The end of the session (logout, shutdown, the terminal gone). Saving keeps the
// open entry's body as its draft, asking nothing; false when it could not be
// written. Ending saves, closes the database and ends the program at once.
bool gSaveForSessionEnd();
[[noreturn]] void gEndSession();
// Makes SIGTERM, SIGHUP and the desktop's session manager end the session so.
void gWatchSessionEnd();

// Runs the program: the application object, the forms, Main and the event loop.
int gRunProgram(int argc, char** argv);
