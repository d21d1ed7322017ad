#include "core/model/clsCol.h"

// clsCol holds data only.
