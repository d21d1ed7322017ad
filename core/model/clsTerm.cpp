#include "core/model/clsTerm.h"

// clsTerm holds data only.
