#include "tests/app/support/dialogs.h"

namespace glimmerly::testing_support {
namespace {

// A hook has no context argument: the box being waited for is noted here,
// one at a time, by the thread that shows it.
AnsweredBox* g_waiting = nullptr;

std::wstring window_text(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

BOOL CALLBACK find_icon(HWND child, LPARAM out) noexcept {
    *reinterpret_cast<HICON*>(out) = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    return *reinterpret_cast<HICON*>(out) == nullptr;
}

// The box is complete when it is first activated: its dialog has filled it.
LRESULT CALLBACK on_window_event(int code, WPARAM w, LPARAM l) noexcept {
    if (code == HCBT_ACTIVATE && g_waiting) {
        const HWND box = reinterpret_cast<HWND>(w);
        g_waiting->title = window_text(box);
        g_waiting->text = window_text(GetDlgItem(box, 0xFFFF));
        EnumChildWindows(box, find_icon, reinterpret_cast<LPARAM>(&g_waiting->icon));
        g_waiting = nullptr;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(nullptr, code, w, l);
}

}  // namespace

AnsweredBox answer_message_box(const std::function<void()>& action) {
    AnsweredBox shown;
    g_waiting = &shown;
    const HHOOK hook = SetWindowsHookExW(WH_CBT, on_window_event, nullptr, GetCurrentThreadId());
    action();
    UnhookWindowsHookEx(hook);
    g_waiting = nullptr;
    return shown;
}

}  // namespace glimmerly::testing_support
