#pragma once
#include <QColor>
#include <QRect>
#include <QString>
#include <QVector>
#include <QWidget>

#include <optional>

class scheduleBackground;
struct gFittedText;

// A week's timetable: a grid whose column 0 holds the period names and row 0
// the weekday names, with one coloured course card (a scheduleBackground) laid
// over the body cells of each run of a course.
//
// Body cells hold, as text, the number of the card covering them; in every body
// column, vertically adjacent cells of equal non-empty text form one merged cell,
// which is the card's rectangle. The grid draws header texts only: body numbers
// are bookkeeping and lie under their cards.
//
// Sizes are in twips; pixel edges are the rounded twip offsets (15 twips a
// pixel), so columns and rows add up without drift. The control always wraps the
// grid's cells with a 10-twip margin on the right and at the bottom.
//
// Colours are Windows colour numbers &HBBGGRR. mouseMove reports positions over
// the bare grid in twips (moving over a card raises nothing).
class scheduleTable : public QWidget {
    Q_OBJECT
public:
    explicit scheduleTable(QWidget* parent = nullptr);

    // Column and row counts, each at least 1 (the header column and row); a
    // smaller value raises error 9. Cells that remain keep their text and size.
    int cols() const { return static_cast<int>(colWidths_.size()); }
    void setCols(int cols);
    int rows() const { return static_cast<int>(rowHeights_.size()); }
    void setRows(int rows);

    // Removes every card and blanks the body; the next card is number 1.
    void clear();

    // Writes a header text (row 0 or column 0) or a course card over `length`
    // cells from (row, col) downwards (the rows that exist), of palette colour
    // `color` (25 = the custom colour `userColor`; none given keeps the card's
    // own, while 0 is black). Does nothing when row is past the last row or the cell's
    // column or row is hidden (size 0). A negative row or a column out of range raises error 9.
    void setTextMatrix(int row, int col, const QString& text, int length = 0, int color = 0,
                       std::optional<long> userColor = std::nullopt);
    // The cell's text: a header, or the number of the card over a body cell.
    QString textMatrix(int row, int col) const;

    int colWidth(int col) const;
    void setColWidth(int col, int widthTwips);
    // A row's height: 0 when hidden, else at least rowHeightMin().
    int rowHeight(int row) const;
    void setRowHeight(int row, int heightTwips);
    int rowHeightMin() const { return rowHeightMin_; }
    void setRowHeightMin(int twips);

    long backColorFixed() const { return backColorFixed_; }
    void setBackColorFixed(long color);
    long gridColor() const { return gridColor_; }
    void setGridColor(long color);

    // Cards written since the last clear(); card(k) is card number k (1-based).
    int cardCount() const { return static_cast<int>(cards_.size()); }
    scheduleBackground* card(int k) const;
    // A cell's rectangle in pixels, grid line excluded, and that of the merged
    // block the cell belongs to.
    QRect cellRect(int row, int col) const;
    QRect mergedRect(int row, int col) const;
    // Size of the grid's cells plus the margin, in twips.
    QSize fittedTwips() const;

Q_SIGNALS:
    void mouseMove(int button, int shift, int x, int y);

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    void checkCell(int row, int col) const;
    int colLeftTwips(int col) const;
    int rowTopTwips(int row) const;
    QRect spanRect(int row1, int row2, int col1, int col2) const;
    // First and last row of the merged block holding (row, col).
    std::pair<int, int> mergedRows(int row, int col) const;
    QString& cell(int row, int col);
    const QString& cell(int row, int col) const;
    void refit();
    // Where a header cell's text goes, its text as drawn (line breaks as "\n"),
    // and that text fitted there.
    static QRect headerTextRect(const QRect& box);
    QString headerText(int row, int col) const;
    gFittedText fittedHeader(int row, int col, const QRect& inner) const;

    QVector<int> colWidths_;
    QVector<int> rowHeights_; // as set; rowHeight() applies the minimum
    QVector<QString> texts_;  // row-major, rows() × cols()
    QVector<scheduleBackground*> cards_;
    int rowHeightMin_ = 450;
    long backColorFixed_ = 0xA5CFB5;
    long gridColor_ = 0x5AA673;
    bool fitting_ = false;
};
