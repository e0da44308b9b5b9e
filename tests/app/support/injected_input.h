#pragma once
// Keyboard and mouse input for SendInput, as the tests inject it.

#include <windows.h>

#include <vector>

namespace glimmerly::testing_support {

// A key going down or up; with `unicode` set, that character instead of the key.
INPUT key_input(WORD key, bool up, wchar_t unicode = 0);
// The pointer moved to a screen point, with the flags' buttons or wheel.
INPUT mouse_input(POINT at, DWORD flags, DWORD wheel = 0);
// All of them injected at once; a failure to inject every one fails the test.
void send(std::vector<INPUT> inputs);

// Whether the display's keyboard focus reached the window within 10 s and
// the calling thread, which owns it, took in the news. Under Wine a window
// gets the X input focus some time after it is activated, and with it Wine
// sets the keyboard state from the X keyboard: keys injected before then lose
// their held state midway. On Windows (no X window behind) true at once.
bool wait_for_keyboard_focus(HWND window);

}  // namespace glimmerly::testing_support
