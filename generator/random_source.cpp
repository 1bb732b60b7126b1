#include "random_source.h"

#include <chrono>
#include <random>

namespace trelvik {

void RandomSource::Seed(uint64_t seed)
{
    mState = 0;
    Next32();
    mState += seed;
    Next32();
    mDrawn = 0;
}

uint64_t RandomSource::SeedFromClock()
{
    std::random_device device;
    const uint64_t entropy = (static_cast<uint64_t>(device()) << 32u) | device();
    const auto ticks =
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    // Multiplying by an odd constant spreads the low-order clock bits over the whole word.
    const uint64_t seed = entropy ^ (ticks * 0x9e3779b97f4a7c15ull);
    Seed(seed);
    return seed;
}

void RandomSource::Skip(uint64_t count)
{
    Jump(LeapOf(count));
}

} // namespace trelvik
