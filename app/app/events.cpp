#include "app/app/events.h"

#include <algorithm>
#include <deque>

#include "app/app/error_box.h"
#include "app/app/messages.h"
#include "app/presentation/events.h"
#include "app/presentation/pointer_effects.h"
#include "app/win/failure.h"
#include "app/win/fiber_local.h"
#include "text/text_table.h"

namespace glimmerly {
namespace {

// One queue per thread: the windows of a thread share it, and nothing that
// holds it pumps messages, so a borrow of it always succeeds.
using DeferredQueue = BorrowCell<std::deque<DeferredMessage>>;
win::FiberLocal<DeferredQueue> g_deferred;

bool is_presentation_message(UINT message, WPARAM wparam) {
    switch (message) {
        case WM_INPUT:
        case WM_APP_PRESENTATION_FAILED:
        case WM_APP_KEY_REPORT:
        case WM_APP_LOUPE_WINDOW_EVENT:
        case WM_APP_LOUPE_FRAME_ARRIVED: return true;
        case WM_HOTKEY: return wparam >= HOTKEY_ID_PRESENTATION_STOP && wparam <= HOTKEY_ID_MAGNIFIER;
        case WM_TIMER: return wparam == TIMER_PRESENTATION_FRAME;
        default: return false;
    }
}

Status read_raw_input(PresentationState& state, LPARAM lparam) {
    RAWINPUT input{};
    UINT size = sizeof input;
    const UINT read =
        GetRawInputData(reinterpret_cast<HRAWINPUT>(lparam), RID_INPUT, &input, &size, sizeof(RAWINPUTHEADER));
    if (read == static_cast<UINT>(-1)) return win::win32_failure("GetRawInputData");
    auto checked = checked_raw_input(input, read);
    if (!checked) return std::move(checked).failure();
    return handle_raw_input(state, **checked);
}

Status dispatch_to_presentation(PresentationState& state, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_HOTKEY:
            EndMenu();  // an open menu would hold the keys the shortcut is about to use
            return handle_presentation_hotkey(state, static_cast<int>(wparam));
        case WM_TIMER: return tick_presentation(state);
        case WM_APP_LOUPE_WINDOW_EVENT: return refresh_loupe_sources(state);
        case WM_APP_LOUPE_FRAME_ARRIVED: return drain_loupe_frames(state);
        case WM_APP_KEY_REPORT: return record_key_report(state, wparam, lparam);
        case WM_INPUT: return read_raw_input(state, lparam);
        case WM_APP_PRESENTATION_FAILED: return plain_failure("A presentation window failed");
        default: return ok_status();
    }
}

void show_presentation_stopped(HWND window) {
    show_message_box(window, text_of(current_language(), TextId::error_presentation_stopped));
}

// None when the window has no presentation state: the App answers then.
std::optional<LRESULT> route_to_presentation(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    PresentationCell* cell = attached_presentation_state(window);
    if (!cell) return std::nullopt;
    bool stopped = message == WM_APP_PRESENTATION_FAILED;
    if (auto state = cell->try_borrow()) {
        if (Status done = dispatch_to_presentation(*state, message, wparam, lparam); !done) {
            // A failing effect must not keep failing on every frame.
            (void)stop_presentation(*state);
            stopped = true;
        }
    } else if (message == WM_APP_KEY_REPORT) {
        PostMessageW(window, message, wparam, lparam);  // a key report is never lost
    } else if (message == WM_APP_LOUPE_WINDOW_EVENT) {
        // Dropped with its mark still set, it would silence every later
        // window event (a box shown under a presentation handler does this).
        clear_loupe_window_event();
    }
    if (stopped) show_presentation_stopped(window);
    // The system frees raw input only through the default procedure.
    if (message == WM_INPUT) return DefWindowProcW(window, message, wparam, lparam);
    return 0;
}

bool is_deferred_while_busy(UINT message) {
    return message == WM_APP_EDITOR_READY || message == WM_APP_CAPTURE_TAKEN || message == WM_APP_EDITOR_EXITED ||
           message == WM_DISPLAYCHANGE || message == WM_CLOSE || message == taskbar_created_message() ||
           // A refusal told while the App is busy would otherwise stay unshown.
           message == WM_APP_TYPING_REFUSED;
}

// A message kept while the App was busy must not be overtaken by one that
// arrives once it is free: a child's exit handled before the report it sent
// earlier would judge the child by a state it had already left (a capture
// it had acknowledged would be asked for again).
bool kept_messages_wait(HWND window, UINT message) {
    if (!is_deferred_while_busy(message)) return false;
    DeferredQueue* cell = g_deferred.get();
    if (!cell) return false;
    auto queue = cell->try_borrow();
    return queue && std::any_of(queue->begin(), queue->end(),
                                [&](const DeferredMessage& entry) { return entry.window == window; });
}

LRESULT keep_for_later(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (is_deferred_while_busy(message)) {
        auto cell = g_deferred.get_or_make([]() -> Result<std::unique_ptr<DeferredQueue>> {
            return std::make_unique<DeferredQueue>();
        });
        if (auto queue = cell ? (*cell)->try_borrow() : DeferredQueue::Borrow()) {
            // Only the last display layout matters.
            if (message == WM_DISPLAYCHANGE && !queue->empty() && queue->back().message == WM_DISPLAYCHANGE &&
                queue->back().window == window) {
                queue->back().wparam = wparam;
                queue->back().lparam = lparam;
            } else {
                queue->push_back(DeferredMessage{window, wparam, message, lparam});
            }
        }
        SetTimer(window, TIMER_DEFERRED_REPLAY, kReplayDelayMs, nullptr);
        return 0;
    }
    if (message == WM_APP_INSTANT_SCREENSHOT_DONE) {
        // The worker's result waits in its channel until the retry takes it.
        SetTimer(window, TIMER_INSTANT_RETRY, kReplayDelayMs, nullptr);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT route_to_app(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* cell = reinterpret_cast<AppCell*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!cell) return DefWindowProcW(window, message, wparam, lparam);
    auto app = cell->try_borrow();
    if (!app || kept_messages_wait(window, message)) return keep_for_later(window, message, wparam, lparam);
    AppAnswer answer = handle_app_message(*app, window, message, wparam, lparam);
    if (answer && *answer) return **answer;
    if (!answer) {
        // Shown with the App still held: what arrives meanwhile is kept.
        show_error_box(window, answer.failure());
        if (app->in_process_editor && !app->capture_session) PostQuitMessage(1);
    }
    app.release();
    return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT handle_window_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
    if (message == WM_ACTIVATEAPP && (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW))
        SetWindowPos(window, wparam ? HWND_TOPMOST : HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    if (is_presentation_message(message, wparam))
        if (auto answer = route_to_presentation(window, message, wparam, lparam)) return *answer;
    return route_to_app(window, message, wparam, lparam);
}

}  // namespace

LRESULT CALLBACK app_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    try {
        return handle_window_message(window, message, wparam, lparam);
    } catch (...) {
        // The loop ends the process in its orderly way.
        PostQuitMessage(1);
        return 0;
    }
}

Status register_app_window_class(HINSTANCE instance) {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = app_window_proc;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(APP_ICON_RESOURCE));
    if (!window_class.hIcon) return win::win32_failure("LoadIconW");
    window_class.hCursor = LoadCursorW(nullptr, IDC_CROSS);
    if (!window_class.hCursor) return win::win32_failure("LoadCursorW");
    window_class.lpszClassName = APP_WINDOW_CLASS;
    if (!RegisterClassW(&window_class) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return win::win32_failure("RegisterClassW", L"Glimmerly.Window");
    return ok_status();
}

Result<HWND> create_app_window(AppCell* cell, DWORD ex_style) {
    HWND window = CreateWindowExW(ex_style, APP_WINDOW_CLASS, L"Glimmerly", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                                  APP_WINDOW_WIDTH, APP_WINDOW_HEIGHT, nullptr, nullptr, GetModuleHandleW(nullptr),
                                  cell);
    if (!window) return win::win32_failure("CreateWindowExW", L"Glimmerly.Window");
    return window;
}

std::vector<DeferredMessage> take_deferred_messages(HWND window) {
    KillTimer(window, TIMER_DEFERRED_REPLAY);
    std::vector<DeferredMessage> taken;
    DeferredQueue* cell = g_deferred.get();
    if (auto queue = cell ? cell->try_borrow() : DeferredQueue::Borrow()) {
        std::deque<DeferredMessage> others;
        for (const DeferredMessage& entry : *queue) {
            if (entry.window == window)
                taken.push_back(entry);
            else
                others.push_back(entry);
        }
        *queue = std::move(others);
    }
    return taken;
}

Status replay_deferred_messages(App& app, HWND window) {
    Status first;
    for (const DeferredMessage& entry : take_deferred_messages(window)) {
        AppAnswer answer = handle_app_message(app, window, entry.message, entry.wparam, entry.lparam);
        if (!answer && first) first = std::move(answer).failure();
    }
    return first;
}

}  // namespace glimmerly
