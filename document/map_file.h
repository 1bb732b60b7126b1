// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "map_document.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace trelvik {

inline constexpr std::size_t kMapHeaderSize = 2352;
inline constexpr std::size_t kDatHeaderSize = 10;
inline constexpr std::size_t kBlockHeaderSize = 16;
inline constexpr std::size_t kAnimalEntrySize = 5;

/// The two on-disk layouts: the full one (.swd, .wld and anything else) and the short `.dat`
/// header, which holds only the header's last ten bytes.
enum class MapLayout {
    Full,
    Dat,
};

/// True for a header that holds the map files' signature, as every map read or made does.
bool HasMapSignature(const MapHeader &header);

/// The layout a file name selects: `.dat` when its last four characters are ".dat" in any case.
MapLayout LayoutForFileName(const std::string &fileName);

/// The layout of a file from its name and its first bytes: a `.dat` name selects the short
/// layout unless the file begins with the full layout's signature, as a map saved under a
/// `.dat` name does.
MapLayout DetectLayout(const std::string &fileName, std::span<const uint8_t> firstBytes);

enum class ReadOutcome {
    Read,
    NotAMapFile,
    InvalidMapSize,
    Damaged,
    CannotOpen,
};

struct ReadResult
{
    ReadOutcome Outcome = ReadOutcome::Read;
    /// Empty when read; otherwise the text to show the user.
    std::string Message;
    /// Number of animals read from the footer.
    std::size_t AnimalCount = 0;

    bool Ok() const { return Outcome == ReadOutcome::Read; }
};

struct WriteResult
{
    bool Ok = true;
    /// Empty on success; otherwise the text to show the user, naming the file and the reason.
    std::string Message;
};

/// Reads a map from bytes into `document`. The document is replaced only when the outcome is
/// Read; otherwise it is left exactly as it was. `fileName` names the source in messages.
ReadResult ReadMapBytes(std::span<const uint8_t> bytes,
                        MapLayout layout,
                        MapDocument &document,
                        const std::string &fileName = "map");

/// Reads the named file, choosing the layout with DetectLayout. Same guarantee as ReadMapBytes.
/// File names here are UTF-8, as the messages that name them are.
ReadResult ReadMapFile(const std::string &fileName, MapDocument &document);

/// The full-layout bytes of the document, final 0xFF byte included.
std::vector<uint8_t> WriteMapBytes(const MapDocument &document);

/// Writes the bytes to the file (name in UTF-8) atomically: they go to a new file beside it,
/// which then takes its place, so a failure leaves any existing file as it was and no new file
/// behind. The bytes reach the disk before the new file takes the old one's place and the move
/// reaches it before this returns, so a power cut leaves the old file or the new one. Should
/// only that last step fail, the new file is in place and the reason says so. Devices and pipes
/// are written in place. Returns nothing, or why it failed.
std::optional<std::string> WriteFileSafely(const std::string &fileName,
                                           const std::vector<uint8_t> &bytes);

/// Writes the document in the full layout, atomically: the bytes go to a new file beside the
/// target, which then takes its place, so a failure leaves any existing file as it was and no
/// new file behind.
WriteResult WriteMapFile(const std::string &fileName, const MapDocument &document);

/// "Footer size: 1 byte" for no animals, otherwise "Footer size: 5n+1 bytes".
std::string FooterSizeLine(std::size_t animalCount);

} // namespace trelvik
