#include "SeriesTestSupport.h"
#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/canvas/ChartPalette.h"
#include "chartengine/engine/ChartRandom.h"

#include <gtest/gtest.h>

namespace {

using Doubles = std::vector<double>;

// A series whose points keep their own value on X (like a horizontal bar).
class XMainSeries : public TChartSeries {
public:
  using TChartSeries::TChartSeries;
  TChartValueList &MainValueList() override { return XValues(); }
};

// A series with a third value list.
class HighSeries : public TChartSeries {
public:
  explicit HighSeries(TChartComponent *owner = nullptr) : TChartSeries(owner) {}
  int AddHigh(double x, double y, double high) {
    High.ScratchValue = high;
    return AppendPoint(x, y);
  }
  TChartValueList High{this, "High"};
};

TEST(ChartSeries, CreatedWithItsDefaults) {
  TChartSeries s;
  EXPECT_TRUE(s.Active());
  EXPECT_EQ(s.SeriesColor(), clTeeColor);
  EXPECT_FALSE(s.ColorEachPoint());
  EXPECT_EQ(s.XValues().Name(), "X");
  EXPECT_EQ(s.XValues().Order(), loAscending);
  EXPECT_EQ(s.YValues().Name(), "Y");
  EXPECT_EQ(s.YValues().Order(), loNone);
  EXPECT_EQ(s.ValueFormat(), "#,##0.###");
  EXPECT_EQ(s.PercentFormat(), "##0.## %");
  EXPECT_FALSE(s.IsValueFormatStored());
  EXPECT_EQ(s.HorizAxis(), aBottomAxis);
  EXPECT_EQ(s.VertAxis(), aLeftAxis);
  EXPECT_EQ(s.DepthIndex(), 0);
  EXPECT_EQ(s.FirstVisibleIndex(), -1);
  EXPECT_EQ(s.LastVisibleIndex(), -1);
  EXPECT_EQ(s.RecalcOptions(), rAllRecalcOptions);
  EXPECT_FALSE(s.Marks().Visible());
  EXPECT_EQ(s.Marks().Style(), smsLabel);
  EXPECT_EQ(s.SamplePointCount(), 26);
  EXPECT_EQ(s.AllValueLists().Count(), 2);
}

TEST(ChartSeries, AddNumbersThePointsOnX) {
  TChartSeries s;
  EXPECT_EQ(s.Add(5), 0);
  EXPECT_EQ(s.Add(7), 1);
  EXPECT_EQ(XsOf(s), (Doubles{0, 1}));
  EXPECT_EQ(YsOf(s), (Doubles{5, 7}));

  XMainSeries h;
  h.Add(5);
  h.Add(7);
  EXPECT_EQ(XsOf(h), (Doubles{5, 7}));
  EXPECT_EQ(YsOf(h), (Doubles{0, 1}));
}

TEST(ChartSeries, UnorderedPointsGoWhereXPutsThemWithTheirLabelsAndColours) {
  TChartSeries s;
  EXPECT_EQ(s.AppendPoint(3, 30, "c", clRed), 0);
  EXPECT_EQ(s.AppendPoint(1, 10, "a", clBlue), 0);
  EXPECT_EQ(s.AppendPoint(2, 20, "b", clGreen), 1);
  EXPECT_EQ(XsOf(s), (Doubles{1, 2, 3}));
  EXPECT_EQ(YsOf(s), (Doubles{10, 20, 30}));
  EXPECT_EQ(s.PointLabel(0), "a");
  EXPECT_EQ(s.PointLabel(1), "b");
  EXPECT_EQ(s.PointLabel(2), "c");
  EXPECT_EQ(s.StoredPointColor(0), clBlue);
  EXPECT_EQ(s.StoredPointColor(1), clGreen);
  EXPECT_EQ(s.StoredPointColor(2), clRed);
}

TEST(ChartSeries, UnorderedXKeepsTheOrderOfArrival) {
  TChartSeries s;
  s.XValues().SetOrder(loNone);
  s.AppendPoint(3, 30, "c");
  s.AppendPoint(1, 10, "a");
  EXPECT_EQ(XsOf(s), (Doubles{3, 1}));
  // Sorting later moves labels with their points.
  s.XValues().SetOrder(loAscending);
  s.XValues().Sort();
  EXPECT_EQ(XsOf(s), (Doubles{1, 3}));
  EXPECT_EQ(s.PointLabel(0), "a");
  EXPECT_EQ(s.PointLabel(1), "c");
}

TEST(ChartSeries, ARefusingOnBeforeAddChangesNothing) {
  TChartSeries s;
  s.Add(1, "one");
  int afterAdds = 0;
  s.OnAfterAdd = [&](TChartSeries *, int) { ++afterAdds; };
  s.OnBeforeAdd = [](TChartSeries *sender) { return sender->XValues().ScratchValue != 5; };
  EXPECT_EQ(s.AppendPoint(5, 50, "five", clRed), -1);
  EXPECT_EQ(s.Count(), 1);
  EXPECT_EQ(s.YValues().Count(), 1);
  EXPECT_EQ(s.PointLabel(1), "");
  EXPECT_EQ(afterAdds, 0);
  EXPECT_EQ(s.AppendPoint(6, 60), 1);
  EXPECT_EQ(afterAdds, 1);
}

TEST(ChartSeries, OnAfterAddGetsTheIndexOfTheNewPoint) {
  TChartSeries s;
  std::vector<int> indexes;
  s.OnAfterAdd = [&](TChartSeries *sender, int index) {
    EXPECT_EQ(sender, &s);
    indexes.push_back(index);
  };
  s.AppendPoint(2, 0);
  s.AppendPoint(1, 0);
  s.AppendPoint(3, 0);
  EXPECT_EQ(indexes, (std::vector<int>{0, 0, 2}));
}

TEST(ChartSeries, PointColours) {
  TChartSeries s;
  s.SetSeriesColor(clMaroon);
  s.Add(1, "", clRed);
  s.Add(2);
  // Without ColorEachPoint every point shows the series colour.
  EXPECT_EQ(s.PointColor(0), clMaroon);
  EXPECT_EQ(s.PointColor(1), clMaroon);
  s.SetColorEachPoint(true);
  EXPECT_EQ(s.PointColor(0), clRed);
  EXPECT_EQ(s.PointColor(1), SeriesPaletteColor(1)) << "automatic takes the palette";
  EXPECT_EQ(s.PointColor(7), clMaroon) << "beyond the points";
  EXPECT_EQ(s.PointColor(-1), clMaroon);
  s.SetColorEachPoint(false);
  s.SetColorEachPoint(true);
  EXPECT_EQ(s.PointColor(0), SeriesPaletteColor(0)) << "switching off reset the colours";
}

TEST(ChartSeries, NullPointsAreNeverDrawnWhateverColorEachPointSays) {
  TChartSeries s;
  s.SetSeriesColor(clBlue);
  s.Add(1);
  EXPECT_EQ(s.AppendNullPoint("gap"), 1);
  EXPECT_EQ(s.AppendNullPointAt(5, 9), 2);
  EXPECT_EQ(YsOf(s), (Doubles{1, 0, 9}));
  EXPECT_EQ(s.PointLabel(1), "gap");
  EXPECT_EQ(s.PointColor(1), clNone);
  EXPECT_EQ(s.PointColor(2), clNone);
  s.SetColorEachPoint(true);
  EXPECT_EQ(s.PointColor(1), clNone);
  s.SetColorEachPoint(false);
  EXPECT_EQ(s.PointColor(1), clNone) << "resetting colours keeps the gaps";
  EXPECT_EQ(s.PointColor(0), clBlue);
}

TEST(ChartSeries, LabelsAndColoursOfPointsCanBeChanged) {
  TChartSeries s;
  s.Add(1, "a");
  EXPECT_EQ(s.PointLabel(1), "");
  EXPECT_EQ(s.PointLabel(-1), "");
  s.SetPointLabel(0, "b");
  EXPECT_EQ(s.PointLabel(0), "b");
  s.SetPointColor(0, clLime);
  EXPECT_EQ(s.StoredPointColor(0), clLime);
  EXPECT_THROW(s.SetPointLabel(1, "x"), EValueListIndexError);
  EXPECT_THROW(s.SetPointColor(-1, clLime), EValueListIndexError);
}

TEST(ChartSeries, DeleteTakesThePointOutOfEveryList) {
  HighSeries s;
  s.AddHigh(1, 10, 100);
  s.AddHigh(2, 20, 200);
  s.AddHigh(3, 30, 300);
  s.SetPointLabel(1, "two");
  s.Delete(1);
  EXPECT_EQ(XsOf(s), (Doubles{1, 3}));
  EXPECT_EQ(YsOf(s), (Doubles{10, 30}));
  EXPECT_EQ(s.High.Count(), 2);
  EXPECT_EQ(s.High.Value(1), 300);
  EXPECT_EQ(s.PointLabel(0), "");
  EXPECT_EQ(s.PointLabel(1), "");
}

TEST(ChartSeries, DeletingOutsideThePointsRaisesAndKeepsThem) {
  TChartSeries s;
  s.Add(1, "a");
  EXPECT_THROW(s.Delete(1), EValueListIndexError);
  EXPECT_THROW(s.Delete(-1), EValueListIndexError);
  EXPECT_EQ(s.Count(), 1);
  EXPECT_EQ(s.YValues().Count(), 1);
  EXPECT_EQ(s.PointLabel(0), "a");
}

TEST(ChartSeries, ClearEmptiesEveryListAndFiresOnClearValues) {
  HighSeries s;
  s.AddHigh(1, 10, 100);
  int clears = 0;
  s.OnClearValues = [&](TChartSeries *sender) {
    EXPECT_EQ(sender->Count(), 0);
    ++clears;
  };
  s.Clear();
  EXPECT_EQ(clears, 1);
  EXPECT_EQ(s.Count(), 0);
  EXPECT_EQ(s.YValues().Count(), 0);
  EXPECT_EQ(s.High.Count(), 0);
  EXPECT_EQ(s.PointLabel(0), "");
}

TEST(ChartSeries, FurtherListsTakeTheirValueAtTheSortedIndex) {
  HighSeries s;
  s.AddHigh(3, 30, 300);
  s.AddHigh(1, 10, 100);
  EXPECT_EQ(s.High.Value(0), 100);
  EXPECT_EQ(s.High.Value(1), 300);
  EXPECT_EQ(&s.ValueListByName("high"), &s.High);
  EXPECT_EQ(&s.ValueListByName("Nothing"), &s.YValues());
  EXPECT_EQ(&s.ValueListByName("X"), &s.YValues()) << "only further lists are found by name";
}

TEST(ChartSeries, FillSampleValuesNeedsAtLeastOnePoint) {
  TChartSeries s;
  s.Add(1);
  try {
    s.FillSampleValues(0);
    FAIL() << "no exception";
  } catch (const ChartException &e) {
    EXPECT_STREQ(e.what(), "FillSampleValues NumValues must be > 0");
  }
  EXPECT_EQ(s.Count(), 1);
}

TEST(ChartSeries, SampleValuesWithoutAChartSpanTheirCount) {
  SeedChartRandom(7);
  TChartSeries s;
  s.FillSampleValues(5);
  EXPECT_EQ(XsOf(s), (Doubles{0, 1, 2, 3, 4}));
  for (double y : YsOf(s))
    EXPECT_GE(y, 0);
  s.XValues().SetDateTime(true);
  s.FillSampleValues(3);
  const double today = DateOf(SystemNow());
  EXPECT_EQ(XsOf(s), (Doubles{today, today + 1, today + 2}));
  s.PrepareSample(false);
  EXPECT_EQ(s.Count(), 4);
  EXPECT_EQ(s.SeriesColor(), clSilver);
}

TEST(ChartSeries, SampleValuesInAChartFollowTheOtherSeries) {
  StubAxisPanel chart;
  TChartSeries other, s;
  other.SetParentChart(&chart);
  other.AppendPoint(10, 500);
  other.AppendPoint(20, 700);
  s.SetParentChart(&chart);
  const int repaints = chart.Repaints;
  s.FillSampleValues(3);
  EXPECT_EQ(XsOf(s), (Doubles{10, 15, 20}));
  EXPECT_TRUE(chart.IsCreated()) << "repaints are held only while filling";
  EXPECT_EQ(chart.Repaints, repaints + 2) << "one for the clear, one at the end";
}

struct MarkTextCase {
  const char *Name;
  TSeriesMarksStyle Style;
  int Index;
  const char *Text;
};

class MarkTextTest : public ::testing::TestWithParam<MarkTextCase> {};

TEST_P(MarkTextTest, TextOfEachStyle) {
  TChartSeries s;
  s.AppendPoint(1, 1, "one");
  s.AppendPoint(2, -3);
  s.AppendPoint(3, 1234.5, "big");
  s.Marks().SetStyle(GetParam().Style);
  EXPECT_EQ(s.MarkText(GetParam().Index), GetParam().Text);
}

// Magnitudes 1 + 3 + 1234.5 = 1238.5.
INSTANTIATE_TEST_SUITE_P(
    Styles, MarkTextTest,
    ::testing::Values(MarkTextCase{"Value", smsValue, 2, "1,234.5"},
                      MarkTextCase{"NegativeValue", smsValue, 1, "-3"},
                      MarkTextCase{"PercentOfMagnitudes", smsPercent, 1, "0.24 %"},
                      MarkTextCase{"Label", smsLabel, 0, "one"},
                      MarkTextCase{"EmptyLabelShowsTheValue", smsLabel, 1, "-3"},
                      MarkTextCase{"LabelPercent", smsLabelPercent, 2, "big 99.68 %"},
                      MarkTextCase{"LabelValue", smsLabelValue, 0, "one 1"},
                      MarkTextCase{"PercentTotal", smsPercentTotal, 0, "0.08 % of 1,238.5"},
                      MarkTextCase{"LabelPercentTotal", smsLabelPercentTotal, 1,
                                   "-3 0.24 % of 1,238.5"},
                      MarkTextCase{"XValueWithoutAxis", smsXValue, 2, "3"},
                      MarkTextCase{"LegendWithoutChart", smsLegend, 0, ""}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST(ChartSeries, PercentMarksUseMagnitudes) {
  TChartSeries s;
  s.Add(1);
  s.Add(-3);
  s.Marks().SetStyle(smsPercent);
  EXPECT_EQ(s.MarkText(0), "25 %");
  EXPECT_EQ(s.MarkText(1), "75 %");
  s.Clear();
  s.Add(0);
  EXPECT_EQ(s.MarkText(0), "100 %") << "a zero total counts as 100 percent";
}

TEST(ChartSeries, MarkTextsOfTheChartAndItsAxisAndTheEvent) {
  StubAxisPanel chart;
  TChartSeries s;
  s.SetParentChart(&chart);
  s.AppendPoint(2.5, 7);
  s.Marks().SetStyle(smsXValue);
  EXPECT_EQ(s.MarkText(0), "L2.5");
  s.Marks().SetStyle(smsLegend);
  EXPECT_EQ(s.MarkText(0), "legend 0");
  s.OnGetMarkText = [](TChartSeries *, int index, std::string &text) {
    text += "!" + std::to_string(index);
  };
  EXPECT_EQ(s.MarkText(0), "legend 0!0");
}

struct LegendTextCase {
  const char *Name;
  TLegendTextStyle Style;
  const char *Text;
};

class LegendTextTest : public ::testing::TestWithParam<LegendTextCase> {};

TEST_P(LegendTextTest, TextOfEachStyle) {
  TChartSeries s;
  s.AppendPoint(4, 1, "up");
  s.AppendPoint(5, -3, "down");
  // Percentages keep their sign: -3 of 4 is -75.
  EXPECT_EQ(s.LegendTextOf(1, GetParam().Style), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, LegendTextTest,
    ::testing::Values(LegendTextCase{"Plain", ltsPlain, "down"},
                      LegendTextCase{"LeftValue", ltsLeftValue, "-3 down"},
                      LegendTextCase{"RightValue", ltsRightValue, "down -3"},
                      LegendTextCase{"LeftPercent", ltsLeftPercent, "-75 % down"},
                      LegendTextCase{"RightPercent", ltsRightPercent, "down -75 %"},
                      LegendTextCase{"XValue", ltsXValue, "5"}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST(ChartSeries, PropertyWritersRepaintOnlyOnChange) {
  StubAxisPanel chart;
  TChartSeries s;
  s.SetParentChart(&chart);
  chart.Repaints = 0;
  s.SetTitle("Price");
  s.SetTitle("Price");
  s.SetActive(false);
  s.SetActive(false);
  s.SetValueFormat("0.00");
  s.SetShowInLegend(false);
  s.Marks().SetVisible(true);
  s.Marks().SetVisible(true);
  s.Marks().Frame().SetColor(clRed);
  EXPECT_EQ(chart.Repaints, 6);
  EXPECT_TRUE(s.IsValueFormatStored());
}

TEST(ChartSeries, AddingPointsRepaintsOnlyAnActiveSeries) {
  StubAxisPanel chart;
  TChartSeries s;
  s.SetParentChart(&chart);
  chart.Repaints = 0;
  s.Add(1);
  EXPECT_EQ(chart.Repaints, 1);
  s.SetActive(false);
  chart.Repaints = 0;
  s.Add(2);
  EXPECT_EQ(chart.Repaints, 0);
}

TEST(ChartSeries, StackBaseSumsTheSeriesOfTheSameClassBeforeThisOne) {
  StubAxisPanel chart;
  TChartSeries a, b, c;
  XMainSeries other;
  for (TChartSeries *s :
       {static_cast<TChartSeries *>(&a), static_cast<TChartSeries *>(&other), &b, &c})
    s->SetParentChart(&chart);
  a.Add(1);
  a.Add(10);
  other.Add(100);
  b.Add(2);
  c.Add(4);
  EXPECT_EQ(c.StackBaseAt(0, false), 1 + 100 + 2) << "XMainSeries derives from TChartSeries";
  EXPECT_EQ(c.StackBaseAt(0, true), 1 + 100 + 2 + 4);
  EXPECT_EQ(c.StackBaseAt(1, false), 10) << "only series with the point count";
  b.SetActive(false);
  EXPECT_EQ(c.StackBaseAt(0, false), 101);
  EXPECT_TRUE(a.SameClass(other));
  EXPECT_EQ(TChartSeries().StackBaseAt(0, true), 0) << "no chart";
}

TEST(ChartSeries, StreamedPropertiesRoundTrip) {
  StubAxisPanel chart;
  TChartComponent form;
  TChartSeries source(&form), series(&form);
  source.SetName("Prices");
  source.SetParentChart(&chart);
  series.SetParentChart(&chart);
  series.SetDataSource(&source);
  series.SetIdentifier("avg");
  series.SetStyle(0x25);

  MapFiler writer(false);
  series.DefineProperties(writer);
  EXPECT_EQ(std::get<std::vector<std::string>>(writer.Values["DataSources"]),
            (std::vector<std::string>{"Prices"}));
  EXPECT_EQ(std::get<std::string>(writer.Values["Identifier"]), "avg");
  EXPECT_EQ(std::get<int>(writer.Values["Style"]), 0x25);

  MapFiler empty(false);
  TChartSeries plain;
  plain.DefineProperties(empty);
  EXPECT_TRUE(empty.Values.empty()) << "nothing to store";

  TChartSeries read(&form);
  read.SetParentChart(&chart);
  read.SetLoading(true);
  MapFiler reader(true);
  reader.Values = writer.Values;
  reader.Values["Style"] = 0xFF;
  read.DefineProperties(reader);
  EXPECT_EQ(read.Identifier(), "avg");
  EXPECT_EQ(read.Style(), 0x3Fu) << "six flags";
  EXPECT_EQ(read.DataSource(), nullptr) << "names resolve when loaded";
  source.Add(42);
  read.Loaded();
  EXPECT_FALSE(read.Loading());
  EXPECT_EQ(read.DataSource(), &source);
  EXPECT_EQ(YsOf(read), (Doubles{42}));
}

} // namespace
