// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"
#include "document/terrain.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace trelvik {

/// The harbour mark in a point's layer-2 byte.

/// Building quality (layer 9) of a point where a castle can be built.
inline constexpr uint8_t kCastleSite = 4;

/// Marks every castle site that is not yet a harbour and has a water triangle (code 5, 6 or 19,
/// compared as whole bytes) among the 18 triangles around it as a harbour site, by setting
/// kHarbourBit in layer 2. Points within two rows or columns of an edge are never visited.
/// Returns the number of points marked, however many there are. When `changed` is given, it is
/// replaced by the layer-2 index of every point marked, in the order they were marked.
///
/// Layers shorter than the map are read safely: a triangle past its layer's end is no water,
/// and a point past the end of layer 2 or layer 9 is passed over.
int32_t CoastalCastleFix(MapDocument &document, std::vector<std::size_t> *changed = nullptr);

} // namespace trelvik
