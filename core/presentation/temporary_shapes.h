#pragma once
// Temporary shapes: an arrow, rectangle or ellipse armed by a shortcut,
// dragged out anywhere on the desktop, kept for the shape duration and
// faded out over its last half second. The shapes are annotation objects;
// this is their geometry, their list and their fade, without any window.

#include <cstdint>
#include <optional>
#include <vector>

#include "core/document/scene_object.h"

namespace glimmerly {

enum class TemporaryShapeKind : std::uint8_t { Arrow = 0, Rectangle = 1, Ellipse = 2, None = 255 };

struct TemporaryShape {
    SceneObject object;
    // When it was finished, on the presentation clock.
    std::uint64_t created_ms = 0;
    // The arrowhead size in layer pixels; every kind's dirty margin uses it.
    double head_size = 0.0;
    std::uint32_t duration_ms = 0;
};

// More would only pile up unseen under the newest ones.
inline constexpr std::size_t kMaxTemporaryShapes = 128;
// A shape fades over the last this-many milliseconds of its duration.
inline constexpr std::uint32_t kShapeFadeMs = 500;
inline constexpr Rgb kPendingShapeColour{0xED, 0x4F, 0x5C};
inline constexpr double kPendingShapeWidth = 3.0;

struct TemporaryShapes {
    bool drag_valid = false;
    Point drag_start;
    // The shape being dragged.
    std::optional<SceneObject> pending;
    // Oldest first.
    std::vector<TemporaryShape> shapes;
    double pending_head_size = 0.0;
    TemporaryShapeKind armed = TemporaryShapeKind::None;
};

// The left button went down at (x, y), layer pixels: a new drag there.
void begin_temporary_shape(TemporaryShapes& shapes, double x, double y);
// The pointer at (x, y) while dragging. Shift snaps an arrow to 45 degrees
// and squares a rectangle; Alt lets an ellipse take the two offsets as its
// radii. Non-finite input changes nothing.
void drag_temporary_shape(TemporaryShapes& shapes, double x, double y, bool shift, bool alt);
// Ends the drag; a shape with no extent is dropped. Answers whether one was kept.
bool commit_temporary_shape(TemporaryShapes& shapes, std::uint64_t now_ms, std::uint32_t duration_ms);
// Nothing armed, nothing pending, no drag; the finished shapes stay.
void drop_armed_shape(TemporaryShapes& shapes);

// 1 until the last min(duration, 500) ms, then falling in a line to 0; a
// duration of 0 gives 0.
double temporary_shape_opacity(const TemporaryShape& shape, std::uint64_t now_ms);
bool temporary_shape_fading(const TemporaryShape& shape, std::uint64_t now_ms);
// Removes the shapes whose duration has run out; answers whether any went.
bool remove_expired_shapes(TemporaryShapes& shapes, std::uint64_t now_ms);

}  // namespace glimmerly
