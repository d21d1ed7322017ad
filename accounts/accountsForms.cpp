#include "core/gForms.h"

// Every form of this folder registers itself here, by the name the program uses.
void gRegisterAccountsForms() {}
