#include "ui/settings_panel/settings_panel.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "ui/settings_panel/settings_layout.h"

namespace glimmerly {
namespace {

using P = PointerSettings;

constexpr std::array<PointerChoice, 3> kHaloShapes = {
    {{TextId::pointer_disc, 1}, {TextId::pointer_ring, 2}, {TextId::pointer_neon, 3}}};
constexpr std::array<PointerChoice, 2> kMovements = {{{TextId::pointer_instant, 0}, {TextId::pointer_smooth, 1}}};
constexpr std::array<PointerChoice, 4> kTrailStyles = {{{TextId::pointer_line, 1},
                                                        {TextId::pointer_dots, 2},
                                                        {TextId::pointer_sparks, 3},
                                                        {TextId::pointer_stars, 4}}};
constexpr std::array<PointerChoice, 3> kTrailLengths = {
    {{TextId::pointer_short, 0}, {TextId::pointer_medium_length, 1}, {TextId::pointer_long, 2}}};
constexpr std::array<PointerChoice, 3> kClickAnimations = {
    {{TextId::pointer_ripple, 1}, {TextId::pointer_click_ring, 2}, {TextId::pointer_waves, 3}}};
constexpr std::array<PointerChoice, 3> kClickSounds = {
    {{TextId::pointer_off, 0}, {TextId::pointer_soft, 1}, {TextId::pointer_click_sound, 2}}};
constexpr std::array<PointerChoice, 3> kVolumes = {
    {{TextId::pointer_low, 0}, {TextId::pointer_medium_volume, 1}, {TextId::pointer_high, 2}}};
constexpr std::array<PointerChoice, 3> kSpotlightShapes = {
    {{TextId::pointer_circle, 1}, {TextId::pointer_horizontal, 2}, {TextId::pointer_vertical, 3}}};

constexpr std::array<std::uint32_t P::*, 4> kSectionStyles = {&P::halo_shape, &P::trail_style, &P::click_animation,
                                                              &P::spotlight_shape};

// The byte a choice item stores, and the modulus that keeps it in range.
struct ChoiceField {
    std::uint32_t P::*field;
    std::uint32_t modulus;
};
std::optional<ChoiceField> choice_field(std::uint8_t id) {
    switch (id) {
        case kHaloShapeItem: return ChoiceField{&P::halo_shape, 4};
        case kHaloMovementItem: return ChoiceField{&P::halo_movement, 2};
        case kTrailStyleItem: return ChoiceField{&P::trail_style, 5};
        case kTrailLengthItem: return ChoiceField{&P::trail_length, 3};
        case kClickAnimationItem: return ChoiceField{&P::click_animation, 4};
        case kClickSoundItem: return ChoiceField{&P::click_sound, 3};
        case kClickVolumeItem: return ChoiceField{&P::click_volume, 3};
        case kSpotlightShapeItem: return ChoiceField{&P::spotlight_shape, 4};
        default: return std::nullopt;
    }
}

constexpr std::uint32_t style_modulus(PointerSection section) { return section == PointerSection::Trail ? 5 : 4; }

constexpr std::array<std::uint32_t, 3> kInputSizes = {100, 150, 200};
constexpr std::array<std::uint32_t, 3> kShapeDurations = {1000, 3000, 5000};

std::optional<std::size_t> index_in(std::span<const std::uint32_t> values, std::uint32_t value) {
    const auto at = std::find(values.begin(), values.end(), value);
    if (at == values.end()) return std::nullopt;
    return static_cast<std::size_t>(at - values.begin());
}

}  // namespace

PointerControl pointer_control_of(std::uint8_t id) {
    switch (id) {
        case kHaloColourItem:
        case kLeftClickColourItem:
        case kRightClickColourItem: return PointerControl::Colour;
        case kHideWhileMovingItem:
        case kShowWhileHeldItem: return PointerControl::Switch;
        default: return pointer_slider(id) ? PointerControl::Slider : PointerControl::Choice;
    }
}

std::optional<PointerSlider> pointer_slider(std::uint8_t id) {
    switch (id) {
        case kHaloSizeItem: return PointerSlider{&P::halo_size, 24, 160, 4};
        case kHaloOpacityItem: return PointerSlider{&P::halo_opacity, 10, 100, 5};
        case kHaloSoftEdgeItem: return PointerSlider{&P::halo_softness, 0, 100, 5};
        case kHaloThicknessItem: return PointerSlider{&P::halo_thickness, 1, 12, 1};
        case kSpotlightSizeItem: return PointerSlider{&P::spotlight_size, 60, 600, 20};
        case kSpotlightDarknessItem: return PointerSlider{&P::spotlight_darkness, 20, 90, 5};
        case kMagnifierZoomItem: return PointerSlider{&P::magnifier_zoom, 2, 8, 1};
        case kMagnifierSizeItem: return PointerSlider{&P::magnifier_size, 120, 480, 10};
        default: return std::nullopt;
    }
}

std::span<const PointerChoice> pointer_choices(std::uint8_t id) {
    switch (id) {
        case kHaloShapeItem: return kHaloShapes;
        case kHaloMovementItem: return kMovements;
        case kTrailStyleItem: return kTrailStyles;
        case kTrailLengthItem: return kTrailLengths;
        case kClickAnimationItem: return kClickAnimations;
        case kClickSoundItem: return kClickSounds;
        case kClickVolumeItem: return kVolumes;
        case kSpotlightShapeItem: return kSpotlightShapes;
        default: return {};
    }
}

std::size_t TextWidthHash::operator()(TextWidthKeyView key) const {
    const std::size_t text = std::hash<std::string_view>{}(key.text);
    const std::size_t rest = std::hash<std::uint64_t>{}(std::uint64_t{key.tenths} << 8 |
                                                          static_cast<std::uint64_t>(key.style));
    return text ^ (rest + 0x9E3779B97F4A7C15ull + (text << 6) + (text >> 2));
}

std::uint32_t text_size_key(double size) {
    const double tenths = std::trunc(size * 10.0);
    if (!(tenths > 0.0)) return 0;  // also NaN
    if (tenths >= static_cast<double>(std::numeric_limits<std::uint32_t>::max()))
        return std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(tenths);
}

SettingsPanel new_settings_panel(const PointerSettings& pointer, std::uint32_t presentation_colour,
                                 bool pointer_effects, SettingsView view, Language language) {
    SettingsPanel panel;
    panel.pointer = pointer;
    panel.presentation_colour = unpack_rgb(presentation_colour);
    panel.pointer_effects = pointer_effects;
    panel.view = std::move(view);
    panel.language = language;
    // A section stored off comes back with its first style.
    for (std::size_t i = 0; i < kSectionStyles.size(); ++i) {
        const std::uint32_t style = pointer.*kSectionStyles[i];
        panel.remembered_styles[i] = style != 0 ? style : 1;
    }
    return panel;
}

void show_settings_page(SettingsPanel& panel, SettingsPage page) {
    panel.page = page;
    panel.saved_before.reset();
    panel.dragged_slider = kNoSlider;
    panel.drag_fraction = 0.0;
    (void)layout_settings_page(panel, false);
}

bool panel_item_matches(PanelItemKind kind, std::uint8_t id, PanelItemKind want_kind, std::uint8_t want_id) {
    if (kind != want_kind) return false;
    switch (kind) {
        case PanelItemKind::Tab:
        case PanelItemKind::ShortcutRow:
        case PanelItemKind::FeatureSwitch:
        case PanelItemKind::SectionHeader:
        case PanelItemKind::PointerItem: return id == want_id;
        default: return true;
    }
}

std::optional<PanelItem> find_panel_item(std::span<const PanelItem> items, PanelItemKind kind, std::uint8_t id) {
    for (const PanelItem& item : items)
        if (panel_item_matches(item.kind, item.id, kind, id)) return item;
    return std::nullopt;
}

PointerSection pointer_section_of(std::uint8_t id) {
    if (id >= kTrailStyleItem && id <= kTrailLengthItem) return PointerSection::Trail;
    if (id >= kClickAnimationItem && id <= kClickVolumeItem) return PointerSection::Clicks;
    if (id >= kSpotlightShapeItem && id <= kHideWhileMovingItem) return PointerSection::Spotlight;
    if (id >= kMagnifierZoomItem && id <= kShowWhileHeldItem) return PointerSection::Magnifier;
    return PointerSection::Halo;
}

std::uint32_t& section_style(PointerSettings& pointer, PointerSection section) {
    return pointer.*kSectionStyles[std::min<std::size_t>(static_cast<std::size_t>(section), 3)];
}

bool section_on(const SettingsPanel& panel, PointerSection section) {
    if (section == PointerSection::Magnifier) return panel.magnifier;
    return panel.pointer.*kSectionStyles[static_cast<std::size_t>(section)] != 0;
}

bool any_pointer_style_on(const PointerSettings& pointer) {
    return std::any_of(kSectionStyles.begin(), kSectionStyles.end(),
                       [&](std::uint32_t P::*field) { return pointer.*field != 0; });
}

std::uint32_t pointer_choice_value(const SettingsPanel& panel, std::uint8_t id) {
    const auto field = choice_field(id);
    if (!field) return 0;
    const std::uint32_t value = panel.pointer.*field->field;
    return field->modulus == 3 ? std::min<std::uint32_t>(value, 2) : value;
}

void set_pointer_choice(SettingsPanel& panel, std::uint8_t id, std::uint32_t value) {
    const auto field = choice_field(id);
    if (field) panel.pointer.*field->field = value % field->modulus;
}

std::optional<std::size_t> choice_index(const SettingsPanel& panel, PanelItemKind kind, std::uint8_t id) {
    if (kind == PanelItemKind::InputSize) return index_in(kInputSizes, panel.view.input_size);
    if (kind == PanelItemKind::ShapeDuration) return index_in(kShapeDurations, panel.view.shape_duration);
    if (kind != PanelItemKind::PointerItem) return std::nullopt;
    const auto choices = pointer_choices(id);
    std::uint32_t value = pointer_choice_value(panel, id);
    const bool style_item = id == kHaloShapeItem || id == kTrailStyleItem || id == kClickAnimationItem ||
                            id == kSpotlightShapeItem;
    if (style_item && value == 0)
        value = panel.remembered_styles[static_cast<std::size_t>(pointer_section_of(id))];
    for (std::size_t i = 0; i < choices.size(); ++i)
        if (choices[i].value == value) return i;
    return std::nullopt;
}

void set_section_enabled(SettingsPanel& panel, PointerSection section, bool on) {
    if (section == PointerSection::Magnifier) {
        panel.magnifier = on;
        return;
    }
    const auto index = static_cast<std::size_t>(section);
    std::uint32_t& style = section_style(panel.pointer, section);
    if (on) {
        style = panel.remembered_styles[index] % style_modulus(section);
    } else {
        if (style != 0) panel.remembered_styles[index] = style;
        style = 0;
    }
}

PanelResponse enable_section_on_change(SettingsPanel& panel, PointerSection section, PanelResponse response) {
    if (response.tag() != PanelTag::PointerChanged) return response;
    if (section == PointerSection::Magnifier) {
        panel.magnifier = true;
        return response;
    }
    if (!section_on(panel, section)) set_section_enabled(panel, section, true);
    panel.pointer_effects = true;
    return response;
}

PanelResponse restore_pointer_defaults(SettingsPanel& panel) {
    switch (panel.page) {
        case SettingsPage::PointerEffects: {
            PointerSettings defaults;
            defaults.show_click_shortcut = panel.pointer.show_click_shortcut;
            defaults.spotlight_shortcut = panel.pointer.spotlight_shortcut;
            defaults.magnifier_shortcut = panel.pointer.magnifier_shortcut;
            panel.pointer = defaults;
            panel.presentation_colour = kDefaultPresentationColour;
            panel.pointer_effects = true;
            return PanelResponse::pointer_changed();
        }
        case SettingsPage::Presentation: return PanelResponse::of(PanelTag::RestorePresentationDefaults).committed();
        default: return PanelResponse::of(PanelTag::Nothing).committed();
    }
}

void clear_pointer_shortcut(SettingsPanel& panel, std::uint8_t slot) {
    std::optional<Shortcut>* shortcut = nullptr;
    switch (slot) {
        case 0: shortcut = &panel.pointer.show_click_shortcut; break;
        case 1: shortcut = &panel.pointer.spotlight_shortcut; break;
        case 2: shortcut = &panel.pointer.magnifier_shortcut; break;
        default: return;
    }
    shortcut->reset();
    panel.view.rows[6 + slot].caps.clear();
}

}  // namespace glimmerly
