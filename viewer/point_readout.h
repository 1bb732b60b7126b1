// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trelvik {

/// What the inspector shows for a view pixel that no map point covers.
inline constexpr std::string_view kOutsideTheMap = "outside the map";

/// The fourteen layer bytes of one map point, with what they mean where the code tables know it.
struct PointReadout
{
    int X = 0;
    int Y = 0;
    std::array<uint8_t, kLayerCount> Values{};    // Values[k - 1] is layer k's byte
    std::array<std::string, kLayerCount> Names{}; // empty where no name applies
};

/// The point (x, y) of the map, or nothing when it lies outside the header's width and height.
/// A point past the end of a short layer reads 0, as the pictures show it, and has no name.
std::optional<PointReadout> ReadPoint(const MapDocument &document, int x, int y);

/// One line: "x 12, y 34 | 1: 20 | 2: 69 (harbour, water) | ... | 14: 254".
std::string ReadoutText(const PointReadout &readout);

} // namespace trelvik
