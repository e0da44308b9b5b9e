#pragma once
// The picture of the user's own desktop wallpaper with the
// platform's decoding and scaling (WIC): the bake draws the notes over it,
// and the program's own wallpaper layer spans one picture over several
// monitors with it. The thread has a COM apartment.

#include <span>

#include "core/board/wallpaper_picture.h"

namespace glimmerly {

// Loads a wallpaper file, refusing one of more than MAX_SCALED_PIXELS
// pixels before it allocates.
Result<BgraImage> load_wallpaper_file(const std::u16string& path);

Result<DesktopPicture> compose_desktop_picture(const BoardBase& base, std::span<const BoardScreen> monitors);

}  // namespace glimmerly
