#include "core/notice/notice_layout.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

TEST(NoticeLayout, FreeNoticesSitCentredAboveTheWorkAreasBottomWithinTheirWidths) {
    const PixelRect work{0, 0, 1920, 1040};
    struct Row { const char* name; std::int32_t text_pixels; std::uint32_t dpi; PixelRect area; PixelRect notice; };
    const Row rows[] = {
        {"long text stops at 640", 2000, 96, work, {640, 960, 1280, 1016}},
        {"144 dpi: 84 high, 36 above the bottom", 80, 144, work, {690, 920, 1230, 1004}},
        {"dpi below 96 counts as 96", 80, 72, work, {780, 960, 1140, 1016}},
        {"cut to a narrow work area", 400, 96, {100, 0, 400, 600}, {100, 520, 400, 576}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::int32_t design = notice_design_width(row.text_pixels, row.dpi, 0);
        EXPECT_EQ(free_notice_rect(row.area, design, row.dpi), row.notice);
    }
    // The design-unit measurement wins when it is wider.
    EXPECT_EQ(notice_design_width(300, 144, 400), 432);
}

// Their place over the anchor and the free notice's fade are the window's tests.
TEST(NoticeLayout, AnAnchoredNoticeIsCutToItsAnchorAndFadesOverItsLastSixTicks) {
    EXPECT_EQ(anchored_notice_rect({0, 0, 100, 50}, 200, 17, 144), (PixelRect{0, 36, 100, 77}));
    EXPECT_EQ(notice_opacity(19, true), 89);
    EXPECT_EQ(notice_opacity(20, true), 74);
    EXPECT_EQ(notice_opacity(25, true), std::nullopt);
}

}  // namespace
}  // namespace glimmerly
