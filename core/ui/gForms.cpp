#include "core/ui/gForms.h"

#include "core/base/gError.h"
#include "core/ui/gWindowPlace.h"

#include <QApplication>
#include <QHash>
#include <QTimer>

namespace forms {
namespace {

struct Registry {
    QHash<QString, Factory> factories;
    QHash<QString, QPointer<QWidget>> loaded;
    QStringList order; // load order, for loadedNames()
    bool quitWhenEmpty = false;
    bool checkQueued = false;
    int held = 0;
};

Registry& reg() {
    static Registry r;
    return r;
}

QString nameOf(QWidget* w) {
    for (auto it = reg().loaded.cbegin(); it != reg().loaded.cend(); ++it)
        if (it.value() == w) return it.key();
    return {};
}

void forget(const QString& name) {
    reg().loaded.remove(name);
    reg().order.removeAll(name);
}

QWidget* findByName(const QString& name) {
    auto it = reg().loaded.find(name);
    if (it == reg().loaded.end()) return nullptr;
    if (it.value().isNull()) {
        forget(name);
        return nullptr;
    }
    return it.value();
}

} // namespace

void registerForm(gFormName name, Factory factory) {
    reg().factories.insert(name, std::move(factory));
}

bool isRegistered(gFormName name) {
    return reg().factories.contains(name);
}

QWidget* load(gFormName formName) {
    const QString name = formName;
    if (QWidget* w = findByName(name)) return w;
    auto f = reg().factories.constFind(name);
    if (f == reg().factories.cend() || !*f)
        gRaise(gErr::ObjectNotSet, QStringLiteral("窗体 %1 不存在").arg(name));
    QWidget* w = (*f)();
    if (!w) gRaise(gErr::ObjectNotSet);
    w->setObjectName(name);
    // Whatever the desktop, a window opens centred, not where the last one did.
    gCentreOnFirstShow(w);
    reg().loaded.insert(name, w);
    reg().order.append(name);
    if (auto* form = dynamic_cast<gForm*>(w)) {
        try {
            form->formLoad();
        } catch (...) {
            // A form whose load failed is not loaded.
            if (findByName(name) == w) {
                forget(name);
                w->hide();
                w->deleteLater();
            }
            throw;
        }
    }
    return w;
}

QWidget* create(gFormName name) {
    auto f = reg().factories.constFind(name);
    if (f == reg().factories.cend() || !*f) return nullptr;
    return (*f)();
}

QWidget* find(gFormName name) {
    return findByName(name);
}

bool isLoaded(gFormName name) {
    return find(name) != nullptr;
}

bool unload(QWidget* w) {
    if (!w) return true;
    const QString name = nameOf(w);
    if (name.isEmpty()) return true; // already unloaded
    auto* form = dynamic_cast<gForm*>(w);
    if (form && !form->formQueryUnload()) return false;
    // Forget it first: an unload step that loads or unloads other forms must see this one gone.
    forget(name);
    if (form) {
        try {
            form->formUnload();
        } catch (...) {
            w->hide();
            w->deleteLater();
            checkQuitLater();
            throw;
        }
    }
    w->hide();
    w->deleteLater();
    checkQuitLater();
    return true;
}

bool unload(gFormName name) {
    return unload(find(name));
}

QStringList loadedNames() {
    QStringList out;
    for (const QString& n : QStringList(reg().order))
        if (findByName(n)) out << n;
    return out;
}

QList<QWidget*> loadedForms() {
    QList<QWidget*> out;
    for (const QString& n : QStringList(reg().order))
        if (QWidget* w = findByName(n)) out << w;
    return out;
}

void holdOpen() {
    ++reg().held;
}

void releaseOpen() {
    if (reg().held > 0) --reg().held;
    checkQuitLater();
}

void setQuitWhenEmpty(bool on) {
    reg().quitWhenEmpty = on;
}

void checkQuitLater() {
    if (!reg().quitWhenEmpty || reg().checkQueued) return;
    reg().checkQueued = true;
    QTimer::singleShot(0, qApp, [] {
        reg().checkQueued = false;
        if (reg().quitWhenEmpty && reg().held == 0 && loadedNames().isEmpty()) QCoreApplication::quit();
    });
}

void unloadAllNow() {
    const QStringList names = loadedNames();
    for (auto it = names.crbegin(); it != names.crend(); ++it) {
        QWidget* w = findByName(*it);
        if (!w) continue;
        forget(*it);
        if (auto* form = dynamic_cast<gForm*>(w)) {
            try {
                form->formUnload();
            } catch (...) {
            }
        }
        delete w;
    }
    reg().loaded.clear();
    reg().order.clear();
}

} // namespace forms
