#pragma once

#include "document/map_document.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace trelvik::play {

/// A map point. Odd rows lie half a point further east than even rows, so the rows above and
/// below an odd row's point x hold its neighbours at x and x + 1, those of an even row's point at
/// x - 1 and x.
struct Point
{
    int64_t X = 0;
    int64_t Y = 0;
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

    /// The point `dx` columns and `dy` rows away, counted in the point's own row: for dy odd
    /// the column is shifted by the point's row parity.
    Point Offset(Point p, int dx, int dy) const
    {
        const int64_t shift = (dy % 2 != 0) ? (p.Y & 1) : 0;
        return {Wrap(p.X + dx + shift, mWidth), Wrap(p.Y + dy, mHeight)};
    }

    Point West(Point p) const { return Offset(p, -1, 0); }
    Point East(Point p) const { return Offset(p, 1, 0); }
    Point NorthWest(Point p) const { return Offset(p, -1, -1); }
    Point NorthEast(Point p) const { return Offset(p, 0, -1); }
    Point SouthWest(Point p) const { return Offset(p, -1, 1); }
    Point SouthEast(Point p) const { return Offset(p, 0, 1); }

    int64_t Width() const { return mWidth; }
    int64_t Height() const { return mHeight; }

    /// The six neighbours, clockwise from the west.
    std::array<Point, 6> Neighbours(Point p) const
    {
        return {West(p), NorthWest(p), NorthEast(p), East(p), SouthEast(p), SouthWest(p)};
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
    static int64_t Wrap(int64_t value, int64_t size)
    {
        const int64_t r = value % size;
        return r < 0 ? r + size : r;
    }

    int64_t mWidth;
    int64_t mHeight;
};

/// The terrain codes (low six bits) of the six triangles around a point. Each point owns two
/// triangles: layer 2 has the one below it (the point and its south-west and south-east
/// neighbours), layer 3 the one to its lower right (the point, its south-east and its east
/// neighbour). So the six around a point are its own two, the west neighbour's layer 3, both of
/// the north-west neighbour's and the north-east neighbour's layer 2.
inline std::array<uint8_t, 6> TrianglesAround(const PointGrid &grid,
                                              const MapDocument &document,
                                              Point p)
{
    constexpr uint8_t kTerrainMask = 0x3F;
    const MapLayer &lower = document.Layer(2);
    const MapLayer &upper = document.Layer(3);
    const Point west = grid.West(p);
    const Point northWest = grid.NorthWest(p);
    const Point northEast = grid.NorthEast(p);
    return {static_cast<uint8_t>(grid.Read(lower, p) & kTerrainMask),
            static_cast<uint8_t>(grid.Read(upper, p) & kTerrainMask),
            static_cast<uint8_t>(grid.Read(upper, west) & kTerrainMask),
            static_cast<uint8_t>(grid.Read(lower, northWest) & kTerrainMask),
            static_cast<uint8_t>(grid.Read(upper, northWest) & kTerrainMask),
            static_cast<uint8_t>(grid.Read(lower, northEast) & kTerrainMask)};
}

/// A small random source for the finishing steps: SplitMix64, the same sequence on every
/// machine for the same seed.
class PlayRandom
{
public:
    explicit PlayRandom(uint64_t seed)
        : mState(seed)
    {}

    uint64_t Next()
    {
        uint64_t z = (mState += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30U)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27U)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31U);
    }

    /// A number from 0 to n - 1 (0 when n is 0).
    uint32_t Below(uint32_t n) { return static_cast<uint32_t>(((Next() >> 32U) * n) >> 32U); }

    /// True `percent` times in a hundred.
    bool Chance(uint32_t percent) { return Below(100) < percent; }

private:
    uint64_t mState;
};

} // namespace trelvik::play
