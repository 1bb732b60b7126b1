// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace trelvik::lanes {

// Eight neighbouring grid cells handled as one 64-bit word, byte i holding cell start + i. The
// sweeps use it to pass over runs of cells that cannot change without looking at each one.

inline constexpr int32_t kWidth = 8;
inline constexpr uint64_t kOnes = 0x0101010101010101ull;
inline constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;

/// Cells cells[0..7] as one word, cells[0] in the lowest byte.
inline uint64_t Load(const uint8_t *cells)
{
    uint64_t word = 0;
    std::memcpy(&word, cells, sizeof word);
    if constexpr (std::endian::native == std::endian::big) {
        uint64_t swapped = 0;
        for (int i = 0; i < kWidth; ++i)
            swapped |= ((word >> (8 * i)) & 0xFFu) << (8 * (kWidth - 1 - i));
        word = swapped;
    }
    return word;
}

/// 1 in each byte of `word` that equals `value`, 0 elsewhere. Exact, no carries between bytes.
inline uint64_t Equal(uint64_t word, uint8_t value)
{
    const uint64_t x = word ^ (kOnes * value);
    return (~(((x & kLow7) + kLow7) | x | kLow7)) >> 7;
}

/// Number of bytes set to 1 in a word of 0/1 bytes: the multiplication adds all bytes into
/// the top one (at most 8, so nothing carries out).
inline int32_t Count(uint64_t flags)
{
    return static_cast<int32_t>((flags * kOnes) >> 56u);
}

/// Index of the lowest byte that is not 0; `flags` must not be 0.
inline int32_t First(uint64_t flags)
{
    return std::countr_zero(flags) / 8;
}

/// Index of the highest byte that is not 0; `flags` must not be 0.
inline int32_t Last(uint64_t flags)
{
    return (63 - std::countl_zero(flags)) / 8;
}

/// The bytes below byte `index` (0 to 8).
inline uint64_t Below(uint64_t word, int32_t index)
{
    return index >= kWidth ? word : word & ((uint64_t{1} << (8 * index)) - 1);
}

/// The bytes above byte `index` (-1 to 7).
inline uint64_t Above(uint64_t word, int32_t index)
{
    return index >= kWidth - 1 ? 0 : word >> (8 * (index + 1));
}

} // namespace trelvik::lanes
