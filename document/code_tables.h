// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace trelvik {

/// "Greenland", "Wasteland", "Winter"; any other code "Unknown (n)". Also the palette's base
/// file name.
std::string WorldTypeName(uint8_t code);

/// The species name of an animal code 1..9; any other code "Unknown (n)".
std::string AnimalName(uint8_t code);

/// "Land" (1), "Water" (2); any other code "Unknown (n)".
std::string AreaTypeName(uint8_t code);

// The names below are for the point inspector; they are empty for a code without a name.

/// The kind of ground of a terrain code 0..63 (the low six bits of a layer 2 or 3 byte), by
/// Greenland's names: "meadow", "mountain", "water", "snow", "lava", ... The other worlds use
/// the same codes for ground of the same use under names of their own.
std::string TerrainName(uint8_t code);

/// Building quality 0..5 (the low three bits of a layer 9 byte): "nothing", "flag", "hut",
/// "house", "castle", "mine".
std::string BuildingQualityName(uint8_t code);

/// The object type of a layer 6 byte: "headquarters", "tree", "granite", "decoration".
std::string ObjectTypeName(uint8_t type);

/// What a layer 5 byte means beside the layer 6 type: the tree's kind ("pine", "birch", ...),
/// the granite's size ("size 3") or the headquarters' player ("player 1" for index 0).
std::string ObjectName(uint8_t type, uint8_t index);

} // namespace trelvik
