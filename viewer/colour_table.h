// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

namespace trelvik {

/// One colour of the table, in the byte order of a device-independent bitmap's colour table.
struct ColourEntry
{
    uint8_t Blue = 0;
    uint8_t Green = 0;
    uint8_t Red = 0;
    uint8_t Reserved = 0;

    bool operator==(const ColourEntry &) const = default;
};

inline constexpr std::size_t kColourCount = 256;

/// The 256 colours every picture is drawn through. It starts black and is only ever
/// overwritten entry by entry (grey ramps, palette loads), never cleared, so what a failed or
/// short palette load leaves untouched keeps the colour of the previous refresh.
struct ColourTable
{
    std::array<ColourEntry, kColourCount> Entries{};

    bool operator==(const ColourTable &) const = default;
};

/// Grey-ramp factors as exact fixed-point numbers in 1/10000.
inline constexpr int32_t kGreyRampScale = 10000;
inline constexpr int32_t kHeightRampFactor = 40000;  // 4
inline constexpr int32_t kLayer12RampFactor = 15000; // 1.5
inline constexpr int32_t kShadingRampFactor = 19960; // 1.996

/// Sets blue, green and red of entry i to the low eight bits of i * factor / 10000, rounded
/// half to even; the reserved bytes keep their values. Values above 255 wrap, as the layers'
/// bytes are shown modulo 256.
void FillGreyRamp(ColourTable &table, int32_t factorTenThousandths);

} // namespace trelvik
