#include "platform/Format.h"

#include "platform/AsciiText.h"
#include "platform/DecimalText.h"
#include "platform/Exceptions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

using namespace decimal_text;

namespace {

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
    const char type = AsciiLower(fmt[i]);
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
  auto isDigit = [&](std::size_t at) { return at < s.size() && IsAsciiDigit(s[at]); };
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
