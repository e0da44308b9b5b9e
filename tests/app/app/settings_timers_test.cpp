// The editor's tool sizes written late by the application window's timer,
// with the program's own App and window on the test's thread.

#include "app/app/settings_timers.h"

#include <gtest/gtest.h>

#include "app/app/events.h"
#include "app/app/messages.h"
#include "app/lib/folder_tree.h"
#include "app/lib/program_folders.h"
#include "app/lib/settings_store.h"
#include "tests/app/support/app_window.h"
#include "tests/app/support/private_prefix.h"

namespace glimmerly {
namespace {

TEST(ToolSizeSaveTimer, ARunOfChangesIsWrittenOnceAndAStrayTickWritesNothingMore) {
    GLIM_REQUIRE_PRIVATE_PREFIX();
    testing_support::UserDataLock lock;
    const std::wstring folder = program_folder_path().value_or(L"");
    const std::wstring file = folder + L"\\settings.txt";
    (void)remove_tree(folder);
    ASSERT_TRUE(save_settings_file(Settings{}, file).ok());
    const auto stored = [&] {
        const Settings now = read_settings_file(file).value_or(Settings{});
        return std::pair(now.capture_stroke_width, now.capture_eraser_size);
    };
    testing_support::TestAppWindow test;
    auto app = test.cell().try_borrow();
    // At a zoom of 2, as a wheel turn changes them.
    for (const double width : {8.0, 10.0, 12.0})
        ASSERT_TRUE(schedule_tool_size_save(*app, test.window(), SessionToolSizes{width, 40.0, 2.0}).ok());
    EXPECT_EQ(stored(), std::pair(3u, 14u)) << "nothing before the timer";

    MSG tick;
    for (const ULONGLONG end = GetTickCount64() + 30000; stored() == std::pair(3u, 14u);) {
        ASSERT_LT(GetTickCount64(), end) << "the sizes were never written";
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_TIMER);
        while (PeekMessageW(&tick, test.window(), WM_TIMER, WM_TIMER, PM_REMOVE))
            ASSERT_TRUE(handle_app_message(*app, test.window(), WM_TIMER, tick.wParam, 0).ok());
    }
    EXPECT_EQ(stored(), std::pair(6u, 20u));
    // Another writer's sizes since then are not overwritten by a late tick.
    ASSERT_TRUE(patch_settings_file(file, SettingsPatch{.capture_stroke_width = 9}).ok());
    ASSERT_TRUE(handle_app_message(*app, test.window(), WM_TIMER, TIMER_SETTINGS_SAVE, 0).ok());
    EXPECT_EQ(stored(), std::pair(9u, 20u));
    (void)remove_tree(folder);
}

}  // namespace
}  // namespace glimmerly
