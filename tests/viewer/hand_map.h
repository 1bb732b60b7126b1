#pragma once

#include "document/fixed_text_field.h"
#include "document/map_document.h"

#include <cstdint>

namespace trelvik::test {

/// A map as the generator lays it out: full header and block headers, every layer W x H bytes
/// of one value (layer 13 shading 64, layer 9 building quality 4, terrain 8 everywhere).
inline MapDocument MakeFlatMap(int16_t width, int16_t height, uint8_t worldType = 0)
{
    MapDocument doc;
    FixedTextField::Store(doc.Header.Signature, "WORLD_V1.0");
    FixedTextField::Store(doc.Header.Title, "Hand Map");
    doc.Header.WidthCopy = width;
    doc.Header.HeightCopy = height;
    doc.Header.Width = width;
    doc.Header.Height = height;
    doc.Header.WorldType = worldType;
    doc.Header.PlayerCount = 1;
    doc.Header.Marker = {0x11, 0x27};
    const int32_t size = int32_t{width} * int32_t{height};
    for (int k = 1; k <= kLayerCount; ++k) {
        doc.BlockHeader(k) = LayerBlockHeader{{0x10, 0x27}, 0, width, height, 1, size};
        uint8_t value = 0;
        switch (k) {
        case 1:
            value = 12;
            break;
        case 2:
        case 3:
            value = 8;
            break;
        case 9:
            value = 4;
            break;
        case 13:
            value = 64;
            break;
        default:
            break;
        }
        doc.Layer(k).assign(static_cast<std::size_t>(size), value);
    }
    return doc;
}

inline std::size_t PointIndex(const MapDocument &doc, int x, int y)
{
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(doc.Header.Width)
           + static_cast<std::size_t>(x);
}

} // namespace trelvik::test
