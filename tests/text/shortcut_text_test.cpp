#include "text/shortcut_text.h"

#include <gtest/gtest.h>

#include "core/base/result.h"

namespace glimmerly {
namespace {

TEST(ShortcutText, PrintScreenHeldOnlyForBarePrintScreenThatIsInUseOrRefusedWithoutACode) {
    struct Row {
        const char* name;
        std::uint32_t modifiers;
        std::uint32_t key;
        std::int32_t code;
        bool held;
    };
    const Row rows[] = {
        {"in use", 0, 44, HOTKEY_IN_USE_CODE, true},
        {"no Win32 code", 0, 44, E_FAIL_CODE, true},
        {"another Win32 error", 0, 44, hresult_from_win32(5), false},
        {"with a modifier", 2, 44, HOTKEY_IN_USE_CODE, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(print_screen_held_text(row.modifiers, row.key, row.code, LANGUAGE_ENGLISH).has_value(), row.held);
    }
}

TEST(ShortcutText, JoinsNamesPairwiseAndShowsCodesAsSignedDecimals) {
    const TextId one[] = {TextId::setup_title_arrow};
    const TextId three[] = {TextId::setup_title_arrow, TextId::setup_title_rectangle, TextId::setup_title_ellipse};
    EXPECT_EQ(shortcut_names_text(one, LANGUAGE_ENGLISH), "Arrow shortcut");
    EXPECT_EQ(shortcut_names_text(three, LANGUAGE_ENGLISH), "Arrow shortcut, Rectangle shortcut, Ellipse shortcut");
    EXPECT_EQ(shortcut_failure_text(HOTKEY_IN_USE_CODE, LANGUAGE_ENGLISH),
              "Shortcut unavailable (-2147023487). Choose another key.");
    EXPECT_EQ(shortcut_register_failed_text(E_FAIL_CODE, LANGUAGE_ENGLISH),
              "Unable to register this shortcut (0). It may be reserved or already in use.");
}

TEST(ShortcutText, NamesModifiersAndKeysInTheLanguage) {
    EXPECT_EQ(ready_notice_text(2 | 4, 'S', LANGUAGE_ENGLISH),
              "Glimmerly is running: Ctrl + Shift + S takes a screenshot. Its menu is by the clock.");
    EXPECT_EQ(shortcut_label(0, 44, LANGUAGE_ENGLISH), "Print Screen");
    EXPECT_EQ(shortcut_label(1, 0x71, LANGUAGE_ENGLISH), "Alt + F2");
    EXPECT_EQ(shortcut_label(0, 0xBA, LANGUAGE_ENGLISH), "Key 186");
}

}  // namespace
}  // namespace glimmerly
