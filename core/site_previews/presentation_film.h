#pragma once
// The presentation film's script: presentation mode over a desktop picture
// of a bar chart, where three shortcuts are typed onto the keys display and
// a rectangle, an arrow and a circle are dragged out and fade. The script,
// its clock and what each frame shows are decided here; drawing the layers
// and writing the frames is the sink's (the Windows side's). The clock is
// the film's own counter, so every run gives the same frames.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/base/result.h"
#include "core/base/rgb.h"
#include "core/image/bgra_image.h"
#include "core/presentation/key_display.h"
#include "core/presentation/shown_input.h"
#include "core/presentation/temporary_shapes.h"

namespace glimmerly {

inline constexpr std::uint64_t kPresentationFrameMs = 40;
inline constexpr std::uint32_t kPresentationShapeFrames = 59;
inline constexpr std::uint32_t kPresentationFilmFrames = 3 * kPresentationShapeFrames;
inline constexpr std::uint32_t kPresentationShapeLifetimeMs = 3000;
inline constexpr double kPresentationShapeWidth = 5.0;
inline constexpr double kPresentationShapeSize = 28.0;
inline constexpr Rgb kPresentationHaloColour{255, 211, 64};
inline constexpr Rgb kPresentationShapeColour{237, 79, 92};
// A press pulse grows the halo for this long.
inline constexpr std::uint64_t kPresentationPulseMs = 300;
// The left Alt key, held with each shape's letter.
inline constexpr std::uint16_t kLeftAltScan = 56;
// Layer sizes, and where the halo and keys layers stand in a frame.
inline constexpr std::int32_t kPresentationHaloSize = 72;
inline constexpr std::int32_t kPresentationKeysWidth = 520;
inline constexpr std::int32_t kPresentationKeysHeight = 140;
inline constexpr std::int32_t kPresentationKeysX = 410;
inline constexpr std::int32_t kPresentationKeysY = 352;

// One shape of the script as its key word (the character in bits 0-15, the
// scan code in bits 32-47, the kind in bits 48-55) and its drag.
struct PresentationFilmShape {
    std::uint64_t key;
    Point start;
    Point end;
};
constexpr std::uint64_t pack_presentation_key(char16_t character, std::uint16_t scan, TemporaryShapeKind kind) {
    return std::uint64_t(character) | (std::uint64_t(scan) << 32) | (std::uint64_t(kind) << 48);
}
constexpr char16_t presentation_key_character(std::uint64_t key) { return char16_t(key & 0xFFFF); }
constexpr std::uint16_t presentation_key_scan(std::uint64_t key) { return std::uint16_t((key >> 32) & 0xFFFF); }
constexpr TemporaryShapeKind presentation_key_kind(std::uint64_t key) { return TemporaryShapeKind((key >> 48) & 0xFF); }

// The rectangle, the arrow, then the circle round the April bar.
std::span<const PresentationFilmShape> presentation_film_shapes();

struct PresentationDemo {
    // The drag start, the shape being drawn, the committed shapes and the
    // armed kind.
    TemporaryShapes shapes;
    double size = kPresentationShapeSize;
    // The halo shows pressed while any is on.
    std::array<bool, 3> pressed{};
    bool pulse = false;
    std::uint64_t pulse_start = 0;
    KeyDisplay keys;
    ShownInput mouse;
    std::uint64_t clock = 0;
    Point pointer{447.5, 250.0};
    // Off for the first pass, which only brings the clock, keys and shapes
    // to where the written pass starts.
    bool write = false;
    std::vector<Point> track;
};

// Draws one frame's layers and composites them over the desktop picture
// with the halo at `at`; while the demo's write flag is on, also saves the
// frame under the number `demo.track.size()`.
class PresentationFrameSink {
public:
    virtual ~PresentationFrameSink() = default;
    virtual Status draw_frame(const PresentationDemo& demo, Point at) = 0;
};

// Expired shapes dropped, the frame drawn (and recorded while writing), the
// pointer moved and the clock advanced one frame.
Status write_presentation_frame(PresentationDemo& demo, PresentationFrameSink& sink, Point at);
// One shape: its shortcut typed, the approach, the drag and the release.
Status script_presentation_frames(PresentationDemo& demo, PresentationFrameSink& sink, const PresentationFilmShape& shape);
// The three shapes in order.
Status script_presentation_pass(PresentationDemo& demo, PresentationFrameSink& sink);

// The halo's pulse: how far through it is, while a press is younger than
// kPresentationPulseMs.
std::optional<double> presentation_pulse_progress(const PresentationDemo& demo);
bool presentation_halo_pressed(const PresentationDemo& demo);
// The halo layer's top-left corner: the pointer truncated toward zero and
// saturated to 32 bits (NaN as 0), less half the layer.
std::array<std::int32_t, 2> presentation_halo_origin(Point pointer);

// The circle of the script is centred on pixel column 447 of row 250: the
// April bar's colour run there must be centred on it within one pixel.
// "the circle is off the axis of the April bar" otherwise.
Status check_presentation_axis(const BgraImage& picture);

}  // namespace glimmerly
