// SPDX-License-Identifier: GPL-3.0-or-later
// The view area while editing: strokes, partial repaints, triangles, the overlay and the brush
// outline, checked against the view's own geometry and against views shown whole.
#include "app/map_view.h"

#include <random>

#include <QPaintEvent>
#include <QtTest>

namespace trelvik {

using namespace Qt::StringLiterals;

char *toString(const MapPoint &p)
{
    return qstrdup(QByteArray::number(p.X) + ',' + QByteArray::number(p.Y));
}

namespace {

QRgb ColourOf(int i)
{
    return qRgb(i * 7 & 255, 255 - i, i);
}

ColourTable Colours()
{
    ColourTable table;
    for (std::size_t i = 0; i < kColourCount; ++i) {
        const QRgb c = ColourOf(static_cast<int>(i));
        table.Entries[i] = {uint8_t(qBlue(c)), uint8_t(qGreen(c)), uint8_t(qRed(c)), 0};
    }
    return table;
}

QImage Grab(MapView &view)
{
    return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A w x h map in a 300 x 240 area at `zoom`, centred.
void Show(MapView &view, std::span<const uint8_t> bytes, int w, int h, int zoom)
{
    view.resize(300, 240);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.ShowPicture(bytes, w, h, Colours(), true);
    view.SetZoom(zoom);
}

// Each stroke signal as a letter (Pressed, Moved, Released) and its point.
using StrokeLog = std::vector<std::pair<char, MapPoint>>;
void Note(MapView &view, StrokeLog &log)
{
    for (const auto &[signal, kind] : {std::pair{&MapView::StrokePressed, 'P'},
                                       {&MapView::StrokeMoved, 'M'},
                                       {&MapView::StrokeReleased, 'R'}})
        QObject::connect(&view, signal, [&log, k = kind](MapPoint p) { log.push_back({k, p}); });
}

struct PaintRecorder : QObject
{
    QRegion Painted;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            Painted += static_cast<QPaintEvent *>(event)->region();
        return false;
    }
};

} // namespace

class MapViewTest : public QObject
{
    Q_OBJECT

private slots:
    // Random drags, fast ones and ones far out of the picture among them: each move reports the
    // cells its pointer passes, as clamped to the map, from the last point reported: edge to
    // edge, each once, none missed, ending under the pointer.
    void strokesReportEveryPointPassed()
    {
        const std::vector<uint8_t> bytes(37 * 23, 5);
        for (const int zoom : {1, 3, 16}) {
            MapView view;
            Show(view, bytes, 37, 23, zoom);
            view.SetEditing(true);
            StrokeLog log;
            Note(view, log);
            // The cell under a place in thousandths of a pixel, clamped to the map; none at a
            // corner of cells, which either way round passes.
            const QPoint origin = view.PictureOffset() * 1000;
            const int64_t cell = zoom * 1000;
            const auto cellAt = [&](int64_t x, int64_t y) -> std::optional<MapPoint> {
                const auto along = [cell](int64_t at, int points) {
                    return int(
                        std::clamp<int64_t>((at + cell * 1000) / cell - 1000, 0, points - 1));
                };
                if ((x - origin.x()) % cell == 0 && (y - origin.y()) % cell == 0)
                    return std::nullopt;
                return MapPoint{along(x - origin.x(), 37), along(y - origin.y(), 23)};
            };
            const auto under = [&](QPoint at) {
                return *cellAt(at.x() * 1000 + 500, at.y() * 1000 + 500);
            };
            const QRect start =
                QRect(view.PictureOffset(), QSize(37, 23) * zoom) & view.viewport()->rect();
            std::mt19937 random(zoom);
            const auto pick = [&random](int low, int high) {
                return std::uniform_int_distribution(low, high)(random);
            };
            for (int stroke = 0; stroke < 8; ++stroke) {
                QPoint at(pick(start.left(), start.right()), pick(start.top(), start.bottom()));
                MapPoint last = under(at);
                log.clear();
                QTest::mousePress(view.viewport(), Qt::LeftButton, {}, at);
                QCOMPARE(log, StrokeLog({{'P', last}}));
                for (int move = 0; move < 8; ++move) {
                    const QPoint to(pick(-200, 500), pick(-200, 440));
                    const MapPoint from = last;
                    log.clear();
                    QTest::mouseMove(view.viewport(), to);
                    for (const auto &[kind, p] : log) {
                        QCOMPARE(std::abs(p.X - last.X) + std::abs(p.Y - last.Y) + (kind != 'M'),
                                 1);
                        last = p;
                    }
                    QCOMPARE(last, under(to));
                    QCOMPARE(int(log.size()),
                             std::abs(last.X - from.X) + std::abs(last.Y - from.Y));
                    for (int t = 0; t <= 1000; ++t) {
                        const auto p = cellAt(at.x() * 1000 + 500 + (to.x() - at.x()) * t,
                                              at.y() * 1000 + 500 + (to.y() - at.y()) * t);
                        QVERIFY(!p || *p == from
                                || std::count(log.begin(), log.end(), std::pair('M', *p)));
                    }
                    at = to;
                }
                log.clear();
                QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, at);
                QCOMPARE(log, StrokeLog({{'R', last}}));
            }
        }
    }

    // A press, drag and release of each button with editing on and off: a stroke (Pressed,
    // Moved, Released), a Click or a pan; then the ways a stroke is cut off before its release.
    void buttonsWithAndWithoutEditing()
    {
        const std::vector<uint8_t> bytes(64 * 48, 9);
        const std::tuple<bool, Qt::MouseButton, QPoint, const char *> rows[] = {
            {false, Qt::LeftButton, {150, 120}, "C"},
            {false, Qt::LeftButton, {110, 100}, "pan"},
            {false, Qt::MiddleButton, {150, 121}, "pan"},
            {false, Qt::RightButton, {110, 100}, ""},
            {true, Qt::LeftButton, {110, 100}, "PMR"},
            {true, Qt::MiddleButton, {150, 121}, "pan"},
            {true, Qt::RightButton, {110, 100}, "pan"},
        };
        for (const auto &[editing, button, to, expected] : rows) {
            MapView view;
            Show(view, bytes, 64, 48, 16);
            view.SetEditing(editing);
            StrokeLog log;
            Note(view, log);
            QString seen;
            connect(&view, &MapView::PointClicked, &view, [&seen] { seen += u'C'; });
            const int pan = view.Geometry().PanX + view.Geometry().PanY;
            QTest::mousePress(view.viewport(), button, {}, {150, 120});
            QTest::mouseMove(view.viewport(), to);
            QTest::mouseRelease(view.viewport(), button, {}, to);
            for (const auto &[kind, point] : log)
                seen += seen.endsWith(QLatin1Char(kind)) ? QString() : QString(QLatin1Char(kind));
            seen += view.Geometry().PanX + view.Geometry().PanY != pan ? u"pan"_s : QString();
            QVERIFY2(seen == QLatin1String(expected), qPrintable(seen));
        }
        // Cut off: the release or the grab lost, the focus or the window left, editing ended,
        // another map; no stroke beside the picture.
        MapView view;
        Show(view, bytes, 64, 48, 1);
        StrokeLog log;
        Note(view, log);
        const auto press = [&view](QEvent::Type type, QPoint at, Qt::MouseButton button) {
            QMouseEvent event(type, at, at, button, button, {});
            QCoreApplication::sendEvent(view.viewport(), &event);
        };
        for (int cut = 0; cut < 6; ++cut) {
            view.SetEditing(true);
            press(QEvent::MouseButtonPress, {150, 120}, Qt::LeftButton);
            QEvent ungrab(QEvent::UngrabMouse), deactivate(QEvent::WindowDeactivate);
            QFocusEvent focusOut(QEvent::FocusOut);
            if (cut == 0)
                press(QEvent::MouseMove, {140, 110}, Qt::NoButton); // the release went elsewhere
            else if (cut < 4)
                QCoreApplication::sendEvent(cut == 1 ? view.viewport() : &view, cut == 1 ? &ungrab
                                                                                : cut == 2
                                                                                    ? &focusOut
                                                                                    : &deactivate);
            else if (cut == 4)
                view.SetEditing(false);
            else
                view.ShowPicture(bytes, 60, 40, Colours(), false); // another map
            QCOMPARE(log.size(), std::size_t(2 * cut + 2));
            QCOMPARE(log.back().first, 'R');
        }
        view.ShowPicture(bytes, 64, 48, Colours(), false); // no stroke to end
        QEvent deactivate(QEvent::WindowDeactivate), ungrab(QEvent::UngrabMouse);
        QCoreApplication::sendEvent(&view, &deactivate);
        QCoreApplication::sendEvent(view.viewport(), &ungrab);
        view.SetEditing(true);
        press(QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton); // beside the picture
        QCOMPARE(log.size(), std::size_t{12});
    }

    // Points changed in a view equal a view shown whole from the changed bytes, with and without
    // triangles and overlay, at points in and out of view, and only their area is painted. From
    // zoom 4 on the pixels below a cell's diagonal show the triangle plane's colour.
    void partialUpdatesEqualWholeViews_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<bool>("planes");
        for (const int zoom : {1, 3, 4, 8, 16})
            for (const bool planes : {false, true})
                QTest::addRow("zoom %d%s", zoom, planes ? " with planes" : "") << zoom << planes;
    }
    void partialUpdatesEqualWholeViews()
    {
        QFETCH(int, zoom);
        QFETCH(bool, planes);
        const int w = 64, h = 48;
        const std::size_t size = w * h;
        std::mt19937 random(static_cast<uint32_t>(zoom * 2 + planes));
        std::vector<uint8_t> bytes(size), lower(size), codes(size);
        std::generate(bytes.begin(), bytes.end(), std::ref(random));
        std::generate(lower.begin(), lower.end(), std::ref(random));
        const QList<QRgb> colours = {0, qRgba(255, 0, 0, 255), qRgba(0, 0, 255, 100)};
        MapView edited, whole;
        for (MapView *view : {&edited, &whole}) {
            Show(*view, bytes, w, h, zoom);
            view->SetTrianglePlane(planes ? lower : std::vector<uint8_t>());
            view->SetOverlay(planes ? codes : std::vector<uint8_t>(), colours);
        }
        std::vector<std::size_t> changed = {0, w - 1, size - w, size - 1, size, size + 5};
        for (int i = 0; i < 60; ++i)
            changed.push_back(random() % size);
        for (const std::size_t i : changed) {
            if (i < size)
                bytes[i] = uint8_t(random()), lower[i] = uint8_t(random()), codes[i] = random() % 4;
        }
        QCoreApplication::processEvents();
        PaintRecorder recorder;
        edited.viewport()->installEventFilter(&recorder);
        if (planes) {
            edited.UpdatePoints(bytes, lower, changed);
            edited.UpdateOverlay(codes, changed);
            whole.SetTrianglePlane(lower);
            whole.SetOverlay(codes, colours);
        } else {
            edited.UpdatePoints(bytes, changed);
        }
        QCoreApplication::processEvents();
        edited.viewport()->removeEventFilter(&recorder);
        whole.ShowPicture(bytes, w, h, Colours(), false);
        const QImage shown = Grab(edited);
        QCOMPARE(shown, Grab(whole));
        QCOMPARE(edited.Picture(), whole.Picture());
        QRegion cells;
        for (const std::size_t i : changed)
            if (i < size)
                cells += QRect(edited.PictureOffset() + QPoint(int(i % w), int(i / w)) * zoom,
                               QSize(zoom, zoom));
        cells &= edited.viewport()->rect();
        QCOMPARE(edited.AreaOfPoints(changed), cells);
        QCOMPARE(recorder.Painted.boundingRect(), cells.boundingRect());
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const QPoint in = QPoint(x, y) - edited.PictureOffset();
                const std::size_t i = std::size_t(in.y() / zoom * w + in.x() / zoom);
                if (QRect(0, 0, w * zoom, h * zoom).contains(in) && (!planes || codes[i] == 0)) {
                    const bool below = planes && zoom >= 4 && in.y() % zoom > in.x() % zoom;
                    QCOMPARE(shown.pixel(x, y), ColourOf(below ? lower[i] : bytes[i]));
                }
            }
        }
    }

    // The overlay over whole cells at 1 and over their middles at 8, codes without a colour left
    // out; the brush outline around the union of its cells; both removed without a trace.
    void overlayAndOutline()
    {
        const std::vector<uint8_t> bytes(20 * 15, 200);
        std::vector<uint8_t> codes(20 * 15, 0);
        codes[21] = 1, codes[22] = 2, codes[23] = 3;
        const QRgb base = ColourOf(200), white = qRgb(255, 255, 255);
        for (const int zoom : {1, 8}) {
            MapView view;
            Show(view, bytes, 20, 15, zoom);
            const QImage plain = Grab(view);
            view.SetOverlay(codes, {0, qRgba(255, 0, 0, 255), qRgba(0, 0, 255, 100)});
            const QImage over = Grab(view);
            const auto at = [&](const QImage &image, int x, int y, QPoint d) {
                return image.pixel(view.PictureOffset() + QPoint(x, y) * zoom + d);
            };
            const QPoint middle(zoom / 2, zoom / 2);
            QCOMPARE(at(over, 1, 1, middle), qRgb(255, 0, 0));
            const QRgb blended = at(over, 2, 1, middle);
            QVERIFY(std::abs(qBlue(blended) - (100 * 255 + qBlue(base) * 155) / 255) <= 1);
            QVERIFY(std::abs(qRed(blended) - qRed(base) * 155 / 255) <= 1);
            QCOMPARE(at(over, 3, 1, middle), base);
            QCOMPARE(at(over, 1, 1, {}), zoom == 1 ? qRgb(255, 0, 0) : base);
            view.SetOverlay({}, {});
            QCOMPARE(Grab(view), plain);

            view.SetBrushOutline({{5, 5}, {6, 5}, {5, 6}, {-1, 3}});
            QCOMPARE(view.BrushOutline().size(), std::size_t{3});
            const QImage outlined = Grab(view);
            QCOMPARE(at(outlined, 6, 5, {}), white);
            QCOMPARE(at(outlined, 6, 5, {0, -1}), qRgb(0, 0, 0));
            QCOMPARE(at(outlined, 5, 6, {0, zoom - 1}), white);
            QCOMPARE(at(outlined, 7, 5, {0, zoom - 1}), white);
            QCOMPARE(at(outlined, 6, 5, {0, zoom / 2}), zoom == 1 ? white : base); // inner edge
            view.SetBrushOutline({});
            QCOMPARE(Grab(view), plain);
            view.SetBrushOutline({{5, 5}});
            view.ShowPicture(bytes, 20, 14, Colours(), false); // another map: no outline
            QVERIFY(view.BrushOutline().empty());
        }
    }
};

} // namespace trelvik

QTEST_MAIN(trelvik::MapViewTest)
#include "test_map_view.moc"
