#include "objects.h"

#include "ground.h"

#include <algorithm>
#include <array>
#include <span>

namespace trelvik {
namespace {

using play::PlayRandom;
using play::Point;
using play::PointGrid;

// Shares of the land points, in percent.
constexpr std::size_t kTreeShare = 30;
constexpr std::size_t kGraniteShare = 5;
// One animal for this many land points.
constexpr std::size_t kLandPerAnimal = 400;

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
constexpr std::array<uint8_t, 5> kLandAnimals = {1, 2, 3, 4, 6}; // rabbit, fox, stag, roe, sheep

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

constexpr std::array<TreeKind, 6> kGreenlandTrees = {kPine, kBirch, kOak, kCypress, kCherry, kFir};
constexpr std::array<TreeKind, 4> kWastelandTrees = {kPalm, kPalmToo, kPineapple, kCypress};
// Fir twice as often as the others.
constexpr std::array<TreeKind, 4> kWinterTrees = {kFir, kFir, kPine, kBirch};

std::span<const TreeKind> TreesOf(uint8_t worldType)
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
                        mReserved[i] = 1;
                }
            }
        }
        // Where granite and forests may start and animals live, as the map is before anything
        // is placed; each point is checked again when it is drawn.
        for (std::size_t i = 0; i < mCount; ++i) {
            const Ground g = GroundOf(i);
            mLand += g.Land ? 1U : 0U;
            if (mReserved[i] != 0)
                continue;
            if (g.Stony && Free(i))
                mStony.push_back(static_cast<uint32_t>(i));
            if (g.Wooded && Free(i))
                mWooded.push_back(static_cast<uint32_t>(i));
            if (g.Land && i < mAnimal.size() && mAnimal[i] == 0 && Object(i) == 0)
                mHomes.push_back(static_cast<uint32_t>(i)); // land is dry or waterside
        }
    }

    void PlaceGranite()
    {
        const auto place = [this](std::size_t i) {
            mType[i] = kGraniteTypes[mRandom.Below(2)];
            mIndex[i] = static_cast<uint8_t>(1 + mRandom.Below(kGraniteSizes));
        };
        Grow(mStony, play::kAllFirm, mLand * kGraniteShare / 100, kGraniteGroupMin,
             kGraniteGroupSpread, place, [] {});
    }

    void PlaceTrees(uint8_t worldType)
    {
        const std::span<const TreeKind> kinds = TreesOf(worldType);
        const auto kindCount = static_cast<uint32_t>(kinds.size());
        TreeKind forest = kinds[0];
        const auto place = [&](std::size_t i) {
            const TreeKind kind =
                mRandom.Below(kStrayTreeOdds) == 0 ? kinds[mRandom.Below(kindCount)] : forest;
            mType[i] = kind.Type;
            mIndex[i] = static_cast<uint8_t>(kind.Base + mRandom.Below(kTreeFrames));
        };
        const auto start = [&] { forest = kinds[mRandom.Below(kindCount)]; };
        Grow(mWooded, play::kAllBuildable, mLand * kTreeShare / 100, kForestMin, kForestSpread,
             place, start);
    }

    void PlaceAnimals()
    {
        const std::vector<uint32_t> &homes = mHomes;
        if (homes.empty())
            return;
        const std::size_t wanted = mLand / kLandPerAnimal;
        std::size_t placed = 0;
        for (std::size_t attempt = 0; placed < wanted && attempt < 8 * wanted; ++attempt) {
            const std::size_t i = homes[mRandom.Below(static_cast<uint32_t>(homes.size()))];
            if (mAnimal[i] != 0 || Object(i) != 0)
                continue;
            uint8_t species =
                kLandAnimals[mRandom.Below(static_cast<uint32_t>(kLandAnimals.size()))];
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
    bool Free(std::size_t i) const { return i < mPlaceable && mType[i] == 0 && mReserved[i] == 0; }

    // Grows groups of objects until `wanted` stand on points with the ground flag `fits` and
    // no water around (Ground's Stony and Wooded): each group
    // starts on a random free such point and spreads to random free neighbours of its members
    // that fit. Each draw of a start or a neighbour costs one of a fixed number of tries, so it
    // ends on any map.
    template <typename Place, typename Start>
    void Grow(const std::vector<uint32_t> &starts,
              uint16_t fits,
              std::size_t wanted,
              uint32_t groupMin,
              uint32_t groupSpread,
              Place place,
              Start start)
    {
        const auto need = static_cast<uint16_t>(fits | play::kTouchesWater);
        const auto room = [&](std::size_t i) { return (mFlags[i] & need) == fits && Free(i); };
        if (starts.empty())
            return;
        std::size_t placed = 0;
        std::size_t tries = 16 * starts.size() + 64;
        std::vector<Point> group;
        while (placed < wanted && tries > 0) {
            --tries;
            const std::size_t first = starts[mRandom.Below(static_cast<uint32_t>(starts.size()))];
            if (!Free(first))
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
    const play::GroundFlags &mFlags;               // of every point placed on at least
    std::size_t mPlaceable;                        // points both layers 5 and 6 reach
    std::vector<uint8_t> mReserved;                // within kObjectFreeRadius of a headquarters
    std::vector<uint32_t> mStony, mWooded, mHomes; // point indices
    std::size_t mLand = 0;
};

} // namespace

void PlaceObjects(MapDocument &document,
                  const std::vector<play::Point> &headquarters,
                  uint64_t seed,
                  const play::GroundFlags *ground)
{
    ObjectPlacer placer(document, headquarters, seed, ground);
    placer.PlaceGranite();
    placer.PlaceTrees(document.Header.WorldType);
    placer.PlaceAnimals();
}

} // namespace trelvik
