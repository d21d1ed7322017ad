#include "core/ui/gFocusMark.h"

#include <QKeyEvent>
#include <QPainter>
#include <QWidget>

void gDrawFocusMark(QPainter& p, const QRect& r, const QWidget* w) {
    if (r.width() < 3 || r.height() < 3) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(w->palette().color(QPalette::Active, QPalette::Highlight), 1.5));
    p.drawRoundedRect(QRectF(r).adjusted(0.75, 0.75, -0.75, -0.75), 2, 2);
    p.restore();
}

bool gFocusMarkShown(const QWidget* w) {
    return w->hasFocus() && w->window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

bool gIsPressKey(const QKeyEvent* e) {
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::MetaModifier))
        return false;
    return e->key() == Qt::Key_Space || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}
