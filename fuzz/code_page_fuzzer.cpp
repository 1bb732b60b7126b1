// Map texts between code page 437 and UTF-8, and the header's fixed text fields. Every byte of
// the code page is one character, so bytes survive the way to text and back; text that comes
// back without a new '?' must come back exactly, which catches malformed or overlong UTF-8
// taken for a character.

#include "document/code_page.h"
#include "document/fixed_text_field.h"
#include "fuzz_check.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    using namespace trelvik;
    const std::span<const uint8_t> bytes(data, size);
    const std::string_view text(reinterpret_cast<const char *>(data), size);

    const std::string asText = Cp437ToUtf8(bytes);
    const std::vector<uint8_t> back = Utf8ToCp437(asText);
    TRELVIK_FUZZ_CHECK(std::equal(back.begin(), back.end(), bytes.begin(), bytes.end()));

    const std::vector<uint8_t> stored = Utf8ToCp437(text);
    TRELVIK_FUZZ_CHECK(stored.size() <= text.size());
    const auto questionMarks = std::count(text.begin(), text.end(), '?');
    const auto storedQuestionMarks = std::count(stored.begin(), stored.end(), '?');
    TRELVIK_FUZZ_CHECK(storedQuestionMarks >= questionMarks);
    if (storedQuestionMarks == questionMarks)
        TRELVIK_FUZZ_CHECK(Cp437ToUtf8(stored) == text);

    std::array<uint8_t, 20> field{};
    field.fill(0xEE);
    FixedTextField::Store(field, text);
    const std::size_t kept = std::min(stored.size(), field.size());
    TRELVIK_FUZZ_CHECK(std::equal(field.begin(), field.begin() + static_cast<std::ptrdiff_t>(kept),
                                  stored.begin()));
    TRELVIK_FUZZ_CHECK(std::all_of(field.begin() + static_cast<std::ptrdiff_t>(kept), field.end(),
                                   [](uint8_t b) { return b == 0; }));
    const std::vector<uint8_t> fieldAgain = Utf8ToCp437(FixedTextField::Read(field));
    TRELVIK_FUZZ_CHECK(
        std::equal(fieldAgain.begin(), fieldAgain.end(), field.begin(), field.end()));

    const std::string shown = FixedTextField::Display(field);
    TRELVIK_FUZZ_CHECK(shown.find('\0') == std::string::npos);
    TRELVIK_FUZZ_CHECK(shown.empty() || (shown.front() != ' ' && shown.back() != ' '));
    return 0;
}
