#pragma once
#include <string>

// Price texts: decimal ("1234.5") or whole number and fraction ("12 1/4").

// Parses a price: decimals, a fraction, or a whole number and a fraction.
// Thousands separators "," are dropped; characters other than digits, ".",
// "/", "+", "!" and a leading "-" count as blanks; "+" and "!" inside the text
// separate the whole number from the fraction. An empty or unparsable text
// (also a zero denominator) gives 0.
double StrToPrice(const std::string &text);
// Cleans the text as StrToPrice does; true when it does NOT form a valid price
// (an empty text included), false when it does.
bool ParseFractionPrice(const std::string &text);
// The same parse with a result: false (value 0) when the text is no price.
bool TryStrToPrice(const std::string &text, double &value);

// Rounded to 5 decimals below 10, 3 below 1000, 2 up to 10000, 1 above (by
// magnitude); trailing zeros and a trailing point removed; never "-0".
std::string FormatPrice(double value);

// With the fraction display on: the price rounded to 5 decimals as a whole
// number, a blank and a reduced fraction of 64ths ("114 3/4", "-0 1/2"), when
// its magnitude is at least 1/64 and it is a whole number of 64ths; a whole
// price is shown without a fraction ("114"). Otherwise FormatPrice.
std::string PriceToStr(double price, bool fractionDisplay);
// The same with the program's fraction display setting.
std::string PriceToStr(double price);

// Pads a price text with two blanks per whole-part digit short of three, so
// that whole parts line up. In decimal mode the text is first parsed and
// formatted again with FormatPrice. A blank text is returned unchanged.
std::string AlignPriceText(const std::string &text, bool fractionDisplay);
// The padding alone: two blanks per whole-part digit short of three.
std::string PadPriceText(const std::string &text);
std::string AlignPriceText(const std::string &text);
