#pragma once
#include "platform/DateTime.h"

#include <string>

// The steps a time axis may use, in days, from one second to one year.
enum TDateTimeStep : int {
  dtOneSecond,
  dtFiveSeconds,
  dtTenSeconds,
  dtFifteenSeconds,
  dtThirtySeconds,
  dtOneMinute,
  dtFiveMinutes,
  dtTenMinutes,
  dtFifteenMinutes,
  dtThirtyMinutes,
  dtOneHour,
  dtTwoHours,
  dtSixHours,
  dtTwelveHours,
  dtOneDay,
  dtTwoDays,
  dtThreeDays,
  dtOneWeek,
  dtHalfMonth,
  dtOneMonth,
  dtTwoMonths,
  dtThreeMonths,
  dtFourMonths,
  dtSixMonths,
  dtOneYear,
  dtNone // "no table step"
};

constexpr int DateTimeStepCount = 25;

// The step of a table index in days (index 0 .. 24).
double DateTimeStepValue(int index);

// The table step after the largest one not above step (scanning from the
// six-month step down); one year for 182 days or more, and for steps below
// one second.
double NextLargerTimeStep(double step);
// The index whose step lies within one second of value; dtNone when none does.
int TimeStepIndexOf(double value);
// Short date format for steps above one day, else the long time format.
std::string TimeStepLabelFormat(double step);

// Moves a date back to the start of its calendar step: the 1st or 15th for
// half months, the 1st for month steps, 1 January for years. Dates before
// 1900 and other steps are answered unchanged.
TDateTime AlignDateToStep(int stepIndex, TDateTime date);

// One step of a time axis. With exact set, half-month, month and year steps
// (indexes 18 .. 24) move by the calendar; the day is clamped to the length
// of the month reached. Otherwise stepValue is added (increment) or taken off.
void StepDateTime(bool exact, bool increment, TDateTime &value, int stepIndex, double stepValue);
