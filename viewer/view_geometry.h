// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>

namespace trelvik {

/// The zoom factors the view steps through: one map point is shown as f x f pixels.
inline constexpr std::array<int, 8> kZoomFactors{1, 2, 3, 4, 6, 8, 12, 16};

/// The next larger listed factor (an unlisted zoom goes to the next larger listed one); the
/// largest stays where it is.
int NextZoomIn(int zoom);

/// The next smaller listed factor; the smallest stays where it is.
int NextZoomOut(int zoom);

/// The largest listed factor at which the whole map fits into the view; 1 when none does or a
/// size is 0 or less.
int FitZoom(int mapWidth, int mapHeight, int viewWidth, int viewHeight);

struct MapPoint
{
    int X = 0;
    int Y = 0;

    bool operator==(const MapPoint &) const = default;
};

struct PixelRect
{
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    bool operator==(const PixelRect &) const = default;
};

/// Where the zoomed map picture lies in the view. On an axis where the zoomed picture fits into
/// the view it is centred (truncating, as CentreInView); on an axis where it is larger the pan
/// says which of its pixels is at the view's left or top edge. Every answer is computed from the
/// clamped pan, and all arithmetic is 64-bit, so any map size a header can claim is safe.
struct ViewGeometry
{
    int MapWidth = 0; // points; 0 or less: no picture
    int MapHeight = 0;
    int ViewWidth = 0; // pixels inside the view area
    int ViewHeight = 0;
    int Zoom = 1; // one point is Zoom x Zoom pixels; taken as 1 to 16
    int PanX = 0; // the zoomed picture's pixel at the view's left edge
    int PanY = 0;

    /// How far the pan can go: the zoomed picture's excess over the view, 0 when it fits.
    int RangeX() const;
    int RangeY() const;
    /// The pan brought into 0 ... Range on each axis.
    ViewGeometry Clamped() const;
    /// The pan in the middle of its range: at zoom 1 the picture sits where CentreInView puts it.
    ViewGeometry Centred() const;
    /// View coordinates of the picture's left and top edge.
    int OriginX() const;
    int OriginY() const;
    /// The map point under a view pixel; nothing outside the picture.
    std::optional<MapPoint> MapPointAt(int viewX, int viewY) const;
    /// The view pixels that show one map point.
    PixelRect ScreenRectOf(MapPoint point) const;
    /// The map points at least partly inside the view, clipped to the map; all zero when none.
    PixelRect VisiblePoints() const;
    /// The view at another zoom, panned so that the map position under (viewX, viewY) stays
    /// under it as closely as whole pixels and the pan's range allow.
    ViewGeometry ZoomedAbout(int newZoom, int viewX, int viewY) const;
    /// A drag by (dx, dy) view pixels: the picture follows the pointer.
    ViewGeometry PannedBy(int dx, int dy) const;
};

} // namespace trelvik
