// SPDX-License-Identifier: GPL-3.0-or-later
// What a map maker does with the brushes, on any input: a blank or a generated map, then a run
// of strokes (every brush, every size, anywhere on the map and at its edges) and undo/redo of
// the finished strokes as an editor keeps them. After each step the map writes and reads back
// the same, and its shading and building quality are what a recompute gives; at the end,
// undoing everything gives the starting map exactly.

#include "document/layer_codes.h"
#include "document/map_file.h"
#include "edit/blank_map.h"
#include "edit/stroke.h"
#include "fuzz_check.h"
#include "generator/generate_map.h"
#include "play/areas.h"
#include "play/building_quality.h"
#include "play/finish_for_play.h"
#include "play/shading.h"

#include <array>
#include <map>
#include <span>
#include <vector>

namespace {

using namespace trelvik;
using namespace trelvik::edit;

class Bytes
{
public:
    explicit Bytes(std::span<const uint8_t> bytes)
        : mBytes(bytes)
    {}

    bool Done() const { return mAt >= mBytes.size(); }
    uint8_t Next() { return mAt < mBytes.size() ? mBytes[mAt++] : uint8_t{0}; }

private:
    std::span<const uint8_t> mBytes;
    std::size_t mAt = 0;
};

// One of a few generated maps, finished for two players and worked out afresh, made once.
const MapDocument &Generated(uint8_t seed)
{
    static std::map<uint8_t, MapDocument> made;
    auto [at, added] = made.try_emplace(seed);
    if (added) {
        RandomSource random;
        random.Seed(seed);
        GenerateMap(at->second, 64, 64, true, random);
        FinishForPlay(at->second, 2, seed);
        ComputeShading(at->second);
        ComputeBuildingQuality(at->second);
        ComputeAreas(at->second);
    }
    return at->second;
}

MapDocument StartingMap(Bytes &in)
{
    const uint8_t pick = in.Next();
    if (pick % 2 == 0)
        return Generated(static_cast<uint8_t>(pick / 2 % 4));
    const std::vector<uint8_t> terrains = PaintableTerrains(0);
    BlankMapRequest request;
    request.WorldType = static_cast<uint8_t>(pick / 2 % 3);
    request.Terrain = terrains[in.Next() % terrains.size()];
    request.GroundHeight = static_cast<uint8_t>(in.Next() % (kMaxHeight + 1));
    BlankMapResult blank = MakeBlankMap(request);
    TRELVIK_FUZZ_CHECK(blank.Document.has_value());
    return std::move(*blank.Document);
}

// A coordinate that favours the edges: a quarter of the draws land on the first or last two.
int64_t Coordinate(uint8_t value, int64_t side)
{
    if (value < 64)
        return value % 4 < 2 ? value % 4 : side - 4 + value % 4;
    return value % side;
}

Brush DrawBrush(Bytes &in)
{
    Brush b;
    const uint8_t kind = in.Next(), option = in.Next();
    b.Kind = static_cast<BrushKind>(kind % 7);
    b.Size = kind / 7 % 11; // 0 and 10 are clamped
    b.Terrain = static_cast<uint8_t>(option % 64);
    b.Height = static_cast<HeightMode>(option % 4);
    b.HeightStep = option / 4 % 8;
    b.Object = static_cast<ObjectChoice>(option % 4);
    b.GraniteSize = static_cast<uint8_t>(option / 4 % 8);
    b.Decoration = option;
    b.Resource = static_cast<ResourceChoice>(option % 7);
    b.Amount = option / 7 % 9;
    b.Animal = static_cast<uint8_t>(option % 11);
    b.Player = option % 8;
    b.Erase = option >= 128;
    return b;
}

void CheckSound(const MapDocument &document)
{
    MapDocument again;
    TRELVIK_FUZZ_CHECK(ReadMapBytes(WriteMapBytes(document), MapLayout::Full, again).Ok()
                       && again == document);
    MapDocument fresh = document;
    ComputeShading(fresh);
    ComputeBuildingQuality(fresh);
    TRELVIK_FUZZ_CHECK(fresh.Layer(13) == document.Layer(13));
    for (std::size_t i = 0; i < fresh.Layer(9).size(); ++i)
        TRELVIK_FUZZ_CHECK(((fresh.Layer(9)[i] ^ document.Layer(9)[i]) & kQualityMask) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    Bytes in({data, size});
    MapDocument document = StartingMap(in);
    const MapDocument start = document;
    const PointGrid grid(document);
    std::vector<ChangeSet> done, undone;
    for (int step = 0; step < 24 && !in.Done(); ++step) {
        const uint8_t what = in.Next();
        if (what >= 224 && !done.empty()) { // undo
            done.back().Undo(document);
            undone.push_back(std::move(done.back()));
            done.pop_back();
        } else if (what >= 192 && !undone.empty()) { // redo
            undone.back().Redo(document);
            done.push_back(std::move(undone.back()));
            undone.pop_back();
        } else {
            const Brush brush = DrawBrush(in);
            const MapDocument before = document;
            Stroke stroke(document, brush, what);
            const int dabs = 1 + what % 4;
            Point at{Coordinate(in.Next(), grid.Width()), Coordinate(in.Next(), grid.Height())};
            for (int k = 0; k < dabs; ++k) {
                for (const std::size_t i : stroke.Dab(at))
                    TRELVIK_FUZZ_CHECK(i < static_cast<std::size_t>(grid.Width() * grid.Height()));
                at = grid.Neighbour(at, in.Next() % 6);
            }
            const ChangeSet changes = stroke.Finish(at);
            TRELVIK_FUZZ_CHECK(changes.Empty() == (document == before));
            undone.clear();
            done.push_back(changes);
        }
        CheckSound(document);
    }
    while (!done.empty()) {
        done.back().Undo(document);
        done.pop_back();
    }
    TRELVIK_FUZZ_CHECK(document == start);
    return 0;
}
