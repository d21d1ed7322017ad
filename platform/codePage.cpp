#include "platform/codePage.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <mutex>

namespace codepage {
namespace {

constexpr const char* kCodePage = "CP936";

// Built once: 65536 code units, cheap to keep and it makes digests fast.
const std::array<quint16, 65536>& table() {
    static std::array<quint16, 65536> t;
    static std::once_flag once;
    std::call_once(once, [] {
        for (int u = 0; u < 65536; ++u) {
            const QChar c(static_cast<char16_t>(u));
            if (c.isSurrogate()) {
                t[u] = 63;
                continue;
            }
            QStringEncoder enc(kCodePage, QStringConverter::Flag::Stateless);
            const QByteArray b = enc.encode(QStringView(&c, 1));
            if (enc.hasError() || b.isEmpty() || b.size() > 2) {
                t[u] = 63;
            } else if (b.size() == 1) {
                const auto v = static_cast<unsigned char>(b[0]);
                // The converter's own substitute for a missing character.
                t[u] = (v == 0x1A && u != 0x1A) || (v == '?' && u != '?') ? 63 : v;
            } else {
                t[u] = static_cast<quint16>(static_cast<unsigned char>(b[0]) * 256 +
                                            static_cast<unsigned char>(b[1]));
            }
        }
    });
    return t;
}

} // namespace

int ansiCode(QChar c) {
    return table()[c.unicode()];
}

QChar fromDoubleByte(unsigned char lead, unsigned char trail) {
    const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    QStringDecoder dec(kCodePage, QStringConverter::Flag::Stateless);
    const QString s = dec.decode(QByteArrayView(bytes, 2));
    if (dec.hasError() || s.size() != 1 || s[0] == QChar::ReplacementCharacter) return {};
    return s[0];
}

QChar fromSingleByte(unsigned char b) {
    const char byte = static_cast<char>(b);
    QStringDecoder dec(kCodePage, QStringConverter::Flag::Stateless);
    const QString s = dec.decode(QByteArrayView(&byte, 1));
    if (dec.hasError() || s.size() != 1 || s[0] == QChar::ReplacementCharacter) return {};
    return s[0];
}

QByteArray toAnsi(const QString& text) {
    QByteArray out;
    out.reserve(text.size() * 2);
    for (QChar c : text) {
        const int v = ansiCode(c);
        if (v > 255) out.append(static_cast<char>(v >> 8));
        out.append(static_cast<char>(v & 0xFF));
    }
    return out;
}

} // namespace codepage
