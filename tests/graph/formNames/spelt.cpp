// Compiled, not built: the registry takes the listed names.
#include "core/ui/gForms.h"

QWidget* openMain() {
    return forms::load(Form::frmMain);
}
