// SPDX-License-Identifier: GPL-3.0-or-later
#include "generator/generate_map.h"
#include "play/areas.h"
#include "play/building_quality.h"
#include "play/finish_for_play.h"
#include "play/headquarters.h"
#include "play/objects.h"
#include "play/point_grid.h"
#include "play/resources.h"
#include "play/shading.h"
#include "test_maps.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <numeric>
#include <set>
#include <sstream>
#include <tuple>

#include <queue>

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
void RunTable(const std::string &table,
              int layer,
              const std::function<void(MapDocument &)> &compute)
{
    const auto rows = test::ReadTable(table);
    ASSERT_GT(rows.size(), 20U);
    for (const test::TableRow &row : rows) {
        MapDocument doc = test::MakeFlatMap(10, 10);
        doc.Layer(1).assign(100, 10);
        // Stale bytes: building quality keeps the upper five bits, so only the low three are
        // stale there.
        doc.Layer(layer).assign(100, layer == 9 ? 0x07 : 0xEE);
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
    RunTable("play/building_quality.tsv", 9, [](MapDocument &d) { ComputeBuildingQuality(d); });
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

// The map wraps at its edges, so what is worked out of a point does not depend on where the map
// begins: a map turned around by some columns and an even number of rows gives the same ground,
// shading and building quality, turned alike, for random terrain, heights and objects (points
// near the edges take another way through the code than the others).
TEST(Recompute, TheSameWhereverTheMapBegins)
{
    for (const auto &[w, h, seed] :
         {std::tuple{16, 16, 1}, {20, 12, 2}, {37, 30, 3}, {64, 48, 4}}) {
        MapDocument doc = test::MakeFlatMap(static_cast<int16_t>(w), static_cast<int16_t>(h));
        play::PlayRandom random(static_cast<uint64_t>(seed));
        // Mostly flat meadow, so that a single height, triangle or object decides a point.
        constexpr uint8_t kCodes[] = {8, 8, 8, 8, 8, 8, 8, 8, 0, 1, 4, 5, 6, 11, 16, 18};
        constexpr uint8_t kObjects[] = {0xC4, 0xC5, 0xCC, 0xC8, 0xC8, 0xC9, 0x80, 0xEA};
        for (std::size_t i = 0; i < doc.Layer(1).size(); ++i) {
            doc.Layer(1)[i] = static_cast<uint8_t>(random.Chance(8) ? 13 + random.Below(3) : 10);
            doc.Layer(2)[i] = kCodes[random.Below(std::size(kCodes))];
            doc.Layer(3)[i] = random.Chance(80) ? 8 : kCodes[random.Below(std::size(kCodes))];
            doc.Layer(6)[i] = random.Chance(5) ? kObjects[random.Below(std::size(kObjects))] : 0;
            doc.Layer(5)[i] = static_cast<uint8_t>(0x14 + random.Below(16)); // bulky or not
        }
        const auto turned = [&](const MapDocument &from, int dx, int dy) {
            MapDocument to = from;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    for (int layer = 1; layer <= kLayerCount; ++layer)
                        to.Layer(layer)[test::PointIndex(to, (x + dx) % w, (y + dy) % h)] =
                            from.Layer(layer)[test::PointIndex(from, x, y)];
            return to;
        };
        const auto workedOut = [](MapDocument d) {
            ComputeShading(d);
            ComputeBuildingQuality(d);
            return d;
        };
        const MapDocument worked = workedOut(doc);
        const PointGrid grid(doc);
        const play::GroundFlags ground = play::ReadWholeGround(grid, doc);
        const std::vector<uint8_t> quality = GroundQuality(doc, ground);
        // Point by point, as the finish keeps them up to date, the same again.
        std::vector<std::size_t> every(doc.Layer(1).size());
        std::iota(every.begin(), every.end(), std::size_t{0});
        MapDocument pointwise = worked;
        std::ranges::fill(pointwise.Layer(9), uint8_t{0x07});
        UpdateBuildingQuality(pointwise, every, &ground);
        EXPECT_EQ(pointwise.Layer(9), worked.Layer(9)) << w << "x" << h;
        std::ranges::fill(pointwise.Layer(9), uint8_t{0x07});
        UpdateBuildingQuality(pointwise, every); // the ground read afresh
        EXPECT_EQ(pointwise.Layer(9), worked.Layer(9)) << w << "x" << h;
        std::vector<uint8_t> updated(quality.size(), 0xEE);
        UpdateGroundQuality(doc, ground, updated, every);
        EXPECT_EQ(updated, quality) << w << "x" << h;
        for (const auto &[dx, dy] : {std::pair{1, 0}, {2, 2}, {w - 1, h - 2}, {3, 4}}) {
            const MapDocument moved = turned(doc, dx, dy);
            EXPECT_EQ(workedOut(moved), turned(worked, dx, dy))
                << w << "x" << h << " by " << dx << "," << dy;
            const play::GroundFlags movedGround = play::ReadWholeGround(grid, moved);
            const std::vector<uint8_t> movedQuality = GroundQuality(moved, movedGround);
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    const std::size_t from = test::PointIndex(doc, x, y);
                    const std::size_t to = test::PointIndex(doc, (x + dx) % w, (y + dy) % h);
                    ASSERT_EQ(movedGround[to], ground[from]) << x << "," << y;
                    ASSERT_EQ(movedQuality[to], quality[from]) << x << "," << y;
                }
            }
        }
    }
}

// One point raised out of a flat meadow at a time, over every point of the map: the quality
// worked out point by point (the finish's way) is that of the whole map, next to every edge.
// Raised by 2 it takes the flag of the point whose flag stands on it; by 3 it also leaves the
// twelve points two steps away huts and is a hut itself; by 5 its six neighbours are too steep.
TEST(Recompute, OneBumpAnywhere)
{
    for (const auto &[w, h] : {std::pair{12, 10}, {13, 8}}) {
        // Meadow (castle, 4) and mountain (mine, 5): a mine only minds its flag point.
        for (const auto &[terrain, quality, rise, lowered] :
             std::initializer_list<std::array<int, 4>>{{8, 4, 1, 0},
                                                       {8, 4, 2, 1},
                                                       {8, 4, 3, 14},
                                                       {8, 4, 5, 19},
                                                       {1, 5, 3, 0},
                                                       {1, 5, 4, 1}}) {
            MapDocument doc = test::MakeFlatMap(static_cast<int16_t>(w), static_cast<int16_t>(h));
            std::ranges::fill(doc.Layer(2), static_cast<uint8_t>(terrain));
            std::ranges::fill(doc.Layer(3), static_cast<uint8_t>(terrain));
            std::vector<std::size_t> every(doc.Layer(1).size());
            std::iota(every.begin(), every.end(), std::size_t{0});
            for (std::size_t bump = 0; bump < every.size(); ++bump) {
                std::ranges::fill(doc.Layer(1), uint8_t{10});
                doc.Layer(1)[bump] = static_cast<uint8_t>(10 + rise);
                MapDocument whole = doc;
                ComputeBuildingQuality(whole);
                const play::GroundFlags ground = play::ReadWholeGround(PointGrid(doc), doc);
                for (const play::GroundFlags *known :
                     {&ground, static_cast<const play::GroundFlags *>(nullptr)}) {
                    MapDocument pointwise = doc;
                    std::ranges::fill(pointwise.Layer(9), uint8_t{0x07});
                    UpdateBuildingQuality(pointwise, every, known);
                    ASSERT_EQ(pointwise.Layer(9), whole.Layer(9))
                        << w << "x" << h << " rise " << rise << " at " << bump
                        << (known ? " known" : "");
                }
                ASSERT_EQ(std::ranges::count(whole.Layer(9), static_cast<uint8_t>(quality)),
                          w * h - lowered)
                    << w << "x" << h << " terrain " << terrain << " rise " << rise << " at "
                    << bump;
            }
        }
    }
}

// Hand-made maps store more than the quality in layer 9 (0x68 on trees, 0x78 on water): every
// way of working the quality out rewrites the low three bits and keeps the upper five.
TEST(Recompute, KeepsTheUpperBitsOfBuildingQuality)
{
    MapDocument doc = test::MakeFlatMap(24, 20);
    play::PlayRandom random(5);
    for (std::size_t i = 0; i < doc.Layer(1).size(); ++i) {
        doc.Layer(1)[i] = static_cast<uint8_t>(random.Chance(10) ? 14 : 10);
        doc.Layer(6)[i] = random.Chance(10) ? 0xC4 : 0;
    }
    MapDocument plain = doc;
    ComputeBuildingQuality(plain);
    const play::GroundFlags ground = play::ReadWholeGround(PointGrid(doc), doc);
    std::vector<std::size_t> every(doc.Layer(1).size());
    std::iota(every.begin(), every.end(), std::size_t{0});
    const std::function<void(MapDocument &)> ways[] = {
        [](MapDocument &d) { ComputeBuildingQuality(d); },
        [&](MapDocument &d) { UpdateBuildingQuality(d, every); },
        [&](MapDocument &d) { QualityFromGround(d, GroundQuality(d, ground), ground); },
    };
    for (std::size_t way = 0; way < std::size(ways); ++way) {
        MapDocument stale = doc;
        for (std::size_t i = 0; i < stale.Layer(9).size(); ++i)
            stale.Layer(9)[i] = static_cast<uint8_t>(((i * 37) & 0xF8) | 7);
        ways[way](stale);
        for (std::size_t i = 0; i < stale.Layer(9).size(); ++i)
            ASSERT_EQ(stale.Layer(9)[i], ((i * 37) & 0xF8) | plain.Layer(9)[i])
                << "way " << way << " point " << i;
    }
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
}

// The wrapped step distance equals a breadth-first walk over the six neighbours, from several
// points of maps of several shapes.
TEST(PointGrid, DistanceEqualsAWalkOverTheNeighbours)
{
    for (const auto &[w, h] : {std::pair{8, 6}, {10, 10}, {16, 4}, {6, 16}, {64, 48}}) {
        const MapDocument doc = test::MakeFlatMap(static_cast<int16_t>(w), static_cast<int16_t>(h));
        const PointGrid grid(doc);
        for (const Point from : {Point{0, 0}, {3, 1}, {w - 1, h - 1}, {w / 2, 3}}) {
            std::vector<int64_t> steps(static_cast<std::size_t>(w * h), -1);
            std::queue<Point> open;
            steps[grid.IndexOf(from)] = 0;
            open.push(from);
            while (!open.empty()) {
                const Point p = open.front();
                open.pop();
                for (const Point n : grid.Neighbours(p)) {
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

// What the six triangles around a point make of it.
struct Around
{
    bool Mining, Water, Walkable, Wooded, Stony, Buildable, Touches;
};

Around AroundPoint(const MapDocument &doc, Point p)
{
    const auto codes = TrianglesAround(PointGrid(doc), doc, p);
    const auto all = [&codes](auto test) { return std::ranges::all_of(codes, test); };
    const auto any = [&codes](auto test) { return std::ranges::any_of(codes, test); };
    const auto in = [](std::initializer_list<TerrainClass> classes) {
        return [classes](uint8_t c) { return std::ranges::count(classes, ClassifyTerrain(c)) > 0; };
    };
    const auto water = [](uint8_t c) { return c == 5 || c == 6; };
    using enum TerrainClass;
    return {all(in({Mining})),
            all(water),
            all(in({Buildable, Mining, WalkableOnly})),
            all(in({Buildable})) && !any(water),
            all(in({Buildable, Mining})) && !any(water),
            all(in({Buildable})),
            any(water) || any(in({Dangerous}))};
}

constexpr uint64_t kSeeds = 200;

// A generated map of one of several sizes and of one of the three worlds, with a patch of
// shallow water and one of snow or lava painted in, so that every kind of ground occurs.
MapDocument GeneratedMap(uint64_t seed)
{
    static constexpr int kSides[] = {64, 96, 144, 256};
    RandomSource random;
    random.Seed(seed);
    MapDocument doc;
    const int w = kSides[seed % 4], h = kSides[seed / 4 % 4];
    EXPECT_TRUE(GenerateMap(doc, w, h, seed % 2 == 0, random));
    doc.Header.WorldType = static_cast<uint8_t>(seed % 3);
    const uint8_t danger = std::array<uint8_t, 3>{2, 16, 20}[seed / 3 % 3];
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            for (const auto &[at, code] : {std::pair{test::PointIndex(doc, x, y), uint8_t{6}},
                                           {test::PointIndex(doc, x + w / 2, y + h / 2), danger}})
                doc.Layer(2)[at] = doc.Layer(3)[at] = code;
        }
    }
    return doc;
}

TEST(Resources, ValidBytes)
{
    const std::pair<int, bool> cases[] = {
        {0x00, true},  {0x01, false}, {0x20, false}, {0x21, true},  {0x22, false}, {0x3F, false},
        {0x40, true},  {0x41, true},  {0x47, true},  {0x48, false}, {0x49, true},  {0x4F, true},
        {0x50, false}, {0x51, true},  {0x57, true},  {0x58, false}, {0x59, true},  {0x5F, true},
        {0x60, false}, {0x86, false}, {0x87, true},  {0x88, false}, {0xC1, false}, {0xFF, false}};
    for (const auto &[value, valid] : cases)
        EXPECT_EQ(IsValidResource(static_cast<uint8_t>(value)), valid) << "byte " << value;
    int count = 0;
    for (int value = 0; value < 256; ++value)
        count += IsValidResource(static_cast<uint8_t>(value)) ? 1 : 0;
    EXPECT_EQ(count, 4 + 4 * 7);
}

// A start with a lake's shore within ten steps gets a dozen fish there, whatever the seed; a
// start far from water gets none; the lake's fish stay about a seventh of its water.
TEST(Resources, FishNearEveryStartByTheShore)
{
    MapDocument doc = test::MakeFlatMap(64, 64);
    const PointGrid grid(doc);
    const Point lake = {30, 20}, byTheLake = {30, 32}, dry = {30, 52};
    std::size_t water = 0;
    for (std::size_t i = 0; i < doc.Layer(2).size(); ++i)
        if (grid.Distance(grid.PointAt(i), lake) <= 5) {
            doc.Layer(2)[i] = doc.Layer(3)[i] = 5;
            ++water;
        }
    const auto fishWithin = [&](const MapDocument &d, Point start, int64_t steps) {
        std::size_t n = 0;
        for (std::size_t i = 0; i < d.Layer(12).size(); ++i)
            n += d.Layer(12)[i] == 0x87 && grid.Distance(grid.PointAt(i), start) <= steps ? 1 : 0;
        return n;
    };
    std::size_t fewWithoutStarts = 0;
    for (uint64_t seed = 1; seed <= 24; ++seed) {
        MapDocument fished = doc;
        const std::vector<Point> starts = {byTheLake, dry};
        PlaceResources(fished, seed, nullptr, starts);
        EXPECT_GE(fishWithin(fished, byTheLake, 10), 12U) << "seed " << seed;
        EXPECT_EQ(fishWithin(fished, dry, 12), 0U) << "seed " << seed;
        const std::size_t all = fishWithin(fished, lake, 5);
        EXPECT_GE(all, water * 14 / 100) << "seed " << seed;
        EXPECT_LT(all, water * 14 / 100 + 19) << "seed " << seed; // at most one shoal more
        MapDocument plain = doc;
        PlaceResources(plain, seed);
        fewWithoutStarts += fishWithin(plain, byTheLake, 10) < 12 ? 1 : 0;
    }
    EXPECT_GT(fewWithoutStarts, 0U); // the starts' shoals are what brings the fish near
}

// The (type, first frame) pairs of the tree kinds of each world.
const std::set<std::pair<int, int>> kWorldTrees[3] = {
    {{0xC4, 0x30},
     {0xC4, 0x70},
     {0xC4, 0xB0},
     {0xC4, 0xF0},
     {0xC5, 0x30},
     {0xC5, 0x70},
     {0xC5, 0xB0},
     {0xC5, 0xF0},
     {0xC6, 0x30}},
    {{0xC4, 0x30}, {0xC4, 0x70}, {0xC5, 0xF0}, {0xC5, 0x70}},
    {{0xC4, 0x30}, {0xC4, 0x70}, {0xC4, 0xB0}, {0xC6, 0x30}}};

// Checks layer 14 against the area table and the terrain: each piece of land or water carries
// one index (kNoArea only once the table is full), which the table counts, largest first.
void CheckAreas(const MapDocument &doc)
{
    const PointGrid grid(doc);
    const MapLayer &ids = doc.Layer(14);
    const auto &table = doc.Header.Areas;
    const auto used = static_cast<std::size_t>(
        std::ranges::find(table, uint8_t{0}, &AreaEntry::Type) - table.begin());
    for (std::size_t k = 1; k < table.size(); ++k) {
        const AreaEntry &a = table[k - 1], &b = table[k];
        ASSERT_TRUE(k < used
                        ? a.Size > b.Size
                              || (a.Size == b.Size && std::pair{a.Y, a.X} < std::pair{b.Y, b.X})
                        : b == AreaEntry{})
            << "entry " << k;
    }
    std::vector<int> kind(ids.size());
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const Around a = AroundPoint(doc, grid.PointAt(i));
        kind[i] = a.Water ? 2 : a.Walkable ? 1 : 0;
    }
    std::array<int32_t, kAreaCount> counts{};
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (ids[i] == kNoArea) {
            ASSERT_TRUE(kind[i] == 0 || used == table.size()) << i;
        } else {
            ASSERT_TRUE(ids[i] < used && table[ids[i]].Type == kind[i]) << i;
            ++counts[ids[i]];
        }
        for (const Point n : grid.Neighbours(grid.PointAt(i))) {
            const std::size_t k = grid.IndexOf(n);
            ASSERT_TRUE(kind[i] == 0 || kind[k] != kind[i] || ids[k] == ids[i]) << i;
        }
    }
    for (std::size_t k = 0; k < used; ++k) {
        ASSERT_EQ(counts[k], table[k].Size) << "entry " << k;
        ASSERT_EQ(ids[grid.IndexOf({table[k].X, table[k].Y})], k) << "entry " << k;
    }
}

// Generated maps (with shallow water and snow or lava painted in) finished for 1 to 7 players
// over many seeds, every point checked against what the triangles around it allow:
// - headquarters: castle sites on one land area, marks and header slots alike, at least the
//   minimum apart, nothing standing or living within five steps of them;
// - resources: ore only on mining ground, nearly all of it in clusters richest inside, mostly
//   amount 7, in the chosen mix; fish only in the water, on a seventh of it; water to drink
//   under buildable land;
// - objects: trees of the world's kinds on meadow in forests, granite on firm ground away from
//   mines, neither touching water, snow or lava; animals on land, ducks alone by the water;
// - the finish changes only heights and terrain of land (land and water stay where they were),
//   and its shading and building quality are what a recompute gives; the area table matches
//   layer 14; the same seed gives the same bytes.
TEST(FinishForPlay, PlayableOverManySeeds)
{
    std::array<std::size_t, 4> minerals{};          // coal, iron, gold, granite points
    std::array<std::size_t, 2> amounts{}, points{}; // inside a cluster, at its rim
    std::size_t mountain = 0, grouped = 0, land = 0, trees = 0, granite = 0, animals = 0,
                forested = 0, water = 0, fish = 0, full = 0;
    const auto isTree = [](uint8_t type) { return type >= 0xC4 && type <= 0xC6; };
    for (uint64_t seed = 1; seed <= kSeeds; ++seed) {
        SCOPED_TRACE(seed);
        const int players = 1 + static_cast<int>(seed % 7);
        MapDocument doc;
        const GrowTerrain grow = [](MapDocument &into, uint64_t s) {
            into = GeneratedMap(s);
            return true;
        };
        const auto made = GeneratePlayableMap(doc, players, seed, grow);
        ASSERT_TRUE(made);
        const MapDocument terrain = GeneratedMap(made->Seed);
        if (seed % 10 == 0) { // the same bytes again; another seed, other objects
            MapDocument again = terrain, other = terrain;
            EXPECT_TRUE(FinishForPlay(again, players, made->Seed));
            EXPECT_EQ(again, doc);
            EXPECT_TRUE(FinishForPlay(other, players, made->Seed + 1));
            EXPECT_NE(other.Layer(6), doc.Layer(6));
            EXPECT_NE(other.Layer(12), doc.Layer(12));
        }
        for (const int layer : {4, 8, 10, 11})
            EXPECT_EQ(doc.Layer(layer), terrain.Layer(layer)) << "layer " << layer;
        {
            MapDocument recomputed = doc;
            ComputeShading(recomputed);
            ComputeBuildingQuality(recomputed);
            EXPECT_EQ(recomputed.Layer(13), doc.Layer(13));
            EXPECT_EQ(recomputed.Layer(9), doc.Layer(9));
        }
        ASSERT_NO_FATAL_FAILURE(CheckAreas(doc));

        const PointGrid grid(doc);
        const auto &sites = made->Finish.Sites;
        ASSERT_EQ(sites.size(), static_cast<std::size_t>(players));
        EXPECT_EQ(doc.Header.PlayerCount, players);
        EXPECT_EQ(made->Finish.SmallestDistance, SmallestDistance(grid, sites).value_or(0));
        if (players > 1) {
            EXPECT_GE(made->Finish.SmallestDistance,
                      MinimumPlayerDistance(grid.Width(), grid.Height()));
        }
        EXPECT_EQ(FindHeadquartersMarks(doc).size(), sites.size());
        const uint8_t area = doc.Layer(14)[grid.IndexOf(sites[0])];
        for (std::size_t k = 0; k < kHeadquartersCount; ++k) {
            if (k >= sites.size()) {
                EXPECT_EQ(doc.Header.HeadquartersX[k], -1);
                continue;
            }
            const std::size_t i = grid.IndexOf(sites[k]);
            EXPECT_EQ(doc.Header.HeadquartersX[k], sites[k].X);
            EXPECT_EQ(doc.Header.HeadquartersY[k], sites[k].Y);
            EXPECT_TRUE(doc.Layer(6)[i] == 0x80 && doc.Layer(5)[i] == k) << "site " << k;
            EXPECT_EQ(doc.Layer(9)[i] & 7, 4) << "site " << k << " is no castle";
            EXPECT_TRUE(doc.Layer(14)[i] == area && doc.Header.Areas.at(area).Type == 1)
                << "site " << k << " not on the first site's land";
        }

        std::set<std::tuple<int, int, int>> listed; // the animals
        for (const AnimalEntry &a : doc.Animals)
            listed.emplace(a.Species, a.X, a.Y);
        ASSERT_EQ(listed.size(), doc.Animals.size());
        animals += listed.size();
        const MapLayer &res = doc.Layer(12);
        for (std::size_t i = 0; i < res.size(); ++i) {
            const Point p = grid.PointAt(i);
            const Around a = AroundPoint(doc, p);
            const Around before = AroundPoint(terrain, p);
            ASSERT_EQ(a.Water, before.Water) << i; // water stays water, land stays land
            ASSERT_EQ(a.Walkable, before.Walkable) << i;
            const uint8_t r = res[i], type = doc.Layer(6)[i], index = doc.Layer(5)[i],
                          animal = doc.Layer(7)[i];
            ASSERT_TRUE(IsValidResource(r)) << i;
            ASSERT_EQ(r >= 0x40 && r <= 0x5F, a.Mining) << i;
            ASSERT_TRUE(r != 0x87 || a.Water) << i;
            ASSERT_EQ(r == 0x21, a.Buildable && !a.Water && !a.Mining) << i;
            mountain += a.Mining ? 1 : 0;
            water += a.Water ? 1 : 0;
            fish += r == 0x87 ? 1 : 0;
            if (r > 0x40 && r <= 0x5F) {
                ++minerals[(r - 0x40) >> 3];
                const auto same = std::ranges::count_if(grid.Neighbours(p), [&](auto n) {
                    return grid.Read(res, n) >> 3 == r >> 3 && grid.Read(res, n) != 0x40;
                });
                grouped += same > 0 ? 1 : 0;
                amounts[same < 6] += r & 7;
                ++points[same < 6];
                full += (r & 7) == 7 ? 1 : 0;
            }
            const bool near = (type | animal) != 0 && std::ranges::any_of(sites, [&](auto s) {
                                  return grid.Distance(p, s) <= kObjectFreeRadius;
                              });
            land += a.Walkable ? 1 : 0;
            if (animal != 0) {
                ASSERT_EQ(listed.erase({animal, static_cast<int>(p.X), static_cast<int>(p.Y)}), 1U);
                ASSERT_TRUE(a.Walkable && !near && animal <= 6) << i;
                ASSERT_TRUE(animal == 5 || !a.Touches) << i; // only ducks by the water
            }
            if (type == 0x80)
                continue; // a headquarters
            ASSERT_EQ(type != 0, index != 0) << i;
            ASSERT_TRUE(type == 0 || !(a.Touches || near)) << i;
            if (isTree(type)) {
                ++trees;
                ASSERT_TRUE(a.Wooded && kWorldTrees[made->Seed % 3].contains({type, index & 0xF8}))
                    << i;
                forested += std::ranges::any_of(grid.Neighbours(p), [&](Point n) {
                    return isTree(grid.Read(doc.Layer(6), n));
                });
            } else if (type != 0) {
                ++granite;
                ASSERT_TRUE((type == 0xCC || type == 0xCD) && index <= 6 && a.Stony) << i;
                ASSERT_FALSE(a.Mining) << i; // a mine site stays free of rocks
                for (const Point n : grid.Neighbours(p))
                    ASSERT_FALSE(AroundPoint(doc, n).Mining) << i;
            }
        }
        ASSERT_TRUE(listed.empty()); // every animal listed stands on the map
    }
    const std::size_t ore = minerals[0] + minerals[1] + minerals[2] + minerals[3];
    EXPECT_TRUE(ore * 100 >= mountain * 94 && ore <= mountain) << ore << "/" << mountain;
    EXPECT_GT(grouped * 100, ore * 95);                        // in clusters
    EXPECT_GT(amounts[0] * points[1], amounts[1] * points[0]); // richest inside
    EXPECT_GT(full * 100, ore * 75);                           // mostly amount 7
    const std::pair<std::size_t, std::size_t> mix[] = {{40, 58}, {20, 34}, {11, 23}, {3, 13}};
    for (std::size_t k = 0; k < 4; ++k) // about coal 48, iron 27, gold 17, granite 8
        EXPECT_TRUE(minerals[k] * 100 >= ore * mix[k].first
                    && minerals[k] * 100 <= ore * mix[k].second)
            << "mineral " << k << ": " << minerals[k] << " of " << ore;
    EXPECT_TRUE(fish * 100 >= water * 8 && fish * 100 <= water * 20) << fish << "/" << water;
    EXPECT_TRUE(trees * 100 >= land * 8 && trees * 100 <= land * 20) << trees << "/" << land;
    EXPECT_TRUE(granite * 100 >= land * 2 && granite * 100 <= land * 8) << granite << "/" << land;
    EXPECT_GT(forested * 100, trees * 85); // in forests
    EXPECT_TRUE(animals * 100 >= land && animals * 50 <= land) << animals << "/" << land;
}

// 10 x 10 maps of one terrain code with blocks (x, y, columns, rows; wrapping at the edges) of
// another in both triangles of their points, and the table they give.
TEST(Areas, HandMadeMaps)
{
    struct Case
    {
        const char *Name;
        uint8_t Ground, BlockCode;
        std::vector<std::array<int, 4>> Blocks;
        std::vector<AreaEntry> Table;
    };
    const Case cases[] = {
        {"all meadow", 8, 8, {}, {{1, 0, 0, 100}}},
        {"mountain and steppe", 1, 4, {{2, 2, 3, 3}}, {{1, 0, 0, 100}}},
        {"all water", 5, 5, {}, {{2, 0, 0, 100}}},
        {"deep and shallow water", 6, 5, {{2, 2, 3, 3}}, {{2, 0, 0, 100}}},
        {"swamp", 3, 3, {}, {}},
        {"snow", 2, 2, {}, {}},
        // Water points (4,4), (5,4), (4,5); 17 points touch the lake.
        {"lake", 8, 5, {{3, 3, 3, 3}}, {{1, 0, 0, 83}, {2, 4, 4, 3}}},
        // Two islands of one size: row order decides.
        {"isles", 5, 8, {{3, 7, 3, 3}, {3, 3, 3, 3}}, {{2, 0, 0, 66}, {1, 4, 4, 3}, {1, 4, 8, 3}}},
        // Columns 8, 9, 0, 1 of rows 2 to 7: one island across the west edge.
        {"island across the edge", 5, 8, {{8, 2, 4, 6}}, {{2, 0, 0, 62}, {1, 0, 3, 12}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        MapDocument doc = test::MakeFlatMap(10, 10);
        doc.Layer(2).assign(100, c.Ground);
        doc.Layer(3).assign(100, c.Ground);
        for (const auto &[x0, y0, columns, rows] : c.Blocks) {
            for (int y = y0; y < y0 + rows; ++y) {
                for (int x = x0; x < x0 + columns; ++x)
                    doc.Layer(2)[test::PointIndex(doc, x % 10, y % 10)] = c.BlockCode;
            }
        }
        doc.Layer(3) = doc.Layer(2);
        doc.Header.Areas.fill(AreaEntry{1, 1, 1, 1});
        ComputeAreas(doc);
        std::vector<AreaEntry> table = c.Table;
        table.resize(kAreaCount);
        EXPECT_TRUE(std::ranges::equal(doc.Header.Areas, table));
        EXPECT_NO_FATAL_FAILURE(CheckAreas(doc));
    }
}

// More pieces than the table holds: 16 channels of water of 112 points between 16 x 16 islands
// of 3 points, each island in a block whose other 14 points touch land and water.
TEST(Areas, MorePiecesThanEntries)
{
    MapDocument doc = test::MakeFlatMap(96, 64);
    for (std::size_t i = 0; i < doc.Layer(2).size(); ++i)
        doc.Layer(2)[i] = (i % 96 % 6 >= 1 && i % 96 % 6 <= 3 && i / 96 % 4 >= 1) ? 8 : 5;
    doc.Layer(3) = doc.Layer(2);
    ComputeAreas(doc);
    ASSERT_NO_FATAL_FAILURE(CheckAreas(doc));
    for (int k = 0; k < 16; ++k) // each channel's first point: (0,0), then column 5 of its own
        EXPECT_EQ(doc.Header.Areas[k],
                  (AreaEntry{2, static_cast<int16_t>(k == 0 ? 0 : 6 * k - 1), 0, 112}));
    // The table keeps 234 islands, the last of them the 10th of the 15th row of islands.
    EXPECT_EQ(doc.Header.Areas.back(), (AreaEntry{1, 56, 58, 3}));
    EXPECT_EQ(std::ranges::count(doc.Layer(14), kNoArea), 256 * 14 + 22 * 3);
}

// Headers that do not match the layers, and short layers: nothing crashes or allocates
// hugely, nothing is written past a layer's end, a map without points is left alone, and no
// headquarters are placed (the finish refuses at once and changes nothing).
TEST(Play, BadSizesAndShortLayers)
{
    const auto runAll = [](MapDocument &doc, const std::vector<Point> &sites) {
        const MapDocument kept = doc;
        EXPECT_FALSE(FinishForPlay(doc, 2, 1));
        EXPECT_EQ(doc, kept);
        ComputeShading(doc);
        ComputeBuildingQuality(doc);
        PlaceResources(doc, 5, nullptr, sites);
        PlaceObjects(doc, sites, 5);
        ComputeAreas(doc);
    };
    for (const auto &[w, h] : {std::pair{30000, 30000}, {-16, 16}, {16, 0}, {0, 0}, {-5, -5}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        MapDocument doc = test::MakeFlatMap(16, 16);
        for (std::size_t i = 0; i < 256; i += 3)
            doc.Layer(2)[i] = static_cast<uint8_t>(i % 23);
        doc.Header.Width = static_cast<int16_t>(w);
        doc.Header.Height = static_cast<int16_t>(h);
        const MapDocument before = doc;
        EXPECT_FALSE(FindHeadquartersSites(doc, 2));
        runAll(doc, {{3, 0}, {-4, 100}});
        for (int k = 1; k <= kLayerCount; ++k)
            EXPECT_EQ(doc.Layer(k).size(), 256U) << "layer " << k;
        EXPECT_TRUE(w > 0 && h > 0 ? std::ranges::all_of(doc.Layer(12), IsValidResource)
                                   : doc == before);
    }
    MapDocument doc = test::MakeFlatMap(16, 16);
    const std::pair<int, std::size_t> shortLayers[] = {
        {5, 40}, {6, 100}, {7, 0}, {12, 10}, {14, 7}};
    for (const auto &[layer, size] : shortLayers)
        doc.Layer(layer).resize(size);
    runAll(doc, {});
    MapDocument whole = test::MakeFlatMap(16, 16);
    const std::vector<Point> offTheMap = {{3, 0}, {-4, 100}, {16, 2}, {2, 16}};
    PlaceResources(whole, 5, nullptr, offTheMap); // sites off the map are passed over
    PlaceObjects(whole, offTheMap, 5);
    EXPECT_TRUE(std::ranges::all_of(whole.Layer(12), IsValidResource));
    // Maps one point wide or high are maps too: each point its own neighbour across the edges.
    for (const auto &[w, h] : {std::pair{1, 4}, {4, 1}}) {
        MapDocument thin = test::MakeFlatMap(static_cast<int16_t>(w), static_cast<int16_t>(h));
        PlaceResources(thin, 5);
        EXPECT_EQ(thin.Layer(12), MapLayer(4, 0x21)) << w << "x" << h;
    }
    doc.Layer(3).resize(100);
    EXPECT_FALSE(FindHeadquartersSites(doc, 1)); // terrain short of the map
    for (const auto &[layer, size] : shortLayers)
        EXPECT_EQ(doc.Layer(layer).size(), size) << "layer " << layer;
    EXPECT_EQ(doc.Layer(12), MapLayer(10, 0x21));
    EXPECT_EQ(doc.Layer(14), MapLayer(7, 0));
    EXPECT_EQ(doc.Header.Areas[0], (AreaEntry{1, 0, 0, 7}));
    // Objects only on the 40 points both layers 5 and 6 hold.
    const auto placed = 40 - std::ranges::count(doc.Layer(5), 0);
    EXPECT_GT(placed, 0);
    EXPECT_EQ(100 - std::ranges::count(doc.Layer(6), 0), placed);
    EXPECT_EQ(std::count(doc.Layer(6).begin() + 40, doc.Layer(6).end(), 0), 60);
}

} // namespace
} // namespace trelvik
