#pragma once
// Decimal digits of a double, shared by the number formatters.
//
// All number formatting works on the shortest decimal text that reads back as
// the same double, so 1.005 is treated as the decimal 1.005 (and rounds to
// 1.01), not as its binary neighbour 1.00499999999999989...
#include "platform/Format.h"

#include <string>

namespace decimal_text {

struct Decimal {
  bool negative = false;
  std::string digits; // significant digits without leading or trailing zeros; empty for zero
  int exp = 0;        // value = 0.<digits> * 10^exp
  bool IsZero() const { return digits.empty(); }
};

// The digits of |v| with its sign; zero, NaN and infinities give zero.
Decimal ToDecimal(double v);
// Keeps the first `keep` significant digits, rounding the decimal half away
// from zero; never leaves a negative zero.
void RoundToDigits(Decimal &d, int keep);
void RoundToDecimals(Decimal &d, int decimals);
// Digit at a position counted from the first significant one ('0' outside).
char DigitAt(const Decimal &d, int index);
// Digits left of the decimal point; empty when the value is below one.
std::string IntegerDigits(const Decimal &d);
// `count` digits right of the decimal point.
std::string FractionDigits(const Decimal &d, int count);
// "NAN", "INF" or "-INF".
std::string NonFinite(double v);
// Sign (when negative or alwaysSign) and at least minDigits digits.
std::string ExponentText(int exponent, bool alwaysSign, int minDigits);

// Scientific notation with `precision` significant digits, e.g. 1.50000E+000.
std::string ExponentNotation(double value, int precision, int expDigits);
// Shortest of fixed and scientific with `precision` significant digits, trailing
// zeros removed: 0.0001 stays fixed, 0.00001 is 1E-5, 1E15 past 15 digits.
std::string GeneralNotation(double value, int precision, int expDigits);
// Fixed, grouped (ffNumber) or money (ffCurrency) notation with `decimals`
// decimals; `precision` limits the significant digits, and with
// fallBackToGeneral values with more integer digits than that turn to general
// notation, as the class library does.
std::string FixedNotation(double value, TFloatFormat format, int precision, int decimals,
                          bool fallBackToGeneral);

} // namespace decimal_text
