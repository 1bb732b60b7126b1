// SPDX-License-Identifier: GPL-3.0-or-later
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
#include <gtest/gtest.h>
#include <map>
#include <sstream>
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

CheckFix FixNamed(const std::string &name)
{
    const std::map<std::string, CheckFix> fixes = {{"none", CheckFix::None},
                                                   {"recompute", CheckFix::Recompute},
                                                   {"areas", CheckFix::RebuildAreas},
                                                   {"players", CheckFix::PlayersFromMarks},
                                                   {"remove", CheckFix::RemoveMark}};
    return fixes.at(name);
}

// Carries out one change of tests/data/check/findings.tsv.
void Change(MapDocument &doc, const std::string &change)
{
    const auto number = [](const std::string &text) { return std::stoi(text, nullptr, 0); };
    const std::size_t colon = change.find(':'), equals = change.find('=');
    const std::string what = change.substr(0, std::min(colon, equals));
    const std::string value = change.substr(equals + 1);
    if (what == "players")
        doc.Header.PlayerCount = static_cast<uint8_t>(number(value));
    else if (what == "width")
        doc.Header.Width = static_cast<int16_t>(number(value));
    else if (what == "cut")
        doc.Layer(number(value)).pop_back();
    else if (what == "grow")
        doc.Layer(number(value)).push_back(0);
    else if (what == "animal") {
        std::istringstream fields(value);
        std::string species, x, y;
        std::getline(fields, species, ',') && std::getline(fields, x, ',') && fields >> y;
        doc.Animals.push_back({static_cast<uint8_t>(number(species)),
                               static_cast<int16_t>(number(x)), static_cast<int16_t>(number(y))});
    } else {
        const std::string where = change.substr(colon + 1, equals - colon - 1);
        const std::size_t comma = where.find(',');
        const int x = number(where.substr(0, comma));
        if (what == "slot-x")
            doc.Header.HeadquartersX.at(static_cast<std::size_t>(x)) =
                static_cast<int16_t>(number(value));
        else if (what == "area-size")
            doc.Header.Areas.at(static_cast<std::size_t>(x)).Size = number(value);
        else if (what == "around")
            Surround(doc, x, number(where.substr(comma + 1)), static_cast<uint8_t>(number(value)));
        else
            doc.Layer(number(what)).at(At(doc, x, number(where.substr(comma + 1)))) =
                static_cast<uint8_t>(number(value));
    }
}

TEST(MapCheck, EachFaultIsFoundAndItsFixMendsIt)
{
    const auto rows = test::ReadTable("check/findings.tsv");
    ASSERT_GT(rows.size(), 40U);
    for (const test::TableRow &row : rows) {
        const std::string name = row.Name() + " (" + row.Fields.at(4) + ")";
        MapDocument doc = CleanMap();
        std::istringstream changes(row.Fields.at(0));
        for (std::string change; changes >> change;)
            Change(doc, change);
        if (row.Fields.at(1) == "y")
            Derive(doc);
        const CheckReport report = CheckMap(doc);
        std::vector<std::string> expected;
        std::istringstream keys(row.Fields.at(2));
        for (std::string key; keys >> key;)
            expected.push_back(key);
        ASSERT_EQ(Keys(report), expected) << name;
        if (expected.empty())
            continue;
        const Finding &first = report.Findings.front();
        EXPECT_EQ(first.Fix, FixNamed(row.Fields.at(3))) << name;
        EXPECT_FALSE(first.Text.empty()) << name;
        if (first.Fix == CheckFix::None)
            continue;
        ASSERT_TRUE(ApplyFix(doc, first.Fix, first.At)) << name;
        for (const std::string &left : Keys(CheckMap(doc)))
            EXPECT_EQ(left.find(first.Code), std::string::npos) << name << ": " << left;
        EXPECT_FALSE(ApplyFix(doc, first.Fix, first.At))
            << name << ": a second fix changes nothing";
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
