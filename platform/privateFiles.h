#pragma once
#include <QString>

// Folders and files that belong to the user alone, whatever the umask: the
// settings folder and its files, the autostart entry, the user folder.
namespace privateFiles {

// Makes `folder` and every missing level above it, each new level with mode
// 0700. Levels that exist keep their modes. True when the folder is there.
bool makeFolder(const QString& folder);

// Creates `file` empty with mode 0600 when it does not exist, so a writer that
// keeps an existing file's mode (QSettings) never makes it readable by others.
// An existing file is left as it is. True when the file is there.
bool createFile(const QString& file);

// Sets `file` to mode 0600 (after a writer that may have kept a wider mode). A
// file system that keeps no modes refuses it; the file stays as it was written.
void setOwnerOnly(const QString& file);

} // namespace privateFiles
