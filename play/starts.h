// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"
#include "play/ground.h"
#include "play/point_grid.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace trelvik {

/// A start with fewer points of mining ground (all six triangles mining mountain) than this
/// within kDefaultFairnessRadius steps gets a mountain of its own.
inline constexpr int64_t kMinStartMiningGround = 20;

/// Widens the mountains by their band, away from the starts: the mountain meadow (terrain 18)
/// that touches a mountain triangle becomes mountain of a neighbouring triangle's kind, and the
/// buildable ground that then touches a mountain becomes mountain meadow, as the generator bands
/// its mountains. The triangles of the points up to kDefaultFairnessRadius + 2 steps from a
/// start stay as they are, so the ground the starts were chosen for stays. Land and water stay
/// where they were. `ground` holds the map's ground (play::ReadWholeGround) and is kept up to
/// date. Does nothing on a map whose terrain layers or `ground` do not hold it. Returns the points
/// whose ground changed.
std::vector<std::size_t>
WidenMountains(MapDocument &document, play::GroundFlags &ground, const std::vector<Point> &starts);

/// Gives the starts with less building ground than the richest (fewer than 95% of its sites by
/// `groundQuality`, which GroundQuality made of the map and which is kept up to date) more room:
/// the heights of the meadow (six buildable triangles) within kDefaultFairnessRadius steps are
/// drawn towards the mean of each point's and its neighbours', up to three times while the start
/// stays behind, so that slopes too steep to build on flatten out. The levelled ground of every
/// start (two steps around it) stays as it is. Returns the starts it smoothed; heights changed
/// only within kDefaultFairnessRadius steps of them.
std::vector<Point> SmoothPoorStarts(MapDocument &document,
                                    const std::vector<Point> &starts,
                                    const play::GroundFlags &ground,
                                    std::vector<uint8_t> &groundQuality);

/// A raised mountain changes heights and terrain up to this many steps from its centre (the ground
/// of the points at the corners of its ring's triangles).
inline constexpr int kRaisedMountainReach = 4;

/// A small mountain the finish raised near a start.
struct RaisedMountain
{
    Point Centre;
    /// The points whose six triangles it made mining mountain, the centre first, then its six
    /// neighbours, then (for a mountain of two steps) the twelve points two steps away
    /// (PointGrid::RingIndices order).
    std::vector<std::size_t> Points;
};

/// Raises a small mountain 6 to 12 steps from every start (headquarters site) that has fewer than
/// kMinStartMiningGround mine sites by ground and heights (six mining triangles, the flag point
/// at most 3 higher) within kDefaultFairnessRadius steps: the six triangles around each point
/// up to two steps from a centre 8 to 10 steps away become one mining mountain texture, the
/// buildable triangles of the points one step further mountain meadow, and the heights rise to
/// a peak 6 above the highest of them, 3 a step, so every point of it is a mine site. The centre
/// is a point whose mountain stands on land touching no water, snow or lava, its ring on land,
/// at least 8 steps from every other start and 7 from another raised mountain, where the
/// mountain takes the least building ground. Where no such point exists, a mountain of one
/// step is tried 7 to 11 and then 6 to 11 steps away, at least as far from the other starts; a
/// start with room for none gets none. Updates `ground` for the points it changed (the pieces of
/// land and water stay as they were). The same map, starts and seed give the same mountains.
std::vector<RaisedMountain> RaiseMountainsNearStarts(MapDocument &document,
                                                     const std::vector<Point> &starts,
                                                     uint64_t seed,
                                                     play::GroundFlags &ground);

/// Writes ore of amount 7 under every point of the mountains: coal at the centre and its
/// neighbours, then iron, gold and granite around the rim, so that every raised mountain holds
/// the same.
void StockMountains(MapDocument &document, const std::vector<RaisedMountain> &mountains);

/// Writes ore of amount 7 (coal, iron, coal, gold in turn) under the mountain points within
/// kDefaultFairnessRadius steps of the starts that the resources left empty (0x40), so every
/// start's mine sites hold ore; and gives a start whose ore there lacks coal, iron, gold or
/// granite (at least 4, 4, 2 and 2 points) that mineral, amount 7, at points of the kind it has
/// most of.
void StockStarts(MapDocument &document, const std::vector<Point> &starts);

/// Evens out the building sites (hut, house or castle quality in layer 9) within
/// kDefaultFairnessRadius steps of the starts, which must all be marked and the quality
/// computed: while the poorest start has less than 95% of the richest's sites (`exact`: less
/// than the richest), trees near the poorest are taken away where that gives it sites, or else
/// trees of the world's kinds are planted on sites near the richest, beside other trees where
/// it can, never within kObjectFreeRadius steps of a start nor touching water, snow or lava.
/// Layers 5, 6 and 9 change; the number of changes is bounded.
void EvenOutStarts(MapDocument &document,
                   const std::vector<Point> &starts,
                   uint64_t seed,
                   const play::GroundFlags &ground,
                   bool exact);

} // namespace trelvik
