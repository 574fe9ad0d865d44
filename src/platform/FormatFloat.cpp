// FormatFloat: the class library's number patterns.
#include "platform/DecimalText.h"
#include "platform/Format.h"

#include <algorithm>
#include <cmath>
#include <vector>

using namespace decimal_text;

namespace {

// Splits a pattern at ';' outside quotes.
std::vector<std::string> Sections(const std::string &pattern) {
  std::vector<std::string> out(1);
  char quote = 0;
  for (char c : pattern) {
    if (quote) {
      if (c == quote)
        quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';') {
      out.emplace_back();
      continue;
    }
    out.back() += c;
  }
  return out;
}

bool IsExponentAt(const std::string &s, std::size_t i) {
  return (s[i] == 'E' || s[i] == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-');
}

// What one section asks for.
struct Layout {
  int intCount = 0;  // digit placeholders before the decimal point
  int minInt = 0;    // from the first '0' before the point
  int fracCount = 0; // digit placeholders after the point
  int minFrac = 0;   // up to the last '0' after the point
  bool thousands = false;
  bool scientific = false;
};

Layout Analyse(const std::string &sec) {
  Layout l;
  bool afterPoint = false;
  int firstZero = -1;
  char quote = 0;
  for (std::size_t i = 0; i < sec.size(); ++i) {
    const char c = sec[i];
    if (quote) {
      if (c == quote)
        quote = 0;
      continue;
    }
    if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '0' || c == '#') {
      if (afterPoint) {
        ++l.fracCount;
        if (c == '0')
          l.minFrac = l.fracCount;
      } else {
        if (c == '0' && firstZero < 0)
          firstZero = l.intCount;
        ++l.intCount;
      }
    } else if (c == '.') {
      afterPoint = true;
    } else if (c == ',') {
      l.thousands = true;
    } else if (IsExponentAt(sec, i)) {
      l.scientific = true;
      break; // the rest is the exponent and literal text
    }
  }
  if (firstZero >= 0)
    l.minInt = l.intCount - firstZero;
  return l;
}

// Formats |value| with one section; `zero` tells whether it rounded to zero.
std::string FormatSection(const std::string &sec, double value, bool sign, bool &zero) {
  const TFormatSettings &fs = FormatSettings();
  const Layout l = Analyse(sec);
  Decimal d = ToDecimal(std::fabs(value));
  std::string intDigits;
  std::string fracDigits;
  int exponent = 0;
  if (l.scientific) {
    const int mantissaInt = std::max(l.intCount, 1);
    RoundToDigits(d, mantissaInt + l.fracCount);
    if (!d.IsZero()) {
      exponent = d.exp - mantissaInt;
      for (int i = 0; i < mantissaInt; ++i)
        intDigits += DigitAt(d, i);
      for (int i = 0; i < l.fracCount; ++i)
        fracDigits += DigitAt(d, mantissaInt + i);
    } else {
      fracDigits.assign(std::size_t(l.fracCount), '0');
    }
  } else {
    RoundToDecimals(d, l.fracCount);
    intDigits = IntegerDigits(d);
    fracDigits = FractionDigits(d, l.fracCount);
  }
  zero = d.IsZero();
  while (int(fracDigits.size()) > l.minFrac && fracDigits.back() == '0')
    fracDigits.pop_back();
  if (int(intDigits.size()) < l.minInt)
    intDigits.insert(0, std::size_t(l.minInt) - intDigits.size(), '0');

  const int digitCount = int(intDigits.size());
  const int offset = digitCount - l.intCount; // extra digits go to the first placeholder
  auto emitDigits = [&](std::string &out, int from, int to) {
    for (int j = std::max(from, 0); j <= to && j < digitCount; ++j) {
      out += intDigits[std::size_t(j)];
      if (l.thousands && j < digitCount - 1 && (digitCount - 1 - j) % 3 == 0)
        out += fs.ThousandSeparator;
    }
  };

  std::string out = sign && !zero ? "-" : "";
  int intSeen = 0;
  int fracSeen = 0;
  bool afterPoint = false;
  bool intDone = l.intCount > 0; // without integer placeholders the digits go at the point
  for (std::size_t i = 0; i < sec.size(); ++i) {
    const char c = sec[i];
    if (c == '"' || c == '\'') {
      const std::size_t end = sec.find(c, i + 1);
      out += sec.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
      if (end == std::string::npos)
        break;
      i = end;
    } else if (c == '0' || c == '#') {
      if (afterPoint) {
        if (fracSeen < int(fracDigits.size()))
          out += fracDigits[std::size_t(fracSeen)];
        ++fracSeen;
      } else {
        emitDigits(out, intSeen == 0 ? 0 : offset + intSeen, offset + intSeen);
        ++intSeen;
      }
    } else if (c == '.' && !afterPoint) {
      afterPoint = true;
      if (!intDone) {
        emitDigits(out, 0, digitCount - 1);
        intDone = true;
      }
      if (!fracDigits.empty())
        out += fs.DecimalSeparator;
    } else if (c == ',') {
      // only switches grouping on
    } else if (IsExponentAt(sec, i)) {
      if (!intDone) {
        emitDigits(out, 0, digitCount - 1);
        intDone = true;
      }
      out += c;
      const bool alwaysSign = sec[i + 1] == '+';
      i += 2;
      int expDigits = 0;
      while (i < sec.size() && sec[i] == '0' && expDigits < 4) {
        ++expDigits;
        ++i;
      }
      --i;
      out += ExponentText(exponent, alwaysSign, expDigits);
      afterPoint = true; // further placeholders are plain text from here on
      fracSeen = int(fracDigits.size());
    } else {
      out += c;
    }
  }
  return out;
}

} // namespace

std::string FormatFloat(const std::string &pattern, double value) {
  if (!std::isfinite(value))
    return NonFinite(value);
  if (pattern.empty())
    return FloatToStr(value);
  const std::vector<std::string> sections = Sections(pattern);
  auto has = [&](std::size_t k) { return sections.size() > k && !sections[k].empty(); };
  const bool negative = value < 0;
  bool zero = false;
  if (value == 0)
    return FormatSection(has(2) ? sections[2] : sections[0], 0.0, false, zero);
  const std::string text = negative && has(1) ? FormatSection(sections[1], value, false, zero)
                                              : FormatSection(sections[0], value, negative, zero);
  if (!zero)
    return text;
  // Rounded to zero: the zero section when there is one, else the positive one.
  return FormatSection(has(2) ? sections[2] : sections[0], 0.0, false, zero);
}
