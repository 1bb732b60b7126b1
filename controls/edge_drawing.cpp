// SPDX-License-Identifier: GPL-3.0-or-later
#include "edge_drawing.h"

#include "ole_colour.h"

#include <array>
#include <cmath>

#include <QPainter>

namespace trelvik {

namespace {

// System colour of each ring and side, indexed by the four edge bits; -1 draws nothing. A lone
// inner ring takes the outer slot, which is why it lands on the outermost pixels.
constexpr int kNone = -1;
constexpr int kLight = kColour3DLight;
constexpr int kHigh = kColourButtonHighlight;
constexpr int kShadow = kColourButtonShadow;
constexpr int kDark = kColour3DDarkShadow;

constexpr std::array<int, 16> kTopLeftInner = {
    kNone, kNone, kNone, kNone, kNone, kHigh, kHigh, kNone,
    kNone, kDark, kDark, kNone, kNone, kNone, kNone, kNone,
};
constexpr std::array<int, 16> kTopLeftOuter = {
    kNone, kLight, kShadow, kNone, kHigh, kLight, kShadow, kNone,
    kDark, kLight, kShadow, kNone, kNone, kLight, kShadow, kNone,
};
constexpr std::array<int, 16> kBottomRightInner = {
    kNone, kNone,  kNone,  kNone, kNone, kShadow, kShadow, kNone,
    kNone, kLight, kLight, kNone, kNone, kNone,   kNone,   kNone,
};
constexpr std::array<int, 16> kBottomRightOuter = {
    kNone,  kDark, kHigh, kNone, kShadow, kDark, kHigh, kNone,
    kLight, kDark, kHigh, kNone, kNone,   kDark, kHigh, kNone,
};

void HorizontalLine(QPainter &painter, int x0, int x1, int y, const QColor &colour)
{
    if (x1 > x0)
        painter.fillRect(QRect(x0, y, x1 - x0, 1), colour);
}

void VerticalLine(QPainter &painter, int x, int y0, int y1, const QColor &colour)
{
    if (y1 > y0)
        painter.fillRect(QRect(x, y0, 1, y1 - y0), colour);
}

} // namespace

void DrawEdge(QPainter &painter, const WinRect &rect, int edgeStyle, int sides)
{
    const auto edge = static_cast<size_t>(edgeStyle & 0xF);
    const int topLeftOuter = kTopLeftOuter[edge];
    const int topLeftInner = kTopLeftInner[edge];
    const int bottomRightOuter = kBottomRightOuter[edge];
    const int bottomRightInner = kBottomRightInner[edge];

    const bool left = sides & BF_LEFT;
    const bool top = sides & BF_TOP;
    const bool right = sides & BF_RIGHT;
    const bool bottom = sides & BF_BOTTOM;
    // Where two drawn sides meet, the inner ring starts one pixel later so it stays off the
    // outer ring's corner.
    const int topLeftPlus = (top && left) ? 1 : 0;
    const int topRightPlus = (top && right) ? 1 : 0;
    const int bottomLeftPlus = (bottom && left) ? 1 : 0;
    const int bottomRightPlus = (bottom && right) ? 1 : 0;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const WinRect &r = rect;
    if (topLeftOuter != kNone) {
        const QColor colour = ResolveOleColour(SystemOleColour(topLeftOuter));
        if (top)
            HorizontalLine(painter, r.left, r.right, r.top, colour);
        if (left)
            VerticalLine(painter, r.left, r.top, r.bottom, colour);
    }
    if (bottomRightOuter != kNone) {
        const QColor colour = ResolveOleColour(SystemOleColour(bottomRightOuter));
        if (bottom)
            HorizontalLine(painter, r.left, r.right, r.bottom - 1, colour);
        if (right)
            VerticalLine(painter, r.right - 1, r.top, r.bottom, colour);
    }
    if (topLeftInner != kNone) {
        const QColor colour = ResolveOleColour(SystemOleColour(topLeftInner));
        if (top)
            HorizontalLine(painter, r.left + topLeftPlus, r.right - topRightPlus, r.top + 1,
                           colour);
        if (left)
            VerticalLine(painter, r.left + 1, r.top + topLeftPlus, r.bottom - bottomLeftPlus,
                         colour);
    }
    if (bottomRightInner != kNone) {
        const QColor colour = ResolveOleColour(SystemOleColour(bottomRightInner));
        if (bottom)
            HorizontalLine(painter, r.left + bottomLeftPlus, r.right - bottomRightPlus,
                           r.bottom - 2, colour);
        if (right)
            VerticalLine(painter, r.right - 2, r.top + topRightPlus, r.bottom - bottomRightPlus,
                         colour);
    }
    painter.restore();
}

void DrawFocusRect(QPainter &painter, const WinRect &rect)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    // The dots are device pixels, so on a scaled screen the line stays a fine dotted line.
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const qreal unit = 1.0 / ratio;
    auto device = [ratio](int value) { return static_cast<int>(std::lround(value * ratio)); };
    const int left = device(rect.left), top = device(rect.top);
    const int right = device(rect.right), bottom = device(rect.bottom);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    const QColor white(255, 255, 255);
    auto invert = [&](int x, int y) {
        if (((x + y) & 1) == 0)
            painter.fillRect(QRectF(x * unit, y * unit, unit, unit), white);
    };
    for (int x = left; x < right; ++x) {
        invert(x, top);
        if (bottom - 1 > top)
            invert(x, bottom - 1);
    }
    for (int y = top + 1; y < bottom - 1; ++y) {
        invert(left, y);
        if (right - 1 > left)
            invert(right - 1, y);
    }
    painter.restore();
}

} // namespace trelvik
