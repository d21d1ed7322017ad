#pragma once
// Not built: the library-order check's own test files it under the base
// library, which must not include the message box's header.
#include "core/ui/gMsgBox.h"
