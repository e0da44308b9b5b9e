#pragma once
// Keys, presses, drags and the wheel on the settings panel. Positions are in
// DIPs. Pointer-effect values change in the panel's own copy and the answer
// says whether to save at once (commit flag) or only to preview; every other
// setting is changed by the window on the answer's request.

#include <cstdint>
#include <optional>

#include "ui/settings_panel/settings_panel.h"

namespace glimmerly {

enum class PanelKey : std::uint8_t {
    Next = 0,      // Tab
    Previous = 1,  // Shift+Tab
    Up = 2,
    Down = 3,
    Left = 4,
    Right = 5,
    Activate = 6,  // Enter, Space
    Clear = 7,     // Backspace, Delete
    Cancel = 8,    // Esc
};

PanelResponse panel_key(SettingsPanel& panel, PanelKey key);
// The left or right step (direction -1 or +1) of one item, by keys and the wheel.
PanelResponse step_item(SettingsPanel& panel, PanelItemKind kind, std::uint8_t id, int direction);

PanelResponse panel_mouse_down(SettingsPanel& panel, double x, double y);
// Only moves a dragged slider.
PanelResponse panel_mouse_move(SettingsPanel& panel, double x);
// Ends a slider drag, and saves it.
PanelResponse panel_mouse_up(SettingsPanel& panel, double x);
// `delta` is the message's own wheel delta (120 a notch, positive away from
// the user); parts of a notch are kept in the panel for the next message.
PanelResponse panel_wheel(SettingsPanel& panel, double x, double y, std::int16_t delta);

PanelResponse set_pointer_slider(SettingsPanel& panel, std::uint8_t id, double x, bool release);
PanelResponse pointer_item_click(SettingsPanel& panel, std::uint8_t id, const Box& control, double x, double y);
// The choice segment under the point, walking the segments from the
// control's left edge + 2.
std::optional<std::size_t> segment_at(const SettingsPanel& panel, PanelItemKind kind, std::uint8_t id,
                                      const Box& control, double x, double y);
void toggle_pointer_section(SettingsPanel& panel, PointerSection section);

}  // namespace glimmerly
