// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources.h"

#include "ball_sums.h"
#include "document/layer_codes.h"
#include "ground.h"
#include "point_grid.h"

#include <algorithm>
#include <array>
#include <vector>

namespace trelvik {
namespace {

using play::PlayRandom;

constexpr uint8_t kNothing = kNoResource;
constexpr uint8_t kDrinkingWater = kDrinkingWaterResource;
constexpr uint8_t kEmptyMountain = kEmptyMountainResource;
constexpr uint8_t kFish = kFishResource;

// A mineral is its base byte plus an amount of 1 to 7.
constexpr uint8_t kCoal = 0x40;
constexpr uint8_t kIron = 0x48;
constexpr uint8_t kGold = 0x50;
constexpr uint8_t kGranite = 0x58;
constexpr uint8_t kMaxAmount = 7;

// Ore clusters are seeded until this share of the mountain points holds a mineral, in percent;
// the last one may carry it a little further. Hand-made maps leave few mountain points empty.
constexpr uint32_t kOreShare = 96;
// Cluster radii in steps: kMinRadius up to kMinRadius + kRadiusSpread - 1.
constexpr int kMinRadius = 2;
constexpr uint32_t kRadiusSpread = 3;
// A cluster's rim holds the full amount this often in a hundred, else one or two less: most
// mineral points of hand-made maps hold 7.
constexpr uint32_t kFullRim = 75;

// Fish live in the water up to kFishReach steps from the shore, where fishers reach them, in
// shoals; shoals are seeded until kFishShare percent of the water points hold fish.
constexpr int8_t kFishReach = 3;
constexpr uint32_t kFishShare = 14;
constexpr int kShoalRadius = 2;
// Every start with shore water near it gets shoals up to this many steps away, until this many
// fish points lie around them: a fisher beside the headquarters has work.
constexpr int kStartFishReach = 10;
constexpr std::size_t kStartFish = 12;

// The mix of the clusters, in parts of a hundred: coal 48, iron 27, gold 17, granite 8. Coal and
// iron come first as in hand-made maps; gold is rarer, granite in the mountains rarer still.
uint8_t DrawMineral(PlayRandom &random)
{
    const uint32_t roll = random.Below(100);
    if (roll < 48)
        return kCoal;
    if (roll < 75)
        return kIron;
    if (roll < 92)
        return kGold;
    return kGranite;
}

// Grows clusters over a set of points: each starts at a random point of the set not yet taken
// and takes the free points of the set up to its radius away, walking over them only. A point is
// free while its layer-12 byte is still `free`.
class Clusters
{
public:
    Clusters(const PointGrid &grid, MapLayer &resources, std::size_t count)
        : mGrid(grid)
        , mResources(resources)
        , mCount(count)
        , mStep(count, kOutside)
    {}

    // Makes `points` the set to grow over, in place of the one before (which must still live).
    void Over(const std::vector<std::size_t> &points, uint8_t free)
    {
        if (mSet != nullptr)
            for (const std::size_t i : *mSet)
                mStep[i] = kOutside;
        for (const std::size_t i : points)
            mStep[i] = -1;
        mSet = &points;
        mFree = free;
    }

    bool InSet(std::size_t i) const { return mStep[i] == -1; }

    // Seeds clusters from `points` until `wanted` of them are taken; `fill(index, step, radius)`
    // writes one point. Every attempt draws a centre; a bounded number of them ends the loop
    // on any map. Returns the number of points taken.
    template <typename Start, typename Fill>
    std::size_t Place(const std::vector<std::size_t> &points,
                      std::size_t wanted,
                      PlayRandom &random,
                      Start start,
                      Fill fill)
    {
        if (points.empty())
            return 0;
        const auto pick = static_cast<uint32_t>(points.size());
        std::size_t covered = 0;
        for (std::size_t attempt = 0; covered < wanted && attempt < 4 * points.size() + 16;
             ++attempt) {
            const std::size_t centre = points[random.Below(pick)];
            if (mResources[centre] != mFree)
                continue;
            const int radius = start();
            covered += Grow(centre, radius, fill);
        }
        return covered;
    }

private:
    template <typename Fill> std::size_t Grow(std::size_t centre, int radius, Fill fill)
    {
        mOpen.assign(1, centre);
        mStep[centre] = 0;
        for (std::size_t next = 0; next < mOpen.size(); ++next) {
            const std::size_t at = mOpen[next];
            const int step = mStep[at];
            fill(at, step, radius);
            if (step == radius)
                continue;
            const Point p = mGrid.PointAt(at);
            for (const std::size_t i : mGrid.NeighbourIndices(p.X, p.Y)) {
                if (i < mCount && mStep[i] == -1 && mResources[i] == mFree) {
                    mStep[i] = static_cast<int8_t>(step + 1);
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
    uint8_t mFree = 0;
    const std::vector<std::size_t> *mSet = nullptr;
    static constexpr int8_t kOutside = -2;
    std::vector<int8_t> mStep; // steps from the growing cluster's centre; -1 in the set, else -2
    std::vector<std::size_t> mOpen;
};

// The water points that lie at most kFishReach steps from a point that is not all water,
// nearest first; `waterPoints` is the number of all-water points.
std::vector<std::size_t> ShoreWater(const PointGrid &grid,
                                    const play::GroundFlags &flags,
                                    std::size_t count,
                                    std::size_t waterPoints)
{
    std::vector<int8_t> steps(count, -1);
    std::vector<std::size_t> ring, next, water;
    water.reserve(waterPoints);
    for (std::size_t i = 0; i < count; ++i) {
        if ((flags[i] & play::kAllWater) == 0) {
            steps[i] = 0;
            // Only those touching water have water beside them.
            if ((flags[i] & play::kTouchesWater) != 0)
                ring.push_back(i);
        }
    }
    for (int8_t d = 1; d <= kFishReach && !ring.empty(); ++d) {
        next.clear();
        for (const std::size_t at : ring) {
            const Point p = grid.PointAt(at);
            for (const std::size_t i : grid.NeighbourIndices(p.X, p.Y)) {
                if (i < count && steps[i] < 0) {
                    steps[i] = d;
                    next.push_back(i);
                    water.push_back(i);
                }
            }
        }
        std::swap(ring, next);
    }
    return water;
}

} // namespace

void PlaceResources(MapDocument &document,
                    uint64_t seed,
                    const play::GroundFlags *ground,
                    std::span<const Point> starts)
{
    const PointGrid grid(document);
    MapLayer &resources = document.Layer(12);
    const std::size_t count = grid.PointsIn(resources);
    play::GroundFlags fresh;
    const play::GroundFlags &flags = play::GroundFor(grid, document, count, ground, fresh);
    std::vector<std::size_t> mountain;
    mountain.reserve(static_cast<std::size_t>(
        std::count_if(flags.begin(), flags.begin() + static_cast<std::ptrdiff_t>(count),
                      [](uint16_t f) { return (f & play::kAllMining) != 0; })));
    std::size_t water = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if ((flags[i] & play::kAllMining) != 0) {
            resources[i] = kEmptyMountain;
            mountain.push_back(i);
        } else if ((flags[i] & play::kAllWater) != 0) {
            resources[i] = kNothing;
            ++water;
        } else {
            resources[i] = (flags[i] & play::kAllBuildable) != 0 ? kDrinkingWater : kNothing;
        }
    }
    PlayRandom random(seed);
    uint8_t mineral = kCoal;
    Clusters clusters(grid, resources, count);
    clusters.Over(mountain, kEmptyMountain);
    clusters.Place(
        mountain, mountain.size() * kOreShare / 100, random,
        [&] {
            mineral = DrawMineral(random);
            return kMinRadius + static_cast<int>(random.Below(kRadiusSpread));
        },
        [&](std::size_t i, int step, int radius) {
            const int less = step < radius || random.Chance(kFullRim)
                                 ? 0
                                 : 1 + static_cast<int>(random.Below(2));
            resources[i] = static_cast<uint8_t>(mineral + kMaxAmount - less);
        });
    const std::vector<std::size_t> shore = ShoreWater(grid, flags, count, water);
    clusters.Over(shore, kNothing);
    const auto fish = [&](std::size_t i, int, int) { resources[i] = kFish; };
    const auto shoal = [] { return kShoalRadius; };
    std::size_t placed = 0;
    if (!starts.empty() && count == static_cast<std::size_t>(grid.Width() * grid.Height())) {
        const play::Ball reach(grid, kStartFishReach);
        std::vector<std::size_t> near;
        for (const Point start : starts) {
            if (!grid.Holds(start))
                continue;
            near.clear();
            std::size_t fishNear = 0;
            reach.ForEach(grid.IndexOf(start), [&](std::size_t k) {
                if (clusters.InSet(k))
                    near.push_back(k);
                fishNear += resources[k] == kFish ? 1U : 0U;
            });
            // One shoal at a time, counting only the fish it brings within reach.
            const auto fishInReach = [&](std::size_t i, int step, int radius) {
                fish(i, step, radius);
                fishNear += grid.Distance(grid.PointAt(i), start) <= kStartFishReach ? 1U : 0U;
            };
            while (fishNear < kStartFish) {
                const std::size_t taken = clusters.Place(near, 1, random, shoal, fishInReach);
                if (taken == 0)
                    break;
                placed += taken;
            }
        }
    }
    const std::size_t share = water * kFishShare / 100;
    clusters.Place(shore, share > placed ? share - placed : 0, random, shoal, fish);
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
