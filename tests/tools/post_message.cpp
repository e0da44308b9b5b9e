// Posts one message to the first top-level window of a class, for scripts
// and tests that drive the running program from outside:
//   post_message.exe <window class> <message> <wParam> <lParam>
// Numbers are decimal or 0x-prefixed hexadecimal. Exit code 0 when the
// message was queued, 1 when no window has the class, 2 when the post
// failed, 3 for wrong arguments.

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

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) return 3;
    const auto message = number_of(argv[2]), wparam = number_of(argv[3]), lparam = number_of(argv[4]);
    if (!message || !wparam || !lparam) return 3;
    const HWND window = FindWindowW(argv[1], nullptr);
    if (!window) return 1;
    return PostMessageW(window, static_cast<UINT>(*message), static_cast<WPARAM>(*wparam),
                        static_cast<LPARAM>(*lparam))
               ? 0
               : 2;
}
