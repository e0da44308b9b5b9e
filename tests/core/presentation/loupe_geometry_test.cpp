#include "core/presentation/loupe_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace glimmerly {
namespace {

TEST(LoupeSquares, SourceAndWindowFollowDiameterAndZoom) {
    struct Row {
        const char* name;
        std::int32_t diameter;
        std::uint32_t zoom;
        std::int32_t zoom_used;
        std::int32_t source_side;
        std::int32_t window_side;
        std::int32_t window_left_from_x;
    };
    const Row rows[] = {
        {"240 at 2", 240, 2, 2, 120, 240, -120},
        {"240 at 7 loses a pixel each side", 240, 7, 7, 34, 238, -119},
        {"zoom 1 enlarges nothing", 240, 1, 1, 240, 240, -120},
        {"zoom 0 enlarges nothing", 240, 0, 1, 240, 240, -120},
        {"a zoom past 2^31 reads as negative", 240, 0x80000002u, 1, 240, 240, -120},
        {"below 2z: one source pixel", 5, 3, 3, 1, 3, 0},
        {"negative diameter: one source pixel", -40, 4, 4, 1, 4, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const LoupeSquares squares = loupe_squares(1000, 500, row.diameter, row.zoom);
        EXPECT_EQ(squares.zoom, row.zoom_used);
        EXPECT_EQ(squares.source.width(), row.source_side);
        EXPECT_EQ(squares.source.height(), row.source_side);
        EXPECT_EQ(squares.destination.width(), row.window_side);
        EXPECT_EQ(squares.destination.height(), row.window_side);
        EXPECT_EQ(squares.destination.left, 1000 + row.window_left_from_x);
        // The pointer's pixel is the source square's centre pixel, shown where the pointer is.
        const std::int32_t h = row.source_side / 2;
        EXPECT_EQ(squares.source.left, 1000 - h);
        EXPECT_EQ(squares.destination.left + h * row.zoom_used, squares.source.left + h);
    }
}

PixelRect relative(const PixelRect& r, const PixelRect& to) {
    return {r.left - to.left, r.top - to.top, r.right - to.left, r.bottom - to.top};
}

TEST(LoupeStrips, CutTheSourceSquareIntoRoundBands) {
    const LoupeSquares at2 = loupe_squares(700, 400, 240, 2);
    const auto strips = loupe_strips(at2.source, at2.destination, 2);
    ASSERT_EQ(strips.size(), 24u);
    EXPECT_EQ(relative(strips[0], at2.source), (PixelRect{52, 0, 68, 2}));
    EXPECT_EQ(relative(strips[1], at2.source), (PixelRect{40, 2, 80, 5}));
    EXPECT_EQ(relative(strips.back(), at2.source), (PixelRect{46, 117, 74, 119}));

    const LoupeSquares at4 = loupe_squares(-300, 20, 240, 4);
    const auto strips4 = loupe_strips(at4.source, at4.destination, 4);
    ASSERT_EQ(strips4.size(), 35u);
    EXPECT_EQ(relative(strips4[0], at4.source), (PixelRect{26, 0, 34, 1}));
}

TEST(LoupeStrips, StripsFollowEachOtherWithoutOverlap) {
    for (std::uint32_t zoom = 2; zoom <= 8; ++zoom) {
        SCOPED_TRACE(zoom);
        const LoupeSquares sq = loupe_squares(0, 0, 240, zoom);
        const auto strips = loupe_strips(sq.source, sq.destination, sq.zoom);
        for (std::size_t i = 1; i < strips.size(); ++i) EXPECT_LE(strips[i - 1].bottom, strips[i].top);
        for (const PixelRect& s : strips) {
            EXPECT_GT(s.height(), 0);
            EXPECT_GE(s.left, sq.source.left);
            EXPECT_LE(s.right, sq.source.right);
        }
    }
}

// Every destination rectangle painted: the disc within r - 3 is covered
// whole, and nothing is painted further out than r + 3, except by a strip of
// a single source row: from zoom 5 a row is too tall to meet both bounds
// near the top and bottom (at zoom 8 the top row must reach 32 pixels out
// at its lower edge and no further than 29 at its upper one), and a strip is
// never less than one row. The window's round region trims that overshoot.
TEST(LoupeStrips, PaintedPiecesFillTheCircleWithinThreePixels) {
    for (std::uint32_t zoom = 2; zoom <= 8; ++zoom) {
        SCOPED_TRACE(zoom);
        const LoupeSquares sq = loupe_squares(960, 540, 240, zoom);
        const auto strips = loupe_strips(sq.source, sq.destination, sq.zoom);
        // One window covering the screen beneath: its pieces are the strips.
        const std::vector<LoupeCandidate> beneath = {{7, {-5000, -5000, 5000, 5000}}};
        const auto placements = loupe_placements(sq.source, sq.zoom, strips, beneath);
        ASSERT_EQ(placements.size(), strips.size());
        const std::int32_t side = sq.destination.width();
        // 1 painted by a strip of several rows, 2 by a one-row strip.
        std::vector<std::uint8_t> painted(std::size_t(side) * side, 0);
        for (const LoupePlacement& p : placements) {
            const std::uint8_t mark = p.source.height() == 1 ? 2 : 1;
            for (std::int32_t y = std::max(p.destination.top, 0); y < std::min(p.destination.bottom, side); ++y)
                for (std::int32_t x = std::max(p.destination.left, 0); x < std::min(p.destination.right, side); ++x)
                    painted[std::size_t(y) * side + x] = mark;
        }
        const double r = side * 0.5;
        int uncovered = 0, beyond = 0, beyond_single_row = 0;
        for (std::int32_t y = 0; y < side; ++y)
            for (std::int32_t x = 0; x < side; ++x) {
                const double d = std::hypot(x + 0.5 - r, y + 0.5 - r);
                const std::uint8_t on = painted[std::size_t(y) * side + x];
                if (d <= r - 3 && !on) ++uncovered;
                if (d > r + 3 && on == 1) ++beyond;
                if (d > r + 3 && on == 2) ++beyond_single_row;
            }
        EXPECT_EQ(uncovered, 0);
        EXPECT_EQ(beyond, 0);
        if (zoom <= 4) {
            EXPECT_EQ(beyond_single_row, 0);
        }
    }
}

TEST(LoupePlacements, PartialWindowGivesClippedPiecesBottomMostFirst) {
    const PixelRect source{100, 100, 110, 110};
    const std::vector<PixelRect> strips = {{102, 100, 108, 103}, {100, 103, 110, 107}, {102, 107, 108, 110}};
    // Top-most first, as the window list gives them.
    const std::vector<LoupeCandidate> beneath = {{1, {105, 104, 300, 300}}, {2, {0, 0, 1000, 1000}}};
    const auto placements = loupe_placements(source, 3, strips, beneath);
    ASSERT_EQ(placements.size(), 5u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(placements[i].window, 2u);
    EXPECT_EQ(placements[0].source, (PixelRect{102, 100, 108, 103}));
    EXPECT_EQ(placements[0].destination, (PixelRect{6, 0, 24, 9}));
    // The small window: only the two strips it reaches, clipped to it.
    EXPECT_EQ(placements[3].window, 1u);
    EXPECT_EQ(placements[3].source, (PixelRect{0, 0, 5, 3}));
    EXPECT_EQ(placements[3].destination, (PixelRect{15, 12, 30, 21}));
    EXPECT_EQ(placements[4].source, (PixelRect{0, 3, 3, 6}));
    EXPECT_EQ(placements[4].destination, (PixelRect{15, 21, 24, 30}));
}

TEST(LoupePlacements, TouchingIsNotOverlapping) {
    EXPECT_FALSE(rects_overlap({0, 0, 10, 10}, {10, 0, 20, 10}));
    EXPECT_FALSE(rects_overlap({0, 0, 10, 10}, {0, 10, 10, 20}));
    EXPECT_TRUE(rects_overlap({0, 0, 10, 10}, {9, 9, 20, 20}));
    EXPECT_FALSE(rects_overlap({0, 0, 0, 10}, {-5, -5, 5, 5}));
}

TEST(BuildNumber, ReadsDecimalWithOneLeadingPlus) {
    struct Row {
        const char* name;
        std::u16string text;
        std::uint32_t build;
    };
    const Row rows[] = {
        {"plain", u"22631", 22631},
        {"leading plus", u"+22000", 22000},
        {"trailing NULs", std::u16string(u"19045\0\0", 7), 19045},
        {"empty", u"", 0},
        {"only NULs", std::u16string(u"\0\0", 2), 0},
        {"sign alone", u"+", 0},
        {"two signs", u"++22000", 0},
        {"minus", u"-1", 0},
        {"letters", u"22000a", 0},
        {"space", u" 22000", 0},
        {"largest", u"4294967295", 4294967295u},
        {"overflow", u"4294967296", 0},
        {"longer than the buffer", u"00000000000000022000", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(parse_build_number(row.text), row.build);
    }
}

TEST(FalloffStops, FiveStopsFadingOutOverTheWidth) {
    const auto stops = falloff_stops(120, 4);
    const double offsets[] = {116, 117, 118, 119, 120};
    const double opacities[] = {1.0, 0.8641975308641976, 0.5371428571428571, 0.2857142857142857, 0.04296875};
    for (std::size_t k = 0; k < 5; ++k) {
        EXPECT_DOUBLE_EQ(stops[k].offset, offsets[k]);
        EXPECT_DOUBLE_EQ(stops[k].opacity, opacities[k]);
    }
    const auto unit = falloff_stops(1.0, 1.0);
    EXPECT_DOUBLE_EQ(unit[0].offset, 0.0);
    EXPECT_DOUBLE_EQ(unit[4].offset, 1.0);
    for (std::size_t k = 1; k < 5; ++k) EXPECT_LT(unit[k].opacity, unit[k - 1].opacity);
}

}  // namespace
}  // namespace glimmerly
