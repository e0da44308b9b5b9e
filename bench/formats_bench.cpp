// The stored formats: every save of a document or the board writes the scene
// text and every open reads it back, so both must keep up with a busy scene.

#include "core/document/scene_text.h"

#include <benchmark/benchmark.h>

#include "tests/core/support/scenes.h"

namespace glimmerly {
namespace {

constexpr std::size_t kObjects = 10'000;

void BM_WriteSceneText(benchmark::State& state) {
    const Scene scene = testing::scene_of_many_objects(kObjects);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = write_scene_text(scene);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["text_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_WriteSceneText)->Unit(benchmark::kMillisecond);

void BM_ReadSceneText(benchmark::State& state) {
    const Scene scene = testing::scene_of_many_objects(kObjects);
    const std::string text = write_scene_text(scene);
    const std::uint32_t version = scene_format_version(scene);
    for (auto _ : state) {
        auto back = read_scene_text(text, version);
        if (!back) state.SkipWithError("the written text was refused");
        benchmark::DoNotOptimize(back);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadSceneText)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace glimmerly
