#pragma once
// What a click on the notification icon opens.

#include <windows.h>

#include "core/base/result.h"

namespace glimmerly {

struct App;

// Until the program's own menu window exists, the system's popup menu
// offers what the program can do today: quitting. The chosen command comes
// back as WM_APP_MENU_COMMAND, as it will from the real menu.
Status open_tray_popup(App& app, HWND window);

}  // namespace glimmerly
