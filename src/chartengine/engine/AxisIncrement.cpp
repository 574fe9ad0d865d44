#include "chartengine/engine/AxisIncrement.h"

#include "chartengine/canvas/ChartMath.h"
#include "chartengine/canvas/DateTimeSteps.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
constexpr double SmallestStep = 1e-12;
constexpr double WholeStepsRange = 3.0;
constexpr double OneSecond = 1.0 / 86400.0;
constexpr double MostDateTimeLabels = 1000000.0;
// Quotients at or beyond this are not label counts.
constexpr double CountLimit = 2147483647.0;
// Each pass at least doubles the step: this many passes cover every double.
constexpr int MaxSteppingPasses = 4000;

// How the labels at a step lie: the count test first (labels lie span / q
// apart: at least one label size with its separation), then the drawing's own.
TAxisLabelsFit StepFit(const TAxisIncrementRequest &r, double step) {
  const int size = r.LabelSizeAt ? r.LabelSizeAt(step) : r.LabelSize;
  const double q = r.Range / step;
  if (!(std::fabs(q) < CountLimit) || !(q <= TAxisIncrement::StepsRoom(r, size)))
    return lfCrowded;
  return r.Fits ? r.Fits(step) : lfApart;
}

// Walks the steps upwards from step (next gives the following one) to the
// first whose labels keep apart, passing over steps that label nothing.
// When none does, the largest step whose labels meet but that labels
// something is taken (the drawing leaves out what meets).
template <class Next> double SearchStep(const TAxisIncrementRequest &r, double step, Next next) {
  std::vector<double> crowded;
  double firstCounted = 0;
  for (int pass = 0; pass < MaxSteppingPasses && std::isfinite(step); ++pass) {
    const TAxisLabelsFit fit = StepFit(r, step);
    if (fit == lfApart)
      return step;
    if (fit == lfCrowded)
      crowded.push_back(step);
    else if (firstCounted == 0)
      firstCounted = step;
    step = next(step);
  }
  for (auto it = crowded.rbegin(); it != crowded.rend(); ++it)
    if (!r.Fits || r.Fits(*it) != lfNone)
      return *it;
  return firstCounted > 0 ? firstCounted : step;
}

// The first step of the walk that spans the range: at most one label falls
// on it (two when both ends are multiples, and the drawing keeps one).
template <class Next> double SpanningStep(const TAxisIncrementRequest &r, double step, Next next) {
  for (int pass = 0; pass < MaxSteppingPasses && std::isfinite(step) && step < r.Range; ++pass)
    step = next(step);
  return step;
}

double FirstNumericStep(const TAxisIncrementRequest &r) {
  // Whole steps for a range that holds three of them (at least three labels
  // then); smaller ranges may take any round step.
  return r.Increment > 0 ? r.Increment
                         : (std::fabs(r.Range) < WholeStepsRange ? SmallestStep : 1.0);
}

double FirstDateTimeStep(const TAxisIncrementRequest &r) {
  double step = std::max(DateTimeStepValue(dtOneSecond), r.Increment);
  if (r.Range / step > MostDateTimeLabels)
    step = r.Range / MostDateTimeLabels;
  return step;
}

double NextDateTimeStep(double step) {
  return step >= DateTimeStepValue(dtOneYear) ? step * 2 : NextLargerTimeStep(step);
}

// Steps that are not finite (ranges that are not) fall back to the smallest.
double Finished(double step, double smallest) {
  return std::isfinite(step) ? std::max(step, smallest) : smallest;
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
  const bool room = MaxLabels(r) >= 1;
  if (r.DateTime) {
    const double first = FirstDateTimeStep(r);
    return Finished(room ? SearchStep(r, first, NextDateTimeStep)
                         : SpanningStep(r, first, NextDateTimeStep),
                    OneSecond);
  }
  const double first = FirstNumericStep(r);
  return Finished(room ? SearchStep(r, first, NextRoundStep)
                       : SpanningStep(r, first, NextRoundStep),
                  SmallestStep);
}

double TAxisIncrement::RaiseToTableStep(double step) {
  // A step a hair above a table step (float noise) stays on that step.
  const double tolerance = 1e-9;
  for (int t = dtOneSecond; t <= dtOneYear; ++t)
    if (DateTimeStepValue(t) >= step - tolerance)
      return DateTimeStepValue(t);
  return step;
}
