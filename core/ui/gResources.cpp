#include "core/ui/gResources.h"

#include "core/base/gError.h"

#include <QFile>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>

namespace {
QString kindFolder(gResKind k) {
    switch (k) {
    case gResKind::Bitmap:
        return QStringLiteral("bitmap");
    case gResKind::Icon:
        return QStringLiteral("icon");
    case gResKind::Cursor:
        return QStringLiteral("cursor");
    }
    return {};
}

// Drawing an SVG costs a millisecond or more, and the same pictures are drawn
// again for every window that shows them: each is drawn once per size, then
// taken from Qt's picture cache (a picture is shared, and copied when changed).
QString cacheKey(const QString& path, QSize size) {
    return QStringLiteral("rededera:%1@%2x%3").arg(path).arg(size.width()).arg(size.height());
}
} // namespace

QString gResPath(gResKind kind, int id) {
    const QString base = QStringLiteral(":/res/%1/%2").arg(kindFolder(kind)).arg(id);
    for (const char* ext : {".svg", ".png"}) {
        const QString p = base + QLatin1String(ext);
        if (QFile::exists(p)) return p;
    }
    return {};
}

bool gHasResPicture(gResKind kind, int id) {
    if (kind == gResKind::Cursor && id == 101) return true;
    return !gResPath(kind, id).isEmpty();
}

QPixmap gLoadResPicture(int id, gResKind kind, QSize size) {
    const QString path = gResPath(kind, id);
    if (path.isEmpty()) gRaise(gErr::ResourceNotFound);
    if (path.endsWith(QLatin1String(".svg"))) {
        const QString key = cacheKey(path, size);
        QPixmap pm;
        if (QPixmapCache::find(key, &pm)) return pm;
        QSvgRenderer r(path);
        if (!r.isValid()) gRaise(gErr::InvalidPicture);
        pm = QPixmap(size.isEmpty() ? r.defaultSize() : size);
        pm.fill(Qt::transparent);
        {
            QPainter p(&pm);
            r.render(&p);
        }
        QPixmapCache::insert(key, pm);
        return pm;
    }
    QPixmap pm(path);
    if (pm.isNull()) gRaise(gErr::InvalidPicture);
    if (!size.isEmpty() && pm.size() != size)
        pm = pm.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return pm;
}

QPixmap gRenderSvg(const QString& path, QSize size) {
    // Its own key: drawn into the whole of `size`, not at the picture's own size.
    const QString key = cacheKey(path, size) + QStringLiteral(" fill");
    QPixmap pm;
    if (QPixmapCache::find(key, &pm)) return pm;
    pm = QPixmap(size);
    pm.fill(Qt::transparent);
    QSvgRenderer r(path);
    if (r.isValid()) {
        QPainter p(&pm);
        r.render(&p, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    QPixmapCache::insert(key, pm);
    return pm;
}

QIcon gLoadResIcon(int id) {
    const QString path = gResPath(gResKind::Icon, id);
    if (path.isEmpty()) gRaise(gErr::ResourceNotFound);
    return QIcon(path);
}

QCursor gLoadResCursor(int id) {
    if (id == 101) return QCursor(Qt::PointingHandCursor);
    const QString path = gResPath(gResKind::Cursor, id);
    if (path.isEmpty()) gRaise(gErr::ResourceNotFound);
    return QCursor(gLoadResPicture(id, gResKind::Cursor, QSize(32, 32)));
}
