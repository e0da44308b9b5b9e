#include "core/board/board_desktop.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace glimmerly {
namespace {

constexpr double kBakedShown = 0.9;
constexpr double kOverlayLargest = 0.5;

std::int32_t edge_of(double value) {
    if (std::isnan(value)) return 0;
    return static_cast<std::int32_t>(std::clamp(value, double(std::numeric_limits<std::int32_t>::min()),
                                                double(std::numeric_limits<std::int32_t>::max())));
}

std::uint32_t extent_of(double value) {
    if (std::isnan(value)) return 0;
    return static_cast<std::uint32_t>(std::clamp(value, 0.0, double(std::numeric_limits<std::uint32_t>::max())));
}

std::int32_t offset(std::int64_t a, std::int64_t b) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(a - b, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

std::size_t pixel_count(const BgraImage& image) { return image.pixels.size() / 4; }

BgraImage filled(std::uint32_t width, std::uint32_t height, std::uint32_t bgra) {
    BgraImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(std::size_t{width} * height * 4);
    for (std::size_t i = 0; i < image.pixels.size(); i += 4)
        for (int c = 0; c < 4; ++c) image.pixels[i + c] = static_cast<std::uint8_t>(bgra >> (8 * c));
    return image;
}

double share(std::size_t count, std::uint64_t total) { return double(count) / double(total == 0 ? 1 : total); }

}  // namespace

MonitorPixels monitor_pixels(const Box& rect) {
    return {edge_of(rect.left), edge_of(rect.top), extent_of(rect.right - rect.left), extent_of(rect.bottom - rect.top)};
}

bool board_pixels_match(const std::uint8_t* a, const std::uint8_t* b) {
    return std::abs(a[0] - b[0]) <= 2 && std::abs(a[1] - b[1]) <= 2 && std::abs(a[2] - b[2]) <= 2;
}

BgraImage cut_monitor_area(const DesktopPicture& picture, const MonitorPixels& monitor) {
    BgraImage area = filled(monitor.width, monitor.height, 0xFF000000u);
    paste_bgra_image(area, picture.image, offset(picture.x, monitor.x), offset(picture.y, monitor.y));
    return area;
}

BoardDesktop prepare_board_desktop(const DesktopPicture& base, std::optional<DesktopPicture> rendered,
                                   std::span<const BoardDesktopMonitor> monitors) {
    if (!rendered) return {base, std::nullopt};
    DesktopPicture working = std::move(*rendered);

    for (const BoardDesktopMonitor& monitor : monitors) {
        if (!monitor.shows_bake) continue;
        BgraImage shown = cut_monitor_area(working, monitor.rect);
        BgraImage result = cut_monitor_area(base, monitor.rect);
        const BgraImage* baked = monitor.baked ? &*monitor.baked : nullptr;
        if (baked && baked->width == monitor.rect.width && baked->height == monitor.rect.height) {
            // Where the desktop shows the bake, the notes may be there: the
            // base goes in; elsewhere the desktop's own items stay.
            BgraImage kept = shown;
            const std::size_t n = std::min({pixel_count(kept), pixel_count(*baked), pixel_count(result)});
            std::size_t matched = 0;
            for (std::size_t i = 0; i < n; ++i) {
                if (!board_pixels_match(&kept.pixels[i * 4], &baked->pixels[i * 4])) continue;
                std::copy_n(&result.pixels[i * 4], 4, &kept.pixels[i * 4]);
                ++matched;
            }
            if (share(matched, std::uint64_t{baked->width} * baked->height) >= kBakedShown) result = std::move(kept);
        }
        paste_bgra_image(working.image, result, offset(monitor.rect.x, working.x), offset(monitor.rect.y, working.y));
    }

    BgraImage overlay = filled(working.image.width, working.image.height, 0);
    bool used = false;
    for (const BoardDesktopMonitor& monitor : monitors) {
        const BgraImage shown = cut_monitor_area(working, monitor.rect);
        const BgraImage wallpaper = cut_monitor_area(base, monitor.rect);
        BgraImage items = filled(monitor.rect.width, monitor.rect.height, 0);
        const std::size_t n = std::min({pixel_count(shown), pixel_count(wallpaper), pixel_count(items)});
        std::size_t changed = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (board_pixels_match(&shown.pixels[i * 4], &wallpaper.pixels[i * 4])) continue;
            std::copy_n(&shown.pixels[i * 4], 3, &items.pixels[i * 4]);
            items.pixels[i * 4 + 3] = 0xFF;
            ++changed;
        }
        // Items over more than half a monitor are a window or a new
        // wallpaper, not icons: drawn above the notes they would hide them.
        if (changed == 0 || share(changed, std::uint64_t{monitor.rect.width} * monitor.rect.height) > kOverlayLargest)
            continue;
        paste_bgra_image(overlay, items, offset(monitor.rect.x, working.x), offset(monitor.rect.y, working.y));
        used = true;
    }
    return {std::move(working), used ? std::optional<BgraImage>(std::move(overlay)) : std::nullopt};
}

}  // namespace glimmerly
