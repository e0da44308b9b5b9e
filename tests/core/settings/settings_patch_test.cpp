#include "core/settings/settings_patch.h"

#include <gtest/gtest.h>

#include "tests/core/settings/settings_test_support.h"

namespace glimmerly {
namespace {

TEST(SettingsCommit, KeepsEveryFieldAnotherWriterOwnsFromTheFile) {
    const Settings on_disk = testing_support::varied_settings();
    Settings changed;  // the settings window's record: every field differs from the file
    changed.live_capture = true;

    // The eight fields the editor, the board and the save dialog own come
    // from the file; everything else is the window's.
    Settings expected = changed;
    expected.capture_stroke_width = on_disk.capture_stroke_width;
    expected.capture_eraser_size = on_disk.capture_eraser_size;
    expected.custom_color = on_disk.custom_color;
    expected.board_visible = on_disk.board_visible;
    expected.save_folder = on_disk.save_folder;
    expected.save_format = on_disk.save_format;
    expected.wheel_hint = on_disk.wheel_hint;
    expected.mini_toolbar_folded = on_disk.mini_toolbar_folded;
    EXPECT_EQ(settings_to_commit(changed, on_disk), expected);
}

}  // namespace
}  // namespace glimmerly
