#include "controls/gPanelMath.h"

#include "core/base/gColor.h"

#include <QFont>
#include <QFontMetrics>
#include <QTextLayout>

#include <array>
#include <cmath>

namespace {
constexpr std::array<long, 25> kPalette = {
    0x7369EF, 0x5A9AF7, 0x52CFFF, 0x5AFBFF, 0x84D78C, 0xBDD784, 0x94C7BD, 0xDEA27B, 0xDE829C,
    0xA58AC6, 0xE7D3CE, 0x7B594A, 0xADAAAD, 0x525252, 0x080408, 0x291CAD, 0x1051BD, 0x087DAD,
    0x089A9C, 0x297939, 0x0ABF91, 0x396D63, 0x945529, 0x943052, 0x63388C,
};

const QString kBreak = QStringLiteral("\r\n");

// Position of the first line break at or after `from` (0-based), or -1.
qsizetype findBreak(const QString& s, qsizetype from) {
    return s.indexOf(kBreak, from);
}
} // namespace

std::optional<long> gPaletteColor(int index, long userColor) {
    if (index == gPaletteUserIndex) return userColor;
    if (index < 0 || index >= static_cast<int>(kPalette.size())) return std::nullopt;
    return kPalette[static_cast<size_t>(index)];
}

gRgbParts gSplitColor(long color) {
    const long c = color & 0xFFFFFF;
    return {static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
            static_cast<int>((c >> 16) & 0xFF)};
}

long gAdjustColor(long color, int delta) {
    gRgbParts p = gSplitColor(color);
    int* channels[] = {&p.r, &p.g, &p.b};
    for (int* c : channels) {
        *c += delta;
        if (delta < 1) {
            if (*c < 0) *c = 0;
        } else if (*c > 255) {
            *c = 255;
        }
    }
    return gRGB(p.r, p.g, p.b);
}

int gGetPercent(int value, int max) {
    if (value > max) value = max;
    if (max == 0) return 0;
    // In floating point on purpose: 29 / 100 * 100 is just below 29 and gives 28.
    const double p = std::floor(static_cast<double>(value) / max * 100.0);
    return p > 100.0 ? 100 : static_cast<int>(p);
}

long gBlendColor(long c1, long c2, double percent) {
    const gRgbParts a = gSplitColor(c1);
    const gRgbParts b = gSplitColor(c2);
    auto mix = [percent](int x, int y) {
        return static_cast<int>(std::nearbyint(x + (y - x) * percent / 100.0));
    };
    return gRGB(mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b));
}

QString gFitCaptionText(const QString& caption, int heightTwips) {
    if (heightTwips < 615) {
        qsizetype p = findBreak(caption, 0);
        if (heightTwips >= 495) p = findBreak(caption, p < 0 ? 0 : p + 1);
        return p >= 0 ? caption.left(p) : caption;
    }
    if (heightTwips < 975) return caption;
    const qsizetype p1 = findBreak(caption, 0);
    const qsizetype p2 = p1 < 0 ? -1 : findBreak(caption, p1 + 1);
    if (p1 < 0 || p2 < 0) return caption;
    // "A\r\nB\r\nrest" becomes "A\r\n\r\nB\r\n\r\nrest".
    return caption.left(p1 + 2) + caption.mid(p1, p2 - p1 + 2) + caption.mid(p2);
}

int gPanelRowInset(int y, int h, int previous) {
    if (y == 1 || y == h - 2) return 4;
    if (y == 2 || y == h - 3) return 2;
    if (y == 3 || y == h - 4) return 2;
    if (y == 4 || y == h - 5) return 1;
    return previous;
}

gFittedText gFitTextLines(const QString& text, const QFont& font, int width, int height) {
    const QFontMetrics fm(font);
    width = qMax(width, 1);
    gFittedText out;
    for (const QString& para : text.split(QLatin1Char('\n'))) {
        if (para.isEmpty()) {
            out.lines.append(QString());
            continue;
        }
        QTextLayout layout(para, font);
        QTextOption opt;
        opt.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(opt);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            QString piece = para.mid(line.textStart(), line.textLength());
            while (piece.size() > 1 && piece.back().isSpace())
                piece.chop(1);
            out.lines.append(piece);
        }
        layout.endLayout();
    }
    // Measured as a label draws them: lines in a fallback font (Chinese in a
    // Latin font) are taller than the font's own line spacing.
    auto tall = [&](const QStringList& lines) {
        return fm.boundingRect(QRect(0, 0, width, 1 << 20), Qt::AlignCenter, lines.join(QLatin1Char('\n')))
            .height();
    };
    while (out.lines.size() > 1 && tall(out.lines) > height) {
        out.lines.removeLast();
        out.cut = true;
    }
    if (out.cut) {
        // The ellipsis goes on the last line that says something.
        while (out.lines.size() > 1 && out.lines.last().trimmed().isEmpty())
            out.lines.removeLast();
        const QString ellipsis(QChar(0x2026));
        QString last = out.lines.last();
        while (!last.isEmpty() && fm.horizontalAdvance(last + ellipsis) > width)
            last.chop(last.size() > 1 && last.at(last.size() - 1).isLowSurrogate() ? 2 : 1);
        out.lines.last() = last + ellipsis;
    }
    return out;
}

namespace {
double luminance(long color) {
    const gRgbParts p = gSplitColor(color);
    auto linear = [](int c) {
        const double v = c / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(p.r) + 0.7152 * linear(p.g) + 0.0722 * linear(p.b);
}
} // namespace

double gContrastRatio(long a, long b) {
    const double la = luminance(a), lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

long gReadableTextColor(long background) {
    constexpr long black = 0x000000, white = 0xFFFFFF;
    return gContrastRatio(white, background) > gContrastRatio(black, background) ? white : black;
}

long gPanelRowColor(long light, long base, int y, int h) {
    // The top row is a highlight, lighter still.
    return y == 1 ? gAdjustColor(light, 40) : gBlendColor(light, base, gGetPercent(y - 1, h - 2));
}
