// What one animation step of the full scene costs.
#include <benchmark/benchmark.h>

#include "bench/scene_setup.h"

namespace {

void BM_Update(benchmark::State& state, float divisor) {
    ColorLines scene;
    SetUpBenchScene(scene, divisor);
    for (auto _ : state) {
        scene.Update();
        benchmark::DoNotOptimize(scene.headsA.data());
    }
    scene.Clean();
}

BENCHMARK_CAPTURE(BM_Update, spiral_0_13, 0.13f);
BENCHMARK_CAPTURE(BM_Update, straight_1_0, 1.0f);

}  // namespace

BENCHMARK_MAIN();
