#pragma once
#include <QLabel>

// A label that acts as a button: hand cursor, acts on a left-button release, and
// optionally drawn in the palette's highlight colour. Text is always plain.
// Disabled, it is drawn in the palette's disabled text colour without the hand,
// so it does not look live.
//
// Tab reaches an enabled link (a click does not move the focus to it); it then
// shows its focus (a text link in the highlight's colours, a picture link with
// a frame), and Space, Return or Enter act as a left click on its middle:
// mouseDown, mouseUp, then clicked.
class gLinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit gLinkLabel(const QString& text = {}, QWidget* parent = nullptr, bool highlight = true);
    void setHighlight(bool on);

Q_SIGNALS:
    void clicked(); // left button released
    void mouseDown(int button, int shift, int x, int y);
    void mouseUp(int button, int shift, int x, int y);

protected:
    bool event(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
};

// VB-style mouse arguments: button 1 left, 2 right, 4 middle; shift 1 Shift, 2 Ctrl, 4 Alt.
int gMouseButton(Qt::MouseButton b);
int gShiftState(Qt::KeyboardModifiers m);
