#include "chartengine/engine/AxisIncrement.h"

#include "chartengine/canvas/ChartMath.h"
#include "chartengine/canvas/DateTimeSteps.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double SmallestStep = 1e-12;
constexpr double OneSecond = 1.0 / 86400.0;
constexpr double MostDateTimeLabels = 1000000.0;
// Quotients at or beyond this are not label counts.
constexpr double CountLimit = 2147483647.0;
// Each pass at least doubles the step: this many passes cover every double.
constexpr int MaxSteppingPasses = 4000;

double NumericIncrement(const TAxisIncrementRequest &r, int maxLabels) {
  double step = r.Increment > 0 ? r.Increment : (std::fabs(r.Range) < 1 ? SmallestStep : 1.0);
  if (maxLabels >= 1 && r.LabelsSeparation >= 1) {
    for (int pass = 0; pass < MaxSteppingPasses && std::isfinite(step); ++pass) {
      const double q = r.Range / step;
      if (std::fabs(q) < CountLimit && PixelRound(q) <= maxLabels)
        break;
      step = NextRoundStep(step);
    }
  }
  return std::max(step, SmallestStep);
}

double DateTimeIncrement(const TAxisIncrementRequest &r, int maxLabels) {
  const double lastStep = DateTimeStepValue(dtOneYear);
  double step = std::max(DateTimeStepValue(dtOneSecond), r.Increment);
  if (r.Range / step > MostDateTimeLabels)
    step = r.Range / MostDateTimeLabels;
  for (int pass = 0; pass < MaxSteppingPasses && std::isfinite(step); ++pass) {
    if (PixelRound(r.Range / step) <= maxLabels)
      break;
    step = step >= lastStep ? step * 2 : NextLargerTimeStep(step);
  }
  return std::max(step, OneSecond);
}
} // namespace

int TAxisIncrement::MaxLabels(const TAxisIncrementRequest &r) {
  double size = std::max(r.LabelSize, 0);
  if (r.LabelsSeparation > 0)
    size += PixelRound(r.LabelsSeparation * 0.01 * size);
  return size >= 1 ? PixelRound(r.SpanPixels / size) : 1;
}

double TAxisIncrement::Calc(const TAxisIncrementRequest &r) {
  const int maxLabels = MaxLabels(r);
  if (maxLabels < 1)
    return r.DateTime ? OneSecond : SmallestStep;
  return r.DateTime ? DateTimeIncrement(r, maxLabels) : NumericIncrement(r, maxLabels);
}

double TAxisIncrement::RaiseToTableStep(double step) {
  // A step a hair above a table step (float noise) stays on that step.
  const double tolerance = 1e-9;
  for (int t = dtOneSecond; t <= dtOneYear; ++t)
    if (DateTimeStepValue(t) >= step - tolerance)
      return DateTimeStepValue(t);
  return step;
}
