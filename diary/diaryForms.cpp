#include "controls/scheduleText.h"
#include "core/gForms.h"
#include "diary/frmNew.h"
#include "diary/frmPopUp.h"

// Every form of this folder registers itself here, by the name the program uses.
void gRegisterDiaryForms() {
    forms::registerForm(QStringLiteral("frmNew"), [] { return new frmNew; });
    forms::registerForm(QStringLiteral("frmPopUp"), [] { return new frmPopUp; });
    gShowPopUpEditor = gOpenPopUpEditor;
}
