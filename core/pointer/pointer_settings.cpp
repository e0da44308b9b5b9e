#include "core/pointer/pointer_settings.h"

#include <array>
#include <vector>

#include "core/base/stored_values.h"

namespace glimmerly {
namespace {

using P = PointerSettings;

struct NumberField {
    std::size_t index;
    std::uint32_t P::*member;
    std::uint32_t min;
    std::uint32_t max;
};

constexpr std::array<NumberField, 16> kNumbers = {{
    {0, &P::halo_shape, 0, 3},
    {1, &P::halo_size, 24, 160},
    {2, &P::halo_opacity, 10, 100},
    {3, &P::halo_thickness, 1, 12},
    {4, &P::halo_movement, 0, 1},
    {5, &P::trail_style, 0, 4},
    {6, &P::trail_length, 0, 2},
    {7, &P::click_animation, 0, 3},
    {10, &P::click_sound, 0, 2},
    {11, &P::click_volume, 0, 2},
    {13, &P::spotlight_shape, 0, 3},
    {14, &P::spotlight_size, 60, 600},
    {15, &P::spotlight_darkness, 20, 90},
    {19, &P::halo_softness, 0, 100},
    {20, &P::magnifier_size, 120, 480},
    {21, &P::magnifier_zoom, 2, 8},
}};

struct FlagField {
    std::size_t index;
    bool P::*member;
};
constexpr std::array<FlagField, 2> kFlags = {{{16, &P::spotlight_hide_moving}, {23, &P::magnifier_hold}}};

struct ColourField {
    std::size_t index;
    Rgb P::*member;
};
constexpr std::array<ColourField, 2> kColours = {{{8, &P::left_click_color}, {9, &P::right_click_color}}};

struct ShortcutField {
    std::size_t index;
    std::optional<Shortcut> P::*member;
};
constexpr std::array<ShortcutField, 3> kShortcuts = {
    {{12, &P::show_click_shortcut}, {17, &P::spotlight_shortcut}, {22, &P::magnifier_shortcut}}};

constexpr std::size_t kRetiredField = 18;
constexpr std::size_t kFullFieldCount = 24;

// modifiers ":" key; the "-" for none is handled by the caller.
std::optional<Shortcut> parse_shortcut(std::string_view text) {
    const auto halves = split_once(text, ':');
    if (!halves) return std::nullopt;
    const auto modifiers = parse_canonical_decimal(halves->first);
    const auto key = parse_canonical_decimal(halves->second);
    if (!modifiers || !key) return std::nullopt;
    const Shortcut shortcut{*modifiers, *key};
    if (!shortcut.usable()) return std::nullopt;
    return shortcut;
}

std::string format_shortcut(const std::optional<Shortcut>& shortcut) {
    if (!shortcut) return "-";
    std::string text;
    append_decimal(text, shortcut->modifiers);
    text += ':';
    append_decimal(text, shortcut->key);
    return text;
}

}  // namespace

Result<PointerSettings> parse_pointer_settings(std::string_view line) {
    const Failure invalid = plain_failure(std::string(kPointerSettingsInvalid));
    const auto fields = split_all(line, ',');
    const std::size_t count = fields.size();
    if (count != 19 && count != 20 && count != kFullFieldCount) return invalid;
    if (!parse_stored_flag(fields[kRetiredField])) return invalid;

    // Fields that a shorter form lacks keep their defaults.
    PointerSettings out;
    for (const auto& field : kNumbers) {
        if (field.index >= count) continue;
        // "4" is how an older version stored the disc.
        if (field.index == 0 && fields[0] == "4") {
            out.halo_shape = 1;
            continue;
        }
        const auto value = parse_canonical_decimal(fields[field.index]);
        if (!value || *value < field.min || *value > field.max) return invalid;
        out.*field.member = *value;
    }
    for (const auto& field : kFlags) {
        if (field.index >= count) continue;
        const auto flag = parse_stored_flag(fields[field.index]);
        if (!flag) return invalid;
        out.*field.member = *flag;
    }
    for (const auto& field : kColours) {
        const auto colour = parse_rgb_hex(fields[field.index]);
        if (!colour) return invalid;
        out.*field.member = *colour;
    }
    for (const auto& field : kShortcuts) {
        if (field.index >= count) continue;
        if (fields[field.index] == "-") continue;  // none, as the default
        const auto shortcut = parse_shortcut(fields[field.index]);
        if (!shortcut) return invalid;
        out.*field.member = *shortcut;
    }
    return out;
}

std::string format_pointer_settings(const PointerSettings& settings) {
    std::array<std::string, kFullFieldCount> fields;
    for (const auto& field : kNumbers) fields[field.index] = std::to_string(settings.*field.member);
    for (const auto& field : kFlags) fields[field.index] = settings.*field.member ? '1' : '0';
    for (const auto& field : kColours) fields[field.index] = format_rgb_hex(settings.*field.member);
    for (const auto& field : kShortcuts) fields[field.index] = format_shortcut(settings.*field.member);
    fields[kRetiredField] = '0';

    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) line += ',';
        line += fields[i];
    }
    return line;
}

bool pointer_settings_valid(const PointerSettings& settings) {
    for (const auto& field : kNumbers) {
        const std::uint32_t value = settings.*field.member;
        if (value < field.min || value > field.max) return false;
    }
    for (const auto& field : kShortcuts) {
        const auto& shortcut = settings.*field.member;
        if (shortcut && !shortcut->usable()) return false;
    }
    return true;
}

}  // namespace glimmerly
