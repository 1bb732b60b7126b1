// SPDX-License-Identifier: GPL-3.0-or-later
#include "symmetry.h"

#include <algorithm>
#include <array>

namespace trelvik::play {
namespace {

int64_t Wrapped(int64_t value, int64_t size)
{
    const int64_t r = value % size;
    return r < 0 ? r + size : r;
}

// Twice a point's distance from the map's first column: odd rows lie half a point further east.
int64_t Doubled(Point p)
{
    return 2 * p.X + (p.Y & 1);
}

Point LeftRightImage(const PointGrid &grid, Point p)
{
    return {Wrapped(-p.X - (p.Y & 1), grid.Width()), p.Y};
}

Point TopBottomImage(const PointGrid &grid, Point p)
{
    return {p.X, Wrapped(-p.Y, grid.Height())};
}

// Layers 1 to 3 (or those asked) hold the map, and the mirror lines lie on rows of one parity.
bool Mirrorable(const MapDocument &document,
                const PointGrid &grid,
                std::initializer_list<int> layers)
{
    if (grid.Width() < 3 || grid.Height() < 4 || grid.Height() % 2 != 0)
        return false;
    const auto count = static_cast<std::size_t>(grid.Width() * grid.Height());
    for (const int layer : layers)
        if (document.Layer(layer).size() < count)
            return false;
    return true;
}

constexpr uint8_t kMountainMeadow = 18;
constexpr uint8_t kMeadow = 8;

bool IsMountain(uint8_t byte)
{
    const uint8_t code = byte & kTerrainMask;
    return code == 1 || code == 11 || code == 12 || code == 13;
}

// A mountain cut by a mirror line leaves its band of mountain meadow behind on the kept side,
// and the mirror doubles it: meadow, where no mountain is near it.
void ClearOrphanBands(MapDocument &document, const PointGrid &grid)
{
    const auto count = static_cast<std::size_t>(grid.Width() * grid.Height());
    std::vector<uint8_t> nearMountain(count, 0);
    grid.ForEachPoint(count, [&](Point p, std::size_t i) {
        for (const Triangle t : TrianglesOf(grid, p))
            if (IsMountain(document.Layer(t.Layer)[t.Index]))
                nearMountain[i] = 1;
    });
    grid.ForEachPoint(count, [&](Point p, std::size_t i) {
        const auto around = grid.NeighbourIndices(p.X, p.Y);
        // The corners of the triangle below a point and of the one to its lower right.
        const std::array<std::array<std::size_t, 3>, 2> corners = {
            {{i, around[5], around[4]}, {i, around[4], around[3]}}};
        for (std::size_t k = 0; k < 2; ++k) {
            uint8_t &byte = document.Layer(k == 0 ? 2 : 3)[i];
            if ((byte & kTerrainMask) == kMountainMeadow
                && std::ranges::none_of(corners[k],
                                        [&](std::size_t c) { return nearMountain[c] != 0; }))
                byte = static_cast<uint8_t>((byte & ~kTerrainMask) | kMeadow);
        }
    });
}

} // namespace

Mirror MirrorFor(int players, int64_t width, int64_t height)
{
    if (players == 2)
        return width >= height ? Mirror{true, false} : Mirror{false, true};
    if (players == 4)
        return Mirror{true, true};
    return {};
}

std::vector<Point> MirrorImages(const PointGrid &grid, Point p, const Mirror &mirror)
{
    std::vector<Point> images{p};
    if (mirror.LeftRight)
        images.push_back(LeftRightImage(grid, p));
    if (mirror.TopBottom) {
        const std::size_t kept = images.size();
        for (std::size_t k = 0; k < kept; ++k)
            images.push_back(TopBottomImage(grid, images[k]));
    }
    return images;
}

bool InKeptPart(const PointGrid &grid, Point p, const Mirror &mirror)
{
    const int64_t x2 = Doubled(p);
    const bool across = !mirror.LeftRight || (x2 > 0 && x2 < grid.Width());
    const bool down = !mirror.TopBottom || (p.Y > 0 && p.Y < grid.Height() / 2);
    return across && down;
}

void MirrorTerrain(MapDocument &document, const Mirror &mirror)
{
    const PointGrid grid(document);
    if (!Mirrorable(document, grid, {1, 2, 3}))
        return;
    MapLayer &heights = document.Layer(1);
    MapLayer &lower = document.Layer(2); // the triangle below a point
    MapLayer &upper = document.Layer(3); // the triangle to its lower right
    const int64_t width = grid.Width();
    const int64_t height = grid.Height();
    if (mirror.LeftRight) {
        // A triangle lies where its centre does: layer 2's under its point, layer 3's half a
        // point further east. Left-right keeps a triangle's shape.
        grid.ForEachPoint(heights.size(), [&](Point q, std::size_t i) {
            const int64_t x2 = Doubled(q);
            if (x2 > width) {
                const std::size_t from = grid.IndexOf(LeftRightImage(grid, q));
                heights[i] = heights[from];
                lower[i] = lower[from];
            }
            if (x2 + 1 > width && x2 + 1 < 2 * width)
                upper[i] = upper[grid.IndexOf(LeftRightImage(grid, grid.Offset(q, 1, 0)))];
        });
    }
    if (mirror.TopBottom) {
        // Top-bottom turns the triangle below a point into the one to the lower right of the
        // image of its south-west neighbour, and back.
        grid.ForEachPoint(heights.size(), [&](Point q, std::size_t i) {
            if (q.Y < height / 2)
                return;
            if (q.Y > height / 2)
                heights[i] = heights[grid.IndexOf(TopBottomImage(grid, q))];
            const std::size_t upperFrom = grid.IndexOf(TopBottomImage(grid, grid.SouthEast(q)));
            const std::size_t lowerFrom = grid.IndexOf(TopBottomImage(grid, grid.SouthWest(q)));
            upper[i] = lower[upperFrom];
            lower[i] = upper[lowerFrom];
        });
    }
    if (mirror.LeftRight || mirror.TopBottom)
        ClearOrphanBands(document, grid);
}

void MirrorThings(MapDocument &document, const Mirror &mirror)
{
    const PointGrid grid(document);
    if (!Mirrorable(document, grid, {5, 6, 7, 12}))
        return;
    const std::array<MapLayer *, 4> layers = {&document.Layer(5), &document.Layer(6),
                                              &document.Layer(7), &document.Layer(12)};
    const auto copy = [&](std::size_t to, Point from) {
        const std::size_t k = grid.IndexOf(from);
        for (MapLayer *layer : layers)
            (*layer)[to] = (*layer)[k];
    };
    const auto count = static_cast<std::size_t>(grid.Width() * grid.Height());
    if (mirror.LeftRight)
        grid.ForEachPoint(count, [&](Point q, std::size_t i) {
            if (Doubled(q) > grid.Width())
                copy(i, LeftRightImage(grid, q));
        });
    if (mirror.TopBottom)
        grid.ForEachPoint(count, [&](Point q, std::size_t i) {
            if (q.Y > grid.Height() / 2)
                copy(i, TopBottomImage(grid, q));
        });
    document.Animals.clear();
    const MapLayer &animals = document.Layer(7);
    grid.ForEachPoint(count, [&](Point q, std::size_t i) {
        if (animals[i] != 0)
            document.Animals.push_back(
                AnimalEntry{animals[i], static_cast<int16_t>(q.X), static_cast<int16_t>(q.Y)});
    });
}

} // namespace trelvik::play
