#include "controls/scheduleTable.h"

#include "controls/gPanelMath.h"
#include "controls/scheduleBackground.h"
#include "core/base/gColor.h"
#include "core/base/gError.h"
#include "core/ui/gLinkLabel.h"
#include "core/ui/gMsgBox.h"
#include "core/ui/gTwips.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace {
constexpr int kDefaultColWidth = 960;
constexpr int kDefaultRowHeight = 240;
constexpr int kMarginTwips = 10;

// The leading whole number of a cell's text, as the card numbers are read back.
int cellNumber(const QString& s) {
    bool ok = false;
    const int n = s.trimmed().toInt(&ok);
    return ok ? n : 0;
}
} // namespace

scheduleTable::scheduleTable(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    colWidths_.fill(kDefaultColWidth, 8);
    rowHeights_.fill(kDefaultRowHeight, 11);
    texts_.resize(8 * 11);
    refit();
}

QString& scheduleTable::cell(int row, int col) {
    return texts_[row * cols() + col];
}
const QString& scheduleTable::cell(int row, int col) const {
    return texts_[row * cols() + col];
}

void scheduleTable::checkCell(int row, int col) const {
    if (row < 0 || row >= rows() || col < 0 || col >= cols()) gRaise(gErr::SubscriptOutOfRange);
}

void scheduleTable::setCols(int n) {
    if (n < 1) gRaise(gErr::SubscriptOutOfRange);
    QVector<QString> next(rows() * n);
    for (int r = 0; r < rows(); ++r)
        for (int c = 0; c < qMin(n, cols()); ++c)
            next[r * n + c] = cell(r, c);
    colWidths_.resize(n, kDefaultColWidth);
    texts_ = next;
    refit();
}

void scheduleTable::setRows(int n) {
    if (n < 1) gRaise(gErr::SubscriptOutOfRange);
    rowHeights_.resize(n, kDefaultRowHeight);
    texts_.resize(n * cols());
    refit();
}

void scheduleTable::clear() {
    for (scheduleBackground* c : std::as_const(cards_))
        delete c;
    cards_.clear();
    // Every body column, so no stale card number can merge into a later card.
    for (int c = 1; c < cols(); ++c)
        for (int r = 1; r < rows(); ++r)
            cell(r, c).clear();
    update();
}

void scheduleTable::setTextMatrix(int row, int col, const QString& text, int length, int color,
                                  std::optional<long> userColor) {
    if (row < 0 || col < 0 || col >= cols()) gRaise(gErr::SubscriptOutOfRange);
    if (row > rows() - 1 || colWidth(col) == 0 || rowHeight(row) == 0) return;
    if (row == 0 || col == 0) {
        cell(row, col) = text;
        update();
        return;
    }
    const int k = cardCount() + 1;
    for (int i = 1; i < rows(); ++i)
        if (cellNumber(cell(i, col)) == k) cell(i, col).clear();
    for (int i = 0; i < length; ++i)
        if (row + i < rows()) cell(row + i, col) = QString::number(k);

    auto* card = new scheduleBackground(this);
    card->setObjectName(QStringLiteral("scheduleBackground%1").arg(k));
    // Cards are for looking at; the focus stays with the page.
    card->setFocusPolicy(Qt::NoFocus);
    cards_.append(card);
    if (userColor) card->setUserColor(*userColor);
    card->setColor(color);
    card->setCaption(text);
    card->setVisible2(true);
    card->setGeometry(mergedRect(row, col));
    card->raise();
    card->show();
    update();
}

QString scheduleTable::textMatrix(int row, int col) const {
    checkCell(row, col);
    return cell(row, col);
}

int scheduleTable::colWidth(int col) const {
    if (col < 0 || col >= cols()) gRaise(gErr::SubscriptOutOfRange);
    return colWidths_[col];
}

void scheduleTable::setColWidth(int col, int widthTwips) {
    if (col < 0 || col >= cols()) gRaise(gErr::SubscriptOutOfRange);
    colWidths_[col] = qMax(0, widthTwips);
    refit();
}

int scheduleTable::rowHeight(int row) const {
    if (row < 0 || row >= rows()) gRaise(gErr::SubscriptOutOfRange);
    const int h = rowHeights_[row];
    return h <= 0 ? 0 : qMax(h, rowHeightMin_);
}

void scheduleTable::setRowHeight(int row, int heightTwips) {
    if (row < 0 || row >= rows()) gRaise(gErr::SubscriptOutOfRange);
    rowHeights_[row] = qMax(0, heightTwips);
    refit();
}

void scheduleTable::setRowHeightMin(int twips) {
    rowHeightMin_ = qMax(0, twips);
    refit();
}

void scheduleTable::setBackColorFixed(long color) {
    backColorFixed_ = color;
    update();
}

void scheduleTable::setGridColor(long color) {
    gridColor_ = color;
    update();
}

scheduleBackground* scheduleTable::card(int k) const {
    return k >= 1 && k <= cardCount() ? cards_[k - 1] : nullptr;
}

int scheduleTable::colLeftTwips(int col) const {
    int x = 0;
    for (int c = 0; c < col; ++c)
        x += colWidths_[c];
    return x;
}

int scheduleTable::rowTopTwips(int row) const {
    int y = 0;
    for (int r = 0; r < row; ++r)
        y += rowHeight(r);
    return y;
}

QRect scheduleTable::spanRect(int row1, int row2, int col1, int col2) const {
    const int l = gPx(colLeftTwips(col1));
    const int t = gPx(rowTopTwips(row1));
    // The last pixel of the span is the grid line.
    const int r = gPx(colLeftTwips(col2 + 1)) - 1;
    const int b = gPx(rowTopTwips(row2 + 1)) - 1;
    return {l, t, qMax(0, r - l), qMax(0, b - t)};
}

QRect scheduleTable::cellRect(int row, int col) const {
    checkCell(row, col);
    return spanRect(row, row, col, col);
}

std::pair<int, int> scheduleTable::mergedRows(int row, int col) const {
    int first = row, last = row;
    const QString& t = cell(row, col);
    if (row >= 1 && col >= 1 && !t.isEmpty()) {
        while (first > 1 && cell(first - 1, col) == t)
            --first;
        while (last < rows() - 1 && cell(last + 1, col) == t)
            ++last;
    }
    return {first, last};
}

QRect scheduleTable::mergedRect(int row, int col) const {
    checkCell(row, col);
    const auto [first, last] = mergedRows(row, col);
    return spanRect(first, last, col, col);
}

QSize scheduleTable::fittedTwips() const {
    return {colLeftTwips(cols()) + kMarginTwips, rowTopTwips(rows()) + kMarginTwips};
}

void scheduleTable::refit() {
    if (fitting_) return;
    fitting_ = true;
    const QSize tw = fittedTwips();
    resize(gPx(tw.width()), gPx(tw.height()));
    fitting_ = false;
    update();
}

void scheduleTable::resizeEvent(QResizeEvent*) {
    gGuard([&] {
        const QSize tw = fittedTwips();
        if (size() != QSize(gPx(tw.width()), gPx(tw.height()))) refit();
    });
}

void scheduleTable::paintEvent(QPaintEvent*) {
    gGuard([&] {
        QPainter p(this);
        const QColor line = gWinColor(gridColor_);
        const QColor fixed = gWinColor(backColorFixed_);
        for (int c = 0; c < cols(); ++c) {
            if (colWidths_[c] == 0) continue;
            for (int r = 0; r < rows();) {
                const auto [first, last] = mergedRows(r, c);
                r = last + 1;
                if (rowTopTwips(last + 1) == rowTopTwips(first)) continue;
                const QRect box = spanRect(first, last, c, c);
                const bool header = first == 0 || c == 0;
                p.fillRect(box, header ? fixed : QColor(Qt::white));
                // Grid line along the right and bottom edges.
                p.fillRect(box.right() + 1, box.top(), 1, box.height() + 1, line);
                p.fillRect(box.left(), box.bottom() + 1, box.width() + 1, 1, line);
                if (header && !cell(first, c).isEmpty()) {
                    p.setPen(Qt::black);
                    const QRect inner = headerTextRect(box);
                    p.drawText(inner, Qt::AlignCenter,
                               fittedHeader(first, c, inner).lines.join(QLatin1Char('\n')));
                }
            }
        }
    });
}

QRect scheduleTable::headerTextRect(const QRect& box) {
    return box.adjusted(2, 1, -2, -1);
}

QString scheduleTable::headerText(int row, int col) const {
    return QString(cell(row, col)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

gFittedText scheduleTable::fittedHeader(int row, int col, const QRect& inner) const {
    // A name longer than its cell is cut short, never drawn over its neighbours.
    return gFitTextLines(headerText(row, col), font(), inner.width(), inner.height());
}

bool scheduleTable::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        // A header cut short can be read whole over its cell.
        bool shown = false;
        gGuard([&] {
            const auto* help = static_cast<QHelpEvent*>(e);
            // The headers: the top row and the left column.
            auto tipFor = [&](int r, int c) {
                const QRect box = cellRect(r, c);
                if (shown || !box.contains(help->pos()) || cell(r, c).isEmpty()) return;
                if (!fittedHeader(r, c, headerTextRect(box)).cut) return;
                QToolTip::showText(help->globalPos(), headerText(r, c), this, box);
                shown = true;
            };
            for (int c = 0; c < cols(); ++c)
                tipFor(0, c);
            for (int r = 1; r < rows(); ++r)
                tipFor(r, 0);
            if (!shown) QToolTip::hideText();
        });
        return true;
    }
    return QWidget::event(e);
}

void scheduleTable::mouseMoveEvent(QMouseEvent* e) {
    gGuard([&] {
        const QPoint pos = e->position().toPoint();
        int buttons = 0;
        for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
            if (e->buttons() & b) buttons |= gMouseButton(b);
        Q_EMIT mouseMove(buttons, gShiftState(e->modifiers()), gTwips(pos.x()), gTwips(pos.y()));
    });
}
