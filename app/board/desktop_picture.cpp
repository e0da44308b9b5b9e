#include "app/board/desktop_picture.h"

#include "app/image/image_decoder.h"
#include "app/image/image_scaler.h"
#include "app/win/paths.h"
#include "core/image/image_limits.h"

namespace glimmerly {

Result<BgraImage> load_wallpaper_file(const std::u16string& path) {
    return load_image_file(win::from_u16(path), MAX_SCALED_PIXELS);
}

Result<DesktopPicture> compose_desktop_picture(const BoardBase& base, std::span<const BoardScreen> monitors) {
    return compose_wallpaper_picture(base, monitors, &load_wallpaper_file, &scale_bgra_image);
}

}  // namespace glimmerly
