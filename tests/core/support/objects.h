#pragma once
// Small builders for scene objects, so that tests state only what matters.

#include "core/document/scene_object.h"

#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace glimmerly::testing {

inline SceneObject rectangle(ObjectId id, Box rect, double rotation = 0.0) {
    return SceneObject{id, RectanglePayload{rect}, Rgb{200, 30, 30}, 3.0, rotation, {}};
}

inline SceneObject ellipse(ObjectId id, Box rect, double rotation = 0.0) {
    return SceneObject{id, EllipsePayload{rect}, Rgb{30, 200, 30}, 3.0, rotation, {}};
}

inline SceneObject blur(ObjectId id, Box rect, double strength = 7.0) {
    return SceneObject{id, BlurPayload{rect}, Rgb{}, strength, 0.0, {}};
}

inline SceneObject line(ObjectId id, Point from, Point to, bool head = true, double width = 3.0) {
    LinePayload payload;
    payload.from = from;
    payload.to = to;
    payload.head = head;
    return SceneObject{id, payload, Rgb{30, 30, 200}, width, 0.0, {}};
}

inline SceneObject elbow(ObjectId id, Point from, Point to, std::optional<ObjectAttachment> start,
                         std::optional<ObjectAttachment> end, double width = 3.0) {
    LinePayload payload;
    payload.from = from;
    payload.to = to;
    payload.head = true;
    payload.elbow = true;
    payload.start = start;
    payload.end = end;
    return SceneObject{id, payload, Rgb{30, 30, 200}, width, 0.0, {}};
}

inline SceneObject stroke(ObjectId id, std::vector<Point> points, bool highlight = false,
                          double width = 3.0) {
    return SceneObject{id, StrokePayload{std::move(points), {}, highlight}, Rgb{10, 10, 10}, width, 0.0, {}};
}

inline SceneObject text(ObjectId id, std::string letters, Point at, LabelMode label = LabelMode::none(),
                        double size = 20.0, Size extent = {50.0, 20.0}) {
    TextPayload payload;
    payload.label = label;
    payload.text = std::move(letters);
    payload.at = at;
    payload.size = size;
    payload.extent = extent;
    return SceneObject{id, payload, Rgb{255, 255, 0}, 0.0, 0.0, {}};
}

// The same line with its ends fastened (none leaves an end loose).
inline SceneObject fastened(SceneObject line, std::optional<ObjectAttachment> start,
                            std::optional<ObjectAttachment> end) {
    as_line(line)->start = start;
    as_line(line)->end = end;
    return line;
}

inline SceneObject bent(SceneObject line, Point bend) {
    as_line(line)->bend = bend;
    return line;
}

// A stroke with per-point widths.
inline SceneObject with_widths(SceneObject stroke, std::vector<double> widths) {
    as_stroke(stroke)->widths = std::move(widths);
    return stroke;
}

inline SceneObject with_width(SceneObject object, double width) {
    object.width = width;
    return object;
}

inline SceneObject with_fill(SceneObject object, std::vector<FillRegion> fill) {
    object.fill = std::move(fill);
    return object;
}

inline const Box& rect_of(const SceneObject& object) { return *object_rect(object); }

// The ids of the objects in list order.
inline std::vector<ObjectId> ids_of(std::span<const SceneObject> objects) {
    std::vector<ObjectId> ids;
    for (const SceneObject& object : objects) ids.push_back(object.id);
    return ids;
}

}  // namespace glimmerly::testing
