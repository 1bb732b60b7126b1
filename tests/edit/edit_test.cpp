// SPDX-License-Identifier: GPL-3.0-or-later
// The change set, the brush's points and words, and the blank map.
#include "check/map_check.h"
#include "document/code_tables.h"
#include "document/layer_codes.h"
#include "document/map_file.h"
#include "edit/blank_map.h"
#include "edit/brush.h"
#include "edit/change_set.h"
#include "play/areas.h"
#include "play/building_quality.h"
#include "play/shading.h"
#include "test_maps.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace trelvik::edit {
namespace {

TEST(ChangeSet, KeepsTheFirstOldByteAndUndoesExactly)
{
    MapDocument doc = test::MakeFlatMap(64, 64);
    const MapDocument original = doc;
    ChangeSet set;
    set.Set(doc, 1, 5, 12); // the byte it holds: no change
    EXPECT_EQ(set.Size(), 0U);
    set.Set(doc, 1, 5, 20);
    set.Set(doc, 1, 5, 30);
    set.Set(doc, 13, 4095, 9);
    set.Set(doc, 13, 4096, 9); // past the layer's end
    set.Set(doc, 15, 0, 9);    // no such layer
    EXPECT_EQ(set.Size(), 2U);
    EXPECT_EQ(set.OldByte(1, 5), 12);
    EXPECT_EQ(set.Points(), (std::vector<std::size_t>{5, 4095}));
    MapHeader header = doc.Header;
    header.PlayerCount = 3;
    set.SetHeader(doc, header);
    set.SetAnimals(doc, {{1, 2, 3}});
    EXPECT_TRUE(set.HeaderChanged() && set.AnimalsChanged() && !set.Empty());
    const MapDocument edited = doc;
    set.Undo(doc);
    EXPECT_EQ(doc, original);
    set.Redo(doc);
    EXPECT_EQ(doc, edited);

    // Later changes fold in: the old bytes stay the first set's.
    ChangeSet later;
    later.Set(doc, 1, 5, 12);
    later.Set(doc, 2, 7, 5);
    later.SetHeader(doc, original.Header);
    later.SetAnimals(doc, original.Animals);
    set.Merge(later);
    EXPECT_EQ(set.Points(), (std::vector<std::size_t>{7, 4095}));
    EXPECT_FALSE(set.HeaderChanged() || set.AnimalsChanged());
    set.Undo(doc);
    EXPECT_EQ(doc, original);

    ChangeSet back; // bytes set back to their old value are no change
    back.Set(doc, 3, 0, 1);
    back.Set(doc, 3, 0, 8);
    EXPECT_TRUE(back.Empty() && back.Points().empty());
}

TEST(Brush, PointsAreAHexagonalDiscEachPointOnce)
{
    const MapDocument doc = test::MakeFlatMap(64, 64);
    const PointGrid grid(doc);
    const std::vector<std::size_t> counts = {1, 2, 7, 10, 19, 24, 37, 44, 61};
    for (const Point centre :
         {Point{0, 0}, Point{63, 63}, Point{0, 63}, Point{63, 0}, Point{31, 1}, Point{64, -1}}) {
        for (int size = kMinBrushSize; size <= kMaxBrushSize; ++size) {
            SCOPED_TRACE("size " + std::to_string(size) + " at " + std::to_string(centre.X) + ","
                         + std::to_string(centre.Y));
            const std::vector<Point> points = BrushPoints(grid, centre, size);
            ASSERT_EQ(points.size(), counts[static_cast<std::size_t>(size - 1)]);
            const Point on = grid.Offset(centre, 0, 0);
            EXPECT_EQ(points.front(), on);
            const int64_t reach = (size - 1) / 2;
            std::set<std::size_t> unique;
            for (const Point p : points) {
                EXPECT_TRUE(grid.Holds(p));
                unique.insert(grid.IndexOf(p));
                const int64_t d =
                    std::min(grid.Distance(on, p),
                             size % 2 == 0 ? grid.Distance(grid.Neighbour(on, 3), p) : reach + 1);
                EXPECT_LE(d, reach);
            }
            EXPECT_EQ(unique.size(), points.size());
            const std::vector<Triangle> triangles = BrushTriangles(grid, centre, size);
            std::set<std::pair<std::size_t, int>> distinct;
            for (const Triangle &t : triangles)
                distinct.insert({t.Index, t.Layer});
            EXPECT_EQ(distinct.size(), triangles.size());
            std::set<std::pair<std::size_t, int>> around; // of every point, each once
            for (const Point p : points)
                for (const Triangle &t : TrianglesOf(grid, p))
                    around.insert({t.Index, t.Layer});
            EXPECT_EQ(distinct, around);
            if (size % 2 != 0) { // the hexagon one step larger holds 6 (r + 1)^2 triangles
                EXPECT_EQ(triangles.size(),
                          static_cast<std::size_t>(6 * (reach + 1) * (reach + 1)));
            }
        }
    }
    // A map smaller than the brush: each point once; a map with no points: none.
    const MapDocument tiny = test::MakeFlatMap(3, 2);
    EXPECT_EQ(BrushPoints(PointGrid(tiny), {1, 1}, 9).size(), 6U);
    EXPECT_TRUE(BrushPoints(PointGrid(MapDocument{}), {0, 0}, 9).empty());
}

TEST(Brush, OffersNamedTerrains)
{
    const std::vector<uint8_t> codes = PaintableTerrains(2);
    EXPECT_EQ(codes.front(), kDefaultTerrain);
    std::set<std::string> labels;
    for (const uint8_t code : codes) {
        EXPECT_FALSE(TerrainName(code).empty()) << int{code};
        labels.insert(TerrainLabel(code));
    }
    EXPECT_EQ(labels.size(), codes.size()); // every entry told apart
    EXPECT_EQ(codes.size(), 23U);           // all named codes, 0..22 and 34 less 17
    for (const auto &[code, label] :
         {std::pair<uint8_t, const char *>{8, "meadow 1"}, {19, "water 2"}, {0, "savannah"}})
        EXPECT_EQ(TerrainLabel(code), label);
}

TEST(BlankMap, RefusesBadRequestsAndMakesCleanMaps)
{
    struct Row
    {
        BlankMapRequest Request;
        bool Ok;
        uint8_t Resource;
    };
    const std::vector<Row> rows = {
        {{64, 64, 0, 8, 10}, true, kDrinkingWaterResource},
        {{256, 80, 2, 1, 60}, true, kEmptyMountainResource},
        {{96, 64, 1, 5, 0}, true, kNoResource},
        {{63, 64, 0, 8, 10}, false, 0},
        {{64, 272, 0, 8, 10}, false, 0},
        {{64, 64, 3, 8, 10}, false, 0},
        {{64, 64, 0, 17, 10}, false, 0},
        {{64, 64, 0, 8, 61}, false, 0},
    };
    for (const Row &row : rows) {
        const BlankMapRequest &r = row.Request;
        SCOPED_TRACE(std::to_string(r.Width) + "x" + std::to_string(r.Height) + " terrain "
                     + std::to_string(r.Terrain) + " height " + std::to_string(r.GroundHeight));
        const BlankMapResult made = MakeBlankMap(r);
        ASSERT_EQ(made.Document.has_value(), row.Ok) << made.Error;
        EXPECT_EQ(made.Error.empty(), row.Ok);
        if (!row.Ok)
            continue;
        const MapDocument &doc = *made.Document;
        EXPECT_EQ(doc.Header.WorldType, r.WorldType);
        EXPECT_EQ(doc.Header.PlayerCount, 0);
        for (const auto &slots : {doc.Header.HeadquartersX, doc.Header.HeadquartersY})
            EXPECT_TRUE(std::ranges::all_of(slots, [](int16_t v) { return v == -1; }));
        EXPECT_EQ(doc.Layer(1)[100], r.GroundHeight);
        EXPECT_EQ(doc.Layer(3)[100], r.Terrain);
        EXPECT_EQ(doc.Layer(12)[0], row.Resource);
        EXPECT_EQ(doc.Layer(11)[0], 1); // as the generator writes it
        EXPECT_EQ(doc.Header.Areas[0].Size, r.Width * r.Height);
        const CheckReport report = CheckMap(doc);
        EXPECT_TRUE(report.Findings.empty()) << Summary(report) << ": " << report.Findings[0].Text;
        MapDocument again;
        EXPECT_TRUE(ReadMapBytes(WriteMapBytes(doc), MapLayout::Full, again).Ok());
        EXPECT_EQ(again, doc);
    }
}

} // namespace
} // namespace trelvik::edit
