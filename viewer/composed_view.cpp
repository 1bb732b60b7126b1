// SPDX-License-Identifier: GPL-3.0-or-later
#include "composed_view.h"

#include <algorithm>

namespace trelvik {
namespace {

enum WorldTypes : uint8_t {
    kGreenland = 0,
    kWasteland = 1,
    kWinter = 2,
};

constexpr uint8_t kTerrainMask = 63;

// Shading 0 steps like shading 1: (s - 1) / n truncates toward zero.
int Step(uint8_t shading, int n)
{
    return (static_cast<int>(shading) - 1) / n;
}

uint8_t WinterRampAt(int step)
{
    const auto last = kWinterRamp.size() - 1;
    const auto index = static_cast<std::size_t>(step);
    return kWinterRamp[index < last ? index : last];
}

int WastelandIndex(uint8_t t, uint8_t s)
{
    switch (t) {
    case 0:
        return 160 + Step(s, 16);
    case 1:
        return 164 + Step(s, 16);
    case 4:
    case 7:
    case 14:
        return 164 + Step(s, 12);
    case 3:
        return 40 + Step(s, 43);
    case 5:
    case 6:
    case 19:
        return 61;
    case 8:
    case 9:
    case 10:
    case 15:
        return 161 + Step(s, 12);
    case 11:
    case 12:
    case 13:
        return 25 + Step(s, 24);
    case 16:
        return 57;
    case 18:
        return 8;
    default: // 2, 17, 20 to 63
        return 254;
    }
}

int WinterIndex(uint8_t t, uint8_t s)
{
    switch (t) {
    case 0:
    case 14:
        return 120 + Step(s, 14);
    case 1:
    case 11:
    case 12:
    case 13:
        return 112 + Step(s, 12);
    case 2:
        return 60 + Step(s, 32);
    case 3:
        return 160 + Step(s, 16);
    case 4:
    case 7:
        return 62;
    case 5:
    case 6:
    case 19:
        return 61;
    case 8:
        return 168 + Step(s, 16);
    case 9:
    case 10:
    case 15:
        return WinterRampAt(Step(s, 16));
    case 16:
        return 57;
    case 18:
        return 8 + Step(s, 16);
    default: // 17, 20 to 63
        return 254;
    }
}

int GreenlandIndex(uint8_t t, uint8_t s)
{
    switch (t) {
    case 0:
        return 229 + Step(s, 14);
    case 1:
    case 11:
    case 12:
        return 210 + Step(s, 12);
    case 2:
        return 120 + Step(s, 16);
    case 3:
        return 224 + Step(s, 16);
    case 4:
    case 7:
        return 194 + Step(s, 12);
    case 5:
    case 6:
    case 19:
        return 61;
    case 8:
    case 9:
    case 10:
    case 15:
        return 225 + Step(s, 10);
    case 13:
        return 208 + Step(s, 10);
    case 14:
        return 42 + Step(s, 24);
    case 16:
        return 57;
    case 18:
        return 8 + Step(s, 16);
    default: // 17, 20 to 63
        return 254;
    }
}

} // namespace

uint8_t ComposedIndex(uint8_t worldType, uint8_t terrainByte, uint8_t shading)
{
    const auto t = static_cast<uint8_t>(terrainByte & kTerrainMask);
    int index = 0;
    switch (worldType) {
    case kWasteland:
        index = WastelandIndex(t, shading);
        break;
    case kWinter:
        index = WinterIndex(t, shading);
        break;
    default:
        index = GreenlandIndex(t, shading);
        break;
    }
    // Every sum stays within 0..255 for shading 0..255 (the largest is 250).
    return static_cast<uint8_t>(index);
}

namespace {

// The picture of one triangle layer (3: right of the point, 2: below it).
ComposedView BuildTriangles(const MapDocument &document, int layer)
{
    const MapLayer &terrain = document.Layer(layer);
    const MapLayer &shading = document.Layer(13);
    const uint8_t worldType = document.Header.WorldType;
    ComposedView view(document.Layer(1).size(), 0);
    const std::size_t known = std::min({view.size(), terrain.size(), shading.size()});
    for (std::size_t i = 0; i < known; ++i)
        view[i] = ComposedIndex(worldType, terrain[i], shading[i]);
    return view;
}

uint8_t IndexAt(const MapDocument &document, int layer, std::size_t i)
{
    const MapLayer &terrain = document.Layer(layer);
    const MapLayer &shading = document.Layer(13);
    if (i >= terrain.size() || i >= shading.size())
        return 0;
    return ComposedIndex(document.Header.WorldType, terrain[i], shading[i]);
}

} // namespace

ComposedView BuildComposedView(const MapDocument &document)
{
    return BuildTriangles(document, 3);
}

ComposedView BuildLowerTriangles(const MapDocument &document)
{
    return BuildTriangles(document, 2);
}

void UpdateComposedPoints(const MapDocument &document,
                          ComposedView &upper,
                          ComposedView &lower,
                          std::span<const std::size_t> points)
{
    const std::size_t size = document.Layer(1).size();
    if (upper.size() != size || lower.size() != size) {
        upper = BuildComposedView(document);
        lower = BuildLowerTriangles(document);
        return;
    }
    for (const std::size_t i : points) {
        if (i >= size)
            continue;
        upper[i] = IndexAt(document, 3, i);
        lower[i] = IndexAt(document, 2, i);
    }
}

} // namespace trelvik
