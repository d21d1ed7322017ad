#pragma once
#include <QString>
#include <QStringList>

#include <optional>

// Colour arithmetic and caption fitting of the shaded background panel. Colours
// are Windows colour numbers &HBBGGRR (red in the low byte); only the low three
// bytes of a colour count.

// The custom colour a new panel starts with.
constexpr long gDefaultUserColor = 0xDE9E7B;
// Entries of the palette: 0..24 fixed colours, 25 the custom colour.
constexpr int gPaletteSize = 26;
constexpr int gPaletteUserIndex = 25;

// The palette colour of `index`; index 25 is `userColor`. Outside 0..25 there is none.
std::optional<long> gPaletteColor(int index, long userColor);

struct gRgbParts {
    int r = 0, g = 0, b = 0;
};
gRgbParts gSplitColor(long color);

// Adds `delta` to every channel. A delta below 1 only clamps at 0, any other only at 255.
long gAdjustColor(long color, int delta);

// Whole percentage of value/max, rounded down, clamped to 100; value is first
// limited to max; a max of 0 gives 0.
int gGetPercent(int value, int max);

// p % of the way from c1 to c2 per channel, rounded to the nearest whole number
// (halves to even).
long gBlendColor(long c1, long c2, double percent);

// What the caption label shows on a panel `heightTwips` high (outer height):
// below 495 the first line, below 615 the first two lines, below 975 the whole
// caption, from 975 on the first three lines spread by empty lines. A caption
// with too few lines to spread shows whole. Lines are separated by "\r\n".
QString gFitCaptionText(const QString& caption, int heightTwips);

// `text` (lines separated by "\n") laid out in `font` in lines at most `width`
// pixels wide, broken between words or, for a word wider than a line, anywhere;
// only the lines that fit `height` pixels are kept (at least one), and when
// anything was left out the last kept line ends in "…". `cut` tells whether
// anything was left out.
struct gFittedText {
    QStringList lines;
    bool cut = false;
};
class QFont;
gFittedText gFitTextLines(const QString& text, const QFont& font, int width, int height);

// The contrast ratio of two colours, from 1 (alike) to 21 (black and white), by
// their relative luminance.
double gContrastRatio(long a, long b);

// Black or white (0 or &HFFFFFF), whichever contrasts more with `background`.
long gReadableTextColor(long background);

// The colour of fill row y (1..h-2) of a panel h pixels high shaded from `light`
// at the top to `base` at the bottom.
long gPanelRowColor(long light, long base, int y, int h);

// The left inset of fill row y (1..h-2) of a panel h pixels high, given the
// inset of the row before it.
int gPanelRowInset(int y, int h, int previous);
