// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "win_rect.h"

#include <span>

#include <QPointF>

namespace trelvik {

// Geometry of the tab strip, apart from any widget so it can be checked on its own. Sizes are
// pixels; `style` is 0..7 and `alignment` 0..8 (callers check the ranges).
struct TabStripSize
{
    int width = 0;     // the control's width W
    int height = 0;    // the control's height H
    int tabWidth = 0;  // TW
    int tabHeight = 0; // TH
    int tabCount = 0;  // N
};

// The body: the whole control less the band that holds the tabs.
WinRect TabBodyRect(int style, const TabStripSize &size);

// The full rectangle of tab `index` (1..N). Neighbouring tabs share one pixel line and every
// tab overlaps the body's edge by one line, which is what lets the active tab open into the
// body.
WinRect TabRect(int style, int index, const TabStripSize &size);

// Edge sides (BF_ bits) of the active tab: all but the side that faces the body.
int ActiveTabEdgeSides(int style);

// Top-left corner of a caption `textWidth` x `textHeight` pixels inside the full tab rectangle;
// the halves are exact, the caller rounds when it draws.
QPointF CaptionPosition(int alignment, const WinRect &tab, int textWidth, int textHeight);

// The first tab (1-based) whose rectangle holds the point, borders included; 0 for none.
int HitTestTabs(std::span<const WinRect> rects, int x, int y);

} // namespace trelvik
