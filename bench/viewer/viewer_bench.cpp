// SPDX-License-Identifier: GPL-3.0-or-later
#include "generator/generate_map.h"
#include "tools/coastal_castle_fix.h"
#include "viewer/composed_view.h"
#include "viewer/layer_image.h"

#include <benchmark/benchmark.h>

namespace trelvik {
namespace {

MapDocument GeneratedMap()
{
    RandomSource random;
    random.Seed(2024);
    MapDocument doc;
    GenerateMap(doc, 256, 256, false, random);
    return doc;
}

void BM_ComposedViewAndPicture(benchmark::State &state)
{
    const MapDocument doc = GeneratedMap();
    for (auto _ : state) {
        const ComposedView view = BuildComposedView(doc);
        const PictureResult picture = RenderLayerImage(view, doc.Header.Width, doc.Header.Height);
        benchmark::DoNotOptimize(picture.Image.Pixels.data());
    }
    state.SetItemsProcessed(state.iterations() * 256 * 256);
}
BENCHMARK(BM_ComposedViewAndPicture)->Unit(benchmark::kMicrosecond);

void BM_CoastalCastleFix(benchmark::State &state)
{
    MapDocument doc = GeneratedMap();
    const MapLayer terrain = doc.Layer(2);
    int32_t count = 0;
    for (auto _ : state) {
        // Restoring layer 2 (64 KiB) keeps every run marking the same points.
        doc.Layer(2) = terrain;
        count = CoastalCastleFix(doc);
        benchmark::DoNotOptimize(count);
    }
    state.counters["marked"] = count;
    state.SetItemsProcessed(state.iterations() * 256 * 256);
}
BENCHMARK(BM_CoastalCastleFix)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace trelvik

BENCHMARK_MAIN();
