// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>

namespace trelvik {

// The codes the game reads in the layers of a map, for everything that writes or judges them.

// Layer 6: the type of the object on a point (layer 5 says which one).
inline constexpr uint8_t kNoObject = 0x00;
inline constexpr uint8_t kHeadquartersObject = 0x80; // layer 5: the player, 0 for the first
inline constexpr uint8_t kFirstTreeObject = 0xC4;    // layer 5: the kind and its frame
inline constexpr uint8_t kLastTreeObject = 0xC6;
inline constexpr uint8_t kDecorationObject = 0xC8;      // layer 5: the kind
inline constexpr uint8_t kOtherDecorationObject = 0xC9; // layer 5: the kind
inline constexpr uint8_t kFirstGraniteObject = 0xCC;    // layer 5: the size, 1 to 6
inline constexpr uint8_t kLastGraniteObject = 0xCD;

constexpr bool IsTreeObject(uint8_t type)
{
    return type >= kFirstTreeObject && type <= kLastTreeObject;
}

constexpr bool IsGraniteObject(uint8_t type)
{
    return type >= kFirstGraniteObject && type <= kLastGraniteObject;
}

constexpr bool IsDecorationObject(uint8_t type)
{
    return type == kDecorationObject || type == kOtherDecorationObject;
}

// Decorations of type 0xC8 and these kinds take up their point: nothing can be built there.
// Every other decoration is small enough to build beside or over.
inline constexpr uint8_t kFirstBulkyDecoration = 0x18;
inline constexpr uint8_t kLastBulkyDecoration = 0x21;

constexpr bool IsBulkyDecoration(uint8_t type, uint8_t kind)
{
    return type == kDecorationObject && kind >= kFirstBulkyDecoration
           && kind <= kLastBulkyDecoration;
}

// Layer 9: the building quality is the value's low three bits.
inline constexpr uint8_t kQualityMask = 0x07;

// Layer 12: what lies under a point.
inline constexpr uint8_t kNoResource = 0x00;
inline constexpr uint8_t kDrinkingWaterResource = 0x21;
inline constexpr uint8_t kEmptyMountainResource = 0x40;
inline constexpr uint8_t kFishResource = 0x87;
inline constexpr uint8_t kMaxMineralAmount = 7;

/// The minerals of layer 12: a mineral is its base byte plus an amount of 1 to 7.
enum class Mineral : uint8_t { Coal = 0x40, Iron = 0x48, Gold = 0x50, Granite = 0x58 };

struct MineralDeposit
{
    Mineral Kind = Mineral::Coal;
    int Amount = 0; // 1 to 7
};

/// The mineral a layer-12 byte holds; none for anything else (amount 0 is nothing).
constexpr std::optional<MineralDeposit> MineralIn(uint8_t value)
{
    const auto base = static_cast<uint8_t>(value & 0xF8);
    const int amount = value & 0x07;
    if (amount == 0 || base < 0x40 || base > 0x58)
        return std::nullopt;
    return MineralDeposit{static_cast<Mineral>(base), amount};
}

/// The layer-12 byte of a deposit.
constexpr uint8_t ResourceByte(Mineral kind, int amount)
{
    return static_cast<uint8_t>(static_cast<uint8_t>(kind) + amount);
}

} // namespace trelvik
