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

}  // namespace
}  // namespace glimmerly
