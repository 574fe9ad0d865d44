#include "chartengine/canvas/DateTimeSteps.h"

#include "platform/Format.h"

#include <gtest/gtest.h>

namespace {

constexpr double Second = 1.0 / 86400.0;

TEST(DateTimeSteps, NextLargerTimeStep) {
  EXPECT_DOUBLE_EQ(NextLargerTimeStep(1.0 / 24), 2.0 / 24);
  EXPECT_DOUBLE_EQ(NextLargerTimeStep(200.0), 365.0);
  EXPECT_DOUBLE_EQ(NextLargerTimeStep(182.0), 365.0);
  EXPECT_DOUBLE_EQ(NextLargerTimeStep(Second), 5 * Second);
  EXPECT_DOUBLE_EQ(NextLargerTimeStep(1.5), 2.0);
  EXPECT_DOUBLE_EQ(NextLargerTimeStep(Second / 2), 365.0);
}

TEST(DateTimeSteps, TimeStepIndexOf) {
  EXPECT_EQ(TimeStepIndexOf(1.0), dtOneDay);
  EXPECT_EQ(TimeStepIndexOf(1.5), dtNone);
  EXPECT_EQ(TimeStepIndexOf(365.0), dtOneYear);
  EXPECT_EQ(TimeStepIndexOf(Second), dtOneSecond);
  EXPECT_EQ(TimeStepIndexOf(5.0 / 1440 + Second / 2), dtFiveMinutes);
}

TEST(DateTimeSteps, LabelFormatFollowsTheStep) {
  EXPECT_EQ(TimeStepLabelFormat(2.0), FormatSettings().ShortDateFormat);
  EXPECT_EQ(TimeStepLabelFormat(1.0), FormatSettings().LongTimeFormat);
}

struct AlignCase {
  const char *Name;
  int Step;
  int Day, Month;
  int WantDay, WantMonth;
};

TEST(DateTimeSteps, AlignDateToStep) {
  const AlignCase cases[] = {
      {"half month late", dtHalfMonth, 20, 3, 15, 3},
      {"half month early", dtHalfMonth, 3, 3, 1, 3},
      {"half month on 15", dtHalfMonth, 15, 3, 15, 3},
      {"month", dtOneMonth, 20, 3, 1, 3},
      {"six months", dtSixMonths, 31, 5, 1, 5},
      {"year", dtOneYear, 20, 3, 1, 1},
      {"week unchanged", dtOneWeek, 20, 3, 20, 3},
  };
  for (const AlignCase &c : cases) {
    const TDateTime aligned = AlignDateToStep(c.Step, EncodeDate(2021, c.Month, c.Day));
    EXPECT_EQ(aligned, EncodeDate(2021, c.WantMonth, c.WantDay)) << c.Name;
  }
  EXPECT_EQ(AlignDateToStep(dtOneMonth, 1.0), 1.0) << "before 1900";
}

struct StepCase {
  const char *Name;
  bool Increment;
  int Step;
  int Y, M, D;
  int WantY, WantM, WantD;
};

TEST(DateTimeSteps, CalendarSteps) {
  const StepCase cases[] = {
      {"month over the year end", true, dtOneMonth, 2020, 12, 1, 2021, 1, 1},
      {"six months back over the year start", false, dtSixMonths, 2021, 3, 1, 2020, 9, 1},
      {"four months", true, dtFourMonths, 2021, 10, 1, 2022, 2, 1},
      {"year", true, dtOneYear, 2021, 5, 1, 2022, 5, 1},
      {"half month forward early", true, dtHalfMonth, 2021, 3, 3, 2021, 3, 15},
      {"half month forward from 1st", true, dtHalfMonth, 2021, 3, 1, 2021, 3, 15},
      {"half month forward from 15th", true, dtHalfMonth, 2021, 3, 15, 2021, 4, 1},
      {"half month forward late", true, dtHalfMonth, 2021, 12, 20, 2022, 1, 1},
      {"half month back late", false, dtHalfMonth, 2021, 3, 20, 2021, 3, 15},
      {"half month back early", false, dtHalfMonth, 2021, 3, 15, 2021, 3, 1},
      {"half month back from 1st", false, dtHalfMonth, 2021, 1, 1, 2020, 12, 15},
      // The day is clamped to the length of the month reached.
      {"month from 31 January", true, dtOneMonth, 2021, 1, 31, 2021, 2, 28},
      {"month back from 31 March", false, dtOneMonth, 2024, 3, 31, 2024, 2, 29},
      {"year from 29 February", true, dtOneYear, 2024, 2, 29, 2025, 2, 28},
  };
  for (const StepCase &c : cases) {
    TDateTime value = EncodeDate(c.Y, c.M, c.D);
    StepDateTime(true, c.Increment, value, c.Step, 0.0);
    EXPECT_EQ(value, EncodeDate(c.WantY, c.WantM, c.WantD)) << c.Name;
  }
}

TEST(DateTimeSteps, PlainStepsAddTheStepValue) {
  TDateTime value = 100.0;
  StepDateTime(true, true, value, dtOneDay, 1.0);
  EXPECT_DOUBLE_EQ(value, 101.0);
  StepDateTime(false, false, value, dtOneMonth, 30.0);
  EXPECT_DOUBLE_EQ(value, 71.0);
  StepDateTime(true, true, value, dtNone, 0.5);
  EXPECT_DOUBLE_EQ(value, 71.5);
  // Past the calendar's last year (an axis of large values shown as dates).
  value = 1e9;
  EXPECT_NO_THROW(StepDateTime(true, true, value, dtOneMonth, 30.0));
  EXPECT_DOUBLE_EQ(value, 1e9 + 30.0);
  EXPECT_DOUBLE_EQ(AlignDateToStep(dtOneYear, 1e9), 1e9);
}

} // namespace
