// The smallest program that does what the resident does before any capture,
// and what a capture's cold start does: the yardstick that
// bench/capture_start.py measures beside the program in the same run.
//   resident_standin            an icon in the notification area and Print
//                               Screen as a hotkey; each press starts a child
//   resident_standin --child    grabs the screen into a DIB section and shows
//                               it in a topmost window over the whole virtual
//                               screen; ends on Escape or after two seconds
// Quit the resident by closing its window (WM_CLOSE). Statically linked with
// the same runtime as the program; no Direct2D, no settings, no job objects.
// Not part of the product.

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

constexpr wchar_t kResidentClass[] = L"Glimmerly.Bench.StandIn";
constexpr wchar_t kChildClass[] = L"Glimmerly.Bench.StandInCapture";
constexpr UINT kTrayMessage = WM_APP + 1;
constexpr int kHotkey = 1;
constexpr UINT_PTR kEndTimer = 1;

HDC g_frame = nullptr;  // the child's grab, painted as it is
int g_width = 0, g_height = 0;

void start_child() {
    wchar_t path[MAX_PATH];
    if (!GetModuleFileNameW(nullptr, path, MAX_PATH)) return;
    std::wstring command = L"\"" + std::wstring(path) + L"\" --child";
    STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(path, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return;
    AllowSetForegroundWindow(info.dwProcessId);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

LRESULT CALLBACK resident_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    switch (message) {
        case WM_HOTKEY: start_child(); return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: return DefWindowProcW(window, message, wparam, lparam);
    }
}

LRESULT CALLBACK child_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    switch (message) {
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            const HDC dc = BeginPaint(window, &paint);
            BitBlt(dc, 0, 0, g_width, g_height, g_frame, 0, 0, SRCCOPY);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_KEYDOWN:
            if (wparam == VK_ESCAPE) DestroyWindow(window);
            return 0;
        case WM_TIMER: DestroyWindow(window); return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: return DefWindowProcW(window, message, wparam, lparam);
    }
}

int run_resident(HINSTANCE instance) {
    WNDCLASSW window_class{.lpfnWndProc = resident_proc, .hInstance = instance, .lpszClassName = kResidentClass};
    if (!RegisterClassW(&window_class)) return 1;
    const HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, kResidentClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                        instance, nullptr);
    if (!window) return 1;
    NOTIFYICONDATAW icon{.cbSize = sizeof(NOTIFYICONDATAW), .hWnd = window, .uID = 1,
                         .uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP, .uCallbackMessage = kTrayMessage,
                         .hIcon = LoadIconW(nullptr, IDI_APPLICATION)};
    lstrcpynW(icon.szTip, L"Stand-in", ARRAYSIZE(icon.szTip));
    Shell_NotifyIconW(NIM_ADD, &icon);
    if (!RegisterHotKey(window, kHotkey, 0, VK_SNAPSHOT)) return 2;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    Shell_NotifyIconW(NIM_DELETE, &icon);
    return 0;
}

int run_child(HINSTANCE instance) {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    g_width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    g_height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const HDC screen = GetDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {.biSize = sizeof(BITMAPINFOHEADER), .biWidth = g_width, .biHeight = -g_height, .biPlanes = 1,
                      .biBitCount = 32, .biCompression = BI_RGB};
    void* bits = nullptr;
    const HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    g_frame = CreateCompatibleDC(screen);
    const HGDIOBJ old = SelectObject(g_frame, dib);
    BitBlt(g_frame, 0, 0, g_width, g_height, screen, left, top, SRCCOPY | CAPTUREBLT);
    ReleaseDC(nullptr, screen);

    WNDCLASSW window_class{.lpfnWndProc = child_proc, .hInstance = instance,
                           .hCursor = LoadCursorW(nullptr, IDC_CROSS), .lpszClassName = kChildClass};
    RegisterClassW(&window_class);
    const HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kChildClass, L"", WS_POPUP, left, top,
                                        g_width, g_height, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetTimer(window, kEndTimer, 2000, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    SelectObject(g_frame, old);
    DeleteDC(g_frame);
    DeleteObject(dib);
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
    const bool child = command_line && std::wstring(command_line).find(L"--child") != std::wstring::npos;
    return child ? run_child(instance) : run_resident(instance);
}
