// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"
#include "play/ground.h"
#include "play/point_grid.h"

#include <cstdint>
#include <vector>

namespace trelvik {

/// Points within this many steps of a headquarters stay free of objects.
inline constexpr int kObjectFreeRadius = 5;

/// Puts trees (on about 30% of the land points, in forests, of kinds that fit the header's
/// world), granite (about 5%) and a few animals on the map, writing layers 5, 6 and 7 and the
/// animal list. Nothing is placed on a point touching water, snow or lava, nor within
/// kObjectFreeRadius steps of a point of `headquarters`; points that already hold an object keep
/// it. The same document, sites and seed give the same bytes on every machine.
/// `ground`, when given, is the map's ground as play::ReadWholeGround reads it.
void PlaceObjects(MapDocument &document,
                  const std::vector<Point> &headquarters,
                  uint64_t seed,
                  const play::GroundFlags *ground = nullptr);

/// Puts a tree on the point at `index` of layers 5 and 6 (both must reach it): a kind the
/// header's world has, drawn as often as hand-made maps of that world have it, and one of its
/// frames.
void PlantTree(MapDocument &document, std::size_t index, play::PlayRandom &random);

/// Puts a granite rock of a random size (1 to 6) on the point at `index` of layers 5 and 6.
void PlaceRock(MapDocument &document, std::size_t index, play::PlayRandom &random);

} // namespace trelvik
