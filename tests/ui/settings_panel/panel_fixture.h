#pragma once
// A panel as the settings window opens it, in English with an empty width
// cache (every width is the estimate), laid out in a client 800 DIPs wide.

#include "ui/settings_panel/settings_input.h"
#include "ui/settings_panel/settings_layout.h"

namespace glimmerly::testing {

inline SettingsPanel make_panel(SettingsPage page, const PointerSettings& pointer = {},
                                std::uint8_t expanded = 0) {
    SettingsView view;
    view.rows[0].caps = {"Print Screen"};
    view.rows[6].caps = {"Ctrl", "K"};
    SettingsPanel panel = new_settings_panel(pointer, 0x40D3FF, false, view, LANGUAGE_ENGLISH);
    panel.client_width = 800.0;
    panel.client_height = 600.0;
    panel.expanded_section = expanded;
    show_settings_page(panel, page);
    return panel;
}

inline PanelItem item_of(const SettingsPanel& panel, PanelItemKind kind, std::uint8_t id = 0) {
    const auto item = find_panel_item(panel.layout.items, kind, id);
    return item ? *item : PanelItem{};
}

inline double centre_x(const Box& box) { return (box.left + box.right) / 2.0; }
inline double centre_y(const Box& box) { return (box.top + box.bottom) / 2.0; }

}  // namespace glimmerly::testing
