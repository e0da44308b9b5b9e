#include "app/app/tray_menu.h"

#include "app/app/commands.h"
#include "app/app/messages.h"
#include "app/win/failure.h"
#include "app/win/owners.h"
#include "text/text_table.h"

namespace glimmerly {

Status open_tray_popup(App&, HWND window) {
    win::UniqueMenu menu(CreatePopupMenu());
    if (!menu) return win::win32_failure("CreatePopupMenu");
    const std::wstring quit = win::to_wide(text_of(current_language(), TextId::menu_quit));
    if (!AppendMenuW(menu.get(), MF_STRING, APP_COMMAND_QUIT, quit.c_str())) return win::win32_failure("AppendMenuW");
    POINT at{};
    GetCursorPos(&at);
    // A menu of a window that is not in the foreground would not close when
    // the user clicks elsewhere.
    SetForegroundWindow(window);
    const UINT command = static_cast<UINT>(
        TrackPopupMenuEx(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, window, nullptr));
    PostMessageW(window, WM_NULL, 0, 0);
    if (command) PostMessageW(window, WM_APP_MENU_COMMAND, command, 0);
    return ok_status();
}

}  // namespace glimmerly
