#pragma once
#include <QString>

#include <array>

// MD5 of a text as the program stores password digests: one byte per character,
// the character's single-byte code page value. The digest of the empty text
// (kEmptyDigest) marks an account without a password.
class clsMD5 {
public:
    // The four state words of the last digest, as signed decimal text.
    QString RegisterA() const;
    QString RegisterB() const;
    QString RegisterC() const;
    QString RegisterD() const;

    // 32 upper-case hexadecimal digits. A character that has no single-byte
    // value raises error 6 (overflow).
    QString DigestStrToHexStr(const QString& SourceString);

    static constexpr const char* kEmptyDigest = "D41D8CD98F00B204E9800998ECF8427E";

private:
    std::array<qint32, 4> state_{0x67452301, static_cast<qint32>(0xEFCDAB89u),
                                 static_cast<qint32>(0x98BADCFEu), 0x10325476};
};
