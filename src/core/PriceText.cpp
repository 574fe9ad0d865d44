#include "core/PriceText.h"

#include "core/DisplaySettings.h"
#include "platform/AsciiText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <vector>

namespace {

// Reads digits with at most one point, whatever the process locale's decimal
// separator is.
bool ReadDigits(const std::string &t, double &value) {
  const auto res = std::from_chars(t.data(), t.data() + t.size(), value, std::chars_format::fixed);
  return res.ec == std::errc() && res.ptr == t.data() + t.size() && std::isfinite(value);
}

bool IsDigit(char c) { return IsAsciiDigit(c); }

// An unsigned decimal: digits with at most one point and at least one digit.
bool ParseDecimal(const std::string &t, double &value) {
  int points = 0, digits = 0;
  for (char c : t) {
    if (c == '.')
      ++points;
    else if (IsDigit(c))
      ++digits;
    else
      return false;
  }
  if (points > 1 || digits == 0)
    return false;
  return ReadDigits(t, value);
}

// An unsigned whole number.
bool ParseWhole(const std::string &t, double &value) {
  if (t.empty())
    return false;
  for (char c : t)
    if (!IsDigit(c))
      return false;
  return ReadDigits(t, value);
}

// "n/d" with whole numbers and d > 0.
bool ParseFraction(const std::string &t, double &value) {
  const std::size_t slash = t.find('/');
  if (slash == std::string::npos || t.find('/', slash + 1) != std::string::npos)
    return false;
  double n = 0, d = 0;
  if (!ParseWhole(t.substr(0, slash), n) || !ParseWhole(t.substr(slash + 1), d) || d == 0)
    return false;
  value = n / d;
  return std::isfinite(value);
}

} // namespace

bool TryStrToPrice(const std::string &text, double &value) {
  value = 0;
  // Clean: drop thousands separators, everything unknown becomes a blank; a
  // "-" or "+" is a sign only before anything else but blanks.
  std::string clean;
  bool negative = false, seenContent = false;
  for (char c : text) {
    if (c == ',')
      continue;
    if ((c == '-' || c == '+') && !seenContent) {
      negative = c == '-';
      seenContent = true;
    } else if (IsDigit(c) || c == '.' || c == '/') {
      clean += c;
      seenContent = true;
    } else {
      // "+" and "!" after the start separate the whole number from the
      // fraction; anything else is a blank as well.
      clean += ' ';
    }
  }
  std::vector<std::string> words;
  std::string word;
  for (char c : clean) {
    if (c == ' ') {
      if (!word.empty())
        words.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty())
    words.push_back(word);

  double v = 0;
  if (words.size() == 1) {
    double f = 0;
    if (ParseDecimal(words[0], v)) {
    } else if (ParseFraction(words[0], f)) {
      v = f;
    } else {
      return false;
    }
  } else if (words.size() == 2) {
    double whole = 0, f = 0;
    if (!ParseWhole(words[0], whole) || !ParseFraction(words[1], f))
      return false;
    v = whole + f;
    // Two numbers that each fit can sum past the largest double.
    if (!std::isfinite(v))
      return false;
  } else {
    return false;
  }
  value = negative ? -v : v;
  if (value == 0)
    value = 0; // no negative zero
  return true;
}

double StrToPrice(const std::string &text) {
  double v = 0;
  return TryStrToPrice(text, v) ? v : 0.0;
}

bool ParseFractionPrice(const std::string &text) {
  double v = 0;
  return !TryStrToPrice(text, v);
}

std::string FormatPrice(double value) {
  if (!std::isfinite(value))
    return "0";
  const double a = std::fabs(value);
  const int decimals = a < 10 ? 5 : a < 1000 ? 3 : a <= 10000 ? 2 : 1;
  // Round half away from zero on the decimal value: the nudge lifts a half
  // stored just below (1.005 is 1.00499999...). Only while it stays far below
  // one unit, or huge prices would grow each time they are shown and read.
  constexpr double Scales[] = {1, 10, 100, 1000, 10000, 100000};
  const double scale = Scales[decimals];
  const double x = a * scale;
  // From 2^53 up every double is a whole number: there is nothing to round,
  // and scaling the largest up would overflow.
  const double shown = a >= 0x1p53 ? a : std::round(x < 1e12 ? x + x * 1e-15 : x) / scale;
  // to_chars with a precision writes what printf's "%.*f" writes, faster;
  // the buffer holds the largest double written out in full (309 digits).
  char buf[400];
  const auto res =
      std::to_chars(buf, buf + sizeof buf, shown, std::chars_format::fixed, decimals);
  std::string t(buf, res.ptr);
  if (t.find('.') != std::string::npos) {
    while (!t.empty() && t.back() == '0')
      t.pop_back();
    if (!t.empty() && t.back() == '.')
      t.pop_back();
  }
  if (value < 0 && t != "0")
    t = "-" + t;
  return t;
}

std::string PriceToStr(double price, bool fractionDisplay) {
  if (!std::isfinite(price))
    return FormatPrice(price);
  const double r = std::round(price * 1e5) / 1e5;
  const double a = std::fabs(r);
  if (fractionDisplay && a >= 1.0 / 64 && a < 1e12) {
    const double sixtyFourths = a * 64;
    const double n64 = std::round(sixtyFourths);
    // Odd 64ths have six decimals, so "fits" allows the 5-decimal rounding.
    if (std::fabs(a - n64 / 64) <= 5.000001e-6) {
      const long long total = (long long)n64;
      const long long whole = total / 64;
      long long num = total % 64;
      long long den = 64;
      const std::string sign = r < 0 ? "-" : "";
      if (num == 0)
        return sign + std::to_string(whole);
      const long long g = std::gcd(num, den);
      num /= g;
      den /= g;
      return sign + std::to_string(whole) + " " + std::to_string(num) + "/" + std::to_string(den);
    }
  }
  return FormatPrice(price);
}

std::string PriceToStr(double price) { return PriceToStr(price, FractionDisplay()); }

std::string PadPriceText(const std::string &t) {
  std::size_t i = 0;
  while (i < t.size() && (t[i] == ' ' || t[i] == '-' || t[i] == '+'))
    ++i;
  int digits = 0;
  while (i < t.size() && IsDigit(t[i])) {
    ++digits;
    ++i;
  }
  const int missing = digits < 3 ? 3 - digits : 0;
  return std::string(std::size_t(2 * missing), ' ') + t;
}

std::string AlignPriceText(const std::string &text, bool fractionDisplay) {
  if (text.find_first_not_of(" \t") == std::string::npos)
    return text;
  return PadPriceText(fractionDisplay ? text : FormatPrice(StrToPrice(text)));
}

std::string AlignPriceText(const std::string &text) {
  return AlignPriceText(text, FractionDisplay());
}
