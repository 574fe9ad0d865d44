#include "core/SingleToDouble.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// The general way: the shortest text of the single, read as a double.
double ThroughText(float value) {
  char text[64];
  const auto written = std::to_chars(text, text + sizeof text, value);
  if (written.ec != std::errc())
    return double(value);
  double result = 0.0;
  const auto read = std::from_chars(text, written.ptr, result);
  return read.ec == std::errc() ? result : double(value);
}

constexpr double Powers[] = {1e0, 1e1, 1e2, 1e3, 1e4,  1e5,  1e6,
                             1e7, 1e8, 1e9, 1e10, 1e11, 1e12};

// The same result without text for singles from 0.001 up to 2^24: the
// shortest decimal is m / 10^k with the least k whose nearest whole m lies
// strictly inside the single's rounding interval. With k <= 12 every product
// below is exact in double, and m / 10^k rounds once, as reading the text
// would. A candidate on the interval's edge, or half-way between two
// wholes, is left to the general way. False when it does not apply.
bool WithoutText(float value, double &result) {
  const double f = std::fabs(double(value));
  if (!(f >= 1e-3 && f < 16777216.0))
    return false;
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  const int exponent = int((bits >> 23) & 0xFF) - 127; // normal: f in [2^e, 2^(e+1))
  const bool evenPower = (bits & 0x7FFFFF) == 0;        // the gap below is half as wide
  const double halfGap = std::ldexp(1.0, exponent - 24);
  for (int k = 0; k <= 12; ++k) {
    const double p = f * Powers[k];
    const double m = std::round(p);
    const double below = p - m; // > 0 when the candidate lies below the single
    if (std::fabs(below) == 0.5)
      return false;
    const double limit = halfGap * Powers[k] * (evenPower && below > 0 ? 0.5 : 1.0);
    const double distance = std::fabs(below);
    if (distance == limit)
      return false;
    if (distance < limit) {
      result = m / Powers[k];
      if (value < 0)
        result = -result;
      return true;
    }
  }
  return false;
}

} // namespace

double SingleToDouble(float value) {
  if (!std::isfinite(value) || value == 0.0f)
    return double(value);
  double result = 0.0;
  if (WithoutText(value, result))
    return result;
  return ThroughText(value);
}

double SingleToDoubleThroughText(float value) {
  if (!std::isfinite(value) || value == 0.0f)
    return double(value);
  return ThroughText(value);
}
