#pragma once
// Where the pointer has been: the eased halo position, the trail of recent
// positions and the ring of recent clicks, with the decisions that size and
// bound the layer they are drawn into. Times are whole milliseconds on one
// clock; an age is never negative (a time ahead of now is age 0).

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/base/pixel_rect.h"
#include "core/document/scene_object.h"
#include "core/pointer/pointer_settings.h"

namespace glimmerly {

inline constexpr std::size_t kClickMarkCount = 12;
inline constexpr std::size_t kTrailCapacity = 96;
inline constexpr std::uint8_t kNoButton = 255;
// The last of the waves ends 690 ms after its click.
inline constexpr std::uint64_t kClickMarkLifetimeMs = 690;
inline constexpr std::uint64_t kPressFeedbackMs = 300;

struct ClickMark {
    double x = 0.0;
    double y = 0.0;
    std::uint64_t time = 0;
    std::uint8_t button = kNoButton;  // 0 left, 1 right, 2 middle
};

struct TrailPoint {
    double x = 0.0;
    double y = 0.0;
    std::uint64_t time = 0;
};

struct PointerTrail {
    std::array<TrailPoint, kTrailCapacity> points{};
    std::size_t count = 0;
    std::size_t oldest = 0;

    // The i-th point from the oldest.
    const TrailPoint& at(std::size_t i) const { return points[(oldest + i) % kTrailCapacity]; }
};

struct PointerState {
    std::optional<Point> displayed;  // the eased halo position
    std::optional<Point> cursor;     // the last recorded position
    std::optional<std::uint64_t> last_move;
    std::array<ClickMark, kClickMarkCount> marks{};
    std::size_t next_mark = 0;
    PointerTrail trail;
    std::uint64_t easing_time = 0;
};

// The mouse buttons as raw input reported them, for the halo's press look.
struct MouseButtonState {
    std::optional<std::uint64_t> last_press;
    bool left = false;
    bool right = false;
    bool middle = false;
};

// Raw input's button flags, down and up, for left (0x1, 0x2), right (0x4,
// 0x8) and middle (0x10, 0x20): a press also stamps the time.
void apply_raw_mouse_buttons(MouseButtonState& buttons, std::uint32_t flags, std::uint64_t now);

constexpr std::uint64_t age_ms(std::uint64_t now, std::uint64_t then) { return now > then ? now - then : 0; }

// 160, 320 or 560 ms for the short, medium and long trail.
std::uint64_t trail_lifetime_ms(std::uint32_t trail_length);

// The settings as the pointer layer draws them: the halo only while pointer
// effects are on and the magnifier (which shows the pointer itself) is not,
// no easing under the magnifier, and nothing of the effects when they are off.
PointerSettings effective_pointer_settings(const PointerSettings& settings, bool pointer_effects_on,
                                           bool magnifier_on_or_held);

// Records a cursor position; non-finite positions are ignored. `effective`
// are the effective settings.
void track_pointer_trail(PointerState& state, double x, double y, std::uint64_t now, double scale,
                         const PointerSettings& effective);

// Writes the next slot of the ring, overwriting the oldest mark.
void add_click_mark(PointerState& state, double x, double y, std::uint64_t time, std::uint8_t button);

// Moves the halo toward the cursor: the gap shrinks to 30 % every 50 ms and
// closes under half a pixel; at once when the halo is instant.
void ease_halo(PointerState& state, std::uint64_t now, const PointerSettings& effective);

// A trail, click animations, a spotlight or an easing halo need the layer
// over the whole monitor, redrawn frame by frame; an instant halo alone
// rides on a small square that follows the cursor.
bool pointer_effects_visible(const PointerSettings& effective);

// How far the effects reach from the pointer at 96 dpi.
double halo_extent(const PointerSettings& effective);
// The side of the small square layer: a multiple of 32, at least the
// extent's diameter at that dpi.
std::int32_t pointer_layer_size(const PointerSettings& effective, std::uint32_t dpi);

// Screen pixels the effects of this frame cover: the halo square, the
// living trail points and the living click marks, each with its margin.
// None when nothing is drawn.
struct EffectArea {
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
};
std::optional<EffectArea> pointer_effect_area(const PointerState& state, const PointerSettings& effective,
                                              double scale, std::uint64_t now);

// One frame's rectangles in layer pixels: what this frame draws (kept as
// the next frame's previous), and what must be cleared and redrawn now (its
// union with the previous frame's, clamped to the layer; none when empty).
struct PointerFrameRects {
    std::optional<PixelRect> own;
    std::optional<PixelRect> redraw;
};
PointerFrameRects pointer_frame_rects(const std::optional<EffectArea>& area, PixelPoint origin,
                                      const std::optional<PixelRect>& previous, std::int32_t width,
                                      std::int32_t height);

}  // namespace glimmerly
