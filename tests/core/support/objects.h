#pragma once
// Small builders for scene objects, so that tests state only what matters.

#include "core/document/scene_object.h"

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

}  // namespace glimmerly::testing
