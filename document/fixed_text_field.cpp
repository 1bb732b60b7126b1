// SPDX-License-Identifier: GPL-3.0-or-later
#include "fixed_text_field.h"

#include "code_page.h"

#include <algorithm>

namespace trelvik {

void FixedTextField::Store(std::span<uint8_t> field, std::string_view text)
{
    const std::vector<uint8_t> bytes = Utf8ToCp437(text);
    const std::size_t copied = std::min(bytes.size(), field.size());
    std::copy_n(bytes.begin(), copied, field.begin());
    std::fill(field.begin() + static_cast<std::ptrdiff_t>(copied), field.end(), uint8_t{0});
}

std::string FixedTextField::Read(std::span<const uint8_t> field)
{
    return Cp437ToUtf8(field);
}

std::string FixedTextField::Display(std::span<const uint8_t> field)
{
    std::string text = Cp437ToUtf8(field);
    std::replace(text.begin(), text.end(), '\0', ' ');
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

} // namespace trelvik
