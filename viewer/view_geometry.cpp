// SPDX-License-Identifier: GPL-3.0-or-later
#include "view_geometry.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

namespace trelvik {
namespace {

int Saturated(int64_t value)
{
    return static_cast<int>(std::clamp<int64_t>(value, std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
}

int64_t FloorDivide(int64_t numerator, int64_t divisor)
{
    const int64_t quotient = numerator / divisor;
    return quotient * divisor > numerator ? quotient - 1 : quotient;
}

int ClampedZoom(int zoom)
{
    return std::clamp(zoom, kZoomFactors.front(), kZoomFactors.back());
}

// One direction of the view; the two directions never mix.
struct Axis
{
    int64_t Picture; // zoomed picture size in pixels
    int64_t View;
    int64_t Zoom;
    int64_t Pan;

    Axis(int map, int view, int zoom, int pan)
        : Picture(int64_t{std::max(map, 0)} * ClampedZoom(zoom))
        , View(std::max(view, 0))
        , Zoom(ClampedZoom(zoom))
        , Pan(pan)
    {}

    int64_t Range() const { return std::max<int64_t>(0, Picture - View); }
    int64_t ClampedPan() const { return std::clamp<int64_t>(Pan, 0, Range()); }
    int64_t Origin() const { return Picture <= View ? (View - Picture) / 2 : -ClampedPan(); }

    // The map coordinate under view pixel v, if the picture covers it.
    std::optional<int> PointAt(int v) const
    {
        const int64_t pixel = v - Origin();
        if (pixel < 0 || pixel >= Picture)
            return std::nullopt;
        return static_cast<int>(pixel / Zoom);
    }

    // First point and number of points at least partly inside the view.
    std::pair<int, int> Visible() const
    {
        const int64_t first = std::max<int64_t>(0, -Origin());
        const int64_t end = std::min(Picture, View - Origin());
        if (end <= first)
            return {0, 0};
        const int64_t firstPoint = first / Zoom;
        return {static_cast<int>(firstPoint),
                static_cast<int>((end + Zoom - 1) / Zoom - firstPoint)};
    }

    // The pan at `newZoom` that keeps the map position under view pixel v under it: the new
    // pixel under v is the one holding the old pixel's centre, so it shows the same map point.
    int64_t PanZoomedAbout(int newZoom, int v) const
    {
        const int64_t pixel = v - Origin();
        return FloorDivide((2 * pixel + 1) * ClampedZoom(newZoom), 2 * Zoom) - v;
    }
};

} // namespace

int NextZoomIn(int zoom)
{
    const auto next = std::upper_bound(kZoomFactors.begin(), kZoomFactors.end(), zoom);
    return next == kZoomFactors.end() ? kZoomFactors.back() : *next;
}

int NextZoomOut(int zoom)
{
    const auto next = std::lower_bound(kZoomFactors.begin(), kZoomFactors.end(), zoom);
    return next == kZoomFactors.begin() ? kZoomFactors.front() : *(next - 1);
}

int FitZoom(int mapWidth, int mapHeight, int viewWidth, int viewHeight)
{
    int fit = kZoomFactors.front();
    if (mapWidth <= 0 || mapHeight <= 0)
        return fit;
    for (const int factor : kZoomFactors) {
        if (int64_t{mapWidth} * factor <= viewWidth && int64_t{mapHeight} * factor <= viewHeight)
            fit = factor;
    }
    return fit;
}

int ViewGeometry::RangeX() const
{
    return Saturated(Axis(MapWidth, ViewWidth, Zoom, PanX).Range());
}

int ViewGeometry::RangeY() const
{
    return Saturated(Axis(MapHeight, ViewHeight, Zoom, PanY).Range());
}

ViewGeometry ViewGeometry::Clamped() const
{
    ViewGeometry view = *this;
    view.PanX = Saturated(Axis(MapWidth, ViewWidth, Zoom, PanX).ClampedPan());
    view.PanY = Saturated(Axis(MapHeight, ViewHeight, Zoom, PanY).ClampedPan());
    return view;
}

ViewGeometry ViewGeometry::Centred() const
{
    ViewGeometry view = *this;
    view.PanX = RangeX() / 2;
    view.PanY = RangeY() / 2;
    return view;
}

int ViewGeometry::OriginX() const
{
    return Saturated(Axis(MapWidth, ViewWidth, Zoom, PanX).Origin());
}

int ViewGeometry::OriginY() const
{
    return Saturated(Axis(MapHeight, ViewHeight, Zoom, PanY).Origin());
}

std::optional<MapPoint> ViewGeometry::MapPointAt(int viewX, int viewY) const
{
    const std::optional<int> x = Axis(MapWidth, ViewWidth, Zoom, PanX).PointAt(viewX);
    const std::optional<int> y = Axis(MapHeight, ViewHeight, Zoom, PanY).PointAt(viewY);
    if (!x || !y)
        return std::nullopt;
    return MapPoint{*x, *y};
}

PixelRect ViewGeometry::ScreenRectOf(MapPoint point) const
{
    const int64_t zoom = ClampedZoom(Zoom);
    return {Saturated(OriginX() + point.X * zoom), Saturated(OriginY() + point.Y * zoom),
            static_cast<int>(zoom), static_cast<int>(zoom)};
}

PixelRect ViewGeometry::VisiblePoints() const
{
    const auto [left, width] = Axis(MapWidth, ViewWidth, Zoom, PanX).Visible();
    const auto [top, height] = Axis(MapHeight, ViewHeight, Zoom, PanY).Visible();
    if (width == 0 || height == 0)
        return {};
    return {left, top, width, height};
}

ViewGeometry ViewGeometry::ZoomedAbout(int newZoom, int viewX, int viewY) const
{
    ViewGeometry view = *this;
    view.Zoom = ClampedZoom(newZoom);
    view.PanX = Saturated(Axis(MapWidth, ViewWidth, Zoom, PanX).PanZoomedAbout(newZoom, viewX));
    view.PanY = Saturated(Axis(MapHeight, ViewHeight, Zoom, PanY).PanZoomedAbout(newZoom, viewY));
    return view.Clamped();
}

ViewGeometry ViewGeometry::PannedBy(int dx, int dy) const
{
    ViewGeometry view = *this;
    view.PanX = Saturated(Axis(MapWidth, ViewWidth, Zoom, PanX).ClampedPan() - dx);
    view.PanY = Saturated(Axis(MapHeight, ViewHeight, Zoom, PanY).ClampedPan() - dy);
    return view.Clamped();
}

} // namespace trelvik
