// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace trelvik::test {

/// A document as the program builds one: all block headers filled, every layer W x H bytes of a
/// pattern that differs per layer, `animals` animals.
MapDocument MakeDocument(int16_t width, int16_t height, std::size_t animals = 0);

/// A map as the generator lays it out: every layer W x H bytes of one value (heights 12,
/// terrain 8, building quality 4, shading 64, the rest 0).
MapDocument MakeFlatMap(int16_t width, int16_t height, uint8_t worldType = 0);

std::size_t PointIndex(const MapDocument &doc, int x, int y);

/// The file a .dat map of the document would be: the full layout without its first 2342 bytes.
std::vector<uint8_t> DatBytes(const MapDocument &doc);

/// A fresh empty folder under the system's temporary folder, removed by the destructor.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::filesystem::path &Path() const { return mPath; }
    /// The UTF-8 name of `name` (UTF-8, '/' between folders) in this folder.
    std::string File(const std::string &name) const;

private:
    std::filesystem::path mPath;
};

/// The bytes of a file, or none when it cannot be read; `path` is UTF-8 here and below.
std::vector<uint8_t> ReadBytes(const std::string &path);
void WriteBytes(const std::string &path, const std::vector<uint8_t> &bytes);

/// One row of a table file under tests/data: its tab-separated fields and its line number.
struct TableRow
{
    int Line = 0;
    std::vector<std::string> Fields;
    std::string Name() const { return "line " + std::to_string(Line); }
};

/// The rows of tests/data/`name`, blank lines and lines starting with '#' left out.
std::vector<TableRow> ReadTable(const std::string &name);

/// Compares `actual` with the golden file tests/data/`name`: empty when they are equal,
/// otherwise a message naming both files (the actual bytes are kept beside the test's working
/// folder). With TRELVIK_UPDATE_GOLDEN=1 in the environment the golden file is rewritten
/// instead; do that only after a deliberate, reviewed change of the output.
std::string CompareGolden(const std::string &name, const std::vector<uint8_t> &actual);

std::vector<uint8_t> FromHex(const std::string &hex);

/// The text with the escapes \r, \n, \t and \\ of a table field replaced by what they stand for.
std::string Unescape(const std::string &field);

/// Lower-case hexadecimal SHA-256 of the bytes.
std::string Sha256Hex(std::span<const uint8_t> bytes);

} // namespace trelvik::test
