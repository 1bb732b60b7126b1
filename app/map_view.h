// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "viewer/colour_table.h"
#include "viewer/layer_image.h"
#include "viewer/view_geometry.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include <QAbstractScrollArea>
#include <QImage>

class QPainter;

namespace trelvik {

// The view area: the picture of a layer (or the composed view) at a zoom factor, with scroll
// bars and dragging when it is larger than the area, and marks drawn over chosen points. The
// arithmetic is ViewGeometry's; this widget keeps the bytes shown, forwards the events and
// paints only the part of the picture in view.
class MapView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit MapView(QWidget *parent = nullptr);

    // Shows `bytes` as a width x height picture through `colours`. The zoom is kept and the pan
    // kept within the new picture. A new map shows whole when it is smaller than the area and
    // new maps are fitted, else at 1:1; a zoom kept from the map before goes no higher than
    // that. A new map that fits is centred.
    void ShowPicture(std::span<const uint8_t> bytes,
                     int width,
                     int height,
                     const ColourTable &colours,
                     bool newMap);
    // No picture: the area shows its background.
    void ClearPicture();
    void ReleaseMemory();

    int Zoom() const { return geometry_.Zoom; }
    // The zoom about a point of the area (its centre when none is given).
    void SetZoom(int zoom, std::optional<QPoint> anchor = std::nullopt);
    void ZoomIn() { SetZoom(NextZoomIn(Zoom())); }
    void ZoomOut() { SetZoom(NextZoomOut(Zoom())); }
    void Fit();
    void SetFitNewMaps(bool fit) { fitNewMaps_ = fit; }
    const ViewGeometry &Geometry() const { return geometry_; }

    // The points in view at one pixel each, as drawn before scaling; empty without a picture.
    const QImage &Picture() const { return visible_; }
    // The whole picture at one pixel a point, for copying; null with `error` set when there is
    // none or it is too large.
    QImage WholePicture(QString *error = nullptr) const;
    // What the area shows at the current zoom, marks included.
    QImage ShownView();
    // Where the picture's top-left corner lies in the area (negative when it is larger and cut).
    QPoint PictureOffset() const { return {geometry_.OriginX(), geometry_.OriginY()}; }

    // Marks drawn over the picture: one selected point (a ring) and the points a tool changed
    // (crosses). Setting the selection scrolls it into view.
    void SetSelection(std::optional<MapPoint> point);
    void SetToolMarks(std::vector<MapPoint> points);
    std::optional<MapPoint> Selection() const { return selection_; }
    const std::vector<MapPoint> &ToolMarks() const { return toolMarks_; }

signals:
    // The map point under the pointer, none outside the picture.
    void PointHovered(std::optional<trelvik::MapPoint> point);
    // A click (a press and release without a drag) on the area.
    void PointClicked(std::optional<trelvik::MapPoint> point);
    void ZoomChanged(int zoom);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // Takes the area's size into the geometry, keeps the pan within it, puts the pan into the
    // bars and renders the points in view.
    void ApplyGeometry(const ViewGeometry &geometry);
    void Refresh();
    void PaintFocus(QPainter &painter);
    // Makes the points in view at the zoom for a device of that pixel ratio.
    void ZoomForDevice(qreal ratio);
    void EnsureVisible(MapPoint point);

    ViewGeometry geometry_;
    std::vector<uint8_t> bytes_;
    QList<QRgb> colourList_;
    bool hasPicture_ = false;
    // A new map at 1:1 sits in the middle of the area until the view is panned or zoomed.
    bool centred_ = false;
    QImage visible_;
    IndexedImage part_;
    // The same at the zoom, as painted.
    QImage shown_;
    PixelRect visiblePoints_;

    std::optional<MapPoint> selection_;
    std::vector<MapPoint> toolMarks_;

    bool applying_ = false;
    bool fitNewMaps_ = false;
    // The focus frame is left out of copies of the view.
    bool copying_ = false;
    Qt::MouseButton dragButton_ = Qt::NoButton;
    QPoint pressAt_;
    QPoint lastAt_;
    bool dragged_ = false;
};

} // namespace trelvik
