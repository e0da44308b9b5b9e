#include "core/render/control_geometry.h"

#include <gtest/gtest.h>

#include <array>

namespace glimmerly {
namespace {

TEST(ToggleSwitch, TrackHangsFromTheRightEdgeWithTheKnobAtTheStatesEnd) {
    struct Row { const char* name; Box rect; bool on; double scale; ToggleSwitchGeometry expected; };
    const Row rows[] = {
        {"on", {0, 0, 100, 40}, true, 1.0, {{64, 11, 100, 29}, {91, 20}, 5}},
        {"off at scale 2", {0, 0, 100, 40}, false, 2.0, {{28, 2, 100, 38}, {46, 20}, 9}},
        {"narrower than the track overhangs left", {80, 0, 100, 40}, true, 1.0, {{64, 11, 100, 29}, {91, 20}, 5}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(toggle_switch_geometry(row.rect, row.on, row.scale), row.expected);
    }
}

TEST(OptionStrip, SegmentWidthGrowsWithItsLabelAboveAMinimum) {
    struct Row { const char* name; double label, expected; };
    const Row rows[] = {{"short label", 12, 44}, {"label at the threshold", 20, 44}, {"long label", 50.5, 74.5}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_DOUBLE_EQ(option_segment_width(row.label), row.expected);
    }
}

TEST(OptionStrip, SegmentsAbutFromTheInsetWithTheUnderlineJustAboveTheirFloor) {
    const std::array<double, 3> widths{44, 60.5, 50};
    const auto segments = option_segments({10, 0, 400, 32}, widths, 2.0);
    EXPECT_EQ(segments, (std::vector<OptionSegment>{{{14, 4, 102, 28}, {30, 26}, {86, 26}},
                                                    {{102, 4, 223, 28}, {118, 26}, {207, 26}},
                                                    {{223, 4, 323, 28}, {239, 26}, {307, 26}}}));
    EXPECT_TRUE(option_segments({10, 0, 400, 32}, {}, 2.0).empty());
}

TEST(ShortcutCell, PointerRowsKeepRoomForTheClearMarkThatOnlyAShortcutShows) {
    using Mark = std::array<std::array<Point, 2>, 2>;
    struct Row { const char* name; std::size_t row; bool has_keys; ShortcutCellGeometry expected; };
    const Row rows[] = {
        {"capture without keys", 0, false, {400, Box{284, 12, 400, 68}, {}}},
        {"ellipse with keys", 5, true, {400, {}, {}}},
        {"show a click without keys", 6, false, {352, Box{236, 12, 352, 68}, {}}},
        {"magnifier with keys", 8, true, {352, {}, Mark{{{{{372, 32}, {388, 48}}}, {{{372, 48}, {388, 32}}}}}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(shortcut_cell_geometry({0, 0, 400, 80}, row.row, row.has_keys, 30, 2.0), row.expected);
    }
}

TEST(InterfaceTextLines, LinesStartAtTheLeftEdgeAndCentreOnTheMiddle) {
    EXPECT_EQ(middle_left_text_box({10, 0, 20, 40}, {50, 16}, 14), (Box{10, 12, 74, 44}));
    // The note starts right under the label; the pair is centred as one block.
    EXPECT_EQ(stacked_lines({5, 0, 300, 100}, 20, 12), (StackedLines{{5, 34, 5, 54}, {5, 54, 5, 66}}));
}

}  // namespace
}  // namespace glimmerly
