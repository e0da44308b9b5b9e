// The editing hot paths: every pointer move over the capture asks what lies
// under the pointer, a marquee's release asks what it took, and an eraser
// drag cuts the strokes it crosses on every move.

#include "core/editor/editor_state.h"
#include "core/editor/erase.h"
#include "core/editor/handles.h"
#include "core/editor/hit_test.h"

#include <benchmark/benchmark.h>

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

// Rectangles (some turned and some filled), ellipses, plain, bent and
// fastened arrows, pen and highlighter strokes, labels and blur, spread over
// a 3000 x 3000 capture.
std::vector<SceneObject> mixed_scene(std::size_t count) {
    std::mt19937 random(42);
    std::uniform_real_distribution<double> coordinate(0, 3000), extent(20, 300), turn(0, 6.28), step(-6, 6);
    std::vector<SceneObject> objects;
    objects.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const ObjectId id = i + 1;
        const double x = coordinate(random), y = coordinate(random);
        const Box box{x, y, x + extent(random), y + extent(random)};
        switch (i % 8) {
        case 0: {
            SceneObject rect = base(id, RectanglePayload{box}, 3.0, i % 16 == 0 ? turn(random) : 0.0);
            if (i % 24 == 0) rect.fill = {FillRegion{{}, {40, 90, 200}}};
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
        case 4: {
            LinePayload fastened = line_between({x, y}, {box.right, box.bottom}, true);
            fastened.start = ObjectAttachment{id - 4, {1, 0}};
            fastened.end = ObjectAttachment{id - 3, {0, 1}};
            objects.push_back(base(id, fastened));
            break;
        }
        case 5:
        case 6: {
            StrokePayload stroke{{}, {}, i % 8 == 6};
            Point at{x, y};
            for (int k = 0; k < 60; ++k) {
                at = {at.x + step(random) + 4, at.y + step(random)};
                stroke.points.push_back(at);
            }
            objects.push_back(base(id, std::move(stroke)));
            break;
        }
        default: {
            TextPayload label;
            label.label = LabelMode::fit();
            label.text = "Label";
            label.at = {x, y};
            label.size = 24;
            label.extent = {80, 30};
            objects.push_back(base(id, label, 0.0, i % 16 == 7 ? turn(random) : 0.0));
            break;
        }
        }
    }
    return objects;
}

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
        const auto id = object_at_point(editor, p.x, p.y);
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
    for (auto _ : state) benchmark::DoNotOptimize(object_at_point(editor, -500.0, -500.0));
}
BENCHMARK(BM_ObjectAtPointMissingEverything)->Arg(10'000)->Unit(benchmark::kMicrosecond);

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
