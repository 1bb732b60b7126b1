// SPDX-License-Identifier: GPL-3.0-or-later
// The window at work: one frame of a drag in the view area (a pan step, the points in view
// rendered again and painted) on a 256 x 256 generated map, at 16x and at the fitting factor of
// a large area; the points of a brush's dab made again and repainted; and the way from
// File > New, or from opening a 256 x 256 map, to the picture.
#include "app/frm_load.h"
#include "app/map_view.h"
#include "document/map_file.h"
#include "generator/generate_map.h"
#include "viewer/composed_view.h"
#include "viewer/palette_file.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QScrollBar>
#include <QSettings>
#include <QSpinBox>

namespace trelvik {
namespace {

void BM_ViewFrame(benchmark::State &state)
{
    RandomSource random;
    random.Seed(2024);
    MapDocument doc;
    GenerateMap(doc, 256, 256, false, random);
    const ComposedView composed = BuildComposedView(doc);
    ColourTable colours;
    for (std::size_t i = 0; i < kColourCount; ++i)
        colours.Entries[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), 128, 0};

    MapView view;
    view.resize(state.range(1), state.range(1));
    view.show();
    view.ShowPicture(composed, 256, 256, colours, true);
    if (state.range(0) == 0)
        view.Fit();
    else
        view.SetZoom(static_cast<int>(state.range(0)));
    QScrollBar *bar = view.horizontalScrollBar();
    // At the screen's pixel ratio: QT_SCALE_FACTOR=2 measures a screen scaled 2x.
    const qreal ratio = view.devicePixelRatioF();
    QImage frame(view.viewport()->size() * ratio, QImage::Format_RGB32);
    frame.setDevicePixelRatio(ratio);
    int step = 1;
    for (auto _ : state) {
        if (bar->value() + step < bar->minimum() || bar->value() + step > bar->maximum())
            step = -step;
        bar->setValue(bar->value() + step);
        view.viewport()->render(&frame); // the paint, into a picture of the area's size
        benchmark::DoNotOptimize(frame.constBits());
    }
    state.counters["zoom"] = view.Zoom();
    state.counters["ratio"] = ratio;
}
// Zoom (0: Fit), side of the view area in pixels.
BENCHMARK(BM_ViewFrame)
    ->Args({16, 260})
    ->Args({0, 260})
    ->Args({16, 900})
    ->Args({0, 900})
    ->Unit(benchmark::kMicrosecond);

// One dab of a brush of size 9 while editing: the ~60 points within four steps of a point in
// the middle of the area change, the view makes their cells again and repaints their area
// (rendered here, as a paint would). Zoom; 1: with triangles and an overlay on every third
// point.
void BM_RepaintChangedArea(benchmark::State &state)
{
    RandomSource random;
    random.Seed(2024);
    MapDocument doc;
    GenerateMap(doc, 256, 256, false, random);
    ComposedView composed = BuildComposedView(doc);
    ColourTable colours;
    for (std::size_t i = 0; i < kColourCount; ++i)
        colours.Entries[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), 128, 0};

    MapView view;
    view.resize(900, 900);
    view.show();
    view.ShowPicture(composed, 256, 256, colours, true);
    view.SetZoom(static_cast<int>(state.range(0)));
    view.SetEditing(true);
    if (state.range(1) != 0) {
        view.SetTrianglePlane(BuildLowerTriangles(doc));
        std::vector<uint8_t> codes(composed.size());
        for (std::size_t i = 0; i < codes.size(); i += 3)
            codes[i] = 1;
        view.SetOverlay(codes, {0, qRgba(255, 0, 0, 160)});
    }
    const QPoint middle = view.viewport()->rect().center();
    const MapPoint centre = *view.Geometry().MapPointAt(middle.x(), middle.y());
    // Rows of 9 points in the middle, one fewer each row up and down, shifted by half a point
    // on odd rows as the map's rows are.
    std::vector<std::size_t> dab;
    for (int dy = -4; dy <= 4; ++dy) {
        const int y = centre.Y + dy;
        const int count = 9 - std::abs(dy);
        const int left = centre.X - (count - 1 + ((y & 1) == 0 ? 1 : 0)) / 2;
        for (int x = left; x < left + count; ++x)
            dab.push_back(static_cast<std::size_t>(y) * 256 + static_cast<std::size_t>(x));
    }
    QRegion area = view.AreaOfPoints(dab);
    const qreal ratio = view.devicePixelRatioF();
    QImage frame(view.viewport()->size() * ratio, QImage::Format_RGB32);
    frame.setDevicePixelRatio(ratio);
    uint8_t shift = 0;
    for (auto _ : state) {
        ++shift;
        for (const std::size_t i : dab)
            composed[i] = static_cast<uint8_t>(composed[i] + shift);
        view.UpdatePoints(composed, dab);
        view.viewport()->render(&frame, area.boundingRect().topLeft(), area);
        benchmark::DoNotOptimize(frame.constBits());
    }
    QCoreApplication::processEvents(); // the updates asked for
    state.counters["points"] = static_cast<double>(dab.size());
    state.counters["area"] = area.boundingRect().width() * area.boundingRect().height();
}
BENCHMARK(BM_RepaintChangedArea)
    ->ArgsProduct({{1, 2, 4, 8, 16}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

// Renders what the window's view area shows, as a paint would.
void ShowPicture(frmLoad &window, QImage &frame)
{
    window.findChild<MapView *>(QStringLiteral("picBG"))->viewport()->render(&frame);
    benchmark::DoNotOptimize(frame.constBits());
}

void BM_NewToPicture(benchmark::State &state)
{
    frmLoad window;
    window.show();
    uint64_t seed = 0;
    window.SetNewMapChooser([&seed](QWidget *, uint64_t) {
        return std::optional(NewMapChoice{256, 256, false, 0, ++seed});
    });
    QAction *command = window.findChild<QAction *>(QStringLiteral("mnuFileNewWithChoices"));
    QImage frame(256, 256, QImage::Format_RGB32);
    for (auto _ : state) {
        window.setWindowModified(false); // nothing to ask
        command->trigger();
        ShowPicture(window, frame);
    }
}
BENCHMARK(BM_NewToPicture)->Unit(benchmark::kMillisecond);

void BM_OpenToPicture(benchmark::State &state)
{
    RandomSource random;
    random.Seed(2024);
    MapDocument doc;
    GenerateMap(doc, 256, 256, false, random);
    doc.Animals.assign(1000, AnimalEntry{1, 10, 10});
    const QString path = QDir::temp().filePath(QStringLiteral("trelvik-bench-open.swd"));
    if (!WriteMapFile(path.toStdString(), doc).Ok) {
        state.SkipWithError("cannot write the map");
        return;
    }
    frmLoad window;
    window.show();
    QImage frame(256, 256, QImage::Format_RGB32);
    for (auto _ : state) {
        window.OpenMapFile(path);
        ShowPicture(window, frame);
    }
    QFile::remove(path);
}
BENCHMARK(BM_OpenToPicture)->Unit(benchmark::kMillisecond);

// A window showing a 256 x 256 map finished for two players, the terrain brush of size 9
// chosen, the view at `zoom`.
struct EditingWindow
{
    explicit EditingWindow(int zoom)
    {
        window.show();
        window.SetNewMapChooser([](QWidget *, uint64_t) {
            return std::optional(NewMapChoice{256, 256, false, 0, 7, 2});
        });
        window.findChild<QAction *>(QStringLiteral("mnuFileNewWithChoices"))->trigger();
        view = window.findChild<MapView *>(QStringLiteral("picBG"));
        view->SetZoom(zoom);
        window.findChild<QAction *>(QStringLiteral("actBrushTerrain"))->trigger();
        window.findChild<QSpinBox *>(QStringLiteral("spnBrushSize"))->setValue(9);
    }
    // One stroke through the points (x, y), x from 4 on in steps of 9 along rows 4, 13, ...
    // with `choice` of the terrain list; the first `dabs` of them.
    void Stroke(int choice, int dabs)
    {
        window.findChild<QComboBox *>(QStringLiteral("cboBrushChoice"))->setCurrentIndex(choice);
        for (int i = 0; i < dabs; ++i) {
            const MapPoint at{4 + 9 * (i % 28), 4 + 9 * (i / 28 % 28)};
            if (i == 0)
                emit view->StrokePressed(at);
            else
                emit view->StrokeMoved(at);
            if (i + 1 == dabs)
                emit view->StrokeReleased(at);
        }
    }
    frmLoad window;
    MapView *view = nullptr;
    QImage frame{900, 900, QImage::Format_RGB32};
};

// One dab of the size-9 terrain brush in the middle of a stroke, its derived layers worked out,
// the terrain picture and the overlay made again at its points and the area they cover
// painted. Each dab lands on ground the stroke has not painted yet.
void BM_WindowDab(benchmark::State &state)
{
    EditingWindow w(static_cast<int>(state.range(0)));
    int dab = 0, pass = 0;
    for (auto _ : state) {
        if (dab % 784 == 0) {
            state.PauseTiming();
            if (dab > 0)
                emit w.view->StrokeReleased({0, 0});
            w.window.findChild<QComboBox *>(QStringLiteral("cboBrushChoice"))
                ->setCurrentIndex(15 + pass++ % 2);
            emit w.view->StrokePressed({0, 0});
            state.ResumeTiming();
        }
        const MapPoint at{4 + 9 * (dab % 28), 4 + 9 * (dab / 28 % 28)};
        ++dab;
        emit w.view->StrokeMoved(at);
        w.view->viewport()->render(&w.frame, {},
                                   w.view->AreaOfPoints(std::vector<std::size_t>{
                                       static_cast<std::size_t>(at.Y * 256 + at.X)}));
        benchmark::DoNotOptimize(w.frame.constBits());
    }
    emit w.view->StrokeReleased({0, 0});
}
BENCHMARK(BM_WindowDab)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMicrosecond);

// Edit > Undo, then Redo, of a stroke of about a thousand points: the bytes put back, the
// pictures, lists and the check's count brought up to date and the view painted.
void BM_WindowUndoStroke(benchmark::State &state)
{
    EditingWindow w(4);
    w.Stroke(15, 17); // 17 dabs of 61 points apart from each other: 1,037 points
    QAction *undo = w.window.findChild<QAction *>(QStringLiteral("mnuEditUndo"));
    QAction *redo = w.window.findChild<QAction *>(QStringLiteral("mnuEditRedo"));
    for (auto _ : state) {
        undo->trigger();
        ShowPicture(w.window, w.frame);
        redo->trigger();
        ShowPicture(w.window, w.frame);
    }
}
BENCHMARK(BM_WindowUndoStroke)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace trelvik

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The window's recent files go to a folder of the benchmark's own, not the user's settings.
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QDir::temp().filePath(QStringLiteral("trelvik-bench-settings")));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
