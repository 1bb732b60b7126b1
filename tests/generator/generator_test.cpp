// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/map_file.h"
#include "generator/generate_map.h"
#include "generator/write_layers.h"
#include "test_maps.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>
#include <set>

namespace trelvik {
namespace {

nlohmann::json LoadCases()
{
    const std::vector<uint8_t> text =
        test::ReadBytes(std::string(TRELVIK_TEST_DATA_DIR) + "/generator/cases.json");
    return nlohmann::json::parse(text.begin(), text.end());
}

constexpr const char *kStageNames[] = {
    "GrowLand",      "ErodeAndSmoothCoast",   "PaintWaterAndShore",
    "GrowMountains", "PaintBandsAndVariants", "WriteLayers"};

// The digests and draw counts of every stage, keyed "stage/array" as the vectors name them.
std::map<std::string, std::pair<std::string, uint64_t>>
Observe(MapDocument &document, const NewMapRequest &request, RandomSource &random)
{
    std::map<std::string, std::pair<std::string, uint64_t>> seen;
    const auto observer = [&](GenerationStage stage, const TriangleGrid &grid) {
        const std::string name = kStageNames[static_cast<int>(stage)];
        const auto put = [&](const std::string &array, std::span<const uint8_t> bytes) {
            seen[name + "/" + array] = {test::Sha256Hex(bytes), random.Drawn()};
        };
        if (stage == GenerationStage::GrowLand || stage == GenerationStage::ErodeAndSmoothCoast)
            put("Land", grid.Land);
        else if (stage != GenerationStage::WriteLayers)
            put("Terrain", grid.Terrain);
        if (stage == GenerationStage::GrowMountains) {
            std::vector<uint8_t> levels;
            for (const int16_t level : grid.MountainLevel) {
                levels.push_back(static_cast<uint8_t>(level & 0xFF));
                levels.push_back(static_cast<uint8_t>(static_cast<uint16_t>(level) >> 8));
            }
            put("MountainLevel (int16 little-endian)", levels);
        }
        for (int k = 1; stage == GenerationStage::WriteLayers && k <= kLayerCount; ++k)
            put("layer " + std::to_string(k), document.Layer(k));
    };
    EXPECT_TRUE(GenerateMap(document, request.Width, request.Height, request.QuickMode, random, {},
                            observer));
    return seen;
}

TEST(ReferenceVectors, RandomSourceFileNewAndMapsStageByStage)
{
    const nlohmann::json cases = LoadCases();
    RandomSource random;
    random.Seed(42);
    for (const auto &expected : cases.at("pcg32_seed_42_first_outputs"))
        EXPECT_EQ(random.Next32(), std::stoul(expected.get<std::string>(), nullptr, 16));
    for (const auto &entry : cases.at("file_new_draws")) {
        random.Seed(entry.at("seed").get<uint64_t>());
        const NewMapRequest expected{entry.at("W").get<int16_t>(), entry.at("H").get<int16_t>(),
                                     entry.at("mode") == "quick"};
        EXPECT_EQ(DrawNewMapRequest(random), expected) << entry.at("seed");
        EXPECT_EQ(random.Drawn(), 3u);
    }
    ASSERT_EQ(cases.at("cases").size(), 4u);
    for (const auto &entry : cases.at("cases")) {
        const auto seed = entry.at("seed").get<uint64_t>();
        SCOPED_TRACE("seed " + std::to_string(seed));
        NewMapRequest request{0, 0, entry.at("mode") == "quick"};
        ASSERT_EQ(std::sscanf(entry.at("size").get<std::string>().c_str(), "%hdx%hd",
                              &request.Width, &request.Height),
                  2);
        MapDocument document;
        random.Seed(seed);
        auto seen = Observe(document, request, random);
        for (const auto &stage : entry.at("stages")) {
            const std::string key =
                stage.at("after").get<std::string>() + "/" + stage.at("array").get<std::string>();
            EXPECT_EQ(seen[key].first, stage.at("sha256")) << key;
            EXPECT_EQ(seen[key].second, stage.at("draws")) << key;
        }
        EXPECT_EQ(random.Drawn(), entry.at("draws_total"));
        EXPECT_EQ(test::Sha256Hex(WriteMapBytes(document)), entry.at("file_sha256"));
    }
}

// Every side length and both modes, pinned byte for byte so that a change of any stage shows.
TEST(Goldens, MapsOfEverySizeAreByteForByteTheSame)
{
    std::string table;
    for (int i = 0; i < 26; ++i) {
        const auto width = static_cast<int16_t>(64 + 16 * (i % 13));
        const auto height = static_cast<int16_t>(256 - 16 * ((i * 5) % 13));
        RandomSource random;
        random.Seed(static_cast<uint64_t>(1000 + i));
        MapDocument document;
        ASSERT_TRUE(GenerateMap(document, width, height, i % 2 == 0, random));
        table += std::to_string(1000 + i) + "\t" + std::to_string(width) + "x"
                 + std::to_string(height) + "\t" + ModeName(i % 2 == 0) + "\t"
                 + std::to_string(random.Drawn()) + "\t" + test::Sha256Hex(WriteMapBytes(document))
                 + "\n";
    }
    const std::string failure = test::CompareGolden(
        "generator/goldens.tsv", std::vector<uint8_t>(table.begin(), table.end()));
    EXPECT_TRUE(failure.empty()) << failure;
}

// Maps of the size and mode File > New draws, seed after seed, each checked for what every
// generated map must hold.
TEST(GenerateMap, InvariantsOverManySeeds)
{
    MapDocument document;
    document.Animals.push_back(AnimalEntry{1, 2, 3});
    for (uint64_t seed = 0; seed < 240; ++seed) {
        RandomSource random;
        random.Seed(seed);
        const NewMapRequest request = DrawNewMapRequest(random);
        random.Seed(seed);
        std::vector<int32_t> progress;
        const auto stats =
            GenerateMap(document, request.Width, request.Height, request.QuickMode, random,
                        [&progress](int32_t value) { progress.push_back(value); });
        ASSERT_TRUE(stats.has_value());
        SCOPED_TRACE("seed " + std::to_string(seed));
        ASSERT_EQ(stats->ValuesDrawn, random.Drawn());
        ASSERT_TRUE(std::is_sorted(progress.begin(), progress.end()));
        ASSERT_EQ(progress.back(), kProgressMax);

        MapDocument expected;
        ResetDocumentForNewMap(expected, request.Width, request.Height);
        ASSERT_EQ(document.Header, expected.Header);
        ASSERT_EQ(document.BlockHeaders, expected.BlockHeaders);
        ASSERT_TRUE(document.Animals.empty());
        const auto points = static_cast<std::size_t>(request.Width * request.Height);
        // Every point of layers 4 to 14 but 9 holds one value: 0, and 7 in 10, 64 in 13, with
        // 1 at point 0 of layer 11.
        for (int k = 4; k <= kLayerCount; ++k) {
            const MapLayer &layer = document.Layer(k);
            const uint8_t value = k == 10 ? 7 : k == 13 ? 64 : 0;
            ASSERT_EQ(layer.size(), points);
            if (k != 9) {
                ASSERT_EQ(std::count(layer.begin() + 1, layer.end(), value), points - 1) << k;
                ASSERT_EQ(layer[0], k == 11 ? 1 : value) << k;
            }
        }
        const std::set<int> painted{0, 1, 4, 5, 7, 8, 9, 10, 11, 12, 13, 14, 15, 18};
        std::size_t land = 0;
        for (std::size_t i = 0; i < points; ++i) {
            const uint8_t quality = document.Layer(9)[i];
            const uint8_t height = document.Layer(1)[i];
            ASSERT_TRUE(quality == 0 ? height == kWaterHeight
                                     : quality == kCastleQuality && height >= 10 && height <= 24)
                << i;
            for (const int k : {2, 3})
                ASSERT_TRUE(painted.count(document.Layer(k)[i])) << "layer " << k << " at " << i;
            land += quality == kCastleQuality ? 1 : 0;
        }
        ASSERT_GT(land, points / 10);
        ASSERT_LT(land, points);
    }
}

TEST(GenerateMap, SizesAndTheDocumentBefore)
{
    MapDocument first;
    RandomSource random;
    random.Seed(31337);
    ASSERT_TRUE(GenerateMap(first, 112, 208, true, random));
    for (const int side : {256, 64}) { // a larger and a smaller map open before
        MapDocument other;
        random.Seed(1);
        ASSERT_TRUE(GenerateMap(other, side, side, false, random));
        random.Seed(31337);
        ASSERT_TRUE(GenerateMap(other, 112, 208, true, random));
        EXPECT_EQ(other, first) << side;
    }
    const MapDocument before = first;
    random.Seed(9);
    for (const auto &[w, h] : {std::pair{63, 64}, {64, 72}, {272, 64}, {64, 0}, {-64, 64}})
        EXPECT_FALSE(GenerateMap(first, w, h, true, random).has_value()) << w << "x" << h;
    EXPECT_EQ(first, before);
    EXPECT_EQ(random.Drawn(), 0u);

    // File > New's draws: each side and mode evenly likely (1000 expected each; five standard
    // deviations is about 150).
    std::map<int, int> widths, heights;
    int quick = 0;
    for (int i = 0; i < 13000; ++i) {
        const NewMapRequest request = DrawNewMapRequest(random);
        ++widths[request.Width];
        ++heights[request.Height];
        quick += request.QuickMode ? 1 : 0;
    }
    for (int side = 64; side <= 256; side += 16) {
        EXPECT_NEAR(widths[side], 1000, 150) << side;
        EXPECT_NEAR(heights[side], 1000, 150) << side;
    }
    EXPECT_EQ(widths.size() + heights.size(), 26u); // nothing else drawn
    EXPECT_NEAR(quick, 6500, 300);
    RandomSource a, b; // two clock seeds differ, so two starts of the program do too
    EXPECT_NE(a.SeedFromClock(), b.SeedFromClock());
}

} // namespace
} // namespace trelvik
