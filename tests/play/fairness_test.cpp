// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/layer_codes.h"
#include "generator/generate_map.h"
#include "play/ball_sums.h"
#include "play/building_quality.h"
#include "play/fairness.h"
#include "play/finish_for_play.h"
#include "play/ground.h"
#include "play/headquarters.h"
#include "play/objects.h"
#include "play/starts.h"
#include "play/symmetry.h"
#include "test_maps.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <limits>
#include <numeric>
#include <set>
#include <tuple>

namespace trelvik {
namespace {

// What a player cares for in a finished map, as the figures hand-made maps are compared on.
struct MapFigures
{
    int Players = 0;
    double SiteBalance = 0;  // building sites within 12 steps, smallest ÷ largest
    bool MineForAll = false; // every headquarters has a mine-quality point with ore within 12
    bool OreForAll = false;  // and coal, iron, gold and granite
    int64_t FewestTrees = 0; // near a start
    int64_t FewestStones = 0;
    std::vector<int64_t> StepsToMine;
    double Coal = 0, Iron = 0, Gold = 0; // ore units per land point
    double Trees = 0;                    // per land point
    double Fish = 0;                     // share of the water points
    double Animals = 0;                  // per 1000 land points
};

MapFigures Figures(const MapDocument &doc)
{
    MapFigures f;
    const auto report = MeasureFairness(doc);
    EXPECT_TRUE(report);
    if (!report)
        return f;
    f.Players = static_cast<int>(report->Players.size());
    f.SiteBalance = report->BalanceOf(StartMeasure::BuildingSites);
    const PointGrid grid(doc);
    const play::GroundFlags ground = play::ReadWholeGround(grid, doc);
    f.MineForAll = true;
    f.OreForAll = true;
    f.FewestTrees = std::numeric_limits<int64_t>::max();
    f.FewestStones = std::numeric_limits<int64_t>::max();
    for (const PlayerStart &start : report->Players) {
        for (const StartMeasure m :
             {StartMeasure::Coal, StartMeasure::Iron, StartMeasure::Gold, StartMeasure::Granite})
            f.OreForAll = f.OreForAll && start.Value(m) > 0;
        f.FewestTrees = std::min(f.FewestTrees, start.Value(StartMeasure::Trees));
        f.FewestStones = std::min(f.FewestStones, start.Value(StartMeasure::Stones));
        f.StepsToMine.push_back(start.Value(StartMeasure::StepsToMine));
        bool found = false;
        for (std::size_t i = 0; i < ground.size() && !found; ++i)
            found = (doc.Layer(9)[i] & 7) == 5 && MineralIn(doc.Layer(12)[i])
                    && grid.Distance(grid.PointAt(i), start.At) <= kDefaultFairnessRadius;
        f.MineForAll = f.MineForAll && found;
    }
    std::size_t land = 0, water = 0, fish = 0, trees = 0;
    std::array<int64_t, 4> ore{};
    for (std::size_t i = 0; i < ground.size(); ++i) {
        const bool isWater = (ground[i] & play::kAllWater) != 0;
        const bool isLand = !isWater && (ground[i] & play::kAllWalkable) != 0;
        water += isWater ? 1 : 0;
        fish += isWater && doc.Layer(12)[i] == kFishResource ? 1 : 0;
        land += isLand ? 1 : 0;
        trees += isLand && IsTreeObject(doc.Layer(6)[i]) ? 1 : 0;
        if (const auto deposit = MineralIn(doc.Layer(12)[i]))
            ore[(static_cast<std::size_t>(deposit->Kind) - 0x40) / 8] +=
                static_cast<int64_t>(deposit->Amount);
    }
    const double perLand = std::max<double>(1.0, static_cast<double>(land));
    f.Coal = static_cast<double>(ore[0]) / perLand;
    f.Iron = static_cast<double>(ore[1]) / perLand;
    f.Gold = static_cast<double>(ore[2]) / perLand;
    f.Trees = static_cast<double>(trees) / perLand;
    f.Fish = water == 0 ? 0.0 : static_cast<double>(fish) / static_cast<double>(water);
    f.Animals = 1000.0 * static_cast<double>(doc.Animals.size()) / perLand;
    return f;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::ranges::sort(values);
    return values[values.size() / 2];
}

// The maps the targets are measured on: sizes square and not from 64 to 256, 2 to 7 players,
// the three worlds, both modes.
struct Request
{
    uint64_t Seed;
    int Width, Height, Players;
    uint8_t World;
    bool Quick;
    bool Symmetric = false;
};

std::vector<Request> TargetSet(std::size_t count)
{
    static constexpr std::pair<int, int> kSizes[] = {{64, 64},   {64, 128},  {96, 96},
                                                     {128, 64},  {128, 128}, {160, 96},
                                                     {192, 192}, {256, 128}, {256, 256}};
    std::vector<Request> set;
    for (uint64_t k = 0; k < count; ++k) {
        const auto [w, h] = kSizes[k % std::size(kSizes)];
        set.push_back({1000 + k * 7919, w, h, 2 + static_cast<int>(k / 3 % 6),
                       static_cast<uint8_t>(k % 3), k / 2 % 2 == 0});
    }
    return set;
}

std::optional<MapDocument> Make(const Request &r)
{
    MapDocument doc;
    RandomSource random;
    const GrowTerrain grow = [&](MapDocument &into, uint64_t seed) {
        random.Seed(seed);
        if (!GenerateMap(into, r.Width, r.Height, r.Quick, random))
            return false;
        into.Header.WorldType = r.World;
        return true;
    };
    if (!GeneratePlayableMap(doc, r.Players, r.Seed, grow, r.Symmetric))
        return std::nullopt;
    return doc;
}

TEST(FairAndRich, TargetsOverManyMaps)
{
    const std::vector<Request> set = TargetSet(216);
    std::array<std::vector<double>, 8> balance; // by player count
    std::vector<double> coal, iron, gold, trees, fish, animals, steps;
    double worst = 1;
    int lacking = 0, oreless = 0;
    int64_t fewestTrees = std::numeric_limits<int64_t>::max(), fewestStones = fewestTrees;
    for (const Request &r : set) {
        SCOPED_TRACE(testing::Message() << r.Seed << " " << r.Width << "x" << r.Height << " "
                                        << r.Players << " players, world " << int{r.World});
        const auto doc = Make(r);
        ASSERT_TRUE(doc);
        {
            MapDocument again = *doc;
            ComputeBuildingQuality(again);
            ASSERT_EQ(again.Layer(9), doc->Layer(9));
        }
        const MapFigures f = Figures(*doc);
        ASSERT_EQ(f.Players, r.Players);
        balance[static_cast<std::size_t>(r.Players)].push_back(f.SiteBalance);
        worst = std::min(worst, f.SiteBalance);
        lacking += f.MineForAll ? 0 : 1;
        oreless += f.OreForAll ? 0 : 1;
        fewestTrees = std::min(fewestTrees, f.FewestTrees);
        fewestStones = std::min(fewestStones, f.FewestStones);
        coal.push_back(f.Coal), iron.push_back(f.Iron), gold.push_back(f.Gold);
        trees.push_back(f.Trees), fish.push_back(f.Fish), animals.push_back(f.Animals);
        for (const int64_t s : f.StepsToMine)
            steps.push_back(static_cast<double>(s));
    }
    std::printf("site balance medians:");
    for (std::size_t p = 2; p <= 7; ++p)
        std::printf(" %zu: %.2f", p, Median(balance[p]));
    std::printf("; worst %.2f; maps with a start lacking ore: %d of %zu\n", worst, lacking,
                set.size());
    std::printf("medians: steps to a mine %.0f, coal %.3f, iron %.3f, gold %.3f, trees %.3f, "
                "fish %.3f, animals %.1f\n",
                Median(steps), Median(coal), Median(iron), Median(gold), Median(trees),
                Median(fish), Median(animals));
    // Fairer than hand-made maps (.89 / .70 / .52), never below one half.
    EXPECT_GE(Median(balance[2]), 0.90);
    EXPECT_GE(Median(balance[4]), 0.80);
    EXPECT_GE(Median(balance[7]), 0.70);
    EXPECT_GE(worst, 0.50);
    EXPECT_EQ(lacking, 0);
    EXPECT_EQ(oreless, 0);      // every start has every ore
    EXPECT_GE(fewestTrees, 15); // wood
    EXPECT_GE(fewestStones, 1); // and stone
    // As rich as hand-made maps: inside the 10% to 90% range of the real maps.
    const std::tuple<const char *, double, double, double> ranges[] = {
        {"coal", Median(coal), 0.164, 1.122},     {"iron", Median(iron), 0.082, 0.452},
        {"gold", Median(gold), 0.055, 0.269},     {"trees", Median(trees), 0.084, 0.287},
        {"fish", Median(fish), 0.045, 0.283},     {"animals", Median(animals), 0.0, 67.8},
        {"steps to a mine", Median(steps), 1, 12}};
    for (const auto &[name, value, low, high] : ranges)
        EXPECT_TRUE(value >= low && value <= high) << name << " " << value;
}

TEST(FairAndRich, SymmetricMaps)
{
    std::vector<Request> set = TargetSet(48);
    for (std::size_t k = 0; k < set.size(); ++k) {
        set[k].Players = k % 2 == 0 ? 2 : 4;
        set[k].Symmetric = true;
    }
    for (const Request &r : set) {
        SCOPED_TRACE(testing::Message() << r.Seed << " " << r.Width << "x" << r.Height << " "
                                        << r.Players << " players, world " << int{r.World});
        const auto doc = Make(r);
        ASSERT_TRUE(doc);
        const MapFigures f = Figures(*doc);
        EXPECT_EQ(f.SiteBalance, 1.0);
        EXPECT_TRUE(f.MineForAll);
    }
}

} // namespace
} // namespace trelvik

namespace trelvik {
namespace {

// The report counts what lies 1 to R steps from each marked headquarters, each point once,
// across the edges; a 20 x 20 map of castle ground, players at (5,5) and (15,15).
TEST(FairnessReport, CountsAroundEachStart)
{
    const auto map = [] {
        MapDocument doc = test::MakeFlatMap(20, 20);
        doc.Layer(9).assign(400, 4);
        for (const auto &[x, y, player] : {std::tuple{5, 5, 0}, {15, 15, 1}}) {
            doc.Layer(6)[test::PointIndex(doc, x, y)] = kHeadquartersObject;
            doc.Layer(5)[test::PointIndex(doc, x, y)] = static_cast<uint8_t>(player);
        }
        return doc;
    };
    struct Row
    {
        const char *What;
        int Radius;
        std::vector<std::tuple<int, int, int, uint8_t>> Changes; // x, y, layer, value
        StartMeasure Measure;
        int64_t First, Second;
        double Balance;
    };
    const Row rows[] = {
        {"castle ground all around", 1, {}, StartMeasure::BuildingSites, 6, 6, 1.0},
        {"radius 2 holds 18 points", 2, {}, StartMeasure::Castles, 18, 18, 1.0},
        {"a huge radius counts every point once",
         200,
         {},
         StartMeasure::BuildingSites,
         399,
         399,
         1.0},
        {"a hut beside the first", 1, {{6, 5, 9, 2}}, StartMeasure::Huts, 1, 0, 0.0},
        {"huts: one has none", 1, {{6, 5, 9, 2}}, StartMeasure::Castles, 5, 6, 5.0 / 6},
        {"a house", 1, {{4, 5, 9, 0x0B}}, StartMeasure::Houses, 1, 0, 0.0},
        {"the quality's high bits are left out",
         1,
         {{4, 5, 9, 0x6C}},
         StartMeasure::Castles,
         6,
         6,
         1.0},
        {"a flag is no site", 1, {{4, 5, 9, 1}}, StartMeasure::BuildingSites, 5, 6, 5.0 / 6},
        {"the start's own point is not counted", 1, {{5, 5, 9, 2}}, StartMeasure::Huts, 0, 0, 1.0},
        {"ore units add up",
         2,
         {{4, 5, 12, 0x47}, {5, 4, 12, 0x43}},
         StartMeasure::Coal,
         10,
         0,
         0.0},
        {"iron, gold and granite", 1, {{4, 5, 12, 0x4A}}, StartMeasure::Iron, 2, 0, 0.0},
        {"gold", 1, {{15, 14, 12, 0x55}}, StartMeasure::Gold, 0, 5, 0.0},
        {"granite in the ground", 1, {{16, 15, 12, 0x5F}}, StartMeasure::Granite, 0, 7, 0.0},
        {"amount 0 is no ore", 1, {{4, 5, 12, 0x40}}, StartMeasure::Coal, 0, 0, 1.0},
        {"water and fish",
         1,
         {{4, 5, 12, 0x21}, {6, 5, 12, 0x21}, {15, 14, 12, 0x87}},
         StartMeasure::Water,
         2,
         0,
         0.0},
        {"fish", 1, {{15, 14, 12, 0x87}}, StartMeasure::Fish, 0, 1, 0.0},
        {"trees of all three types",
         1,
         {{4, 5, 6, 0xC4}, {6, 5, 6, 0xC5}, {16, 15, 6, 0xC6}},
         StartMeasure::Trees,
         2,
         1,
         0.5},
        {"granite rocks", 1, {{4, 5, 6, 0xCC}, {16, 15, 6, 0xCD}}, StartMeasure::Stones, 1, 1, 1.0},
        {"decorations are neither", 1, {{4, 5, 6, 0xC8}}, StartMeasure::Stones, 0, 0, 1.0},
        {"no mine anywhere", 1, {}, StartMeasure::StepsToMine, -1, -1, 0.0},
        {"a mine 3 and 12 steps away", 1, {{8, 5, 9, 5}}, StartMeasure::StepsToMine, 3, 12, 0.25},
        {"a mine across the edge", 1, {{0, 15, 9, 5}}, StartMeasure::StepsToMine, 10, 5, 0.5},
        {"a mine beside both",
         1,
         {{6, 5, 9, 5}, {14, 15, 9, 5}},
         StartMeasure::StepsToMine,
         1,
         1,
         1.0},
    };
    for (const Row &row : rows) {
        MapDocument doc = map();
        for (const auto &[x, y, layer, value] : row.Changes)
            doc.Layer(layer)[test::PointIndex(doc, x, y)] = value;
        const auto report = MeasureFairness(doc, row.Radius);
        ASSERT_TRUE(report) << row.What;
        ASSERT_EQ(report->Players.size(), 2U) << row.What;
        EXPECT_EQ(report->Players[0].Value(row.Measure), row.First) << row.What;
        EXPECT_EQ(report->Players[1].Value(row.Measure), row.Second) << row.What;
        EXPECT_DOUBLE_EQ(report->BalanceOf(row.Measure), row.Balance) << row.What;
    }
}

// Which marks count: the first of each player 1 to 7 in row order, in player order; a map whose
// layers do not hold it, or a radius out of range, has no report.
TEST(FairnessReport, PlayersAndRefusals)
{
    MapDocument doc = test::MakeFlatMap(16, 16);
    const auto mark = [&](int x, int y, uint8_t player) {
        doc.Layer(6)[test::PointIndex(doc, x, y)] = kHeadquartersObject;
        doc.Layer(5)[test::PointIndex(doc, x, y)] = player;
    };
    auto report = MeasureFairness(doc);
    ASSERT_TRUE(report);
    EXPECT_TRUE(report->Players.empty());
    EXPECT_EQ(report->Worst(), StartMeasure::BuildingSites);
    mark(9, 9, 6), mark(3, 4, 1), mark(2, 2, 66), mark(12, 12, 1), mark(1, 1, 7);
    report = MeasureFairness(doc, 3);
    ASSERT_TRUE(report);
    ASSERT_EQ(report->Players.size(), 2U);
    EXPECT_EQ(report->Radius, 3);
    EXPECT_EQ(report->Players[0].Player, 1);
    EXPECT_EQ(report->Players[0].At.X, 3);
    EXPECT_EQ(report->Players[0].At.Y, 4);
    EXPECT_EQ(report->Players[1].Player, 6);
    for (const int radius : {0, -1, kMaxFairnessRadius + 1})
        EXPECT_FALSE(MeasureFairness(doc, radius)) << radius;
    EXPECT_TRUE(MeasureFairness(doc, kMaxFairnessRadius));
    for (const int layer : {5, 6, 9, 12}) {
        MapDocument shorter = doc;
        shorter.Layer(layer).pop_back();
        EXPECT_FALSE(MeasureFairness(shorter)) << layer;
    }
    MapDocument empty = doc;
    empty.Header.Width = 0;
    EXPECT_FALSE(MeasureFairness(empty));
    // The names of every measure, for the command line and the window.
    std::set<std::string_view> names, keys;
    for (std::size_t m = 0; m < kStartMeasureCount; ++m) {
        names.insert(StartMeasureName(static_cast<StartMeasure>(m)));
        keys.insert(StartMeasureKey(static_cast<StartMeasure>(m)));
    }
    EXPECT_EQ(names.size(), kStartMeasureCount);
    EXPECT_EQ(keys.size(), kStartMeasureCount);
}

// A ball visits the points a walk over the neighbours reaches within its radius, each once,
// on maps large and small (where the walk meets itself across the edges).
TEST(Ball, SameAsAWalk)
{
    for (const auto &[w, h] : {std::pair{64, 64}, {32, 48}, {16, 16}, {10, 8}, {25, 26}}) {
        const MapDocument doc = test::MakeFlatMap(static_cast<int16_t>(w), static_cast<int16_t>(h));
        const PointGrid grid(doc);
        play::StepWalker walker(grid);
        for (const int radius : {0, 1, 2, 5, 12}) {
            const play::Ball ball(grid, radius);
            for (std::size_t centre = 0; centre < static_cast<std::size_t>(w * h); centre += 7) {
                std::vector<int> walked(static_cast<std::size_t>(w * h), 0), visited = walked;
                walked[centre] = 1;
                walker.Walk(centre, radius, [&](std::size_t k, int) { ++walked[k]; });
                ball.ForEach(centre, [&](std::size_t k) { ++visited[k]; });
                ASSERT_EQ(visited, walked)
                    << w << "x" << h << " radius " << radius << " at " << centre;
            }
        }
    }
}

} // namespace
} // namespace trelvik

namespace trelvik {
namespace {

// A mirrored map shows the same ground on both sides of every mirror line: each point's height
// and the six triangles around it (as a set) equal those of its mirror images.
TEST(Mirror, ImagesHaveTheSameGround)
{
    for (const auto &[w, h] : {std::pair{16, 12}, {20, 20}, {64, 32}}) {
        for (const play::Mirror mirror :
             {play::Mirror{true, false}, play::Mirror{false, true}, play::Mirror{true, true}}) {
            MapDocument doc = test::MakeFlatMap(static_cast<int16_t>(w), static_cast<int16_t>(h));
            play::PlayRandom random(static_cast<uint64_t>(w * 7 + h));
            for (const int layer : {1, 2, 3})
                for (uint8_t &b : doc.Layer(layer))
                    b = static_cast<uint8_t>(random.Below(40));
            play::MirrorTerrain(doc, mirror);
            const PointGrid grid(doc);
            for (std::size_t i = 0; i < doc.Layer(1).size(); ++i) {
                const Point p = grid.PointAt(i);
                auto six = TrianglesAround(grid, doc, p);
                std::ranges::sort(six);
                for (const Point image : play::MirrorImages(grid, p, mirror)) {
                    auto other = TrianglesAround(grid, doc, image);
                    std::ranges::sort(other);
                    ASSERT_EQ(six, other) << w << "x" << h << " at " << p.X << "," << p.Y << " and "
                                          << image.X << "," << image.Y;
                    ASSERT_EQ(doc.Layer(1)[i], doc.Layer(1)[grid.IndexOf(image)]);
                }
            }
        }
    }
}

// Things mirrored with the ground: objects, animals and resources of every point are those of
// its mirror images. Maps that cannot be mirrored (odd height, a short layer) stay as they are.
TEST(Mirror, ThingsFollowAndUnmirrorableMapsStay)
{
    constexpr std::array<int, 4> kThings = {5, 6, 7, 12};
    for (const play::Mirror mirror :
         {play::Mirror{true, false}, play::Mirror{false, true}, play::Mirror{true, true}}) {
        MapDocument doc = test::MakeFlatMap(18, 14);
        play::PlayRandom random(3);
        for (int layer = 1; layer <= kLayerCount; ++layer)
            for (uint8_t &b : doc.Layer(layer))
                b = static_cast<uint8_t>(random.Below(256));
        doc.Animals = {AnimalEntry{1, 0, 0}, AnimalEntry{2, 5, 5}}; // a list from before
        const MapDocument before = doc;
        play::MirrorThings(doc, mirror);
        const PointGrid grid(doc);
        // The list of animals is that of layer 7, in row order.
        std::vector<AnimalEntry> listed;
        for (std::size_t i = 0; i < doc.Layer(7).size(); ++i)
            if (doc.Layer(7)[i] != 0)
                listed.push_back({doc.Layer(7)[i], static_cast<int16_t>(grid.PointAt(i).X),
                                  static_cast<int16_t>(grid.PointAt(i).Y)});
        EXPECT_EQ(doc.Animals, listed);
        for (std::size_t i = 0; i < doc.Layer(1).size(); ++i) {
            for (const Point image : play::MirrorImages(grid, grid.PointAt(i), mirror))
                for (const int layer : kThings)
                    ASSERT_EQ(doc.Layer(layer)[i], doc.Layer(layer)[grid.IndexOf(image)])
                        << "layer " << layer << " at " << i;
            for (const int layer : {1, 2, 3, 4, 8, 9, 10, 11, 13, 14})
                ASSERT_EQ(doc.Layer(layer)[i], before.Layer(layer)[i]) << "layer " << layer;
        }
        // Every layer that is read or written cut short in turn, and an odd height.
        for (const int shortLayer : {1, 2, 3, 5, 6, 7, 12, 0}) {
            MapDocument cut = before;
            if (shortLayer != 0)
                cut.Layer(shortLayer).pop_back();
            else
                cut = test::MakeFlatMap(18, 13);
            const MapDocument kept = cut;
            if (shortLayer == 0 || shortLayer > 3)
                play::MirrorThings(cut, mirror);
            if (shortLayer <= 3)
                play::MirrorTerrain(cut, mirror);
            EXPECT_EQ(cut, kept) << "layer " << shortLayer << " short";
        }
    }
}

// Each start gets coal, iron, gold and granite at mine sites near it, taken from the kind it
// has most of, whatever its mountain held; resources farther away and off the mountain stay.
TEST(StockStarts, EveryKindNearEveryStart)
{
    constexpr std::array<std::pair<Mineral, int64_t>, 4> kWanted = {
        {{Mineral::Coal, 4}, {Mineral::Iron, 4}, {Mineral::Gold, 2}, {Mineral::Granite, 2}}};
    for (const uint8_t fill :
         {kEmptyMountainResource, ResourceByte(Mineral::Coal, 7), ResourceByte(Mineral::Iron, 3),
          ResourceByte(Mineral::Gold, 7), ResourceByte(Mineral::Granite, 5)}) {
        MapDocument doc = test::MakeFlatMap(64, 40);
        const PointGrid grid(doc);
        const std::vector<Point> starts = {{10, 10}, {40, 30}};
        // A mountain of two steps around a point five steps from each start, and one far off.
        for (const Point mountain : {Point{15, 10}, Point{45, 30}, Point{27, 20}})
            for (std::size_t i = 0; i < doc.Layer(12).size(); ++i)
                if (grid.Distance(grid.PointAt(i), mountain) <= 2)
                    doc.Layer(12)[i] = fill;
        doc.Layer(12)[grid.IndexOf({9, 10})] = kFishResource;
        const MapDocument before = doc;
        StockStarts(doc, starts);
        for (const Point start : starts) {
            std::array<int64_t, 4> units{};
            for (std::size_t i = 0; i < doc.Layer(12).size(); ++i)
                if (grid.Distance(grid.PointAt(i), start) <= 12)
                    if (const auto ore = MineralIn(doc.Layer(12)[i]))
                        units[(static_cast<std::size_t>(ore->Kind) - 0x40) / 8] += 1;
            // A mountain of one kind gives up just what the others need.
            const bool oneKind = fill != kEmptyMountainResource;
            for (std::size_t k = 0; k < kWanted.size(); ++k) {
                EXPECT_GE(units[k], kWanted[k].second)
                    << "fill " << int(fill) << " kind " << k << " at " << start.X << "," << start.Y;
                if (oneKind && MineralIn(fill)->Kind != kWanted[k].first) {
                    EXPECT_EQ(units[k], kWanted[k].second) << "fill " << int(fill) << " kind " << k;
                }
            }
        }
        for (std::size_t i = 0; i < doc.Layer(12).size(); ++i) {
            const Point p = grid.PointAt(i);
            const bool near =
                std::ranges::any_of(starts, [&](Point s) { return grid.Distance(p, s) <= 12; });
            const uint8_t was = before.Layer(12)[i];
            if (!near || (!MineralIn(was) && was != kEmptyMountainResource))
                ASSERT_EQ(doc.Layer(12)[i], before.Layer(12)[i]) << p.X << "," << p.Y;
            else
                ASSERT_TRUE(MineralIn(doc.Layer(12)[i]).has_value()) << p.X << "," << p.Y;
        }
    }
}

// Evening out exactly, as mirrored maps are: starts that already have their trees and rocks end
// with equal building sites, none below the poorest's count before, and every tree planted
// takes at least one site from a start richer than the poorest. Starts near each other share
// sites, so a tree for one may cost another.
TEST(EvenOut, ExactLowersTheRicherToThePoorest)
{
    // Per start: where it stands and the trees planted 6 to 12 steps from it (and 12 rocks).
    const std::vector<std::vector<std::pair<Point, std::size_t>>> layouts = {
        {{{20, 20}, 40}, {{27, 22}, 30}, {{24, 44}, 70}},
        {{{20, 20}, 30}, {{28, 24}, 55}},
        {{{28, 24}, 60}, {{20, 20}, 30}, {{30, 46}, 45}},
    };
    for (std::size_t layout = 0; layout < layouts.size(); ++layout) {
        for (uint64_t seed = 1; seed <= 6; ++seed) {
            MapDocument doc = test::MakeFlatMap(64, 64);
            const PointGrid grid(doc);
            std::vector<Point> starts;
            for (const auto &[at, treeCount] : layouts[layout])
                starts.push_back(at);
            MarkHeadquarters(doc, starts);
            play::PlayRandom random(seed);
            for (std::size_t s = 0; s < starts.size(); ++s) {
                std::size_t trees = 0, rocks = 0;
                const std::size_t wanted = layouts[layout][s].second;
                for (int tries = 0; tries < 20000 && (trees < wanted || rocks < 12); ++tries) {
                    const std::size_t i = random.Below(static_cast<uint32_t>(doc.Layer(6).size()));
                    const int64_t d = grid.Distance(grid.PointAt(i), starts[s]);
                    if (d < 6 || d > 12 || doc.Layer(6)[i] != 0)
                        continue;
                    if (rocks < 12 && tries % 5 == 0) {
                        PlaceRock(doc, i, random);
                        ++rocks;
                    } else if (trees < wanted) {
                        PlantTree(doc, i, random);
                        ++trees;
                    }
                }
            }
            const play::GroundFlags ground = play::ReadWholeGround(grid, doc);
            ComputeBuildingQuality(doc, &ground);
            const auto sites = [&] {
                std::vector<int64_t> v;
                const auto report = MeasureFairness(doc);
                for (const auto &start : report->Players)
                    v.push_back(start.Value(StartMeasure::BuildingSites));
                return v;
            };
            const auto trees = [&] { return std::ranges::count_if(doc.Layer(6), IsTreeObject); };
            const std::vector<int64_t> before = sites();
            const int64_t low = std::ranges::min(before);
            int64_t above = 0;
            for (const int64_t n : before)
                above += n - low;
            const auto treesBefore = trees();
            EvenOutStarts(doc, starts, seed, ground, true);
            const std::vector<int64_t> after = sites();
            const std::string row =
                "layout " + std::to_string(layout) + " seed " + std::to_string(seed);
            EXPECT_EQ(std::ranges::min(after), std::ranges::max(after)) << row;
            EXPECT_GE(std::ranges::min(after), low) << row;
            EXPECT_LE(trees() - treesBefore, above) << row;
            EXPECT_GT(above, 0) << row; // there was something to even out
        }
    }
}

} // namespace
} // namespace trelvik
