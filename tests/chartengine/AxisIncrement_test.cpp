#include "chartengine/engine/AxisIncrement.h"

#include "chartengine/canvas/DateTimeSteps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double Second = 1.0 / 86400.0;
constexpr double Minute = 60 * Second;
constexpr double Hour = 60 * Minute;

struct IncrementCase {
  const char *Name;
  double Range;
  double Increment;
  int Span;
  int LabelSize;
  int Separation;
  bool DateTime;
  double Expected;
};

class AxisIncrementSteps : public ::testing::TestWithParam<IncrementCase> {};

TEST_P(AxisIncrementSteps, Step) {
  const IncrementCase &c = GetParam();
  TAxisIncrementRequest r;
  r.Range = c.Range;
  r.Increment = c.Increment;
  r.SpanPixels = c.Span;
  r.LabelSize = c.LabelSize;
  r.LabelsSeparation = c.Separation;
  r.DateTime = c.DateTime;
  EXPECT_NEAR(TAxisIncrement::Calc(r), c.Expected, c.Expected * 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Linear, AxisIncrementSteps,
    ::testing::Values(
        // 400 / 22 allows 18 labels: ten steps of 1 fit.
        IncrementCase{"TenOverFourHundred", 10, 0, 400, 20, 10, false, 1},
        IncrementCase{"HundredGrowsToTen", 100, 0, 400, 20, 10, false, 10},
        IncrementCase{"ThousandGrowsToHundred", 1000, 0, 400, 20, 10, false, 100},
        IncrementCase{"SmallRangeStartsTiny", 0.5, 0, 200, 30, 10, false, 0.1},
        IncrementCase{"GivenIncrementKept", 10, 3, 400, 20, 10, false, 3},
        IncrementCase{"GivenIncrementGrows", 100, 3, 400, 20, 10, false, 10},
        // Without separation labels may stand side by side, not
        // over each other: 100 / 20 holds five steps.
        IncrementCase{"NoSeparationStillKeepsLabelsApart", 1000, 0, 100, 20, 0, false, 200},
        IncrementCase{"NoLabelSizeOneLabel", 10, 0, 400, 0, 10, false, 10},
        // Less than one label fits: one step spans the range (a label at most).
        IncrementCase{"NoSpanOneStepOverTheRange", 10, 0, 0, 20, 10, false, 10},
        IncrementCase{"SqueezedTinyRange", 2.5e-9, 0, 1, 20, 10, false, 5e-9},
        IncrementCase{"NegativeRangeStops", -10, 0, 400, 20, 10, false, 1}),
    [](const auto &info) { return std::string(info.param.Name); });

INSTANTIATE_TEST_SUITE_P(
    DateTime, AxisIncrementSteps,
    ::testing::Values(
        // 400 / 55 allows 7 labels over a day: six hours.
        IncrementCase{"DayInSixHours", 1, 0, 400, 50, 10, true, 6 * Hour},
        IncrementCase{"HourInTenMinutes", Hour, 0, 400, 50, 10, true, 10 * Minute},
        IncrementCase{"TenYearsDoubleTheYear", 3652.5, 0, 400, 50, 10, true, 730},
        IncrementCase{"GivenBelowASecond", 0.001, Second / 10, 4000, 50, 10, true, 5 * Second},
        IncrementCase{"AtMostAMillionSteps", 100, 0, 100000, 1, 0, true, 5 * Minute},
        IncrementCase{"NoSpanOneStepOverTheRange", 10, 0, 0, 20, 10, true, 15},
        IncrementCase{"NoSpanSecondsApart", 3 * Second, 0, 0, 20, 10, true, 5 * Second}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST(AxisIncrement, MaxLabels) {
  TAxisIncrementRequest r;
  r.SpanPixels = 400;
  r.LabelSize = 20;
  r.LabelsSeparation = 10;
  EXPECT_EQ(TAxisIncrement::MaxLabels(r), 18);
  r.LabelsSeparation = 0;
  EXPECT_EQ(TAxisIncrement::MaxLabels(r), 20);
  r.LabelSize = 0;
  EXPECT_EQ(TAxisIncrement::MaxLabels(r), 1);
}

// Ranges that are not finite end the stepping instead of looping for ever.
TEST(AxisIncrement, EndlessRangesEnd) {
  TAxisIncrementRequest r;
  r.SpanPixels = 400;
  r.LabelSize = 20;
  for (double range :
       {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN(), 1e308}) {
    r.Range = range;
    r.DateTime = false;
    EXPECT_GE(TAxisIncrement::Calc(r), 1e-12);
    r.DateTime = true;
    EXPECT_GE(TAxisIncrement::Calc(r), Second);
  }
}

TEST(AxisIncrement, RaiseToTableStep) {
  EXPECT_DOUBLE_EQ(TAxisIncrement::RaiseToTableStep(0.9), 1.0);
  EXPECT_DOUBLE_EQ(TAxisIncrement::RaiseToTableStep(1.0 + 1e-12), 1.0);
  EXPECT_DOUBLE_EQ(TAxisIncrement::RaiseToTableStep(2.5 * Hour), 6 * Hour);
  EXPECT_DOUBLE_EQ(TAxisIncrement::RaiseToTableStep(200), 365);
  EXPECT_DOUBLE_EQ(TAxisIncrement::RaiseToTableStep(400), 400);
  EXPECT_DOUBLE_EQ(TAxisIncrement::RaiseToTableStep(Second / 3), Second);
}

} // namespace
