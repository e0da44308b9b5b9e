// The presentation film drawn over a synthetic bar chart: its frames, its
// pointer track, and what the layers add to the desktop picture.

#include <gtest/gtest.h>

#include <algorithm>

#include "app/image/image_decoder.h"
#include "app/presentation/presentation_demo.h"
#include "app/win/com.h"
#include "app/win/paths.h"
#include "tests/app/support/files.h"
#include "tests/app/support/pictures.h"
#include "tests/app/support/temp_folder.h"
#include "tests/app/support/test_pictures.h"

namespace glimmerly {
namespace {

using namespace testing_support;

// A light desktop with the April bar's run on row 250 from x = 420 to 474.
BgraImage bar_chart(std::uint32_t width, std::uint32_t height) {
    BgraImage chart = solid_picture(width, height, 250, 247, 245, 255);
    for (std::uint32_t y = 150; y < height && y < 330; ++y)
        for (std::uint32_t x = 420; x <= 474 && x < width; ++x) {
            std::uint8_t* p = &chart.pixels[(std::size_t{y} * width + x) * 4];
            p[0] = 220, p[1] = 140, p[2] = 60;
        }
    return chart;
}

std::size_t pixels_changed(const BgraImage& a, const BgraImage& b) {
    std::size_t changed = 0;
    for (std::size_t i = 0; i + 3 < a.pixels.size() && i + 3 < b.pixels.size(); i += 4)
        changed += !std::equal(&a.pixels[i], &a.pixels[i + 3], &b.pixels[i]);
    return changed;
}

class PresentationDemoFilm : public ::testing::Test {
protected:
    std::wstring frames() const { return folder_.path() + L"\\out\\presentation-frames"; }
    win::ComApartment com_;
    TempFolder folder_;
};

TEST_F(PresentationDemoFilm, WritesOneHundredSeventySevenOpaqueFramesAndAsManyTrackLines) {
    const BgraImage chart = bar_chart(900, 560);
    const Status made = render_presentation_demo(chart, frames());
    ASSERT_TRUE(made.ok()) << made.failure().message;

    EXPECT_TRUE(path_exists(win::join_path(frames(), L"176.png")));
    EXPECT_FALSE(path_exists(win::join_path(frames(), L"177.png")));
    const auto track = read_test_file(win::join_path(frames(), L"pointer.txt"));
    ASSERT_TRUE(track);
    EXPECT_EQ(std::count(track->begin(), track->end(), '\n'), 177);
    EXPECT_EQ(track->substr(0, track->find('\n')), "496.5 250.0");

    auto first = load_image_file(win::join_path(frames(), L"000.png"));
    ASSERT_TRUE(first.ok()) << first.failure().message;
    EXPECT_EQ(first->width, 900u);
    EXPECT_EQ(first->height, 560u);
    keep_test_picture(*first, "presentation-film-000");
    for (std::size_t i = 3; i < first->pixels.size(); i += 4) ASSERT_EQ(first->pixels[i], 255);
    // The shapes left by the first pass, the halo and the keys stand on the chart.
    EXPECT_GT(pixels_changed(*first, chart), 1000u);
}

TEST_F(PresentationDemoFilm, ABarOffTheCirclesAxisWritesNothing) {
    BgraImage off = bar_chart(900, 560);
    for (std::uint32_t x = 475; x <= 477; ++x) {
        std::uint8_t* p = &off.pixels[(250 * std::size_t{900} + x) * 4];
        p[0] = 220, p[1] = 140, p[2] = 60;
    }
    const Status made = render_presentation_demo(off, frames());
    ASSERT_FALSE(made.ok());
    EXPECT_EQ(made.failure().message, "the circle is off the axis of the April bar");
    EXPECT_FALSE(path_exists(frames()));
}

}  // namespace
}  // namespace glimmerly
