// SPDX-License-Identifier: GPL-3.0-or-later
// The view area while editing: strokes, partial repaints, triangles, the overlay and the brush
// outline, checked against the view's own geometry and against views shown whole.
#include "app/map_view.h"
#include "qt_test_fonts.h"

#include <random>

#include <QPaintEvent>
#include <QtTest>

namespace trelvik {

char *toString(const MapPoint &point)
{
    return qstrdup(QByteArray::number(point.X) + ',' + QByteArray::number(point.Y));
}

namespace {

using namespace Qt::StringLiterals;

ColourTable Colours()
{
    ColourTable table;
    for (std::size_t i = 0; i < kColourCount; ++i)
        table.Entries[i] = {static_cast<uint8_t>(i * 7), static_cast<uint8_t>(255 - i),
                            static_cast<uint8_t>(i), 0};
    return table;
}

QRgb ColourOf(uint8_t index)
{
    const ColourEntry entry = Colours().Entries[index];
    return qRgb(entry.Red, entry.Green, entry.Blue);
}

std::vector<uint8_t> RandomBytes(std::size_t count, std::mt19937 &random)
{
    std::vector<uint8_t> bytes(count);
    for (uint8_t &byte : bytes)
        byte = static_cast<uint8_t>(random());
    return bytes;
}

QImage Grab(MapView &view)
{
    return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A w x h map of `bytes` in a 300 x 240 area at `zoom`, centred.
void Show(MapView &view, std::span<const uint8_t> bytes, int w, int h, int zoom)
{
    view.resize(300, 240);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.ShowPicture(bytes, w, h, Colours(), true);
    view.SetZoom(zoom);
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

public:
    static void initMain() { test::UseTestFonts(); }

private slots:
    void initTestCase()
    {
        const QString missing = test::MissingTestFont();
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
    }

    // Random drags, fast ones and ones far out of the picture among them: each move reports the
    // cells its pointer passes, as clamped to the map, from the last point reported: in order,
    // edge to edge, each once and ending under the pointer.
    void strokesReportEveryPointPassed()
    {
        const std::vector<uint8_t> bytes(37 * 23, 5);
        for (const int zoom : {1, 3, 16}) {
            MapView view;
            Show(view, bytes, 37, 23, zoom);
            view.SetEditing(true);
            QWidget *area = view.viewport();
            std::vector<std::pair<char, MapPoint>> log;
            for (const auto &[signal, kind] : {std::pair{&MapView::StrokePressed, 'P'},
                                               {&MapView::StrokeMoved, 'M'},
                                               {&MapView::StrokeReleased, 'R'}})
                connect(&view, signal, &view, [&log, k = kind](MapPoint p) {
                    log.push_back({k, p});
                });
            // The cell under a place in thousandths of a pixel, clamped to the map; none when
            // the place is a corner of cells, where either way round is right.
            const QPoint origin = view.PictureOffset() * 1000;
            const auto cellAt = [&](int64_t x, int64_t y) -> std::optional<MapPoint> {
                const int64_t cell = zoom * 1000;
                const auto along = [cell](int64_t at, int points) {
                    const int64_t floor = at >= 0 ? at / cell : -((cell - 1 - at) / cell);
                    return int(std::clamp<int64_t>(floor, 0, points - 1));
                };
                if ((x - origin.x()) % cell == 0 && (y - origin.y()) % cell == 0)
                    return std::nullopt;
                return MapPoint{along(x - origin.x(), 37), along(y - origin.y(), 23)};
            };
            const auto under = [&](QPoint at) {
                return *cellAt(at.x() * 1000 + 500, at.y() * 1000 + 500);
            };
            const QRect start = QRect(view.PictureOffset(), QSize(37, 23) * zoom) & area->rect();
            std::mt19937 random(zoom);
            const auto coordinate = [&random](int low, int high) {
                return std::uniform_int_distribution(low, high)(random);
            };
            for (int stroke = 0; stroke < 8; ++stroke) {
                QPoint at(coordinate(start.left(), start.right()),
                          coordinate(start.top(), start.bottom()));
                log.clear();
                QTest::mousePress(area, Qt::LeftButton, {}, at);
                QCOMPARE(log, decltype(log)({{'P', under(at)}}));
                MapPoint last = under(at);
                for (int move = 0; move < 8; ++move) {
                    const QPoint to(coordinate(-200, 500), coordinate(-200, 440));
                    const MapPoint from = last;
                    log.clear();
                    QTest::mouseMove(area, to);
                    for (const auto &[kind, p] : log) {
                        QCOMPARE(kind, 'M');
                        QCOMPARE(std::abs(p.X - last.X) + std::abs(p.Y - last.Y), 1);
                        last = p;
                    }
                    QCOMPARE(last, under(to));
                    QCOMPARE(int(log.size()),
                             std::abs(last.X - from.X) + std::abs(last.Y - from.Y));
                    for (int t = 0; t <= 1000; ++t) { // no cell passed is missed
                        const auto passed = cellAt(at.x() * 1000 + 500 + (to.x() - at.x()) * t,
                                                   at.y() * 1000 + 500 + (to.y() - at.y()) * t);
                        QVERIFY(!passed || *passed == from
                                || std::count(log.begin(), log.end(), std::pair('M', *passed)));
                    }
                    at = to;
                }
                log.clear();
                QTest::mouseRelease(area, Qt::LeftButton, {}, at);
                QCOMPARE(log, decltype(log)({{'R', last}}));
            }
        }
    }

    // What a press and drag of each button does, with editing on and off: a stroke, a pan or
    // a click; and the ways a stroke is cut off before its release.
    void buttonsWithAndWithoutEditing()
    {
        const std::vector<uint8_t> bytes(64 * 48, 9);
        struct Row
        {
            const char *Name;
            bool Editing;
            Qt::MouseButton Button;
            QPoint To;
            const char *Expected; // Pressed, Moved, Released strokes, Clicks, panned
        };
        const Row rows[] = {
            {"left click", false, Qt::LeftButton, {150, 120}, "C"},
            {"left drag", false, Qt::LeftButton, {110, 100}, "panned"},
            {"middle drag", false, Qt::MiddleButton, {150, 121}, "panned"},
            {"right drag", false, Qt::RightButton, {110, 100}, ""},
            {"left stroke", true, Qt::LeftButton, {110, 100}, "PMR"},
            {"middle drag editing", true, Qt::MiddleButton, {150, 121}, "panned"},
            {"right drag editing", true, Qt::RightButton, {110, 100}, "panned"},
        };
        for (const Row &row : rows) {
            MapView view;
            Show(view, bytes, 64, 48, 16);
            view.SetEditing(row.Editing);
            QString log;
            const auto note = [&log](QChar kind) {
                return [&log, kind] {
                    if (!log.endsWith(kind))
                        log += kind;
                };
            };
            connect(&view, &MapView::StrokePressed, &view, note(u'P'));
            connect(&view, &MapView::StrokeMoved, &view, note(u'M'));
            connect(&view, &MapView::StrokeReleased, &view, note(u'R'));
            connect(&view, &MapView::PointClicked, &view, note(u'C'));
            const ViewGeometry before = view.Geometry();
            QTest::mousePress(view.viewport(), row.Button, {}, {150, 120});
            QTest::mouseMove(view.viewport(), row.To);
            QTest::mouseRelease(view.viewport(), row.Button, {}, row.To);
            if (view.Geometry().PanX != before.PanX || view.Geometry().PanY != before.PanY)
                log += u"panned"_s;
            QVERIFY2(log == QLatin1String(row.Expected), row.Name);
        }
        // Cut off: the release lost, the grab lost, editing ended; a press off the picture.
        MapView view;
        Show(view, bytes, 64, 48, 1);
        view.SetEditing(true);
        int released = 0, pressed = 0;
        connect(&view, &MapView::StrokeReleased, &view, [&released] { ++released; });
        connect(&view, &MapView::StrokePressed, &view, [&pressed] { ++pressed; });
        QWidget *area = view.viewport();
        const auto press = [area](QPoint at) {
            QMouseEvent event(QEvent::MouseButtonPress, at, area->mapToGlobal(at), Qt::LeftButton,
                              Qt::LeftButton, {});
            QCoreApplication::sendEvent(area, &event);
        };
        const std::function<void()> cuts[] = {
            [&] {
                QMouseEvent move(QEvent::MouseMove, QPointF(140, 110), QPointF(), Qt::NoButton, {},
                                 {});
                QCoreApplication::sendEvent(area, &move);
            },
            [&] {
                QEvent ungrab(QEvent::UngrabMouse);
                QCoreApplication::sendEvent(area, &ungrab);
            },
            [&] { view.SetEditing(false); },
        };
        for (const auto &cut : cuts) {
            view.SetEditing(true);
            press({150, 120});
            QVERIFY(view.Stroking());
            cut();
            QVERIFY(!view.Stroking());
        }
        QCOMPARE(released, 3);
        view.SetEditing(true);
        press({5, 5}); // the margin beside a map smaller than the area
        QCOMPARE(pressed, 3);
        QVERIFY(!view.Stroking());
    }

    // Points changed in a view equal a view shown whole from the changed bytes, with and
    // without triangles and overlay, at points in and out of view; only their area is painted.
    void partialUpdatesEqualWholeViews_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<bool>("planes");
        for (const int zoom : {1, 3, 4, 16})
            for (const bool planes : {false, true})
                QTest::addRow("zoom %d%s", zoom, planes ? " with planes" : "") << zoom << planes;
    }
    void partialUpdatesEqualWholeViews()
    {
        QFETCH(int, zoom);
        QFETCH(bool, planes);
        const int w = 64, h = 48;
        const auto size = std::size_t{w * h};
        std::mt19937 random(static_cast<uint32_t>(zoom * 2 + planes));
        std::vector<uint8_t> bytes = RandomBytes(size, random), lower = RandomBytes(size, random);
        std::vector<uint8_t> codes(size);
        const QList<QRgb> colours = {0, qRgba(255, 0, 0, 255), qRgba(0, 0, 255, 100)};
        MapView edited, whole;
        for (MapView *view : {&edited, &whole}) {
            Show(*view, bytes, w, h, zoom);
            if (planes) {
                view->SetTrianglePlane(lower);
                view->SetOverlay(codes, colours);
            }
        }
        std::vector<std::size_t> changed = {0, w - 1, size - w, size - 1, size, size + 5};
        for (int i = 0; i < 60; ++i)
            changed.push_back(random() % size);
        for (const std::size_t i : changed) {
            if (i < size) {
                bytes[i] = static_cast<uint8_t>(random());
                lower[i] = static_cast<uint8_t>(random());
                codes[i] = static_cast<uint8_t>(random() % 4);
            }
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
        QCOMPARE(Grab(edited), Grab(whole));
        QCOMPARE(edited.Picture(), whole.Picture());
        QRegion cells;
        for (const std::size_t i : changed)
            if (i < size)
                cells += QRect(edited.PictureOffset() + QPoint(int(i % w), int(i / w)) * zoom,
                               QSize(zoom, zoom));
        cells &= edited.viewport()->rect();
        QCOMPARE(edited.AreaOfPoints(changed), cells);
        QCOMPARE(recorder.Painted.boundingRect(), cells.boundingRect());
    }

    // Each cell of the view at 3, 4 and 8, pixel by pixel: from 4 on, the pixels below its
    // diagonal show the triangle plane's colour, the others the picture's.
    void trianglesSplitEachCell()
    {
        std::mt19937 random(7);
        const std::vector<uint8_t> bytes = RandomBytes(40 * 30, random),
                                   lower = RandomBytes(40 * 30, random);
        for (const int zoom : {3, 4, 8}) {
            MapView view;
            Show(view, bytes, 40, 30, zoom);
            view.SetTrianglePlane(lower);
            const QImage shown = Grab(view);
            for (int y = 0; y < shown.height(); ++y) {
                for (int x = 0; x < shown.width(); ++x) {
                    const QPoint in = QPoint(x, y) - view.PictureOffset();
                    if (!QRect(QPoint(), QSize(40, 30) * zoom).contains(in))
                        continue;
                    const std::size_t i = std::size_t(in.y() / zoom * 40 + in.x() / zoom);
                    const bool below = zoom >= 4 && in.y() % zoom > in.x() % zoom;
                    QCOMPARE(shown.pixel(x, y), ColourOf(below ? lower[i] : bytes[i]));
                }
            }
            view.SetTrianglePlane({});
            const QPoint belowDiagonal = view.PictureOffset() + QPoint(zoom + 1, zoom * 2 - 1);
            QCOMPARE(Grab(view).pixel(belowDiagonal), ColourOf(bytes[40 + 1]));
        }
    }

    // The overlay over whole cells at 1 and over their middles at 8, codes without a colour
    // left out; the brush outline around the union of its cells; both removed without a trace.
    void overlayAndOutline()
    {
        const std::vector<uint8_t> bytes(20 * 15, 200);
        std::vector<uint8_t> codes(20 * 15, 0);
        codes[21] = 1, codes[22] = 2, codes[23] = 3;
        const QList<QRgb> colours = {0, qRgba(255, 0, 0, 255), qRgba(0, 0, 255, 100)};
        const QRgb base = ColourOf(200);
        for (const int zoom : {1, 8}) {
            MapView view;
            Show(view, bytes, 20, 15, zoom);
            const QImage plain = Grab(view);
            view.SetOverlay(codes, colours);
            const QImage over = Grab(view);
            const auto at = [&](int x, int y, int dx, int dy) {
                return over.pixel(view.PictureOffset() + QPoint(x, y) * zoom + QPoint(dx, dy));
            };
            const int middle = zoom / 2;
            QCOMPARE(at(1, 1, middle, middle), qRgb(255, 0, 0));
            const QRgb blended = at(2, 1, middle, middle);
            QVERIFY(std::abs(qBlue(blended) - (100 * 255 + qBlue(base) * 155) / 255) <= 1);
            QVERIFY(std::abs(qRed(blended) - qRed(base) * 155 / 255) <= 1);
            QCOMPARE(at(3, 1, middle, middle), base);
            QCOMPARE(at(1, 1, 0, 0), zoom == 1 ? qRgb(255, 0, 0) : base);
            view.SetOverlay({}, {});
            QCOMPARE(Grab(view), plain);

            view.SetBrushOutline({{5, 5}, {6, 5}, {5, 6}, {-1, 3}});
            QCOMPARE(view.BrushOutline().size(), std::size_t{3});
            const QImage outlined = Grab(view);
            const QPoint corner = view.PictureOffset() + QPoint(5, 5) * zoom;
            QCOMPARE(outlined.pixel(corner + QPoint(zoom, 0)), qRgb(255, 255, 255));
            QCOMPARE(outlined.pixel(corner + QPoint(zoom, -1)), qRgb(0, 0, 0));
            QCOMPARE(outlined.pixel(corner + QPoint(0, zoom)), qRgb(255, 255, 255));
            if (zoom == 8) // the edge between two cells of the brush is not drawn
                QCOMPARE(outlined.pixel(corner + QPoint(zoom, zoom / 2)), base);
            view.SetBrushOutline({});
            QCOMPARE(Grab(view), plain);
        }
    }
};

} // namespace trelvik

QTEST_MAIN(trelvik::MapViewTest)
#include "test_map_view.moc"
