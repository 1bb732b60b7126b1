// What the desktop program does with a map it has just opened, on any file: read it, describe
// it, build the composed view, show every selector position (plan, colours, the part the view
// shows and the whole picture within its size limit), run the castle fix and the animal removal,
// then write the map and read it back. Every step must stay within the layers it was given,
// whatever sizes the header claims.

#include "document/code_tables.h"
#include "document/fixed_text_field.h"
#include "document/map_text.h"
#include "fuzz_check.h"
#include "map_input.h"
#include "tools/animal_removal.h"
#include "tools/coastal_castle_fix.h"
#include "viewer/composed_view.h"
#include "viewer/layer_image.h"
#include "viewer/view_refresh.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace trelvik;

// Two views: one about the size of the window's picture box, one narrow and tall so that
// pictures are cut on one side and centred on the other.
struct ViewSize
{
    int Width;
    int Height;
};
constexpr ViewSize kViews[] = {{160, 120}, {17, 300}};

// Compared with memcmp rather than a loop: the fuzzer instruments every comparison of a loop
// here, which made pictures of millions of points take seconds.
bool AllZero(std::span<const uint8_t> bytes)
{
    return bytes.empty()
           || (bytes[0] == 0 && std::memcmp(bytes.data(), bytes.data() + 1, bytes.size() - 1) == 0);
}

// Whether `row` shows the bytes from `index` on, and index 0 where they run out.
bool RowMatches(std::span<const uint8_t> row, std::span<const uint8_t> bytes, std::size_t index)
{
    const std::size_t known = index < bytes.size() ? std::min(row.size(), bytes.size() - index) : 0;
    return (known == 0 || std::memcmp(row.data(), bytes.data() + index, known) == 0)
           && AllZero(row.subspan(known));
}

// Reading a palette file costs more than all the rest of a run together, and the files never
// change while the fuzzer runs, so each file's whole load is done once and its result reused.
// Loads that stop part way depend on the table they start from and are always done afresh.
PaletteLoadResult ApplyColours(const RefreshPlan &plan, ColourTable &table)
{
    if (plan.Action != ColourAction::PaletteFile)
        return ApplyColourAction(plan, table);
    static std::map<std::string, std::pair<PaletteLoadResult, ColourTable>> loads;
    auto known = loads.find(plan.PalettePath);
    if (known == loads.end()) {
        ColourTable loaded;
        const PaletteLoadResult result = ApplyColourAction(plan, loaded);
        const bool whole = result.Ok() && result.EntriesStored == static_cast<int>(kColourCount);
        if (!whole && result.Outcome != PaletteOutcome::CannotOpen)
            return ApplyColourAction(plan, table);
        known = loads.emplace(plan.PalettePath, std::make_pair(result, loaded)).first;
    }
    if (known->second.first.Ok())
        table = known->second.second;
    return known->second.first;
}

// Centred along one side: the two margins, or the two parts cut off, differ by at most one, and
// the odd one goes to the right or the bottom.
void CheckCentred(int64_t spare, int64_t offset)
{
    const int64_t rest = spare - 2 * offset;
    if (spare >= 0)
        TRELVIK_FUZZ_CHECK(rest == 0 || rest == 1);
    else
        TRELVIK_FUZZ_CHECK(rest == 0 || rest == -1);
}

// A cut-out must be the clipped rectangle, pixel for pixel the bytes under it.
void CheckWindow(const IndexedImage &image,
                 std::span<const uint8_t> bytes,
                 int width,
                 int height,
                 int64_t left,
                 int64_t top,
                 int64_t windowWidth,
                 int64_t windowHeight)
{
    const int64_t x0 = std::max<int64_t>(left, 0);
    const int64_t y0 = std::max<int64_t>(top, 0);
    const int64_t w = std::max<int64_t>(0, std::min<int64_t>(left + windowWidth, width) - x0);
    const int64_t h = std::max<int64_t>(0, std::min<int64_t>(top + windowHeight, height) - y0);
    TRELVIK_FUZZ_CHECK(image.Pixels.size()
                       == static_cast<std::size_t>(image.Width)
                              * static_cast<std::size_t>(image.Height));
    if (w == 0 || h == 0) {
        TRELVIK_FUZZ_CHECK(image.Pixels.empty());
        return;
    }
    TRELVIK_FUZZ_CHECK(image.Width == w && image.Height == h);
    TRELVIK_FUZZ_CHECK(image.OriginX == x0 && image.OriginY == y0);
    const auto rowWidth = static_cast<std::size_t>(image.Width);
    for (int y = 0; y < image.Height; ++y) {
        const std::span<const uint8_t> row(
            image.Pixels.data() + static_cast<std::size_t>(y) * rowWidth, rowWidth);
        const auto index = static_cast<std::size_t>((y0 + y) * width + x0);
        TRELVIK_FUZZ_CHECK(RowMatches(row, bytes, index));
    }
}

void CheckWholePicture(const PictureResult &picture,
                       std::span<const uint8_t> bytes,
                       int width,
                       int height)
{
    const int64_t pixels = int64_t{width} * height;
    if (pixels > kMaxPicturePixels) {
        TRELVIK_FUZZ_CHECK(picture.Outcome == PictureOutcome::TooLarge);
        TRELVIK_FUZZ_CHECK(picture.Image.Pixels.empty());
        return;
    }
    TRELVIK_FUZZ_CHECK(picture.Ok());
    TRELVIK_FUZZ_CHECK(picture.Image.Width == width && picture.Image.Height == height);
    const std::vector<uint8_t> &out = picture.Image.Pixels;
    TRELVIK_FUZZ_CHECK(out.size() == static_cast<std::size_t>(pixels));
    TRELVIK_FUZZ_CHECK(RowMatches(out, bytes, 0));
}

void ShowPosition(const MapDocument &document,
                  const ComposedView &composed,
                  int position,
                  ColourTable &table)
{
    const RefreshPlan plan = PlanRefresh(document, position, TRELVIK_FUZZ_PALETTE_DIR);
    TRELVIK_FUZZ_CHECK(plan.Layer == position - 1);
    TRELVIK_FUZZ_CHECK(plan.MapInfo == MapInfoText(document, plan.Layer));
    const PaletteLoadResult colours = ApplyColours(plan, table);
    TRELVIK_FUZZ_CHECK(colours.EntriesStored <= static_cast<int>(kColourCount));
    // The world palettes that exist load whole; an unknown world has no palette file.
    if (plan.Action == ColourAction::PaletteFile && document.Header.WorldType <= 2)
        TRELVIK_FUZZ_CHECK(colours.Ok());

    const std::span<const uint8_t> bytes = PlannedBytes(plan, document, composed);
    const int width = document.Header.Width;
    const int height = document.Header.Height;

    for (const ViewSize view : kViews) {
        const IndexedImage visible =
            RenderVisiblePart(bytes, width, height, view.Width, view.Height);
        TRELVIK_FUZZ_CHECK(visible.Width == std::min(width, view.Width));
        TRELVIK_FUZZ_CHECK(visible.Height == std::min(height, view.Height));
        const ViewOffset offset = CentreInView(width, height, view.Width, view.Height);
        CheckCentred(view.Width - width, offset.Left);
        CheckCentred(view.Height - height, offset.Top);
        CheckWindow(visible, bytes, width, height, -offset.Left, -offset.Top, view.Width,
                    view.Height);
    }

    // The colours of what the larger view shows, as the window hands them to the screen.
    const IndexedImage shown =
        RenderVisiblePart(bytes, width, height, kViews[0].Width, kViews[0].Height);
    const std::vector<uint8_t> rgb = ToRgb(shown, table);
    TRELVIK_FUZZ_CHECK(rgb.size() == shown.Pixels.size() * 3);
    if (!rgb.empty())
        TRELVIK_FUZZ_CHECK(rgb[0] == table.Entries[shown.Pixels[0]].Red
                           && rgb[2] == table.Entries[shown.Pixels[0]].Blue);

    // A window scrolled to the first player's headquarters, which a damaged header may put
    // anywhere, including far outside the map.
    const int hqX = document.Header.HeadquartersX[0];
    const int hqY = document.Header.HeadquartersY[0];
    const IndexedImage window = RenderLayerWindow(bytes, width, height, hqX, hqY, 64, 48);
    CheckWindow(window, bytes, width, height, hqX, hqY, 64, 48);

    CheckWholePicture(RenderLayerImage(bytes, width, height), bytes, width, height);
}

void DescribeMap(const MapDocument &document)
{
    const MapHeader &header = document.Header;
    const std::string headquarters = HeadquartersText(header);
    TRELVIK_FUZZ_CHECK(std::count(headquarters.begin(), headquarters.end(), '\n')
                       == kHeadquartersCount);
    const std::vector<std::string> areas = AreaRows(header);
    const auto firstEmpty = std::find_if(header.Areas.begin(), header.Areas.end(),
                                         [](const AreaEntry &area) { return area.Type == 0; });
    TRELVIK_FUZZ_CHECK(areas.size() == static_cast<std::size_t>(firstEmpty - header.Areas.begin()));
    for (const AnimalEntry &animal : document.Animals)
        TRELVIK_FUZZ_CHECK(!AnimalRow(animal).empty());
    TRELVIK_FUZZ_CHECK(UnknownBytesText(header).size() == 14 + 3 * kUnknownByteCount);
    TRELVIK_FUZZ_CHECK(!SizeText(header).empty() && !WorldTypeName(header.WorldType).empty());
    TRELVIK_FUZZ_CHECK(FixedTextField::Display(header.Title).size() <= 3 * kTitleSize);
    TRELVIK_FUZZ_CHECK(FixedTextField::Display(header.Author).size() <= 3 * kAuthorSize);
    TRELVIK_FUZZ_CHECK(!FooterSizeLine(document.Animals.size()).empty());
}

// The castle fix only ever adds the harbour bit to castle sites of layer 2, counts exactly the
// points it marked, and finds nothing more to do the second time.
void RunCastleFix(MapDocument &document)
{
    const MapDocument before = document;
    const int32_t marked = CoastalCastleFix(document);
    const MapLayer &was = before.Layer(2);
    const MapLayer &now = document.Layer(2);
    TRELVIK_FUZZ_CHECK(now.size() == was.size());
    int32_t changed = 0;
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (now[i] == was[i])
            continue;
        ++changed;
        TRELVIK_FUZZ_CHECK((was[i] & kHarbourBit) == 0 && now[i] == (was[i] | kHarbourBit));
        TRELVIK_FUZZ_CHECK(i < document.Layer(9).size() && document.Layer(9)[i] == kCastleSite);
    }
    TRELVIK_FUZZ_CHECK(marked == changed);
    MapDocument onlyLayer2 = before;
    onlyLayer2.Layer(2) = now;
    TRELVIK_FUZZ_CHECK(onlyLayer2 == document);

    const MapDocument once = document;
    TRELVIK_FUZZ_CHECK(CoastalCastleFix(document) == 0);
    TRELVIK_FUZZ_CHECK(document == once);
}

void RemoveAnimalsFromCopy(const MapDocument &document)
{
    MapDocument copy = document;
    RemoveAnimals(copy);
    TRELVIK_FUZZ_CHECK(copy.Animals.empty());
    copy.Animals = document.Animals;
    TRELVIK_FUZZ_CHECK(copy == document);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const auto input = fuzz::SplitMapInput(data, size);
    if (!input)
        return 0;
    static const MapDocument previous = fuzz::MakeSmallMap(48, 32, 100, 1, 2);
    MapDocument document = previous;
    const ReadResult result = ReadMapBytes(input->Bytes, input->Layout, document, input->Name);
    fuzz::CheckRead(*input, result, previous, document);
    if (!result.Ok())
        return 0;

    DescribeMap(document);
    const ComposedView composed = BuildComposedView(document);
    TRELVIK_FUZZ_CHECK(composed.size() == document.Layer(1).size());

    ColourTable table;
    for (int position = kFirstSelectorPosition; position <= kLastSelectorPosition; ++position)
        ShowPosition(document, composed, position, table);
    // Positions outside the selector's range show the composed view.
    TRELVIK_FUZZ_CHECK(PlanRefresh(document, 0, "").Layer == 0);
    TRELVIK_FUZZ_CHECK(PlanRefresh(document, kLastSelectorPosition + 1, "").Layer == 0);

    RunCastleFix(document);
    RemoveAnimalsFromCopy(document);
    fuzz::CheckRoundTrip(document);
    return 0;
}
