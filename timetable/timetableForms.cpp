#include "core/ui/gForms.h"
#include "timetable/frmScheRemind.h"
#include "timetable/frmScheReport.h"
#include "timetable/frmSchedule.h"

// Every form of this folder registers itself here, by the name the program uses.
void gRegisterTimetableForms() {
    forms::registerForm(Form::frmScheRemind, [] { return new frmScheRemind; });
    forms::registerForm(Form::frmScheReport, [] { return new frmScheReport; });
    forms::registerForm(Form::frmSchedule, [] { return new frmSchedule; });
}
