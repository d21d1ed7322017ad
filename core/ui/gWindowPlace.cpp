#include "core/ui/gWindowPlace.h"

#include "core/ui/gForms.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

constexpr int kBesideGap = 12; // pixels between two windows placed beside each other

// The frame last seen around one of the program's windows.
QMargins seenFrame;

QMargins frameOf(const QWidget* w) {
    const QRect outer = w->frameGeometry(), inner = w->geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

// The frame the platform knows the window has or will get; null when it cannot
// know before the window manager has framed it.
QMargins knownFrame(QWidget* w) {
    if (w->windowFlags().testFlag(Qt::FramelessWindowHint)) return {};
    if (w->frameGeometry() != w->geometry()) return frameOf(w);
    w->winId(); // the platform window, which may know its frame already
    const QWindow* handle = w->windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

// Puts the window's outer frame at `at`. A window not yet framed is placed by
// its inner top-left, so the frame the others have is allowed for here.
void moveFrameTo(QWidget* w, QPoint at) {
    if (knownFrame(w).isNull() && !w->windowFlags().testFlag(Qt::FramelessWindowHint)) {
        const QMargins frame = gFrameMargins();
        at += QPoint(frame.left(), frame.top());
    }
    w->move(at);
}

const QString kPlacerName = QStringLiteral("gFirstShowPlacer");

// Centres its window at the window's first show; a window the program moved
// itself before keeps its place.
class FirstShowPlacer : public QObject {
public:
    FirstShowPlacer(QWidget* window, QWidget* owner) : QObject(window), owner_(owner) {
        setObjectName(kPlacerName);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Show) {
            auto* w = qobject_cast<QWidget*>(watched);
            // Once shown, the window is where the user left it.
            deleteLater();
            watched->removeEventFilter(this);
            if (w && w->isWindow() && !w->testAttribute(Qt::WA_Moved)) gCentreWindow(w, owner_);
        }
        return false;
    }

private:
    QPointer<QWidget> owner_;
};

// Centres every dialog that nothing else placed on the window it belongs to.
class DialogPlacer : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::Show || !watched->isWidgetType()) return false;
        auto* w = static_cast<QWidget*>(watched);
        if (!w->isWindow() || !qobject_cast<QDialog*>(w) || w->testAttribute(Qt::WA_Moved) ||
            w->findChild<QObject*>(kPlacerName, Qt::FindDirectChildrenOnly))
            return false;
        QWidget* owner = w->parentWidget() ? w->parentWidget()->window() : gOwnerWindow(w);
        gCentreWindow(w, owner);
        return false;
    }
};

class ShownWindowFocus : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::Show || !watched->isWidgetType()) return false;
        auto* w = static_cast<QWidget*>(watched);
        if (!w->isWindow() || w->testAttribute(Qt::WA_ShowWithoutActivating) ||
            w->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus))
            return false;
        const Qt::WindowType type = w->windowType();
        if (type != Qt::Window && type != Qt::Dialog) return false;
        // Once the window is mapped, and only if it did not get the focus otherwise.
        QTimer::singleShot(0, w, [w] {
            if (w->isVisible() && !w->isMinimized() && QApplication::activeWindow() != w) w->activateWindow();
        });
        return false;
    }
};

bool onScreen(const QWidget* w) {
    return w && w->isVisible() && !w->isMinimized();
}

} // namespace

QPoint gCentredPos(const QRect& on, const QSize& frame, const QRect& bounds) {
    QPoint p(on.x() + (on.width() - frame.width()) / 2, on.y() + (on.height() - frame.height()) / 2);
    if (bounds.isValid()) {
        // The right and bottom edges first, so that the title bar stays reachable.
        p.setX(std::max(bounds.left(), std::min(p.x(), bounds.x() + bounds.width() - frame.width())));
        p.setY(std::max(bounds.top(), std::min(p.y(), bounds.y() + bounds.height() - frame.height())));
    }
    return p;
}

gBesidePlaces gPlacesBeside(const QRect& other, const QSize& frame, const QRect& bounds, int gap) {
    const auto clamp = [](int v, int low, int high) { return std::max(low, std::min(v, high)); };
    // Level with the other window's top (or middle, for below and above), kept on screen.
    const int top = clamp(other.top(), bounds.top(), bounds.bottom() + 1 - frame.height());
    const int left = clamp(other.left() + (other.width() - frame.width()) / 2, bounds.left(),
                           bounds.right() + 1 - frame.width());
    const QPoint tries[] = {{other.right() + 1 + gap, top},
                            {other.left() - gap - frame.width(), top},
                            {left, other.bottom() + 1 + gap},
                            {left, other.top() - gap - frame.height()}};
    for (const QPoint& p : tries)
        if (bounds.contains(QRect(p, frame))) return {other.topLeft(), p};

    // Both side by side in the middle of the screen, at the other window's height.
    const int across = other.width() + gap + frame.width();
    const int high = std::max(other.height(), frame.height());
    if (across <= bounds.width() && high <= bounds.height()) {
        const int x = bounds.left() + (bounds.width() - across) / 2;
        const int y = clamp(other.top(), bounds.top(), bounds.bottom() + 1 - high);
        return {{x, y}, {x + other.width() + gap, y}};
    }
    // One above the other.
    const int down = other.height() + gap + frame.height();
    const int wide = std::max(other.width(), frame.width());
    if (down <= bounds.height() && wide <= bounds.width()) {
        const int y = bounds.top() + (bounds.height() - down) / 2;
        const int x = clamp(other.left(), bounds.left(), bounds.right() + 1 - wide);
        return {{x, y}, {x, y + other.height() + gap}};
    }
    return {other.topLeft(), gCentredPos(QRect(tries[0], frame), frame, bounds)};
}

QMargins gFrameMargins() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w->isMinimized() || w->windowFlags().testFlag(Qt::FramelessWindowHint))
            continue;
        if (w->frameGeometry() != w->geometry()) return seenFrame = frameOf(w);
    }
    return seenFrame;
}

QRect gOuterRect(const QWidget* window) {
    const QRect outer = window->frameGeometry();
    if (outer != window->geometry() || window->windowFlags().testFlag(Qt::FramelessWindowHint)) return outer;
    // No frame yet: the one the platform says it will get, else the one the others have.
    const QWindow* handle = window->windowHandle();
    const QMargins margins =
        handle && !handle->frameMargins().isNull() ? handle->frameMargins() : gFrameMargins();
    return outer.marginsAdded(margins);
}

QRect gScreenArea(const QWidget* window) {
    QScreen* screen = nullptr;
    if (window && window->isVisible()) screen = window->screen();
    if (!screen) screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void gCentreWindow(QWidget* window, const QWidget* owner) {
    if (!window) return;
    knownFrame(window);
    const QRect outer = gOuterRect(window);
    const QRect area = gScreenArea(onScreen(owner) ? owner : nullptr);
    const QRect on = onScreen(owner) ? gOuterRect(owner) : area;
    moveFrameTo(window, gCentredPos(on, outer.size(), area));
}

void gPlaceBeside(QWidget* window, QWidget* other) {
    if (!window || !other) return;
    knownFrame(window);
    const QRect outer = gOuterRect(other);
    const gBesidePlaces at = gPlacesBeside(outer, gOuterRect(window).size(), gScreenArea(other), kBesideGap);
    if (at.other != outer.topLeft()) moveFrameTo(other, at.other);
    moveFrameTo(window, at.window);
}

void gCentreOnFirstShow(QWidget* window, QWidget* owner) {
    // Placed as it is shown, when the platform knows the frame it gets.
    if (window && window->isWindow()) window->installEventFilter(new FirstShowPlacer(window, owner));
}

void gCentreEveryDialog() {
    static DialogPlacer* placer = nullptr;
    if (placer || !qApp) return;
    placer = new DialogPlacer;
    placer->setParent(qApp);
    qApp->installEventFilter(placer);
}

void gFocusEveryShownWindow() {
    static ShownWindowFocus* focus = nullptr;
    if (focus || !qApp) return;
    focus = new ShownWindowFocus;
    focus->setParent(qApp);
    qApp->installEventFilter(focus);
}

QWidget* gOwnerWindow(const QWidget* except) {
    QWidget* active = QApplication::activeWindow();
    if (active && active != except && onScreen(active)) return active;
    const QList<QWidget*> loaded = forms::loadedForms();
    for (auto it = loaded.crbegin(); it != loaded.crend(); ++it) {
        QWidget* w = *it;
        if (w != except && w->isWindow() && onScreen(w)) return w;
    }
    return nullptr;
}
