#include "app/settings/settings_page_paint.h"

#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "app/presentation/pointer_effects.h"
#include "app/render/interface_text.h"
#include "app/render/picture_drawing.h"
#include "app/render/setup_controls.h"
#include "core/pointer/pointer_paint.h"
#include "core/render/icons.h"
#include "ui/settings_panel/pointer_preview.h"
#include "ui/settings_panel/settings_layout.h"

namespace glimmerly {
namespace {

constexpr Rgb kBackground{0x20, 0x20, 0x20};
constexpr Rgb kSelectedTab{0x2D, 0x2D, 0x2D};
constexpr Rgb kAccentBar{0x60, 0xCD, 0xFF};
constexpr Rgb kIconInk{0xD6, 0xD6, 0xD6};
constexpr Rgb kText{0xF0, 0xF0, 0xF0};
constexpr Rgb kSoftText{0xC6, 0xC6, 0xC6};
constexpr Rgb kSummaryText{0x9A, 0x9A, 0x9A};
constexpr Rgb kInUseText{0xF0, 0xA0, 0x4B};
constexpr Rgb kCard{0x2B, 0x2B, 0x2B};
constexpr Rgb kSectionBody{0x26, 0x26, 0x26};
constexpr Rgb kRecordingFill{0x1D, 0x2A, 0x31};
constexpr Rgb kRefused{0xF8, 0x51, 0x49};
constexpr Rgb kTrack{0x49, 0x49, 0x49};
constexpr Rgb kKnob{0x3D, 0x3D, 0x3D};

// The preview's sample page.
constexpr Rgb kLightPage{243, 244, 246};
constexpr Rgb kDarkPage{27, 30, 36};
constexpr Rgb kDarkLines{138, 148, 166};
constexpr Rgb kLightLines{107, 114, 128};
constexpr std::array<double, 5> kLineLengths = {0.78, 0.55, 0.9, 0.66, 0.42};
constexpr std::uint64_t kPulseMs = 300;
constexpr std::uint64_t kPressedMs = 150;

Box scaled(const Box& b, double s) { return {b.left * s, b.top * s, b.right * s, b.bottom * s}; }
double mid_y(const Box& b) { return (b.top + b.bottom) / 2.0; }

IconKind shape_icon(std::uint32_t variant) { return static_cast<IconKind>(variant << 8); }

std::optional<IconKind> row_icon(const SettingsPanel& panel, PanelItemKind kind, std::uint8_t id) {
    switch (kind) {
        case PanelItemKind::StartWithWindows: return IconKind::SignIn;
        case PanelItemKind::LiveCapture: return static_cast<IconKind>(13);
        case PanelItemKind::MiniToolbar: return static_cast<IconKind>(20);
        case PanelItemKind::ObsMirror: return IconKind::Monitor;
        case PanelItemKind::ShortcutRow: {
            constexpr std::array<std::uint32_t, 9> icons = {23, 24, 29, 4 << 8, 1 << 8, 2 << 8, 41, 42, 26};
            return id < icons.size() ? std::optional(static_cast<IconKind>(icons[id])) : std::nullopt;
        }
        case PanelItemKind::InputSize: return IconKind::PopOut;
        case PanelItemKind::ShapeDuration: return IconKind::Clock;
        case PanelItemKind::MoveInput: return IconKind::MoveArrows;
        case PanelItemKind::FeatureSwitch:
            switch (id) {
                case 0: return panel.view.board_visible ? IconKind::Eye : IconKind::EyeSlashed;
                case 1: return IconKind::RecordDot;
                case 2: return IconKind::Magnifier;
                case 3: return IconKind::Keyboard;
                case 4: return IconKind::Mouse;
                default: return shape_icon(5);
            }
        case PanelItemKind::SectionHeader: {
            constexpr std::array<IconKind, 5> icons = {IconKind::RecordDot, IconKind::Trail, IconKind::PointerClick,
                                                       IconKind::Panel, IconKind::Magnifier};
            return id < icons.size() ? std::optional(icons[id]) : std::nullopt;
        }
        default: return std::nullopt;
    }
}

std::string joined_caps(const KeyCaps& caps) {
    std::string out;
    for (const std::string& cap : caps.caps) {
        if (!out.empty()) out += "+";
        out += cap;
    }
    return out;
}

Status paint_label(Painter& painter, std::string_view text, const Box& rect, Rgb colour, double s) {
    return paint_text_middle_left(painter, text, rect, 14.0 * s, UiTextStyle::Body, colour);
}

Status paint_label_and_note(Painter& painter, std::string_view label, std::string_view note, Rgb note_colour,
                            const Box& rect, double s) {
    return paint_label_with_note(painter, TextLine{label, 14.0, kText}, TextLine{note, 12.0, note_colour}, rect, s);
}

bool switch_state(const SettingsPanel& panel, PanelItemKind kind, std::uint8_t id) {
    const SettingsView& view = panel.view;
    switch (kind) {
        case PanelItemKind::StartWithWindows: return view.start_with_windows;
        case PanelItemKind::LiveCapture: return view.live_capture_default;
        case PanelItemKind::MiniToolbar: return view.mini_toolbar;
        case PanelItemKind::ObsMirror: return view.obs_mirror;
        case PanelItemKind::MoveInput: return view.moving_input;
        case PanelItemKind::FeatureSwitch: {
            const std::array<bool, 6> on = {view.board_visible, panel.pointer_effects, panel.magnifier,
                                            view.keyboard,      view.mouse,            view.temporary_shapes};
            return id < on.size() && on[id];
        }
        case PanelItemKind::SectionHeader:
            if (id == static_cast<std::uint8_t>(PointerSection::Magnifier)) return panel.magnifier;
            return section_on(panel, static_cast<PointerSection>(id));
        default: return false;
    }
}

Status paint_option_control(const SettingsPanel& panel, Painter& painter, const PanelItem& item, double s) {
    const std::vector<std::string> labels = choice_labels(panel.language, item.kind, item.id);
    const std::vector<double> widths = segment_widths(panel, item.kind, item.id);
    return paint_option_strip(painter, labels, widths, choice_index(panel, item.kind, item.id), scaled(item.control, s),
                              s);
}

Rgb pointer_colour(const SettingsPanel& panel, std::uint8_t id) {
    if (id == kLeftClickColourItem) return panel.pointer.left_click_color;
    if (id == kRightClickColourItem) return panel.pointer.right_click_color;
    return panel.presentation_colour;
}

void paint_swatches(Painter& painter, const Box& control, Rgb chosen, double s) {
    const double cy = mid_y(control) * s;
    for (std::size_t i = 0; i < kSwatchColours.size(); ++i) {
        const Point centre{(control.left + 11.0 + 22.0 * static_cast<double>(i)) * s, cy};
        fill_ellipse(painter, centre, 8.0 * s, 8.0 * s, PaintColour::opaque(kSwatchColours[i]));
        if (kSwatchColours[i] == chosen)
            stroke_ellipse(painter, centre, 11.0 * s, 11.0 * s, PaintColour::opaque(kText), 1.5 * s);
    }
}

void paint_slider(const SettingsPanel& panel, Painter& painter, const PanelItem& item, const PointerSlider& slider,
                  double s) {
    double t = slider.max > slider.min
                   ? (static_cast<double>(panel.pointer.*(slider.field)) - slider.min) / (slider.max - slider.min)
                   : 0.0;
    if (panel.dragged_slider == item.id) t = panel.drag_fraction;
    t = std::clamp(t, 0.0, 1.0);
    const double y = mid_y(item.control) * s;
    const Point start{(item.control.left + 8.0) * s, y}, end{(item.control.right - 8.0) * s, y};
    const Point knob{start.x + t * (end.x - start.x), y};
    stroke_line(painter, start, end, PaintColour::opaque(kTrack), 4.0 * s);
    stroke_line(painter, start, knob, PaintColour::opaque(kAccentBar), 4.0 * s);
    fill_ellipse(painter, knob, 8.0 * s, 8.0 * s, PaintColour::opaque(kKnob));
    fill_ellipse(painter, knob, 5.0 * s, 5.0 * s, PaintColour::opaque(kText));
}

Status paint_pointer_control(const SettingsPanel& panel, Painter& painter, const PanelItem& item, double s) {
    switch (pointer_control_of(item.id)) {
        case PointerControl::Colour: paint_swatches(painter, item.control, pointer_colour(panel, item.id), s); return ok_status();
        case PointerControl::Slider:
            if (const auto slider = pointer_slider(item.id)) paint_slider(panel, painter, item, *slider, s);
            return ok_status();
        case PointerControl::Switch: {
            const bool on =
                item.id == kHideWhileMovingItem ? panel.pointer.spotlight_hide_moving : panel.pointer.magnifier_hold;
            paint_toggle_switch(painter, scaled(item.control, s), on, s);
            return ok_status();
        }
        case PointerControl::Choice: return paint_option_control(panel, painter, item, s);
    }
    return ok_status();
}

Status paint_chevron(Painter& painter, const Box& control, bool up, double s) {
    const double cx = (control.left + 12.0) * s, cy = mid_y(control) * s, w = 4.0 * s, h = 2.0 * s;
    const std::array<Point, 3> points = up ? std::array<Point, 3>{{{cx - w, cy + h}, {cx, cy - h}, {cx + w, cy + h}}}
                                           : std::array<Point, 3>{{{cx - w, cy - h}, {cx, cy + h}, {cx + w, cy - h}}};
    return stroke_polyline(painter, points, false, PaintColour::opaque(kSoftText), 1.5 * s);
}

Status paint_control(const SettingsPanel& panel, Painter& painter, const PanelItem& item, double s) {
    const Box control = scaled(item.control, s);
    switch (item.kind) {
        case PanelItemKind::StartWithWindows:
        case PanelItemKind::LiveCapture:
        case PanelItemKind::MiniToolbar:
        case PanelItemKind::ObsMirror:
        case PanelItemKind::MoveInput:
        case PanelItemKind::FeatureSwitch:
            paint_toggle_switch(painter, control, switch_state(panel, item.kind, item.id), s);
            return ok_status();
        case PanelItemKind::InputSize:
        case PanelItemKind::ShapeDuration: return paint_option_control(panel, painter, item, s);
        case PanelItemKind::ShortcutRow: {
            if (item.id >= panel.view.rows.size()) return ok_status();
            const KeyCaps& caps = panel.view.rows[item.id];
            const std::string add(text_of(panel.language, TextId::settings_add));
            return paint_shortcut_cell(painter, item.id, caps.caps, caps.unavailable != 0, add,
                                       text_width(panel, add, 14.0, UiTextStyle::Body), control, s);
        }
        case PanelItemKind::SectionHeader:
            GLIM_TRY(paint_chevron(painter, item.control, panel.expanded_section == item.id, s));
            paint_toggle_switch(painter, control, switch_state(panel, item.kind, item.id), s);
            return ok_status();
        case PanelItemKind::PointerItem: return paint_pointer_control(panel, painter, item, s);
        default: return ok_status();
    }
}

// The two buttons of the recording row: put the default back, stop.
Status paint_row_buttons(Painter& painter, const RowEditButtons& buttons, double s) {
    const Box first = scaled(buttons.first, s), second = scaled(buttons.second, s);
    paint_dark_card(painter, first, s);
    GLIM_TRY(paint_circular_arrow(painter, {(first.left + first.right) / 2.0, (first.top + first.bottom) / 2.0}, s));
    paint_dark_card(painter, second, s);
    const Point c{(second.left + second.right) / 2.0, (second.top + second.bottom) / 2.0};
    const double r = 4.0 * s;
    stroke_line(painter, {c.x - r, c.y - r}, {c.x + r, c.y + r}, PaintColour::opaque(kSoftText), 1.5 * s);
    stroke_line(painter, {c.x - r, c.y + r}, {c.x + r, c.y - r}, PaintColour::opaque(kSoftText), 1.5 * s);
    return ok_status();
}

Status paint_recording_row(const SettingsPanel& panel, Painter& painter, const PanelItem& item, double s,
                           const std::optional<std::string>& message, std::span<const std::string> held) {
    const Rgb ink = message ? kRefused : kAccentBar;
    const Box rect = scaled(item.item, s);
    fill_rounded_rect(painter, rect, 6.0 * s, PaintColour::opaque(kRecordingFill));
    const double inset = 0.75 * s;
    stroke_rounded_rect(painter, {rect.left + inset, rect.top + inset, rect.right - inset, rect.bottom - inset},
                        6.0 * s, PaintColour::opaque(ink), 1.5 * s);
    if (const auto icon = row_icon(panel, item.kind, item.id))
        GLIM_TRY(draw_icon(painter, *icon, {(item.item.left + 16.0) * s, (mid_y(item.item) - 10.0) * s}, s, kIconInk));
    const auto buttons = row_edit_buttons(panel.layout.items, item.id);
    if (!buttons) return ok_status();
    const Box text{(item.item.left + 52.0) * s, rect.top, buttons->hint.right * s, rect.bottom};
    const std::string label = item_label_text(panel.language, item.kind, item.id);
    const std::string hint = message ? *message
                                     : std::string(text_of(panel.language, held.empty() ? TextId::settings_edit_press
                                                                                        : TextId::settings_edit_more));
    GLIM_TRY(paint_label_and_note(painter, label, hint, message ? kRefused : kSoftText, text, s));
    if (!held.empty())
        GLIM_TRY(paint_outlined_key_caps(painter, held, buttons->hint.right * s, mid_y(item.item) * s, 11.0, s, ink));
    return paint_row_buttons(painter, *buttons, s);
}

Status paint_row_texts(const SettingsPanel& panel, Painter& painter, const PanelItem& item, double s) {
    const Box& it = item.item;
    const double text_left = item.kind == PanelItemKind::PointerItem ? it.left + 16.0 : it.left + 52.0;
    const Box column = scaled(Box{text_left, it.top, item.control.left, it.bottom}, s);
    const std::string label = item_label_text(panel.language, item.kind, item.id);
    switch (item.kind) {
        case PanelItemKind::StartWithWindows:
        case PanelItemKind::LiveCapture:
        case PanelItemKind::MiniToolbar:
        case PanelItemKind::ObsMirror:
        case PanelItemKind::ShapeDuration: {
            const auto note = item_note_text(panel.language, item.kind);
            return paint_label_and_note(painter, label, note ? *note : std::string(), kSoftText, column, s);
        }
        case PanelItemKind::ShortcutRow: {
            if (panel.saved_before && panel.saved_before->row == item.id) {
                const auto button = saved_row_button(panel.layout.items, item.id);
                Box before = column;
                if (button) before.right = button->left * s;
                const KeyCaps& previous = panel.saved_before->caps;
                // A row that had no shortcut before has no keys to name: its
                // button alone offers the empty row back.
                if (previous.caps.empty()) {
                    GLIM_TRY(paint_label(painter, label, before, kText, s));
                } else {
                    const std::string note = localized_text(panel.language, TextId::settings_edit_saved,
                                                            {{"keys", joined_caps(previous)}});
                    GLIM_TRY(paint_label_and_note(painter, label, note, kAccentBar, before, s));
                }
                if (button) {
                    const Box b = scaled(*button, s);
                    paint_dark_card(painter, b, s);
                    GLIM_TRY(paint_circular_arrow(painter, {(b.left + b.right) / 2.0, (b.top + b.bottom) / 2.0}, s));
                }
                return ok_status();
            }
            if (item.id < panel.view.rows.size() && panel.view.rows[item.id].unavailable)
                return paint_label_and_note(painter, label, text_of(panel.language, TextId::settings_in_use),
                                            kInUseText, column, s);
            return paint_label(painter, label, column, kText, s);
        }
        case PanelItemKind::SectionHeader:
            return paint_label_and_note(painter, label,
                                        settings_row_value_text(panel, static_cast<PointerSection>(item.id)),
                                        kSummaryText, column, s);
        case PanelItemKind::PointerItem: return paint_label(painter, label, column, kSoftText, s);
        case PanelItemKind::RestoreDefaults:
            return paint_label(painter, text_of(panel.language, TextId::pointer_reset), scaled(it, s),
                               kAccentBar, s);
        default: return paint_label(painter, label, column, kText, s);
    }
}

Status paint_row(const SettingsPanel& panel, Painter& painter, const PanelItem& item, double s,
                 const std::optional<std::string>& message, std::span<const std::string> held) {
    if (item.kind == PanelItemKind::ShortcutRow && panel.editing_row == item.id)
        return paint_recording_row(panel, painter, item, s, message, held);
    if (const auto icon = row_icon(panel, item.kind, item.id))
        GLIM_TRY(draw_icon(painter, *icon, {(item.item.left + 16.0) * s, (mid_y(item.item) - 10.0) * s}, s, kIconInk));
    GLIM_TRY(paint_row_texts(panel, painter, item, s));
    return paint_control(panel, painter, item, s);
}

Status paint_tabs(const SettingsPanel& panel, Painter& painter, double s) {
    for (const PanelTab& tab : panel.layout.tabs) {
        const Box rect = scaled(tab.rect, s);
        if (tab.page == panel.page) {
            fill_rounded_rect(painter, rect, 5.0 * s, PaintColour::opaque(kSelectedTab));
            const double cy = (rect.top + rect.bottom) / 2.0;
            fill_rounded_rect(painter, {rect.left, cy - 8.0 * s, rect.left + 3.0 * s, cy + 8.0 * s}, 1.5 * s,
                              PaintColour::opaque(kAccentBar));
        }
        constexpr std::array<IconKind, 4> icons = {IconKind::Sliders, IconKind::Keyboard, IconKind::Monitor,
                                                   IconKind::RecordDot};
        GLIM_TRY(draw_icon(painter, icons[static_cast<std::size_t>(tab.page) % 4],
                           {(tab.rect.left + 12.0) * s, (mid_y(tab.rect) - 8.0) * s}, 0.8 * s, kIconInk));
        GLIM_TRY(paint_label(painter, page_name(panel.language, tab.page),
                             {(tab.rect.left + 40.0) * s, rect.top, rect.right, rect.bottom}, kText, s));
    }
    return ok_status();
}

}  // namespace

Status paint_settings_page(const SettingsPanel& panel, Painter& painter, double scale, std::uint64_t now,
                           const ShortcutRecording* recording) {
    const double s = scale;
    const PanelLayout& layout = panel.layout;
    fill_rounded_rect(painter, {0.0, 0.0, panel.client_width * s, panel.client_height * s}, 0.0,
                      PaintColour::opaque(kBackground));
    GLIM_TRY(paint_tabs(panel, painter, s));
    GLIM_TRY(paint_text_middle_left(painter, page_name(panel.language, panel.page), scaled(layout.title, s), 28.0 * s,
                                    UiTextStyle::Display, kText));
    for (const PanelHeading& heading : layout.headings) {
        const Box lower{heading.rect.left, mid_y(heading.rect), heading.rect.right, heading.rect.bottom};
        GLIM_TRY(paint_text_middle_left(painter, text_of(panel.language, heading.text), scaled(lower, s), 14.0 * s,
                                        UiTextStyle::Strong, kText));
    }
    // Every row, and every pointer section with its body, is a card; an
    // expanded section's body sits on it without a rounded top.
    for (const Box& card : layout.rows) fill_rounded_rect(painter, scaled(card, s), 6.0 * s, PaintColour::opaque(kCard));
    for (const Box& body : layout.cards) {
        const Box b = scaled(body, s);
        fill_rounded_rect(painter, b, 6.0 * s, PaintColour::opaque(kSectionBody));
        fill_rounded_rect(painter, {b.left, b.top, b.right, b.top + 6.0 * s}, 0.0, PaintColour::opaque(kSectionBody));
    }
    std::optional<std::string> message;
    std::span<const std::string> held;
    if (recording) {
        if (!recording->message.empty()) message = recording->message;
        held = recording->caps;
    }
    for (const PanelItem& item : layout.items) GLIM_TRY(paint_row(panel, painter, item, s, message, held));
    if (panel.editing_row)
        for (const PanelItem& item : layout.items)
            if (item.kind == PanelItemKind::ShortcutRow && item.id != *panel.editing_row)
                fill_rounded_rect(painter, scaled(item.item, s), 6.0 * s, PaintColour{0.6f, 0x20, 0x20, 0x20});
    if (panel.page == SettingsPage::PointerEffects) GLIM_TRY(paint_pointer_preview(panel, painter, s, now));
    if (panel.focus_visible) {
        std::optional<Box> ring;
        if (panel.focus.kind == PanelItemKind::Tab) {
            for (const PanelTab& tab : layout.tabs)
                if (static_cast<std::uint8_t>(tab.page) == panel.focus.id) ring = tab.rect;
        } else if (const auto item = find_panel_item(layout.items, panel.focus.kind, panel.focus.id)) {
            ring = item->item;
        }
        if (ring) stroke_rounded_rect(painter, scaled(*ring, s), 6.0 * s, PaintColour::opaque(kAccentBar), 1.5 * s);
    }
    return ok_status();
}

Status paint_pointer_preview(const SettingsPanel& panel, Painter& painter, double scale, std::uint64_t now) {
    const double s = scale;
    const Box& p = panel.layout.preview;
    if (p.right <= p.left || p.bottom <= p.top) return ok_status();
    const double x0 = p.left * s, y0 = p.top * s, x1 = p.right * s, y1 = p.bottom * s;
    const double mid = (x0 + x1) / 2.0;
    fill_rounded_rect(painter, {x0, y0, x1, y1}, 6.0 * s, PaintColour::opaque(kLightPage));
    fill_rounded_rect(painter, {x0, y0, mid, y1}, 6.0 * s, PaintColour::opaque(kDarkPage));
    fill_rounded_rect(painter, {mid - 6.0 * s, y0, mid, y1}, 0.0, PaintColour::opaque(kDarkPage));
    if (y1 - 14.0 * s > y0 + 22.0 * s) {
        const auto lines = [&](double from, double to, Rgb colour, float alpha) {
            std::size_t i = 0;
            for (double y = y0 + 22.0 * s; y < y1 - 14.0 * s; y += 18.0 * s, ++i) {
                const double length = kLineLengths[i % kLineLengths.size()] * (to - from - 28.0 * s);
                stroke_line(painter, {from + 14.0 * s, y}, {from + 14.0 * s + length, y},
                            PaintColour{alpha, colour.r, colour.g, colour.b}, 4.0 * s);
            }
        };
        lines(x0, mid, kDarkLines, 0.5f);
        lines(mid, x1, kLightLines, 0.35f);
    }
    if (!panel.pointer_effects) return ok_status();
    const double k = kPreviewEffectScale * s;
    const Point c{mid, (y0 + y1) / 2.0};
    const auto map = [&](double x, double y) { return Point{x * k + c.x, y * k + c.y}; };
    const PointerSettings& pointer = panel.pointer;
    const PointerState& preview = panel.preview;
    if (preview.displayed && pointer.spotlight_shape != 0) {
        const Point at = map(preview.displayed->x, preview.displayed->y);
        const double darkness = pointer.spotlight_darkness / 100.0, r0 = pointer.spotlight_size * k * 0.5;
        double previous = 0.0;
        for (int i = 0; i <= 10; ++i) {
            const double x = std::min(1.0, (i + 0.5) / 10.0);
            const double target = (3.0 - 2.0 * x) * x * x * darkness;
            const double alpha = 1.0 - (1.0 - target) / (1.0 - previous);
            previous = target;
            const double r = r0 + 3.0 * k * i;
            Polyline hole;
            if (pointer.spotlight_shape == 1) {
                for (int j = 0; j < 48; ++j) {
                    const double angle = 2.0 * std::numbers::pi * j / 48.0;
                    hole.push_back({at.x + r * std::cos(angle), at.y + r * std::sin(angle)});
                }
            } else if (pointer.spotlight_shape == 2) {
                hole = {{x0, at.y - r}, {x1, at.y - r}, {x1, at.y + r}, {x0, at.y + r}};
            } else {
                hole = {{at.x - r, y0}, {at.x + r, y0}, {at.x + r, y1}, {at.x - r, y1}};
            }
            const std::array<Polyline, 1> holes = {std::move(hole)};
            GLIM_TRY(paint_path(painter, {x0, y0, x1, y1}, holes, PaintColour{static_cast<float>(alpha), 0, 0, 0}));
        }
    }
    PointerState mapped = preview;
    for (TrailPoint& point : mapped.trail.points) {
        const Point m = map(point.x, point.y);
        point.x = m.x;
        point.y = m.y;
    }
    for (ClickMark& mark : mapped.marks)
        if (mark.button != kNoButton) {
            const Point m = map(mark.x, mark.y);
            mark.x = m.x;
            mark.y = m.y;
        }
    if (mapped.displayed) mapped.displayed = map(mapped.displayed->x, mapped.displayed->y);
    if (mapped.cursor) mapped.cursor = map(mapped.cursor->x, mapped.cursor->y);
    const std::uint64_t since_click = age_ms(now, panel.last_preview_click);
    PointerHighlight highlight;
    if (since_click < kPulseMs) highlight.pulse = static_cast<double>(since_click) / kPulseMs;
    highlight.pressed = since_click < kPressedMs;
    highlight.colour = panel.presentation_colour;
    PointerPicture picture;
    build_pointer_picture(picture, Point{0.0, 0.0}, mapped, pointer, highlight, k, now);
    return draw_pointer_effects(painter, picture);
}

}  // namespace glimmerly
