#pragma once
#include <QString>

// The per-user settings store: application name, section, key. Kept as an INI
// file at $XDG_CONFIG_HOME/Rededera/Rededera.conf and synced after every write;
// a folder made for it is 0700 and the file is 0600, whatever the umask.
namespace settings {

QString filePath();
QString get(const QString& app, const QString& section, const QString& key, const QString& def = {});
// False when the store could not be written.
bool save(const QString& app, const QString& section, const QString& key, const QString& value);
bool remove(const QString& app, const QString& section, const QString& key);

} // namespace settings
