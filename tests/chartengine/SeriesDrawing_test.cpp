#include "SeriesTestSupport.h"
#include "chartengine/canvas/ChartPalette.h"

#include <gtest/gtest.h>

namespace {

// A series whose points keep their own value on X: its ordering list is Y.
class XMainSeries : public RecordingSeries {
public:
  using RecordingSeries::RecordingSeries;
  TChartValueList &MainValueList() override { return XValues(); }
};

class BackwardsSeries : public RecordingSeries {
public:
  bool PointsDrawForward() override { return false; }
};

struct RangeCase {
  const char *Name;
  double Min, Max;
  bool Inverted;
  bool Trailing;
  int First, Last;
};

class VisibleRangeTest : public ::testing::TestWithParam<RangeCase> {};

TEST_P(VisibleRangeTest, RangeOfTenAscendingPoints) {
  const RangeCase &c = GetParam();
  StubAxisPanel chart;
  RecordingSeries s;
  s.SetParentChart(&chart);
  for (int x = 0; x <= 9; ++x)
    s.AppendPoint(x, 1);
  chart.SetPlotRect(TRect(0, 0, 100, 100));
  chart.Bottom->Min = c.Min;
  chart.Bottom->Max = c.Max;
  chart.Bottom->IsInverted = c.Inverted;
  s.KeepTrailingPoint = c.Trailing;
  s.FindVisibleRange();
  EXPECT_EQ(s.FirstVisibleIndex(), c.First);
  EXPECT_EQ(s.LastVisibleIndex(), c.Last);
}

INSTANTIATE_TEST_SUITE_P(
    Axes, VisibleRangeTest,
    ::testing::Values(RangeCase{"Middle", 2.5, 6.5, false, false, 3, 6},
                      RangeCase{"MiddleWithTrailingPoint", 2.5, 6.5, false, true, 3, 7},
                      RangeCase{"Inverted", 2.5, 6.5, true, false, 3, 6},
                      RangeCase{"OnPoints", 2, 6, false, false, 2, 6},
                      RangeCase{"AllOfThem", -5, 50, false, false, 0, 9},
                      RangeCase{"UpToTheLastPoint", 0, 9, false, false, 0, 9},
                      RangeCase{"PastTheData", 20, 30, false, false, -1, -1},
                      RangeCase{"BeforeTheData", -30, -20, false, false, 0, -1},
                      RangeCase{"BetweenTwoPoints", 2.5, 2.7, false, false, 3, 2}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST(SeriesDrawing, UnorderedOrUnlimitedPointsAreAllInRange) {
  StubAxisPanel chart;
  RecordingSeries s;
  s.SetParentChart(&chart);
  for (int x = 0; x <= 9; ++x)
    s.AppendPoint(x, 1);
  chart.Bottom->Min = 2.5;
  chart.Bottom->Max = 6.5;
  s.LimitRangeToAxis = false;
  s.FindVisibleRange();
  EXPECT_EQ(s.LastVisibleIndex() - s.FirstVisibleIndex(), 9);
  s.LimitRangeToAxis = true;
  s.XValues().SetOrder(loNone);
  s.FindVisibleRange();
  EXPECT_EQ(s.LastVisibleIndex() - s.FirstVisibleIndex(), 9);
  s.Clear();
  s.FindVisibleRange();
  EXPECT_EQ(s.FirstVisibleIndex(), -1);
  RecordingSeries loose;
  loose.Add(1);
  loose.FindVisibleRange();
  EXPECT_EQ(loose.LastVisibleIndex(), 0) << "no axis: every point";
}

TEST(SeriesDrawing, APointMainOnXIsLimitedByTheVerticalAxis) {
  StubAxisPanel chart;
  XMainSeries s;
  s.SetParentChart(&chart);
  s.YValues().SetOrder(loAscending);
  for (int y = 0; y <= 9; ++y)
    s.AppendPoint(1, y);
  chart.SetPlotRect(TRect(0, 0, 100, 100));
  chart.Left->Min = 2.5;
  chart.Left->Max = 6.5;
  s.FindVisibleRange();
  EXPECT_EQ(s.FirstVisibleIndex(), 3);
  EXPECT_EQ(s.LastVisibleIndex(), 6);
}

TEST(SeriesDrawing, OnlyTheVisiblePointsAreDrawnInTheSeriesDirection) {
  StubAxisPanel chart;
  RecordingSeries forward;
  BackwardsSeries backwards;
  forward.SetParentChart(&chart);
  backwards.SetParentChart(&chart);
  for (int x = 0; x < 1000; ++x) {
    forward.AppendPoint(x, 1);
    backwards.AppendPoint(x, 1);
  }
  chart.Bottom->Min = 10;
  chart.Bottom->Max = 13;
  TRecordingCanvas rec;
  chart.DrawOn(rec);
  EXPECT_EQ(forward.Drawn, (std::vector<int>{10, 11, 12, 13}));
  EXPECT_EQ(backwards.Drawn, (std::vector<int>{13, 12, 11, 10}));
}

TEST(SeriesDrawing, ScreenPositionsGoThroughTheChosenAxes) {
  StubAxisPanel chart;
  TChartSeries s;
  EXPECT_EQ(s.HorizAxisObject(), nullptr);
  EXPECT_EQ(s.XValueToScreen(5), 0) << "no chart, no axis";
  s.SetParentChart(&chart);
  s.AppendPoint(25, 40);
  chart.Bottom->Start = 10;
  chart.Bottom->End = 210;
  EXPECT_EQ(s.HorizAxisObject(), chart.Bottom.get());
  EXPECT_EQ(s.VertAxisObject(), chart.Left.get());
  EXPECT_EQ(s.PointScreenX(0), 60);
  EXPECT_EQ(s.PointScreenY(0), 60);
  EXPECT_EQ(s.ValueToScreen(40), 60);
  EXPECT_EQ(s.XScreenToValue(60), 25);
  s.SetHorizAxis(aTopAxis);
  s.SetVertAxis(aRightAxis);
  EXPECT_EQ(s.HorizAxisObject(), chart.Top.get());
  EXPECT_EQ(s.VertAxisObject(), chart.Right.get());
  StubAxis custom(true);
  s.SetHorizAxis(aCustomHorizAxis);
  EXPECT_EQ(s.HorizAxisObject(), chart.Bottom.get()) << "no custom axis set";
  s.SetCustomHorizAxis(&custom);
  EXPECT_EQ(s.HorizAxisObject(), &custom);
  s.SetHorizAxis(aBothHorizAxis);
  EXPECT_TRUE(s.IsOnAxis(chart.Top.get()));
  EXPECT_TRUE(s.IsOnAxis(chart.Bottom.get()));
  EXPECT_TRUE(s.IsOnAxis(chart.Right.get()));
  EXPECT_FALSE(s.IsOnAxis(chart.Left.get()));
}

// ---- legend symbols ---------------------------------------------------------------

class LegendSymbolTest : public ::testing::Test {
protected:
  LegendSymbolTest() {
    series.SetParentChart(&chart);
    series.SetSeriesColor(clBlue);
    series.AppendPoint(1, 1, "", clRed);
    chart.Canvas().SetBufferedDisplay(false);
    chart.Canvas().BeginDraw(&rec, &chart.View3DOptions(), false, TRect(0, 0, 100, 100));
    chart.SetLegendColor(clWhite);
  }
  StubAxisPanel chart;
  TChartSeries series;
  TRecordingCanvas rec;
  const TRect symbol{10, 20, 30, 28};
};

TEST_F(LegendSymbolTest, TheSeriesSymbolIsARectangleInTheSeriesColour) {
  series.DrawLegendSymbol(-1, symbol);
  const auto boxes = rec.CallsNamed("Rectangle");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Args, (std::vector<int>{10, 20, 30, 28}));
  EXPECT_EQ(boxes[0].Brush.Color, clBlue);
  EXPECT_EQ(boxes[0].Brush.Style, bsSolid);
}

TEST_F(LegendSymbolTest, APointSymbolUsesThePointColour) {
  series.SetColorEachPoint(true);
  series.DrawLegendSymbol(0, symbol);
  EXPECT_EQ(rec.CallsNamed("Rectangle").at(0).Brush.Color, clRed);
  rec.Clear();
  series.DrawLegendSymbol(-1, symbol);
  EXPECT_EQ(rec.CountOf("Rectangle"), 0) << "no series symbol when points have colours";
}

TEST_F(LegendSymbolTest, NullPointsHaveNoSymbol) {
  series.AppendNullPoint();
  series.DrawLegendSymbol(1, symbol);
  EXPECT_EQ(rec.CountOf("Rectangle"), 0);
}

TEST_F(LegendSymbolTest, ASymbolInTheLegendColourKeepsAnOutline) {
  series.SetSeriesColor(clWhite);
  series.DrawLegendSymbol(-1, symbol);
  const auto boxes = rec.CallsNamed("Rectangle");
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].Brush.Style, bsClear);
  chart.SetLegendColor(clBlack);
  series.SetSeriesColor(clBlack);
  rec.Clear();
  series.DrawLegendSymbol(-1, symbol);
  ASSERT_EQ(rec.CountOf("Rectangle"), 2);
  EXPECT_EQ(rec.CallsNamed("Rectangle")[1].Pen.Color, clWhite);
  EXPECT_EQ(chart.Canvas().Pen().Color, clBlack);
}

class HatchedLegendSeries : public TChartSeries {
public:
  void SetUpLegendCanvas(int, TColor &backColor, TBrushStyle &style) override {
    backColor = clTeeColor;
    style = bsCross;
  }
};

TEST_F(LegendSymbolTest, ASeriesMaySetTheSymbolBrush) {
  HatchedLegendSeries hatched;
  hatched.SetParentChart(&chart);
  hatched.SetSeriesColor(clGreen);
  chart.SetLegendColor(clTeeColor);
  chart.SetColor(clYellow);
  hatched.DrawLegendSymbol(-1, symbol);
  const auto box = rec.CallsNamed("Rectangle").at(0);
  EXPECT_EQ(box.Brush.Style, bsCross);
  EXPECT_EQ(box.Brush.Color, clGreen);
  EXPECT_EQ(box.BkColor, clYellow) << "no legend colour: the chart's";
  EXPECT_EQ(box.BkMode, OPAQUE);
}

// ---- clicks, depth and the chart's list --------------------------------------------

TEST(SeriesClicks, ClickAndDoubleClickHandlers) {
  StubAxisPanel chart;
  TChartSeries s;
  s.SetParentChart(&chart);
  EXPECT_FALSE(s.FireSeriesClick(0, mbLeft, 0, 5, 6)) << "no handler";
  std::vector<std::string> seen;
  s.OnClick = [&](TChartSeries *, int index, TMouseButton, TShiftState, int x, int y) {
    seen.push_back("click " + std::to_string(index) + " " + std::to_string(x) + "," +
                   std::to_string(y));
  };
  EXPECT_TRUE(s.FireSeriesClick(3, mbLeft, ssLeft, 5, 6));
  EXPECT_TRUE(s.FireSeriesClick(3, mbLeft, ssDouble, 5, 6)) << "no double-click handler";
  s.OnDblClick = [&](TChartSeries *, int, TMouseButton, TShiftState, int, int) {
    seen.push_back("double");
    chart.SetCancelMouse(false); // lets the chart go on with its own action
  };
  EXPECT_FALSE(s.FireSeriesClick(3, mbLeft, ssDouble, 5, 6));
  EXPECT_EQ(seen, (std::vector<std::string>{"click 3 5,6", "click 3 5,6", "double"}));
}

TEST(SeriesDepth, DepthsInThreeDAndSharedDepths) {
  StubAxisPanel chart;
  TChartSeries a, b, c;
  for (TChartSeries *s : {&a, &b, &c})
    s->SetParentChart(&chart);
  chart.SetView3D(true);
  chart.SetDeepestIndex(-1);
  a.AssignDepthIndex();
  b.AssignDepthIndex();
  EXPECT_EQ(a.DepthIndex(), 0);
  EXPECT_EQ(b.DepthIndex(), 1);
  c.SetDepthIndex(4);
  c.AssignDepthIndex();
  EXPECT_EQ(chart.DeepestIndex(), 4);
  EXPECT_EQ(c.LargestZ(), 4);
  EXPECT_FALSE(a.SharesDepthWithOthers());
  c.SetDepthIndex(0);
  EXPECT_TRUE(a.SharesDepthWithOthers());
  c.ExcludedFromDepthTest = true;
  EXPECT_FALSE(a.SharesDepthWithOthers());
  chart.SetView3D(false);
  b.AssignDepthIndex();
  EXPECT_EQ(b.DepthIndex(), 0);
  b.ChangeView3D(true);
  EXPECT_TRUE(chart.View3D());
  EXPECT_FALSE(chart.ClipPoints());
}

TEST(AxisPanelSeries, AddedSeriesTakeTheFirstUnusedPaletteColour) {
  StubAxisPanel chart;
  TChartSeries a, b, c;
  b.SetSeriesColor(SeriesPaletteColor(1));
  a.SetParentChart(&chart);
  b.SetParentChart(&chart);
  chart.AddSeries(&c);
  EXPECT_EQ(a.SeriesColor(), SeriesPaletteColor(0));
  EXPECT_EQ(b.SeriesColor(), SeriesPaletteColor(1));
  EXPECT_EQ(c.SeriesColor(), SeriesPaletteColor(2));
  EXPECT_EQ(chart.SeriesCount(), 3);
  EXPECT_EQ(chart.Series(2), &c);
  EXPECT_EQ(c.ParentChart(), &chart);
  chart.AddSeries(&c);
  EXPECT_EQ(chart.SeriesCount(), 3) << "listed once";
}

TEST(AxisPanelSeries, ASeriesMovesBetweenChartsAndLeavesAGoneChart) {
  auto first = std::make_unique<StubAxisPanel>();
  StubAxisPanel second;
  TChartSeries s;
  s.SetParentChart(first.get());
  second.AddSeries(&s);
  EXPECT_EQ(first->SeriesCount(), 0);
  EXPECT_EQ(second.IndexOfSeries(&s), 0);
  EXPECT_EQ(s.ParentChart(), &second);
  s.SetParentChart(first.get());
  first.reset();
  EXPECT_EQ(s.ParentChart(), nullptr);
  s.Add(1); // no chart to repaint
  EXPECT_EQ(second.SeriesCount(), 0);
}

TEST(AxisPanelSeries, ADestroyedSeriesLeavesItsChart) {
  StubAxisPanel chart;
  auto s = std::make_unique<TChartSeries>();
  s->SetParentChart(&chart);
  s.reset();
  EXPECT_EQ(chart.SeriesCount(), 0);
}

TEST(AxisPanelSeries, ASeriesAddedAtDesignTimeGetsSampleValues) {
  StubAxisPanel chart;
  TChartSeries s;
  s.SetDesigning(true);
  s.SetParentChart(&chart);
  EXPECT_EQ(s.Count(), s.SamplePointCount());
  TChartSeries plain;
  plain.SetParentChart(&chart);
  EXPECT_EQ(plain.Count(), 0);
}

} // namespace
