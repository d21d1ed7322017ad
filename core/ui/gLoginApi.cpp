#include "core/ui/gLoginApi.h"

namespace {
gAccountWindows* accountWindows = nullptr;
} // namespace

gAccountWindows* gAccountWindows::registered() {
    return accountWindows;
}

void gAccountWindows::setRegistered(gAccountWindows* windows) {
    accountWindows = windows;
}
