// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "viewer/colour_table.h"
#include "viewer/layer_image.h"
#include "viewer/view_geometry.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include <QAbstractScrollArea>
#include <QImage>
#include <QRegion>

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

    // Editing: while on, a left-button press over the picture starts a stroke instead of a
    // click or a drag; the middle and right buttons, the wheel and the scroll bars pan. Turning
    // it off during a stroke ends the stroke.
    void SetEditing(bool on);
    bool Editing() const { return editing_; }
    bool Stroking() const { return stroking_; }

    // The outline of the union of these points' cells, drawn over the picture (a brush at the
    // hovered point); points outside the map are left out, none draws nothing.
    void SetBrushOutline(std::vector<MapPoint> points);
    const std::vector<MapPoint> &BrushOutline() const { return outlinePoints_; }

    // The picture's bytes changed at these indices (y * width + x): only their cells are made
    // again and only their part of the area is repainted. Bytes of another length than those
    // shown are shown whole instead (ShowPicture with the same size and colours). The second
    // form also takes the triangle plane's new bytes at the same points.
    void UpdatePoints(std::span<const uint8_t> bytes, std::span<const std::size_t> changed);
    void UpdatePoints(std::span<const uint8_t> bytes,
                      std::span<const uint8_t> lower,
                      std::span<const std::size_t> changed);

    // Triangles: one colour index per point for the triangle below it, while the picture's
    // bytes are the triangle to its right. At zoom 4 and more each cell is cut by its diagonal
    // from the top-left to the bottom-right corner: the lower-left half shows `lower`, the
    // upper-right half (with the diagonal) the picture's colour. Empty: whole cells, as before.
    // Kept until set again or the picture is cleared; points past its end show whole cells.
    void SetTrianglePlane(std::span<const uint8_t> lower);
    bool ShowsTriangles() const { return !lower_.empty(); }

    // Overlay: one code per point, 0 for none, else an index into `colours` (with alpha)
    // blended over the cell: the whole cell at zoom 1, a disc in its middle from zoom 2 on.
    // Empty codes: none. Kept until set again or the picture is cleared.
    void SetOverlay(std::span<const uint8_t> codes, QList<QRgb> colours);
    // The codes changed at these indices only; partial as UpdatePoints.
    void UpdateOverlay(std::span<const uint8_t> codes, std::span<const std::size_t> changed);

    // The part of the area the cells of these point indices cover, in rectangles row by row.
    QRegion AreaOfPoints(std::span<const std::size_t> points) const;

signals:
    // The map point under the pointer, none outside the picture.
    void PointHovered(std::optional<trelvik::MapPoint> point);
    // A click (a press and release without a drag) on the area.
    void PointClicked(std::optional<trelvik::MapPoint> point);
    void ZoomChanged(int zoom);
    // A stroke while editing: its first point, every further point the pointer passes (in the
    // order passed, each once a move, clamped to the map) and its last point. The release is
    // also sent when the stroke is cut off: the button's release lost, the window deactivated,
    // the view hidden or editing turned off.
    void StrokePressed(trelvik::MapPoint point);
    void StrokeMoved(trelvik::MapPoint point);
    void StrokeReleased(trelvik::MapPoint point);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    bool event(QEvent *event) override;
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
    // Makes the cells of these point indices again, from the kept planes, and repaints them.
    void RenderPoints(std::span<const std::size_t> changed);
    // The middle of a view pixel in the map, in units of 1 / kStrokeUnit points.
    std::pair<int64_t, int64_t> StrokePosition(QPoint at) const;
    // Walks the stroke to the view pixel, reporting each point newly passed.
    void StrokeTo(QPoint at);
    void EndStroke();
    QRect OutlineBounds() const;

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

    std::vector<uint8_t> lower_;
    std::vector<uint8_t> overlay_;
    QList<QRgb> overlayColours_;

    bool editing_ = false;
    bool stroking_ = false;
    std::pair<int64_t, int64_t> strokeAt_;
    MapPoint strokePoint_;

    std::vector<MapPoint> outlinePoints_;
    // The outline's edges in map units (cell corners): x1, y1, x2, y2.
    std::vector<std::array<int, 4>> outlineEdges_;
};

} // namespace trelvik
