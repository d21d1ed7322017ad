#pragma once
// What the wizard installs and where: the folders it works with (each with a
// test seam), the main program's visual-styles manifest, safe file copies and
// the Start-menu entry.
#include <QByteArray>
#include <QString>

namespace setup {

namespace folders {
// The wizard's own folder, where the main program is shipped.
QString appDir();
// The per-user stand-in for Program Files: $HOME/.local/lib/, the per-user
// counterpart of /usr/lib where a program keeps its own private folder
// (file-hierarchy(7)). Not $XDG_DATA_HOME: that is meant for data, not programs.
QString programFilesDir();
// The current user's menu folder for programs: $XDG_DATA_HOME/applications/
// ($HOME/.local/share/applications/ when XDG_DATA_HOME is unset or relative).
QString applicationsDir();
// The current user's folder for scalable application icons:
// $XDG_DATA_HOME/icons/hicolor/scalable/apps/.
QString iconsDir();

namespace seam {
void setAppDir(const QString& dir);
void setProgramFilesDir(const QString& dir);
void setApplicationsDir(const QString& dir);
void reset();
} // namespace seam
} // namespace folders

// Names of the installed files.
inline constexpr char kProgramFolder[] = "Rededera";
inline constexpr char kMainProgram[] = "Rededera";
inline constexpr char kLauncher[] = "Kestrove";
inline constexpr char kManifestFile[] = "Rededera.exe.manifest";
inline constexpr char kShortcutFile[] = "rededera.desktop";
// The program's icon: its name in desktop entries, its file in the icon theme,
// and the wizard's own copy of it.
inline constexpr char kIconName[] = "rededera";
inline constexpr char kIconFile[] = "rededera.svg";
inline constexpr char kIconResource[] = ":/setup/rededera.svg";

// The main program's manifest text, lines joined by CR LF, no final line break.
const QString& manifestText();
// The bytes of the manifest file: the text, its own closing line break and the
// one the write adds.
QByteArray manifestFileBytes();

// Each of these returns false on failure and then sets *why, when given, to the
// system's text for the reason.

// Creates a folder and its parents; an existing folder is fine.
bool makeFolder(const QString& dir, QString* why = nullptr);
// Copies src over dst through a temporary file beside dst, so a failed copy
// leaves any earlier dst whole; keeps the source's permissions.
bool copyFileReplacing(const QString& src, const QString& dst, QString* why = nullptr);
// Writes bytes to path through a temporary file and a rename.
bool writeFileAtomic(const QString& path, const QByteArray& bytes, QString* why = nullptr);

// The .desktop entry that starts target from its own folder.
QByteArray desktopEntry(const QString& target);
// target quoted for a desktop entry's Exec key.
QString desktopExecQuote(const QString& target);

} // namespace setup
