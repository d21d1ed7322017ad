#include "controls/scheduleBackground.h"

#include "controls/gPanelMath.h"
#include "core/base/gColor.h"
#include "core/base/gError.h"
#include "core/ui/gLinkLabel.h"
#include "core/ui/gMsgBox.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace {
QString displayText(QString s) {
    return s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// The caption's lines without the empty ones that spread it.
QStringList saidLines(const QString& s) {
    return s.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}
} // namespace

scheduleBackground::scheduleBackground(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);

    label_ = new QLabel(this);
    label_->setObjectName(QStringLiteral("Label1"));
    label_->setTextFormat(Qt::PlainText);
    label_->setAlignment(Qt::AlignCenter);
    // The caption is broken into lines that fit the panel before it is shown.
    label_->setWordWrap(false);
    label_->setAutoFillBackground(false);
    // The gradient must show through the caption, whatever style sheet the page uses.
    label_->setStyleSheet(QStringLiteral("QLabel#Label1 { background: transparent; }"));
    // Course cards are small: a 9-point caption keeps most of a spread caption on them.
    QFont f = label_->font();
    f.setPointSize(9);
    label_->setFont(f);
    label_->setMouseTracking(true);
    label_->installEventFilter(this);

    // The margin goes in directly: through the setter a panel not yet sized would refuse it.
    captionLeft_ = 2;
    setCaption(QString());
    setColor(0);
    setUserColor(gDefaultUserColor);
}

void scheduleBackground::setCaption(const QString& caption) {
    caption_ = caption;
    if (visible2_) fitCaption();
}

void scheduleBackground::setCaptionLeft(int margin) {
    const long long twice = 2LL * margin;
    if (twice < -32768 || twice > 32767) gRaise(gErr::Overflow);
    if (margin < 0 || width() < twice) return;
    captionLeft_ = margin;
    placeCaption();
}

void scheduleBackground::setColor(int index) {
    color_ = index;
    loadPalette();
    redraw();
}

void scheduleBackground::setUserColor(long color) {
    userColor_ = color;
    if (this->color() == gPaletteUserIndex) {
        loadPalette();
        redraw();
    }
}

void scheduleBackground::loadPalette() {
    if (const auto c = gPaletteColor(color_, userColor_)) baseColor_ = *c;
    lightColor_ = gAdjustColor(baseColor_, 80);
    foreColor_ = gAdjustColor(baseColor_, -50);
    chooseTextColor();
}

void scheduleBackground::chooseTextColor() {
    // The shade changes from top to bottom: what counts is the shade behind the
    // first line, the name, where the caption is placed now.
    const int h = height();
    long behind = lightColor_;
    if (h >= 3) {
        const int y = label_->y() + label_->fontMetrics().height() / 2;
        behind = gPanelRowColor(lightColor_, baseColor_, qBound(1, y, h - 2), h);
    }
    QPalette pal = label_->palette();
    pal.setColor(QPalette::WindowText, gWinColor(gReadableTextColor(behind)));
    label_->setPalette(pal);
}

void scheduleBackground::keepSurfaceSize() {
    const QSize s = size().expandedTo(QSize(0, 0));
    if (surface_.size() == s) return;
    QImage next;
    if (!s.isEmpty()) {
        next = QImage(s, QImage::Format_ARGB32_Premultiplied);
        next.fill(Qt::transparent);
        if (!surface_.isNull()) {
            QPainter p(&next);
            p.drawImage(0, 0, surface_);
        }
    }
    surface_ = next;
}

void scheduleBackground::pset(int x, int y, long color) {
    if (x < 0 || y < 0 || x >= surface_.width() || y >= surface_.height()) return;
    surface_.setPixel(x, y, gWinColor(color).rgba());
}

void scheduleBackground::hLine(int x1, int x2, int y, long color) {
    const int step = x1 < x2 ? 1 : -1;
    for (int x = x1; x != x2; x += step)
        pset(x, y, color);
}

void scheduleBackground::vLine(int x, int y1, int y2, long color) {
    const int step = y1 < y2 ? 1 : -1;
    for (int y = y1; y != y2; y += step)
        pset(x, y, color);
}

void scheduleBackground::redraw() {
    if (!visible2_) return;
    fitCaption();
    keepSurfaceSize();
    if (surface_.isNull()) {
        update();
        return;
    }
    surface_.fill(Qt::transparent);
    const int w = surface_.width();
    const int h = surface_.height();
    const int last = h - 2;
    int x0 = 0;
    for (int y = 1; y <= last; ++y) {
        x0 = gPanelRowInset(y, h, x0);
        hLine(x0, w - x0, y, gPanelRowColor(lightColor_, baseColor_, y, h));
    }
    drawBorder();
}

void scheduleBackground::drawBorder() {
    keepSurfaceSize();
    if (!surface_.isNull()) {
        const int w = surface_.width();
        const int h = surface_.height();
        const long c = foreColor_;
        hLine(4, w - 4, 0, c);
        pset(2, 1, c), pset(3, 1, c), pset(1, 2, c), pset(1, 3, c);
        pset(w - 3, 1, c), pset(w - 4, 1, c), pset(w - 2, 2, c), pset(w - 2, 3, c);
        hLine(4, w - 4, h - 1, c);
        pset(2, h - 2, c), pset(3, h - 2, c), pset(1, h - 3, c), pset(1, h - 4, c);
        pset(w - 3, h - 2, c), pset(w - 4, h - 2, c), pset(w - 2, h - 3, c), pset(w - 2, h - 4, c);
        vLine(0, 4, h - 4, c);
        vLine(w - 1, 4, h - 4, c);
    }
    update();
}

void scheduleBackground::fitCaption() {
    shown_ = gFitCaptionText(caption_, height() * 15);
    // Placed even when the lines could not be spread, so the caption stays centred.
    placeCaption();
}

void scheduleBackground::placeCaption() {
    const int w = width();
    const int h = height();
    int lw = label_->width();
    if (w > 2 * captionLeft_) lw = w - 2 * captionLeft_;
    // The chosen lines, broken to the label's width, as many as fit inside the
    // outline; spread lines that do not fit are shown unspread first.
    const int room = h - 2;
    gFittedText fit = gFitTextLines(displayText(shown_), label_->font(), lw, room);
    const bool spread = shown_ != caption_ && saidLines(shown_) == saidLines(caption_);
    if (fit.cut && spread) fit = gFitTextLines(displayText(caption_), label_->font(), lw, room);
    label_->setText(fit.lines.join(QLatin1Char('\n')));
    // Whatever the panel cannot show can still be read whole.
    const bool whole = !fit.cut && saidLines(shown_) == saidLines(caption_);
    const QString tip = whole ? QString() : displayText(caption_);
    setToolTip(tip);
    label_->setToolTip(tip);
    const int lh = label_->heightForWidth(lw);
    label_->resize(lw, lh < 0 ? label_->sizeHint().height() : lh);
    label_->move(static_cast<int>(std::floor((w - lw) / 2.0)),
                 static_cast<int>(std::floor((h - label_->height()) / 2.0)));
    chooseTextColor();
}

void scheduleBackground::paintEvent(QPaintEvent*) {
    gGuard([&] {
        if (surface_.isNull()) return;
        QPainter p(this);
        p.drawImage(0, 0, surface_);
    });
}

void scheduleBackground::resizeEvent(QResizeEvent*) {
    gGuard([&] {
        keepSurfaceSize();
        redraw();
    });
}

void scheduleBackground::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    gGuard([&] {
        foreColor_ = 0;
        drawBorder();
    });
}

void scheduleBackground::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    gGuard([&] {
        foreColor_ = gAdjustColor(baseColor_, -50);
        drawBorder();
    });
}

void scheduleBackground::raiseMouse(QMouseEvent* e, bool& dblPending) {
    const QPoint p = e->position().toPoint();
    const int shift = gShiftState(e->modifiers());
    switch (e->type()) {
    case QEvent::MouseButtonPress:
        dblPending = false;
        Q_EMIT mouseDown(gMouseButton(e->button()), shift, p.x(), p.y());
        break;
    case QEvent::MouseButtonDblClick:
        // The second press of a double click raises only the double click.
        dblPending = true;
        Q_EMIT dblClick();
        break;
    case QEvent::MouseMove: {
        int buttons = 0;
        for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
            if (e->buttons() & b) buttons |= gMouseButton(b);
        Q_EMIT mouseMove(buttons, shift, p.x(), p.y());
        break;
    }
    case QEvent::MouseButtonRelease: {
        const int button = gMouseButton(e->button());
        Q_EMIT mouseUp(button, shift, p.x(), p.y());
        if (button == 1 && !dblPending) Q_EMIT click();
        if (e->buttons() == Qt::NoButton) dblPending = false;
        break;
    }
    default:
        break;
    }
    e->accept();
}

void scheduleBackground::mousePressEvent(QMouseEvent* e) {
    gGuard([&] { raiseMouse(e, panelDblPending_); });
}
void scheduleBackground::mouseMoveEvent(QMouseEvent* e) {
    gGuard([&] { raiseMouse(e, panelDblPending_); });
}
void scheduleBackground::mouseReleaseEvent(QMouseEvent* e) {
    gGuard([&] { raiseMouse(e, panelDblPending_); });
}
void scheduleBackground::mouseDoubleClickEvent(QMouseEvent* e) {
    gGuard([&] { raiseMouse(e, panelDblPending_); });
}

bool scheduleBackground::eventFilter(QObject* watched, QEvent* e) {
    if (watched == label_) {
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            gGuard([&] { raiseMouse(static_cast<QMouseEvent*>(e), labelDblPending_); });
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, e);
}
