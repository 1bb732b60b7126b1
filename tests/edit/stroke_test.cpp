// SPDX-License-Identifier: GPL-3.0-or-later
// Strokes of every brush on generated, blank, damaged and (with TRELVIK_REAL_MAPS) hand-made
// maps: undo and redo exact, derived layers as a whole-map recompute gives them, the map
// written and read back the same, and no new error for the check.
#include "check/map_check.h"
#include "document/layer_codes.h"
#include "document/map_file.h"
#include "edit/blank_map.h"
#include "edit/stroke.h"
#include "generator/generate_map.h"
#include "play/areas.h"
#include "play/building_quality.h"
#include "play/finish_for_play.h"
#include "play/headquarters.h"
#include "play/shading.h"
#include "test_maps.h"
#include "tools/coastal_castle_fix.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>

namespace trelvik::edit {
namespace {

// A generated map finished for two players, its derived layers worked out afresh.
const MapDocument &Generated(uint64_t seed)
{
    static std::map<uint64_t, MapDocument> made;
    auto [at, added] = made.try_emplace(seed);
    if (added) {
        RandomSource random;
        random.Seed(seed);
        EXPECT_TRUE(
            GenerateMap(at->second, 64 + 16 * static_cast<int>(seed % 2), 64, true, random));
        FinishForPlay(at->second, 2, seed);
        ComputeShading(at->second);
        ComputeBuildingQuality(at->second);
        ComputeAreas(at->second);
    }
    return at->second;
}

std::multiset<std::string> Errors(const MapDocument &doc)
{
    std::multiset<std::string> errors;
    for (const Finding &f : CheckMap(doc).Findings)
        if (f.Level == Severity::Error)
            errors.insert(
                f.Code
                + (f.At ? "@" + std::to_string(f.At->X) + "," + std::to_string(f.At->Y) : ""));
    return errors;
}

struct Row
{
    const char *Name;
    edit::Brush Brush;
};

std::vector<Row> Brushes()
{
    using K = BrushKind;
    using H = HeightMode;
    using O = ObjectChoice;
    using R = ResourceChoice;
    return {{"water", {.Terrain = 5}},
            {"meadow", {}},
            {"lava", {.Terrain = 16}},
            {"raise", {.Kind = K::Height, .HeightStep = 4}},
            {"lower", {.Kind = K::Height, .Height = H::Lower, .HeightStep = 3}},
            {"flatten", {.Kind = K::Height, .Height = H::Flatten}},
            {"smooth", {.Kind = K::Height, .Height = H::Smooth}},
            {"tree", {.Kind = K::Objects}},
            {"granite", {.Kind = K::Objects, .Object = O::Granite}},
            {"decoration", {.Kind = K::Objects, .Object = O::Decoration, .Decoration = 0x18}},
            {"clear", {.Kind = K::Objects, .Object = O::Erase}},
            {"coal", {.Kind = K::Resources}},
            {"drinking water", {.Kind = K::Resources, .Resource = R::Water}},
            {"fish", {.Kind = K::Resources, .Resource = R::Fish}},
            {"no resource", {.Kind = K::Resources, .Resource = R::Erase}},
            {"animals", {.Kind = K::Animals, .Animal = 3}},
            {"no animals", {.Kind = K::Animals, .Erase = true}},
            {"harbour", {.Kind = K::Harbour}},
            {"no harbour", {.Kind = K::Harbour, .Erase = true}},
            {"players", {.Kind = K::Players, .Player = 1}},
            {"no player", {.Kind = K::Players, .Erase = true}}};
}

// One stroke of three dabs from `centre` and back, then what must hold of it.
void StrokeSoundly(MapDocument &doc, const Brush &brush, Point centre, uint64_t seed)
{
    const MapDocument before = doc;
    const auto errorsBefore = Errors(doc);
    Stroke stroke(doc, brush, seed);
    const PointGrid grid(doc);
    const auto differ = [&doc](const MapDocument &from) { // points whose layer bytes differ
        std::vector<std::size_t> points;
        for (std::size_t i = 0; i < doc.Layer(1).size(); ++i)
            for (int k = 1; k <= kLayerCount; ++k)
                if (from.Layer(k)[i] != doc.Layer(k)[i]) {
                    points.push_back(i);
                    break;
                }
        return points;
    };
    for (const Point at : {centre, grid.Neighbour(centre, 4), centre}) {
        const MapDocument last = doc;
        const std::vector<std::size_t> changed = stroke.Dab(at);
        EXPECT_EQ(changed, differ(last));
    }
    const ChangeSet changes = stroke.Finish(grid.Neighbour(centre, 3));
    const MapDocument after = doc;
    EXPECT_EQ(changes.Points(), differ(before));
    for (const std::size_t i : changes.Points()) // an object goes whole
        EXPECT_TRUE(after.Layer(6)[i] != kNoObject || before.Layer(6)[i] == kNoObject
                    || after.Layer(5)[i] == 0);
    EXPECT_EQ(changes.HeaderChanged(), after.Header != before.Header);
    EXPECT_EQ(changes.AnimalsChanged(), after.Animals != before.Animals);

    MapDocument fresh = after;
    ComputeShading(fresh);
    ComputeBuildingQuality(fresh);
    ComputeAreas(fresh);
    EXPECT_EQ(fresh.Layer(13), after.Layer(13));
    for (std::size_t i = 0; i < after.Layer(9).size(); ++i)
        ASSERT_EQ(fresh.Layer(9)[i] & kQualityMask, after.Layer(9)[i] & kQualityMask)
            << "point " << i;
    EXPECT_EQ(fresh.Layer(14), after.Layer(14));
    EXPECT_EQ(fresh.Header.Areas, after.Header.Areas);
    MapDocument again;
    EXPECT_TRUE(ReadMapBytes(WriteMapBytes(after), MapLayout::Full, again).Ok() && again == after);
    // The map maker's own terrain and heights may spoil a headquarters site; nothing else may.
    if (brush.Kind != BrushKind::Terrain && brush.Kind != BrushKind::Height) {
        const auto errorsAfter = Errors(after);
        for (const std::string &e : errorsAfter)
            EXPECT_TRUE(errorsBefore.contains(e)) << e << ": " << stroke.LastRefusal();
    }
    changes.Undo(doc);
    ASSERT_EQ(doc, before);
    changes.Redo(doc);
    ASSERT_EQ(doc, after);
}

// Every brush in every size on generated maps of many seeds: at the corners and edges
// (wrapping), and near the headquarters, where the derived layers and the check matter most.
TEST(Stroke, EveryBrushAtEdgesCornersAndSitesInEverySize)
{
    for (uint64_t seed = 1; seed <= 6; ++seed) {
        MapDocument doc = Generated(seed);
        const PointGrid grid(doc);
        const auto w = grid.Width(), h = grid.Height();
        std::vector<Point> spots = {{0, 0}, {w - 1, h - 1}, {0, h - 1}, {w - 1, 0}, {w / 2, 0}};
        for (const Point hq : FindHeadquartersMarks(doc))
            spots.insert(spots.end(), {grid.Offset(hq, 1, 2), grid.Offset(hq, -3, 0)});
        for (const Row &row : Brushes()) {
            for (int size = kMinBrushSize; size <= kMaxBrushSize; ++size) {
                const Point at = spots[static_cast<std::size_t>(size) % spots.size()];
                SCOPED_TRACE(std::string(row.Name) + " size " + std::to_string(size) + " seed "
                             + std::to_string(seed) + " at " + std::to_string(at.X) + ","
                             + std::to_string(at.Y));
                Brush brush = row.Brush;
                brush.Size = size;
                brush.Player = static_cast<int>(seed % 3);
                StrokeSoundly(doc, brush, at, seed * 100 + static_cast<uint64_t>(size));
            }
        }
    }
}

TEST(Stroke, HeightsStayInRangeAndFlattenKeepsTheFirstHeight)
{
    struct HeightRow
    {
        HeightMode Mode;
        uint8_t Start;
        int Step;
        uint8_t Expected;
    };
    const std::vector<HeightRow> rows = {
        {HeightMode::Raise, 58, 5, kMaxHeight}, {HeightMode::Raise, 61, 1, 61},
        {HeightMode::Lower, 2, 5, 0},           {HeightMode::Lower, 30, 0, 29},
        {HeightMode::Smooth, 40, 1, 12},        {HeightMode::Flatten, 17, 1, 17}};
    for (const HeightRow &row : rows) {
        MapDocument doc = test::MakeFlatMap(64, 64);
        doc.Layer(1)[test::PointIndex(doc, 10, 10)] = row.Start;
        doc.Layer(1)[test::PointIndex(doc, 20, 20)] = row.Start;
        Stroke stroke(doc, {.Kind = BrushKind::Height, .Height = row.Mode, .HeightStep = row.Step},
                      1);
        stroke.Dab({10, 10});
        if (row.Mode == HeightMode::Flatten) // to the first dab's height, wherever it goes
            stroke.Dab({21, 20});
        EXPECT_EQ(doc.Layer(1)[test::PointIndex(doc, 10, 10)], row.Expected) << int{row.Start};
        EXPECT_EQ(doc.Layer(1)[test::PointIndex(doc, 21, 20)],
                  row.Mode == HeightMode::Flatten ? 17 : 12);
    }
}

// Resources only on the ground that holds them; erasing leaves what hand-made maps hold.
TEST(Stroke, ResourcesGoWhereTheGroundHoldsThem)
{
    struct ResourceRow
    {
        uint8_t Terrain;
        ResourceChoice Choice;
        uint8_t Expected;
    };
    using R = ResourceChoice;
    const std::vector<ResourceRow> rows = {{8, R::Coal, kDrinkingWaterResource},
                                           {8, R::Fish, kDrinkingWaterResource},
                                           {8, R::Erase, kNoResource},
                                           {1, R::Gold, 0x55},
                                           {1, R::Granite, 0x5D},
                                           {1, R::Water, kDrinkingWaterResource},
                                           {1, R::Erase, kEmptyMountainResource},
                                           {5, R::Fish, kFishResource},
                                           {5, R::Iron, kNoResource}};
    for (const ResourceRow &row : rows) {
        MapDocument doc = *MakeBlankMap({64, 64, 0, row.Terrain, 10}).Document;
        if (row.Terrain == 1)
            std::ranges::fill(doc.Layer(12), kDrinkingWaterResource); // to see the erase
        Stroke(doc, {.Kind = BrushKind::Resources, .Size = 3, .Resource = row.Choice, .Amount = 5},
               1)
            .Dab({0, 0});
        EXPECT_EQ(doc.Layer(12)[test::PointIndex(doc, 0, 1)], row.Expected)
            << int{row.Terrain} << " " << static_cast<int>(row.Choice);
    }
}

// Painting another ground takes away what it cannot hold; bytes of no known kind stay.
TEST(Stroke, PaintedGroundKeepsOnlyTheResourcesItHolds)
{
    struct PaintRow
    {
        uint8_t Ground, Under, Paint, Expected;
    };
    const std::vector<PaintRow> rows = {{8, kDrinkingWaterResource, 5, kNoResource},
                                        {8, kDrinkingWaterResource, 1, kEmptyMountainResource},
                                        {8, kDrinkingWaterResource, 9, kDrinkingWaterResource},
                                        {1, 0x45, 8, kNoResource},
                                        {1, 0x45, 11, 0x45},
                                        {5, kFishResource, 8, kNoResource},
                                        {5, kFishResource, 6, kFishResource},
                                        {8, 0x99, 5, 0x99}};
    for (const PaintRow &row : rows) {
        MapDocument doc = *MakeBlankMap({64, 64, 0, row.Ground, 10}).Document;
        std::ranges::fill(doc.Layer(12), row.Under);
        Stroke(doc, {.Kind = BrushKind::Terrain, .Size = 3, .Terrain = row.Paint}, 1).Dab({9, 9});
        EXPECT_EQ(doc.Layer(12)[test::PointIndex(doc, 9, 9)], row.Expected)
            << int{row.Ground} << " " << int{row.Under} << " " << int{row.Paint};
    }
}

// The harbour brush marks what the coastal castle fix marks, and painting the water away takes
// the marks off again.
TEST(Stroke, HarboursAreCastleSitesByTheWater)
{
    MapDocument doc = *MakeBlankMap({64, 64, 0, 8, 10}).Document;
    const auto marked = [](const MapDocument &d) {
        return std::ranges::count_if(d.Layer(2), [](uint8_t t) { return (t & kHarbourBit) != 0; });
    };
    for (const int layer : {2, 3}) {
        for (const uint8_t water : {5, 6, 19}) { // shallow water (6) leaves castles beside it
            MapDocument fixed = doc;
            doc.Layer(layer)[test::PointIndex(doc, 30, 31)] = water;
            fixed.Layer(layer)[test::PointIndex(doc, 30, 31)] = water;
            ComputeBuildingQuality(doc);
            ComputeBuildingQuality(fixed);
            EXPECT_GT(CoastalCastleFix(fixed), 0);
            Stroke(doc, {.Kind = BrushKind::Harbour, .Size = 9}, 1).Dab({30, 31});
            EXPECT_EQ(doc.Layer(2), fixed.Layer(2)) << layer << ": " << int{water};
            const auto at =
                std::ranges::find_if(doc.Layer(2), [](uint8_t t) { return t & kHarbourBit; });
            const Point p =
                PointGrid(doc).PointAt(static_cast<std::size_t>(at - doc.Layer(2).begin()));
            Stroke(doc, {.Kind = BrushKind::Harbour, .Erase = true}, 1).Dab(p);
            EXPECT_EQ(marked(doc), marked(fixed) - 1);
            Stroke dry(doc, {.Size = 9}, 1);
            dry.Dab({30, 31});
            dry.Finish({});
            EXPECT_EQ(marked(doc), 0);
        }
    }
}

// Objects stand on dry land of the ground they need, never on or beside a headquarters.
TEST(Stroke, ObjectsStandOnDryLandAwayFromHeadquarters)
{
    struct ObjectRow
    {
        uint8_t Terrain;
        ObjectChoice Object;
        Point At;
        std::size_t Placed; // the headquarters mark counts; 16 brush points touch the lake
    };
    using O = ObjectChoice;
    const std::vector<ObjectRow> rows = {
        {8, O::Tree, {40, 20}, 37},       {8, O::Granite, {40, 20}, 37},
        {1, O::Granite, {40, 20}, 37},    {1, O::Tree, {40, 20}, 0},
        {4, O::Decoration, {40, 20}, 37}, {3, O::Decoration, {40, 20}, 0},
        {4, O::Granite, {40, 20}, 0},     {8, O::Tree, {10, 12}, 37 - 7 + 1},
        {8, O::Tree, {40, 40}, 37 - 16}};
    for (const ObjectRow &row : rows) {
        MapDocument doc = *MakeBlankMap({64, 64, 0, row.Terrain, 10}).Document;
        const PointGrid grid(doc);
        Stroke(doc, {.Kind = BrushKind::Players}, 1).Finish({10, 10}); // on the meadow only
        Stroke lake(doc, {.Size = 3, .Terrain = 5}, 1);
        lake.Dab({40, 42});
        lake.Finish({});
        Stroke(doc, {.Kind = BrushKind::Objects, .Size = 7, .Object = row.Object}, 1).Dab(row.At);
        std::size_t placed = 0;
        for (const Point p : BrushPoints(grid, row.At, 7))
            placed += doc.Layer(6)[grid.IndexOf(p)] != kNoObject ? 1 : 0;
        EXPECT_EQ(placed, row.Placed) << int{row.Terrain} << " at " << row.At.X;
        EXPECT_TRUE(Errors(doc).empty());
    }
}

// Animals on walkable land, in layer 7 and the list alike, one a point; erasing takes both.
TEST(Stroke, AnimalsStandOnLandInLayerAndList)
{
    MapDocument doc = *MakeBlankMap({64, 64, 0, 8, 10}).Document;
    Stroke lake(doc, {.Size = 3, .Terrain = 5}, 1);
    lake.Dab({40, 42});
    const auto animals = [](int size, Point at, bool erase, std::size_t listed) {
        return std::tuple{size, at, erase, listed};
    };
    for (const auto &[size, at, erase, listed] :
         {animals(5, {20, 20}, false, 19), animals(3, {20, 30}, false, 26),
          animals(3, {20, 30}, false, 26), animals(5, {40, 42}, false, 26),
          animals(3, {20, 20}, true, 19), animals(1, {20, 20}, true, 19)}) {
        Stroke(doc, {.Kind = BrushKind::Animals, .Size = size, .Animal = 4, .Erase = erase}, 1)
            .Dab(at);
        EXPECT_EQ(doc.Animals.size(), listed) << at.X << "," << at.Y;
        EXPECT_EQ(static_cast<std::size_t>(std::ranges::count(doc.Layer(7), 4)), listed);
        for (const AnimalEntry &a : doc.Animals)
            EXPECT_EQ(doc.Layer(7)[test::PointIndex(doc, a.X, a.Y)], 4);
    }
}

// Placing, moving and erasing headquarters on a blank meadow with a lake: the header always
// agrees with the marks, and the check stays clean.
TEST(Stroke, PlayersKeepHeaderAndMarksInAgreement)
{
    MapDocument doc = *MakeBlankMap({64, 64, 0, 8, 10}).Document;
    const PointGrid grid(doc);
    Stroke lake(doc, {.Size = 5, .Terrain = 5}, 1);
    lake.Dab({30, 30});
    lake.Finish({30, 30});
    Stroke forest(doc, {.Kind = BrushKind::Objects, .Size = 9}, 1); // cleared around a site
    for (const Point at : {Point{0, 0}, Point{40, 10}, Point{41, 50}, Point{20, 50}})
        forest.Dab(at);
    forest.Finish({});
    struct Step
    {
        int Player;
        bool Erase;
        Point Press, Release;
        std::string Refusal; // its start
        std::vector<Point> Slots;
    };
    const std::vector<Step> steps = {
        {0, false, {0, 0}, {0, 0}, "", {{0, 0}}},
        {2, false, {40, 10}, {40, 10}, "Place player 2", {{0, 0}}},
        {1, false, {30, 30}, {30, 30}, "The ground", {{0, 0}}},
        {1, false, {40, 10}, {40, 10}, "", {{0, 0}, {40, 10}}},
        {1, false, {0, 0}, {0, 0}, "Player 1's", {{0, 0}, {40, 10}}},
        {0, false, {40, 10}, {41, 50}, "", {{0, 0}, {41, 50}}},
        {0, false, {0, 0}, {41, 51}, "A headquarters", {{0, 0}, {41, 50}}},
        {2, false, {20, 50}, {20, 50}, "", {{0, 0}, {41, 50}, {20, 50}}},
        {0, true, {0, 0}, {0, 0}, "", {{41, 50}, {20, 50}}},
        {0, true, {5, 5}, {5, 5}, "There is no", {{41, 50}, {20, 50}}},
        {1, false, {63, 63}, {63, 63}, "", {{41, 50}, {63, 63}}},
        {0, true, {63, 63}, {63, 63}, "", {{41, 50}}},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE("player " + std::to_string(step.Player + 1) + " at "
                     + std::to_string(step.Press.X));
        const MapDocument before = doc;
        Stroke stroke(doc, {.Kind = BrushKind::Players, .Player = step.Player, .Erase = step.Erase},
                      1);
        stroke.Dab(step.Press);
        const ChangeSet changes = stroke.Finish(step.Release);
        EXPECT_EQ(stroke.LastRefusal().substr(0, step.Refusal.size()), step.Refusal);
        EXPECT_EQ(step.Refusal.empty() ? doc != before : doc == before, true);
        ASSERT_EQ(doc.Header.PlayerCount, step.Slots.size());
        const auto marks = FirstMarkOfEachPlayer(doc);
        for (std::size_t k = 0; k < kHeadquartersCount; ++k) {
            const Point slot{doc.Header.HeadquartersX[k], doc.Header.HeadquartersY[k]};
            const Point expected = k < step.Slots.size() ? step.Slots[k] : Point{-1, -1};
            EXPECT_EQ(slot, expected) << k;
            EXPECT_EQ(marks[k].has_value(), k < step.Slots.size()) << k;
        }
        EXPECT_TRUE(Errors(doc).empty());
        for (std::size_t i = 0; i < doc.Layer(6).size(); ++i) // objects go whole
            EXPECT_TRUE(doc.Layer(6)[i] != kNoObject || doc.Layer(5)[i] == 0) << i;
        for (const Point hq : FindHeadquartersMarks(doc)) // objects keep away
            for (const Point p : BrushPoints(grid, hq, 9))
                EXPECT_EQ(doc.Layer(6)[grid.IndexOf(p)], hq == p ? kHeadquartersObject : kNoObject);
        MapDocument undone = doc;
        changes.Undo(undone);
        EXPECT_EQ(undone, before);
    }
}

// Hand-made maps: strokes of every brush at a few points, after a recompute of their derived
// layers (the stored ones differ from it on a few points).
TEST(Stroke, HandMadeMapsStaySound)
{
    const char *folder = std::getenv("TRELVIK_REAL_MAPS");
    if (folder == nullptr || *folder == '\0')
        GTEST_SKIP() << "TRELVIK_REAL_MAPS is not set: no hand-made maps to edit";
    std::ifstream list(std::filesystem::path(folder) / "MAPS");
    int maps = 0;
    for (std::string line; std::getline(list, line) && maps < 6;) {
        MapDocument doc;
        if (line.empty() || !ReadMapFile((std::filesystem::path(folder) / line).string(), doc).Ok())
            continue;
        ++maps;
        ComputeShading(doc);
        ComputeBuildingQuality(doc);
        ComputeAreas(doc);
        play::PlayRandom random(static_cast<uint64_t>(maps));
        for (const Row &row : Brushes()) {
            SCOPED_TRACE(line + ": " + row.Name);
            const Point at{random.Below(static_cast<uint32_t>(doc.Header.Width)),
                           random.Below(static_cast<uint32_t>(doc.Header.Height))};
            Brush brush = row.Brush;
            brush.Size = 1 + static_cast<int>(random.Below(9));
            StrokeSoundly(doc, brush, at, random.Next());
        }
    }
    EXPECT_GT(maps, 0);
}

// Damaged maps: short layers are never written past their end, and a map with no points is
// left alone.
TEST(Stroke, DamagedMapsAreWrittenOnlyWhereTheirLayersReach)
{
    for (const Row &row : Brushes()) {
        MapDocument doc = test::MakeFlatMap(64, 64);
        for (int k = 1; k <= kLayerCount; ++k)
            doc.Layer(k).resize(static_cast<std::size_t>(100 * k));
        MapDocument empty;
        for (const Point at : {Point{0, 0}, Point{63, 63}, Point{3, 1}, Point{60, 10}}) {
            Brush brush = row.Brush;
            brush.Size = 9;
            Stroke stroke(doc, brush, 7);
            stroke.Dab(at);
            stroke.Finish(at);
            Stroke nothing(empty, brush, 7);
            EXPECT_TRUE(nothing.Dab(at).empty() && nothing.Finish(at).Empty());
        }
        for (int k = 1; k <= kLayerCount; ++k)
            EXPECT_EQ(doc.Layer(k).size(), static_cast<std::size_t>(100 * k)) << row.Name;
        for (const AnimalEntry &a : doc.Animals) // listed only where layer 7 holds them
            EXPECT_LT(test::PointIndex(doc, a.X, a.Y), doc.Layer(7).size());
        EXPECT_EQ(empty, MapDocument{});
    }
}

} // namespace
} // namespace trelvik::edit
