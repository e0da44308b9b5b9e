#include "core/shortcuts/shortcut_rules.h"

#include <array>

namespace glimmerly {
namespace {

constexpr std::array<ShortcutKind, kShortcutRowCount> kRowKinds{
    ShortcutKind::Capture, ShortcutKind::Instant,   ShortcutKind::Board,
    ShortcutKind::Arrow,   ShortcutKind::Rectangle, ShortcutKind::Ellipse,
    ShortcutKind::ShowClick, ShortcutKind::Spotlight, ShortcutKind::Magnifier,
};

constexpr Shortcut kPrintScreen{0, 44};

// The settings field a row lives in, const or not alike.
template <class S>
auto* pointer_slot(S& settings, ShortcutRow row) {
    using Slot = decltype(&settings.pointer.show_click_shortcut);
    switch (row) {
        case ShortcutRow::ShowClick: return &settings.pointer.show_click_shortcut;
        case ShortcutRow::Spotlight: return &settings.pointer.spotlight_shortcut;
        case ShortcutRow::Magnifier: return &settings.pointer.magnifier_shortcut;
        default: return Slot{nullptr};
    }
}

template <class S>
auto* fixed_slot(S& settings, ShortcutRow row) {
    using Slot = decltype(&settings.capture_shortcut);
    switch (row) {
        case ShortcutRow::Capture: return &settings.capture_shortcut;
        case ShortcutRow::Instant: return &settings.instant_capture_shortcut;
        case ShortcutRow::Board: return &settings.board_shortcut;
        case ShortcutRow::Arrow: return &settings.shape_shortcuts[kShapeArrow];
        case ShortcutRow::Rectangle: return &settings.shape_shortcuts[kShapeRectangle];
        case ShortcutRow::Ellipse: return &settings.shape_shortcuts[kShapeEllipse];
        default: return Slot{nullptr};
    }
}

bool has_ctrl_or_alt(Shortcut s) { return s.ctrl() || s.alt(); }

// Whether another row than `self` holds the combination, among `rows`.
bool held_by(const Settings& settings, Shortcut combination, ShortcutRow self,
             std::initializer_list<ShortcutRow> rows) {
    for (const ShortcutRow row : rows)
        if (row != self && row_shortcut_in(settings, row) == combination) return true;
    return false;
}

constexpr auto kShapes = {ShortcutRow::Arrow, ShortcutRow::Rectangle, ShortcutRow::Ellipse};
constexpr auto kPointers = {ShortcutRow::ShowClick, ShortcutRow::Spotlight, ShortcutRow::Magnifier};

bool held_by_shape(const Settings& s, Shortcut c, ShortcutRow self) { return held_by(s, c, self, kShapes); }
bool held_by_pointer(const Settings& s, Shortcut c, ShortcutRow self) { return held_by(s, c, self, kPointers); }

std::optional<ShortcutRefusal> plain(TextId text) { return ShortcutRefusal{text, false}; }

// Each shape shortcut must stand on its own and differ from the shapes
// before it, the first failing check deciding.
std::optional<TextId> shape_set_refusal(const std::array<Shortcut, 3>& shapes) {
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        const Shortcut s = shapes[i];
        if (!s.usable()) return TextId::setup_invalid_shape;
        if (!has_ctrl_or_alt(s)) return TextId::setup_shape_needs_modifier;
        if (s == kReservedShortcut) return TextId::setup_reserved;
        for (std::size_t before = 0; before < i; ++before)
            if (shapes[before] == s) return TextId::setup_duplicate_shape;
    }
    return std::nullopt;
}

std::optional<ShortcutRefusal> judge_shape(ShortcutRow row, Shortcut c, const Settings& settings) {
    Settings changed = settings;
    *fixed_slot(changed, row) = c;
    std::optional<TextId> refusal = shape_set_refusal(changed.shape_shortcuts);
    if (!refusal) {
        if (held_by(settings, c, row, {ShortcutRow::Capture, ShortcutRow::Instant}))
            refusal = TextId::setup_used_for_capture;
        else if (held_by(settings, c, row, {ShortcutRow::Board}))
            refusal = TextId::setup_used_by_board;
        else if (held_by_pointer(settings, c, row))
            refusal = TextId::setup_used_by_glimmerly;
    }
    if (!refusal) return std::nullopt;
    return ShortcutRefusal{*refusal, true};
}

}  // namespace

ShortcutKind kind_of_row(ShortcutRow row) { return kRowKinds[static_cast<std::size_t>(row)]; }

ShortcutRow row_of_kind(ShortcutKind kind) {
    for (std::size_t i = 0; i < kRowKinds.size(); ++i)
        if (kRowKinds[i] == kind) return static_cast<ShortcutRow>(i);
    return ShortcutRow::Capture;
}

std::optional<Shortcut> row_default(ShortcutRow row) {
    if (row == ShortcutRow::Capture) return kPrintScreen;
    Settings defaults;
    if (Shortcut* fixed = fixed_slot(defaults, row)) return *fixed;
    return std::nullopt;
}

std::optional<Shortcut> row_shortcut_in(const Settings& settings, ShortcutRow row) {
    if (const auto* pointer = pointer_slot(settings, row)) return *pointer;
    const Shortcut fixed = *fixed_slot(settings, row);
    if (row == ShortcutRow::Capture && fixed.key == 0) return std::nullopt;
    return fixed;
}

void set_row_shortcut_in(Settings& settings, ShortcutRow row, std::optional<Shortcut> shortcut) {
    if (auto* pointer = pointer_slot(settings, row)) {
        *pointer = shortcut;
    } else if (shortcut) {
        *fixed_slot(settings, row) = *shortcut;
    }
}

bool is_modifier_key(std::uint32_t key) {
    return (key >= 16 && key <= 18) || key == 91 || key == 92 || (key >= 160 && key <= 165);
}

std::optional<ShortcutRefusal> judge_shortcut(ShortcutKind kind, Shortcut c, const Settings& settings) {
    const ShortcutRow self = row_of_kind(kind);
    switch (kind) {
        case ShortcutKind::Capture:
            if (held_by(settings, c, self, {ShortcutRow::Instant})) return plain(TextId::setup_used_for_instant);
            if (c == kReservedShortcut || held_by_shape(settings, c, self) || held_by_pointer(settings, c, self))
                return plain(TextId::setup_used_by_presentation);
            if (held_by(settings, c, self, {ShortcutRow::Board})) return plain(TextId::setup_used_by_board);
            return std::nullopt;
        case ShortcutKind::Instant:
            if (c == kReservedShortcut || held_by(settings, c, self, {ShortcutRow::Capture}) ||
                held_by_shape(settings, c, self) || held_by_pointer(settings, c, self))
                return plain(TextId::setup_used_by_glimmerly);
            if (held_by(settings, c, self, {ShortcutRow::Board})) return plain(TextId::setup_used_by_board);
            return std::nullopt;
        case ShortcutKind::Board:
            if (!c.usable()) return plain(TextId::setup_invalid_board);
            if (!has_ctrl_or_alt(c)) return plain(TextId::setup_board_needs_modifier);
            if (c == kReservedShortcut) return plain(TextId::setup_reserved);
            if (held_by(settings, c, self, {ShortcutRow::Capture, ShortcutRow::Instant}) ||
                held_by_shape(settings, c, self) || held_by_pointer(settings, c, self))
                return plain(TextId::setup_used_by_glimmerly);
            return std::nullopt;
        case ShortcutKind::Arrow:
        case ShortcutKind::Rectangle:
        case ShortcutKind::Ellipse: return judge_shape(self, c, settings);
        case ShortcutKind::ShowClick:
        case ShortcutKind::Spotlight:
        case ShortcutKind::Magnifier:
            if (!c.usable() || !has_ctrl_or_alt(c)) return plain(TextId::setup_pointer_needs_modifier);
            if (c == kReservedShortcut || held_by_pointer(settings, c, self) ||
                held_by(settings, c, self, {ShortcutRow::Capture, ShortcutRow::Instant, ShortcutRow::Board}) ||
                held_by_shape(settings, c, self))
                return plain(TextId::setup_used_by_glimmerly);
            return std::nullopt;
    }
    return std::nullopt;
}

std::string refusal_text(const ShortcutRefusal& refusal, Language language) {
    if (!refusal.wrapped) return std::string(text_of(language, refusal.text));
    return localized_text(language, TextId::setup_invalid, {{"detail", std::string(text_of(language, refusal.text))}});
}

bool setup_close_quits(bool recording_row, ShortcutKind kind, bool capture_registered, bool instant_registered,
                       bool board_registered) {
    if (recording_row || is_shape_kind(kind)) return false;
    return !capture_registered && !instant_registered && !board_registered;
}

}  // namespace glimmerly
