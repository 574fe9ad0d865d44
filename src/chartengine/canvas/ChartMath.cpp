#include "chartengine/canvas/ChartMath.h"

#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/canvas/ChartTexts.h"
#include "platform/Format.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

double NextRoundStep(double x) {
  if (!(x > 0.0) || !std::isfinite(x))
    return std::numeric_limits<double>::infinity();
  // Bring x into [1, 10) the way a recursive definition would (dividing by 10
  // or multiplying by 10), pick the step there, and scale it back in the same
  // number of steps so that results match the recursive form exactly.
  int up = 0;
  int down = 0;
  while (x >= 10.0) {
    x /= 10.0;
    ++up;
  }
  while (x < 1.0) {
    x *= 10.0;
    ++down;
  }
  double step = x < 2.0 ? 2.0 : (x < 5.0 ? 5.0 : 10.0);
  for (int i = 0; i < up; ++i)
    step *= 10.0;
  for (int i = 0; i < down; ++i)
    step *= 0.1;
  return step;
}

void ValidateAngle(int angle, const std::string &name) {
  if (angle < 0 || angle > 360)
    throw ChartException(ChartTextFormat(ctAngle, {name}));
}

TColor DarkenColor(TColor color, int amount) {
  const TColor rgb = ColorToRGB(color);
  auto lower = [amount](int c) { return c > amount ? std::min(255, c - amount) : 0; };
  return RGB(lower(GetRValue(rgb)), lower(GetGValue(rgb)), lower(GetBValue(rgb)));
}

int PixelRound(double value) {
  if (std::isnan(value))
    return 0;
  if (value >= static_cast<double>(INT_MAX))
    return INT_MAX;
  if (value <= static_cast<double>(INT_MIN))
    return INT_MIN;
  return static_cast<int>(std::nearbyint(value));
}

int PixelAdd(long long a, long long b) {
  const long long s = a + b;
  if (s > INT_MAX)
    return INT_MAX;
  if (s < INT_MIN)
    return INT_MIN;
  return static_cast<int>(s);
}
