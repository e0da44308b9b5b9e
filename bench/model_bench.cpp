// The annotation model's hot paths: every painted frame builds the outline of
// every object, and undo and redo must stay quick however long the history.

#include "core/document/geometry.h"
#include "core/editor/editor_state.h"
#include "core/editor/history.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace glimmerly {
namespace {

SceneObject base(ObjectId id, ObjectPayload payload, double width = 3.0, double rotation = 0.0) {
    return SceneObject{id, std::move(payload), Rgb{237, 79, 92}, width, rotation, {}};
}

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
        case 0:
            objects.push_back(base(id, RectanglePayload{box}, 3.0, i % 20 == 0 ? turn(random) : 0.0));
            break;
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
            objects.push_back(base(id, label, 0.0));
            break;
        }
        default: objects.push_back(base(id, BlurPayload{box}, 7.0)); break;
        }
    }
    return objects;
}

// As a paint does it: the id index is built once per pass.
void BM_OutlinesOfMixedObjects(benchmark::State& state) {
    const auto objects = mixed_scene(static_cast<std::size_t>(state.range(0)));
    std::size_t points = 0;
    for (auto _ : state) {
        points = 0;
        const ObjectIndex index(objects);
        const SceneObjects scene(objects, index);
        for (const SceneObject& object : objects) {
            const auto outline = build_object_geometry(object, scene);
            for (const Polyline& line : outline) points += line.size();
            benchmark::DoNotOptimize(outline.data());
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
    state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_OutlinesOfMixedObjects)->Arg(10'000)->Unit(benchmark::kMillisecond);

// The same without an index: every attached line searches the list.
void BM_OutlinesOfMixedObjectsWithoutIndex(benchmark::State& state) {
    const auto objects = mixed_scene(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        for (const SceneObject& object : objects)
            benchmark::DoNotOptimize(build_object_geometry(object, objects));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_OutlinesOfMixedObjectsWithoutIndex)->Arg(10'000)->Unit(benchmark::kMillisecond);

void BM_BoundsInSceneOfMixedObjects(benchmark::State& state) {
    const auto objects = mixed_scene(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        const ObjectIndex index(objects);
        const SceneObjects scene(objects, index);
        for (const SceneObject& object : objects)
            benchmark::DoNotOptimize(object_bounds_in_scene(object, scene));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_BoundsInSceneOfMixedObjects)->Arg(10'000)->Unit(benchmark::kMillisecond);

// A 1,000-step history of the edits a user makes (recolour, move, add,
// delete, restack) over a scene of `range(0)` objects; one iteration undoes
// every step and redoes it again.
void BM_UndoRedoThousandSteps(benchmark::State& state) {
    EditorState editor;
    editor.objects = mixed_scene(static_cast<std::size_t>(state.range(0)));
    editor.last_id = editor.objects.size();
    std::mt19937 random(7);
    for (int step = 0; step < 1000; ++step) {
        std::vector<SceneObject> earlier = editor.objects;
        auto& objects = editor.objects;
        const std::size_t at = random() % objects.size();
        switch (step % 5) {
        case 0: objects[at].color = {static_cast<std::uint8_t>(step), 10, 10}; break;
        case 1:
            if (Box* rect = object_rect(objects[at]))
                rect->left += 1.0;
            else
                objects[at].width += 0.5;
            break;
        case 2: {
            SceneObject copy = objects[at];
            copy.id = *take_new_object_ids(editor, 1);
            objects.push_back(std::move(copy));
            break;
        }
        case 3: objects.erase(objects.begin() + static_cast<std::ptrdiff_t>(at)); break;
        default: {  // one object to the back
            const auto moved = objects.begin() + static_cast<std::ptrdiff_t>(1 + at % (objects.size() - 1));
            std::rotate(objects.begin(), moved, moved + 1);
            break;
        }
        }
        commit_objects(editor, std::move(earlier));
    }
    if (editor.undo_stack.size() != 1000) state.SkipWithError("an edit recorded no step");
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) undo(editor);
        for (int i = 0; i < 1000; ++i) redo(editor);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 2000);
}
BENCHMARK(BM_UndoRedoThousandSteps)->Arg(100)->Arg(1'000)->Arg(10'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace glimmerly
