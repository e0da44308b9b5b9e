#include "text/shortcut_text.h"

#include <gtest/gtest.h>

#include "core/base/result.h"

namespace glimmerly {
namespace {

TEST(ShortcutText, PrintScreenHeldOnlyForBarePrintScreenThatIsInUseOrRefusedWithoutACode) {
    const struct {
        const char* name;
        std::uint32_t modifiers;
        std::int32_t code;
        bool held;
    } rows[] = {
        {"in use", 0, HOTKEY_IN_USE_CODE, true},
        {"no Win32 code", 0, E_FAIL_CODE, true},
        {"another Win32 error", 0, hresult_from_win32(5), false},
        {"with a modifier", 2, HOTKEY_IN_USE_CODE, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(print_screen_held_text(row.modifiers, 44, row.code, LANGUAGE_ENGLISH).has_value(), row.held);
    }
}

TEST(ShortcutText, JoinsNamesPairwiseNamesKeysAndShowsCodesAsSignedDecimals) {
    const TextId three[] = {TextId::setup_title_arrow, TextId::setup_title_rectangle, TextId::setup_title_ellipse};
    EXPECT_EQ(shortcut_names_text(std::span(three, 1), LANGUAGE_ENGLISH), "Arrow shortcut");
    EXPECT_EQ(shortcut_names_text(three, LANGUAGE_ENGLISH), "Arrow shortcut, Rectangle shortcut, Ellipse shortcut");
    EXPECT_EQ(shortcut_failure_text(HOTKEY_IN_USE_CODE, LANGUAGE_ENGLISH),
              "Shortcut unavailable (-2147023487). Choose another key.");
    EXPECT_EQ(shortcut_register_failed_text(E_FAIL_CODE, LANGUAGE_ENGLISH),
              "Unable to register this shortcut (0). It may be reserved or already in use.");
    EXPECT_EQ(ready_notice_text(2 | 4, 'S', LANGUAGE_ENGLISH),
              "Glimmerly is running: Ctrl + Shift + S takes a screenshot. Its menu is by the clock.");
    EXPECT_EQ(shortcut_label(1, 0xBA, LANGUAGE_ENGLISH), "Alt + Key 186");
}

// A layout that names the semicolon key and nothing else.
std::optional<std::string> fake_layout(std::uint32_t key) {
    if (key == 0xBA) return std::string("\xC3\x96");  // a layout's "Ö"
    return std::nullopt;
}

class LayoutNames : public ::testing::Test {
protected:
    void SetUp() override { set_layout_key_name_source(&fake_layout); }
    void TearDown() override { set_layout_key_name_source(nullptr); }
};

TEST_F(LayoutNames, KeyNamesComeFromTheTableThenTheLayoutThenTheCode) {
    const struct {
        const char* name;
        std::uint32_t modifiers, key;
        std::vector<std::string> caps;
    } rows[] = {
        {"Ctrl and Shift before the key", 6, 0xBA, {"Ctrl", "Shift", "\xC3\x96"}},
        {"Alt before Win", 9, 0x2C, {"Alt", "Win", "Print Screen"}},
        {"all four in order, higher bits ignored", 15 | 0x4000, 0x91, {"Ctrl", "Shift", "Alt", "Win", "Scroll Lock"}},
        {"F13", 0, 124, {"F13"}},
        {"a numeric-pad digit", 0, 103, {"Numpad 7"}},
        {"a numeric-pad operator", 0, 111, {"Numpad /"}},
        {"numeric-pad separator has no name", 0, 108, {"Key 108"}},
        {"the layout has none", 0, 'A', {"Key 65"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(key_display_name(row.modifiers, row.key, LANGUAGE_ENGLISH), row.caps);
    }
    EXPECT_EQ(shortcut_label(6, 0xBA, LANGUAGE_ENGLISH), "Ctrl + Shift + \xC3\x96");
}

TEST_F(LayoutNames, PackedAndOptionalShortcutsBecomeCapsWithTheirFlag) {
    const KeyCaps caps{{"Ctrl", "Shift", "Print Screen"}, 0};
    EXPECT_EQ(shortcut_key_caps(0x002C0006u, LANGUAGE_ENGLISH), caps);
    EXPECT_EQ(shortcut_key_caps(0x802C0006u, LANGUAGE_ENGLISH), (KeyCaps{caps.caps, 1}));
    EXPECT_EQ(shortcut_key_caps(0, LANGUAGE_ENGLISH), KeyCaps{});
    EXPECT_EQ(optional_shortcut_key_caps(Shortcut{6, 0x2C}, 1, LANGUAGE_ENGLISH), (KeyCaps{caps.caps, 1}));
    EXPECT_EQ(optional_shortcut_key_caps(Shortcut{6, 0}, 1, LANGUAGE_ENGLISH), KeyCaps{});
    EXPECT_EQ(optional_shortcut_key_caps(std::nullopt, 1, LANGUAGE_ENGLISH), KeyCaps{});
}

}  // namespace
}  // namespace glimmerly
