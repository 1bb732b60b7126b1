// SPDX-License-Identifier: GPL-3.0-or-later
#include "starts.h"

#include "ball_sums.h"
#include "building_quality.h"
#include "document/layer_codes.h"
#include "fairness.h"
#include "headquarters.h"
#include "objects.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <span>

namespace trelvik {
namespace {

// A raised mountain: mining ground up to its radius from its centre, a ring of mountain meadow
// one step further. Where no mountain of the first shape fits, the next is tried.
struct MountainShape
{
    int Radius;             // of the mining ground
    int64_t Nearest;        // steps from its start to its centre
    int64_t Farthest;       //
    int64_t FromOtherStart; // at least, from every other start
};
constexpr std::array<MountainShape, 3> kShapes = {{{2, 8, 10, 8}, {1, 7, 11, 7}, {1, 6, 11, 6}}};
constexpr int64_t kFromOtherMountains = 7;
constexpr int kRisePerStep = 3; // a mine stands where its flag is at most 3 higher
constexpr int kHighest = 60;

constexpr std::array<uint8_t, 4> kMountainCodes = {1, 11, 12, 13};
constexpr uint8_t kMountainMeadow = 18;

// The ore of a raised mountain by its points' order: the centre and its six neighbours, then the
// twelve points two steps away as the rows run from north to south. Every start's mountain holds
// the same: coal at the heart, iron, gold and granite around it.
constexpr std::array<Mineral, 19> kLargeMountainOre = {
    Mineral::Coal, Mineral::Coal,    Mineral::Coal,    Mineral::Coal,   Mineral::Coal,
    Mineral::Coal, Mineral::Coal,    Mineral::Iron,    Mineral::Iron,   Mineral::Iron,
    Mineral::Iron, Mineral::Iron,    Mineral::Gold,    Mineral::Gold,   Mineral::Gold,
    Mineral::Gold, Mineral::Granite, Mineral::Granite, Mineral::Granite};
constexpr std::array<Mineral, 7> kSmallMountainOre = {Mineral::Coal,   Mineral::Coal, Mineral::Iron,
                                                      Mineral::Coal,   Mineral::Iron, Mineral::Gold,
                                                      Mineral::Granite};

// Trees and granite rocks near every start at the least.
constexpr std::size_t kMinStartTrees = 30;
constexpr std::size_t kMinStartStones = 10;
// The points of coal, iron, gold and granite every start's ore holds at the least, where it has
// ore.
constexpr std::array<std::pair<Mineral, std::size_t>, 4> kStartOre = {
    {{Mineral::Coal, 4}, {Mineral::Iron, 4}, {Mineral::Gold, 2}, {Mineral::Granite, 2}}};
constexpr std::array<Mineral, 4> kMinerals = {Mineral::Coal, Mineral::Iron, Mineral::Gold,
                                              Mineral::Granite};

// The place of a mineral in kMinerals: their bytes are 8 apart.
std::size_t MineralSlot(Mineral kind)
{
    return static_cast<std::size_t>(static_cast<uint8_t>(kind)
                                    - static_cast<uint8_t>(Mineral::Coal))
           / 8 % kMinerals.size();
}

// Evening out: sites counted within this many steps of a start; the share of the richest start's
// sites the poorest must have; at most this many changes per start.
constexpr int kRadius = kDefaultFairnessRadius;
constexpr int64_t kEnoughPercent = 95;
// A start with less building ground than that is smoothed, at most this many times.
constexpr int kSmoothingPasses = 3;
constexpr std::size_t kChangesPerStart = 96;
// A tree to take away, or a site to plant on, is looked for among this many candidates.
constexpr std::size_t kClearingChoices = 8;
// Gaps above this many sites are closed in batches of about a third of the gap, at most
// kBatches of them.
constexpr int64_t kBatchFrom = 6;
constexpr std::size_t kBatches = 24;
constexpr std::size_t kPlantingChoices = 6;

bool IsSite(uint8_t quality)
{
    const int q = quality & kQualityMask;
    return q >= 2 && q <= 4;
}

// A point where a mine can stand by its ground and heights alone: six mining triangles, and its
// flag point (the south-east neighbour) at most 3 higher.
bool MineGround(const PointGrid &grid,
                const MapDocument &document,
                const play::GroundFlags &ground,
                std::size_t i)
{
    if ((ground[i] & play::kAllMining) == 0)
        return false;
    const MapLayer &heights = document.Layer(1);
    const Point p = grid.PointAt(i);
    return heights[grid.IndexOf(grid.SouthEast(p))] - heights[i] <= kRisePerStep;
}

class MountainRaiser
{
public:
    MountainRaiser(MapDocument &document,
                   const std::vector<Point> &starts,
                   uint64_t seed,
                   play::GroundFlags &ground)
        : mDocument(document)
        , mGrid(document)
        , mStarts(starts)
        , mRandom(seed)
        , mGround(ground)
        , mBall(mGrid, kRadius)
        , mFootprints{play::Ball(mGrid, 0), play::Ball(mGrid, 2), play::Ball(mGrid, 3)}
    {}

    std::vector<RaisedMountain> Raise()
    {
        std::vector<RaisedMountain> raised;
        for (const Point start : mStarts) {
            int64_t mines = 0;
            const std::size_t at = mGrid.IndexOf(start);
            mBall.ForEach(at, [&](std::size_t k) {
                mines += k != at && MineGround(mGrid, mDocument, mGround, k) ? 1 : 0;
            });
            if (mines >= kMinStartMiningGround)
                continue;
            for (const MountainShape &shape : kShapes) {
                if (const auto centre = Site(start, shape, raised)) {
                    raised.push_back(Paint(*centre, shape.Radius));
                    break;
                }
            }
        }
        return raised;
    }

private:
    // The best centre for a start's mountain of a shape: away from every start and mountain,
    // taking the least building ground; of equal ones a random one.
    std::optional<Point>
    Site(Point start, const MountainShape &shape, const std::vector<RaisedMountain> &raised)
    {
        std::optional<Point> best;
        int64_t bestLoss = std::numeric_limits<int64_t>::max();
        uint32_t ties = 0;
        const play::Ball near(mGrid, static_cast<int>(shape.Farthest));
        near.ForEachWithSteps(mGrid.IndexOf(start), [&](std::size_t i, int d) {
            if (d < shape.Nearest)
                return;
            const Point p = mGrid.PointAt(i);
            for (const Point other : mStarts)
                if (mGrid.Distance(p, other) < shape.FromOtherStart)
                    return;
            for (const RaisedMountain &m : raised)
                if (mGrid.Distance(p, m.Centre) < kFromOtherMountains)
                    return;
            const int64_t loss = Loss(i, shape.Radius);
            if (loss < 0)
                return;
            if (loss < bestLoss) {
                bestLoss = loss;
                best = p;
                ties = 1;
            } else if (loss == bestLoss && mRandom.Below(++ties) == 0) {
                best = p;
            }
        });
        return best;
    }

    // The building ground a mountain of `radius` at point `at` would take, or -1 where it cannot
    // stand: its points must be land touching no water, snow or lava, those of its ring land.
    int64_t Loss(std::size_t at, int radius)
    {
        const auto dry = [&](std::size_t i) {
            const uint16_t g = mGround[i];
            return (g & play::kAllWalkable) != 0
                   && (g & (play::kTouchesWater | play::kTouchesDanger)) == 0;
        };
        if (!dry(at))
            return -1;
        int64_t loss = 0;
        bool ok = true;
        mFootprints[static_cast<std::size_t>(radius)].ForEachWithSteps(
            at, [&](std::size_t k, int d) {
                ok = ok && (d <= radius ? dry(k) : (mGround[k] & play::kAllWalkable) != 0);
                loss += (mGround[k] & play::kAllBuildable) != 0 ? 1 : 0;
            });
        return ok ? loss : -1;
    }

    RaisedMountain Paint(Point centre, int radius)
    {
        RaisedMountain m;
        m.Centre = centre;
        const std::size_t at = mGrid.IndexOf(centre);
        m.Points.push_back(at);
        for (const std::size_t k : mGrid.NeighbourIndices(centre.X, centre.Y))
            m.Points.push_back(k);
        if (radius > 1)
            for (const std::size_t k : mGrid.RingIndices(centre.X, centre.Y))
                m.Points.push_back(k);
        const uint8_t code = kMountainCodes[mRandom.Below(kMountainCodes.size())];
        MapLayer &heights = mDocument.Layer(1);
        int top = 0;
        for (const std::size_t k : m.Points)
            top = std::max<int>(top, heights[k]);
        for (std::size_t n = 0; n < m.Points.size(); ++n) {
            const std::size_t k = m.Points[n];
            const int steps = n == 0 ? 0 : n < 7 ? 1 : 2;
            heights[k] =
                static_cast<uint8_t>(std::min(kHighest, top + kRisePerStep * (radius - steps)));
            for (const Triangle t : TrianglesOf(mGrid, mGrid.PointAt(k)))
                Repaint(t, code);
        }
        // The ring: the buildable triangles around the points one step further.
        std::vector<std::size_t> touched;
        const play::Ball reach(mGrid, radius + 2);
        reach.ForEachWithSteps(at, [&](std::size_t k, int d) {
            touched.push_back(k);
            if (d != radius + 1)
                return;
            for (const Triangle t : TrianglesOf(mGrid, mGrid.PointAt(k)))
                if (ClassifyTerrain(mDocument.Layer(t.Layer)[t.Index]) == TerrainClass::Buildable)
                    Repaint(t, kMountainMeadow);
        });
        for (const std::size_t k : touched)
            mGround[k] = play::GroundAt(mGrid, mDocument, mGrid.PointAt(k));
        return m;
    }

    void Repaint(Triangle t, uint8_t code)
    {
        uint8_t &byte = mDocument.Layer(t.Layer)[t.Index];
        byte = static_cast<uint8_t>((byte & ~kTerrainMask) | code);
    }

    MapDocument &mDocument;
    PointGrid mGrid;
    const std::vector<Point> &mStarts;
    play::PlayRandom mRandom;
    play::GroundFlags &mGround;
    play::Ball mBall;
    std::array<play::Ball, 3> mFootprints; // by radius: a mountain and its ring
};

// Evens out the sites around the starts, one tree at a time.
class Evener
{
public:
    Evener(MapDocument &document,
           const std::vector<Point> &starts,
           uint64_t seed,
           const play::GroundFlags &ground)
        : mDocument(document)
        , mGrid(document)
        , mStarts(starts)
        , mRandom(seed)
        , mGround(ground)
        , mBall(mGrid, kRadius)
        , mSites(starts.size(), 0)
        , mReach(static_cast<std::size_t>(mGrid.Width() * mGrid.Height()), 0)
        , mClearedAll(starts.size(), false)
    {
        const play::Ball keepFree(mGrid, kObjectFreeRadius);
        for (std::size_t s = 0; s < starts.size(); ++s) {
            const auto bit = static_cast<uint8_t>(1U << s);
            const std::size_t centre = mGrid.IndexOf(starts[s]);
            Around(s, [&](std::size_t k) { mReach[k] = static_cast<uint8_t>(mReach[k] | bit); });
            keepFree.ForEach(centre, [&](std::size_t k) {
                if (k != centre)
                    mReach[k] |= kKeepFree;
            });
        }
        Recount();
    }

    void Run(bool exact)
    {
        mExact = exact;
        PlantForests();
        // Large gaps close a batch of trees at a time; the last steps go one tree at a time,
        // each weighed before it is kept.
        for (std::size_t batch = 0; batch < kBatches && !exact; ++batch)
            if (!Batch())
                break;
        for (std::size_t change = 0; change < kChangesPerStart * mStarts.size(); ++change) {
            const auto [low, high] = std::ranges::minmax_element(mSites);
            if (exact ? *low == *high : *low * 100 >= *high * kEnoughPercent)
                return;
            const auto poorest = static_cast<std::size_t>(low - mSites.begin());
            const auto richest = static_cast<std::size_t>(high - mSites.begin());
            // Exactly even: the richer starts come down to the poorest, which only a start left
            // with no such site lifts.
            const bool changed = exact ? LowerTo(richest, *low) || ClearNear(poorest)
                                       : ClearNear(poorest) || PlantNear(richest, poorest);
            if (!changed)
                return;
        }
    }

private:
    // A start with fewer trees near it than kMinStartTrees gets forests there, and one with
    // fewer granite rocks than kMinStartStones rocks: grown in groups from random points where
    // they may stand, over such neighbours, on ground too steep or uneven to build on first.
    void PlantForests()
    {
        const auto wooded = [this](std::size_t k) { return Wooded(k); };
        const auto stony = [this](std::size_t k) { return Stony(k); };
        std::vector<std::size_t> changed;
        for (std::size_t s = 0; s < mStarts.size(); ++s) {
            Furnish(
                s, kMinStartTrees, IsTreeObject, wooded,
                [&](std::size_t k) { PlantTree(mDocument, k, mRandom); }, changed);
            Furnish(
                s, kMinStartStones, IsGraniteObject, stony,
                [&](std::size_t k) { PlaceRock(mDocument, k, mRandom); }, changed);
        }
        for (const std::size_t k : changed)
            UpdateBuildingQuality(mDocument, QualityNeighbourhood(mGrid, k), &mGround);
        if (!changed.empty())
            Recount();
    }

    // Puts objects (`is` tells one) near a start until it has `wanted` of them, in groups on
    // free points whose ground `fits`, off the starts' own ground, points that are no building
    // site first.
    template <typename Is, typename Fits, typename Put>
    void Furnish(std::size_t s,
                 std::size_t wanted,
                 Is is,
                 Fits fits,
                 Put put,
                 std::vector<std::size_t> &changed)
    {
        const MapLayer &objects = mDocument.Layer(6);
        const MapLayer &quality = mDocument.Layer(9);
        const auto free = [&](std::size_t k) {
            return fits(k) && objects[k] == kNoObject && (mReach[k] & kKeepFree) == 0;
        };
        std::size_t have = 0;
        std::array<std::vector<std::size_t>, 2> room; // no site, site
        Around(s, [&](std::size_t k) {
            have += is(objects[k]) ? 1U : 0U;
            if (free(k))
                room[IsSite(quality[k]) ? 1 : 0].push_back(k);
        });
        for (std::vector<std::size_t> &points : room) {
            const bool sites = &points == &room[1];
            while (have < wanted && !points.empty()) {
                const std::size_t pick = mRandom.Below(static_cast<uint32_t>(points.size()));
                std::vector<std::size_t> group{points[pick]};
                for (std::size_t n = 0; n < group.size() && have < wanted; ++n) {
                    const std::size_t k = group[n];
                    if (objects[k] != kNoObject)
                        continue;
                    put(k);
                    changed.push_back(k);
                    ++have;
                    const Point p = mGrid.PointAt(k);
                    for (const std::size_t next : mGrid.NeighbourIndices(p.X, p.Y))
                        if (Near(s, next) && free(next) && IsSite(quality[next]) == sites)
                            group.push_back(next);
                }
                std::erase_if(points, [&](std::size_t k) { return objects[k] != kNoObject; });
            }
        }
    }

    // The trees a start keeps when trees near it are taken away: kMinStartTrees, or half of them
    // while it has less than half the sites of the richest start.
    std::size_t WoodKept(std::size_t start) const
    {
        const int64_t richest = *std::ranges::max_element(mSites);
        return mSites[start] * 2 < richest ? kMinStartTrees / 2 : kMinStartTrees;
    }

    // Ground with room for a granite rock: six buildable or mining triangles, none of them water,
    // and no mine site on or beside it.
    bool Stony(std::size_t k) const
    {
        if ((mGround[k] & play::kAllFirm) == 0 || (mGround[k] & play::kTouchesWater) != 0
            || (mGround[k] & play::kAllMining) != 0)
            return false;
        const Point p = mGrid.PointAt(k);
        return std::ranges::none_of(mGrid.NeighbourIndices(p.X, p.Y), [&](std::size_t n) {
            return (mGround[n] & play::kAllMining) != 0;
        });
    }

    // Ground with room for a tree: six buildable triangles, none of them water.
    bool Wooded(std::size_t k) const
    {
        return (mGround[k] & play::kAllBuildable) != 0 && (mGround[k] & play::kTouchesWater) == 0;
    }

    // How many candidates a step weighs: to make the counts exactly equal, every one.
    std::size_t Choices(std::size_t usual) const
    {
        return mExact ? std::numeric_limits<std::size_t>::max() : usual;
    }

    // Takes away a batch of trees near the poorest start or plants one near the richest, sized
    // to the gap; false when the starts are even enough or the batch changed nothing.
    bool Batch()
    {
        const auto [low, high] = std::ranges::minmax_element(mSites);
        const int64_t wanted = *high * kEnoughPercent / 100 - *low;
        if (wanted <= kBatchFrom)
            return false;
        const auto poorest = static_cast<std::size_t>(low - mSites.begin());
        const auto richest = static_cast<std::size_t>(high - mSites.begin());
        const auto size = static_cast<std::size_t>(wanted / 4);
        const MapLayer &objects = mDocument.Layer(6);
        const MapLayer &quality = mDocument.Layer(9);
        const int64_t before = *high - *low;
        // Trees near the poorest start whose flag point is free give a site when taken away;
        // those out of the richest's reach first. Trees planted on sites near the richest take
        // one or two; those out of the poorest's reach first.
        std::vector<std::size_t> changed;
        if (!mClearedAll[poorest]) {
            std::array<std::vector<std::size_t>, 2> trees;
            std::size_t all = 0;
            Around(poorest, [&](std::size_t k) {
                if (!IsTreeObject(objects[k]))
                    return;
                ++all;
                const std::size_t flag = mGrid.IndexOf(mGrid.SouthEast(mGrid.PointAt(k)));
                if (objects[flag] == kNoObject)
                    trees[Near(richest, k) ? 1 : 0].push_back(k);
            });
            // A start keeps its wood.
            const std::size_t kept = WoodKept(poorest);
            changed = Take(trees, std::min(size, all > kept ? all - kept : 0));
            for (const std::size_t k : changed) {
                mDocument.Layer(6)[k] = kNoObject;
                mDocument.Layer(5)[k] = 0;
            }
            if (changed.empty())
                mClearedAll[poorest] = true;
        }
        std::array<std::vector<std::size_t>, 2> sites;
        Around(richest, [&](std::size_t k) {
            if (Plantable(k, objects, quality))
                sites[Near(poorest, k) ? 1 : 0].push_back(k);
        });
        for (const std::size_t k : Take(sites, size)) {
            PlantTree(mDocument, k, mRandom);
            changed.push_back(k);
        }
        if (changed.empty())
            return false;
        for (const std::size_t k : changed)
            UpdateBuildingQuality(mDocument, QualityNeighbourhood(mGrid, k), &mGround);
        Recount();
        const auto [low2, high2] = std::ranges::minmax_element(mSites);
        return *high2 - *low2 < before;
    }

    // Up to `size` points drawn from the lists, the first list first.
    std::vector<std::size_t> Take(std::array<std::vector<std::size_t>, 2> &lists, std::size_t size)
    {
        std::vector<std::size_t> taken;
        for (std::vector<std::size_t> &list : lists) {
            while (taken.size() < size && !list.empty()) {
                const std::size_t pick = mRandom.Below(static_cast<uint32_t>(list.size()));
                taken.push_back(list[pick]);
                list[pick] = list.back();
                list.pop_back();
            }
        }
        return taken;
    }

    // A site where a tree may be planted: free, on ground with room for a tree, away from the
    // starts' own ground.
    bool Plantable(std::size_t k, const MapLayer &objects, const MapLayer &quality) const
    {
        const uint16_t g = mGround[k];
        return objects[k] == kNoObject && IsSite(quality[k]) && (g & play::kAllBuildable) != 0
               && (g & play::kTouchesWater) == 0 && (mReach[k] & kKeepFree) == 0;
    }

    void Recount()
    {
        const MapLayer &quality = mDocument.Layer(9);
        for (std::size_t s = 0; s < mStarts.size(); ++s) {
            mSites[s] = 0;
            Around(s, [&](std::size_t k) { mSites[s] += IsSite(quality[k]) ? 1 : 0; });
        }
    }

    // Calls visit(index) for every point 1 to kRadius steps from a start.
    template <typename Visit> void Around(std::size_t start, Visit &&visit) const
    {
        const std::size_t centre = mGrid.IndexOf(mStarts[start]);
        mBall.ForEach(centre, [&](std::size_t k) {
            if (k != centre)
                visit(k);
        });
    }

    // True when the point at `index` lies 1 to kRadius steps from the start.
    bool Near(std::size_t start, std::size_t index) const
    {
        return (mReach[index] & (1U << start)) != 0;
    }

    // The change in every start's sites if the object on point `i` were `type` (and layer 5
    // `index`): applied when `keep`, else undone.
    std::vector<int64_t> Try(std::size_t i, uint8_t type, uint8_t index, bool keep)
    {
        MapLayer &objects = mDocument.Layer(6);
        MapLayer &kinds = mDocument.Layer(5);
        MapLayer &quality = mDocument.Layer(9);
        const auto around = QualityNeighbourhood(mGrid, i);
        std::array<uint8_t, 7> before{};
        for (std::size_t n = 0; n < around.size(); ++n)
            before[n] = quality[around[n]];
        const uint8_t oldType = objects[i], oldIndex = kinds[i];
        objects[i] = type;
        kinds[i] = index;
        UpdateBuildingQuality(mDocument, around, &mGround);
        std::vector<int64_t> delta(mStarts.size(), 0);
        for (std::size_t n = 0; n < around.size(); ++n) {
            const int64_t change =
                (IsSite(quality[around[n]]) ? 1 : 0) - (IsSite(before[n]) ? 1 : 0);
            if (change == 0)
                continue;
            for (std::size_t s = 0; s < mStarts.size(); ++s)
                if (Near(s, around[n]))
                    delta[s] += change;
        }
        if (keep) {
            for (std::size_t s = 0; s < mStarts.size(); ++s)
                mSites[s] += delta[s];
        } else {
            objects[i] = oldType;
            kinds[i] = oldIndex;
            for (std::size_t n = 0; n < around.size(); ++n)
                quality[around[n]] = before[n];
        }
        return delta;
    }

    // True when a change that costs the poorest `poorCost` sites and the richest `richCost`
    // brings their counts closer in ratio.
    bool Closer(std::size_t poorest, std::size_t richest, int64_t poorCost, int64_t richCost) const
    {
        return richCost > 0 && poorCost * mSites[richest] < richCost * mSites[poorest];
    }

    // Takes away the tree near the poorest start that gives it the most sites, or a tree and the
    // tree on its flag point (inside a forest one alone gives nothing); false when none gives it
    // any.
    bool ClearNear(std::size_t poorest)
    {
        const MapLayer &objects = mDocument.Layer(6);
        std::vector<std::size_t> &trees = mScratch;
        trees.clear();
        Around(poorest, [&](std::size_t k) {
            if (IsTreeObject(objects[k]))
                trees.push_back(k);
        });
        if (trees.size() <= WoodKept(poorest)) // a start keeps its wood
            return false;
        std::optional<std::pair<std::size_t, std::size_t>> best; // the tree, and its flag's
        int64_t bestGain = 0;
        for (std::size_t tries = 0; tries < Choices(kClearingChoices) && !trees.empty(); ++tries) {
            const std::size_t pick = mRandom.Below(static_cast<uint32_t>(trees.size()));
            const std::size_t k = trees[pick];
            trees[pick] = trees.back();
            trees.pop_back();
            int64_t gain = Remove(k, k).Gain[poorest];
            std::size_t flag = k;
            if (gain <= 0) {
                flag = mGrid.IndexOf(mGrid.SouthEast(mGrid.PointAt(k)));
                if (IsTreeObject(objects[flag]))
                    gain = Remove(k, flag).Gain[poorest] / 2; // per tree taken
            }
            if (gain > bestGain) {
                bestGain = gain;
                best = std::pair{k, flag};
            }
        }
        if (!best)
            return false;
        Remove(best->first, best->second, true);
        return true;
    }

    struct Removal
    {
        std::vector<int64_t> Gain;
    };

    // The sites each start gains when the trees on points a and b are taken away (a = b: one
    // tree); kept when `keep`.
    Removal Remove(std::size_t a, std::size_t b, bool keep = false)
    {
        MapLayer &objects = mDocument.Layer(6);
        MapLayer &kinds = mDocument.Layer(5);
        if (a == b)
            return {Try(a, kNoObject, 0, keep)};
        const uint8_t type = objects[a], index = kinds[a];
        std::vector<int64_t> gain = Try(a, kNoObject, 0, true);
        const std::vector<int64_t> more = Try(b, kNoObject, 0, keep);
        for (std::size_t s = 0; s < gain.size(); ++s)
            gain[s] += more[s];
        if (!keep) { // put the first tree back
            const std::vector<int64_t> back = Try(a, type, index, true);
            static_cast<void>(back);
        }
        return {gain};
    }

    // Plants a tree on a site near the richest start that brings the poorest and the richest
    // closer, beside other trees and out of the poorest's reach where it can. False when there
    // is no such site.
    bool PlantNear(std::size_t richest, std::size_t poorest)
    {
        return Plant(richest, poorest, [&](const std::vector<int64_t> &delta) {
            return Closer(poorest, richest, -delta[poorest], -delta[richest]);
        });
    }

    // Plants a tree on a site near a start richer than `low` that takes it no lower than `low`
    // nor any other start below it. False when there is no such site.
    bool LowerTo(std::size_t richest, int64_t low)
    {
        const auto poorest =
            static_cast<std::size_t>(std::ranges::min_element(mSites) - mSites.begin());
        return Plant(richest, poorest, [&](const std::vector<int64_t> &delta) {
            for (std::size_t s = 0; s < mSites.size(); ++s)
                if (mSites[s] + delta[s] < low)
                    return false;
            return delta[richest] < 0;
        });
    }

    // Plants a tree on the site near the richest start that costs it least among those `good`
    // accepts (given each start's change), beside other trees and out of the poorest's reach
    // where it can. False when there is no such site.
    template <typename Good> bool Plant(std::size_t richest, std::size_t poorest, Good good)
    {
        const MapLayer &objects = mDocument.Layer(6);
        const MapLayer &quality = mDocument.Layer(9);
        // By preference: beside a tree and out of the poorest's reach, out of its reach, beside
        // a tree, any.
        std::array<std::vector<std::size_t>, 4> choices;
        Around(richest, [&](std::size_t k) {
            if (!Plantable(k, objects, quality))
                return;
            const Point p = mGrid.PointAt(k);
            const bool forest = std::ranges::any_of(
                mGrid.NeighbourIndices(p.X, p.Y), [&](auto n) { return IsTreeObject(objects[n]); });
            const bool reach = Near(poorest, k);
            choices[(reach ? 2U : 0U) + (forest ? 0U : 1U)].push_back(k);
        });
        for (std::vector<std::size_t> &bucket : choices) {
            std::optional<std::size_t> best;
            int64_t bestCost = 0;
            uint8_t type = 0, index = 0;
            for (std::size_t tries = 0; tries < Choices(kPlantingChoices) && !bucket.empty();
                 ++tries) {
                const std::size_t pick = mRandom.Below(static_cast<uint32_t>(bucket.size()));
                const std::size_t k = bucket[pick];
                bucket[pick] = bucket.back();
                bucket.pop_back();
                PlantTree(mDocument, k, mRandom); // draws the kind; tried below
                const uint8_t t = mDocument.Layer(6)[k], x = mDocument.Layer(5)[k];
                mDocument.Layer(6)[k] = kNoObject;
                mDocument.Layer(5)[k] = 0;
                const std::vector<int64_t> delta = Try(k, t, x, false);
                const int64_t cost = -delta[richest];
                if (!good(delta))
                    continue;
                // Cheaper is finer; of equal ones the first.
                if (!best || cost < bestCost) {
                    best = k;
                    bestCost = cost;
                    type = t;
                    index = x;
                }
            }
            if (best) {
                Try(*best, type, index, true);
                return true;
            }
        }
        return false;
    }

    MapDocument &mDocument;
    PointGrid mGrid;
    const std::vector<Point> &mStarts;
    play::PlayRandom mRandom;
    const play::GroundFlags &mGround;
    play::Ball mBall;
    std::vector<int64_t> mSites;
    // Per point: bit s when start s is 1 to kRadius steps away, kKeepFree when a start is
    // kObjectFreeRadius steps away or nearer (a start's own point is neither).
    static constexpr uint8_t kKeepFree = 0x80;
    std::vector<uint8_t> mReach;
    std::vector<std::size_t> mScratch;
    std::vector<bool> mClearedAll; // per start: no tree near it is left to take away
    bool mExact = false;
};

bool IsMountainCode(uint8_t code)
{
    static constexpr uint64_t kCodes = (1ULL << 1) | (1ULL << 11) | (1ULL << 12) | (1ULL << 13);
    return ((kCodes >> (code & kTerrainMask)) & 1U) != 0;
}

// The corners of a triangle: layer 2's of point p is p and its south-west and south-east
// neighbours, layer 3's p, its south-east and its east neighbour.
std::array<std::size_t, 3> Corners(const PointGrid &grid, Triangle t)
{
    const Point p = grid.PointAt(t.Index);
    const auto around = grid.NeighbourIndices(p.X, p.Y);
    return t.Layer == 2 ? std::array{t.Index, around[5], around[4]}
                        : std::array{t.Index, around[4], around[3]};
}

} // namespace

std::vector<std::size_t>
WidenMountains(MapDocument &document, play::GroundFlags &ground, const std::vector<Point> &starts)
{
    const PointGrid grid(document);
    std::vector<std::size_t> near, changed;
    if (grid.Empty())
        return changed;
    const auto count = static_cast<std::size_t>(grid.Width() * grid.Height());
    if (document.Layer(2).size() < count || document.Layer(3).size() < count
        || ground.size() < count)
        return changed;
    // Per point: 1 beside a mountain before this step, 2 beside one after its first part, 4 its
    // ground changed, 8 near a start (its triangles stay as they are).
    std::vector<uint8_t> mark(count, 0);
    const play::Ball nearStart(grid, kRadius + 2);
    for (const Point start : starts)
        nearStart.ForEach(grid.IndexOf(start), [&](std::size_t k) { mark[k] = 8; });
    const auto code = [&](Triangle t) {
        return static_cast<uint8_t>(document.Layer(t.Layer)[t.Index] & kTerrainMask);
    };
    const auto paint = [&](Triangle t, uint8_t c, uint8_t beside) {
        if ((mark[t.Index] & 8U) != 0)
            return;
        uint8_t &byte = document.Layer(t.Layer)[t.Index];
        byte = static_cast<uint8_t>((byte & ~kTerrainMask) | c);
        for (const std::size_t corner : Corners(grid, t)) {
            if ((mark[corner] & (1U | 2U)) == 0 && beside != 0)
                near.push_back(corner);
            if ((mark[corner] & 4U) == 0)
                changed.push_back(corner);
            mark[corner] = static_cast<uint8_t>(mark[corner] | beside | 4U);
        }
    };
    // A triangle touches a mountain when one of its corners has a mountain triangle around it:
    // it is one of the six triangles around such a point. The mountain meadow touching a
    // mountain becomes that mountain (the point's first mountain triangle's kind), as the map
    // was before this step.
    for (std::size_t i = 0; i < count; ++i) {
        if ((ground[i] & play::kAnyMining) != 0) {
            mark[i] |= 1U;
            near.push_back(i);
        }
    }
    const std::size_t nearBefore = near.size();
    for (std::size_t n = 0; n < nearBefore; ++n) {
        const auto six = TrianglesOf(grid, grid.PointAt(near[n]));
        const auto mountain =
            std::ranges::find_if(six, [&](auto t) { return IsMountainCode(code(t)); });
        for (const Triangle t : six)
            if (code(t) == kMountainMeadow && mountain != six.end())
                paint(t, code(*mountain), 2);
    }
    // A new band of mountain meadow where buildable ground now touches a mountain.
    for (std::size_t n = 0; n < near.size(); ++n) {
        for (const Triangle t : TrianglesOf(grid, grid.PointAt(near[n]))) {
            const uint8_t c = code(t);
            if (c != kMountainMeadow && ClassifyTerrain(c) == TerrainClass::Buildable)
                paint(t, kMountainMeadow, 0);
        }
    }
    for (const std::size_t i : changed)
        ground[i] = play::GroundAt(grid, document, grid.PointAt(i));
    return changed;
}

std::vector<Point> SmoothPoorStarts(MapDocument &document,
                                    const std::vector<Point> &starts,
                                    const play::GroundFlags &ground,
                                    std::vector<uint8_t> &groundQuality)
{
    std::vector<Point> smoothed;
    const PointGrid grid(document);
    if (starts.size() < 2 || grid.Empty())
        return smoothed;
    MapLayer &heights = document.Layer(1);
    const play::Ball ball(grid, kRadius);
    const play::Ball reach(grid, kRadius + 2); // the quality follows heights two steps away
    const auto room = [&](std::size_t centre) {
        int64_t sites = 0;
        ball.ForEach(centre, [&](std::size_t k) {
            sites += k != centre && IsSite(groundQuality[k]) ? 1 : 0;
        });
        return sites;
    };
    std::vector<int64_t> rooms;
    for (const Point start : starts)
        rooms.push_back(room(grid.IndexOf(start)));
    const int64_t richest = *std::ranges::max_element(rooms);
    // The levelled ground of every start stays as it is: marked once.
    std::vector<uint8_t> levelledAt(static_cast<std::size_t>(grid.Width() * grid.Height()), 0);
    const play::Ball levelledBall(grid, kLevelledRadius);
    for (const Point start : starts)
        levelledBall.ForEach(grid.IndexOf(start), [&](std::size_t k) { levelledAt[k] = 1; });
    std::vector<std::pair<std::size_t, uint8_t>> smoother;
    for (std::size_t s = 0; s < starts.size(); ++s) {
        const std::size_t centre = grid.IndexOf(starts[s]);
        for (int pass = 0; pass < kSmoothingPasses && rooms[s] * 100 < richest * kEnoughPercent;
             ++pass) {
            // Each point of meadow towards the mean of itself and its neighbours, from the
            // heights before the pass.
            smoother.clear();
            ball.ForEach(centre, [&](std::size_t k) {
                const Point p = grid.PointAt(k);
                if ((ground[k] & play::kAllBuildable) == 0 || levelledAt[k] != 0)
                    return;
                int sum = 2 * heights[k];
                for (const std::size_t n : grid.NeighbourIndices(p.X, p.Y))
                    sum += heights[n];
                smoother.emplace_back(k, static_cast<uint8_t>((sum + 4) / 8));
            });
            for (const auto &[k, h] : smoother)
                heights[k] = h;
            std::vector<std::size_t> near;
            reach.ForEach(centre, [&](std::size_t k) { near.push_back(k); });
            UpdateGroundQuality(document, ground, groundQuality, near);
            rooms[s] = room(centre);
            if (pass == 0)
                smoothed.push_back(starts[s]);
        }
    }
    return smoothed;
}

std::vector<RaisedMountain> RaiseMountainsNearStarts(MapDocument &document,
                                                     const std::vector<Point> &starts,
                                                     uint64_t seed,
                                                     play::GroundFlags &ground)
{
    return MountainRaiser(document, starts, seed, ground).Raise();
}

void StockMountains(MapDocument &document, const std::vector<RaisedMountain> &mountains)
{
    MapLayer &resources = document.Layer(12);
    for (const RaisedMountain &m : mountains) {
        const std::span<const Mineral> ore = m.Points.size() > kSmallMountainOre.size()
                                                 ? std::span<const Mineral>(kLargeMountainOre)
                                                 : std::span<const Mineral>(kSmallMountainOre);
        for (std::size_t n = 0; n < m.Points.size() && n < ore.size(); ++n)
            resources[m.Points[n]] = ResourceByte(ore[n], kMaxMineralAmount);
    }
}

void StockStarts(MapDocument &document, const std::vector<Point> &starts)
{
    const PointGrid grid(document);
    MapLayer &resources = document.Layer(12);
    const play::Ball ball(grid, kRadius);
    constexpr std::array<Mineral, 4> kCycle = {Mineral::Coal, Mineral::Iron, Mineral::Coal,
                                               Mineral::Gold};
    std::size_t next = 0;
    std::vector<std::size_t> minerals;
    for (const Point start : starts) {
        // Every mine site near the start holds ore.
        minerals.clear();
        ball.ForEach(grid.IndexOf(start), [&](std::size_t k) {
            if (resources[k] == kEmptyMountainResource)
                resources[k] = ResourceByte(kCycle[next++ % kCycle.size()], kMaxMineralAmount);
            if (MineralIn(resources[k]))
                minerals.push_back(k);
        });
        // Coal, iron and gold each at some points: a start short of one gets it at the points
        // of the kind it has most of.
        for (const auto &[kind, wanted] : kStartOre) {
            std::array<std::size_t, 4> of{};
            for (const std::size_t k : minerals)
                ++of[MineralSlot(MineralIn(resources[k])->Kind)];
            const std::size_t have = of[MineralSlot(kind)];
            for (std::size_t n = 0, given = 0; n < minerals.size() && have + given < wanted; ++n) {
                const Mineral most =
                    kMinerals[static_cast<std::size_t>(std::ranges::max_element(of) - of.begin())];
                const std::size_t k = minerals[n];
                if (MineralIn(resources[k])->Kind != most || of[MineralSlot(most)] <= wanted)
                    continue;
                --of[MineralSlot(most)];
                resources[k] = ResourceByte(kind, kMaxMineralAmount);
                ++given;
            }
        }
    }
}

void EvenOutStarts(MapDocument &document,
                   const std::vector<Point> &starts,
                   uint64_t seed,
                   const play::GroundFlags &ground,
                   bool exact)
{
    if (starts.size() < 2 || starts.size() > static_cast<std::size_t>(kMaxPlayers))
        return;
    Evener(document, starts, seed, ground).Run(exact);
}

} // namespace trelvik
