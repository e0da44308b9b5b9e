#pragma once
// The custom-colour popup of the capture chrome: a dark panel with the hue
// ring, the saturation/value square of the current hue, their markers, a
// swatch with the colour's code, a title and a hint. The two colour pictures
// are generated once and kept as bitmaps under a name and a version.

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "app/render/painting_kit.h"
#include "core/editor/editor_state.h"

namespace glimmerly {

using PictureGenerator = std::function<std::vector<std::uint8_t>()>;

// Draws the bitmap kept under `key` into `destination`, generating it first
// (width x height BGRA pixels, premultiplied) when the key is missing or kept
// at another version; an entry of another version is replaced, so a key is
// held once. On a failed creation the store is unchanged.
Status cached_named_bitmap(Painter& painter, std::string_view key, std::uint64_t version, std::uint32_t width,
                           std::uint32_t height, const PictureGenerator& generate, const Box& destination);

// The unwrapped size of a text in the plain interface format of the size,
// in the current language.
Result<Size> measure_text_at_size(RendererResources& resources, std::string_view text, double size);

// The popup; nothing while its scale is 0.
Status draw_colour_picker(Painter& painter, const ColourPicker& picker);

}  // namespace glimmerly
