// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_maps.h"

#include "document/file_system.h"
#include "document/fixed_text_field.h"
#include "document/map_file.h"

#include <array>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

namespace trelvik::test {

namespace {

// SHA-256 (FIPS 180-4), small and the same on every platform the tests run on.
class Sha256
{
public:
    explicit Sha256(std::span<const uint8_t> bytes)
    {
        std::vector<uint8_t> message(bytes.begin(), bytes.end());
        const uint64_t bits = static_cast<uint64_t>(bytes.size()) * 8;
        message.push_back(0x80);
        while (message.size() % 64 != 56)
            message.push_back(0);
        for (int shift = 56; shift >= 0; shift -= 8)
            message.push_back(static_cast<uint8_t>(bits >> shift));
        for (std::size_t block = 0; block < message.size(); block += 64)
            Compress(&message[block]);
    }

    std::string Hex() const
    {
        std::string text;
        for (const uint32_t word : mState)
            for (int shift = 28; shift >= 0; shift -= 4)
                text.push_back("0123456789abcdef"[(word >> shift) & 15U]);
        return text;
    }

private:
    static uint32_t Rotate(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

    void Compress(const uint8_t *block)
    {
        static constexpr std::array<uint32_t, 64> kRound = {
            0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4,
            0xab1c5ed5, 0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe,
            0x9bdc06a7, 0xc19bf174, 0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f,
            0x4a7484aa, 0x5cb0a9dc, 0x76f988da, 0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7,
            0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967, 0x27b70a85, 0x2e1b2138, 0x4d2c6dfc,
            0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85, 0xa2bfe8a1, 0xa81a664b,
            0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070, 0x19a4c116,
            0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
            0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7,
            0xc67178f2};
        std::array<uint32_t, 64> w{};
        for (std::size_t i = 0; i < 16; ++i)
            w[i] = uint32_t{block[4 * i]} << 24 | uint32_t{block[4 * i + 1]} << 16
                   | uint32_t{block[4 * i + 2]} << 8 | block[4 * i + 3];
        for (std::size_t i = 16; i < 64; ++i) {
            const uint32_t s0 = Rotate(w[i - 15], 7) ^ Rotate(w[i - 15], 18) ^ (w[i - 15] >> 3);
            const uint32_t s1 = Rotate(w[i - 2], 17) ^ Rotate(w[i - 2], 19) ^ (w[i - 2] >> 10);
            w[i] = w[i - 16] + s0 + w[i - 7] + s1;
        }
        std::array<uint32_t, 8> v = mState;
        for (std::size_t i = 0; i < 64; ++i) {
            const uint32_t s1 = Rotate(v[4], 6) ^ Rotate(v[4], 11) ^ Rotate(v[4], 25);
            const uint32_t choose = (v[4] & v[5]) ^ (~v[4] & v[6]);
            const uint32_t t1 = v[7] + s1 + choose + kRound[i] + w[i];
            const uint32_t s0 = Rotate(v[0], 2) ^ Rotate(v[0], 13) ^ Rotate(v[0], 22);
            const uint32_t majority = (v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]);
            v = {t1 + s0 + majority, v[0], v[1], v[2], v[3] + t1, v[4], v[5], v[6]};
        }
        for (std::size_t i = 0; i < 8; ++i)
            mState[i] += v[i];
    }

    std::array<uint32_t, 8> mState = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                      0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
};

void FillHeader(MapDocument &doc, const char *title, int16_t width, int16_t height)
{
    MapHeader &h = doc.Header;
    FixedTextField::Store(h.Signature, "WORLD_V1.0");
    FixedTextField::Store(h.Title, title);
    h.WidthCopy = h.Width = width;
    h.HeightCopy = h.Height = height;
    h.PlayerCount = 1;
    h.Marker = {0x11, 0x27};
    const int32_t size = int32_t{width} * int32_t{height};
    for (int k = 1; k <= kLayerCount; ++k) {
        doc.BlockHeader(k) = LayerBlockHeader{{0x10, 0x27}, 0, width, height, 1, size};
        doc.Layer(k).assign(static_cast<std::size_t>(size), 0);
    }
}

} // namespace

MapDocument MakeDocument(int16_t width, int16_t height, std::size_t animals)
{
    MapDocument doc;
    FillHeader(doc, "Test Map", width, height);
    MapHeader &h = doc.Header;
    FixedTextField::Store(h.Author, "Tester");
    h.WorldType = 1;
    h.PlayerCount = 3;
    for (std::size_t p = 0; p < kHeadquartersCount; ++p) {
        h.HeadquartersX[p] = static_cast<int16_t>(p * 10 + 1);
        h.HeadquartersY[p] = static_cast<int16_t>(-static_cast<int>(p) - 1);
    }
    h.UnknownBytes = {0x01, 0xAB, 0, 0, 0xFF, 0x10, 0x7F, 0x80};
    h.Areas[0] = AreaEntry{1, 12, 34, 567};
    h.Areas[1] = AreaEntry{2, -1, 300, -70000};
    for (int k = 1; k <= kLayerCount; ++k) {
        MapLayer &layer = doc.Layer(k);
        for (std::size_t i = 0; i < layer.size(); ++i)
            layer[i] = static_cast<uint8_t>((i * 7 + static_cast<std::size_t>(k) * 31) & 0xFF);
    }
    for (std::size_t a = 0; a < animals; ++a) {
        doc.Animals.push_back(AnimalEntry{static_cast<uint8_t>(a % 10), static_cast<int16_t>(a),
                                          static_cast<int16_t>(-static_cast<int>(a))});
    }
    return doc;
}

MapDocument MakeFlatMap(int16_t width, int16_t height, uint8_t worldType)
{
    MapDocument doc;
    FillHeader(doc, "Hand Map", width, height);
    doc.Header.WorldType = worldType;
    for (const auto &[k, value] : {std::pair{1, 12}, {2, 8}, {3, 8}, {9, 4}, {13, 64}})
        std::fill(doc.Layer(k).begin(), doc.Layer(k).end(), static_cast<uint8_t>(value));
    return doc;
}

std::size_t PointIndex(const MapDocument &doc, int x, int y)
{
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(doc.Header.Width)
           + static_cast<std::size_t>(x);
}

std::vector<uint8_t> DatBytes(const MapDocument &doc)
{
    const std::vector<uint8_t> full = WriteMapBytes(doc);
    return {full.begin() + kMapHeaderSize - kDatHeaderSize, full.end()};
}

TempDir::TempDir()
{
    std::random_device device;
    mPath = std::filesystem::temp_directory_path()
            / ("trelvik-test-" + std::to_string(device()) + std::to_string(device()));
    std::filesystem::create_directories(mPath);
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::permissions(mPath, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(mPath, ec);
}

std::string TempDir::File(const std::string &name) const
{
    return Utf8FromPath(mPath / PathFromUtf8(name));
}

std::vector<uint8_t> ReadBytes(const std::string &path)
{
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string &path, const std::vector<uint8_t> &bytes)
{
    std::ofstream out(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::vector<TableRow> ReadTable(const std::string &name)
{
    std::ifstream in(std::string(TRELVIK_TEST_DATA_DIR) + "/" + name);
    std::vector<TableRow> rows;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line[0] == '#')
            continue;
        TableRow row{number, {}};
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, '\t');)
            row.Fields.push_back(field);
        rows.push_back(row);
    }
    return rows;
}

std::string CompareGolden(const std::string &name, const std::vector<uint8_t> &actual)
{
    const std::string golden = std::string(TRELVIK_TEST_DATA_DIR) + "/" + name;
    const char *update = std::getenv("TRELVIK_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        std::filesystem::create_directories(std::filesystem::path(golden).parent_path());
        WriteBytes(golden, actual);
        return {};
    }
    if (ReadBytes(golden) == actual)
        return {};
    const std::string kept =
        (std::filesystem::current_path() / std::filesystem::path(name).filename()).string()
        + ".actual";
    WriteBytes(kept, actual);
    return "differs from the golden file " + golden + "; the actual output is in " + kept;
}

std::vector<uint8_t> FromHex(const std::string &hex)
{
    std::vector<uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

std::string Unescape(const std::string &field)
{
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const char next = i + 1 < field.size() ? field[i + 1] : '\0';
        if (field[i] != '\\' || std::string("rnt\\").find(next) == std::string::npos) {
            text += field[i];
            continue;
        }
        text += next == 'r' ? '\r' : next == 'n' ? '\n' : next == 't' ? '\t' : '\\';
        ++i;
    }
    return text;
}

std::string Sha256Hex(std::span<const uint8_t> bytes)
{
    return Sha256(bytes).Hex();
}

} // namespace trelvik::test
