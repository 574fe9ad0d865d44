#include "views/stockgrid/CellTextsFormat.h"

#include "core/PriceText.h"
#include "platform/Format.h"
#include "platform/StringUtils.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

// Below this magnitude every value is formatted here; larger ones (never a
// price) go through the general formatters.
constexpr double FastLimit = 1e15;
// Prices below this are written once: their decimal text reads back as a
// number that formats to the same text.
constexpr double FastPriceLimit = 1e9;

// |value| < FastLimit with `decimals` decimals (0 to 2), the decimal value
// rounded half away from zero, thousands grouped when asked, never "-0":
// the text Format gives with "%.<decimals>n" or "%.<decimals>f". Works on
// the shortest decimal text of the value, as Format does, so 1.005 rounds
// to 1.01.
std::string FixedText(double value, int decimals, bool grouped) {
  char shortest[400];
  const auto res =
      std::to_chars(shortest, shortest + sizeof shortest, std::fabs(value), std::chars_format::fixed);
  const char *point = std::find(shortest, res.ptr, '.');
  // The kept digits, whole and fraction, then rounded in place.
  char digits[40];
  int n = 0;
  digits[n++] = '0'; // room for a carry
  for (const char *p = shortest; p < point; ++p)
    digits[n++] = *p;
  const int wholeEnd = n;
  const char *frac = point < res.ptr ? point + 1 : res.ptr;
  for (int i = 0; i < decimals; ++i)
    digits[n++] = frac + i < res.ptr ? frac[i] : '0';
  if (frac + decimals < res.ptr && frac[decimals] >= '5') {
    int i = n - 1;
    while (digits[i] == '9')
      digits[i--] = '0';
    ++digits[i];
  }
  int first = 0;
  while (first < wholeEnd - 1 && digits[first] == '0')
    ++first;
  bool zero = true;
  for (int i = first; i < n; ++i)
    zero = zero && digits[i] == '0';

  const TFormatSettings &fs = FormatSettings();
  std::string out;
  out.reserve(32);
  if (value < 0 && !zero)
    out += '-';
  for (int i = first; i < wholeEnd; ++i) {
    out += digits[i];
    const int left = wholeEnd - 1 - i;
    if (grouped && left > 0 && left % 3 == 0)
      out += fs.ThousandSeparator;
  }
  if (decimals > 0) {
    out += fs.DecimalSeparator;
    out.append(digits + wholeEnd, std::size_t(decimals));
  }
  return out;
}

} // namespace

std::string PriceCellText(double price, bool fractions) {
  if (!std::isfinite(price))
    return FailedText;
  // In decimal mode AlignPriceText reads the text back and formats it again,
  // which gives the same text for these prices.
  if (!fractions && std::fabs(price) < FastPriceLimit)
    return PadPriceText(FormatPrice(price));
  return AlignPriceText(PriceToStr(price, fractions), fractions);
}

std::string ShortPriceText(double value) {
  if (!std::isfinite(value))
    return FailedText;
  return FormatPrice(value);
}

std::string WholeNumberText(double value) {
  if (!std::isfinite(value))
    return FailedText;
  if (std::fabs(value) < FastLimit)
    return FixedText(value, 0, true);
  return Trim(Format("%20.0n", {value}));
}

std::string OneDecimalText(double value) {
  if (!std::isfinite(value))
    return FailedText;
  if (std::fabs(value) < FastLimit)
    return FixedText(value, 1, true);
  return Trim(Format("%20.1n", {value}));
}

std::string PercentNumberText(double value) {
  if (!std::isfinite(value))
    return FailedText;
  if (std::fabs(value) < FastLimit)
    return FixedText(value, 2, false);
  return Trim(Format("%7.2f", {value}));
}

std::string SubtotalAmountText(double value) {
  if (!std::isfinite(value))
    return NoDataText;
  if (std::fabs(value) < FastLimit)
    return FixedText(value, 0, true);
  return Trim(Format("%12.0n", {value}));
}

std::string SignedText(const std::string &text) {
  if (!text.empty() && (text[0] == '-' || text[0] == '+'))
    return text;
  return "+" + text;
}

std::string WithoutPercent(const std::string &text) {
  if (!text.empty() && text.back() == '%')
    return text.substr(0, text.size() - 1);
  return text;
}

std::string QuoteTimeText(TDateTime time, double offset) {
  const double t = time + offset;
  if (!std::isfinite(t))
    return FailedText;
  // FormatDateTime("hh:nn:ss") without reading the pattern.
  int h = 0, m = 0, sec = 0, ms = 0;
  DecodeTime(t, h, m, sec, ms);
  if (h < 0 || h > 99)
    return FormatDateTime("hh:nn:ss", t);
  const char text[] = {char('0' + h / 10), char('0' + h % 10), ':',
                       char('0' + m / 10), char('0' + m % 10), ':',
                       char('0' + sec / 10), char('0' + sec % 10)};
  return std::string(text, sizeof text);
}

std::string QuoteDateText(TDateTime time, double offset) {
  if (!std::isfinite(time) || std::trunc(time) == 0)
    return "";
  const double t = time + offset;
  if (!std::isfinite(t))
    return "";
  return DateToStr(t);
}

bool Percentage(double value, double base, double &result) {
  if (base == 0 || !std::isfinite(base) || !std::isfinite(value))
    return false;
  const double r = value * 100 / base;
  if (!std::isfinite(r))
    return false;
  result = r;
  return true;
}
