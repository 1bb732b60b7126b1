// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"
#include "play/point_grid.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace trelvik {

/// The radius, in steps, a start is judged within unless another is asked for.
inline constexpr int kDefaultFairnessRadius = 12;
/// The largest radius a report takes: beyond it the whole of the largest map is near.
inline constexpr int kMaxFairnessRadius = 256;

/// What a player's start offers within the report's radius, as the game reads the map: building
/// quality from layer 9, objects from layer 6, resources from layer 12.
enum class StartMeasure : uint8_t {
    BuildingSites, // points of hut, house or castle quality
    Huts,
    Houses,
    Castles,
    Mines,       // points of mine quality
    Coal,        // ore units: the amounts of the coal points added up
    Iron,        //
    Gold,        //
    Granite,     // granite in the mountains, in units as the ores
    Trees,       // points holding a tree
    Stones,      // points holding a granite rock
    Water,       // points with water to drink under them
    Fish,        // points with fish
    StepsToMine, // to the nearest point of mine quality, however far; smaller is better
};
inline constexpr std::size_t kStartMeasureCount = 14;

/// The measure's name in reports: "building sites", "steps to a mine", ...
std::string_view StartMeasureName(StartMeasure measure);
/// The measure's name in JSON: "buildingSites", "stepsToMine", ...
std::string_view StartMeasureKey(StartMeasure measure);

/// One player's start: the headquarters marked in the layers and what lies around it.
struct PlayerStart
{
    int Player = 0; // 0 for the first player, as layer 5 holds it
    Point At;
    /// In the order of StartMeasure. StepsToMine is -1 when the map has no mine-quality point.
    std::array<int64_t, kStartMeasureCount> Values{};

    int64_t Value(StartMeasure m) const { return Values[static_cast<std::size_t>(m)]; }
};

struct FairnessReport
{
    int Radius = kDefaultFairnessRadius;
    /// One start per player with a headquarters mark, in player order.
    std::vector<PlayerStart> Players;
    /// Per measure, smallest ÷ largest over the players: 1 when all are equal (one player, or
    /// none of them has any), 0 when one has none and another some; for StepsToMine, nearest
    /// ÷ farthest, 0 when a player has no mine at all.
    std::array<double, kStartMeasureCount> Balance{};

    double BalanceOf(StartMeasure m) const { return Balance[static_cast<std::size_t>(m)]; }
    /// The measure with the lowest balance (the first of equal ones); BuildingSites when all
    /// are balanced.
    StartMeasure Worst() const;
};

/// Judges the starts of a map: every player 1 to 7 whose headquarters is marked in layers 5
/// and 6 (the first mark in row order where a player has several), counted over the points 1 to
/// `radius` steps from it over the six neighbours, across the map's edges. None when layers 5,
/// 6, 9 or 12 do not hold every point of the map, or `radius` lies outside 1 to
/// kMaxFairnessRadius.
std::optional<FairnessReport> MeasureFairness(const MapDocument &document,
                                              int radius = kDefaultFairnessRadius);

} // namespace trelvik
