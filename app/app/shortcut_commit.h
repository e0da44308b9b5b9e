#pragma once
// Save in the shortcut setup, and the end of a row's recording: the
// recorded combination judged against every other shortcut of the program,
// put in force (registered, or tried under a probe id for the shapes),
// written to the settings file under the settings lock, and only then made
// the App's. A refusal changes nothing: it becomes the setup's message and
// the setup stays open with the combination recorded.

#include <windows.h>

#include <cstdint>

#include "core/base/result.h"

namespace glimmerly {

struct App;

// The combination recorded in the App's setup state, for its kind. Refusals
// are successes with the message set; a failure is one the message handler
// reports (a pointer shortcut's settings that could not be written).
Status save_recorded_shortcut(App& app, HWND window);

// The instant-screenshot and board shortcuts: the old registration stays in
// force until the new one exists, and goes back when the write fails.
Status apply_setup_instant_shortcut(App& app, HWND window, std::uint32_t modifiers, std::uint32_t key);
Status apply_setup_board_shortcut(App& app, HWND window, std::uint32_t modifiers, std::uint32_t key);

}  // namespace glimmerly
