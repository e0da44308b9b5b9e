#pragma once
// The desktop as the user sees it now (wallpaper and icons), drawn from the
// shell's desktop window "Progman" rather than grabbed from the screen,
// where other windows would cover it.

#include "core/base/result.h"
#include "core/board/wallpaper_picture.h"

namespace glimmerly {

// Draws the desktop window into the picture at its virtual-screen place.
// Fails without a desktop window (Wine has none), for one without area, or
// when nothing was drawn; the picture is then unchanged.
Status render_desktop_window(DesktopPicture& picture);

}  // namespace glimmerly
