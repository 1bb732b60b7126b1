#include "document/map_file.h"
#include "generator/generate_map.h"
#include "generator_test_support.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

namespace trelvik {
namespace {

nlohmann::json LoadCases()
{
    const std::string text =
        test::ReadTextFile(std::string(TRELVIK_TEST_DATA_DIR) + "/generator/cases.json");
    return nlohmann::json::parse(text);
}

const char *StageName(GenerationStage stage)
{
    switch (stage) {
    case GenerationStage::GrowLand:
        return "GrowLand";
    case GenerationStage::ErodeAndSmoothCoast:
        return "ErodeAndSmoothCoast";
    case GenerationStage::PaintWaterAndShore:
        return "PaintWaterAndShore";
    case GenerationStage::GrowMountains:
        return "GrowMountains";
    case GenerationStage::PaintBandsAndVariants:
        return "PaintBandsAndVariants";
    case GenerationStage::WriteLayers:
        return "WriteLayers";
    }
    return "";
}

struct Observed
{
    std::string Sha256;
    uint64_t Draws = 0;
};

TEST(ReferenceVectors, FirstPcg32OutputsOfSeed42)
{
    const nlohmann::json cases = LoadCases();
    RandomSource random;
    random.Seed(42);
    for (const auto &expected : cases.at("pcg32_seed_42_first_outputs")) {
        const auto value =
            static_cast<uint32_t>(std::stoul(expected.get<std::string>(), nullptr, 16));
        EXPECT_EQ(random.Next32(), value);
    }
}

TEST(ReferenceVectors, FileNewDrawsSizeAndMode)
{
    const nlohmann::json cases = LoadCases();
    ASSERT_FALSE(cases.at("file_new_draws").empty());
    for (const auto &entry : cases.at("file_new_draws")) {
        RandomSource random;
        random.Seed(entry.at("seed").get<uint64_t>());
        const NewMapRequest request = DrawNewMapRequest(random);
        SCOPED_TRACE("seed " + std::to_string(entry.at("seed").get<uint64_t>()));
        EXPECT_EQ(request.Width, entry.at("W").get<int>());
        EXPECT_EQ(request.Height, entry.at("H").get<int>());
        EXPECT_EQ(request.QuickMode, entry.at("mode").get<std::string>() == "quick");
        EXPECT_EQ(random.Drawn(), 3u);
    }
}

TEST(ReferenceVectors, GeneratedMapsMatchStageByStage)
{
    const nlohmann::json cases = LoadCases();
    ASSERT_FALSE(cases.at("cases").empty());
    for (const auto &entry : cases.at("cases")) {
        const auto seed = entry.at("seed").get<uint64_t>();
        const std::string size = entry.at("size").get<std::string>();
        SCOPED_TRACE("seed " + std::to_string(seed) + " size " + size);
        int width = 0;
        int height = 0;
        ASSERT_EQ(std::sscanf(size.c_str(), "%dx%d", &width, &height), 2);
        const bool quick = entry.at("mode").get<std::string>() == "quick";

        RandomSource random;
        random.Seed(seed);
        if (entry.at("size_and_mode_drawn_from_seed").get<bool>()) {
            const NewMapRequest request = DrawNewMapRequest(random);
            ASSERT_EQ(request, (NewMapRequest{static_cast<int16_t>(width),
                                              static_cast<int16_t>(height), quick}));
            random.Seed(seed);
        }

        std::map<std::string, Observed> seen;
        MapDocument document;
        const auto observer = [&](GenerationStage stage, const TriangleGrid &grid) {
            const std::string name = StageName(stage);
            const uint64_t drawn = random.Drawn();
            switch (stage) {
            case GenerationStage::GrowLand:
            case GenerationStage::ErodeAndSmoothCoast:
                seen[name + "/Land"] = {test::Sha256Hex(grid.Land), drawn};
                break;
            case GenerationStage::GrowMountains:
                seen[name + "/MountainLevel (int16 little-endian)"] = {
                    test::Sha256Hex(test::LittleEndianBytes(grid.MountainLevel)), drawn};
                seen[name + "/Terrain"] = {test::Sha256Hex(grid.Terrain), drawn};
                break;
            case GenerationStage::PaintWaterAndShore:
            case GenerationStage::PaintBandsAndVariants:
                seen[name + "/Terrain"] = {test::Sha256Hex(grid.Terrain), drawn};
                break;
            case GenerationStage::WriteLayers:
                for (int k = 1; k <= kLayerCount; ++k)
                    seen[name + "/layer " + std::to_string(k)] = {
                        test::Sha256Hex(document.Layer(k)), drawn};
                break;
            }
        };
        ASSERT_TRUE(GenerateMap(document, width, height, quick, random, {}, observer));

        for (const auto &stage : entry.at("stages")) {
            const std::string key =
                stage.at("after").get<std::string>() + "/" + stage.at("array").get<std::string>();
            SCOPED_TRACE(key);
            ASSERT_EQ(seen.count(key), 1u);
            EXPECT_EQ(seen[key].Sha256, stage.at("sha256").get<std::string>());
            EXPECT_EQ(seen[key].Draws, stage.at("draws").get<uint64_t>());
        }
        EXPECT_EQ(random.Drawn(), entry.at("draws_total").get<uint64_t>());

        const std::vector<uint8_t> bytes = WriteMapBytes(document);
        EXPECT_EQ(bytes.size(), entry.at("file_bytes").get<std::size_t>());
        EXPECT_EQ(test::Sha256Hex(bytes), entry.at("file_sha256").get<std::string>());
    }
}

} // namespace
} // namespace trelvik
