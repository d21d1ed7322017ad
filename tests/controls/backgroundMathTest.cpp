// Colour arithmetic, palette and caption fitting of the shaded background panel.
#include "controls/gPanelMath.h"
#include "core/base/gColor.h"

#include <gtest/gtest.h>

namespace {
struct PercentCase {
    int value, max, expected;
};
} // namespace

TEST(BackgroundMath, GetPercentRoundsDownInFloatingPointAndClamps) {
    const PercentCase cases[] = {
        {29, 100, 28}, // 29 / 100 * 100 lies just below 29
        {5, 0, 0},     // no division by zero
        {7, 5, 100},   // value limited to max
        {1, 28, 3},    {27, 28, 96}, {28, 28, 100},
        {0, 28, 0},    {14, 28, 50}, {57, 100, 56}, // another value the integer form gets wrong
        {-5, 0, 0},    {3, -4, 100},
    };
    for (const auto& c : cases)
        EXPECT_EQ(gGetPercent(c.value, c.max), c.expected) << c.value << " of " << c.max;
}

TEST(BackgroundMath, BlendColorRoundsHalvesToEven) {
    struct Case {
        long c1, c2;
        double p;
        long expected;
    };
    const long light5 = gRGB(212, 255, 255); // palette 5 lightened by 80
    const Case cases[] = {
        {light5, 0xBDD784, 25, gRGB(192, 245, 238)},       // blue 255 - 16.5 = 238.5 -> 238
        {gRGB(0, 0, 0), gRGB(1, 3, 5), 50, gRGB(0, 2, 2)}, // 0.5 -> 0, 1.5 -> 2, 2.5 -> 2
        {gRGB(10, 20, 30), gRGB(200, 100, 0), 0, gRGB(10, 20, 30)},
        {gRGB(10, 20, 30), gRGB(200, 100, 0), 100, gRGB(200, 100, 0)},
        {gRGB(255, 185, 195), 0x7369EF, 3, gRGB(255, 183, 193)},
        {gRGB(255, 185, 195), 0x7369EF, 96, gRGB(240, 108, 118)},
        {0xFF000000 | gRGB(10, 10, 10), gRGB(20, 20, 20), 50, gRGB(15, 15, 15)}, // high byte ignored
    };
    for (const auto& c : cases)
        EXPECT_EQ(gBlendColor(c.c1, c.c2, c.p), c.expected) << std::hex << c.c1 << " " << c.c2 << " " << c.p;
}

TEST(BackgroundMath, AdjustColorClampsOnlyInTheDirectionOfTheDelta) {
    struct Case {
        long color;
        int delta;
        long expected;
    };
    const Case cases[] = {
        {0x7369EF, 80, gRGB(255, 185, 195)}, {0x7369EF, -50, gRGB(189, 55, 65)},
        {0x080408, -50, gRGB(0, 0, 0)},      {gRGB(255, 225, 0), 40, gRGB(255, 255, 40)},
        {0xFF7369EF, 0, 0x7369EF},           {gRGB(1, 2, 3), 1, gRGB(2, 3, 4)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(gAdjustColor(c.color, c.delta), c.expected)
            << std::hex << c.color << " " << std::dec << c.delta;
}

TEST(BackgroundMath, SplitColorReadsRedFromTheLowByte) {
    const gRgbParts p = gSplitColor(0xDE9E7B);
    EXPECT_EQ(p.r, 0x7B);
    EXPECT_EQ(p.g, 0x9E);
    EXPECT_EQ(p.b, 0xDE);
    EXPECT_EQ(gSplitColor(-1).r, 255); // only the low three bytes count
}

TEST(BackgroundMath, PaletteMatchesItsRedGreenBlueValues) {
    const int rgb[25][3] = {
        {239, 105, 115}, {247, 154, 90},  {255, 207, 82},  {255, 251, 90},  {140, 215, 132},
        {132, 215, 189}, {189, 199, 148}, {123, 162, 222}, {156, 130, 222}, {198, 138, 165},
        {206, 211, 231}, {74, 89, 123},   {173, 170, 173}, {82, 82, 82},    {8, 4, 8},
        {173, 28, 41},   {189, 81, 16},   {173, 125, 8},   {156, 154, 8},   {57, 121, 41},
        {145, 191, 10},  {99, 109, 57},   {41, 85, 148},   {82, 48, 148},   {140, 56, 99},
    };
    for (int i = 0; i < 25; ++i) {
        const auto c = gPaletteColor(i, gDefaultUserColor);
        ASSERT_TRUE(c.has_value()) << i;
        EXPECT_EQ(*c, gRGB(rgb[i][0], rgb[i][1], rgb[i][2])) << i;
    }
    EXPECT_EQ(gPaletteColor(25, 0x123456), 0x123456);
    EXPECT_EQ(gPaletteColor(25, gDefaultUserColor), 0xDE9E7B);
    EXPECT_FALSE(gPaletteColor(26, 0).has_value());
    EXPECT_FALSE(gPaletteColor(-1, 0).has_value());
}

TEST(BackgroundMath, FitCaptionChoosesLinesByHeight) {
    const QString abc = QStringLiteral("A\r\nB\r\nC");
    struct Case {
        QString caption;
        int height;
        QString expected;
    };
    const Case cases[] = {
        {abc, 0, "A"},
        {abc, 494, "A"},
        {abc, 495, "A\r\nB"},
        {abc, 614, "A\r\nB"},
        {abc, 615, abc},
        {abc, 974, abc},
        {abc, 975, "A\r\n\r\nB\r\n\r\nC"},
        {"A\r\nB\r\nC\r\nD", 2000, "A\r\n\r\nB\r\n\r\nC\r\nD"},
        {"Lesson\r\nRoom 12", 975, "Lesson\r\nRoom 12"}, // too few lines to spread
        {"Lesson", 975, "Lesson"},
        {"", 975, ""},
        {"One line", 300, "One line"},
        {"A\r\nB", 500, "A\r\nB"}, // no second break: everything
        {"\r\nB\r\nC", 300, ""},   // a caption that begins with a break
        {"\r\n\r\n", 975, "\r\n\r\n\r\n\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(gFitCaptionText(c.caption, c.height), c.expected)
            << c.caption.toStdString() << " @ " << c.height;
}
