#include "platform/Format.h"

#include "platform/Exceptions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Decimal digits of a double.
//
// All number formatting works on the shortest decimal text that reads back as
// the same double, so 1.005 is treated as the decimal 1.005 (and rounds to
// 1.01), not as its binary neighbour 1.00499999999999989...

struct Decimal {
  bool negative = false;
  std::string digits; // significant digits without leading or trailing zeros; empty for zero
  int exp = 0;        // value = 0.<digits> * 10^exp
  bool IsZero() const { return digits.empty(); }
};

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

void Normalise(Decimal &d) {
  while (!d.digits.empty() && d.digits.back() == '0')
    d.digits.pop_back();
  if (d.digits.empty()) {
    d.exp = 0;
    d.negative = false; // never "-0"
  }
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

std::string NonFinite(double v) {
  if (std::isnan(v))
    return "NAN";
  return v < 0 ? "-INF" : "INF";
}

// Fixed notation of an already rounded value, without sign.
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

// ---------------------------------------------------------------------------
// Format

[[noreturn]] void FormatError(const std::string &fmt) {
  throw EConvertError("Format '" + fmt + "' invalid or incompatible with argument");
}

std::string Pad(std::string s, int width, bool left) {
  if (width > int(s.size())) {
    const std::size_t fill = std::size_t(width) - s.size();
    if (left)
      s.append(fill, ' ');
    else
      s.insert(0, fill, ' ');
  }
  return s;
}

std::string HexDigits(std::uint64_t v) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string s;
  do {
    s.insert(s.begin(), kHex[v & 15]);
    v >>= 4;
  } while (v);
  return s;
}

std::string MinDigits(std::string digits, int precision) {
  if (precision > int(digits.size()))
    digits.insert(0, std::size_t(precision) - digits.size(), '0');
  return digits;
}

constexpr int kMaxWidth = 4096; // guards against absurd widths and precisions

} // namespace

const TFormatSettings &FormatSettings() {
  static const TFormatSettings settings;
  return settings;
}

std::string Format(const std::string &fmt, std::initializer_list<TFormatArg> argList) {
  const std::vector<TFormatArg> args(argList);
  std::size_t next = 0;
  std::string out;
  const std::size_t n = fmt.size();

  auto nextArg = [&]() -> const TFormatArg & {
    if (next >= args.size())
      throw EConvertError("No argument for format '" + fmt + "'");
    return args[next++];
  };
  auto intArg = [&]() -> std::int64_t {
    const TFormatArg &a = nextArg();
    if (const auto *v = std::get_if<std::int64_t>(&a))
      return *v;
    FormatError(fmt);
  };
  // A number in the specifier, or '*' taking it from the arguments; -1 when absent.
  auto number = [&](std::size_t &i) -> int {
    if (i < n && fmt[i] == '*') {
      ++i;
      return int(std::clamp<std::int64_t>(intArg(), 0, kMaxWidth));
    }
    if (i >= n || fmt[i] < '0' || fmt[i] > '9')
      return -1;
    int v = 0;
    while (i < n && fmt[i] >= '0' && fmt[i] <= '9') {
      v = std::min(v * 10 + (fmt[i] - '0'), kMaxWidth);
      ++i;
    }
    return v;
  };

  for (std::size_t i = 0; i < n; ++i) {
    if (fmt[i] != '%') {
      out += fmt[i];
      continue;
    }
    ++i;
    if (i >= n)
      FormatError(fmt);
    if (fmt[i] == '%') {
      out += '%';
      continue;
    }
    // %[index:][-][width][.precision]type
    std::size_t j = i;
    while (j < n && fmt[j] >= '0' && fmt[j] <= '9')
      ++j;
    if (j > i && j < n && fmt[j] == ':') {
      next = std::size_t(number(i));
      ++i;
    }
    bool left = false;
    if (i < n && fmt[i] == '-') {
      left = true;
      ++i;
    }
    const int width = number(i);
    int precision = -1;
    if (i < n && fmt[i] == '.') {
      ++i;
      precision = std::max(number(i), 0);
    }
    if (i >= n)
      FormatError(fmt);
    const char type = char(std::tolower(static_cast<unsigned char>(fmt[i])));
    std::string text;
    switch (type) {
    case 'd': {
      const std::int64_t v = intArg();
      const std::uint64_t mag = v < 0 ? 0 - std::uint64_t(v) : std::uint64_t(v);
      text = (v < 0 ? "-" : "") + MinDigits(std::to_string(mag), precision);
      break;
    }
    case 'u':
      text = MinDigits(std::to_string(std::uint64_t(intArg())), precision);
      break;
    case 'x':
      text = MinDigits(HexDigits(std::uint64_t(intArg())), precision);
      break;
    case 's': {
      const TFormatArg &a = nextArg();
      const auto *s = std::get_if<std::string>(&a);
      if (!s)
        FormatError(fmt);
      text = precision >= 0 && std::size_t(precision) < s->size()
                 ? s->substr(0, std::size_t(precision))
                 : *s;
      break;
    }
    case 'e':
    case 'f':
    case 'g':
    case 'n':
    case 'm': {
      const TFormatArg &a = nextArg();
      const auto *v = std::get_if<double>(&a);
      if (!v)
        FormatError(fmt);
      switch (type) {
      case 'e':
        text = ExponentNotation(*v, precision < 0 ? 15 : precision, 3);
        break;
      case 'g':
        text = GeneralNotation(*v, precision < 0 ? 15 : precision, 0);
        break;
      case 'f':
        text = FixedNotation(*v, ffFixed, 18, precision < 0 ? 2 : precision, false);
        break;
      case 'n':
        text = FixedNotation(*v, ffNumber, 18, precision < 0 ? 2 : precision, false);
        break;
      default:
        text = FixedNotation(*v, ffCurrency, 18,
                             precision < 0 ? FormatSettings().CurrencyDecimals : precision, false);
        break;
      }
      break;
    }
    default:
      FormatError(fmt);
    }
    out += Pad(std::move(text), width, left);
  }
  return out;
}

// ---------------------------------------------------------------------------
// FormatFloat

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

// ---------------------------------------------------------------------------
// Numbers to text and back

std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits) {
  switch (format) {
  case ffGeneral:
    return GeneralNotation(value, precision, std::clamp(digits, 0, 4));
  case ffExponent:
    return ExponentNotation(value, precision, std::clamp(digits, 0, 4));
  default:
    return FixedNotation(value, format, precision, digits, true);
  }
}

std::string IntToStr(std::int64_t value) { return std::to_string(value); }

std::string FloatToStr(double value) { return GeneralNotation(value, 15, 0); }

namespace {

std::string Stripped(const std::string &text) {
  std::size_t b = 0;
  std::size_t e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= ' ')
    ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ')
    --e;
  return text.substr(b, e - b);
}

bool ParseInt(const std::string &text, std::int64_t &out) {
  const std::string s = Stripped(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-'))
    negative = s[i++] == '-';
  int base = 10;
  if (i < s.size() && s[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= s.size())
    return false;
  std::uint64_t mag = 0;
  const auto res = std::from_chars(s.data() + i, s.data() + s.size(), mag, base);
  if (res.ec != std::errc() || res.ptr != s.data() + s.size())
    return false;
  constexpr std::uint64_t kMax = std::uint64_t(std::numeric_limits<std::int64_t>::max());
  if (base == 16 && !negative) {
    out = std::int64_t(mag); // hex reads the bit pattern, as $FFFFFFFFFFFFFFFF = -1
    return true;
  }
  if (mag > kMax + (negative ? 1 : 0))
    return false;
  out = negative ? std::int64_t(0 - mag) : std::int64_t(mag);
  return true;
}

bool ParseFloat(const std::string &text, double &out) {
  const std::string s = Stripped(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-'))
    negative = s[i++] == '-';
  // Digits, one decimal point and an exponent only: no "inf", "nan" or hex.
  bool digit = false;
  std::size_t k = i;
  auto isDigit = [&](std::size_t at) {
    return at < s.size() && std::isdigit(static_cast<unsigned char>(s[at]));
  };
  for (; isDigit(k); ++k)
    digit = true;
  if (k < s.size() && s[k] == FormatSettings().DecimalSeparator)
    for (++k; isDigit(k); ++k)
      digit = true;
  if (!digit)
    return false;
  if (k < s.size() && (s[k] == 'e' || s[k] == 'E')) {
    ++k;
    if (k < s.size() && (s[k] == '+' || s[k] == '-'))
      ++k;
    if (!isDigit(k))
      return false;
    while (isDigit(k))
      ++k;
  }
  if (k != s.size())
    return false;
  std::string plain = s.substr(i);
  if (FormatSettings().DecimalSeparator != '.')
    std::replace(plain.begin(), plain.end(), FormatSettings().DecimalSeparator, '.');
  double v = 0;
  const auto res = std::from_chars(plain.data(), plain.data() + plain.size(), v);
  if (res.ec == std::errc::result_out_of_range) {
    // Underflow reads as zero; overflow is an error.
    const std::size_t e = plain.find_first_of("eE");
    if (e != std::string::npos && plain[e + 1] == '-')
      v = 0;
    else
      return false;
  } else if (res.ec != std::errc() || res.ptr != plain.data() + plain.size()) {
    return false;
  }
  out = negative ? -v : v;
  return true;
}

} // namespace

std::int64_t StrToInt(const std::string &text) {
  std::int64_t v = 0;
  if (!ParseInt(text, v))
    throw EConvertError("'" + text + "' is not a valid integer value");
  return v;
}

std::int64_t StrToIntDef(const std::string &text, std::int64_t def) {
  std::int64_t v = 0;
  return ParseInt(text, v) ? v : def;
}

double StrToFloat(const std::string &text) {
  double v = 0;
  if (!ParseFloat(text, v))
    throw EConvertError("'" + text + "' is not a valid floating point value");
  return v;
}

double StrToFloatDef(const std::string &text, double def) {
  double v = 0;
  return ParseFloat(text, v) ? v : def;
}

// ---------------------------------------------------------------------------
// Rounding

namespace {

constexpr double kTwo63 = 9223372036854775808.0; // 2^63

std::int64_t Saturate(double whole) {
  if (std::isnan(whole))
    return 0;
  if (whole >= kTwo63)
    return std::numeric_limits<std::int64_t>::max();
  if (whole < -kTwo63)
    return std::numeric_limits<std::int64_t>::min();
  return std::int64_t(whole);
}

double RoundHalfEven(double v) {
  const double f = std::floor(v);
  const double diff = v - f;
  if (diff > 0.5)
    return f + 1;
  if (diff < 0.5)
    return f;
  return std::fmod(f, 2.0) == 0 ? f : f + 1;
}

int ToIntSaturated(std::int64_t v) {
  return int(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                      std::numeric_limits<int>::max()));
}

} // namespace

std::int64_t Round(double value) {
  if (!std::isfinite(value))
    return Saturate(value);
  return Saturate(RoundHalfEven(value));
}

std::int64_t Trunc(double value) { return Saturate(std::trunc(value)); }

int RoundToInt(double value) { return ToIntSaturated(Round(value)); }

int TruncToInt(double value) { return ToIntSaturated(Trunc(value)); }
