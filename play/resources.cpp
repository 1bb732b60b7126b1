#include "resources.h"

#include "ground.h"
#include "point_grid.h"

#include <algorithm>
#include <array>
#include <vector>

namespace trelvik {
namespace {

using play::PlayRandom;
using play::Point;
using play::PointGrid;

constexpr uint8_t kNothing = 0x00;
constexpr uint8_t kDrinkingWater = 0x21;
constexpr uint8_t kEmptyMountain = 0x40;
constexpr uint8_t kFish = 0x87;

// A mineral is its base byte plus an amount of 1 to 7.
constexpr uint8_t kCoal = 0x40;
constexpr uint8_t kIron = 0x48;
constexpr uint8_t kGold = 0x50;
constexpr uint8_t kGranite = 0x58;
constexpr uint8_t kMaxAmount = 7;

// The share of the mountain points that ends up in an ore cluster, in percent. Clusters stop
// being seeded once it is reached; the last one may carry it a little further.
constexpr uint32_t kOreShare = 65;
// Cluster radii in steps: kMinRadius up to kMinRadius + kRadiusSpread - 1.
constexpr int kMinRadius = 2;
constexpr uint32_t kRadiusSpread = 3;

// The usual mix: coal 40, iron 36, granite 15, gold 9 parts in a hundred.
uint8_t DrawMineral(PlayRandom &random)
{
    const uint32_t roll = random.Below(100);
    if (roll < 40)
        return kCoal;
    if (roll < 76)
        return kIron;
    if (roll < 91)
        return kGranite;
    return kGold;
}

// Grows ore clusters over the mountain points: each starts at a random mountain point not yet
// in a cluster and takes the free mountain points up to its radius away (walking over mountain
// points only), richest at the centre.
class OreClusters
{
public:
    OreClusters(const PointGrid &grid, MapLayer &resources, std::size_t count)
        : mGrid(grid)
        , mResources(resources)
        , mCount(count)
        , mStep(count, -1)
    {}

    void Place(const std::vector<std::size_t> &mountain, PlayRandom &random)
    {
        if (mountain.empty())
            return;
        const std::size_t wanted = mountain.size() * kOreShare / 100;
        const auto pick = static_cast<uint32_t>(mountain.size());
        std::size_t covered = 0;
        // Every attempt draws a centre; a bounded number of them ends the loop on any map.
        for (std::size_t attempt = 0; covered < wanted && attempt < 4 * mountain.size() + 16;
             ++attempt) {
            const std::size_t centre = mountain[random.Below(pick)];
            if (mResources[centre] != kEmptyMountain)
                continue;
            const uint8_t mineral = DrawMineral(random);
            const int radius = kMinRadius + static_cast<int>(random.Below(kRadiusSpread));
            covered += Grow(centre, mineral, radius, random);
        }
    }

private:
    std::size_t Grow(std::size_t centre, uint8_t mineral, int radius, PlayRandom &random)
    {
        mOpen.assign(1, centre);
        mStep[centre] = 0;
        for (std::size_t next = 0; next < mOpen.size(); ++next) {
            const std::size_t at = mOpen[next];
            const int step = mStep[at];
            // Amount 7 at the centre, falling towards 1 at the rim, sometimes one less.
            const int amount = kMaxAmount - step * (kMaxAmount - 1) / (radius + 1)
                               - static_cast<int>(random.Below(2));
            mResources[at] = static_cast<uint8_t>(mineral + std::max(amount, 1));
            if (step == radius)
                continue;
            for (const Point n : mGrid.Neighbours(mGrid.PointAt(at))) {
                const std::size_t i = mGrid.IndexOf(n);
                if (i < mCount && mStep[i] < 0 && mResources[i] == kEmptyMountain) {
                    mStep[i] = step + 1;
                    mOpen.push_back(i);
                }
            }
        }
        for (const std::size_t i : mOpen)
            mStep[i] = -1;
        return mOpen.size();
    }

    const PointGrid &mGrid;
    MapLayer &mResources;
    std::size_t mCount;
    std::vector<int> mStep; // steps from the growing cluster's centre, -1 outside it
    std::vector<std::size_t> mOpen;
};

} // namespace

void PlaceResources(MapDocument &document, uint64_t seed, const play::GroundFlags *ground)
{
    const PointGrid grid(document);
    MapLayer &resources = document.Layer(12);
    const std::size_t count = grid.PointsIn(resources);
    play::GroundFlags fresh;
    const play::GroundFlags &flags = play::GroundFor(grid, document, count, ground, fresh);
    std::vector<std::size_t> mountain;
    for (std::size_t i = 0; i < count; ++i) {
        if ((flags[i] & play::kAllMining) != 0) {
            resources[i] = kEmptyMountain;
            mountain.push_back(i);
        } else if ((flags[i] & play::kAllWater) != 0) {
            resources[i] = kFish;
        } else {
            resources[i] = (flags[i] & play::kAnyBuildable) != 0 ? kDrinkingWater : kNothing;
        }
    }
    PlayRandom random(seed);
    OreClusters(grid, resources, count).Place(mountain, random);
}

bool IsValidResource(uint8_t value)
{
    if (value == kNothing || value == kDrinkingWater || value == kFish || value == kEmptyMountain)
        return true;
    const auto base = static_cast<uint8_t>(value & 0xF8);
    const bool mineral = base == kCoal || base == kIron || base == kGold || base == kGranite;
    return mineral && (value & 0x07) != 0;
}

} // namespace trelvik
