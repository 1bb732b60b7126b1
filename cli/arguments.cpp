#include "arguments.h"

#include "generator/generate_map.h"

#include <charconv>

namespace trelvik::cli {
namespace {

std::optional<int32_t> ParseSide(std::string_view text)
{
    // At most three digits: anything longer is out of range anyway.
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != text.npos)
        return std::nullopt;
    int32_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

} // namespace

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

} // namespace trelvik::cli
