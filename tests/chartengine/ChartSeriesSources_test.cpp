#include "SeriesTestSupport.h"
#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/engine/BasicFunctions.h"

#include <gtest/gtest.h>

namespace {

using Doubles = std::vector<double>;

std::string MessageOf(const std::function<void()> &fn) {
  try {
    fn();
  } catch (const ChartException &e) {
    return e.what();
  }
  return "(no exception)";
}

class SeriesSourcesTest : public ::testing::Test {
protected:
  SeriesSourcesTest() {
    a.SetName("A");
    b.SetName("B");
    c.SetName("C");
    for (TChartSeries *s : {&a, &b, &c})
      s->SetParentChart(&chart);
  }

  StubAxisPanel chart;
  TChartComponent form;
  TChartSeries a{&form}, b{&form}, c{&form};
};

TEST_F(SeriesSourcesTest, ASourceNeedsAChartToValidateIt) {
  TChartSeries loose;
  EXPECT_EQ(MessageOf([&] { loose.SetDataSource(&a); }), "No ParentChart to validate DataSource");
  EXPECT_EQ(loose.DataSource(), nullptr);
}

TEST_F(SeriesSourcesTest, ASeriesCannotFeedItself) {
  EXPECT_EQ(MessageOf([&] { a.SetDataSource(&a); }), "No valid DataSource: A");
  EXPECT_EQ(a.DataSource(), nullptr);
}

TEST_F(SeriesSourcesTest, ComponentsThatAreNotSeriesAreRefused) {
  TChartComponent other(&form);
  other.SetName("Table");
  EXPECT_EQ(MessageOf([&] { a.SetDataSource(&other); }), "No valid DataSource: Table");
}

TEST_F(SeriesSourcesTest, CircularSourcesAreRefusedAndTheOldSourcesStay) {
  a.SetDataSource(&b);
  EXPECT_EQ(MessageOf([&] { b.SetDataSource(&a); }), "Circular Series dependences are not allowed");
  EXPECT_EQ(b.DataSource(), nullptr);
  // Through a chain: A <- B <- C, then C from A.
  b.SetDataSource(&c);
  EXPECT_EQ(MessageOf([&] { c.SetDataSource(&a); }), "Circular Series dependences are not allowed");
  EXPECT_EQ(c.DataSource(), nullptr);
  EXPECT_EQ(a.DataSource(), &b);
  EXPECT_EQ(b.DataSource(), &c);
}

TEST_F(SeriesSourcesTest, ALoopThroughAFurtherSourceIsRefusedToo) {
  // C is fed from B and from A; A may then not be fed from C.
  c.SetDataSource(&b);
  c.AddDataSource(&a);
  EXPECT_EQ(c.DataSources().size(), 2u);
  EXPECT_EQ(MessageOf([&] { a.SetDataSource(&c); }), "Circular Series dependences are not allowed");
}

TEST_F(SeriesSourcesTest, ASourceFillsItsDependentAndItsChangesReachIt) {
  a.AppendPoint(1, 10, "one", clRed);
  b.SetDataSource(&a);
  EXPECT_EQ(XsOf(b), (Doubles{1}));
  EXPECT_EQ(b.PointLabel(0), "one");
  EXPECT_EQ(b.StoredPointColor(0), clRed);
  ASSERT_EQ(a.Dependents().size(), 1u);
  EXPECT_EQ(a.Dependents()[0], &b);

  a.AppendPoint(0, 5, "zero");
  EXPECT_EQ(XsOf(b), (Doubles{0, 1}));
  EXPECT_EQ(b.PointLabel(0), "zero");

  a.Delete(1);
  EXPECT_EQ(XsOf(b), (Doubles{0}));

  a.YValues().SetValue(0, 6);
  EXPECT_EQ(YsOf(b), (Doubles{6})) << "a modified value refills the dependent";

  a.Clear();
  EXPECT_EQ(b.Count(), 0);
}

TEST_F(SeriesSourcesTest, ChangesPassAlongAChainOfDependents) {
  b.SetDataSource(&a);
  c.SetDataSource(&b);
  a.Add(3);
  a.Add(4);
  EXPECT_EQ(YsOf(c), (Doubles{3, 4}));
  a.Delete(0);
  EXPECT_EQ(YsOf(c), (Doubles{4}));
}

TEST_F(SeriesSourcesTest, RecalcOptionsChooseWhichChangesReachADependent) {
  a.Add(1);
  b.SetDataSource(&a);
  b.SetRecalcOptions(rOnClear);
  a.Add(2);
  a.Delete(0);
  a.YValues().SetValue(0, 9);
  EXPECT_EQ(YsOf(b), (Doubles{1}));
  a.Clear();
  EXPECT_EQ(b.Count(), 0);
}

TEST_F(SeriesSourcesTest, ASourceOfANewDependentSeriesReplacesTheOldOne) {
  a.Add(1);
  c.Add(7);
  b.SetDataSource(&a);
  b.SetDataSource(&c);
  EXPECT_EQ(b.DataSources().size(), 1u);
  EXPECT_TRUE(a.Dependents().empty());
  EXPECT_EQ(YsOf(b), (Doubles{7}));
  b.SetDataSource(&c);
  EXPECT_EQ(b.DataSources().size(), 1u) << "already the source";
}

TEST_F(SeriesSourcesTest, NoSourceEmptiesTheSeries) {
  a.Add(1);
  b.SetDataSource(&a);
  b.SetDataSource(nullptr);
  EXPECT_EQ(b.Count(), 0);
  EXPECT_TRUE(a.Dependents().empty());
  a.Add(2);
  EXPECT_EQ(b.Count(), 0);
}

TEST_F(SeriesSourcesTest, ADeletedPointTheDependentLacksIsIgnored) {
  a.Add(1);
  a.Add(2);
  b.SetDataSource(&a);
  b.Delete(1);
  a.Delete(1);
  EXPECT_EQ(YsOf(a), (Doubles{1}));
  EXPECT_EQ(YsOf(b), (Doubles{1}));
}

TEST_F(SeriesSourcesTest, ADestroyedSourceLeavesItsDependentWithoutLinks) {
  auto source = std::make_unique<TChartSeries>(&form);
  source->SetParentChart(&chart);
  source->Add(5);
  b.SetDataSource(source.get());
  source.reset();
  EXPECT_EQ(b.DataSource(), nullptr);
  EXPECT_EQ(b.Count(), 0)
      << "a series left without sources is emptied, as when its source is removed";
}

// A function over several sources is refilled over all of its current
// sources, whichever of them changes, goes or is refreshed: one result per
// point of the first, none when no source is left.
TEST_F(SeriesSourcesTest, AFunctionOverSeveralSourcesFollowsAllOfThem) {
  auto fill = [](TChartSeries &s, const Doubles &xs, const Doubles &ys) {
    for (std::size_t t = 0; t < xs.size(); ++t)
      s.AppendPoint(xs[t], ys[t]);
  };
  auto second = std::make_unique<TChartSeries>(&form);
  auto third = std::make_unique<TChartSeries>(&form);
  second->SetParentChart(&chart);
  third->SetParentChart(&chart);
  fill(a, {0, 1, 2, 3}, {1, 2, 3, 4});
  fill(*second, {10, 11, 12}, {10, 20, 30});
  fill(*third, {0, 1, 2, 3, 4}, {100, 200, 300, 400, 500});
  TChartSeries sum(&form);
  sum.SetParentChart(&chart);
  sum.SetFunction(std::make_unique<TAddFunction>());
  sum.SetDataSource(&a);
  sum.AddDataSource(second.get());
  sum.AddDataSource(third.get());
  struct Step {
    const char *What;
    std::function<void()> Do;
    Doubles Xs, Ys;
  };
  const Step steps[] = {
      {"all three", [] {}, {0, 1, 2, 3}, {111, 222, 333, 404}},
      {"second source modified",
       [&] { second->YValues().SetValue(0, 50); },
       {0, 1, 2, 3},
       {151, 222, 333, 404}},
      {"second source refreshed",
       [&] { second->NotifyValueChange(snRefresh, -1); },
       {0, 1, 2, 3},
       {151, 222, 333, 404}},
      {"second source cleared", [&] { second->Clear(); }, {0, 1, 2, 3}, {101, 202, 303, 404}},
      {"third source freed", [&] { third.reset(); }, {0, 1, 2, 3}, {1, 2, 3, 4}},
      {"first source removed",
       [&] {
         fill(*second, {7}, {70});
         sum.RemoveDataSource(&a);
       },
       {7},
       {70}},
      {"first source modified after it left", [&] { a.YValues().SetValue(0, -1); }, {7}, {70}},
      {"last source freed", [&] { second.reset(); }, {}, {}},
      {"refreshed without sources", [&] { sum.RefreshFromSource(); }, {}, {}},
  };
  for (const Step &step : steps) {
    step.Do();
    EXPECT_EQ(XsOf(sum), step.Xs) << step.What;
    EXPECT_EQ(YsOf(sum), step.Ys) << step.What;
  }
  EXPECT_TRUE(sum.DataSources().empty());
}

TEST_F(SeriesSourcesTest, ADestroyedDependentIsNoLongerTold) {
  auto dependent = std::make_unique<TChartSeries>(&form);
  dependent->SetParentChart(&chart);
  dependent->SetDataSource(&a);
  dependent.reset();
  EXPECT_TRUE(a.Dependents().empty());
  a.Add(1); // would reach a freed series otherwise
  EXPECT_EQ(a.Count(), 1);
}

// A chart that also takes components that are not series as sources.
class OpenPanel : public StubAxisPanel {
public:
  bool CanBeDataSource(TChartSeries *series, TChartComponent *component) override {
    return component != series;
  }
  void SeriesSourceRemoved(TChartSeries *series, TChartComponent *source) override {
    Removed.emplace_back(series, source);
  }
  std::vector<std::pair<TChartSeries *, TChartComponent *>> Removed;
};

TEST(SeriesSources, AComponentSourceThatGoesIsDropped) {
  OpenPanel chart;
  TChartSeries s;
  s.SetParentChart(&chart);
  s.Add(1);
  auto first = std::make_unique<TChartComponent>();
  auto second = std::make_unique<TChartComponent>();
  s.SetDataSource(first.get());
  s.AddDataSource(second.get());
  ASSERT_EQ(s.DataSources().size(), 2u);
  second.reset();
  EXPECT_EQ(s.DataSources(), (std::vector<TChartComponent *>{first.get()}));
  TChartComponent *firstPtr = first.get();
  first.reset();
  EXPECT_TRUE(s.DataSources().empty());
  EXPECT_EQ(s.Count(), 0) << "losing the data source empties the series";
  ASSERT_EQ(chart.Removed.size(), 1u);
  EXPECT_EQ(chart.Removed[0].first, &s);
  EXPECT_EQ(chart.Removed[0].second, firstPtr);
}

TEST_F(SeriesSourcesTest, LoadedResolvesNamesAndSkipsLoopsAndUnknownNames) {
  a.SetDataSource(&b);
  MapFiler reader(true);
  reader.Values["DataSources"] = std::vector<std::string>{"nothing", "a", "C", "B"};
  b.SetLoading(true);
  b.DefineProperties(reader);
  b.Loaded();
  // "a" would feed B from A, which is fed from B.
  EXPECT_EQ(b.DataSources(), (std::vector<TChartComponent *>{&c}));
  c.Add(1);
  EXPECT_EQ(YsOf(a), (Doubles{1})) << "C -> B -> A";
}

TEST_F(SeriesSourcesTest, AssignCopiesSettingsAndPoints) {
  a.AppendPoint(1, 10, "one", clRed);
  a.AppendPoint(2, 20);
  a.SetTitle("Prices");
  a.SetSeriesColor(clPurple);
  a.SetColorEachPoint(true);
  a.SetValueFormat("0.0");
  a.SetHorizAxis(aTopAxis);
  a.SetVertAxis(aRightAxis);
  a.SetIdentifier("id");
  a.SetStyle(3);
  a.SetTag(77);
  a.YValues().SetDateTime(true);
  a.Marks().SetVisible(true);
  a.Marks().SetStyle(smsValue);
  c.Add(99);
  b.SetDataSource(&c);

  b.Assign(a);
  EXPECT_EQ(b.DataSource(), nullptr);
  EXPECT_EQ(XsOf(b), (Doubles{1, 2}));
  EXPECT_EQ(b.PointLabel(0), "one");
  EXPECT_EQ(b.StoredPointColor(0), clRed);
  EXPECT_EQ(b.Title(), "Prices");
  EXPECT_EQ(b.SeriesColor(), clPurple);
  EXPECT_TRUE(b.ColorEachPoint());
  EXPECT_EQ(b.ValueFormat(), "0.0");
  EXPECT_EQ(b.HorizAxis(), aTopAxis);
  EXPECT_EQ(b.VertAxis(), aRightAxis);
  EXPECT_EQ(b.Identifier(), "id");
  EXPECT_EQ(b.Style(), 3u);
  EXPECT_EQ(b.Tag(), 77);
  EXPECT_TRUE(b.YValues().DateTime());
  EXPECT_TRUE(b.Marks().Visible());
  EXPECT_EQ(b.Marks().Style(), smsValue);
}

TEST_F(SeriesSourcesTest, AssignLinksTheSameSources) {
  c.Add(5);
  a.SetDataSource(&c);
  b.Assign(a);
  EXPECT_EQ(b.DataSource(), &c);
  EXPECT_EQ(YsOf(b), (Doubles{5}));
  // A series assigned from its own dependent does not become its own source.
  c.Assign(a);
  EXPECT_EQ(c.DataSource(), nullptr);
}

} // namespace
