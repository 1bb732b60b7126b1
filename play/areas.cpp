#include "areas.h"

#include "ground.h"
#include "point_grid.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace trelvik {
namespace {

using play::PointGrid;

constexpr uint8_t kNone = 0;
constexpr uint8_t kLand = 1;
constexpr uint8_t kWater = 2;

// Water first: a point amid shallow water (6, which is walkable too) is open water.
uint8_t KindOf(const std::array<uint8_t, 6> &around)
{
    if (std::ranges::all_of(around, play::IsWaterCode))
        return kWater;
    if (std::ranges::all_of(around, play::IsWalkableCode))
        return kLand;
    return kNone;
}

struct Piece
{
    uint8_t Kind = kNone;
    std::size_t First = 0; // its first point in row order
    std::size_t Size = 0;
};

} // namespace

void ComputeAreas(MapDocument &document)
{
    const PointGrid grid(document);
    if (grid.Empty())
        return;
    // Only the points layer 14 holds take part: no other can carry an area.
    MapLayer &ids = document.Layer(14);
    const std::size_t count = grid.PointsIn(ids);
    std::vector<uint8_t> kind(count);
    for (std::size_t i = 0; i < count; ++i)
        kind[i] = KindOf(play::TrianglesAround(grid, document, grid.PointAt(i)));

    // Walking the points in row order, each piece is first met at its first point.
    constexpr std::size_t kUnvisited = SIZE_MAX;
    std::vector<std::size_t> pieceOf(count, kUnvisited);
    std::vector<Piece> pieces;
    std::vector<std::size_t> open;
    for (std::size_t first = 0; first < count; ++first) {
        if (kind[first] == kNone || pieceOf[first] != kUnvisited)
            continue;
        const std::size_t piece = pieces.size();
        pieceOf[first] = piece;
        open.assign(1, first);
        for (std::size_t next = 0; next < open.size(); ++next) {
            for (const play::Point n : grid.Neighbours(grid.PointAt(open[next]))) {
                const std::size_t i = grid.IndexOf(n);
                if (i < count && kind[i] == kind[first] && pieceOf[i] == kUnvisited) {
                    pieceOf[i] = piece;
                    open.push_back(i);
                }
            }
        }
        pieces.push_back(Piece{kind[first], first, open.size()});
    }

    // Largest first; pieces of one size keep their row order.
    std::vector<std::size_t> order(pieces.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = k;
    std::ranges::stable_sort(
        order, [&pieces](std::size_t a, std::size_t b) { return pieces[a].Size > pieces[b].Size; });
    constexpr auto kEntries = static_cast<std::size_t>(kAreaCount);
    std::vector<uint8_t> entryOf(pieces.size(), kNoArea);
    document.Header.Areas.fill(AreaEntry{});
    for (std::size_t e = 0; e < std::min(order.size(), kEntries); ++e) {
        const Piece &piece = pieces[order[e]];
        const play::Point p = grid.PointAt(piece.First);
        entryOf[order[e]] = static_cast<uint8_t>(e);
        document.Header.Areas[e] =
            AreaEntry{piece.Kind, static_cast<int16_t>(p.X), static_cast<int16_t>(p.Y),
                      static_cast<int32_t>(piece.Size)};
    }
    for (std::size_t i = 0; i < count; ++i)
        ids[i] = pieceOf[i] == kUnvisited ? kNoArea : entryOf[pieceOf[i]];
}

} // namespace trelvik
