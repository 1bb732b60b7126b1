// SPDX-License-Identifier: GPL-3.0-or-later
#include "pieces.h"

#include <algorithm>

namespace trelvik::play {
namespace {

// Provisional labels joined into pieces: union-find with path halving.
class Labels
{
public:
    int32_t Make()
    {
        const auto label = static_cast<int32_t>(mParent.size());
        mParent.push_back(label);
        return label;
    }

    std::size_t Count() const { return mParent.size(); }

    int32_t Root(int32_t label)
    {
        while (At(label) != label) {
            At(label) = At(At(label));
            label = At(label);
        }
        return label;
    }

    void Join(int32_t a, int32_t b)
    {
        a = Root(a);
        b = Root(b);
        if (a != b)
            At(std::max(a, b)) = std::min(a, b);
    }

private:
    int32_t &At(int32_t label) { return mParent[static_cast<std::size_t>(label)]; }

    std::vector<int32_t> mParent;
};

} // namespace

Pieces FindPieces(const PointGrid &grid, const GroundFlags &ground)
{
    const std::size_t count = ground.size();
    const auto width = static_cast<std::size_t>(grid.Width());
    const auto kind = [&ground](std::size_t i) { return KindOf(ground[i]); };
    std::vector<int32_t> label(count, -1);
    Labels labels;
    // One pass in row order: a point takes the label of its west, north-west or north-east
    // neighbour of its kind (joining them where they differ), or a new one. Those neighbours
    // come earlier in row order except across the map's edges, which are joined afterwards.
    const auto take = [&](int32_t &own, std::size_t up, PieceKind k) {
        const int32_t other = label[up];
        if (other < 0 || other == own || kind(up) != k)
            return;
        if (own < 0)
            own = other;
        else
            labels.Join(own, other);
    };
    const auto height = static_cast<std::size_t>(grid.Height());
    for (std::size_t y = 0, i = 0; y < height && i < count; ++y) {
        const bool odd = (y & 1) != 0;
        for (std::size_t x = 0; x < width && i < count; ++x, ++i) {
            const PieceKind k = kind(i);
            if (k == PieceKind::None)
                continue;
            int32_t own = x > 0 && kind(i - 1) == k ? label[i - 1] : -1;
            if (y > 0) {
                // The north-west and north-east neighbours: columns x - 1 and x of the row above
                // for an even row, x and x + 1 for an odd one, wrapping at the edges.
                const std::size_t above = i - width;
                take(own, odd ? above : (x == 0 ? above + width - 1 : above - 1), k);
                take(own, !odd ? above : (x + 1 == width ? above + 1 - width : above + 1), k);
            }
            label[i] = own >= 0 ? own : labels.Make();
        }
    }
    const auto joinIfAlike = [&](std::size_t a, std::size_t b) {
        if (a < count && b < count && label[a] >= 0 && kind(a) == kind(b))
            labels.Join(label[a], label[b]);
    };
    for (std::size_t row = 0; row < count; row += width)
        joinIfAlike(row, row + width - 1); // a row's first and last points
    for (int64_t x = 0; x < grid.Width() && grid.Height() > 1; ++x) {
        const auto around = grid.NeighbourIndices(x, 0); // the first row's neighbours in the last
        joinIfAlike(static_cast<std::size_t>(x), around[1]);
        joinIfAlike(static_cast<std::size_t>(x), around[2]);
    }
    // Pieces numbered in the row order of their first points; each label's number is looked
    // up once.
    Pieces pieces;
    std::vector<int32_t> numberOfRoot(labels.Count(), -1);
    std::vector<int32_t> numberOfLabel(labels.Count(), -1);
    for (std::size_t i = 0; i < count; ++i) {
        int32_t &l = label[i];
        if (l < 0)
            continue;
        int32_t &number = numberOfLabel[static_cast<std::size_t>(l)];
        if (number < 0) {
            int32_t &root = numberOfRoot[static_cast<std::size_t>(labels.Root(l))];
            if (root < 0) {
                root = static_cast<int32_t>(pieces.List.size());
                pieces.List.push_back(Piece{kind(i), i, 0});
            }
            number = root;
        }
        l = number;
        ++pieces.List[static_cast<std::size_t>(l)].Size;
    }
    pieces.Of = std::move(label);
    return pieces;
}

TerrainReading ReadTerrain(const PointGrid &grid, const MapDocument &document)
{
    TerrainReading reading;
    reading.Ground = ReadWholeGround(grid, document);
    reading.Pieces = FindPieces(grid, reading.Ground);
    return reading;
}

} // namespace trelvik::play
