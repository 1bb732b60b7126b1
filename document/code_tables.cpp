#include "code_tables.h"

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

} // namespace trelvik
