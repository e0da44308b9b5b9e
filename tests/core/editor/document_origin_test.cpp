#include "core/editor/document_origin.h"

#include <gtest/gtest.h>

#include <vector>

namespace glimmerly {
namespace {

struct OriginRow {
    const char* name;
    FrameSize frame;
    ScreenOrigin recorded;
    std::vector<Box> monitors;
    PixelPoint pointer;
    std::optional<PixelPoint> origin;  // none: too large for the screens
};

TEST(DocumentOrigin, TheFirstRuleThatFitsPlacesTheFrame) {
    const Box left{-1920, 0, 0, 1080}, right{0, 0, 1920, 1080}, big{0, 0, 2560, 1440};
    const std::vector<OriginRow> rows = {
        {"same layout: the recorded origin", {1920, 1080}, {-1920, 0}, {right, left}, {100, 100}, PixelPoint{-1920, 0}},
        {"both monitors recorded together", {3840, 1080}, {-1920, 0}, {left, right}, {5, 5}, PixelPoint{-1920, 0}},
        {"a frame over half a monitor is no layout", {960, 1080}, {0, 0}, {right}, {5, 5}, PixelPoint{480, 0}},
        {"an L of monitors does not make up its bounding box",
         {3840, 2160}, {0, 0},
         {{0, 0, 1920, 1080}, {1920, 0, 3840, 1080}, {0, 1080, 1920, 2160}, {-4000, 0, 0, 3000}}, {5, 5},
         PixelPoint{-2000, 420}},
        {"gone layout: the monitor under the pointer of that size",
         {1920, 1080}, {5000, 0}, {left, right}, {1920, 1080}, PixelPoint{0, 0}},
        {"pointer on a bottom corner, edges included", {1920, 1080}, {5000, 0}, {right, left}, {-1920, 1080},
         PixelPoint{-1920, 0}},
        {"the first monitor of that size", {1920, 1080}, {5000, 0}, {big, {2560, 0, 4480, 1080}}, {10, 10},
         PixelPoint{2560, 0}},
        {"centred on the 2560 x 1440 monitor under the pointer", {1920, 1080}, {5000, 0}, {{-800, 0, 0, 600}, big},
         {1000, 1000}, PixelPoint{320, 180}},
        {"pointer on no monitor: centred on the first", {1920, 1080}, {5000, 0}, {big, {2560, 0, 5120, 1440}},
         {-50, -50}, PixelPoint{320, 180}},
        {"odd leftovers round down", {1001, 601}, {5000, 0}, {{-10, -10, 1010, 800}}, {0, 0}, PixelPoint{-1, 94}},
        {"too wide for one monitor: centred on all", {3000, 1000}, {5000, 0}, {left, right}, {5, 5},
         PixelPoint{-1500, 40}},
        {"larger than the bounding box: too large", {3841, 1080}, {5000, 0}, {left, right}, {5, 5}, std::nullopt},
        {"no monitors at all", {100, 100}, {0, 0}, {}, {0, 0}, std::nullopt},
    };
    for (const OriginRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(choose_document_origin(row.frame, row.recorded, row.monitors, row.pointer), row.origin);
    }
}

TEST(DocumentOrigin, AnOriginFarOutSaturatesInsteadOfWrapping) {
    const std::vector<Box> huge = {{2147483000.0, 0, 2147484647.0 + 1000, 1080}};
    const auto origin = choose_document_origin({100, 100}, {0, 0}, huge, {2147483600, 10});
    ASSERT_TRUE(origin);
    EXPECT_EQ(origin->x, 2147483647);
}

}  // namespace
}  // namespace glimmerly
