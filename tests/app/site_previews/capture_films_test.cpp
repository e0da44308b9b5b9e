// The films recorded over the desktop capture without a window: a script
// that stops keeps the frames written so far and writes no "pointer.txt".

#include "app/site_previews/capture_films.h"

#include <gtest/gtest.h>

#include "app/site_previews/scripted_input.h"
#include "app/win/com.h"
#include "app/win/paths.h"
#include "core/demo/demo_scenes.h"
#include "ui/capture/editor_window_part.h"
#include "tests/app/support/files.h"
#include "tests/app/support/temp_folder.h"

namespace glimmerly {
namespace {

using namespace testing_support;

class CaptureFilms : public ::testing::Test {
protected:
    std::wstring folder() const { return win::join_path(temp_.path(), L"editing-frames"); }
    bool exists(const wchar_t* name) const {
        return GetFileAttributesW(win::join_path(folder(), name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    EditorState empty_scene() {
        auto state = new_film_state(demo_base_frame(), film_editing_head(Tool::Select, 4.0, {237, 79, 92}));
        EXPECT_TRUE(state) << state.failure().message;
        return std::move(*state);
    }

    win::ComApartment com_;
    TempFolder temp_;
};

TEST_F(CaptureFilms, TheCaptureSceneHoldsItsSixObjectsTheCardFrameFirst) {
    auto scene = build_capture_scene(demo_base_frame());
    ASSERT_TRUE(scene) << scene.failure().message;
    ASSERT_EQ(scene->objects.size(), 6u);
    EXPECT_EQ(scene->objects.front().kind(), ObjectKind::Rectangle);
    EXPECT_EQ(as_text(scene->objects[1])->text, "Title too low?");
    EXPECT_EQ(as_text(scene->objects[5])->text, "Mobile\n+12%");
    EXPECT_EQ(scene->tool, Tool::Rectangle);
    EXPECT_EQ(scene->capture_selection, (Box{100, 86, 1040, 612}));
}

TEST_F(CaptureFilms, WithoutATitleNoteTheEditingFilmStopsBeforeAnyFrame) {
    const Status filmed = record_editing_film(empty_scene(), folder());
    ASSERT_FALSE(filmed);
    EXPECT_EQ(filmed.failure().message, "missing note");
    EXPECT_FALSE(exists(L"000.png"));
    EXPECT_FALSE(exists(L"pointer.txt"));
}

TEST_F(CaptureFilms, AnEditingFilmThatStopsKeepsItsFramesAndWritesNoTrack) {
    // An earlier, complete run left more frames than this one reaches, and
    // its track: none of it may stay beside this run's frames.
    ASSERT_TRUE(CreateDirectoryW(folder().c_str(), nullptr));
    for (const wchar_t* name : {L"000.png", L"035.png", L"282.png", L"pointer.txt"})
        ASSERT_TRUE(write_test_file(win::join_path(folder(), name), "earlier run"));
    // The note is there, but nothing lies under the film's first press.
    EditorState scene = empty_scene();
    ASSERT_TRUE(add_measured_note(scene, *editor_window_part(scene).renderer.resources, {178, 480},
                                  "Title too low?", 32.0f));
    const Status filmed = record_editing_film(std::move(scene), folder());
    ASSERT_FALSE(filmed);
    EXPECT_EQ(filmed.failure().message, "nothing selected");
    EXPECT_TRUE(exists(L"034.png"));
    EXPECT_NE(read_test_file(win::join_path(folder(), L"000.png")), "earlier run");
    EXPECT_FALSE(exists(L"035.png"));
    EXPECT_FALSE(exists(L"282.png"));
    EXPECT_FALSE(exists(L"pointer.txt"));
}

}  // namespace
}  // namespace glimmerly
