#include "document/layer_codes.h"
#include "generator/generate_map.h"
#include "play/ball_sums.h"
#include "play/building_quality.h"
#include "play/fairness.h"
#include "play/finish_for_play.h"
#include "play/ground.h"
#include "play/symmetry.h"
#include "test_maps.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <numeric>

namespace trelvik {
namespace {

using play::Point;
using play::PointGrid;

// What a player cares for in a finished map, as the figures hand-made maps are compared on.
struct MapFigures
{
    int Players = 0;
    double SiteBalance = 0;  // building sites within 12 steps, smallest ÷ largest
    bool MineForAll = false; // every headquarters has a mine-quality point with ore within 12
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
    for (const PlayerStart &start : report->Players) {
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
    std::vector<Request> set = TargetSet(216);
    if (std::getenv("ONLY")) {
        const uint64_t only = std::strtoull(std::getenv("ONLY"), nullptr, 10);
        std::erase_if(set, [&](const Request &q) { return q.Seed != only; });
    }
    std::array<std::vector<double>, 8> balance; // by player count
    std::vector<double> coal, iron, gold, trees, fish, animals, steps;
    double worst = 1;
    int lacking = 0;
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
        if (f.SiteBalance < 0.7 && std::getenv("DIAG")) {
            const auto rep = MeasureFairness(*doc);
            std::printf("low balance %.2f seed %llu %dx%d p%d w%d:", f.SiteBalance,
                        (unsigned long long)r.Seed, r.Width, r.Height, r.Players, r.World);
            for (auto &st : rep->Players)
                std::printf(" [%lld,%lld sites %lld trees %lld]", (long long)st.At.X,
                            (long long)st.At.Y, (long long)st.Value(StartMeasure::BuildingSites),
                            (long long)st.Value(StartMeasure::Trees));
            std::printf("\n");
            if (std::getenv("ONLY")) {
                const PointGrid g(*doc);
                const auto gr = play::ReadWholeGround(g, *doc);
                const auto low = std::ranges::min_element(
                    rep->Players, {}, [](auto &x) { return x.Value(StartMeasure::BuildingSites); });
                for (int dy = -13; dy <= 13; ++dy) {
                    std::printf("%s", (low->At.Y + dy) % 2 ? " " : "");
                    for (int dx = -14; dx <= 14; ++dx) {
                        const Point q = g.Offset(low->At, dx, dy);
                        const std::size_t qi = g.IndexOf(q);
                        const auto fl = gr[qi];
                        const int ql = doc->Layer(9)[qi] & 7;
                        char c = "0123456789"[ql];
                        if (std::getenv("GROUNDS"))
                            c = (fl & play::kAllWater)       ? 0x7E
                                : (fl & play::kTouchesWater) ? 0x63
                                : (fl & play::kAllMining)    ? 0x4D
                                : (fl & play::kAllBuildable) ? 0x2E
                                : (fl & play::kAllWalkable)  ? 0x77
                                                             : 0x78;
                        if (IsTreeObject(doc->Layer(6)[qi]))
                            c = 0x54;
                        else if (IsGraniteObject(doc->Layer(6)[qi]))
                            c = 0x47;
                        else if (fl & play::kAllWater)
                            c = 0x7E;
                        else if (doc->Layer(6)[qi] == 0x80)
                            c = 0x48;
                        std::printf("%c ", c);
                    }
                    std::printf("\n");
                }
            }
        }
        if (!f.MineForAll && std::getenv("DIAG")) {
            const auto rep = MeasureFairness(*doc);
            std::printf("seed %llu %dx%d p%d w%d:", (unsigned long long)r.Seed, r.Width, r.Height,
                        r.Players, r.World);
            for (auto &st : rep->Players)
                std::printf(" [%lld,%lld mines %lld steps %lld]", (long long)st.At.X,
                            (long long)st.At.Y, (long long)st.Value(StartMeasure::Mines),
                            (long long)st.Value(StartMeasure::StepsToMine));
            std::printf("\n");
            const PointGrid g(*doc);
            const auto gr = play::ReadWholeGround(g, *doc);
            for (auto &st : rep->Players) {
                if (st.Value(StartMeasure::Mines) > 0)
                    continue;
                for (int dy = -14; dy <= 14; ++dy) {
                    std::printf("%s", (st.At.Y + dy) % 2 ? " " : "");
                    for (int dx = -14; dx <= 14; ++dx) {
                        const Point q = g.Offset(st.At, dx, dy);
                        const auto fl = gr[g.IndexOf(q)];
                        char c = (fl & play::kAllWater)       ? 0x7E
                                 : (fl & play::kTouchesWater) ? 0x63
                                 : (fl & play::kAllMining)    ? 0x4D
                                 : (fl & play::kAllBuildable) ? 0x2E
                                 : (fl & play::kAllWalkable)  ? 0x77
                                                              : 0x78;
                        if (dx == 0 && dy == 0)
                            c = 'H';
                        for (auto &o : rep->Players)
                            if (o.At.X == q.X && o.At.Y == q.Y && !(dx == 0 && dy == 0))
                                c = 'h';
                        std::printf("%c ", c);
                    }
                    std::printf("\n");
                }
            }
        }
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

// A ball visits the points a walk over the neighbours reaches within its radius, each once,
// on maps large and small (where the walk meets itself across the edges).
TEST(Ball, SameAsAWalk)
{
    for (const auto &[w, h] : {std::pair{64, 64}, {32, 48}, {16, 16}, {10, 8}, {25, 26}}) {
        const MapDocument doc = test::MakeFlatMap(static_cast<int16_t>(w), static_cast<int16_t>(h));
        const play::PointGrid grid(doc);
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
            const play::PointGrid grid(doc);
            for (std::size_t i = 0; i < doc.Layer(1).size(); ++i) {
                const Point p = grid.PointAt(i);
                auto six = play::TrianglesAround(grid, doc, p);
                std::ranges::sort(six);
                for (const Point image : play::MirrorImages(grid, p, mirror)) {
                    auto other = play::TrianglesAround(grid, doc, image);
                    std::ranges::sort(other);
                    ASSERT_EQ(six, other) << w << "x" << h << " at " << p.X << "," << p.Y << " and "
                                          << image.X << "," << image.Y;
                    ASSERT_EQ(doc.Layer(1)[i], doc.Layer(1)[grid.IndexOf(image)]);
                }
            }
        }
    }
}

} // namespace
} // namespace trelvik
