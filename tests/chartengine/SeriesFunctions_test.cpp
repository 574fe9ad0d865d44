#include "SeriesTestSupport.h"
#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/canvas/ChartSeriesTypes.h"
#include "chartengine/engine/BasicFunctions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>

namespace {

using Doubles = std::vector<double>;

class SeriesFunctionsTest : public ::testing::Test {
protected:
  SeriesFunctionsTest() {
    for (TChartSeries *s : {&source, &result, &second, &third})
      s->SetParentChart(&chart);
  }

  // Installs a function of class T on result and answers it.
  template <class T> T &Install() {
    auto f = std::make_unique<T>();
    T &ref = *f;
    result.SetFunction(std::move(f));
    return ref;
  }
  void Fill(TChartSeries &s, const Doubles &ys) {
    for (std::size_t t = 0; t < ys.size(); ++t)
      s.AppendPoint(static_cast<double>(t), ys[t]);
  }

  StubAxisPanel chart;
  TChartSeries source, result, second, third;
};

TEST_F(SeriesFunctionsTest, AverageOfAWholeSeriesIsOnePointInTheMiddle) {
  source.AppendPoint(10, 2);
  source.AppendPoint(20, 4);
  source.AppendPoint(40, 9);
  Install<TAverageFunction>();
  result.SetDataSource(&source);
  EXPECT_EQ(XsOf(result), (Doubles{25}));
  EXPECT_EQ(YsOf(result), (Doubles{5}));
}

TEST_F(SeriesFunctionsTest, WithoutSinglePointResultsAWholeResultIsALevelLine) {
  source.AppendPoint(10, 2);
  source.AppendPoint(40, 8);
  result.SinglePointResults = false;
  Install<THighFunction>();
  result.SetDataSource(&source);
  EXPECT_EQ(XsOf(result), (Doubles{10, 40}));
  EXPECT_EQ(YsOf(result), (Doubles{8, 8}));
}

TEST_F(SeriesFunctionsTest, AverageByPeriodsOfPointsLeavesOutAShortLastPeriod) {
  Fill(source, {1, 3, 5, 7, 100});
  TAverageFunction &f = Install<TAverageFunction>();
  f.SetPeriod(2);
  result.SetDataSource(&source);
  EXPECT_EQ(XsOf(result), (Doubles{0.5, 2.5}));
  EXPECT_EQ(YsOf(result), (Doubles{2, 6}));
  f.SetPeriodAlign(paLast);
  EXPECT_EQ(XsOf(result), (Doubles{1, 3})) << "a change of the period settings refills";
  f.SetPeriodAlign(paFirst);
  EXPECT_EQ(XsOf(result), (Doubles{0, 2}));
}

TEST_F(SeriesFunctionsTest, HighAndLowAndAddByPeriods) {
  Fill(source, {4, 9, 2, 8, 1, 7});
  auto run = [&](std::unique_ptr<TChartFunction> f) {
    f->SetPeriod(3);
    result.SetFunction(std::move(f));
    result.SetDataSource(&source);
    return YsOf(result);
  };
  EXPECT_EQ(run(std::make_unique<THighFunction>()), (Doubles{9, 8}));
  EXPECT_EQ(run(std::make_unique<TLowFunction>()), (Doubles{2, 1}));
  EXPECT_EQ(run(std::make_unique<TAddFunction>()), (Doubles{15, 16}));
}

TEST_F(SeriesFunctionsTest, APeriodBelowOnePointStillEnds) {
  Fill(source, {1, 2, 3});
  TAverageFunction &f = Install<TAverageFunction>();
  f.SetPeriod(0.3);
  result.SetDataSource(&source);
  EXPECT_EQ(YsOf(result), (Doubles{1, 2, 3})) << "one point per period";
}

TEST_F(SeriesFunctionsTest, PeriodsOfARangeGiveZeroForEmptyPeriods) {
  for (double x : {0.0, 1.0, 5.0, 6.0})
    source.AppendPoint(x, x * 10);
  TAddFunction &f = Install<TAddFunction>();
  f.BeginUpdate();
  f.SetPeriodStyle(psRange);
  f.SetPeriod(2);
  f.SetPeriodAlign(paFirst);
  f.EndUpdate();
  result.SetDataSource(&source);
  // Periods [0,2) [2,4) [4,6) [6,8).
  EXPECT_EQ(XsOf(result), (Doubles{0, 2, 4, 6}));
  EXPECT_EQ(YsOf(result), (Doubles{10, 0, 50, 60}));
}

TEST_F(SeriesFunctionsTest, RangePeriodsFollowTheCalendarOnAnExactDateAxis) {
  const double jan15 = EncodeDate(2024, 1, 15);
  source.XValues().SetDateTime(true);
  source.AppendPoint(jan15, 1);
  source.AppendPoint(EncodeDate(2024, 2, 20), 2);
  source.AppendPoint(EncodeDate(2024, 3, 1), 4);
  chart.Bottom->DateTime = true;
  TAddFunction &f = Install<TAddFunction>();
  f.BeginUpdate();
  f.SetPeriodStyle(psRange);
  f.SetPeriod(30); // one month
  f.SetPeriodAlign(paFirst);
  f.EndUpdate();
  result.SetDataSource(&source);
  EXPECT_EQ(XsOf(result), (Doubles{jan15, EncodeDate(2024, 2, 15)}));
  EXPECT_EQ(YsOf(result), (Doubles{1, 6}));
}

// A period tiny against the source's range would add one point per empty
// period until memory ran out: it is refused with the function's exception
// and the function keeps its period and its results.
TEST_F(SeriesFunctionsTest, APeriodTooSmallForTheRangeIsRefused) {
  for (int t = 0; t < 100; ++t)
    source.AppendPoint(t, 1);
  TAverageFunction &f = Install<TAverageFunction>();
  f.BeginUpdate();
  f.SetPeriodStyle(psRange);
  f.SetPeriod(10);
  f.EndUpdate();
  result.SetDataSource(&source);
  ASSERT_EQ(result.Count(), 10);
  try {
    f.SetPeriod(1e-300);
    ADD_FAILURE() << "a period of 1e-300 over 100 points was taken";
  } catch (const ChartException &e) {
    EXPECT_NE(std::string(e.what()).find("1E-300"), std::string::npos) << e.what();
  }
  EXPECT_DOUBLE_EQ(f.Period(), 10);
  EXPECT_EQ(result.Count(), 10);
  // An edit of the source that makes the period too small stands; the
  // function keeps its period and results and the edit raises nothing.
  const Doubles before = YsOf(result);
  EXPECT_NO_THROW(source.XValues().SetValue(99, 1e9));
  EXPECT_DOUBLE_EQ(source.XValues().Value(99), 1e9);
  EXPECT_DOUBLE_EQ(f.Period(), 10);
  EXPECT_EQ(YsOf(result), before);
  source.XValues().SetValue(99, 99);
  // Ten periods per source point are still allowed.
  f.SetPeriod(0.1);
  EXPECT_GT(result.Count(), 900);
}

// A value (or position) that is no number is no point in any function: it
// neither counts nor turns a result into one that is no number.
TEST(SeriesFunctions, PointsThatAreNotNumbersAreNoPoints) {
  constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double Inf = std::numeric_limits<double>::infinity();
  using Make = std::function<std::unique_ptr<TChartFunction>()>;
  const Make average = [] { return std::make_unique<TAverageFunction>(); };
  const Make high = [] { return std::make_unique<THighFunction>(); };
  const Make low = [] { return std::make_unique<TLowFunction>(); };
  const Make add = [] { return std::make_unique<TAddFunction>(); };
  const Make subtract = [] { return std::make_unique<TSubtractFunction>(); };
  struct Row {
    const char *Name;
    Make Function;
    double Period;
    bool Moving;
    std::vector<Doubles> Sources; // Y values at X 0, 1, 2, ...
    Doubles Expected;
  };
  const Doubles ys{2, NaN, 4, Inf, 6, 8};
  const Row rows[] = {
      {"whole average", average, 0, false, {{2, NaN, 4, Inf}}, {3}},
      {"whole high", high, 0, false, {ys}, {8}},
      {"whole low", low, 0, false, {{-Inf, 2, 4}}, {2}},
      {"whole sum", add, 0, false, {ys}, {20}},
      {"average by two", average, 2, false, {ys}, {2, 4, 7}},
      {"high by two", high, 2, false, {ys}, {2, 4, 8}},
      {"low by two", low, 2, false, {{2, -Inf, 4, NaN, 6, 8}}, {2, 4, 6}},
      {"period of no numbers", average, 2, false, {{NaN, Inf, 4, 6}}, {0, 5}},
      {"moving average", average, 2, true, {ys}, {2, 4, 4, 6, 7}},
      {"sum across", add, 0, false, {{1, NaN}, {Inf, 5}, {3, 7}}, {4, 12}},
      {"difference across", subtract, 0, false, {{1, NaN}, {Inf, 5}, {3, 7}}, {-2, -2}},
      {"average across", average, 0, false, {{1, NaN}, {Inf, 5}, {3, 7}}, {2, 6}},
      {"high across", high, 0, false, {{1, NaN}, {-Inf, 5}, {3, Inf}}, {3, 5}},
  };
  for (const Row &row : rows) {
    StubAxisPanel chart;
    std::vector<std::unique_ptr<TChartSeries>> sources;
    TChartSeries result;
    result.SetParentChart(&chart);
    std::unique_ptr<TChartFunction> f = row.Function();
    f->BeginUpdate();
    f->SetPeriod(row.Period);
    f->SetMoving(row.Moving);
    f->EndUpdate();
    result.SetFunction(std::move(f));
    for (const Doubles &values : row.Sources) {
      sources.push_back(std::make_unique<TChartSeries>());
      sources.back()->SetParentChart(&chart);
      for (std::size_t t = 0; t < values.size(); ++t)
        sources.back()->AppendPoint(static_cast<double>(t), values[t]);
      result.AddDataSource(sources.back().get());
    }
    EXPECT_EQ(YsOf(result), row.Expected) << row.Name;
  }
  // A point placed at no number counts for nothing either.
  StubAxisPanel chart;
  TChartSeries source, result;
  source.SetParentChart(&chart);
  result.SetParentChart(&chart);
  source.XValues().SetOrder(loNone);
  source.AppendPoint(0, 2);
  source.AppendPoint(NaN, 100);
  source.AppendPoint(1, 4);
  result.SetFunction(average());
  result.SetDataSource(&source);
  EXPECT_EQ(YsOf(result), (Doubles{3}));
}

TEST_F(SeriesFunctionsTest, RangePeriodsEndOnValuesThatAreNotNumbers) {
  source.XValues().SetOrder(loNone);
  source.AppendPoint(0, 1);
  source.AppendPoint(std::numeric_limits<double>::quiet_NaN(), 2);
  TAddFunction &f = Install<TAddFunction>();
  f.BeginUpdate();
  f.SetPeriodStyle(psRange);
  f.SetPeriod(1);
  f.EndUpdate();
  result.SetDataSource(&source);
  EXPECT_EQ(YsOf(result), (Doubles{1, 0})) << "the first period, one empty one, then the end";
}

TEST_F(SeriesFunctionsTest, MovingAverage) {
  Fill(source, {1, 2, 3, 4, 5});
  TAverageFunction &f = Install<TAverageFunction>();
  f.BeginUpdate();
  f.SetMoving(true);
  f.SetPeriod(3);
  f.EndUpdate();
  result.SetDataSource(&source);
  EXPECT_EQ(XsOf(result), (Doubles{2, 3, 4}));
  EXPECT_EQ(YsOf(result), (Doubles{2, 3, 4}));
}

TEST_F(SeriesFunctionsTest, APeriodBelowZeroIsRefused) {
  TAverageFunction &f = Install<TAverageFunction>();
  f.SetPeriod(4);
  for (double bad : {-1.0, std::numeric_limits<double>::quiet_NaN()}) {
    try {
      f.SetPeriod(bad);
      ADD_FAILURE() << "no exception";
    } catch (const ChartException &e) {
      EXPECT_STREQ(e.what(), "Function Period should be >= 0");
    }
  }
  EXPECT_EQ(f.Period(), 4);
}

struct AcrossCase {
  const char *Name;
  std::function<std::unique_ptr<TChartFunction>()> Make;
  double Expected;
};

class AcrossSourcesTest : public SeriesFunctionsTest,
                          public ::testing::WithParamInterface<AcrossCase> {};

TEST_P(AcrossSourcesTest, ValuesAtAnIndexAcrossThreeSources) {
  source.Add(10);
  second.Add(0);
  third.Add(2);
  result.SetFunction(GetParam().Make());
  result.SetDataSource(&source);
  result.AddDataSource(&second);
  result.AddDataSource(&third);
  EXPECT_EQ(YsOf(result), (Doubles{GetParam().Expected}));
  EXPECT_EQ(XsOf(result), (Doubles{0}));
}

INSTANTIATE_TEST_SUITE_P(
    Functions, AcrossSourcesTest,
    ::testing::Values(
        AcrossCase{"Add", [] { return std::make_unique<TAddFunction>(); }, 12},
        AcrossCase{"Subtract", [] { return std::make_unique<TSubtractFunction>(); }, 8},
        AcrossCase{"Multiply", [] { return std::make_unique<TMultiplyFunction>(); }, 0},
        AcrossCase{"DivideSkipsAZeroDivisor", [] { return std::make_unique<TDivideFunction>(); },
                   5},
        AcrossCase{"High", [] { return std::make_unique<THighFunction>(); }, 10},
        AcrossCase{"Low", [] { return std::make_unique<TLowFunction>(); }, 0},
        AcrossCase{"Average", [] { return std::make_unique<TAverageFunction>(); }, 4}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(SeriesFunctionsTest, SubtractFoldsInListOrder) {
  source.Add(10);
  second.Add(3);
  third.Add(2);
  Install<TSubtractFunction>();
  result.SetDataSource(&source);
  result.AddDataSource(&second);
  result.AddDataSource(&third);
  EXPECT_EQ(YsOf(result), (Doubles{5}));
}

TEST_F(SeriesFunctionsTest, OnlySourcesThatReachTheIndexTakePart) {
  source.AppendPoint(0, 1, "first");
  source.AppendPoint(1, 6, "second");
  second.Add(3);
  Install<THighFunction>();
  result.SetDataSource(&source);
  result.AddDataSource(&second);
  EXPECT_EQ(YsOf(result), (Doubles{3, 6}));
  EXPECT_EQ(result.PointLabel(1), "second") << "labels come from the first source";
}

TEST_F(SeriesFunctionsTest, AFunctionSeriesIsRefilledWhenItsSourceIsRefreshed) {
  Fill(source, {2, 4});
  Install<TAverageFunction>();
  result.SetDataSource(&source);
  source.Add(9);
  EXPECT_EQ(YsOf(result), (Doubles{3})) << "an insert alone does not recalculate";
  source.YValues().SetValue(0, 5);
  EXPECT_EQ(YsOf(result), (Doubles{6}));
  source.Clear();
  EXPECT_EQ(result.Count(), 0);
}

TEST_F(SeriesFunctionsTest, AnEmptySourceGivesNoResult) {
  Install<TAverageFunction>();
  result.SetDataSource(&source);
  EXPECT_EQ(result.Count(), 0);
}

TEST_F(SeriesFunctionsTest, AssignCopiesThePeriodSettings) {
  TAverageFunction from;
  from.SetPeriod(5);
  from.SetPeriodStyle(psRange);
  from.SetPeriodAlign(paLast);
  TAverageFunction to;
  to.Assign(from);
  EXPECT_EQ(to.Period(), 5);
  EXPECT_EQ(to.PeriodStyle(), psRange);
  EXPECT_EQ(to.PeriodAlign(), paLast);
}

TEST_F(SeriesFunctionsTest, TheFunctionPassesToASeriesAssignedFromItsOwner) {
  TChartSeries copy;
  copy.SetParentChart(&chart);
  TAverageFunction &f = Install<TAverageFunction>();
  copy.Assign(result);
  EXPECT_EQ(copy.SeriesFunction(), &f);
  EXPECT_EQ(f.OwnerSeries(), &copy);
  EXPECT_EQ(result.SeriesFunction(), nullptr);
}

TEST(SeriesFunctionRegistration, SevenFunctionsInOrderOnTheFunctionsPage) {
  FreeChartSeriesTypes();
  ClearChartClasses();
  RegisterBasicFunctions();
  const TChartSeriesTypes *types = ChartSeriesTypes();
  ASSERT_NE(types, nullptr);
  const std::vector<std::string> names{"Add",  "Subtract", "Multiply", "Divide",
                                       "High", "Low",      "Average"};
  ASSERT_EQ(types->Count(), 7);
  for (int t = 0; t < 7; ++t) {
    EXPECT_EQ(types->Item(t).Description, names[static_cast<std::size_t>(t)]);
    EXPECT_EQ(types->Item(t).GalleryPage, "Functions");
    EXPECT_EQ(types->Item(t).NumGallerySeries, 2);
    EXPECT_EQ(types->Item(t).SeriesClass, nullptr);
  }
  EXPECT_EQ(types->Item(6).FunctionClass, &TAverageFunction::StaticClass());
  // A form description naming the class can make it.
  auto cls = dynamic_cast<const TChartComponentClass *>(FindChartClass("TDivideFunction"));
  ASSERT_NE(cls, nullptr);
  auto made = cls->Create(nullptr);
  EXPECT_NE(dynamic_cast<TDivideFunction *>(made.get()), nullptr);
  EXPECT_TRUE(cls->InheritsFrom(&TManySeriesFunction::StaticClass()));
  EXPECT_TRUE(cls->InheritsFrom(&TChartFunction::StaticClass()));
  EXPECT_FALSE(cls->InheritsFrom(&TAddFunction::StaticClass()));
  RegisterBasicFunctions();
  EXPECT_EQ(types->Count(), 7) << "registering again adds nothing";
  FreeChartSeriesTypes();
  ClearChartClasses();
}

} // namespace
