#include "tests/app/support/injected_input.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "app/win/owners.h"

namespace glimmerly::testing_support {

INPUT key_input(WORD key, bool up, wchar_t unicode) {
    INPUT input{.type = INPUT_KEYBOARD};
    input.ki = {.wVk = unicode ? WORD{0} : key, .wScan = unicode, .dwFlags = DWORD(up ? KEYEVENTF_KEYUP : 0)};
    if (unicode) input.ki.dwFlags |= KEYEVENTF_UNICODE;
    return input;
}

INPUT mouse_input(POINT at, DWORD flags, DWORD wheel) {
    INPUT input{.type = INPUT_MOUSE};
    // Rounded up, so that the system's truncation back to pixels lands on the pixel.
    const auto normal = [](LONG v, int extent) { return static_cast<LONG>((v * 65536 + extent - 1) / extent); };
    input.mi = {.dx = normal(at.x, GetSystemMetrics(SM_CXSCREEN)),
                .dy = normal(at.y, GetSystemMetrics(SM_CYSCREEN)),
                .mouseData = wheel,
                .dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE};
    return input;
}

void send(std::vector<INPUT> inputs) {
    EXPECT_EQ(SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)), inputs.size());
}

namespace {

// The X window that Wine keeps behind a top-level window, as a window
// property of its own; none on Windows.
std::uintptr_t x_window_of(HWND window) {
    return reinterpret_cast<std::uintptr_t>(GetPropW(window, L"__wine_x11_whole_window"));
}

// xdotool, a program of the host that Wine runs as it is, names the X window
// with the keyboard focus; nothing when it cannot be run. Wine hands back no
// process to wait for and gives it no pipe as its output: it writes a file,
// read once its line is whole.
std::optional<std::uintptr_t> x_input_focus() {
    wchar_t folder[MAX_PATH], path[MAX_PATH];
    if (!GetTempPathW(MAX_PATH, folder) || !GetTempFileNameW(folder, L"xfo", 0, path)) return std::nullopt;
    SECURITY_ATTRIBUTES inherited{.nLength = sizeof(SECURITY_ATTRIBUTES), .bInheritHandle = TRUE};
    win::UniqueHandle output(CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         &inherited, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr));
    if (!output) return std::nullopt;
    std::wstring command = L"Z:\\usr\\bin\\xdotool getwindowfocus -f";
    STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW), .dwFlags = STARTF_USESTDHANDLES};
    startup.hStdOutput = output.get();
    PROCESS_INFORMATION started{};
    const bool ran =
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started);
    // A host program comes with no process, and Wine leaves in hThread what
    // is no handle of ours: closing it would close one of this process's.
    if (started.hProcess) {
        CloseHandle(started.hProcess);
        CloseHandle(started.hThread);
    }
    output.reset();
    std::optional<std::uintptr_t> focus;
    for (const ULONGLONG end = GetTickCount64() + 5000; ran && !focus && GetTickCount64() < end;) {
        win::UniqueHandle reader(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                             nullptr, OPEN_EXISTING, 0, nullptr));
        char text[32] = {};
        DWORD read = 0;
        if (reader && ReadFile(reader.get(), text, sizeof text - 1, &read, nullptr) && std::memchr(text, '\n', read))
            focus = static_cast<std::uintptr_t>(std::strtoull(text, nullptr, 10));
        else
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    DeleteFileW(path);
    return focus;
}

}  // namespace

bool wait_for_keyboard_focus(HWND window) {
    const std::uintptr_t x_window = x_window_of(window);
    if (!x_window) return true;
    for (const ULONGLONG end = GetTickCount64() + 10000; x_input_focus() != x_window;) {
        if (GetTickCount64() >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    // The display sent its focus events before it answered xdotool; Wine
    // handles them when the thread next waits for messages.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
    return true;
}

}  // namespace glimmerly::testing_support
