#pragma once
// One annotation object and the small values it is built from. Every editing
// operation, the drawing code and the stored formats work on lists of
// `SceneObject`; the kind is the index of its payload, so the two can never
// disagree.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/base/rgb.h"

namespace glimmerly {

using ObjectId = std::uint64_t;

// Hands out `count` fresh ids above `last` and advances `last` to the highest
// of them; the result is the first. None when the counter would wrap: an id
// that wrapped would collide with an existing one, so the caller renumbers its
// objects instead.
std::optional<ObjectId> take_object_ids(ObjectId& last, std::uint64_t count);
inline std::optional<ObjectId> next_object_id(ObjectId& last) { return take_object_ids(last, 1); }

// Frame pixels, x to the right and y downwards.
struct Point {
    double x = 0.0;
    double y = 0.0;

    friend bool operator==(const Point&, const Point&) = default;
};

// The minimum and the maximum corner.
struct Box {
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;

    friend bool operator==(const Box&, const Box&) = default;
};

struct Size {
    double w = 0.0;
    double h = 0.0;

    friend bool operator==(const Size&, const Size&) = default;
};

enum class ObjectKind : std::uint8_t {
    Rectangle = 0,
    Ellipse = 1,
    Arrow = 2,
    Stroke = 3,
    Text = 4,
    Blur = 5,
};

// The word the scene text uses for a kind: "rectangle", "ellipse", ...
std::string_view object_kind_word(ObjectKind kind);
std::optional<ObjectKind> object_kind_from_word(std::string_view word);

// An area coloured by the fill tool, bounded by the outlines of the objects
// it names. An empty id list is allowed (the whole selection).
struct FillRegion {
    std::vector<ObjectId> ids;
    Rgb color;

    friend bool operator==(const FillRegion&, const FillRegion&) = default;
};

// A line end fastened to another object: the point is an offset from the
// centre of the target's bounds, in the target's own (unrotated) frame.
struct ObjectAttachment {
    ObjectId id = 0;
    Point point;

    friend bool operator==(const ObjectAttachment&, const ObjectAttachment&) = default;
};

enum class LabelKind : std::uint8_t { None, Fit, Wrap };

// How a text is boxed. The wrap width means something only for `Wrap`, so
// equality ignores it for the other modes.
struct LabelMode {
    LabelKind kind = LabelKind::None;
    double wrap_width = 0.0;

    static LabelMode none() { return {}; }
    static LabelMode fit() { return {LabelKind::Fit, 0.0}; }
    static LabelMode wrap(double width) { return {LabelKind::Wrap, width}; }

    bool is_label() const { return kind != LabelKind::None; }

    friend bool operator==(const LabelMode& a, const LabelMode& b) {
        return a.kind == b.kind && (a.kind != LabelKind::Wrap || a.wrap_width == b.wrap_width);
    }
};

struct RectanglePayload {
    Box rect;
    friend bool operator==(const RectanglePayload&, const RectanglePayload&) = default;
};

// The ellipse inscribed in `rect`.
struct EllipsePayload {
    Box rect;
    friend bool operator==(const EllipsePayload&, const EllipsePayload&) = default;
};

// Lines and arrows. `bend` is measured in the segment's own frame (along
// d = to - from, then across it) so that it survives moving and scaling the
// ends; an elbow line is routed, never bent.
struct LinePayload {
    Point from;
    Point to;
    bool head = false;
    bool elbow = false;
    Point bend;
    std::optional<ObjectAttachment> start;
    std::optional<ObjectAttachment> end;

    friend bool operator==(const LinePayload&, const LinePayload&) = default;
};

// Pen and highlighter strokes; `widths` (possibly empty) holds per-point
// widths of a stroke drawn with varying width.
struct StrokePayload {
    std::vector<Point> points;
    std::vector<double> widths;
    bool highlight = false;

    friend bool operator==(const StrokePayload&, const StrokePayload&) = default;
};

// Plain texts and labels. `extent` is the measured size of the laid-out text;
// `ink` is a label's letter colour when the user chose one.
struct TextPayload {
    LabelMode label;
    std::string text;  // UTF-8
    Point at;
    double size = 24.0;
    Size extent;
    std::optional<Rgb> ink;

    friend bool operator==(const TextPayload&, const TextPayload&) = default;
};

struct BlurPayload {
    Box rect;
    friend bool operator==(const BlurPayload&, const BlurPayload&) = default;
};

// The alternatives are in `ObjectKind` order: the index is the kind.
using ObjectPayload =
    std::variant<RectanglePayload, EllipsePayload, LinePayload, StrokePayload, TextPayload, BlurPayload>;

struct SceneObject {
    ObjectId id = 0;
    ObjectPayload payload;
    Rgb color;
    // Stroke width in capture pixels; for a blur object its strength (1..64).
    double width = 0.0;
    // Radians about the centre of the unrotated bounds, clockwise on screen.
    double rotation = 0.0;
    std::vector<FillRegion> fill;

    ObjectKind kind() const { return static_cast<ObjectKind>(payload.index()); }

    // Field by field, numbers as numbers (so NaN never equals, -0 equals 0).
    friend bool operator==(const SceneObject&, const SceneObject&) = default;
};

inline const LinePayload* as_line(const SceneObject& o) { return std::get_if<LinePayload>(&o.payload); }
inline LinePayload* as_line(SceneObject& o) { return std::get_if<LinePayload>(&o.payload); }
inline const StrokePayload* as_stroke(const SceneObject& o) { return std::get_if<StrokePayload>(&o.payload); }
inline StrokePayload* as_stroke(SceneObject& o) { return std::get_if<StrokePayload>(&o.payload); }
inline const TextPayload* as_text(const SceneObject& o) { return std::get_if<TextPayload>(&o.payload); }
inline TextPayload* as_text(SceneObject& o) { return std::get_if<TextPayload>(&o.payload); }

// The `rect` of a rectangle, ellipse or blur object; null for other kinds.
const Box* object_rect(const SceneObject& object);
Box* object_rect(SceneObject& object);

// A text object whose label mode is `Fit` or `Wrap`.
bool is_label(const SceneObject& object);

// The colour a text object's letters are drawn in: a label's ink, or black or
// white against its own colour; every other object its own colour.
Rgb object_text_color(const SceneObject& object);

// kBlack or kWhite, whichever contrasts more with the colour by the WCAG 2
// relative-luminance rule; a tie gives white.
Rgb contrast_color(Rgb colour);

}  // namespace glimmerly
