// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace trelvik {

inline constexpr int kLayerCount = 14;
inline constexpr int kHeadquartersCount = 7;
inline constexpr int kAreaCount = 250;
inline constexpr std::size_t kSignatureSize = 10;
inline constexpr std::size_t kTitleSize = 20;
inline constexpr std::size_t kAuthorSize = 20;
inline constexpr std::size_t kUnknownByteCount = 8;

/// One entry of the header's area table. A `Type` of 0 marks an empty entry.
struct AreaEntry
{
    uint8_t Type = 0;
    int16_t X = 0;
    int16_t Y = 0;
    int32_t Size = 0;

    bool operator==(const AreaEntry &) const = default;
};

/// One animal of the map's footer.
struct AnimalEntry
{
    uint8_t Species = 0;
    int16_t X = 0;
    int16_t Y = 0;

    bool operator==(const AnimalEntry &) const = default;
};

/// The map header, field by field in file order. Text fields are raw code-page-437 bytes
/// (see FixedTextField).
struct MapHeader
{
    std::array<uint8_t, kSignatureSize> Signature{};
    std::array<uint8_t, kTitleSize> Title{};
    int16_t WidthCopy = 0;
    int16_t HeightCopy = 0;
    uint8_t WorldType = 0;
    uint8_t PlayerCount = 0;
    std::array<uint8_t, kAuthorSize> Author{};
    std::array<int16_t, kHeadquartersCount> HeadquartersX{};
    std::array<int16_t, kHeadquartersCount> HeadquartersY{};
    std::array<uint8_t, kUnknownByteCount> UnknownBytes{};
    std::array<AreaEntry, kAreaCount> Areas{};
    std::array<uint8_t, 2> Marker{};
    int32_t Zero = 0;
    int16_t Width = 0;
    int16_t Height = 0;

    bool operator==(const MapHeader &) const = default;
};

/// The header that precedes each layer in a map file. Only `DataLength` is used on reading;
/// the other fields are carried as read.
struct LayerBlockHeader
{
    std::array<uint8_t, 2> Marker{};
    int32_t Zero = 0;
    int16_t Width = 0;
    int16_t Height = 0;
    int16_t One = 0;
    int32_t DataLength = 0;

    bool operator==(const LayerBlockHeader &) const = default;
};

/// One byte per map point; point (x, y) is element y * Header.Width + x.
using MapLayer = std::vector<uint8_t>;

/// The one map in memory. Layers and block headers are numbered 1 to 14; use Layer(k) and
/// BlockHeader(k) to address them by that number.
struct MapDocument
{
    MapHeader Header;
    std::array<LayerBlockHeader, kLayerCount> BlockHeaders{};
    std::array<MapLayer, kLayerCount> Layers{};
    std::vector<AnimalEntry> Animals;

    MapLayer &Layer(int k) { return Layers.at(static_cast<std::size_t>(k - 1)); }
    const MapLayer &Layer(int k) const { return Layers.at(static_cast<std::size_t>(k - 1)); }
    LayerBlockHeader &BlockHeader(int k)
    {
        return BlockHeaders.at(static_cast<std::size_t>(k - 1));
    }
    const LayerBlockHeader &BlockHeader(int k) const
    {
        return BlockHeaders.at(static_cast<std::size_t>(k - 1));
    }

    bool operator==(const MapDocument &) const = default;
};

} // namespace trelvik
