#include "text/shortcut_text.h"

#include <array>
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

std::string key_name(std::uint32_t key, Language language) {
    for (const auto& [code, text] : kKeyNames)
        if (code == key) return std::string(text_of(language, text));
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
    if (key >= 0x60 && key <= 0x69) {
        const std::string digit(1, static_cast<char>('0' + (key - 0x60)));
        return localized_text(language, TextId::key_numpad, {{"key", digit}});
    }
    if (key >= 0x70 && key <= 0x87) {
        std::string name(1, 'F');  // "F" + ... draws a false -Wrestrict from GCC 12 at -O2
        return name.append(std::to_string(key - 0x70 + 1));
    }
    return localized_text(language, TextId::key_code, {{"code", std::to_string(key)}});
}

std::string code_text(std::int32_t code) { return std::to_string(has_win32_code(code) ? code : 0); }

}  // namespace

std::string shortcut_label(std::uint32_t modifiers, std::uint32_t key, Language language) {
    std::string label;
    for (const auto& [flag, text] : kModifierNames) {
        if (!(modifiers & flag)) continue;
        label += text_of(language, text);
        label += " + ";
    }
    return label + key_name(key, language);
}

std::vector<std::string> shortcut_key_caps(std::uint32_t modifiers, std::uint32_t key, Language language) {
    std::vector<std::string> caps;
    for (const auto& [flag, text] : kModifierNames)
        if (modifiers & flag) caps.emplace_back(text_of(language, text));
    if (key != 0) caps.push_back(key_name(key, language));
    return caps;
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
