#include "core/board/wallpaper_picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace glimmerly {
namespace {

constexpr Rgb kBackground{10, 20, 30};
constexpr std::uint8_t kWallpaperRed = 0xEE;

struct Pixel {
    std::uint8_t b, g, r, a;
    friend bool operator==(const Pixel&, const Pixel&) = default;
};

Pixel pixel_at(const DesktopPicture& picture, std::int32_t desktop_x, std::int32_t desktop_y) {
    const auto x = static_cast<std::size_t>(desktop_x - picture.x), y = static_cast<std::size_t>(desktop_y - picture.y);
    const std::uint8_t* p = &picture.image.pixels[(y * picture.image.width + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

constexpr Pixel kBlackPixel{0, 0, 0, 255};
constexpr Pixel kBackgroundPixel{30, 20, 10, 255};

// Every wallpaper file is 1000 x 500; the scaler answers a picture whose
// pixels name their own place in it (blue = x mod 256, green = y mod 256),
// so that where it lands can be read off the result.
struct Platform {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> scaled;
    std::vector<std::u16string> loaded;

    WallpaperLoader loader() {
        return [this](const std::u16string& path) -> Result<BgraImage> {
            loaded.push_back(path);
            if (path == u"missing.png") return Failure{E_FAIL_CODE, "not found"};
            BgraImage image{std::vector<std::uint8_t>(1000 * 500 * 4, 0x7F), 1000, 500};
            return image;
        };
    }
    PictureScaler scaler() {
        return [this](const BgraImage&, std::uint32_t width, std::uint32_t height) -> Result<BgraImage> {
            scaled.emplace_back(width, height);
            BgraImage image{std::vector<std::uint8_t>(std::size_t{width} * height * 4), width, height};
            for (std::uint32_t y = 0; y < height; ++y)
                for (std::uint32_t x = 0; x < width; ++x) {
                    std::uint8_t* p = &image.pixels[(std::size_t{y} * width + x) * 4];
                    p[0] = static_cast<std::uint8_t>(x);
                    p[1] = static_cast<std::uint8_t>(y);
                    p[2] = kWallpaperRed;
                    p[3] = 255;
                }
            return image;
        };
    }
};

BoardBase base_with(WallpaperPosition position, std::optional<std::u16string> image = u"sea.jpg") {
    BoardBase base;
    base.position = position;
    base.colour = kBackground;
    base.screens = {{"A", std::move(image), std::nullopt}};
    return base;
}

const std::vector<BoardScreen> kOneScreen = {{"A", {0, 0, 1920, 1080}}};

TEST(ComposeWallpaperPicture, SpansTheBoundingBoxOfAllScreensWithBlackOutside) {
    Platform platform;
    BoardBase base = base_with(WallpaperPosition::Fill, std::nullopt);
    const std::vector<BoardScreen> side_by_side = {{"A", {0, 0, 1920, 1080}}, {"B", {1920, 0, 3840, 1080}}};
    const auto wide = compose_wallpaper_picture(base, side_by_side, platform.loader(), platform.scaler());
    ASSERT_TRUE(wide.ok());
    EXPECT_EQ(wide->image.width, 3840u);
    EXPECT_EQ(wide->image.height, 1080u);
    EXPECT_EQ(wide->x, 0);
    EXPECT_EQ(wide->y, 0);

    const std::vector<BoardScreen> left_lower = {{"A", {0, 0, 1920, 1080}}, {"B", {-1280, 200, 0, 1224}}};
    const auto offset = compose_wallpaper_picture(base, left_lower, platform.loader(), platform.scaler());
    ASSERT_TRUE(offset.ok());
    EXPECT_EQ(offset->image.width, 3200u);
    EXPECT_EQ(offset->image.height, 1224u);
    EXPECT_EQ(offset->x, -1280);
    EXPECT_EQ(offset->y, 0);
    EXPECT_EQ(pixel_at(*offset, -1280, 0), kBlackPixel);     // above the left screen
    EXPECT_EQ(pixel_at(*offset, -1280, 199), kBlackPixel);
    EXPECT_EQ(pixel_at(*offset, -1280, 200), kBackgroundPixel);
    EXPECT_EQ(pixel_at(*offset, 100, 1100), kBlackPixel);   // below the primary
    EXPECT_EQ(pixel_at(*offset, 1919, 1079), kBackgroundPixel);
    EXPECT_TRUE(platform.loaded.empty());
}

TEST(ComposeWallpaperPicture, PlacesAWallpaperByThePosition) {
    struct Row {
        const char* name;
        WallpaperPosition position;
        std::uint32_t width, height;  // the scaled size asked for
        std::int32_t left, top;       // where the scaled picture lands
    };
    const Row rows[] = {
        {"center", WallpaperPosition::Center, 1000, 500, 460, 290},
        {"stretch", WallpaperPosition::Stretch, 1920, 1080, 0, 0},
        {"fit", WallpaperPosition::Fit, 1920, 960, 0, 60},
        {"fill", WallpaperPosition::Fill, 2160, 1080, -120, 0},
        {"tile as fill", WallpaperPosition::Tile, 2160, 1080, -120, 0},
        {"span as fill", WallpaperPosition::Span, 2160, 1080, -120, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Platform platform;
        const auto picture =
            compose_wallpaper_picture(base_with(row.position), kOneScreen, platform.loader(), platform.scaler());
        ASSERT_TRUE(picture.ok());
        ASSERT_EQ(platform.scaled.size(), 1u);
        EXPECT_EQ(platform.scaled[0], std::make_pair(row.width, row.height));
        // The picture's first visible pixel names its place in the scaled picture.
        const std::int32_t x = std::max(row.left, 0), y = std::max(row.top, 0);
        EXPECT_EQ(pixel_at(*picture, x, y),
                  (Pixel{static_cast<std::uint8_t>(x - row.left), static_cast<std::uint8_t>(y - row.top), kWallpaperRed, 255}));
        if (row.left > 0) {
            EXPECT_EQ(pixel_at(*picture, row.left - 1, y), kBackgroundPixel);
        }
        if (row.top > 0) {
            EXPECT_EQ(pixel_at(*picture, x, row.top - 1), kBackgroundPixel);
            EXPECT_EQ(pixel_at(*picture, x, row.top + static_cast<std::int32_t>(row.height)), kBackgroundPixel);
        }
    }
}

TEST(ComposeWallpaperPicture, TileAndSpanGiveTheSamePictureAsFill) {
    Platform platform;
    const auto fill = compose_wallpaper_picture(base_with(WallpaperPosition::Fill), kOneScreen, platform.loader(), platform.scaler());
    const auto tile = compose_wallpaper_picture(base_with(WallpaperPosition::Tile), kOneScreen, platform.loader(), platform.scaler());
    const auto span = compose_wallpaper_picture(base_with(WallpaperPosition::Span), kOneScreen, platform.loader(), platform.scaler());
    ASSERT_TRUE(fill.ok() && tile.ok() && span.ok());
    EXPECT_EQ(fill->image.pixels, tile->image.pixels);
    EXPECT_EQ(fill->image.pixels, span->image.pixels);
}

TEST(ComposeWallpaperPicture, AScreenWithoutAReadableWallpaperShowsTheBackgroundColour) {
    struct Row {
        const char* name;
        BoardBase base;
    };
    BoardBase other_id = base_with(WallpaperPosition::Fill);
    other_id.screens[0].screen = "Z";
    const Row rows[] = {
        {"no image", base_with(WallpaperPosition::Fill, std::nullopt)},
        {"id matches no entry", other_id},
        {"unreadable file", base_with(WallpaperPosition::Fill, u"missing.png")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Platform platform;
        const auto picture = compose_wallpaper_picture(row.base, kOneScreen, platform.loader(), platform.scaler());
        ASSERT_TRUE(picture.ok());
        EXPECT_TRUE(platform.scaled.empty());
        EXPECT_EQ(pixel_at(*picture, 0, 0), kBackgroundPixel);
        EXPECT_EQ(pixel_at(*picture, 1919, 1079), kBackgroundPixel);
    }
}

TEST(ComposeWallpaperPicture, AWallpaperThatWouldScalePastTheLimitCountsAsUnreadable) {
    Platform platform;
    // A 1000 x 500 picture centred needs no scaling, but a 1 x 1 screen with
    // fill of a very thin picture would: here the screen is wide enough that
    // fill asks for more than 2^27 pixels.
    const std::vector<BoardScreen> huge = {{"A", {0, 0, 40000, 1}}};
    const auto picture =
        compose_wallpaper_picture(base_with(WallpaperPosition::Fill), huge, platform.loader(), platform.scaler());
    ASSERT_TRUE(picture.ok());
    EXPECT_TRUE(platform.scaled.empty());
    EXPECT_EQ(pixel_at(*picture, 0, 0), kBackgroundPixel);
}

TEST(ComposeWallpaperPicture, AFailingScalerEndsTheComposition) {
    Platform platform;
    const PictureScaler failing = [](const BgraImage&, std::uint32_t, std::uint32_t) -> Result<BgraImage> {
        return Failure{E_FAIL_CODE, "WIC"};
    };
    const auto picture = compose_wallpaper_picture(base_with(WallpaperPosition::Fill), kOneScreen, platform.loader(), failing);
    ASSERT_FALSE(picture.ok());
    EXPECT_EQ(picture.failure().message, "WIC");
}

TEST(ComposeWallpaperPicture, NoScreensGiveOneBlackPixelAtTheOrigin) {
    Platform platform;
    const auto picture = compose_wallpaper_picture(base_with(WallpaperPosition::Fill), {}, platform.loader(), platform.scaler());
    ASSERT_TRUE(picture.ok());
    EXPECT_EQ(picture->image.width, 1u);
    EXPECT_EQ(picture->image.height, 1u);
    EXPECT_EQ(picture->x, 0);
    EXPECT_EQ(picture->y, 0);
    EXPECT_EQ(pixel_at(*picture, 0, 0), kBlackPixel);
}

TEST(ComposeWallpaperPicture, EdgesOutOfRangeOrNotANumberNeverOverflow) {
    Platform platform;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<BoardScreen> odd = {{"A", {nan, 0, 4, 4}}, {"B", {0, 0, 2, 2}}};
    const auto picture = compose_wallpaper_picture(base_with(WallpaperPosition::Fill, std::nullopt), odd,
                                                   platform.loader(), platform.scaler());
    ASSERT_TRUE(picture.ok());
    EXPECT_EQ(picture->image.width, 4u);
    const std::vector<BoardScreen> vast = {{"A", {-1e300, -1e300, 1e300, 1e300}}};
    EXPECT_FALSE(compose_wallpaper_picture(base_with(WallpaperPosition::Fill), vast, platform.loader(), platform.scaler()).ok());
}

}  // namespace
}  // namespace glimmerly
