#include "platform/codePage.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <mutex>

namespace codepage {
namespace {

constexpr const char* kCodePage = "CP936";

// The value of one code unit from a converter of its own.
quint16 valueOf(char16_t u) {
    const QChar c(u);
    if (c.isSurrogate()) return 63;
    QStringEncoder enc(kCodePage, QStringConverter::Flag::Stateless);
    const QByteArray b = enc.encode(QStringView(&c, 1));
    if (enc.hasError() || b.isEmpty() || b.size() > 2) return 63;
    const auto v = static_cast<unsigned char>(b[0]);
    // The converter's own substitute for a missing character.
    if (b.size() == 1) return (v == 0x1A && u != 0x1A) || (v == '?' && u != '?') ? 63 : v;
    return static_cast<quint16>(v * 256 + static_cast<unsigned char>(b[1]));
}

// Built once: 65536 code units, cheap to keep and it makes digests fast. A
// converter for each unit costs tens of milliseconds at sign-in, so the units
// are converted a block at a time and the bytes split into characters again
// (a lead byte starts a two-byte character). Where a block does not come back
// as one character per unit, its units are converted
// one by one. A character the code page lacks comes back as the converter's
// substitute.
const std::array<quint16, 65536>& table() {
    static std::array<quint16, 65536> t;
    static std::once_flag once;
    std::call_once(once, [] {
        constexpr int kBlock = 256;
        QStringEncoder enc(kCodePage, QStringConverter::Flag::Stateless);
        char16_t units[kBlock];
        for (int start = 0; start < 65536; start += kBlock) {
            const bool surrogates = start >= 0xD800 && start < 0xE000;
            bool whole = !surrogates;
            if (whole) {
                for (int i = 0; i < kBlock; ++i)
                    units[i] = char16_t(start + i);
                const QByteArray b = enc.encode(QStringView(units, kBlock));
                qsizetype at = 0;
                for (int i = 0; i < kBlock && whole; ++i) {
                    if (at >= b.size()) {
                        whole = false;
                        break;
                    }
                    const auto lead = static_cast<unsigned char>(b[at]);
                    if (lead >= 0x81 && lead <= 0xFE && at + 1 < b.size()) {
                        t[start + i] =
                            static_cast<quint16>(lead * 256 + static_cast<unsigned char>(b[at + 1]));
                        at += 2;
                    } else {
                        // The converter's own substitute for a missing character.
                        const int u = start + i;
                        t[u] = (lead == 0x1A && u != 0x1A) || (lead == '?' && u != '?') ? 63 : lead;
                        at += 1;
                    }
                }
                whole = whole && at == b.size();
            }
            if (!whole)
                for (int i = 0; i < kBlock; ++i)
                    t[start + i] = valueOf(char16_t(start + i));
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
