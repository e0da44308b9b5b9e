#include "app/app/commands.h"

#include "app/app/messages.h"
#include "app/app/unbuilt.h"

namespace glimmerly {

Status run_app_command(App&, HWND window, AppCommand command) {
    switch (command) {
        case APP_COMMAND_TAKE_SCREENSHOT: PostMessageW(window, WM_APP_START_CAPTURE, 0, 0); return ok_status();
        case APP_COMMAND_QUIT: PostQuitMessage(0); return ok_status();
        default: return not_available("This menu command");
    }
}

}  // namespace glimmerly
