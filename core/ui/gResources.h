#pragma once
#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QString>

// Pictures compiled in from resources/<kind>/<number>.svg or .png. Kinds are
// kept apart: bitmap 101 and icon 101 are different pictures.
enum class gResKind { Bitmap, Icon, Cursor };

// The resource's path (":/res/bitmap/101.svg"), or "" when there is none.
QString gResPath(gResKind kind, int id);
bool gHasResPicture(gResKind kind, int id);

// Renders the picture; an SVG is drawn at `size` (its own size when empty).
// A missing picture raises error 326.
QPixmap gLoadResPicture(int id, gResKind kind = gResKind::Bitmap, QSize size = {});
QIcon gLoadResIcon(int id);
// Cursor 101 is the hand.
QCursor gLoadResCursor(int id);

// Draws the SVG at `path` (":/res/...") on a transparent picture of `size`;
// a missing or broken file gives the transparent picture.
QPixmap gRenderSvg(const QString& path, QSize size);
