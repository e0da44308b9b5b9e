// The support-heart film drawn whole by the real editor through its own
// handlers, toolbar and text field.

#include <gtest/gtest.h>

#include <algorithm>

#include "app/image/image_decoder.h"
#include "app/site_previews/support_heart_film.h"
#include "app/win/com.h"
#include "app/win/paths.h"
#include "tests/app/support/files.h"
#include "tests/app/support/temp_folder.h"
#include "tests/app/support/test_pictures.h"

namespace glimmerly {
namespace {

using namespace testing_support;

TEST(SupportHeartFilm, WritesFourHundredSevenFramesWithTheCursorAndAsManyTrackLines) {
    win::ComApartment com;
    TempFolder folder;
    const std::wstring frames = folder.path() + L"\\out\\support-heart-frames";
    const Status made = film_support_heart(frames);
    ASSERT_TRUE(made.ok()) << made.failure().message;

    EXPECT_TRUE(path_exists(win::join_path(frames, L"406.png")));
    EXPECT_FALSE(path_exists(win::join_path(frames, L"407.png")));
    const auto track = read_test_file(win::join_path(frames, L"pointer.txt"));
    ASSERT_TRUE(track);
    EXPECT_EQ(std::count(track->begin(), track->end(), '\n'), 407);
    EXPECT_EQ(track->substr(0, track->find('\n')), "280.0 180.0");
    EXPECT_TRUE(track->ends_with("405.0 300.0\n"));

    auto first = load_image_file(win::join_path(frames, L"000.png"));
    ASSERT_TRUE(first.ok()) << first.failure().message;
    EXPECT_EQ(first->width, 560u);
    EXPECT_EQ(first->height, 420u);
    for (std::size_t i = 3; i < first->pixels.size(); i += 4) ASSERT_EQ(first->pixels[i], 255);
    auto last = load_image_file(win::join_path(frames, L"406.png"));
    ASSERT_TRUE(last.ok()) << last.failure().message;
    keep_test_picture(*last, "support-heart-406");
}

}  // namespace
}  // namespace glimmerly
