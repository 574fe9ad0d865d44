#include "chartengine/engine/ChartValueList.h"
#include "chartengine/engine/ChartValueLists.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// A series stand-in: keeps the lists, a parallel label column and a log of
// what the lists told it.
class FakeSeries : public TChartValueListOwner {
public:
  TChartValueLists &ValueLists() override { return Lists; }
  void NotifyValueChange(TSeriesNotifyKind kind, int index) override {
    Log.push_back("notify " + std::to_string(kind) + " " + std::to_string(index));
  }
  void Repaint() override { Log.push_back("repaint"); }
  void CheckDataSource() override { Log.push_back("check source"); }
  void ExchangePoints(int a, int b) override {
    ++Exchanges;
    for (int t = 0; t < Lists.Count(); ++t)
      Lists[t].Exchange(a, b);
    std::swap(Labels[static_cast<std::size_t>(a)], Labels[static_cast<std::size_t>(b)]);
  }

  TChartValueLists Lists;
  std::vector<std::string> Labels;
  std::vector<std::string> Log;
  int Exchanges = 0;
};

std::vector<double> Values(const TChartValueList &list) {
  std::vector<double> out;
  for (int t = 0; t < list.Count(); ++t)
    out.push_back(list.Value(t));
  return out;
}

TEST(ChartValueList, RegistersWithItsOwnerInCreationOrder) {
  FakeSeries series;
  TChartValueList x(&series, "X");
  {
    TChartValueList y(&series, "Y");
    ASSERT_EQ(series.Lists.Count(), 2);
    EXPECT_EQ(&series.Lists[1], &y);
  }
  EXPECT_EQ(series.Lists.Count(), 1) << "a destroyed list leaves";
  EXPECT_EQ(series.Lists[0].Name(), "X");
  EXPECT_THROW(series.Lists[1], EValueListIndexError);
}

TEST(ChartValueList, ListsOutlivingTheirCollectionAreDetached) {
  auto series = std::make_unique<FakeSeries>();
  auto list = std::make_unique<TChartValueList>(series.get(), "X");
  series.reset();
  list.reset(); // must not touch the gone collection
  SUCCEED();
}

TEST(ChartValueList, EmptyListStatisticsAreZero) {
  TChartValueList list(nullptr, "Y");
  EXPECT_EQ(list.LargestValue(), 0.0);
  EXPECT_EQ(list.SmallestValue(), 0.0);
  EXPECT_EQ(list.SumOfValues(), 0.0);
  EXPECT_EQ(list.SumOfMagnitudes(), 0.0);
  EXPECT_THROW(list.FinalValue(), EValueListIndexError);
}

TEST(ChartValueList, StatisticsAreOverReadValues) {
  FakeSeries series;
  TChartValueList list(&series, "Y");
  for (double v : {3.0, -5.0, 2.0})
    list.StoreValue(v);
  EXPECT_EQ(list.LargestValue(), 3.0);
  EXPECT_EQ(list.SmallestValue(), -5.0);
  EXPECT_EQ(list.SumOfValues(), 0.0);
  EXPECT_EQ(list.SumOfMagnitudes(), 10.0);
  list.SetMultiplier(2.0);
  EXPECT_EQ(list.LargestValue(), 6.0);
  EXPECT_EQ(list.SmallestValue(), -10.0);
  EXPECT_EQ(list.SumOfValues(), 0.0);
  EXPECT_EQ(list.SumOfMagnitudes(), 20.0);
  EXPECT_EQ(list.RawValue(1), -5.0);
  EXPECT_EQ(series.Log, (std::vector<std::string>{"notify 3 -1", "repaint"}));
  series.Log.clear();
  list.SetMultiplier(2.0);
  EXPECT_TRUE(series.Log.empty()) << "an unchanged value notifies nobody";
}

TEST(ChartValueList, AscendingInsertionKeepsArrivalOrderOfEquals) {
  TChartValueList list(nullptr, "X");
  list.SetOrder(loAscending);
  std::vector<int> indexes;
  for (double v : {1.0, 3.0, 2.0, 2.0})
    indexes.push_back(list.StoreValue(v));
  EXPECT_EQ(indexes, (std::vector<int>{0, 1, 1, 2}));
  EXPECT_EQ(Values(list), (std::vector<double>{1, 2, 2, 3}));
  EXPECT_EQ(list.StoreValue(0.5), 0);
  // A no-number stays where it comes; numbers are ordered among the numbers.
  EXPECT_EQ(list.StoreValue(NAN), 5);
  EXPECT_EQ(list.StoreValue(4.0), 6);
  EXPECT_EQ(list.StoreValue(2.5), 4);
  EXPECT_TRUE(std::isnan(list.Value(6)));
}

TEST(ChartValueList, DescendingAndUnorderedInsertion) {
  TChartValueList down(nullptr, "X");
  down.SetOrder(loDescending);
  for (double v : {1.0, 3.0, 2.0, 5.0})
    down.StoreValue(v);
  EXPECT_EQ(Values(down), (std::vector<double>{5, 3, 2, 1}));
  TChartValueList none(nullptr, "Y");
  for (double v : {1.0, 3.0, 2.0})
    none.StoreValue(v);
  EXPECT_EQ(Values(none), (std::vector<double>{1, 3, 2}));
}

TEST(ChartValueList, NegativeMultiplierStillReadsInOrder) {
  TChartValueList list(nullptr, "X");
  list.SetOrder(loAscending);
  list.SetMultiplier(-1.0);
  for (double v : {1.0, 3.0, 2.0})
    list.StoreValue(v);
  EXPECT_EQ(Values(list), (std::vector<double>{-3, -2, -1}));
  list.Sort();
  EXPECT_EQ(Values(list), (std::vector<double>{-3, -2, -1})) << "sort agrees with insertion";
}

TEST(ChartValueList, IndexOfValueComparesReadValues) {
  TChartValueList list(nullptr, "Y");
  list.StoreValue(1.0);
  list.SetMultiplier(10.0);
  EXPECT_EQ(list.IndexOfValue(1.0), -1);
  EXPECT_EQ(list.IndexOfValue(10.0), 0);
}

TEST(ChartValueList, ValueWriteStoresRawAndNotifiesTheChangedPoint) {
  FakeSeries series;
  TChartValueList list(&series, "Y");
  list.StoreValue(1.0);
  list.StoreValue(2.0);
  list.SetMultiplier(3.0);
  series.Log.clear();
  list.SetValue(1, 4.0);
  EXPECT_EQ(list.Value(1), 12.0);
  EXPECT_EQ(list.LargestValue(), 12.0);
  EXPECT_EQ(series.Log, (std::vector<std::string>{"notify 4 1"}));
  EXPECT_THROW(list.SetValue(2, 1.0), EValueListIndexError);
}

TEST(ChartValueList, IndexErrorsLeaveTheListUnchanged) {
  TChartValueList list(nullptr, "Y");
  list.StoreValue(7.0);
  EXPECT_THROW(list.Value(-1), EValueListIndexError);
  EXPECT_THROW(list.Delete(1), EValueListIndexError);
  EXPECT_THROW(list.InsertValueAt(2, 1.0), EValueListIndexError);
  EXPECT_EQ(Values(list), (std::vector<double>{7}));
  list.InsertValueAt(1, 8.0);
  list.InsertValueAt(0, 6.0);
  EXPECT_EQ(Values(list), (std::vector<double>{6, 7, 8}));
  try {
    list.Value(5);
  } catch (const EValueListIndexError &e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (5)");
  }
}

TEST(ChartValueList, DeleteMoveAndNumber) {
  FakeSeries series;
  TChartValueList list(&series, "Y");
  for (double v : {5.0, 6.0, 7.0})
    list.StoreValue(v);
  list.MoveFirstToLast();
  EXPECT_EQ(Values(list), (std::vector<double>{6, 7, 5}));
  EXPECT_EQ(list.FinalValue(), 5.0);
  list.Delete(0);
  EXPECT_EQ(Values(list), (std::vector<double>{7, 5}));
  list.NumberSequentially();
  EXPECT_EQ(Values(list), (std::vector<double>{0, 1}));
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  list.MoveFirstToLast();
  EXPECT_EQ(list.Count(), 0);
}

TEST(ChartValueList, AssignCopiesSettingsOnly) {
  FakeSeries series;
  TChartValueList source(nullptr, "Open");
  source.SetOrder(loDescending);
  source.SetDateTime(true);
  source.SetMultiplier(4.0);
  source.SetValueSource("High");
  source.StoreValue(1.0);
  TChartValueList target(&series, "Close");
  target.StoreValue(9.0);
  target.Assign(source);
  EXPECT_EQ(target.Name(), "Close");
  EXPECT_EQ(target.Order(), loDescending);
  EXPECT_TRUE(target.DateTime());
  EXPECT_EQ(target.Multiplier(), 4.0);
  EXPECT_EQ(target.ValueSource(), "High");
  EXPECT_EQ(target.Count(), 1);
  EXPECT_EQ(target.LargestValue(), 36.0);
}

TEST(ChartValueList, PropertyWritersNotifyTheOwner) {
  FakeSeries series;
  TChartValueList list(&series, "X");
  list.SetDateTime(true);
  list.SetDateTime(true);
  list.SetValueSource("Close");
  list.SetValueSource("Close");
  EXPECT_EQ(series.Log, (std::vector<std::string>{"repaint", "check source"}));
}

TEST(ChartValueList, SortMovesEveryParallelListThroughTheOwner) {
  FakeSeries series;
  TChartValueList x(&series, "X");
  TChartValueList y(&series, "Y");
  const double xs[] = {3, 1, 4, 1, 5, 9, 2, 6};
  for (double v : xs) {
    x.StoreValue(v);
    y.StoreValue(v * 10);
    series.Labels.push_back(std::to_string(static_cast<int>(v)));
  }
  x.SetOrder(loAscending);
  x.Sort();
  EXPECT_EQ(Values(x), (std::vector<double>{1, 1, 2, 3, 4, 5, 6, 9}));
  EXPECT_EQ(Values(y), (std::vector<double>{10, 10, 20, 30, 40, 50, 60, 90}));
  EXPECT_EQ(series.Labels, (std::vector<std::string>{"1", "1", "2", "3", "4", "5", "6", "9"}));
  x.SetOrder(loDescending);
  x.Sort();
  EXPECT_EQ(Values(x), (std::vector<double>{9, 6, 5, 4, 3, 2, 1, 1}));
  EXPECT_EQ(series.Labels.front(), "9");
}

TEST(ChartValueList, SortWithoutOrderChangesNothing) {
  FakeSeries series;
  TChartValueList x(&series, "X");
  for (double v : {3.0, 1.0, 2.0}) {
    x.StoreValue(v);
    series.Labels.push_back("");
  }
  x.Sort();
  EXPECT_EQ(Values(x), (std::vector<double>{3, 1, 2}));
  EXPECT_EQ(series.Exchanges, 0);
}

// Data that would drive a naive middle-pivot quicksort into deep recursion;
// the sort must finish with a shallow stack and a sorted result.
TEST(ChartValueList, SortOfLargeAdversarialDataStaysShallow) {
  TChartValueList x(nullptr, "X");
  const int n = 200000;
  for (int t = 0; t < n; ++t)
    x.StoreValue(t % 2 == 0 ? t : n - t);
  x.SetOrder(loAscending);
  x.Sort();
  for (int t = 1; t < n; ++t)
    ASSERT_LE(x.Value(t - 1), x.Value(t)) << t;
}

} // namespace
