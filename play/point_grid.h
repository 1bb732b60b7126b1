#pragma once

#include "document/map_document.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

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

    uint8_t Read(const MapLayer &layer, Point p) const
    {
        const auto index = static_cast<std::size_t>(p.Y * mWidth + p.X);
        return index < layer.size() ? layer[index] : uint8_t{0};
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

} // namespace trelvik::play
