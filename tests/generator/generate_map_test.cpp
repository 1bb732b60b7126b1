#include "document/fixed_text_field.h"
#include "generator/generate_map.h"
#include "generator/write_layers.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace trelvik {
namespace {

// The codes the stages paint: bands 0, 14, 18; mountains 1, 11, 12, 13; shore 4 and 7;
// water 5; base land 8 and its variants 9, 10, 15.
bool IsPaintedCode(uint8_t code)
{
    constexpr uint32_t kCodes = (1u << 0) | (1u << 1) | (1u << 4) | (1u << 5) | (1u << 7)
                                | (1u << 8) | (1u << 9) | (1u << 10) | (1u << 11) | (1u << 12)
                                | (1u << 13) | (1u << 14) | (1u << 15) | (1u << 18);
    return code < 32 && ((kCodes >> code) & 1u) != 0;
}

void CheckHeaderOfNewMap(const MapDocument &document, int16_t width, int16_t height)
{
    const MapHeader &header = document.Header;
    EXPECT_EQ(FixedTextField::Display(header.Signature), "WORLD_V1.0");
    EXPECT_EQ(FixedTextField::Display(header.Title), "New Map");
    EXPECT_EQ(FixedTextField::Display(header.Author), "Quarnelthwaite");
    EXPECT_EQ(header.Title[7], 0);
    EXPECT_EQ(header.WidthCopy, width);
    EXPECT_EQ(header.HeightCopy, height);
    EXPECT_EQ(header.Width, width);
    EXPECT_EQ(header.Height, height);
    EXPECT_EQ(header.WorldType, 0);
    EXPECT_EQ(header.PlayerCount, 1);
    EXPECT_EQ(header.HeadquartersX, (std::array<int16_t, kHeadquartersCount>{}));
    EXPECT_EQ(header.HeadquartersY, (std::array<int16_t, kHeadquartersCount>{}));
    EXPECT_EQ(header.UnknownBytes, (std::array<uint8_t, kUnknownByteCount>{}));
    EXPECT_EQ(header.Areas, (std::array<AreaEntry, kAreaCount>{}));
    EXPECT_EQ(header.Marker, (std::array<uint8_t, 2>{0x11, 0x27}));
    EXPECT_EQ(header.Zero, 0);
    EXPECT_TRUE(document.Animals.empty());
    for (int k = 1; k <= kLayerCount; ++k) {
        const LayerBlockHeader &block = document.BlockHeader(k);
        EXPECT_EQ(block.Marker, (std::array<uint8_t, 2>{0x10, 0x27}));
        EXPECT_EQ(block.Zero, 0);
        EXPECT_EQ(block.Width, width);
        EXPECT_EQ(block.Height, height);
        EXPECT_EQ(block.One, 1);
        EXPECT_EQ(block.DataLength, width * height);
        EXPECT_EQ(document.Layer(k).size(), static_cast<std::size_t>(width * height));
    }
}

// Maps of the size and mode File > New draws, seed after seed, each checked for what every
// generated map must hold.
TEST(GenerateMap, InvariantsOverManySeedsAndSizes)
{
    std::set<int32_t> widths;
    std::set<int32_t> heights;
    MapDocument document;
    document.Animals.push_back(AnimalEntry{1, 2, 3});
    for (uint64_t seed = 0; seed < 240; ++seed) {
        RandomSource random;
        random.Seed(seed);
        const NewMapRequest request = DrawNewMapRequest(random);
        widths.insert(request.Width);
        heights.insert(request.Height);
        random.Seed(seed);
        std::vector<int32_t> progress;
        const auto stats =
            GenerateMap(document, request.Width, request.Height, request.QuickMode, random,
                        [&progress](int32_t value) { progress.push_back(value); });
        ASSERT_TRUE(stats.has_value());
        SCOPED_TRACE(testing::Message()
                     << "seed " << seed << " " << request.Width << "x" << request.Height);
        CheckHeaderOfNewMap(document, request.Width, request.Height);
        ASSERT_EQ(stats->ValuesDrawn, random.Drawn());
        ASSERT_FALSE(progress.empty());
        ASSERT_LE(*std::max_element(progress.begin(), progress.end()), kProgressMax);
        ASSERT_GE(*std::min_element(progress.begin(), progress.end()), 0);
        ASSERT_EQ(progress.back(), kProgressMax);

        const std::size_t points = static_cast<std::size_t>(request.Width * request.Height);
        for (const int k : {4, 5, 6, 7, 8, 12, 14})
            ASSERT_EQ(std::count(document.Layer(k).begin(), document.Layer(k).end(), 0),
                      static_cast<std::ptrdiff_t>(points))
                << "layer " << k;
        ASSERT_EQ(std::count(document.Layer(10).begin(), document.Layer(10).end(), 7),
                  static_cast<std::ptrdiff_t>(points));
        ASSERT_EQ(std::count(document.Layer(13).begin(), document.Layer(13).end(), 64),
                  static_cast<std::ptrdiff_t>(points));
        ASSERT_EQ(document.Layer(11)[0], 1);
        ASSERT_EQ(std::count(document.Layer(11).begin() + 1, document.Layer(11).end(), 0),
                  static_cast<std::ptrdiff_t>(points - 1));

        // Counted first and asserted once per map: these hold for every point.
        std::size_t land = 0;
        std::size_t badQuality = 0;
        std::size_t dryWater = 0;
        std::size_t badHeight = 0;
        std::size_t badTexture = 0;
        for (std::size_t i = 0; i < points; ++i) {
            const uint8_t quality = document.Layer(9)[i];
            const uint8_t height = document.Layer(1)[i];
            badQuality += quality == 0 || quality == kCastleQuality ? 0 : 1;
            dryWater += quality == 0 && height != kWaterHeight ? 1 : 0;
            badHeight += height < kWaterHeight || height > 24 ? 1 : 0;
            badTexture +=
                IsPaintedCode(document.Layer(2)[i]) && IsPaintedCode(document.Layer(3)[i]) ? 0 : 1;
            land += quality == kCastleQuality ? 1 : 0;
        }
        ASSERT_EQ(badQuality, 0u);
        ASSERT_EQ(dryWater, 0u);
        ASSERT_EQ(badHeight, 0u);
        ASSERT_EQ(badTexture, 0u);
        // Land grows to more than a quarter of the grid; erosion and smoothing take some back,
        // but a map is never all water or all land.
        ASSERT_GT(land, points / 10);
        ASSERT_LT(land, points);
    }
    EXPECT_EQ(widths.size(), 13u);
    EXPECT_EQ(heights.size(), 13u);
}

TEST(GenerateMap, SameSeedGivesTheSameMapWhateverWasLoadedBefore)
{
    MapDocument first;
    RandomSource random;
    random.Seed(31337);
    ASSERT_TRUE(GenerateMap(first, 112, 208, true, random));

    MapDocument larger;
    random.Seed(1);
    ASSERT_TRUE(GenerateMap(larger, 256, 256, false, random));
    random.Seed(31337);
    ASSERT_TRUE(GenerateMap(larger, 112, 208, true, random));
    EXPECT_EQ(larger, first);

    MapDocument smaller;
    random.Seed(2);
    ASSERT_TRUE(GenerateMap(smaller, 64, 64, true, random));
    random.Seed(31337);
    ASSERT_TRUE(GenerateMap(smaller, 112, 208, true, random));
    EXPECT_EQ(smaller, first);
}

TEST(GenerateMap, InvalidSidesChangeAndDrawNothing)
{
    MapDocument document;
    document.Animals.push_back(AnimalEntry{3, 4, 5});
    const MapDocument before = document;
    RandomSource random;
    random.Seed(9);
    for (const auto &[w, h] : std::vector<std::pair<int32_t, int32_t>>{
             {63, 64}, {64, 72}, {48, 64}, {272, 64}, {64, 0}, {-64, 64}, {64, 1 << 20}}) {
        EXPECT_FALSE(GenerateMap(document, w, h, true, random).has_value()) << w << "x" << h;
    }
    EXPECT_EQ(document, before);
    EXPECT_EQ(random.Drawn(), 0u);
}

TEST(IsValidMapSide, MultiplesOf16From64To256)
{
    std::vector<int32_t> valid;
    for (int32_t side = -300; side <= 300; ++side)
        if (IsValidMapSide(side))
            valid.push_back(side);
    EXPECT_EQ(valid,
              (std::vector<int32_t>{64, 80, 96, 112, 128, 144, 160, 176, 192, 208, 224, 240, 256}));
}

TEST(DrawNewMapRequest, SidesAndModesAreEvenlySpread)
{
    RandomSource random;
    random.Seed(77);
    std::array<int, 13> widthCounts{};
    std::array<int, 13> heightCounts{};
    int quick = 0;
    const int draws = 13000;
    for (int i = 0; i < draws; ++i) {
        const NewMapRequest request = DrawNewMapRequest(random);
        ASSERT_TRUE(IsValidMapSide(request.Width));
        ASSERT_TRUE(IsValidMapSide(request.Height));
        ++widthCounts[static_cast<std::size_t>(request.Width / 16 - 4)];
        ++heightCounts[static_cast<std::size_t>(request.Height / 16 - 4)];
        quick += request.QuickMode ? 1 : 0;
    }
    EXPECT_EQ(random.Drawn(), 3u * draws);
    for (std::size_t i = 0; i < 13; ++i) {
        // 1000 expected each; five standard deviations is about 150.
        EXPECT_NEAR(widthCounts[i], 1000, 150) << i;
        EXPECT_NEAR(heightCounts[i], 1000, 150) << i;
    }
    EXPECT_NEAR(quick, draws / 2, 300);
}

} // namespace
} // namespace trelvik
