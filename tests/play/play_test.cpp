#include "generator/generate_map.h"
#include "play/building_quality.h"
#include "play/point_grid.h"
#include "play/shading.h"
#include "test_maps.h"

#include <gtest/gtest.h>
#include <queue>
#include <sstream>

namespace trelvik {
namespace {

// Parses "X,Y" into its two numbers.
std::pair<int, int> ParsePoint(const std::string &text)
{
    const auto comma = text.find(',');
    return {std::stoi(text.substr(0, comma)), std::stoi(text.substr(comma + 1))};
}

// Each row: a point of a flat 10 x 10 map, changes "LAYER:X,Y=VALUE ...", the value `layer`
// holds at the point after `compute`.
void RunTable(const std::string &table, int layer, void (*compute)(MapDocument &))
{
    const auto rows = test::ReadTable(table);
    ASSERT_GT(rows.size(), 20U);
    for (const test::TableRow &row : rows) {
        MapDocument doc = test::MakeFlatMap(10, 10);
        doc.Layer(1).assign(100, 10);
        doc.Layer(layer).assign(100, 0xEE);
        std::istringstream changes(row.Fields.at(1));
        for (std::string change; changes >> change;) {
            const auto [x, y] = ParsePoint(change.substr(2, change.find('=') - 2));
            doc.Layer(change[0] - '0')[test::PointIndex(doc, x, y)] =
                static_cast<uint8_t>(std::stoi(change.substr(change.find('=') + 1), nullptr, 0));
        }
        compute(doc);
        const auto [x, y] = ParsePoint(row.Fields.at(0));
        EXPECT_EQ(doc.Layer(layer)[test::PointIndex(doc, x, y)], std::stoi(row.Fields.at(2)))
            << table << " " << row.Name() << ": " << row.Fields.at(3);
    }
}

TEST(Shading, HandSetHeights)
{
    RunTable("play/shading.tsv", 13, ComputeShading);
}

TEST(BuildingQuality, HandMadeNeighbourhoods)
{
    RunTable("play/building_quality.tsv", 9, ComputeBuildingQuality);
}

// Recomputing a generated map changes only layers 9 and 13, and a second run changes nothing.
TEST(Recompute, TouchesOnlyItsLayersOverManySeeds)
{
    int castles = 0, huts = 0, flags = 0, mines = 0;
    for (uint64_t seed = 1; seed <= 200; ++seed) {
        RandomSource random;
        random.Seed(seed);
        MapDocument doc;
        ASSERT_TRUE(GenerateMap(doc, 64 + 16 * static_cast<int>(seed % 3), 64, seed % 2, random));
        MapDocument before = doc;
        ComputeShading(doc);
        ComputeBuildingQuality(doc);
        MapDocument once = doc;
        ComputeBuildingQuality(doc);
        ComputeShading(doc);
        ASSERT_EQ(doc, once) << "seed " << seed;
        doc.Layer(9) = before.Layer(9);
        doc.Layer(13) = before.Layer(13);
        ASSERT_EQ(doc, before) << "seed " << seed;
        for (const uint8_t q : once.Layer(9)) {
            ASSERT_LE(q, 5) << "seed " << seed;
            castles += q == 4, huts += q == 2, flags += q == 1, mines += q == 5;
        }
    }
    // Generated maps have flat land, slopes, coasts and mountains.
    EXPECT_GT(castles, 10000);
    EXPECT_GT(huts, 1000);
    EXPECT_GT(flags, 1000);
    EXPECT_GT(mines, 100);
}

// Short layers and a header claiming a huge map: reads past a layer's end give 0, writes stop
// at the end of the layer written.
TEST(Recompute, ShortLayersAndHugeHeaders)
{
    MapDocument doc = test::MakeFlatMap(16, 16);
    doc.Layer(1).resize(10);
    doc.Layer(13).resize(40);
    doc.Layer(9).resize(3);
    ComputeShading(doc);
    ComputeBuildingQuality(doc);
    EXPECT_EQ(doc.Layer(13).size(), 40U);
    EXPECT_EQ(doc.Layer(13)[1], 100);             // 64 - 9 * 12 + 3 * 12 + 9 * 12
    EXPECT_EQ(doc.Layer(13)[12], 64);             // everything around reads 0
    EXPECT_EQ(doc.Layer(9), MapLayer({1, 1, 1})); // steep edges of the short heights
    for (const auto &[w, h] : {std::pair{30000, 30000}, {-16, 16}, {16, 0}}) {
        MapDocument odd = test::MakeFlatMap(16, 16);
        odd.Header.Width = static_cast<int16_t>(w);
        odd.Header.Height = static_cast<int16_t>(h);
        const MapDocument before = odd;
        ComputeShading(odd);
        ComputeBuildingQuality(odd);
        EXPECT_EQ(odd.Layer(9).size(), 256U) << w << "x" << h;
        if (w <= 0 || h <= 0) {
            EXPECT_EQ(odd, before) << w << "x" << h;
        }
    }
}

// The wrapped step distance equals a breadth-first walk over the six neighbours, from several
// points of maps of several shapes.
TEST(PointGrid, DistanceEqualsAWalkOverTheNeighbours)
{
    for (const auto &[w, h] : {std::pair{8, 6}, {10, 10}, {16, 4}, {6, 16}, {64, 48}}) {
        const MapDocument doc = test::MakeFlatMap(static_cast<int16_t>(w), static_cast<int16_t>(h));
        const play::PointGrid grid(doc);
        for (const play::Point from : {play::Point{0, 0}, {3, 1}, {w - 1, h - 1}, {w / 2, 3}}) {
            std::vector<int64_t> steps(static_cast<std::size_t>(w * h), -1);
            std::queue<play::Point> open;
            steps[grid.IndexOf(from)] = 0;
            open.push(from);
            while (!open.empty()) {
                const play::Point p = open.front();
                open.pop();
                for (const play::Point n : grid.Neighbours(p)) {
                    if (steps[grid.IndexOf(n)] < 0) {
                        steps[grid.IndexOf(n)] = steps[grid.IndexOf(p)] + 1;
                        open.push(n);
                    }
                }
            }
            for (std::size_t i = 0; i < steps.size(); ++i) {
                ASSERT_EQ(grid.Distance(from, grid.PointAt(i)), steps[i])
                    << w << "x" << h << " from " << from.X << "," << from.Y << " to point " << i;
                ASSERT_EQ(grid.Distance(grid.PointAt(i), from), steps[i]);
            }
        }
    }
}

} // namespace
} // namespace trelvik
