#include "platform/settingsStore.h"

#include <QDir>
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
    QDir().mkpath(QFileInfo(filePath()).absolutePath());
    QSettings s(filePath(), QSettings::IniFormat);
    s.setValue(keyOf(app, section, key), value);
    s.sync();
    return s.status() == QSettings::NoError;
}

bool remove(const QString& app, const QString& section, const QString& key) {
    QSettings s(filePath(), QSettings::IniFormat);
    s.remove(keyOf(app, section, key));
    s.sync();
    return s.status() == QSettings::NoError;
}

} // namespace settings
