#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace trelvik::test {

/// Lower-case hexadecimal SHA-256 of the bytes.
std::string Sha256Hex(std::span<const uint8_t> bytes);

/// The bytes of 16-bit values, little-endian, in order.
std::vector<uint8_t> LittleEndianBytes(std::span<const int16_t> values);

/// Reads a whole file; empty when it cannot be read.
std::string ReadTextFile(const std::string &path);

} // namespace trelvik::test
