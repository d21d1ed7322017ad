#pragma once
#include <QImage>
#include <QString>
#include <QWidget>

class QLabel;

// A rounded panel with a vertical gradient from a light shade of its palette
// colour down to the colour itself, outlined in a darker shade, with a caption
// centred on it. Drawing is in pixels of the panel; the caption fitting reads the
// panel's height in twips.
//
// The drawing is kept in an image between repaints: it is redrawn only when the
// panel is resized or its colour changes, and only while visible2() is on.
// Outside the rounded shape the panel is transparent.
//
// Mouse events on the panel and on its caption are raised as the panel's own
// signals (x, y in pixels of the widget that was hit; button 1 left, see
// gMouseButton/gShiftState).
class scheduleBackground : public QWidget {
    Q_OBJECT
public:
    explicit scheduleBackground(QWidget* parent = nullptr);

    // Lines separated by "\r\n". Fitted to the panel's height when visible2() is on.
    QString caption() const { return caption_; }
    void setCaption(const QString& caption);

    // Margin of the caption on each side, in pixels. A value wider than half the
    // panel, or negative, is ignored; one whose double overflows 16 bits raises error 6.
    int captionLeft() const { return captionLeft_; }
    void setCaptionLeft(int margin);

    // Palette index 0..25 (25 is userColor()); another index keeps the old colour.
    int color() const { return color_; }
    void setColor(int index);

    // The panel is painted only while this is on; it takes effect on the next redraw.
    bool visible2() const { return visible2_; }
    void setVisible2(bool on) { visible2_ = on; }

    // The custom colour shown at index 25 (&HBBGGRR).
    long userColor() const { return userColor_; }
    void setUserColor(long color);

    long baseColor() const { return baseColor_; }
    long lightColor() const { return lightColor_; }
    // The outline's colour: black while focused, else a dark shade of baseColor().
    long foreColor() const { return foreColor_; }
    // The lines the caption fitting chose for the panel's height (with "\r\n"
    // between them). The label shows them broken to its width, as many as fit
    // inside the outline, the last one cut with "…" and the whole caption in
    // the tool tip when something does not fit.
    QString shownCaption() const { return shown_; }

Q_SIGNALS:
    void click();
    void dblClick();
    void mouseDown(int button, int shift, int x, int y);
    void mouseMove(int button, int shift, int x, int y);
    void mouseUp(int button, int shift, int x, int y);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // Raises the signals for a mouse event of the panel or of its caption.
    void raiseMouse(QMouseEvent* e, bool& dblPending);
    void loadPalette();
    // Black or white caption, whichever reads better on the shade behind it.
    void chooseTextColor();
    void redraw();
    void drawBorder();
    void fitCaption();
    void placeCaption();
    void keepSurfaceSize();
    // Fills the pixels from x1 towards x2 on row y, x2 itself not included.
    void hLine(int x1, int x2, int y, long color);
    void vLine(int x, int y1, int y2, long color);
    void pset(int x, int y, long color);

    QLabel* label_ = nullptr;
    QImage surface_;
    QString caption_;
    QString shown_;
    int captionLeft_ = 2;
    int color_ = 0;
    bool visible2_ = false;
    long userColor_ = 0;
    long lightColor_ = 0;
    long baseColor_ = 0;
    long foreColor_ = 0;
    bool panelDblPending_ = false;
    bool labelDblPending_ = false;
};
