#pragma once

#include "document/map_document.h"
#include "document/map_file.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace trelvik::fuzz {

/// The map targets spend their first input byte on choosing how the rest is read, so one corpus
/// covers both layouts and the messages of a full-layout file that is named like a .dat file.
enum class MapSelector : uint8_t {
    Full = 0,
    Dat = 1,
    FullNamedDat = 2,
};

inline constexpr uint8_t kMapSelectorCount = 3;

struct MapInput
{
    MapLayout Layout = MapLayout::Full;
    std::string Name;
    std::span<const uint8_t> Bytes;
};

/// Nothing for an empty input; otherwise the layout and name picked by byte 0 (modulo the
/// selector count) and the file made of the bytes after it.
std::optional<MapInput> SplitMapInput(const uint8_t *data, std::size_t size);

/// Checks what the reader promises for this input against the raw bytes: on success the header
/// fields, every layer and the animal count match a walk over the file done here; on failure
/// there is a message and `document` still equals `before`.
void CheckRead(const MapInput &input,
               const ReadResult &result,
               const MapDocument &before,
               const MapDocument &document);

/// Writes the document, reads the bytes back in the full layout and checks that the result
/// equals the document and writes the same bytes again.
void CheckRoundTrip(const MapDocument &document);

/// A small map for seeds and as the map a rejected file must leave alone: every layer holds
/// `layerLength` bytes (which may be fewer than width x height), with water stripes in layers 2
/// and 3 and castle sites in layer 9 so the castle fix has work to do.
MapDocument MakeSmallMap(
    int16_t width, int16_t height, std::size_t layerLength, std::size_t animals, uint8_t worldType);

} // namespace trelvik::fuzz
