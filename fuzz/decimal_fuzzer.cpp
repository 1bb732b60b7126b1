// SPDX-License-Identifier: GPL-3.0-or-later
// The decimal numbers of palette files: accepted exactly when they match [+-]?digits(.digits)?,
// and rounded half to even, compared with the C library's rounding where a double holds the
// value closely enough to decide.

#include "fuzz_check.h"
#include "viewer/decimal_number.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <regex>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    using namespace trelvik;
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const std::optional<DecimalNumber> number = ParseDecimal(text);
    // The pattern, written apart from the parser; palette lines are at most 4096 characters,
    // and the pattern's matcher recurses once a character.
    if (size > 4096)
        return 0;
    static const std::regex pattern("[+-]?([0-9]+)(\\.([0-9]+))?");
    std::cmatch shape;
    const bool matches = std::regex_match(text.begin(), text.end(), shape, pattern);
    TRELVIK_FUZZ_CHECK(number.has_value() == matches);
    if (!number)
        return 0;
    TRELVIK_FUZZ_CHECK(number->Whole <= kDecimalWholeLimit);

    // Up to nine whole and six fraction digits a double is within far less than 10^-6 of the
    // value, so it is never on the wrong side of a half, and halves themselves are exact.
    if (shape.length(1) > 9 || shape.length(3) > 6)
        return 0;
    const std::string copy(text);
    const double value = std::strtod(copy.c_str(), nullptr);
    TRELVIK_FUZZ_CHECK(RoundHalfEven(*number) == static_cast<int64_t>(std::nearbyint(value)));
    TRELVIK_FUZZ_CHECK(RoundHalfEven(MinusOne(*number))
                       == static_cast<int64_t>(std::nearbyint(value - 1.0)));
    return 0;
}
