#include "core/ui/gLinkLabel.h"

#include "core/ui/gFocusMark.h"
#include "core/model/gResIds.h"
#include "core/ui/gResources.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

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
    setCursor(gLoadResCursor(Res::HandCursor));
    setHighlight(highlight);
    setFocusPolicy(Qt::TabFocus);
}

void gLinkLabel::setHighlight(bool on) {
    QPalette p = palette();
    const QPalette plain;
    const QColor live = on ? p.color(QPalette::Active, QPalette::Highlight)
                           : plain.color(QPalette::Active, QPalette::WindowText);
    p.setColor(QPalette::Active, QPalette::WindowText, live);
    p.setColor(QPalette::Inactive, QPalette::WindowText, live);
    p.setColor(QPalette::Disabled, QPalette::WindowText,
               plain.color(QPalette::Disabled, QPalette::WindowText));
    setPalette(p);
}

bool gLinkLabel::event(QEvent* e) {
    // Pages hand every link the hand cursor, the disabled ones too.
    if (e->type() == QEvent::CursorChange && !isEnabled() && testAttribute(Qt::WA_SetCursor)) unsetCursor();
    // A focused link takes its keys before the window's Return and Escape buttons do.
    if (e->type() == QEvent::ShortcutOverride && gIsPressKey(static_cast<QKeyEvent*>(e))) {
        e->accept();
        return true;
    }
    return QLabel::event(e);
}

void gLinkLabel::changeEvent(QEvent* e) {
    if (e->type() == QEvent::EnabledChange) {
        if (isEnabled())
            setCursor(gLoadResCursor(Res::HandCursor));
        else
            unsetCursor();
    }
    QLabel::changeEvent(e);
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

void gLinkLabel::paintEvent(QPaintEvent* e) {
    if (!gFocusMarkShown(this)) {
        QLabel::paintEvent(e);
        return;
    }
    QPainter p(this);
    if (pixmap().isNull()) {
        // A text link is often no bigger than its text: a frame would cross the
        // letters, so the focused link is drawn in the highlight's colours.
        const QPalette& pal = palette();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(pal.color(QPalette::Active, QPalette::Highlight));
        p.drawRoundedRect(QRectF(rect()), 2, 2);
        p.setPen(pal.color(QPalette::Active, QPalette::HighlightedText));
        p.setFont(font());
        const int wrap = wordWrap() ? int(Qt::TextWordWrap) : 0;
        p.drawText(contentsRect().adjusted(margin(), margin(), -margin(), -margin()), int(alignment()) | wrap,
                   text());
        return;
    }
    p.end();
    QLabel::paintEvent(e);
    QPainter frame(this);
    gDrawFocusMark(frame, rect(), this);
}

void gLinkLabel::keyPressEvent(QKeyEvent* e) {
    if (!gIsPressKey(e)) {
        QLabel::keyPressEvent(e);
        return;
    }
    e->accept();
    if (e->isAutoRepeat()) return;
    // The handlers may close the page this link lives on.
    QPointer<gLinkLabel> self(this);
    const QPoint mid = rect().center();
    Q_EMIT mouseDown(1, 0, mid.x(), mid.y());
    if (!self) return;
    Q_EMIT mouseUp(1, 0, mid.x(), mid.y());
    if (!self) return;
    Q_EMIT clicked();
}

void gLinkLabel::focusInEvent(QFocusEvent* e) {
    QLabel::focusInEvent(e);
    update();
}

void gLinkLabel::focusOutEvent(QFocusEvent* e) {
    QLabel::focusOutEvent(e);
    update();
}
