#pragma once
// The application window: its class, its procedure, and the messages it
// keeps for later while the App is in use.

#include <windows.h>

#include <optional>
#include <vector>

#include "app/app/app.h"
#include "core/base/result.h"

namespace glimmerly {

inline constexpr wchar_t APP_WINDOW_CLASS[] = L"Glimmerly.Window";
inline constexpr int APP_WINDOW_WIDTH = 620;
inline constexpr int APP_WINDOW_HEIGHT = 230;

// Registers `Glimmerly.Window` with the program's icons; an existing class is fine.
Status register_app_window_class(HINSTANCE instance);

// The hidden application window; `cell` is kept in its GWLP_USERDATA.
Result<HWND> create_app_window(AppCell* cell, DWORD ex_style);

// Decides, for every message, whether presentation mode, the App or the
// default procedure answers it, and never lets a handler run twice at once.
LRESULT CALLBACK app_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept;

// One message kept while the App was in use.
struct DeferredMessage {
    HWND window;
    WPARAM wparam;
    UINT message;
    LPARAM lparam;
};

// Kills the replay timer and takes the window's kept messages, oldest first;
// those of other windows stay.
std::vector<DeferredMessage> take_deferred_messages(HWND window);

// Hands the window's kept messages to the App handler; all run, the first
// failure is the answer.
Status replay_deferred_messages(App& app, HWND window);

// Handled with a value, or not handled (none: the default procedure answers).
using AppAnswer = Result<std::optional<LRESULT>>;
inline AppAnswer handled(LRESULT value = 0) { return std::optional<LRESULT>(value); }
inline AppAnswer not_handled() { return std::optional<LRESULT>(); }
// Handled with 0, or the failure.
inline AppAnswer answer(Status status) {
    if (!status) return std::move(status).failure();
    return handled();
}

// The App's answer to one message of the application window.
AppAnswer handle_app_message(App& app, HWND window, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace glimmerly
