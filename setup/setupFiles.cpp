#include "setupFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

namespace setup {
namespace folders {
namespace {
std::optional<QString> gAppDir, gProgramFilesDir, gApplicationsDir;

QString withSlash(QString dir) {
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    return dir;
}
} // namespace

QString appDir() {
    return withSlash(gAppDir ? *gAppDir : QCoreApplication::applicationDirPath());
}

QString programFilesDir() {
    return withSlash(gProgramFilesDir ? *gProgramFilesDir : QDir::homePath() + QStringLiteral("/.local/lib"));
}

namespace {
QString dataHome() {
    // XDG's base-directory rules ignore a relative XDG_DATA_HOME.
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || QDir::isRelativePath(data))
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return withSlash(data);
}
} // namespace

QString applicationsDir() {
    if (gApplicationsDir) return withSlash(*gApplicationsDir);
    return dataHome() + QStringLiteral("applications/");
}

QString iconsDir() {
    return dataHome() + QStringLiteral("icons/hicolor/scalable/apps/");
}

namespace seam {
void setAppDir(const QString& dir) {
    gAppDir = dir;
}
void setProgramFilesDir(const QString& dir) {
    gProgramFilesDir = dir;
}
void setApplicationsDir(const QString& dir) {
    gApplicationsDir = dir;
}
void reset() {
    gAppDir.reset();
    gProgramFilesDir.reset();
    gApplicationsDir.reset();
}
} // namespace seam
} // namespace folders

const QString& manifestText() {
    static const QString text =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
                       "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
                       "<assemblyIdentity\r\n"
                       "    version=\"1.0.0.0\"\r\n"
                       "    processorArchitecture=\"X86\"\r\n"
                       "    name=\"Microsoft.Shell.TaskSwitch \"\r\n"
                       "    type=\"win32\"\r\n"
                       "/>\r\n"
                       "<description>TaskSitch</description>\r\n"
                       "<dependency>\r\n"
                       "    <dependentAssembly>\r\n"
                       "        <assemblyIdentity\r\n"
                       "            type=\"win32\"\r\n"
                       "            name=\"Microsoft.Windows.Common-Controls\"\r\n"
                       "            version=\"6.0.0.0\"\r\n"
                       "            processorArchitecture=\"X86\"\r\n"
                       "            publicKeyToken=\"6595b64144ccf1df\"\r\n"
                       "            language=\"*\"\r\n"
                       "        />\r\n"
                       "    </dependentAssembly>\r\n"
                       "</dependency>\r\n"
                       "</assembly>");
    return text;
}

QByteArray manifestFileBytes() {
    return (manifestText() + QStringLiteral("\r\n\r\n")).toUtf8();
}

namespace {
bool failed(QString* why, const QString& reason) {
    if (why) *why = reason;
    return false;
}
} // namespace

bool makeFolder(const QString& dir, QString* why) {
    // QDir::mkpath keeps the reason to itself; the standard library reports it.
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(QFile::encodeName(dir).toStdString()), ec);
    if (ec) return failed(why, QString::fromLocal8Bit(ec.message()));
    if (!QFileInfo(dir).isDir()) return failed(why, QString::fromLocal8Bit(std::strerror(ENOTDIR)));
    return true;
}

bool copyFileReplacing(const QString& src, const QString& dst, QString* why) {
    QFile in(src);
    if (!in.open(QIODevice::ReadOnly)) return failed(why, in.errorString());
    QSaveFile out(dst);
    if (!out.open(QIODevice::WriteOnly)) return failed(why, out.errorString());
    char buf[64 * 1024];
    for (;;) {
        const qint64 n = in.read(buf, sizeof buf);
        if (n < 0) {
            const QString reason = in.errorString();
            out.cancelWriting();
            return failed(why, reason);
        }
        if (n == 0) break;
        if (out.write(buf, n) != n) {
            const QString reason = out.errorString();
            out.cancelWriting();
            return failed(why, reason);
        }
    }
    if (!out.commit()) return failed(why, out.errorString());
    QFile copy(dst);
    if (!copy.setPermissions(in.permissions())) return failed(why, copy.errorString());
    return true;
}

bool writeFileAtomic(const QString& path, const QByteArray& bytes, QString* why) {
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) return failed(why, out.errorString());
    if (out.write(bytes) != bytes.size()) {
        const QString reason = out.errorString();
        out.cancelWriting();
        return failed(why, reason);
    }
    if (!out.commit()) return failed(why, out.errorString());
    return true;
}

namespace {
// A desktop entry's string escapes (backslash, line breaks, tab).
QString escapeValue(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (QChar c : s) {
        switch (c.unicode()) {
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        default:
            out += c;
        }
    }
    return out;
}
} // namespace

QString desktopExecQuote(const QString& target) {
    // Always quoted: inside quotes ", `, $ and \ take a backslash; % is doubled
    // so it is no field code.
    QString q = QStringLiteral("\"");
    for (QChar c : target) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            q += QLatin1Char('\\');
        if (c == QLatin1Char('%')) q += QLatin1Char('%');
        q += c;
    }
    q += QLatin1Char('"');
    return q;
}

QByteArray desktopEntry(const QString& target) {
    const QString folder = QFileInfo(target).absolutePath();
    QString s = QStringLiteral("[Desktop Entry]\n"
                               "Type=Application\n"
                               "Version=1.0\n"
                               "Name=Rededera\n");
    s += QStringLiteral("Exec=") + escapeValue(desktopExecQuote(target)) + QLatin1Char('\n');
    s += QStringLiteral("Path=") + escapeValue(folder) + QLatin1Char('\n');
    s += QStringLiteral("Icon=") + QLatin1String(kIconName) + QLatin1Char('\n');
    s += QStringLiteral("Terminal=false\n"
                        "Categories=Office;\n");
    return s.toUtf8();
}

} // namespace setup
