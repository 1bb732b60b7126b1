// SPDX-License-Identifier: GPL-3.0-or-later
#include "map_check.h"

#include "document/layer_codes.h"
#include "play/areas.h"
#include "play/building_quality.h"
#include "play/ground.h"
#include "play/headquarters.h"
#include "play/shading.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace trelvik {
namespace {

constexpr int16_t kUnusedSlot = -1; // 0xFFFF, as editors write it
constexpr uint8_t kLastAnimalSpecies = 9;

std::string At(Point p)
{
    return "(" + std::to_string(p.X) + ", " + std::to_string(p.Y) + ")";
}

std::string Plural(std::size_t n, const std::string &one, const std::string &many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// Whether a layer-12 byte is one the game knows: nothing, or a kind in the upper bits (0x20
// drinking water, 0x40 to 0x58 the minerals, 0x80 fish) with an amount of 0 to 7 below.
bool KnownResource(uint8_t value)
{
    const int kind = value & 0xF8;
    return value == kNoResource || kind == 0x20 || (kind >= 0x40 && kind <= 0x58) || kind == 0x80;
}

// Whether a layer-9 byte holds castle quality.
bool IsCastle(uint8_t quality)
{
    return (quality & kQualityMask) == static_cast<uint8_t>(BuildingQuality::Castle);
}

bool TouchesLava(const PointGrid &grid, const MapDocument &document, Point p)
{
    return std::ranges::any_of(TrianglesAround(grid, document, p), IsLavaCode);
}

class Checker
{
public:
    explicit Checker(const MapDocument &document)
        : mDocument(document)
        , mGrid(document)
    {}

    CheckReport Run()
    {
        if (!CheckSize())
            return Finish();
        if (Whole({2, 3}))
            mGround = play::ReadWholeGround(mGrid, mDocument);
        CheckLayers();
        CheckHeadquarters();
        CheckAnimals();
        if (Whole({1, 2, 3, 5, 6, 9, 13}))
            CheckDerivedLayers();
        if (Whole({14}))
            CheckAreas();
        if (Whole({2, 3, 6, 12}))
            CheckPoints();
        return Finish();
    }

private:
    void Add(Severity level,
             std::string code,
             std::optional<Point> at,
             std::string text,
             CheckFix fix = CheckFix::None)
    {
        mReport.Findings.push_back({level, std::move(code), at, std::move(text), fix});
    }

    CheckReport Finish()
    {
        std::ranges::stable_sort(mReport.Findings, {}, &Finding::Level);
        return std::move(mReport);
    }

    std::size_t Points() const { return static_cast<std::size_t>(mGrid.Width() * mGrid.Height()); }

    bool Whole(std::initializer_list<int> layers) const
    {
        return std::ranges::all_of(layers,
                                   [&](int k) { return mDocument.Layer(k).size() == Points(); });
    }

    bool CheckSize()
    {
        if (!mGrid.Empty())
            return true;
        Add(Severity::Error, "map-size", std::nullopt,
            "The map is " + std::to_string(mDocument.Header.Width) + " x "
                + std::to_string(mDocument.Header.Height) + " points: it has no points at all.");
        return false;
    }

    void CheckLayers()
    {
        for (int k = 1; k <= kLayerCount; ++k) {
            const std::size_t size = mDocument.Layer(k).size();
            if (size != Points())
                Add(Severity::Error, "layer-length", std::nullopt,
                    "Layer " + std::to_string(k) + " holds " + Plural(size, "byte", "bytes")
                        + ", but a " + std::to_string(mGrid.Width()) + " x "
                        + std::to_string(mGrid.Height()) + " map needs " + std::to_string(Points())
                        + ".");
        }
    }

    void CheckHeadquarters()
    {
        const MapHeader &header = mDocument.Header;
        const int players = header.PlayerCount;
        if (players > kHeadquartersCount)
            Add(Severity::Error, "player-count", std::nullopt,
                "The header says " + std::to_string(players)
                    + " players; the game has room for 1 to 7.");
        const MapLayer &objects = mDocument.Layer(6);
        const MapLayer &owners = mDocument.Layer(5);
        const MapLayer &quality = mDocument.Layer(9);
        std::array<std::optional<Point>, kHeadquartersCount> marks{};
        const std::size_t count = mGrid.PointsIn(objects);
        for (std::size_t i = 0; i < count; ++i) {
            if (objects[i] != kHeadquartersObject)
                continue;
            const Point p = mGrid.PointAt(i);
            const int player = i < owners.size() ? owners[i] : 0;
            if (player >= kHeadquartersCount) {
                Add(Severity::Error, "hq-bad-player", p,
                    "The headquarters mark at " + At(p) + " is for player "
                        + std::to_string(player + 1) + ", who cannot exist (players 1 to 7).",
                    CheckFix::RemoveMark);
                continue;
            }
            auto &mark = marks[static_cast<std::size_t>(player)];
            if (mark) {
                Add(Severity::Error, "hq-twice", p,
                    "Player " + std::to_string(player + 1) + " has a second headquarters at "
                        + At(p) + "; the first is at " + At(*mark) + ".",
                    CheckFix::RemoveMark);
                continue;
            }
            mark = p;
            if (player >= players)
                Add(Severity::Error, "hq-extra-player", p,
                    "The headquarters at " + At(p) + " is for player " + std::to_string(player + 1)
                        + ", but the map has "
                        + Plural(static_cast<std::size_t>(players), "player", "players") + ".",
                    CheckFix::PlayersFromMarks);
            if (i < quality.size() && !IsCastle(quality[i]))
                Add(Severity::Error, "hq-not-castle", p,
                    "The headquarters of player " + std::to_string(player + 1) + " at " + At(p)
                        + " stands where the building quality is not castle: the game will "
                          "not place it there.");
        }
        for (int k = 0; k < std::min(players, kHeadquartersCount); ++k) {
            const auto &mark = marks[static_cast<std::size_t>(k)];
            const Point slot{header.HeadquartersX[static_cast<std::size_t>(k)],
                             header.HeadquartersY[static_cast<std::size_t>(k)]};
            if (!mark) {
                Add(Severity::Error, "player-without-hq", std::nullopt,
                    "Player " + std::to_string(k + 1) + " has no headquarters mark: the game "
                        + "will refuse the map (no valid start position).",
                    std::ranges::any_of(marks, [](const auto &m) { return m.has_value(); })
                        ? CheckFix::PlayersFromMarks
                        : CheckFix::None);
            } else if (slot != *mark) {
                Add(Severity::Error, "hq-slot", *mark,
                    "The header places player " + std::to_string(k + 1) + " at " + At(slot)
                        + ", but the mark is at " + At(*mark) + ".",
                    CheckFix::PlayersFromMarks);
            }
        }
    }

    void CheckAnimals()
    {
        for (const AnimalEntry &animal : mDocument.Animals) {
            const Point p{animal.X, animal.Y};
            if (!mGrid.Holds(p))
                Add(Severity::Warning, "animal-off-map", std::nullopt,
                    "The file's animal list places an animal at " + At(p)
                        + ", off the map; the game takes its animals from layer 7 and passes "
                          "this one over.");
            else if (animal.Species == 0 || animal.Species > kLastAnimalSpecies)
                Add(Severity::Warning, "animal-unknown", p,
                    "The animal at " + At(p) + " is of no known kind ("
                        + std::to_string(animal.Species) + ").");
        }
    }

    // Shading and building quality as a recompute gives them.
    void CheckDerivedLayers()
    {
        MapDocument fresh;
        fresh.Header = mDocument.Header;
        for (const int k : {1, 2, 3, 5, 6, 9})
            fresh.Layer(k) = mDocument.Layer(k);
        fresh.Layer(13).resize(Points());
        ComputeShading(fresh);
        ComputeBuildingQuality(fresh, &mGround);
        const auto compare = [&](int layer, uint8_t mask, const char *code, const char *what) {
            const MapLayer &stored = mDocument.Layer(layer);
            const MapLayer &worked = fresh.Layer(layer);
            std::size_t differ = 0, first = 0;
            for (std::size_t i = 0; i < stored.size(); ++i) {
                if (((stored[i] ^ worked[i]) & mask) != 0 && differ++ == 0)
                    first = i;
            }
            if (differ > 0)
                Add(Severity::Warning, code, mGrid.PointAt(first),
                    std::string("The ") + what + " of " + Plural(differ, "point", "points")
                        + " differs from a recompute (the first at " + At(mGrid.PointAt(first))
                        + ").",
                    CheckFix::Recompute);
        };
        compare(13, 0xFF, "shading-stale", "shading");
        compare(9, kQualityMask, "quality-stale", "building quality");
    }

    // Each entry of the area table against the points of layer 14 that name it.
    void CheckAreas()
    {
        std::array<int64_t, 256> counts{};
        for (const uint8_t id : mDocument.Layer(14))
            ++counts[id];
        std::size_t wrong = 0;
        std::string first;
        for (std::size_t k = 0; k < kAreaCount; ++k) {
            const AreaEntry &entry = mDocument.Header.Areas[k];
            const int64_t size = entry.Type == 0 ? 0 : entry.Size;
            if (size == counts[k])
                continue;
            if (wrong++ == 0)
                first = "entry " + std::to_string(k) + " says "
                        + Plural(static_cast<std::size_t>(std::max<int64_t>(size, 0)), "point",
                                 "points")
                        + ", layer 14 names it on " + std::to_string(counts[k]);
        }
        if (wrong > 0)
            Add(Severity::Warning, "area-table", std::nullopt,
                "The area table disagrees with layer 14 in " + Plural(wrong, "entry", "entries")
                    + " (" + first + "): ships may not sail.",
                CheckFix::RebuildAreas);
    }

    // Resources, objects and harbour marks, point by point.
    void CheckPoints()
    {
        const MapLayer &resources = mDocument.Layer(12);
        const MapLayer &objects = mDocument.Layer(6);
        const MapLayer &terrain = mDocument.Layer(2);
        const MapLayer &quality = mDocument.Layer(9);
        for (std::size_t i = 0; i < Points(); ++i) {
            const uint16_t g = mGround[i];
            const uint8_t r = resources[i];
            const Point p = mGrid.PointAt(i);
            if (!KnownResource(r)) {
                Add(Severity::Warning, "resource-unknown", p,
                    "The resource byte at " + At(p) + " (" + std::to_string(r)
                        + ") is none the game knows.");
            } else if (MineralIn(r) && (g & play::kAllMining) == 0) {
                Add(Severity::Warning, "resource-ground", p,
                    "A mineral lies at " + At(p) + ", which is not all mining mountain.");
            } else if ((r & 0xF8) == 0x80 && (g & play::kTouchesWater) == 0) {
                Add(Severity::Warning, "resource-ground", p,
                    "Fish lie at " + At(p) + ", away from the water.");
            }
            const uint8_t type = objects[i];
            if (IsTreeObject(type) || IsGraniteObject(type)) {
                const char *what = IsTreeObject(type) ? "A tree" : "Granite";
                if ((g & play::kAllWater) != 0)
                    Add(Severity::Warning, "object-water", p,
                        std::string(what) + " stands in the water at " + At(p) + ".");
                else if (TouchesLava(mGrid, mDocument, p))
                    Add(Severity::Warning, "object-lava", p,
                        std::string(what) + " stands by lava at " + At(p) + ".");
            }
            if ((terrain[i] & kHarbourBit) != 0 && !IsCastle(quality[i]))
                Add(Severity::Warning, "harbour-not-castle", p,
                    "A harbour is marked at " + At(p)
                        + ", where the building quality is not castle.");
        }
    }

    const MapDocument &mDocument;
    PointGrid mGrid;
    play::GroundFlags mGround; // of every point, when layers 2 and 3 hold them all
    CheckReport mReport;
};

// The header's player count and the slots of the players from the marks: the count reaches
// the highest player marked, each slot holds that player's first mark (or none).
bool PlayersFromMarks(MapDocument &document)
{
    const auto marks = FirstMarkOfEachPlayer(document);
    const MapHeader before = document.Header;
    MapHeader &header = document.Header;
    header.PlayerCount = 0;
    for (std::size_t k = 0; k < marks.size(); ++k)
        if (marks[k])
            header.PlayerCount = static_cast<uint8_t>(k + 1);
    for (std::size_t k = 0; k < header.PlayerCount; ++k) {
        header.HeadquartersX[k] = marks[k] ? static_cast<int16_t>(marks[k]->X) : kUnusedSlot;
        header.HeadquartersY[k] = marks[k] ? static_cast<int16_t>(marks[k]->Y) : kUnusedSlot;
    }
    return header != before;
}

bool RemoveMark(MapDocument &document, std::optional<Point> at)
{
    const PointGrid grid(document);
    if (!at || !grid.Holds(*at))
        return false;
    const std::size_t i = grid.IndexOf(*at);
    MapLayer &objects = document.Layer(6);
    if (i >= objects.size() || objects[i] != kHeadquartersObject)
        return false;
    objects[i] = kNoObject;
    if (i < document.Layer(5).size())
        document.Layer(5)[i] = 0;
    UpdateBuildingQuality(document, QualityNeighbourhood(grid, i));
    return true;
}

} // namespace

std::size_t CheckReport::Count(Severity level) const
{
    return static_cast<std::size_t>(std::ranges::count(Findings, level, &Finding::Level));
}

CheckReport CheckMap(const MapDocument &document)
{
    return Checker(document).Run();
}

std::string_view SeverityName(Severity level)
{
    return level == Severity::Error ? "error" : "warning";
}

std::string_view FixName(CheckFix fix)
{
    switch (fix) {
    case CheckFix::Recompute:
        return "Recompute shading and building quality";
    case CheckFix::RebuildAreas:
        return "Rebuild the area table";
    case CheckFix::PlayersFromMarks:
        return "Take the players from the marks";
    case CheckFix::RemoveMark:
        return "Remove this mark";
    case CheckFix::None:
        break;
    }
    return {};
}

std::string Summary(const CheckReport &report)
{
    const std::size_t errors = report.Count(Severity::Error);
    const std::size_t warnings = report.Count(Severity::Warning);
    if (errors == 0 && warnings == 0)
        return "no problems found";
    return Plural(errors, "error", "errors") + ", " + Plural(warnings, "warning", "warnings");
}

bool ApplyFix(MapDocument &document, CheckFix fix, std::optional<Point> at)
{
    switch (fix) {
    case CheckFix::Recompute: {
        const MapLayer quality = document.Layer(9), shading = document.Layer(13);
        ComputeShading(document);
        ComputeBuildingQuality(document);
        return document.Layer(9) != quality || document.Layer(13) != shading;
    }
    case CheckFix::RebuildAreas: {
        const auto areas = document.Header.Areas;
        const MapLayer ids = document.Layer(14);
        ComputeAreas(document);
        return document.Header.Areas != areas || document.Layer(14) != ids;
    }
    case CheckFix::PlayersFromMarks:
        return PlayersFromMarks(document);
    case CheckFix::RemoveMark:
        return RemoveMark(document, at);
    case CheckFix::None:
        break;
    }
    return false;
}

} // namespace trelvik
