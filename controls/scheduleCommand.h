#pragma once
#include <QPixmap>
#include <QRect>
#include <QWidget>

// A push button drawn only by its picture. A left-button press on the picture
// shifts it 30 twips (2 pixels) right and down until the release.
//
// Without stretch the button takes the picture's size plus 30 twips each way
// whenever a picture is set; with stretch the picture fills the picture area,
// which follows the button's size less 30 twips. The button is never smaller
// than 30 × 30 twips.
//
// Events come from the picture's area only, x and y in twips from the picture's
// top-left corner (button 1 left, see gMouseButton/gShiftState).
//
// Tab reaches the button, which then carries the focus mark; Space, Return or
// Enter act as a left click on the picture's middle (mouseDown, mouseUp, click).
class scheduleCommand : public QWidget {
    Q_OBJECT
public:
    explicit scheduleCommand(QWidget* parent = nullptr);

    // Changing it resizes nothing until the next picture is set.
    bool stretch() const { return stretch_; }
    void setStretch(bool on);

    QPixmap picture() const { return picture_; }
    void setPicture(const QPixmap& picture);

    // Where the picture is drawn, in pixels of the button: (0, 0) at rest,
    // (2, 2) while pressed.
    QRect pictureRect() const { return {imagePos_, imageSize_}; }
    bool isPressed() const { return imagePos_ != QPoint(0, 0); }

Q_SIGNALS:
    void click();
    void mouseUp(int button, int shift, int x, int y);
    void mouseDown(int button, int shift, int x, int y);
    void mouseMove(int button, int shift, int x, int y);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    // Mouse position in twips relative to the picture.
    QPoint pictureTwips(const QPoint& widgetPos) const;

    QPixmap picture_;
    bool stretch_ = false;
    QPoint imagePos_{0, 0};
    QSize imageSize_{0, 0};
    bool captured_ = false; // a press began on the picture and a button is still down
    bool leftDown_ = false; // that press was the left button
};
