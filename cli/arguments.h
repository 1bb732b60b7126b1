// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "generator/random_source.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace trelvik::cli {

using trelvik::ParseSeed;

struct MapSize
{
    int32_t Width = 0;
    int32_t Height = 0;
};

/// "WxH" (or "WXH") with both sides valid map sides: multiples of 16 from 64 to 256.
std::optional<MapSize> ParseSize(std::string_view text);

struct PointArgument
{
    int X = 0;
    int Y = 0;
};

/// "X,Y": two whole numbers in plain decimal digits (no sign or blanks), each below 100000.
std::optional<PointArgument> ParsePoint(std::string_view text);

} // namespace trelvik::cli
