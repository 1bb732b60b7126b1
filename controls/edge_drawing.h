// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "win_rect.h"

class QPainter;

namespace trelvik {

// Edge bits of DrawEdge: an outer and an inner ring, each raised or sunken.
inline constexpr int BDR_RAISEDOUTER = 0x1;
inline constexpr int BDR_SUNKENOUTER = 0x2;
inline constexpr int BDR_RAISEDINNER = 0x4;
inline constexpr int BDR_SUNKENINNER = 0x8;
inline constexpr int EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
inline constexpr int EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;

// Side bits of DrawEdge.
inline constexpr int BF_LEFT = 0x1;
inline constexpr int BF_TOP = 0x2;
inline constexpr int BF_RIGHT = 0x4;
inline constexpr int BF_BOTTOM = 0x8;
inline constexpr int BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;

// Draws a 3-D edge on the chosen sides of `rect` in the system colours, pixel for pixel as the
// platform's edge call does: the outer ring lies on the rectangle's outermost pixels, the inner
// ring one pixel inside it. A ring given alone (only an inner or only an outer bit) lies on the
// outermost pixels. Top and left lines are drawn first, so the bottom/right colour owns the
// top-right and bottom-left corners. Edge 0, or a raised and sunken bit for the same ring,
// draws nothing for that ring.
void DrawEdge(QPainter &painter, const WinRect &rect, int edgeStyle, int sides);

// Inverts every other device pixel along the border of `rect` (a checkerboard aligned to the
// surface), so drawing the same rectangle twice restores the picture.
void DrawFocusRect(QPainter &painter, const WinRect &rect);

} // namespace trelvik
