#include "platform/settingsStore.h"

#include "platform/privateFiles.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace settings {
namespace {

// The file always belongs to the program, whatever app name a caller passes;
// the app name becomes the first level of the key.
QString keyOf(const QString& app, const QString& section, const QString& key) {
    if (app == QLatin1String("Rededera")) return section + QLatin1Char('/') + key;
    return app + QLatin1Char('.') + section + QLatin1Char('/') + key;
}

// The file holds where the user folder lies: another user who could change it
// could point the program at a folder of theirs. Its folder is made owner-only
// and the file is made before QSettings writes it, so the rewrite keeps mode 0600.
bool prepare() {
    const QString file = filePath();
    return privateFiles::makeFolder(QFileInfo(file).absolutePath()) && privateFiles::createFile(file);
}

// QSettings keeps the mode of the file it replaces; one made by an older
// version under another umask is brought back to 0600 here.
bool finish(QSettings& s) {
    s.sync();
    privateFiles::setOwnerOnly(filePath());
    return s.status() == QSettings::NoError;
}

} // namespace

QString filePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Rededera/Rededera.conf");
}

QString get(const QString& app, const QString& section, const QString& key, const QString& def) {
    QSettings s(filePath(), QSettings::IniFormat);
    return s.value(keyOf(app, section, key), def).toString();
}

bool save(const QString& app, const QString& section, const QString& key, const QString& value) {
    if (!prepare()) return false;
    QSettings s(filePath(), QSettings::IniFormat);
    s.setValue(keyOf(app, section, key), value);
    return finish(s);
}

bool remove(const QString& app, const QString& section, const QString& key) {
    if (!QFileInfo::exists(filePath())) return true; // nothing stored, nothing to remove
    QSettings s(filePath(), QSettings::IniFormat);
    s.remove(keyOf(app, section, key));
    return finish(s);
}

} // namespace settings
