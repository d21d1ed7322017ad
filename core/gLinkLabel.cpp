#include "core/gLinkLabel.h"

#include "core/gResources.h"

#include <QMouseEvent>

int gMouseButton(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int gShiftState(Qt::KeyboardModifiers m) {
    int s = 0;
    if (m & Qt::ShiftModifier) s |= 1;
    if (m & Qt::ControlModifier) s |= 2;
    if (m & Qt::AltModifier) s |= 4;
    return s;
}

gLinkLabel::gLinkLabel(const QString& text, QWidget* parent, bool highlight) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setCursor(gLoadResCursor(101));
    setHighlight(highlight);
}

void gLinkLabel::setHighlight(bool on) {
    QPalette p = palette();
    if (on)
        p.setColor(QPalette::WindowText, p.color(QPalette::Highlight));
    else
        p.setColor(QPalette::WindowText, QPalette().color(QPalette::WindowText));
    setPalette(p);
}

void gLinkLabel::mousePressEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    Q_EMIT mouseDown(gMouseButton(e->button()), gShiftState(e->modifiers()), p.x(), p.y());
    e->accept();
}

void gLinkLabel::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    Q_EMIT mouseUp(gMouseButton(e->button()), gShiftState(e->modifiers()), p.x(), p.y());
    if (e->button() == Qt::LeftButton) Q_EMIT clicked();
    e->accept();
}
