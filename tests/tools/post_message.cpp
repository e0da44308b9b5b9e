// Posts one message to the first top-level window of a class, for scripts
// and tests that drive the running program from outside:
//   post_message.exe <window class> <message> <wParam> <lParam> [process id]
// With a process id, only that process's windows count: the resident and
// its editor child have application windows of the same class. Numbers are
// decimal or 0x-prefixed hexadecimal. Exit code 0 when the message was
// queued, 1 when no window has the class, 2 when the post failed, 3 for
// wrong arguments.

#include <windows.h>

#include <cwchar>
#include <optional>

namespace {

std::optional<unsigned long long> number_of(const wchar_t* text) {
    wchar_t* end = nullptr;
    const unsigned long long value = std::wcstoull(text, &end, 0);
    if (end == text || *end != L'\0') return std::nullopt;
    return value;
}

}  // namespace

HWND find_window(const wchar_t* window_class, std::optional<unsigned long long> process) {
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, window_class, nullptr));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (!process || owner == *process) return window;
    }
    return nullptr;
}

int wmain(int argc, wchar_t** argv) {
    if (argc != 5 && argc != 6) return 3;
    const auto message = number_of(argv[2]), wparam = number_of(argv[3]), lparam = number_of(argv[4]);
    const auto process = argc == 6 ? number_of(argv[5]) : std::optional<unsigned long long>(0);
    if (!message || !wparam || !lparam || !process) return 3;
    const HWND window = find_window(argv[1], argc == 6 ? process : std::nullopt);
    if (!window) return 1;
    return PostMessageW(window, static_cast<UINT>(*message), static_cast<WPARAM>(*wparam),
                        static_cast<LPARAM>(*lparam))
               ? 0
               : 2;
}
