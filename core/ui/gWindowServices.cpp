#include "core/ui/gWindowServices.h"

#include "core/base/gError.h"
#include "core/ui/gLoginApi.h"
#include "core/ui/gMsgBox.h"
#include "core/model/gOptions.h"
#include "core/model/gState.h"

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QWidget>

namespace {
std::optional<bool> areaOverride;

QSystemTrayIcon::MessageIcon messageIcon(int infoFlags) {
    switch (infoFlags) {
    case gBalloonIcon::Warning:
        return QSystemTrayIcon::Warning;
    case gBalloonIcon::Error:
        return QSystemTrayIcon::Critical;
    case gBalloonIcon::Information:
        return QSystemTrayIcon::Information;
    default:
        return QSystemTrayIcon::NoIcon;
    }
}

void showUnlockWindow() {
    gAccountWindows* accounts = gAccountWindows::registered();
    QWidget* w = accounts ? accounts->loadUnlockWindow() : nullptr;
    if (!w) return;
    w->show();
    w->raise();
    w->activateWindow();
}
} // namespace

bool gTrayAreaExists() {
    if (areaOverride) return *areaOverride;
    return QSystemTrayIcon::isSystemTrayAvailable();
}

namespace gTraySeam {
void setAreaExists(std::optional<bool> exists) {
    areaOverride = exists;
}
void reset() {
    areaOverride.reset();
    gTrayIcon::instance().remove();
    gTrayIcon::instance().clearBalloons();
    gClipboardWatch::instance().unhook();
}
} // namespace gTraySeam

// ---- notification icon ----

gTrayIcon& gTrayIcon::instance() {
    static gTrayIcon* icon = new gTrayIcon; // lives as long as the process
    return *icon;
}

gTrayIcon::gTrayIcon() {
    sync_.setInterval(250);
    connect(&sync_, &QTimer::timeout, this, [this] { syncMenu(); });
    placeLater_.setInterval(5000);
    connect(&placeLater_, &QTimer::timeout, this, [this] { gGuard([this] { place(); }); });
}

void gTrayIcon::add(const gTrayHost& host, const QString& tip) {
    remove();
    host_ = host;
    tip_ = tip;
    added_ = true;
    place();
    if (!placed_) placeLater_.start();
}

void gTrayIcon::place() {
    if (!added_ || placed_ || !gTrayAreaExists()) return;
    placed_ = true;
    placeLater_.stop();
    // Only a desktop that really has a notification area gets an icon; the
    // logic above it runs the same either way.
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        icon_ = new QSystemTrayIcon(host_.icon, this);
        icon_->setToolTip(tip_);
        connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
            // The context menu is the desktop's to show; only the left click is ours.
            if (r == QSystemTrayIcon::Trigger) gGuard([this] { leftClick(); });
        });
        connect(icon_, &QSystemTrayIcon::messageClicked, this,
                [this] { gGuard([this] { balloonClicked(); }); });
        syncMenu();
        icon_->show();
        sync_.start();
    }
}

void gTrayIcon::remove() {
    sync_.stop();
    placeLater_.stop();
    placed_ = false;
    tip_.clear();
    if (icon_) {
        icon_->hide();
        icon_->setContextMenu(nullptr);
        delete icon_;
        icon_ = nullptr;
    }
    host_ = {};
    added_ = false;
}

void gTrayIcon::balloon(const QString& text, const QString& title, int infoFlags, int kind) {
    gBalloonKind = kind;
    if (!placed_ || !gTrayAreaExists()) return;
    balloons_.append({text, title, infoFlags, kind});
    if (icon_) icon_->showMessage(title, text, messageIcon(infoFlags), 10000);
}

void gTrayIcon::leftClick() {
    if (gMessageOpen || !added_) return;
    if (gLocked) {
        showUnlockWindow();
        return;
    }
    QWidget* w = host_.window;
    if (!w) return;
    if (w->isMinimized() || !w->isVisible()) {
        w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
        w->show();
        w->raise();
        w->activateWindow();
    } else {
        w->setWindowState(w->windowState() | Qt::WindowMinimized);
    }
}

QMenu* gTrayIcon::rightClick() {
    if (gMessageOpen || !added_) return nullptr;
    syncMenu();
    QMenu* menu = menuNow();
    if (!menu) return nullptr;
    if (!gLocked && host_.window && host_.window->isVisible()) host_.window->activateWindow();
    menu->popup(QCursor::pos());
    return menu;
}

void gTrayIcon::balloonClicked() {
    if (gMessageOpen || !added_) return;
    if (gLocked || gBalloonKind != 1) return;
    if (host_.quoteClipboard) host_.quoteClipboard();
}

QMenu* gTrayIcon::menuNow() const {
    return gLocked ? host_.lockMenu.data() : host_.toolMenu.data();
}

void gTrayIcon::syncMenu() {
    if (!icon_) return;
    QMenu* menu = menuNow();
    if (icon_->contextMenu() != menu) icon_->setContextMenu(menu);
}

void gTrayAdd(const gTrayHost& host, const QString& tip) {
    gTrayIcon::instance().add(host, tip);
}
void gTrayRemove() {
    gTrayIcon::instance().remove();
}
void gTrayBalloon(const QString& text, const QString& title, int infoFlags, int kind) {
    gTrayIcon::instance().balloon(text, title, infoFlags, kind);
}

// ---- clipboard watch ----

gClipboardWatch& gClipboardWatch::instance() {
    static gClipboardWatch* watch = new gClipboardWatch;
    return *watch;
}

void gClipboardWatch::hook() {
    if (hooked_) return;
    hooked_ = true;
    conn_ = connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
                    [this] { gGuard([this] { clipboardChanged(); }); });
}

void gClipboardWatch::unhook() {
    if (!hooked_) return;
    disconnect(conn_);
    hooked_ = false;
}

void gClipboardWatch::clipboardChanged() {
    if (!hooked_) return;
    const QString text = gClipboardText();
    if (!gLocked && !text.isEmpty() && gOption(Option::OfferClipboard))
        gTrayBalloon(QStringLiteral("单击此处引用剪贴板的数据。"), QStringLiteral("检测到可用数据"),
                     gBalloonIcon::Information, 1);
}

void gHookClipboard(QWidget*) {
    gClipboardWatch::instance().hook();
}
void gUnhookClipboard(QWidget*) {
    gClipboardWatch::instance().unhook();
}

QString gClipboardText() {
    const QClipboard* cb = QGuiApplication::clipboard();
    if (!cb) return {};
    return cb->text(QClipboard::Clipboard);
}

// ---- size and translucency ----

void gLimitFormSize(QWidget* window, int minWidth, int minHeight, int maxWidth, int maxHeight) {
    if (!window) return;
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->size() : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    window->setMinimumSize(minWidth, minHeight);
    window->setMaximumSize(maxWidth > 0 ? maxWidth : screenSize.width(),
                           maxHeight > 0 ? maxHeight : screenSize.height());
}

void gSetTranslucent(QWidget* window) {
    if (window) window->setWindowOpacity(gTranslucentOpacity);
}
