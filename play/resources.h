// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"
#include "play/ground.h"
#include "play/point_grid.h"

#include <cstdint>
#include <span>

namespace trelvik {

/// Rewrites layer 12 (resources) of every point from the terrain around it, as rich as hand-made
/// maps are: ore clusters over nearly all points whose six triangles are all mining mountain
/// (coal, iron, gold and granite, mostly amount 7; 0x40 on the few mountain points between
/// them), shoals of fish (0x87) on about a seventh of the water points, in the water near the
/// shore, 0x21 (water to drink) under land whose six triangles are all buildable, and 0
/// elsewhere. The same document and seed give the same bytes on every machine. Only layer 12
/// changes.
/// `ground`, when given, is the map's ground as play::ReadWholeGround reads it. Each of
/// `starts` with water near its shore up to ten steps away gets shoals there first, until a
/// dozen fish points lie within those ten steps (as far as the shore allows).
void PlaceResources(MapDocument &document,
                    uint64_t seed,
                    const play::GroundFlags *ground = nullptr,
                    std::span<const Point> starts = {});

/// True for the bytes PlaceResources writes and the game reads as a resource.
bool IsValidResource(uint8_t value);

} // namespace trelvik
