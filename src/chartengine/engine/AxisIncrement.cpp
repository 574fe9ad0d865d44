#include "chartengine/engine/AxisIncrement.h"

#include "chartengine/canvas/ChartMath.h"
#include "chartengine/canvas/DateTimeSteps.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double SmallestStep = 1e-12;
constexpr double WholeStepsRange = 3.0;
constexpr double OneSecond = 1.0 / 86400.0;
constexpr double MostDateTimeLabels = 1000000.0;
// Quotients at or beyond this are not label counts.
constexpr double CountLimit = 2147483647.0;
// Each pass at least doubles the step: this many passes cover every double.
constexpr int MaxSteppingPasses = 4000;

// The step passes when its labels lie far enough apart.
bool StepFits(const TAxisIncrementRequest &r, double step) {
  const int size = r.LabelSizeAt ? r.LabelSizeAt(step) : r.LabelSize;
  const double q = r.Range / step;
  // Labels lie span / q apart: at least one label size (with separation).
  if (!(std::fabs(q) < CountLimit) || !(q <= TAxisIncrement::StepsRoom(r, size)))
    return false;
  return !r.Fits || r.Fits(step);
}

double NumericIncrement(const TAxisIncrementRequest &r) {
  // Whole steps for a range that holds three of them (at least three labels
  // then); smaller ranges may take any round step.
  double step =
      r.Increment > 0 ? r.Increment : (std::fabs(r.Range) < WholeStepsRange ? SmallestStep : 1.0);
  for (int pass = 0; pass < MaxSteppingPasses && std::isfinite(step); ++pass) {
    if (StepFits(r, step))
      break;
    step = NextRoundStep(step);
  }
  return std::max(step, SmallestStep);
}

double DateTimeIncrement(const TAxisIncrementRequest &r) {
  const double lastStep = DateTimeStepValue(dtOneYear);
  double step = std::max(DateTimeStepValue(dtOneSecond), r.Increment);
  if (r.Range / step > MostDateTimeLabels)
    step = r.Range / MostDateTimeLabels;
  for (int pass = 0; pass < MaxSteppingPasses && std::isfinite(step); ++pass) {
    if (StepFits(r, step))
      break;
    step = step >= lastStep ? step * 2 : NextLargerTimeStep(step);
  }
  return std::max(step, OneSecond);
}
} // namespace

double TAxisIncrement::StepsRoom(const TAxisIncrementRequest &r, int labelSize) {
  double size = std::max(labelSize, 0);
  if (r.LabelsSeparation > 0)
    size += PixelRound(r.LabelsSeparation * 0.01 * size);
  return size >= 1 ? r.SpanPixels / size : 1.0;
}

int TAxisIncrement::MaxLabels(const TAxisIncrementRequest &r) {
  return PixelRound(StepsRoom(r, r.LabelSize));
}

double TAxisIncrement::Calc(const TAxisIncrementRequest &r) {
  if (MaxLabels(r) < 1)
    return r.DateTime ? OneSecond : SmallestStep;
  return r.DateTime ? DateTimeIncrement(r) : NumericIncrement(r);
}

double TAxisIncrement::RaiseToTableStep(double step) {
  // A step a hair above a table step (float noise) stays on that step.
  const double tolerance = 1e-9;
  for (int t = dtOneSecond; t <= dtOneYear; ++t)
    if (DateTimeStepValue(t) >= step - tolerance)
      return DateTimeStepValue(t);
  return step;
}
