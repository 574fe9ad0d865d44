#include "platform/DecimalText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace decimal_text {

namespace {

void Normalise(Decimal &d) {
  while (!d.digits.empty() && d.digits.back() == '0')
    d.digits.pop_back();
  if (d.digits.empty()) {
    d.exp = 0;
    d.negative = false; // never "-0"
  }
}

std::string GroupThousands(const std::string &digits, char sep) {
  std::string out;
  const int n = int(digits.size());
  for (int i = 0; i < n; ++i) {
    out += digits[std::size_t(i)];
    if (i < n - 1 && (n - 1 - i) % 3 == 0)
      out += sep;
  }
  return out;
}

std::string FixedText(const Decimal &d, int decimals, bool thousands) {
  const TFormatSettings &fs = FormatSettings();
  std::string ip = IntegerDigits(d);
  if (ip.empty())
    ip = "0";
  if (thousands)
    ip = GroupThousands(ip, fs.ThousandSeparator);
  if (decimals > 0)
    ip += fs.DecimalSeparator + FractionDigits(d, decimals);
  return ip;
}

std::string CurrencyText(const std::string &number, bool negative) {
  const TFormatSettings &fs = FormatSettings();
  // '$' stands for the currency symbol and '1' for the amount.
  static const char *const kPositive[4] = {"$1", "1$", "$ 1", "1 $"};
  static const char *const kNegative[16] = {"($1)", "-$1",  "$-1",   "$1-",  "(1$)", "-1$",
                                            "1-$",  "1$-",  "-1 $",  "-$ 1", "1 $-", "$ 1-",
                                            "$ -1", "1- $", "($ 1)", "(1 $)"};
  const char *pattern = negative ? kNegative[std::clamp(fs.NegCurrFormat, 0, 15)]
                                 : kPositive[std::clamp(fs.CurrencyFormat, 0, 3)];
  std::string out;
  for (const char *p = pattern; *p; ++p) {
    if (*p == '$')
      out += fs.CurrencyString;
    else if (*p == '1')
      out += number;
    else
      out += *p;
  }
  return out;
}

} // namespace

Decimal ToDecimal(double v) {
  Decimal d;
  if (v == 0 || !std::isfinite(v))
    return d;
  d.negative = v < 0;
  char buf[64];
  const auto res =
      std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific);
  const std::string text(buf, res.ptr);
  const auto e = text.find('e');
  for (std::size_t i = 0; i < e; ++i)
    if (text[i] != '.')
      d.digits += text[i];
  int sciExp = 0;
  std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                  sciExp);
  d.exp = sciExp + 1;
  while (!d.digits.empty() && d.digits.back() == '0')
    d.digits.pop_back();
  return d;
}

// Keeps the first `keep` significant digits, rounding the decimal half away
// from zero.
void RoundToDigits(Decimal &d, int keep) {
  if (d.IsZero() || keep >= int(d.digits.size()))
    return;
  if (keep < 0) {
    d.digits.clear();
    Normalise(d);
    return;
  }
  const bool up = d.digits[std::size_t(keep)] >= '5';
  d.digits.resize(std::size_t(keep));
  if (up) {
    int i = keep - 1;
    while (i >= 0 && d.digits[std::size_t(i)] == '9')
      d.digits[std::size_t(i--)] = '0';
    if (i >= 0) {
      ++d.digits[std::size_t(i)];
    } else {
      d.digits.insert(d.digits.begin(), '1');
      ++d.exp;
    }
  }
  Normalise(d);
}

void RoundToDecimals(Decimal &d, int decimals) { RoundToDigits(d, d.exp + decimals); }

char DigitAt(const Decimal &d, int index) {
  return index >= 0 && index < int(d.digits.size()) ? d.digits[std::size_t(index)] : '0';
}

// Digits left of the decimal point; empty when the value is below one.
std::string IntegerDigits(const Decimal &d) {
  std::string s;
  for (int i = 0; i < d.exp; ++i)
    s += DigitAt(d, i);
  return s;
}

// `count` digits right of the decimal point.
std::string FractionDigits(const Decimal &d, int count) {
  std::string s;
  for (int i = 0; i < count; ++i)
    s += DigitAt(d, d.exp + i);
  return s;
}

std::string NonFinite(double v) {
  if (std::isnan(v))
    return "NAN";
  return v < 0 ? "-INF" : "INF";
}

// Fixed notation of an already rounded value, without sign.

std::string ExponentText(int exponent, bool alwaysSign, int minDigits) {
  std::string s;
  if (exponent < 0)
    s += '-';
  else if (alwaysSign)
    s += '+';
  std::string digits = std::to_string(std::abs(exponent));
  if (int(digits.size()) < minDigits)
    digits.insert(0, std::size_t(minDigits) - digits.size(), '0');
  return s + digits;
}

// Scientific notation with `precision` significant digits, e.g. 1.50000E+000.
std::string ExponentNotation(double value, int precision, int expDigits) {
  if (!std::isfinite(value))
    return NonFinite(value);
  precision = std::clamp(precision, 1, 18);
  Decimal d = ToDecimal(value);
  RoundToDigits(d, precision);
  std::string s = d.negative ? "-" : "";
  s += DigitAt(d, 0);
  if (precision > 1) {
    s += FormatSettings().DecimalSeparator;
    for (int i = 1; i < precision; ++i)
      s += DigitAt(d, i);
  }
  return s + "E" + ExponentText(d.IsZero() ? 0 : d.exp - 1, true, expDigits);
}

// Shortest of fixed and scientific with `precision` significant digits, trailing
// zeros removed: 0.0001 stays fixed, 0.00001 is 1E-5, 1E15 past 15 digits.
std::string GeneralNotation(double value, int precision, int expDigits) {
  if (!std::isfinite(value))
    return NonFinite(value);
  precision = std::clamp(precision, 1, 18);
  Decimal d = ToDecimal(value);
  RoundToDigits(d, precision);
  if (d.IsZero())
    return "0";
  const char dp = FormatSettings().DecimalSeparator;
  std::string s = d.negative ? "-" : "";
  if (d.exp > precision || d.exp < -3) {
    s += d.digits[0];
    if (d.digits.size() > 1)
      s += dp + d.digits.substr(1);
    return s + "E" + ExponentText(d.exp - 1, false, expDigits);
  }
  const std::string ip = IntegerDigits(d);
  s += ip.empty() ? "0" : ip;
  const int fracCount = int(d.digits.size()) - d.exp;
  if (fracCount > 0)
    s += dp + FractionDigits(d, fracCount);
  return s;
}

// Fixed, grouped or money notation with `decimals` decimals; `precision` limits
// the significant digits (values with more integer digits than that turn to
// general notation, as the class library does).
std::string FixedNotation(double value, TFloatFormat format, int precision, int decimals,
                          bool fallBackToGeneral) {
  if (!std::isfinite(value))
    return NonFinite(value);
  precision = std::clamp(precision, 1, 18);
  decimals = std::clamp(decimals, 0, 100);
  Decimal d = ToDecimal(value);
  if (fallBackToGeneral && d.exp > precision)
    return GeneralNotation(value, precision, 0);
  RoundToDigits(d, std::min(precision, d.exp + decimals));
  const std::string text = FixedText(d, decimals, format != ffFixed);
  if (format == ffCurrency)
    return CurrencyText(text, d.negative);
  return d.negative ? "-" + text : text;
}

} // namespace decimal_text
