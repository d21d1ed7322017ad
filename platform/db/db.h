#pragma once
// The data-access layer in one include.
#include "platform/db/Command.h"
#include "platform/db/Connection.h"
#include "platform/db/Recordset.h"
#include "platform/db/dbTypes.h"
