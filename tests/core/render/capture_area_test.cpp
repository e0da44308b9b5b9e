#include "core/render/capture_area.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/core/support/objects.h"

namespace glimmerly {
namespace {

TEST(CapturePixelRect, GrowsOutwardToWholePixelsAndIsCutToThePicture) {
    struct Row {
        const char* name;
        Box region;
        std::optional<PixelArea> expected;  // left, top, width, height
    };
    const Row rows[] = {
        {"fractional corners", {10.5, 20.2, 30.1, 40.9}, PixelArea{10, 20, 21, 21}},
        {"whole corners", {10, 20, 30, 40}, PixelArea{10, 20, 20, 20}},
        {"past every side", {-5.5, -1, 120, 1e300}, PixelArea{0, 0, 100, 80}},
        {"wholly outside", {150, 10, 200, 20}, std::nullopt},
        {"no width", {10.5, 10, 10.5, 20}, PixelArea{10, 10, 1, 10}},
        {"reversed", {30, 40, 10, 20}, std::nullopt},
        {"not a number", {NAN, NAN, NAN, NAN}, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(capture_pixel_rect(row.region, 100, 80), row.expected);
    }
}

TEST(CaptureShowsPicture, HiddenOnlyWhenABackgroundFillCoversEverything) {
    const std::vector<SceneObject> shapes{testing::rectangle(1, {0, 0, 10, 10}), testing::line(2, {0, 0}, {5, 5})};
    struct Row { const char* name; std::vector<FillRegion> background; std::vector<SceneObject> objects; bool shown; };
    const Row rows[] = {
        {"no fills", {}, shapes, true},
        {"fills bounded by shapes", {FillRegion{{1}, {}}}, shapes, true},
        {"a fill naming only a line", {FillRegion{{1}, {}}, FillRegion{{2}, {}}}, shapes, false},
        {"a fill and no objects", {FillRegion{{1}, {}}}, {}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(capture_shows_picture(row.background, row.objects), row.shown);
    }
}

}  // namespace
}  // namespace glimmerly
