#pragma once
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

// Forms are single default instances reached by name. Loading creates the form
// and runs its load step; unloading runs its unload step, hides it and deletes it
// later (forms unload themselves from inside their own handlers). The next use
// after an unload creates a fresh instance.
class gForm {
public:
    virtual ~gForm() = default;
    // Runs once, right after the form was created by the registry.
    virtual void formLoad() {}
    // Runs when the form is unloaded; returning false cancels the unload.
    virtual bool formQueryUnload() { return true; }
    virtual void formUnload() {}
};

namespace forms {

using Factory = std::function<QWidget*()>;

// Registers (or replaces, for tests) the factory of a form name.
void registerForm(const QString& name, Factory factory);
bool isRegistered(const QString& name);

// Creates the form when it is not loaded (running its load step); returns it, not shown.
// A name without a factory raises error 91.
QWidget* load(const QString& name);
template <class T> T* load(const QString& name) {
    return dynamic_cast<T*>(load(name));
}

// A fresh instance of the named form that is not loaded: its load step does not
// run, find() does not see it, the caller owns it. nullptr for a name without a factory.
QWidget* create(const QString& name);

// The loaded form, or nullptr.
QWidget* find(const QString& name);
template <class T> T* find(const QString& name) {
    return dynamic_cast<T*>(find(name));
}
bool isLoaded(const QString& name);

// Unloads the named form (idempotent). Returns false when its unload step refused.
bool unload(const QString& name);
bool unload(QWidget* form);

QStringList loadedNames();

// Any window the program shows outside the registry (the message box) counts
// as loaded while it is open, so the program does not end beneath it.
void holdOpen();
void releaseOpen();

// The program ends when no form is loaded any more; checked by a queued call, so
// that "unload this window, then run Main again" never ends it in between.
void setQuitWhenEmpty(bool on);
void checkQuitLater();

// Tests: unload everything and forget the test factories.
void unloadAllNow();

} // namespace forms
