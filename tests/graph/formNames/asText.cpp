// Compiled, not built: a name written as text must not compile.
#include "core/ui/gForms.h"

QWidget* openMain() {
    return forms::load(QStringLiteral("frmMain"));
}
