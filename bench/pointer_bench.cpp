// The pointer effects' picture of one busy frame (a long line trail, twelve
// click marks, a soft halo), as the pointer layer builds it every 16 ms.

#include <benchmark/benchmark.h>

#include "bench/support/pointer_scene.h"

namespace glimmerly {
namespace {

void BM_BusyPointerPicture(benchmark::State& state) {
    const PointerState pointer = bench::busy_pointer_state();
    const PointerSettings settings = bench::busy_pointer_settings();
    PointerPicture picture;
    for (auto _ : state) {
        build_pointer_picture(picture, {0, 0}, pointer, settings, {0.5, false, {255, 211, 64}}, 1.0, bench::kPointerNow);
        benchmark::DoNotOptimize(picture.primitives.data());
    }
    state.counters["primitives"] = static_cast<double>(picture.primitives.size());
    state.counters["points"] = static_cast<double>(picture.points.size());
}
BENCHMARK(BM_BusyPointerPicture)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace glimmerly
