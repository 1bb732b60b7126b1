// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"
#include "grow_land.h"
#include "random_source.h"
#include "triangle_grid.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace trelvik {

inline constexpr int32_t kMinMapSide = 64;
inline constexpr int32_t kMaxMapSide = 256;
inline constexpr int32_t kMapSideStep = 16;

/// The stages of a generation, in the order they run.
enum class GenerationStage {
    GrowLand,
    ErodeAndSmoothCoast,
    PaintWaterAndShore,
    GrowMountains,
    PaintBandsAndVariants,
    WriteLayers,
};

/// Sees the working grid after each stage (after WriteLayers the document is complete too).
using StageObserver = std::function<void(GenerationStage stage, const TriangleGrid &grid)>;

/// Size and mode of a new map.
struct NewMapRequest
{
    int16_t Width = kMinMapSide;
    int16_t Height = kMinMapSide;
    bool QuickMode = false;

    bool operator==(const NewMapRequest &) const = default;
};

/// What a generation cost, for benchmarks and tests.
struct GenerationStats
{
    int32_t LandSweeps = 0;
    int32_t MountainCycles = 0;
    /// Cells covered by all passes over the grid (land sweeps, smoothing passes, mountain
    /// cycles and band scans), each pass counted in full even where it passes over cells that
    /// cannot change.
    int64_t CellsVisited = 0;
    uint64_t ValuesDrawn = 0;
};

/// A side the generator accepts: a multiple of 16 from 64 to 256.
constexpr bool IsValidMapSide(int32_t side)
{
    return side >= kMinMapSide && side <= kMaxMapSide && side % kMapSideStep == 0;
}

/// What File > New draws before generating: width, then height (each 64 to 256 in steps of
/// 16), then the mode, one value each.
NewMapRequest DrawNewMapRequest(RandomSource &random);

/// Replaces `document` with a new random map of `width` x `height` points grown from the
/// source's current state: the stages on a fresh grid, the header and block headers of a new
/// map, then all fourteen layers. Returns nothing, and changes and draws nothing, when a side
/// is not valid.
std::optional<GenerationStats> GenerateMap(MapDocument &document,
                                           int32_t width,
                                           int32_t height,
                                           bool quickMode,
                                           RandomSource &random,
                                           const ProgressCallback &progress = {},
                                           const StageObserver &observer = {});

/// Clears the animals and fills the header and the fourteen block headers of a new map of the
/// given size, with one player, no headquarters and an empty area table.
void ResetDocumentForNewMap(MapDocument &document, int16_t width, int16_t height);

/// "QUICK" or "NORMAL".
const char *ModeName(bool quickMode);

} // namespace trelvik
