// SPDX-License-Identifier: GPL-3.0-or-later
#include "write_layers.h"

#include "terrain_codes.h"

#include <algorithm>
#include <cstddef>

namespace trelvik {

namespace {

void SmoothHeights(MapLayer &heights, int32_t width, int32_t height, RandomSource &random)
{
    uint8_t *h = heights.data();
    for (int32_t y = 1; y < height - 1; ++y) {
        for (int32_t x = 1; x < width - 1; ++x) {
            const int32_t i = y * width + x;
            if (h[i] <= kWaterHeight)
                continue;
            const int32_t sum = h[i - width] + h[i + width] + h[i - 1] + h[i + 1] + 2 * h[i];
            h[i] = static_cast<uint8_t>(random.RandomBelow(2) + (sum - 60) / 6 + 10);
        }
    }
}

} // namespace

void WriteLayers(const TriangleGrid &grid, MapDocument &document, RandomSource &random)
{
    const int32_t width = grid.W;
    const int32_t height = grid.H;
    // Every point of every layer is written, whatever size the layers had before.
    const auto points = static_cast<std::size_t>(width * height);
    for (MapLayer &layer : document.Layers)
        layer.assign(points, 0);
    MapLayer &heights = document.Layer(1);
    MapLayer &lower = document.Layer(2);
    MapLayer &upper = document.Layer(3);
    MapLayer &quality = document.Layer(9);
    const uint8_t *land = grid.Land.data();
    const uint8_t *terrain = grid.Terrain.data();

    // Mountain heights climb from the point before; point 0 has none and starts from water.
    int32_t previous = kWaterHeight;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const auto i = static_cast<std::size_t>(y * width + x);
            const int32_t g = SampleCell(x, y, width, height);
            int32_t value = kWaterHeight;
            if (land[g] == 1) {
                value = IsMountainCode(terrain[g])
                            ? random.RandomBelow(6) + 12 + (previous - 10) / 2
                            : random.RandomBelow(4) + 11;
            }
            heights[i] = static_cast<uint8_t>(value);
            previous = value;
            lower[i] = terrain[g];
            upper[i] = terrain[g + 1];
            quality[i] = land[g] == 1 ? kCastleQuality : 0;
        }
    }
    SmoothHeights(heights, width, height, random);

    std::fill(document.Layer(10).begin(), document.Layer(10).end(), uint8_t{7});
    std::fill(document.Layer(13).begin(), document.Layer(13).end(), uint8_t{64});
    document.Layer(11)[0] = 1;
}

} // namespace trelvik
