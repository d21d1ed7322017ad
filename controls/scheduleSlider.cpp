#include "controls/scheduleSlider.h"

#include "core/base/gColor.h"
#include "core/base/gError.h"
#include "core/ui/gFocusMark.h"
#include "core/ui/gMsgBox.h"
#include "core/ui/gTwips.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

namespace sliderMath {

int band(int value) {
    if (value < 20) return 0;
    if (value < 40) return 1;
    if (value <= 60) return 2;
    if (value <= 80) return 3;
    return 4;
}

double fillWidth(int value, int widthTw) {
    return value / 100.0 * trackWidth(widthTw);
}

std::optional<int> valueAt(double xTw, int widthTw) {
    const int track = trackWidth(widthTw);
    if (track <= 0) return std::nullopt;
    const double v = std::nearbyint((xTw - kTrackLeft) / track * 100.0);
    if (!(v >= 0 && v <= 100)) return std::nullopt;
    return int(v);
}

std::optional<int> valueAfterKey(int value, int key) {
    switch (key) {
    case Qt::Key_Right:
    case Qt::Key_Up:
        return qMin(value + 1, 100);
    case Qt::Key_Left:
    case Qt::Key_Down:
        return qMax(value - 1, 0);
    case Qt::Key_PageUp:
        return qMin(value + 10, 100);
    case Qt::Key_PageDown:
        return qMax(value - 10, 0);
    case Qt::Key_Home:
        return 0;
    case Qt::Key_End:
        return 100;
    default:
        return std::nullopt;
    }
}

} // namespace sliderMath

namespace {

constexpr int kHeightTw = 500;
constexpr int kBarLeft = 240, kBarTop = 60, kBarHeight = 330;
constexpr int kTrackTop = 120, kTrackHeight = 225;
constexpr int kThumbWidth = 630, kThumbHeight = 480;
constexpr int kTipWidth = 615, kTipHeight = 300, kTipTop = 15;
constexpr long kBarColor = 0x0080FF;   // orange
constexpr long kFillColor = 0xE39D0D;  // blue
constexpr long kTrackColor = 0xE8F6FF; // pale cream

double px(double tw) {
    return tw / gTwipsPerPixel;
}

QPixmap face(int k) {
    QPixmap pm(gPx(kThumbWidth), gPx(kThumbHeight));
    pm.fill(Qt::transparent);
    QSvgRenderer r(QStringLiteral(":/res/controls/sliderFace%1.svg").arg(k));
    if (r.isValid()) {
        QPainter p(&pm);
        r.render(&p);
    }
    return pm;
}

} // namespace

scheduleSlider::scheduleSlider(QWidget* parent) : QWidget(parent) {
    for (int k = 0; k < 5; ++k)
        faces_[size_t(k)] = face(k);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setFixedHeight(gPx(kHeightTw));
    resize(gPx(3900), gPx(kHeightTw));
    setValue(50);
}

int scheduleSlider::widthTwips() const {
    return gTwips(width());
}

void scheduleSlider::setValue(int v) {
    if (v < 0 || v > 100) return;
    value_ = v;
    if (dragging_) tipVisible_ = true;
    update();
}

QRect scheduleSlider::thumbRect() const {
    const int left = int(std::lround(px(sliderMath::fillWidth(value_, widthTwips()))));
    return {left, 0, gPx(kThumbWidth), gPx(kThumbHeight)};
}

QRect scheduleSlider::tipRect() const {
    return {thumbRect().left(), gPx(kTipTop), gPx(kTipWidth), gPx(kTipHeight)};
}

void scheduleSlider::setFromMouse(double xPx) {
    if (const auto v = sliderMath::valueAt(xPx * gTwipsPerPixel, widthTwips())) setValue(*v);
}

void scheduleSlider::mousePressEvent(QMouseEvent* e) {
    gGuard([&] {
        e->accept();
        if (e->button() != Qt::LeftButton) return;
        const QPoint p = e->position().toPoint();
        // The thumb takes no press; the tip over it does.
        if (thumbRect().contains(p) && !(tipVisible_ && tipRect().contains(p))) return;
        const int before = value_;
        setFromMouse(e->position().x());
        dragging_ = true;
        if (value_ != before) Q_EMIT change();
    });
}

void scheduleSlider::mouseMoveEvent(QMouseEvent* e) {
    gGuard([&] {
        e->accept();
        const QPoint p = e->position().toPoint();
        if (dragging_) {
            const int before = value_;
            setFromMouse(e->position().x());
            tipVisible_ = true;
            update();
            if (value_ != before) Q_EMIT change();
            return;
        }
        const bool show = thumbRect().contains(p) || (tipVisible_ && tipRect().contains(p));
        if (show != tipVisible_) {
            tipVisible_ = show;
            update();
        }
    });
}

void scheduleSlider::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
    dragging_ = false;
}

void scheduleSlider::leaveEvent(QEvent* e) {
    QWidget::leaveEvent(e);
    // The pointer is no longer resting on the thumb.
    if (!dragging_ && tipVisible_) {
        tipVisible_ = false;
        update();
    }
}

void scheduleSlider::keyPressEvent(QKeyEvent* e) {
    const auto v = e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)
                       ? std::nullopt
                       : sliderMath::valueAfterKey(value_, e->key());
    if (!v) {
        QWidget::keyPressEvent(e);
        return;
    }
    e->accept();
    gGuard([&] {
        // The tip tells the keyboard user the value, as it does during a drag.
        tipVisible_ = true;
        const int before = value_;
        setValue(*v);
        update();
        if (value_ != before) Q_EMIT change();
    });
}

void scheduleSlider::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    update();
}

void scheduleSlider::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    if (!dragging_) tipVisible_ = false;
    update();
}

void scheduleSlider::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    update();
}

void scheduleSlider::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int w = widthTwips();

    const QRectF bar(px(kBarLeft), px(kBarTop), px(sliderMath::barWidth(w)), px(kBarHeight));
    if (bar.width() > 0) {
        QLinearGradient g(bar.topLeft(), bar.bottomLeft());
        g.setColorAt(0, gWinColor(kBarColor).lighter(125));
        g.setColorAt(1, gWinColor(kBarColor));
        p.setPen(QPen(gWinColor(kBarColor).darker(115), 1));
        p.setBrush(g);
        p.drawRoundedRect(bar.adjusted(0.5, 0.5, -0.5, -0.5), bar.height() / 2, bar.height() / 2);
    }
    const QRectF track(px(sliderMath::kTrackLeft), px(kTrackTop), px(sliderMath::trackWidth(w)),
                       px(kTrackHeight));
    if (track.width() > 0) {
        p.setPen(Qt::NoPen);
        p.setBrush(gWinColor(kTrackColor));
        p.drawRect(track);
        const QRectF fill(track.left(), track.top(), px(sliderMath::fillWidth(value_, w)), track.height());
        QLinearGradient g(fill.topLeft(), fill.bottomLeft());
        g.setColorAt(0, gWinColor(kFillColor).lighter(120));
        g.setColorAt(1, gWinColor(kFillColor));
        p.setBrush(g);
        p.drawRect(fill);
    }

    const QRect thumb = thumbRect();
    p.drawPixmap(thumb.topLeft(), faces_[size_t(thumbPicture())]);

    if (tipVisible_) {
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(12);
        f.setBold(true);
        p.setFont(f);
        // A soft shadow keeps the white number readable over the face.
        p.setPen(QColor(0, 0, 0, 150));
        p.drawText(tipRect().translated(1, 1), Qt::AlignCenter, tipText());
        p.setPen(Qt::white);
        p.drawText(tipRect(), Qt::AlignCenter, tipText());
    }
    if (gFocusMarkShown(this)) gDrawFocusMark(p, rect(), this);
}
