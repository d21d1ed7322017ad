#include "core/ui/gWarmUp.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {
struct WarmUp {
    std::function<void()> work;
    bool queued = false;
};

WarmUp& warmUp() {
    static WarmUp w;
    return w;
}
} // namespace

void gSetWarmUp(std::function<void()> work) {
    warmUp().work = std::move(work);
}

void gWarmUpLater(QWidget* waiting) {
    if (!warmUp().work || warmUp().queued || !waiting) return;
    warmUp().queued = true;
    // From the event loop: after the paint that asked for it has reached the screen.
    QTimer::singleShot(0, qApp, [waiting = QPointer<QWidget>(waiting)] {
        warmUp().queued = false;
        // A window gone meanwhile leaves it to the next one that waits.
        if (!waiting || !waiting->isVisible()) return;
        const std::function<void()> work = std::exchange(warmUp().work, nullptr);
        try {
            work();
        } catch (...) {
        }
    });
}
