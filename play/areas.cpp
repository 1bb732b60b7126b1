// SPDX-License-Identifier: GPL-3.0-or-later
#include "areas.h"

#include "pieces.h"
#include "point_grid.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace trelvik {

void ComputeAreas(MapDocument &document, const play::TerrainReading *terrain)
{
    const PointGrid grid(document);
    if (grid.Empty())
        return;
    // Only the points layer 14 holds take part: no other can carry an area.
    MapLayer &ids = document.Layer(14);
    const std::size_t count = grid.PointsIn(ids);
    const bool known = terrain != nullptr && terrain->Pieces.Of.size() >= count;
    play::Pieces fresh;
    if (!known)
        fresh = play::FindPieces(grid, play::ReadGround(grid, document, count));
    const play::Pieces &pieces = known ? terrain->Pieces : fresh;

    // Largest first; pieces of one size in the row order of their first points.
    const std::vector<play::Piece> &list = pieces.List;
    std::vector<std::size_t> order(list.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = k;
    std::ranges::stable_sort(
        order, [&list](std::size_t a, std::size_t b) { return list[a].Size > list[b].Size; });
    constexpr auto kEntries = static_cast<std::size_t>(kAreaCount);
    std::vector<uint8_t> entryOf(list.size(), kNoArea);
    document.Header.Areas.fill(AreaEntry{});
    for (std::size_t e = 0; e < std::min(order.size(), kEntries); ++e) {
        const play::Piece &piece = list[order[e]];
        const Point p = grid.PointAt(piece.First);
        entryOf[order[e]] = static_cast<uint8_t>(e);
        document.Header.Areas[e] =
            AreaEntry{static_cast<uint8_t>(piece.Kind), static_cast<int16_t>(p.X),
                      static_cast<int16_t>(p.Y), static_cast<int32_t>(piece.Size)};
    }
    for (std::size_t i = 0; i < count; ++i) {
        const int32_t piece = pieces.Of[i];
        ids[i] = piece < 0 ? kNoArea : entryOf[static_cast<std::size_t>(piece)];
    }
}

} // namespace trelvik
