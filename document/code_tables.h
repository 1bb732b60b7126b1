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

} // namespace trelvik
