#include "core/render/capture_area.h"

#include <algorithm>
#include <cmath>

namespace glimmerly {

namespace {

std::uint32_t clamp_to(double value, std::uint32_t limit) {
    if (!(value > 0.0)) return 0;  // also NaN
    return value >= limit ? limit : static_cast<std::uint32_t>(value);
}

bool names_a_shape(const FillRegion& region, std::span<const SceneObject> objects) {
    return std::any_of(objects.begin(), objects.end(), [&](const SceneObject& o) {
        return (o.kind() == ObjectKind::Rectangle || o.kind() == ObjectKind::Ellipse) &&
               std::find(region.ids.begin(), region.ids.end(), o.id) != region.ids.end();
    });
}

}  // namespace

std::optional<PixelArea> capture_pixel_rect(const Box& region, std::uint32_t width, std::uint32_t height) {
    const std::uint32_t left = clamp_to(std::floor(region.left), width), top = clamp_to(std::floor(region.top), height);
    const std::uint32_t right = clamp_to(std::ceil(region.right), width);
    const std::uint32_t bottom = clamp_to(std::ceil(region.bottom), height);
    if (right <= left || bottom <= top) return std::nullopt;
    return PixelArea{left, top, right - left, bottom - top};
}

bool capture_shows_picture(std::span<const FillRegion> background, std::span<const SceneObject> objects) {
    if (background.empty()) return true;
    if (objects.empty()) return false;
    return std::all_of(background.begin(), background.end(),
                       [&](const FillRegion& region) { return names_a_shape(region, objects); });
}

}  // namespace glimmerly
