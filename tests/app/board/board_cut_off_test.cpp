// The board cut off at each step of a bake or a restore, from outside with
// the real program in the tests' prefix: the state a kill leaves on disk
// and in the registry is prepared exactly, then what the program does next
// (the resident's start, "Show board" on and off) runs as
// "--restore-wallpaper" and "--board-bake". The user's picture, style and
// tile flag must come back, and "base.txt" must keep recording them.
#include <gtest/gtest.h>

#include "app/board/board_files.h"
#include "app/board/desktop_wallpaper.h"
#include "app/lib/folder_tree.h"
#include "app/lib/mutex_names.h"
#include "app/lib/program_folders.h"
#include "app/lib/registry_names.h"
#include "app/lib/settings_store.h"
#include "app/session/image_save.h"
#include "app/win/com.h"
#include "app/win/paths.h"
#include "core/base/utf.h"
#include "tests/app/board/board_support.h"
#include "tests/app/support/child_process.h"
#include "tests/app/support/dialogs.h"
#include "tests/app/support/files.h"
#include "tests/app/support/private_prefix.h"
#include "tests/app/support/registry.h"
#include "tests/app/support/resident.h"

namespace glimmerly {
namespace {

using namespace testing_support;

// The user's own desktop: a picture tiled, as "HKCU\Control Panel\Desktop" keeps it.
struct Desktop {
    std::wstring picture;  // empty: none
    std::wstring style;
    std::wstring tile;
};

Desktop desktop_now() {
    return {registry_string(HKEY_CURRENT_USER, DESKTOP_KEY, WALLPAPER_VALUE).value_or(L""),
            registry_string(HKEY_CURRENT_USER, DESKTOP_KEY, WALLPAPER_STYLE_VALUE).value_or(L"?"),
            registry_string(HKEY_CURRENT_USER, DESKTOP_KEY, TILE_WALLPAPER_VALUE).value_or(L"?")};
}

void set_desktop(const Desktop& desktop) {
    ASSERT_TRUE(set_registry_string(HKEY_CURRENT_USER, DESKTOP_KEY, WALLPAPER_STYLE_VALUE, desktop.style));
    ASSERT_TRUE(set_registry_string(HKEY_CURRENT_USER, DESKTOP_KEY, TILE_WALLPAPER_VALUE, desktop.tile));
    std::wstring picture = desktop.picture;
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, picture.data(), SPIF_UPDATEINIFILE));
}

class BoardCutOff : public ::testing::Test {
protected:
    void SetUp() override {
        GLIM_REQUIRE_PRIVATE_PREFIX();
        lock_.emplace();
        program_ = program_folder_path().value_or(L"");
        ASSERT_FALSE(program_.empty());
        (void)remove_tree(program_);
        ASSERT_TRUE(CreateDirectoryW(program_.c_str(), nullptr));
        auto folder = ensure_board_dir();
        ASSERT_TRUE(folder.ok());
        folder_ = *folder;
        own_ = win::join_path(program_, L"Own Picture.png");
        ASSERT_TRUE(save_image_atomically(BgraImage{std::vector<std::uint8_t>(64 * 64 * 4, 0x60), 64, 64}, own_,
                                          ImageFormat::Png)
                        .ok());
        user_ = Desktop{own_, L"0", L"1"};  // tiled
        set_desktop(user_);
        auto wallpaper = create_desktop_wallpaper();
        ASSERT_TRUE(wallpaper.ok());
        const auto monitors = list_wallpaper_monitors(**wallpaper);
        ASSERT_TRUE(monitors.ok() && !monitors->empty());
        screen_ = monitors->front().name;
        baked_ = win::join_path(folder_, win::from_u16(baked_picture_name(screen_)));
    }
    void TearDown() override {
        if (lock_) (void)remove_tree(program_);
    }

    void show_board(bool shown) {
        Settings settings;
        settings.start_with_windows = false;
        settings.board_visible = shown;
        ASSERT_TRUE(save_settings_file(settings, win::join_path(program_, SETTINGS_FILE_NAME)).ok());
    }
    bool board_shown() {
        auto settings = read_settings_file(win::join_path(program_, SETTINGS_FILE_NAME));
        return settings && settings->board_visible;
    }
    int run(const wchar_t* option) { return run_program({option}, {}, sweeper_, 90000).exit_code; }
    // "Show board" switched on and then off, as the resident does it.
    void show_and_hide() {
        show_board(true);
        ASSERT_EQ(run(L"--board-bake"), 0);
        EXPECT_TRUE(same(desktop_now().picture, baked_));
        show_board(false);
        ASSERT_EQ(run(L"--restore-wallpaper"), 0);
    }
    bool same(const std::wstring& a, const std::wstring& b) {
        return same_wallpaper_path(win::to_u16(a), win::to_u16(b), windows_path_rules());
    }
    void expect_users_desktop() {
        const Desktop now = desktop_now();
        EXPECT_TRUE(same(now.picture, user_.picture)) << utf16_to_utf8(win::to_u16(now.picture));
        EXPECT_EQ(now.style, user_.style);
        EXPECT_EQ(now.tile, user_.tile);
    }
    void expect_base_records_the_user() {
        const auto base = read_board_base(folder_);
        ASSERT_TRUE(base.ok() && base->has_value());
        EXPECT_EQ((*base)->position, WallpaperPosition::Tile);
        const BoardBaseScreen* screen = find_base_screen(**base, screen_);
        ASSERT_NE(screen, nullptr);
        EXPECT_TRUE(screen->image && same(win::from_u16(*screen->image), own_));
    }
    std::wstring finished_record() const { return win::join_path(folder_, L"baked.txt"); }

    std::optional<UserDataLock> lock_;
    win::ComApartment apartment_{COINIT_APARTMENTTHREADED};
    std::wstring program_, folder_, own_, baked_;
    std::string screen_;
    Desktop user_;
    DialogSweeper sweeper_;
};

// Every step boundary of the bake (base written, finished record removed,
// pictures set, style set, record written) and of the restore (style
// given back, pictures given back), and an older version's bake that set
// the style before the pictures.
TEST_F(BoardCutOff, AtAnyStepTheNextStartAndShowBoardOnAndOffGiveTheUsersDesktopBack) {
    ASSERT_NO_FATAL_FAILURE(show_board(true));
    ASSERT_EQ(run(L"--board-bake"), 0);  // a whole bake: the base and pictures every row starts from
    ASSERT_NO_FATAL_FAILURE(expect_base_records_the_user());
    const auto finished = read_test_file(finished_record());
    ASSERT_TRUE(finished);
    const struct {
        const char* name;
        Desktop left;
        bool finished_recorded;
        bool shown_at_start;
    } rows[] = {
        {"bake: base written, desktop untouched", user_, false, true},
        {"bake: pictures set, style not yet", {baked_, L"0", L"1"}, false, true},
        {"bake: style set, end not recorded", {baked_, L"10", L"0"}, false, false},
        {"older bake: style set before the pictures", {own_, L"10", L"0"}, false, true},
        {"older bake, hidden at the next start", {own_, L"10", L"0"}, false, false},
        {"restore: nothing done yet", {baked_, L"10", L"0"}, true, false},
        {"restore: style given back, pictures not yet", {baked_, L"0", L"1"}, true, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_NO_FATAL_FAILURE(set_desktop(row.left));
        if (row.finished_recorded) {
            ASSERT_TRUE(write_test_file(finished_record(), *finished));
        } else {
            DeleteFileW(finished_record().c_str());
        }
        ASSERT_NO_FATAL_FAILURE(show_board(row.shown_at_start));
        // The resident's start: a bake when shown, a restore when hidden;
        // shown, the user then switches the board off.
        if (row.shown_at_start) {
            ASSERT_EQ(run(L"--board-bake"), 0);
        }
        ASSERT_NO_FATAL_FAILURE(show_board(false));
        ASSERT_EQ(run(L"--restore-wallpaper"), 0);
        expect_users_desktop();
        expect_base_records_the_user();
        ASSERT_NO_FATAL_FAILURE(show_and_hide());
        expect_users_desktop();
        expect_base_records_the_user();
    }
    EXPECT_TRUE(sweeper_.answered().empty());
}

// A picture that is missing for a while (a drive not yet there) leaves its
// monitor empty when the board is hidden; the record survives showing the
// board again, and once the picture is back, hiding gives it back.
TEST_F(BoardCutOff, ARecordedPictureMissingForAWhileIsKeptUntilItIsBack) {
    ASSERT_NO_FATAL_FAILURE(show_board(true));
    ASSERT_EQ(run(L"--board-bake"), 0);
    const std::wstring away = own_ + L".away";
    ASSERT_TRUE(MoveFileW(own_.c_str(), away.c_str()));
    ASSERT_NO_FATAL_FAILURE(show_board(false));
    ASSERT_EQ(run(L"--restore-wallpaper"), 0);
    EXPECT_EQ(desktop_now().picture, L"");
    expect_base_records_the_user();
    ASSERT_NO_FATAL_FAILURE(show_and_hide());
    expect_base_records_the_user();
    ASSERT_TRUE(MoveFileW(away.c_str(), own_.c_str()));
    ASSERT_NO_FATAL_FAILURE(show_and_hide());
    expect_users_desktop();
    EXPECT_TRUE(sweeper_.answered().empty());
}

// A bake that fails (here a damaged page) puts "Show board" back off and
// says so once: the next start bakes nothing and shows no box.
TEST_F(BoardCutOff, AFailedBakeTurnsTheBoardOffAndIsToldOnce) {
    ASSERT_TRUE(write_test_file(win::join_path(folder_, L"page-1.txt"), "glimmerly-board 1\nnonsense\n"));
    ASSERT_NO_FATAL_FAILURE(show_board(true));
    EXPECT_EQ(run(L"--board-bake"), 1);
    ASSERT_TRUE(sweeper_.wait_for_text(L"The board file is damaged. It was left untouched."));
    EXPECT_FALSE(board_shown());
    expect_users_desktop();
    EXPECT_EQ(run(L"--board-bake"), 0);
    EXPECT_EQ(sweeper_.answered().size(), 1u);
}

// A bake process that died holding the bake mutex leaves it abandoned: the
// next bake takes it and bakes.
GLIM_TEST_CHILD(DiesHoldingTheBakeMutex) {
    const HANDLE mutex = CreateMutexW(nullptr, TRUE, BOARD_BAKE_MUTEX);
    if (!mutex) return 2;
    ExitProcess(0);  // without ReleaseMutex
}

TEST_F(BoardCutOff, ABakeMutexLeftAbandonedIsTakenByTheNextBake) {
    auto child = start_child(L"DiesHoldingTheBakeMutex");
    ASSERT_TRUE(child.ok());
    ASSERT_EQ(wait_for_exit(*child), 0);
    ASSERT_NO_FATAL_FAILURE(show_board(true));
    ASSERT_EQ(run(L"--board-bake"), 0);
    EXPECT_TRUE(same(desktop_now().picture, baked_));
    ASSERT_NO_FATAL_FAILURE(show_board(false));
    ASSERT_EQ(run(L"--restore-wallpaper"), 0);
    expect_users_desktop();
    EXPECT_TRUE(sweeper_.answered().empty());
}

}  // namespace
}  // namespace glimmerly
