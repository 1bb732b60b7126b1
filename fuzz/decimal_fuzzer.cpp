// The decimal numbers of palette files: accepted exactly when they match [+-]?digits(.digits)?,
// and rounded half to even, compared with the C library's rounding where a double holds the
// value closely enough to decide.

#include "fuzz_check.h"
#include "viewer/decimal_number.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

struct Shape
{
    bool Matches = false;
    std::size_t WholeDigits = 0;
    std::size_t FractionDigits = 0;
};

// A small automaton for the pattern, written apart from the parser.
Shape ShapeOf(std::string_view text)
{
    Shape shape;
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        ++pos;
    while (pos < text.size() && IsDigit(text[pos])) {
        ++pos;
        ++shape.WholeDigits;
    }
    if (shape.WholeDigits == 0)
        return shape;
    if (pos == text.size()) {
        shape.Matches = true;
        return shape;
    }
    if (text[pos] != '.')
        return shape;
    ++pos;
    while (pos < text.size() && IsDigit(text[pos])) {
        ++pos;
        ++shape.FractionDigits;
    }
    shape.Matches = shape.FractionDigits > 0 && pos == text.size();
    return shape;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    using namespace trelvik;
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const std::optional<DecimalNumber> number = ParseDecimal(text);
    const Shape shape = ShapeOf(text);
    TRELVIK_FUZZ_CHECK(number.has_value() == shape.Matches);
    if (!number)
        return 0;
    TRELVIK_FUZZ_CHECK(number->Whole <= kDecimalWholeLimit);

    // Up to nine whole and six fraction digits a double is within far less than 10^-6 of the
    // value, so it is never on the wrong side of a half, and halves themselves are exact.
    if (shape.WholeDigits > 9 || shape.FractionDigits > 6)
        return 0;
    const std::string copy(text);
    const double value = std::strtod(copy.c_str(), nullptr);
    TRELVIK_FUZZ_CHECK(RoundHalfEven(*number) == static_cast<int64_t>(std::nearbyint(value)));
    TRELVIK_FUZZ_CHECK(RoundHalfEven(MinusOne(*number))
                       == static_cast<int64_t>(std::nearbyint(value - 1.0)));
    return 0;
}
