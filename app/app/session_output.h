#pragma once
// The editor's output words carried out on the window side: the picture to
// the clipboard, to a file or to the image search, a colour code, live
// capture, and the end of the capture.

#include <windows.h>

#include "app/app/app.h"
#include "core/editor/editor_actions.h"

namespace glimmerly {

Status run_session_output(App& app, HWND window, const ActionOutcome& outcome);

}  // namespace glimmerly
