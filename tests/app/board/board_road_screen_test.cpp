// The board as a user meets it, with the real program under Wine: "Edit
// board" from the tray menu opens the notes over the desktop, a rectangle
// drawn with the mouse and Escape save and bake it into the wallpaper,
// "Show board" switched off gives the user's own wallpaper back, and the
// clear and a page damaged on disk behave as the user needs.

#include <gtest/gtest.h>

#include "app/app/messages.h"
#include "app/app/tray_icon.h"
#include "app/board/board_files.h"
#include "app/board/board_leave.h"
#include "app/image/image_decoder.h"
#include "app/lib/mutex_names.h"
#include "app/lib/program_folders.h"
#include "app/lib/settings_store.h"
#include "app/session/image_save.h"
#include "app/win/com.h"
#include "app/win/paths.h"
#include "core/base/utf.h"
#include "core/board/board_file.h"
#include "core/document/geometry.h"
#include "tests/app/board/board_support.h"
#include "tests/app/support/child_process.h"
#include "tests/app/support/files.h"
#include "tests/app/support/injected_input.h"
#include "tests/app/support/resident.h"

namespace glimmerly {
namespace {

using namespace testing_support;

constexpr Rgb kNoteRed{237, 79, 92};  // the editor's first colour
constexpr RECT kNote{300, 200, 700, 500};

GLIM_TEST_CHILD(BoardDesktopShows) {
    wchar_t path[MAX_PATH + 1] = {};
    if (!SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0)) return 2;
    return same_wallpaper_path(win::to_u16(path), win::to_u16(args.at(0)), windows_path_rules()) ? 0 : 1;
}

// Asked of a process started now: Wine's user32 keeps the value a process read first.
bool desktop_shows(const std::wstring& picture) {
    auto child = start_child(L"BoardDesktopShows", {picture});
    return child && wait_for_exit(*child) == 0;
}

void tap(WORD key) { send({key_input(key, false), key_input(key, true)}); }

void draw_rectangle(RECT at) {
    tap('R');
    const POINT from{at.left, at.top}, to{at.right, at.bottom}, middle{(at.left + at.right) / 2, (at.top + at.bottom) / 2};
    send({mouse_input(from, 0), mouse_input(from, MOUSEEVENTF_LEFTDOWN), mouse_input(middle, 0), mouse_input(to, 0),
          mouse_input(to, MOUSEEVENTF_LEFTUP)});
}

constexpr int kEditBoard = 3, kShowBoard = 4;

class BoardRoad : public ResidentTest {
protected:
    // The pictures are written and read through WIC.
    win::ComApartment apartment_{COINIT_APARTMENTTHREADED};

    void write_start_settings() override {
        write_settings(false);
        // The user's own wallpaper, set as any program sets it.
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
        user_wallpaper_ = win::join_path(folder_, L"own-wallpaper.png");
        BgraImage picture{std::vector<std::uint8_t>(64 * 64 * 4, 0x60), 64, 64};
        ASSERT_TRUE(save_image_atomically(picture, user_wallpaper_, ImageFormat::Png).ok());
        ASSERT_TRUE(SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, user_wallpaper_.data(),
                                          SPIF_UPDATEINIFILE | SPIF_SENDCHANGE));
    }

    // The tray menu opened as a click on the icon opens it, and the row
    // `downs` key presses down chosen with Enter.
    void choose_in_menu(int downs) {
        PostMessageW(resident_window_, WM_APP_TRAY, TRAY_ICON_ID, WM_RBUTTONUP);
        HWND menu = nullptr;
        ASSERT_TRUE(eventually([&] {
            for (HWND found = nullptr; (found = FindWindowExW(nullptr, found, L"Glimmerly.Menu", nullptr));) {
                DWORD process = 0;
                GetWindowThreadProcessId(found, &process);
                if (process == resident_.id && !GetWindow(found, GW_OWNER) && IsWindowVisible(found)) menu = found;
            }
            return menu != nullptr;
        }));
        for (int i = 0; i < downs; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    }

    // The board opened from the tray once the prepared editor is ready,
    // with one note drawn on it.
    Process open_board_with_a_note() {
        const Process prepared = wait_for_child();
        choose_in_menu(kEditBoard);
        Process board = wait_for_child(prepared.id);
        wait_for_capture(board);
        draw_rectangle(kNote);
        return board;
    }

    std::wstring board_folder() const { return win::join_path(folder_, L"board"); }
    bool board_shown_in_settings() {
        auto settings = read_settings_file(win::join_path(folder_, L"settings.txt"));
        return settings && settings->board_visible;
    }

    std::wstring user_wallpaper_;
};

// What the boxes said, for a failure's message.
std::string box_texts(const std::vector<AnsweredBox>& boxes) {
    std::string texts;
    for (const AnsweredBox& box : boxes) texts += "[" + utf16_to_utf8(win::to_u16(box.text)) + "] ";
    return texts;
}

TEST_F(BoardRoad, EditedFromTheTrayTheNoteIsSavedBakedShownAndHidingGivesTheUsersWallpaperBack) {
    const Process board = open_board_with_a_note();
    tap(VK_ESCAPE);
    ASSERT_EQ(WaitForSingleObject(board.handle.get(), 30000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(board.handle.get(), &code);
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(sweeper_.answered().empty()) << box_texts(sweeper_.answered());

    const auto text = read_test_file(win::join_path(board_folder(), L"page-1.txt"));
    ASSERT_TRUE(text);
    const auto page = read_board_file(*text);
    ASSERT_TRUE(page.ok());
    ASSERT_EQ(page->entries.size(), 1u);
    ASSERT_EQ(page->entries[0].scene.objects.size(), 1u);
    const SceneObject& note = page->entries[0].scene.objects[0];
    EXPECT_EQ(note.kind(), ObjectKind::Rectangle);
    EXPECT_EQ(object_bounds(note), (Box{double(kNote.left), double(kNote.top), double(kNote.right), double(kNote.bottom)}));

    const std::wstring baked = win::join_path(board_folder(), win::from_u16(baked_picture_name(page->entries[0].name)));
    const auto picture = load_image_file(baked);
    ASSERT_TRUE(picture.ok());
    EXPECT_TRUE(pixel_matches(*picture, kNote.left, (kNote.top + kNote.bottom) / 2, kNoteRed));
    EXPECT_TRUE(desktop_shows(baked));
    EXPECT_TRUE(board_shown_in_settings());

    choose_in_menu(kShowBoard);
    EXPECT_TRUE(eventually([&] { return !board_shown_in_settings(); }));
    EXPECT_TRUE(eventually([&] { return desktop_shows(user_wallpaper_); }));
    EXPECT_TRUE(sweeper_.answered().empty()) << box_texts(sweeper_.answered());
}

// The board's page is one note after a leave that saved it.
void expect_one_note_saved(const std::wstring& folder) {
    const auto text = read_test_file(win::join_path(folder, L"page-1.txt"));
    ASSERT_TRUE(text);
    const auto page = read_board_file(*text);
    ASSERT_TRUE(page.ok());
    ASSERT_EQ(page->entries.size(), 1u);
    EXPECT_EQ(page->entries[0].scene.objects.size(), 1u);
}

TEST_F(BoardRoad, ALeaveWhoseBakeCannotRunSavesTheNotesAndSaysTheWallpaperWasNotUpdated) {
    const Process board = open_board_with_a_note();
    // Another bake holds the board for longer than a leave waits.
    win::UniqueHandle bake(CreateMutexW(nullptr, FALSE, BOARD_BAKE_MUTEX));
    ASSERT_EQ(WaitForSingleObject(bake.get(), 0), WAIT_OBJECT_0);
    tap(VK_ESCAPE);
    EXPECT_TRUE(sweeper_.wait_for_text(
        L"The notes are saved, but the wallpaper was not updated: Another bake is still running", 60000))
        << box_texts(sweeper_.answered());
    ReleaseMutex(bake.get());
    ASSERT_EQ(WaitForSingleObject(board.handle.get(), 30000), WAIT_OBJECT_0);
    expect_one_note_saved(board_folder());
    EXPECT_FALSE(board_shown_in_settings());
    EXPECT_TRUE(desktop_shows(user_wallpaper_));
}

TEST_F(BoardRoad, ADisplayChangeWhileEditingSavesAndBakesTheBoardAndSaysSo) {
    const Process prepared = wait_for_child();
    choose_in_menu(kEditBoard);
    const Process board = wait_for_child(prepared.id);
    const HWND window = wait_for_capture(board);
    PostMessageW(window, WM_DISPLAYCHANGE, 32, MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
    EXPECT_TRUE(sweeper_.wait_for_text(L"The display configuration changed. The board was saved."))
        << box_texts(sweeper_.answered());
    ASSERT_EQ(WaitForSingleObject(board.handle.get(), 30000), WAIT_OBJECT_0);
    EXPECT_TRUE(read_test_file(win::join_path(board_folder(), L"page-1.txt")));
    EXPECT_TRUE(board_shown_in_settings());
    EXPECT_EQ(sweeper_.answered().size(), 1u) << box_texts(sweeper_.answered());
}

TEST_F(BoardRoad, APageDamagedWhileEditingKeepsTheEditorOnceAndTheNotesInTheSideFile) {
    const Process prepared = wait_for_child();
    choose_in_menu(kEditBoard);
    const Process board = wait_for_child(prepared.id);
    const HWND window = wait_for_capture(board);
    draw_rectangle(kNote);
    ASSERT_TRUE(write_test_file(win::join_path(board_folder(), L"page-1.txt"), "glimmerly-board 1\nnonsense\n"));
    tap(VK_ESCAPE);
    ASSERT_TRUE(sweeper_.wait_for_text(L"The board could not be saved: The board file is damaged. It was left untouched."));
    EXPECT_EQ(WaitForSingleObject(board.handle.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(board.handle.get(), 30000), WAIT_OBJECT_0);
    const auto kept = read_test_file(win::join_path(board_folder(), win::from_u16(kUnsavedPageFileName)));
    ASSERT_TRUE(kept);
    const auto notes = read_board_file(*kept);
    ASSERT_TRUE(notes.ok());
    ASSERT_EQ(notes->entries.size(), 1u);
    EXPECT_EQ(notes->entries[0].scene.objects.size(), 1u);
    // The damaged page is left as it was.
    EXPECT_EQ(read_test_file(win::join_path(board_folder(), L"page-1.txt")), "glimmerly-board 1\nnonsense\n");
}

// "glimmerly.exe --board-clear" and its exit code.
int run_clear(DialogSweeper& sweeper) { return run_program({L"--board-clear"}, {}, sweeper, 60000).exit_code; }

TEST_F(BoardRoad, TheClearWaitsForAnOpenEditorAndWithTheBoardHiddenLeavesAnEmptyPage) {
    const std::wstring page = win::join_path(board_folder(), L"page-1.txt");
    ASSERT_TRUE(CreateDirectoryW(board_folder().c_str(), nullptr));
    const std::string before = one_note_page("screen", {10, 10, 50, 50}, 100, 100);
    ASSERT_TRUE(write_test_file(page, before));
    {
        win::UniqueHandle editor(CreateMutexW(nullptr, FALSE, BOARD_MUTEX));
        EXPECT_EQ(run_clear(sweeper_), 1);
        EXPECT_TRUE(sweeper_.wait_for_text(L"The board is open for editing: close it first, then clear it."));
        EXPECT_EQ(read_test_file(page), before);
    }
    EXPECT_EQ(run_clear(sweeper_), 0);
    EXPECT_EQ(read_test_file(page), write_board_file(BoardFile{}).value_or("?"));
    EXPECT_TRUE(desktop_shows(user_wallpaper_));
}

}  // namespace
}  // namespace glimmerly
