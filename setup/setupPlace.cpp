#include "setupPlace.h"

#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace setup {
namespace {

class Centrer : public QObject {
public:
    Centrer(QWidget* window, const QWidget* owner) : QObject(window), owner_(owner) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        // The show event comes before the window is mapped, so the move is
        // where it first appears.
        if (e->type() == QEvent::Show && watched == parent()) centre(static_cast<QWidget*>(watched));
        return false;
    }

private:
    void centre(QWidget* w) {
        const QWindow* handle = w->windowHandle();
        const QMargins frame = handle ? handle->frameMargins() : QMargins();
        const QSize outer = w->size().grownBy(frame);
        QRect on;
        if (owner_ && owner_->isVisible())
            on = owner_->window()->frameGeometry();
        else if (const QScreen* screen = w->screen())
            on = screen->availableGeometry();
        if (on.isEmpty()) return;
        const QPoint topLeft = on.center() - QPoint(outer.width() / 2, outer.height() / 2);
        // move() places the frame where the platform knows it, else the window itself.
        w->move(topLeft);
    }

    QPointer<const QWidget> owner_;
};

} // namespace

void centreOnShow(QWidget* window, const QWidget* owner) {
    window->installEventFilter(new Centrer(window, owner));
}

} // namespace setup
