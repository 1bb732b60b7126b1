// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's seed and size arguments, against a model of their own: a seed is accepted
// exactly when it is plain digits no larger than 2^64 - 1, and its value prints back as the
// text without leading zeros; a size exactly when it is two sides of one to three digits around
// the first 'x' or 'X', each a multiple of 16 from 64 to 256; a point exactly when it is two
// numbers of one to five digits around the first ','. The same text as a file name, as messages
// and JSON show it: printable, valid UTF-8 that a strict JSON writer takes, and the bytes
// again when the escapes are read back.

#include "cli/arguments.h"
#include "document/code_page.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace {

bool AllDigits(std::string_view text)
{
    if (text.empty())
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

std::string_view WithoutLeadingZeros(std::string_view digits)
{
    const auto first = digits.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view("0") : digits.substr(first);
}

bool SeedFits(std::string_view digits)
{
    constexpr std::string_view kLargest = "18446744073709551615";
    const std::string_view value = WithoutLeadingZeros(digits);
    return value.size() < kLargest.size() || (value.size() == kLargest.size() && value <= kLargest);
}

int SideValue(std::string_view text, std::size_t digits = 3)
{
    if (!AllDigits(text) || text.size() > digits)
        return -1;
    int value = 0;
    for (char c : text)
        value = value * 10 + (c - '0');
    return value;
}

bool ValidSide(int value)
{
    return value >= 64 && value <= 256 && value % 16 == 0;
}

// The bytes a shown name stands for: each "\\xHH" read back as its byte.
std::string Unescaped(std::string_view shown)
{
    std::string bytes;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (shown.substr(i, 2) == "\\x" && i + 3 < shown.size()) {
            bytes += static_cast<char>(std::stoi(std::string(shown.substr(i + 2, 2)), nullptr, 16));
            i += 3;
        } else {
            bytes += shown[i];
        }
    }
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    using namespace trelvik::cli;
    const std::string_view text(reinterpret_cast<const char *>(data), size);

    const auto seed = ParseSeed(text);
    TRELVIK_FUZZ_CHECK(seed.has_value() == (AllDigits(text) && SeedFits(text)));
    if (seed)
        TRELVIK_FUZZ_CHECK(std::to_string(*seed) == WithoutLeadingZeros(text));

    const auto mapSize = ParseSize(text);
    const auto cross = text.find_first_of("xX");
    bool expected = false;
    int width = -1;
    int height = -1;
    if (cross != std::string_view::npos) {
        width = SideValue(text.substr(0, cross));
        height = SideValue(text.substr(cross + 1));
        expected = ValidSide(width) && ValidSide(height);
    }
    TRELVIK_FUZZ_CHECK(mapSize.has_value() == expected);
    if (mapSize)
        TRELVIK_FUZZ_CHECK(mapSize->Width == width && mapSize->Height == height);

    const auto point = ParsePoint(text);
    const auto comma = text.find(',');
    const int x = comma == std::string_view::npos ? -1 : SideValue(text.substr(0, comma), 5);
    const int y = comma == std::string_view::npos ? -1 : SideValue(text.substr(comma + 1), 5);
    TRELVIK_FUZZ_CHECK(point.has_value() == (x >= 0 && y >= 0));
    TRELVIK_FUZZ_CHECK(!point || (point->X == x && point->Y == y));

    const std::string shown = trelvik::EscapeForDisplay(text);
    TRELVIK_FUZZ_CHECK(trelvik::EscapeForDisplay(shown) == shown); // nothing left to escape
    TRELVIK_FUZZ_CHECK(!nlohmann::json(shown).dump().empty());     // throws on bad UTF-8
    if (text.find('\\') == std::string_view::npos)
        TRELVIK_FUZZ_CHECK(Unescaped(shown) == text);
    return 0;
}
