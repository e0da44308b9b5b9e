#include "core/site_previews/board_film_checks.h"

#include <algorithm>
#include <cmath>

#include "core/base/saturate.h"
#include "core/document/geometry.h"

namespace glimmerly {
namespace {

constexpr std::array<BoardFilmZone, 2> kZones{{
    {{106, 14}, {284, 214}, {195, 128}, "PERSONAL", {118, 18}},
    {{306, 14}, {484, 214}, {395, 128}, "WORK", {318, 18}},
}};

std::size_t pixel_count(const BgraImage& picture) { return picture.pixels.size() / 4; }

bool same_colour(const std::uint8_t* a, const std::uint8_t* b) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2]; }

std::uint64_t opaque_icon_pixels_in_zone(const BgraImage& icons, const BoardFilmZone& zone) {
    const std::uint32_t w = icons.width, h = icons.height;
    const std::uint32_t x0 = std::min(w, saturating_u32(zone.pressed.x));
    const std::uint32_t x1 = std::min(w, saturating_u32(zone.released.x));
    const std::uint32_t y0 = std::min(h, saturating_u32(zone.pressed.y));
    const std::uint32_t y1 = std::min(h, saturating_u32(zone.released.y));
    std::uint64_t count = 0;
    for (std::uint32_t y = y0; y < y1; ++y)
        for (std::uint32_t x = x0; x < x1; ++x) {
            const std::size_t i = (std::size_t(y) * w + x) * 4;
            if (i + 3 < icons.pixels.size() && icons.pixels[i + 3] == 255) ++count;
        }
    return count;
}

}  // namespace

std::span<const BoardFilmZone> board_film_zones() { return kZones; }

BgraImage premultiply_alpha(BgraImage picture) {
    for (std::size_t i = 0; i + 3 < picture.pixels.size(); i += 4) {
        const unsigned a = picture.pixels[i + 3];
        for (std::size_t c = 0; c < 3; ++c)
            picture.pixels[i + c] = static_cast<std::uint8_t>((picture.pixels[i + c] * a + 127) / 255);
    }
    return picture;
}

BgraImage composite_premultiplied(const BgraImage& base, const BgraImage& overlay) {
    BgraImage out = base;
    const std::size_t n = std::min(pixel_count(base), pixel_count(overlay));
    for (std::size_t p = 0; p < n; ++p) {
        const std::size_t i = p * 4;
        const unsigned a = overlay.pixels[i + 3];
        for (std::size_t c = 0; c < 3; ++c) {
            const unsigned value = (base.pixels[i + c] * (255 - a) + 127) / 255 + overlay.pixels[i + c];
            out.pixels[i + c] = static_cast<std::uint8_t>(std::min(255u, value));
        }
    }
    return out;
}

Status check_board_film_pictures(const BgraImage& wallpaper, const BgraImage& icons, const BgraImage& screen) {
    if (wallpaper.width != icons.width || wallpaper.height != icons.height || screen.width != icons.width ||
        screen.height != icons.height)
        return plain_failure("the desktop's three pictures differ in size");
    for (const BoardFilmZone& zone : kZones)
        if (opaque_icon_pixels_in_zone(icons, zone) < kBoardFilmMinimumIconPixels)
            return plain_failure("a zone is drawn around no icon");
    return ok_status();
}

bool texts_match(std::span<const SceneObject> objects, std::span<const std::string_view> expected) {
    std::size_t next = 0;
    for (const SceneObject& object : objects) {
        const TextPayload* text = as_text(object);
        if (!text) continue;
        if (next == expected.size()) return false;
        std::string plain = text->text;
        std::erase(plain, '\r');
        if (plain != expected[next++]) return false;
    }
    return next == expected.size();
}

bool any_rect_outside(std::span<const Box> rects, const Box& bound) {
    const auto inside = [&](double x, double y) {
        return x >= bound.left && x <= bound.right && y >= bound.top && y <= bound.bottom;
    };
    return std::any_of(rects.begin(), rects.end(),
                       [&](const Box& r) { return !inside(r.left, r.top) || !inside(r.right, r.bottom); });
}

bool any_object_overlaps(std::span<const SceneObject> objects, std::span<const Box> rects) {
    for (const SceneObject& object : objects) {
        const Box a = object_bounds_in_scene(object, SceneObjects(objects));
        for (const Box& b : rects)
            if (a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom) return true;
    }
    return false;
}

std::uint64_t count_icon_over_note_pixels(const BgraImage& session, const BgraImage& icons, const BgraImage& baked,
                                          const BgraImage& wallpaper) {
    const std::size_t n =
        std::min({pixel_count(session), pixel_count(icons), pixel_count(baked), pixel_count(wallpaper)});
    std::uint64_t count = 0;
    for (std::size_t p = 0; p < n; ++p) {
        const std::size_t i = p * 4;
        if (icons.pixels[i + 3] != 255) continue;
        if (same_colour(&baked.pixels[i], &wallpaper.pixels[i])) continue;
        if (same_colour(&session.pixels[i], &icons.pixels[i])) ++count;
    }
    return count;
}

bool any_object_unbaked(std::span<const SceneObject> objects, const BgraImage& baked, const BgraImage& wallpaper) {
    const std::uint32_t w = std::min(baked.width, wallpaper.width), h = std::min(baked.height, wallpaper.height);
    const auto fits = [](const BgraImage& p) { return p.pixels.size() / 4 >= std::size_t(p.width) * p.height; };
    if (!fits(baked) || !fits(wallpaper)) return !objects.empty();
    for (const SceneObject& object : objects) {
        const Box b = object_bounds_in_scene(object, SceneObjects(objects));
        const std::uint32_t x0 = std::min(w, saturating_u32(b.left));
        const std::uint32_t y0 = std::min(h, saturating_u32(b.top));
        const std::uint32_t x1 = std::min(w, saturating_u32(std::ceil(b.right)));
        const std::uint32_t y1 = std::min(h, saturating_u32(std::ceil(b.bottom)));
        bool changed = false;
        for (std::uint32_t y = y0; y < y1 && !changed; ++y)
            for (std::uint32_t x = x0; x < x1 && !changed; ++x)
                changed = !same_colour(&baked.pixels[(std::size_t(y) * baked.width + x) * 4],
                                       &wallpaper.pixels[(std::size_t(y) * wallpaper.width + x) * 4]);
        if (!changed) return true;
    }
    return false;
}

}  // namespace glimmerly
