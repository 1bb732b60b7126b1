#include "hand_map.h"
#include "test_maps.h"
#include "viewer/layer_image.h"
#include "viewer/view_refresh.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>

namespace trelvik {
namespace {

TEST(ViewRefresh, EachSelectorPosition)
{
    const MapDocument doc = test::MakeFlatMap(64, 64, 1);
    const std::string palette = (std::filesystem::path("/opt/t") / "Wasteland.pal").string();
    for (int position = -3; position <= 20; ++position) {
        const RefreshPlan plan = PlanRefresh(doc, position, "/opt/t");
        const bool layer = position >= 2 && position <= 15;
        EXPECT_EQ(plan.Layer, layer ? position - 1 : 0) << position;
        if (position == 2 || position == 13 || position == 14) {
            EXPECT_EQ(plan.Action, ColourAction::GreyRamp) << position;
            EXPECT_EQ(plan.GreyFactor, position == 2 ? 40000 : position == 13 ? 15000 : 19960);
        } else {
            EXPECT_EQ(plan.Action, ColourAction::PaletteFile) << position;
            EXPECT_EQ(plan.PalettePath, palette) << position;
        }
        const std::string expected =
            layer ? MapInfoText(doc, position - 1) : std::string("Settlers II view");
        EXPECT_EQ(plan.MapInfo, expected) << position;
    }
}

TEST(ViewRefresh, PaletteNamesFollowTheWorldType)
{
    MapDocument doc = test::MakeFlatMap(32, 32, 0);
    EXPECT_EQ(PlanRefresh(doc, 1, "").PalettePath, "Greenland.pal");
    doc.Header.WorldType = 2;
    EXPECT_EQ(PlanRefresh(doc, 3, "").PalettePath, "Winter.pal");
    doc.Header.WorldType = 7;
    EXPECT_EQ(PlanRefresh(doc, 15, "").PalettePath, "Unknown (7).pal");
}

TEST(ViewRefresh, InfoLineOfAGeneratorStyleBlockHeader)
{
    const MapDocument doc = test::MakeFlatMap(64, 64);
    EXPECT_EQ(MapInfoText(doc, 1), "Map data 1\r\nHeader: 10 27 | 0 | 64 x 64 | 1 | 4096 bytes");
    EXPECT_EQ(PlanRefresh(doc, 2, "").MapInfo, MapInfoText(doc, 1));
}

TEST(ViewRefresh, InfoLineShowsHexWithoutLeadingZerosAndSignedNumbers)
{
    MapDocument doc = test::MakeFlatMap(32, 32);
    doc.BlockHeader(14) = LayerBlockHeader{{0x0A, 0x00}, -1, -5, 300, 0, -7};
    EXPECT_EQ(MapInfoText(doc, 14), "Map data 14\r\nHeader: A 0 | -1 | -5 x 300 | 0 | -7 bytes");
    doc.BlockHeader(7).Marker = {0xFF, 0xE0};
    EXPECT_EQ(MapInfoText(doc, 7).substr(0, 25), "Map data 7\r\nHeader: FF E0");
    EXPECT_EQ(MapInfoText(doc, 0), "Settlers II view");
    EXPECT_EQ(MapInfoText(doc, 15), "Settlers II view");
}

TEST(ViewRefresh, PlannedBytesAreTheLayerOrTheComposedView)
{
    MapDocument doc = test::MakeFlatMap(4, 4);
    const ComposedView composed = BuildComposedView(doc);
    for (int position = 1; position <= 15; ++position) {
        const RefreshPlan plan = PlanRefresh(doc, position, "");
        const std::span<const uint8_t> bytes = PlannedBytes(plan, doc, composed);
        const uint8_t *expected = position == 1 ? composed.data() : doc.Layer(position - 1).data();
        EXPECT_EQ(bytes.data(), expected) << position;
    }
}

TEST(ViewRefresh, ColourTableCarriesOverBetweenRefreshes)
{
    test::TempDir folder;
    const std::string dir = folder.Path().string();
    MapDocument doc = test::MakeFlatMap(8, 8, 1); // Wasteland: no palette in the folder yet
    ColourTable table;

    // Position 3 with no palette: the all-black table stays.
    EXPECT_EQ(ApplyColourAction(PlanRefresh(doc, 3, dir), table).Outcome,
              PaletteOutcome::CannotOpen);
    EXPECT_EQ(table, ColourTable{});

    // Position 2: the factor-4 ramp; heights 63 and 64 show as 252 and black.
    ApplyColourAction(PlanRefresh(doc, 2, dir), table);
    EXPECT_EQ(table.Entries[63].Red, 252);
    EXPECT_EQ(table.Entries[64].Red, 0);

    // Back to 3, still no palette: the ramp stays in force.
    const ColourTable ramp = table;
    ApplyColourAction(PlanRefresh(doc, 3, dir), table);
    EXPECT_EQ(table, ramp);

    // With a palette of two colours only entries 0 and 1 change.
    std::ofstream(folder.File("Wasteland.pal"), std::ios::binary)
        << "JASC-PAL\r\n0100\r\n2\r\n1 2 3\r\n4 5 6\r\n";
    EXPECT_TRUE(ApplyColourAction(PlanRefresh(doc, 3, dir), table).Ok());
    EXPECT_EQ(table.Entries[1], (ColourEntry{6, 5, 4, 0}));
    EXPECT_EQ(table.Entries[63], ramp.Entries[63]);

    // Position 14: layer 13's flat shading of 64 shows as grey 128.
    const RefreshPlan shading = PlanRefresh(doc, 14, dir);
    ApplyColourAction(shading, table);
    const PictureResult picture =
        RenderLayerImage(PlannedBytes(shading, doc, ComposedView{}), 8, 8);
    const std::vector<uint8_t> rgb = ToRgb(picture.Image, table);
    EXPECT_TRUE(std::all_of(rgb.begin(), rgb.end(), [](uint8_t v) { return v == 128; }));
}

} // namespace
} // namespace trelvik
