#pragma once
class QWidget;

// What the windows below the shell need of those it builds: the main window,
// the floating window and the windows that follow a sign-in. The shell
// implements it and registers it with its forms; below the shell these
// windows are reached only through here, never by a form's name.
class gShellWindows {
public:
    virtual ~gShellWindows() = default;

    // The loaded main window, or nullptr.
    virtual QWidget* mainWindow() const = 0;
    // Loads the main window, which shows it (or, for a hidden start, puts it in
    // the notification area); error 91 when the program has none.
    virtual QWidget* loadMainWindow() = 0;

    // Shows the floating window, when the program has one; unloads it.
    virtual void showFloatingWindow() = 0;
    virtual void unloadFloatingWindow() = 0;

    // Once the sign-in has opened the account: the class reminder, then
    // today's classes when the options ask for them (they open the main window
    // when they close), else the main window; each only when the program has
    // it. The errors of each are reported and the next one still opens.
    virtual void openSignedIn() = 0;

    // The registered windows, or nullptr before the shell registered them.
    static gShellWindows* registered();
    static void setRegistered(gShellWindows* windows);
};
