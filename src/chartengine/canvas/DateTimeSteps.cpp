#include "chartengine/canvas/DateTimeSteps.h"

#include "platform/Format.h"

#include <cmath>

namespace {
constexpr double kSecond = 1.0 / 86400.0;
constexpr double kMinute = 60.0 / 86400.0;
constexpr double kHour = 3600.0 / 86400.0;

constexpr double kSteps[DateTimeStepCount] = {
    kSecond,      5 * kSecond,  10 * kSecond, 15 * kSecond, 30 * kSecond, kMinute,   5 * kMinute,
    10 * kMinute, 15 * kMinute, 30 * kMinute, kHour,        2 * kHour,    6 * kHour, 12 * kHour,
    1.0,          2.0,          3.0,          7.0,          15.0,         30.0,      60.0,
    90.0,         120.0,        182.0,        365.0};

// Calendar steps need a date the calendar can hold, a year's step away from
// its ends; an axis far outside it (a value axis shown as dates) steps by
// the step's length in days.
bool InCalendar(TDateTime value) {
  return value > EncodeDate(2, 1, 1) && value < EncodeDate(9998, 12, 31);
}

// Whole days since the epoch keep the time of day apart from the calendar.
TDateTime WithDate(TDateTime original, int year, int month, int day) {
  return EncodeDate(year, month, day) + TimeOf(original);
}
} // namespace

double DateTimeStepValue(int index) {
  if (index < 0 || index >= DateTimeStepCount)
    return 0.0;
  return kSteps[index];
}

double NextLargerTimeStep(double step) {
  for (int t = dtSixMonths; t >= dtOneSecond; --t)
    if (kSteps[t] <= step)
      return kSteps[t + 1];
  return kSteps[dtOneYear];
}

int TimeStepIndexOf(double value) {
  for (int t = dtOneYear; t >= dtOneSecond; --t)
    if (std::fabs(kSteps[t] - value) < kSecond)
      return t;
  return dtNone;
}

std::string TimeStepLabelFormat(double step) {
  return step > 1.0 ? FormatSettings().ShortDateFormat : FormatSettings().LongTimeFormat;
}

TDateTime AlignDateToStep(int stepIndex, TDateTime date) {
  if (!(date > EncodeDate(1900, 1, 1)) || !InCalendar(date) || stepIndex < dtHalfMonth ||
      stepIndex > dtOneYear)
    return date;
  int year = 0, month = 0, day = 0;
  DecodeDate(date, year, month, day);
  if (stepIndex == dtHalfMonth)
    day = day >= 15 ? 15 : 1;
  else if (stepIndex == dtOneYear)
    day = month = 1;
  else
    day = 1;
  return WithDate(date, year, month, day);
}

void StepDateTime(bool exact, bool increment, TDateTime &value, int stepIndex, double stepValue) {
  if (!exact || stepIndex < dtHalfMonth || stepIndex > dtOneYear || !InCalendar(value)) {
    value = increment ? value + stepValue : value - stepValue;
    return;
  }
  int year = 0, month = 0, day = 0;
  DecodeDate(value, year, month, day);
  if (stepIndex == dtHalfMonth) {
    if (increment) {
      // Forward: the next 15th, or the 1st of the next month.
      if (day < 15) {
        value = WithDate(value, year, month, 15);
      } else {
        value = IncMonth(WithDate(value, year, month, 1), 1);
      }
    } else if (day > 15) {
      value = WithDate(value, year, month, 15);
    } else if (day > 1) {
      value = WithDate(value, year, month, 1);
    } else {
      value = IncMonth(WithDate(value, year, month, 15), -1);
    }
    return;
  }
  static constexpr int kMonths[] = {1, 2, 3, 4, 6, 12}; // indexes 19 .. 24
  const int months = kMonths[stepIndex - dtOneMonth];
  value = IncMonth(value, increment ? months : -months);
}
