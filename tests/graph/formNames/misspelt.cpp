// Compiled, not built: a misspelt name must not compile.
#include "core/ui/gForms.h"

QWidget* openMain() {
    return forms::load(Form::frmMian);
}
