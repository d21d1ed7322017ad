#include "core/model/clsMD5.h"
#include "core/base/gError.h"

#include <gtest/gtest.h>

namespace {

struct DigestCase {
    const char16_t* text;
    const char* digest;
};

class Md5Digest : public ::testing::TestWithParam<DigestCase> {};

TEST_P(Md5Digest, MatchesKnownDigest) {
    clsMD5 md5;
    EXPECT_EQ(md5.DigestStrToHexStr(QString::fromUtf16(GetParam().text)), QLatin1String(GetParam().digest));
}

INSTANTIATE_TEST_SUITE_P(Vectors, Md5Digest,
                         ::testing::Values(DigestCase{u"", "D41D8CD98F00B204E9800998ECF8427E"},
                                           DigestCase{u"abc", "900150983CD24FB0D6963F7D28E17F72"},
                                           // case matters, nothing is trimmed
                                           DigestCase{u"Abc", "35593B7CE5020EAE3CA68FD5B6F3E031"},
                                           DigestCase{u" abc", "12CFAF7FD98F33BE8038B3D56C18F061"},
                                           // the code page's single byte 80, not UTF-8
                                           DigestCase{u"\u20AC", "8D39DD7EEF115EA6975446EF4082951F"},
                                           // not in the code page: its "?"
                                           DigestCase{u"\u00E4", "D1457B72C3FB323A2671125AEF3EAB5D"}));

TEST(Md5DigestErrors, DoubleByteCharacterOverflows) {
    clsMD5 md5;
    try {
        md5.DigestStrToHexStr(QStringLiteral("ab中"));
        FAIL() << "no error";
    } catch (const gRuntimeError& e) {
        EXPECT_EQ(e.number(), gErr::Overflow);
    }
}

TEST(Md5DigestRegisters, HoldTheStateWordsOfTheLastDigestAsSignedNumbers) {
    clsMD5 md5;
    md5.DigestStrToHexStr(QString());
    // D41D8CD9 8F00B204 E9800998 ECF8427E, each word little-endian
    EXPECT_EQ(md5.RegisterA(), QStringLiteral("-645128748"));  // 0xD98C1DD4
    EXPECT_EQ(md5.RegisterB(), QStringLiteral("78774415"));    // 0x04B2008F
    EXPECT_EQ(md5.RegisterC(), QStringLiteral("-1744207639")); // 0x980980E9
    EXPECT_EQ(md5.RegisterD(), QStringLiteral("2118318316"));  // 0x7E42F8EC
    md5.DigestStrToHexStr(QStringLiteral("abc"));
    EXPECT_EQ(md5.RegisterA(), QString::number(static_cast<qint32>(0x98500190u)));
}

} // namespace
