// SPDX-License-Identifier: GPL-3.0-or-later
#include "objects.h"

#include "ground.h"

#include <algorithm>
#include <array>
#include <span>

namespace trelvik {
namespace {

using play::PlayRandom;

// Shares of the land points, in percent, about those of hand-made maps (trees 7 to 26%, median
// 14%; the finish may add a few trees to even out the starts).
constexpr std::size_t kTreeShare = 12;
constexpr std::size_t kGraniteShare = 5;
// One animal for this many land points (hand-made maps: about 16 in a thousand).
constexpr std::size_t kLandPerAnimal = 64;

// Forests and granite groups: sizes in points, the first value plus a draw below the second.
constexpr uint32_t kForestMin = 8;
constexpr uint32_t kForestSpread = 48;
constexpr uint32_t kGraniteGroupMin = 1;
constexpr uint32_t kGraniteGroupSpread = 4;
// One tree in this many takes another kind of the world than its forest's.
constexpr uint32_t kStrayTreeOdds = 6;

constexpr uint8_t kGraniteTypes[2] = {0xCC, 0xCD};
constexpr uint32_t kGraniteSizes = 6; // layer 5 holds 1 to 6
constexpr uint32_t kTreeFrames = 8;
constexpr uint8_t kDuck = 5;
// The land animals, each as often as in hand-made maps: rabbit 25, fox 9, stag 15, roe deer 16,
// sheep 15 in a hundred (ducks, the other 20, live by the water).
struct Weighted
{
    uint8_t Value;
    uint32_t Weight;
};
constexpr std::array<Weighted, 5> kLandAnimals = {{{1, 25}, {2, 9}, {3, 15}, {4, 16}, {6, 15}}};

// A tree kind: the object type of layer 6 and the first of its eight frames in layer 5.
struct TreeKind
{
    uint8_t Type;
    uint8_t Base;
};

constexpr TreeKind kPine{0xC4, 0x30};
constexpr TreeKind kBirch{0xC4, 0x70};
constexpr TreeKind kOak{0xC4, 0xB0};
constexpr TreeKind kPalm{0xC4, 0xF0};
constexpr TreeKind kPalmToo{0xC5, 0x30};
constexpr TreeKind kPineapple{0xC5, 0x70};
constexpr TreeKind kCypress{0xC5, 0xB0};
constexpr TreeKind kCherry{0xC5, 0xF0};
constexpr TreeKind kFir{0xC6, 0x30};

struct WeightedTree
{
    TreeKind Kind;
    uint32_t Weight;
};

// The kinds of each world as often as hand-made maps of that world have them, in parts of a
// hundred.
constexpr std::array<WeightedTree, 9> kGreenlandTrees = {{{kPine, 25},
                                                          {kBirch, 25},
                                                          {kOak, 21},
                                                          {kFir, 9},
                                                          {kPalm, 7},
                                                          {kPalmToo, 7},
                                                          {kCypress, 3},
                                                          {kCherry, 2},
                                                          {kPineapple, 1}}};
constexpr std::array<WeightedTree, 4> kWastelandTrees = {
    {{kPine, 40}, {kBirch, 34}, {kCherry, 25}, {kPineapple, 1}}};
constexpr std::array<WeightedTree, 4> kWinterTrees = {
    {{kBirch, 30}, {kPine, 27}, {kOak, 28}, {kFir, 15}}};

std::span<const WeightedTree> TreesOf(uint8_t worldType)
{
    switch (worldType) {
    case 1:
        return kWastelandTrees;
    case 2:
        return kWinterTrees;
    default:
        return kGreenlandTrees;
    }
}

// What the ground around a point allows.
struct Ground
{
    bool Land = false;      // all six triangles walkable
    bool Dry = false;       // land, and no triangle is water
    bool Wooded = false;    // all six buildable, none water: room for a tree
    bool Stony = false;     // all six buildable or mining, none water: room for granite
    bool Waterside = false; // land touching water (or, see ObjectPlacer, beside a point that does)
};

Ground GroundAround(uint16_t flags)
{
    const bool wet = (flags & play::kTouchesWater) != 0;
    Ground g;
    g.Land = (flags & play::kAllWalkable) != 0;
    g.Dry = g.Land && !wet;
    g.Wooded = !wet && (flags & play::kAllBuildable) != 0;
    g.Stony = !wet && (flags & play::kAllFirm) != 0;
    g.Waterside = g.Land && wet;
    return g;
}

class ObjectPlacer
{
public:
    ObjectPlacer(MapDocument &document,
                 const std::vector<Point> &headquarters,
                 uint64_t seed,
                 const play::GroundFlags *ground)
        : mGrid(document)
        , mIndex(document.Layer(5))
        , mType(document.Layer(6))
        , mAnimal(document.Layer(7))
        , mAnimals(document.Animals)
        , mRandom(seed)
        , mCount(std::max({mGrid.PointsIn(mIndex), mGrid.PointsIn(mType), mGrid.PointsIn(mAnimal)}))
        , mFlags(play::GroundFor(mGrid, document, mCount, ground, mFresh))
        , mPlaceable(std::min(mIndex.size(), mType.size()))
        , mReserved(mCount, 0)
    {
        if (mCount == 0)
            return;
        // A step changes the column by at most one, so the points near a headquarters lie in
        // the box of kObjectFreeRadius rows and columns around it.
        for (const Point hq : headquarters) {
            const Point centre = mGrid.Offset(hq, 0, 0); // on the map
            for (int dy = -kObjectFreeRadius; dy <= kObjectFreeRadius; ++dy) {
                for (int dx = -kObjectFreeRadius; dx <= kObjectFreeRadius; ++dx) {
                    const Point p = mGrid.Offset(centre, dx, dy);
                    const std::size_t i = mGrid.IndexOf(p);
                    if (i < mCount && mGrid.Distance(p, centre) <= kObjectFreeRadius)
                        mReserved[i] |= kNearHeadquarters;
                }
            }
        }
        // Granite on or beside a mine site would take the site: none there.
        for (std::size_t i = 0; i < mCount; ++i) {
            if ((mFlags[i] & play::kAllMining) == 0)
                continue;
            mReserved[i] |= kByMines;
            const Point p = mGrid.PointAt(i);
            for (const std::size_t k : mGrid.NeighbourIndices(p.X, p.Y))
                if (k < mCount)
                    mReserved[k] |= kByMines;
        }
        for (std::size_t i = 0; i < mCount; ++i)
            mLand += (mFlags[i] & play::kAllWalkable) != 0 ? 1U : 0U;
    }

    void PlaceGranite()
    {
        const auto place = [this](std::size_t i) {
            mType[i] = kGraniteTypes[mRandom.Below(2)];
            mIndex[i] = static_cast<uint8_t>(1 + mRandom.Below(kGraniteSizes));
        };
        Grow(
            play::kAllFirm, mLand * kGraniteShare / 100, kGraniteGroupMin, kGraniteGroupSpread,
            place, [] {}, kByMines);
    }

    void PlaceTrees(uint8_t worldType)
    {
        const std::span<const WeightedTree> kinds = TreesOf(worldType);
        const auto draw = [&] { return mRandom.Pick(kinds, &WeightedTree::Weight).Kind; };
        TreeKind forest = kinds[0].Kind;
        const auto place = [&](std::size_t i) {
            const TreeKind kind = mRandom.Below(kStrayTreeOdds) == 0 ? draw() : forest;
            mType[i] = kind.Type;
            mIndex[i] = static_cast<uint8_t>(kind.Base + mRandom.Below(kTreeFrames));
        };
        const auto start = [&] { forest = draw(); };
        Grow(play::kAllBuildable, mLand * kTreeShare / 100, kForestMin, kForestSpread, place, start,
             0);
    }

    // Animals live on land where nothing stands and no headquarters is near; their homes are
    // drawn among all points, so a draw may miss.
    void PlaceAnimals()
    {
        const std::size_t wanted = mLand / kLandPerAnimal;
        std::size_t placed = 0;
        const auto points = static_cast<uint32_t>(std::min(mCount, mAnimal.size()));
        for (std::size_t attempt = 0; placed < wanted && attempt < 16 * wanted; ++attempt) {
            const std::size_t i = mRandom.Below(points);
            if ((mFlags[i] & play::kAllWalkable) == 0 || (mReserved[i] & kNearHeadquarters) != 0
                || mAnimal[i] != 0 || Object(i) != 0)
                continue;
            uint8_t species =
                mRandom.Pick(std::span<const Weighted>(kLandAnimals), &Weighted::Weight).Value;
            if (!GroundOf(i).Dry || (Waterside(i) && mRandom.Chance(50)))
                species = kDuck;
            mAnimal[i] = species;
            const Point p = mGrid.PointAt(i);
            mAnimals.push_back(
                AnimalEntry{species, static_cast<int16_t>(p.X), static_cast<int16_t>(p.Y)});
            ++placed;
        }
    }

private:
    Ground GroundOf(std::size_t i) const { return GroundAround(mFlags[i]); }

    // Land that touches water or lies beside a point that does.
    bool Waterside(std::size_t i) const
    {
        if (!GroundOf(i).Land)
            return false;
        if (GroundOf(i).Waterside)
            return true;
        const Point p = mGrid.PointAt(i);
        return std::ranges::any_of(mGrid.NeighbourIndices(p.X, p.Y), [this](std::size_t k) {
            return k < mCount && (mFlags[k] & play::kTouchesWater) != 0;
        });
    }

    uint8_t Object(std::size_t i) const { return i < mType.size() ? mType[i] : uint8_t{0}; }

    // Room for a tree or granite: both layers reach the point, nothing stands there, and no
    // headquarters is near.
    bool Free(std::size_t i) const
    {
        return i < mPlaceable && mType[i] == 0 && (mReserved[i] & kNearHeadquarters) == 0;
    }

    // Grows groups of objects until `wanted` stand on points with the ground flag `fits` and
    // no water around (Ground's Stony and Wooded), and no `barred` mark: each group starts on a
    // random free such point (drawn among all points; a draw may miss) and spreads to random
    // free neighbours of its members that fit. Each draw of a start or a neighbour costs one of
    // a fixed number of tries, so it ends on any map.
    template <typename Place, typename Start>
    void Grow(uint16_t fits,
              std::size_t wanted,
              uint32_t groupMin,
              uint32_t groupSpread,
              Place place,
              Start start,
              uint8_t barred)
    {
        const auto need = static_cast<uint16_t>(fits | play::kTouchesWater);
        const auto room = [&](std::size_t i) {
            return (mFlags[i] & need) == fits && Free(i) && (mReserved[i] & barred) == 0;
        };
        if (mCount == 0 || wanted == 0)
            return;
        std::size_t placed = 0;
        std::size_t tries = 8 * mCount + 64;
        std::vector<Point> group;
        const auto points = static_cast<uint32_t>(mCount);
        while (placed < wanted && tries > 0) {
            --tries;
            const std::size_t first = mRandom.Below(points);
            if (!room(first))
                continue;
            start();
            const std::size_t size = groupMin + mRandom.Below(groupSpread);
            group.assign(1, mGrid.PointAt(first));
            place(first);
            ++placed;
            for (std::size_t growth = 3 * size;
                 group.size() < size && placed < wanted && growth > 0 && tries > 0;
                 --growth, --tries) {
                const Point from = group[mRandom.Below(static_cast<uint32_t>(group.size()))];
                const Point next = mGrid.Neighbour(from, mRandom.Below(6));
                const std::size_t i = mGrid.IndexOf(next);
                if (i < mCount && room(i)) {
                    place(i);
                    group.push_back(next);
                    ++placed;
                }
            }
        }
    }

    PointGrid mGrid;
    MapLayer &mIndex;
    MapLayer &mType;
    MapLayer &mAnimal;
    std::vector<AnimalEntry> &mAnimals;
    PlayRandom mRandom;
    std::size_t mCount;
    play::GroundFlags mFresh;
    const play::GroundFlags &mFlags; // of every point placed on at least
    std::size_t mPlaceable;          // points both layers 5 and 6 reach
    // Per point: kNearHeadquarters within kObjectFreeRadius of a headquarters, kByMines on or
    // beside mining ground.
    static constexpr uint8_t kNearHeadquarters = 1;
    static constexpr uint8_t kByMines = 2;
    std::vector<uint8_t> mReserved;
    std::size_t mLand = 0;
};

} // namespace

void PlantTree(MapDocument &document, std::size_t index, play::PlayRandom &random)
{
    const std::span<const WeightedTree> kinds = TreesOf(document.Header.WorldType);
    const TreeKind kind = random.Pick(kinds, &WeightedTree::Weight).Kind;
    document.Layer(6)[index] = kind.Type;
    document.Layer(5)[index] = static_cast<uint8_t>(kind.Base + random.Below(kTreeFrames));
}

void PlaceRock(MapDocument &document, std::size_t index, play::PlayRandom &random)
{
    document.Layer(6)[index] = kGraniteTypes[random.Below(2)];
    document.Layer(5)[index] = static_cast<uint8_t>(1 + random.Below(kGraniteSizes));
}

void PlaceObjects(MapDocument &document,
                  const std::vector<Point> &headquarters,
                  uint64_t seed,
                  const play::GroundFlags *ground)
{
    ObjectPlacer placer(document, headquarters, seed, ground);
    placer.PlaceGranite();
    placer.PlaceTrees(document.Header.WorldType);
    placer.PlaceAnimals();
}

} // namespace trelvik
