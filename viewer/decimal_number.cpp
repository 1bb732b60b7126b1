// SPDX-License-Identifier: GPL-3.0-or-later
#include "decimal_number.h"

namespace trelvik {
namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

FractionKind ClassifyFraction(std::string_view digits)
{
    const char first = digits.front();
    const bool restZero = digits.substr(1).find_first_not_of('0') == std::string_view::npos;
    if (first == '5')
        return restZero ? FractionKind::Half : FractionKind::AboveHalf;
    if (first > '5')
        return FractionKind::AboveHalf;
    if (first == '0' && restZero)
        return FractionKind::Zero;
    return FractionKind::BelowHalf;
}

// 1 - f for a fraction f strictly between 0 and 1.
FractionKind Complement(FractionKind fraction)
{
    switch (fraction) {
    case FractionKind::BelowHalf:
        return FractionKind::AboveHalf;
    case FractionKind::AboveHalf:
        return FractionKind::BelowHalf;
    default:
        return fraction;
    }
}

} // namespace

std::optional<DecimalNumber> ParseDecimal(std::string_view text)
{
    DecimalNumber number;
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        number.Negative = text[pos] == '-';
        ++pos;
    }
    const std::size_t wholeStart = pos;
    while (pos < text.size() && IsDigit(text[pos])) {
        const auto digit = static_cast<uint64_t>(text[pos] - '0');
        number.Whole = number.Whole >= kDecimalWholeLimit / 10 ? kDecimalWholeLimit
                                                               : number.Whole * 10 + digit;
        ++pos;
    }
    if (pos == wholeStart)
        return std::nullopt;
    if (pos < text.size()) {
        if (text[pos] != '.')
            return std::nullopt;
        const std::string_view fraction = text.substr(pos + 1);
        if (fraction.empty())
            return std::nullopt;
        for (const char c : fraction) {
            if (!IsDigit(c))
                return std::nullopt;
        }
        number.Fraction = ClassifyFraction(fraction);
    }
    if (number.Whole == 0 && number.Fraction == FractionKind::Zero)
        number.Negative = false;
    return number;
}

int64_t RoundHalfEven(const DecimalNumber &number)
{
    uint64_t magnitude = number.Whole;
    if (number.Fraction == FractionKind::AboveHalf
        || (number.Fraction == FractionKind::Half && magnitude % 2 == 1))
        ++magnitude;
    const auto value = static_cast<int64_t>(magnitude);
    return number.Negative ? -value : value;
}

DecimalNumber MinusOne(const DecimalNumber &number)
{
    if (number.Negative) {
        const uint64_t whole =
            number.Whole >= kDecimalWholeLimit ? kDecimalWholeLimit : number.Whole + 1;
        return {true, whole, number.Fraction};
    }
    if (number.Whole >= 1)
        return {false, number.Whole - 1, number.Fraction};
    if (number.Fraction == FractionKind::Zero)
        return {true, 1, FractionKind::Zero};
    return {true, 0, Complement(number.Fraction)};
}

int64_t DivideRoundHalfEven(int64_t numerator, int64_t denominator)
{
    int64_t quotient = numerator / denominator;
    const int64_t remainder = numerator % denominator;
    // Work on the magnitude of the remainder so the same test serves both signs.
    const int64_t twiceRest = 2 * (remainder < 0 ? -remainder : remainder);
    const int64_t step = numerator < 0 ? -1 : 1;
    if (twiceRest > denominator || (twiceRest == denominator && quotient % 2 != 0))
        quotient += step;
    return quotient;
}

} // namespace trelvik
