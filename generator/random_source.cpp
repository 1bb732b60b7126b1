// SPDX-License-Identifier: GPL-3.0-or-later
#include "random_source.h"

#include <charconv>
#include <chrono>
#include <exception>
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
    uint64_t entropy = 0;
    try {
        std::random_device device;
        entropy = (static_cast<uint64_t>(device()) << 32u) | device();
    } catch (const std::exception &) {
        // Without an entropy source the clock alone still gives a fresh map each time.
    }
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

std::optional<uint64_t> ParseSeed(std::string_view text)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace trelvik
