#pragma once
// What the user's own desktop wallpaper looks like on every screen, drawn
// from the board's record of it rather than read from the screen: one
// picture of the bounding box of all screens, each screen filled with the
// background colour and its wallpaper file placed by the wallpaper position.
// The bake draws the notes over it; the board editor shows it.
//
// Decoding and scaling are the platform's (WIC) and are injected.

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "core/base/result.h"
#include "core/board/board_base.h"
#include "core/board/board_page.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

// A picture of the whole desktop and the desktop position of its top-left pixel.
struct DesktopPicture {
    BgraImage image;
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// Loads a wallpaper file. The loader refuses a file of more than
// MAX_SCALED_PIXELS pixels before it allocates; any failure counts as an
// unreadable file.
using WallpaperLoader = std::function<Result<BgraImage>(const std::u16string& path)>;
// Resamples a picture to the size asked for.
using PictureScaler = std::function<Result<BgraImage>(const BgraImage& picture, std::uint32_t width, std::uint32_t height)>;

// Where a picture of `image` size goes on a screen of `screen` size:
// center at its own size, stretch to the screen, fit inside it, and fill
// (also tile and span) covering it; the rectangle is centred.
Box place_wallpaper(WallpaperPosition position, Size screen, Size image);

// The desktop picture for the base's images, position and colour. No
// screens give 1 x 1 opaque black at (0, 0); areas outside every screen are
// opaque black. A wallpaper that cannot be read, or that would scale beyond
// MAX_SCALED_PIXELS, leaves its screen the background colour; a failure of
// the scaler itself ends the composition. A desktop whose picture would not
// fit the imaging limits is refused before anything is allocated.
Result<DesktopPicture> compose_wallpaper_picture(const BoardBase& base, std::span<const BoardScreen> screens,
                                                 const WallpaperLoader& load, const PictureScaler& scale);

}  // namespace glimmerly
