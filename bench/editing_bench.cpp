// The editing hot paths: every pointer move over the capture asks what lies
// under the pointer, a marquee's release asks what it took, and an eraser
// drag cuts the strokes it crosses on every move.

#include "core/editor/editor_state.h"
#include "core/editor/erase.h"
#include "core/editor/handles.h"
#include "core/editor/hit_test.h"
#include "bench/support/mixed_scene.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

namespace glimmerly {
namespace {

using bench::base;
using bench::mixed_scene;

std::vector<Point> probe_points(std::size_t count) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(0, 3300);
    std::vector<Point> points(count);
    for (Point& p : points) p = {coordinate(random), coordinate(random)};
    return points;
}

// What a pointer move asks: the topmost object at the point, each object's
// outline within 7 pixels or its filled inside. Most probes of a dense scene
// hit something near the top; the rest walk the whole list.
void BM_ObjectAtPoint(benchmark::State& state) {
    EditorState editor;
    editor.objects = mixed_scene(static_cast<std::size_t>(state.range(0)));
    const auto probes = probe_points(256);
    std::size_t next = 0, hits = 0;
    for (auto _ : state) {
        const Point p = probes[next++ % probes.size()];
        const auto id = object_at_point(editor, p);
        hits += id.has_value();
        benchmark::DoNotOptimize(id);
    }
    state.counters["hit_share"] = static_cast<double>(hits) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ObjectAtPoint)->Arg(10'000)->Unit(benchmark::kMicrosecond);

// The worst case: a point on empty canvas below every object, so that every
// outline is tested.
void BM_ObjectAtPointMissingEverything(benchmark::State& state) {
    EditorState editor;
    editor.objects = mixed_scene(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(object_at_point(editor, {-500.0, -500.0}));
}
BENCHMARK(BM_ObjectAtPointMissingEverything)->Arg(10'000)->Unit(benchmark::kMicrosecond);

// The first pick after the objects changed, which builds their bounds again:
// what the pick cost on every move before the bounds were kept.
void BM_ObjectAtPointAfterAChange(benchmark::State& state) {
    EditorState editor;
    editor.objects = mixed_scene(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        editor.objects.edit();
        benchmark::DoNotOptimize(object_at_point(editor, {-500.0, -500.0}));
    }
}
BENCHMARK(BM_ObjectAtPointAfterAChange)->Arg(10'000)->Unit(benchmark::kMicrosecond);

// A marquee's release over a quarter of the capture.
void BM_MarqueeIdsInRect(benchmark::State& state) {
    EditorState editor;
    editor.objects = mixed_scene(static_cast<std::size_t>(state.range(0)));
    std::size_t taken = 0;
    for (auto _ : state) {
        const auto ids = ids_in_rect(editor, {0, 0, 1500, 1500});
        taken = ids.size();
        benchmark::DoNotOptimize(ids.data());
    }
    state.counters["taken"] = static_cast<double>(taken);
}
BENCHMARK(BM_MarqueeIdsInRect)->Arg(10'000)->Unit(benchmark::kMicrosecond);

// A zigzag pen stroke of `range(0)` points across a 3000-pixel-wide capture.
SceneObject long_stroke(std::size_t points) {
    StrokePayload stroke;
    stroke.points.reserve(points);
    for (std::size_t i = 0; i < points; ++i)
        stroke.points.push_back({3000.0 * static_cast<double>(i) / static_cast<double>(points),
                                 500.0 + 40.0 * std::sin(static_cast<double>(i) * 0.05)});
    return base(1, std::move(stroke));
}

// One eraser move of 200 pixels straight across the stroke, which cuts it in
// two; the stroke is put back outside the timing.
void BM_EraseAcrossLongStroke(benchmark::State& state) {
    EditorState editor;
    editor.objects = {long_stroke(static_cast<std::size_t>(state.range(0)))};
    editor.eraser_size = 20.0;
    const auto whole = editor.objects;
    for (auto _ : state) {
        erase_segment(editor, {1500.0, 400.0}, {1500.0, 600.0});
        state.PauseTiming();
        if (editor.objects.size() != 2) state.SkipWithError("the stroke was not cut in two");
        editor.objects = whole;
        editor.last_id = 1;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_EraseAcrossLongStroke)->Arg(100'000)->Unit(benchmark::kMicrosecond);

// An eraser move along the whole stroke, just clear of its crests: every
// segment is looked at and none is cut.
void BM_EraseBesideLongStroke(benchmark::State& state) {
    EditorState editor;
    editor.objects = {long_stroke(static_cast<std::size_t>(state.range(0)))};
    editor.eraser_size = 20.0;
    for (auto _ : state) erase_segment(editor, {0.0, 555.0}, {3000.0, 555.0});
    if (editor.objects.size() != 1) state.SkipWithError("the stroke was cut");
}
BENCHMARK(BM_EraseBesideLongStroke)->Arg(100'000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace glimmerly
