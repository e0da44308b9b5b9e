#include "core/shortcuts/shortcut_setup.h"

#include <algorithm>
#include <cmath>

#include "text/shortcut_text.h"

namespace glimmerly {
namespace {

constexpr std::uint32_t kTab = 0x09;
constexpr std::uint32_t kEnter = 0x0D;
constexpr std::uint32_t kEscape = 0x1B;
constexpr std::uint32_t kSpace = 0x20;

constexpr double kItemGap = 6.0;
constexpr double kItemHalfHeight = 14.0;

bool inside(const Box& box, double x, double y) {
    return x >= box.left && x <= box.right && y >= box.top && y <= box.bottom;
}

std::string text(const SetupState& state, TextId id) { return std::string(text_of(state.language, id)); }

TextId kind_title(ShortcutKind kind) {
    return text_id(static_cast<std::uint16_t>(text_index(TextId::setup_title_capture) + static_cast<std::uint16_t>(kind)));
}

// Everything the dialog may say below the keys: hints and refusals, with
// the longest code and each refusal the shapes wrap.
std::vector<std::string> setup_messages(Language language) {
    std::vector<std::string> messages;
    for (const TextId id : {TextId::setup_any_key_hint, TextId::setup_board_hint, TextId::setup_shape_hint,
                            TextId::setup_print_screen_hint, TextId::setup_change_hint,
                            TextId::setup_used_for_instant, TextId::setup_used_by_presentation,
                            TextId::setup_used_by_board, TextId::setup_used_by_glimmerly,
                            TextId::setup_print_screen_held, TextId::setup_invalid_board,
                            TextId::setup_board_needs_modifier, TextId::setup_reserved})
        messages.emplace_back(text_of(language, id));
    for (const TextId id : {TextId::setup_register_failed, TextId::setup_unavailable})
        messages.push_back(localized_text(language, id, {{"code", "-2147483648"}}));
    for (const TextId id : {TextId::setup_invalid_shape, TextId::setup_shape_needs_modifier, TextId::setup_reserved,
                            TextId::setup_duplicate_shape, TextId::setup_used_for_capture,
                            TextId::setup_used_by_board})
        messages.push_back(refusal_text({id, true}, language));
    return messages;
}

double cap_width(double text_width) { return std::max(text_width + 20.0, 28.0); }

}  // namespace

void reset_setup_state(SetupState& state, ShortcutKind kind, std::optional<Shortcut> recorded, bool recording_row,
                       Language language, const SetupLayout& layout) {
    state.message.clear();
    state.resources.reset();
    state.focus = kSetupFocusKeys;
    state.layout = layout;
    state.recorded = recorded;
    state.held_modifiers = 0;
    state.listening = recording_row;
    state.recording_row = recording_row;
    state.kind = kind;
    state.language = language;
}

std::optional<std::uint64_t> panel_button_at(const SetupLayout& layout, double x, double y) {
    if (inside(layout.keys, x, y)) return kSetupFocusKeys;
    if (inside(layout.cancel, x, y)) return kSetupFocusCancel;
    if (inside(layout.save, x, y)) return kSetupFocusSave;
    return std::nullopt;
}

bool record_combination(SetupState& state, std::uint32_t modifiers, std::uint32_t key) {
    if (is_modifier_key(key)) return false;
    state.recorded = Shortcut{modifiers, key};
    state.listening = false;
    state.focus = kSetupFocusSave;
    state.message.clear();
    return true;
}

SetupKeyOutcome setup_key_down(SetupState& state, std::uint32_t key, std::uint32_t held_modifiers, bool shift_down) {
    if (!state.listening) {
        switch (key) {
            case kTab: state.focus = (state.focus + 1 + (shift_down ? 1 : 0)) % 3; return {true, std::nullopt, false};
            case kEnter:
            case kSpace: return {false, state.focus, false};
            case kEscape: state.focus = kSetupFocusCancel; return {true, std::nullopt, true};
            default:
                state.listening = true;
                state.message.clear();
                break;
        }
    }
    state.held_modifiers = held_modifiers;
    (void)record_combination(state, held_modifiers, key);
    return {true, std::nullopt, false};
}

bool setup_save_enabled(const SetupState& state) { return state.recorded.has_value() && !state.listening; }

std::string setup_hint_text(const SetupState& state) {
    if (!state.message.empty()) return state.message;
    if (!state.listening) {
        const bool print_screen = state.recorded && state.recorded->modifiers == 0 && state.recorded->key == 44;
        const bool capture_like = state.kind == ShortcutKind::Capture || state.kind == ShortcutKind::Instant;
        return text(state, capture_like && print_screen ? TextId::setup_print_screen_hint : TextId::setup_change_hint);
    }
    switch (state.kind) {
        case ShortcutKind::Capture:
        case ShortcutKind::Instant: return text(state, TextId::setup_any_key_hint);
        case ShortcutKind::Arrow:
        case ShortcutKind::Rectangle:
        case ShortcutKind::Ellipse: return text(state, TextId::setup_shape_hint);
        default: return text(state, TextId::setup_board_hint);
    }
}

std::vector<SetupItem> setup_key_items(const SetupState& state) {
    std::vector<SetupItem> items;
    const auto add_names = [&](const std::vector<std::string>& names) {
        for (const std::string& name : names) {
            if (!items.empty()) items.push_back({SetupItemKind::Separator, "+", {}});
            items.push_back({SetupItemKind::Cap, name, {}});
        }
    };
    if (state.listening && (state.held_modifiers & kShortcutAllModifiers) != 0) {
        add_names(modifier_names(state.held_modifiers, state.language));
        items.push_back({SetupItemKind::Separator, "+", {}});
        items.push_back({SetupItemKind::Text, text(state, TextId::setup_waiting), {}});
    } else if (state.listening) {
        items.push_back({SetupItemKind::Text, text(state, TextId::setup_press), {}});
    } else if (state.recorded) {
        add_names(key_display_name(state.recorded->modifiers, state.recorded->key, state.language));
    } else {
        items.push_back({SetupItemKind::Text, text(state, TextId::setup_choose), {}});
    }
    return items;
}

std::vector<SetupItem> place_setup_items(std::vector<SetupItem> items, const std::vector<double>& text_widths,
                                         const Box& keys) {
    std::vector<double> widths;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const double w = i < text_widths.size() ? text_widths[i] : 0.0;
        widths.push_back(items[i].kind == SetupItemKind::Cap ? cap_width(w) : w);
    }
    const auto total_of = [&](bool separators) {
        double total = 0.0;
        std::size_t count = 0;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (!separators && items[i].kind == SetupItemKind::Separator) continue;
            total += widths[i];
            ++count;
        }
        return total + kItemGap * static_cast<double>(count > 0 ? count - 1 : 0);
    };
    const bool separators = total_of(true) <= (keys.right - keys.left) - 32.0;
    const double total = total_of(separators);
    const double middle = (keys.top + keys.bottom) / 2.0;
    double x = std::round(keys.left + ((keys.right - keys.left) - total) / 2.0);
    std::vector<SetupItem> placed;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!separators && items[i].kind == SetupItemKind::Separator) continue;
        items[i].box = {x, middle - kItemHalfHeight, x + widths[i], middle + kItemHalfHeight};
        x += widths[i] + kItemGap;
        placed.push_back(std::move(items[i]));
    }
    return placed;
}

SetupLayout measure_setup_layout(Language language, const SetupMeasure& measure) {
    const auto width_of = [&](const std::string& t, double size) -> Result<double> {
        auto extent = measure(t, size, 0.0);
        if (!extent) return std::move(extent).failure();
        return std::ceil(extent->w);
    };
    const auto measured = [&]() -> Result<SetupLayout> {
        double widest_key = 0.0;
        for (std::uint32_t key = 0; key <= 255; ++key) {
            const auto name = key == 255 ? std::optional<std::string>(key_code_name(key, language))
                                         : special_key_name(key, language);
            if (!name) continue;
            auto w = width_of(*name, 13);
            if (!w) return std::move(w).failure();
            widest_key = std::max(widest_key, cap_width(*w));
        }
        double key_row = widest_key;
        for (const std::string& modifier : modifier_names(kShortcutAllModifiers, language)) {
            auto w = width_of(modifier, 13);
            if (!w) return std::move(w).failure();
            key_row += cap_width(*w) + kItemGap;
        }
        double row = key_row;
        for (const TextId id : {TextId::setup_press, TextId::setup_choose}) {
            auto w = width_of(std::string(text_of(language, id)), 13);
            if (!w) return std::move(w).failure();
            row = std::max(row, *w);
        }
        double title = 0.0;
        for (std::uint8_t kind = 0; kind < kShortcutRowCount; ++kind) {
            auto w = width_of(std::string(text_of(language, kind_title(static_cast<ShortcutKind>(kind)))), 16);
            if (!w) return std::move(w).failure();
            title = std::max(title, *w);
        }
        double label = 0.0;
        for (const TextId id : {TextId::setup_cancel, TextId::setup_save}) {
            auto w = width_of(std::string(text_of(language, id)), 13);
            if (!w) return std::move(w).failure();
            label = std::max(label, *w);
        }
        const double b = std::max(std::ceil(label + 32.0), 88.0);
        const double w = std::ceil(std::max({2.0 * b + 48.0, row + 72.0, title + 66.0, 420.0}));
        double tallest = 0.0;
        for (const std::string& message : setup_messages(language)) {
            auto extent = measure(message, 12, w - 40.0);
            if (!extent) return std::move(extent).failure();
            tallest = std::max(tallest, extent->h);
        }
        const double m = std::max(std::ceil(tallest), 52.0);
        SetupLayout layout;
        layout.keys = {20, 58, w - 20, 122};
        layout.hint = {20, 132, w - 20, 132 + m};
        layout.cancel = {w - 28 - 2 * b, 144 + m, w - 28 - b, 176 + m};
        layout.save = {w - 20 - b, 144 + m, w - 20, 176 + m};
        layout.width = w;
        layout.height = 196 + m;
        return layout;
    }();
    return measured ? *measured : SetupLayout{};
}

}  // namespace glimmerly
