#pragma once
#include <QString>

#include <optional>

// Registry values the program uses, mapped onto this desktop:
//  - HKCU ...\CurrentVersion\Run, value "Rededera": the XDG autostart entry;
//  - HKCU ...\Explorer\Shell Folders, value "Personal": the XDG documents folder;
//  - anything else: a small store file of our own.
// The files written here are the user's alone (0600), in folders made 0700.
namespace reg {

constexpr long HKEY_CLASSES_ROOT = static_cast<long>(0x80000000u);
constexpr long HKEY_CURRENT_USER = static_cast<long>(0x80000001u);
constexpr long HKEY_LOCAL_MACHINE = static_cast<long>(0x80000002u);

bool setString(long root, const QString& subKey, const QString& valueName, const QString& data);
std::optional<QString> getString(long root, const QString& subKey, const QString& valueName);
bool deleteValue(long root, const QString& subKey, const QString& valueName);

// Where the pieces live (they follow XDG_CONFIG_HOME and HOME).
QString autostartFile();
QString storeFile();

// Desktop Entry quoting of one Exec argument, and its reverse over a whole line.
QString quoteExecArg(const QString& arg);
QStringList splitExec(const QString& exec);

} // namespace reg
