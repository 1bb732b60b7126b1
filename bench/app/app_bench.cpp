// The view area at work: one frame of a drag (a pan step, the points in view rendered again and
// painted) on a 256 x 256 generated map, at 16x and at the fitting factor of a large area.
#include "app/map_view.h"
#include "generator/generate_map.h"
#include "viewer/composed_view.h"
#include "viewer/palette_file.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>

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
    QImage frame(view.viewport()->size(), QImage::Format_RGB32);
    int step = 1;
    for (auto _ : state) {
        if (bar->value() + step < bar->minimum() || bar->value() + step > bar->maximum())
            step = -step;
        bar->setValue(bar->value() + step);
        view.viewport()->render(&frame); // the paint, into a picture of the area's size
        benchmark::DoNotOptimize(frame.constBits());
    }
    state.counters["zoom"] = view.Zoom();
}
// Zoom (0: Fit), side of the view area in pixels.
BENCHMARK(BM_ViewFrame)
    ->Args({16, 260})
    ->Args({16, 900})
    ->Args({0, 900})
    ->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace trelvik

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
