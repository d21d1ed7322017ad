#include "core/ui/gDialogKeys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QWidget>

namespace {

// One shortcut per key and window, found again by name: a second binding on the
// same window moves the key to the new button (two shortcuts for one key would
// make it ambiguous, and neither would fire).
class KeyBinding : public QShortcut {
public:
    KeyBinding(const QKeySequence& key, QWidget* host, bool isDefault) : QShortcut(key, host) {
        setContext(Qt::WindowShortcut);
        connect(this, &QShortcut::activated, this, [this, host, isDefault] {
            if (isDefault) {
                // A push button of the window that has the focus takes Enter itself.
                auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
                if (focused && focused != button && host->isAncestorOf(focused) && focused->isVisible() &&
                    focused->isEnabled()) {
                    focused->click();
                    return;
                }
            }
            if (button && button->isVisible() && button->isEnabled()) button->click();
        });
    }
    QPointer<QAbstractButton> button;
};

void bind(QWidget* host, const char* name, const QKeySequence& key, QAbstractButton* button, bool isDefault) {
    auto* sc = dynamic_cast<KeyBinding*>(
        host->findChild<QShortcut*>(QLatin1String(name), Qt::FindDirectChildrenOnly));
    if (!sc) {
        sc = new KeyBinding(key, host, isDefault);
        sc->setObjectName(QLatin1String(name));
    }
    sc->button = button;
}

} // namespace

void gBindDefaultCancel(QWidget* host, QAbstractButton* defaultButton, QAbstractButton* cancelButton) {
    if (!host) return;
    bind(host, "gDefaultReturn", QKeySequence(Qt::Key_Return), defaultButton, true);
    bind(host, "gDefaultEnter", QKeySequence(Qt::Key_Enter), defaultButton, true);
    bind(host, "gCancelEscape", QKeySequence(Qt::Key_Escape), cancelButton, false);
}
