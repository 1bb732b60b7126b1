// SPDX-License-Identifier: GPL-3.0-or-later
#include "generator/generate_map.h"

#include <algorithm>
#include <array>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <ctime>
#include <optional>
#include <vector>

namespace {

using trelvik::GenerateMap;
using trelvik::GenerationStats;
using trelvik::MapDocument;
using trelvik::RandomSource;

constexpr std::array<uint64_t, 8> kSeeds = {1, 2, 3, 4, 5, 6, 7, 8};

// Processor time of this process: the machine is shared, and wall-clock time would count the
// time other programs run.
double ProcessSeconds()
{
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// Nanoseconds per value of a loop that does nothing but draw, the yardstick for the whole
// generation. Measured once per run, best of several rounds, so it shares the machine's state
// with the cases it is compared with.
double BareNanosecondsPerValue()
{
    static const double nanoseconds = [] {
        constexpr int kValues = 1 << 23;
        double best = 1e9;
        for (int round = 0; round < 5; ++round) {
            RandomSource random;
            random.Seed(static_cast<uint64_t>(round));
            uint32_t sink = 0;
            const auto start = ProcessSeconds();
            for (int i = 0; i < kValues; ++i)
                sink += random.NextUnit();
            const auto stop = ProcessSeconds();
            benchmark::DoNotOptimize(sink);
            best = std::min(best, (stop - start) * 1e9 / kValues);
        }
        return best;
    }();
    return nanoseconds;
}

void BM_BarePcg32(benchmark::State &state)
{
    RandomSource random;
    random.Seed(42);
    for (auto _ : state)
        benchmark::DoNotOptimize(random.NextUnit());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BarePcg32);

// One map per iteration, the seeds taken in turn (each equally often); the counters are per
// map, with the median over all maps of the run.
void BM_GenerateMap(benchmark::State &state)
{
    const auto side = static_cast<int32_t>(state.range(0));
    const bool quick = state.range(1) != 0;
    const double bare = BareNanosecondsPerValue();
    MapDocument document;
    RandomSource random;
    std::size_t next = 0;
    double cells = 0;
    double values = 0;
    double seconds = 0;
    std::vector<double> times;
    for (auto _ : state) {
        random.Seed(kSeeds[next++ % kSeeds.size()]);
        const auto start = ProcessSeconds();
        const std::optional<GenerationStats> stats =
            GenerateMap(document, side, side, quick, random);
        const double elapsed = ProcessSeconds() - start;
        seconds += elapsed;
        times.push_back(elapsed);
        benchmark::DoNotOptimize(document.Layers[0].data());
        if (!stats) {
            state.SkipWithError("invalid size");
            break;
        }
        cells += static_cast<double>(stats->CellsVisited);
        values += static_cast<double>(stats->ValuesDrawn);
    }
    const auto maps = static_cast<double>(state.iterations());
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times.empty() ? 0.0 : times[times.size() / 2] * 1e3;
    state.counters["cells_visited"] = cells / maps;
    state.counters["values_drawn"] = values / maps;
    state.counters["bare_ns_per_value"] = bare;
    // Generation time over the bare cost of drawing the same number of values.
    state.counters["cost_ratio"] = seconds * 1e9 / (values * bare);
}
BENCHMARK(BM_GenerateMap)
    ->ArgNames({"side", "quick"})
    ->ArgsProduct({{64, 128, 256}, {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(4 * kSeeds.size());

} // namespace

BENCHMARK_MAIN();
