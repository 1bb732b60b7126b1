#include "generator/generate_map.h"
#include "viewer/composed_view.h"
#include "viewer/layer_image.h"
#include "viewer/palette_file.h"

#include <array>
#include <cstdlib>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace trelvik {
namespace {

constexpr std::array<const char *, 3> kPaletteNames = {"Greenland.pal", "Wasteland.pal",
                                                       "Winter.pal"};

// The composed indices of the terrain codes a generated map holds (0, 1, 4, 5, 7 to 15, 18),
// at its flat shading of 64, worked out from the terrain table by hand.
const std::array<std::set<int>, 3> kGeneratedIndices = {{
    {233, 215, 199, 61, 231, 214, 44, 11},
    {163, 169, 61, 166, 27, 8},
    {124, 117, 62, 61, 171, 102, 11},
}};

// Water, shore, meadow and mountain at shading 64, per world.
struct Roles
{
    int Water, Shore, Meadow, Mountain;
};
constexpr std::array<Roles, 3> kRoles = {
    {{61, 199, 231, 215}, {61, 169, 166, 27}, {61, 62, 171, 117}}};

constexpr std::array<uint8_t, 14> kGeneratedCodes = {0,  1,  4,  5,  7,  8,  9,
                                                     10, 11, 12, 13, 14, 15, 18};

ColourTable ShippedPalette(std::size_t world)
{
    ColourTable table;
    const auto result =
        LoadPaletteFile(std::string(TRELVIK_PALETTE_DIR) + "/" + kPaletteNames[world], table);
    EXPECT_TRUE(result.Ok()) << kPaletteNames[world];
    return table;
}

int Luminance(const ColourEntry &c)
{
    return 299 * c.Red + 587 * c.Green + 114 * c.Blue;
}

int Distance(const ColourEntry &a, const ColourEntry &b)
{
    return std::abs(a.Red - b.Red) + std::abs(a.Green - b.Green) + std::abs(a.Blue - b.Blue);
}

bool BlueDominant(const ColourEntry &c)
{
    return c.Blue - std::max(c.Red, c.Green) >= 40;
}

TEST(GeneratedView, ComposedIndicesOfGeneratedMapsInEveryWorld)
{
    for (uint64_t seed = 1; seed <= 6; ++seed) {
        RandomSource random;
        random.Seed(seed * 104729);
        MapDocument doc;
        ASSERT_TRUE(
            GenerateMap(doc, 64 + 16 * static_cast<int32_t>(seed % 3), 80, seed % 2 == 0, random)
                .has_value());
        for (uint8_t world = 0; world < 3; ++world) {
            doc.Header.WorldType = world;
            const ComposedView view = BuildComposedView(doc);
            ASSERT_EQ(view.size(), doc.Layer(1).size());
            std::set<int> seen(view.begin(), view.end());
            for (const int index : seen) {
                EXPECT_TRUE(kGeneratedIndices[world].count(index))
                    << "world " << int{world} << " index " << index;
            }
            EXPECT_TRUE(seen.count(61)) << "no water in world " << int{world};
            const PictureResult picture =
                RenderLayerImage(view, doc.Header.Width, doc.Header.Height);
            ASSERT_TRUE(picture.Ok());
            EXPECT_EQ(picture.Image.Pixels, view);
        }
    }
}

TEST(GeneratedView, ShippedPalettesTellWaterCoastLandAndMountainsApart)
{
    for (std::size_t world = 0; world < 3; ++world) {
        const ColourTable table = ShippedPalette(world);
        const Roles roles = kRoles[world];
        EXPECT_TRUE(BlueDominant(table.Entries[61])) << kPaletteNames[world];
        for (const int index : kGeneratedIndices[world]) {
            if (index != roles.Water) {
                EXPECT_FALSE(BlueDominant(table.Entries[static_cast<std::size_t>(index)]))
                    << kPaletteNames[world] << " index " << index;
            }
        }
        const std::array<int, 4> indices = {roles.Water, roles.Shore, roles.Meadow, roles.Mountain};
        for (std::size_t a = 0; a < indices.size(); ++a) {
            for (std::size_t b = a + 1; b < indices.size(); ++b) {
                EXPECT_GE(Distance(table.Entries[static_cast<std::size_t>(indices[a])],
                                   table.Entries[static_cast<std::size_t>(indices[b])]),
                          60)
                    << kPaletteNames[world] << ": " << indices[a] << " vs " << indices[b];
            }
        }
    }
}

TEST(GeneratedView, ShadingReadsAsReliefDarkToLight)
{
    // For every terrain a generated map holds, brighter shading never gives a darker colour,
    // and the ramp spans a visible range between shading 1 and 128.
    for (std::size_t world = 0; world < 3; ++world) {
        const ColourTable table = ShippedPalette(world);
        for (const uint8_t code : kGeneratedCodes) {
            const auto w = static_cast<uint8_t>(world);
            int previous = -1;
            for (int s = 1; s <= 128; ++s) {
                const int lum =
                    Luminance(table.Entries[ComposedIndex(w, code, static_cast<uint8_t>(s))]);
                EXPECT_GE(lum, previous)
                    << kPaletteNames[world] << " code " << int{code} << " shading " << s;
                previous = lum;
            }
            const int low = Luminance(table.Entries[ComposedIndex(w, code, 1)]);
            const int high = Luminance(table.Entries[ComposedIndex(w, code, 128)]);
            const bool flat = ComposedIndex(w, code, 1) == ComposedIndex(w, code, 128);
            if (!flat) {
                EXPECT_GE(high - low, 20 * 1000) << kPaletteNames[world] << " code " << int{code};
            }
        }
    }
}

} // namespace
} // namespace trelvik
