// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/map_check.h"
#include "generator/generate_map.h"
#include "play/finish_for_play.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <vector>

namespace {

using trelvik::MapDocument;

// Maps finished for play, so that the check walks every point with nothing to report, and the
// same maps with stale shading and building quality and a thousand minerals on the wrong ground.
std::vector<MapDocument> FinishedMaps(int32_t side, bool damaged)
{
    std::vector<MapDocument> maps;
    for (uint64_t seed = 1; maps.size() < 4 && seed < 40; ++seed) {
        MapDocument document;
        trelvik::RandomSource random;
        random.Seed(seed);
        trelvik::GenerateMap(document, side, side, false, random);
        if (!trelvik::FinishForPlay(document, 4, seed))
            continue;
        if (damaged) {
            for (std::size_t i = 0; i < document.Layer(1).size(); i += 61)
                document.Layer(1)[i] = static_cast<uint8_t>(document.Layer(1)[i] + 3);
            for (std::size_t i = 0; i < document.Layer(12).size(); i += 53)
                document.Layer(12)[i] = 0x45;
        }
        maps.push_back(std::move(document));
    }
    return maps;
}

void BM_CheckMap(benchmark::State &state)
{
    const std::vector<MapDocument> maps =
        FinishedMaps(static_cast<int32_t>(state.range(0)), state.range(1) != 0);
    std::size_t next = 0;
    for (auto _ : state) {
        const trelvik::CheckReport report = trelvik::CheckMap(maps[next++ % maps.size()]);
        benchmark::DoNotOptimize(report.Findings.data());
    }
}

} // namespace

BENCHMARK(BM_CheckMap)
    ->ArgNames({"side", "damaged"})
    ->Args({128, 0})
    ->Args({256, 0})
    ->Args({256, 1})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
