// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace trelvik {

/// The rule for the header's fixed-size text fields: texts are stored in code page 437, cut at
/// the field's size and filled with 0 bytes. Texts in the program are UTF-8.
struct FixedTextField
{
    /// Stores `text` into `field`: converted to code page 437 (characters outside it become
    /// '?'), cut at the field's size, the rest filled with 0 bytes.
    static void Store(std::span<uint8_t> field, std::string_view text);

    /// All bytes of the field converted to text, 0 bytes included as U+0000.
    static std::string Read(std::span<const uint8_t> field);

    /// The text as the information panel shows it: 0 characters become spaces, then leading
    /// and trailing spaces are removed.
    static std::string Display(std::span<const uint8_t> field);
};

} // namespace trelvik
