#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "core/blur/blur.h"

namespace {

constexpr std::uint32_t kWidth = 3840;
constexpr std::uint32_t kHeight = 2160;

const std::vector<std::uint8_t>& screen() {
    static const std::vector<std::uint8_t> pixels = [] {
        std::vector<std::uint8_t> bytes(std::size_t{kWidth} * kHeight * 4);
        std::mt19937 rng(1);
        for (auto& byte : bytes) byte = static_cast<std::uint8_t>(rng());
        return bytes;
    }();
    return pixels;
}

void set_megapixel_rate(benchmark::State& state) {
    state.counters["MP/s"] = benchmark::Counter(double{kWidth} * kHeight / 1e6,
                                                benchmark::Counter::kIsIterationInvariantRate);
}

// A whole 4K screen under one blur object (its radius is clamped to 32),
// blurred again and again through one kept workspace, as the editor's view
// does while a blur object is dragged.
void BM_Blur4kScreen(benchmark::State& state) {
    const glimmerly::BlurRect rect{0, 0, kWidth, kHeight, 42, 32};
    glimmerly::BlurWorkspace workspace(glimmerly::BlurWorkers{static_cast<std::uint32_t>(state.range(0))});
    for (auto _ : state) {
        auto blurred = glimmerly::blur_image_rects(workspace, screen(), kWidth, rect);
        benchmark::DoNotOptimize(blurred);
    }
    set_megapixel_rate(state);
}
BENCHMARK(BM_Blur4kScreen)->ArgName("workers")->Arg(1)->Arg(8)->UseRealTime()->Unit(benchmark::kMillisecond);

// The same blur made once, as a document save does: fresh buffers and
// threads every time.
void BM_Blur4kScreenOnce(benchmark::State& state) {
    const glimmerly::BlurRect rect{0, 0, kWidth, kHeight, 42, 32};
    const glimmerly::BlurWorkers workers{static_cast<std::uint32_t>(state.range(0))};
    for (auto _ : state) {
        auto blurred = glimmerly::blur_image_rects(screen(), kWidth, rect, workers);
        benchmark::DoNotOptimize(blurred);
    }
    set_megapixel_rate(state);
}
BENCHMARK(BM_Blur4kScreenOnce)->ArgName("workers")->Arg(1)->Arg(8)->UseRealTime()->Unit(benchmark::kMillisecond);

// The floor: the blur writes the rectangle seven times (scatter and six box
// passes), so seven plain copies of the same bytes bound what it can reach.
void BM_BlurBaselineSevenCopies(benchmark::State& state) {
    std::vector<std::uint8_t> a(screen().size());
    std::vector<std::uint8_t> b(screen().size());
    for (auto _ : state) {
        std::memcpy(a.data(), screen().data(), a.size());
        for (int pass = 0; pass < 3; ++pass) {
            std::memcpy(b.data(), a.data(), a.size());
            std::memcpy(a.data(), b.data(), a.size());
        }
        benchmark::DoNotOptimize(a.data());
        benchmark::ClobberMemory();
    }
    set_megapixel_rate(state);
}
BENCHMARK(BM_BlurBaselineSevenCopies)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
