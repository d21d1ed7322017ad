#include "platform/sessionEnd.h"

#include <QEvent>
#include <QGuiApplication>
#include <QSocketNotifier>
#if QT_CONFIG(sessionmanager)
#include <QSessionManager>
#endif

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace sessionEnd {
namespace {

// [0] is written by the signal handler, [1] read by the event loop.
int signalSockets[2] = {-1, -1};

extern "C" void onEndSignal(int signal) {
    // Only async-signal-safe calls here. The socket does not block: when it is
    // full, a byte is already waiting to be read.
    const int saved = errno;
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t n = ::write(signalSockets[0], &byte, 1);
    errno = saved;
}

class Watcher : public QObject {
public:
    explicit Watcher(QObject* parent) : QObject(parent) {}
    Handlers handlers;

    void end() {
        if (handlers.end) handlers.end();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Quit && watched == QCoreApplication::instance() && handlers.running &&
            handlers.running()) {
            end();
            return true;
        }
        return false;
    }
};

Watcher* watcher = nullptr;

bool catchSignals() {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, signalSockets) != 0)
        return false;
    auto* notifier = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, watcher);
    QObject::connect(notifier, &QSocketNotifier::activated, watcher, [] {
        char bytes[16];
        while (::read(signalSockets[1], bytes, sizeof bytes) > 0) {
        }
        watcher->end();
    });
    struct sigaction action = {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGTERM, &action, nullptr) == 0 && ::sigaction(SIGHUP, &action, nullptr) == 0;
}

} // namespace

void watch(Handlers handlers) {
    if (!watcher) {
        watcher = new Watcher(QCoreApplication::instance());
        // Without the socket pair the signals keep their default: the program
        // ends at once, as it did before it watched for them.
        catchSignals();
        QCoreApplication::instance()->installEventFilter(watcher);
#if QT_CONFIG(sessionmanager)
        if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
            // Starting with the session is the autostart entry's business, which
            // the user turns on and off; the session manager must not start a
            // copy of its own at the next login.
            const auto noRestart = [](QSessionManager& manager) {
                manager.setRestartHint(QSessionManager::RestartNever);
            };
            QObject::connect(app, &QGuiApplication::saveStateRequest, watcher, noRestart);
            QObject::connect(app, &QGuiApplication::commitDataRequest, watcher,
                             [noRestart](QSessionManager& manager) {
                                 noRestart(manager);
                                 if (watcher->handlers.save) watcher->handlers.save();
                             });
        }
#endif
    }
    watcher->handlers = std::move(handlers);
}

} // namespace sessionEnd
