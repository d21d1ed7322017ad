#include "core/gMain.h"

void Main() {
    // Start-up is built on top of the foundation; until then the program starts and ends.
}
