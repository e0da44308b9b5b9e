// The board's processes refused at their start, as the resident meets it
// with a program that cannot be started: the menu's board commands tell
// why in one box and change nothing, "Show board" stays off, the page and
// the user's wallpaper stay as they were; the resident's own board check
// drops the failure without a box.

#include <gtest/gtest.h>

#include "app/app/messages.h"
#include "app/lib/folder_tree.h"
#include "app/lib/program_folders.h"
#include "app/lib/registry_names.h"
#include "app/lib/settings_store.h"
#include "app/session/image_save.h"
#include "app/win/com.h"
#include "app/win/paths.h"
#include "core/menu/app_command.h"
#include "tests/app/support/app_window.h"
#include "tests/app/support/dialogs.h"
#include "tests/app/support/files.h"
#include "tests/app/support/private_prefix.h"
#include "tests/app/support/registry.h"

namespace glimmerly {
namespace {

using namespace testing_support;

std::wstring desktop_picture() {
    return registry_string(HKEY_CURRENT_USER, DESKTOP_KEY, WALLPAPER_VALUE).value_or(L"");
}

TEST(BoardChildStart, ARefusedStartIsToldOnceAndLeavesTheSettingThePageAndTheWallpaperAsTheyWere) {
    GLIM_REQUIRE_PRIVATE_PREFIX();
    UserDataLock lock;
    const std::wstring folder = program_folder_path().value_or(L"");
    ASSERT_FALSE(folder.empty());
    (void)remove_tree(folder);
    auto board = ensure_board_dir();
    ASSERT_TRUE(board.ok());
    const std::wstring page = win::join_path(*board, L"page-1.txt"), base = win::join_path(*board, L"base.txt");
    const std::string page_text = "glimmerly-board 1\n";
    ASSERT_TRUE(write_test_file(page, page_text));
    std::wstring own = win::join_path(folder, L"own.png");
    const win::ComApartment apartment(COINIT_APARTMENTTHREADED);  // the picture is written through WIC
    ASSERT_TRUE(
        save_image_atomically(BgraImage{std::vector<std::uint8_t>(16 * 16 * 4, 0x60), 16, 16}, own, ImageFormat::Png)
            .ok());
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, own.data(), SPIF_UPDATEINIFILE));
    const std::wstring gone = win::join_path(folder, L"gone.exe");

    const struct {
        const char* name;
        AppCommand command;  // 0: the resident's board check after a display change
        bool shown;
        bool told;
    } rows[] = {
        {"Edit board", APP_COMMAND_EDIT_BOARD, false, true},
        {"Show board switched on", APP_COMMAND_SHOW_BOARD, false, true},
        {"Clear board", APP_COMMAND_CLEAR_BOARD, true, true},
        {"the board check of a shown board", 0, true, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Settings settings;
        settings.start_with_windows = false;
        settings.board_visible = row.shown;
        const std::wstring settings_file = win::join_path(folder, SETTINGS_FILE_NAME);
        ASSERT_TRUE(save_settings_file(settings, settings_file).ok());
        std::vector<AnsweredBox> boxes;
        bool shown_after = !row.shown;
        boxes = answer_message_boxes([&] {
            TestAppWindow test(AppOptions{.settings = settings, .board_program = gone});
            if (row.command) {
                PostMessageW(test.window(), WM_APP_MENU_COMMAND, row.command, 0);
            } else {
                test.cell().try_borrow()->display_changed = true;
                PostMessageW(test.window(), WM_TIMER, TIMER_BOARD_CHECK, 0);
            }
            PostMessageW(test.window(), WM_CLOSE, 0, 0);
            EXPECT_TRUE(run_message_loop_bounded(test.cell(), test.window()).ok());
            shown_after = test.cell().try_borrow()->settings.board_visible;
        });
        ASSERT_EQ(boxes.size(), row.told ? 1u : 0u);
        if (row.told) {
            EXPECT_NE(boxes[0].text.find(gone), std::wstring::npos) << win::to_utf8(boxes[0].text);
        }
        EXPECT_EQ(shown_after, row.shown);
        const auto stored = read_settings_file(settings_file);
        ASSERT_TRUE(stored.ok());
        EXPECT_EQ(stored->board_visible, row.shown);
        EXPECT_EQ(read_test_file(page), page_text);
        EXPECT_FALSE(path_exists(base));
        EXPECT_EQ(desktop_picture(), own);
    }
    (void)remove_tree(folder);
}

}  // namespace
}  // namespace glimmerly
