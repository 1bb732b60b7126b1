// SPDX-License-Identifier: GPL-3.0-or-later
#include "tab_layout.h"

#include "edge_drawing.h"

#include <algorithm>

namespace trelvik {

namespace {

// Tab sizes are not validated, so the arithmetic runs in 64 bits and every coordinate is held
// far inside the int range; nothing that large is ever on screen.
constexpr long long kCoordinateLimit = 1LL << 29;

int Coordinate(long long value)
{
    return static_cast<int>(std::clamp(value, -kCoordinateLimit, kCoordinateLimit));
}

} // namespace

WinRect TabBodyRect(int style, const TabStripSize &size)
{
    long long left = 0;
    long long top = 0;
    long long right = size.width;
    long long bottom = size.height;
    switch (style) {
    case 0:
    case 1:
        top = size.tabHeight;
        break;
    case 2:
    case 3:
        bottom -= size.tabHeight;
        break;
    case 4:
    case 6:
        left = size.tabWidth;
        break;
    case 5:
    case 7:
        right -= size.tabWidth;
        break;
    default:
        break;
    }
    return WinRect{Coordinate(left), Coordinate(top), Coordinate(right), Coordinate(bottom)};
}

WinRect TabRect(int style, int index, const TabStripSize &size)
{
    const long long k = index - 1LL;
    const long long n = size.tabCount;
    const long long tw = size.tabWidth;
    const long long th = size.tabHeight;
    const long long w = size.width;
    const long long h = size.height;
    long long left = 0;
    long long top = 0;
    switch (style) {
    case 0:
        left = k * tw;
        break;
    case 1:
        left = (k - n) * tw + w - 1;
        break;
    case 2:
        left = k * tw;
        top = h - th - 1;
        break;
    case 3:
        left = (k - n) * tw + w - 1;
        top = h - th - 1;
        break;
    case 4:
        top = k * th;
        break;
    case 5:
        left = w - tw - 1;
        top = k * th;
        break;
    case 6:
        top = (k - n) * th + h - 1;
        break;
    case 7:
        left = w - tw - 1;
        top = (k - n) * th + h - 1;
        break;
    default:
        break;
    }
    return WinRect{Coordinate(left), Coordinate(top), Coordinate(left + tw + 1),
                   Coordinate(top + th + 1)};
}

int ActiveTabEdgeSides(int style)
{
    switch (style) {
    case 2:
    case 3:
        return BF_LEFT | BF_RIGHT | BF_BOTTOM;
    case 4:
    case 6:
        return BF_LEFT | BF_TOP | BF_BOTTOM;
    case 5:
    case 7:
        return BF_TOP | BF_RIGHT | BF_BOTTOM;
    default:
        return BF_LEFT | BF_TOP | BF_RIGHT;
    }
}

QPointF CaptionPosition(int alignment, const WinRect &tab, int textWidth, int textHeight)
{
    double x = 0;
    switch (alignment % 3) {
    case 0:
        x = tab.left + 3;
        break;
    case 1:
        x = (tab.right - tab.left) / 2.0 + tab.left - textWidth / 2.0 - 1;
        break;
    default:
        x = tab.right - textWidth - 4;
        break;
    }
    double y = 0;
    switch (alignment / 3) {
    case 0:
        y = tab.top + 2;
        break;
    case 1:
        y = (tab.bottom - tab.top) / 2.0 + tab.top - textHeight / 2.0 - 1;
        break;
    default:
        y = tab.bottom - textHeight - 2;
        break;
    }
    return QPointF(x, y);
}

int HitTestTabs(std::span<const WinRect> rects, int x, int y)
{
    for (size_t i = 0; i < rects.size(); ++i) {
        if (rects[i].contains(x, y))
            return static_cast<int>(i) + 1;
    }
    return 0;
}

} // namespace trelvik
