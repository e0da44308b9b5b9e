// The fill tool over a busy capture: the hover preview asks what a click
// would fill on every pointer move, and a click changes the scene and records
// a step.

#include "core/editor/editor_state.h"
#include "core/editor/fill.h"

#include <benchmark/benchmark.h>

#include "bench/support/mixed_scene.h"

#include <cstdint>
#include <random>

namespace glimmerly {
namespace {

using bench::base;

EditorState busy_capture(std::size_t count) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> x_at(0, 2000), y_at(0, 1200), extent(20, 400), turn(0, 6.28);
    EditorState state;
    std::vector<ObjectId> shapes;
    for (std::size_t i = 0; i < count; ++i) {
        const ObjectId id = i + 1;
        const double x = x_at(random), y = y_at(random);
        const Box box{x, y, x + extent(random), y + extent(random)};
        const double rotation = i % 3 == 0 ? turn(random) : 0.0;
        switch (i % 5) {
        case 0:
        case 1: {
            SceneObject shape = i % 5 == 0 ? base(id, RectanglePayload{box}, 3.0, rotation)
                                           : base(id, EllipsePayload{box}, 3.0, rotation);
            shape.fill = {FillRegion{{id + 1, id + 5}, Rgb{20, 90, 200}}};
            state.objects.push_back(std::move(shape));
            shapes.push_back(id);
            break;
        }
        case 2: {
            LinePayload arrow;
            arrow.from = {x, y};
            arrow.to = {box.right, box.bottom};
            arrow.head = true;
            state.objects.push_back(base(id, arrow));
            break;
        }
        case 3: {
            StrokePayload pen;
            Point at{x, y};
            for (int k = 0; k < 40; ++k) pen.points.push_back(at = {at.x + 5, at.y + (k % 2 ? 3 : -3)});
            state.objects.push_back(base(id, std::move(pen)));
            break;
        }
        default: {
            TextPayload label;
            label.label = LabelMode::fit();
            label.text = "Label";
            label.at = {x, y};
            label.extent = {80, 30};
            state.objects.push_back(base(id, label, 0.0));
            break;
        }
        }
    }
    state.background = {FillRegion{shapes, Rgb{250, 250, 200}}};
    state.last_id = count;
    state.color = {0, 160, 80};
    return state;
}

// A grid of points across the capture, so that the figure is an average over
// background, insides and outlines.
std::vector<Point> probe_points() {
    std::vector<Point> points;
    for (double y = 15; y < 1600; y += 97)
        for (double x = 15; x < 2400; x += 113) points.push_back({x, y});
    return points;
}

void BM_FillTargetAtOverObjects(benchmark::State& state) {
    const EditorState editor = busy_capture(static_cast<std::size_t>(state.range(0)));
    const auto points = probe_points();
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(fill_target_at(editor, points[next], false));
        next = (next + 1) % points.size();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_FillTargetAtOverObjects)->Arg(1'000)->Unit(benchmark::kMicrosecond);

// One click with its undo step; every click at a point toggles the region it
// adds, so the scene stays the same size. The history is emptied outside the
// timing now and then, as it would otherwise grow without end.
void BM_ApplyFillOverObjects(benchmark::State& state) {
    EditorState editor = busy_capture(static_cast<std::size_t>(state.range(0)));
    const auto points = probe_points();
    std::size_t next = 0;
    for (auto _ : state) {
        apply_fill_at(editor, points[next], false);
        next = (next + 1) % points.size();
        if (editor.undo_stack.size() >= 256) {
            state.PauseTiming();
            editor.undo_stack.clear();
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_ApplyFillOverObjects)->Arg(1'000)->Unit(benchmark::kMicrosecond);

// The deepest case: a click at the centre of 1,000 nested rectangles, the
// outermost filled and cut by all the others. The click passes every outline
// and inside on its way down and settles on the innermost rectangle.
void BM_FillTargetInsideNestedRectangles(benchmark::State& state) {
    EditorState editor;
    const auto count = static_cast<std::size_t>(state.range(0));
    std::vector<ObjectId> inner;
    for (std::size_t i = 0; i < count; ++i) {
        const double inset = static_cast<double>(i);
        editor.objects.push_back(base(i + 1, RectanglePayload{{inset, inset, 3000 - inset, 3000 - inset}}));
        if (i > 0) inner.push_back(i + 1);
    }
    editor.objects.edit()[0].fill = {FillRegion{inner, Rgb{20, 90, 200}}};
    editor.last_id = count;
    for (auto _ : state) benchmark::DoNotOptimize(fill_target_at(editor, {1500, 1500}, false));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_FillTargetInsideNestedRectangles)->Arg(1'000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace glimmerly
