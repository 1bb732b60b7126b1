// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/terrain.h"

#include <cstdint>
#include <string>
#include <vector>

namespace trelvik::edit {

enum class BrushKind : uint8_t { Terrain, Height, Objects, Resources, Animals, Players, Harbour };
enum class HeightMode : uint8_t { Raise, Lower, Flatten, Smooth };
enum class ObjectChoice : uint8_t { Tree, Granite, Decoration, Erase };
enum class ResourceChoice : uint8_t { Coal, Iron, Gold, Granite, Water, Fish, Erase };

inline constexpr int kMinBrushSize = 1, kMaxBrushSize = 9;
/// Heights run from 0 to this: the highest hand-made maps reach (and the game's own editor
/// allows); the height picture's grey ramp wraps at 64.
inline constexpr int kMaxHeight = 60;
/// Meadow (Greenland's name; the same code in every world).
inline constexpr uint8_t kDefaultTerrain = 8;
/// The decoration kind hand-made maps use most; it leaves its point buildable.
inline constexpr uint8_t kDefaultDecoration = 0x06;
/// The animal list is kept at most this long: a brush places no animal beyond it.
inline constexpr std::size_t kMaxAnimals = 2048;

struct Brush
{
    BrushKind Kind = BrushKind::Terrain;
    int Size = 1;                      // points across, clamped to 1..9
    uint8_t Terrain = kDefaultTerrain; // terrain code 0..63 to paint
    HeightMode Height = HeightMode::Raise;
    int HeightStep = 1; // raise/lower by this much per dab
    ObjectChoice Object = ObjectChoice::Tree;
    uint8_t GraniteSize = 6;                 // 1..6
    uint8_t Decoration = kDefaultDecoration; // layer-5 kind of a decoration (layer 6 = 0xC8)
    ResourceChoice Resource = ResourceChoice::Coal;
    int Amount = 7;     // 1..7 for minerals
    uint8_t Animal = 1; // species 1..9 (code_tables AnimalName)
    int Player = 0;     // 0..6
    bool Erase = false; // animals, players, harbour marks: take away instead of put
};

/// The brush size clamped to kMinBrushSize..kMaxBrushSize.
int ClampedSize(int size);

/// The points under a brush of `size` points across centred on `centre`, over the six-neighbour
/// grid, wrapping at the map's edges, each point once, centre first. An odd size 2r + 1 is the
/// disc of the points at most r steps from the centre (1, 7, 19, 37, 61 points); an even size
/// 2r + 2 adds the disc of radius r around the centre's east neighbour, so that it is 2r + 2
/// points across its middle row (2, 10, 24, 44 points). None for a map with no points.
std::vector<Point> BrushPoints(const PointGrid &grid, Point centre, int size);

/// The triangles a terrain brush paints: the six around each point of BrushPoints, each once.
std::vector<Triangle> BrushTriangles(const PointGrid &grid, Point centre, int size);

/// The terrain codes the world offers the brush, land first (meadows, mountain meadow, steppe,
/// savannah, ...), then mountains, desert, water, swamp, snow and lava; codes without a name
/// (code_tables TerrainName) are left out. Every world offers the same codes under the same
/// names.
std::vector<uint8_t> PaintableTerrains(uint8_t worldType);

/// The name of a paintable terrain as a list shows it: TerrainName, numbered when several codes
/// share it ("meadow 1", "meadow 2", "water 1"); "terrain N" for a code without a name.
std::string TerrainLabel(uint8_t code);

} // namespace trelvik::edit
