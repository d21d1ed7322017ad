#include "core/model/gFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QHash<QString, int>& injectedErrors() {
    static QHash<QString, int> errors;
    return errors;
}

// One spelling per place, with or without a final "/".
QString seamKey(const QString& path) {
    return QDir::cleanPath(path);
}

} // namespace

QString gSystemReason(int errnum) {
    switch (errnum) {
    case EACCES:
        return QStringLiteral("没有访问权限");
    case EPERM:
        return QStringLiteral("操作不被允许");
    case EROFS:
        return QStringLiteral("文件系统是只读的");
    case ENOENT:
        return QStringLiteral("文件不存在");
    case EIO:
        return QStringLiteral("磁盘读写错误");
    case ENOSPC:
        return QStringLiteral("磁盘已满");
    case ENAMETOOLONG:
        return QStringLiteral("文件名太长");
    case ELOOP:
        return QStringLiteral("符号链接的层数过多");
    case ENOTDIR:
        return QStringLiteral("路径中有一部分不是文件夹");
    default:
        return QString::fromLocal8Bit(std::strerror(errnum));
    }
}

QString gFileReason(const QString& path, int errnum) {
    const QFileInfo info(path);
    if (errnum == ENOENT && info.isSymLink())
        return QStringLiteral("符号链接指向的 \"%1\" 不存在").arg(info.symLinkTarget());
    return gSystemReason(errnum);
}

QString gFolderProblem(const QString& folder) {
    if (const int e = gFileSeam::injected(folder)) return gFileReason(folder, e);
    const QByteArray name = QFile::encodeName(folder);
    struct stat st;
    if (::stat(name.constData(), &st) != 0) return errno == ENOENT ? QString() : gFileReason(folder, errno);
    if (::access(name.constData(), R_OK | W_OK | X_OK) != 0) return gFileReason(folder, errno);
    return {};
}

QString gFileProblem(const QString& path) {
    if (const int e = gFileSeam::injected(path)) return gFileReason(path, e);
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (::lstat(name.constData(), &st) != 0) return errno == ENOENT ? QString() : gFileReason(path, errno);
    // The link's target, or why there is none.
    if (::stat(name.constData(), &st) != 0) return gFileReason(path, errno);
    if (!S_ISREG(st.st_mode)) return {};
    if (::access(name.constData(), R_OK | W_OK) != 0) return gFileReason(path, errno);
    return {};
}

bool gRenameNoReplace(const QString& from, const QString& to) {
    const QByteArray f = QFile::encodeName(from), t = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, f.constData(), AT_FDCWD, t.constData(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // File systems that cannot promise it: the name must at least be free now.
    struct stat st;
    if (::lstat(t.constData(), &st) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(f.constData(), t.constData()) == 0;
}

QString gMoveToFreeOldName(const QString& file, int* systemError) {
    if (systemError) *systemError = 0;
    for (int n = 0; n < 100000; ++n) {
        const QString copy =
            n == 0 ? file + QStringLiteral(".old") : QStringLiteral("%1.%2.old").arg(file).arg(n);
        if (gRenameNoReplace(file, copy)) {
            const QByteArray c = QFile::encodeName(copy);
            struct stat st;
            if (::lstat(c.constData(), &st) == 0 && S_ISREG(st.st_mode)) ::chmod(c.constData(), 0600);
            return copy;
        }
        if (errno != EEXIST && errno != ENOTEMPTY) break;
    }
    if (systemError) *systemError = errno;
    return {};
}

namespace gFileSeam {
void failWith(const QString& path, int errnum) {
    injectedErrors().insert(seamKey(path), errnum);
}
int injected(const QString& path) {
    if (injectedErrors().isEmpty()) return 0;
    return injectedErrors().value(seamKey(path), 0);
}
void reset() {
    injectedErrors().clear();
}
} // namespace gFileSeam
