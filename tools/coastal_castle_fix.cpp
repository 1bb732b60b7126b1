// SPDX-License-Identifier: GPL-3.0-or-later
#include "coastal_castle_fix.h"

#include "document/terrain.h"

#include <algorithm>
#include <array>

namespace trelvik {
namespace {

struct NearTriangle
{
    int Layer; // 2 or 3
    int Row;   // offset from the point's row
    int Column;
    bool Shifted; // column also moves by the row parity p
};

// The 18 triangles around a point: rows y - 1 and y + 1 are shifted by p = y mod 2.
constexpr std::array<NearTriangle, 18> kNeighbourTriangles = {{
    {2, -2, -1, false},
    {2, -2, 0, false},
    {2, -2, 1, false},
    {3, -2, -1, false},
    {3, -2, 0, false},
    {2, -1, -2, true},
    {2, -1, 1, true},
    {3, -1, -2, true},
    {3, -1, 0, true},
    {2, 0, -1, false},
    {2, 0, 1, false},
    {3, 0, -2, false},
    {3, 0, 1, false},
    {2, 1, -1, true},
    {2, 1, 0, true},
    {3, 1, -2, true},
    {3, 1, -1, true},
    {3, 1, 0, true},
}};

// Any water code among the triangles counts; which one is found first changes nothing.
bool TouchesWater(
    const MapLayer &first, const MapLayer &second, int64_t width, int64_t x, int64_t y)
{
    const int64_t p = y % 2;
    for (const NearTriangle &triangle : kNeighbourTriangles) {
        const MapLayer &layer = triangle.Layer == 2 ? first : second;
        const int64_t column = x + triangle.Column + (triangle.Shifted ? p : 0);
        const auto index = static_cast<std::size_t>((y + triangle.Row) * width + column);
        if (index < layer.size() && IsCastleFixWaterCode(layer[index]))
            return true;
    }
    return false;
}

} // namespace

int32_t CoastalCastleFix(MapDocument &document, std::vector<std::size_t> *changed)
{
    if (changed != nullptr)
        changed->clear();
    const int64_t width = document.Header.Width;
    const int64_t height = document.Header.Height;
    MapLayer &terrain = document.Layer(2);
    const MapLayer &secondTerrain = document.Layer(3);
    const MapLayer &quality = document.Layer(9);
    // Indices grow with x and y, so the scan ends at the first point past the end of layer 2
    // or 9: a damaged header claiming a huge map costs no more than the layers hold.
    const std::size_t known = std::min(terrain.size(), quality.size());
    int32_t count = 0;
    for (int64_t y = 2; y <= height - 3; ++y) {
        for (int64_t x = 2; x <= width - 3; ++x) {
            const auto i = static_cast<std::size_t>(y * width + x);
            if (i >= known)
                return count;
            if (quality[i] != kCastleSite || (terrain[i] & kHarbourBit) != 0)
                continue;
            if (TouchesWater(terrain, secondTerrain, width, x, y)) {
                terrain[i] = static_cast<uint8_t>(terrain[i] | kHarbourBit);
                ++count;
                if (changed != nullptr)
                    changed->push_back(i);
            }
        }
    }
    return count;
}

} // namespace trelvik
