// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>

namespace trelvik {

// The controls measure in pixels; their hosts store positions in twips at a fixed scale.
inline constexpr int kTwipsPerPixel = 15;

// Converts a length in twips to whole pixels, halves going to the even neighbour.
inline int PixelsFromTwips(double twips)
{
    return static_cast<int>(std::nearbyint(twips / kTwipsPerPixel));
}

inline constexpr int TwipsFromPixels(int pixels)
{
    return pixels * kTwipsPerPixel;
}

} // namespace trelvik
