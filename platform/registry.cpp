#include "platform/registry.h"

#include "platform/privateFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

namespace reg {
namespace {

QString normKey(QString k) {
    k.replace(QLatin1Char('/'), QLatin1Char('\\'));
    while (k.endsWith(QLatin1Char('\\')))
        k.chop(1);
    return k.toLower();
}

bool isRun(long root, const QString& subKey, const QString& valueName) {
    return root == HKEY_CURRENT_USER &&
           normKey(subKey) == QLatin1String("software\\microsoft\\windows\\currentversion\\run") &&
           valueName.compare(QLatin1String("Rededera"), Qt::CaseInsensitive) == 0;
}

bool isPersonal(long root, const QString& subKey, const QString& valueName) {
    return root == HKEY_CURRENT_USER &&
           normKey(subKey) ==
               QLatin1String("software\\microsoft\\windows\\currentversion\\explorer\\shell folders") &&
           valueName.compare(QLatin1String("Personal"), Qt::CaseInsensitive) == 0;
}

QString rootName(long root) {
    switch (root) {
    case HKEY_CLASSES_ROOT:
        return QStringLiteral("HKEY_CLASSES_ROOT");
    case HKEY_CURRENT_USER:
        return QStringLiteral("HKEY_CURRENT_USER");
    case HKEY_LOCAL_MACHINE:
        return QStringLiteral("HKEY_LOCAL_MACHINE");
    default:
        return QStringLiteral("ROOT_%1").arg(root);
    }
}

QString storeKey(long root, const QString& subKey, const QString& valueName) {
    // QSettings treats "/" as a group separator; keep the key path readable.
    QString k = rootName(root) + QLatin1Char('\\') + normKey(subKey);
    k.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return k + QLatin1Char('/') + valueName;
}

// Desktop files escape \ \n \t \r \s inside string values.
QString escapeValue(const QString& s) {
    QString out;
    for (QChar c : s) {
        if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else
            out += c;
    }
    return out;
}

QString unescapeValue(const QString& s) {
    QString out;
    for (int i = 0; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('\\') && i + 1 < s.size()) {
            const QChar n = s[++i];
            if (n == QLatin1Char('n'))
                out += QLatin1Char('\n');
            else if (n == QLatin1Char('t'))
                out += QLatin1Char('\t');
            else if (n == QLatin1Char('r'))
                out += QLatin1Char('\r');
            else if (n == QLatin1Char('s'))
                out += QLatin1Char(' ');
            else
                out += n;
        } else {
            out += s[i];
        }
    }
    return out;
}

// The value's data is a program path followed by switches ("/s"); the path may
// hold blanks, so the trailing words that begin with "/" are the arguments.
QStringList splitData(const QString& data) {
    QString d = data.trimmed();
    if (d.startsWith(QLatin1Char('"'))) {
        const int end = d.indexOf(QLatin1Char('"'), 1);
        if (end > 0) {
            QStringList parts{d.mid(1, end - 1)};
            const QString rest = d.mid(end + 1).trimmed();
            if (!rest.isEmpty()) parts += rest.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            return parts;
        }
    }
    QStringList words = d.split(QLatin1Char(' '));
    QStringList args;
    while (words.size() > 1 && words.last().startsWith(QLatin1Char('/')) &&
           !words.last().mid(1).contains(QLatin1Char('/'))) {
        args.prepend(words.takeLast());
    }
    while (words.size() > 1 && words.last().isEmpty())
        words.removeLast();
    return QStringList{words.join(QLatin1Char(' '))} + args;
}

bool writeAutostart(const QString& data) {
    const QStringList parts = splitData(data);
    QStringList exec;
    for (const QString& p : parts)
        exec += quoteExecArg(p);
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Rededera\n"
                                        "Exec=%1\n"
                                        "Icon=rededera\n"
                                        "X-GNOME-Autostart-enabled=true\n")
                             .arg(escapeValue(exec.join(QLatin1Char(' '))));
    const QString path = autostartFile();
    if (!privateFiles::makeFolder(QFileInfo(path).absolutePath())) return false;
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    // It names the program the session starts: the user's alone, whatever the umask.
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QByteArray bytes = text.toUtf8();
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

std::optional<QString> readAutostart() {
    QFile f(autostartFile());
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1String("Exec="))) {
            return splitExec(unescapeValue(line.mid(5))).join(QLatin1Char(' '));
        }
    }
    return std::nullopt;
}

} // namespace

QString autostartFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/rededera.desktop");
}

QString storeFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Rededera/registry.ini");
}

QString quoteExecArg(const QString& arg) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString a = arg;
    a.replace(QLatin1Char('%'), QStringLiteral("%%"));
    bool needs = a.isEmpty();
    for (QChar c : a)
        if (reserved.contains(c)) needs = true;
    if (!needs) return a;
    QString out = QStringLiteral("\"");
    for (QChar c : a) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        out += c;
    }
    return out + QLatin1Char('"');
}

QStringList splitExec(const QString& exec) {
    QStringList out;
    QString cur;
    bool inQuote = false, have = false;
    for (int i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (inQuote) {
            if (c == QLatin1Char('\\') && i + 1 < exec.size()) {
                cur += exec[++i];
            } else if (c == QLatin1Char('"')) {
                inQuote = false;
            } else {
                cur += c;
            }
        } else if (c == QLatin1Char('"')) {
            inQuote = have = true;
        } else if (c == QLatin1Char(' ')) {
            if (have) out += cur;
            cur.clear();
            have = false;
        } else {
            cur += c;
            have = true;
        }
    }
    if (have) out += cur;
    for (QString& s : out)
        s.replace(QStringLiteral("%%"), QStringLiteral("%"));
    return out;
}

bool setString(long root, const QString& subKey, const QString& valueName, const QString& data) {
    if (isRun(root, subKey, valueName)) return writeAutostart(data);
    if (isPersonal(root, subKey, valueName)) return false; // the desktop owns that folder
    // Beside the settings file and kept like it: folder 0700, file 0600.
    if (!privateFiles::makeFolder(QFileInfo(storeFile()).absolutePath()) ||
        !privateFiles::createFile(storeFile()))
        return false;
    QSettings s(storeFile(), QSettings::IniFormat);
    s.setValue(storeKey(root, subKey, valueName), data);
    s.sync();
    privateFiles::setOwnerOnly(storeFile());
    return s.status() == QSettings::NoError;
}

std::optional<QString> getString(long root, const QString& subKey, const QString& valueName) {
    if (isRun(root, subKey, valueName)) return readAutostart();
    if (isPersonal(root, subKey, valueName)) {
        const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (docs.isEmpty()) return std::nullopt;
        return docs;
    }
    QSettings s(storeFile(), QSettings::IniFormat);
    const QString k = storeKey(root, subKey, valueName);
    if (!s.contains(k)) return std::nullopt;
    return s.value(k).toString();
}

bool deleteValue(long root, const QString& subKey, const QString& valueName) {
    if (isRun(root, subKey, valueName)) {
        QFile f(autostartFile());
        return !f.exists() || f.remove();
    }
    if (isPersonal(root, subKey, valueName)) return false;
    QSettings s(storeFile(), QSettings::IniFormat);
    const QString k = storeKey(root, subKey, valueName);
    if (!s.contains(k)) return false;
    s.remove(k);
    s.sync();
    privateFiles::setOwnerOnly(storeFile());
    return s.status() == QSettings::NoError;
}

} // namespace reg
