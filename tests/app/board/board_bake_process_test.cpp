// glimmerly.exe --board-bake from outside, through the program's own
// wallpaper layer in the tests' prefix.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/board/board_files.h"
#include "app/board/desktop_wallpaper.h"
#include "app/image/image_decoder.h"
#include "app/lib/folder_tree.h"
#include "app/lib/program_folders.h"
#include "app/lib/settings_store.h"
#include "app/win/com.h"
#include "app/win/paths.h"
#include "tests/app/board/board_support.h"
#include "tests/app/support/child_process.h"
#include "tests/app/support/dialogs.h"
#include "tests/app/support/files.h"
#include "tests/app/support/peak_memory.h"
#include "tests/app/support/private_prefix.h"
#include "tests/app/support/resident.h"

namespace glimmerly {
namespace {

using testing_support::read_test_file;

// What SPI_GETDESKWALLPAPER answers in a process started now: Wine's
// user32 keeps the value a process read or set first, so the test's own
// process may still see what an earlier test of it set.
GLIM_TEST_CHILD(ShowsDesktopPicture) {
    wchar_t path[MAX_PATH + 1] = {};
    if (!SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0)) return 2;
    return same_wallpaper_path(win::to_u16(path), win::to_u16(args.at(0)), windows_path_rules()) ? 0 : 1;
}

bool desktop_shows(const std::wstring& picture) {
    auto child = testing_support::start_child(L"ShowsDesktopPicture", {picture});
    return child && testing_support::wait_for_exit(*child) == 0;
}

// The exit code of "glimmerly.exe --board-bake", or -1 when it did not end
// within a minute and a half (its own wait is one minute).
int run_bake(testing_support::DialogSweeper& sweeper) {
    return testing_support::run_program({L"--board-bake"}, {}, sweeper, 90000).exit_code;
}

struct OneNoteBoard {
    std::wstring folder;
    std::string screen;  // the only monitor's
};

// A program folder made afresh, whose settings show the board, and a page
// with one note on the only monitor.
void make_one_note_board(const std::wstring& program, OneNoteBoard& board) {
    (void)remove_tree(program);
    ASSERT_TRUE(CreateDirectoryW(program.c_str(), nullptr));
    Settings settings;
    settings.start_with_windows = false;
    settings.board_visible = true;
    ASSERT_TRUE(save_settings_file(settings, win::join_path(program, SETTINGS_FILE_NAME)).ok());
    const auto folder = ensure_board_dir();
    ASSERT_TRUE(folder.ok());
    auto wallpaper = create_desktop_wallpaper();
    ASSERT_TRUE(wallpaper.ok());
    const auto monitors = list_wallpaper_monitors(**wallpaper);
    ASSERT_TRUE(monitors.ok() && monitors->size() == 1u);
    board = {*folder, monitors->front().name};
    ASSERT_TRUE(testing_support::write_test_file(
        win::join_path(board.folder, L"page-1.txt"),
        testing_support::one_note_page(board.screen, {100, 100, 400, 300}, 1920, 1080)));
}

// The program's own folder, made and removed only in the private prefix.
class BoardBakeCommand : public ::testing::Test {
protected:
    void SetUp() override {
        GLIM_REQUIRE_PRIVATE_PREFIX();
        ASSERT_FALSE(program_.empty());
        owned_ = true;
    }
    void TearDown() override {
        if (owned_) (void)remove_tree(program_);
    }

    testing_support::UserDataLock lock_;
    win::ComApartment apartment_{COINIT_APARTMENTTHREADED};
    const std::wstring program_ = program_folder_path().value_or(L"");
    bool owned_ = false;
};

FILETIME last_write(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

TEST_F(BoardBakeCommand, BakesThePageOntoTheDesktopOnceAndThenFindsItUpToDate) {
    OneNoteBoard board;
    ASSERT_NO_FATAL_FAILURE(make_one_note_board(program_, board));
    const std::wstring& folder = board.folder;
    const std::string& screen = board.screen;

    testing_support::DialogSweeper sweeper;
    ASSERT_EQ(run_bake(sweeper), 0);
    EXPECT_TRUE(sweeper.answered().empty());
    const std::wstring baked = win::join_path(folder, win::from_u16(baked_picture_name(screen)));
    const auto picture = load_image_file(baked);
    ASSERT_TRUE(picture.ok());
    EXPECT_EQ(picture->width, 1920u);
    EXPECT_EQ(picture->height, 1080u);
    EXPECT_TRUE(testing_support::pixel_matches(*picture, 100, 200, testing_support::kNoteColour));
    EXPECT_TRUE(desktop_shows(baked));
    const auto fingerprint = read_test_file(win::join_path(folder, L"baked.txt"));
    ASSERT_TRUE(fingerprint.has_value());
    const FILETIME baked_at = last_write(baked);

    ASSERT_EQ(run_bake(sweeper), 0);
    EXPECT_EQ(read_test_file(win::join_path(folder, L"baked.txt")), fingerprint);
    EXPECT_TRUE(desktop_shows(baked));
    const FILETIME again = last_write(baked);
    EXPECT_EQ(CompareFileTime(&baked_at, &again), 0);
}

// A page of `bytes` cut short: its screen claims more text than follows,
// which the reader finds at once. Written in pieces, so that the test does
// not hold the page itself.
bool write_cut_short_page(const std::wstring& path, const std::string& screen, std::size_t bytes) {
    const win::UniqueFileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    const std::string head = "glimmerly-board 1\nscreen " + screen + " " + std::to_string(bytes) + "\n";
    const std::string filler(1 << 20, 'x');
    DWORD written = 0;
    if (!WriteFile(file.get(), head.data(), static_cast<DWORD>(head.size()), &written, nullptr)) return false;
    for (std::size_t done = head.size(); done < bytes; done += written) {
        const DWORD piece = static_cast<DWORD>(std::min(filler.size(), bytes - done));
        if (!WriteFile(file.get(), filler.data(), piece, &written, nullptr) || written == 0) return false;
    }
    return true;
}

// A page the size the board still reads (250 MiB), damaged, after a bake
// whose record makes the board compare fingerprints: the bake command and
// the board editor refuse it with the board's own text while no more than
// one copy of it is held.
TEST_F(BoardBakeCommand, ALargeDamagedPageIsRefusedHoldingItOnce) {
    for (const wchar_t* command : {L"--board-bake", L"--board"}) {
        SCOPED_TRACE(win::to_utf8(command));
        OneNoteBoard board;
        ASSERT_NO_FATAL_FAILURE(make_one_note_board(program_, board));
        testing_support::DialogSweeper sweeper;
        ASSERT_EQ(run_bake(sweeper), 0);
        ASSERT_TRUE(read_test_file(win::join_path(board.folder, L"baked.txt")).has_value());

        ASSERT_TRUE(write_cut_short_page(win::join_path(board.folder, L"page-1.txt"), board.screen, 250u << 20));
        const testing_support::WatchedRun run = testing_support::run_watching_peak(
            testing_support::quoted_program_path() + L" " + command, program_, nullptr, sweeper, 90000);
        ASSERT_GT(run.readings, 0) << "not measured";
        RecordProperty("peak_working_set" + win::to_utf8(command), std::to_string(run.peak_working_set));
        EXPECT_NE(run.exit_code, 0);
        const auto boxes = sweeper.answered();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_NE(boxes[0].text.find(L"The board file is damaged. It was left untouched."), std::wstring::npos)
            << win::to_utf8(boxes[0].text);
        // The page read once: 284 MB measured; held four times, 1.07 GB.
        EXPECT_LT(run.peak_working_set, 600u << 20) << run.peak_working_set;
    }
}

}  // namespace
}  // namespace glimmerly
