#include "core/board/wallpaper_picture.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "core/base/saturate.h"
#include "core/image/image_limits.h"

namespace glimmerly {
namespace {

// NaN is skipped in favour of the other operand.
double min_of(double a, double b) { return std::isnan(a) ? b : std::isnan(b) ? a : std::min(a, b); }
double max_of(double a, double b) { return std::isnan(a) ? b : std::isnan(b) ? a : std::max(a, b); }

Result<BgraImage> solid_picture(std::uint32_t width, std::uint32_t height, Rgb colour) {
    const auto bytes = imaging_buffer_size(width, height);
    if (!bytes) return invalid_input("Unsupported desktop picture size");
    BgraImage picture{{}, width, height};
    picture.pixels.resize(*bytes);
    const std::uint8_t pixel[4] = {colour.b, colour.g, colour.r, 255};
    for (std::size_t i = 0; i < picture.pixels.size(); i += 4) std::copy(pixel, pixel + 4, &picture.pixels[i]);
    return picture;
}

// The screen's picture: its background, and its wallpaper when it can be read.
Result<BgraImage> screen_picture(const BoardBase& base, const BoardScreen& screen, const WallpaperLoader& load,
                                 const PictureScaler& scale) {
    const std::uint32_t width = saturating_u32(screen.rect.right - screen.rect.left);
    const std::uint32_t height = saturating_u32(screen.rect.bottom - screen.rect.top);
    if (width == 0 || height == 0) return BgraImage{};  // less than a pixel: nothing to paste
    auto picture = solid_picture(width, height, base.colour);
    if (!picture) return picture;
    const BoardBaseScreen* entry = find_base_screen(base, screen.name);
    if (!entry || !entry->image) return picture;
    auto loaded = load(*entry->image);
    if (!loaded || !is_valid_bgra_image(*loaded)) return picture;
    const Box placed = place_wallpaper(base.position, {double(width), double(height)},
                                       {double(loaded->width), double(loaded->height)});
    const std::uint32_t scaled_width = saturating_u32(std::max(1.0, std::round(placed.right - placed.left)));
    const std::uint32_t scaled_height = saturating_u32(std::max(1.0, std::round(placed.bottom - placed.top)));
    // A picture that would scale past the limit is treated as unreadable:
    // a strange wallpaper must not keep the board off the desktop.
    if (!is_supported_scaled_size(scaled_width, scaled_height)) return picture;
    auto scaled = scale(*loaded, scaled_width, scaled_height);
    if (!scaled) return std::move(scaled).failure();
    paste_bgra_image(*picture, *scaled, saturating_i32(std::round(placed.left)),
                     saturating_i32(std::round(placed.top)));
    return picture;
}

Result<DesktopPicture> compose(const BoardBase& base, std::span<const BoardScreen> screens,
                               const WallpaperLoader& load, const PictureScaler& scale) {
    Box box{0, 0, 1, 1};
    if (!screens.empty()) {
        box = screens.front().rect;
        for (const BoardScreen& screen : screens.subspan(1)) {
            box.left = min_of(box.left, screen.rect.left);
            box.top = min_of(box.top, screen.rect.top);
            box.right = max_of(box.right, screen.rect.right);
            box.bottom = max_of(box.bottom, screen.rect.bottom);
        }
    }
    DesktopPicture desktop;
    auto canvas = solid_picture(saturating_u32(box.right - box.left), saturating_u32(box.bottom - box.top), kBlack);
    if (!canvas) return std::move(canvas).failure();
    desktop.image = std::move(canvas).value();
    desktop.x = saturating_i32(box.left);
    desktop.y = saturating_i32(box.top);
    for (const BoardScreen& screen : screens) {
        auto picture = screen_picture(base, screen, load, scale);
        if (!picture) return std::move(picture).failure();
        const std::int64_t x = std::int64_t{saturating_i32(screen.rect.left)} - desktop.x;
        const std::int64_t y = std::int64_t{saturating_i32(screen.rect.top)} - desktop.y;
        paste_bgra_image(desktop.image, *picture, static_cast<std::int32_t>(std::clamp<std::int64_t>(x, INT32_MIN, INT32_MAX)),
                         static_cast<std::int32_t>(std::clamp<std::int64_t>(y, INT32_MIN, INT32_MAX)));
    }
    return desktop;
}

}  // namespace

Box place_wallpaper(WallpaperPosition position, Size screen, Size image) {
    Size placed = image;
    switch (position) {
        case WallpaperPosition::Center: break;
        case WallpaperPosition::Stretch: return Box{0, 0, screen.w, screen.h};
        case WallpaperPosition::Fit: {
            const double s = std::min(screen.w / image.w, screen.h / image.h);
            placed = {image.w * s, image.h * s};
            break;
        }
        case WallpaperPosition::Tile:
        case WallpaperPosition::Fill:
        case WallpaperPosition::Span: {
            const double s = std::max(screen.w / image.w, screen.h / image.h);
            placed = {image.w * s, image.h * s};
            break;
        }
    }
    return Box{(screen.w - placed.w) / 2, (screen.h - placed.h) / 2, (screen.w + placed.w) / 2,
               (screen.h + placed.h) / 2};
}

Result<DesktopPicture> compose_wallpaper_picture(const BoardBase& base, std::span<const BoardScreen> screens,
                                                 const WallpaperLoader& load, const PictureScaler& scale) {
    try {
        return compose(base, screens, load, scale);
    } catch (const std::bad_alloc&) {
        return out_of_memory("Composing the desktop picture");
    }
}

}  // namespace glimmerly
