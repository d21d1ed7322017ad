#include "controls/scheduleText.h"
#include "core/ui/gDiaryMarks.h"
#include "core/ui/gForms.h"
#include "diary/frmNew.h"
#include "diary/frmPopUp.h"
#include "diary/frmRetrieval.h"
#include "diary/frmReview.h"
#include "diary/frmWelcome.h"

namespace {

// The month views of the review and home pages, found on the loaded page by
// their designer name.
class DiaryPages final : public gDiaryPages {
public:
    gDayMarkView* monthView(bool fromReview) const override {
        QWidget* form = forms::find(fromReview ? Form::frmReview : Form::frmWelcome);
        QWidget* child = form ? form->findChild<QWidget*>(QStringLiteral("MonthView1")) : nullptr;
        return dynamic_cast<gDayMarkView*>(child);
    }
};

} // namespace

// What the libraries below reach of the diary's pages; without the forms
// themselves, for tests that stand in for them by name.
void gRegisterDiaryPages() {
    static DiaryPages pages;
    gDiaryPages::setRegistered(&pages);
}

// Every form of this folder registers itself here, by the name the program uses.
void gRegisterDiaryForms() {
    forms::registerForm(Form::frmNew, [] { return new frmNew; });
    forms::registerForm(Form::frmPopUp, [] { return new frmPopUp; });
    forms::registerForm(Form::frmRetrieval, [] { return new frmRetrieval; });
    forms::registerForm(Form::frmReview, [] { return new frmReview; });
    forms::registerForm(Form::frmWelcome, [] { return new frmWelcome; });
    gShowPopUpEditor = gOpenPopUpEditor;
    gRegisterDiaryPages();
}
