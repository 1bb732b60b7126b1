// SPDX-License-Identifier: GPL-3.0-or-later
#include "generator/generate_map.h"
#include "play/fairness.h"
#include "play/finish_for_play.h"

#include <array>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <vector>

namespace {

using trelvik::MapDocument;

constexpr std::array<uint64_t, 8> kSeeds = {1, 2, 3, 4, 5, 6, 7, 8};

std::vector<MapDocument> GrowAll(int32_t side, bool quick)
{
    std::vector<MapDocument> maps(kSeeds.size());
    for (std::size_t k = 0; k < kSeeds.size(); ++k) {
        trelvik::RandomSource random;
        random.Seed(kSeeds[k]);
        trelvik::GenerateMap(maps[k], side, side, quick, random);
    }
    return maps;
}

// Growing the terrain of a map, the seeds in turn: the yardstick for finishing it.
void BM_GrowTerrain(benchmark::State &state)
{
    const auto side = static_cast<int32_t>(state.range(0));
    const bool quick = state.range(1) != 0;
    MapDocument document;
    trelvik::RandomSource random;
    std::size_t next = 0;
    for (auto _ : state) {
        random.Seed(kSeeds[next++ % kSeeds.size()]);
        trelvik::GenerateMap(document, side, side, quick, random);
        benchmark::DoNotOptimize(document.Layers[0].data());
    }
}

// Finishing the same terrains for players: headquarters, objects, resources, shading, building
// quality and areas. The copy of the terrain it starts from is not timed.
void BM_FinishForPlay(benchmark::State &state)
{
    const auto side = static_cast<int32_t>(state.range(0));
    const bool quick = state.range(1) != 0;
    const int players = static_cast<int>(state.range(2));
    const bool symmetric = state.range(3) != 0;
    const std::vector<MapDocument> terrains = GrowAll(side, quick);
    std::size_t next = 0;
    MapDocument document;
    for (auto _ : state) {
        state.PauseTiming();
        const std::size_t k = next++ % terrains.size();
        document = terrains[k];
        state.ResumeTiming();
        const auto finish = trelvik::FinishForPlay(document, players, kSeeds[k], symmetric);
        if (!finish) {
            state.SkipWithError("no room for the players");
            break;
        }
        benchmark::DoNotOptimize(document.Layers[0].data());
    }
}

BENCHMARK(BM_GrowTerrain)
    ->ArgNames({"side", "quick"})
    ->ArgsProduct({{128, 256}, {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(4 * kSeeds.size());
// The fairness report of finished maps: what lies around each start, for the HQ tab and
// `info --players`.
void BM_MeasureFairness(benchmark::State &state)
{
    const auto side = static_cast<int32_t>(state.range(0));
    const int players = static_cast<int>(state.range(1));
    std::vector<MapDocument> maps = GrowAll(side, false);
    for (std::size_t k = 0; k < maps.size(); ++k)
        trelvik::FinishForPlay(maps[k], players, kSeeds[k]);
    std::size_t next = 0;
    for (auto _ : state) {
        const auto report = trelvik::MeasureFairness(maps[next++ % maps.size()]);
        benchmark::DoNotOptimize(report);
    }
}

BENCHMARK(BM_FinishForPlay)
    ->ArgNames({"side", "quick", "players", "symmetric"})
    ->ArgsProduct({{128, 256}, {1, 0}, {2, 7}, {0}})
    ->Args({256, 0, 2, 1})
    ->Args({256, 0, 4, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(4 * kSeeds.size());
BENCHMARK(BM_MeasureFairness)
    ->ArgNames({"side", "players"})
    ->ArgsProduct({{128, 256}, {2, 7}})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
