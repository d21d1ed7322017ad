#pragma once
#include <QString>

class QWidget;

// Start-up services: where the program and the user folder lie, the
// visual-styles manifest, the one-instance lock and the bad-profile choices.

// The program's folder (ending with "/") and its file name ("Rededera").
QString gProgramFolder();
QString gProgramFileName();

// gAppPath & gAppFileName & ".exe.manifest".
QString gManifestFile();
// Writes string 1000 and a final CR LF to the file; false when it cannot be written.
bool gWriteManifest(const QString& path);

// True for a command line that is "/S" once trimmed and upper-cased.
bool gIsHiddenSwitch(const QString& commandLine);

// Takes the per-user instance lock for the whole process (again true for the
// process that already holds it); false while another process holds it. A lock
// left behind by a crashed instance is taken over.
bool gClaimSingleInstance();
QString gInstanceLockFile();

// The stored PathOption, read as the start-up reads it: anything but a
// PathOption value counts as PathOption::Documents.
int gStoredPathOption();
// The user folder a PathOption value puts the account in (ends with "/"):
// the program's folder, "Rededera" in the documents folder, or `workPath`
// (the program's folder when blank).
QString gFolderOfChoice(int option, const QString& workPath);
// Makes the user folder, owner-only, when it is not there; true when it is a
// folder now. A folder that is there keeps its mode.
bool gMakeUserFolder(const QString& folder);

// Resolves gPathOption, gDataPath, gDatabaseFile and gPictureFile from the
// settings and creates the user folder; a folder that cannot be made raises 75.
void gInitPaths();

// The folder browser; a chosen folder is stored as PathOption::Chosen and WorkPath.
bool gChooseDataFolder(QWidget* owner);

// The choices offered for a bad profile (message 117). ReadAgain: the caller
// reads the profile again; Done: the caller gives up (Main already ran again,
// or the user closed). Recreating sets the old profile aside under the first
// free ".old" name, never over another file.
enum class gBadProfileRoad { ReadAgain, Done };
gBadProfileRoad gBadProfileChoices();

// A profile that is there but that the system will not let us read (message
// 148, naming it and the reason): another folder or close, never recreate.
gBadProfileRoad gUnreadableProfileChoices(int systemError);

// Whether the user folder gDataPath can hold the account. When it cannot,
// says so with the system's reason and offers another folder (message 147)
// until the folder can be used (true), or another folder was chosen and Main
// ran again there, or the user closed (false). Nothing is made in the folder.
bool gUserFolderUsable();

// Registry places the start-up writes.
inline const QString kRunKey = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run");
inline const QString kShellFoldersKey =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");

namespace gStartupSeam {
// Tests stand in for the program: its folder and file name.
void setProgram(const QString& folder, const QString& fileName);
void reset();
// Lets go of the instance lock (tests; the program holds it to the end).
void releaseInstanceLock();
} // namespace gStartupSeam
