// The Windows side of bench/capture_start.py, which times the capture
// shortcut from outside the program. Each command does one small thing in
// the benchmark's Wine prefix and prints its answer on standard output:
//   settings        writes settings whose capture shortcut is Print Screen
//   target          shows a full-screen picture for the pointer to rest on
//                   (keys typed on the display reach Wine only over a Wine
//                   window) and runs until it is ended
//   child [PID]     waits for the resident's editor child other than PID to
//                   run its loop, and prints its process id
//   opened          waits until the resident's child has opened its
//                   capture, and prints its process id
//   closed PID      waits for the capture's child to end (after the
//                   Escape typed on the display); prints "posted" when it
//                   had to post the Escape itself after two seconds
//   kill PID        ends that process and waits for its end
//   quit            quits the resident as its menu does, and waits for it
//   usage           prints the resident's private bytes, GDI objects, USER
//                   objects and handles
// Not part of the product.

#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "app/app/commands.h"
#include "app/app/messages.h"
#include "app/lib/program_folders.h"
#include "app/lib/settings_store.h"
#include "app/win/owners.h"
#include "bench/windows/shown_windows.h"

namespace glimmerly {
namespace {

int write_bench_settings() {
    Settings settings;
    settings.capture_shortcut = {0, VK_SNAPSHOT};
    settings.start_with_windows = false;
    auto folder = program_folder_path();
    if (!folder) return 1;
    return save_settings_file(settings, *folder + L"\\settings.txt") ? 0 : 1;
}

LRESULT CALLBACK target_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message == WM_ERASEBKGND) return 1;
    if (message == WM_DESTROY) PostQuitMessage(0);
    if (message != WM_PAINT) return DefWindowProcW(window, message, wparam, lparam);
    win::PaintDc paint(window);
    RECT client{};
    GetClientRect(window, &client);
    for (LONG y = 0; y < client.bottom; y += 60) {
        const RECT band{0, y, client.right, y + 60};
        win::UniqueBrush brush(CreateSolidBrush(RGB(y * 255 / client.bottom, 90, 255 - y * 255 / client.bottom)));
        FillRect(paint.get(), &band, brush.get());
    }
    return 0;
}

int show_target() {
    WNDCLASSW window_class{.lpfnWndProc = target_proc, .lpszClassName = L"Glimmerly.Bench.Target"};
    RegisterClassW(&window_class);
    win::UniqueWindow window(CreateWindowExW(WS_EX_TOOLWINDOW, window_class.lpszClassName, L"", WS_POPUP,
                                             GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                                             GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN),
                                             nullptr, nullptr, nullptr, nullptr));
    ShowWindow(window.get(), SW_SHOWNOACTIVATE);
    UpdateWindow(window.get());
    std::printf("ready\n");
    std::fflush(stdout);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}

// The resident is the program whose application window is a tool window.
DWORD resident_process() {
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, L"Glimmerly.Window", nullptr));) {
        if (!(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) continue;
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        return process;
    }
    return 0;
}

using bench::app_window_of;

DWORD running_child(DWORD parent, DWORD other) {
    win::UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{.dwSize = sizeof(PROCESSENTRY32W)};
    for (bool more = snapshot && Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ParentProcessID != parent || entry.th32ProcessID == other) continue;
        win::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID));
        if (process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) return entry.th32ProcessID;
    }
    return 0;
}

// A child's window answers a sent message only from its loop, which a
// prepared child enters once it is warm and has reported ready.
int wait_for_child(DWORD other) {
    for (int tries = 0; tries < 3000; ++tries, Sleep(10)) {
        const DWORD child = running_child(resident_process(), other);
        const HWND window = child ? app_window_of(child) : nullptr;
        DWORD_PTR ignored = 0;
        if (!window || !SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored)) continue;
        std::printf("%lu\n", child);
        return 0;
    }
    return 1;
}

// The child's window answers once the message that opened the capture is
// done, so a key typed after this reaches the capture in the foreground.
int wait_until_opened() {
    for (int tries = 0; tries < 3000; ++tries, Sleep(10)) {
        const DWORD child = running_child(resident_process(), 0);
        const HWND window = child ? app_window_of(child) : nullptr;
        DWORD_PTR ignored = 0;
        if (window && IsWindowVisible(window) &&
            SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored)) {
            std::printf("%lu\n", child);
            return 0;
        }
    }
    return 1;
}

int wait_until_closed(DWORD child) {
    win::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, child));
    if (!process) return 0;  // already gone
    if (WaitForSingleObject(process.get(), 2000) == WAIT_OBJECT_0) return 0;
    const HWND window = app_window_of(child);
    std::printf("posted\n");
    PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    if (WaitForSingleObject(process.get(), 30000) == WAIT_OBJECT_0) return 0;
    // What holds the capture open: a box would say why.
    bench::print_shown_windows(child, L"still shown");
    return 1;
}

int quit_resident() {
    const DWORD id = resident_process();
    win::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, id));
    const HWND window = app_window_of(id);
    if (!process || !window || !PostMessageW(window, WM_APP_MENU_COMMAND, APP_COMMAND_QUIT, 0)) return 1;
    return WaitForSingleObject(process.get(), 30000) == WAIT_OBJECT_0 ? 0 : 1;
}

int print_resident_usage() {
    win::UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, resident_process()));
    PROCESS_MEMORY_COUNTERS_EX memory{};
    DWORD handles = 0;
    if (!process ||
        !GetProcessMemoryInfo(process.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory)) ||
        !GetProcessHandleCount(process.get(), &handles))
        return 1;
    std::printf("%zu %lu %lu %lu\n", memory.PrivateUsage, GetGuiResources(process.get(), GR_GDIOBJECTS),
                GetGuiResources(process.get(), GR_USEROBJECTS), handles);
    return 0;
}

int end_process(DWORD id) {
    win::UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
    if (!process || !TerminateProcess(process.get(), 3)) return 1;
    return WaitForSingleObject(process.get(), 10000) == WAIT_OBJECT_0 ? 0 : 1;
}

}  // namespace
}  // namespace glimmerly

int wmain(int argc, wchar_t** argv) {
    using namespace glimmerly;
    const std::wstring command = argc > 1 ? argv[1] : L"";
    const DWORD pid = argc > 2 ? std::wcstoul(argv[2], nullptr, 10) : 0;
    if (command == L"settings") return write_bench_settings();
    if (command == L"target") return show_target();
    if (command == L"child") return wait_for_child(pid);
    if (command == L"opened") return wait_until_opened();
    if (command == L"closed") return wait_until_closed(pid);
    if (command == L"kill") return end_process(pid);
    if (command == L"quit") return quit_resident();
    if (command == L"usage") return print_resident_usage();
    std::fprintf(stderr, "usage: capture_bench_helper settings | target | child [PID] | opened | closed PID | "
                         "kill PID | quit | usage\n");
    return 2;
}
