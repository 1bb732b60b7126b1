// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace trelvik {

/// The terrain code in a byte of layer 2 or 3; the bits above it mark other things (0x40 a
/// harbour site).
inline constexpr uint8_t kTerrainMask = 0x3F;

/// Layer 2's bit that marks a harbour site (on a castle point by the water).
inline constexpr uint8_t kHarbourBit = 0x40;

/// A map point. Odd rows lie half a point further east than even rows, so the rows above and
/// below an odd row's point x hold its neighbours at x and x + 1, those of an even row's point at
/// x - 1 and x.
struct Point
{
    int64_t X = 0;
    int64_t Y = 0;

    bool operator==(const Point &) const = default;
};

/// The map's points as the game sees them: the map wraps at all four edges, and a point past
/// the end of a short layer reads as 0.
class PointGrid
{
public:
    explicit PointGrid(const MapDocument &document)
        : mWidth(document.Header.Width)
        , mHeight(document.Header.Height)
    {}

    bool Empty() const { return mWidth <= 0 || mHeight <= 0; }

    /// True for a point inside the map.
    bool Holds(Point p) const { return p.X >= 0 && p.X < mWidth && p.Y >= 0 && p.Y < mHeight; }

    /// The number of points of `layer` to visit: the map's points, but no more than it holds,
    /// so a header claiming a huge map costs no more than the layer's length.
    std::size_t PointsIn(const MapLayer &layer) const
    {
        if (Empty())
            return 0;
        return static_cast<std::size_t>(
            std::min<int64_t>(mWidth * mHeight, static_cast<int64_t>(layer.size())));
    }

    Point PointAt(std::size_t index) const
    {
        const auto i = static_cast<int64_t>(index);
        return {i % mWidth, i / mWidth};
    }

    /// Calls visit(point, index) for every point of the map in row order, or for the first
    /// `count` of them.
    template <typename Visit> void ForEachPoint(std::size_t count, Visit &&visit) const
    {
        std::size_t i = 0;
        for (int64_t y = 0; y < mHeight && i < count; ++y)
            for (int64_t x = 0; x < mWidth && i < count; ++x, ++i)
                visit(Point{x, y}, i);
    }

    /// Calls inner(index, offsets) for every point of the map that Inner accepts, with the
    /// OffsetsFor its row, and edge(point, index) for every other point, row by row: the fast
    /// way through a whole map whose layers hold it.
    template <typename InnerVisit, typename EdgeVisit>
    void ForEachPointByRows(InnerVisit &&inner, EdgeVisit &&edge) const
    {
        if (Empty())
            return;
        const std::array<NearOffsets, 2> offsets = {OffsetsFor(0), OffsetsFor(1)};
        std::size_t i = 0;
        for (int64_t y = 0; y < mHeight; ++y) {
            if (y < 2 || y >= mHeight - 2 || mWidth < 5) {
                for (int64_t x = 0; x < mWidth; ++x, ++i)
                    edge(Point{x, y}, i);
                continue;
            }
            const NearOffsets &o = offsets[static_cast<std::size_t>(y & 1)];
            edge(Point{0, y}, i++);
            edge(Point{1, y}, i++);
            for (int64_t x = 2; x < mWidth - 2; ++x, ++i)
                inner(i, o);
            edge(Point{mWidth - 2, y}, i++);
            edge(Point{mWidth - 1, y}, i++);
        }
    }

    /// The point `dx` columns and `dy` rows away, counted in the point's own row: for dy odd
    /// the column is shifted by the point's row parity.
    Point Offset(Point p, int dx, int dy) const
    {
        const int64_t shift = (dy % 2 != 0) ? (p.Y & 1) : 0;
        return {Wrap(p.X + dx + shift, mWidth), Wrap(p.Y + dy, mHeight)};
    }

    Point West(Point p) const { return Offset(p, -1, 0); }
    Point NorthEast(Point p) const { return Offset(p, 0, -1); }
    Point SouthWest(Point p) const { return Offset(p, -1, 1); }
    Point SouthEast(Point p) const { return Offset(p, 0, 1); }

    int64_t Width() const { return mWidth; }
    int64_t Height() const { return mHeight; }

    /// The six neighbours, clockwise from the west: west, north-west, north-east, east,
    /// south-east, south-west.
    std::array<Point, 6> Neighbours(Point p) const
    {
        const Around a = AroundOf(p);
        return {Point{a.West, p.Y}, Point{a.Left, a.Up},    Point{a.Right, a.Up},
                Point{a.East, p.Y}, Point{a.Right, a.Down}, Point{a.Left, a.Down}};
    }

    /// Neighbour k of a point, in the order of Neighbours.
    Point Neighbour(Point p, std::size_t k) const
    {
        // Columns in the point's own row (dx), shifted by the row's parity above and below.
        static constexpr std::array<int, 6> kDx = {-1, -1, 0, 1, 0, -1};
        static constexpr std::array<int, 6> kDy = {0, -1, -1, 0, 1, 1};
        return Offset(p, kDx[k % 6], kDy[k % 6]);
    }

    /// The layer indices of the six neighbours of point (x, y), in the order of Neighbours.
    std::array<std::size_t, 6> NeighbourIndices(int64_t x, int64_t y) const
    {
        const Around a = AroundOf({x, y});
        const int64_t row = y * mWidth;
        const int64_t up = a.Up * mWidth;
        const int64_t down = a.Down * mWidth;
        return {static_cast<std::size_t>(row + a.West),   static_cast<std::size_t>(up + a.Left),
                static_cast<std::size_t>(up + a.Right),   static_cast<std::size_t>(row + a.East),
                static_cast<std::size_t>(down + a.Right), static_cast<std::size_t>(down + a.Left)};
    }

    /// The layer indices of the twelve points two steps from point (x, y).
    std::array<std::size_t, 12> RingIndices(int64_t x, int64_t y) const
    {
        // Two rows and columns to each side, wrapped; the rows above and below hold the outer
        // points at columns -2 and +1 (even row) or -1 and +2 (odd row).
        const std::array<int64_t, 5> row = {
            Wrap(y - 2, mHeight) * mWidth, Wrap(y - 1, mHeight) * mWidth, y * mWidth,
            Wrap(y + 1, mHeight) * mWidth, Wrap(y + 2, mHeight) * mWidth};
        const std::array<int64_t, 5> column = {Wrap(x - 2, mWidth), Wrap(x - 1, mWidth), x,
                                               Wrap(x + 1, mWidth), Wrap(x + 2, mWidth)};
        const std::size_t near = (y & 1) != 0 ? 1 : 0; // column index of the near outer point
        const std::array<int64_t, 12> at = {
            row[0] + column[1],    row[0] + column[2],        row[0] + column[3],
            row[1] + column[near], row[1] + column[near + 3], row[2] + column[0],
            row[2] + column[4],    row[3] + column[near],     row[3] + column[near + 3],
            row[4] + column[1],    row[4] + column[2],        row[4] + column[3]};
        std::array<std::size_t, 12> indices{};
        for (std::size_t k = 0; k < at.size(); ++k)
            indices[k] = static_cast<std::size_t>(at[k]);
        return indices;
    }

    /// Index offsets from a point to its six neighbours (in the order of Neighbours) and to the
    /// twelve points two steps away (in the order of RingIndices), for a point of a row of
    /// `parity` that lies at least two rows and columns from every edge (see Inner).
    struct NearOffsets
    {
        std::array<int64_t, 6> Neighbours{};
        std::array<int64_t, 12> Ring{};
    };

    NearOffsets OffsetsFor(int64_t parity) const
    {
        NearOffsets o;
        if (mWidth < 5 || mHeight < 6)
            return o;
        const int64_t x = 2, y = 2 + (parity & 1), at = y * mWidth + x;
        const auto n = NeighbourIndices(x, y);
        const auto r = RingIndices(x, y);
        for (std::size_t k = 0; k < n.size(); ++k)
            o.Neighbours[k] = static_cast<int64_t>(n[k]) - at;
        for (std::size_t k = 0; k < r.size(); ++k)
            o.Ring[k] = static_cast<int64_t>(r[k]) - at;
        return o;
    }

    /// True for a point two rows and columns or more from every edge: its neighbours and the
    /// points two steps away lie at OffsetsFor its row's parity, with no wrapping.
    bool Inner(int64_t x, int64_t y) const
    {
        return x >= 2 && x < mWidth - 2 && y >= 2 && y < mHeight - 2;
    }

    /// The index of a point inside the map in its layers.
    std::size_t IndexOf(Point p) const { return static_cast<std::size_t>(p.Y * mWidth + p.X); }

    uint8_t Read(const MapLayer &layer, Point p) const
    {
        const std::size_t index = IndexOf(p);
        return index < layer.size() ? layer[index] : uint8_t{0};
    }

    /// The number of steps between two points over the six-neighbour grid, wrapping at the
    /// edges. Rows are numbered so that (column - row / 2, row) are axial hexagon coordinates;
    /// the map's height is even, so a wrap by whole heights keeps every row's parity.
    int64_t Distance(Point a, Point b) const
    {
        int64_t best = -1;
        for (const int64_t wy : {-mHeight, int64_t{0}, mHeight}) {
            for (const int64_t wx : {-mWidth, int64_t{0}, mWidth}) {
                const int64_t by = b.Y + wy;
                const int64_t dr = by - a.Y;
                const int64_t dq = (b.X + wx - (by - (by & 1)) / 2) - (a.X - (a.Y - (a.Y & 1)) / 2);
                const int64_t steps = (std::abs(dq) + std::abs(dr) + std::abs(dq + dr)) / 2;
                if (best < 0 || steps < best)
                    best = steps;
            }
        }
        return best;
    }

private:
    // The rows and columns of a point's neighbours: the rows above and below hold an odd row's
    // neighbours at x and x + 1 (Left and Right), an even row's at x - 1 and x.
    struct Around
    {
        int64_t Up, Down, West, East, Left, Right;
    };

    Around AroundOf(Point p) const
    {
        Around a{};
        a.Up = p.Y == 0 ? mHeight - 1 : p.Y - 1;
        a.Down = p.Y == mHeight - 1 ? 0 : p.Y + 1;
        a.West = p.X == 0 ? mWidth - 1 : p.X - 1;
        a.East = p.X == mWidth - 1 ? 0 : p.X + 1;
        const bool odd = (p.Y & 1) != 0;
        a.Left = odd ? p.X : a.West;
        a.Right = odd ? a.East : p.X;
        return a;
    }

    static int64_t Wrap(int64_t value, int64_t size)
    {
        // Neighbours are at most a size away; the modulo is for the rest.
        if (value >= size)
            value -= size;
        else if (value < 0)
            value += size;
        if (value >= 0 && value < size)
            return value;
        const int64_t r = value % size;
        return r < 0 ? r + size : r;
    }

    int64_t mWidth;
    int64_t mHeight;
};

/// A triangle of the map: the point whose layer holds it, and that layer (2 or 3).
struct Triangle
{
    std::size_t Index = 0;
    int Layer = 2;
};

/// The six triangles around a point. Each point owns two triangles: layer 2 has the one below it
/// (the point and its south-west and south-east neighbours), layer 3 the one to its lower right
/// (the point, its south-east and its east neighbour). So the six around a point are its own
/// two, the west neighbour's layer 3, both of the north-west neighbour's and the north-east
/// neighbour's layer 2.
inline std::array<Triangle, 6> TrianglesOf(const PointGrid &grid, Point p)
{
    const auto around = grid.Neighbours(p);
    const std::size_t own = grid.IndexOf(p);
    const std::size_t west = grid.IndexOf(around[0]);
    const std::size_t northWest = grid.IndexOf(around[1]);
    const std::size_t northEast = grid.IndexOf(around[2]);
    return {Triangle{own, 2},       Triangle{own, 3},       Triangle{west, 3},
            Triangle{northWest, 2}, Triangle{northWest, 3}, Triangle{northEast, 2}};
}

/// The terrain codes (low six bits) of the six triangles around a point, in the order of
/// TrianglesOf; a triangle past the end of a short layer reads as 0.
inline std::array<uint8_t, 6>
TrianglesAround(const PointGrid &grid, const MapDocument &document, Point p)
{
    std::array<uint8_t, 6> codes{};
    const auto six = TrianglesOf(grid, p);
    for (std::size_t k = 0; k < six.size(); ++k) {
        const MapLayer &layer = document.Layer(six[k].Layer);
        codes[k] = six[k].Index < layer.size()
                       ? static_cast<uint8_t>(layer[six[k].Index] & kTerrainMask)
                       : uint8_t{0};
    }
    return codes;
}

/// What a terrain code (low six bits of a layer-2 or layer-3 byte) allows. The codes are the
/// same in every world; only their names and colours differ.
enum class TerrainClass : uint8_t {
    Buildable,
    Mining,
    WalkableOnly,
    Impassable,
    Dangerous,
};

TerrainClass ClassifyTerrain(uint8_t terrainByte);

/// Water as the ground of a point sees it: codes 5 (water) and 6 (shallow water, which is
/// buildable ground too). Fish live there, trees keep away from it, and the map check looks for
/// objects in it.
constexpr bool IsWaterCode(uint8_t code)
{
    return code == 5 || code == 6;
}

/// Lava: codes 16, 20, 21 and 22. Nothing should stand beside it.
constexpr bool IsLavaCode(uint8_t code)
{
    return code == 16 || (code >= 20 && code <= 22);
}

/// Every code drawn as water (5, 6 and 19): the coastal castle fix lowers castles near any of
/// them, 19 included, though the game takes 19 as impassable ground rather than open water.
constexpr bool IsCastleFixWaterCode(uint8_t code)
{
    return code == 5 || code == 6 || code == 19;
}

} // namespace trelvik
