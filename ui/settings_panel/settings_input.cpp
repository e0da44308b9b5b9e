#include "ui/settings_panel/settings_input.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "core/base/wheel_notches.h"
#include "ui/settings_panel/settings_layout.h"

namespace glimmerly {
namespace {

using K = PanelItemKind;

constexpr PanelResponse kNothing = PanelResponse::of(PanelTag::Nothing);
constexpr PanelResponse kRepaint = PanelResponse::of(PanelTag::Repaint);
constexpr PanelResponse kChangedNow = PanelResponse::pointer_changed();

constexpr std::array<std::uint32_t, 3> kInputSizes = {100, 150, 200};
constexpr std::array<std::uint32_t, 3> kShapeDurations = {1000, 3000, 5000};

constexpr double kSwatchRadius = 11.0;
constexpr double kSwatchPitch = 22.0;
constexpr double kClearButtonWidth = 24.0;
constexpr double kSectionSwitchWidth = 40.0;

// A flag differs from the direction when +1 meets it clear or -1 meets it set.
bool differs(bool flag, int direction) { return direction > 0 ? !flag : flag; }

std::span<const std::uint32_t> segment_values(PanelItemKind kind) {
    if (kind == K::InputSize) return kInputSizes;
    return kShapeDurations;
}

PanelResponse segment_response(PanelItemKind kind, std::uint32_t value) {
    return PanelResponse::with_value(kind == K::InputSize ? PanelTag::SetInputSize : PanelTag::SetShapeDuration, value);
}

Rgb& colour_of(SettingsPanel& panel, std::uint8_t id) {
    if (id == kLeftClickColourItem) return panel.pointer.left_click_color;
    if (id == kRightClickColourItem) return panel.pointer.right_click_color;
    return panel.presentation_colour;
}

bool& switch_of(SettingsPanel& panel, std::uint8_t id) {
    return id == kHideWhileMovingItem ? panel.pointer.spotlight_hide_moving : panel.pointer.magnifier_hold;
}

bool sound_item(std::uint8_t id) { return id == kClickSoundItem || id == kClickVolumeItem; }

// The pointer item's own step, before the section tail; none when nothing changed.
std::optional<PanelResponse> step_pointer_value(SettingsPanel& panel, std::uint8_t id, int direction) {
    switch (pointer_control_of(id)) {
        case PointerControl::Slider: {
            const PointerSlider slider = *pointer_slider(id);
            std::uint32_t& value = panel.pointer.*slider.field;
            const std::int64_t stepped = std::clamp<std::int64_t>(
                std::int64_t{value} + direction * std::int64_t{slider.step}, slider.min, slider.max);
            // A value off the step's grid (stored by a drag) lands back on it.
            const std::int64_t from_min = stepped - slider.min;
            const std::int64_t rounded = slider.min + (from_min + slider.step / 2) / slider.step * slider.step;
            value = static_cast<std::uint32_t>(std::min<std::int64_t>(rounded, slider.max));
            return kChangedNow;
        }
        case PointerControl::Switch: {
            bool& flag = switch_of(panel, id);
            if (!differs(flag, direction)) return std::nullopt;
            flag = !flag;
            return kChangedNow;
        }
        case PointerControl::Choice: {
            const auto choices = pointer_choices(id);
            const auto count = static_cast<std::int64_t>(choices.size());
            const auto index = static_cast<std::int64_t>(choice_index(panel, K::PointerItem, id).value_or(0));
            const std::int64_t next = ((index + direction) % count + count) % count;
            set_pointer_choice(panel, id, choices[static_cast<std::size_t>(next)].value);
            return PanelResponse::pointer_changed(sound_item(id));
        }
        case PointerControl::Colour: {
            Rgb& colour = colour_of(panel, id);
            const auto at = std::find(kSwatchColours.begin(), kSwatchColours.end(), colour);
            if (at == kSwatchColours.end()) {
                colour = direction > 0 ? kSwatchColours.front() : kSwatchColours.back();
            } else {
                const auto index = static_cast<int>(at - kSwatchColours.begin());
                colour = kSwatchColours[static_cast<std::size_t>(((index + direction) % 8 + 8) % 8)];
            }
            return kChangedNow;
        }
    }
    return std::nullopt;
}

bool feature_flag(const SettingsPanel& panel, std::uint8_t id) {
    switch (id) {
        case 0: return panel.view.board_visible;
        case 1: return panel.pointer_effects;
        case 2: return panel.magnifier;
        case 3: return panel.view.keyboard;
        case 4: return panel.view.mouse;
        default: return panel.view.temporary_shapes;
    }
}

PanelResponse toggle_tag(PanelItemKind kind) {
    return PanelResponse::of(static_cast<PanelTag>(static_cast<std::uint8_t>(kind) - 1));
}

bool general_flag(const SettingsPanel& panel, PanelItemKind kind) {
    switch (kind) {
        case K::StartWithWindows: return panel.view.start_with_windows;
        case K::LiveCapture: return panel.view.live_capture_default;
        case K::MiniToolbar: return panel.view.mini_toolbar;
        default: return panel.view.obs_mirror;
    }
}

void toggle_expanded(SettingsPanel& panel, std::uint8_t section) {
    panel.expanded_section = panel.expanded_section == section ? kNoSection : section;
    (void)layout_settings_page(panel, false);
}

// The four tabs, then every laid-out item.
std::vector<PanelFocus> focus_list(const SettingsPanel& panel) {
    std::vector<PanelFocus> list;
    list.reserve(kSettingsPageCount + panel.layout.items.size());
    for (std::uint8_t p = 0; p < kSettingsPageCount; ++p) list.push_back({K::Tab, p});
    for (const PanelItem& item : panel.layout.items) list.push_back({item.kind, item.id});
    return list;
}

PanelResponse activate(SettingsPanel& panel, PanelFocus focus) {
    switch (focus.kind) {
        case K::Tab:
            show_settings_page(panel, static_cast<SettingsPage>(std::min<std::uint8_t>(focus.id, 3)));
            return kRepaint;
        case K::StartWithWindows:
        case K::LiveCapture:
        case K::MiniToolbar:
        case K::ObsMirror: return toggle_tag(focus.kind);
        case K::ShortcutRow: return PanelResponse::with_id(PanelTag::EditShortcutRow, focus.id);
        case K::InputSize:
        case K::ShapeDuration: return step_item(panel, focus.kind, focus.id, +1);
        case K::MoveInput: return PanelResponse::of(PanelTag::ToggleMoveInput);
        case K::FeatureSwitch: return PanelResponse::with_id(PanelTag::ToggleFeature, focus.id);
        case K::SectionHeader: toggle_expanded(panel, focus.id); return kRepaint;
        case K::PointerItem:
            if (pointer_control_of(focus.id) == PointerControl::Switch) {
                bool& flag = switch_of(panel, focus.id);
                flag = !flag;
                return enable_section_on_change(panel, pointer_section_of(focus.id), kChangedNow);
            }
            return step_item(panel, focus.kind, focus.id, +1);
        case K::RestoreDefaults: return restore_pointer_defaults(panel).committed();
        case K::None: break;
    }
    return kNothing;
}

}  // namespace

PanelResponse panel_key(SettingsPanel& panel, PanelKey key) {
    panel.focus_visible = true;
    switch (key) {
        case PanelKey::Next:
        case PanelKey::Down:
        case PanelKey::Previous:
        case PanelKey::Up: {
            const std::vector<PanelFocus> list = focus_list(panel);
            const auto found = std::find_if(list.begin(), list.end(), [&](const PanelFocus& entry) {
                return panel_item_matches(entry.kind, entry.id, panel.focus.kind, panel.focus.id);
            });
            const std::size_t at = found == list.end() ? 0 : static_cast<std::size_t>(found - list.begin());
            const bool forward = key == PanelKey::Next || key == PanelKey::Down;
            panel.focus = list[forward ? (at + 1) % list.size() : (at + list.size() - 1) % list.size()];
            return kRepaint;
        }
        case PanelKey::Left:
        case PanelKey::Right:
            return step_item(panel, panel.focus.kind, panel.focus.id, key == PanelKey::Right ? +1 : -1);
        case PanelKey::Activate: return activate(panel, panel.focus);
        case PanelKey::Clear:
            if (panel.focus.kind != K::ShortcutRow) return kNothing;
            if (panel.focus.id < 6 || panel.focus.id > 8) return kNothing.committed();
            clear_pointer_shortcut(panel, static_cast<std::uint8_t>(panel.focus.id - 6));
            return kChangedNow;
        case PanelKey::Cancel: return PanelResponse::of(PanelTag::Close);
    }
    return kNothing;
}

PanelResponse step_item(SettingsPanel& panel, PanelItemKind kind, std::uint8_t id, int direction) {
    direction = direction < 0 ? -1 : 1;
    switch (kind) {
        case K::Tab: {
            const int tab = id >= 1 && id <= 3 ? id : 0;
            const auto page = static_cast<std::uint8_t>(std::clamp(tab + direction, 0, 3));
            show_settings_page(panel, static_cast<SettingsPage>(page));
            panel.focus = {K::Tab, page};
            return kRepaint;
        }
        case K::StartWithWindows:
        case K::LiveCapture:
        case K::MiniToolbar:
        case K::ObsMirror: return differs(general_flag(panel, kind), direction) ? toggle_tag(kind) : kNothing;
        case K::InputSize:
        case K::ShapeDuration: {
            const auto values = segment_values(kind);
            const auto current = choice_index(panel, kind, id);
            const int index = std::clamp(static_cast<int>(current.value_or(0)) + direction, 0, 2);
            if (current && *current == static_cast<std::size_t>(index)) return kNothing;
            return segment_response(kind, values[static_cast<std::size_t>(index)]);
        }
        case K::MoveInput:
            return differs(panel.view.moving_input, direction) ? PanelResponse::of(PanelTag::ToggleMoveInput) : kNothing;
        case K::FeatureSwitch:
            return differs(feature_flag(panel, id), direction) ? PanelResponse::with_id(PanelTag::ToggleFeature, id)
                                                               : kNothing;
        case K::SectionHeader: {
            if (id >= kPointerSectionCount) return kNothing;
            const auto section = static_cast<PointerSection>(id);
            if (!differs(section_on(panel, section), direction)) return kNothing;
            toggle_pointer_section(panel, section);
            return kChangedNow;
        }
        case K::PointerItem: {
            if (id >= kPointerItemCount) return kNothing;
            const auto stepped = step_pointer_value(panel, id, direction);
            if (!stepped) return kNothing.committed();
            return enable_section_on_change(panel, pointer_section_of(id), *stepped);
        }
        default: return kNothing;
    }
}

PanelResponse panel_mouse_down(SettingsPanel& panel, double x, double y) {
    panel.focus_visible = false;
    const auto& items = panel.layout.items;
    if (panel.editing_row) {
        const auto buttons = row_edit_buttons(items, *panel.editing_row);
        if (!buttons) return PanelResponse::of(PanelTag::RowEditSecondButton);
        if (box_contains(buttons->first, x, y)) return PanelResponse::of(PanelTag::RowEditFirstButton);
        if (box_contains(buttons->second, x, y)) return PanelResponse::of(PanelTag::RowEditSecondButton);
        const auto row = find_panel_item(items, K::ShortcutRow, *panel.editing_row);
        return box_contains(row->item, x, y) ? kNothing : PanelResponse::of(PanelTag::RowEditSecondButton);
    }
    if (panel.saved_before) {
        const auto button = saved_row_button(items, panel.saved_before->row);
        if (button && box_contains(*button, x, y)) return PanelResponse::of(PanelTag::SavedBeforeButton);
    }
    for (const PanelTab& tab : panel.layout.tabs) {
        if (!box_contains(tab.rect, x, y)) continue;
        const SettingsPage page = tab.page;
        panel.focus = {K::Tab, static_cast<std::uint8_t>(page)};
        show_settings_page(panel, page);
        return kRepaint.committed();
    }
    const auto hit = std::find_if(items.begin(), items.end(), [&](const PanelItem& item) {
        return box_contains(item.item, x, y);
    });
    if (hit == items.end()) return kNothing;
    const PanelItem item = *hit;  // a layout pass below replaces the items
    panel.focus = {item.kind, item.id};
    switch (item.kind) {
        case K::StartWithWindows:
        case K::LiveCapture:
        case K::MiniToolbar:
        case K::ObsMirror: return toggle_tag(item.kind);
        case K::MoveInput: return PanelResponse::of(PanelTag::ToggleMoveInput);
        case K::FeatureSwitch: return PanelResponse::with_id(PanelTag::ToggleFeature, item.id);
        case K::ShortcutRow:
            if (item.id >= 6 && item.id <= 8 && !panel.view.rows[item.id].caps.empty() &&
                x >= item.control.right - kClearButtonWidth) {
                clear_pointer_shortcut(panel, static_cast<std::uint8_t>(item.id - 6));
                return kChangedNow;
            }
            return PanelResponse::with_id(PanelTag::EditShortcutRow, item.id);
        case K::InputSize:
        case K::ShapeDuration: {
            const auto segment = segment_at(panel, item.kind, item.id, item.control, x, y);
            if (!segment || segment == choice_index(panel, item.kind, item.id)) return kRepaint;
            return segment_response(item.kind, segment_values(item.kind)[*segment]);
        }
        case K::SectionHeader:
            if (box_contains(grown_box(item.control, 4.0), x, y) && x >= item.control.right - kSectionSwitchWidth &&
                item.id < kPointerSectionCount) {
                toggle_pointer_section(panel, static_cast<PointerSection>(item.id));
                return kChangedNow;
            }
            toggle_expanded(panel, item.id);
            return kRepaint;
        case K::PointerItem: {
            const PanelResponse response = pointer_item_click(panel, item.id, item.control, x, y);
            return enable_section_on_change(panel, pointer_section_of(item.id), response);
        }
        case K::RestoreDefaults: return restore_pointer_defaults(panel).committed();
        default: return kNothing;
    }
}

PanelResponse set_pointer_slider(SettingsPanel& panel, std::uint8_t id, double x, bool release) {
    const auto slider = pointer_slider(id);
    const auto item = find_panel_item(panel.layout.items, K::PointerItem, id);
    if (!slider || !item) return kNothing;
    const double track = item->control.right - item->control.left - 16.0;
    double t = track > 0.0 ? (x - item->control.left - 8.0) / track : 0.0;
    t = std::isfinite(t) ? std::clamp(t, 0.0, 1.0) : 0.0;
    const double span = static_cast<double>(slider->max - slider->min);
    const auto value = std::clamp(static_cast<std::uint32_t>(std::lround(slider->min + t * span)), slider->min,
                                  slider->max);
    std::uint32_t& field = panel.pointer.*slider->field;
    const bool changed = field != value;
    field = value;
    if (release) return kChangedNow;
    panel.dragged_slider = id;
    panel.drag_fraction = t;
    return changed ? PanelResponse::of(PanelTag::PointerChanged) : kRepaint;
}

PanelResponse panel_mouse_move(SettingsPanel& panel, double x) {
    if (panel.dragged_slider == kNoSlider) return kNothing;
    const std::uint8_t id = panel.dragged_slider;
    return enable_section_on_change(panel, pointer_section_of(id), set_pointer_slider(panel, id, x, false));
}

PanelResponse panel_mouse_up(SettingsPanel& panel, double x) {
    if (panel.dragged_slider == kNoSlider) return kNothing;
    const std::uint8_t id = panel.dragged_slider;
    panel.dragged_slider = kNoSlider;
    panel.drag_fraction = 0.0;
    return enable_section_on_change(panel, pointer_section_of(id), set_pointer_slider(panel, id, x, true));
}

PanelResponse panel_wheel(SettingsPanel& panel, double x, double y, std::int16_t delta) {
    if (delta == 0) return kNothing;
    const bool over_tab = std::any_of(panel.layout.tabs.begin(), panel.layout.tabs.end(),
                                      [&](const PanelTab& tab) { return box_contains(tab.rect, x, y); });
    const auto& items = panel.layout.items;
    const auto hit = std::find_if(items.begin(), items.end(), [&](const PanelItem& item) {
        return box_contains(item.item, x, y);
    });
    if (over_tab || hit == items.end() || hit->kind != K::PointerItem) {
        // A part of a notch turned elsewhere must not step the next slider.
        panel.wheel_remainder = 0;
        return kNothing;
    }
    const int notches = take_wheel_notches(panel.wheel_remainder, delta);
    if (notches == 0) return kNothing;
    panel.focus = {hit->kind, hit->id};
    return step_item(panel, hit->kind, hit->id, notches > 0 ? +1 : -1);
}

PanelResponse pointer_item_click(SettingsPanel& panel, std::uint8_t id, const Box& control, double x, double y) {
    switch (pointer_control_of(id)) {
        case PointerControl::Colour: {
            const double cy = (control.top + control.bottom) / 2.0;
            for (std::size_t i = 0; i < kSwatchColours.size(); ++i) {
                const double cx = control.left + kSwatchRadius + kSwatchPitch * static_cast<double>(i);
                if (std::hypot(x - cx, y - cy) <= kSwatchRadius) {
                    colour_of(panel, id) = kSwatchColours[i];
                    return kChangedNow;
                }
            }
            return kRepaint.committed();
        }
        case PointerControl::Slider:
            if (!box_contains(grown_box(control, 4.0), x, y)) return kRepaint;
            panel.dragged_slider = id;
            panel.drag_fraction = 0.0;
            return set_pointer_slider(panel, id, x, false);
        case PointerControl::Switch: {
            bool& flag = switch_of(panel, id);
            flag = !flag;
            return kChangedNow;
        }
        case PointerControl::Choice: {
            if (!box_contains(grown_box(control, 2.0), x, y)) return kRepaint.committed();
            const auto segment = segment_at(panel, K::PointerItem, id, control, x, y);
            if (!segment) return kRepaint.committed();
            const std::uint32_t value = pointer_choices(id)[*segment].value;
            if (value == pointer_choice_value(panel, id)) return kRepaint;
            set_pointer_choice(panel, id, value);
            return PanelResponse::pointer_changed(sound_item(id));
        }
    }
    return kNothing;
}

std::optional<std::size_t> segment_at(const SettingsPanel& panel, PanelItemKind kind, std::uint8_t id,
                                      const Box& control, double x, double y) {
    if (!box_contains(grown_box(control, 2.0), x, y)) return std::nullopt;
    const std::vector<double> widths = segment_widths(panel, kind, id);
    double right = control.left + 2.0;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        right += widths[i];
        if (right > x) return i;
    }
    return std::nullopt;
}

void toggle_pointer_section(SettingsPanel& panel, PointerSection section) {
    if (section == PointerSection::Magnifier) {
        panel.magnifier = !panel.magnifier;
        return;
    }
    const bool switch_on = !section_on(panel, section);
    set_section_enabled(panel, section, switch_on);
    panel.pointer_effects = switch_on || any_pointer_style_on(panel.pointer);
}

}  // namespace glimmerly
