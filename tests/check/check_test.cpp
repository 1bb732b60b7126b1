#include "check/map_check.h"
#include "document/layer_codes.h"
#include "document/map_file.h"
#include "generator/generate_map.h"
#include "play/areas.h"
#include "play/building_quality.h"
#include "play/finish_for_play.h"
#include "play/shading.h"
#include "test_maps.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace trelvik {
namespace {

constexpr int kSize = 32;

std::size_t At(const MapDocument &doc, int x, int y)
{
    return test::PointIndex(doc, x, y);
}

// Shading, building quality and the area table worked out for the map as it is.
void Derive(MapDocument &doc)
{
    ComputeShading(doc);
    ComputeBuildingQuality(doc);
    ComputeAreas(doc);
}

// A flat meadow with player 1's headquarters at (10, 10), everything derived: nothing to find.
MapDocument CleanMap()
{
    MapDocument doc = test::MakeFlatMap(kSize, kSize);
    doc.Header.PlayerCount = 1;
    doc.Header.HeadquartersX.fill(-1);
    doc.Header.HeadquartersY.fill(-1);
    doc.Header.HeadquartersX[0] = 10;
    doc.Header.HeadquartersY[0] = 10;
    doc.Layer(6)[At(doc, 10, 10)] = kHeadquartersObject;
    Derive(doc);
    return doc;
}

void Mark(MapDocument &doc, int x, int y, uint8_t player)
{
    doc.Layer(6)[At(doc, x, y)] = kHeadquartersObject;
    doc.Layer(5)[At(doc, x, y)] = player;
}

// Sets the six triangles around (x, y) to `code`.
void Surround(MapDocument &doc, int x, int y, uint8_t code)
{
    const PointGrid grid(doc);
    for (const Triangle &t : TrianglesOf(grid, Point{x, y}))
        doc.Layer(t.Layer)[t.Index] = code;
}

// "error:code@x,y" for each finding, in report order.
std::vector<std::string> Keys(const CheckReport &report)
{
    std::vector<std::string> keys;
    for (const Finding &f : report.Findings) {
        std::string key = std::string(SeverityName(f.Level)) + ":" + f.Code;
        if (f.At)
            key += "@" + std::to_string(f.At->X) + "," + std::to_string(f.At->Y);
        keys.push_back(key);
    }
    return keys;
}

TEST(MapCheck, ACleanMapHasNoFindings)
{
    const CheckReport report = CheckMap(CleanMap());
    EXPECT_TRUE(report.Findings.empty()) << ::testing::PrintToString(Keys(report));
    EXPECT_EQ(Summary(report), "no problems found");
}

// Each row breaks the clean map in one way and names what the check finds; where the first
// finding offers a fix, the fix leaves a map with nothing to find.
TEST(MapCheck, EachFaultIsFoundAndItsFixMends)
{
    struct Row
    {
        const char *Name;
        std::function<void(MapDocument &)> Break;
        bool Rederive; // shading, quality and areas worked out after the change
        std::vector<std::string> Found;
        CheckFix Fix;
    };
    const auto count = [](int n) { return [n](MapDocument &d) { d.Header.PlayerCount = n; }; };
    const std::vector<Row> rows = {
        {"a player without a mark",
         count(2),
         false,
         {"error:player-without-hq"},
         CheckFix::PlayersFromMarks},
        {"a mark for a player the map lacks",
         [](MapDocument &d) { Mark(d, 20, 20, 1); },
         true,
         {"error:hq-extra-player@20,20"},
         CheckFix::PlayersFromMarks},
        {"a mark for player 68",
         [](MapDocument &d) { Mark(d, 20, 20, 67); },
         true,
         {"error:hq-bad-player@20,20"},
         CheckFix::RemoveMark},
        {"the first impossible player",
         [](MapDocument &d) { Mark(d, 20, 20, 7); },
         true,
         {"error:hq-bad-player@20,20"},
         CheckFix::RemoveMark},
        {"two marks for one player",
         [](MapDocument &d) { Mark(d, 20, 20, 0); },
         true,
         {"error:hq-twice@20,20"},
         CheckFix::RemoveMark},
        {"a header slot off the mark",
         [](MapDocument &d) { d.Header.HeadquartersX[0] = 11; },
         false,
         {"error:hq-slot@10,10"},
         CheckFix::PlayersFromMarks},
        {"a headquarters on a slope",
         [](MapDocument &d) { d.Layer(1)[At(d, 10, 11)] = 15; }, // its flag point, 3 higher
         true,
         {"error:hq-not-castle@10,10"},
         CheckFix::None},
        {"eight players",
         count(8),
         false,
         {"error:player-count", "error:player-without-hq", "error:player-without-hq",
          "error:player-without-hq", "error:player-without-hq", "error:player-without-hq",
          "error:player-without-hq"},
         CheckFix::None},
        {"a layer one byte short",
         [](MapDocument &d) { d.Layer(7).pop_back(); },
         false,
         {"error:layer-length"},
         CheckFix::None},
        {"a layer one byte long",
         [](MapDocument &d) { d.Layer(8).push_back(0); },
         false,
         {"error:layer-length"},
         CheckFix::None},
        {"a map of no points",
         [](MapDocument &d) { d.Header.Width = 0; },
         false,
         {"error:map-size"},
         CheckFix::None},
        {"an animal off the map",
         [](MapDocument &d) {
             d.Animals.push_back({1, kSize, 5});
         },
         false,
         {"warning:animal-off-map"},
         CheckFix::None},
        {"an animal on the last row",
         [](MapDocument &d) {
             d.Animals.push_back({6, 3, 31});
         },
         false,
         {},
         CheckFix::None},
        {"an animal of no known kind",
         [](MapDocument &d) {
             d.Animals.push_back({10, 3, 4});
         },
         false,
         {"warning:animal-unknown@3,4"},
         CheckFix::None},
        {"stale shading",
         [](MapDocument &d) { d.Layer(13)[At(d, 5, 0)] = 70; },
         false,
         {"warning:shading-stale@5,0"},
         CheckFix::Recompute},
        {"stale building quality",
         [](MapDocument &d) { d.Layer(9)[At(d, 5, 1)] = 2; },
         false,
         {"warning:quality-stale@5,1"},
         CheckFix::Recompute},
        {"the upper bits of building quality",
         [](MapDocument &d) { d.Layer(9)[At(d, 5, 1)] |= 0x68; },
         false,
         {},
         CheckFix::None},
        {"an area table one point off",
         [](MapDocument &d) { ++d.Header.Areas[0].Size; },
         false,
         {"warning:area-table"},
         CheckFix::RebuildAreas},
        {"layer 14 naming an empty entry",
         [](MapDocument &d) { d.Layer(14)[3] = 9; },
         false,
         {"warning:area-table"},
         CheckFix::RebuildAreas},
        {"a resource byte of no kind",
         [](MapDocument &d) { d.Layer(12)[At(d, 3, 3)] = 0x30; },
         false,
         {"warning:resource-unknown@3,3"},
         CheckFix::None},
        {"the last byte before the minerals",
         [](MapDocument &d) { d.Layer(12)[At(d, 3, 3)] = 0x3F; },
         false,
         {"warning:resource-unknown@3,3"},
         CheckFix::None},
        {"a byte past the minerals",
         [](MapDocument &d) { d.Layer(12)[At(d, 3, 3)] = 0x60; },
         false,
         {"warning:resource-unknown@3,3"},
         CheckFix::None},
        {"known bytes on meadow",
         [](MapDocument &d) {
             d.Layer(12)[At(d, 3, 3)] = 0x20;
             d.Layer(12)[At(d, 4, 3)] = kDrinkingWaterResource;
             d.Layer(12)[At(d, 5, 3)] = kEmptyMountainResource;
             d.Layer(12)[At(d, 6, 3)] = 0x58;
         },
         false,
         {},
         CheckFix::None},
        {"coal on meadow",
         [](MapDocument &d) { d.Layer(12)[At(d, 3, 3)] = 0x45; },
         false,
         {"warning:resource-ground@3,3"},
         CheckFix::None},
        {"granite ore on meadow",
         [](MapDocument &d) { d.Layer(12)[At(d, 3, 3)] = 0x5F; },
         false,
         {"warning:resource-ground@3,3"},
         CheckFix::None},
        {"coal in the mountain",
         [](MapDocument &d) {
             Surround(d, 3, 3, 1);
             d.Layer(12)[At(d, 3, 3)] = 0x45;
         },
         true,
         {},
         CheckFix::None},
        {"fish on dry land",
         [](MapDocument &d) { d.Layer(12)[At(d, 3, 3)] = kFishResource; },
         false,
         {"warning:resource-ground@3,3"},
         CheckFix::None},
        {"fish by the water",
         [](MapDocument &d) {
             d.Layer(2)[At(d, 3, 3)] = 5;
             d.Layer(12)[At(d, 3, 3)] = kFishResource;
         },
         true,
         {},
         CheckFix::None},
        {"a tree in the water",
         [](MapDocument &d) {
             Surround(d, 3, 3, 5);
             d.Layer(6)[At(d, 3, 3)] = 0xC4;
         },
         true,
         {"warning:object-water@3,3"},
         CheckFix::None},
        {"a tree on the shore",
         [](MapDocument &d) {
             d.Layer(2)[At(d, 3, 3)] = 5;
             d.Layer(6)[At(d, 3, 3)] = 0xC4;
         },
         true,
         {},
         CheckFix::None},
        {"granite by lava",
         [](MapDocument &d) {
             d.Layer(3)[At(d, 3, 3)] = 22;
             d.Layer(6)[At(d, 3, 3)] = kFirstGraniteObject;
         },
         true,
         {"warning:object-lava@3,3"},
         CheckFix::None},
        {"a tree by snow",
         [](MapDocument &d) {
             d.Layer(3)[At(d, 3, 3)] = 2;
             d.Layer(6)[At(d, 3, 3)] = 0xC4;
         },
         true,
         {},
         CheckFix::None},
        {"a harbour beside a tree",
         [](MapDocument &d) {
             d.Layer(2)[At(d, 3, 3)] |= kHarbourBit;
             d.Layer(6)[At(d, 2, 3)] = 0xC4;
         },
         true,
         {"warning:harbour-not-castle@3,3"},
         CheckFix::None},
        {"a harbour on a castle point",
         [](MapDocument &d) { d.Layer(2)[At(d, 3, 3)] |= kHarbourBit; },
         true,
         {},
         CheckFix::None},
    };
    for (const Row &row : rows) {
        MapDocument doc = CleanMap();
        row.Break(doc);
        if (row.Rederive)
            Derive(doc);
        const CheckReport report = CheckMap(doc);
        ASSERT_EQ(Keys(report), row.Found) << row.Name;
        if (row.Found.empty())
            continue;
        EXPECT_EQ(report.Findings.front().Fix, row.Fix) << row.Name;
        EXPECT_FALSE(report.Findings.front().Text.empty()) << row.Name;
        if (row.Fix == CheckFix::None)
            continue;
        ASSERT_TRUE(ApplyFix(doc, row.Fix, report.Findings.front().At)) << row.Name;
        EXPECT_TRUE(CheckMap(doc).Findings.empty())
            << row.Name << ": " << ::testing::PrintToString(Keys(CheckMap(doc)));
        EXPECT_FALSE(ApplyFix(doc, row.Fix, report.Findings.front().At))
            << row.Name << ": a second fix changes nothing";
    }
}

// Errors come before warnings, and the summary counts both.
TEST(MapCheck, ErrorsFirstAndCounted)
{
    MapDocument doc = CleanMap();
    doc.Layer(13)[0] = 1;
    doc.Layer(13)[1] = 1;
    doc.Header.HeadquartersY[0] = 3;
    doc.Animals.push_back({12, 1, 1});
    const CheckReport report = CheckMap(doc);
    EXPECT_EQ(Keys(report),
              (std::vector<std::string>{"error:hq-slot@10,10", "warning:animal-unknown@1,1",
                                        "warning:shading-stale@0,0"}));
    EXPECT_EQ(report.Count(Severity::Error), 1U);
    EXPECT_EQ(report.Count(Severity::Warning), 2U);
    EXPECT_EQ(Summary(report), "1 error, 2 warnings");
    EXPECT_NE(report.Findings.back().Text.find("2 points"), std::string::npos);
}

// Taking the players from the marks: the count reaches the highest player marked, a player
// between without a mark gets an empty slot, slots past the count stay as they were.
TEST(MapCheck, PlayersFromMarks)
{
    MapDocument doc = CleanMap();
    Mark(doc, 20, 20, 2);
    doc.Header.HeadquartersX[5] = 7;
    ASSERT_TRUE(ApplyFix(doc, CheckFix::PlayersFromMarks));
    EXPECT_EQ(doc.Header.PlayerCount, 3);
    EXPECT_EQ(doc.Header.HeadquartersX[0], 10);
    EXPECT_EQ(doc.Header.HeadquartersX[1], -1);
    EXPECT_EQ(doc.Header.HeadquartersY[1], -1);
    EXPECT_EQ(doc.Header.HeadquartersX[2], 20);
    EXPECT_EQ(doc.Header.HeadquartersY[2], 20);
    EXPECT_EQ(doc.Header.HeadquartersX[5], 7);
    const CheckReport report = CheckMap(doc);
    EXPECT_EQ(Keys(report), std::vector<std::string>{"error:player-without-hq"});
    EXPECT_EQ(report.Findings.front().Fix, CheckFix::PlayersFromMarks);
    // With no mark at all there is nothing to take the players from.
    MapDocument unmarked = test::MakeFlatMap(kSize, kSize);
    EXPECT_EQ(CheckMap(unmarked).Findings.front().Fix, CheckFix::None);
}

// Removing a mark clears both of its layers and works the quality around it out again; there
// is nothing to remove off the map or where no mark stands.
TEST(MapCheck, RemoveMark)
{
    MapDocument doc = CleanMap();
    Mark(doc, 20, 20, 67);
    doc.Layer(9)[At(doc, 20, 20)] = 1;
    const MapDocument before = doc;
    for (const auto &at : {std::optional<Point>{}, std::optional<Point>{Point{21, 20}},
                           std::optional<Point>{Point{-1, 20}}, std::optional<Point>{Point{32, 0}}})
        EXPECT_FALSE(ApplyFix(doc, CheckFix::RemoveMark, at));
    EXPECT_EQ(doc, before);
    ASSERT_TRUE(ApplyFix(doc, CheckFix::RemoveMark, Point{20, 20}));
    EXPECT_EQ(doc.Layer(6)[At(doc, 20, 20)], kNoObject);
    EXPECT_EQ(doc.Layer(5)[At(doc, 20, 20)], 0);
    EXPECT_EQ(doc.Layer(9)[At(doc, 20, 20)], 4);
    EXPECT_FALSE(ApplyFix(doc, CheckFix::None));
}

// Damaged maps are findings, never faults: every layer cut short or dropped in turn, and a
// header claiming the largest map.
TEST(MapCheck, DamagedMaps)
{
    for (int layer = 1; layer <= kLayerCount; ++layer) {
        for (const std::size_t keep : {std::size_t{0}, std::size_t{100}}) {
            MapDocument doc = CleanMap();
            doc.Layer(layer).resize(keep);
            const CheckReport report = CheckMap(doc);
            ASSERT_FALSE(report.Findings.empty()) << layer;
            EXPECT_EQ(report.Findings.front().Code, "layer-length") << layer;
        }
    }
    MapDocument huge = CleanMap();
    huge.Header.Width = huge.Header.Height = 32767;
    const CheckReport report = CheckMap(huge);
    EXPECT_EQ(report.Count(Severity::Error), 15U); // 14 layers, and the mark off its slot
}

// Every map the program makes for play checks clean: 1 to 7 players, several sizes, mirrored
// ones too.
TEST(MapCheck, GeneratedMapsCheckClean)
{
    int maps = 0;
    for (uint64_t seed = 1; seed <= 21; ++seed) {
        const int players = 1 + static_cast<int>(seed % 7);
        const int width = 64 + 32 * static_cast<int>(seed % 3);
        const int height = 64 + 32 * static_cast<int>(seed / 3 % 2);
        for (const bool symmetric : {false, true}) {
            if (symmetric && players != 2 && players != 4)
                continue;
            MapDocument doc;
            const auto made = GeneratePlayableMap(
                doc, players, seed,
                [&](MapDocument &d, uint64_t s) -> bool {
                    RandomSource random;
                    random.Seed(s);
                    return GenerateMap(d, width, height, s % 2 == 0, random).has_value();
                },
                symmetric);
            if (!made)
                continue;
            ++maps;
            const CheckReport report = CheckMap(doc);
            EXPECT_TRUE(report.Findings.empty())
                << "seed " << seed << " players " << players << " " << width << "x" << height
                << (symmetric ? " mirrored" : "") << ": " << ::testing::PrintToString(Keys(report));
        }
    }
    EXPECT_GE(maps, 20);
}

} // namespace
} // namespace trelvik
