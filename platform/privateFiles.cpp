#include "platform/privateFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace privateFiles {
namespace {

bool isFolder(const QByteArray& path) {
    struct stat st;
    return ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

bool makeFolder(const QString& folder) {
    if (folder.isEmpty()) return false;
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    const QStringList parts = clean.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString level;
    for (const QString& part : parts) {
        level += QLatin1Char('/') + part;
        const QByteArray path = QFile::encodeName(level);
        if (isFolder(path)) continue;
        if (::mkdir(path.constData(), 0700) != 0) {
            // Someone else may have made it in between; then it is theirs to keep.
            if (errno == EEXIST && isFolder(path)) continue;
            return false;
        }
        // mkdir takes the umask off; a level made here is the owner's, exactly.
        // A file system that keeps no modes (a FAT stick) refuses; the level
        // is no wider than 0700 all the same.
        ::chmod(path.constData(), 0700);
    }
    return isFolder(QFile::encodeName(clean));
}

bool createFile(const QString& file) {
    const QByteArray path = QFile::encodeName(file);
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return errno == EEXIST && QFileInfo(file).isFile();
    ::fchmod(fd, 0600); // past the umask, as in makeFolder
    ::close(fd);
    return true;
}

void setOwnerOnly(const QString& file) {
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

} // namespace privateFiles
