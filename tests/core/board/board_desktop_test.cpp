#include "core/board/board_desktop.h"

#include <gtest/gtest.h>

#include <cmath>

namespace glimmerly {
namespace {

constexpr std::uint32_t kWallpaper = 0xFF102030u, kBaked = 0xFF8080F0u, kIcon = 0xFF00C000u;

BgraImage solid(std::uint32_t width, std::uint32_t height, std::uint32_t bgra) {
    BgraImage image{std::vector<std::uint8_t>(std::size_t{width} * height * 4), width, height};
    for (std::size_t i = 0; i < image.pixels.size(); i += 4)
        for (int c = 0; c < 4; ++c) image.pixels[i + c] = static_cast<std::uint8_t>(bgra >> (8 * c));
    return image;
}

void set_pixels(BgraImage& image, std::size_t count, std::uint32_t bgra) {
    for (std::size_t i = 0; i < count; ++i)
        for (int c = 0; c < 4; ++c) image.pixels[i * 4 + c] = static_cast<std::uint8_t>(bgra >> (8 * c));
}

std::uint32_t pixel(const BgraImage& image, std::size_t i) {
    const std::uint8_t* p = &image.pixels[i * 4];
    return p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t(p[3]) << 24;
}

// One 10 x 10 monitor at (-10, 5); the base is its wallpaper.
const MonitorPixels kMonitor{-10, 5, 10, 10};
DesktopPicture base_picture() { return {solid(10, 10, kWallpaper), -10, 5}; }

TEST(MonitorPixels, TruncatesAndClampsEachEdgeOneWay) {
    EXPECT_EQ(monitor_pixels({-10.7, 5.9, 9.2, 20.0}), (MonitorPixels{-10, 5, 19, 14}));
    EXPECT_EQ(monitor_pixels({std::nan(""), 1e12, -5.0, 0.0}), (MonitorPixels{0, 2147483647, 0, 0}));
}

TEST(PrepareBoardDesktop, WithoutARenderingTheBaseComesBackWithoutOverlay) {
    const BoardDesktopMonitor monitors[] = {{kMonitor, true, solid(10, 10, kBaked)}};
    const BoardDesktop prepared = prepare_board_desktop(base_picture(), std::nullopt, monitors);
    EXPECT_EQ(prepared.desktop.image.pixels, base_picture().image.pixels);
    EXPECT_EQ(prepared.desktop.x, -10);
    EXPECT_FALSE(prepared.overlay);
}

// The desktop shows the bake with `icons` pixels of desktop icons over it.
struct BakedRow {
    const char* name;
    std::size_t icons;
    std::uint32_t baked_width;
    bool icons_kept;
};

TEST(PrepareBoardDesktop, KeepsTheIconsOfAMonitorShowingItsBakeFromNinetyPercentOn) {
    const BakedRow rows[] = {
        {"exactly 90 % matched", 10, 10, true},
        {"one pixel fewer", 11, 10, false},
        {"baked picture one pixel narrower", 5, 9, false},
    };
    for (const BakedRow& row : rows) {
        SCOPED_TRACE(row.name);
        DesktopPicture rendered{solid(10, 10, kBaked), -10, 5};
        set_pixels(rendered.image, row.icons, kIcon);
        const BoardDesktopMonitor monitors[] = {{kMonitor, true, solid(row.baked_width, 10, kBaked)}};
        const BoardDesktop prepared = prepare_board_desktop(base_picture(), rendered, monitors);
        // The notes (the bake's own pixels) are gone either way.
        EXPECT_EQ(pixel(prepared.desktop.image, 99), kWallpaper);
        EXPECT_EQ(pixel(prepared.desktop.image, 0), row.icons_kept ? kIcon : kWallpaper);
        ASSERT_EQ(prepared.overlay.has_value(), row.icons_kept);
        if (row.icons_kept) {
            EXPECT_EQ(pixel(*prepared.overlay, 0), kIcon);
            EXPECT_EQ(pixel(*prepared.overlay, 99), 0u);
        }
    }
}

TEST(PrepareBoardDesktop, AnOverlayOfHalfAMonitorIsKeptAndMoreIsDropped) {
    const std::pair<std::size_t, bool> rows[] = {{50, true}, {51, false}, {0, false}};
    for (const auto& [changed, kept] : rows) {
        SCOPED_TRACE(changed);
        // The user's own wallpaper, not a bake: the desktop stays as rendered.
        DesktopPicture rendered{solid(10, 10, kWallpaper), -10, 5};
        set_pixels(rendered.image, changed, kIcon);
        const BoardDesktopMonitor monitors[] = {{kMonitor, false, std::nullopt}};
        const BoardDesktop prepared = prepare_board_desktop(base_picture(), rendered, monitors);
        EXPECT_EQ(pixel(prepared.desktop.image, 0), changed ? kIcon : kWallpaper);
        EXPECT_EQ(prepared.overlay.has_value(), kept);
    }
}

TEST(PrepareBoardDesktop, AMonitorNotShowingItsBakeFallsBackToItsBaseAndOthersStay) {
    // Two monitors side by side: the left one shows something else than its
    // bake (the base replaces it), the right one its own wallpaper with icons.
    DesktopPicture base{solid(20, 10, kWallpaper), 0, 0};
    DesktopPicture rendered{solid(20, 10, 0xFF777777u), 0, 0};
    for (std::uint32_t y = 0; y < 10; ++y)
        for (std::uint32_t x = 10; x < 20; ++x) {
            const std::size_t i = std::size_t{y} * 20 + x;
            for (int c = 0; c < 4; ++c)
                rendered.image.pixels[i * 4 + c] = static_cast<std::uint8_t>((x == 10 ? kIcon : kWallpaper) >> (8 * c));
        }
    const BoardDesktopMonitor monitors[] = {{{0, 0, 10, 10}, true, solid(10, 10, kBaked)}, {{10, 0, 10, 10}, false, std::nullopt}};
    const BoardDesktop prepared = prepare_board_desktop(base, rendered, monitors);
    EXPECT_EQ(pixel(prepared.desktop.image, 5), kWallpaper);
    EXPECT_EQ(pixel(prepared.desktop.image, 10), kIcon);
    ASSERT_TRUE(prepared.overlay);
    EXPECT_EQ(pixel(*prepared.overlay, 10), kIcon);
    EXPECT_EQ(pixel(*prepared.overlay, 5), 0u);
}

}  // namespace
}  // namespace glimmerly
