#pragma once
// Whether some program holds a global combination: the system then refuses
// it to the test's own registration.

#include <windows.h>

#include "core/base/shortcut.h"

namespace glimmerly::testing_support {

inline bool hotkey_held(Shortcut shortcut) {
    constexpr int kProbeId = 0x7B;
    if (!RegisterHotKey(nullptr, kProbeId, shortcut.modifiers, shortcut.key)) return true;
    UnregisterHotKey(nullptr, kProbeId);
    return false;
}

}  // namespace glimmerly::testing_support
