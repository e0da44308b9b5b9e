// The board film over a synthetic desktop: two groups of icons inside the
// zones the script draws, a plain wallpaper and the screen as the shell
// would show both.

#include <gtest/gtest.h>

#include <algorithm>

#include "app/image/image_decoder.h"
#include "app/site_previews/board_film.h"
#include "app/win/com.h"
#include "app/win/paths.h"
#include "core/site_previews/board_film_checks.h"
#include "tests/app/support/files.h"
#include "tests/app/support/pictures.h"
#include "tests/app/support/temp_folder.h"
#include "tests/app/support/test_pictures.h"

namespace glimmerly {
namespace {

using namespace testing_support;

constexpr std::uint32_t kWidth = 1280, kHeight = 720;

void paint_icon(BgraImage& icons, std::uint32_t left, std::uint32_t top) {
    for (std::uint32_t y = top; y < top + 48; ++y)
        for (std::uint32_t x = left; x < left + 48; ++x) {
            std::uint8_t* p = &icons.pixels[(std::size_t{y} * icons.width + x) * 4];
            p[0] = 40, p[1] = 200, p[2] = 230, p[3] = 255;
        }
}

BoardFilmPictures desktop(std::uint32_t width = kWidth, std::uint32_t height = kHeight) {
    BoardFilmPictures pictures;
    pictures.wallpaper = solid_picture(width, height, 90, 60, 30, 255);
    pictures.icons = solid_picture(width, height, 0, 0, 0, 0);
    for (std::uint32_t left : {130u, 200u, 330u, 400u}) {
        paint_icon(pictures.icons, left, 60);
        paint_icon(pictures.icons, left, 140);
    }
    pictures.screen = composite_premultiplied(pictures.wallpaper, pictures.icons);
    return pictures;
}

class BoardFilm : public ::testing::Test {
protected:
    std::wstring frames() const { return folder_.path() + L"\\out\\board-frames"; }
    std::wstring frame(const wchar_t* name) const { return win::join_path(frames(), name); }
    win::ComApartment com_;
    TempFolder folder_;
};

TEST_F(BoardFilm, WritesItsFramesTheBakedWallpaperAndAsManyTrackLines) {
    const Status made = film_board(desktop(), frames());
    ASSERT_TRUE(made.ok()) << made.failure().message;

    EXPECT_TRUE(path_exists(frame(L"425.png")));
    EXPECT_FALSE(path_exists(frame(L"426.png")));
    const auto track = read_test_file(frame(L"pointer.txt"));
    ASSERT_TRUE(track);
    EXPECT_EQ(std::count(track->begin(), track->end(), '\n'), std::ptrdiff_t{kBoardFilmFrames});
    EXPECT_EQ(track->substr(0, track->find('\n')), "620.0 360.0");

    auto baked = load_image_file(frame(L"baked.png"));
    ASSERT_TRUE(baked.ok()) << baked.failure().message;
    EXPECT_EQ(baked->width, kWidth);
    EXPECT_EQ(baked->height, kHeight);
    keep_test_picture(*baked, "board-film-baked");
    if (auto last = load_image_file(frame(L"425.png")); last.ok()) keep_test_picture(*last, "board-film-425");
    // The zones are filled on the wallpaper, under where the icons stand.
    const std::uint8_t* under_icon = &baked->pixels[(std::size_t{84} * kWidth + 154) * 4];
    EXPECT_FALSE(under_icon[0] == 90 && under_icon[1] == 60 && under_icon[2] == 30);
    // The opening frames are the screen picture itself.
    auto opening = load_image_file(frame(L"000.png"));
    ASSERT_TRUE(opening.ok());
    EXPECT_EQ(opening->pixels, desktop().screen.pixels);
}

TEST_F(BoardFilm, PicturesThatDoNotFitTheScriptStopItBeforeAnyFrame) {
    BoardFilmPictures tiny{solid_picture(1, 1, 0, 0, 0, 255), solid_picture(1, 1, 0, 0, 0, 255),
                           solid_picture(1, 1, 0, 0, 0, 255)};
    EXPECT_EQ(film_board(tiny, frames()).failure().message, "a zone is drawn around no icon");
    BoardFilmPictures mixed = desktop();
    mixed.screen = solid_picture(kWidth, kHeight - 1, 0, 0, 0, 255);
    EXPECT_EQ(film_board(mixed, frames()).failure().message, "the desktop's three pictures differ in size");
    EXPECT_FALSE(path_exists(frames()));
}

// A desktop too small for the toolbar beside the notes: the toolbar lies
// where a note is to be written, and the film stops there, keeping its
// frames but writing neither the baked picture nor the pointer track.
TEST_F(BoardFilm, AStoppedFilmKeepsItsFramesWithoutTrackOrBakedPicture) {
    const Status made = film_board(desktop(640, 240), frames());
    ASSERT_FALSE(made.ok());
    EXPECT_TRUE(path_exists(frame(L"000.png")));
    EXPECT_FALSE(path_exists(frame(L"pointer.txt")));
    EXPECT_FALSE(path_exists(frame(L"baked.png")));
}

}  // namespace
}  // namespace glimmerly
