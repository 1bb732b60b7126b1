// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"
#include "play/point_grid.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace trelvik {

/// How many terrains a request for players tries before it gives up.
inline constexpr int kTerrainAttempts = 16;

struct PlayFinish
{
    std::vector<Point> Sites;
    /// The smallest distance between two headquarters; 0 for one player.
    int64_t SmallestDistance = 0;
};

/// Finishes a generated map for `players` (1 to 7): headquarters sites spread as far apart as
/// the search finds on one piece of land, their ground levelled and marked, trees, granite and
/// animals, resources, shading, building quality and the area table. Returns none, and leaves
/// the document as it was, when the terrain holds no such sites at least
/// MinimumPlayerDistance apart. The same document, player count and seed give the same bytes
/// on every machine.
/// `symmetric` (for 2 or 4 players only; none for other counts) mirrors the map first, so that
/// every start stands on the same ground (play::MirrorFor says how): the terrain, the objects,
/// animals and resources of the part the mirror keeps are mirrored onto the rest, and the
/// building sites near every start are evened out to the same count.
std::optional<PlayFinish>
FinishForPlay(MapDocument &document, int players, uint64_t seed, bool symmetric = false);

/// The seed of the k-th terrain a request tries (k = 0 is the requested seed): seed + k, wrapping
/// past the largest 64-bit number. A map made at attempt k is the one the request with seed + k
/// makes at its first attempt.
constexpr uint64_t TerrainSeed(uint64_t seed, int attempt)
{
    return seed + static_cast<uint64_t>(attempt);
}

/// Grows a terrain into the document from a seed; false when it cannot.
using GrowTerrain = std::function<bool(MapDocument &document, uint64_t seed)>;

struct PlayableMap
{
    PlayFinish Finish;
    uint64_t Seed = 0; // the seed whose terrain was finished
    int Attempt = 0;
};

/// Grows terrains from TerrainSeed(seed, 0), (seed, 1), ... up to kTerrainAttempts, and finishes
/// the first that holds the players (with its own seed). Returns none when none does (or a
/// terrain cannot be grown); the document then holds the last terrain tried.
std::optional<PlayableMap> GeneratePlayableMap(MapDocument &document,
                                               int players,
                                               uint64_t seed,
                                               const GrowTerrain &grow,
                                               bool symmetric = false);

/// "Cannot place N players at least D steps apart on a W x H map ...": the message for a
/// request that found no terrain.
std::string NoPlayableTerrainMessage(int width, int height, int players, uint64_t seed);

} // namespace trelvik
