// SPDX-License-Identifier: GPL-3.0-or-later
// Hand-made maps that play: TRELVIK_REAL_MAPS names a folder with a MAPS file listing them (one
// path per line, relative to the folder). The maps are not part of the project; without the
// variable these tests say they skipped.

#include "check/map_check.h"
#include "document/layer_codes.h"
#include "document/map_file.h"
#include "play/building_quality.h"
#include "play/shading.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace trelvik {
namespace {

struct RealMap
{
    std::string Name;
    MapDocument Document;
};

std::vector<RealMap> ReadRealMaps()
{
    const char *folder = std::getenv("TRELVIK_REAL_MAPS");
    if (folder == nullptr || *folder == '\0')
        return {};
    std::vector<RealMap> maps;
    std::ifstream list(std::filesystem::path(folder) / "MAPS");
    for (std::string line; std::getline(list, line);) {
        if (line.empty())
            continue;
        RealMap map{line, {}};
        const ReadResult read =
            ReadMapFile((std::filesystem::path(folder) / line).string(), map.Document);
        EXPECT_TRUE(read.Ok()) << line << ": " << read.Message;
        maps.push_back(std::move(map));
    }
    EXPECT_FALSE(maps.empty()) << folder << "/MAPS lists no maps";
    return maps;
}

#define SKIP_WITHOUT_REAL_MAPS(maps)                                                               \
    if ((maps).empty())                                                                            \
    GTEST_SKIP() << "TRELVIK_REAL_MAPS is not set: no hand-made maps to measure against"

// No error on a map that plays. The one exception: a header for eight players, the eighth mark
// for a player the game has no room for (the header's seven slots).
TEST(RealMaps, CheckFindsNoErrorOnMapsThatPlay)
{
    const std::vector<RealMap> maps = ReadRealMaps();
    SKIP_WITHOUT_REAL_MAPS(maps);
    const std::set<std::string> broken = {"OTHER/bigslaugh2.swd"};
    for (const RealMap &map : maps) {
        const CheckReport report = CheckMap(map.Document);
        std::multiset<std::string> errors;
        for (const Finding &f : report.Findings)
            if (f.Level == Severity::Error)
                errors.insert(f.Code);
        if (broken.contains(map.Name))
            EXPECT_EQ(errors, (std::multiset<std::string>{"player-count", "hq-bad-player"}))
                << map.Name;
        else
            EXPECT_TRUE(errors.empty()) << map.Name << ": " << Summary(report);
    }
}

// Recomputing gives the stored shading on every point, and the stored building quality (the
// low three bits) on at least 99.5% of all points.
TEST(RealMaps, RecomputeAgreesWithTheStoredLayers)
{
    const std::vector<RealMap> maps = ReadRealMaps();
    SKIP_WITHOUT_REAL_MAPS(maps);
    std::size_t points = 0, sameQuality = 0;
    double lowest = 1;
    std::string lowestMap;
    for (const RealMap &map : maps) {
        MapDocument fresh = map.Document;
        ComputeShading(fresh);
        ComputeBuildingQuality(fresh);
        EXPECT_EQ(fresh.Layer(13), map.Document.Layer(13)) << map.Name;
        const MapLayer &stored = map.Document.Layer(9);
        std::size_t same = 0;
        for (std::size_t i = 0; i < stored.size(); ++i) {
            same += ((stored[i] ^ fresh.Layer(9)[i]) & kQualityMask) == 0 ? 1 : 0;
            EXPECT_EQ(stored[i] & ~kQualityMask, fresh.Layer(9)[i] & ~kQualityMask);
        }
        points += stored.size();
        sameQuality += same;
        const double share = static_cast<double>(same) / static_cast<double>(stored.size());
        if (share < lowest)
            lowest = share, lowestMap = map.Name;
    }
    const double share = static_cast<double>(sameQuality) / static_cast<double>(points);
    EXPECT_GE(share, 0.995);
    std::cout << "building quality agrees on " << sameQuality << " of " << points << " points ("
              << share * 100 << "%); lowest " << lowestMap << " " << lowest * 100 << "%\n";
}

} // namespace
} // namespace trelvik
