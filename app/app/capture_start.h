#pragma once
// The one way a capture starts: the capture shortcut, the tray's "Take a
// screenshot", "--capture", and the resident asking again after a prepared
// child died. The resident hands the capture to its editor child; the child
// opens it in its own window over a frozen grab of the virtual screen.

#include <windows.h>

#include "app/app/app.h"
#include "core/base/result.h"

namespace glimmerly {

// With a capture open, it comes to the front and nothing else happens;
// with the first-run setup shown, nothing happens.
Status start_capture_session(App& app, HWND window);

}  // namespace glimmerly
