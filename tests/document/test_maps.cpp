#include "test_maps.h"

#include "document/file_system.h"
#include "document/fixed_text_field.h"
#include "document/map_file.h"

#include <array>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <openssl/evp.h>
#include <random>
#include <sstream>

namespace trelvik::test {

namespace {

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
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest.data(), &length, EVP_sha256(), nullptr);
    std::string text;
    for (unsigned int i = 0; i < length; ++i) {
        text.push_back("0123456789abcdef"[digest[i] >> 4u]);
        text.push_back("0123456789abcdef"[digest[i] & 15u]);
    }
    return text;
}

} // namespace trelvik::test
