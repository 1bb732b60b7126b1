#include "finish_for_play.h"

#include "areas.h"
#include "building_quality.h"
#include "headquarters.h"
#include "objects.h"
#include "resources.h"
#include "shading.h"

#include <algorithm>

namespace trelvik {

std::optional<PlayFinish> FinishForPlay(MapDocument &document, int players, uint64_t seed)
{
    // A map whose layers do not hold every point it claims is no terrain to finish.
    const play::PointGrid grid(document);
    if (grid.Empty())
        return std::nullopt;
    const auto points = static_cast<std::size_t>(grid.Width() * grid.Height());
    if (std::ranges::any_of(document.Layers,
                            [points](const MapLayer &l) { return l.size() < points; }))
        return std::nullopt;
    // The terrain stays as it is, so its reading serves every step.
    const play::TerrainReading terrain = play::ReadTerrain(grid, document);
    const play::GroundFlags &ground = terrain.Ground;
    const auto found = FindHeadquartersSites(document, players, &terrain);
    if (!found
        || (players > 1
            && found->SmallestDistance
                   < MinimumPlayerDistance(document.Header.Width, document.Header.Height)))
        return std::nullopt;
    for (const play::Point site : found->Sites)
        LevelGround(document, site);
    MarkHeadquarters(document, found->Sites);
    PlaceObjects(document, found->Sites, seed, &ground);
    // The resources draw from their own sequence, so that a change in the objects' draws
    // leaves them alone.
    PlaceResources(document, seed ^ 0x5EED5EED5EED5EEDULL, &ground);
    ComputeShading(document);
    ComputeBuildingQuality(document, &ground);
    ComputeAreas(document, &terrain);
    return PlayFinish{found->Sites, found->SmallestDistance};
}

std::optional<PlayableMap>
GeneratePlayableMap(MapDocument &document, int players, uint64_t seed, const GrowTerrain &grow)
{
    for (int attempt = 0; attempt < kTerrainAttempts; ++attempt) {
        const uint64_t terrainSeed = TerrainSeed(seed, attempt);
        if (!grow(document, terrainSeed))
            return std::nullopt;
        if (auto finish = FinishForPlay(document, players, terrainSeed))
            return PlayableMap{std::move(*finish), terrainSeed, attempt};
    }
    return std::nullopt;
}

std::string NoPlayableTerrainMessage(int width, int height, int players, uint64_t seed)
{
    const std::string what =
        players == 1 ? "a headquarters"
                     : std::to_string(players) + " players at least "
                           + std::to_string(MinimumPlayerDistance(width, height)) + " steps apart";
    return "Cannot place " + what + " on one land of a " + std::to_string(width) + " x "
           + std::to_string(height) + " map: none of the " + std::to_string(kTerrainAttempts)
           + " terrains grown from seeds " + std::to_string(seed) + " to "
           + std::to_string(TerrainSeed(seed, kTerrainAttempts - 1))
           + " holds them. Try a larger map or fewer players.";
}

} // namespace trelvik
