// SPDX-License-Identifier: GPL-3.0-or-later
#include "map_view.h"

#include "viewer/layer_image.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <QApplication>
#include <QLine>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

namespace trelvik {
namespace {

QImage ToQImage(const IndexedImage &image, const QList<QRgb> &colours)
{
    if (image.Width <= 0 || image.Height <= 0)
        return {};
    QImage picture(image.Width, image.Height, QImage::Format_Indexed8);
    picture.setColorTable(colours);
    const auto width = static_cast<std::size_t>(image.Width);
    for (int y = 0; y < image.Height; ++y)
        std::copy_n(image.Pixels.begin()
                        + static_cast<std::ptrdiff_t>(width * static_cast<std::size_t>(y)),
                    width, picture.scanLine(y));
    return picture;
}

QList<QRgb> ColourList(const ColourTable &table)
{
    QList<QRgb> colours;
    colours.reserve(static_cast<qsizetype>(kColourCount));
    for (const ColourEntry &entry : table.Entries)
        colours << qRgb(entry.Red, entry.Green, entry.Blue);
    return colours;
}

// How each cell is drawn: `Size` x `Size` pixels, whole or cut into two triangles by its
// diagonal from the top-left corner, and where an overlay covers it.
struct CellStyle
{
    int Size = 1;
    bool Triangles = false;
    std::vector<uint8_t> Disc; // Size x Size, row by row: 1 under the overlay
};

// A disc in the middle of the cell; at 1 and 2 pixels a side it is the whole cell.
std::vector<uint8_t> DiscOf(int size)
{
    std::vector<uint8_t> disc(static_cast<std::size_t>(size) * static_cast<std::size_t>(size));
    const double centre = size / 2.0;
    const double radius = 0.3 * size + 0.25;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double dx = x + 0.5 - centre;
            const double dy = y + 0.5 - centre;
            disc[static_cast<std::size_t>(y * size + x)] = dx * dx + dy * dy <= radius * radius;
        }
    }
    return disc;
}

QRgb Blend(QRgb under, QRgb over)
{
    const int alpha = qAlpha(over);
    const auto mix = [alpha](int below, int above) {
        return (above * alpha + below * (255 - alpha) + 127) / 255;
    };
    return qRgb(mix(qRed(under), qRed(over)), mix(qGreen(under), qGreen(over)),
                mix(qBlue(under), qBlue(over)));
}

// Triangles are drawn from zoom 4 on, at `factor` pixels to the view's pixel.
CellStyle StyleOf(int zoom, int factor, bool triangles, bool overlay)
{
    CellStyle style;
    style.Size = zoom * factor;
    style.Triangles = triangles && zoom >= 4;
    if (overlay)
        style.Disc = DiscOf(style.Size);
    return style;
}

// One cell with its top-left pixel at (left, top): the lower-left triangle holds the pixels
// below the diagonal, the upper-right one the rest.
void PaintCell(QImage &image,
               int left,
               int top,
               const CellStyle &style,
               QRgb upper,
               QRgb lower,
               std::optional<QRgb> overlay)
{
    const int size = style.Size;
    const auto stride = static_cast<std::ptrdiff_t>(image.bytesPerLine() / sizeof(QRgb));
    QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(top)) + left;
    for (int row = 0; row < size; ++row, line += stride) {
        const int cut = style.Triangles ? row : 0;
        std::fill_n(line, cut, lower);
        std::fill_n(line + cut, size - cut, upper);
        if (!overlay)
            continue;
        const uint8_t *covered = style.Disc.data() + static_cast<std::ptrdiff_t>(row) * size;
        for (int x = 0; x < size; ++x)
            if (covered[x])
                line[x] = Blend(line[x], *overlay);
    }
}

// What lies over the picture's points besides their bytes: the triangle plane and the overlay,
// indexed like the picture (width points a row).
struct Planes
{
    std::span<const uint8_t> Lower;
    std::span<const uint8_t> Overlay;
    const QList<QRgb> *OverlayColours = nullptr;
    int64_t Width = 0;

    std::optional<QRgb> OverlayAt(std::size_t i) const
    {
        const uint8_t code = i < Overlay.size() ? Overlay[i] : 0;
        if (code == 0 || code >= OverlayColours->size())
            return std::nullopt;
        return (*OverlayColours)[code];
    }
};

// The points of `image` at `zoom` x `zoom` pixels each, in RGB. Made here in one pass rather
// than scaled by the painter, whose large scalings hand the work to other threads and wait.
QImage Zoomed(const IndexedImage &image,
              const QList<QRgb> &colours,
              const CellStyle &style,
              const Planes &planes)
{
    if (image.Width <= 0 || image.Height <= 0)
        return {};
    const int zoom = style.Size;
    QImage zoomed(image.Width * zoom, image.Height * zoom, QImage::Format_RGB32);
    if (style.Triangles || !planes.Overlay.empty()) {
        for (int y = 0; y < image.Height; ++y) {
            for (int x = 0; x < image.Width; ++x) {
                const auto i = static_cast<std::size_t>((image.OriginY + y) * planes.Width
                                                        + image.OriginX + x);
                const QRgb upper = colours[image.At(x, y)];
                const QRgb lower =
                    style.Triangles && i < planes.Lower.size() ? colours[planes.Lower[i]] : upper;
                PaintCell(zoomed, x * zoom, y * zoom, style, upper, lower, planes.OverlayAt(i));
            }
        }
        return zoomed;
    }
    const auto rowBytes = static_cast<std::size_t>(zoomed.bytesPerLine());
    for (int y = 0; y < image.Height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(zoomed.scanLine(y * zoom));
        for (int x = 0; x < image.Width; ++x)
            std::fill_n(line + static_cast<std::ptrdiff_t>(x) * zoom, zoom,
                        colours[image.At(x, y)]);
        for (int copy = 1; copy < zoom; ++copy)
            std::memcpy(zoomed.scanLine(y * zoom + copy), line, rowBytes);
    }
    return zoomed;
}

// A stroke's positions are kept in the map, in units of 1 / kStrokeUnit points: the middle of
// a view pixel lies on a whole unit at every zoom from 1 to 16 (720720 is divisible by each)
// and never on a cell's edge.
constexpr int64_t kStrokeUnit = 2 * 720720;
// How far outside the picture, in pixels, a stroke follows the pointer.
constexpr int64_t kStrokeReach = 1 << 16;

// The cell holding a stroke position.
int64_t CellOf(int64_t position)
{
    const int64_t cell = position / kStrokeUnit;
    return cell * kStrokeUnit > position ? cell - 1 : cell;
}

QRect ToQRect(const PixelRect &rect)
{
    return {rect.Left, rect.Top, rect.Width, rect.Height};
}

// A mark over a point: dark under light, so it shows on any colour.
void DrawMark(QPainter &painter, const QRect &point, bool ring)
{
    const QPointF centre = QRectF(point).center();
    const qreal reach =
        ring ? std::max<qreal>(4, point.width()) : std::max<qreal>(2, point.width() * 0.4);
    for (const auto &[colour, width] : {std::pair{QColor(Qt::black), 3}, {QColor(Qt::yellow), 1}}) {
        painter.setPen(QPen(colour, width));
        if (ring) {
            painter.drawEllipse(centre, reach, reach);
        } else {
            painter.drawLine(centre - QPointF(reach, reach), centre + QPointF(reach, reach));
            painter.drawLine(centre - QPointF(reach, -reach), centre + QPointF(reach, -reach));
        }
    }
}

} // namespace

MapView::MapView(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    viewport()->setObjectName(QStringLiteral("picView"));
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Map picture"));
}

void MapView::ShowPicture(
    std::span<const uint8_t> bytes, int width, int height, const ColourTable &colours, bool newMap)
{
    if (width != geometry_.MapWidth || height != geometry_.MapHeight) {
        // Points of the map before mean nothing on this one.
        outlinePoints_.clear();
        outlineEdges_.clear();
        if (stroking_)
            EndStroke();
    }
    bytes_.assign(bytes.begin(), bytes.end());
    colourList_ = ColourList(colours);
    hasPicture_ = true;
    ViewGeometry geometry = geometry_;
    geometry.MapWidth = width;
    geometry.MapHeight = height;
    if (newMap) {
        // Measured without scroll bars, as Fit measures.
        const QSize room = maximumViewportSize();
        const int fit = FitZoom(width, height, room.width(), room.height());
        geometry.Zoom = fitNewMaps_ ? fit : std::min(geometry_.Zoom, fit);
        // At most the fitting factor: the map fits, or it is shown at 1:1 from its middle.
        centred_ = true;
    }
    const bool zoomed = geometry.Zoom != geometry_.Zoom;
    ApplyGeometry(geometry);
    if (zoomed)
        emit ZoomChanged(geometry_.Zoom);
}

void MapView::ClearPicture()
{
    hasPicture_ = false;
    ViewGeometry geometry = geometry_;
    geometry.MapWidth = geometry.MapHeight = 0;
    selection_.reset();
    toolMarks_.clear();
    lower_.clear();
    overlay_.clear();
    outlinePoints_.clear();
    outlineEdges_.clear();
    if (stroking_)
        EndStroke();
    ApplyGeometry(geometry);
}

void MapView::ReleaseMemory()
{
    std::vector<uint8_t>().swap(bytes_);
    std::vector<MapPoint>().swap(toolMarks_);
    std::vector<uint8_t>().swap(lower_);
    std::vector<uint8_t>().swap(overlay_);
    shown_ = QImage();
    part_ = IndexedImage();
}

void MapView::SetZoom(int zoom, std::optional<QPoint> anchor)
{
    zoom = std::clamp(zoom, kZoomFactors.front(), kZoomFactors.back());
    if (zoom == geometry_.Zoom)
        return;
    const QPoint at = anchor.value_or(viewport()->rect().center());
    centred_ = false;
    ApplyGeometry(geometry_.ZoomedAbout(zoom, at.x(), at.y()));
    emit ZoomChanged(zoom);
}

void MapView::Fit()
{
    // Measured without scroll bars: at the fitting factor there are none.
    const QSize room = maximumViewportSize();
    SetZoom(FitZoom(geometry_.MapWidth, geometry_.MapHeight, room.width(), room.height()));
}

QImage MapView::WholePicture(QString *error) const
{
    if (!hasPicture_) {
        QImage blank(viewport()->size(), QImage::Format_RGB32);
        blank.fill(palette().color(QPalette::Window));
        return blank;
    }
    const PictureResult whole = RenderLayerImage(bytes_, geometry_.MapWidth, geometry_.MapHeight);
    if (!whole.Ok() || whole.Image.Width <= 0 || whole.Image.Height <= 0) {
        if (error) {
            *error = whole.Ok() ? tr("There is no picture to copy.")
                                : tr("The picture of %1 x %2 points is too large to copy.")
                                      .arg(geometry_.MapWidth)
                                      .arg(geometry_.MapHeight);
        }
        return {};
    }
    return ToQImage(whole.Image, colourList_);
}

QImage MapView::ShownView()
{
    copying_ = true;
    QImage view = viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    copying_ = false;
    return view;
}

void MapView::SetSelection(std::optional<MapPoint> point)
{
    selection_ = point;
    if (point)
        EnsureVisible(*point);
    viewport()->update();
}

void MapView::SetToolMarks(std::vector<MapPoint> points)
{
    toolMarks_ = std::move(points);
    viewport()->update();
}

void MapView::SetEditing(bool on)
{
    if (!on && stroking_)
        EndStroke();
    editing_ = on;
}

void MapView::SetBrushOutline(std::vector<MapPoint> points)
{
    const QRect before = OutlineBounds();
    const int width = geometry_.MapWidth;
    const int height = geometry_.MapHeight;
    const auto outside = [width, height](MapPoint p) {
        return p.X < 0 || p.Y < 0 || p.X >= width || p.Y >= height;
    };
    std::erase_if(points, outside);
    if (points == outlinePoints_)
        return; // the same brush at the same point, as on most moves
    outlinePoints_ = std::move(points);
    std::vector<int64_t> cells;
    cells.reserve(outlinePoints_.size());
    for (const MapPoint &p : outlinePoints_)
        cells.push_back(int64_t{p.Y} * width + p.X);
    std::sort(cells.begin(), cells.end());
    const auto holds = [&](int x, int y) {
        return !outside({x, y})
               && std::binary_search(cells.begin(), cells.end(), int64_t{y} * width + x);
    };
    // An edge of a cell belongs to the outline where the cell beside it is not in the union.
    outlineEdges_.clear();
    for (auto cell = cells.begin(); cell != cells.end();
         cell = std::upper_bound(cell, cells.end(), *cell)) {
        const int x = static_cast<int>(*cell % width);
        const int y = static_cast<int>(*cell / width);
        if (!holds(x, y - 1))
            outlineEdges_.push_back({x, y, x + 1, y});
        if (!holds(x, y + 1))
            outlineEdges_.push_back({x, y + 1, x + 1, y + 1});
        if (!holds(x - 1, y))
            outlineEdges_.push_back({x, y, x, y + 1});
        if (!holds(x + 1, y))
            outlineEdges_.push_back({x + 1, y, x + 1, y + 1});
    }
    viewport()->update(QRegion(before) + OutlineBounds());
}

QRect MapView::OutlineBounds() const
{
    if (outlineEdges_.empty())
        return {};
    int left = outlineEdges_.front()[0], right = left;
    int top = outlineEdges_.front()[1], bottom = top;
    for (const auto &[x1, y1, x2, y2] : outlineEdges_) {
        left = std::min(left, x1);
        right = std::max(right, x2);
        top = std::min(top, y1);
        bottom = std::max(bottom, y2);
    }
    // The lines lie on the cells' edges, three pixels wide with square ends.
    const QPoint origin = PictureOffset();
    const int zoom = geometry_.Zoom;
    return QRect(origin + QPoint(left, top) * zoom, origin + QPoint(right, bottom) * zoom)
        .adjusted(-3, -3, 3, 3);
}

std::pair<int64_t, int64_t> MapView::StrokePosition(QPoint at) const
{
    const int64_t zoom = std::clamp(geometry_.Zoom, kZoomFactors.front(), kZoomFactors.back());
    // Far outside the picture the pointer is brought nearer, which bounds a move's steps.
    const auto along = [zoom](int pixel, int origin, int points) {
        const int64_t reach = int64_t{points} * zoom + kStrokeReach;
        const int64_t inside = std::clamp<int64_t>(int64_t{pixel} - origin, -kStrokeReach, reach);
        return (2 * inside + 1) * (kStrokeUnit / 2 / zoom);
    };
    return {along(at.x(), geometry_.OriginX(), geometry_.MapWidth),
            along(at.y(), geometry_.OriginY(), geometry_.MapHeight)};
}

void MapView::StrokeTo(QPoint at)
{
    const auto [toX, toY] = StrokePosition(at);
    const auto [fromX, fromY] = strokeAt_;
    strokeAt_ = {toX, toY};
    // The cells the segment passes, outside the map too, each brought into the map: the
    // pointer's way clamped to the map, on which neither coordinate ever turns back.
    int64_t x = CellOf(fromX);
    int64_t y = CellOf(fromY);
    const int64_t endX = CellOf(toX);
    const int64_t endY = CellOf(toY);
    const int64_t stepX = toX > fromX ? 1 : -1;
    const int64_t stepY = toY > fromY ? 1 : -1;
    // How far the segment runs to the next cell edge across each axis, and how far it runs
    // across each axis in all; the edge reached first (the smaller share) is crossed first, so
    // the cells passed come in order and every two of them share an edge.
    double edgeX =
        static_cast<double>(stepX > 0 ? (x + 1) * kStrokeUnit - fromX : fromX - x * kStrokeUnit);
    double edgeY =
        static_cast<double>(stepY > 0 ? (y + 1) * kStrokeUnit - fromY : fromY - y * kStrokeUnit);
    const auto spanX = static_cast<double>(std::abs(toX - fromX));
    const auto spanY = static_cast<double>(std::abs(toY - fromY));
    while (x != endX || y != endY) {
        if (y == endY || (x != endX && edgeX * spanY <= edgeY * spanX)) {
            x += stepX;
            edgeX += kStrokeUnit;
        } else {
            y += stepY;
            edgeY += kStrokeUnit;
        }
        const MapPoint point{static_cast<int>(std::clamp<int64_t>(x, 0, geometry_.MapWidth - 1)),
                             static_cast<int>(std::clamp<int64_t>(y, 0, geometry_.MapHeight - 1))};
        if (point == strokePoint_)
            continue;
        strokePoint_ = point;
        emit StrokeMoved(point);
    }
}

void MapView::EndStroke()
{
    stroking_ = false;
    emit StrokeReleased(strokePoint_);
}

void MapView::EnsureVisible(MapPoint point)
{
    const QRect shown = ToQRect(geometry_.ScreenRectOf(point));
    const QRect room = viewport()->rect();
    if (room.contains(shown))
        return;
    // Brings the point to the middle of the area.
    ViewGeometry geometry = geometry_;
    geometry.PanX += shown.center().x() - room.center().x();
    geometry.PanY += shown.center().y() - room.center().y();
    centred_ = false;
    ApplyGeometry(geometry);
}

void MapView::ApplyGeometry(const ViewGeometry &wanted)
{
    ViewGeometry geometry = wanted;
    geometry.ViewWidth = viewport()->width();
    geometry.ViewHeight = viewport()->height();
    geometry = centred_ ? geometry.Centred() : geometry.Clamped();
    geometry_ = geometry;
    // Setting the bars may show or hide them, which resizes the area and comes back here.
    applying_ = true;
    for (const auto &[bar, range, pan, page] :
         {std::tuple{horizontalScrollBar(), geometry.RangeX(), geometry.PanX, geometry.ViewWidth},
          {verticalScrollBar(), geometry.RangeY(), geometry.PanY, geometry.ViewHeight}}) {
        bar->setRange(0, range);
        bar->setPageStep(std::max(1, page));
        bar->setSingleStep(std::max(16, geometry.Zoom));
        bar->setValue(pan);
    }
    applying_ = false;
    Refresh();
}

void MapView::Refresh()
{
    visiblePoints_ = hasPicture_ ? geometry_.VisiblePoints() : PixelRect{};
    IndexedImage part =
        RenderLayerWindow(bytes_, geometry_.MapWidth, geometry_.MapHeight, visiblePoints_.Left,
                          visiblePoints_.Top, visiblePoints_.Width, visiblePoints_.Height);
    visible_ = ToQImage(part, colourList_);
    part_ = std::move(part);
    ZoomForDevice(devicePixelRatioF());
    viewport()->update();
}

void MapView::ZoomForDevice(qreal ratio)
{
    // On a screen scaled by a whole factor the points are made at the screen's pixels, so that
    // painting copies them instead of scaling them up; at other factors the painter scales.
    const int whole = std::max(1, static_cast<int>(ratio));
    const int factor = ratio == whole ? whole : 1;
    shown_ = Zoomed(part_, colourList_,
                    StyleOf(geometry_.Zoom, factor, !lower_.empty(), !overlay_.empty()),
                    {lower_, overlay_, &overlayColours_, geometry_.MapWidth});
    shown_.setDevicePixelRatio(factor);
}

void MapView::UpdatePoints(std::span<const uint8_t> bytes, std::span<const std::size_t> changed)
{
    UpdatePoints(bytes, {}, changed);
}

void MapView::UpdatePoints(std::span<const uint8_t> bytes,
                           std::span<const uint8_t> lower,
                           std::span<const std::size_t> changed)
{
    if (!hasPicture_)
        return;
    const bool lowerToo = !lower.empty() && !lower_.empty();
    if (bytes.size() != bytes_.size() || (lowerToo && lower.size() != lower_.size())) {
        // Shown whole, as ShowPicture shows a picture of the same size.
        bytes_.assign(bytes.begin(), bytes.end());
        if (lowerToo)
            lower_.assign(lower.begin(), lower.end());
        ApplyGeometry(geometry_);
        return;
    }
    for (const std::size_t i : changed) {
        if (i >= bytes_.size())
            continue;
        bytes_[i] = bytes[i];
        if (lowerToo)
            lower_[i] = lower[i];
    }
    RenderPoints(changed);
}

void MapView::SetTrianglePlane(std::span<const uint8_t> lower)
{
    lower_.assign(lower.begin(), lower.end());
    Refresh();
}

void MapView::SetOverlay(std::span<const uint8_t> codes, QList<QRgb> colours)
{
    overlay_.assign(codes.begin(), codes.end());
    overlayColours_ = codes.empty() ? QList<QRgb>() : std::move(colours);
    Refresh();
}

void MapView::UpdateOverlay(std::span<const uint8_t> codes, std::span<const std::size_t> changed)
{
    if (codes.size() != overlay_.size()) {
        SetOverlay(codes, overlayColours_);
        return;
    }
    for (const std::size_t i : changed)
        if (i < overlay_.size())
            overlay_[i] = codes[i];
    RenderPoints(changed);
}

void MapView::RenderPoints(std::span<const std::size_t> changed)
{
    const PixelRect &window = visiblePoints_;
    if (!hasPicture_ || window.Width <= 0 || shown_.isNull())
        return;
    const auto factor = static_cast<int>(shown_.devicePixelRatio());
    const CellStyle style = StyleOf(geometry_.Zoom, factor, !lower_.empty(), !overlay_.empty());
    const Planes planes{lower_, overlay_, &overlayColours_, geometry_.MapWidth};
    const auto width = static_cast<std::size_t>(geometry_.MapWidth);
    const std::size_t points = width * static_cast<std::size_t>(geometry_.MapHeight);
    for (const std::size_t i : changed) {
        if (i >= points)
            continue;
        const int x = static_cast<int>(i % width) - window.Left;
        const int y = static_cast<int>(i / width) - window.Top;
        if (x < 0 || y < 0 || x >= window.Width || y >= window.Height)
            continue;
        const uint8_t byte = i < bytes_.size() ? bytes_[i] : 0;
        part_.Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(part_.Width)
                     + static_cast<std::size_t>(x)] = byte;
        visible_.scanLine(y)[x] = byte;
        const QRgb upper = colourList_[byte];
        const QRgb lower = style.Triangles && i < lower_.size() ? colourList_[lower_[i]] : upper;
        PaintCell(shown_, x * style.Size, y * style.Size, style, upper, lower, planes.OverlayAt(i));
    }
    viewport()->update(AreaOfPoints(changed));
}

QRegion MapView::AreaOfPoints(std::span<const std::size_t> points) const
{
    if (!hasPicture_ || geometry_.MapWidth <= 0)
        return {};
    const auto width = static_cast<std::size_t>(geometry_.MapWidth);
    const std::size_t count = width * static_cast<std::size_t>(geometry_.MapHeight);
    std::vector<std::size_t> sorted;
    sorted.reserve(points.size());
    for (const std::size_t i : points)
        if (i < count)
            sorted.push_back(i);
    std::sort(sorted.begin(), sorted.end());
    // Neighbours in a row make one rectangle; rows come top to bottom, so the region grows
    // by appending.
    QRegion area;
    const QRect room = viewport()->rect();
    for (auto run = sorted.begin(); run != sorted.end();) {
        auto end = std::next(run);
        while (end != sorted.end() && *end - *std::prev(end) <= 1 && *end / width == *run / width)
            ++end;
        const MapPoint first{static_cast<int>(*run % width), static_cast<int>(*run / width)};
        const QRect cells =
            ToQRect(geometry_.ScreenRectOf(first))
                .adjusted(0, 0, (static_cast<int>(*std::prev(end) - *run)) * geometry_.Zoom, 0);
        area += cells & room;
        run = end;
    }
    return area;
}

void MapView::paintEvent(QPaintEvent *event)
{
    // Filled and copied within the part asked for only: clipped to a region of many
    // rectangles, a fill or a copy of the whole area would still cost the whole area.
    const QRect asked = event->rect() & viewport()->rect();
    QPainter painter(viewport());
    painter.fillRect(asked, palette().color(QPalette::Window));
    if (visible_.isNull()) {
        PaintFocus(painter);
        return;
    }
    const QRect corner = ToQRect(geometry_.ScreenRectOf({visiblePoints_.Left, visiblePoints_.Top}));
    const int zoom = geometry_.Zoom;
    // Drawn elsewhere (a copy at another scale), the points are made again for that device.
    const qreal ratio = painter.device()->devicePixelRatioF();
    if (ratio != shown_.devicePixelRatio())
        ZoomForDevice(ratio);
    const auto factor = static_cast<int>(shown_.devicePixelRatio());
    if (ratio == factor) {
        const QRect part = asked & QRect(corner.topLeft(), shown_.size() / factor);
        painter.drawImage(
            part.topLeft(), shown_,
            QRect((part.topLeft() - corner.topLeft()) * factor, part.size() * factor));
    } else {
        painter.drawImage(corner.topLeft(), shown_); // scaled by the painter
    }

    const QRect room = viewport()->rect().adjusted(-zoom, -zoom, zoom, zoom);
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const MapPoint &point : toolMarks_) {
        const QRect shown = ToQRect(geometry_.ScreenRectOf(point));
        if (room.intersects(shown))
            DrawMark(painter, shown, false);
    }
    if (selection_)
        DrawMark(painter, ToQRect(geometry_.ScreenRectOf(*selection_)), true);
    if (!outlineEdges_.empty()) {
        const QPoint origin = PictureOffset();
        QList<QLine> lines;
        lines.reserve(static_cast<qsizetype>(outlineEdges_.size()));
        for (const auto &[x1, y1, x2, y2] : outlineEdges_)
            lines.append(QLine(origin + QPoint(x1, y1) * zoom, origin + QPoint(x2, y2) * zoom));
        painter.setRenderHint(QPainter::Antialiasing, false);
        for (const auto &[colour, width] :
             {std::pair{QColor(Qt::black), 3}, {QColor(Qt::white), 1}}) {
            painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::SquareCap));
            painter.drawLines(lines);
        }
    }
    PaintFocus(painter);
}

void MapView::PaintFocus(QPainter &painter)
{
    // Shown once the keyboard has moved the focus, as the style shows it on its own controls.
    if (copying_ || !hasFocus() || !window()->testAttribute(Qt::WA_KeyboardFocusChange))
        return;
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRect(QRectF(viewport()->rect()).adjusted(1, 1, -1, -1));
}

void MapView::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void MapView::focusOutEvent(QFocusEvent *event)
{
    if (stroking_)
        EndStroke();
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void MapView::resizeEvent(QResizeEvent *)
{
    ApplyGeometry(geometry_);
}

void MapView::scrollContentsBy(int, int)
{
    if (applying_)
        return;
    ViewGeometry geometry = geometry_;
    geometry.PanX = horizontalScrollBar()->value();
    geometry.PanY = verticalScrollBar()->value();
    centred_ = false;
    geometry_ = geometry.Clamped();
    Refresh();
}

bool MapView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::Leave)
        emit PointHovered(std::nullopt);
    if (stroking_ && (event->type() == QEvent::UngrabMouse || event->type() == QEvent::Hide))
        EndStroke();
    return QAbstractScrollArea::viewportEvent(event);
}

bool MapView::event(QEvent *event)
{
    // The stroke's release may never come once the window or the view is gone.
    if (stroking_ && (event->type() == QEvent::WindowDeactivate || event->type() == QEvent::Hide))
        EndStroke();
    return QAbstractScrollArea::event(event);
}

void MapView::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    const int steps = event->angleDelta().y();
    if (steps != 0)
        SetZoom(steps > 0 ? NextZoomIn(Zoom()) : NextZoomOut(Zoom()), event->position().toPoint());
    event->accept();
}

void MapView::mousePressEvent(QMouseEvent *event)
{
    const Qt::MouseButton button = event->button();
    if (editing_ && button == Qt::LeftButton) {
        // A stroke starts on the picture only; elsewhere the press does nothing.
        event->accept();
        const QPoint at = event->position().toPoint();
        const std::optional<MapPoint> point =
            hasPicture_ ? geometry_.MapPointAt(at.x(), at.y()) : std::nullopt;
        if (stroking_ || !point)
            return;
        stroking_ = true;
        strokeAt_ = StrokePosition(at);
        strokePoint_ = *point;
        emit StrokePressed(*point);
        return;
    }
    const bool pans = button == Qt::MiddleButton || (editing_ && button == Qt::RightButton);
    if (button != Qt::LeftButton && !pans)
        return;
    dragButton_ = button;
    pressAt_ = lastAt_ = event->position().toPoint();
    dragged_ = false;
    event->accept();
}

void MapView::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (dragButton_ != Qt::NoButton) {
        dragged_ = dragged_ || dragButton_ != Qt::LeftButton
                   || (at - pressAt_).manhattanLength() >= QApplication::startDragDistance();
        if (dragged_) {
            centred_ = false;
            ApplyGeometry(geometry_.PannedBy(at.x() - lastAt_.x(), at.y() - lastAt_.y()));
            lastAt_ = at;
        }
    }
    if (stroking_) {
        // A move without the button: its release went elsewhere.
        if (event->buttons() & Qt::LeftButton)
            StrokeTo(at);
        else
            EndStroke();
    }
    emit PointHovered(hasPicture_ ? geometry_.MapPointAt(at.x(), at.y()) : std::nullopt);
}

void MapView::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    if (stroking_ && event->button() == Qt::LeftButton) {
        StrokeTo(at);
        EndStroke();
        return;
    }
    if (event->button() != dragButton_)
        return;
    if (!dragged_ && dragButton_ == Qt::LeftButton)
        emit PointClicked(hasPicture_ ? geometry_.MapPointAt(at.x(), at.y()) : std::nullopt);
    dragButton_ = Qt::NoButton;
}

} // namespace trelvik
