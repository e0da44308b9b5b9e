#pragma once
// The actions the tray menu offers, by their command ids.

#include <windows.h>

#include <cstdint>

#include "core/base/result.h"

namespace glimmerly {

struct App;

using AppCommand = std::uint32_t;
inline constexpr AppCommand APP_COMMAND_TAKE_SCREENSHOT = 1;
inline constexpr AppCommand APP_COMMAND_QUIT = 3;

Status run_app_command(App& app, HWND window, AppCommand command);

}  // namespace glimmerly
