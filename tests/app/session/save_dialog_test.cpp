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

TEST(SaveDialog, ProposesTheNextNumberAndKeepsTheNameInStepWithTypeAndFolder) {
    win::ComApartment com;
    TempFolder folder, other;
    ASSERT_TRUE(write_test_file(folder.path() + L"\\003.png", ""));
    ASSERT_TRUE(write_test_file(other.path() + L"\\capture 41.jpg", ""));
    auto prepared = prepare_save_dialog(folder.path(), ImageFormat::Jpeg);
    ASSERT_TRUE(prepared.ok()) << prepared.failure().message;
    IFileSaveDialog& dialog = *prepared->dialog.get();
    UINT type = 0;
    ASSERT_EQ(dialog.GetFileTypeIndex(&type), S_OK);
    EXPECT_EQ(type, SAVE_TYPE_JPEG);
    EXPECT_EQ(name_in_box(dialog), L"004.jpg");

    const std::pair<std::uint32_t, const wchar_t*> switches[] = {{SAVE_TYPE_PNG, L"004.png"},
                                                                 {SAVE_TYPE_DOCUMENT, L"004.vexil"}};
    for (const auto& [switched_to, shown] : switches) {
        ASSERT_EQ(dialog.SetFileTypeIndex(switched_to), S_OK);
        ASSERT_EQ(prepared->events->OnTypeChange(&dialog), S_OK);
        EXPECT_EQ(name_in_box(dialog), shown);
    }
    // A proposed number follows the folder browsed to.
    win::ComPtr<IShellItem> item;
    ASSERT_EQ(SHCreateItemFromParsingName(other.path().c_str(), nullptr, __uuidof(IShellItem), item.put_void()), S_OK);
    ASSERT_EQ(dialog.SetFolder(item.get()), S_OK);
    ASSERT_EQ(prepared->events->OnFolderChange(&dialog), S_OK);
    EXPECT_EQ(name_in_box(dialog), L"042.vexil");
    // A typed name keeps its stem.
    ASSERT_EQ(dialog.SetFileName(L"report.vexil"), S_OK);
    ASSERT_EQ(dialog.SetFileTypeIndex(SAVE_TYPE_JPEG), S_OK);
    ASSERT_EQ(prepared->events->OnTypeChange(&dialog), S_OK);
    EXPECT_EQ(name_in_box(dialog), L"report.jpg");

    // A missing remembered folder falls back to the Desktop without a word.
    const auto desktop = save_folder_or_desktop(folder.path() + L"\\gone");
    ASSERT_TRUE(desktop.ok());
    EXPECT_NE(*desktop, folder.path() + L"\\gone");
    EXPECT_TRUE(GetFileAttributesW(desktop->c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

BOOL CALLBACK find_dialog(HWND window, LPARAM out) noexcept {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (std::wstring_view(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(out) = window;
    return FALSE;
}

TEST(SaveDialog, OpensCentredInTheWorkAreaUnderThePointerAndCancels) {
    win::ComApartment com;
    TempFolder folder;
    ASSERT_TRUE(SetCursorPos(300, 200));
    MONITORINFO monitor{sizeof monitor};
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint(POINT{300, 200}, MONITOR_DEFAULTTONEAREST), &monitor));
    const RECT work = monitor.rcWork;
    const auto centred = [&](const RECT& r) {
        const LONG width = r.right - r.left, height = r.bottom - r.top;
        return width > 0 && r.left == work.left + std::max<LONG>((work.right - work.left - width) / 2, 0) &&
               r.top == work.top + std::max<LONG>((work.bottom - work.top - height) / 2, 0);
    };
    // The dialog runs modal on this thread, inside Show; another answers it
    // once it has been centred (with the first folder shown, a moment after
    // it appears) or after 20 s.
    const DWORD thread = GetCurrentThreadId();
    RECT placed{};
    std::thread sweeper([&] {
        HWND dialog = nullptr;
        for (const ULONGLONG deadline = GetTickCount64() + 20000; GetTickCount64() < deadline; Sleep(20)) {
            if (!dialog) EnumThreadWindows(thread, find_dialog, reinterpret_cast<LPARAM>(&dialog));
            if (dialog && GetWindowRect(dialog, &placed) && centred(placed)) break;
        }
        if (dialog) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    const auto shown = run_save_dialog(nullptr, folder.path(), ImageFormat::Png);
    sweeper.join();
    ASSERT_TRUE(shown.ok()) << shown.failure().message;
    EXPECT_FALSE(shown->has_value());  // cancelled
    EXPECT_TRUE(centred(placed));
}

}  // namespace
}  // namespace glimmerly
