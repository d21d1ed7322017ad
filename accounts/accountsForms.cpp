#include "accounts/frmCreateAccount.h"
#include "accounts/frmKeyExport.h"
#include "accounts/frmLock.h"
#include "accounts/frmLogin.h"
#include "accounts/frmUser.h"
#include "core/ui/gForms.h"

// Every form of this folder registers itself here, by the name the program uses.
void gRegisterAccountsForms() {
    forms::registerForm(QStringLiteral("frmCreateAccount"), [] { return new frmCreateAccount; });
    forms::registerForm(QStringLiteral("frmLogin"), [] { return new frmLogin; });
    forms::registerForm(QStringLiteral("frmLock"), [] { return new frmLock; });
    forms::registerForm(QStringLiteral("frmKeyExport"), [] { return new frmKeyExport; });
    forms::registerForm(QStringLiteral("frmUser"), [] { return new frmUser; });
}
