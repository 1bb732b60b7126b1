// SPDX-License-Identifier: GPL-3.0-or-later
#include "building_quality.h"

#include "ground.h"
#include "headquarters.h"
#include "point_grid.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace trelvik {
namespace {

// Marks a point of layer 9 whose quality is still to be worked out; no quality has this value.
constexpr uint8_t kPending = 0xFF;

bool IsTree(uint8_t type)
{
    return IsTreeObject(type);
}

// Granite, and every object type we know nothing more about (unknown codes): we treat those
// as solid as granite rather than let a building be placed on or beside them.
bool IsSolid(uint8_t type)
{
    return type != kNoObject && type != kHeadquartersObject && !IsTree(type)
           && !IsDecorationObject(type);
}

// What stands on a neighbour as the rules for the point beside it see it. A headquarters lowers
// nothing around it, and neither does a decoration: hand-made maps keep their neighbours'
// quality as the ground gives it, and many decorations stand on castle points.
uint8_t SeenBeside(uint8_t type)
{
    return type == kHeadquartersObject || IsDecorationObject(type) ? kNoObject : type;
}

// Whether the object on a point leaves no room on it: trees, granite and bulky decorations.
bool Blocks(uint8_t type, uint8_t kind)
{
    return IsTree(type) || IsSolid(type) || IsBulkyDecoration(type, kind);
}

// A quality in the low three bits of a layer-9 byte, the upper five as they were.
uint8_t WithUpperBits(uint8_t stored, BuildingQuality q)
{
    return static_cast<uint8_t>((stored & ~kQualityMask) | static_cast<uint8_t>(q));
}

// Writes the qualities of `fresh` into the first points of layer 9.
void WriteQuality(MapLayer &quality, const std::vector<uint8_t> &fresh)
{
    for (std::size_t i = 0; i < fresh.size(); ++i)
        quality[i] = WithUpperBits(quality[i], static_cast<BuildingQuality>(fresh[i]));
}

// The quality the six triangles around a point allow.
BuildingQuality ByGround(uint16_t ground)
{
    if ((ground & play::kTouchesDanger) != 0)
        return BuildingQuality::Nothing;
    if ((ground & play::kAllMining) != 0)
        return BuildingQuality::Mine;
    if ((ground & play::kAllBuildable) != 0)
        return BuildingQuality::Castle;
    return (ground & play::kAnyWalkable) != 0 ? BuildingQuality::Flag : BuildingQuality::Nothing;
}

// The rules, per point (the quality the map's editor stores; on the hand-made maps we know,
// 99.9% of all points agree):
// 1. A point holding a tree, granite, a bulky decoration or an object of unknown type is
//    nothing. A headquarters and other decorations leave their point as the ground makes it.
// 2. The six triangles around it: snow or lava → nothing; all mining → mine; all buildable →
//    castle; any walkable → flag; else nothing. Nothing and a flag stay so.
// 3. Heights: for a castle, the south-east neighbour (the building's flag) more than 1 higher →
//    flag; else any neighbour more than 3 off → flag; else any point two steps away more than 2
//    off → hut. For a mine, the flag point more than 3 higher → flag.
// 4. Objects beside (headquarters and decorations lower nothing beside them): granite or an
//    object of unknown type → flag (mines too); a tree caps at hut; a tree or granite west,
//    north-west or north-east caps at house (not mines).
// 5. A building needs its flag: the south-east neighbour must be walkable and not taken up by
//    an object (rule 1).
// `WithObjects` false leaves out rules 1, 4 and the object part of 5: the quality the ground
// and heights alone allow. Only the low three bits of layer 9 are written: hand-made maps
// store more in the upper five (0x68 on trees, 0x78 on water), which the game does not read
// and which are kept as they are.
template <bool WithObjects> class QualityRules
{
public:
    QualityRules(const MapDocument &document, std::size_t count, const play::GroundFlags *known)
        : mGrid(document)
        , mDocument(document)
        , mGround(play::GroundFor(mGrid, document, count, known, mFresh))
        , mHeights(document.Layer(1))
        , mObjects(document.Layer(6))
        , mKinds(document.Layer(5))
        , mOffsets{mGrid.OffsetsFor(0), mGrid.OffsetsFor(1)}
    {
        // The fast way reads every layer directly: each must hold the whole map.
        const std::size_t points =
            mGrid.Empty() ? 0 : static_cast<std::size_t>(mGrid.Width() * mGrid.Height());
        mDirect = points > 0 && mGround.size() >= points && mHeights.size() >= points
                  && (!WithObjects || (mObjects.size() >= points && mKinds.size() >= points));
    }

    const PointGrid &Grid() const { return mGrid; }

    BuildingQuality Compute(Point p, std::size_t index) const
    {
        if (mDirect && mGrid.Inner(p.X, p.Y))
            return Inner(index, mOffsets[static_cast<std::size_t>(p.Y & 1)]);
        return Anywhere(p, index);
    }

    // Writes the quality of the first `count` points into `out`; with `onlyPending`, of those
    // that hold kPending only.
    void ComputeAll(std::size_t count, uint8_t *out, bool onlyPending = false) const
    {
        const auto wanted = [&](std::size_t i) { return !onlyPending || out[i] == kPending; };
        if (!mDirect || count < static_cast<std::size_t>(mGrid.Width() * mGrid.Height())) {
            mGrid.ForEachPoint(count, [&](Point p, std::size_t i) {
                if (wanted(i))
                    out[i] = static_cast<uint8_t>(Anywhere(p, i));
            });
            return;
        }
        mGrid.ForEachPointByRows(
            [&](std::size_t i, const PointGrid::NearOffsets &o) {
                if (wanted(i))
                    out[i] = static_cast<uint8_t>(Inner(i, o));
            },
            [&](Point p, std::size_t i) {
                if (wanted(i))
                    out[i] = static_cast<uint8_t>(Anywhere(p, i));
            });
    }

private:
    // A point whose neighbours and the points two steps away need no wrapping.
    BuildingQuality Inner(std::size_t i, const PointGrid::NearOffsets &o) const
    {
        const auto at = [i](int64_t offset) {
            return static_cast<std::size_t>(static_cast<int64_t>(i) + offset);
        };
        if constexpr (WithObjects)
            if (Blocks(mObjects[i], mKinds[i]))
                return BuildingQuality::Nothing;
        BuildingQuality q = ByGround(mGround[i]);
        if (q == BuildingQuality::Nothing || q == BuildingQuality::Flag)
            return q;
        const int h = mHeights[i];
        const std::size_t flag = at(o.Neighbours[4]);
        const int flagRise = mHeights[flag] - h;
        if (q == BuildingQuality::Mine) {
            if (flagRise > 3)
                return BuildingQuality::Flag;
        } else if (flagRise > 1) {
            return BuildingQuality::Flag;
        } else {
            // |d| > limit as one unsigned comparison, gathered without a branch per point.
            bool steep = false;
            for (const int64_t n : o.Neighbours)
                steep |= static_cast<unsigned>(mHeights[at(n)] - h + 3) > 6U;
            if (steep)
                return BuildingQuality::Flag;
            bool uneven = false;
            for (const int64_t r : o.Ring)
                uneven |= static_cast<unsigned>(mHeights[at(r)] - h + 2) > 4U;
            if (uneven)
                q = BuildingQuality::Hut;
        }
        if constexpr (WithObjects) {
            for (std::size_t k = 0; k < o.Neighbours.size(); ++k)
                q = Beside(q, k, mObjects[at(o.Neighbours[k])]);
            if (q == BuildingQuality::Flag || Blocks(mObjects[flag], mKinds[flag]))
                return BuildingQuality::Flag;
        }
        return ByGround(mGround[flag]) == BuildingQuality::Nothing ? BuildingQuality::Flag : q;
    }

    // Any point, the map wrapping at its edges and short layers reading as 0.
    BuildingQuality Anywhere(Point p, std::size_t index) const
    {
        if constexpr (WithObjects)
            if (Blocks(Object(p), Kind(p)))
                return BuildingQuality::Nothing;
        BuildingQuality q = ByTerrain(p, index);
        if (q == BuildingQuality::Nothing || q == BuildingQuality::Flag)
            return q;
        q = ByHeights(p, q);
        if constexpr (WithObjects) {
            const std::array<Point, 6> beside = mGrid.Neighbours(p);
            for (std::size_t k = 0; k < beside.size(); ++k)
                q = Beside(q, k, Object(beside[k]));
        }
        if (q != BuildingQuality::Nothing && q != BuildingQuality::Flag
            && !FlagPossible(mGrid.SouthEast(p)))
            q = BuildingQuality::Flag; // no room for the building's flag
        return q;
    }

    // Rule 4 for the object of neighbour k (in the order of PointGrid::Neighbours).
    static BuildingQuality Beside(BuildingQuality q, std::size_t k, uint8_t object)
    {
        const uint8_t type = SeenBeside(object);
        if (type == kNoObject)
            return q;
        if (IsSolid(type))
            return std::min(q, BuildingQuality::Flag);
        if (q == BuildingQuality::Mine)
            return q;
        if (IsTree(type))
            q = std::min(q, BuildingQuality::Hut);
        // West, north-west and north-east hold the large building's outline.
        return k < 3 ? std::min(q, BuildingQuality::House) : q;
    }

    uint8_t Object(Point p) const { return mGrid.Read(mObjects, p); }
    uint8_t Kind(Point p) const { return mGrid.Read(mKinds, p); }
    int Height(Point p) const { return mGrid.Read(mHeights, p); }

    BuildingQuality ByTerrain(Point p, std::size_t index) const
    {
        return ByGround(play::GroundOf(mGround, mGrid, mDocument, p, index));
    }

    BuildingQuality ByHeights(Point p, BuildingQuality q) const
    {
        const int h = Height(p);
        const int flagRise = Height(mGrid.SouthEast(p)) - h;
        if (q == BuildingQuality::Mine)
            return flagRise > 3 ? BuildingQuality::Flag : q;
        if (flagRise > 1)
            return BuildingQuality::Flag;
        const auto differs = [&](std::size_t i, int limit) {
            return std::abs((i < mHeights.size() ? mHeights[i] : 0) - h) > limit;
        };
        for (const std::size_t i : mGrid.NeighbourIndices(p.X, p.Y))
            if (differs(i, 3))
                return BuildingQuality::Flag;
        for (const std::size_t i : mGrid.RingIndices(p.X, p.Y))
            if (differs(i, 2))
                return BuildingQuality::Hut;
        return q;
    }

    // A flag needs walkable ground and nothing standing on the point.
    bool FlagPossible(Point p) const
    {
        if constexpr (WithObjects)
            if (Blocks(Object(p), Kind(p)))
                return false;
        return ByTerrain(p, mGrid.IndexOf(p)) != BuildingQuality::Nothing;
    }

    PointGrid mGrid;
    const MapDocument &mDocument;
    play::GroundFlags mFresh;
    const play::GroundFlags &mGround; // of the points computed at least
    const MapLayer &mHeights;
    const MapLayer &mObjects;
    const MapLayer &mKinds;
    std::array<PointGrid::NearOffsets, 2> mOffsets; // by row parity
    bool mDirect = false;
};

} // namespace

void ComputeBuildingQuality(MapDocument &document, const play::GroundFlags *ground)
{
    MapLayer &quality = document.Layer(9);
    const std::size_t count = PointGrid(document).PointsIn(quality);
    const QualityRules<true> rules(document, count, ground);
    std::vector<uint8_t> fresh(count);
    rules.ComputeAll(count, fresh.data());
    WriteQuality(quality, fresh);
}

std::vector<uint8_t> GroundQuality(const MapDocument &document, const play::GroundFlags &ground)
{
    const std::size_t count = ground.size();
    std::vector<uint8_t> quality(count);
    const QualityRules<false> rules(document, count, &ground);
    rules.ComputeAll(count, quality.data());
    return quality;
}

void UpdateGroundQuality(const MapDocument &document,
                         const play::GroundFlags &ground,
                         std::vector<uint8_t> &quality,
                         std::span<const std::size_t> points)
{
    const QualityRules<false> rules(document, 0, &ground);
    for (const std::size_t i : points)
        if (i < quality.size())
            quality[i] = static_cast<uint8_t>(rules.Compute(rules.Grid().PointAt(i), i));
}

void QualityFromGround(MapDocument &document,
                       const std::vector<uint8_t> &groundQuality,
                       const play::GroundFlags &ground)
{
    const PointGrid grid(document);
    MapLayer &quality = document.Layer(9);
    const MapLayer &objects = document.Layer(6);
    const std::size_t count = std::min({quality.size(), groundQuality.size(), objects.size()});
    std::vector<uint8_t> fresh(groundQuality.begin(),
                               groundQuality.begin() + static_cast<std::ptrdiff_t>(count));
    // The rules for objects reach a point from itself and its six neighbours only: those are
    // marked, then worked out.
    const auto mark = [&](std::size_t k) {
        if (k < count)
            fresh[k] = kPending;
    };
    const auto hasObject = [&](std::size_t i) {
        return i < count && objects[i] != kNoObject && objects[i] != kHeadquartersObject;
    };
    if (count == static_cast<std::size_t>(grid.Width() * grid.Height())) {
        grid.ForEachPointByRows(
            [&](std::size_t i, const PointGrid::NearOffsets &o) {
                if (!hasObject(i))
                    return;
                mark(i);
                for (const int64_t n : o.Neighbours)
                    mark(static_cast<std::size_t>(static_cast<int64_t>(i) + n));
            },
            [&](Point, std::size_t i) {
                if (hasObject(i))
                    for (const std::size_t k : QualityNeighbourhood(grid, i))
                        mark(k);
            });
    } else {
        for (std::size_t i = 0; i < count; ++i)
            if (hasObject(i))
                for (const std::size_t k : QualityNeighbourhood(grid, i))
                    mark(k);
    }
    const QualityRules<true> rules(document, count, &ground);
    rules.ComputeAll(count, fresh.data(), true);
    WriteQuality(quality, fresh);
}

void UpdateBuildingQuality(MapDocument &document,
                           std::span<const std::size_t> points,
                           const play::GroundFlags *ground)
{
    MapLayer &quality = document.Layer(9);
    const std::size_t count = PointGrid(document).PointsIn(quality);
    // The ground is read for the points asked only, unless the caller has it.
    static const play::GroundFlags kNone;
    const QualityRules<true> rules(document, 0, ground != nullptr ? ground : &kNone);
    for (const std::size_t i : points)
        if (i < count)
            quality[i] = WithUpperBits(quality[i], rules.Compute(rules.Grid().PointAt(i), i));
}

std::array<std::size_t, 7> QualityNeighbourhood(const PointGrid &grid, std::size_t index)
{
    const Point p = grid.PointAt(index);
    const auto around = grid.NeighbourIndices(p.X, p.Y);
    return {index, around[0], around[1], around[2], around[3], around[4], around[5]};
}

} // namespace trelvik
