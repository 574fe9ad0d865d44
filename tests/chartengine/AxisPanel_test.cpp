// The axis panel: series list, ranges of series on axes, paging, depths and
// the drawing order, through the chart control.
#include "ChartControlSupport.h"
#include "chartengine/canvas/ChartCursors.h"
#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/canvas/ChartMath.h"
#include "chartengine/canvas/ChartPalette.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

void FillX(TChartSeries &s, int count, double step = 1.0) {
  for (int t = 0; t < count; ++t)
    s.AppendPoint(t * step, 100 + t);
}

// ---- series list ------------------------------------------------------------------

TEST(AxisPanelSeries, CountAndLookUp) {
  TChart chart;
  DotSeries a, b;
  EXPECT_EQ(chart.SeriesCount(), 0);
  EXPECT_EQ(chart.GetSeries(0), nullptr);
  a.SetParentChart(&chart);
  chart.AddSeries(&b);
  chart.AddSeries(&b);
  EXPECT_EQ(chart.SeriesCount(), 2);
  EXPECT_EQ(chart.GetSeries(0), &a);
  EXPECT_EQ(chart.GetSeries(1), &b);
  EXPECT_EQ(chart.GetSeries(2), nullptr);
  EXPECT_EQ(chart.GetSeries(-1), nullptr);
  EXPECT_EQ(b.ParentChart(), &chart);
  chart.RemoveSeries(&a);
  EXPECT_EQ(a.ParentChart(), nullptr);
  EXPECT_EQ(chart.SeriesCount(), 1);
  chart.RemoveAllSeries();
  EXPECT_EQ(chart.SeriesCount(), 0);
  EXPECT_EQ(b.ParentChart(), nullptr);
}

TEST(AxisPanelSeries, ASeriesFreedFirstLeavesTheList) {
  TChart chart;
  {
    DotSeries a;
    a.SetParentChart(&chart);
    EXPECT_EQ(chart.SeriesCount(), 1);
  }
  EXPECT_EQ(chart.SeriesCount(), 0);
}

TEST(AxisPanelSeries, AChartFreedFirstLeavesItsSeriesWithoutAChart) {
  DotSeries a;
  {
    TChart chart;
    a.SetParentChart(&chart);
  }
  EXPECT_EQ(a.ParentChart(), nullptr);
}

TEST(AxisPanelSeries, AutomaticColoursTakeTheFirstUnusedPaletteColour) {
  TChart chart;
  DotSeries a, b, c;
  a.SetParentChart(&chart);
  EXPECT_EQ(a.SeriesColor(), SeriesPaletteColor(0));
  b.SetParentChart(&chart);
  EXPECT_EQ(b.SeriesColor(), SeriesPaletteColor(1));
  a.SetSeriesColor(SeriesPaletteColor(2));
  c.SetParentChart(&chart);
  EXPECT_EQ(c.SeriesColor(), SeriesPaletteColor(0));
}

TEST(AxisPanelSeries, ColoursOfTheBackgroundAreNotGiven) {
  TChart chart;
  chart.SetColor(SeriesPaletteColor(0));
  chart.SetBackColor(SeriesPaletteColor(1));
  DotSeries a;
  a.SetParentChart(&chart);
  EXPECT_EQ(a.SeriesColor(), SeriesPaletteColor(2));
  EXPECT_FALSE(chart.IsColorUnused(SeriesPaletteColor(2), false));
  EXPECT_TRUE(chart.IsColorUnused(SeriesPaletteColor(0), false));
}

TEST(AxisPanelSeries, RemovingTheSeriesWhoseCursorShowsRestoresTheChartCursor) {
  TChart chart;
  chart.SetCursor(crCross);
  chart.Loaded();
  DotSeries a;
  a.SetCursor(crHandPoint);
  a.SetParentChart(&chart);
  chart.SetCursor(crHandPoint); // the mouse is over a point
  a.SetParentChart(nullptr);
  EXPECT_EQ(chart.Cursor(), crCross);
  EXPECT_EQ(chart.cursor().shape(), Qt::CrossCursor);
}

TEST(AxisPanelSeries, LegendSeriesTitles) {
  TChart chart;
  DotSeries a, hidden, b, c;
  a.SetTitle("First");
  hidden.SetTitle("Hidden");
  hidden.SetShowInLegend(false);
  b.SetName("SecondSeries");
  for (DotSeries *s : {&a, &hidden, &b, &c})
    s->SetParentChart(&chart);
  EXPECT_EQ(chart.LegendSeriesTitle(0), "First");
  EXPECT_EQ(chart.LegendSeriesTitle(1), "SecondSeries");
  EXPECT_EQ(chart.LegendSeriesTitle(2), "Series 2");
  EXPECT_EQ(chart.LegendSeriesTitle(3), "");
}

// ---- ranges -------------------------------------------------------------------------

TEST(AxisPanelRanges, SeriesOnAnAxisGiveItsRange) {
  TChart chart;
  DotSeries bottom, top, off;
  bottom.AppendPoint(2, 10);
  bottom.AppendPoint(5, -3);
  top.SetHorizAxis(aTopAxis);
  top.SetVertAxis(aRightAxis);
  top.AppendPoint(-7, 40);
  off.AppendPoint(100, 1000);
  off.SetActive(false);
  for (DotSeries *s : {&bottom, &top, &off})
    s->SetParentChart(&chart);
  EXPECT_EQ(chart.SmallestX(chart.BottomAxis()), 2);
  EXPECT_EQ(chart.LargestX(chart.BottomAxis()), 5);
  EXPECT_EQ(chart.SmallestY(chart.LeftAxis()), -3);
  EXPECT_EQ(chart.LargestY(chart.LeftAxis()), 10);
  EXPECT_EQ(chart.SmallestX(chart.TopAxis()), -7);
  EXPECT_EQ(chart.LargestY(chart.RightAxis()), 40);
  top.SetHorizAxis(aBothHorizAxis);
  EXPECT_EQ(chart.SmallestX(chart.BottomAxis()), -7);
  EXPECT_EQ(chart.FirstSeriesOnAxis(chart.RightAxis()), &top);
  EXPECT_EQ(chart.FirstSeriesOnAxis(chart.LeftAxis()), &bottom);
}

TEST(AxisPanelRanges, NoSeriesGivesZero) {
  TChart chart;
  DotSeries empty;
  empty.SetParentChart(&chart);
  EXPECT_EQ(chart.LargestY(chart.LeftAxis()), 0);
  EXPECT_EQ(chart.SmallestX(chart.BottomAxis()), 0);
}

TEST(AxisPanelRanges, TheDepthAxisSpansTheSeriesDepths) {
  LayoutChart chart;
  DotSeries a, b, c;
  for (DotSeries *s : {&a, &b, &c}) {
    s->Add(1);
    s->SetParentChart(&chart);
  }
  chart.Draw();
  EXPECT_EQ(chart.DeepestIndex(), 2);
  EXPECT_EQ(chart.SmallestX(chart.DepthAxis()), -0.5);
  EXPECT_EQ(chart.LargestX(chart.DepthAxis()), 2.5);
}

TEST(AxisPanelRanges, AxisVisibility) {
  TChart chart;
  EXPECT_TRUE(chart.IsAxisVisible(chart.LeftAxis())) << "an empty chart shows its axes";
  EXPECT_TRUE(chart.IsAxisVisible(chart.TopAxis()));
  EXPECT_FALSE(chart.IsAxisVisible(chart.DepthAxis())) << "created hidden";
  DotSeries a;
  a.SetParentChart(&chart);
  EXPECT_TRUE(chart.IsAxisVisible(chart.LeftAxis()));
  EXPECT_TRUE(chart.IsAxisVisible(chart.BottomAxis()));
  EXPECT_FALSE(chart.IsAxisVisible(chart.TopAxis()));
  EXPECT_FALSE(chart.IsAxisVisible(chart.RightAxis()));
  chart.DepthAxis()->SetVisible(true);
  EXPECT_TRUE(chart.IsAxisVisible(chart.DepthAxis()));
  chart.SetView3D(false);
  EXPECT_FALSE(chart.IsAxisVisible(chart.DepthAxis()));
  chart.SetAxisVisible(false);
  EXPECT_FALSE(chart.IsAxisVisible(chart.LeftAxis()));
}

TEST(AxisPanelRanges, TheAxesListHoldsTheFiveAxesAndFurtherOnes) {
  TChart chart;
  ASSERT_EQ(chart.AxisCount(), 5);
  EXPECT_EQ(chart.Axes()[0], chart.DepthAxis());
  EXPECT_EQ(chart.Axes()[1], chart.TopAxis());
  EXPECT_EQ(chart.Axes()[4], chart.RightAxis());
  EXPECT_TRUE(chart.TopAxis()->IsHorizontal());
  EXPECT_TRUE(chart.TopAxis()->IsOppositeSide());
  EXPECT_FALSE(chart.LeftAxis()->IsHorizontal());
  EXPECT_TRUE(chart.RightAxis()->IsOppositeSide());
  EXPECT_TRUE(chart.DepthAxis()->IsDepth());
  auto *extra = new TChartAxis(&chart, false, false);
  EXPECT_EQ(chart.AxisCount(), 6);
  delete extra;
  EXPECT_EQ(chart.AxisCount(), 5);
  new TChartAxis(&chart, true, false); // freed with the chart
  EXPECT_EQ(chart.AxisCount(), 6);
}

TEST(AxisPanelRanges, SeriesMarginsWidenAutomaticEndsOnly) {
  class MarginSeries : public DotSeries {
  public:
    void HorizMarginsNeeded(int &left, int &right) override {
      left = 10;
      right = 20;
    }
  };
  LayoutChart chart;
  chart.SetView3D(false);
  chart.Legend().SetVisible(false);
  MarginSeries s;
  s.AppendPoint(0, 1);
  s.AppendPoint(100, 2);
  s.SetParentChart(&chart);
  chart.Draw();
  const TRect plot = chart.PlotRect();
  TCustomChartAxis *bottom = chart.BottomAxis();
  EXPECT_NEAR(bottom->XValueToScreen(0), plot.Left + 10, 1);
  EXPECT_NEAR(bottom->XValueToScreen(100), plot.Right - 20, 1);
  EXPECT_EQ(bottom->StartPixel(), plot.Left);

  bottom->SetMinMax(0, 100);
  chart.Draw();
  EXPECT_EQ(bottom->XValueToScreen(0), plot.Left) << "a fixed range keeps its ends";
  EXPECT_EQ(bottom->XValueToScreen(100), plot.Right);
}

TEST(AxisPanelRanges, SetMinMaxFixesTheRangeOfADrawing) {
  LayoutChart chart;
  chart.SetView3D(false);
  DotSeries s;
  s.AppendPoint(0, 10);
  s.AppendPoint(1, 20);
  s.SetParentChart(&chart);
  chart.LeftAxis()->SetMinMax(0, 50);
  chart.Draw();
  EXPECT_EQ(chart.LeftAxis()->CurMinimum(), 0);
  EXPECT_EQ(chart.LeftAxis()->CurMaximum(), 50);
  EXPECT_EQ(chart.LeftAxis()->YValueToScreen(25), chart.PlotYCenter());
}

// ---- paging -------------------------------------------------------------------------

TEST(AxisPanelPaging, PagesOfTenOver25Points) {
  TChart chart;
  DotSeries s;
  FillX(s, 25);
  s.SetParentChart(&chart);
  EXPECT_EQ(chart.PageCount(), 1);
  chart.SetMaxPointsPerPage(10);
  EXPECT_EQ(chart.PageCount(), 3);
  struct Row {
    int Page;
    double Min, Max;
  };
  for (const Row &r : {Row{1, 0, 9}, Row{2, 10, 19}, Row{3, 20, 24}}) {
    chart.SetPage(r.Page);
    EXPECT_EQ(chart.SmallestX(chart.BottomAxis()), r.Min) << "page " << r.Page;
    EXPECT_EQ(chart.LargestX(chart.BottomAxis()), r.Max) << "page " << r.Page;
  }
  // Y values are not paged.
  EXPECT_EQ(chart.SmallestY(chart.LeftAxis()), 100);
  EXPECT_EQ(chart.LargestY(chart.LeftAxis()), 124);
  chart.SetScaleLastPage(false);
  EXPECT_EQ(chart.SmallestX(chart.BottomAxis()), 20);
  EXPECT_EQ(chart.LargestX(chart.BottomAxis()), 20 + 4.0 * 10 / 5);
}

TEST(AxisPanelPaging, PageIsLimitedAndAnnouncedOnChange) {
  TChart chart;
  DotSeries s;
  FillX(s, 25);
  s.SetParentChart(&chart);
  chart.SetMaxPointsPerPage(10);
  int changes = 0;
  chart.OnPageChange = [&] { ++changes; };
  chart.SetPage(0);
  EXPECT_EQ(chart.Page(), 1);
  EXPECT_EQ(changes, 0);
  chart.SetPage(7);
  EXPECT_EQ(chart.Page(), 3);
  EXPECT_EQ(changes, 1);
  chart.SetPage(3);
  EXPECT_EQ(changes, 1);
  chart.SetMaxPointsPerPage(20);
  EXPECT_EQ(chart.Page(), 2) << "lowered to the last page";
  EXPECT_EQ(changes, 2);
}

TEST(AxisPanelPaging, NegativePointsPerPageRaiseAndKeepTheValue) {
  TChart chart;
  chart.SetMaxPointsPerPage(5);
  try {
    chart.SetMaxPointsPerPage(-1);
    FAIL() << "no exception";
  } catch (const ChartException &e) {
    EXPECT_STREQ(e.what(), "MaxPointsPerPage must be >= 0");
  }
  EXPECT_EQ(chart.MaxPointsPerPage(), 5);
}

TEST(AxisPanelPaging, InactiveSeriesCountForNothing) {
  TChart chart;
  DotSeries s, off;
  FillX(s, 5);
  FillX(off, 50);
  off.SetActive(false);
  off.SetParentChart(&chart);
  s.SetParentChart(&chart);
  chart.SetMaxPointsPerPage(10);
  EXPECT_EQ(chart.PageCount(), 1);
  EXPECT_EQ(chart.LargestX(chart.BottomAxis()), 4);
  EXPECT_EQ(chart.FirstSeriesOnAxis(chart.BottomAxis()), &s);
}

TEST(AxisPanelPaging, OnlyVisiblePageIsDrawn) {
  LayoutChart chart;
  chart.SetView3D(false);
  DotSeries s;
  FillX(s, 25);
  s.SetParentChart(&chart);
  chart.SetMaxPointsPerPage(10);
  chart.SetPage(2);
  chart.Draw();
  ASSERT_FALSE(s.Drawn.empty());
  EXPECT_EQ(s.Drawn.front(), 10);
  EXPECT_EQ(s.Drawn.back(), 19);
}

// ---- drawing --------------------------------------------------------------------------

TEST(AxisPanelDrawing, StepsRunInTheirOrder) {
  LayoutChart chart;
  std::vector<std::string> log;
  DotSeries a, b, off;
  a.Add(1);
  b.Add(2);
  off.Add(3);
  off.SetActive(false);
  for (DotSeries *s : {&a, &off, &b}) {
    s->SetParentChart(&chart);
    s->BeforeDrawValues = [&log, s, &a](TChartSeries *) {
      log.push_back(s == &a ? "before a" : "before b");
    };
    s->AfterDrawValues = [&log, s, &a](TChartSeries *) {
      log.push_back(s == &a ? "after a" : "after b");
    };
  }
  chart.OnBeforeDrawAxes = [&] { log.push_back("axes"); };
  chart.OnBeforeDrawSeries = [&] { log.push_back("series"); };
  chart.OnAfterDraw = [&] { log.push_back("done"); };
  chart.Draw();
  EXPECT_EQ(log, (std::vector<std::string>{"axes", "series", "before a", "after a", "before b",
                                           "after b", "done"}));
  EXPECT_TRUE(off.Drawn.empty());

  log.clear();
  AxisPanelSwitches().AxisBehind = false;
  chart.Draw();
  AxisPanelSwitches().AxisBehind = true;
  EXPECT_EQ(log, (std::vector<std::string>{"series", "before a", "after a", "before b", "after b",
                                           "axes", "done"}));
  log.clear();
  chart.SetAxisVisible(false);
  chart.Draw();
  EXPECT_EQ(log.front(), "series");
}

TEST(AxisPanelDrawing, PointsAreClippedToThePlotWhenAsked) {
  class BoxSeries : public DotSeries {
  public:
    void DrawPoint(int valueIndex) override {
      ParentChart()->Canvas().Rectangle(0, 0, 5 + valueIndex, 5);
    }
  };
  LayoutChart chart;
  chart.SetView3D(false);
  BoxSeries s;
  s.Add(1);
  s.Add(2);
  s.SetParentChart(&chart);
  chart.Draw();
  auto pointCalls = [&] {
    std::vector<TCanvasCall> calls;
    for (const TCanvasCall &c : chart.Rec.CallsNamed("Rectangle"))
      if (c.Args[1] == 0 && c.Args[3] == 5)
        calls.push_back(c);
    return calls;
  };
  std::vector<TCanvasCall> points = pointCalls();
  ASSERT_EQ(points.size(), 2u);
  const TRect p = chart.PlotRect();
  EXPECT_TRUE(points[0].Clipped);
  EXPECT_EQ(points[0].ClipBounds, TRect(p.Left + 1, p.Top + 1, p.Right, p.Bottom - 1));
  chart.SetClipPoints(false);
  chart.Draw();
  points = pointCalls();
  ASSERT_EQ(points.size(), 2u);
  EXPECT_FALSE(points[0].Clipped);
}

// Series that share a depth draw point by point, in list order.
class SharedLogSeries : public DotSeries {
public:
  SharedLogSeries(std::vector<std::string> &log, std::string id) : Log(log), Id(std::move(id)) {
    SetDepthIndex(0);
  }
  void DrawPoint(int valueIndex) override { Log.push_back(Id + std::to_string(valueIndex)); }
  std::vector<std::string> &Log;
  std::string Id;
};

TEST(AxisPanelDrawing, SeriesSharingADepthInterleaveTheirPoints) {
  LayoutChart chart;
  std::vector<std::string> log;
  SharedLogSeries a(log, "a"), b(log, "b");
  FillX(a, 3);
  FillX(b, 2);
  a.SetParentChart(&chart);
  b.SetParentChart(&chart);
  chart.Draw();
  EXPECT_EQ(log, (std::vector<std::string>{"a0", "b0", "a1", "b1", "a2"}));

  log.clear();
  chart.SetView3D(false);
  chart.Draw();
  EXPECT_EQ(log, (std::vector<std::string>{"a0", "a1", "a2", "b0", "b1"})) << "flat: one by one";
}

// Handlers run while the series draw may take series out of the chart or
// free them: the drawing goes on without those series, flat and with series
// sharing a depth.
TEST(AxisPanelDrawing, SeriesTakenAwayByAHandlerAreNotDrawn) {
  for (bool shared : {false, true}) {
    LayoutChart chart;
    chart.SetView3D(shared);
    std::vector<std::string> log;
    auto a = std::make_unique<SharedLogSeries>(log, "a");
    auto *b = new SharedLogSeries(log, "b");
    auto c = std::make_unique<SharedLogSeries>(log, "c");
    for (TChartSeries *s : {static_cast<TChartSeries *>(a.get()), static_cast<TChartSeries *>(b),
                            static_cast<TChartSeries *>(c.get())}) {
      FillX(*s, 2);
      s->SetParentChart(&chart);
    }
    a->BeforeDrawValues = [&b](TChartSeries *) {
      delete b;
      b = nullptr;
    };
    c->BeforeDrawValues = [](TChartSeries *self) { self->SetParentChart(nullptr); };
    int after = 0;
    c->AfterDrawValues = [&after](TChartSeries *) { ++after; };
    chart.Draw();
    EXPECT_EQ(log, (std::vector<std::string>{"a0", "a1"})) << (shared ? "shared depth" : "flat");
    EXPECT_EQ(after, 0);
    EXPECT_EQ(chart.SeriesCount(), 1);
  }
}

TEST(AxisPanelDrawing, SharedDepthDrawsFromTheSmallestFirstVisiblePoint) {
  LayoutChart chart;
  std::vector<std::string> log;
  SharedLogSeries a(log, "a"), b(log, "b");
  FillX(a, 10);                // X 0 .. 9
  for (int t = 5; t < 10; ++t) // X 5 .. 9
    b.AppendPoint(t, 1);
  a.SetParentChart(&chart);
  b.SetParentChart(&chart);
  chart.BottomAxis()->SetMinMax(3, 9);
  chart.Draw();
  for (const char *point : {"b0", "b1", "b2", "b3", "b4"})
    EXPECT_NE(std::find(log.begin(), log.end(), point), log.end()) << point << " not drawn";
}

} // namespace

#include "chartengine/canvas/ChartSeriesTypes.h"
#include "chartengine/chart/ChartRegistration.h"

namespace {

TEST(ChartCopy, AssignCopiesPartsAndPanelSettings) {
  TChart a, b;
  a.Title().SetText({"Copied"});
  a.Legend().SetAlignment(laBottom);
  a.LeftWall().SetSize(3);
  a.SetBackImageInside(true);
  a.SetMaxPointsPerPage(12);
  a.SetView3DWalls(false);
  a.BottomAxis()->SetMinMax(1, 2);
  a.SetChart3DPercent(40);
  b.Assign(a);
  EXPECT_EQ(b.Title().Text(), std::vector<std::string>{"Copied"});
  EXPECT_EQ(b.Legend().Alignment(), laBottom);
  EXPECT_EQ(b.LeftWall().Size(), 3);
  EXPECT_TRUE(b.BackImageInside());
  EXPECT_EQ(b.MaxPointsPerPage(), 12);
  EXPECT_FALSE(b.View3DWalls());
  EXPECT_EQ(b.BottomAxis()->Maximum(), 2);
  EXPECT_FALSE(b.BottomAxis()->Automatic());
  EXPECT_EQ(b.Chart3DPercent(), 40);

  TChart c;
  c.SetLeftAxis(*a.BottomAxis());
  EXPECT_EQ(c.LeftAxis()->Maximum(), 2);
  EXPECT_FALSE(c.LeftAxis()->IsHorizontal()) << "the side stays";
}

TEST(ChartCopy, WallsAndTitlesStartWithTheirDefaults) {
  TChart chart;
  EXPECT_EQ(chart.BackWall().Brush().Style(), bsClear);
  EXPECT_EQ(chart.BackColor(), clTeeColor);
  EXPECT_EQ(chart.LeftWall().Color(), TColor(0x80FFFF));
  EXPECT_FALSE(chart.LeftWall().IsColorStored());
  EXPECT_EQ(chart.BottomWall().Color(), clWhite);
  EXPECT_EQ(chart.Title().Font().Color(), clBlue);
  EXPECT_FALSE(chart.Title().IsFontStored());
  EXPECT_TRUE(chart.Title().Text().empty());
  EXPECT_EQ(chart.Legend().Alignment(), laRight);
  EXPECT_EQ(chart.Legend().TopPos(), 10);
  chart.PrepareForDesigner();
  EXPECT_EQ(chart.Title().Text(), std::vector<std::string>{"TChart"});
  EXPECT_EQ(chart.Foot().Font().Color(), clRed);
  EXPECT_EQ(chart.Foot().Font().Style(), fsItalic);
  EXPECT_FALSE(chart.Foot().IsFontStored());
}

TEST(ChartCopy, RegistrationNamesThePartsAndTheFunctions) {
  RegisterChartControlClasses();
  RegisterChartControlClasses();
  for (const char *name : {"TChartLegend", "TChartGradient", "TChartWall", "TChartTitle"})
    EXPECT_NE(FindChartClass(name), nullptr) << name;
  ASSERT_NE(ChartSeriesTypes(), nullptr);
  int added = 0;
  for (int t = 0; t < ChartSeriesTypes()->Count(); ++t)
    added += ChartSeriesTypes()->Item(t).Description == "Add";
  EXPECT_EQ(added, 1);
}

} // namespace
