// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"
#include "document/terrain.h"
#include "edit/brush.h"
#include "edit/change_set.h"
#include "play/point_grid.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trelvik::edit {

/// One press, drag and release of a brush: one undo step. Every byte it writes goes through
/// its ChangeSet, so undoing the set gives the document back byte for byte.
class Stroke
{
public:
    /// `seed` makes tree kinds, frames and granite types reproducible.
    Stroke(MapDocument &document, const Brush &brush, uint64_t seed);

    /// The brush applied at `centre` (the press and every point the drag reaches; a point off
    /// the map wraps onto it). Shading follows where heights changed and building quality up
    /// to two steps around changed terrain, heights and objects, worked out on those points
    /// only. Returns the sorted indices of the points whose bytes changed in this dab.
    std::vector<std::size_t> Dab(Point centre);

    /// Release at `at`. The players brush works here: a press on a headquarters mark and a
    /// release elsewhere moves that player's headquarters; otherwise the press point gets player
    /// Brush.Player's headquarters (moved there if that player has one), or with Erase the mark
    /// at the press point goes and the players after it move up one. The header's player count
    /// and slots follow the marks. A site that cannot hold a castle is refused (LastRefusal).
    /// When the stroke changed terrain, the area table and layer 14 are worked out afresh.
    /// Returns the finished ChangeSet; a stroke finishes once, later calls return it again.
    ChangeSet Finish(Point at);

    /// The changes so far.
    const ChangeSet &Changes() const { return mChanges; }

    /// Why Finish left out the players brush's work, in a short English sentence; empty when it
    /// did it (or had nothing to do).
    std::string LastRefusal() const { return mRefusal; }

private:
    struct Writes;

    void PaintTerrain(Writes &w, Point centre);
    void ShapeHeights(Writes &w, Point centre);
    void PlaceObjects(Writes &w, Point centre);
    void PlaceResources(Writes &w, Point centre);
    void PlaceAnimals(Writes &w, Point centre);
    void MarkHarbours(Writes &w, Point centre);
    void FollowDerived(Writes &w);
    void PlacePlayer(Point at);
    bool ErasePlayer(Point press);
    bool MovePlayer(int player, Point site, ChangeSet &changes);
    void UpdateAreas();

    MapDocument &mDocument;
    Brush mBrush;
    PointGrid mGrid;
    play::PlayRandom mRandom;
    ChangeSet mChanges;
    MapDocument mScratch; // where PlantTree draws a tree, copied from there
    std::optional<Point> mPress;
    std::optional<int> mFlatHeight;
    bool mTerrainChanged = false;
    bool mFinished = false;
    std::string mRefusal;
};

} // namespace trelvik::edit
