#include "core/settings/settings_patch.h"

#include <gtest/gtest.h>

#include "tests/core/settings/settings_test_support.h"

namespace glimmerly {
namespace {

TEST(SettingsCommit, KeepsEveryFieldAnotherWriterOwnsFromTheFile) {
    const Settings on_disk = testing_support::varied_settings();
    Settings changed;  // the settings window's record: every field differs from the file
    changed.live_capture = true;
    const Settings written = settings_to_commit(changed, on_disk);

    EXPECT_EQ(written.capture_stroke_width, on_disk.capture_stroke_width);
    EXPECT_EQ(written.capture_eraser_size, on_disk.capture_eraser_size);
    EXPECT_EQ(written.custom_color, on_disk.custom_color);
    EXPECT_EQ(written.board_visible, on_disk.board_visible);
    EXPECT_EQ(written.save_folder, on_disk.save_folder);
    EXPECT_EQ(written.save_format, on_disk.save_format);

    // Everything else is the window's: taking the six owned fields back out
    // of the result gives the window's record exactly.
    Settings others = written;
    others.capture_stroke_width = changed.capture_stroke_width;
    others.capture_eraser_size = changed.capture_eraser_size;
    others.custom_color = changed.custom_color;
    others.board_visible = changed.board_visible;
    others.save_folder = changed.save_folder;
    others.save_format = changed.save_format;
    EXPECT_EQ(others, changed);
}

}  // namespace
}  // namespace glimmerly
