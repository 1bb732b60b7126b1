// Writes the starting corpus of every fuzz target: small valid maps in all three readings,
// the world palettes, and the edge cases each parser has to turn away. Run once before a fuzz
// campaign; the kept corpus in fuzz/corpus/ is what grew from these.
//
//   trelvik-fuzz-seeds PALETTE-DIR OUT-DIR

#include "map_input.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace trelvik;
namespace fs = std::filesystem;

using Bytes = std::vector<uint8_t>;

bool Save(const fs::path &folder, const std::string &name, const Bytes &bytes)
{
    fs::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

Bytes FromText(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

Bytes WithSelector(fuzz::MapSelector selector, const Bytes &file)
{
    Bytes input(file.size() + 1);
    input[0] = static_cast<uint8_t>(selector);
    std::copy(file.begin(), file.end(), input.begin() + 1);
    return input;
}

// The .dat layout is the full one without the header's first 2342 bytes.
Bytes AsDat(const Bytes &full)
{
    return Bytes(full.begin() + static_cast<std::ptrdiff_t>(kMapHeaderSize - kDatHeaderSize),
                 full.end());
}

void PutI32(Bytes &bytes, std::size_t offset, int32_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<uint8_t>((bits >> (8 * i)) & 0xFF);
}

std::vector<std::pair<std::string, Bytes>> MapSeeds()
{
    using fuzz::MakeSmallMap;
    using fuzz::MapSelector;
    std::vector<std::pair<std::string, Bytes>> seeds;
    const Bytes full = WriteMapBytes(MakeSmallMap(32, 32, 1024, 3, 0));
    seeds.emplace_back("full-32x32-3-animals", WithSelector(MapSelector::Full, full));
    seeds.emplace_back("dat-32x32", WithSelector(MapSelector::Dat, AsDat(full)));
    seeds.emplace_back(
        "full-named-dat-winter",
        WithSelector(MapSelector::FullNamedDat, WriteMapBytes(MakeSmallMap(36, 32, 1152, 0, 2))));
    seeds.emplace_back(
        "wasteland-short-layers",
        WithSelector(MapSelector::Full, WriteMapBytes(MakeSmallMap(40, 40, 200, 1, 1))));
    seeds.emplace_back(
        "claims-32767-square",
        WithSelector(MapSelector::Full, WriteMapBytes(MakeSmallMap(32767, 32767, 64, 0, 0))));
    seeds.emplace_back(
        "claims-4096-square-dat",
        WithSelector(MapSelector::Dat, AsDat(WriteMapBytes(MakeSmallMap(4096, 4096, 64, 1, 7)))));
    seeds.emplace_back("empty-layers", WithSelector(MapSelector::Full,
                                                    WriteMapBytes(MakeSmallMap(32, 32, 0, 0, 0))));

    Bytes partial = WriteMapBytes(MakeSmallMap(32, 32, 16, 2, 0));
    partial.push_back(0x03);
    partial.push_back(0x04);
    seeds.emplace_back("partial-last-animal", WithSelector(MapSelector::Full, partial));

    Bytes negative = WriteMapBytes(MakeSmallMap(32, 32, 16, 0, 0));
    PutI32(negative, kMapHeaderSize + 4 * (kBlockHeaderSize + 16) + 12, -1);
    seeds.emplace_back("negative-length", WithSelector(MapSelector::Full, negative));

    Bytes huge = WriteMapBytes(MakeSmallMap(32, 32, 16, 0, 0));
    PutI32(huge, kMapHeaderSize + 12, 0x7FFFFFFF);
    seeds.emplace_back("huge-length-dat", WithSelector(MapSelector::Dat, AsDat(huge)));

    seeds.emplace_back("truncated-header",
                       WithSelector(MapSelector::Full, Bytes(full.begin(), full.begin() + 2000)));
    seeds.emplace_back("signature-only", WithSelector(MapSelector::Full, FromText("WORLD_V1.0")));
    seeds.emplace_back("empty", WithSelector(MapSelector::Full, {}));
    seeds.emplace_back("dat-too-short", WithSelector(MapSelector::Dat, Bytes(9, 0)));

    Bytes narrow = WriteMapBytes(MakeSmallMap(31, 32, 16, 0, 0));
    seeds.emplace_back("width-31", WithSelector(MapSelector::Dat, AsDat(narrow)));
    Bytes lowerCase = full;
    lowerCase[0] = 'w';
    seeds.emplace_back("signature-lower-case", WithSelector(MapSelector::Full, lowerCase));
    return seeds;
}

std::vector<std::pair<std::string, Bytes>> PaletteSeeds(const fs::path &paletteDir)
{
    std::vector<std::pair<std::string, Bytes>> seeds;
    for (const char *world : {"Greenland", "Wasteland", "Winter"}) {
        std::ifstream in(paletteDir / (std::string(world) + ".pal"), std::ios::binary);
        seeds.emplace_back(
            world, Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    }
    const std::vector<std::pair<std::string, std::string>> texts = {
        {"three-colours", "JASC-PAL\r\n0100\r\n3\r\n0 0 0\r\n255 128 1\r\n7 8 9\r\n"},
        {"cr-line-ends", "JASC-PAL\r0100\r2\r1 2 3\r4 5 6"},
        {"lf-line-ends", "JASC-PAL\n0100\n1\n1 2 3\n"},
        {"fractions", "JASC-PAL\r\n0100\r\n2.5\r\n255.4 0.5 1.5\r\n2.5 3.5 -0.4\r\n9 9 9\r\n"},
        {"colour-too-large", "JASC-PAL\r\n0100\r\n2\r\n255.5 0 0\r\n1 1 1\r\n"},
        {"colour-256", "JASC-PAL\r\n0100\r\n3\r\n1 2 3\r\n4 5 6\r\n256 0 0\r\n"},
        {"negative-count", "JASC-PAL\r\n0100\r\n-1\r\n1 2 3\r\n"},
        {"exponent-count", "JASC-PAL\r\n0100\r\n1e3\r\n"},
        {"fields", "JASC-PAL\r\n0100\r\n3\r\n1 2\r\n1 2 3 4\r\n1  2 3\r\n"},
        {"ends-early", "JASC-PAL\r\n0100\r\n5\r\n1 2 3\r\n4 5 6\r\n"},
        {"wrong-version", "JASC-PAL\r\n0110\r\n1\r\n1 2 3\r\n"},
        {"huge-count", "JASC-PAL\r\n0100\r\n99999999999999999999999\r\n1 2 3\r\n"},
    };
    for (const auto &[name, text] : texts)
        seeds.emplace_back(name, FromText(text));

    std::string many = "JASC-PAL\r\n0100\r\n258\r\n";
    for (int i = 0; i < 258; ++i)
        many += std::to_string(i % 256) + " " + std::to_string(255 - i % 256) + " 0\r\n";
    seeds.emplace_back("more-than-256", FromText(many));
    return seeds;
}

std::vector<std::pair<std::string, Bytes>> DecimalSeeds()
{
    std::vector<std::pair<std::string, Bytes>> seeds;
    int n = 0;
    for (const char *text : {"0", "-0.5", "255.4", "255.5", "+12", "1.5000", "2.50001", "-3.5",
                             "99999999999999999999999", "0.", ".5", "1e3", " 1", "--1", "7.49999"})
        seeds.emplace_back("number-" + std::to_string(n++), FromText(text));
    return seeds;
}

std::vector<std::pair<std::string, Bytes>> CodePageSeeds()
{
    std::vector<std::pair<std::string, Bytes>> seeds;
    seeds.emplace_back("umlauts", FromText("Gr\xC3\xBC\xC3\x9F"
                                           "e aus K\xC3\xB6ln"));
    Bytes all(256);
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = static_cast<uint8_t>(i);
    seeds.emplace_back("every-byte", all);
    seeds.emplace_back("overlong-nul", FromText("A\xC0\x80"
                                                "B"));
    seeds.emplace_back("surrogate", FromText("\xED\xA0\x80"));
    seeds.emplace_back("four-bytes", FromText("\xF0\x9F\x98\x80?"));
    seeds.emplace_back("cut-sequence", FromText("\xE2\x82"));
    seeds.emplace_back("spaced", FromText("   Mountain Pass\xE2\x95\x90   "));
    return seeds;
}

bool SaveAll(const fs::path &folder, const std::vector<std::pair<std::string, Bytes>> &seeds)
{
    for (const auto &[name, bytes] : seeds) {
        if (!Save(folder, name, bytes)) {
            std::fprintf(stderr, "cannot write %s\n", (folder / name).c_str());
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PALETTE-DIR OUT-DIR\n", argv[0]);
        return 2;
    }
    const fs::path paletteDir = argv[1];
    const fs::path out = argv[2];
    const auto maps = MapSeeds();
    const bool ok = SaveAll(out / "fuzz_map_read", maps) && SaveAll(out / "fuzz_pipeline", maps)
                    && SaveAll(out / "fuzz_palette", PaletteSeeds(paletteDir))
                    && SaveAll(out / "fuzz_decimal", DecimalSeeds())
                    && SaveAll(out / "fuzz_code_page", CodePageSeeds());
    return ok ? 0 : 1;
}
