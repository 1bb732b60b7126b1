#include "map_input.h"

#include "document/fixed_text_field.h"
#include "fuzz_check.h"

#include <algorithm>
#include <string_view>

namespace trelvik::fuzz {
namespace {

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

void CheckAccepted(const MapInput &input, const ReadResult &result, const MapDocument &document)
{
    const std::span<const uint8_t> bytes = input.Bytes;
    const MapHeader &header = document.Header;
    TRELVIK_FUZZ_CHECK(result.Message.empty());
    TRELVIK_FUZZ_CHECK(FixedTextField::Read(header.Signature) == kSignature);
    TRELVIK_FUZZ_CHECK(header.Width >= 32 && header.Height >= 32);

    std::size_t offset = 0;
    if (input.Layout == MapLayout::Full) {
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

} // namespace

std::optional<MapInput> SplitMapInput(const uint8_t *data, std::size_t size)
{
    if (size == 0)
        return std::nullopt;
    MapInput input;
    switch (static_cast<MapSelector>(data[0] % kMapSelectorCount)) {
    case MapSelector::Full:
        input.Layout = MapLayout::Full;
        input.Name = "fuzz.swd";
        break;
    case MapSelector::Dat:
        input.Layout = MapLayout::Dat;
        input.Name = "fuzz.dat";
        break;
    case MapSelector::FullNamedDat:
        input.Layout = MapLayout::Full;
        input.Name = "FUZZ.DAT";
        break;
    }
    input.Bytes = std::span<const uint8_t>(data + 1, size - 1);
    return input;
}

void CheckRead(const MapInput &input,
               const ReadResult &result,
               const MapDocument &before,
               const MapDocument &document)
{
    if (result.Ok()) {
        CheckAccepted(input, result, document);
        return;
    }
    TRELVIK_FUZZ_CHECK(!result.Message.empty());
    TRELVIK_FUZZ_CHECK(result.Outcome != ReadOutcome::CannotOpen);
    TRELVIK_FUZZ_CHECK(document == before);
    if (input.Layout == MapLayout::Full && !StartsWithSignature(input.Bytes))
        TRELVIK_FUZZ_CHECK(result.Outcome == ReadOutcome::NotAMapFile);
}

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

MapDocument MakeSmallMap(
    int16_t width, int16_t height, std::size_t layerLength, std::size_t animals, uint8_t worldType)
{
    MapDocument doc;
    MapHeader &h = doc.Header;
    FixedTextField::Store(h.Signature, kSignature);
    FixedTextField::Store(h.Title, "Fuzz Seed");
    FixedTextField::Store(h.Author, "Trelvik");
    h.WidthCopy = width;
    h.HeightCopy = height;
    h.WorldType = worldType;
    h.PlayerCount = 2;
    h.HeadquartersX[0] = 10;
    h.HeadquartersY[0] = 12;
    h.Areas[0] = AreaEntry{1, 5, 6, 700};
    h.Areas[1] = AreaEntry{2, 20, 21, 300};
    h.Marker = {0x11, 0x27};
    h.Width = width;
    h.Height = height;
    const auto w = static_cast<std::size_t>(std::max<int16_t>(width, 1));
    for (int k = 1; k <= kLayerCount; ++k) {
        doc.BlockHeader(k) =
            LayerBlockHeader{{0x10, 0x27}, 0, width, height, 1, static_cast<int32_t>(layerLength)};
        MapLayer &layer = doc.Layer(k);
        layer.resize(layerLength);
        for (std::size_t i = 0; i < layerLength; ++i) {
            const std::size_t x = i % w;
            const std::size_t y = i / w;
            uint8_t value = static_cast<uint8_t>((i * 7 + static_cast<std::size_t>(k) * 31) & 0xFF);
            if (k == 2)
                value = x % 9 == 0 ? 5 : 8;
            else if (k == 3)
                value = y % 11 == 0 ? 19 : static_cast<uint8_t>(x % 20);
            else if (k == 9)
                value = (x + y) % 3 == 0 ? 4 : 1;
            else if (k == 13)
                value = static_cast<uint8_t>(i % 256);
            layer[i] = value;
        }
    }
    for (std::size_t a = 0; a < animals; ++a) {
        doc.Animals.push_back(AnimalEntry{static_cast<uint8_t>(a % 11), static_cast<int16_t>(a),
                                          static_cast<int16_t>(a * 2)});
    }
    return doc;
}

} // namespace trelvik::fuzz
