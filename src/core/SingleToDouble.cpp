#include "core/SingleToDouble.h"

#include <charconv>
#include <cmath>

double SingleToDouble(float value) {
  if (!std::isfinite(value) || value == 0.0f)
    return double(value);
  char text[64];
  const auto written = std::to_chars(text, text + sizeof text, value);
  if (written.ec != std::errc())
    return double(value);
  double result = 0.0;
  const auto read = std::from_chars(text, written.ptr, result);
  return read.ec == std::errc() ? result : double(value);
}
