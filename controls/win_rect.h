// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

namespace trelvik {

// A rectangle as the platform's drawing calls take it: right and bottom lie one pixel past the
// last column and row, so a rectangle of width w spans left .. left + w - 1.
struct WinRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }

    // Hit test with the borders included on all four sides (right and bottom too), the way the
    // tab strip tests a mouse press against the rectangles it stored.
    bool contains(int x, int y) const { return left <= x && x <= right && top <= y && y <= bottom; }

    QRect toQRect() const { return QRect(left, top, right - left, bottom - top); }

    bool operator==(const WinRect &) const = default;
};

} // namespace trelvik
