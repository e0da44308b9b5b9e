#pragma once
// The desktop wallpaper per monitor: the shell's DesktopWallpaper
// object behind WallpaperApi, or, where the shell has no such class (older
// Windows, Wine), the program's own layer over SystemParametersInfoW.

#include <memory>

#include "core/base/result.h"
#include "core/board/wallpaper.h"

namespace glimmerly {

// CoCreateInstance(CLSID_DesktopWallpaper, CLSCTX_ALL); exactly on
// REGDB_E_CLASSNOTREG the program's own layer; any other failure, or a
// success with no object, is returned. The thread has COM initialised
// apartment-threaded.
Result<std::unique_ptr<WallpaperApi>> create_desktop_wallpaper();

// The shell's object only: REGDB_E_CLASSNOTREG is a failure like any other.
Result<std::unique_ptr<WallpaperApi>> create_shell_desktop_wallpaper();

}  // namespace glimmerly
