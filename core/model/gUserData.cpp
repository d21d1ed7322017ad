#include "core/model/gUserData.h"

#include "core/model/gClock.h"
#include "core/model/gConvert.h"
#include "core/base/gError.h"
#include "core/model/gFiles.h"
#include "core/model/gState.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace scrambled {

quint8 scrambleByte(quint8 b, quint8 key, bool xorStep) {
    int s = b + key;
    if (s > 255) s = b + key - 255; // 255, not 256: files already written depend on it
    return static_cast<quint8>(xorStep ? (s ^ key) : s);
}

quint8 unscrambleByte(quint8 e, quint8 key, bool xorStep) {
    const int v = xorStep ? (e ^ key) : e;
    return static_cast<quint8>(v >= key ? v - key : v + 255 - key);
}

QByteArray encode(const QStringList& fields, int key, bool xorStep) {
    if (key < 0 || key > 254) gRaise(gErr::InvalidCall); // K + 1 must fit the record's byte
    const auto k = static_cast<quint8>(key);
    QByteArray out;
    auto record = [&out](int v) {
        out.append(static_cast<char>(v));
        out.append(3, '\0');
    };
    record(k);
    for (const QString& field : fields) {
        for (QChar c : field) {
            const char16_t u = c.unicode();
            for (quint8 b : {static_cast<quint8>(u & 0xFF), static_cast<quint8>(u >> 8)}) {
                record(k + 1);
                record(scrambleByte(b, k, xorStep));
            }
        }
        record(k);
    }
    return out;
}

std::optional<QStringList> decode(const QByteArray& bytes, bool xorStep) {
    if (bytes.isEmpty()) return std::nullopt;
    const auto key = static_cast<quint8>(bytes[0]);
    const qsizetype records = (bytes.size() + kRecordSize - 1) / kRecordSize;
    auto value = [&bytes](qsizetype r) { return static_cast<quint8>(bytes[r * kRecordSize]); };
    QStringList fields;
    QByteArray text;
    auto close = [&] {
        QString s;
        for (qsizetype i = 0; i + 1 < text.size(); i += 2)
            s += QChar(static_cast<char16_t>(static_cast<quint8>(text[i]) |
                                             (static_cast<quint8>(text[i + 1]) << 8)));
        fields += s;
        text.clear();
    };
    for (qsizetype r = 1; r < records; ++r) {
        const int v = value(r);
        if (v == key + 1) {
            // The next record is data, whatever it holds.
            if (++r >= records) break;
            text.append(static_cast<char>(unscrambleByte(value(r), key, xorStep)));
        } else if (v == key) {
            close();
        }
    }
    return fields;
}

std::optional<QByteArray> readFile(const QString& path, int* systemError) {
    auto refused = [systemError](int e) -> std::optional<QByteArray> {
        if (systemError) *systemError = e;
        return std::nullopt;
    };
    if (systemError) *systemError = 0;
    if (const int e = gFileSeam::injected(path)) return refused(e);
    const QFileInfo info(path);
    // A link to nothing is a file the system cannot find for us, not a missing one.
    if (!info.exists()) return info.isSymLink() ? refused(ENOENT) : std::nullopt;
    if (!info.isFile()) return std::nullopt;
    // Non-blocking: something swapped in after the check must not hang the reader.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return refused(errno);
    QByteArray bytes;
    int error = 0;
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        error = errno;
    } else if (S_ISREG(st.st_mode) && st.st_size > 0 && st.st_size <= kMaxFileSize) {
        bytes.resize(st.st_size);
        qsizetype got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) error = errno;
            if (n <= 0) break;
            got += n;
        }
        bytes.truncate(got);
    }
    ::close(fd);
    if (error) return refused(error);
    if (bytes.isEmpty()) return std::nullopt;
    return bytes;
}

bool writeFile(const QString& path, const QStringList& fields, int key, bool xorStep) {
    return gWriteOwnerOnly(path, encode(fields, key, xorStep));
}

int drawKey(int range) {
    gRandomize();
    return static_cast<int>(std::floor(gRnd() * range));
}

} // namespace scrambled

bool gWriteOwnerOnly(const QString& path, const QByteArray& bytes) {
    QSaveFile f(path);
    // Unbuffered, so a short write shows in write()'s result: a buffered
    // QSaveFile commits a file cut short by a full disk as if it were whole.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    // Set on the new file before anything is in it, so it is never readable by
    // others. A file system that keeps no modes (a FAT stick) refuses it; the
    // file is written all the same there.
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

QStringList AccountProfile::fields() const {
    return {Signature,    FormatVersion, UserName,    PasswordHash,     RecordKey,
            PictureIndex, OptionBits,    LockTimeout, AutoSaveInterval, RemindLead};
}

AccountProfile AccountProfile::fromAccount() {
    AccountProfile p;
    p.UserName = gUserName;
    p.PasswordHash = gPasswordHash;
    p.RecordKey = gRecordKey;
    p.PictureIndex = QString::number(gPictureIndex);
    p.OptionBits = gOptionBitsText(gOptions);
    p.LockTimeout = QString::number(gLockTimeout);
    p.AutoSaveInterval = QString::number(gAutoSaveInterval);
    p.RemindLead = QString::number(gRemindLead);
    return p;
}

QStringList KeyFileRecord::fields() const {
    return {Signature, FormatVersion, KeyKind, UserName, PasswordHash, RecordKey};
}

QString gProfileFile() {
    return gDataPath + kProfileFileName;
}

std::array<bool, kOptionCount> gParseOptionBits(const QString& text) {
    std::array<bool, kOptionCount> options{};
    for (int i = 0; i < static_cast<int>(kOptionCount); ++i)
        options[i] = i < text.size() && gVal(QString(text[i])) != 0;
    return options;
}

QString gOptionBitsText(const std::array<bool, kOptionCount>& options) {
    QString s;
    for (bool on : options)
        s += on ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

namespace {

// A number field that must convert as a whole; nullopt when it does not.
std::optional<qint16> strictInt(const QString& text) {
    try {
        return gCInt(text);
    } catch (const gRuntimeError&) {
        return std::nullopt;
    }
}

// A minute setting: the leading number, rounded; nullopt past the 16-bit range.
std::optional<int> minutes(const QString& text) {
    const double v = gRoundEven(gVal(text));
    if (!(v >= -32768 && v <= 32767)) return std::nullopt;
    return static_cast<int>(v);
}

} // namespace

bool gIsRecordKey(const QString& text) {
    if (text.isEmpty() || text.size() > 7) return false;
    return std::all_of(text.cbegin(), text.cend(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

bool gApplyProfileFields(const QStringList& fields) {
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QString& f = fields[i];
        switch (i % AccountProfile::kFieldCount) {
        case 0:
            if (f != QLatin1String("Rededera")) return false;
            break;
        case 1:
            if (strictInt(f) != std::optional<qint16>(2)) return false;
            break;
        case 2:
            gUserName = f;
            break;
        case 3:
            gPasswordHash = f;
            break;
        case 4:
            if (!gIsRecordKey(f)) return false;
            gRecordKey = f;
            break;
        case 5: {
            const auto v = strictInt(f);
            if (!v) return false;
            gPictureIndex = *v;
            break;
        }
        case 6:
            gOptions = gParseOptionBits(f);
            break;
        case 7:
        case 8:
        case 9: {
            const auto v = minutes(f);
            if (!v) return false;
            int& target = i % 10 == 7 ? gLockTimeout : i % 10 == 8 ? gAutoSaveInterval : gRemindLead;
            target = *v;
            break;
        }
        }
    }
    return fields.size() % AccountProfile::kFieldCount == 0;
}

bool gSaveUserData() {
    if (gDataPath.isEmpty()) return false; // no user folder yet: never a stray file in the working folder
    const int key = scrambled::drawKey(100);
    return scrambled::writeFile(gProfileFile(), AccountProfile::fromAccount().fields(), key, true);
}

bool gReadUserData(qsizetype& groups) {
    int systemError = 0;
    return gReadUserData(groups, systemError);
}

bool gReadUserData(qsizetype& groups, int& systemError) {
    groups = 0;
    const auto bytes = scrambled::readFile(gProfileFile(), &systemError);
    if (!bytes) return false;
    const auto fields = scrambled::decode(*bytes, true);
    if (!fields || !gApplyProfileFields(*fields)) return false;
    groups = fields->size() / AccountProfile::kFieldCount;
    return true;
}

bool gReadUserData() {
    qsizetype groups = 0;
    return gReadUserData(groups);
}

bool ReadKeyFile(const QString& fileName) {
    const auto bytes = scrambled::readFile(fileName);
    if (!bytes) return false;
    const auto fields = scrambled::decode(*bytes, false);
    if (!fields) return false;
    QString hash, held;
    std::optional<QString> recordKey;
    for (qsizetype i = 0; i < fields->size(); ++i) {
        const QString& f = (*fields)[i];
        switch (i % KeyFileRecord::kFieldCount) {
        case 0:
            if (f != QLatin1String("Rededera")) return false;
            break;
        case 1:
            if (strictInt(f) != std::optional<qint16>(2)) return false;
            break;
        case 2:
            if (f != QLatin1String("Key File")) return false;
            break;
        case 3:
            if (f != gUserName) return false;
            break;
        case 4:
            held = f;
            break;
        case 5:
            hash = held;
            recordKey = f;
            break;
        }
    }
    if (!recordKey) return false;
    gPasswordHash = hash;
    gRecordKey = *recordKey;
    return true;
}
