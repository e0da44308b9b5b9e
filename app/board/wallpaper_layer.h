#pragma once
// The program's own wallpaper layer: WallpaperApi where the shell has no
// DesktopWallpaper object (Windows before 8, Wine). It works over the one
// desktop picture of SystemParametersInfoW (SPI_GETDESKWALLPAPER,
// SPI_SETDESKWALLPAPER) and its style values under "HKCU\Control Panel\Desktop";
// the background colour is COLOR_DESKTOP; the monitors are those of
// EnumDisplayMonitors, named by their device names.
//
// With one monitor the layer sets the picture itself. With several it keeps
// a picture per monitor in a record of its own in the board folder
// ("wallpaper-layer.txt", in the format of "base.txt"); while the pictures
// differ it composes them into one picture of the virtual screen
// ("wallpaper-span.png") set with the span style, and once they are one
// picture again (the user's, given back) it sets that picture with the
// record's style (core/board/layer_desktop.h). While the desktop shows the
// span picture, each monitor answers from the record, otherwise every
// monitor answers the desktop's one picture and position.

#include <memory>
#include <string>

#include "core/base/result.h"
#include "core/board/wallpaper.h"

namespace glimmerly {

inline constexpr char16_t kLayerRecordFileName[] = u"wallpaper-layer.txt";

// The layer over the board folder (the span picture and record go there).
std::unique_ptr<WallpaperApi> create_wallpaper_layer(std::wstring board_folder);
// The layer over the user's board folder.
Result<std::unique_ptr<WallpaperApi>> create_wallpaper_layer();

}  // namespace glimmerly
