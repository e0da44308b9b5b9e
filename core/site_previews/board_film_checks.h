#pragma once
// The board film's pictures and checks: the desktop's icons laid over its
// wallpaper as the shell shows them, the zones the film draws around groups
// of icons, and what the finished session and its bake must show. A film
// over desktop pictures that do not fit the script stops with one of these
// messages rather than writing a preview that shows nothing.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/result.h"
#include "core/document/scene_object.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

// The script writes 426 frames: the zones are drawn with the rectangle tool,
// chosen on the toolbar first, since an arrow has no inside to fill.
inline constexpr std::uint32_t kBoardFilmFrames = 426;
// A zone, and the session and bake, must show at least this many icon pixels.
inline constexpr std::uint64_t kBoardFilmMinimumIconPixels = 500;

struct BoardFilmZone {
    Point pressed;
    Point released;
    Point bucket;
    std::string_view note;
    Point note_at;
};
std::span<const BoardFilmZone> board_film_zones();

// The third note: three lines.
inline constexpr std::string_view kBoardFilmTodoNote = "Today\n- send the build\n- call Tom at 3";
static_assert(kBoardFilmTodoNote.size() == 38);
inline constexpr Point kBoardFilmTodoAt{560.0, 30.0};

// Each colour byte times its alpha, rounded; alpha kept. The picture is
// changed in place and handed back.
BgraImage premultiply_alpha(BgraImage picture);

// A premultiplied overlay over an opaque base, pixel for pixel up to the
// smaller picture; the base's alpha and size are kept.
BgraImage composite_premultiplied(const BgraImage& base, const BgraImage& overlay);

// "the desktop's three pictures differ in size", "a zone is drawn around no
// icon", or nothing when the pictures suit the script.
Status check_board_film_pictures(const BgraImage& wallpaper, const BgraImage& icons, const BgraImage& screen);

// The texts of the text objects in order, carriage returns taken out, equal
// to the expected list; other objects take no part.
bool texts_match(std::span<const SceneObject> objects, std::span<const std::string_view> expected);

// Whether any rectangle has a corner outside the bound (edges inside).
bool any_rect_outside(std::span<const Box> rects, const Box& bound);
// Whether the scene bounds of any object touch any of the rectangles.
bool any_object_overlaps(std::span<const SceneObject> objects, std::span<const Box> rects);

// Pixels where an opaque icon stands over a baked note (baked and wallpaper
// differ there) and the session shows the icon's colour.
std::uint64_t count_icon_over_note_pixels(const BgraImage& session, const BgraImage& icons, const BgraImage& baked,
                                          const BgraImage& wallpaper);

// The first object whose bounds, clamped to the picture, hold no pixel that
// the bake changed; none when every object left a trace.
bool any_object_unbaked(std::span<const SceneObject> objects, const BgraImage& baked, const BgraImage& wallpaper);

}  // namespace glimmerly
