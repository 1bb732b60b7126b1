#include "hand_map.h"
#include "viewer/composed_view.h"

#include <gtest/gtest.h>

namespace trelvik {
namespace {

constexpr uint8_t kGreenland = 0;
constexpr uint8_t kWasteland = 1;
constexpr uint8_t kWinter = 2;

TEST(ComposedView, GreenlandSpotChecks)
{
    EXPECT_EQ(ComposedIndex(kGreenland, 8, 64), 231); // 225 + 63 / 10
    EXPECT_EQ(ComposedIndex(kGreenland, 15, 64), 231);
    EXPECT_EQ(ComposedIndex(kGreenland, 0, 64), 233); // 229 + 63 / 14
    EXPECT_EQ(ComposedIndex(kGreenland, 4, 64), 199); // 194 + 63 / 12
    EXPECT_EQ(ComposedIndex(kGreenland, 13, 1), 208);
    EXPECT_EQ(ComposedIndex(kGreenland, 12, 255), 231); // 210 + 254 / 12
    EXPECT_EQ(ComposedIndex(kGreenland, 14, 255), 52);  // 42 + 254 / 24
    EXPECT_EQ(ComposedIndex(kGreenland, 2, 200), 132);  // 120 + 199 / 16
    EXPECT_EQ(ComposedIndex(kGreenland, 3, 17), 225);   // 224 + 16 / 16
    EXPECT_EQ(ComposedIndex(kGreenland, 18, 0), 8);     // (0 - 1) / 16 truncates to 0
    EXPECT_EQ(ComposedIndex(kGreenland, 16, 100), 57);
    EXPECT_EQ(ComposedIndex(kGreenland, 17, 100), 254);
    EXPECT_EQ(ComposedIndex(kGreenland, 63, 100), 254);
    EXPECT_EQ(ComposedIndex(kGreenland, 19, 100), 61);
}

TEST(ComposedView, WastelandSpotChecks)
{
    EXPECT_EQ(ComposedIndex(kWasteland, 8, 64), 166);
    EXPECT_EQ(ComposedIndex(kWasteland, 0, 17), 161); // 160 + 16 / 16
    EXPECT_EQ(ComposedIndex(kWasteland, 7, 64), 169);
    EXPECT_EQ(ComposedIndex(kWasteland, 11, 64), 27); // 25 + 63 / 24
    EXPECT_EQ(ComposedIndex(kWasteland, 3, 129), 42); // 40 + 128 / 43
    EXPECT_EQ(ComposedIndex(kWasteland, 2, 64), 254);
    EXPECT_EQ(ComposedIndex(kWasteland, 18, 200), 8);  // no shading
    EXPECT_EQ(ComposedIndex(kWasteland, 14, 25), 166); // 164 + 24 / 12
    EXPECT_EQ(ComposedIndex(kWasteland, 6, 0), 61);
}

TEST(ComposedView, WinterSpotChecksAndRampEnd)
{
    EXPECT_EQ(ComposedIndex(kWinter, 8, 255), 183); // 168 + 254 / 16
    EXPECT_EQ(ComposedIndex(kWinter, 4, 200), 62);
    EXPECT_EQ(ComposedIndex(kWinter, 2, 64), 61); // 60 + 63 / 32
    EXPECT_EQ(ComposedIndex(kWinter, 13, 64), 117);
    EXPECT_EQ(ComposedIndex(kWinter, 14, 64), 124);
    EXPECT_EQ(ComposedIndex(kWinter, 9, 0), 99);
    EXPECT_EQ(ComposedIndex(kWinter, 10, 64), 102);  // step 3
    EXPECT_EQ(ComposedIndex(kWinter, 15, 97), 39);   // step 6
    EXPECT_EQ(ComposedIndex(kWinter, 9, 113), 253);  // step 7, the last entry
    EXPECT_EQ(ComposedIndex(kWinter, 9, 129), 253);  // step 8: past the end, last entry
    EXPECT_EQ(ComposedIndex(kWinter, 10, 255), 253); // step 15
}

TEST(ComposedView, HighBitsOfTheTerrainByteAreIgnored)
{
    for (const uint8_t world : {kGreenland, kWasteland, kWinter, uint8_t{9}}) {
        EXPECT_EQ(ComposedIndex(world, 0x45, 64), 61) << int{world};
        for (int t = 0; t < 256; ++t) {
            for (int s = 0; s < 256; s += 5) {
                const auto byte = static_cast<uint8_t>(t);
                const auto shade = static_cast<uint8_t>(s);
                EXPECT_EQ(ComposedIndex(world, byte, shade),
                          ComposedIndex(world, static_cast<uint8_t>(t & 63), shade));
            }
        }
    }
}

TEST(ComposedView, IndicesStayInsideThePaletteRuns)
{
    // Every index lands in 8..254: 0 stays free for missing points, shading 0 steps like 1,
    // and unknown world types use the Greenland column.
    for (const int world : {0, 1, 2, 3, 128, 255}) {
        for (int t = 0; t < 64; ++t) {
            const auto w = static_cast<uint8_t>(world);
            const auto code = static_cast<uint8_t>(t);
            EXPECT_EQ(ComposedIndex(w, code, 0), ComposedIndex(w, code, 1));
            if (world > 2) {
                EXPECT_EQ(ComposedIndex(w, code, 77), ComposedIndex(kGreenland, code, 77));
            }
            for (int s = 0; s < 256; ++s) {
                const uint8_t index = ComposedIndex(w, code, static_cast<uint8_t>(s));
                EXPECT_GE(index, 8);
                EXPECT_LE(index, 254);
            }
        }
    }
}

TEST(ComposedView, FollowsLayersThreeAndThirteen)
{
    MapDocument doc = test::MakeFlatMap(5, 4, kWasteland);
    doc.Layer(3)[7] = 0xC5; // water with both high bits
    doc.Layer(13)[9] = 200; // steppe, brighter
    const ComposedView view = BuildComposedView(doc);
    ASSERT_EQ(view.size(), 20u);
    EXPECT_EQ(view[0], 166);
    EXPECT_EQ(view[7], 61);
    EXPECT_EQ(view[9], 161 + 199 / 12);
}

TEST(ComposedView, ShortLayersGiveIndexZeroAndAreNotOverread)
{
    MapDocument doc = test::MakeFlatMap(10, 10, kGreenland);
    doc.Layer(3).resize(60);
    doc.Layer(13).resize(40);
    ComposedView view = BuildComposedView(doc);
    ASSERT_EQ(view.size(), 100u);
    for (std::size_t i = 0; i < view.size(); ++i)
        EXPECT_EQ(view[i], i < 40 ? 231 : 0) << i;

    // The view has layer 1's bounds, even when the other layers are longer.
    doc.Layer(1).resize(30);
    view = BuildComposedView(doc);
    EXPECT_EQ(view.size(), 30u);

    doc.Layer(1).clear();
    EXPECT_TRUE(BuildComposedView(doc).empty());
}

} // namespace
} // namespace trelvik
