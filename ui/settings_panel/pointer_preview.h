#pragma once
// The pointer-effects preview: a simulated pointer that wanders inside the
// preview box, leaves its trail and clicks every 1400 ms, recorded as the
// presentation records the real pointer, with the panel's unsaved values.

#include <cstdint>

#include "ui/settings_panel/settings_panel.h"

namespace glimmerly {

// The effects in the preview are drawn at this share of their real size.
inline constexpr double kPreviewEffectScale = 0.7;
inline constexpr std::uint64_t kPreviewClickIntervalMs = 1400;

// One step at `now` (ms on the window's clock); true when the preview must
// be repainted. Does nothing off the Pointer effects page or without a
// preview box.
bool animate_pointer_preview(SettingsPanel& panel, std::uint64_t now);

}  // namespace glimmerly
