// SPDX-License-Identifier: GPL-3.0-or-later
#include "fairness.h"

#include "document/layer_codes.h"
#include "headquarters.h"

#include <algorithm>
#include <array>
#include <limits>

namespace trelvik {
namespace {

struct MeasureNames
{
    std::string_view Name;
    std::string_view Key;
};

constexpr std::array<MeasureNames, kStartMeasureCount> kNames = {{
    {"building sites", "buildingSites"},
    {"huts", "huts"},
    {"houses", "houses"},
    {"castles", "castles"},
    {"mines", "mines"},
    {"coal", "coal"},
    {"iron", "iron"},
    {"gold", "gold"},
    {"granite", "granite"},
    {"trees", "trees"},
    {"stones", "stones"},
    {"water", "water"},
    {"fish", "fish"},
    {"steps to a mine", "stepsToMine"},
}};

constexpr std::size_t At(StartMeasure m)
{
    return static_cast<std::size_t>(m);
}

// Steps from every point to the nearest point of mine quality; -1 everywhere when there is none.
std::vector<int32_t> StepsToMines(const PointGrid &grid, const MapLayer &quality, std::size_t count)
{
    std::vector<int32_t> steps(count, -1);
    std::vector<std::size_t> ring, next;
    for (std::size_t i = 0; i < count; ++i) {
        if ((quality[i] & kQualityMask) == 5) {
            steps[i] = 0;
            ring.push_back(i);
        }
    }
    for (int32_t d = 1; !ring.empty(); ++d) {
        next.clear();
        for (const std::size_t i : ring) {
            const Point p = grid.PointAt(i);
            for (const std::size_t k : grid.NeighbourIndices(p.X, p.Y)) {
                if (steps[k] < 0) {
                    steps[k] = d;
                    next.push_back(k);
                }
            }
        }
        std::swap(ring, next);
    }
    return steps;
}

// Counts what lies on the points 1 to `radius` steps from `centre`.
void CountAround(const MapDocument &document,
                 play::StepWalker &walker,
                 std::size_t centre,
                 int radius,
                 PlayerStart &start)
{
    const MapLayer &objects = document.Layer(6);
    const MapLayer &quality = document.Layer(9);
    const MapLayer &resources = document.Layer(12);
    auto &v = start.Values;
    walker.Walk(centre, radius, [&](std::size_t k, int) {
        switch (quality[k] & kQualityMask) {
        case 2:
            ++v[At(StartMeasure::Huts)];
            break;
        case 3:
            ++v[At(StartMeasure::Houses)];
            break;
        case 4:
            ++v[At(StartMeasure::Castles)];
            break;
        case 5:
            ++v[At(StartMeasure::Mines)];
            break;
        default:
            break;
        }
        if (const auto deposit = MineralIn(resources[k])) {
            constexpr std::array<StartMeasure, 4> kOre = {
                StartMeasure::Coal, StartMeasure::Iron, StartMeasure::Gold, StartMeasure::Granite};
            const auto kind = static_cast<std::size_t>(
                (static_cast<uint8_t>(deposit->Kind) - static_cast<uint8_t>(Mineral::Coal)) / 8);
            v[At(kOre[kind])] += deposit->Amount;
        }
        v[At(StartMeasure::Water)] += resources[k] == kDrinkingWaterResource ? 1 : 0;
        v[At(StartMeasure::Fish)] += resources[k] == kFishResource ? 1 : 0;
        v[At(StartMeasure::Trees)] += IsTreeObject(objects[k]) ? 1 : 0;
        v[At(StartMeasure::Stones)] += IsGraniteObject(objects[k]) ? 1 : 0;
    });
    v[At(StartMeasure::BuildingSites)] =
        v[At(StartMeasure::Huts)] + v[At(StartMeasure::Houses)] + v[At(StartMeasure::Castles)];
}

double Balance(const std::vector<PlayerStart> &players, StartMeasure m)
{
    int64_t low = std::numeric_limits<int64_t>::max();
    int64_t high = 0;
    for (const PlayerStart &p : players) {
        const int64_t value = p.Value(m);
        if (value < 0) // a distance to a mine that does not exist
            return 0.0;
        low = std::min(low, value);
        high = std::max(high, value);
    }
    if (players.size() < 2 || high == low)
        return 1.0;
    return static_cast<double>(low) / static_cast<double>(high);
}

} // namespace

std::string_view StartMeasureName(StartMeasure measure)
{
    return kNames[At(measure)].Name;
}

std::string_view StartMeasureKey(StartMeasure measure)
{
    return kNames[At(measure)].Key;
}

StartMeasure FairnessReport::Worst() const
{
    std::size_t worst = 0;
    for (std::size_t m = 1; m < kStartMeasureCount; ++m)
        if (Balance[m] < Balance[worst])
            worst = m;
    return static_cast<StartMeasure>(worst);
}

std::optional<FairnessReport> MeasureFairness(const MapDocument &document, int radius)
{
    const PointGrid grid(document);
    if (grid.Empty() || radius < 1 || radius > kMaxFairnessRadius)
        return std::nullopt;
    const auto count = static_cast<std::size_t>(grid.Width() * grid.Height());
    for (const int layer : {5, 6, 9, 12})
        if (document.Layer(layer).size() < count)
            return std::nullopt;

    FairnessReport report;
    report.Radius = radius;
    const auto marks = FirstMarkOfEachPlayer(document);

    const std::vector<int32_t> toMine = StepsToMines(grid, document.Layer(9), count);
    play::StepWalker walker(grid);
    for (std::size_t player = 0; player < marks.size(); ++player) {
        if (!marks[player])
            continue;
        const std::size_t at = grid.IndexOf(*marks[player]);
        PlayerStart start;
        start.Player = static_cast<int>(player);
        start.At = *marks[player];
        CountAround(document, walker, at, radius, start);
        start.Values[At(StartMeasure::StepsToMine)] = toMine[at];
        report.Players.push_back(start);
    }
    for (std::size_t m = 0; m < kStartMeasureCount; ++m)
        report.Balance[m] = Balance(report.Players, static_cast<StartMeasure>(m));
    return report;
}

} // namespace trelvik
