#pragma once
// The program's process-wide state: every page reads and writes these.
#include <QDate>
#include <QPointer>
#include <QString>
#include <QVector>

#include <array>

#include "core/model/gOptions.h"

namespace db {
class Connection;
class Command;
class Recordset;
} // namespace db
class clsSchedule;
class QWidget;

// gPathOption's values, as the settings store keeps them ("PathOption").
namespace PathOption {
constexpr int ProgramFolder = 1;
constexpr int Documents = 2;
constexpr int Chosen = 3;
} // namespace PathOption

// Paths (start-up). Every folder path ends with "/".
extern QString gAppPath;      // the program's folder
extern QString gAppFileName;  // the program's file name ("Rededera")
extern int gPathOption;       // where the user folder lies: a PathOption value
extern QString gDataPath;     // the user folder
extern QString gDatabaseFile; // gDataPath + "Userdata.dat"
extern QString gPictureFile;  // gDataPath + "UserPicture.dat"
extern bool gHiddenStart;     // a "/S" start loads the main window hidden
extern QString gCommandLine;  // the arguments after the program's name, joined by blanks

// The signed-in account (its profile).
extern QString gUserName;
extern QString gPasswordHash;
extern QString gRecordKey;
extern int gPictureIndex;
// gOptions: the 21 options, declared in gOptions.h with their names.
extern int gLockTimeout;
extern int gAutoSaveInterval;
extern int gRemindLead;

// Program state.
extern bool gLocked;
extern bool gCloseMinimizes;          // True while the main window runs
extern bool gMessageOpen;             // True while a message box (or a modal help text) is open
extern qint16 gMsgButton;             // the last press on the message box
extern int gBalloonKind;              // 1 the clipboard offer, 0 any other balloon
extern QPointer<QWidget> gPopUpOwner; // the rich-text editor whose pop-out is open
extern bool gRestartPending; // the settings page changed the user folder; a restart reads everything again

// The account database: one connection, one command, one recordset, shared.
extern db::Connection gConnection;
extern db::Command gCommand;
extern db::Recordset gRecordset;

// The diary: running totals and the selected day.
extern long gDiaryCount;
extern long gScoreTotal;
extern QDate gDiaryDate; // null while no day is selected
extern int gDayCount;
extern int gDayIndex; // 1-based
// 1-based arrays (element 0 unused), gDayCount + 1 long.
extern QVector<QString> gDayTitles;
extern QVector<QString> gDayTexts;
extern QVector<QString> gDayRTFs;
extern QVector<int> gDayScores;

// The page switch's flag for the page it opens: start at gDiaryDate. The page
// that uses it clears it; the switch's other flags are read from the switch
// (gPageFlags).
extern bool gSetDiary;

// The timetable model and today's classes per period (index 0 unused).
extern clsSchedule gTimetable;
extern QVector<std::array<QString, 3>> gTodayCourses; // course name, room, period name
extern QVector<std::array<qint16, 2>> gTodayTimes;    // begin and end minutes; begin 0: no class

// Puts every account and diary variable back to its start value (tests, restart).
void gResetAccountState();
