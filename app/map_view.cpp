// SPDX-License-Identifier: GPL-3.0-or-later
#include "map_view.h"

#include "viewer/layer_image.h"

#include <algorithm>
#include <cstring>

#include <QApplication>
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

// The points of `image` at `zoom` x `zoom` pixels each, in RGB. Made here in one pass rather
// than scaled by the painter, whose large scalings hand the work to other threads and wait.
QImage Zoomed(const IndexedImage &image, const QList<QRgb> &colours, int zoom)
{
    if (image.Width <= 0 || image.Height <= 0)
        return {};
    QImage zoomed(image.Width * zoom, image.Height * zoom, QImage::Format_RGB32);
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
    ApplyGeometry(geometry);
}

void MapView::ReleaseMemory()
{
    std::vector<uint8_t>().swap(bytes_);
    std::vector<MapPoint>().swap(toolMarks_);
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
    shown_ = Zoomed(part_, colourList_, geometry_.Zoom * factor);
    shown_.setDevicePixelRatio(factor);
}

void MapView::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Window));
    if (visible_.isNull()) {
        PaintFocus(painter);
        return;
    }
    const QRect corner = ToQRect(geometry_.ScreenRectOf({visiblePoints_.Left, visiblePoints_.Top}));
    const int zoom = geometry_.Zoom;
    // Drawn elsewhere (a copy at another scale), the points are made again for that device.
    if (painter.device()->devicePixelRatioF() != shown_.devicePixelRatio())
        ZoomForDevice(painter.device()->devicePixelRatioF());
    painter.drawImage(corner.topLeft(), shown_);

    const QRect room = viewport()->rect().adjusted(-zoom, -zoom, zoom, zoom);
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const MapPoint &point : toolMarks_) {
        const QRect shown = ToQRect(geometry_.ScreenRectOf(point));
        if (room.intersects(shown))
            DrawMark(painter, shown, false);
    }
    if (selection_)
        DrawMark(painter, ToQRect(geometry_.ScreenRectOf(*selection_)), true);
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
    return QAbstractScrollArea::viewportEvent(event);
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
    if (button != Qt::LeftButton && button != Qt::MiddleButton)
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
        dragged_ = dragged_ || dragButton_ == Qt::MiddleButton
                   || (at - pressAt_).manhattanLength() >= QApplication::startDragDistance();
        if (dragged_) {
            centred_ = false;
            ApplyGeometry(geometry_.PannedBy(at.x() - lastAt_.x(), at.y() - lastAt_.y()));
            lastAt_ = at;
        }
    }
    emit PointHovered(hasPicture_ ? geometry_.MapPointAt(at.x(), at.y()) : std::nullopt);
}

void MapView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != dragButton_)
        return;
    const QPoint at = event->position().toPoint();
    if (!dragged_ && dragButton_ == Qt::LeftButton)
        emit PointClicked(hasPicture_ ? geometry_.MapPointAt(at.x(), at.y()) : std::nullopt);
    dragButton_ = Qt::NoButton;
}

} // namespace trelvik
