// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/code_page.h"
#include "document/code_tables.h"
#include "document/fixed_text_field.h"
#include "document/map_file.h"
#include "document/map_text.h"
#include "test_maps.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <random>

namespace trelvik {
namespace {

using test::DatBytes;
using test::MakeDocument;

std::string Hex(std::span<const uint8_t> bytes)
{
    std::string text;
    for (const uint8_t b : bytes) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", b);
        text += digits;
    }
    return text;
}

std::string TextRoutine(const std::string &routine, const std::string &input)
{
    const auto code = [&input] { return static_cast<uint8_t>(std::stoi(input)); };
    const std::vector<uint8_t> bytes = test::FromHex(input);
    const std::string text(bytes.begin(), bytes.end());
    if (routine == "world")
        return WorldTypeName(code());
    if (routine == "animal")
        return AnimalName(code());
    if (routine == "area")
        return AreaTypeName(code());
    if (routine == "terrain")
        return TerrainName(code());
    if (routine == "quality")
        return BuildingQualityName(code());
    if (routine == "object")
        return ObjectTypeName(code());
    if (routine == "objectname") // "type index"
        return ObjectName(code(), static_cast<uint8_t>(std::stoi(input.substr(input.find(' ')))));
    if (routine == "hexpad")
        return HexPad(static_cast<unsigned>(std::stoi(input)),
                      std::stoi(input.substr(input.find(' '))));
    if (routine == "to437")
        return Hex(Utf8ToCp437(text));
    if (routine == "shown")
        return EscapeForDisplay(text);
    if (routine == "from437") {
        const std::string utf8 = Cp437ToUtf8(bytes);
        return Hex(std::vector<uint8_t>(utf8.begin(), utf8.end()));
    }
    if (routine == "store20") {
        std::array<uint8_t, 20> field;
        field.fill(0xEE);
        FixedTextField::Store(field, text);
        return Hex(field);
    }
    if (routine == "display")
        return FixedTextField::Display(bytes);
    const std::string read = FixedTextField::Read(bytes);
    return Hex(std::vector<uint8_t>(read.begin(), read.end()));
}

// The digest the golden tables hold, on the standard's own examples (padding into a second
// block included).
TEST(TestSupport, Sha256OfKnownMessages)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"}};
    for (const auto &[message, digest] : cases)
        EXPECT_EQ(test::Sha256Hex(std::vector<uint8_t>(message.begin(), message.end())), digest)
            << "'" << message << "'";
}

TEST(MapText, TableOfTextRoutines)
{
    const auto rows = test::ReadTable("document/texts.tsv");
    ASSERT_GT(rows.size(), 40u);
    std::map<std::string, std::string> names; // "routine input" -> expected
    for (const test::TableRow &row : rows) {
        const std::string expected = row.Fields.size() > 2 ? row.Fields[2] : "";
        EXPECT_EQ(TextRoutine(row.Fields.at(0), row.Fields.size() > 1 ? row.Fields[1] : ""),
                  expected)
            << row.Name();
        names[row.Fields[0] + " " + (row.Fields.size() > 1 ? row.Fields[1] : "")] = expected;
    }
    // A code without a row of its own is unknown to its name routine: "Unknown (n)" for the
    // document's lists, no name for the point inspector's.
    for (const std::string routine : {"world", "animal", "area", "terrain", "quality", "object"})
        for (int code = 0; code < 256; ++code) {
            const std::string key = routine + " " + std::to_string(code);
            const bool inspector =
                routine == "terrain" || routine == "quality" || routine == "object";
            const std::string unknown = inspector ? "" : "Unknown (" + std::to_string(code) + ")";
            EXPECT_EQ(TextRoutine(routine, std::to_string(code)),
                      names.contains(key) ? names[key] : unknown)
                << key;
        }
    std::vector<uint8_t> all(256);
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = static_cast<uint8_t>(i);
    EXPECT_EQ(Utf8ToCp437(Cp437ToUtf8(all)), all);
}

// Seven headquarters lines whatever the player count; the area rows stop at the first empty
// entry, even when later ones hold data.
TEST(MapText, PanelTexts)
{
    MapHeader header;
    header.PlayerCount = 2;
    header.HeadquartersX = {10, 0, 0, 0, 0, 0, -1};
    header.HeadquartersY[0] = 20;
    EXPECT_EQ(HeadquartersText(header),
              "Player 1: 10 x 20\r\nPlayer 2: 0 x 0\r\nPlayer 3: 0 x 0\r\n"
              "Player 4: 0 x 0\r\nPlayer 5: 0 x 0\r\nPlayer 6: 0 x 0\r\n"
              "Player 7: -1 x 0\r\n");
    header.Areas[1] = AreaEntry{1, 1, 1, 1};
    EXPECT_TRUE(AreaRows(header).empty());
    header.Areas[0] = AreaEntry{3, 0, -2, -5};
    header.Areas[3] = AreaEntry{2, 2, 2, 2};
    EXPECT_EQ(AreaRows(header),
              (std::vector<std::string>{"Unknown (3)\t0 x -2\t-5 bytes", "Land\t1 x 1\t1 bytes"}));
}

void Put(std::vector<uint8_t> &bytes, std::size_t offset, int64_t value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes.at(offset + static_cast<std::size_t>(i)) = static_cast<uint8_t>(value >> (8 * i));
}

TEST(MapFile, FieldsLieAtTheirOffsets)
{
    MapDocument doc = MakeDocument(64, 48, 1);
    doc.Header.Areas[249] = AreaEntry{2, 0x0102, 0x0304, 0x05060708};
    doc.Header.Zero = 0x0A0B0C0D;
    const std::vector<uint8_t> bytes = WriteMapBytes(doc);
    const std::size_t block2 = 2352 + 16 + 64 * 48;
    const std::pair<std::size_t, std::string> fields[] = {
        {0, "574f524c445f56312e30"},          // signature
        {10, "54657374204d6170"},             // title
        {30, "4000300001035465737465720000"}, // width and height copies, world, players, author
        {56, "01000b00"},                     // headquarters x of players 1 and 2
        {70, "fffffeff"},                     // headquarters y: -1, -2
        {84, "01ab0000ff107f80"},             // unknown bytes
        {92, "010c00220037020000"},           // area 0
        {92 + 9 * 249, "020201040308070605"}, // area 249
        {2342, "11270d0c0b0a40003000"},       // marker, zero, width, height
        {2352, "102700000000400030000100000c00001f"}, // block 1 header and its first byte
        {block2, "102700000000400030000100000c0000"},
        {bytes.size() - 6, "0000000000ff"}, // the animal and the final byte
    };
    for (const auto &[offset, hex] : fields) {
        const std::vector<uint8_t> expected = test::FromHex(hex);
        ASSERT_LE(offset + expected.size(), bytes.size());
        EXPECT_EQ(Hex(std::span(bytes).subspan(offset, expected.size())), hex) << offset;
    }
    EXPECT_EQ(WriteMapBytes(MakeDocument(64, 64)).size(), 59921u);
}

// Files of random bytes in the layout (the signature, sides of at least 32, blocks of random
// lengths, then animals and a few loose bytes) read and write back byte for byte, also as .dat.
TEST(MapFile, RandomFilesReadAndWriteBackByteForByte)
{
    std::mt19937 random(1);
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> file(kMapHeaderSize + 16 * kLayerCount + 10000);
        std::generate(file.begin(), file.end(), [&random] { return uint8_t(random()); });
        std::copy_n("WORLD_V1.0", 10, file.begin());
        Put(file, 2348, 32 + random() % 32736, 2);
        Put(file, 2350, 32 + random() % 32736, 2);
        std::size_t end = kMapHeaderSize;
        for (int k = 1; k <= kLayerCount; ++k) {
            const uint32_t length = random() % 301;
            Put(file, end + 12, length, 4);
            end += 16 + length;
        }
        const std::size_t animals = random() % 21;
        file.resize(end + 5 * animals + random() % 5);
        MapDocument doc, dat;
        ASSERT_TRUE(ReadMapBytes(file, MapLayout::Full, doc).Ok()) << round;
        ASSERT_EQ(doc.Animals.size(), animals) << round;
        std::vector<uint8_t> written = WriteMapBytes(doc);
        ASSERT_EQ(written.back(), 0xFF);
        written.resize(written.size() - 1);
        file.resize(end + 5 * animals);
        ASSERT_EQ(written, file) << round;
        ASSERT_TRUE(ReadMapBytes(std::span(file).subspan(2342), MapLayout::Dat, dat).Ok());
        ASSERT_EQ(std::tie(dat.Layers, dat.BlockHeaders, dat.Animals, dat.Header.Marker),
                  std::tie(doc.Layers, doc.BlockHeaders, doc.Animals, doc.Header.Marker))
            << round;
    }
}

TEST(MapFile, DatFilesGetTheFixedHeaderValues)
{
    const MapDocument doc = MakeDocument(48, 32, 2);
    MapDocument read;
    ASSERT_TRUE(ReadMapBytes(DatBytes(doc), MapLayout::Dat, read).Ok());
    MapHeader expected;
    FixedTextField::Store(expected.Signature, "WORLD_V1.0");
    FixedTextField::Store(expected.Title, "Unknown");
    FixedTextField::Store(expected.Author, "Blue Byte");
    expected.WidthCopy = expected.Width = 48;
    expected.HeightCopy = expected.Height = 32;
    expected.PlayerCount = 1;
    expected.Marker = doc.Header.Marker;
    EXPECT_EQ(read.Header, expected);
    EXPECT_EQ(read.Layers, doc.Layers);
}

// The name selects the layout; only a .dat name's file is looked into, for the signature.
TEST(MapFile, LayoutComesFromTheNameAndTheSignature)
{
    const std::string sig = "WORLD_V1.0", marker = "\x11\x27";
    constexpr MapLayout D = MapLayout::Dat, F = MapLayout::Full;
    using Row = std::tuple<std::string, std::string, MapLayout>; // name, first bytes, layout
    for (const auto &[name, bytes, layout] :
         {Row{"MAP00.DAT", "", D}, Row{"/x/y/map.Dat", marker, D}, Row{".dat", sig, F},
          Row{"a.dAt", sig.substr(0, 9), D}, Row{"a.dat", "WORLD_V1.1", D},
          Row{"map.dat.wld", "", F}, Row{"map.swd", marker, F}, Row{"dat", "", F},
          Row{"mapdat", "", F}}) {
        const auto *first = reinterpret_cast<const uint8_t *>(bytes.data());
        EXPECT_EQ(DetectLayout(name, {first, bytes.size()}), layout) << name << " " << bytes;
    }
}

// Each damaged file is rejected with its outcome and leaves the previous document whole.
TEST(MapFile, RejectedFiles)
{
    struct Case
    {
        std::string Name;
        std::function<void(std::vector<uint8_t> &)> Damage;
        ReadOutcome Outcome;
        std::string Message;
    };
    const std::size_t layer = 32 * 32;
    const auto lengthAt = [layer](int k) { return 2352 + (k - 1) * (16 + layer) + 12; };
    std::vector<Case> cases = {
        {"half a file", [](auto &b) { b.resize(b.size() / 2); }, ReadOutcome::Damaged, "bad.swd"}};
    for (std::size_t i = 0; i < 10; ++i) // case flipped, or '_' turned into DEL
        cases.push_back({"signature byte " + std::to_string(i), [i](auto &b) { b[i] ^= 0x20; },
                         ReadOutcome::NotAMapFile, "Not a Settlers II map file"});
    for (const auto &[w, h] : {std::pair{31, 64}, {64, 31}, {0, 64}, {-64, 64}, {64, -32}})
        cases.push_back({"size " + std::to_string(w) + "x" + std::to_string(h),
                         [w, h](auto &b) {
                             Put(b, 2348, w, 2);
                             Put(b, 2350, h, 2);
                         },
                         ReadOutcome::InvalidMapSize, "Invalid map size"});
    for (const auto &[k, length] :
         {std::pair<int, int64_t>{1, -1}, {5, INT32_MIN}, {3, INT32_MAX}, {14, layer + 2}})
        cases.push_back({"block " + std::to_string(k) + " length " + std::to_string(length),
                         [&, k, length](auto &b) { Put(b, lengthAt(k), length, 4); },
                         ReadOutcome::Damaged, "block " + std::to_string(k)});
    const MapDocument previous = MakeDocument(64, 64, 5);
    for (const Case &c : cases) {
        std::vector<uint8_t> bytes = WriteMapBytes(MakeDocument(32, 32));
        c.Damage(bytes);
        MapDocument doc = previous;
        const ReadResult result = ReadMapBytes(bytes, MapLayout::Full, doc, "bad.swd");
        EXPECT_EQ(result.Outcome, c.Outcome) << c.Name;
        EXPECT_NE(result.Message.find(c.Message), std::string::npos) << c.Name << result.Message;
        EXPECT_EQ(doc, previous) << c.Name;
    }
    std::vector<uint8_t> accepted = WriteMapBytes(MakeDocument(32, 32));
    Put(accepted, 2348, 32767, 2); // no upper limit
    MapDocument doc;
    EXPECT_TRUE(ReadMapBytes(accepted, MapLayout::Full, doc).Ok());
    MapDocument small = MakeDocument(32, 32);
    small.Header.Height = 16;
    EXPECT_EQ(ReadMapBytes(DatBytes(small), MapLayout::Dat, doc).Outcome,
              ReadOutcome::InvalidMapSize);
}

TEST(MapFile, TruncationAtEveryOffsetIsRejectedOrReadsWhatIsThere)
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
            MapDocument read = previous;
            const ReadResult result = ReadMapBytes(std::span(file).first(size), layout, read);
            if (size + headerCut >= blocksEnd) {
                ASSERT_TRUE(result.Ok()) << size;
                ASSERT_EQ(read.Layers, doc.Layers) << size;
                ASSERT_EQ(read.Animals.size(), (size + headerCut - blocksEnd) / 5) << size;
            } else {
                ASSERT_EQ(read, previous) << size;
                const bool signatureRead = layout == MapLayout::Dat || size >= kSignatureSize;
                ASSERT_EQ(result.Outcome,
                          signatureRead ? ReadOutcome::Damaged : ReadOutcome::NotAMapFile)
                    << size;
            }
        }
    }
}

} // namespace
} // namespace trelvik
