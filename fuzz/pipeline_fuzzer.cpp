// What the program does with a map file, on any file: read it (accepted or rejected cleanly, a
// rejected file leaving the map open before untouched), describe it, build the composed view,
// show every selector position (plan, colours, the part a view shows, a window scrolled to the
// first headquarters, the whole picture within its size limit), run the castle fix and the
// animal removal, then write the map and read it back. Every step must stay within the layers
// it was given, whatever sizes the header claims.

#include "document/fixed_text_field.h"
#include "document/map_file.h"
#include "document/map_text.h"
#include "fuzz_check.h"
#include "tools/animal_removal.h"
#include "tools/coastal_castle_fix.h"
#include "viewer/layer_image.h"
#include "viewer/view_refresh.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace {

using namespace trelvik;

constexpr std::string_view kSignature = "WORLD_V1.0";

// Plain little-endian decoding, kept apart from the reader's own so the checks do not share
// its mistakes.
int32_t LittleEndian(std::span<const uint8_t> bytes, std::size_t offset, std::size_t width)
{
    uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i)
        value |= uint32_t{bytes[offset + i]} << (8 * i);
    if (width == 2)
        return static_cast<int16_t>(static_cast<uint16_t>(value));
    return static_cast<int32_t>(value);
}

bool StartsWithSignature(std::span<const uint8_t> bytes)
{
    return bytes.size() >= kSignature.size()
           && std::equal(kSignature.begin(), kSignature.end(), bytes.begin(),
                         [](char c, uint8_t b) { return static_cast<uint8_t>(c) == b; });
}

// On success the header fields, every layer and the animal count match a walk over the file
// done here, apart from the reader.
void CheckAccepted(MapLayout layout,
                   std::span<const uint8_t> bytes,
                   const ReadResult &result,
                   const MapDocument &document)
{
    const MapHeader &header = document.Header;
    TRELVIK_FUZZ_CHECK(result.Message.empty());
    TRELVIK_FUZZ_CHECK(FixedTextField::Read(header.Signature) == kSignature);
    TRELVIK_FUZZ_CHECK(header.Width >= 32 && header.Height >= 32);

    std::size_t offset = 0;
    if (layout == MapLayout::Full) {
        TRELVIK_FUZZ_CHECK(StartsWithSignature(bytes));
        TRELVIK_FUZZ_CHECK(bytes.size() >= kMapHeaderSize);
        TRELVIK_FUZZ_CHECK(header.WorldType == bytes[34]);
        TRELVIK_FUZZ_CHECK(header.Areas[249].Size == LittleEndian(bytes, 92 + 9 * 249 + 5, 4));
        offset = kMapHeaderSize;
    } else {
        TRELVIK_FUZZ_CHECK(bytes.size() >= kDatHeaderSize);
        TRELVIK_FUZZ_CHECK(FixedTextField::Display(header.Title) == "Unknown");
        TRELVIK_FUZZ_CHECK(header.WidthCopy == header.Width && header.WorldType == 0);
        offset = kDatHeaderSize;
    }
    TRELVIK_FUZZ_CHECK(header.Width == LittleEndian(bytes, offset - 4, 2));
    TRELVIK_FUZZ_CHECK(header.Height == LittleEndian(bytes, offset - 2, 2));

    for (int k = 1; k <= kLayerCount; ++k) {
        TRELVIK_FUZZ_CHECK(bytes.size() - offset >= kBlockHeaderSize);
        const int32_t length = LittleEndian(bytes, offset + 12, 4);
        TRELVIK_FUZZ_CHECK(document.BlockHeader(k).DataLength == length);
        TRELVIK_FUZZ_CHECK(document.BlockHeader(k).Width == LittleEndian(bytes, offset + 6, 2));
        offset += kBlockHeaderSize;
        TRELVIK_FUZZ_CHECK(length >= 0);
        const auto size = static_cast<std::size_t>(length);
        TRELVIK_FUZZ_CHECK(bytes.size() - offset >= size);
        const MapLayer &layer = document.Layer(k);
        TRELVIK_FUZZ_CHECK(layer.size() == size);
        TRELVIK_FUZZ_CHECK(std::equal(layer.begin(), layer.end(),
                                      bytes.begin() + static_cast<std::ptrdiff_t>(offset)));
        offset += size;
    }

    const std::size_t animals = (bytes.size() - offset) / kAnimalEntrySize;
    TRELVIK_FUZZ_CHECK(result.AnimalCount == animals);
    TRELVIK_FUZZ_CHECK(document.Animals.size() == animals);
    if (animals > 0) {
        const std::size_t last = offset + (animals - 1) * kAnimalEntrySize;
        TRELVIK_FUZZ_CHECK(document.Animals.back().Species == bytes[last]);
        TRELVIK_FUZZ_CHECK(document.Animals.back().Y == LittleEndian(bytes, last + 3, 2));
    }
}

// Written and read back in the full layout, the map is the same and writes the same bytes.
void CheckRoundTrip(const MapDocument &document)
{
    const std::vector<uint8_t> bytes = WriteMapBytes(document);
    std::size_t expected = kMapHeaderSize + document.Animals.size() * kAnimalEntrySize + 1;
    for (const MapLayer &layer : document.Layers)
        expected += kBlockHeaderSize + layer.size();
    TRELVIK_FUZZ_CHECK(bytes.size() == expected);
    TRELVIK_FUZZ_CHECK(bytes.back() == 0xFF);

    MapDocument again;
    const ReadResult result = ReadMapBytes(bytes, MapLayout::Full, again, "again.swd");
    TRELVIK_FUZZ_CHECK(result.Ok());
    TRELVIK_FUZZ_CHECK(again == document);
    TRELVIK_FUZZ_CHECK(WriteMapBytes(again) == bytes);
}

// Whether `row` shows the bytes from `index` on, and index 0 where they run out. Compared with
// memcmp: the fuzzer instruments every comparison of a loop, which made big pictures slow.
bool RowMatches(std::span<const uint8_t> row, std::span<const uint8_t> bytes, std::size_t index)
{
    const std::size_t known = index < bytes.size() ? std::min(row.size(), bytes.size() - index) : 0;
    const std::span<const uint8_t> rest = row.subspan(known);
    return (known == 0 || std::memcmp(row.data(), bytes.data() + index, known) == 0)
           && (rest.empty()
               || (rest[0] == 0
                   && std::memcmp(rest.data(), rest.data() + 1, rest.size() - 1) == 0));
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
    TRELVIK_FUZZ_CHECK(image.Pixels.size() == static_cast<std::size_t>(image.Width * image.Height));
    if (w == 0 || h == 0) {
        TRELVIK_FUZZ_CHECK(image.Pixels.empty());
        return;
    }
    TRELVIK_FUZZ_CHECK(image.Width == w && image.Height == h);
    TRELVIK_FUZZ_CHECK(image.OriginX == x0 && image.OriginY == y0);
    for (int y = 0; y < image.Height; ++y) {
        const auto row = std::span(image.Pixels)
                             .subspan(static_cast<std::size_t>(y * image.Width),
                                      static_cast<std::size_t>(image.Width));
        TRELVIK_FUZZ_CHECK(RowMatches(row, bytes, static_cast<std::size_t>((y0 + y) * width + x0)));
    }
}

// Palette files never change while the fuzzer runs: each whole load is done once.
PaletteLoadResult ApplyColours(const RefreshPlan &plan, ColourTable &table)
{
    static std::map<std::string, std::pair<PaletteLoadResult, ColourTable>> loads;
    if (plan.Action != ColourAction::PaletteFile)
        return ApplyColourAction(plan, table);
    auto known = loads.find(plan.PalettePath);
    if (known == loads.end()) {
        ColourTable loaded;
        const PaletteLoadResult result = ApplyColourAction(plan, loaded);
        if (!result.Ok() && result.Outcome != PaletteOutcome::CannotOpen)
            return ApplyColourAction(plan, table); // a part load depends on the table before
        known = loads.emplace(plan.PalettePath, std::pair(result, loaded)).first;
    }
    if (known->second.first.Ok())
        table = known->second.second;
    return known->second.first;
}

void ShowPosition(const MapDocument &document,
                  const ComposedView &composed,
                  int position,
                  ColourTable &table)
{
    const RefreshPlan plan = PlanRefresh(document, position, TRELVIK_FUZZ_PALETTE_DIR);
    TRELVIK_FUZZ_CHECK(plan.Layer == position - 1);
    const PaletteLoadResult colours = ApplyColours(plan, table);
    if (plan.Action == ColourAction::PaletteFile && document.Header.WorldType <= 2)
        TRELVIK_FUZZ_CHECK(colours.Ok()); // the shipped palettes load whole
    const std::span<const uint8_t> bytes = PlannedBytes(plan, document, composed);
    const int width = document.Header.Width;
    const int height = document.Header.Height;
    // A narrow, tall view cuts the picture on one side and centres it on the other; the odd
    // pixel of a margin or of what is cut off goes to the right or the bottom.
    for (const auto &[viewWidth, viewHeight] : {std::pair{160, 120}, {17, 300}}) {
        const IndexedImage visible = RenderVisiblePart(bytes, width, height, viewWidth, viewHeight);
        const ViewOffset offset = CentreInView(width, height, viewWidth, viewHeight);
        for (const auto &[spare, start] :
             {std::pair<int64_t, int64_t>{viewWidth - width, offset.Left},
              {viewHeight - height, offset.Top}})
            TRELVIK_FUZZ_CHECK(spare - 2 * start == 0
                               || spare - 2 * start == (spare >= 0 ? 1 : -1));
        CheckWindow(visible, bytes, width, height, -offset.Left, -offset.Top, viewWidth,
                    viewHeight);
        const std::vector<uint8_t> rgb = ToRgb(visible, table);
        TRELVIK_FUZZ_CHECK(rgb.size() == visible.Pixels.size() * 3);
        TRELVIK_FUZZ_CHECK(rgb.empty() || rgb[2] == table.Entries[visible.Pixels[0]].Blue);
    }
    const int hqX = document.Header.HeadquartersX[0];
    const int hqY = document.Header.HeadquartersY[0];
    CheckWindow(RenderLayerWindow(bytes, width, height, hqX, hqY, 64, 48), bytes, width, height,
                hqX, hqY, 64, 48);
    const PictureResult whole = RenderLayerImage(bytes, width, height);
    if (int64_t{width} * height > kMaxPicturePixels) {
        TRELVIK_FUZZ_CHECK(!whole.Ok() && whole.Image.Pixels.empty());
        return;
    }
    TRELVIK_FUZZ_CHECK(whole.Ok());
    CheckWindow(whole.Image, bytes, width, height, 0, 0, width, height);
}

// The castle fix only adds the harbour bit to castle sites of layer 2, counts exactly the points
// it marked, and finds nothing more to do the second time.
void RunCastleFix(MapDocument &document)
{
    const MapDocument before = document;
    const int32_t marked = CoastalCastleFix(document);
    int32_t changed = 0;
    for (std::size_t i = 0; i < document.Layer(2).size(); ++i) {
        const uint8_t was = before.Layer(2)[i];
        const uint8_t now = document.Layer(2)[i];
        if (now == was)
            continue;
        ++changed;
        TRELVIK_FUZZ_CHECK((was & kHarbourBit) == 0 && now == (was | kHarbourBit));
        TRELVIK_FUZZ_CHECK(i < document.Layer(9).size() && document.Layer(9)[i] == kCastleSite);
    }
    TRELVIK_FUZZ_CHECK(marked == changed);
    MapDocument onlyLayer2 = before;
    onlyLayer2.Layer(2) = document.Layer(2);
    TRELVIK_FUZZ_CHECK(onlyLayer2 == document);
    TRELVIK_FUZZ_CHECK(CoastalCastleFix(document) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the reading: full layout, .dat, or full layout under a .DAT name.
    const int selector = data[0] % 3;
    const MapLayout layout = selector == 1 ? MapLayout::Dat : MapLayout::Full;
    const std::span<const uint8_t> bytes(data + 1, size - 1);
    static const MapDocument previous = [] {
        MapDocument doc;
        doc.Header.Title[0] = 'P';
        doc.Layer(3) = {5, 8, 9};
        doc.Animals = {{1, 2, 3}};
        return doc;
    }();
    MapDocument document = previous;
    const ReadResult result = ReadMapBytes(bytes, layout, document,
                                           selector == 0   ? "fuzz.swd"
                                           : selector == 1 ? "fuzz.dat"
                                                           : "FUZZ.DAT");
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

    RunCastleFix(document);
    MapDocument withoutAnimals = document;
    RemoveAnimals(withoutAnimals);
    TRELVIK_FUZZ_CHECK(withoutAnimals.Animals.empty());
    withoutAnimals.Animals = document.Animals;
    TRELVIK_FUZZ_CHECK(withoutAnimals == document);
    CheckRoundTrip(document);
    return 0;
}
