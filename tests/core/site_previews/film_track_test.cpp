#include "core/site_previews/film_track.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace glimmerly {
namespace {

TEST(FilmFrameNames, AtLeastThreeDigitsThenPng) {
    struct Row {
        std::size_t index;
        const char* name;
    } rows[] = {{0, "000.png"}, {7, "007.png"}, {42, "042.png"}, {999, "999.png"}, {1000, "1000.png"}};
    for (const Row& row : rows) EXPECT_EQ(frame_file_name(row.index), row.name) << row.index;
}

TEST(PointerTrack, OneDecimalEachSpaceSeparatedLineFeedEnded) {
    struct Row {
        const char* name;
        Point point;
        const char* line;
    } rows[] = {
        {"whole", {406, 317}, "406.0 317.0\n"},
        {"rounded down, negative", {12.34, -3.0}, "12.3 -3.0\n"},
        {"rounded up", {406.29, 317.26}, "406.3 317.3\n"},
        {"zero from below", {-0.04, 0.0}, "0.0 0.0\n"},
        {"large", {123456.78, -98765.43}, "123456.8 -98765.4\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(pointer_track_line(row.point), row.line);
    }
}

TEST(PointerTrack, OneLinePerPointInOrderAndNothingForNone) {
    const std::vector<Point> track{{1, 2}, {3.25, 4.75}, {1, 2}};
    EXPECT_EQ(format_pointer_track(track), "1.0 2.0\n3.2 4.8\n1.0 2.0\n");
    EXPECT_EQ(format_pointer_track({}), "");
}

TEST(PointerTrack, MovesStartFromTheLastPointOrTheOrigin) {
    EXPECT_EQ(last_track_point({}), (Point{0, 0}));
    const std::vector<Point> track{{1, 2}, {5, 6}};
    EXPECT_EQ(last_track_point(track), (Point{5, 6}));
}

TEST(CursorPixel, NearestWithHalvesAwayFromZeroAndSaturated) {
    struct Row {
        double value;
        std::int32_t pixel;
    } rows[] = {
        {2.5, 3},
        {-2.5, -3},
        {2.49, 2},
        {1e300, std::numeric_limits<std::int32_t>::max()},
        {-1e300, std::numeric_limits<std::int32_t>::min()},
        {std::numeric_limits<double>::infinity(), std::numeric_limits<std::int32_t>::max()},
        {std::nan(""), 0},
    };
    for (const Row& row : rows) EXPECT_EQ(nearest_pixel(row.value), row.pixel) << row.value;
}

}  // namespace
}  // namespace glimmerly
