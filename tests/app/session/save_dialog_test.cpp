#include "app/session/save_dialog.h"

#include <gtest/gtest.h>

#include <thread>

#include "core/paths/save_types.h"
#include "tests/app/support/files.h"
#include "tests/app/support/temp_folder.h"

namespace glimmerly {
namespace {

using testing_support::TempFolder;
using testing_support::write_test_file;

std::wstring name_in_box(IFileDialog& dialog) {
    PWSTR name = nullptr;
    if (FAILED(dialog.GetFileName(&name)) || !name) return L"(none)";
    std::wstring out(name);
    CoTaskMemFree(name);
    return out;
}

std::string trace(const std::wstring& text) { return std::string(text.begin(), text.end()); }

TEST(SaveDialog, ProposesTheNextNumberAndKeepsTheNameInStepWithTheType) {
    win::ComApartment com;
    TempFolder folder;
    ASSERT_TRUE(write_test_file(folder.path() + L"\\003.png", ""));
    auto prepared = prepare_save_dialog(folder.path(), ImageFormat::Jpeg);
    ASSERT_TRUE(prepared.ok()) << prepared.failure().message;
    IFileSaveDialog& dialog = *prepared->dialog.get();
    UINT type = 0;
    ASSERT_EQ(dialog.GetFileTypeIndex(&type), S_OK);
    EXPECT_EQ(type, SAVE_TYPE_JPEG);
    EXPECT_EQ(name_in_box(dialog), L"004.jpg");

    struct Row {
        const wchar_t* typed;  // null: leave the box as it is
        std::uint32_t type;
        const wchar_t* shown;
    };
    const Row rows[] = {
        {nullptr, SAVE_TYPE_PNG, L"004.png"},
        {nullptr, SAVE_TYPE_DOCUMENT, L"004.vexil"},
        {L"report.png", SAVE_TYPE_DOCUMENT, L"report.vexil"},
        {nullptr, SAVE_TYPE_JPEG, L"report.jpg"},
        {L"report", SAVE_TYPE_PNG, L"report"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(trace(row.shown));
        if (row.typed) {
            ASSERT_EQ(dialog.SetFileName(row.typed), S_OK);
        }
        ASSERT_EQ(dialog.SetFileTypeIndex(row.type), S_OK);
        ASSERT_EQ(prepared->events->OnTypeChange(&dialog), S_OK);
        EXPECT_EQ(name_in_box(dialog), row.shown);
    }
}

TEST(SaveDialog, AProposedNumberFollowsTheFolderBrowsedTo) {
    win::ComApartment com;
    TempFolder first, second;
    ASSERT_TRUE(write_test_file(first.path() + L"\\007.png", ""));
    ASSERT_TRUE(write_test_file(second.path() + L"\\capture 41.jpg", ""));
    auto prepared = prepare_save_dialog(first.path(), ImageFormat::Png);
    ASSERT_TRUE(prepared.ok()) << prepared.failure().message;
    IFileSaveDialog& dialog = *prepared->dialog.get();
    EXPECT_EQ(name_in_box(dialog), L"008.png");
    win::ComPtr<IShellItem> item;
    ASSERT_EQ(SHCreateItemFromParsingName(second.path().c_str(), nullptr, __uuidof(IShellItem), item.put_void()),
              S_OK);
    ASSERT_EQ(dialog.SetFolder(item.get()), S_OK);
    ASSERT_EQ(prepared->events->OnFolderChange(&dialog), S_OK);
    EXPECT_EQ(name_in_box(dialog), L"042.png");

    // A missing remembered folder falls back to the Desktop without a word.
    const auto desktop = save_folder_or_desktop(first.path() + L"\\gone");
    ASSERT_TRUE(desktop.ok());
    EXPECT_NE(*desktop, first.path() + L"\\gone");
    EXPECT_TRUE(GetFileAttributesW(desktop->c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

// The dialog of this thread, once it is shown.
HWND shown_dialog(DWORD thread) {
    HWND found = nullptr;
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM out) noexcept -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (std::wstring_view(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
            *reinterpret_cast<HWND*>(out) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

TEST(SaveDialog, OpensCentredInTheWorkAreaUnderThePointerAndCancels) {
    win::ComApartment com;
    TempFolder folder;
    ASSERT_TRUE(SetCursorPos(300, 200));
    MONITORINFO monitor{sizeof monitor};
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint(POINT{300, 200}, MONITOR_DEFAULTTONEAREST), &monitor));
    const RECT work = monitor.rcWork;

    const DWORD thread = GetCurrentThreadId();
    RECT placed{};
    std::thread sweeper([&] {
        // The dialog shows on the test's thread, which is inside Show; this
        // one answers it. Centring comes with the first folder shown, a
        // moment after the window appears.
        const ULONGLONG deadline = GetTickCount64() + 20000;
        HWND dialog = nullptr;
        while (GetTickCount64() < deadline) {
            if (!dialog) dialog = shown_dialog(thread);
            if (dialog) {
                GetWindowRect(dialog, &placed);
                const LONG centre_x = (placed.left + placed.right) / 2, centre_y = (placed.top + placed.bottom) / 2;
                if (std::abs(centre_x - (work.left + work.right) / 2) <= 1 &&
                    std::abs(centre_y - (work.top + work.bottom) / 2) <= 1)
                    break;
            }
            Sleep(20);  // the dialog's own thread is busy in Show: nothing to wait on
        }
        if (dialog) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    const auto shown = run_save_dialog(nullptr, folder.path(), ImageFormat::Png);
    sweeper.join();
    ASSERT_TRUE(shown.ok()) << shown.failure().message;
    EXPECT_FALSE(shown->has_value());  // cancelled
    const LONG width = placed.right - placed.left, height = placed.bottom - placed.top;
    EXPECT_GT(width, 0);
    EXPECT_EQ(placed.left, work.left + std::max<LONG>((work.right - work.left - width) / 2, 0));
    EXPECT_EQ(placed.top, work.top + std::max<LONG>((work.bottom - work.top - height) / 2, 0));
}

}  // namespace
}  // namespace glimmerly
