#include "core/clsRow.h"

// clsRow holds data only.
