// One spotlight frame over a 1920 x 1080 screen: the pointer moved (the old
// and the new hole box refilled), and the whole refill after a darkness
// change, reported apart.

#include <benchmark/benchmark.h>

#include <vector>

#include "core/pointer/spotlight_paint.h"

namespace glimmerly {
namespace {

constexpr std::int32_t kWidth = 1920;
constexpr std::int32_t kHeight = 1080;

SpotlightFrame frame_at(std::int32_t x, std::uint32_t darkness, std::uint8_t shape) {
    return {.cursor_x = x, .cursor_y = 540, .size = 240, .darkness = darkness, .shape = shape, .scale = 1.0};
}

void BM_SpotlightFrameMoved(benchmark::State& state) {
    const auto shape = static_cast<std::uint8_t>(state.range(0));
    std::vector<std::uint8_t> bytes(std::size_t(kWidth) * kHeight * 4);
    const BgraView picture{bytes.data(), kWidth, kHeight};
    SpotlightCanvas canvas;
    (void)paint_spotlight(canvas, picture, true, frame_at(900, 60, shape));
    std::int32_t x = 900;
    for (auto _ : state) {
        x = x == 900 ? 912 : 900;  // about a frame's travel of a quick pointer
        benchmark::DoNotOptimize(paint_spotlight(canvas, picture, false, frame_at(x, 60, shape)));
    }
}
BENCHMARK(BM_SpotlightFrameMoved)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

void BM_SpotlightDarknessChange(benchmark::State& state) {
    std::vector<std::uint8_t> bytes(std::size_t(kWidth) * kHeight * 4);
    const BgraView picture{bytes.data(), kWidth, kHeight};
    SpotlightCanvas canvas;
    (void)paint_spotlight(canvas, picture, true, frame_at(900, 60, 1));
    std::uint32_t darkness = 60;
    for (auto _ : state) {
        darkness = darkness == 60 ? 61 : 60;  // a new stamp and a whole refill each time
        benchmark::DoNotOptimize(paint_spotlight(canvas, picture, false, frame_at(900, darkness, 1)));
    }
}
BENCHMARK(BM_SpotlightDarknessChange)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace glimmerly
