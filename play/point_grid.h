// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"
#include "document/terrain.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace trelvik::play {

/// Walks the points near a point, ring by ring, each point once however small the map: the
/// same walker serves many walks over one map without clearing its marks.
class StepWalker
{
public:
    explicit StepWalker(const PointGrid &grid)
        : mGrid(grid)
    {}

    /// Calls visit(index, steps) for every point 1 to `radius` steps from the point at index
    /// `centre`, nearer ones first.
    template <typename Visit> void Walk(std::size_t centre, int radius, Visit &&visit)
    {
        if (mSeen.empty() && !mGrid.Empty()) // the marks are made at the first walk
            mSeen.assign(static_cast<std::size_t>(mGrid.Width() * mGrid.Height()), 0);
        if (++mStamp == 0) { // the marks wrapped: start them afresh
            std::ranges::fill(mSeen, 0);
            mStamp = 1;
        }
        mRing.assign(1, centre);
        mSeen[centre] = mStamp;
        for (int d = 1; d <= radius && !mRing.empty(); ++d) {
            mNext.clear();
            for (const std::size_t i : mRing) {
                const Point p = mGrid.PointAt(i);
                for (const std::size_t k : mGrid.NeighbourIndices(p.X, p.Y)) {
                    if (mSeen[k] == mStamp)
                        continue;
                    mSeen[k] = mStamp;
                    mNext.push_back(k);
                    visit(k, d);
                }
            }
            std::swap(mRing, mNext);
        }
    }

private:
    const PointGrid &mGrid;
    std::vector<uint32_t> mSeen;
    uint32_t mStamp = 0;
    std::vector<std::size_t> mRing, mNext;
};

/// A small random source for the finishing steps: SplitMix64, the same sequence on every
/// machine for the same seed.
class PlayRandom
{
public:
    explicit PlayRandom(uint64_t seed)
        : mState(seed)
    {}

    uint64_t Next()
    {
        uint64_t z = (mState += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30U)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27U)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31U);
    }

    /// A number from 0 to n - 1 (0 when n is 0).
    uint32_t Below(uint32_t n) { return static_cast<uint32_t>(((Next() >> 32U) * n) >> 32U); }

    /// True `percent` times in a hundred.
    bool Chance(uint32_t percent) { return Below(100) < percent; }

    /// An entry of a table, each as often as its weight says (the last for an empty total).
    template <typename T> const T &Pick(std::span<const T> table, uint32_t T::*weight)
    {
        uint32_t total = 0;
        for (const T &entry : table)
            total += entry.*weight;
        uint32_t roll = Below(total);
        for (const T &entry : table) {
            if (roll < entry.*weight)
                return entry;
            roll -= entry.*weight;
        }
        return table.back();
    }

private:
    uint64_t mState;
};

} // namespace trelvik::play
