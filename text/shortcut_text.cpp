#include "text/shortcut_text.h"

#include <array>
#include <atomic>
#include <utility>

namespace glimmerly {
namespace {

constexpr std::array<std::pair<std::uint32_t, TextId>, 4> kModifierNames = {{
    {2, TextId::key_ctrl},
    {4, TextId::key_shift},
    {1, TextId::key_alt},
    {8, TextId::key_win},
}};

constexpr std::array<std::pair<std::uint32_t, TextId>, 21> kKeyNames = {{
    {0x03, TextId::key_break},      {0x08, TextId::key_backspace},   {0x09, TextId::key_tab},
    {0x0D, TextId::key_enter},      {0x13, TextId::key_pause},       {0x14, TextId::key_caps_lock},
    {0x1B, TextId::key_esc},        {0x20, TextId::key_space},       {0x21, TextId::key_page_up},
    {0x22, TextId::key_page_down},  {0x23, TextId::key_end},         {0x24, TextId::key_home},
    {0x25, TextId::key_left},       {0x26, TextId::key_up},          {0x27, TextId::key_right},
    {0x28, TextId::key_down},       {0x2C, TextId::key_print_screen}, {0x2D, TextId::key_insert},
    {0x2E, TextId::key_delete},     {0x90, TextId::key_num_lock},    {0x91, TextId::key_scroll_lock},
}};

std::atomic<LayoutKeyName> g_layout_key_name{nullptr};

std::optional<std::string> layout_name(std::uint32_t key) {
    if (const LayoutKeyName source = g_layout_key_name.load(std::memory_order_relaxed)) return source(key);
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
    return std::nullopt;
}

std::optional<std::string> numpad_operator(std::uint32_t key) {
    switch (key) {
        case 0x6A: return "*";
        case 0x6B: return "+";
        case 0x6D: return "-";
        case 0x6E: return ".";
        case 0x6F: return "/";
        default: return std::nullopt;
    }
}

constexpr std::string_view kCapSeparator = " + ";

std::vector<std::string> split_label(const std::string& label) {
    std::vector<std::string> pieces;
    std::size_t from = 0;
    for (std::size_t at = label.find(kCapSeparator); at != std::string::npos; at = label.find(kCapSeparator, from)) {
        pieces.push_back(label.substr(from, at - from));
        from = at + kCapSeparator.size();
    }
    pieces.push_back(label.substr(from));
    return pieces;
}

std::string code_text(std::int32_t code) { return std::to_string(has_win32_code(code) ? code : 0); }

}  // namespace

void set_layout_key_name_source(LayoutKeyName source) { g_layout_key_name.store(source, std::memory_order_relaxed); }

std::optional<std::string> special_key_name(std::uint32_t key, Language language) {
    for (const auto& [code, text] : kKeyNames)
        if (code == key) return std::string(text_of(language, text));
    if (key >= 0x60 && key <= 0x69) {
        const std::string digit(1, static_cast<char>('0' + (key - 0x60)));
        return localized_text(language, TextId::key_numpad, {{"key", digit}});
    }
    if (const auto sign = numpad_operator(key)) return localized_text(language, TextId::key_numpad, {{"key", *sign}});
    if (key >= 0x70 && key <= 0x87) {
        std::string name(1, 'F');  // "F" + ... draws a false -Wrestrict from GCC 12 at -O2
        return name.append(std::to_string(key - 0x70 + 1));
    }
    return std::nullopt;
}

std::string key_code_name(std::uint32_t key, Language language) {
    return localized_text(language, TextId::key_code, {{"code", std::to_string(key)}});
}

std::vector<std::string> modifier_names(std::uint32_t modifiers, Language language) {
    std::vector<std::string> names;
    for (const auto& [flag, text] : kModifierNames)
        if (modifiers & flag) names.emplace_back(text_of(language, text));
    return names;
}

std::vector<std::string> key_display_name(std::uint32_t modifiers, std::uint32_t key, Language language) {
    std::vector<std::string> names = modifier_names(modifiers, language);
    if (auto own = special_key_name(key, language)) {
        names.push_back(std::move(*own));
    } else if (auto layout = layout_name(key); layout && !layout->empty()) {
        names.push_back(std::move(*layout));
    } else {
        names.push_back(key_code_name(key, language));
    }
    return names;
}

std::string shortcut_label(std::uint32_t modifiers, std::uint32_t key, Language language) {
    std::string label;
    for (const std::string& name : key_display_name(modifiers, key, language)) {
        if (!label.empty()) label += kCapSeparator;
        label += name;
    }
    return label;
}

KeyCaps shortcut_key_caps(std::uint32_t packed, Language language) {
    if (packed == 0) return {};
    return {split_label(shortcut_label(packed & 0xFFFFu, (packed >> 16) & 0xFFu, language)),
            static_cast<std::uint8_t>(packed >> 31)};
}

KeyCaps optional_shortcut_key_caps(std::optional<Shortcut> shortcut, std::uint8_t flag, Language language) {
    if (!shortcut || shortcut->key == 0) return {};
    return {split_label(shortcut_label(shortcut->modifiers, shortcut->key, language)), flag};
}

std::optional<std::string> print_screen_held_text(std::uint32_t modifiers, std::uint32_t key, std::int32_t code,
                                                  Language language) {
    if (!is_bare_print_screen(modifiers, key)) return std::nullopt;
    if (code != HOTKEY_IN_USE_CODE && has_win32_code(code)) return std::nullopt;
    return std::string(text_of(language, TextId::setup_print_screen_held));
}

std::string ready_notice_text(std::uint32_t modifiers, std::uint32_t key, Language language) {
    const std::string shortcut = shortcut_label(modifiers, key, language);
    return localized_text(language, TextId::notice_ready, {{"shortcut", shortcut}});
}

std::string shortcut_names_text(std::span<const TextId> names, Language language) {
    if (names.empty()) return {};
    std::string joined(text_of(language, names.front()));
    for (const TextId name : names.subspan(1))
        joined = localized_text(language, TextId::notice_names_separator,
                                {{"before", joined}, {"after", text_of(language, name)}});
    return joined;
}

std::string shortcut_register_failed_text(std::int32_t code, Language language) {
    return localized_text(language, TextId::setup_register_failed, {{"code", code_text(code)}});
}

std::string shortcut_failure_text(std::int32_t code, Language language) {
    return localized_text(language, TextId::setup_unavailable, {{"code", code_text(code)}});
}

}  // namespace glimmerly
