// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace trelvik {

/// Code page 437 (IBM PC), the code page of map texts: 0x00-0x7F as ASCII, 0x80-0xFF by the
/// IBM table. Texts on the program's side are UTF-8.

/// The Unicode code point of one code-page-437 byte.
char32_t Cp437ToCodePoint(uint8_t byte);

/// Converts code-page-437 bytes to UTF-8.
std::string Cp437ToUtf8(std::span<const uint8_t> bytes);

/// Converts UTF-8 to code-page-437 bytes. A character outside the code page, and each byte of
/// malformed UTF-8, becomes '?'.
std::vector<uint8_t> Utf8ToCp437(std::string_view text);

/// Text safe to print: valid UTF-8 characters as they are, and each byte of a malformed
/// sequence or of a control character (U+0000-U+001F, U+007F-U+009F) as "\xHH" (two
/// upper-case hex digits). File names are bytes on POSIX systems; this is how messages show
/// them.
std::string EscapeForDisplay(std::string_view text);

} // namespace trelvik
