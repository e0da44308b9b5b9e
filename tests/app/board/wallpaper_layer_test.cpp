#include "app/board/wallpaper_layer.h"

#include <gtest/gtest.h>

#include "app/board/board_files.h"
#include "app/board/desktop_wallpaper.h"
#include "app/session/image_save.h"
#include "app/win/com.h"
#include "app/win/paths.h"
#include "tests/app/support/pictures.h"
#include "tests/app/support/private_prefix.h"
#include "tests/app/support/temp_folder.h"

namespace glimmerly {
namespace {

using testing_support::TempFolder;

TEST(DesktopWallpaper, IsTheShellsObjectOrWhereItIsNotRegisteredTheProgramsLayer) {
    win::ComApartment apartment(COINIT_APARTMENTTHREADED);
    const auto shell = create_shell_desktop_wallpaper();
    const auto either = create_desktop_wallpaper();
    ASSERT_TRUE(either.ok()) << either.failure().message;
    if (!shell.ok()) {
        EXPECT_EQ(static_cast<std::uint32_t>(shell.failure().code), 0x80040154u);
    }
    const auto monitors = list_wallpaper_monitors(**either);
    ASSERT_TRUE(monitors.ok());
    EXPECT_FALSE(monitors->empty());
}

// The layer changes the desktop of the prefix it runs in.
TEST(WallpaperLayer, SetsAndReadsBackTheOneMonitorsPictureAndPosition) {
    GLIM_REQUIRE_PRIVATE_PREFIX();
    testing_support::UserDataLock lock;
    win::ComApartment apartment(COINIT_APARTMENTTHREADED);
    TempFolder temp;
    const std::wstring picture = temp.path() + L"\\Own Picture.png";
    ASSERT_TRUE(save_image_atomically(testing_support::solid_picture(8, 8, 1, 2, 3, 255), picture, ImageFormat::Png).ok());
    auto layer = create_wallpaper_layer(temp.path());
    const auto monitors = list_wallpaper_monitors(*layer);
    ASSERT_TRUE(monitors.ok());
    ASSERT_EQ(monitors->size(), 1u);  // the tests' one virtual display
    const BoardScreen& monitor = monitors->front();
    EXPECT_TRUE(monitor.name.starts_with("\\\\.\\DISPLAY")) << monitor.name;
    EXPECT_EQ(monitor.rect, (Box{0, 0, double(GetSystemMetrics(SM_CXSCREEN)), double(GetSystemMetrics(SM_CYSCREEN))}));

    ASSERT_TRUE(set_monitor_wallpaper(*layer, monitor.name, win::to_u16(picture)).ok());
    EXPECT_EQ(get_monitor_wallpaper(*layer, monitor.name).value_or(std::nullopt), win::to_u16(picture));
    wchar_t shown[MAX_PATH + 1] = {};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, shown, 0));
    EXPECT_EQ(std::wstring(shown), picture);

    for (const WallpaperPosition position : {WallpaperPosition::Fit, WallpaperPosition::Tile, WallpaperPosition::Fill}) {
        ASSERT_TRUE(layer->set_position(position).ok());
        EXPECT_EQ(get_wallpaper_position(*layer).value_or(WallpaperPosition::Span), position);
    }
    EXPECT_EQ(layer->background_colour().value_or(1u << 24), GetSysColor(COLOR_DESKTOP));

    ASSERT_TRUE(set_monitor_wallpaper(*layer, monitor.name, u"").ok());
    EXPECT_EQ(get_monitor_wallpaper(*layer, monitor.name).value_or(u"x"), std::nullopt);
}

}  // namespace
}  // namespace glimmerly
