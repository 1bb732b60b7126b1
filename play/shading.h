// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"

namespace trelvik {

/// Flat ground's shading.
inline constexpr int kFlatShading = 64;

/// Rewrites layer 13 (shading) from the heights of layer 1:
///   S = 64 + 9 (h_NE - h) - 6 (h_W - h) - 3 (h_W2 - h) - 9 (h_D - h), clamped to 0 ... 128,
/// with W2 two points west and D the point west of the south-west neighbour; the map wraps at
/// its edges. Only layer 13 changes, and only as far as it reaches; heights past the end of a
/// short layer 1 read as 0.
void ComputeShading(MapDocument &document);

} // namespace trelvik
