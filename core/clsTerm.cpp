#include "core/clsTerm.h"

// clsTerm holds data only.
