#pragma once
#include <QString>

// The account's files and folder as the system sees them: why it refuses them,
// in words a user can act on, and setting a file aside without losing another.

// The system's reason for an error number: the program's own words for the
// reasons a user meets with the account's files, the system's text for others.
QString gSystemReason(int errnum);

// The reason for an error met on `path`; a symbolic link to nothing is named
// with the place it points to.
QString gFileReason(const QString& path, int errnum);

// Why the account cannot live in `folder` (it must be readable, writable and
// searchable); "" when it can, and when there is no folder of that name.
QString gFolderProblem(const QString& folder);

// Why the file at `path` cannot be read and written; "" when it can, when
// nothing is there, and when what is there is no file (a folder, a device).
// A symbolic link to nothing is a file that cannot be read.
QString gFileProblem(const QString& path);

// Renames without ever replacing what stands under the new name. errno tells
// why it failed.
bool gRenameNoReplace(const QString& from, const QString& to);

// Moves `file` to the first free one of file.old, file.1.old, file.2.old, ...:
// an earlier copy may be the only one left of an earlier account. A file moved
// is readable by its owner only. Its new name, or "" when it could not be
// moved (`systemError` then tells why).
QString gMoveToFreeOldName(const QString& file, int* systemError = nullptr);

namespace gFileSeam {
// Tests stand in for what no test can make without privileges (a read-only
// file system, a failing disk): every check and read of `path` made through
// these functions and the profile reader fails with `errnum`.
void failWith(const QString& path, int errnum);
// The error set for `path`; 0 for none.
int injected(const QString& path);
void reset();
} // namespace gFileSeam
