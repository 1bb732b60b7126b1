#include "viewer/layer_image.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <random>
#include <vector>

namespace trelvik {
namespace {

std::vector<uint8_t> Counting(std::size_t size)
{
    std::vector<uint8_t> bytes(size);
    std::iota(bytes.begin(), bytes.end(), uint8_t{1});
    return bytes;
}

TEST(LayerImage, RowsOfAWidthThatIsNotAMultipleOfFourStayStraight)
{
    const std::vector<uint8_t> bytes = Counting(5 * 3);
    const PictureResult result = RenderLayerImage(bytes, 5, 3);
    ASSERT_TRUE(result.Ok());
    const IndexedImage &image = result.Image;
    ASSERT_EQ(image.Width, 5);
    ASSERT_EQ(image.Height, 3);
    ASSERT_EQ(image.Pixels.size(), 15u); // no row padding
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(image.At(x, y), y * 5 + x + 1) << x << ", " << y; // row 0 on top
    }
}

TEST(LayerImage, PointsPastTheEndOfTheBytesShowIndexZero)
{
    const std::vector<uint8_t> bytes = Counting(7); // a 3 x 4 picture needs 12
    const PictureResult result = RenderLayerImage(bytes, 3, 4);
    ASSERT_TRUE(result.Ok());
    const std::vector<uint8_t> expected = {1, 2, 3, 4, 5, 6, 7, 0, 0, 0, 0, 0};
    EXPECT_EQ(result.Image.Pixels, expected);
}

TEST(LayerImage, EmptyAndAbsurdSizes)
{
    const std::vector<uint8_t> bytes = Counting(16);
    for (const auto &[w, h] : {std::pair{0, 4}, {4, 0}, {-3, 4}, {4, -1}}) {
        const PictureResult result = RenderLayerImage(bytes, w, h);
        EXPECT_TRUE(result.Ok());
        EXPECT_TRUE(result.Image.Pixels.empty());
    }
    const PictureResult huge = RenderLayerImage(bytes, 32767, 32767);
    EXPECT_EQ(huge.Outcome, PictureOutcome::TooLarge);
    EXPECT_TRUE(huge.Image.Pixels.empty());
    EXPECT_TRUE(RenderLayerImage(bytes, 4096, 4096).Ok());
    EXPECT_FALSE(RenderLayerImage(bytes, 4097, 4096).Ok());
}

TEST(LayerImage, CentringOffsets)
{
    EXPECT_EQ(CentreInView(64, 64, 256, 256), (ViewOffset{96, 96}));
    EXPECT_EQ(CentreInView(256, 256, 256, 256), (ViewOffset{0, 0}));
    EXPECT_EQ(CentreInView(255, 80, 260, 260), (ViewOffset{2, 90}));
    // Larger than the view: truncation toward zero cuts the odd column on the right.
    EXPECT_EQ(CentreInView(259, 258, 256, 256), (ViewOffset{-1, -1}));
    EXPECT_EQ(CentreInView(1024, 261, 260, 260), (ViewOffset{-382, 0}));
}

TEST(LayerImage, VisiblePartOfAMapWiderThanTheView)
{
    // Width 259 inside 256: one column cut on the left, two on the right.
    const int w = 259;
    const int h = 10;
    std::vector<uint8_t> bytes(static_cast<std::size_t>(w * h));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            bytes[static_cast<std::size_t>(y * w + x)] = static_cast<uint8_t>(x == 0     ? 1
                                                                              : x >= 257 ? 2
                                                                                         : 3);
    }
    const IndexedImage part = RenderVisiblePart(bytes, w, h, 256, 256);
    EXPECT_EQ(part.Width, 256);
    EXPECT_EQ(part.Height, 10);
    EXPECT_EQ(part.OriginX, 1);
    EXPECT_EQ(part.OriginY, 0);
    EXPECT_TRUE(
        std::all_of(part.Pixels.begin(), part.Pixels.end(), [](uint8_t v) { return v == 3; }));
}

TEST(LayerImage, HugeClaimedSizeWithShortLayerDrawsOnlyTheView)
{
    // A damaged header claims 32767 x 32767 points; the layer holds 1,000 bytes.
    const std::vector<uint8_t> bytes = Counting(1000);
    const IndexedImage part = RenderVisiblePart(bytes, 32767, 32767, 260, 260);
    EXPECT_EQ(part.Width, 260);
    EXPECT_EQ(part.Height, 260);
    EXPECT_EQ(part.OriginX, 16253); // (32767 - 260) / 2, the offset being -16253
    EXPECT_EQ(part.OriginY, 16253);
    EXPECT_EQ(part.Pixels.size(), 260u * 260u);
    EXPECT_TRUE(
        std::all_of(part.Pixels.begin(), part.Pixels.end(), [](uint8_t v) { return v == 0; }));

    // The top-left window of the same claim shows the bytes that exist.
    const IndexedImage corner = RenderLayerWindow(bytes, 32767, 32767, 0, 0, 260, 2);
    EXPECT_EQ(corner.At(0, 0), 1);
    EXPECT_EQ(corner.At(259, 0), static_cast<uint8_t>(260));
    EXPECT_EQ(corner.At(0, 1), 0); // byte 32767 is long past the end
}

TEST(LayerImage, WindowsAgreeWithTheWholePictureOverRandomCases)
{
    std::mt19937 random(12345);
    auto pick = [&random](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(random);
    };
    for (int round = 0; round < 500; ++round) {
        const int w = pick(-2, 40);
        const int h = pick(-2, 40);
        std::vector<uint8_t> bytes(static_cast<std::size_t>(pick(0, 1700)));
        for (auto &b : bytes)
            b = static_cast<uint8_t>(pick(1, 255));
        const PictureResult whole = RenderLayerImage(bytes, w, h);
        ASSERT_TRUE(whole.Ok());
        const int x = pick(-50, 50);
        const int y = pick(-50, 50);
        const int ww = pick(-5, 60);
        const int wh = pick(-5, 60);
        const IndexedImage part = RenderLayerWindow(bytes, w, h, x, y, ww, wh);

        const int left = std::max(x, 0);
        const int top = std::max(y, 0);
        const int right = std::min(x + ww, std::max(w, 0));
        const int bottom = std::min(y + wh, std::max(h, 0));
        const bool empty = right <= left || bottom <= top;
        ASSERT_EQ(part.Width, empty ? 0 : right - left) << round;
        ASSERT_EQ(part.Height, empty ? 0 : bottom - top) << round;
        ASSERT_EQ(part.Pixels.size(),
                  static_cast<std::size_t>(part.Width) * static_cast<std::size_t>(part.Height));
        for (int py = 0; py < part.Height; ++py) {
            for (int px = 0; px < part.Width; ++px) {
                const int cx = part.OriginX + px;
                const int cy = part.OriginY + py;
                const auto source = static_cast<std::size_t>(cy * w + cx);
                const uint8_t expected = source < bytes.size() ? bytes[source] : 0;
                ASSERT_EQ(part.At(px, py), expected) << round;
                ASSERT_EQ(whole.Image.At(cx, cy), expected) << round;
            }
        }
    }
}

TEST(LayerImage, ColoursComeFromTheTableInRedGreenBlueOrder)
{
    ColourTable table;
    table.Entries[7] = {1, 2, 3, 99}; // blue, green, red, reserved
    table.Entries[9] = {10, 20, 30, 0};
    const std::vector<uint8_t> bytes = {7, 9, 0};
    const PictureResult picture = RenderLayerImage(bytes, 3, 1);
    const std::vector<uint8_t> expected = {3, 2, 1, 30, 20, 10, 0, 0, 0};
    EXPECT_EQ(ToRgb(picture.Image, table), expected);
}

} // namespace
} // namespace trelvik
