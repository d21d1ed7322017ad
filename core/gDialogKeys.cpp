#include "core/gDialogKeys.h"

#include <QAbstractButton>
#include <QPointer>
#include <QShortcut>
#include <QWidget>

void gBindDefaultCancel(QWidget* host, QAbstractButton* defaultButton, QAbstractButton* cancelButton) {
    if (!host) return;
    auto bind = [host](const QKeySequence& key, QAbstractButton* button) {
        auto* sc = new QShortcut(key, host);
        sc->setContext(Qt::WindowShortcut);
        QPointer<QAbstractButton> b(button);
        QObject::connect(sc, &QShortcut::activated, host, [b] {
            if (b && b->isVisible() && b->isEnabled()) b->click();
        });
    };
    if (defaultButton) {
        bind(QKeySequence(Qt::Key_Return), defaultButton);
        bind(QKeySequence(Qt::Key_Enter), defaultButton);
    }
    if (cancelButton) bind(QKeySequence(Qt::Key_Escape), cancelButton);
}
