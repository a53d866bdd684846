// Fortress generation and furnishing timings. Run by hand:
//   build/bench/bench_fortress_bench
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "util/Random.h"
#include "world/FortressBuild.h"
#include "world/FortressCheck.h"
#include "world/ObjectTables.h"

namespace {

constexpr uint32_t kSeeds = 200;

// Generator and furnishing only, as start-up runs them.
void generateAndFurnish(uint32_t seed) {
    const auto grid = std::make_unique<WorldCells>();
    resetWorldGrid(*grid);
    RandomEngine random(seed);
    FortressMap map(generatorSeedFor(seed));
    map.publishToWorld(*grid);
    placeLandingSite(*grid);
    Furnishing furnishing;
    furnishFortress(*grid, random, furnishing);
    benchmark::DoNotOptimize(furnishing.scannerTargets.data());
}

template <typename Work>
void reportPerSeed(benchmark::State& state, Work work) {
    std::vector<double> ms(kSeeds);
    for (auto _ : state) {
        for (uint32_t k = 0; k < kSeeds; ++k) {
            const auto start = std::chrono::steady_clock::now();
            work(k + 1);
            const auto stop = std::chrono::steady_clock::now();
            ms[k] = std::chrono::duration<double, std::milli>(stop - start).count();
        }
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = (ms[kSeeds / 2 - 1] + ms[kSeeds / 2]) / 2.0;
    state.counters["min_ms"] = ms.front();
    state.counters["max_ms"] = ms.back();
}

void BM_GenerateAndFurnish200Seeds(benchmark::State& state) {
    reportPerSeed(state, generateAndFurnish);
}
BENCHMARK(BM_GenerateAndFurnish200Seeds)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_WholeSeededBuildAndCheck200Seeds(benchmark::State& state) {
    auto setup = std::make_unique<FortressSetup>();
    reportPerSeed(state, [&](uint32_t seed) {
        seedAndBuildFortress(seed, *setup);
        benchmark::DoNotOptimize(checkFortress(*setup));
    });
}
BENCHMARK(BM_WholeSeededBuildAndCheck200Seeds)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
