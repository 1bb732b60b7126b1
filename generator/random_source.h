// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace trelvik {

/// The program's one uniform random source: PCG32 (XSH-RR, 64-bit state, 32-bit output) with a
/// fixed stream, so that a map can be grown again from its seed on any machine. Every value
/// handed out is counted, which lets tests and benchmarks check how many values a stage used.
class RandomSource
{
public:
    /// Number of distinct values NextRandom can return; a value is k / kUnitSteps.
    static constexpr uint32_t kUnitSteps = 1u << 24;

    /// Starts in the state of Seed(0), the same on every start of the program.
    RandomSource() { Seed(0); }

    /// Restarts the sequence from a 64-bit seed and clears the count of values drawn.
    void Seed(uint64_t seed);

    /// Seeds from the system's entropy source mixed with the steady clock; returns the seed used
    /// so that a caller can report it.
    uint64_t SeedFromClock();

    /// The next raw 32-bit output.
    uint32_t Next32()
    {
        const uint64_t old = mState;
        mState = old * kMultiplier + kIncrement;
        ++mDrawn;
        const auto shifted = static_cast<uint32_t>(((old >> 18u) ^ old) >> 27u);
        const auto rotation = static_cast<uint32_t>(old >> 59u);
        return (shifted >> rotation) | (shifted << ((32u - rotation) & 31u));
    }

    /// The next value as an integer k in [0, 2^24): NextRandom() would return k / 2^24. The
    /// stages compare against this exactly instead of multiplying floats.
    uint32_t NextUnit() { return Next32() >> 8u; }

    /// The next value in [0, 1), exact in single precision.
    float NextRandom() { return static_cast<float>(NextUnit()) * (1.0f / 16777216.0f); }

    /// floor(k * NextRandom()) computed exactly, for k from 0 to 2^31 - 1; one value drawn.
    int32_t RandomBelow(int32_t k)
    {
        const uint64_t product = static_cast<uint64_t>(k) * NextUnit();
        return static_cast<int32_t>(product >> 24u);
    }

    /// Skips `count` values in O(log count) steps, exactly as if they had been drawn.
    void Skip(uint64_t count);

    /// Number of values handed out (or skipped) since the last seeding.
    uint64_t Drawn() const { return mDrawn; }

    /// A linear step that advances the state by several values at once: state * Multiplier +
    /// Increment. Hot loops precompute one for a fixed count and apply it with Jump().
    struct Leap
    {
        uint64_t Multiplier = 1;
        uint64_t Increment = 0;
        uint64_t Count = 0;
    };
    static constexpr Leap LeapOf(uint64_t count)
    {
        Leap total;
        uint64_t multiplier = kMultiplier;
        uint64_t increment = kIncrement;
        total.Count = count;
        while (count > 0) {
            if ((count & 1u) != 0) {
                total.Multiplier *= multiplier;
                total.Increment = total.Increment * multiplier + increment;
            }
            increment = (multiplier + 1) * increment;
            multiplier *= multiplier;
            count >>= 1u;
        }
        return total;
    }
    void Jump(const Leap &leap)
    {
        mState = mState * leap.Multiplier + leap.Increment;
        mDrawn += leap.Count;
    }

private:
    static constexpr uint64_t kMultiplier = 6364136223846793005ull;
    // Stream 54, fixed for the whole project.
    static constexpr uint64_t kIncrement = (54ull << 1u) | 1u;

    uint64_t mState = 0;
    uint64_t mDrawn = 0;
};

/// A seed as text: plain decimal digits only (no sign, base prefix or blanks), at most
/// 2^64 - 1. The command line and the New map dialog take seeds this way.
std::optional<uint64_t> ParseSeed(std::string_view text);

} // namespace trelvik
