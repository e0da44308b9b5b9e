#include "core/board/wallpaper.h"

#include <gtest/gtest.h>

#include "tests/core/board/fake_path_rules.h"
#include "tests/core/board/fake_wallpaper.h"

namespace glimmerly {
namespace {

using testing::FakePathRules;
using testing::FakeWallpaper;

constexpr char16_t kBakedA[] = u"C:\\board\\baked-A-0123456789abcdef.png";

std::vector<std::string> ids(const std::vector<BoardScreen>& monitors) {
    std::vector<std::string> out;
    for (const BoardScreen& monitor : monitors) out.push_back(monitor.name);
    return out;
}

TEST(ListWallpaperMonitors, LeavesOutMonitorsThatCannotBeDescribedAndKeepsTheOrder) {
    FakeWallpaper desktop;
    desktop.add_monitor("A", {0, 0, 1920, 1080});
    desktop.monitors.push_back({std::nullopt, Box{0, 0, 1, 1}});               // null path
    desktop.monitors.push_back({u"", Box{0, 0, 1, 1}});                        // empty id
    desktop.monitors.push_back({u"B C", Box{0, 0, 1, 1}});                     // white space
    desktop.monitors.push_back({std::u16string(1, char16_t(0xD800)), Box{0, 0, 1, 1}});  // not UTF-16
    desktop.monitors.push_back({u"D", std::nullopt});                          // no rectangle
    desktop.monitors.push_back({u"E", Box{10, 0, 10, 5}});                     // empty rectangle
    desktop.add_monitor("F", {-1280, 200, 0, 1224});
    const auto monitors = list_wallpaper_monitors(desktop);
    ASSERT_TRUE(monitors.ok());
    EXPECT_EQ(ids(*monitors), (std::vector<std::string>{"A", "F"}));
    EXPECT_EQ(monitors->back().rect, (Box{-1280, 200, 0, 1224}));
}

TEST(ListWallpaperMonitors, FailsOnlyWhenTheCountOrAPathCallFails) {
    FakeWallpaper desktop;
    desktop.add_monitor("A", {0, 0, 10, 10});
    desktop.add_monitor("B", {10, 0, 20, 10});
    desktop.fail_path_at = 1;
    EXPECT_FALSE(list_wallpaper_monitors(desktop).ok());
    desktop.fail_path_at.reset();
    desktop.fail_count = Failure{E_FAIL_CODE, "count"};
    EXPECT_EQ(list_wallpaper_monitors(desktop).failure().message, "count");
}

TEST(WallpaperPositionRead, ReadsSixAndAboveAsFill) {
    FakeWallpaper desktop;
    desktop.raw_position = 7;
    EXPECT_EQ(get_wallpaper_position(desktop).value_or(WallpaperPosition::Center), WallpaperPosition::Fill);
    desktop.raw_position = 3;
    EXPECT_EQ(get_wallpaper_position(desktop).value_or(WallpaperPosition::Center), WallpaperPosition::Fit);
}

TEST(GetMonitorWallpaper, AnEmptyAnswerIsNoPicture) {
    FakeWallpaper desktop;
    desktop.add_monitor("A", {0, 0, 10, 10}, u"");
    EXPECT_EQ(get_monitor_wallpaper(desktop, "A").value_or(u"x"), std::nullopt);
    desktop.wallpapers["A"] = u"C:\\a.jpg";
    EXPECT_EQ(get_monitor_wallpaper(desktop, "A").value_or(std::nullopt), std::u16string(u"C:\\a.jpg"));
}

TEST(CaptureWallpaperState, RecordsEachMonitorsOwnPictureButNoBakedOne) {
    FakeWallpaper desktop;
    desktop.add_monitor("A", {0, 0, 10, 10}, u"C:\\a.jpg");
    desktop.add_monitor("B", {10, 0, 20, 10}, kBakedA);
    desktop.raw_position = 2;
    desktop.colour = 0x00332211;
    const auto monitors = list_wallpaper_monitors(desktop);
    const auto base = capture_wallpaper_state(desktop, *monitors);
    ASSERT_TRUE(base.ok());
    ASSERT_EQ(base->screens.size(), 2u);
    EXPECT_EQ(base->screens[0], (BoardBaseScreen{"A", u"C:\\a.jpg", std::nullopt}));
    EXPECT_EQ(base->screens[1], (BoardBaseScreen{"B", std::nullopt, std::nullopt}));
    EXPECT_EQ(base->position, WallpaperPosition::Stretch);
    EXPECT_EQ(base->colour, (Rgb{0x11, 0x22, 0x33}));
}

TEST(RecordUserWallpapers, AddsOneScreenPerMonitorToAnEmptyBase) {
    BoardBase base;
    const std::vector<MonitorWallpaper> wallpapers = {
        {"A", u"C:\\a.jpg"}, {"B", u"D:\\x\\baked-x-0123456789abcdef.png"}, {"C", std::nullopt}};
    EXPECT_TRUE(record_user_wallpapers(base, wallpapers, FakePathRules{}));
    ASSERT_EQ(base.screens.size(), 3u);
    EXPECT_EQ(base.screens[0].image, std::u16string(u"C:\\a.jpg"));
    EXPECT_EQ(base.screens[1].image, std::nullopt);
    EXPECT_EQ(base.screens[2].image, std::nullopt);
    EXPECT_FALSE(record_user_wallpapers(base, wallpapers, FakePathRules{}));
}

TEST(RecordUserWallpapers, AMonitorShowingItsBakedPictureKeepsItsRecordedImage) {
    // The image file need not exist: it is never looked at.
    BoardBase base;
    base.screens = {{"A", u"C:\\gone\\sea.jpg", u"C:\\Board\\baked-A-0123456789abcdef.png"}};
    const std::vector<MonitorWallpaper> shows_baked = {{"A", u"c:/board/BAKED-A-0123456789abcdef.png"}};
    EXPECT_FALSE(record_user_wallpapers(base, shows_baked, FakePathRules{}));
    EXPECT_EQ(base.screens[0].image, std::u16string(u"C:\\gone\\sea.jpg"));
    // Another screen's (or an older) baked picture changes nothing either.
    const std::vector<MonitorWallpaper> other_baked = {{"A", u"C:\\Board\\baked-B-0123456789abcdef.png"}};
    EXPECT_FALSE(record_user_wallpapers(base, other_baked, FakePathRules{}));
    // The same image in another spelling is no change.
    const std::vector<MonitorWallpaper> same = {{"A", u"c:/GONE/sea.jpg"}};
    EXPECT_FALSE(record_user_wallpapers(base, same, FakePathRules{}));
    // Nor does an empty monitor: see the next test.
    const std::vector<MonitorWallpaper> none = {{"A", std::nullopt}};
    EXPECT_FALSE(record_user_wallpapers(base, none, FakePathRules{}));
    EXPECT_EQ(base.screens[0].image, std::u16string(u"C:\\gone\\sea.jpg"));
}

// A restore empties a monitor whose picture is missing for a while, and one
// cut off after emptying the desktop leaves every monitor empty: the record
// must outlive both until the picture is back or the user picks another.
TEST(RecordUserWallpapers, NeitherAnEmptyMonitorNorAPictureOfTheProgramsReplacesTheRecordedImage) {
    const struct {
        const char* name;
        std::optional<std::u16string> shown;
        std::optional<std::u16string> recorded;
    } rows[] = {
        {"no picture", std::nullopt, u"C:\\sea.jpg"},
        {"an empty path", u"", u"C:\\sea.jpg"},
        {"another bake's picture", u"D:\\b\\baked-B-0123456789abcdef.png", u"C:\\sea.jpg"},
        {"the layer's span picture", u"C:\\Board\\Wallpaper-Span.PNG", u"C:\\sea.jpg"},
        {"the user's new picture", u"C:\\hills.jpg", u"C:\\hills.jpg"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        BoardBase base;
        base.screens = {{"A", u"C:\\sea.jpg", u"C:\\b\\baked-A-0123456789abcdef.png"}};
        const std::vector<MonitorWallpaper> wallpapers = {{"A", row.shown}};
        (void)record_user_wallpapers(base, wallpapers, FakePathRules{});
        EXPECT_EQ(base.screens[0].image, row.recorded);
    }
    // A monitor new to the base records no picture of the program's either.
    BoardBase base;
    const std::vector<MonitorWallpaper> span = {{"N", u"C:\\Board\\wallpaper-span.png"}};
    EXPECT_TRUE(record_user_wallpapers(base, span, FakePathRules{}));
    EXPECT_EQ(base.screens[0].image, std::nullopt);
}

// A bake of an older version set the fill style before the pictures; cut
// off in between, the desktop shows the user's own pictures on the bake's
// style. Without the record of a finished bake that style is not the user's.
TEST(UpdateBaseFromDesktop, AHalfBakedDesktopKeepsTheRecordedPositionUntilABakeRecordsItsEnd) {
    const struct {
        const char* name;
        bool unfinished;
        WallpaperPosition desktop;
        std::optional<std::u16string> shown;
        WallpaperPosition kept;
    } rows[] = {
        {"cut off before the pictures", true, WallpaperPosition::Fill, u"C:\\sea.jpg", WallpaperPosition::Tile},
        {"cut off, the user's picture missing", true, WallpaperPosition::Fill, std::nullopt, WallpaperPosition::Tile},
        {"a finished bake: the user chose fill", false, WallpaperPosition::Fill, u"C:\\sea.jpg",
         WallpaperPosition::Fill},
        {"a style the bake never sets is the user's", true, WallpaperPosition::Center, u"C:\\sea.jpg",
         WallpaperPosition::Center},
        {"the pictures set, the style not yet", true, WallpaperPosition::Tile,
         u"C:\\b\\baked-A-0123456789abcdef.png", WallpaperPosition::Tile},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        BoardBase base;
        base.position = WallpaperPosition::Tile;
        base.screens = {{"A", u"C:\\sea.jpg", u"C:\\b\\baked-A-0123456789abcdef.png"}};
        const std::vector<MonitorWallpaper> wallpapers = {{"A", row.shown}};
        (void)update_base_from_desktop(base, wallpapers, row.desktop, Rgb{}, FakePathRules{}, row.unfinished);
        EXPECT_EQ(base.position, row.kept);
        EXPECT_EQ(base.screens[0].image, std::u16string(u"C:\\sea.jpg"));
    }
}

TEST(UpdateBaseFromDesktop, TakesTheDesktopsPositionAndColourOnlyWhenTheUserChangedAWallpaper) {
    BoardBase base;
    base.position = WallpaperPosition::Center;
    base.colour = Rgb{1, 2, 3};
    base.screens = {{"A", u"C:\\a.jpg", u"C:\\b\\baked-A-0123456789abcdef.png"},
                    {"B", u"C:\\b.jpg", u"C:\\b\\baked-B-0123456789abcdef.png"}};
    std::vector<MonitorWallpaper> wallpapers = {{"A", u"C:\\b\\baked-A-0123456789abcdef.png"},
                                                {"B", u"C:\\b\\baked-B-0123456789abcdef.png"}};
    // Every monitor still shows the board: the bake's own fill is not the user's.
    EXPECT_FALSE(update_base_from_desktop(base, wallpapers, WallpaperPosition::Fill, Rgb{}, FakePathRules{}));
    EXPECT_EQ(base.position, WallpaperPosition::Center);
    EXPECT_EQ(base.colour, (Rgb{1, 2, 3}));

    wallpapers[1].wallpaper = u"C:\\new.jpg";
    EXPECT_TRUE(update_base_from_desktop(base, wallpapers, WallpaperPosition::Fit, Rgb{9, 9, 9}, FakePathRules{}));
    EXPECT_EQ(base.screens[1].image, std::u16string(u"C:\\new.jpg"));
    EXPECT_EQ(base.screens[0].image, std::u16string(u"C:\\a.jpg"));
    EXPECT_EQ(base.position, WallpaperPosition::Fit);
    EXPECT_EQ(base.colour, (Rgb{9, 9, 9}));
    EXPECT_FALSE(update_base_from_desktop(base, wallpapers, WallpaperPosition::Fit, Rgb{9, 9, 9}, FakePathRules{}));
}

TEST(RefreshBoardBase, LeavesTheBaseAsItWasWhenTheDesktopCannotBeRead) {
    FakeWallpaper desktop;
    desktop.add_monitor("A", {0, 0, 10, 10}, u"C:\\new.jpg");
    const auto monitors = list_wallpaper_monitors(desktop);
    BoardBase base;
    base.screens = {{"A", u"C:\\old.jpg", std::nullopt}};
    const BoardBase before = base;
    desktop.fail_wallpaper = Failure{E_FAIL_CODE, "GetWallpaper"};
    EXPECT_FALSE(refresh_board_base(base, desktop, *monitors, FakePathRules{}).ok());
    EXPECT_EQ(base, before);
    desktop.fail_wallpaper.reset();
    EXPECT_TRUE(refresh_board_base(base, desktop, *monitors, FakePathRules{}).value_or(false));
    EXPECT_EQ(base.screens[0].image, std::u16string(u"C:\\new.jpg"));
}

TEST(WallpapersMatchBase, HoldsOnlyWhileEveryMonitorShowsItsRecordedBakedPicture) {
    FakeWallpaper desktop;
    desktop.add_monitor("A", {0, 0, 10, 10}, kBakedA);
    desktop.add_monitor("B", {10, 0, 20, 10}, u"C:\\b.jpg");
    const auto monitors = list_wallpaper_monitors(desktop);
    BoardBase base;
    EXPECT_FALSE(wallpapers_match_base(base, desktop, *monitors, FakePathRules{}).value_or(true));
    EXPECT_TRUE(wallpapers_match_base(base, desktop, {}, FakePathRules{}).value_or(false));
    base.screens = {{"A", std::nullopt, kBakedA}, {"B", std::nullopt, std::nullopt}};
    EXPECT_FALSE(wallpapers_match_base(base, desktop, *monitors, FakePathRules{}).value_or(true));
    base.screens[1].baked = u"C:\\board\\baked-B-0123456789abcdef.png";
    desktop.wallpapers["B"] = u"C:\\BOARD\\baked-B-0123456789abcdef.png";
    EXPECT_TRUE(wallpapers_match_base(base, desktop, *monitors, FakePathRules{}).value_or(false));
    desktop.fail_wallpaper = Failure{E_FAIL_CODE, "GetWallpaper"};
    EXPECT_FALSE(wallpapers_match_base(base, desktop, *monitors, FakePathRules{}).ok());
}

TEST(DesktopStyle, EveryPositionReadsBackAsItselfAndAbsentValuesAsFill) {
    for (std::uint32_t value = 0; value <= 5; ++value) {
        const auto position = static_cast<WallpaperPosition>(value);
        const DesktopStyle style = desktop_style_of(position);
        EXPECT_EQ(position_from_desktop_style(style.style, style.tile), position);
    }
    EXPECT_EQ(position_from_desktop_style(std::nullopt, std::nullopt), WallpaperPosition::Fill);
    EXPECT_EQ(position_from_desktop_style(std::nullopt, 1u), WallpaperPosition::Tile);
    EXPECT_EQ(position_from_desktop_style(7u, 0u), WallpaperPosition::Fill);
}

}  // namespace
}  // namespace glimmerly
