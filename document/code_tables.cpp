// SPDX-License-Identifier: GPL-3.0-or-later
#include "code_tables.h"

#include "layer_codes.h"

#include <array>
#include <string_view>

namespace trelvik {
namespace {

std::string UnknownName(uint8_t code)
{
    return "Unknown (" + std::to_string(code) + ")";
}

template <std::size_t N>
std::string NameFromTable(const std::array<std::string_view, N> &table, uint8_t code)
{
    if (code < N && !table[code].empty())
        return std::string(table[code]);
    return UnknownName(code);
}

constexpr std::array<std::string_view, 3> kWorldTypes = {"Greenland", "Wasteland", "Winter"};
constexpr std::array<std::string_view, 10> kSpecies = {"",     "Rabbit", "Fox",  "Stag", "Deer",
                                                       "Duck", "Sheep",  "Deer", "Duck", "Donkey"};
constexpr std::array<std::string_view, 3> kAreaTypes = {"", "Land", "Water"};

// Ground kinds by terrain code; codes not listed have no name here.
// clang-format off
constexpr std::array<std::string_view, 35> kTerrains = {
    "savannah", "mountain", "snow", "swamp", "desert", "water", "shallow water", "desert", // 0-7
    "meadow", "meadow", "meadow", "mountain", "mountain", "mountain", "steppe",          // 8-14
    "flower meadow", "lava", "", "mountain meadow", "water", "lava", "lava", "lava",     // 15-22
    "", "", "", "", "", "", "", "", "", "", "", "buildable mountain"};                    // 23-34
// clang-format on
constexpr std::array<std::string_view, 6> kQualities = {"nothing", "flag",   "hut",
                                                        "house",   "castle", "mine"};

// Tree kinds by object type and the top two bits of the index; the index's low six bits are
// 0x30 plus an animation frame 0..7.
constexpr std::array<std::array<std::string_view, 4>, 3> kTrees = {{
    {"pine", "birch", "oak", "palm"},
    {"palm", "pineapple", "cypress", "cherry"},
    {"fir", "", "", ""},
}};

template <std::size_t N>
std::string NameOrEmpty(const std::array<std::string_view, N> &table, uint8_t code)
{
    return code < N ? std::string(table[code]) : std::string();
}

} // namespace

std::string WorldTypeName(uint8_t code)
{
    return NameFromTable(kWorldTypes, code);
}

std::string AnimalName(uint8_t code)
{
    return NameFromTable(kSpecies, code);
}

std::string AreaTypeName(uint8_t code)
{
    return NameFromTable(kAreaTypes, code);
}

std::string TerrainName(uint8_t code)
{
    return NameOrEmpty(kTerrains, code);
}

std::string BuildingQualityName(uint8_t code)
{
    return NameOrEmpty(kQualities, code);
}

std::string ObjectTypeName(uint8_t type)
{
    if (type == kHeadquartersObject)
        return "headquarters";
    if (IsTreeObject(type))
        return "tree";
    if (type == kDecorationObject)
        return "decoration";
    if (IsGraniteObject(type))
        return "granite";
    return {};
}

std::string ObjectName(uint8_t type, uint8_t index)
{
    if (type == kHeadquartersObject && index < 7)
        return "player " + std::to_string(index + 1);
    if (IsTreeObject(type) && (index & 0x38) == 0x30)
        return std::string(kTrees[type - kFirstTreeObject][index >> 6]);
    if (IsGraniteObject(type) && index >= 1 && index <= 6)
        return "size " + std::to_string(index);
    return {};
}

} // namespace trelvik
