#pragma once
// The program's windows as a harness finds them from outside: its
// application window, and what it shows when it does not get where the
// harness waits for it (a box it shows says why).

#include <windows.h>

#include <cwchar>

namespace glimmerly::bench {

// The application window of `process`, or null.
inline HWND app_window_of(DWORD process) {
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, L"Glimmerly.Window", nullptr));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process) return window;
    }
    return nullptr;
}

// Writes each visible top-level window of `process` to standard error, its
// class and title after `label`.
inline void print_shown_windows(DWORD process, const wchar_t* label) {
    struct Look {
        DWORD process;
        const wchar_t* label;
    } look{process, label};
    EnumWindows(
        [](HWND shown, LPARAM lparam) noexcept -> BOOL {
            const auto& look = *reinterpret_cast<const Look*>(lparam);
            DWORD process_id = 0;
            GetWindowThreadProcessId(shown, &process_id);
            wchar_t name[64] = {}, title[256] = {};
            if (process_id != look.process || !IsWindowVisible(shown)) return TRUE;
            GetClassNameW(shown, name, 64);
            GetWindowTextW(shown, title, 256);
            std::fwprintf(stderr, L"%ls: %ls \"%ls\"\n", look.label, name, title);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&look));
}

}  // namespace glimmerly::bench
