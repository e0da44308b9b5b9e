#pragma once
// Which pixels of a capture a finished picture covers, and whether the
// captured picture shows in it at all.

#include <cstdint>
#include <optional>
#include <span>

#include "core/document/scene_object.h"
#include "core/editor/carry.h"

namespace glimmerly {

// The region grown outward to whole pixels (floor of the left and top, ceil
// of the right and bottom) and cut to the picture; a value that is not a
// number counts as 0. None when nothing of the picture is left.
std::optional<PixelArea> capture_pixel_rect(const Box& region, std::uint32_t width, std::uint32_t height);

// False when the background fills hide the whole picture: a background fill
// that names no rectangle or ellipse of the objects covers everything.
bool capture_shows_picture(std::span<const FillRegion> background, std::span<const SceneObject> objects);

}  // namespace glimmerly
