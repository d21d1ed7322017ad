#include "core/ui/gForms.h"
#include "core/ui/gWarmUp.h"
#include "shell/frmAbout.h"
#include "shell/frmMain.h"
#include "shell/frmSet.h"
#include "shell/frmSuspend.h"

// Every form of this folder registers itself here, by the name the program uses.
void gRegisterShellForms() {
    forms::registerForm(QStringLiteral("frmMain"), [] { return new frmMain; });
    forms::registerForm(QStringLiteral("frmAbout"), [] { return new frmAbout; });
    forms::registerForm(QStringLiteral("frmSet"), [] { return new frmSet; });
    forms::registerForm(QStringLiteral("frmSuspend"), [] { return new frmSuspend; });
    // The sign-in window's idle time readies the main window.
    gSetWarmUp(&frmMain::warmUp);
}
