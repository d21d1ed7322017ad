#include "controls/scheduleText.h"
#include "core/ui/gForms.h"
#include "diary/frmNew.h"
#include "diary/frmPopUp.h"
#include "diary/frmRetrieval.h"
#include "diary/frmReview.h"
#include "diary/frmWelcome.h"

// Every form of this folder registers itself here, by the name the program uses.
void gRegisterDiaryForms() {
    forms::registerForm(QStringLiteral("frmNew"), [] { return new frmNew; });
    forms::registerForm(QStringLiteral("frmPopUp"), [] { return new frmPopUp; });
    forms::registerForm(QStringLiteral("frmRetrieval"), [] { return new frmRetrieval; });
    forms::registerForm(QStringLiteral("frmReview"), [] { return new frmReview; });
    forms::registerForm(QStringLiteral("frmWelcome"), [] { return new frmWelcome; });
    gShowPopUpEditor = gOpenPopUpEditor;
}
