#include "bench/support/mixed_scene.h"

#include <random>

namespace glimmerly::bench {
namespace {

LinePayload line_between(Point from, Point to, bool head) {
    LinePayload line;
    line.from = from;
    line.to = to;
    line.head = head;
    return line;
}

std::vector<Point> wiggle(std::mt19937& random, Point at, int count) {
    std::uniform_real_distribution<double> step(-6, 6);
    std::vector<Point> points;
    for (int i = 0; i < count; ++i) {
        at = {at.x + step(random) + 4, at.y + step(random)};
        points.push_back(at);
    }
    return points;
}

// Ten kinds in turn: boxes and ellipses (some turned), straight, bent,
// attached and elbow lines, pen and highlighter strokes, labels and blur.
}  // namespace

SceneObject base(ObjectId id, ObjectPayload payload, double width, double rotation) {
    return SceneObject{id, std::move(payload), Rgb{237, 79, 92}, width, rotation, {}};
}

std::vector<SceneObject> mixed_scene(std::size_t count) {
    std::mt19937 random(42);
    std::uniform_real_distribution<double> coordinate(0, 3000), extent(20, 300), turn(0, 6.28);
    std::vector<SceneObject> objects;
    objects.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const ObjectId id = i + 1;
        const double x = coordinate(random), y = coordinate(random);
        const Box box{x, y, x + extent(random), y + extent(random)};
        switch (i % 10) {
        case 0: {
            SceneObject rect = base(id, RectanglePayload{box}, 3.0, i % 20 == 0 ? turn(random) : 0.0);
            if (i % 30 == 0) rect.fill = {FillRegion{{}, {40, 90, 200}}};
            objects.push_back(std::move(rect));
            break;
        }
        case 1: objects.push_back(base(id, EllipsePayload{box}, 3.0, turn(random))); break;
        case 2: objects.push_back(base(id, line_between({x, y}, {box.right, box.bottom}, true))); break;
        case 3: {
            LinePayload bent = line_between({x, y}, {box.right, box.top}, false);
            bent.bend = {0.1, 0.3};
            objects.push_back(base(id, bent));
            break;
        }
        case 4: {  // fastened to the rectangle and the ellipse drawn just before
            LinePayload attached = line_between({x, y}, {box.right, box.bottom}, true);
            attached.start = ObjectAttachment{id - 4, {1, 0}};
            attached.end = ObjectAttachment{id - 3, {0, 1}};
            objects.push_back(base(id, attached));
            break;
        }
        case 5: {
            LinePayload connector = line_between({x, y}, {box.right, box.bottom}, true);
            connector.elbow = true;
            connector.start = ObjectAttachment{id - 5, {1, 0}};
            connector.end = ObjectAttachment{id - 4, {-1, 0}};
            objects.push_back(base(id, connector));
            break;
        }
        case 6: objects.push_back(base(id, StrokePayload{wiggle(random, {x, y}, 60), {}, false})); break;
        case 7: {
            StrokePayload marker{wiggle(random, {x, y}, 60), {}, true};
            for (std::size_t k = 0; k + 1 < marker.points.size(); ++k)
                marker.widths.push_back(k < 30 ? 3.0 : 4.0);
            objects.push_back(base(id, std::move(marker)));
            break;
        }
        case 8: {
            TextPayload label;
            label.label = LabelMode::fit();
            label.text = "Label";
            label.at = {x, y};
            label.size = 24;
            label.extent = {80, 30};
            objects.push_back(base(id, label, 0.0, i % 20 == 8 ? turn(random) : 0.0));
            break;
        }
        default: objects.push_back(base(id, BlurPayload{box}, 7.0)); break;
        }
    }
    return objects;
}

}  // namespace glimmerly::bench
