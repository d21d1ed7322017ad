#pragma once
#include <QPoint>
#include <QRect>
#include <QSize>

// Layout numbers are kept in twips, as the forms were designed; 15 twips are one pixel.
constexpr int gTwipsPerPixel = 15;

constexpr int gPx(int twips) {
    return twips >= 0 ? (twips + gTwipsPerPixel / 2) / gTwipsPerPixel
                      : -((-twips + gTwipsPerPixel / 2) / gTwipsPerPixel);
}
constexpr int gTwips(int px) {
    return px * gTwipsPerPixel;
}

inline QPoint gPxPoint(int leftTw, int topTw) {
    return {gPx(leftTw), gPx(topTw)};
}
inline QSize gPxSize(int widthTw, int heightTw) {
    return {gPx(widthTw), gPx(heightTw)};
}
inline QRect gPxRect(int leftTw, int topTw, int widthTw, int heightTw) {
    return {gPx(leftTw), gPx(topTw), gPx(widthTw), gPx(heightTw)};
}

// A form's designed height includes its title bar; the client area is this much shorter.
constexpr int gTitleBarTwips = 480;
constexpr int gClientHeightTwips(int formHeightTwips) {
    return formHeightTwips - gTitleBarTwips;
}
