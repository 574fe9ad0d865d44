// Where the chart control puts its titles, its legend, its axes and the plot.
#include "ChartControlSupport.h"
#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/canvas/ChartMath.h"

#include <gtest/gtest.h>

namespace {

TEST(ChartTitles, ThreeLinesEachTakeTheirHeightPlusFivePixels) {
  for (const TRect size : {TRect(0, 0, 400, 250), TRect(0, 0, 640, 480), TRect(0, 0, 300, 200)}) {
    LayoutChart chart;
    chart.Title().SetText({"one", "two lines", "three"});
    chart.Foot().SetText({"a", "b", "c"});
    chart.Draw(size.Width(), size.Height());
    const int h = LineHeightOf(chart.Title().Font().Font());
    const TRect before = chart.BeforeTitles;
    EXPECT_EQ(chart.Title().BlockRect(),
              TRect(before.Left, before.Top, before.Right, before.Top + 3 * h));
    EXPECT_EQ(chart.Foot().BlockRect(),
              TRect(before.Left, before.Bottom - 3 * h, before.Right, before.Bottom));
    EXPECT_EQ(chart.AfterTitles,
              TRect(before.Left, before.Top + 3 * h + 5, before.Right, before.Bottom - 3 * h - 5));
  }
}

TEST(ChartTitles, AVisibleFrameAddsItsWidthAndTheBlockFitsTheText) {
  LayoutChart chart;
  chart.Title().SetText({"Title"});
  chart.Title().Frame().SetVisible(true);
  chart.Title().Frame().SetWidth(2);
  chart.Foot().SetVisible(false);
  chart.Draw();
  const TFont &font = chart.Title().Font().Font();
  const int h = LineHeightOf(font);
  const int width = TextWidthOf(font, "Title") + TextWidthOf(font, "W");
  const int centre = (12 + 2 + 388 - 2) / 2;
  EXPECT_EQ(chart.Title().BlockRect(),
            TRect(centre - width / 2, 10, centre - width / 2 + width, 10 + 2 + h + 2));
  EXPECT_EQ(chart.AfterTitles.Top, 10 + 2 + h + 2 + 5);
  EXPECT_EQ(chart.AfterTitles.Bottom, 240) << "the hidden foot takes nothing";
}

TEST(ChartTitles, TextIsPlacedByAlignmentInTheTitleFont) {
  LayoutChart chart;
  chart.Title().SetText({"Left"});
  chart.Title().SetAlignment(taLeftJustify);
  chart.Foot().SetText({"Right"});
  chart.Foot().SetAlignment(taRightJustify);
  chart.Draw();
  const TFont &font = chart.Title().Font().Font();
  const int w = TextWidthOf(font, "W");
  const int h = LineHeightOf(font);
  std::vector<TCanvasCall> texts = chart.Rec.CallsNamed("TextOut");
  auto find = [&](const std::string &text) {
    for (const TCanvasCall &c : texts)
      if (c.Text == text)
        return c;
    ADD_FAILURE() << text << " not drawn";
    return TCanvasCall();
  };
  const TCanvasCall left = find("Left");
  EXPECT_EQ(left.Args, (std::vector<int>{12 + w / 2, 10}));
  EXPECT_EQ(left.Font.Color, clBlue);
  const TCanvasCall right = find("Right");
  EXPECT_EQ(right.Args, (std::vector<int>{388 - TextWidthOf(font, "Right") - w / 2, 240 - h}));
}

TEST(ChartTitles, EmptyTitlesTakeNoRoom) {
  LayoutChart chart;
  chart.Draw();
  EXPECT_EQ(chart.AfterTitles, TRect(12, 10, 388, 240));
  EXPECT_TRUE(chart.Title().BlockRect().IsEmpty());
}

// ---- legend --------------------------------------------------------------------------

struct LegendChart : LayoutChart {
  LegendChart() {
    A.SetTitle("Alpha");
    B.SetTitle("Beta Gamma");
    A.Add(1);
    B.Add(2);
    A.SetParentChart(this);
    B.SetParentChart(this);
  }
  int H() { return LineHeightOf(Legend().Font().Font()); }
  int TextW(const std::string &s) { return TextWidthOf(Legend().Font().Font(), s); }
  DotSeries A, B;
};

TEST(ChartLegend, RightLegendOfTwoSeries) {
  LegendChart chart;
  chart.Draw();
  const int h = chart.H();
  const int textW = chart.TextW("Beta Gamma");
  const int right = 388 - 2 - 3; // frame width + 1, shadow
  const int xText = right - textW - 2;
  const int symbolW = PixelRound((textW + 10) * 12 * 0.01);
  const int left = xText - symbolW - 4 - 4;
  EXPECT_EQ(chart.Legend().ResolvedStyle(), lsSeries);
  EXPECT_EQ(chart.Legend().RowCount(), 2);
  EXPECT_EQ(chart.Legend().FrameRect(), TRect(left, 25, right, 25 + 2 + 2 * h));
  EXPECT_EQ(chart.AfterTitles.Right, left - MulDiv(3, 376, 100));
  EXPECT_EQ(chart.AfterTitles.Left, 12);

  // Texts at xText, one line apart; the symbols left of them.
  std::vector<TCanvasCall> texts = chart.Rec.CallsNamed("TextOut");
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[0].Text, "Alpha");
  EXPECT_EQ(texts[0].Args, (std::vector<int>{xText, 26}));
  EXPECT_EQ(texts[1].Text, "Beta Gamma");
  EXPECT_EQ(texts[1].Args, (std::vector<int>{xText, 26 + h}));
}

TEST(ChartLegend, SideLegendOfManyValuesMeasuresOnlyTheRowsItShows) {
  LayoutChart chart;
  DotSeries series;
  for (int i = 0; i < 20000; ++i)
    series.Add(i % 97);
  series.SetParentChart(&chart);
  chart.Rec.SetLogMeasurements(true);
  chart.Draw();
  ASSERT_EQ(chart.Legend().ResolvedStyle(), lsValues);
  ASSERT_GT(chart.Legend().RowCount(), 0);
  // One value series: the legend lists values, but only the rows that fit
  // are measured, not all 20,000.
  EXPECT_LT(chart.Rec.CountOf("TextExtent"), 1000);
}

TEST(ChartLegend, LeftLegendTakesTheLeftSide) {
  LegendChart chart;
  chart.Legend().SetAlignment(laLeft);
  chart.Draw();
  const int textW = chart.TextW("Beta Gamma");
  const int left = 12 + 2;
  const int symbolW = PixelRound((textW + 10) * 12 * 0.01);
  const int right = left + 4 + symbolW + 4 + textW + 2;
  EXPECT_EQ(chart.Legend().FrameRect().Left, left);
  EXPECT_EQ(chart.Legend().FrameRect().Right, right);
  EXPECT_EQ(chart.AfterTitles.Left, right + MulDiv(3, 376, 100));
}

TEST(ChartLegend, TopAndBottomLegendsAreCentredRowsOfColumns) {
  for (TLegendAlignment side : {laTop, laBottom}) {
    LegendChart chart;
    chart.Legend().SetAlignment(side);
    chart.Legend().SetTopPos(0);
    chart.Draw();
    const int h = chart.H();
    EXPECT_EQ(chart.Legend().ColumnCount(), 2);
    EXPECT_EQ(chart.Legend().RowCount(), 1);
    const TRect r = chart.Legend().FrameRect();
    EXPECT_NEAR((r.Left + r.Right) / 2, 200, 1) << "TopPos 0 centres a horizontal legend";
    if (side == laTop) {
      EXPECT_EQ(r.Top, 10 + 2);
      EXPECT_EQ(r.Bottom, 12 + 2 + h);
      EXPECT_EQ(chart.AfterTitles.Top, r.Bottom + 3 + MulDiv(4, 230, 100));
    } else {
      EXPECT_EQ(r.Bottom, 240 - 3 - 2);
      EXPECT_EQ(r.Top, 235 - 2 - h);
      EXPECT_EQ(chart.AfterTitles.Bottom, r.Top - MulDiv(4, 230, 100));
    }
  }
}

TEST(ChartLegend, TopLegendRowsAreLimitedByMaxNumRows) {
  // One series of 25 points lists its points; the width gives 4 columns.
  LayoutChart chart;
  DotSeries s;
  for (int t = 0; t < 25; ++t)
    s.Add(t, "P");
  s.SetParentChart(&chart);
  chart.Legend().SetAlignment(laTop);
  chart.Legend().SetTextStyle(ltsPlain);
  chart.SetAxisVisible(false);
  chart.SetMarginLeft(0);
  chart.SetMarginRight(0);
  const int textW = TextWidthOf(chart.Legend().Font().Font(), "P") + 4;
  const int itemSize = textW + PixelRound(12 * textW * 0.01) + 8;
  const int width = 2 + 8 + 4 * itemSize + itemSize / 2;
  chart.Draw(width, 600);
  EXPECT_EQ(chart.Legend().ResolvedStyle(), lsValues);
  EXPECT_EQ(chart.Legend().ColumnCount(), 4);
  EXPECT_EQ(chart.Legend().RowCount(), 7);
  chart.Legend().SetMaxNumRows(5);
  chart.Draw(width, 600);
  EXPECT_EQ(chart.Legend().RowCount(), 5);
  int items = 0;
  for (const TCanvasCall &c : chart.Rec.CallsNamed("TextOut"))
    items += c.Text == "P";
  EXPECT_EQ(items, 20);
}

TEST(ChartLegend, WithoutItemsNothingIsDrawnAndThePlotKeepsItsRoom) {
  LegendChart chart;
  chart.Legend().SetFirstValue(5);
  chart.Draw();
  EXPECT_EQ(chart.Legend().TotalItems(), 0);
  EXPECT_EQ(chart.AfterTitles, TRect(12, 10, 388, 240));
  for (const TCanvasCall &c : chart.Rec.CallsNamed("TextOut"))
    EXPECT_NE(c.Text, "Alpha");
}

TEST(ChartLegend, HiddenLegendOrNoActiveSeriesLeavesThePlot) {
  LegendChart chart;
  chart.Legend().SetVisible(false);
  chart.Draw();
  EXPECT_EQ(chart.AfterTitles, TRect(12, 10, 388, 240));
  chart.Legend().SetVisible(true);
  chart.A.SetActive(false);
  chart.B.SetActive(false);
  chart.Draw();
  EXPECT_EQ(chart.AfterTitles, TRect(12, 10, 388, 240));
}

TEST(ChartLegend, NoResizeKeepsThePlotSideButStillTakesTheMargin) {
  LegendChart chart;
  chart.Legend().SetResizeChart(false);
  chart.Legend().SetHorizMargin(7);
  chart.Draw();
  EXPECT_EQ(chart.AfterTitles.Right, 388 - 7);
}

TEST(ChartLegend, OneSeriesListsItsPointsWithValues) {
  LayoutChart chart;
  DotSeries s;
  s.Add(12, "Alpha");
  s.Add(7.5, "Beta");
  s.SetParentChart(&chart);
  chart.Draw();
  EXPECT_EQ(chart.Legend().ResolvedStyle(), lsValues);
  EXPECT_EQ(chart.LegendItemText(0), "12 Alpha");
  EXPECT_EQ(chart.LegendItemText(1), "7.5 Beta");
  chart.Legend().SetTextStyle(ltsRightValue);
  EXPECT_EQ(chart.LegendItemText(1), "Beta 7.5");
}

TEST(ChartLegend, SeriesTitlesFallBackToNameAndNumber) {
  LegendChart chart;
  chart.A.SetTitle("");
  chart.A.SetName("PriceSeries");
  chart.B.SetTitle("");
  chart.Draw();
  EXPECT_EQ(chart.LegendItemText(0), "PriceSeries");
  EXPECT_EQ(chart.LegendItemText(1), "Series 1");
}

TEST(ChartLegend, LastValuesListEachLegendSeriesWithItsOwnText) {
  LayoutChart chart;
  DotSeries hidden, a, b;
  hidden.Add(99, "gone");
  hidden.SetShowInLegend(false);
  a.Add(1, "a1");
  a.Add(2, "a2");
  b.Add(5, "b1");
  for (DotSeries *s : {&hidden, &a, &b})
    s->SetParentChart(&chart);
  chart.Legend().SetLegendStyle(lsLastValues);
  chart.Legend().SetTextStyle(ltsPlain);
  chart.Draw();
  EXPECT_EQ(chart.Legend().TotalItems(), 2);
  EXPECT_EQ(chart.LegendItemText(0), "a2") << "the first legend series, not the first listed";
  EXPECT_EQ(chart.LegendItemText(1), "b1");
}

TEST(ChartLegend, EventsChangeTextsRectAndPositions) {
  LegendChart chart;
  chart.OnGetLegendText = [](TCustomAxisPanel *, TLegendStyle style, int index, std::string &t) {
    if (style == lsSeries && index == 1)
      t = "Changed";
  };
  chart.OnGetLegendRect = [](TCustomChart *, TRect &r) { r = r.Offset(-10, 0); };
  chart.OnGetLegendPos = [](TCustomChart *, int index, int &x, int &y, int &) {
    if (index == 0) {
      x = 300;
      y = 100;
    }
  };
  chart.Draw();
  bool changed = false, moved = false;
  for (const TCanvasCall &c : chart.Rec.CallsNamed("TextOut")) {
    changed |= c.Text == "Changed";
    moved |= c.Text == "Alpha" && c.Args == std::vector<int>{300, 100};
  }
  EXPECT_TRUE(changed);
  EXPECT_TRUE(moved);
  const int textW = chart.TextW("Changed");
  const int xText = 383 - textW - 2;
  const int left = xText - PixelRound((textW + 10) * 12 * 0.01) - 8;
  EXPECT_EQ(chart.Legend().FrameRect().Left, left - 10);
}

TEST(ChartLegend, FrameShadowAndSymbols) {
  LegendChart chart;
  chart.Draw();
  const TRect r = chart.Legend().FrameRect();
  // The shadow: 3 pixels down and right, beyond the 1-pixel frame.
  bool shadow = false;
  for (const TCanvasCall &c : chart.Rec.CallsNamed("FillRect"))
    shadow |= c.Args == std::vector<int>{r.Left + 3, r.Top + 3, r.Right + 4, r.Bottom + 4} &&
              c.Brush.Color == clBlack;
  EXPECT_TRUE(shadow);
  bool frame = false;
  for (const TCanvasCall &c : chart.Rec.CallsNamed("Rectangle"))
    frame |= c.Args == std::vector<int>{r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1} &&
             c.Brush.Color == clWhite && c.Pen.Color == clBlack;
  EXPECT_TRUE(frame);
  // The symbol of the first series in its colour, left of its text.
  const int h = chart.H();
  const int xText = r.Right - chart.TextW("Beta Gamma") - 2;
  const int symbolW = chart.Legend().SymbolWidth();
  bool symbol = false;
  for (const TCanvasCall &c : chart.Rec.CallsNamed("Rectangle"))
    symbol |= c.Args == std::vector<int>{xText - 4 - symbolW, r.Top + 1 + 2, xText - 4,
                                         r.Top + 1 + h - 2} &&
              c.Brush.Color == chart.A.SeriesColor();
  EXPECT_TRUE(symbol);
}

// ---- exceptions ---------------------------------------------------------------------

struct LegendLimit {
  const char *Name;
  std::function<void(TChartLegend &, int)> Set;
  std::function<int(const TChartLegend &)> Get;
  int Bad;
  int Good;
  const char *Message;
};

class LegendLimits : public ::testing::TestWithParam<LegendLimit> {};

TEST_P(LegendLimits, RaiseWithTheCatalogueTextAndKeepTheValue) {
  const LegendLimit &p = GetParam();
  TChart chart;
  TChartLegend &legend = chart.Legend();
  p.Set(legend, p.Good);
  try {
    p.Set(legend, p.Bad);
    FAIL() << "no exception";
  } catch (const LegendException &e) {
    EXPECT_STREQ(e.what(), p.Message);
  }
  EXPECT_EQ(p.Get(legend), p.Good);
}

INSTANTIATE_TEST_SUITE_P(
    Legend, LegendLimits,
    ::testing::Values(LegendLimit{"TopPosAbove", [](TChartLegend &l, int v) { l.SetTopPos(v); },
                                  [](const TChartLegend &l) { return l.TopPos(); }, 101, 100,
                                  "Top Legend Position must be between 0 and 100 %"},
                      LegendLimit{"TopPosBelow", [](TChartLegend &l, int v) { l.SetTopPos(v); },
                                  [](const TChartLegend &l) { return l.TopPos(); }, -1, 0,
                                  "Top Legend Position must be between 0 and 100 %"},
                      LegendLimit{"ColorWidth", [](TChartLegend &l, int v) { l.SetColorWidth(v); },
                                  [](const TChartLegend &l) { return l.ColorWidth(); }, 101, 0,
                                  "Legend Color Width must be between 0 and 100 %"},
                      LegendLimit{"FirstValue", [](TChartLegend &l, int v) { l.SetFirstValue(v); },
                                  [](const TChartLegend &l) { return l.FirstValue(); }, -1, 0,
                                  "First Legend Value must be > 0"}),
    [](const auto &info) { return std::string(info.param.Name); });

// ---- axes and plot ------------------------------------------------------------------

TEST(ChartLayout, AxesTakeTheirRoomFromThePlotIn2D) {
  for (const TRect size : {TRect(0, 0, 400, 250), TRect(0, 0, 600, 300)}) {
    LayoutChart chart;
    chart.SetView3D(false);
    chart.Legend().SetVisible(false);
    DotSeries s;
    for (int t = 0; t <= 10; ++t)
      s.Add(t * 10);
    s.SetParentChart(&chart);
    chart.Draw(size.Width(), size.Height());
    const TRect plot = chart.PlotRect();
    const TRect before = chart.AfterTitles;
    auto *left = chart.LeftAxis();
    auto *bottom = chart.BottomAxis();
    EXPECT_EQ(plot.Left, left->AxisLinePos());
    EXPECT_EQ(plot.Bottom, bottom->AxisLinePos());
    EXPECT_EQ(plot.Top, before.Top) << "the top and right axes show no series";
    EXPECT_EQ(plot.Right, before.Right);
    const int ticks =
        left->Axis().Width() + left->TickLength() + ChartAxisSwitches().ExtraAxisMargin;
    EXPECT_EQ(plot.Left, before.Left + left->WidestLabel() + ticks);
    EXPECT_EQ(plot.Bottom, before.Bottom - LineHeightOf(bottom->LabelsFont().Font()) - ticks);
    EXPECT_EQ(left->StartPixel(), plot.Top);
    EXPECT_EQ(left->EndPixel(), plot.Bottom);
    EXPECT_EQ(bottom->StartPixel(), plot.Left);
    EXPECT_EQ(bottom->EndPixel(), plot.Right);
    EXPECT_EQ(left->CurMinimum(), 0);
    EXPECT_EQ(left->CurMaximum(), 100);
  }
}

TEST(ChartLayout, ThreeDimensionalViewLeavesRoomForTheDepth) {
  LayoutChart chart;
  chart.Legend().SetVisible(false);
  DotSeries a, b;
  a.Add(1);
  b.Add(2);
  a.SetParentChart(&chart);
  b.SetParentChart(&chart);
  chart.Draw();
  const int offset = PixelRound(376 * 15 * 0.001);
  EXPECT_EQ(chart.DepthOffsetX(), offset);
  EXPECT_EQ(chart.DeepestIndex(), 1);
  EXPECT_EQ(chart.DepthWidth(), 2 * offset);
  EXPECT_EQ(chart.DepthHeight(), 2 * offset);
  // The first series lies behind the second.
  EXPECT_EQ(a.FrontDepth(), offset);
  EXPECT_EQ(a.BackDepth(), 2 * offset);
  EXPECT_EQ(a.MidDepth(), (3 * offset) / 2);
  EXPECT_EQ(b.FrontDepth(), 0);
  EXPECT_EQ(chart.AfterAxes.Right, 388 - 2 * offset);
  EXPECT_LT(chart.AfterAxes.Top, 10 + 2 * offset + 1);

  chart.View3DOptions().SetOrthogonal(false);
  chart.Draw();
  EXPECT_EQ(chart.DepthOffsetX(), PixelRound(376 * 15 * 0.002));
  EXPECT_EQ(chart.AfterAxes.Right, 388) << "only an orthogonal view gives up the depth";

  chart.SetView3D(false);
  chart.Draw();
  EXPECT_EQ(chart.DepthWidth(), 0);
  EXPECT_EQ(a.FrontDepth(), 0);
  EXPECT_EQ(b.BackDepth(), 0);
}

TEST(ChartLayout, WallsIn2DAnd3D) {
  LayoutChart chart;
  chart.Legend().SetVisible(false);
  chart.SetView3D(false);
  chart.Draw();
  const TRect p = chart.PlotRect();
  bool back = false;
  for (const TCanvasCall &c : chart.Rec.CallsNamed("Rectangle"))
    back |= c.Args == std::vector<int>{p.Left, p.Top, p.Right + 1, p.Bottom} &&
            c.Brush.Style == bsClear;
  EXPECT_TRUE(back) << "the 2-D back wall is the plot's frame";

  chart.SetView3D(true);
  chart.LeftWall().SetSize(4);
  chart.Draw();
  // The thick left wall is a shaded box in its light yellow.
  bool yellow = false;
  for (const TCanvasCall &c : chart.Rec.CallsNamed("Polygon"))
    yellow |= c.Brush.Color == TColor(0x80FFFF);
  EXPECT_TRUE(yellow);
  EXPECT_EQ(chart.WallSizeForAxis(chart.LeftAxis()), 4);
  chart.SetView3DWalls(false);
  EXPECT_EQ(chart.WallSizeForAxis(chart.LeftAxis()), 0);
}

} // namespace
