#pragma once
// Carrying out the tray popup's actions (and the settings window's key
// routes) on the resident's state.

#include <windows.h>

#include "core/base/result.h"
#include "core/menu/app_command.h"

namespace glimmerly {

struct App;

// The command's effect; a failure is for the caller to show. A presentation
// setting asked for during a capture is refused with its own message box,
// which counts as success.
Status run_app_command(App& app, HWND window, AppCommand command);

}  // namespace glimmerly
