#include "chartengine/engine/AxisLabelGenerator.h"

#include "chartengine/canvas/DateTimeSteps.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
// Values more steps than this away from zero are too fine for a double
// (about 16 digits): neighbouring labels would hold nearly one value.
constexpr double FinestStepsFromZero = 1e13;
// Values computed from far from zero are off by a few units of their last
// digit: ends are that much wider.
constexpr double ValueResolution = 8 * std::numeric_limits<double>::epsilon();
// More label steps than this draw nothing.
constexpr double MostLinearSteps = 10000.0;
constexpr int MostCustomLabels = 1001;
// Powers of a base of 2 or more span every double within this many steps.
constexpr int MostLogSteps = 2200;
// Values within a nano-step of an end count as on it (float noise).
constexpr double EndTolerance = 1e-9;
constexpr double CustomBand = 1e-7;

// trunc, except that a quotient a hair off a whole number is that number.
double WholeSteps(double q) {
  const double nearest = std::round(q);
  return std::fabs(q - nearest) < EndTolerance ? nearest : std::trunc(q);
}
} // namespace

TAxisLabelValues TAxisLabelGenerator::Generate() const {
  TAxisLabelValues out;
  out.Minimum = m_r.Minimum;
  if (m_r.NextLabel && CustomValues(out)) {
    out.Custom = true;
    return out;
  }
  // A sequence that stops at once leaves the axis its own labels.
  out.Values.clear();
  if (m_r.Logarithmic)
    LogarithmicValues(out);
  else
    LinearValues(out);
  return out;
}

void TAxisLabelGenerator::LinearValues(TAxisLabelValues &out) const {
  const double inc = m_r.Increment;
  const double min = m_r.Minimum;
  const double max = m_r.Maximum;
  // The steps are counted over the range, not from zero: a second is a
  // fine step for today's date. Also refuses a zero, negative or non-finite
  // step and a non-finite range.
  if (!(inc > 0) || !(std::max(std::fabs(max), std::fabs(min)) / inc < FinestStepsFromZero) ||
      !(std::fabs((max - min) / inc) < MostLinearSteps))
    return;
  const int stepIndex = TimeStepIndexOf(inc);
  const bool exactDates = m_r.DateTime && m_r.ExactDateTime;
  const bool calendar = exactDates && stepIndex >= dtHalfMonth && stepIndex <= dtOneYear;
  double start = max;
  if (exactDates && stepIndex >= dtOneDay && stepIndex <= dtOneYear)
    start = AlignDateToStep(stepIndex, max);
  else if (min != max && m_r.RoundFirstLabel)
    start = WholeSteps(max / inc) * inc;

  // Float noise at the ends: a nano-step (of a step no larger than the
  // range), and the last digits of values far from zero.
  const double tolerance = std::max(std::min(inc, max - min) * EndTolerance,
                                    std::max(std::fabs(max), std::fabs(min)) * ValueResolution);
  double value = start;
  for (int k = 1; k <= static_cast<int>(MostLinearSteps) + 2; ++k) {
    const bool aboveTop = m_r.LabelsOnAxis ? value > max + tolerance : value >= max - tolerance;
    const bool belowBottom = m_r.LabelsOnAxis ? value < min - tolerance : value <= min + tolerance;
    if (belowBottom)
      break;
    if (!aboveTop)
      out.Values.push_back(value);
    if (calendar) {
      const double before = value;
      StepDateTime(true, false, value, stepIndex, inc);
      if (!(value < before))
        break;
    } else {
      // Counted from the start so that rounding errors do not pile up.
      value = start - k * inc;
    }
  }
}

void TAxisLabelGenerator::LogarithmicValues(TAxisLabelValues &out) const {
  const double max = m_r.Maximum;
  if (m_r.Minimum == max)
    return;
  const double base = m_r.LogarithmicBase;
  if (!(base >= 2) || !std::isfinite(max))
    return;
  double first = 0;
  if (m_r.Minimum < 0) {
    first = 1e-10;
    out.Minimum = first;
  } else if (m_r.Minimum == 0) {
    first = 0.1;
    out.Minimum = first;
  } else {
    first = std::pow(base, std::round(std::log(m_r.Minimum) / std::log(base)));
  }
  const double min = out.Minimum;
  const double top = max + std::fabs(max) * EndTolerance;
  const int minorCount = m_r.MinorTickCount;
  for (int k = 0; k < MostLogSteps; ++k) {
    const double value = first * std::pow(base, k);
    if (!(value <= top))
      break;
    if (value >= min - std::fabs(min) * EndTolerance) {
      out.Values.push_back(value);
      const double gap = (base * value - value) / (minorCount + 1);
      for (int m = 1; m <= minorCount; ++m) {
        const double tick = value + m * gap;
        if (tick > top)
          break;
        out.MinorTicks.push_back(tick);
      }
    }
  }
}

bool TAxisLabelGenerator::CustomValues(TAxisLabelValues &out) const {
  const double low = m_r.Minimum - CustomBand;
  const double high = m_r.Maximum + CustomBand;
  double value = m_r.Minimum;
  for (int index = 0; index < MostCustomLabels; ++index) {
    bool stop = true;
    m_r.NextLabel(index, value, stop);
    if (stop)
      return index > 0;
    if (!(value >= low && value <= high))
      break;
    out.Values.push_back(value);
  }
  return true;
}
