#include "controls/scheduleColorSet.h"

#include "controls/gPanelMath.h"
#include "controls/scheduleBackground.h"
#include "core/base/gColor.h"
#include "core/base/gError.h"
#include "core/ui/gFocusMark.h"
#include "core/ui/gMsgBox.h"
#include "core/ui/gTwips.h"

#include <QColorDialog>
#include <QKeyEvent>
#include <QPainter>

namespace {
constexpr int kWidthTwips = 6850;
constexpr int kHeightTwips = 980;
constexpr long kSilver = 0xC0C0C0;

scheduleColorSet::ColorDialog& colorDialog() {
    static scheduleColorSet::ColorDialog dialog;
    return dialog;
}

std::optional<long> systemColorDialog(QWidget* parent, long initial) {
    const QColor c = QColorDialog::getColor(gWinColor(initial), parent);
    if (!c.isValid()) return std::nullopt;
    return gWinColorNumber(c);
}

// Swatch i's place in twips: 0..13 the top row, 14..24 the second, 25 the wide
// custom swatch closing the second row. Fourteen on top, so that the second
// row's eleven end before the custom swatch and both rows end at 6735.
constexpr int kTopRow = 14;
QRect swatchTwips(int i) {
    if (i == gPaletteUserIndex) return {5400, 600, 1335, 255};
    const int col = i < kTopRow ? i : i - kTopRow;
    return {120 + 480 * col, i < kTopRow ? 120 : 600, 375, 255};
}
} // namespace

void scheduleColorSet::setColorDialog(ColorDialog dialog) {
    colorDialog() = std::move(dialog);
}

scheduleColorSet::scheduleColorSet(QWidget* parent) : QWidget(parent) {
    setFixedSize(gPxSize(kWidthTwips, kHeightTwips));
    setFocusPolicy(Qt::TabFocus);
    for (int i = 0; i < gPaletteSize; ++i) {
        auto* s = new scheduleBackground(this);
        s->setObjectName(QStringLiteral("scheduleBackground1_%1").arg(i));
        s->setFocusPolicy(Qt::NoFocus);
        const QRect tw = swatchTwips(i);
        s->setGeometry(gPxRect(tw.x(), tw.y(), tw.width(), tw.height()));
        s->setVisible2(true);
        s->setColor(i);
        connect(s, &scheduleBackground::mouseDown, this, [this, i](int button, int, int, int) {
            gGuard([&] {
                if (button != 1) return;
                frameSwatch(i);
                color_ = i;
            });
        });
        if (i == gPaletteUserIndex)
            connect(s, &scheduleBackground::dblClick, this, [this] { gGuard([&] { chooseCustomColor(); }); });
        swatches_[i] = s;
    }
    frameSwatch(0);
}

scheduleBackground* scheduleColorSet::swatch(int index) const {
    return index >= 0 && index < gPaletteSize ? swatches_[index] : nullptr;
}

void scheduleColorSet::setColor(int index) {
    // A colour number read from a course may be anything: without a swatch for
    // it the choice stays as it is, so the course can still be opened.
    if (index < 0 || index >= gPaletteSize) return;
    color_ = index;
    frameSwatch(index);
}

long scheduleColorSet::userColor() const {
    return swatches_[gPaletteUserIndex]->userColor();
}

void scheduleColorSet::setUserColor(long color) {
    swatches_[gPaletteUserIndex]->setUserColor(color);
}

void scheduleColorSet::frameSwatch(int index) {
    const QRect tw = swatchTwips(index);
    frame_ = gPxRect(tw.x() - 30, tw.y() - 30, tw.width() + 75, tw.height() + 75);
    update();
}

void scheduleColorSet::chooseCustomColor() {
    const ColorDialog& dialog = colorDialog();
    const std::optional<long> chosen =
        dialog ? dialog(this, userColor()) : systemColorDialog(this, userColor());
    if (chosen) setUserColor(*chosen & 0xFFFFFF);
}

void scheduleColorSet::paintEvent(QPaintEvent*) {
    gGuard([&] {
        QPainter p(this);
        p.setPen(gWinColor(kSilver));
        p.setBrush(Qt::NoBrush);
        // Outlines drawn inside their rectangles, one pixel wide.
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        p.drawRect(frame_.adjusted(0, 0, -1, -1));
        if (gFocusMarkShown(this)) gDrawFocusMark(p, rect(), this);
    });
}

bool scheduleColorSet::event(QEvent* e) {
    // A focused picker takes Space and Return before the pane's buttons do.
    if (e->type() == QEvent::ShortcutOverride && gIsPressKey(static_cast<QKeyEvent*>(e))) {
        e->accept();
        return true;
    }
    return QWidget::event(e);
}

void scheduleColorSet::keyPressEvent(QKeyEvent* e) {
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        QWidget::keyPressEvent(e);
        return;
    }
    gGuard([&] {
        // Swatches 0..13 on top, 14..24 and the custom 25 below.
        int to = color_;
        switch (e->key()) {
        case Qt::Key_Left:
            to = color_ - 1;
            break;
        case Qt::Key_Right:
            to = color_ + 1;
            break;
        case Qt::Key_Up:
            to = color_ >= kTopRow ? color_ - kTopRow : color_;
            break;
        case Qt::Key_Down:
            to = color_ < kTopRow ? qMin(color_ + kTopRow, gPaletteSize - 1) : color_;
            break;
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (color_ == gPaletteUserIndex && !e->isAutoRepeat()) chooseCustomColor();
            e->accept();
            return;
        default:
            e->ignore();
            return;
        }
        e->accept();
        setColor(to);
    });
    if (!e->isAccepted()) QWidget::keyPressEvent(e);
}

void scheduleColorSet::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    update();
}

void scheduleColorSet::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    update();
}
