// SPDX-License-Identifier: GPL-3.0-or-later
#include "finish_for_play.h"

#include "areas.h"
#include "ball_sums.h"
#include "building_quality.h"
#include "headquarters.h"
#include "objects.h"
#include "resources.h"
#include "shading.h"
#include "starts.h"
#include "symmetry.h"

#include <algorithm>

namespace trelvik {

std::optional<PlayFinish>
FinishForPlay(MapDocument &document, int players, uint64_t seed, bool symmetric)
{
    // A map whose layers do not hold every point it claims is no terrain to finish.
    const PointGrid grid(document);
    if (grid.Empty())
        return std::nullopt;
    const auto points = static_cast<std::size_t>(grid.Width() * grid.Height());
    if (std::ranges::any_of(document.Layers,
                            [points](const MapLayer &l) { return l.size() < points; }))
        return std::nullopt;
    // The terrain changes only where mountains are widened and raised, which keeps the pieces of
    // land and water; the steps share one reading of it, kept up to date.
    // A symmetric map is the mirror image of its kept part, from the terrain on.
    const play::Mirror mirror = play::MirrorFor(players, grid.Width(), grid.Height());
    if (symmetric && !mirror.LeftRight && !mirror.TopBottom)
        return std::nullopt;
    std::array<MapLayer, 3> unmirrored;
    if (symmetric) {
        unmirrored = {document.Layer(1), document.Layer(2), document.Layer(3)};
        play::MirrorTerrain(document, mirror);
    }
    play::TerrainReading terrain;
    play::GroundFlags &ground = terrain.Ground;
    ground = play::ReadWholeGround(grid, document);
    terrain.Pieces = play::FindPieces(grid, ground);
    std::vector<uint8_t> groundQuality = GroundQuality(document, ground);
    const auto found = FindHeadquartersSites(document, players, &terrain, SiteGoal::BalancedStarts,
                                             &groundQuality, symmetric ? &mirror : nullptr);
    if (!found
        || (players > 1
            && found->SmallestDistance
                   < MinimumPlayerDistance(document.Header.Width, document.Header.Height))) {
        if (symmetric)
            for (int layer = 1; layer <= 3; ++layer)
                document.Layer(layer) = std::move(unmirrored[static_cast<std::size_t>(layer - 1)]);
        return std::nullopt;
    }
    for (const Point site : found->Sites)
        LevelGround(document, site);
    MarkHeadquarters(document, found->Sites);
    // The ground quality again where the levelling and the widening changed the ground: up to
    // two steps from a changed height, and on and beside changed ground (a building's flag
    // stands on its south-east neighbour). The smoothing weighs the starts by it.
    std::vector<std::size_t> changed;
    std::vector<uint8_t> listed(points, 0);
    for (const std::size_t i : WidenMountains(document, ground, found->Sites)) {
        const std::size_t northWest = grid.IndexOf(grid.Neighbours(grid.PointAt(i))[1]);
        for (const std::size_t k : {i, northWest})
            if (listed[k] == 0) {
                listed[k] = 1;
                changed.push_back(k);
            }
    }
    const auto around = [&](const play::Ball &ball, Point centre) {
        ball.ForEach(grid.IndexOf(centre), [&](std::size_t k) { changed.push_back(k); });
    };
    const play::Ball levelled(grid, kLevelledRadius + 2);
    for (const Point site : found->Sites)
        around(levelled, site);
    UpdateGroundQuality(document, ground, groundQuality, changed);
    SmoothPoorStarts(document, found->Sites, ground, groundQuality);
    // Each step draws from its own sequence, so that a change in one step's draws leaves the
    // others alone.
    const std::vector<RaisedMountain> mountains =
        RaiseMountainsNearStarts(document, found->Sites, seed ^ 0x3A7C0FFEE5EEDULL, ground);
    // The ground quality again where the mountains changed the ground: up to two steps from
    // what they changed.
    changed.clear();
    const play::Ball raised(grid, kRaisedMountainReach + 2);
    for (const RaisedMountain &m : mountains)
        around(raised, m.Centre);
    UpdateGroundQuality(document, ground, groundQuality, changed);
    PlaceObjects(document, found->Sites, seed, &ground);
    PlaceResources(document, seed ^ 0x5EED5EED5EED5EEDULL, &ground, found->Sites);
    StockMountains(document, mountains);
    StockStarts(document, found->Sites);
    if (symmetric) {
        // Every step worked on the whole map; the kept part is mirrored again, with what stands
        // and lives on it, and the rest worked out afresh. Only the evening out, which makes the
        // counts of building sites equal, breaks the symmetry: a building's flag stands to its
        // south-east, so mirrored ground does not give quite the same sites.
        play::MirrorTerrain(document, mirror);
        play::MirrorThings(document, mirror);
        MarkHeadquarters(document, found->Sites);
        terrain = play::ReadTerrain(grid, document);
        ComputeBuildingQuality(document, &ground);
    } else {
        QualityFromGround(document, groundQuality, ground);
    }
    ComputeShading(document);
    EvenOutStarts(document, found->Sites, seed ^ 0xE7E7E7E7E7E7E7E7ULL, ground, symmetric);
    ComputeAreas(document, &terrain);
    return PlayFinish{found->Sites, found->SmallestDistance};
}

std::optional<PlayableMap> GeneratePlayableMap(
    MapDocument &document, int players, uint64_t seed, const GrowTerrain &grow, bool symmetric)
{
    for (int attempt = 0; attempt < kTerrainAttempts; ++attempt) {
        const uint64_t terrainSeed = TerrainSeed(seed, attempt);
        if (!grow(document, terrainSeed))
            return std::nullopt;
        if (auto finish = FinishForPlay(document, players, terrainSeed, symmetric))
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
