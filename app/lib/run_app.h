#pragma once
// The start of every role of the one executable: the command line is read,
// a one-off mode runs and ends, or the process takes its role's mutex, sets
// up its App and application window and runs the message loop until
// WM_QUIT, then tears everything down.

#include <windows.h>

#include <string>

#include "app/app/app.h"
#include "core/base/result.h"
#include "core/startup/command_line.h"

namespace glimmerly {

Result<Arguments> command_line_arguments();

Status run_app();

// The loop of the user-interface thread: a WM_QUIT with code 0 ends it
// normally, any other code is the application error "error.stopped"; with
// `wake_ends_loop` (a delayed wake was started) so does WM_APP_DELAYED_WAKE.
// The open capture is offered its keys and wheel before dispatch.
Status run_message_loop(AppCell& cell, HWND app_window, bool wake_ends_loop = false);

// How a failed start is told: for standard error, an application error in
// the current language and any other failure as its own text; for the
// start-up message box, a failure without a text of its own reads through
// "Something went wrong.".
std::string format_error_text(const Failure& error);
std::string startup_error_text(const Failure& error);

}  // namespace glimmerly
