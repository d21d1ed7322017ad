#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

#include "core/model/gOptions.h"

// The layout of the profile and key files: 4-byte records, one value in the
// first byte of each. Record 1 is the key K; every UTF-16LE byte of a field is a
// record K + 1 followed by the stored byte; each field ends with a record K. A
// byte b is stored as b + K (less 255 past 255), in the profile also XORed with K.
namespace scrambled {

constexpr int kRecordSize = 4;
// Neither file can legitimately be anywhere near this; bigger ones are refused unread.
constexpr qint64 kMaxFileSize = 1024 * 1024;

// The stored byte of text byte b, and back.
quint8 scrambleByte(quint8 b, quint8 key, bool xorStep);
quint8 unscrambleByte(quint8 e, quint8 key, bool xorStep);

// The whole file for these fields; key 0..254. Every record is written in full,
// value then three zero bytes.
QByteArray encode(const QStringList& fields, int key, bool xorStep);

// The fields the file closes, in order (a field still open at the end is not
// among them). Only the first byte of each record counts; a short last record
// is read like a whole one. nullopt for an empty file.
std::optional<QStringList> decode(const QByteArray& bytes, bool xorStep);

// Reads a file of at most kMaxFileSize bytes; nullopt when it is missing,
// unreadable, empty, too big or no file. Never creates the file. When a file
// (or a link to one) is there but the system refuses to read it,
// `systemError` holds the system's error number, otherwise 0.
std::optional<QByteArray> readFile(const QString& path, int* systemError = nullptr);

// Writes the file atomically (the old file stays whole on any failure),
// readable and writable by its owner only.
bool writeFile(const QString& path, const QStringList& fields, int key, bool xorStep);

// A fresh file key 0..range-1, drawn after re-seeding from the clock.
int drawKey(int range);

} // namespace scrambled

// The ten fields of "Userdata.ini".
struct AccountProfile {
    QString Signature = QStringLiteral("Rededera");
    QString FormatVersion = QStringLiteral("2");
    QString UserName;
    QString PasswordHash;
    QString RecordKey;
    QString PictureIndex;
    QString OptionBits;
    QString LockTimeout;
    QString AutoSaveInterval;
    QString RemindLead;

    static constexpr int kFieldCount = 10;
    QStringList fields() const;
    // The profile of the signed-in account, from the shared variables.
    static AccountProfile fromAccount();
};

// The six fields of a key file ("*.eky").
struct KeyFileRecord {
    QString Signature = QStringLiteral("Rededera");
    QString FormatVersion = QStringLiteral("2");
    QString KeyKind = QStringLiteral("Key File");
    QString UserName;
    QString PasswordHash;
    QString RecordKey;

    static constexpr int kFieldCount = 6;
    QStringList fields() const;
};

// Writes `bytes` to `path` atomically (the old file stays whole on any failure)
// with mode 0600, whatever the umask and whatever the replaced file allowed:
// the account's files hold its key and its diary.
bool gWriteOwnerOnly(const QString& path, const QByteArray& bytes);

// The profile's file name inside the user folder.
inline const QString kProfileFileName = QStringLiteral("Userdata.ini");
QString gProfileFile(); // gDataPath + "Userdata.ini"

// OptionBits text: character i + 1 is option i; "1".."9" (any leading number not
// 0) is on, anything else or a missing character is off.
std::array<bool, kOptionCount> gParseOptionBits(const QString& text);
QString gOptionBitsText(const std::array<bool, kOptionCount>& options);

// Applies the decoded profile fields to the account variables in order, each
// as it is read (so after a failure the fields before it are already applied).
// True when every check passed and the fields make whole groups of ten. A
// record key must be one to seven decimal digits.
bool gApplyProfileFields(const QStringList& fields);

// A record key as account creation draws it: one to seven decimal digits.
// Anything else cannot key a database, and a database keyed with it could
// never be opened again.
bool gIsRecordKey(const QString& text);

// Writes the profile of the account variables (new key 0..99). False when it
// could not be written; the old profile is then unchanged.
bool gSaveUserData();

// Reads the profile once without the choices (the loader's single attempt).
bool gReadUserData();
// The same; `groups` tells how many whole accounts the profile held.
bool gReadUserData(qsizetype& groups);
// The same; `systemError` is the system's error number when the profile is
// there but cannot be read, else 0.
bool gReadUserData(qsizetype& groups, int& systemError);

// Checks a key file against the signed-in account; only when all of it passes
// are gPasswordHash and gRecordKey taken from it.
bool ReadKeyFile(const QString& fileName);
