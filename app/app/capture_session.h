#pragma once
// The open capture of this process, as the application's message loop sees
// it: the keys meant for its size fields and text box, taken before
// dispatch. The capture editor provides it.

#include <windows.h>

#include <cstdint>
#include <optional>

#include "app/app/settings_timers.h"
#include "core/base/result.h"

namespace glimmerly {

class CaptureSession {
public:
    virtual ~CaptureSession() = default;
    // The size fields first, then the text box; true when one took the key.
    virtual bool take_key(HWND window, std::uint32_t key, bool ctrl_down) = 0;
    // The tool sizes it shows, for the settings to remember.
    virtual std::optional<SessionToolSizes> tool_sizes() const { return std::nullopt; }
};

}  // namespace glimmerly
