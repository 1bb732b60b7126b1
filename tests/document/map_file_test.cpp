#include "document/fixed_text_field.h"
#include "document/map_file.h"
#include "test_maps.h"

#include <gtest/gtest.h>

namespace trelvik {
namespace {

using test::MakeDocument;

void PutI16(std::vector<uint8_t> &bytes, std::size_t offset, int16_t value)
{
    bytes[offset] = static_cast<uint8_t>(static_cast<uint16_t>(value) & 0xFF);
    bytes[offset + 1] = static_cast<uint8_t>(static_cast<uint16_t>(value) >> 8);
}

void PutI32(std::vector<uint8_t> &bytes, std::size_t offset, int32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<uint8_t>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
}

// Offset of the DataLength field of block k (1-based) in a file of equal-sized blocks.
std::size_t DataLengthOffset(int k, std::size_t layerSize)
{
    return kMapHeaderSize + static_cast<std::size_t>(k - 1) * (kBlockHeaderSize + layerSize) + 12;
}

TEST(MapFileLayout, FieldsLieAtTheirOffsets)
{
    MapDocument doc = MakeDocument(64, 48, 1);
    doc.Header.Areas[249] = AreaEntry{2, 0x0102, 0x0304, 0x05060708};
    const std::vector<uint8_t> bytes = WriteMapBytes(doc);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 10), "WORLD_V1.0");
    EXPECT_EQ(bytes[10], 'T');
    EXPECT_EQ(bytes[30], 64);   // WidthCopy
    EXPECT_EQ(bytes[32], 48);   // HeightCopy
    EXPECT_EQ(bytes[34], 1);    // WorldType
    EXPECT_EQ(bytes[35], 3);    // PlayerCount
    EXPECT_EQ(bytes[36], 'T');  // Author
    EXPECT_EQ(bytes[56], 1);    // HeadquartersX[0]
    EXPECT_EQ(bytes[70], 0xFF); // HeadquartersY[0] = -1, little-endian
    EXPECT_EQ(bytes[71], 0xFF);
    EXPECT_EQ(bytes[84], 0x01); // UnknownBytes
    EXPECT_EQ(bytes[85], 0xAB);
    EXPECT_EQ(bytes[92], 1); // Areas[0].Type
    const std::size_t last = 92 + 9 * 249;
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(last),
                                   bytes.begin() + static_cast<std::ptrdiff_t>(last + 9)),
              (std::vector<uint8_t>{2, 0x02, 0x01, 0x04, 0x03, 0x08, 0x07, 0x06, 0x05}));
    EXPECT_EQ(bytes[2342], 0x11);
    EXPECT_EQ(bytes[2343], 0x27);
    EXPECT_EQ(bytes[2348], 64);
    EXPECT_EQ(bytes[2350], 48);
    // Block 2 starts at 2352 + (16 + W * H).
    const std::size_t block2 = kMapHeaderSize + 16 + 64 * 48;
    EXPECT_EQ(bytes[block2], 0x10);
    EXPECT_EQ(bytes[block2 + 1], 0x27);
    EXPECT_EQ(bytes[block2 + 10], 1);                // One
    EXPECT_EQ(bytes[block2 + 12], (64 * 48) & 0xFF); // DataLength
    EXPECT_EQ(bytes.back(), 0xFF);
}

TEST(MapFileLayout, SixtyFourSquareMapIs59921Bytes)
{
    EXPECT_EQ(WriteMapBytes(MakeDocument(64, 64)).size(), 59921u);
    EXPECT_EQ(WriteMapBytes(MakeDocument(64, 64, 3)).size(), 59921u + 15);
}

TEST(MapFileRead, RoundTripIsExact)
{
    for (std::size_t animals : {0, 1, 3, 1000}) {
        const MapDocument doc = MakeDocument(80, 32, animals);
        const std::vector<uint8_t> bytes = WriteMapBytes(doc);
        MapDocument read;
        const ReadResult result = ReadMapBytes(bytes, MapLayout::Full, read);
        ASSERT_TRUE(result.Ok()) << result.Message;
        EXPECT_EQ(result.AnimalCount, animals);
        EXPECT_EQ(read, doc);
        EXPECT_EQ(WriteMapBytes(read), bytes);
    }
}

TEST(MapFileRead, AnimalCountComesFromTheRemainingLength)
{
    std::vector<uint8_t> bytes = WriteMapBytes(MakeDocument(32, 32, 3));
    MapDocument read;
    ASSERT_TRUE(ReadMapBytes(bytes, MapLayout::Full, read).Ok());
    EXPECT_EQ(read.Animals.size(), 3u); // 16 bytes remain: 3 whole entries and the final byte

    bytes.pop_back(); // without the final byte: 15 bytes, still 3
    ASSERT_TRUE(ReadMapBytes(bytes, MapLayout::Full, read).Ok());
    EXPECT_EQ(read.Animals.size(), 3u);

    bytes.resize(bytes.size() - 15); // ends right after block 14
    ASSERT_TRUE(ReadMapBytes(bytes, MapLayout::Full, read).Ok());
    EXPECT_TRUE(read.Animals.empty());

    bytes.insert(bytes.end(), {5, 1, 0, 2, 0, 9, 9, 9, 9}); // one entry and four loose bytes
    ASSERT_TRUE(ReadMapBytes(bytes, MapLayout::Full, read).Ok());
    ASSERT_EQ(read.Animals.size(), 1u);
    EXPECT_EQ(read.Animals[0], (AnimalEntry{5, 1, 2}));
}

TEST(MapFileRead, SignatureMustMatchExactly)
{
    const std::vector<uint8_t> good = WriteMapBytes(MakeDocument(32, 32));
    for (std::size_t i = 0; i < 10; ++i) {
        std::vector<uint8_t> bytes = good;
        bytes[i] = static_cast<uint8_t>(bytes[i] ^ 0x20); // flips letter case, or '_' to DEL
        MapDocument read;
        const ReadResult result = ReadMapBytes(bytes, MapLayout::Full, read);
        EXPECT_EQ(result.Outcome, ReadOutcome::NotAMapFile) << "byte " << i;
        EXPECT_EQ(result.Message, "Not a Settlers II map file");
    }
    MapDocument read;
    EXPECT_EQ(ReadMapBytes({}, MapLayout::Full, read).Outcome, ReadOutcome::NotAMapFile);
    const std::vector<uint8_t> shortFile(good.begin(), good.begin() + 9);
    EXPECT_EQ(ReadMapBytes(shortFile, MapLayout::Full, read).Outcome, ReadOutcome::NotAMapFile);
}

TEST(MapFileRead, EachSideMustBeAtLeast32)
{
    struct Case
    {
        int16_t Width, Height;
        bool Accepted;
    };
    for (const Case c :
         {Case{32, 32, true}, Case{31, 64, false}, Case{64, 31, false}, Case{0, 64, false},
          Case{-64, 64, false}, Case{64, -32, false}, Case{32767, 32, true}}) {
        // Claimed sizes are never checked against the layers, so small layers do.
        MapDocument doc = MakeDocument(32, 32);
        doc.Header.Width = c.Width;
        doc.Header.Height = c.Height;
        MapDocument read;
        const ReadResult result = ReadMapBytes(WriteMapBytes(doc), MapLayout::Full, read);
        if (c.Accepted) {
            EXPECT_TRUE(result.Ok()) << c.Width << "x" << c.Height;
        } else {
            EXPECT_EQ(result.Outcome, ReadOutcome::InvalidMapSize) << c.Width << "x" << c.Height;
            EXPECT_EQ(result.Message, "Invalid map size");
        }
    }
}

std::vector<uint8_t> DatBytes(const MapDocument &doc)
{
    std::vector<uint8_t> full = WriteMapBytes(doc);
    return std::vector<uint8_t>(full.begin() + kMapHeaderSize - kDatHeaderSize, full.end());
}

TEST(MapFileRead, DatFilesGetTheFixedHeaderValues)
{
    const MapDocument doc = MakeDocument(48, 32, 2);
    MapDocument read;
    ASSERT_TRUE(ReadMapBytes(DatBytes(doc), MapLayout::Dat, read).Ok());
    const MapHeader &h = read.Header;
    EXPECT_EQ(FixedTextField::Display(h.Title), "Unknown");
    EXPECT_EQ(FixedTextField::Display(h.Author), "Blue Byte");
    EXPECT_EQ(FixedTextField::Read(h.Signature), "WORLD_V1.0");
    EXPECT_EQ(h.WorldType, 0);
    EXPECT_EQ(h.PlayerCount, 1);
    EXPECT_EQ(h.WidthCopy, 48);
    EXPECT_EQ(h.HeightCopy, 32);
    EXPECT_EQ(h.Width, 48);
    EXPECT_EQ(h.Marker, doc.Header.Marker);
    EXPECT_EQ(h.HeadquartersX, (std::array<int16_t, 7>{}));
    EXPECT_EQ(h.UnknownBytes, (std::array<uint8_t, 8>{}));
    EXPECT_EQ(h.Areas, (std::array<AreaEntry, 250>{}));
    EXPECT_EQ(read.Layers, doc.Layers);
    EXPECT_EQ(read.BlockHeaders, doc.BlockHeaders);
    EXPECT_EQ(read.Animals, doc.Animals);
}

TEST(MapFileRead, DatSizeIsCheckedToo)
{
    MapDocument doc = MakeDocument(32, 32);
    doc.Header.Height = 16;
    MapDocument read;
    EXPECT_EQ(ReadMapBytes(DatBytes(doc), MapLayout::Dat, read).Outcome,
              ReadOutcome::InvalidMapSize);
}

TEST(MapFileRead, LayoutComesFromTheLastFourCharacters)
{
    EXPECT_EQ(LayoutForFileName("MAP00.DAT"), MapLayout::Dat);
    EXPECT_EQ(LayoutForFileName("/x/y/map.Dat"), MapLayout::Dat);
    EXPECT_EQ(LayoutForFileName(".dat"), MapLayout::Dat);
    EXPECT_EQ(LayoutForFileName("map.dat.wld"), MapLayout::Full);
    EXPECT_EQ(LayoutForFileName("map.swd"), MapLayout::Full);
    EXPECT_EQ(LayoutForFileName("dat"), MapLayout::Full);
    EXPECT_EQ(LayoutForFileName("mapdat"), MapLayout::Full);
}

TEST(MapFileRead, DamagedBlocksAreRejectedWithoutAllocating)
{
    const std::size_t layer = 32 * 32;
    const std::vector<uint8_t> good = WriteMapBytes(MakeDocument(32, 32));
    struct Case
    {
        int Block;
        int32_t Length;
    };
    // Negative, 2 GB in a small file, and one byte more than what is left.
    for (const Case c : {Case{1, -1}, Case{5, INT32_MIN}, Case{3, INT32_MAX},
                         Case{14, static_cast<int32_t>(layer + 2)}}) {
        std::vector<uint8_t> bytes = good;
        PutI32(bytes, DataLengthOffset(c.Block, layer), c.Length);
        MapDocument read;
        const ReadResult result = ReadMapBytes(bytes, MapLayout::Full, read, "bad.swd");
        EXPECT_EQ(result.Outcome, ReadOutcome::Damaged) << c.Block << " " << c.Length;
        EXPECT_NE(result.Message.find("bad.swd"), std::string::npos);
        EXPECT_NE(result.Message.find("block " + std::to_string(c.Block)), std::string::npos);
    }
}

TEST(MapFileRead, ZeroLengthGivesAnEmptyLayer)
{
    MapDocument doc = MakeDocument(32, 32);
    doc.Layer(4).clear();
    doc.BlockHeader(4).DataLength = 0;
    MapDocument read;
    ASSERT_TRUE(ReadMapBytes(WriteMapBytes(doc), MapLayout::Full, read).Ok());
    EXPECT_TRUE(read.Layer(4).empty());
    EXPECT_EQ(read, doc);
}

TEST(MapFileRead, OtherBlockFieldsAreCarriedAsRead)
{
    MapDocument doc = MakeDocument(32, 32);
    doc.BlockHeader(2) = LayerBlockHeader{{0xAA, 0x55}, -7, 1000, -3, 12345, 1024};
    MapDocument read;
    ASSERT_TRUE(ReadMapBytes(WriteMapBytes(doc), MapLayout::Full, read).Ok());
    EXPECT_EQ(read.BlockHeader(2), doc.BlockHeader(2));
}

TEST(MapFileRead, TruncationAtEveryOffsetIsRejectedOrReadsWhatIsThere)
{
    // Short layers (block k holds k bytes) keep the file small enough to cut at every offset.
    MapDocument doc = MakeDocument(32, 32, 2);
    for (int k = 1; k <= kLayerCount; ++k) {
        doc.Layer(k).resize(static_cast<std::size_t>(k));
        doc.BlockHeader(k).DataLength = k;
    }
    const MapDocument previous = MakeDocument(32, 32, 1);
    const std::vector<uint8_t> full = WriteMapBytes(doc);
    const std::size_t blocksEnd = full.size() - 2 * kAnimalEntrySize - 1;
    for (MapLayout layout : {MapLayout::Full, MapLayout::Dat}) {
        const std::vector<uint8_t> file = layout == MapLayout::Full ? full : DatBytes(doc);
        const std::size_t headerCut = full.size() - file.size();
        for (std::size_t size = 0; size < file.size(); ++size) {
            const std::vector<uint8_t> cut(file.begin(),
                                           file.begin() + static_cast<std::ptrdiff_t>(size));
            MapDocument read = previous;
            const ReadResult result = ReadMapBytes(cut, layout, read);
            if (size + headerCut >= blocksEnd) {
                // Every block is whole; only animals can be missing.
                ASSERT_TRUE(result.Ok()) << size;
                EXPECT_EQ(read.Layers, doc.Layers);
                EXPECT_EQ(read.Animals.size(), (size + headerCut - blocksEnd) / 5);
            } else {
                ASSERT_FALSE(result.Ok()) << size;
                EXPECT_EQ(read, previous) << size;
                if (layout == MapLayout::Dat || size >= kSignatureSize) {
                    EXPECT_EQ(result.Outcome, ReadOutcome::Damaged) << size;
                }
            }
        }
    }
}

TEST(MapFileRead, RejectedReadLeavesThePreviousDocumentWhole)
{
    MapDocument doc = MakeDocument(64, 64, 5);
    const MapDocument before = doc;

    std::vector<uint8_t> badSize = WriteMapBytes(MakeDocument(32, 32));
    PutI16(badSize, 2348, 16);
    std::vector<uint8_t> badSignature = WriteMapBytes(MakeDocument(32, 32));
    badSignature[0] = 'w';
    std::vector<uint8_t> damaged = WriteMapBytes(MakeDocument(32, 32));
    damaged.resize(damaged.size() / 2);

    for (const auto &bytes : {badSize, badSignature, damaged}) {
        EXPECT_FALSE(ReadMapBytes(bytes, MapLayout::Full, doc).Ok());
        EXPECT_EQ(doc, before);
    }
}

TEST(MapFileRead, FooterSizeLine)
{
    EXPECT_EQ(FooterSizeLine(0), "Footer size: 1 byte");
    EXPECT_EQ(FooterSizeLine(1), "Footer size: 6 bytes");
    EXPECT_EQ(FooterSizeLine(3), "Footer size: 16 bytes");
}

} // namespace
} // namespace trelvik
