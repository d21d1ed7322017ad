#pragma once
// The main window's ties to the desktop: the notification icon with its
// balloons and clicks, the clipboard watch that offers new clipboard text, the
// window's size limits and the floating window's translucency.
//
// The logic lives in plain objects so it can be driven without a notification
// area (tests call leftClick(), balloonClicked(), clipboardChanged() directly).
#include <QIcon>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>

class QMenu;
class QSystemTrayIcon;
class QWidget;

// What the notification icon works on: the main window, its two menus and its
// clipboard quoting.
struct gTrayHost {
    QPointer<QWidget> window;
    QPointer<QMenu> toolMenu; // shown while unlocked
    QPointer<QMenu> lockMenu; // shown while locked
    std::function<void()> quoteClipboard;
    QIcon icon; // the icon's picture
};

// Balloon icons.
namespace gBalloonIcon {
constexpr int Information = 1, Warning = 2, Error = 3;
}

// True when the desktop has a notification area (or what tests said it has).
bool gTrayAreaExists();

namespace gTraySeam {
// nullopt: ask the desktop. Tests set both roads.
void setAreaExists(std::optional<bool> exists);
void reset();
} // namespace gTraySeam

class gTrayIcon : public QObject {
    Q_OBJECT
public:
    static gTrayIcon& instance();

    void add(const gTrayHost& host, const QString& tip);
    void remove();
    bool isAdded() const { return added_; }
    // The icon sits in a notification area. A panel that starts after the
    // program gets the icon when it appears (checked now and every few seconds).
    bool isPlaced() const { return placed_; }
    void place();
    const gTrayHost& host() const { return host_; }

    struct Balloon {
        QString text;
        QString title;
        int infoFlags;
        int kind;
    };
    // Skipped (and not recorded) without a notification area.
    void balloon(const QString& text, const QString& title, int infoFlags, int kind);
    const QList<Balloon>& balloonsShown() const { return balloons_; }
    void clearBalloons() { balloons_.clear(); }

    // What the icon's mouse does. Nothing happens while a message box is open.
    void leftClick();
    // Pops the menu of the lock state at the pointer and returns it.
    QMenu* rightClick();
    void balloonClicked();

    // The context menu for the lock state now; the desktop shows it by itself,
    // so it is kept in step with gLocked ahead of any click.
    QMenu* menuNow() const;
    void syncMenu();

    // The real icon, or nullptr (no notification area, or not added).
    QSystemTrayIcon* trayIcon() const { return icon_; }

private:
    gTrayIcon();
    gTrayHost host_;
    QString tip_;
    bool added_ = false;
    bool placed_ = false;
    QSystemTrayIcon* icon_ = nullptr;
    QTimer sync_;
    QTimer placeLater_;
    QList<Balloon> balloons_;
};

// The module procedures the main window calls.
void gTrayAdd(const gTrayHost& host, const QString& tip);
void gTrayRemove();
void gTrayBalloon(const QString& text, const QString& title, int infoFlags, int kind);

class gClipboardWatch : public QObject {
    Q_OBJECT
public:
    static gClipboardWatch& instance();
    void hook();
    void unhook();
    bool isHooked() const { return hooked_; }
    // The clipboard changed: offer its text when unlocked and option 6 is on.
    void clipboardChanged();

private:
    gClipboardWatch() = default;
    bool hooked_ = false;
    QMetaObject::Connection conn_;
};

void gHookClipboard(QWidget* window);
void gUnhookClipboard(QWidget* window);

// The clipboard's text (the clipboard, not the selection); "" when it holds none.
QString gClipboardText();

// Limits the window's size in pixels; a maximum of 0 means the screen's size.
void gLimitFormSize(QWidget* window, int minWidth, int minHeight, int maxWidth, int maxHeight);

// The floating window's fixed translucency, 128 of 255.
constexpr double gTranslucentOpacity = 128.0 / 255.0;
void gSetTranslucent(QWidget* window);
