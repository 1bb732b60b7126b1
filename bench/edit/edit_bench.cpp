// SPDX-License-Identifier: GPL-3.0-or-later
// Brushes on a 256 x 256 map finished for four players: one size-9 dab of each brush with its
// derived layers, the undo of a stroke that changed a thousand points or more, and a stroke's
// finish with the area table worked out afresh.
#include "edit/stroke.h"
#include "generator/generate_map.h"
#include "play/finish_for_play.h"
#include "play/headquarters.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {

using namespace trelvik;
using namespace trelvik::edit;

MapDocument &Map()
{
    static MapDocument document = [] {
        MapDocument doc;
        RandomSource random;
        random.Seed(7);
        GenerateMap(doc, 256, 256, false, random);
        FinishForPlay(doc, 4, 7);
        return doc;
    }();
    return document;
}

// Points on land around the headquarters, where every brush has work.
std::vector<Point> Spots()
{
    const MapDocument &doc = Map();
    const PointGrid grid(doc);
    std::vector<Point> spots;
    for (const Point hq : FindHeadquartersMarks(doc))
        for (const int d : {-12, -8, 8, 12})
            spots.push_back(grid.Offset(hq, d, d / 2 * 2));
    return spots;
}

Brush BrushOf(int64_t row)
{
    Brush b;
    b.Size = kMaxBrushSize;
    switch (row) {
    case 0:
        b.Kind = BrushKind::Terrain;
        b.Terrain = 1;
        break;
    case 1:
        b.Kind = BrushKind::Height;
        b.HeightStep = 2;
        break;
    case 2:
        b.Kind = BrushKind::Height;
        b.Height = HeightMode::Smooth;
        break;
    case 3:
        b.Kind = BrushKind::Objects;
        break;
    case 4:
        b.Kind = BrushKind::Resources;
        b.Resource = ResourceChoice::Erase;
        break;
    case 5:
        b.Kind = BrushKind::Animals;
        break;
    default:
        b.Kind = BrushKind::Harbour;
        break;
    }
    return b;
}

// One dab with shading and building quality following; the undo after it is not timed.
void BM_Dab(benchmark::State &state)
{
    MapDocument &doc = Map();
    const std::vector<Point> spots = Spots();
    const Brush brush = BrushOf(state.range(0));
    std::size_t next = 0, changed = 0;
    for (auto _ : state) {
        Stroke stroke(doc, brush, next);
        changed += stroke.Dab(spots[next++ % spots.size()]).size();
        state.PauseTiming();
        stroke.Changes().Undo(doc);
        state.ResumeTiming();
    }
    state.counters["points"] =
        benchmark::Counter(static_cast<double>(changed), benchmark::Counter::kAvgIterations);
}

// Undo and redo in turn of one terrain stroke dragged until it changed 1,000 points or more.
void BM_UndoStroke(benchmark::State &state)
{
    MapDocument &doc = Map();
    const PointGrid grid(doc);
    Brush brush = BrushOf(0);
    Stroke stroke(doc, brush, 1);
    Point at = Spots().front();
    while (stroke.Changes().Points().size() < 1000) {
        stroke.Dab(at);
        at = grid.Offset(at, 2, 0);
    }
    const ChangeSet changes = stroke.Finish(at);
    bool undone = false;
    for (auto _ : state) {
        if (undone)
            changes.Redo(doc);
        else
            changes.Undo(doc);
        undone = !undone;
    }
    if (!undone)
        changes.Undo(doc);
    state.counters["points"] = static_cast<double>(changes.Points().size());
    state.counters["bytes"] = static_cast<double>(changes.Size());
}

// The release of a terrain stroke: the area table and layer 14 of the whole map.
void BM_FinishWithAreas(benchmark::State &state)
{
    MapDocument &doc = Map();
    const std::vector<Point> spots = Spots();
    const Brush brush = BrushOf(0);
    std::size_t next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Stroke stroke(doc, brush, next);
        const Point at = spots[next++ % spots.size()];
        stroke.Dab(at);
        state.ResumeTiming();
        const ChangeSet changes = stroke.Finish(at);
        state.PauseTiming();
        changes.Undo(doc);
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_Dab)->DenseRange(0, 6)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoStroke)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FinishWithAreas)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
