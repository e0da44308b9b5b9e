#include "core/site_previews/site_preview_script.h"

#include <gtest/gtest.h>

#include "core/site_previews/film_track.h"
#include "tests/core/support/png.h"

namespace glimmerly {
namespace {

TEST(SitePreviewOption, TwoOperandsAfterTheWholeOptionLaterOnesIgnored) {
    struct Row {
        const char* name;
        Arguments args;
        std::optional<SitePreviewFolders> folders;
    } rows[] = {
        {"both", {u"g.exe", u"--render-site-previews", u"in", u"out"}, SitePreviewFolders{u"in", u"out"}},
        {"extra ignored", {u"g.exe", u"--render-site-previews", u"a", u"b", u"c"}, SitePreviewFolders{u"a", u"b"}},
        {"after other arguments", {u"g.exe", u"--x", u"--render-site-previews", u"a", u"b"},
         SitePreviewFolders{u"a", u"b"}},
        {"one operand", {u"g.exe", u"--render-site-previews", u"in"}, std::nullopt},
        {"none", {u"g.exe", u"--render-site-previews"}, std::nullopt},
        {"other case", {u"g.exe", u"--Render-Site-Previews", u"a", u"b"}, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto folders = site_preview_folders(row.args);
        ASSERT_EQ(folders.ok(), row.folders.has_value());
        if (folders) {
            EXPECT_EQ(*folders, *row.folders);
        } else {
            EXPECT_EQ(folders.failure().code, E_INVALIDARG_CODE);
            EXPECT_EQ(folders.failure().message, "usage: --render-site-previews <in> <out>");
        }
    }
    EXPECT_EQ(find_render_site_previews_option({u"g.exe", u"a", u"--render-site-previews"}), 2u);
    EXPECT_FALSE(find_render_site_previews_option({u"g.exe", u"--render-site-previews=1"}));
}

TEST(SitePreviewCapture, OnlyTheCapturesOwnSizeIsTaken) {
    EXPECT_TRUE(check_site_capture_size(1100, 680));
    for (const auto& [w, h] : {std::pair{1100u, 681u}, {1099u, 680u}, {0u, 0u}}) {
        const Status checked = check_site_capture_size(w, h);
        ASSERT_FALSE(checked);
        EXPECT_EQ(checked.failure().code, E_INVALIDARG_CODE);
        EXPECT_EQ(checked.failure().message, "desktop-capture.png must be 1100x680");
    }
}

TEST(SitePreviewInputs, TheCaptureIsItsOwnSizeTheDesktopsAtMostA4kScreen) {
    struct Row {
        const char* name;
        std::string_view file;
        std::uint32_t width, height;
        const char* refusal;  // none: taken
    } rows[] = {
        {"capture", "desktop-capture.png", 1100, 680, nullptr},
        {"capture of a desktop's size", "desktop-capture.png", 960, 540, "desktop-capture.png must be 1100x680"},
        {"presentation", "desktop-presentation.png", 960, 540, nullptr},
        {"presentation of a 4K screen", "desktop-presentation.png", 3840, 2160, nullptr},
        {"presentation one wider", "desktop-presentation.png", 3841, 2160,
         "desktop-presentation.png is 3841x2160; it must be at most 3840x2160"},
        {"huge presentation", "desktop-presentation.png", 16384, 16384,
         "desktop-presentation.png is 16384x16384; it must be at most 3840x2160"},
        {"wallpaper", "desktop-board-wallpaper.png", 1100, 680, nullptr},
        {"wallpaper one higher", "desktop-board-wallpaper.png", 1920, 2161,
         "desktop-board-wallpaper.png is 1920x2161; it must be at most 3840x2160"},
        {"icons", "desktop-board-icons.png", 4294967295u, 1,
         "desktop-board-icons.png is 4294967295x1; it must be at most 3840x2160"},
        {"screen", "desktop-board-screen.png", 1, 65536,
         "desktop-board-screen.png is 1x65536; it must be at most 3840x2160"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Status checked = check_site_input_size(row.file, row.width, row.height);
        ASSERT_EQ(checked.ok(), row.refusal == nullptr);
        if (checked) continue;
        EXPECT_EQ(checked.failure().code, E_INVALIDARG_CODE);
        EXPECT_EQ(checked.failure().message, row.refusal);
    }
    EXPECT_EQ(kSiteInputPictures.front(), "desktop-capture.png");
}

TEST(SitePreviewInputs, OnlyAPngHeaderIsJudgedBySizeAnythingElseIsNoPng) {
    const std::vector<std::uint8_t> png = testing::blank_png(960, 540), huge = testing::blank_png(16384, 16384);
    const std::vector<std::uint8_t> bmp = {'B', 'M', 0x36, 0, 0, 0x40, 0, 0, 0, 0, 0x36, 0, 0, 0, 40, 0, 0, 0};
    const std::span<const std::uint8_t> head(png.data(), 33);
    struct Row {
        const char* name;
        std::span<const std::uint8_t> bytes;
        const char* refusal;  // none: taken
    } rows[] = {
        {"a PNG's signature and header", head, nullptr},
        {"a PNG larger than 4K", std::span(huge.data(), 33),
         "desktop-presentation.png is 16384x16384; it must be at most 3840x2160"},
        {"a BMP", bmp, "desktop-presentation.png is not a PNG picture"},
        {"an empty file", {}, "desktop-presentation.png is not a PNG picture"},
        {"a PNG cut inside its header", head.first(32), "desktop-presentation.png is not a PNG picture"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Status checked = check_site_input_header("desktop-presentation.png", row.bytes);
        ASSERT_EQ(checked.ok(), row.refusal == nullptr);
        if (checked) continue;
        EXPECT_EQ(checked.failure().code, E_INVALIDARG_CODE);
        EXPECT_EQ(checked.failure().message, row.refusal);
    }
}

TEST(EyedropperFilm, AFigureEightOnceAroundItsCentre) {
    const std::vector<Point> points = eyedropper_film_points();
    ASSERT_EQ(points.size(), 150u);
    EXPECT_EQ(pointer_track_line(points[0]), "406.0 317.0\n");
    EXPECT_EQ(pointer_track_line(points[1]), "406.3 317.3\n");
    EXPECT_EQ(pointer_track_line(points.back()), "405.7 316.7\n");
    for (const Point& p : points) {
        EXPECT_LE(std::abs(p.x - 406.0), 6.0);
        EXPECT_LE(std::abs(p.y - 317.0), 4.0);
    }
}

TEST(EditingFilmCheck, TheNoteMayTouchTheFrameButNotReachIntoItsStroke) {
    const Box frame{172, 232, 474, 454};
    EXPECT_FALSE(note_runs_into_frame({178, 458, 400, 500}, frame, 4.0));
    EXPECT_TRUE(note_runs_into_frame({178, 457.9, 400, 500}, frame, 4.0));
    EXPECT_FALSE(note_runs_into_frame({178, 480, 400, 520}, frame, 4.0));
}

}  // namespace
}  // namespace glimmerly
