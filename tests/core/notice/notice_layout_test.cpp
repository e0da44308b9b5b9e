#include "core/notice/notice_layout.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

TEST(NoticeLayout, FreeNoticesSitCentredAboveTheWorkAreasBottomWithinTheirWidths) {
    const PixelRect work{0, 0, 1920, 1040};
    struct Row {
        const char* name;
        std::int32_t text_pixels;
        std::uint32_t dpi;
        PixelRect area;
        PixelRect notice;
    };
    const Row rows[] = {
        {"short text at the minimum width", 80, 96, work, {780, 960, 1140, 1016}},
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

TEST(NoticeLayout, AnchoredNoticesHugTheirTextBelowTheAnchorsTop) {
    const PixelRect anchor{1920, 100, 3840, 1180};
    EXPECT_EQ(anchored_notice_rect(anchor, 200, 17, 96), (PixelRect{2768, 124, 2992, 157}));
    EXPECT_EQ(anchored_notice_rect({0, 0, 100, 50}, 200, 17, 96), (PixelRect{0, 24, 100, 57}));
}

TEST(NoticeLayout, FullUntilTheFadeThenFadingToHidden) {
    struct Row {
        const char* name;
        std::uint32_t tick;
        bool anchored;
        std::optional<std::uint8_t> opacity;
    };
    const Row rows[] = {
        {"free, 1.8 s", 60, false, 255},  {"free, first fading tick", 61, false, 229},
        {"free, tick 65", 65, false, 127}, {"free, last tick", 69, false, 25},
        {"free, hidden", 70, false, std::nullopt},
        {"anchored, before its fade", 19, true, 89}, {"anchored, fading", 20, true, 74},
        {"anchored, hidden", 25, true, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(notice_opacity(row.tick, row.anchored), row.opacity);
    }
}

TEST(NoticeText, OnlyKindsOneToSix) {
    EXPECT_EQ(notice_text(NOTICE_COPIED), TextId::notice_copied);
    EXPECT_EQ(notice_text(NOTICE_COLOUR_COPIED), TextId::notice_color_copied);
    EXPECT_EQ(notice_text(0), std::nullopt);
    EXPECT_EQ(notice_text(7), std::nullopt);
}

}  // namespace
}  // namespace glimmerly
