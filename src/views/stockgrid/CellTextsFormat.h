#pragma once
// Number, price and time texts of the quote grid's cells. Every builder gives
// a text for any input: a value that is not finite becomes the failure text
// "--" (never "inf" or "nan").
#include "platform/DateTime.h"

#include <string>

// Display marks read by the painter.
inline constexpr const char *NoDataText = "-";  // nothing to show
inline constexpr const char *FailedText = "--"; // cannot be computed

// A price aligned in its column: PriceToStr, then AlignPriceText.
std::string PriceCellText(double price, bool fractions);
// FormatPrice.
std::string ShortPriceText(double value);
// Whole number with thousands separators ("1,250"); Format "%20.0n" trimmed.
std::string WholeNumberText(double value);
// One decimal with thousands separators ("25.0"); Format "%20.1n" trimmed.
std::string OneDecimalText(double value);
// Two decimals without separators ("4.17"); Format "%7.2f" trimmed.
std::string PercentNumberText(double value);
// A subtotal amount: Format "%12.0n" trimmed; "-" when not finite.
std::string SubtotalAmountText(double value);

// "+" in front unless the text begins with "-" or "+".
std::string SignedText(const std::string &text);
// The text without a trailing "%".
std::string WithoutPercent(const std::string &text);

// "hh:nn:ss" of time + offset (days).
std::string QuoteTimeText(TDateTime time, double offset);
// The short date of time + offset; empty when the date part of time is 0.
std::string QuoteDateText(TDateTime time, double offset);

// value * 100 / base; false (and no result) when base is 0 or the result is
// not finite.
bool Percentage(double value, double base, double &result);
