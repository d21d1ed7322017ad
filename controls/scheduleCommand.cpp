#include "controls/scheduleCommand.h"

#include "core/base/gError.h"
#include "core/ui/gFocusMark.h"
#include "core/ui/gLinkLabel.h"
#include "core/ui/gMsgBox.h"
#include "core/ui/gTwips.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace {
const QSize kBorder(gPx(30), gPx(30)); // the room around the picture for the pressed shift
const QPoint kPressed(gPx(30), gPx(30));

QSize naturalSize(const QPixmap& pm) {
    return pm.isNull() ? QSize(0, 0) : pm.deviceIndependentSize().toSize();
}

int heldButtons(Qt::MouseButtons held) {
    int b = 0;
    for (Qt::MouseButton one : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
        if (held & one) b |= gMouseButton(one);
    return b;
}
} // namespace

scheduleCommand::scheduleCommand(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    setMinimumSize(kBorder);
    setStretch(false);
    // Without a picture the button is just its border.
    resize(imageSize_ + kBorder);
}

void scheduleCommand::setStretch(bool on) {
    stretch_ = on;
    update();
}

void scheduleCommand::setPicture(const QPixmap& picture) {
    picture_ = picture;
    if (!stretch_) {
        imageSize_ = naturalSize(picture_);
        resize(imageSize_ + kBorder);
    }
    update();
}

void scheduleCommand::resizeEvent(QResizeEvent*) {
    if (stretch_) imageSize_ = (size() - kBorder).expandedTo(QSize(0, 0));
}

void scheduleCommand::paintEvent(QPaintEvent*) {
    gGuard([&] {
        QPainter p(this);
        if (!picture_.isNull() && !imageSize_.isEmpty()) {
            const QRect area(imagePos_, imageSize_);
            p.save();
            if (stretch_) {
                p.setRenderHint(QPainter::SmoothPixmapTransform);
                p.drawPixmap(area, picture_);
            } else {
                p.setClipRect(area);
                p.drawPixmap(imagePos_, picture_);
            }
            p.restore();
        }
        if (gFocusMarkShown(this)) gDrawFocusMark(p, rect(), this);
    });
}

QPoint scheduleCommand::pictureTwips(const QPoint& widgetPos) const {
    const QPoint rel = widgetPos - imagePos_;
    return {gTwips(rel.x()), gTwips(rel.y())};
}

void scheduleCommand::mousePressEvent(QMouseEvent* e) {
    gGuard([&] {
        const QPoint pos = e->position().toPoint();
        if (!captured_ && !pictureRect().contains(pos)) return;
        captured_ = true;
        const int button = gMouseButton(e->button());
        if (button == 1) leftDown_ = true;
        const QPoint tw = pictureTwips(pos);
        Q_EMIT mouseDown(button, gShiftState(e->modifiers()), tw.x(), tw.y());
        if (button == 1) {
            imagePos_ = kPressed;
            update();
        }
    });
    e->accept();
}

void scheduleCommand::mouseMoveEvent(QMouseEvent* e) {
    gGuard([&] {
        const QPoint pos = e->position().toPoint();
        if (!captured_ && !pictureRect().contains(pos)) return;
        const QPoint tw = pictureTwips(pos);
        Q_EMIT mouseMove(heldButtons(e->buttons()), gShiftState(e->modifiers()), tw.x(), tw.y());
    });
    e->accept();
}

void scheduleCommand::mouseReleaseEvent(QMouseEvent* e) {
    gGuard([&] {
        if (!captured_) return;
        const QPoint pos = e->position().toPoint();
        const int button = gMouseButton(e->button());
        const bool over = pictureRect().contains(pos);
        const QPoint tw = pictureTwips(pos);
        if (e->buttons() == Qt::NoButton) captured_ = false;
        const bool clicked = button == 1 && leftDown_ && over;
        if (button == 1) leftDown_ = false;
        Q_EMIT mouseUp(button, gShiftState(e->modifiers()), tw.x(), tw.y());
        if (button == 1) {
            imagePos_ = QPoint(0, 0);
            update();
        }
        if (clicked) Q_EMIT click();
    });
    e->accept();
}

bool scheduleCommand::event(QEvent* e) {
    // A focused button takes its keys before the window's Return button does.
    if (e->type() == QEvent::ShortcutOverride && gIsPressKey(static_cast<QKeyEvent*>(e))) {
        e->accept();
        return true;
    }
    return QWidget::event(e);
}

void scheduleCommand::keyPressEvent(QKeyEvent* e) {
    if (!gIsPressKey(e)) {
        QWidget::keyPressEvent(e);
        return;
    }
    e->accept();
    if (e->isAutoRepeat()) return;
    gGuard([&] {
        // The handlers may close the page this button lives on.
        QPointer<scheduleCommand> self(this);
        const QPoint mid = pictureTwips(imagePos_ + QPoint(imageSize_.width() / 2, imageSize_.height() / 2));
        Q_EMIT mouseDown(1, 0, mid.x(), mid.y());
        if (!self) return;
        Q_EMIT mouseUp(1, 0, mid.x(), mid.y());
        if (!self) return;
        Q_EMIT click();
    });
}

void scheduleCommand::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    update();
}

void scheduleCommand::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    update();
}
