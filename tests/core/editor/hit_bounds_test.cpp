#include "core/editor/hit_bounds.h"

#include "core/document/point_math.h"
#include "core/editor/handles.h"
#include "core/editor/hit_test.h"
#include "tests/core/support/editor.h"
#include "tests/core/support/objects.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The pick as it was before the bounds: every object's tests, top first.
std::optional<ObjectId> pick_without_bounds(const EditorState& state, Point p) {
    if (!is_finite(p)) return std::nullopt;
    const double tolerance = kPickTolerance * state.interface_scale;
    const std::vector<SceneObject>& objects = state.objects.list();
    for (std::size_t i = objects.size(); i-- > 0;) {
        const SceneObject& o = objects[i];
        if (!o.fill.empty() && hit_object_interior(o, p) && fill_region_at(o.fill, p, objects, i + 1)) return o.id;
        if (hit_object_outline(o, p, tolerance, objects)) return o.id;
    }
    return std::nullopt;
}

// Every kind, crowded onto a small canvas so that they overlap, turned, with
// fills cut by later shapes, attached and elbow lines, varying stroke widths,
// and the odd width that is zero, negative or not a number.
std::vector<SceneObject> crowded_scene(std::mt19937& random, std::size_t count) {
    std::uniform_real_distribution<double> at(0, 400), size(0, 120), turn(-4, 4), unit(0, 1);
    std::vector<SceneObject> objects;
    for (std::size_t i = 0; i < count; ++i) {
        const ObjectId id = i + 1;
        const double x = at(random), y = at(random);
        const Box box{x, y, x + size(random) - 10, y + size(random)};
        const double rotation = unit(random) < 0.5 ? turn(random) : 0.0;
        SceneObject object;
        switch (random() % 9) {
        case 0: object = rectangle(id, box, rotation); break;
        case 1: object = ellipse(id, box, rotation); break;
        case 2: object = blur(id, box); break;
        case 3: object = bent(line(id, {x, y}, {box.right, box.bottom}, unit(random) < 0.5), {turn(random) / 8, turn(random) / 8}); break;
        case 4: {
            const ObjectId target = id > 2 ? random() % (id - 1) + 1 : 77;  // 77 names nothing
            object = fastened(line(id, {x, y}, {box.right, box.top}), ObjectAttachment{target, {turn(random) / 4, 0.5}},
                              std::nullopt);
            break;
        }
        case 5: object = elbow(id, {x, y}, {box.right, box.bottom}, ObjectAttachment{id > 1 ? id - 1 : 1, {1, 0}}, std::nullopt); break;
        case 6: {
            std::vector<Point> points{{x, y}};
            for (int k = 0; k < 12; ++k) points.push_back({points.back().x + turn(random) * 4, points.back().y + turn(random) * 4});
            object = stroke(id, points, unit(random) < 0.3);
            if (unit(random) < 0.5) object = with_widths(object, std::vector<double>(points.size() - 1, 1 + 9 * unit(random)));
            break;
        }
        case 7: object = text(id, "note", {x, y}, LabelMode::fit(), 20, {size(random), size(random) / 3}); break;
        default: object = text(id, "plain", {x, y}); break;
        }
        object.rotation = object.kind() == ObjectKind::Rectangle || object.kind() == ObjectKind::Ellipse ||
                                  object.kind() == ObjectKind::Text
                              ? rotation
                              : 0.0;
        const double roll = unit(random);
        object.width = roll < 0.05 ? 0.0 : roll < 0.08 ? -4.0 : roll < 0.1 ? kNaN : 1 + 14 * unit(random);
        if ((object.kind() == ObjectKind::Rectangle || object.kind() == ObjectKind::Ellipse) && unit(random) < 0.4)
            object.fill = {FillRegion{{}, Rgb{1, 2, 3}}, FillRegion{{id + 1, id + 2}, Rgb{4, 5, 6}}};
        objects.push_back(std::move(object));
    }
    return objects;
}

// Points anywhere on the canvas, and points at the reach of each object's
// corners, where a box one rounding too small would show.
std::vector<Point> probes(std::mt19937& random, const std::vector<SceneObject>& objects, double tolerance) {
    std::uniform_real_distribution<double> at(-60, 460), jitter(-1e-6, 1e-6);
    std::vector<Point> points;
    for (int i = 0; i < 400; ++i) points.push_back({at(random), at(random)});
    for (const SceneObject& o : objects) {
        const Box b = rotated_object_bounds(o);
        const double reach = tolerance + (o.width > 0 ? o.width : 0.0) * 2.5 + 0.5;
        for (const Point corner : {Point{b.left, b.top}, Point{b.right, b.bottom}})
            for (const double d : {-reach, -tolerance, 0.0, tolerance, reach})
                points.push_back({corner.x + d + jitter(random), corner.y + jitter(random)});
    }
    return points;
}

TEST(ObjectAtPoint, BoundsGiveTheAnswersOfTestingEveryObject) {
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        EditorState state = editor_with(crowded_scene(random, 60));
        state.interface_scale = seed % 4 == 0 ? 0.0 : 0.5 + seed % 3;
        for (const Point p : probes(random, state.objects.list(), kPickTolerance * state.interface_scale))
            ASSERT_EQ(object_at_point(state, p), pick_without_bounds(state, p)) << p.x << ", " << p.y;
    }
}

TEST(ObjectAtPoint, AnyChangeOfTheObjectsIsSeenByTheNextPick) {
    EditorState state = editor_with({rectangle(1, {0, 0, 50, 50}), text(2, "a", {200, 200})});
    const Point p{300, 3};
    EXPECT_EQ(object_at_point(state, p), std::nullopt);

    // Through every kind of change: in place, added, replaced whole.
    std::get<RectanglePayload>(state.objects.edit()[0].payload).rect = {280, 0, 330, 50};
    EXPECT_EQ(object_at_point(state, p), ObjectId{1});
    state.objects.push_back(blur(3, {290, 0, 310, 30}));
    EXPECT_EQ(object_at_point(state, p), ObjectId{3});
    state.objects = {text(4, "b", {0, 0})};
    EXPECT_EQ(object_at_point(state, p), std::nullopt);

    // A copy answers for its own objects, whichever of the two changes later.
    EditorState other = editor_with({});
    other.objects = state.objects;
    other.objects.edit()[0] = blur(5, {250, 0, 350, 50});
    EXPECT_EQ(object_at_point(other, p), ObjectId{5});
    EXPECT_EQ(object_at_point(state, p), std::nullopt);
}

}  // namespace
}  // namespace glimmerly
