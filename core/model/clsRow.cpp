#include "core/model/clsRow.h"

// clsRow holds data only.
