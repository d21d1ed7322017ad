#pragma once
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <string_view>

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

// A form's name, as the registry and the form's object name know it. It is made
// only explicitly, so the registry is reached through the names in Form below
// (or a test's own) and a misspelt name does not compile.
class gFormName {
public:
    explicit constexpr gFormName(const char* name) : name_(name) {}
    QString toString() const { return QString::fromLatin1(name_); }
    operator QString() const { return toString(); }
    friend bool operator==(gFormName a, gFormName b) { return std::string_view(a.name_) == b.name_; }

private:
    const char* name_;
};

// The program's forms, each named once. A library loads only the forms of its
// own library or of those below it (the library_order test reads these names
// where they are registered and used); windows built above are reached from
// below through interfaces: the shell's in core/ui/gShellApi.h, the account's
// in core/ui/gLoginApi.h, the diary's month views in core/ui/gDiaryMarks.h.
namespace Form {
// core/ui
inline constexpr gFormName frmHelp{"frmHelp"};
// accounts
inline constexpr gFormName frmCreateAccount{"frmCreateAccount"};
inline constexpr gFormName frmKeyExport{"frmKeyExport"};
inline constexpr gFormName frmLock{"frmLock"};
inline constexpr gFormName frmLogin{"frmLogin"};
inline constexpr gFormName frmUser{"frmUser"};
// diary
inline constexpr gFormName frmNew{"frmNew"};
inline constexpr gFormName frmPopUp{"frmPopUp"};
inline constexpr gFormName frmRetrieval{"frmRetrieval"};
inline constexpr gFormName frmReview{"frmReview"};
inline constexpr gFormName frmWelcome{"frmWelcome"};
// timetable
inline constexpr gFormName frmScheRemind{"frmScheRemind"};
inline constexpr gFormName frmScheReport{"frmScheReport"};
inline constexpr gFormName frmSchedule{"frmSchedule"};
// shell
inline constexpr gFormName frmAbout{"frmAbout"};
inline constexpr gFormName frmMain{"frmMain"};
inline constexpr gFormName frmSet{"frmSet"};
inline constexpr gFormName frmSuspend{"frmSuspend"};
} // namespace Form

namespace forms {

using Factory = std::function<QWidget*()>;

// Registers (or replaces, for tests) the factory of a form name.
void registerForm(gFormName name, Factory factory);
bool isRegistered(gFormName name);

// Creates the form when it is not loaded (running its load step); returns it, not shown.
// A name without a factory raises error 91.
QWidget* load(gFormName name);
template <class T> T* load(gFormName name) {
    return dynamic_cast<T*>(load(name));
}

// A fresh instance of the named form that is not loaded: its load step does not
// run, find() does not see it, the caller owns it. nullptr for a name without a factory.
QWidget* create(gFormName name);

// The loaded form, or nullptr.
QWidget* find(gFormName name);
template <class T> T* find(gFormName name) {
    return dynamic_cast<T*>(find(name));
}
bool isLoaded(gFormName name);

// Unloads the named form (idempotent). Returns false when its unload step refused.
bool unload(gFormName name);
bool unload(QWidget* form);

// The loaded forms' names and the forms themselves, in load order.
QStringList loadedNames();
QList<QWidget*> loadedForms();

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
