#pragma once
// Input that the message loop hands to the open capture before dispatch:
// keys for its size fields and text box, and the wheel turned over them,
// which the capture's window answers as it answers its own.

#include <windows.h>

#include "app/app/app.h"

namespace glimmerly {

// True when the capture took the message; it is then not dispatched. Only
// messages aimed at the application window or its children are offered,
// and only while the App is free and a capture is open.
bool offer_to_capture(AppCell& cell, HWND app_window, const MSG& message);

}  // namespace glimmerly
