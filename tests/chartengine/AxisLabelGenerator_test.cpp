#include "chartengine/engine/AxisLabelGenerator.h"

#include "chartengine/canvas/DateTimeSteps.h"
#include "platform/DateTime.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using ::testing::DoubleNear;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pointwise;

TAxisLabelRequest Range(double min, double max, double inc) {
  TAxisLabelRequest r;
  r.Minimum = min;
  r.Maximum = max;
  r.Increment = inc;
  return r;
}

std::vector<double> ValuesOf(const TAxisLabelRequest &r) {
  return TAxisLabelGenerator(r).Generate().Values;
}

struct LinearCase {
  const char *Name;
  double Min, Max, Inc;
  bool OnAxis, RoundFirst;
  std::vector<double> Expected;
};

class AxisLinearLabels : public ::testing::TestWithParam<LinearCase> {};

TEST_P(AxisLinearLabels, Values) {
  const LinearCase &c = GetParam();
  TAxisLabelRequest r = Range(c.Min, c.Max, c.Inc);
  r.LabelsOnAxis = c.OnAxis;
  r.RoundFirstLabel = c.RoundFirst;
  EXPECT_THAT(ValuesOf(r), Pointwise(DoubleNear(1e-12), c.Expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AxisLinearLabels,
    ::testing::Values(
        LinearCase{"EndsLabelled", 0, 10, 2, true, true, {10, 8, 6, 4, 2, 0}},
        LinearCase{"EndsLeftOut", 0, 10, 2, false, true, {8, 6, 4, 2}},
        LinearCase{"NotRounded", 0.5, 9.5, 2, true, false, {9.5, 7.5, 5.5, 3.5, 1.5}},
        LinearCase{"Rounded", 0.5, 9.5, 2, true, true, {8, 6, 4, 2}},
        LinearCase{
            "Tenths", 0, 1, 0.1, true, true, {1, 0.9, 0.8, 0.7, 0.6, 0.5, 0.4, 0.3, 0.2, 0.1, 0}},
        LinearCase{"LowEndNotLostToRounding", 0.3, 0.6, 0.1, true, true, {0.6, 0.5, 0.4, 0.3}},
        LinearCase{"TopNotLostToRounding", 0, 0.3, 0.1, true, true, {0.3, 0.2, 0.1, 0}},
        LinearCase{"Negative", -7, -1, 2, true, true, {-2, -4, -6}},
        LinearCase{"OneValueRange", 5, 5, 1, true, true, {5}},
        // Steps are counted over the range, not from zero.
        LinearCase{
            "FarFromZero", 1e10 - 3, 1e10, 1, true, true, {1e10, 1e10 - 1, 1e10 - 2, 1e10 - 3}},

        LinearCase{"JustBelowTenThousandSteps",
                   0,
                   9999,
                   1000,
                   true,
                   true,
                   {9000, 8000, 7000, 6000, 5000, 4000, 3000, 2000, 1000, 0}}),
    [](const auto &info) { return std::string(info.param.Name); });

// Steps so small that the loop would run for ever, or a step that is no
// step at all, draw no labels.
TEST(AxisLabelGenerator, TooManyStepsDrawNothing) {
  EXPECT_THAT(ValuesOf(Range(0, 10000, 1)), IsEmpty());
  EXPECT_THAT(ValuesOf(Range(0, 1, 1e-12)), IsEmpty());
  // Steps finer than the values resolve would label one value many times.
  EXPECT_THAT(ValuesOf(Range(1e16, 1e16 + 64, 1)), IsEmpty());
  EXPECT_THAT(ValuesOf(Range(0, 10, 0)), IsEmpty());
  EXPECT_THAT(ValuesOf(Range(0, 10, -1)), IsEmpty());
  EXPECT_THAT(ValuesOf(Range(0, 10, std::numeric_limits<double>::quiet_NaN())), IsEmpty());
  EXPECT_THAT(ValuesOf(Range(0, std::numeric_limits<double>::infinity(), 1)), IsEmpty());
  EXPECT_EQ(ValuesOf(Range(0, 9999, 1)).size(), 10000u);
  // A second is a fine step on today's date.
  const double second = 1.0 / 86400;
  EXPECT_EQ(ValuesOf(Range(46000 + 3 * second, 46000 + 6 * second, second)).size(), 4u);
}

TAxisLabelRequest Dates(TDateTime min, TDateTime max, int step, bool exact) {
  TAxisLabelRequest r = Range(min, max, DateTimeStepValue(step));
  r.DateTime = true;
  r.ExactDateTime = exact;
  return r;
}

TEST(AxisLabelGenerator, ExactMonthsFallOnTheFirst) {
  const auto values =
      ValuesOf(Dates(EncodeDate(2020, 1, 15), EncodeDate(2020, 6, 20), dtOneMonth, true));
  EXPECT_THAT(values,
              ElementsAre(EncodeDate(2020, 6, 1), EncodeDate(2020, 5, 1), EncodeDate(2020, 4, 1),
                          EncodeDate(2020, 3, 1), EncodeDate(2020, 2, 1)));
}

TEST(AxisLabelGenerator, ExactHalfMonths) {
  const auto values =
      ValuesOf(Dates(EncodeDate(2021, 1, 20), EncodeDate(2021, 3, 20), dtHalfMonth, true));
  EXPECT_THAT(values, ElementsAre(EncodeDate(2021, 3, 15), EncodeDate(2021, 3, 1),
                                  EncodeDate(2021, 2, 15), EncodeDate(2021, 2, 1)));
}

TEST(AxisLabelGenerator, ExactYearsStartOnTheFirstOfJanuary) {
  const auto values =
      ValuesOf(Dates(EncodeDate(2017, 3, 1), EncodeDate(2020, 6, 20), dtOneYear, true));
  EXPECT_THAT(values,
              ElementsAre(EncodeDate(2020, 1, 1), EncodeDate(2019, 1, 1), EncodeDate(2018, 1, 1)));
}

TEST(AxisLabelGenerator, InexactMonthsStepByThirtyDays) {
  const TDateTime max = EncodeDate(2020, 6, 20);
  const auto values = ValuesOf(Dates(EncodeDate(2020, 3, 1), max, dtOneMonth, false));
  const double start = std::trunc(max / 30) * 30;
  EXPECT_THAT(values,
              Pointwise(DoubleNear(1e-9), std::vector<double>{start, start - 30, start - 60}));
}

TEST(AxisLabelGenerator, ExactHoursStepByTheHour) {
  const TDateTime day = EncodeDate(2022, 5, 2);
  const auto values = ValuesOf(Dates(day + 9.5 / 24, day + 12.25 / 24, dtOneHour, true));
  EXPECT_THAT(values,
              Pointwise(DoubleNear(1e-9),
                        std::vector<double>{day + 12.0 / 24, day + 11.0 / 24, day + 10.0 / 24}));
}

TAxisLabelRequest Log(double min, double max, int base) {
  TAxisLabelRequest r = Range(min, max, 1);
  r.Logarithmic = true;
  r.LogarithmicBase = base;
  return r;
}

TEST(AxisLabelGenerator, LogarithmicFromZeroStartsAtATenth) {
  const TAxisLabelValues v = TAxisLabelGenerator(Log(0, 1000, 10)).Generate();
  EXPECT_THAT(v.Values, Pointwise(DoubleNear(1e-12), std::vector<double>{0.1, 1, 10, 100, 1000}));
  EXPECT_DOUBLE_EQ(v.Minimum, 0.1);
}

TEST(AxisLabelGenerator, LogarithmicBelowZeroStartsNearZero) {
  const TAxisLabelValues v = TAxisLabelGenerator(Log(-5, 100, 10)).Generate();
  EXPECT_DOUBLE_EQ(v.Minimum, 1e-10);
  ASSERT_EQ(v.Values.size(), 13u);
  EXPECT_DOUBLE_EQ(v.Values.front(), 1e-10);
  EXPECT_NEAR(v.Values.back(), 100, 1e-9);
}

TEST(AxisLabelGenerator, LogarithmicBaseTwo) {
  const TAxisLabelValues v = TAxisLabelGenerator(Log(1, 1000, 2)).Generate();
  EXPECT_THAT(v.Values, ElementsAre(1, 2, 4, 8, 16, 32, 64, 128, 256, 512));
  EXPECT_DOUBLE_EQ(v.Minimum, 1);
}

TEST(AxisLabelGenerator, LogarithmicMinorTicks) {
  TAxisLabelRequest r = Log(30, 1000, 10);
  const TAxisLabelValues v = TAxisLabelGenerator(r).Generate();
  // The first power (10) lies below 30: neither label nor minor ticks.
  EXPECT_THAT(v.Values, ElementsAre(100, 1000));
  EXPECT_THAT(v.MinorTicks, ElementsAre(325, 550, 775));
  r.MinorTickCount = 1;
  EXPECT_THAT(TAxisLabelGenerator(r).Generate().MinorTicks, ElementsAre(550));
}

TEST(AxisLabelGenerator, LogarithmicWithoutRangeDrawsNothing) {
  EXPECT_THAT(ValuesOf(Log(10, 10, 10)), IsEmpty());
  EXPECT_THAT(ValuesOf(Log(1, std::numeric_limits<double>::infinity(), 10)), IsEmpty());
  EXPECT_THAT(ValuesOf(Log(1, 1e300, 2)), ::testing::SizeIs(997));
}

TEST(AxisLabelGenerator, CustomSequence) {
  TAxisLabelRequest r = Range(0, 10, 2);
  std::vector<double> seen;
  r.NextLabel = [&](int index, double &value, bool &stop) {
    seen.push_back(value);
    if (index < 3) {
      value = index * 3 + 1;
      stop = false;
    }
  };
  EXPECT_THAT(ValuesOf(r), ElementsAre(1, 4, 7));
  EXPECT_THAT(seen, ElementsAre(0, 1, 4, 7)); // starts at the minimum
}

TEST(AxisLabelGenerator, CustomSequenceStoppingAtOnceGivesTheDefaultLabels) {
  TAxisLabelRequest r = Range(0, 10, 2);
  r.NextLabel = [](int, double &, bool &) {};
  EXPECT_THAT(ValuesOf(r), ElementsAre(10, 8, 6, 4, 2, 0));
}

TEST(AxisLabelGenerator, CustomSequenceEndsOutsideTheRange) {
  TAxisLabelRequest r = Range(0, 10, 2);
  r.NextLabel = [](int index, double &value, bool &stop) {
    stop = false;
    value = index == 0 ? 10 + 1e-8 : 11;
  };
  EXPECT_THAT(ValuesOf(r), ElementsAre(10 + 1e-8));
}

TEST(AxisLabelGenerator, CustomSequenceIsAskedAtMostAThousandAndOneTimes) {
  TAxisLabelRequest r = Range(0, 10, 2);
  int calls = 0;
  r.NextLabel = [&](int, double &value, bool &stop) {
    ++calls;
    value = 5;
    stop = false;
  };
  EXPECT_EQ(ValuesOf(r).size(), 1001u);
  EXPECT_EQ(calls, 1001);
}

} // namespace
