// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace trelvik {

/// How the digits after the decimal point compare with one half. That is all rounding half to
/// even needs, so a fraction of any length is read exactly without holding its digits.
enum class FractionKind {
    Zero,
    BelowHalf,
    Half,
    AboveHalf,
};

/// A decimal number `[+-]?digits(.digits)?` as palette files write it. The whole part
/// saturates at kDecimalWholeLimit, far beyond any count or colour a palette can use.
struct DecimalNumber
{
    bool Negative = false;
    uint64_t Whole = 0;
    FractionKind Fraction = FractionKind::Zero;

    bool operator==(const DecimalNumber &) const = default;
};

inline constexpr uint64_t kDecimalWholeLimit = 1'000'000'000'000'000ull;

/// Parses exactly `[+-]?digits(.digits)?`: no blanks, no exponent, no empty parts. Anything
/// else is not a number.
std::optional<DecimalNumber> ParseDecimal(std::string_view text);

/// The nearest whole number, halves going to the even neighbour.
int64_t RoundHalfEven(const DecimalNumber &number);

/// The exact value number - 1.
DecimalNumber MinusOne(const DecimalNumber &number);

/// numerator / denominator rounded half to even; denominator must be positive.
int64_t DivideRoundHalfEven(int64_t numerator, int64_t denominator);

} // namespace trelvik
