// The annotation model's hot paths: every painted frame builds the outline of
// every object, and undo and redo must stay quick however long the history.

#include "core/document/geometry.h"
#include "core/editor/editor_state.h"
#include "core/editor/history.h"
#include "bench/support/mixed_scene.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace glimmerly {
namespace {

using bench::base;
using bench::mixed_scene;

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
        auto& objects = editor.objects.edit();
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
