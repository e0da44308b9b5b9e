#include "core/board/layer_desktop.h"

#include <gtest/gtest.h>

#include "tests/core/board/fake_path_rules.h"

namespace glimmerly {
namespace {

using testing::FakePathRules;

constexpr char16_t kSea[] = u"C:\\pictures\\sea.jpg";
constexpr char16_t kBakedA[] = u"C:\\board\\baked-A-0123456789abcdef.png";
constexpr char16_t kBakedB[] = u"C:\\board\\baked-B-0123456789abcdef.png";

const std::vector<BoardScreen> kThree = {
    {"A", {0, 0, 1920, 1080}}, {"B", {1920, 0, 3840, 1080}}, {"C", {-1280, 200, 0, 1224}}};

BoardBase record(std::vector<std::optional<std::u16string>> pictures, WallpaperPosition position) {
    BoardBase base;
    base.position = position;
    const char* ids[] = {"A", "B", "C"};
    for (std::size_t i = 0; i < pictures.size(); ++i) base.screens.push_back({ids[i], pictures[i], std::nullopt});
    return base;
}

TEST(LayerDesktop, SpansOnlyWhileTheMonitorsPicturesDifferAndOtherwiseSetsTheOnePictureInItsOwnStyle) {
    const struct {
        const char* name;
        std::size_t monitors;
        BoardBase record;
        LayerDesktop desktop;
    } rows[] = {
        {"two monitors, one picture, tiled", 2, record({kSea, kSea}, WallpaperPosition::Tile),
         {false, kSea, WallpaperPosition::Tile}},
        {"three, one picture in two spellings, spanned style", 3,
         record({kSea, u"c:/Pictures/SEA.jpg", kSea}, WallpaperPosition::Span), {false, kSea, WallpaperPosition::Span}},
        {"three, no picture anywhere", 3, record({std::nullopt, u"", std::nullopt}, WallpaperPosition::Center),
         {false, std::nullopt, WallpaperPosition::Center}},
        {"two baked pictures", 2, record({kBakedA, kBakedB}, WallpaperPosition::Fill),
         {true, std::nullopt, WallpaperPosition::Fill}},
        {"halfway through a restore", 2, record({kSea, kBakedB}, WallpaperPosition::Tile),
         {true, std::nullopt, WallpaperPosition::Tile}},
        {"a monitor the record does not name", 3, record({kSea, kSea}, WallpaperPosition::Fit),
         {true, std::nullopt, WallpaperPosition::Fit}},
        {"one monitor", 1, record({kBakedA}, WallpaperPosition::Fill), {false, kBakedA, WallpaperPosition::Fill}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::span<const BoardScreen> monitors(kThree.data(), row.monitors);
        EXPECT_EQ(layer_desktop_for(row.record, monitors, FakePathRules{}), row.desktop);
    }
}

// The user's one picture, baked over monitor by monitor and given back the
// same way, ends as the user's own desktop: the picture and its style.
TEST(LayerDesktop, ABakeAndItsRestoreOnThreeMonitorsEndOnTheUsersOwnPictureAndStyle) {
    FakePathRules rules;
    BoardBase layered = layer_record_of_desktop(kThree, kSea, WallpaperPosition::Tile, Rgb{1, 2, 3});
    EXPECT_EQ(layer_desktop_for(layered, kThree, rules), (LayerDesktop{false, kSea, WallpaperPosition::Tile}));
    for (const BoardScreen& monitor : kThree) {
        find_base_screen(layered, monitor.name)->image = u"C:\\board\\baked-" + std::u16string(1, monitor.name[0]) +
                                                        u"-0123456789abcdef.png";
        EXPECT_TRUE(layer_desktop_for(layered, kThree, rules).spanned);
    }
    layered.position = WallpaperPosition::Fill;  // the bake's own style
    EXPECT_TRUE(layer_desktop_for(layered, kThree, rules).spanned);
    layered.position = WallpaperPosition::Tile;  // the restore sets the user's position first
    for (std::size_t i = 0; i < kThree.size(); ++i) {
        find_base_screen(layered, kThree[i].name)->image = kSea;
        EXPECT_EQ(layer_desktop_for(layered, kThree, rules).spanned, i + 1 < kThree.size());
    }
    EXPECT_EQ(layer_desktop_for(layered, kThree, rules), (LayerDesktop{false, kSea, WallpaperPosition::Tile}));
    EXPECT_EQ(layered.colour, (Rgb{1, 2, 3}));
}

}  // namespace
}  // namespace glimmerly
