#include "core/ui/gResources.h"

#include "core/base/gError.h"

#include <QFile>
#include <QPainter>
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
        QSvgRenderer r(path);
        if (!r.isValid()) gRaise(gErr::InvalidPicture);
        const QSize s = size.isEmpty() ? r.defaultSize() : size;
        QPixmap pm(s);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        r.render(&p);
        return pm;
    }
    QPixmap pm(path);
    if (pm.isNull()) gRaise(gErr::InvalidPicture);
    if (!size.isEmpty() && pm.size() != size)
        pm = pm.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return pm;
}

QPixmap gRenderSvg(const QString& path, QSize size) {
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QSvgRenderer r(path);
    if (r.isValid()) {
        QPainter p(&pm);
        r.render(&p, QRectF(QPointF(0, 0), QSizeF(size)));
    }
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
