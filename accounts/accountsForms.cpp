#include "accounts/frmCreateAccount.h"
#include "accounts/frmKeyExport.h"
#include "accounts/frmLock.h"
#include "accounts/frmLogin.h"
#include "accounts/frmUser.h"
#include "core/ui/gForms.h"
#include "core/ui/gLoginApi.h"

namespace {

// The account's windows as start-up, the second start and the notification
// icon reach them, by the names this folder registers.
class AccountWindows final : public gAccountWindows {
public:
    void showAccountCreation() override { forms::load(Form::frmCreateAccount)->show(); }
    QWidget* loadSignIn() override { return forms::load(Form::frmLogin); }
    QWidget* signIn() const override { return forms::find(Form::frmLogin); }
    QWidget* loadUnlockWindow() override {
        return forms::isRegistered(Form::frmLock) ? forms::load(Form::frmLock) : nullptr;
    }
};

} // namespace

// What the libraries below reach of the account's windows; without the forms
// themselves, for tests that stand in for them by name.
void gRegisterAccountWindows() {
    static AccountWindows windows;
    gAccountWindows::setRegistered(&windows);
}

// Every form of this folder registers itself here, by the name the program uses.
void gRegisterAccountsForms() {
    forms::registerForm(Form::frmCreateAccount, [] { return new frmCreateAccount; });
    forms::registerForm(Form::frmLogin, [] { return new frmLogin; });
    forms::registerForm(Form::frmLock, [] { return new frmLock; });
    forms::registerForm(Form::frmKeyExport, [] { return new frmKeyExport; });
    forms::registerForm(Form::frmUser, [] { return new frmUser; });
    gRegisterAccountWindows();
}
