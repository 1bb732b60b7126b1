#include "generator/generate_map.h"
#include "tools/coastal_castle_fix.h"

#include <array>
#include <gtest/gtest.h>

namespace trelvik {
namespace {

struct Offset
{
    int Layer;
    int Dy;
    int DxEven; // column offset in even rows
    int DxOdd;  // in odd rows
};

// The 18 triangles around a point, written per row parity: the rows above and below an odd
// row lie one column further right.
constexpr std::array<Offset, 18> kAround = {{
    {2, -2, -1, -1},
    {2, -2, 0, 0},
    {2, -2, 1, 1},
    {3, -2, -1, -1},
    {3, -2, 0, 0},
    {2, -1, -2, -1},
    {2, -1, 1, 2},
    {3, -1, -2, -1},
    {3, -1, 0, 1},
    {2, 0, -1, -1},
    {2, 0, 1, 1},
    {3, 0, -2, -2},
    {3, 0, 1, 1},
    {2, 1, -1, 0},
    {2, 1, 0, 1},
    {3, 1, -2, -1},
    {3, 1, -1, 0},
    {3, 1, 0, 1},
}};

bool HasWaterAround(const MapDocument &doc, int x, int y)
{
    const int w = doc.Header.Width;
    for (const Offset &o : kAround) {
        const int column = x + (y % 2 == 0 ? o.DxEven : o.DxOdd);
        const auto i = static_cast<std::size_t>((y + o.Dy) * w + column);
        if (doc.Layer(o.Layer).at(i) == 5)
            return true;
    }
    return false;
}

TEST(CoastalCastleFixOnGeneratedMaps, MarksExactlyTheCoastalLand)
{
    for (uint64_t seed = 1; seed <= 12; ++seed) {
        RandomSource random;
        random.Seed(seed * 7919);
        const NewMapRequest request = DrawNewMapRequest(random);
        const int16_t width = std::min<int16_t>(request.Width, 128);
        const int16_t height = std::min<int16_t>(request.Height, 128);
        MapDocument doc;
        ASSERT_TRUE(GenerateMap(doc, width, height, request.QuickMode, random).has_value());
        const MapDocument before = doc;
        for (const int layer : {2, 3}) {
            for (const uint8_t code : doc.Layer(layer)) {
                ASSERT_TRUE(code != 6 && code != 19 && (code & kHarbourBit) == 0) << int{code};
            }
        }

        const int32_t count = CoastalCastleFix(doc);
        int32_t marked = 0;
        int32_t coastalLand = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const auto i = static_cast<std::size_t>(y * width + x);
                const bool inside = x >= 2 && x < width - 2 && y >= 2 && y < height - 2;
                const bool land = before.Layer(9)[i] == kCastleSite;
                const bool expectMark = inside && land && HasWaterAround(before, x, y);
                const bool isMarked = (doc.Layer(2)[i] & kHarbourBit) != 0;
                ASSERT_EQ(isMarked, expectMark) << "seed " << seed << " at " << x << ", " << y;
                ASSERT_EQ(doc.Layer(2)[i] & ~kHarbourBit, before.Layer(2)[i]);
                marked += isMarked ? 1 : 0;
                coastalLand += expectMark ? 1 : 0;
            }
        }
        EXPECT_EQ(count, marked) << "seed " << seed;
        EXPECT_GT(coastalLand, 0) << "seed " << seed; // every generated map has a coast
        for (int k = 1; k <= kLayerCount; ++k) {
            if (k != 2) {
                EXPECT_EQ(doc.Layer(k), before.Layer(k)) << "layer " << k;
            }
        }
        EXPECT_EQ(CoastalCastleFix(doc), 0) << "seed " << seed;
    }
}

} // namespace
} // namespace trelvik
