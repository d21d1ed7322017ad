#pragma once
#include <QColor>

// Colours are Windows colour numbers &HBBGGRR (red in the low byte) everywhere in
// the program and in the database; they become QColor only for painting.
inline QColor gWinColor(long bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}
inline long gWinColorNumber(const QColor& c) {
    return static_cast<long>(c.red()) | (static_cast<long>(c.green()) << 8) |
           (static_cast<long>(c.blue()) << 16);
}
constexpr long gRGB(int r, int g, int b) {
    return static_cast<long>(r & 0xFF) | (static_cast<long>(g & 0xFF) << 8) |
           (static_cast<long>(b & 0xFF) << 16);
}
