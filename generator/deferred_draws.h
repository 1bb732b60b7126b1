// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "random_source.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace trelvik {

/// Counts values that must be drawn but whose outcome is already known (a cell that cannot
/// change still uses up its draw), and jumps the source over all of them at once when the next
/// value that matters is needed. The sequence of values stays exactly that of drawing each one.
class DeferredDraws
{
public:
    explicit DeferredDraws(RandomSource &random)
        : mRandom(random)
    {}
    DeferredDraws(const DeferredDraws &) = delete;
    DeferredDraws &operator=(const DeferredDraws &) = delete;
    ~DeferredDraws() { Flush(); }

    void Skip(int32_t count) { mPending += static_cast<uint32_t>(count); }

    /// The next value that matters, as NextUnit() gives it.
    uint32_t NextUnit()
    {
        Flush();
        return mRandom.NextUnit();
    }

    void Flush()
    {
        if (mPending == 0)
            return;
        if (mPending < kLeapCount)
            mRandom.Jump(kLeaps[mPending]);
        else
            mRandom.Skip(mPending);
        mPending = 0;
    }

private:
    static constexpr std::size_t kLeapCount = 1024;
    static constexpr std::array<RandomSource::Leap, kLeapCount> MakeLeaps();
    static const std::array<RandomSource::Leap, kLeapCount> kLeaps;

    RandomSource &mRandom;
    uint32_t mPending = 0;
};

} // namespace trelvik
