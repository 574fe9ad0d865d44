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
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

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

// A point whose X or Y is not a finite number is no point for any function
// and period style: the result equals the result over the source without it,
// wherever it stands (an infinite X once made a range period grow without end).
TEST(SeriesFunctions, APointThatIsNoNumberIsAsIfItWereNotThere) {
  using Make = std::function<std::unique_ptr<TChartFunction>()>;
  const Make kinds[] = {
      [] { return std::make_unique<TAverageFunction>(); },
      [] { return std::make_unique<THighFunction>(); },
      [] { return std::make_unique<TLowFunction>(); },
      [] { return std::make_unique<TAddFunction>(); },
      [] { return std::make_unique<TSubtractFunction>(); },
  };
  struct Style {
    const char *Name;
    double Period;
    TFunctionPeriodStyle PeriodStyle;
    TFunctionPeriodAlign Align;
    bool Moving;
  };
  const Style styles[] = {
      {"whole", 0, psNumPoints, paCenter, false},
      {"two points", 2, psNumPoints, paLast, false},
      {"range 1 first", 1, psRange, paFirst, false},
      {"range 1 centre", 1, psRange, paCenter, false},
      {"range 2.5 last", 2.5, psRange, paLast, false},
      {"moving 3", 3, psNumPoints, paCenter, true},
  };
  struct Bad {
    double X, Y;
  };
  const Bad bads[] = {{NaN, 5},   {-Inf, 5},   {Inf, 5},   {3.5, NaN},
                      {3.5, Inf}, {3.5, -Inf}, {NaN, NaN}, {Inf, -Inf}};
  const Doubles ys{4, 9, 2, 8, 1, 7, 3, 3, 6, 5};
  // Fills a function series over sources (X 0 .. 9, unordered so that the
  // point stays where it is put), the bad point at place in source badIn.
  auto results = [&](const Make &make, const Style &style, int sourceCount, const Bad *bad,
                     int badIn, int place) {
    StubAxisPanel chart;
    TChartSeries result;
    result.SetParentChart(&chart);
    std::vector<std::unique_ptr<TChartSeries>> sources;
    for (int k = 0; k < sourceCount; ++k) {
      sources.push_back(std::make_unique<TChartSeries>());
      TChartSeries &s = *sources.back();
      s.SetParentChart(&chart);
      s.XValues().SetOrder(loNone);
      for (int t = 0; t < 10; ++t) {
        if (bad != nullptr && k == badIn && t == place)
          s.AppendPoint(bad->X, bad->Y);
        s.AppendPoint(t, ys[t] * (k + 1));
      }
      if (bad != nullptr && k == badIn && place >= 10)
        s.AppendPoint(bad->X, bad->Y);
    }
    std::unique_ptr<TChartFunction> f = make();
    f->BeginUpdate();
    f->SetPeriod(style.Period);
    f->SetPeriodStyle(style.PeriodStyle);
    f->SetPeriodAlign(style.Align);
    f->SetMoving(style.Moving);
    f->EndUpdate();
    result.SetFunction(std::move(f));
    for (auto &s : sources)
      result.AddDataSource(s.get());
    return std::make_pair(XsOf(result), YsOf(result));
  };
  int cases = 0;
  for (int sourceCount : {1, 2})
    for (const Make &make : kinds)
      for (const Style &style : styles) {
        if (sourceCount > 1 && style.Period != 0)
          continue; // several sources fold point by point
        const auto without = results(make, style, sourceCount, nullptr, 0, 0);
        ASSERT_FALSE(without.first.empty());
        for (const Bad &bad : bads)
          for (int badIn = 0; badIn < sourceCount; ++badIn)
            for (int place : {0, 4, 10}) {
              EXPECT_EQ(results(make, style, sourceCount, &bad, badIn, place), without)
                  << style.Name << ", " << sourceCount << " sources, point (" << bad.X << ", "
                  << bad.Y << ") at " << place << " of source " << badIn << ", function "
                  << (&make - kinds);
              ++cases;
            }
      }
  EXPECT_GT(cases, 900);
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
