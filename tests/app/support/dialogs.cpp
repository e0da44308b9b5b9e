#include "tests/app/support/dialogs.h"

#include <thread>

namespace glimmerly::testing_support {
namespace {

BOOL CALLBACK find_dialog(HWND window, LPARAM out) noexcept {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (std::wstring_view(name) == L"#32770" && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(out) = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK find_icon(HWND child, LPARAM out) noexcept {
    if (HICON icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0))) {
        *reinterpret_cast<HICON*>(out) = icon;
        return FALSE;
    }
    return TRUE;
}

// The first dialog (#32770) of the thread, waited for up to `timeout_ms`; null when none came.
HWND wait_for_dialog(DWORD thread_id, unsigned timeout_ms = 10000) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    for (;;) {
        HWND found = nullptr;
        EnumThreadWindows(thread_id, find_dialog, reinterpret_cast<LPARAM>(&found));
        if (found || GetTickCount64() > deadline) return found;
        Sleep(10);  // the box appears on another thread; there is no event to wait for
    }
}

std::wstring window_text(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The icon shown by a message box, or null.
HICON message_box_icon(HWND dialog) {
    HICON icon = nullptr;
    EnumChildWindows(dialog, find_icon, reinterpret_cast<LPARAM>(&icon));
    return icon;
}

}  // namespace

AnsweredBox answer_message_box(const std::function<void()>& action) {
    AnsweredBox shown;
    DWORD thread_id = 0;
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread worker([&] {
        thread_id = GetCurrentThreadId();
        SetEvent(ready);
        action();
    });
    WaitForSingleObject(ready, INFINITE);
    CloseHandle(ready);
    if (HWND dialog = wait_for_dialog(thread_id)) {
        shown.title = window_text(dialog);
        shown.text = window_text(GetDlgItem(dialog, 0xFFFF));
        shown.icon = message_box_icon(dialog);
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }
    worker.join();
    return shown;
}

}  // namespace glimmerly::testing_support
