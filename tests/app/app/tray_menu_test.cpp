// The tray popup's picture and the menu commands' effects on the settings,
// with the program's own App and window on the test's thread.

#include "app/app/tray_menu.h"

#include <gtest/gtest.h>

#include "app/app/popup_paint.h"
#include "tests/app/render/render_support.h"

namespace glimmerly {
namespace {

using testing::pixel;

constexpr Rgb kBackground{43, 43, 43};
constexpr Rgb kAccent{0x60, 0xCD, 0xFF};

TEST(TrayPopupPicture, PaddingIsTheMenuGreyAndAnEnabledToggleShowsTheAccentPill) {
    ShortcutBindings bindings;
    bindings.flags[static_cast<std::size_t>(BindingFlag::TemporaryShapes)] = true;
    auto picture = paint_tray_popup(APP_COMMAND_LANGUAGE_MENU, bindings);
    ASSERT_TRUE(picture.ok()) << picture.failure().message;
    auto layout = layout_popup(main_popup_rows(), bindings, 1.0);
    release_menu_resources();
    ASSERT_TRUE(layout.ok());
    const auto pill = [&](std::size_t row) {
        return pixel(*picture, static_cast<std::uint32_t>(layout->width - 14 - 14),
                     static_cast<std::uint32_t>((layout->tops[row] + layout->tops[row + 1]) / 2));
    };
    EXPECT_EQ(pixel(*picture, 10, 1), kBackground);
    EXPECT_EQ(pixel(*picture, 10, static_cast<std::uint32_t>(popup_height(*layout) - 1)), kBackground);
    EXPECT_EQ(pill(11), kAccent);       // temporary shapes: on
    EXPECT_EQ(pill(7), kBackground);    // pointer effects: off
}

}  // namespace
}  // namespace glimmerly
