#pragma once
#include <QPixmap>
#include <QWidget>

#include <array>
#include <optional>

// Pure arithmetic of the slider, in twips of the control.
namespace sliderMath {
constexpr int kTrackLeft = 300;
// Track (0..100 scale) width of a control `widthTw` wide.
constexpr int trackWidth(int widthTw) {
    return widthTw - 630;
}
constexpr int barWidth(int widthTw) {
    return widthTw - 525;
}
// Thumb picture 0..4 for a value: 0-19, 20-39, 40-60, 61-80, 81-100.
int band(int value);
// Width of the filled part.
double fillWidth(int value, int widthTw);
// The value a mouse position gives, rounded half to even; nothing when the
// position is off the scale or the track has no width.
std::optional<int> valueAt(double xTw, int widthTw);
// The value a key moves `value` to; nothing for a key the slider does not take.
std::optional<int> valueAfterKey(int value, int key);
} // namespace sliderMath

// A horizontal slider for a whole number from 0 to 100 whose thumb, a face,
// changes from sad to happy with the value. The value tip shows on the thumb
// while dragging or while the pointer rests on the thumb.
//
// It takes the focus by Tab or a click and then carries the focus mark; its
// keys move the value as a drag would (change() raised, the tip shown):
// Right or Up one more, Left or Down one less, Page Up ten more, Page Down ten
// less (stopping at 0 and 100), Home 0 and End 100.
class scheduleSlider : public QWidget {
    Q_OBJECT
public:
    explicit scheduleSlider(QWidget* parent = nullptr);

    int value() const { return value_; }
    // Values outside 0..100 are ignored. Setting it from code raises no change().
    void setValue(int v);

    // State of the drawing, for tests.
    int thumbPicture() const { return sliderMath::band(value_); }
    QRect thumbRect() const;
    bool tipVisible() const { return tipVisible_; }
    QString tipText() const { return QString::number(value_); }
    bool dragging() const { return dragging_; }

Q_SIGNALS:
    // After a press, a drag or a key changed the value.
    void change();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    int widthTwips() const;
    QRect tipRect() const;
    void setFromMouse(double xPx);

    int value_ = 50;
    bool dragging_ = false;
    bool tipVisible_ = false;
    std::array<QPixmap, 5> faces_;
};
