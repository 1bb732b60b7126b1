// SPDX-License-Identifier: GPL-3.0-or-later
#include "generator/generate_map.h"
#include "play/areas.h"
#include "play/building_quality.h"
#include "play/finish_for_play.h"
#include "play/headquarters.h"
#include "play/objects.h"
#include "play/pieces.h"
#include "play/resources.h"
#include "test_maps.h"

#include <gtest/gtest.h>
#include <limits>

namespace trelvik {
namespace {

// A meadow with round lakes (terrain 5) dropped at random, heights 10 to 20.
MapDocument LakeMap(int16_t width, int16_t height, int lakes, uint64_t seed)
{
    MapDocument doc = test::MakeFlatMap(width, height);
    const PointGrid grid(doc);
    play::PlayRandom random(seed);
    for (uint8_t &h : doc.Layer(1))
        h = static_cast<uint8_t>(10 + random.Below(11));
    for (int k = 0; k < lakes; ++k) {
        const Point centre{random.Below(static_cast<uint32_t>(width)),
                           random.Below(static_cast<uint32_t>(height))};
        const int64_t radius = 1 + random.Below(3);
        for (std::size_t i = 0; i < doc.Layer(2).size(); ++i) {
            if (grid.Distance(centre, grid.PointAt(i)) <= radius)
                doc.Layer(2)[i] = doc.Layer(3)[i] = 5;
        }
    }
    return doc;
}

// The sites a fair start allows, found the slow way: the point and its six neighbours have only
// buildable triangles around them. Each carries the number of its piece of land.
std::vector<std::pair<Point, int>> SlowCandidates(const MapDocument &doc)
{
    const PointGrid grid(doc);
    const play::Pieces pieces = play::FindPieces(grid, play::ReadWholeGround(grid, doc));
    const auto buildable = [&](Point p) {
        return std::ranges::all_of(TrianglesAround(grid, doc, p), [](uint8_t code) {
            return ClassifyTerrain(code) == TerrainClass::Buildable;
        });
    };
    std::vector<std::pair<Point, int>> sites;
    for (std::size_t i = 0; i < pieces.Of.size(); ++i) {
        const Point p = grid.PointAt(i);
        if (buildable(p) && std::ranges::all_of(grid.Neighbours(p), buildable))
            sites.emplace_back(p, pieces.Of[i]);
    }
    return sites;
}

// On small maps the best spread of two or three sites can be found by trying every choice: the
// search reaches at least three quarters of it, on one piece of land, on allowed sites only.
TEST(Headquarters, SpreadsNearlyAsFarAsTheBestChoice)
{
    int exact = 0, runs = 0;
    for (uint64_t seed = 1; seed <= 40; ++seed) {
        const MapDocument doc =
            LakeMap(seed % 2 ? 16 : 24, 16, 2 + static_cast<int>(seed % 5), seed);
        const PointGrid grid(doc);
        const auto candidates = SlowCandidates(doc);
        for (const int players : {2, 3}) {
            int64_t best = 0;
            const std::size_t n = candidates.size();
            for (std::size_t a = 0; a < n; ++a)
                for (std::size_t b = a + 1; b < n; ++b) {
                    if (candidates[a].second != candidates[b].second)
                        continue;
                    const int64_t ab = grid.Distance(candidates[a].first, candidates[b].first);
                    if (players == 2) {
                        best = std::max(best, ab);
                        continue;
                    }
                    for (std::size_t c = b + 1; c < n && ab > best; ++c)
                        if (candidates[c].second == candidates[a].second)
                            best = std::max(
                                best,
                                std::min(
                                    {ab, grid.Distance(candidates[a].first, candidates[c].first),
                                     grid.Distance(candidates[b].first, candidates[c].first)}));
                }
            const auto found = FindHeadquartersSites(doc, players);
            const std::string row =
                "seed " + std::to_string(seed) + ", " + std::to_string(players) + " players";
            if (best == 0) {
                EXPECT_FALSE(found && found->SmallestDistance > 0) << row;
                continue;
            }
            ASSERT_TRUE(found) << row;
            ASSERT_EQ(found->Sites.size(), static_cast<std::size_t>(players)) << row;
            EXPECT_EQ(found->SmallestDistance, SmallestDistance(grid, found->Sites)) << row;
            EXPECT_LE(found->SmallestDistance, best) << row;
            EXPECT_GE(found->SmallestDistance * 4, best * 3) << row;
            int piece = -1;
            for (const Point site : found->Sites) {
                const auto it = std::ranges::find_if(candidates, [&](const auto &c) {
                    return c.first.X == site.X && c.first.Y == site.Y;
                });
                ASSERT_NE(it, candidates.end()) << row << ": site " << site.X << "," << site.Y;
                EXPECT_TRUE(piece < 0 || piece == it->second) << row << ": two pieces of land";
                piece = it->second;
            }
            exact += found->SmallestDistance == best;
            ++runs;
        }
    }
    EXPECT_GT(exact * 4, runs * 3) << exact << " of " << runs << " reach the best spread";
}

// Levelling: the site and its neighbours at their lowest height, the twelve points two steps
// away within two of it, every other point as it was; at the edges the map wraps.
TEST(Headquarters, LevelsTheGroundAroundASite)
{
    for (uint64_t seed = 1; seed <= 60; ++seed) {
        MapDocument doc = test::MakeFlatMap(16, 12);
        play::PlayRandom random(seed);
        for (uint8_t &h : doc.Layer(1))
            h = static_cast<uint8_t>(random.Below(seed % 3 ? 40 : 3)); // heights near 0 too
        const PointGrid grid(doc);
        const Point site{random.Below(16), random.Below(12)};
        const MapLayer before = doc.Layer(1);
        LevelGround(doc, site);
        int low = 255, ring = 0;
        for (std::size_t i = 0; i < before.size(); ++i)
            if (grid.Distance(site, grid.PointAt(i)) <= 1)
                low = std::min<int>(low, before[i]);
        for (std::size_t i = 0; i < before.size(); ++i) {
            const int64_t d = grid.Distance(site, grid.PointAt(i));
            const int h = doc.Layer(1)[i];
            const std::string row = "seed " + std::to_string(seed) + " point " + std::to_string(i);
            if (d <= 1) {
                EXPECT_EQ(h, low) << row;
            } else if (d == 2) {
                ++ring;
                EXPECT_EQ(h, std::clamp<int>(before[i], std::max(low - 2, 0), low + 2)) << row;
            } else {
                EXPECT_EQ(h, before[i]) << row;
            }
        }
        EXPECT_EQ(ring, 12);
    }
}

TEST(Headquarters, MarksLayersAndHeaderSlotsAlike)
{
    MapDocument doc = test::MakeFlatMap(32, 32);
    doc.Header.HeadquartersX.fill(0);
    const std::vector<Point> sites = {{5, 6}, {20, 3}, {31, 31}, {0, 0}};
    MarkHeadquarters(doc, sites);
    EXPECT_EQ(doc.Header.PlayerCount, 4);
    const auto marks = FindHeadquartersMarks(doc); // in row order
    ASSERT_EQ(marks.size(), 4U);
    EXPECT_EQ(marks[0].X, 0);
    EXPECT_EQ(marks[3].Y, 31);
    for (std::size_t k = 0; k < 7; ++k) {
        if (k < sites.size()) {
            const std::size_t i =
                test::PointIndex(doc, static_cast<int>(sites[k].X), static_cast<int>(sites[k].Y));
            EXPECT_EQ(doc.Header.HeadquartersX[k], sites[k].X);
            EXPECT_EQ(doc.Header.HeadquartersY[k], sites[k].Y);
            EXPECT_EQ(doc.Layer(6)[i], 0x80);
            EXPECT_EQ(doc.Layer(5)[i], k);
        } else {
            EXPECT_EQ(static_cast<uint16_t>(doc.Header.HeadquartersX[k]), 0xFFFF) << k;
            EXPECT_EQ(static_cast<uint16_t>(doc.Header.HeadquartersY[k]), 0xFFFF) << k;
        }
    }
    // Layers too short for a site: neither of its two layers is written.
    MapDocument shortLayer = test::MakeFlatMap(32, 32);
    shortLayer.Layer(6).resize(100);
    MarkHeadquarters(shortLayer, {{1, 1}, {5, 6}});
    EXPECT_EQ(shortLayer.Layer(5)[test::PointIndex(shortLayer, 5, 6)], 0);
    EXPECT_EQ(shortLayer.Layer(6).size(), 100U);
    EXPECT_EQ(shortLayer.Header.HeadquartersX[1], 5); // the header still names it
    const PointGrid grid(doc);
    // (31,31) to (0,0) across both edges: one row down from an odd row, a column east.
    EXPECT_EQ(SmallestDistance(grid, sites), 1);
    // (31,31) to (5,6): 7 rows down (four of them from odd rows, a column east each) and 2 steps
    // east.
    EXPECT_EQ(SmallestDistance(grid, {sites[0], sites[2]}), 9);
    EXPECT_EQ(SmallestDistance(grid, {{1, 1}}), std::nullopt);
}

// Of sites spread equally far, those with mining mountain 6 to 20 steps away are taken.
TEST(Headquarters, PrefersMountainsNearby)
{
    for (const int players : {1, 2, 3}) {
        MapDocument doc = test::MakeFlatMap(48, 48);
        const PointGrid grid(doc);
        for (std::size_t i = 0; i < doc.Layer(2).size(); ++i)
            if (grid.Distance({24, 24}, grid.PointAt(i)) <= 2)
                doc.Layer(2)[i] = doc.Layer(3)[i] = 1;
        const auto found = FindHeadquartersSites(doc, players);
        ASSERT_TRUE(found) << players;
        for (const Point site : found->Sites) {
            int64_t nearest = 1000;
            for (std::size_t i = 0; i < doc.Layer(2).size(); ++i)
                if ((play::GroundAt(grid, doc, grid.PointAt(i)) & play::kAllMining) != 0)
                    nearest = std::min(nearest, grid.Distance(site, grid.PointAt(i)));
            EXPECT_TRUE(nearest >= 6 && nearest <= 20)
                << players << " players: site " << site.X << "," << site.Y << " is " << nearest
                << " steps from the mountain";
        }
    }
}

TEST(Headquarters, NoSitesForBadCountsOrMaps)
{
    const MapDocument meadow = test::MakeFlatMap(32, 32);
    EXPECT_TRUE(FindHeadquartersSites(meadow, 7));
    for (const int players : {0, -1, 8})
        EXPECT_FALSE(FindHeadquartersSites(meadow, players)) << players;
    MapDocument water = meadow;
    std::ranges::fill(water.Layer(2), 5);
    EXPECT_FALSE(FindHeadquartersSites(water, 1));
    for (const int layer : {1, 2, 3}) { // heights and both triangle layers are needed whole
        MapDocument cut = meadow;
        cut.Layer(layer).pop_back();
        EXPECT_FALSE(FindHeadquartersSites(cut, 1)) << "layer " << layer;
    }
}

// A request tries the seeds S, S + 1, ... (wrapping) until a terrain holds the players, and
// gives up after kTerrainAttempts, saying which seeds it tried.
TEST(PlayableMap, ReseedsUpToTheBound)
{
    for (const auto &[seed, good] : {std::pair<uint64_t, int>{100, 0},
                                     {100, 3},
                                     {std::numeric_limits<uint64_t>::max() - 1, 5},
                                     {7, kTerrainAttempts - 1},
                                     {7, kTerrainAttempts}}) {
        std::vector<uint64_t> tried;
        const GrowTerrain grow = [&](MapDocument &doc, uint64_t s) {
            tried.push_back(s);
            doc = test::MakeFlatMap(64, 64);
            if (tried.size() <= static_cast<std::size_t>(good))
                std::ranges::fill(doc.Layer(2), 5); // all water
            return true;
        };
        MapDocument doc;
        const auto made = GeneratePlayableMap(doc, 4, seed, grow);
        const std::string row = std::to_string(seed) + " good at " + std::to_string(good);
        const auto attempts = static_cast<std::size_t>(std::min(good + 1, kTerrainAttempts));
        ASSERT_EQ(tried.size(), attempts) << row;
        for (std::size_t k = 0; k < tried.size(); ++k)
            EXPECT_EQ(tried[k], seed + k) << row;
        ASSERT_EQ(made.has_value(), good < kTerrainAttempts) << row;
        if (made) {
            EXPECT_EQ(made->Attempt, good) << row;
            EXPECT_EQ(made->Seed, seed + static_cast<uint64_t>(good)) << row;
            EXPECT_EQ(made->Finish.Sites.size(), 4U) << row;
            EXPECT_GE(made->Finish.SmallestDistance, MinimumPlayerDistance(64, 64)) << row;
        }
    }
    EXPECT_EQ(NoPlayableTerrainMessage(64, 80, 7, 18446744073709551610ULL),
              "Cannot place 7 players at least 9 steps apart on one land of a 64 x 80 map: none "
              "of the 16 terrains grown from seeds 18446744073709551610 to 9 holds them. Try a "
              "larger map or fewer players.");
    EXPECT_EQ(NoPlayableTerrainMessage(64, 64, 1, 0).substr(0, 53),
              "Cannot place a headquarters on one land of a 64 x 64 ");
}

// A terrain whose only land is too small for the distance is refused, and left as it was.
TEST(PlayableMap, RefusesSitesTooClose)
{
    MapDocument doc = test::MakeFlatMap(64, 64);
    const PointGrid grid(doc);
    for (std::size_t i = 0; i < doc.Layer(2).size(); ++i)
        if (grid.Distance({10, 10}, grid.PointAt(i)) > 5)
            doc.Layer(2)[i] = doc.Layer(3)[i] = 5;
    const MapDocument before = doc;
    EXPECT_FALSE(FinishForPlay(doc, 2, 1));
    EXPECT_EQ(doc, before);
    EXPECT_TRUE(FinishForPlay(doc, 1, 1));
}

// Tiny maps of land (L), water (W) and neither (.), rows split by '/', and the piece number
// each point gets; the map wraps at its edges, and only points of one kind join.
TEST(Pieces, JoinAcrossTheEdgesAndOnlyAlike)
{
    const std::pair<std::string, std::string> cases[] = {
        {"L..L/....", "0..0/...."},                     // across the west edge only
        {"L.../..../..../L...", "0.../..../..../0..."}, // across the top edge only
        {"LW../.WL.", "01../.12."},                     // land and water touch but stay apart
        {"LL..WW/......", "00..11/......"},
        {"L.L./....", "0.1./...."},
        {"LLLL/WWWW", "0000/1111"},
    };
    for (const auto &[map, labels] : cases) {
        const auto width = static_cast<int16_t>(map.find('/'));
        const auto rows = static_cast<int16_t>(std::ranges::count(map, '/') + 1);
        const MapDocument doc = test::MakeFlatMap(width, rows);
        play::GroundFlags ground;
        for (const char c : map)
            if (c != '/')
                ground.push_back(c == 'L' ? play::kAllWalkable : c == 'W' ? play::kAllWater : 0);
        const play::Pieces pieces = play::FindPieces(PointGrid(doc), ground);
        std::string shown;
        for (std::size_t i = 0; i < pieces.Of.size(); ++i)
            shown += std::string(i > 0 && i % static_cast<std::size_t>(width) == 0 ? "/" : "")
                     + (pieces.Of[i] == -1 ? '.'
                        : pieces.Of[i] < 0 ? '?'
                                           : static_cast<char>('0' + pieces.Of[i]));
        EXPECT_EQ(shown, labels) << map;
    }
}

} // namespace
} // namespace trelvik
