#pragma once
// How another program's window stands for the keyboard, as a test or a
// harness driving it from outside asks: header-only, so that the harnesses
// of bench/windows use it too.

#include <windows.h>

namespace glimmerly::testing_support {

// `window` in front, with the keyboard focus in it or one of its children.
inline bool active_with_focus(HWND window) {
    GUITHREADINFO info{.cbSize = sizeof info};
    return window && GetForegroundWindow() == window &&
           GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && info.hwndFocus &&
           GetAncestor(info.hwndFocus, GA_ROOT) == window;
}

// The thread of `window` in a menu (the one a typed Alt opens, say).
inline bool in_menu_mode(HWND window) {
    GUITHREADINFO info{.cbSize = sizeof info};
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && (info.flags & GUI_INMENUMODE);
}

}  // namespace glimmerly::testing_support
