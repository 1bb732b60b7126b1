// SPDX-License-Identifier: GPL-3.0-or-later
#include "ground.h"

#include "building_quality.h"

#include <algorithm>
#include <array>

namespace trelvik::play {
namespace {

constexpr uint8_t kWaterBit = 1U << 5U;

constexpr uint8_t ClassBit(TerrainClass c)
{
    return static_cast<uint8_t>(1U << static_cast<unsigned>(c));
}

// One byte per terrain code: the bit of its class, and kWaterBit for water.
std::array<uint8_t, 64> KindTable()
{
    std::array<uint8_t, 64> kinds{};
    for (unsigned code = 0; code < kinds.size(); ++code) {
        kinds[code] = ClassBit(ClassifyTerrain(static_cast<uint8_t>(code)));
        if (IsWaterCode(static_cast<uint8_t>(code)))
            kinds[code] |= kWaterBit;
    }
    return kinds;
}

const std::array<uint8_t, 64> kKinds = KindTable();

// The flags from what the six triangles around a point have between them (`any`, the OR of
// their kinds) and whether all of them are water.
constexpr uint16_t FlagsOf(uint8_t any, bool allWater)
{
    constexpr uint8_t buildable = ClassBit(TerrainClass::Buildable);
    constexpr uint8_t mining = ClassBit(TerrainClass::Mining);
    constexpr uint8_t walkable = buildable | mining | ClassBit(TerrainClass::WalkableOnly);
    constexpr uint8_t danger = ClassBit(TerrainClass::Dangerous);
    const auto kinds = static_cast<uint8_t>(any & ~kWaterBit);
    const auto only = [kinds](uint8_t allowed) { return (kinds & ~allowed) == 0; };
    uint16_t f = 0;
    const auto set = [&f](bool on, GroundFlag flag) {
        if (on)
            f = static_cast<uint16_t>(f | flag);
    };
    set(kinds == buildable, kAllBuildable);
    set(kinds == mining, kAllMining);
    set(only(walkable), kAllWalkable);
    set(only(buildable | mining), kAllFirm);
    set(allWater, kAllWater);
    set((any & kWaterBit) != 0, kTouchesWater);
    set((any & danger) != 0, kTouchesDanger);
    set((any & buildable) != 0, kAnyBuildable);
    set((any & walkable) != 0, kAnyWalkable);
    set((any & mining) != 0, kAnyMining);
    return f;
}

// FlagsOf every OR of kinds (six bits) and both answers to "all water" (the seventh bit).
constexpr std::array<uint16_t, 128> FlagTable()
{
    std::array<uint16_t, 128> table{};
    for (unsigned k = 0; k < table.size(); ++k)
        table[k] = FlagsOf(static_cast<uint8_t>(k & 0x3FU), (k & 0x40U) != 0);
    return table;
}

constexpr std::array<uint16_t, 128> kFlagTable = FlagTable();

// The flags from the kinds of the six triangles around a point.
inline uint16_t Flags(const std::array<uint8_t, 6> &six)
{
    uint8_t any = 0;
    uint8_t all = 0xFF;
    for (const uint8_t k : six) {
        any |= k;
        all &= k;
    }
    return kFlagTable[static_cast<std::size_t>(any | ((all & kWaterBit) != 0 ? 0x40U : 0U))];
}

} // namespace

uint16_t GroundAt(const PointGrid &grid, const MapDocument &document, Point p)
{
    std::array<uint8_t, 6> six = TrianglesAround(grid, document, p);
    for (uint8_t &k : six)
        k = kKinds[k];
    return Flags(six);
}

GroundFlags ReadGround(const PointGrid &grid, const MapDocument &document, std::size_t count)
{
    if (grid.Empty())
        return {};
    const auto points = static_cast<std::size_t>(grid.Width() * grid.Height());
    count = std::min(count, points);
    const MapLayer &lowerCodes = document.Layer(2);
    const MapLayer &upperCodes = document.Layer(3);
    GroundFlags flags(count);
    if (lowerCodes.size() < points || upperCodes.size() < points) {
        grid.ForEachPoint(count,
                          [&](Point p, std::size_t i) { flags[i] = GroundAt(grid, document, p); });
        return flags;
    }
    // The kinds of each point's two triangles, read once.
    std::vector<uint8_t> lower(points), upper(points);
    for (std::size_t i = 0; i < points; ++i) {
        lower[i] = kKinds[lowerCodes[i] & kTerrainMask];
        upper[i] = kKinds[upperCodes[i] & kTerrainMask];
    }
    // The point's own two, the west neighbour's upper, the north-west neighbour's two and the
    // north-east neighbour's lower triangle, as TrianglesAround reads them.
    const auto flagsOf = [&](std::size_t i, std::size_t west, std::size_t northWest,
                             std::size_t northEast) {
        return Flags({lower[i], upper[i], upper[west], lower[northWest], upper[northWest],
                      lower[northEast]});
    };
    const auto edge = [&](Point p, std::size_t i) {
        const auto around = grid.NeighbourIndices(p.X, p.Y);
        flags[i] = flagsOf(i, around[0], around[1], around[2]);
    };
    if (count < points) {
        grid.ForEachPoint(count, edge);
        return flags;
    }
    grid.ForEachPointByRows(
        [&](std::size_t i, const PointGrid::NearOffsets &o) {
            const auto at = [i](int64_t offset) {
                return static_cast<std::size_t>(static_cast<int64_t>(i) + offset);
            };
            flags[i] = flagsOf(i, at(o.Neighbours[0]), at(o.Neighbours[1]), at(o.Neighbours[2]));
        },
        edge);
    return flags;
}

GroundFlags ReadWholeGround(const PointGrid &grid, const MapDocument &document)
{
    if (grid.Empty())
        return {};
    // No more points than the terrain layers hold: a damaged map may claim far more.
    const std::size_t held = std::max(document.Layer(2).size(), document.Layer(3).size());
    return ReadGround(grid, document,
                      std::min(held, static_cast<std::size_t>(grid.Width() * grid.Height())));
}

const GroundFlags &GroundFor(const PointGrid &grid,
                             const MapDocument &document,
                             std::size_t count,
                             const GroundFlags *known,
                             GroundFlags &fresh)
{
    if (known != nullptr && known->size() >= count)
        return *known;
    fresh = ReadGround(grid, document, count);
    return fresh;
}

} // namespace trelvik::play
