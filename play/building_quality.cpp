#include "building_quality.h"

#include "ground.h"
#include "headquarters.h"
#include "point_grid.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace trelvik {
namespace {

using play::Point;
using play::PointGrid;

// Object types of layer 6 (a headquarters is kHeadquartersObject).
constexpr uint8_t kNoObject = 0x00;

bool IsTree(uint8_t type)
{
    return type >= 0xC4 && type <= 0xC6;
}

// Granite, and every object type we know nothing more about (decorations, unknown codes): we
// treat those as solid as granite rather than let a building be placed on or beside them.
bool IsSolid(uint8_t type)
{
    return type != kNoObject && type != kHeadquartersObject && !IsTree(type);
}

class QualityRules
{
public:
    QualityRules(const MapDocument &document, std::size_t count, const play::GroundFlags *known)
        : mGrid(document)
        , mDocument(document)
        , mGround(play::GroundFor(mGrid, document, count, known, mFresh))
        , mHeights(document.Layer(1))
        , mObjects(document.Layer(6))
    {}

    const PointGrid &Grid() const { return mGrid; }

    BuildingQuality Compute(Point p, std::size_t index) const
    {
        const uint8_t own = Object(p);
        if (IsTree(own) || IsSolid(own))
            return BuildingQuality::Nothing;
        BuildingQuality q = ByTerrain(p, index);
        // Nothing and a flag stay as they are whatever the heights and objects around.
        if (q == BuildingQuality::Nothing || q == BuildingQuality::Flag)
            return q;
        q = ByObjectsBeside(p, ByHeights(p, q));
        if (q != BuildingQuality::Nothing && q != BuildingQuality::Flag
            && !FlagPossible(mGrid.SouthEast(p)))
            q = BuildingQuality::Flag; // no room for the building's flag
        return q;
    }

private:
    uint8_t Object(Point p) const { return mGrid.Read(mObjects, p); }
    int Height(Point p) const { return mGrid.Read(mHeights, p); }

    // From the six triangles around the point.
    BuildingQuality ByTerrain(Point p, std::size_t index) const
    {
        const uint16_t ground = play::GroundOf(mGround, mGrid, mDocument, p, index);
        if ((ground & play::kTouchesDanger) != 0)
            return BuildingQuality::Nothing;
        if ((ground & play::kAllMining) != 0)
            return BuildingQuality::Mine;
        if ((ground & play::kAllBuildable) != 0)
            return BuildingQuality::Castle;
        return (ground & play::kAnyWalkable) != 0 ? BuildingQuality::Flag
                                                  : BuildingQuality::Nothing;
    }

    BuildingQuality ByHeights(Point p, BuildingQuality q) const
    {
        const int h = Height(p);
        const int flagRise = Height(mGrid.SouthEast(p)) - h;
        if (q == BuildingQuality::Mine)
            return flagRise > 3 ? BuildingQuality::Flag : q;
        if (q != BuildingQuality::Castle)
            return q;
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

    BuildingQuality ByObjectsBeside(Point p, BuildingQuality q) const
    {
        const std::array<Point, 6> beside = mGrid.Neighbours(p);
        const auto capAt = [&q](BuildingQuality cap) {
            if (q != BuildingQuality::Mine && q > cap)
                q = cap;
        };
        for (std::size_t k = 0; k < beside.size(); ++k) {
            const uint8_t type = Object(beside[k]);
            if (IsSolid(type))
                q = std::min(q, BuildingQuality::Flag); // mines too
            else if (IsTree(type))
                capAt(BuildingQuality::Hut);
            // West, north-west and north-east hold the large building's outline.
            if (k < 3 && type != kNoObject)
                capAt(BuildingQuality::House);
        }
        return q;
    }

    // A flag needs walkable ground and nothing standing on the point, a headquarters included.
    bool FlagPossible(Point p) const
    {
        return Object(p) == kNoObject && ByTerrain(p, mGrid.IndexOf(p)) != BuildingQuality::Nothing;
    }

    PointGrid mGrid;
    const MapDocument &mDocument;
    play::GroundFlags mFresh;
    const play::GroundFlags &mGround; // of the points computed at least
    const MapLayer &mHeights;
    const MapLayer &mObjects;
};

} // namespace

TerrainClass ClassifyTerrain(uint8_t terrainByte)
{
    switch (terrainByte & play::kTerrainMask) {
    case 0:
    case 6: // shallow water: ground for buildings
    case 8:
    case 9:
    case 10:
    case 14:
    case 15:
    case 18:
    case 34:
        return TerrainClass::Buildable;
    case 1:
    case 11:
    case 12:
    case 13:
        return TerrainClass::Mining;
    case 4:
    case 7:
        return TerrainClass::WalkableOnly;
    case 3:
    case 5:
    case 19:
        return TerrainClass::Impassable;
    default:
        // 2, 16, 20, 21, 22 are snow and lava. A code of no known class is taken as dangerous
        // too: it may make a point unbuildable, never buildable.
        return TerrainClass::Dangerous;
    }
}

void ComputeBuildingQuality(MapDocument &document, const play::GroundFlags *ground)
{
    MapLayer &quality = document.Layer(9);
    const std::size_t count = play::PointGrid(document).PointsIn(quality);
    const QualityRules rules(document, count, ground);
    rules.Grid().ForEachPoint(count, [&](Point p, std::size_t i) {
        quality[i] = static_cast<uint8_t>(rules.Compute(p, i));
    });
}

} // namespace trelvik
