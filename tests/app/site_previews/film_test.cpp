// A film of the real editor written frame by frame, and the scripted input
// that drives it through the editor's own handlers on a hidden host window:
// what lands in the frames folder (names, pictures, "pointer.txt") and what
// the editor does.

#include "app/site_previews/film.h"
#include "app/site_previews/scripted_input.h"

#include <gtest/gtest.h>

#include <cmath>

#include "app/image/image_decoder.h"
#include "app/win/com.h"
#include "app/win/paths.h"
#include "core/demo/demo_scenes.h"
#include "core/document/geometry.h"
#include "ui/capture/editor_window_part.h"
#include "tests/app/support/files.h"
#include "tests/app/support/temp_folder.h"

namespace glimmerly {
namespace {

using namespace testing_support;

constexpr std::uint32_t kW = 640, kH = 400;

// An editor over a plain frame with its region chosen.
EditorState editing_over_plain_frame(Tool tool) {
    EditorState state = demo_editor_over(plain_frame(kW, kH, {60, 70, 80}));
    select_demo_region(state, {60, 60, 420, 300});
    state.tool = tool;
    return state;
}

class FilmTest : public ::testing::Test {
protected:
    std::wstring folder() const { return win::join_path(temp_.path(), L"frames"); }
    std::wstring frame(const wchar_t* name) const { return win::join_path(folder(), name); }
    bool exists(const wchar_t* name) const { return GetFileAttributesW(frame(name).c_str()) != INVALID_FILE_ATTRIBUTES; }
    std::size_t files_in_folder() const {
        std::size_t count = 0;
        WIN32_FIND_DATAW data{};
        HANDLE find = FindFirstFileW(win::join_path(folder(), L"*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return 0;
        do count += !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
        while (FindNextFileW(find, &data));
        FindClose(find);
        return count;
    }
    void SetUp() override {
        ASSERT_TRUE(create_frames_folder(folder()));
        auto host = create_site_preview_host(kW, kH);
        ASSERT_TRUE(host) << host.failure().message;
        host_ = std::move(*host);
    }

    win::ComApartment com_;  // the frames are written and read through WIC
    TempFolder temp_;
    OwnedWindow host_;
};

TEST_F(FilmTest, FramesAreNumberedOpaquePicturesWithOneTrackLineEach) {
    Film film(editing_over_plain_frame(Tool::Rectangle), folder(), nullptr, false);
    // Resting before any move rests at the origin.
    ASSERT_TRUE(hold_film_frames(film, 2));
    ASSERT_TRUE(render_view_to_dib(film, 12.34, -3.0));
    ASSERT_TRUE(hold_film_frames(film, 0));
    ASSERT_TRUE(write_pointer_track(film));

    EXPECT_EQ(files_in_folder(), 4u);
    for (const wchar_t* name : {L"000.png", L"001.png", L"002.png"}) {
        SCOPED_TRACE(win::to_utf8(name));
        auto picture = load_image_file(frame(name));
        ASSERT_TRUE(picture) << picture.failure().message;
        EXPECT_EQ(picture->width, kW);
        EXPECT_EQ(picture->height, kH);
        for (std::size_t i = 3; i < picture->pixels.size(); i += 4) ASSERT_EQ(picture->pixels[i], 255) << i;
    }
    EXPECT_EQ(read_test_file(frame(L"pointer.txt")), "0.0 0.0\n0.0 0.0\n12.3 -3.0\n");
}

TEST_F(FilmTest, AFailedFrameLeavesNoPictureNorTrackEntryAndTheNextTakesItsNumber) {
    Film film(editing_over_plain_frame(Tool::Rectangle), folder(), nullptr, false);
    ASSERT_TRUE(render_view_to_dib(film, 100, 100));
    film.frames_folder = win::join_path(temp_.path(), L"removed");
    EXPECT_FALSE(render_view_to_dib(film, 110, 110));
    film.frames_folder = folder();
    EXPECT_EQ(render_view_to_dib(film, std::nan(""), 5).failure().code, E_INVALIDARG_CODE);
    EXPECT_EQ(film.pointer_track.size(), 1u);
    ASSERT_TRUE(render_view_to_dib(film, 120, 120));
    EXPECT_TRUE(exists(L"001.png"));
    EXPECT_FALSE(exists(L"002.png"));
    ASSERT_TRUE(write_pointer_track(film));
    EXPECT_EQ(read_test_file(frame(L"pointer.txt")), "100.0 100.0\n120.0 120.0\n");
}

TEST_F(FilmTest, TheCursorIsDrawnOnlyWhenTheFilmDrawsIt) {
    Film film(editing_over_plain_frame(Tool::Select), folder(), host_.get(), false);
    ASSERT_TRUE(render_view_to_dib(film, 200, 200));
    film.draw_cursor = true;
    ASSERT_TRUE(render_view_to_dib(film, 200, 200));
    auto plain = load_image_file(frame(L"000.png"));
    auto with_cursor = load_image_file(frame(L"001.png"));
    ASSERT_TRUE(plain && with_cursor);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < plain->pixels.size(); ++i) differing += plain->pixels[i] != with_cursor->pixels[i];
    EXPECT_GT(differing, 0u);
}

TEST_F(FilmTest, AGlideFromAnEmptyTrackWritesItsStepsEndingOnTheTarget) {
    Film film(editing_over_plain_frame(Tool::Rectangle), folder(), host_.get(), false);
    ASSERT_TRUE(glide_pointer_to(film, {200, 150}, 6));
    ASSERT_EQ(film.pointer_track.size(), 6u);
    EXPECT_NE(film.pointer_track.front(), (Point{0, 0}));
    EXPECT_EQ(film.pointer_track.back(), (Point{200, 150}));
    // A press, a glide with the button held and a release draw a rectangle.
    ASSERT_TRUE(press_pointer(film));
    ASSERT_TRUE(glide_pointer_to(film, {300, 250}, 4));
    release_pointer(film);
    ASSERT_EQ(film.state.objects.size(), 1u);
    EXPECT_EQ(*last_object_bounds(film.state.objects.list()), (Box{200, 150, 300, 250}));
    EXPECT_EQ(film.pointer_track.size(), 10u);
}

TEST_F(FilmTest, AToolbarClickIsFourteenFramesAndAMissingButtonNone) {
    Film film(editing_over_plain_frame(Tool::Rectangle), folder(), host_.get(), false);
    ASSERT_TRUE(click_toolbar_button(film, tool_action(Tool::Ellipse)));
    EXPECT_EQ(film.state.tool, Tool::Ellipse);
    EXPECT_EQ(film.pointer_track.size(), 14u);
    const Status missing = click_toolbar_button(film, pack_editor_action(EditorActionCode::Colour, 0x010203));
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.failure().message, "missing toolbar button");
    EXPECT_EQ(film.pointer_track.size(), 14u);
}

TEST_F(FilmTest, TypingWritesTwoFramesPerUtf16UnitIntoTheOpenTextField) {
    struct Row {
        const char* name;
        const char* text;
        std::size_t units;
    } rows[] = {{"two letters", "ab", 2}, {"one character above U+FFFF", "\xF0\x9F\x98\x80", 2}, {"nothing", "", 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Film film(editing_over_plain_frame(Tool::Text), folder(), host_.get(), false);
        EXPECT_EQ(type_into_text_field(film, row.text).failure().message, "text field not open");
        ASSERT_TRUE(step_pointer_to(film, {150, 120}));
        ASSERT_TRUE(click_pointer(film));
        const auto& box = editor_window_part(film.state).text_box;
        ASSERT_TRUE(box && box->edit);
        const std::size_t before = film.pointer_track.size();
        ASSERT_TRUE(type_into_text_field(film, row.text));
        EXPECT_EQ(film.pointer_track.size() - before, 2 * row.units);
        EXPECT_EQ(static_cast<std::size_t>(GetWindowTextLengthW(box->edit)), row.units);
        if (row.units == 0) continue;
        film.typing->commit_text_box();
        ASSERT_EQ(film.state.objects.size(), 1u);
        EXPECT_EQ(as_text(film.state.objects.back())->text, row.text);
    }
}

TEST_F(FilmTest, PictureFramesAreThePictureItselfWithThePointerAtRest) {
    Film film(editing_over_plain_frame(Tool::Rectangle), folder(), nullptr, false);
    const BgraImage picture = plain_frame(32, 16, {1, 2, 3});
    ASSERT_TRUE(hold_picture_frames(film, picture));
    ASSERT_EQ(film.pointer_track.size(), 30u);
    EXPECT_EQ(film.pointer_track.back(), (Point{620, 360}));
    auto last = load_image_file(frame(L"029.png"));
    ASSERT_TRUE(last);
    EXPECT_EQ(last->pixels, picture.pixels);
}

}  // namespace
}  // namespace glimmerly
