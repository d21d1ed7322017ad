#include "core/model/clsMD5.h"

#include "core/base/gError.h"
#include "platform/codePage.h"

#include <QByteArray>
#include <QCryptographicHash>

QString clsMD5::RegisterA() const {
    return QString::number(state_[0]);
}
QString clsMD5::RegisterB() const {
    return QString::number(state_[1]);
}
QString clsMD5::RegisterC() const {
    return QString::number(state_[2]);
}
QString clsMD5::RegisterD() const {
    return QString::number(state_[3]);
}

QString clsMD5::DigestStrToHexStr(const QString& SourceString) {
    QByteArray message;
    message.reserve(SourceString.size());
    for (QChar c : SourceString) {
        const int code = codepage::ansiCode(c);
        // A double-byte character cannot be one message byte.
        if (code < 0 || code > 255) gRaise(gErr::Overflow);
        message.append(static_cast<char>(code));
    }
    const QByteArray digest = QCryptographicHash::hash(message, QCryptographicHash::Md5);
    for (int w = 0; w < 4; ++w) {
        quint32 v = 0;
        for (int b = 3; b >= 0; --b)
            v = (v << 8) | static_cast<quint8>(digest[w * 4 + b]);
        state_[w] = static_cast<qint32>(v);
    }
    return QString::fromLatin1(digest.toHex().toUpper());
}
