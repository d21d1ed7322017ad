#include "platform/codePage.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

TEST(CodePage, ValuesOfSingleAndDoubleByteCharacters) {
    const struct {
        char16_t c;
        int value;
    } cases[] = {
        {u'A', 65},      {u' ', 32},       {u'~', 126},      {0x20AC, 0x80}, // "€" is one byte
        {u'中', 0xD6D0}, {u'六', 0xC1F9},  {0x3000, 0xA1A1},                 // ideographic space
        {0xE4, 63},      {0x0416, 0xA7A8}, {0xD800, 63},     {0xDC00, 63},   // lone surrogates
        {0x0E01, 63},                                                        // Thai: not in the code page
    };
    for (const auto& c : cases)
        EXPECT_EQ(codepage::ansiCode(QChar(c.c)), c.value) << int(c.c);
}

TEST(CodePage, DoubleByteCodesDecodeToTheirCharacters) {
    EXPECT_EQ(codepage::fromDoubleByte(0xD6, 0xD0), QChar(u'中'));
    EXPECT_EQ(codepage::fromDoubleByte(0xC1, 0xF9), QChar(u'六'));
    EXPECT_TRUE(codepage::fromDoubleByte(0xD6, 0x20).isNull());
    EXPECT_EQ(codepage::fromSingleByte(0x41), QChar(u'A'));
    EXPECT_EQ(codepage::toAnsi(QString::fromUtf8("a中€")), QByteArray("a\xD6\xD0\x80"));
}

// The table is built with one converter for all code units: each unit must get
// what a converter of its own gives it, whatever the units before it were.
TEST(CodePage, EveryCodeUnitGetsWhatAFreshConverterGivesIt) {
    int differ = 0;
    for (int u = 0; u < 65536; ++u) {
        const QChar c(static_cast<char16_t>(u));
        int expected = 63;
        if (!c.isSurrogate()) {
            QStringEncoder enc("CP936", QStringConverter::Flag::Stateless);
            const QByteArray b = enc.encode(QStringView(&c, 1));
            if (!enc.hasError() && b.size() == 1) {
                const auto v = static_cast<unsigned char>(b[0]);
                expected = (v == 0x1A && u != 0x1A) || (v == '?' && u != '?') ? 63 : v;
            } else if (!enc.hasError() && b.size() == 2) {
                expected = static_cast<unsigned char>(b[0]) * 256 + static_cast<unsigned char>(b[1]);
            }
        }
        if (codepage::ansiCode(c) != expected && ++differ <= 5)
            ADD_FAILURE() << "unit " << u << ": " << codepage::ansiCode(c) << " instead of " << expected;
    }
    EXPECT_EQ(differ, 0);
}
