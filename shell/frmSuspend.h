#pragma once
#include <QPoint>
#include <QWidget>

#include "core/ui/gForms.h"

class QLabel;
class QMimeData;
class QMouseEvent;

// The floating window: a small translucent picture that stays on top of every
// window. It is dragged with the left button, a double click shows or hides the
// main window, a right click opens the notification icon's menu, and text
// dropped on it starts a new diary entry. Locked without a notification icon,
// it stays on screen as the road to the unlock window.
class frmSuspend : public QWidget, public gForm {
    Q_OBJECT
public:
    frmSuspend();
    void formLoad() override;
    void formUnload() override;

    // True when dropped data counts as text (a file or a picture does not,
    // though desktops put their names beside them as text too).
    static bool isTextDrop(const QMimeData* data);

    QLabel* picture = nullptr; // the picture; takes the drops
    bool dragging() const { return dragging_; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void picture_MouseDown(QMouseEvent* e);
    void picture_MouseMove(QMouseEvent* e);
    void picture_MouseUp(QMouseEvent* e);
    void picture_DblClick();
    void picture_OLEDragDrop(const QMimeData* data);

    bool dragging_ = false;
    QPoint drag_; // where the button went down, inside the picture
};
