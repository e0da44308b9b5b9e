#include "ui/settings_panel/pointer_preview.h"

#include <algorithm>
#include <cmath>

namespace glimmerly {
namespace {

// The path keeps this far inside the box, so that the halo stays in view.
constexpr double kPathInset = 30.0;

}  // namespace

bool animate_pointer_preview(SettingsPanel& panel, std::uint64_t now) {
    const Box& box = panel.layout.preview;
    const double width = box.right - box.left;
    const double height = box.bottom - box.top;
    if (panel.page != SettingsPage::PointerEffects || !(width > 0.0)) return false;

    // A Lissajous path about the box's centre.
    const double ax = std::max(width / 2.0 - kPathInset, 0.0);
    const double ay = std::max(height / 2.0 - kPathInset, 0.0);
    const double t = static_cast<double>(now) / 1000.0;
    const double x = std::sin(0.9 * t) * ax;
    const double y = std::sin(1.7 * t) * ay;
    track_pointer_trail(panel.preview, x, y, now, kPreviewEffectScale, panel.pointer);

    // The cadence runs with the animation off too, so that switching it on
    // goes on alternating from where the counter is.
    if (age_ms(now, panel.last_preview_click) >= kPreviewClickIntervalMs) {
        panel.last_preview_click = now;
        const std::uint64_t count = panel.preview_clicks++;
        if (panel.pointer.click_animation != 0 && std::isfinite(x) && std::isfinite(y))
            add_click_mark(panel.preview, x, y, now, static_cast<std::uint8_t>(count % 2));
    }
    ease_halo(panel.preview, now, panel.pointer);
    return true;
}

}  // namespace glimmerly
