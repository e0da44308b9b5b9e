#include "app/app/tray_icon.h"

#include <gtest/gtest.h>

#include "tests/app/support/app_window.h"

namespace glimmerly {
namespace {

using namespace testing_support;

TEST(TrayIcon, IsAddedAgainWhenExplorerRestartsAndGoesWithItsWindow) {
    TestAppWindow test;
    ASSERT_TRUE(test.window());
    {
        auto app = test.cell().try_borrow();
        ASSERT_TRUE(add_tray_icon(app->icon_data).ok());
        app->icon_added = true;
    }
    EXPECT_TRUE(tray_icon_shown(test.window()));

    // A restarted Explorer knows no icons, then tells every window.
    NOTIFYICONDATAW forgotten{sizeof forgotten, test.window(), TRAY_ICON_ID};
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &forgotten));
    EXPECT_FALSE(tray_icon_shown(test.window()));
    SendMessageW(test.window(), taskbar_created_message(), 0, 0);
    EXPECT_TRUE(tray_icon_shown(test.window()));

    destroy_owned_window(test.window());
    EXPECT_FALSE(tray_icon_shown(test.window()));
}

TEST(TrayIcon, TheTooltipStopsAt127UnitsAndNeverSplitsAPair) {
    const auto long_tip = copy_to_tip_buffer(std::string(200, 'x'));
    EXPECT_EQ(std::wstring(long_tip.data()), std::wstring(127, L'x'));
    // U+1F600 takes units 127 and 128: all of it goes.
    const auto split = copy_to_tip_buffer(std::string(126, 'x') + "\xF0\x9F\x98\x80");
    EXPECT_EQ(std::wstring(split.data()), std::wstring(126, L'x'));
}

}  // namespace
}  // namespace glimmerly
