// SPDX-License-Identifier: GPL-3.0-or-later
#include "arguments.h"

#include "generator/generate_map.h"

#include <charconv>

namespace trelvik::cli {
namespace {

// Plain decimal digits, at most `digits` of them.
std::optional<int32_t> ParseNumber(std::string_view text, std::size_t digits)
{
    if (text.empty() || text.size() > digits || text.find_first_not_of("0123456789") != text.npos)
        return std::nullopt;
    int32_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// At most three digits: anything longer is out of range anyway.
std::optional<int32_t> ParseSide(std::string_view text)
{
    return ParseNumber(text, 3);
}

} // namespace

std::optional<MapSize> ParseSize(std::string_view text)
{
    const auto cross = text.find_first_of("xX");
    if (cross == std::string_view::npos)
        return std::nullopt;
    const auto width = ParseSide(text.substr(0, cross));
    const auto height = ParseSide(text.substr(cross + 1));
    if (!width || !height || !IsValidMapSide(*width) || !IsValidMapSide(*height))
        return std::nullopt;
    return MapSize{*width, *height};
}

std::optional<PointArgument> ParsePoint(std::string_view text)
{
    // Five digits reach past the largest map a header can claim (32767 points a side).
    const auto comma = text.find(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    const auto x = ParseNumber(text.substr(0, comma), 5);
    const auto y = ParseNumber(text.substr(comma + 1), 5);
    if (!x || !y)
        return std::nullopt;
    return PointArgument{*x, *y};
}

} // namespace trelvik::cli
