// SPDX-License-Identifier: GPL-3.0-or-later
#include "point_readout.h"

#include "document/code_tables.h"
#include "document/layer_codes.h"
#include "document/terrain.h"

namespace trelvik {
namespace {

constexpr uint8_t kLastAnimal = 9;

std::string LayerName(int layer, const PointReadout &readout)
{
    const auto value = [&readout](int k) {
        return readout.Values[static_cast<std::size_t>(k - 1)];
    };
    const uint8_t byte = value(layer);
    switch (layer) {
    case 2: {
        const std::string ground = TerrainName(byte & kTerrainMask);
        if ((byte & kHarbourBit) == 0)
            return ground;
        return ground.empty() ? "harbour" : "harbour, " + ground;
    }
    case 3:
        return TerrainName(byte & kTerrainMask);
    case 5:
        return ObjectName(value(6), byte);
    case 6:
        return ObjectTypeName(byte);
    case 7:
        return byte >= 1 && byte <= kLastAnimal ? AnimalName(byte) : std::string();
    case 9:
        return BuildingQualityName(byte & kQualityMask);
    default:
        return {};
    }
}

} // namespace

std::optional<PointReadout> ReadPoint(const MapDocument &document, int x, int y)
{
    const int width = document.Header.Width;
    if (x < 0 || y < 0 || x >= width || y >= document.Header.Height)
        return std::nullopt;
    const std::size_t index =
        static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
    PointReadout readout;
    readout.X = x;
    readout.Y = y;
    for (int k = 1; k <= kLayerCount; ++k) {
        const MapLayer &layer = document.Layer(k);
        readout.Values[static_cast<std::size_t>(k - 1)] = index < layer.size() ? layer[index] : 0;
    }
    for (int k = 1; k <= kLayerCount; ++k) {
        if (index < document.Layer(k).size())
            readout.Names[static_cast<std::size_t>(k - 1)] = LayerName(k, readout);
    }
    return readout;
}

std::string ReadoutText(const PointReadout &readout)
{
    std::string text = "x " + std::to_string(readout.X) + ", y " + std::to_string(readout.Y);
    for (std::size_t i = 0; i < kLayerCount; ++i) {
        text += " | " + std::to_string(i + 1) + ": " + std::to_string(readout.Values[i]);
        if (!readout.Names[i].empty())
            text += " (" + readout.Names[i] + ")";
    }
    return text;
}

} // namespace trelvik
