#include "core/base/gError.h"
#include "core/model/gOptions.h"
#include "core/ui/gForms.h"
#include "core/ui/gMsgBox.h"
#include "core/ui/gShellApi.h"
#include "core/ui/gWarmUp.h"
#include "shell/frmAbout.h"
#include "shell/frmMain.h"
#include "shell/frmSet.h"
#include "shell/frmSuspend.h"

namespace {

// The shell's windows as the libraries below it reach them, by the names the
// shell registers.
class ShellWindows final : public gShellWindows {
public:
    QWidget* mainWindow() const override { return forms::find(Form::frmMain); }
    QWidget* loadMainWindow() override { return forms::load(Form::frmMain); }

    void showFloatingWindow() override {
        if (forms::isRegistered(Form::frmSuspend)) forms::load(Form::frmSuspend)->show();
    }
    void unloadFloatingWindow() override { forms::unload(Form::frmSuspend); }

    void openSignedIn() override {
        auto loadIfBuilt = [](gFormName name) {
            try {
                if (forms::isRegistered(name)) forms::load(name);
            } catch (...) {
                gShowErrorBox(true);
            }
        };
        loadIfBuilt(Form::frmScheRemind);
        // Today's-classes report opens the main window when it closes; without it, open the main window.
        const bool report = gOption(Option::TodayClassesAtStart) && forms::isRegistered(Form::frmScheReport);
        loadIfBuilt(report ? Form::frmScheReport : Form::frmMain);
    }
};

} // namespace

// What the libraries below reach of the shell's windows; without the forms
// themselves, for tests that stand in for them by name.
void gRegisterShellWindows() {
    static ShellWindows windows;
    gShellWindows::setRegistered(&windows);
}

// Every form of this folder registers itself here, by the name the program uses.
void gRegisterShellForms() {
    forms::registerForm(Form::frmMain, [] { return new frmMain; });
    forms::registerForm(Form::frmAbout, [] { return new frmAbout; });
    forms::registerForm(Form::frmSet, [] { return new frmSet; });
    forms::registerForm(Form::frmSuspend, [] { return new frmSuspend; });
    gRegisterShellWindows();
    // The sign-in window's idle time readies the main window.
    gSetWarmUp(&frmMain::warmUp);
}
