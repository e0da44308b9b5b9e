#include "core/render/control_geometry.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

namespace glimmerly {
namespace {

TEST(OptionStrip, SegmentsAbutFromTheInsetEachAsWideAsItsLabelAllows) {
    EXPECT_EQ(std::tuple(option_segment_width(12), option_segment_width(20), option_segment_width(50.5)),
              std::tuple(44.0, 44.0, 74.5));
    const std::array<double, 2> widths{44, 60.5};
    EXPECT_EQ(option_segments({10, 0, 400, 32}, widths, 2.0),
              (std::vector<OptionSegment>{{{14, 4, 102, 28}, {30, 26}, {86, 26}},
                                          {{102, 4, 223, 28}, {118, 26}, {207, 26}}}));
}

TEST(ShortcutCell, PointerRowsKeepRoomForTheClearMarkThatOnlyAShortcutShows) {
    using Mark = std::array<std::array<Point, 2>, 2>;
    const struct {
        const char* name;
        std::size_t row;
        bool has_keys;
        ShortcutCellGeometry expected;
    } rows[] = {
        {"capture without keys", 0, false, {400, Box{284, 12, 400, 68}, {}}},
        {"ellipse with keys", 5, true, {400, {}, {}}},
        {"show a click without keys", 6, false, {352, Box{236, 12, 352, 68}, {}}},
        {"magnifier with keys", 8, true, {352, {}, Mark{{{{{372, 32}, {388, 48}}}, {{{372, 48}, {388, 32}}}}}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(shortcut_cell_geometry({0, 0, 400, 80}, row.row, row.has_keys, 30, 2.0), row.expected);
    }
}

}  // namespace
}  // namespace glimmerly
