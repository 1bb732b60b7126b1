// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "random_source.h"

#include <cstdint>

namespace trelvik {

// Both acceptance rules of the growth stages rise with the drawn value, so each reduces to the
// smallest unit value k (the draw being k / 2^24) that accepts. Comparing k against that
// threshold is exact and keeps floating point out of the inner loops. A threshold of
// kUnitSteps never accepts.

/// Smallest k for which weight * k / 2^24, rounded half to even at four decimals, exceeds 1.4.
/// That is weight * k * 10000 / 2^24 > 14000.5 (a tie at 14000.5 goes to the even 14000).
constexpr uint32_t FourDecimalThreshold(int32_t weight)
{
    if (weight <= 0)
        return RandomSource::kUnitSteps;
    const uint64_t limit = uint64_t{28001} * RandomSource::kUnitSteps;
    const uint64_t step = uint64_t{20000} * static_cast<uint32_t>(weight);
    const uint64_t first = limit / step + 1;
    return first >= RandomSource::kUnitSteps ? RandomSource::kUnitSteps
                                             : static_cast<uint32_t>(first);
}

/// Smallest k for which floor(weight * k / 2^24) is not 0.
constexpr uint32_t NonZeroBelowThreshold(int32_t weight)
{
    if (weight <= 0)
        return RandomSource::kUnitSteps;
    const uint64_t step = static_cast<uint32_t>(weight);
    const uint64_t first = (RandomSource::kUnitSteps + step - 1) / step;
    return first >= RandomSource::kUnitSteps ? RandomSource::kUnitSteps
                                             : static_cast<uint32_t>(first);
}

} // namespace trelvik
