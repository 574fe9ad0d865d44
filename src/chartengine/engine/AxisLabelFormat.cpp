#include "chartengine/engine/AxisLabelFormat.h"

#include "chartengine/canvas/DateTimeSteps.h"
#include "platform/Format.h"

#include <cmath>

namespace {
constexpr double OneDay = 1.0;
constexpr double OneMinute = 1.0 / (24.0 * 60.0);
// Steps within this of a table step count as that step (float noise).
constexpr double StepTolerance = 1.0 / 86400.0 / 1000.0;
// Values from this magnitude on are written as powers of ten.
constexpr double LargestPlainValue = 1e15;
constexpr const char *PowerFormat = "0.###E+0";

bool ShowsSignificantDigit(const std::string &text) {
  for (char c : text)
    if (c >= '1' && c <= '9')
      return true;
  return false;
}
} // namespace

std::string DateTimeLabelFormat(double step, double range) {
  if (!(step > 0))
    return TimeStepLabelFormat(range);
  const TFormatSettings &settings = FormatSettings();
  if (step >= OneDay - StepTolerance)
    return settings.ShortDateFormat;
  const std::string &time =
      step < OneMinute - StepTolerance ? settings.LongTimeFormat : settings.ShortTimeFormat;
  // Times repeat from day to day: labels over a day or more carry their
  // date (midnight at both ends of a day would read alike).
  if (range >= OneDay - StepTolerance)
    return settings.ShortDateFormat + " " + time;
  return time;
}

std::string LogarithmicLabelText(const std::string &format, double value) {
  const std::string text = FormatFloat(format, value);
  if (value == 0 || !std::isfinite(value))
    return text;
  if (std::fabs(value) >= LargestPlainValue || !ShowsSignificantDigit(text))
    return FormatFloat(PowerFormat, value);
  return text;
}
