#pragma once
class QWidget;

// What start-up needs of the sign-in window: pressing its sign-in button
// without showing it. True when the account is signed in.
class gLoginForm {
public:
    virtual ~gLoginForm() = default;
    virtual bool cmd1Click() = 0;
};

// The account's windows that start-up, the second start and the notification
// icon open: account creation, the sign-in and the unlock window. The accounts
// library implements it and registers it with its forms; below it these
// windows are reached only through here, never by a form's name.
class gAccountWindows {
public:
    virtual ~gAccountWindows() = default;

    // Loads account creation and shows it.
    virtual void showAccountCreation() = 0;
    // Loads the sign-in window, not shown; the loaded one, or nullptr.
    virtual QWidget* loadSignIn() = 0;
    virtual QWidget* signIn() const = 0;
    // Loads the unlock window, not shown; nullptr when the program has none.
    virtual QWidget* loadUnlockWindow() = 0;

    // The registered windows, or nullptr before the accounts registered them.
    static gAccountWindows* registered();
    static void setRegistered(gAccountWindows* windows);
};
