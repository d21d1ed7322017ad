#include "core/ui/gShellApi.h"

namespace {
gShellWindows* shellWindows = nullptr;
} // namespace

gShellWindows* gShellWindows::registered() {
    return shellWindows;
}

void gShellWindows::setRegistered(gShellWindows* windows) {
    shellWindows = windows;
}
