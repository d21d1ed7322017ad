#include "platform/codePage.h"

#include <gtest/gtest.h>

TEST(CodePage, SingleAndDoubleByteValues) {
    EXPECT_EQ(codepage::ansiCode(QLatin1Char('A')), 65);
    EXPECT_EQ(codepage::ansiCode(QChar(0x20AC)), 0x80);
    EXPECT_GT(codepage::ansiCode(QChar(0x4E2D)), 255);
    EXPECT_EQ(codepage::ansiCode(QChar(0xE4)), 63);
    EXPECT_EQ(codepage::ansiCode(QChar(0xD800)), 63);
}
