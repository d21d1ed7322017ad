#include "core/clsCol.h"

// clsCol holds data only.
