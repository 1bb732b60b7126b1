// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"

#include <cstdint>
#include <optional>
#include <string>

namespace trelvik::edit {

struct BlankMapRequest
{
    int16_t Width = 64;
    int16_t Height = 64;
    uint8_t WorldType = 0; // 0 Greenland, 1 Wasteland, 2 Winter
    uint8_t Terrain = 8;   // a code PaintableTerrains offers
    // The height of every point, 0..kMaxHeight (not `Height`: that name is the map's side).
    uint8_t GroundHeight = 10;
};

struct BlankMapResult
{
    std::optional<MapDocument> Document;
    std::string Error;
};

/// A new map of one terrain and one height: the header and block headers the generator writes
/// (title "New Map", the request's world, no players, every headquarters slot 0xFFFF), every
/// layer one byte per point, shading and building quality worked out, resources as hand-made
/// maps hold them (water to drink under buildable land, 0x40 under mining mountain, nothing
/// elsewhere), the area table and layer 14, no objects and no animals. Sides are those the
/// generator accepts (64 to 256 in steps of 16). A bad request gets an Error, never a throw.
BlankMapResult MakeBlankMap(const BlankMapRequest &request);

} // namespace trelvik::edit
