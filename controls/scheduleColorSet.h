#pragma once
#include <QRect>
#include <QWidget>

#include <functional>
#include <optional>

class scheduleBackground;

// Picks a course's colour: 26 shaded swatches, the 25 palette colours (0..13
// in the top row, 14..24 in the second) and the custom colour (swatch 25,
// wider, closing the second row), with a silver
// frame around the chosen one. A left press chooses a swatch; a double click
// on the custom swatch opens the colour dialog to change the custom colour.
// The control keeps its size of 6850 × 980 twips.
//
// From the keyboard: Tab reaches the control, which then carries the focus
// mark; Left and Right choose the swatch before or after, Up and Down the one
// in the other row, and Space or Enter on the custom swatch open the dialog.
class scheduleColorSet : public QWidget {
    Q_OBJECT
public:
    explicit scheduleColorSet(QWidget* parent = nullptr);

    // The chosen swatch, 0..25. Another index changes nothing.
    int color() const { return color_; }
    void setColor(int index);

    // The custom colour (&HBBGGRR), shown by swatch 25.
    long userColor() const;
    void setUserColor(long color);

    scheduleBackground* swatch(int index) const;
    // Where the selection frame is drawn, in pixels of the control.
    QRect frameRect() const { return frame_; }

    // The colour dialog: given the parent and the colour to start from, returns
    // the chosen colour or nothing on cancel. Tests replace it; an empty function
    // restores the system dialog.
    using ColorDialog = std::function<std::optional<long>(QWidget*, long)>;
    static void setColorDialog(ColorDialog dialog);

protected:
    void paintEvent(QPaintEvent* e) override;
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void frameSwatch(int index);
    void chooseCustomColor();

    scheduleBackground* swatches_[26] = {};
    QRect frame_;
    int color_ = 0;
};
