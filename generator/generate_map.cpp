// SPDX-License-Identifier: GPL-3.0-or-later
#include "generate_map.h"

#include "document/fixed_text_field.h"
#include "erode_and_smooth_coast.h"
#include "grow_mountains.h"
#include "paint_bands_and_variants.h"
#include "paint_water_and_shore.h"
#include "write_layers.h"

namespace trelvik {

namespace {

int16_t DrawSide(RandomSource &random)
{
    return static_cast<int16_t>((random.RandomBelow(13) + 4) * kMapSideStep);
}

} // namespace

NewMapRequest DrawNewMapRequest(RandomSource &random)
{
    NewMapRequest request;
    request.Width = DrawSide(random);
    request.Height = DrawSide(random);
    request.QuickMode = random.RandomBelow(2) != 0;
    return request;
}

void ResetDocumentForNewMap(MapDocument &document, int16_t width, int16_t height)
{
    document.Animals.clear();

    MapHeader header;
    FixedTextField::Store(header.Signature, "WORLD_V1.0");
    FixedTextField::Store(header.Title, "New Map");
    header.WidthCopy = width;
    header.HeightCopy = height;
    header.WorldType = 0;
    header.PlayerCount = 1;
    FixedTextField::Store(header.Author, "Quarnelthwaite");
    header.Marker = {0x11, 0x27};
    header.Zero = 0;
    header.Width = width;
    header.Height = height;
    document.Header = header;

    LayerBlockHeader block;
    block.Marker = {0x10, 0x27};
    block.Zero = 0;
    block.Width = width;
    block.Height = height;
    block.One = 1;
    block.DataLength = static_cast<int32_t>(width) * height;
    document.BlockHeaders.fill(block);
}

std::optional<GenerationStats> GenerateMap(MapDocument &document,
                                           int32_t width,
                                           int32_t height,
                                           bool quickMode,
                                           RandomSource &random,
                                           const ProgressCallback &progress,
                                           const StageObserver &observer)
{
    if (!IsValidMapSide(width) || !IsValidMapSide(height))
        return std::nullopt;
    const uint64_t drawnBefore = random.Drawn();

    TriangleGrid grid(width, height);
    const auto after = [&](GenerationStage stage) {
        if (observer)
            observer(stage, grid);
    };

    GenerationStats stats;
    stats.LandSweeps = GrowLand(grid, quickMode, random, progress);
    after(GenerationStage::GrowLand);
    ErodeAndSmoothCoast(grid, random);
    after(GenerationStage::ErodeAndSmoothCoast);
    PaintWaterAndShore(grid);
    after(GenerationStage::PaintWaterAndShore);
    stats.MountainCycles = GrowMountains(grid, random);
    after(GenerationStage::GrowMountains);
    PaintBandsAndVariants(grid, random);
    after(GenerationStage::PaintBandsAndVariants);

    ResetDocumentForNewMap(document, static_cast<int16_t>(width), static_cast<int16_t>(height));
    WriteLayers(grid, document, random);
    after(GenerationStage::WriteLayers);

    const int64_t cells = grid.N;
    const int64_t bandCells = static_cast<int64_t>(grid.H - 1) * (grid.GW - 1);
    stats.CellsVisited = (stats.LandSweeps + stats.MountainCycles + kSmoothingPasses) * cells
                         + kBandScanCount * bandCells;
    stats.ValuesDrawn = random.Drawn() - drawnBefore;
    return stats;
}

const char *ModeName(bool quickMode)
{
    return quickMode ? "QUICK" : "NORMAL";
}

} // namespace trelvik
