// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"

#include <optional>
#include <string>

namespace trelvik::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitMapError = 1;
inline constexpr int kExitUsage = 2;

/// Prints "trelvik-cli: message" to stderr, malformed UTF-8 and control characters escaped
/// (see Shown), and returns kExitMapError.
int Fail(const std::string &message);

/// A file name as the program shows it, in text and in JSON: the bytes of malformed UTF-8 and
/// control characters as "\\xHH" (names on POSIX systems are bytes, not text).
std::string Shown(const std::string &name);

/// Reads a map file; on failure prints the reason and returns nothing.
std::optional<MapDocument> LoadMapOrReport(const std::string &path);

/// Writes a map file; on failure prints the reason and returns false.
bool SaveMapOrReport(const std::string &path, const MapDocument &document);

} // namespace trelvik::cli
