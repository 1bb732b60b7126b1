// SPDX-License-Identifier: GPL-3.0-or-later
#include "brush.h"

#include "document/code_tables.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace trelvik::edit {
namespace {

// The codes with a name, in the order the brush offers them.
constexpr std::array<uint8_t, 23> kPaintOrder = {
    8, 9,  10, 15, 18, 14, 0, 34, // land to build on
    1, 11, 12, 13,                // mining mountain
    4, 7,                         // desert
    6, 5,  19,                    // shallow water, water
    3, 2,  16, 20, 21, 22,        // swamp, snow, lava
};

} // namespace

int ClampedSize(int size)
{
    return std::clamp(size, kMinBrushSize, kMaxBrushSize);
}

std::vector<Point> BrushPoints(const PointGrid &grid, Point centre, int size)
{
    if (grid.Empty())
        return {};
    const int n = ClampedSize(size);
    const int radius = (n - 1) / 2;
    const Point c = grid.Offset(centre, 0, 0); // on the map
    // At most 61 points: a list is as quick as any set.
    std::vector<std::size_t> seen, ring, next;
    const auto add = [&seen](std::size_t i) {
        if (std::ranges::find(seen, i) != seen.end())
            return false;
        seen.push_back(i);
        return true;
    };
    for (const Point start : {c, grid.Neighbour(c, 3)}) {
        if (add(grid.IndexOf(start)))
            ring.push_back(grid.IndexOf(start));
        if (n % 2 != 0)
            break; // an odd size grows from the centre alone
    }
    for (int d = 1; d <= radius; ++d) {
        next.clear();
        for (const std::size_t i : ring) {
            const Point p = grid.PointAt(i);
            for (const std::size_t k : grid.NeighbourIndices(p.X, p.Y))
                if (add(k))
                    next.push_back(k);
        }
        std::swap(ring, next);
    }
    std::vector<Point> points;
    points.reserve(seen.size());
    for (const std::size_t i : seen)
        points.push_back(grid.PointAt(i));
    return points;
}

std::vector<Triangle> BrushTriangles(const PointGrid &grid, Point centre, int size)
{
    std::vector<Triangle> triangles;
    std::vector<uint64_t> seen; // index * 4 + layer
    for (const Point p : BrushPoints(grid, centre, size)) {
        for (const Triangle &t : TrianglesOf(grid, p)) {
            const uint64_t key =
                (static_cast<uint64_t>(t.Index) << 2U) | static_cast<uint64_t>(t.Layer);
            if (std::ranges::find(seen, key) != seen.end())
                continue;
            seen.push_back(key);
            triangles.push_back(t);
        }
    }
    return triangles;
}

std::vector<uint8_t> PaintableTerrains(uint8_t worldType)
{
    (void)worldType; // the same codes in every world
    std::vector<uint8_t> codes;
    for (const uint8_t code : kPaintOrder)
        if (!TerrainName(code).empty())
            codes.push_back(code);
    return codes;
}

std::string TerrainLabel(uint8_t code)
{
    const std::string name = TerrainName(code);
    if (name.empty())
        return "terrain " + std::to_string(code);
    int number = 0, count = 0;
    for (const uint8_t other : kPaintOrder) {
        if (TerrainName(other) != name)
            continue;
        ++count;
        if (other == code)
            number = count;
    }
    return count > 1 ? name + " " + std::to_string(number) : name;
}

} // namespace trelvik::edit
