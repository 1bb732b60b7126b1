#include "grow_land.h"

#include "acceptance.h"

#include <array>
#include <cstddef>

namespace trelvik {

namespace {

constexpr uint32_t kNever = RandomSource::kUnitSteps;
constexpr int32_t kBorderColumns = 10;
constexpr int32_t kBorderRows = 5;

// Neighbour pattern of an interior cell: bit 0 above, 1 left, 2 right, 3 below.
using ThresholdTable = std::array<uint32_t, 16>;

constexpr ThresholdTable MakeThresholds(bool quickMode)
{
    ThresholdTable table{};
    for (std::size_t pattern = 0; pattern < table.size(); ++pattern) {
        const int32_t score = LandScore((pattern & 1u) != 0, (pattern & 2u) != 0,
                                        (pattern & 4u) != 0, (pattern & 8u) != 0);
        table[pattern] = quickMode ? NonZeroBelowThreshold(score) : FourDecimalThreshold(score);
    }
    return table;
}

constexpr ThresholdTable kQuickThresholds = MakeThresholds(true);
constexpr ThresholdTable kNormalThresholds = MakeThresholds(false);

constexpr std::size_t kLeapTableSize = 1024;

constexpr std::array<RandomSource::Leap, kLeapTableSize> MakeLeaps()
{
    std::array<RandomSource::Leap, kLeapTableSize> leaps{};
    for (std::size_t count = 0; count < leaps.size(); ++count)
        leaps[count] = RandomSource::LeapOf(count);
    return leaps;
}
constexpr std::array<RandomSource::Leap, kLeapTableSize> kLeaps = MakeLeaps();

// Water cells that cannot turn to land still use up one value each. Their values are never
// looked at, so the sweep only counts them and jumps the source over a whole run at once when
// the next cell that can grow needs a value.
class DeferredDraws
{
public:
    explicit DeferredDraws(RandomSource &random)
        : mRandom(random)
    {}

    void Add(int32_t count) { mPending += static_cast<uint32_t>(count); }
    void Add() { ++mPending; }

    uint32_t Next()
    {
        Flush();
        return mRandom.NextUnit();
    }

    void Flush()
    {
        if (mPending == 0)
            return;
        if (mPending < kLeaps.size())
            mRandom.Jump(kLeaps[mPending]);
        else
            mRandom.Skip(mPending);
        mPending = 0;
    }

private:
    RandomSource &mRandom;
    uint32_t mPending = 0;
};

// Water cells of the border never change during growth (only seeds can be land there), so
// they are counted once per row.
struct BorderWater
{
    std::vector<int32_t> Row;   // whole row, for the border rows
    std::vector<int32_t> Left;  // columns 0..9
    std::vector<int32_t> Right; // columns GW-10..GW-1
};

int32_t CountWater(const uint8_t *cells, int32_t count)
{
    int32_t water = 0;
    for (int32_t i = 0; i < count; ++i)
        water += cells[i] == 0 ? 1 : 0;
    return water;
}

BorderWater CountBorderWater(const TriangleGrid &grid)
{
    const auto rows = static_cast<std::size_t>(grid.H);
    BorderWater water{std::vector<int32_t>(rows), std::vector<int32_t>(rows),
                      std::vector<int32_t>(rows)};
    for (int32_t r = 0; r < grid.H; ++r) {
        const uint8_t *row = grid.Land.data() + r * grid.GW;
        const auto index = static_cast<std::size_t>(r);
        water.Row[index] = CountWater(row, grid.GW);
        water.Left[index] = CountWater(row, kBorderColumns);
        water.Right[index] = CountWater(row + grid.GW - kBorderColumns, kBorderColumns);
    }
    return water;
}

// One sweep in the given direction; returns the number of cells turned to land.
template <bool TopDown, bool LeftToRight>
int32_t Sweep(TriangleGrid &grid,
              const BorderWater &border,
              const ThresholdTable &thresholds,
              DeferredDraws &draws)
{
    const int32_t gw = grid.GW;
    uint8_t *land = grid.Land.data();
    int32_t grown = 0;
    for (int32_t step = 0; step < grid.H; ++step) {
        const int32_t r = TopDown ? step : grid.H - 1 - step;
        const auto rowIndex = static_cast<std::size_t>(r);
        if (r < kBorderRows || r >= grid.H - kBorderRows) {
            draws.Add(border.Row[rowIndex]);
            continue;
        }
        draws.Add(LeftToRight ? border.Left[rowIndex] : border.Right[rowIndex]);
        uint8_t *row = land + r * gw;
        const int32_t first = kBorderColumns;
        const int32_t last = gw - kBorderColumns - 1;
        for (int32_t i = 0; i <= last - first; ++i) {
            uint8_t *cell = row + (LeftToRight ? first + i : last - i);
            if (*cell != 0)
                continue;
            const unsigned pattern =
                static_cast<unsigned>(cell[-gw]) | static_cast<unsigned>(cell[-1] << 1)
                | static_cast<unsigned>(cell[1] << 2) | static_cast<unsigned>(cell[gw] << 3);
            const uint32_t threshold = thresholds[pattern];
            if (threshold == kNever) {
                draws.Add();
                continue;
            }
            if (draws.Next() >= threshold) {
                *cell = 1;
                ++grown;
            }
        }
        draws.Add(LeftToRight ? border.Right[rowIndex] : border.Left[rowIndex]);
    }
    draws.Flush();
    return grown;
}

// A seed lets growth start when it, or a cell beside it, lies outside the border.
bool SeedCanGrow(const TriangleGrid &grid, int32_t c, int32_t r)
{
    const auto growable = [&grid](int32_t cc, int32_t rr) {
        return cc >= 0 && cc < grid.GW && rr >= 0 && rr < grid.H
               && !IsLandBorder(cc, rr, grid.GW, grid.H);
    };
    return growable(c, r) || growable(c, r - 1) || growable(c, r + 1) || growable(c - 1, r)
           || growable(c + 1, r);
}

// Places the seeds; when none of them can start growth, they are taken back and drawn again
// with the source going on, since such a grid would never reach its target.
int32_t PlaceSeeds(TriangleGrid &grid, RandomSource &random)
{
    std::vector<int32_t> seeds;
    for (;;) {
        const int32_t seedCount = random.RandomBelow(49) + 1;
        seeds.clear();
        bool canGrow = false;
        while (static_cast<int32_t>(seeds.size()) < seedCount + 1) {
            const int32_t c = random.RandomBelow(grid.GW);
            const int32_t r = random.RandomBelow(grid.H);
            const auto g = static_cast<std::size_t>(r * grid.GW + c);
            if (grid.Land[g] != 0)
                continue;
            grid.Land[g] = 1;
            seeds.push_back(r * grid.GW + c);
            canGrow = canGrow || SeedCanGrow(grid, c, r);
        }
        if (canGrow)
            return static_cast<int32_t>(seeds.size());
        for (const int32_t g : seeds)
            grid.Land[static_cast<std::size_t>(g)] = 0;
    }
}

} // namespace

int32_t LandProgress(int32_t landCount, int32_t growthTarget)
{
    if (growthTarget <= 0)
        return kProgressMax;
    const int64_t scaled = static_cast<int64_t>(landCount) * kProgressMax;
    int64_t value = scaled / growthTarget;
    const int64_t twiceRest = 2 * (scaled % growthTarget);
    if (twiceRest > growthTarget || (twiceRest == growthTarget && value % 2 != 0))
        ++value;
    return value > kProgressMax ? kProgressMax : static_cast<int32_t>(value);
}

void GrowLand(TriangleGrid &grid,
              bool quickMode,
              RandomSource &random,
              const ProgressCallback &progress)
{
    int32_t landCount = PlaceSeeds(grid, random);

    const double fraction = static_cast<double>(random.NextRandom());
    const int32_t area = grid.W * grid.H;
    const auto growthTarget = static_cast<int32_t>(fraction * 0.8 * grid.W * grid.H) + area / 2;

    const ThresholdTable &thresholds = quickMode ? kQuickThresholds : kNormalThresholds;
    const BorderWater border = CountBorderWater(grid);
    DeferredDraws draws(random);
    do {
        if (random.RandomBelow(3) == 0)
            landCount += Sweep<true, true>(grid, border, thresholds, draws);
        if (random.RandomBelow(3) == 0)
            landCount += Sweep<true, false>(grid, border, thresholds, draws);
        if (random.RandomBelow(3) == 0)
            landCount += Sweep<false, false>(grid, border, thresholds, draws);
        if (random.RandomBelow(3) == 0)
            landCount += Sweep<false, true>(grid, border, thresholds, draws);
        if (progress)
            progress(LandProgress(landCount, growthTarget));
    } while (landCount <= growthTarget);
}

} // namespace trelvik
