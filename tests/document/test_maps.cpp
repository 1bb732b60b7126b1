#include "test_maps.h"

#include "document/fixed_text_field.h"

#include <fstream>
#include <iterator>
#include <random>

namespace trelvik::test {

MapDocument MakeDocument(int16_t width, int16_t height, std::size_t animals)
{
    MapDocument doc;
    MapHeader &h = doc.Header;
    FixedTextField::Store(h.Signature, "WORLD_V1.0");
    FixedTextField::Store(h.Title, "Test Map");
    FixedTextField::Store(h.Author, "Tester");
    h.WidthCopy = width;
    h.HeightCopy = height;
    h.WorldType = 1;
    h.PlayerCount = 3;
    for (std::size_t p = 0; p < kHeadquartersCount; ++p) {
        h.HeadquartersX[p] = static_cast<int16_t>(p * 10 + 1);
        h.HeadquartersY[p] = static_cast<int16_t>(-static_cast<int>(p) - 1);
    }
    h.UnknownBytes = {0x01, 0xAB, 0, 0, 0xFF, 0x10, 0x7F, 0x80};
    h.Areas[0] = AreaEntry{1, 12, 34, 567};
    h.Areas[1] = AreaEntry{2, -1, 300, -70000};
    h.Marker = {0x11, 0x27};
    h.Width = width;
    h.Height = height;
    const int32_t size = int32_t{width} * int32_t{height};
    for (int k = 1; k <= kLayerCount; ++k) {
        doc.BlockHeader(k) = LayerBlockHeader{{0x10, 0x27}, 0, width, height, 1, size};
        MapLayer &layer = doc.Layer(k);
        layer.resize(static_cast<std::size_t>(size));
        for (std::size_t i = 0; i < layer.size(); ++i)
            layer[i] = static_cast<uint8_t>((i * 7 + static_cast<std::size_t>(k) * 31) & 0xFF);
    }
    for (std::size_t a = 0; a < animals; ++a) {
        doc.Animals.push_back(AnimalEntry{static_cast<uint8_t>(a % 10), static_cast<int16_t>(a),
                                          static_cast<int16_t>(-static_cast<int>(a))});
    }
    return doc;
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

std::vector<uint8_t> ReadBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string &path, const std::vector<uint8_t> &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

} // namespace trelvik::test
