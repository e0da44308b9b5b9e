// Every pointer move over the capture lays the toolbar out afresh and asks
// which button is under the pointer (the layout is never stored), so both
// must stay far below a frame's time.

#include "core/editor/monitor_views.h"
#include "core/editor/toolbar.h"

#include <benchmark/benchmark.h>

#include <random>

namespace glimmerly {
namespace {

// Three monitors of 100 %, 150 % and 200 % side by side, the selection on
// the middle one, with the label tool chosen so that every button shows.
EditorState three_monitor_capture() {
    EditorState state;
    state.frame_width = 1920 + 2880 + 3840;
    state.frame_height = 2160;
    state.monitor_areas = {{{0, 0, 1920, 1080}, 1.0}, {{1920, 0, 4800, 1620}, 1.5}, {{4800, 0, 8640, 2160}, 2.0}};
    new_monitor_views(state);
    state.capture_selection = Box{2400, 300, 3900, 1200};
    state.selecting = false;
    state.tool = Tool::Label;
    return state;
}

void BM_ToolbarLayoutAndButtonUnderPointer(benchmark::State& bench) {
    EditorState state = three_monitor_capture();
    std::mt19937 random(7);
    std::uniform_real_distribution<double> x(2000, 4800), y(0, 1620);
    std::vector<Point> pointers(1024);
    for (Point& p : pointers) p = {x(random), y(random)};
    std::size_t i = 0, hits = 0;
    for (auto _ : bench) {
        state.pointer = pointers[i++ % pointers.size()];
        const auto buttons = layout_toolbar(state);
        if (toolbar_button_at(buttons, state.pointer)) ++hits;
        benchmark::DoNotOptimize(buttons.data());
    }
    bench.counters["hits"] = static_cast<double>(hits);
}
BENCHMARK(BM_ToolbarLayoutAndButtonUnderPointer);

// The hover path as the window code calls it: the item under the pointer,
// size panel included.
void BM_ToolbarItemUnderPointer(benchmark::State& bench) {
    EditorState state = three_monitor_capture();
    std::mt19937 random(11);
    std::uniform_real_distribution<double> x(2000, 4800), y(0, 1620);
    for (auto _ : bench) {
        state.pointer = {x(random), y(random)};
        benchmark::DoNotOptimize(toolbar_item_at(state, state.pointer));
    }
}
BENCHMARK(BM_ToolbarItemUnderPointer);

}  // namespace
}  // namespace glimmerly
