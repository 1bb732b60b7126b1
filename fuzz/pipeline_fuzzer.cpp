// SPDX-License-Identifier: GPL-3.0-or-later
// What the program does with a map file, on any file: read it (accepted or rejected cleanly, a
// rejected file leaving the map open before untouched), describe it, build the composed view,
// show every selector position (plan, colours, the part a view shows, a window scrolled to the
// first headquarters, the whole picture within its size limit), run the castle fix and the
// animal removal, then write the map and read it back. Every step must stay within the layers
// it was given, whatever sizes the header claims.

#include "check/map_check.h"
#include "document/fixed_text_field.h"
#include "document/map_file.h"
#include "document/map_text.h"
#include "fuzz_check.h"
#include "play/building_quality.h"
#include "play/fairness.h"
#include "play/finish_for_play.h"
#include "play/headquarters.h"
#include "play/resources.h"
#include "play/shading.h"
#include "tools/animal_removal.h"
#include "tools/coastal_castle_fix.h"
#include "viewer/layer_image.h"
#include "viewer/view_refresh.h"

#include <algorithm>

namespace {

using namespace trelvik;

constexpr std::string_view kSignature = "WORLD_V1.0";

bool StartsWithSignature(std::span<const uint8_t> bytes)
{
    return bytes.size() >= kSignature.size()
           && std::equal(kSignature.begin(), kSignature.end(), bytes.begin());
}

// An accepted file is what its map writes again: the input up to its last whole animal record
// is the written file (after the header the reader completed, for a .dat file), and the
// written file reads back as the same map.
void CheckAccepted(MapLayout layout,
                   std::span<const uint8_t> bytes,
                   const ReadResult &result,
                   const MapDocument &document)
{
    const MapHeader &header = document.Header;
    TRELVIK_FUZZ_CHECK(result.Message.empty() && result.AnimalCount == document.Animals.size());
    TRELVIK_FUZZ_CHECK(header.Width >= 32 && header.Height >= 32);
    if (layout == MapLayout::Dat)
        TRELVIK_FUZZ_CHECK(FixedTextField::Display(header.Title) == "Unknown"
                           && header.WorldType == 0 && header.WidthCopy == header.Width);
    const std::vector<uint8_t> written = WriteMapBytes(document);
    TRELVIK_FUZZ_CHECK(written.back() == 0xFF);
    const std::size_t skipped = layout == MapLayout::Full ? 0 : kMapHeaderSize - kDatHeaderSize;
    const std::size_t used = written.size() - 1 - skipped;
    TRELVIK_FUZZ_CHECK(used <= bytes.size() && bytes.size() - used < kAnimalEntrySize);
    TRELVIK_FUZZ_CHECK(std::equal(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(used),
                                  written.begin() + static_cast<std::ptrdiff_t>(skipped)));
    MapDocument again;
    TRELVIK_FUZZ_CHECK(ReadMapBytes(written, MapLayout::Full, again).Ok() && again == document);
}

// Every selector position of the map: its plan and colours, the part two views show (one
// narrow and tall, so the picture is cut on one side and centred on the other), a window at
// the first headquarters, which a damaged header may put anywhere, and the whole picture within
// its size limit. The pictures' pixels are checked by the viewer's tests; here every call must
// stay within the bytes it is given and make pictures of the promised sizes.
void ShowPosition(const MapDocument &document,
                  const ComposedView &composed,
                  int position,
                  ColourTable &table)
{
    const RefreshPlan plan = PlanRefresh(document, position, TRELVIK_FUZZ_PALETTE_DIR);
    TRELVIK_FUZZ_CHECK(plan.Layer == position - 1);
    const PaletteLoadResult colours = ApplyColourAction(plan, table);
    if (plan.Action == ColourAction::PaletteFile && document.Header.WorldType <= 2)
        TRELVIK_FUZZ_CHECK(colours.Ok()); // the shipped palettes load whole
    const std::span<const uint8_t> bytes = PlannedBytes(plan, document, composed);
    const int width = document.Header.Width;
    const int height = document.Header.Height;
    for (const auto &[viewWidth, viewHeight] : {std::pair{160, 120}, {17, 300}}) {
        const IndexedImage visible = RenderVisiblePart(bytes, width, height, viewWidth, viewHeight);
        TRELVIK_FUZZ_CHECK(visible.Width == std::min(width, viewWidth)
                           && visible.Height == std::min(height, viewHeight));
        TRELVIK_FUZZ_CHECK(ToRgb(visible, table).size() == visible.Pixels.size() * 3);
    }
    const int hqX = document.Header.HeadquartersX[0];
    const int hqY = document.Header.HeadquartersY[0];
    const IndexedImage window = RenderLayerWindow(bytes, width, height, hqX, hqY, 64, 48);
    TRELVIK_FUZZ_CHECK(window.Pixels.size()
                           == static_cast<std::size_t>(window.Width * window.Height)
                       && window.Width <= 64 && window.Height <= 48);
    const PictureResult whole = RenderLayerImage(bytes, width, height);
    TRELVIK_FUZZ_CHECK(whole.Ok() == (int64_t{width} * height <= kMaxPicturePixels));
    TRELVIK_FUZZ_CHECK(!whole.Ok()
                       || whole.Image.Pixels.size()
                              == static_cast<std::size_t>(width)
                                     * static_cast<std::size_t>(height));
}

// The castle fix only adds the harbour bit to castle sites of layer 2, counts and lists exactly
// the points it marked, and finds nothing more to do the second time.
void RunCastleFix(MapDocument &document)
{
    const MapDocument before = document;
    std::vector<std::size_t> listed;
    const int32_t marked = CoastalCastleFix(document, &listed);
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < document.Layer(2).size(); ++i) {
        const uint8_t was = before.Layer(2)[i];
        const uint8_t now = document.Layer(2)[i];
        if (now == was)
            continue;
        changed.push_back(i);
        TRELVIK_FUZZ_CHECK((was & kHarbourBit) == 0 && now == (was | kHarbourBit));
        TRELVIK_FUZZ_CHECK(i < document.Layer(9).size() && document.Layer(9)[i] == kCastleSite);
    }
    TRELVIK_FUZZ_CHECK(static_cast<std::size_t>(marked) == changed.size() && listed == changed);
    MapDocument onlyLayer2 = before;
    onlyLayer2.Layer(2) = document.Layer(2);
    TRELVIK_FUZZ_CHECK(onlyLayer2 == document);
    TRELVIK_FUZZ_CHECK(CoastalCastleFix(document) == 0);
}

// The check of any map: every point it names lies on the map, and each fix it offers keeps the
// map's size and layer lengths; after a fix, the finding it mended is gone.
void RunCheck(const MapDocument &document)
{
    const CheckReport report = CheckMap(document);
    const PointGrid grid(document);
    for (const Finding &f : report.Findings) {
        TRELVIK_FUZZ_CHECK(!f.Code.empty() && !f.Text.empty());
        TRELVIK_FUZZ_CHECK(!f.At || grid.Holds(*f.At));
    }
    for (const Finding &f : report.Findings) {
        if (f.Fix == CheckFix::None)
            continue;
        MapDocument fixed = document;
        const bool changed = ApplyFix(fixed, f.Fix, f.At);
        TRELVIK_FUZZ_CHECK(changed == (fixed != document));
        TRELVIK_FUZZ_CHECK(fixed.Header.Width == document.Header.Width
                           && fixed.Header.Height == document.Header.Height);
        for (int k = 1; k <= kLayerCount; ++k)
            TRELVIK_FUZZ_CHECK(fixed.Layer(k).size() == document.Layer(k).size());
        if (f.Fix == CheckFix::RemoveMark)
            TRELVIK_FUZZ_CHECK(changed);
        break; // one fix per input keeps a run short
    }
}

// The recompute changes layers 9 and 13 only; finishing a damaged map for players (mirrored
// or not) either refuses and changes nothing, or marks that many headquarters with valid
// resources around, which the fairness report then finds.
void RunPlay(const MapDocument &document, int players, uint64_t seed, bool symmetric)
{
    RunCheck(document);
    if (const auto report = MeasureFairness(document, 1 + static_cast<int>(seed % 20)))
        TRELVIK_FUZZ_CHECK(report->Players.size() <= static_cast<std::size_t>(kMaxPlayers));
    MapDocument recomputed = document;
    ComputeShading(recomputed);
    ComputeBuildingQuality(recomputed);
    recomputed.Layer(9) = document.Layer(9);
    recomputed.Layer(13) = document.Layer(13);
    TRELVIK_FUZZ_CHECK(recomputed == document);

    MapDocument finished = document;
    const auto finish = FinishForPlay(finished, players, seed, symmetric);
    if (!finish) {
        TRELVIK_FUZZ_CHECK(finished == document);
        return;
    }
    TRELVIK_FUZZ_CHECK(!symmetric || players == 2 || players == 4);
    const auto report = MeasureFairness(finished);
    TRELVIK_FUZZ_CHECK(report && report->Players.size() >= finish->Sites.size());
    TRELVIK_FUZZ_CHECK(finish->Sites.size() == static_cast<std::size_t>(players));
    TRELVIK_FUZZ_CHECK(finished.Header.PlayerCount == players);
    TRELVIK_FUZZ_CHECK(FindHeadquartersMarks(finished).size() >= finish->Sites.size());
    TRELVIK_FUZZ_CHECK(
        std::all_of(finished.Layer(12).begin(), finished.Layer(12).end(), IsValidResource));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the name: a full-layout one, or a .dat one whose layout the file's
    // first bytes decide.
    const int selector = data[0] % 3;
    const std::string name = selector == 0 ? "fuzz.swd" : selector == 1 ? "fuzz.dat" : "FUZZ.DAT";
    const std::span<const uint8_t> bytes(data + 1, size - 1);
    const MapLayout layout = DetectLayout(name, bytes);
    static const MapDocument previous = [] {
        MapDocument doc;
        doc.Header.Title[0] = 'P';
        doc.Layer(3) = {5, 8, 9};
        doc.Animals = {{1, 2, 3}};
        return doc;
    }();
    MapDocument document = previous;
    const ReadResult result = ReadMapBytes(bytes, layout, document, name);
    if (!result.Ok()) {
        TRELVIK_FUZZ_CHECK(!result.Message.empty() && result.Outcome != ReadOutcome::CannotOpen);
        TRELVIK_FUZZ_CHECK(document == previous);
        TRELVIK_FUZZ_CHECK(layout == MapLayout::Dat || StartsWithSignature(bytes)
                           || result.Outcome == ReadOutcome::NotAMapFile);
        return 0;
    }
    CheckAccepted(layout, bytes, result, document);

    const MapHeader &header = document.Header;
    const std::string headquarters = HeadquartersText(header);
    TRELVIK_FUZZ_CHECK(std::count(headquarters.begin(), headquarters.end(), '\n') == 7);
    const auto firstEmpty = std::find_if(header.Areas.begin(), header.Areas.end(),
                                         [](const AreaEntry &area) { return area.Type == 0; });
    TRELVIK_FUZZ_CHECK(AreaRows(header).size()
                       == static_cast<std::size_t>(firstEmpty - header.Areas.begin()));
    TRELVIK_FUZZ_CHECK(UnknownBytesText(header).size() == 14 + 3 * kUnknownByteCount);

    const ComposedView composed = BuildComposedView(document);
    TRELVIK_FUZZ_CHECK(composed.size() == document.Layer(1).size());
    ColourTable table;
    for (int position = kFirstSelectorPosition; position <= kLastSelectorPosition; ++position)
        ShowPosition(document, composed, position, table);

    RunPlay(document, 1 + data[0] / 3 % 7, size, data[0] / 21 % 2 == 1);
    RunCastleFix(document);
    MapDocument withoutAnimals = document;
    RemoveAnimals(withoutAnimals);
    TRELVIK_FUZZ_CHECK(withoutAnimals.Animals.empty());
    withoutAnimals.Animals = document.Animals;
    TRELVIK_FUZZ_CHECK(withoutAnimals == document);
    MapDocument again; // after the fix, the map is written and read back whole
    TRELVIK_FUZZ_CHECK(ReadMapBytes(WriteMapBytes(document), MapLayout::Full, again).Ok()
                       && again == document);
    return 0;
}
