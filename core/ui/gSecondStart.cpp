#include "core/ui/gSecondStart.h"

#include "core/ui/gForms.h"
#include "core/ui/gLoginApi.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gState.h"
#include "core/ui/gShellApi.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>

namespace {

// A connection that has said nothing useful by then is closed.
constexpr int kIdleMs = 5000;

QPointer<QLocalServer> server;

void bringUp(QWidget* w) {
    w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
    w->show();
    w->raise();
    w->activateWindow();
}

void serve(QLocalSocket* socket) {
    auto* received = new QByteArray;
    auto* idle = new QTimer(socket);
    idle->setSingleShot(true);
    QObject::connect(idle, &QTimer::timeout, socket, [socket] {
        socket->abort();
        socket->deleteLater();
    });
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QObject::destroyed, [received] { delete received; });
    QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, received, idle] {
        if (received->size() >= kComeForwardRequest.size()) return; // answered already
        received->append(socket->read(kComeForwardRequest.size() - received->size()));
        if (!kComeForwardRequest.startsWith(*received) || socket->bytesAvailable() > 0) {
            // Not the request: closed, and nothing done.
            socket->abort();
            socket->deleteLater();
            return;
        }
        if (received->size() < kComeForwardRequest.size()) return;
        idle->stop();
        gGuard([] { gComeForward(); });
        socket->write(kComeForwardAnswer);
        socket->disconnectFromServer();
    });
    idle->start(kIdleMs);
}

} // namespace

QString gSecondStartSocket() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QString() : runtime + QStringLiteral("/Rededera.socket");
}

bool gListenForSecondStart() {
    const QString name = gSecondStartSocket();
    if (name.isEmpty() || !QCoreApplication::instance()) return false;
    if (server && server->isListening() && server->fullServerName() == name) return true;
    gStopListening();
    server = new QLocalServer(QCoreApplication::instance());
    server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(name);
    if (!server->listen(name)) {
        delete server;
        return false;
    }
    QObject::connect(server, &QLocalServer::newConnection, server, [] {
        while (QLocalSocket* s = server ? server->nextPendingConnection() : nullptr)
            serve(s);
    });
    return true;
}

void gStopListening() {
    if (!server) return;
    const QString name = server->fullServerName();
    server->close();
    delete server;
    if (!name.isEmpty()) QLocalServer::removeServer(name);
}

bool gIsListening() {
    return server && server->isListening();
}

bool gAskRunningToComeForward(int waitMs) {
    const QString name = gSecondStartSocket();
    if (name.isEmpty()) return false;
    QElapsedTimer clock;
    clock.start();
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(waitMs)) return false;
    socket.write(kComeForwardRequest);
    QByteArray answer;
    while (answer.size() < kComeForwardAnswer.size()) {
        const int left = waitMs - int(clock.elapsed());
        if (left <= 0) break;
        if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(left)) break;
        answer.append(socket.read(kComeForwardAnswer.size() - answer.size()));
    }
    return answer == kComeForwardAnswer;
}

void gComeForward() {
    gAccountWindows* accounts = gAccountWindows::registered();
    gShellWindows* shell = gShellWindows::registered();
    // The diary stays behind the password.
    if (QWidget* lock = (gLocked && accounts) ? accounts->loadUnlockWindow() : nullptr) {
        bringUp(lock);
    } else if (QWidget* main = shell ? shell->mainWindow() : nullptr) {
        bringUp(main);
    } else {
        // Before the main window: the sign-in, account creation or today's classes.
        for (QWidget* w : forms::loadedForms())
            if (w->isWindow() && w->isVisible()) bringUp(w);
    }
    // A question the program is waiting on stays in front of the window it belongs to.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}
