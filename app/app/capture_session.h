#pragma once
// The open capture of this process, as the application's message loop sees
// it: the keys meant for its size fields and text box, and the wheel that
// zooms its view or resizes its tool, taken before dispatch. The capture
// editor provides it; until it does, no capture is ever open.

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
    // True when the view zoomed by the wheel's turn (false at its limit).
    virtual bool zoom_by_wheel(HWND window, int delta) = 0;
    // The tool's size by the wheel's turn.
    virtual Status resize_by_wheel(HWND window, int delta) = 0;
    // The tool sizes it shows, for the settings to remember.
    virtual std::optional<SessionToolSizes> tool_sizes() const { return std::nullopt; }
};

}  // namespace glimmerly
