// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/layer_codes.h"
#include "document/map_document.h"
#include "play/pieces.h"
#include "play/point_grid.h"
#include "play/symmetry.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace trelvik {

inline constexpr int kMaxPlayers = kHeadquartersCount;

/// The smallest distance in steps between two players' headquarters that a map finished for
/// play must keep.
constexpr int64_t MinimumPlayerDistance(int64_t width, int64_t height)
{
    return (width + height) / 16;
}

struct HeadquartersSites
{
    std::vector<Point> Sites;
    /// The smallest distance between two sites; 0 for a single site.
    int64_t SmallestDistance = 0;
};

/// What a headquarters search strives for.
enum class SiteGoal : uint8_t {
    /// The smallest distance between two sites as large as the search finds.
    Spread,
    /// Starts as equal and as rich as the search finds: the poorest start's building ground
    /// within kDefaultFairnessRadius steps as large, and the gap to the richest as small, as it
    /// can make them (building sites counted by GroundQuality); the sites stay at least three
    /// quarters of the spread the Spread search finds apart, and never closer than
    /// MinimumPlayerDistance.
    BalancedStarts,
};

/// Chooses `players` headquarters sites on one connected piece of land: each site and its six
/// neighbours lie on buildable ground on all sides, and the sites are spread to make the
/// smallest distance between two of them as large as the search finds (steps over the
/// six-neighbour grid, wrapping at the edges). Among equally spread sites, those with mining
/// mountain 6 to 20 steps away are preferred. Returns none when no piece of land holds `players`
/// sites, or for a player count outside 1 to kMaxPlayers.
/// `terrain`, when given, is what play::ReadTerrain reads of the map.
/// `groundQuality`, when given, is what GroundQuality makes of the map (BalancedStarts uses it).
/// With a `mirror` of a map mirrored by it (play::MirrorTerrain) the sites are one site in the
/// part the mirror keeps and its mirror images (play::MirrorImages, whose count must be
/// `players`): the site with the most building ground around it whose images are sites on its
/// land too, at least half as far apart as such sites can be and at least MinimumPlayerDistance;
/// none when there is no such site.
std::optional<HeadquartersSites>
FindHeadquartersSites(const MapDocument &document,
                      int players,
                      const play::TerrainReading *terrain = nullptr,
                      SiteGoal goal = SiteGoal::Spread,
                      const std::vector<uint8_t> *groundQuality = nullptr,
                      const play::Mirror *mirror = nullptr);

/// Levels the ground of a site before a castle stands on it: with L the lowest height of the site
/// and its six neighbours, those seven points get L, and the twelve points two steps away are
/// brought within L - 2 ... L + 2.
void LevelGround(MapDocument &document, Point site);

/// LevelGround changes heights up to this many steps from the site.
inline constexpr int kLevelledRadius = 2;

/// Marks the sites as the players' headquarters, player k at sites[k]: layer 6 = 0x80 and
/// layer 5 = k there, the header's player count and its x/y slots; unused slots get 0xFFFF.
void MarkHeadquarters(MapDocument &document, const std::vector<Point> &sites);

/// The points marked as a headquarters in layer 6, in row order.
std::vector<Point> FindHeadquartersMarks(const MapDocument &document);

/// Each player's headquarters mark (layer 6 = headquarters, layer 5 = the player, 0 to 6): the
/// first in row order, none for a player without one. Marks for other numbers are passed over.
std::array<std::optional<Point>, kHeadquartersCount>
FirstMarkOfEachPlayer(const MapDocument &document);

/// The smallest distance between two of the points; none for fewer than two.
std::optional<int64_t> SmallestDistance(const PointGrid &grid, const std::vector<Point> &points);

} // namespace trelvik
