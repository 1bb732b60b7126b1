// SPDX-License-Identifier: GPL-3.0-or-later
#include "deferred_draws.h"

namespace trelvik {

constexpr std::array<RandomSource::Leap, DeferredDraws::kLeapCount> DeferredDraws::MakeLeaps()
{
    std::array<RandomSource::Leap, kLeapCount> leaps{};
    for (std::size_t count = 0; count < leaps.size(); ++count)
        leaps[count] = RandomSource::LeapOf(count);
    return leaps;
}

constinit const std::array<RandomSource::Leap, DeferredDraws::kLeapCount> DeferredDraws::kLeaps =
    DeferredDraws::MakeLeaps();

} // namespace trelvik
