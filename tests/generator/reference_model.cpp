#include "reference_model.h"

#include <cmath>
#include <cstddef>

namespace trelvik::test {

namespace {

std::size_t At(int32_t g)
{
    return static_cast<std::size_t>(g);
}

bool IsMountain(uint8_t code)
{
    return code == 1 || code == 11 || code == 12 || code == 13;
}

} // namespace

bool ReferenceAcceptsFourDecimals(int32_t weight, float value)
{
    const double scaled = static_cast<double>(weight) * static_cast<double>(value) * 10000.0;
    return std::nearbyint(scaled) > 14000.0;
}

bool ReferenceAcceptsQuick(int32_t score, float value)
{
    return std::floor(static_cast<double>(score) * static_cast<double>(value)) != 0.0;
}

int32_t
ReferenceSweepLand(TriangleGrid &grid, LandSweep sweep, bool quickMode, RandomSource &random)
{
    const bool down = sweep == LandSweep::DownRight || sweep == LandSweep::DownLeft;
    const bool right = sweep == LandSweep::DownRight || sweep == LandSweep::UpRight;
    const int32_t gw = grid.GW;
    int32_t grown = 0;
    for (int32_t i = 0; i < grid.H; ++i) {
        const int32_t r = down ? i : grid.H - 1 - i;
        for (int32_t j = 0; j < gw; ++j) {
            const int32_t c = right ? j : gw - 1 - j;
            const int32_t g = r * gw + c;
            if (grid.Land[At(g)] != 0)
                continue;
            int32_t s = 1;
            if (g - gw >= 0)
                s = grid.Land[At(g - gw)] == 1 ? 2 : 0;
            if (c != 0)
                s += 3 * grid.Land[At(g - 1)];
            if (c != gw - 1)
                s += 3 * grid.Land[At(g + 1)];
            if (g + gw < grid.N)
                s = static_cast<int32_t>(std::nearbyint(s + 1.5 * grid.Land[At(g + gw)]));
            if (c < 10 || c > gw - 11 || g < 5 * gw || g > (grid.H - 5) * gw)
                s = 1;
            const float value = random.NextRandom();
            const bool accept = quickMode ? ReferenceAcceptsQuick(s, value)
                                          : ReferenceAcceptsFourDecimals(s, value);
            if (accept) {
                grid.Land[At(g)] = 1;
                ++grown;
            }
        }
    }
    return grown;
}

void ReferenceSmoothOnce(TriangleGrid &grid)
{
    const int32_t gw = grid.GW;
    for (int32_t g = 0; g < grid.N; ++g) {
        const int32_t sum = grid.Land[At(grid.wrap(g - gw))] + grid.Land[At(grid.wrap(g - 1))]
                            + grid.Land[At(grid.wrap(g + gw))] + grid.Land[At(grid.wrap(g + 1))]
                            + grid.Land[At(g)];
        if (sum < 2)
            grid.Land[At(g)] = 0;
        else if (sum > 2)
            grid.Land[At(g)] = 1;
    }
}

int32_t ReferenceMountainCycle(TriangleGrid &grid, RandomSource &random)
{
    static constexpr uint8_t kCodes[] = {1, 11, 12, 13};
    const int32_t dir = random.RandomBelow(4);
    const bool leftToRight = dir % 2 == 1;
    const bool topDown = dir == 2 || dir == 3;
    const int32_t gw = grid.GW;
    int32_t grown = 0;
    for (int32_t i = 0; i < grid.H; ++i) {
        const int32_t r = topDown ? i : grid.H - 1 - i;
        for (int32_t j = 0; j < gw; ++j) {
            const int32_t c = leftToRight ? j : gw - 1 - j;
            const int32_t g = r * gw + c;
            if (grid.Terrain[At(g)] != 8)
                continue;
            for (const uint8_t k : kCodes) {
                int32_t w = 1;
                int32_t h = 0;
                if (g - gw >= 0) {
                    w = grid.Terrain[At(g - gw)] == k ? 2 : 1;
                    h = grid.MountainLevel[At(g - gw)];
                }
                if (c != 0) {
                    w += grid.Terrain[At(g - 1)] == k ? 3 : 0;
                    h += grid.MountainLevel[At(g - 1)];
                }
                if (c != gw - 1) {
                    w += grid.Terrain[At(g + 1)] == k ? 3 : 0;
                    h += grid.MountainLevel[At(g + 1)];
                }
                if (g + gw < grid.N) {
                    const double below = grid.Terrain[At(g + gw)] == k ? 1.0 : 0.0;
                    w = static_cast<int32_t>(std::nearbyint(w + 1.5 * below));
                    h += grid.MountainLevel[At(g + gw)];
                }
                const float value = random.NextRandom();
                if (ReferenceAcceptsFourDecimals(w, value) && h < 2000) {
                    grid.MountainLevel[At(g)] = static_cast<int16_t>((h + 1) / 2);
                    grid.Terrain[At(g)] = k;
                    ++grown;
                    break;
                }
            }
        }
    }
    return grown;
}

void ReferenceScanBand(TriangleGrid &grid, uint8_t a, uint8_t b, uint8_t paint)
{
    const int32_t gw = grid.GW;
    for (int32_t r = 1; r <= grid.H - 1; ++r) {
        for (int32_t c = 1; c <= gw - 1; ++c) {
            const int32_t g = r * gw + c;
            const uint8_t self = grid.Terrain[At(g)];
            const uint8_t left = grid.Terrain[At(g - 1)];
            const uint8_t up = grid.Terrain[At(g - gw)];
            const bool match = (self == a && left == b) || (self == b && left == a)
                               || (self == a && up == b) || (self == b && up == a);
            if (!match)
                continue;
            std::vector<int32_t> block = {g - gw, g - gw + 1, g + 1, g};
            if (r % 2 == 1) {
                block.push_back(g - gw - 1);
                block.push_back(g - 1);
            } else {
                block.push_back(g - gw + 2);
                block.push_back(g + 2);
            }
            for (const int32_t k : block)
                grid.Terrain[At(grid.wrap(k))] = paint;
        }
    }
}

std::vector<uint8_t> ReferenceHeights(const TriangleGrid &grid, RandomSource &random)
{
    const int32_t width = grid.W;
    const int32_t height = grid.H;
    std::vector<uint8_t> heights(At(width * height));
    for (int32_t i = 0; i < width * height; ++i) {
        const int32_t y = i / width;
        const int32_t o = (y % 2 == 1 && y < height - 1) ? 1 : 0;
        const int32_t g = 2 * i + o;
        int32_t value = 10;
        if (grid.Land[At(g)] == 1) {
            if (IsMountain(grid.Terrain[At(g)])) {
                const int32_t p = i == 0 ? 10 : heights[At(i - 1)];
                value = random.RandomBelow(6) + 12 + (p - 10) / 2;
            } else {
                value = random.RandomBelow(4) + 11;
            }
        }
        heights[At(i)] = static_cast<uint8_t>(value);
    }
    for (int32_t y = 1; y <= height - 2; ++y) {
        for (int32_t x = 1; x <= width - 2; ++x) {
            const int32_t i = y * width + x;
            const int32_t s = heights[At(i)];
            if (s <= 10)
                continue;
            const int32_t a = heights[At(i - width)];
            const int32_t b = heights[At(i + width)];
            const int32_t l = heights[At(i - 1)];
            const int32_t r = heights[At(i + 1)];
            heights[At(i)] =
                static_cast<uint8_t>(random.RandomBelow(2) + (a + b + l + r + 2 * s - 60) / 6 + 10);
        }
    }
    return heights;
}

TriangleGrid RandomLandGrid(int32_t width, int32_t height, int32_t percent, RandomSource &random)
{
    TriangleGrid grid(width, height);
    for (uint8_t &cell : grid.Land)
        cell = random.RandomBelow(100) < percent ? 1 : 0;
    return grid;
}

} // namespace trelvik::test
