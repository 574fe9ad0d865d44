// Clicked parts, zooming, panning and cursors of the chart control, driven by
// synthetic mouse input.
#include "ChartControlSupport.h"
#include "chartengine/canvas/ChartCursors.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>
#include <utility>

namespace {

// A flat chart of one series from (0, 0) to (10, 100), drawn once so that
// its axes know their pixels.
struct MouseChart : LayoutChart {
  MouseChart() {
    SetView3D(false);
    Legend().SetVisible(false);
    S.AppendPoint(0, 0);
    S.AppendPoint(10, 100);
    S.SetParentChart(this);
    Draw();
  }
  TPoint Centre() const { return TPoint(PlotXCenter(), PlotYCenter()); }
  DotSeries S;
};

struct Range {
  double Min, Max;
  bool operator==(const Range &) const = default;
};
Range RangeOf(TCustomChartAxis *axis) { return {axis->Minimum(), axis->Maximum()}; }

// ---- clicked parts --------------------------------------------------------------------

TEST(ChartHitTest, PartsUnderThePoint) {
  MouseChart chart;
  chart.Title().SetText({"Title"});
  chart.Foot().SetText({"Foot"});
  chart.Legend().SetVisible(true);
  chart.Draw();

  const TPoint point(chart.S.PointScreenX(1), chart.S.PointScreenY(1));
  ChartHit hit = chart.HitTest(point.X, point.Y);
  EXPECT_EQ(hit.HitKind, SeriesPart);
  EXPECT_EQ(hit.HitSeries, &chart.S);
  EXPECT_EQ(hit.HitIndex, 1);

  hit = chart.HitTest(chart.LeftAxis()->AxisLinePos() - 2, chart.PlotYCenter());
  EXPECT_EQ(hit.HitKind, AxisPart);
  EXPECT_EQ(hit.HitAxis, chart.LeftAxis());

  const TRect title = chart.Title().BlockRect();
  EXPECT_EQ(chart.HitTest((title.Left + title.Right) / 2, title.Top + 1).HitKind, TitlePart);
  const TRect foot = chart.Foot().BlockRect();
  EXPECT_EQ(chart.HitTest((foot.Left + foot.Right) / 2, foot.Bottom - 2).HitKind, FootPart);

  EXPECT_EQ(chart.HitTest(chart.Centre().X, chart.Centre().Y).HitKind, PlotPart);

  const TRect legend = chart.Legend().FrameRect();
  const int h = LineHeightOf(chart.Legend().Font().Font());
  hit = chart.HitTest(legend.Left + 5, legend.Top + 1 + h / 2);
  EXPECT_EQ(hit.HitKind, LegendPart);
  EXPECT_EQ(hit.HitIndex, 0);
  hit = chart.HitTest(legend.Left + 5, legend.Top + 1 + h + h / 2);
  EXPECT_EQ(hit.HitIndex, 1);

  EXPECT_EQ(chart.HitTest(1, 1).HitKind, NoPart);
}

TEST(ChartHitTest, WithoutSeriesThePlotIsNoPart) {
  LayoutChart chart;
  chart.Draw();
  EXPECT_EQ(chart.HitTest(chart.PlotXCenter(), chart.PlotYCenter()).HitKind, NoPart);
}

TEST(ChartHitTest, InvertedLegendAnswersPositions) {
  LayoutChart chart;
  DotSeries a, b, c;
  for (DotSeries *s : {&a, &b, &c}) {
    s->Add(1);
    s->SetParentChart(&chart);
  }
  chart.Legend().SetInverted(true);
  chart.Draw();
  const TRect r = chart.Legend().FrameRect();
  EXPECT_EQ(chart.HitTest(r.Left + 3, r.Top + 3).HitIndex, 0) << "the top row: the last item";
  std::vector<std::string> order;
  for (const TCanvasCall &call : chart.Rec.CallsNamed("TextOut"))
    if (call.Args[0] > r.Left && call.Args[0] < r.Right && call.Args[1] >= r.Top &&
        call.Args[1] < r.Bottom)
      order.push_back(call.Text);
  EXPECT_EQ(order, (std::vector<std::string>{"Series 2", "Series 1", "Series 0"}));
}

TEST(ChartHitTest, HorizontalLegendAnswersRowTimesColumnsPlusColumn) {
  LayoutChart chart;
  DotSeries s;
  for (int t = 0; t < 6; ++t)
    s.Add(t, "P" + std::to_string(t));
  s.SetParentChart(&chart);
  chart.SetAxisVisible(false);
  chart.Legend().SetAlignment(laBottom);
  chart.Legend().SetMaxNumRows(2);
  chart.Draw(220, 300);
  const int columns = chart.Legend().ColumnCount();
  ASSERT_GE(columns, 1);
  const TRect r = chart.Legend().FrameRect();
  const int h = LineHeightOf(chart.Legend().Font().Font());
  const int cw = r.Width() / columns;
  EXPECT_EQ(chart.Legend().LegendHitTest(r.Left + 1 + cw / 2, r.Top + 1 + h + h / 2), columns);
  if (columns > 1) {
    EXPECT_EQ(chart.Legend().LegendHitTest(r.Left + 1 + cw + cw / 2, r.Top + 2), 1);
  }
  EXPECT_EQ(chart.Legend().LegendHitTest(r.Left - 1, r.Top + 2), -1);
}

// ---- click events ---------------------------------------------------------------------

TEST(ChartClicks, LegendClickFiresItsEventOnly) {
  MouseChart chart;
  chart.Legend().SetVisible(true);
  chart.Draw();
  int legend = 0, background = 0;
  chart.OnClickLegend = [&](TCustomChart *sender, TMouseButton b, TShiftState, int, int) {
    EXPECT_EQ(sender, &chart);
    EXPECT_EQ(b, mbLeft);
    ++legend;
  };
  chart.OnClickBackground = [&](TCustomChart *, TMouseButton, TShiftState, int, int) {
    ++background;
  };
  const TRect r = chart.Legend().FrameRect();
  chart.MouseDown(mbLeft, ssLeft, r.Left + 3, r.Top + 3);
  EXPECT_EQ(legend, 1);
  EXPECT_EQ(background, 0);
  EXPECT_FALSE(chart.ZoomRecord().Active);
  EXPECT_FALSE(chart.CancelMouse());
}

TEST(ChartClicks, SeriesClickFiresTheSeriesAndTheChartEvents) {
  MouseChart chart;
  int seriesClicks = 0, chartClicks = 0;
  chart.S.OnClick = [&](TChartSeries *, int index, TMouseButton, TShiftState, int, int) {
    EXPECT_EQ(index, 1);
    ++seriesClicks;
  };
  chart.OnClickSeries = [&](TCustomChart *, TChartSeries *s, int index, TMouseButton, TShiftState,
                            int, int) {
    EXPECT_EQ(s, &chart.S);
    EXPECT_EQ(index, 1);
    ++chartClicks;
  };
  const int x = chart.S.PointScreenX(1), y = chart.S.PointScreenY(1);
  chart.MouseDown(mbLeft, ssLeft, x, y);
  EXPECT_EQ(seriesClicks, 1);
  EXPECT_EQ(chartClicks, 1);
  EXPECT_FALSE(chart.ZoomRecord().Active) << "a taken click starts no zoom";

  // A handler that clears the cancel flag lets the zoom start.
  chart.OnClickSeries = [&](TCustomChart *c, TChartSeries *, int, TMouseButton, TShiftState, int,
                            int) { c->SetCancelMouse(false); };
  chart.MouseDown(mbLeft, ssLeft, x, y);
  EXPECT_TRUE(chart.ZoomRecord().Active);
}

// A series' click handler may free the series: the click ends there.
TEST(ChartClicks, SeriesClickHandlerMayFreeTheSeries) {
  MouseChart chart;
  auto *gone = new DotSeries;
  gone->AppendPoint(5, 50);
  gone->SetParentChart(&chart);
  chart.Draw();
  int chartClicks = 0;
  gone->OnClick = [&gone](TChartSeries *, int, TMouseButton, TShiftState, int, int) {
    delete std::exchange(gone, nullptr);
  };
  chart.OnClickSeries = [&](TCustomChart *, TChartSeries *, int, TMouseButton, TShiftState, int,
                            int) { ++chartClicks; };
  const int x = gone->PointScreenX(0), y = gone->PointScreenY(0);
  chart.MouseDown(mbLeft, ssLeft, x, y);
  EXPECT_EQ(gone, nullptr);
  EXPECT_EQ(chartClicks, 0);
  EXPECT_EQ(chart.SeriesCount(), 1);
  delete gone;
}

TEST(ChartClicks, PlotClickIsOneBackgroundClick) {
  MouseChart chart;
  int background = 0;
  chart.OnClickBackground = [&](TCustomChart *c, TMouseButton, TShiftState, int, int) {
    ++background;
    c->SetCancelMouse(false);
  };
  chart.MouseDown(mbMiddle, ssMiddle, chart.Centre().X, chart.Centre().Y);
  EXPECT_EQ(background, 1) << "neither zoom nor pan took the middle button";
  chart.MouseDown(mbLeft, ssLeft, chart.Centre().X, chart.Centre().Y);
  EXPECT_EQ(background, 2);
  EXPECT_TRUE(chart.ZoomRecord().Active) << "the handler let the zoom go on";
}

TEST(ChartClicks, WithoutSeriesAPlotClickIsABackgroundClick) {
  LayoutChart chart;
  chart.Draw();
  int background = 0;
  chart.OnClickBackground = [&](TCustomChart *, TMouseButton, TShiftState, int, int) {
    ++background;
  };
  chart.MouseDown(mbLeft, ssLeft, chart.PlotXCenter(), chart.PlotYCenter());
  EXPECT_EQ(background, 1);
  EXPECT_FALSE(chart.ZoomRecord().Active);
}

TEST(ChartClicks, AxisClickNamesTheAxis) {
  MouseChart chart;
  TCustomChartAxis *clicked = nullptr;
  chart.OnClickAxis = [&](TCustomChart *, TCustomChartAxis *axis, TMouseButton, TShiftState, int,
                          int) { clicked = axis; };
  chart.MouseDown(mbLeft, ssLeft, chart.PlotXCenter(), chart.BottomAxis()->AxisLinePos() + 2);
  EXPECT_EQ(clicked, chart.BottomAxis());
}

TEST(ChartClicks, ACancelledMouseDownDoesNothingMore) {
  MouseChart chart;
  chart.OnMouseDown = [&](TMouseButton, TShiftState, int, int) { chart.SetCancelMouse(true); };
  chart.MouseDown(mbLeft, ssLeft, chart.Centre().X, chart.Centre().Y);
  EXPECT_FALSE(chart.ZoomRecord().Active);
  EXPECT_FALSE(chart.CancelMouse()) << "the flag is cleared";
}

// ---- zoom ---------------------------------------------------------------------------

TEST(ChartZoom, DraggingRightAndDownZoomsEveryAxis) {
  MouseChart chart;
  TCustomChartAxis *bottom = chart.BottomAxis();
  TCustomChartAxis *left = chart.LeftAxis();
  const TRect p = chart.PlotRect();
  const int x0 = p.Left + 40, y0 = p.Top + 30, x1 = p.Left + 140, y1 = p.Top + 120;
  const Range xs{bottom->ScreenToValue(x0), bottom->ScreenToValue(x1)};
  const Range ys{left->ScreenToValue(y1), left->ScreenToValue(y0)};
  int zooms = 0;
  chart.OnZoom = [&] { ++zooms; };

  chart.MouseDown(mbLeft, ssLeft, x0, y0);
  ASSERT_TRUE(chart.ZoomRecord().Active);
  chart.MouseMove(ssLeft, x0 + 50, y0 + 40);
  EXPECT_EQ(chart.ZoomRecord().X1, x0 + 50);
  chart.MouseMove(ssLeft, x1, y1);
  chart.MouseUp(mbLeft, 0, x1, y1);
  EXPECT_FALSE(chart.ZoomRecord().Active);
  EXPECT_EQ(RangeOf(bottom), xs);
  EXPECT_EQ(RangeOf(left), ys);
  EXPECT_FALSE(bottom->Automatic());
  EXPECT_TRUE(chart.Zoomed());
  EXPECT_TRUE(chart.AxisRangesSaved());
  EXPECT_EQ(zooms, 1);

  chart.Draw();
  EXPECT_EQ(bottom->CurMinimum(), xs.Min);
  EXPECT_EQ(bottom->CurMaximum(), xs.Max);
}

TEST(ChartZoom, DraggingUpAndLeftUndoesTheZoom) {
  MouseChart chart;
  const TRect p = chart.PlotRect();
  chart.MouseDown(mbLeft, ssLeft, p.Left + 20, p.Top + 20);
  chart.MouseUp(mbLeft, 0, p.Left + 120, p.Top + 120);
  ASSERT_FALSE(chart.BottomAxis()->Automatic());
  chart.Draw();
  int undos = 0;
  chart.OnUndoZoom = [&] { ++undos; };
  chart.MouseDown(mbLeft, ssLeft, p.Left + 120, p.Top + 120);
  chart.MouseUp(mbLeft, 0, p.Left + 100, p.Top + 100);
  EXPECT_EQ(undos, 1);
  EXPECT_TRUE(chart.BottomAxis()->Automatic());
  EXPECT_TRUE(chart.LeftAxis()->Automatic());
  EXPECT_FALSE(chart.Zoomed());
  EXPECT_FALSE(chart.AxisRangesSaved());
  chart.Draw();
  EXPECT_EQ(chart.BottomAxis()->CurMinimum(), 0);
  EXPECT_EQ(chart.BottomAxis()->CurMaximum(), 10);
}

TEST(ChartZoom, ShortDragsDoNothing) {
  struct Drag {
    int Dx, Dy;
  };
  for (const Drag d : {Drag{10, 100}, Drag{100, 16}, Drag{-100, 5}}) {
    MouseChart chart;
    int zooms = 0, undos = 0;
    chart.OnZoom = [&] { ++zooms; };
    chart.OnUndoZoom = [&] { ++undos; };
    const TPoint c = chart.Centre();
    chart.MouseDown(mbLeft, ssLeft, c.X - 50, c.Y - 50);
    chart.MouseUp(mbLeft, 0, c.X - 50 + d.Dx, c.Y - 50 + d.Dy);
    EXPECT_EQ(zooms, 0) << d.Dx << "x" << d.Dy;
    EXPECT_EQ(undos, 0);
    EXPECT_TRUE(chart.BottomAxis()->Automatic());
  }
}

TEST(ChartZoom, AnimatedZoomEndsOnTheTargets) {
  MouseChart chart;
  chart.SetAnimatedZoom(true);
  TAxisZoomRanges targets;
  targets[1] = {20, 40};
  targets[3] = {2, 4};
  chart.ZoomToRanges(targets);
  EXPECT_EQ(RangeOf(chart.LeftAxis()), (Range{20, 40}));
  EXPECT_EQ(RangeOf(chart.BottomAxis()), (Range{2, 4}));
}

TEST(ChartZoom, NoZoomWhenNotAllowed) {
  MouseChart chart;
  chart.SetAllowZoom(false);
  chart.MouseDown(mbLeft, ssLeft, chart.Centre().X, chart.Centre().Y);
  EXPECT_FALSE(chart.ZoomRecord().Active);
}

TEST(ChartZoom, QtMouseEventsDriveTheZoom) {
  MouseChart chart;
  const TRect p = chart.PlotRect();
  const QPointF from(p.Left + 30, p.Top + 30), to(p.Left + 130, p.Top + 110);
  const double expectedMin = chart.BottomAxis()->ScreenToValue(p.Left + 30);
  QMouseEvent press(QEvent::MouseButtonPress, from, from, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(&chart, &press);
  QMouseEvent move(QEvent::MouseMove, to, to, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&chart, &move);
  QMouseEvent release(QEvent::MouseButtonRelease, to, to, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QCoreApplication::sendEvent(&chart, &release);
  EXPECT_TRUE(chart.Zoomed());
  EXPECT_EQ(chart.BottomAxis()->Minimum(), expectedMin);
}

// ---- panning ------------------------------------------------------------------------

TEST(ChartPan, RightDragMovesTheAxesByTheDraggedValues) {
  MouseChart chart;
  TCustomChartAxis *bottom = chart.BottomAxis();
  TCustomChartAxis *left = chart.LeftAxis();
  const TPoint c = chart.Centre();
  const double dx = bottom->ScreenToValue(c.X) - bottom->ScreenToValue(c.X + 20);
  const double dy = left->ScreenToValue(c.Y) - left->ScreenToValue(c.Y + 10);
  const Range xs = RangeOf(bottom), ys = RangeOf(left);
  int scrolls = 0;
  chart.OnScroll = [&] { ++scrolls; };
  chart.MouseDown(mbRight, ssRight, c.X, c.Y);
  ASSERT_TRUE(chart.PanningRecord().Active);
  chart.MouseMove(ssRight, c.X + 20, c.Y + 10);
  EXPECT_EQ(RangeOf(bottom), (Range{xs.Min + dx, xs.Max + dx}));
  EXPECT_EQ(RangeOf(left), (Range{ys.Min + dy, ys.Max + dy}));
  EXPECT_TRUE(chart.DepthAxis()->Automatic()) << "the depth axis never moves";
  EXPECT_EQ(scrolls, 1);
  chart.MouseMove(ssRight, c.X + 20, c.Y + 10);
  EXPECT_EQ(scrolls, 1) << "the same point moves nothing";
  chart.MouseUp(mbRight, 0, c.X + 20, c.Y + 10);
  EXPECT_FALSE(chart.PanningRecord().Active);

  chart.ResetZoom();
  EXPECT_TRUE(bottom->Automatic());
  EXPECT_TRUE(left->Automatic());
}

TEST(ChartPan, HorizontalPanningMovesOnlyHorizontalAxes) {
  MouseChart chart;
  chart.SetAllowPanning(pmHorizontal);
  const TPoint c = chart.Centre();
  const Range ys = RangeOf(chart.LeftAxis());
  chart.MouseDown(mbRight, ssRight, c.X, c.Y);
  chart.MouseMove(ssRight, c.X + 15, c.Y + 15);
  EXPECT_NE(RangeOf(chart.BottomAxis()).Min, 0);
  EXPECT_EQ(RangeOf(chart.LeftAxis()), ys);
  EXPECT_TRUE(chart.LeftAxis()->Automatic());
}

TEST(ChartPan, ARefusedScrollLeavesTheAxis) {
  MouseChart chart;
  chart.OnAllowScroll = [&](TCustomChartAxis *axis, double &, double &, bool &allow) {
    allow = axis != chart.BottomAxis();
  };
  const TPoint c = chart.Centre();
  chart.MouseDown(mbRight, ssRight, c.X, c.Y);
  chart.MouseMove(ssRight, c.X + 15, c.Y);
  EXPECT_TRUE(chart.BottomAxis()->Automatic());
}

TEST(ChartPan, LeavingThePlotEndsPanning) {
  MouseChart chart;
  const TPoint c = chart.Centre();
  chart.MouseDown(mbRight, ssRight, c.X, c.Y);
  chart.MouseMove(ssRight, 1, 1);
  EXPECT_FALSE(chart.PanningRecord().Active);
}

// ---- cursor and series hooks ----------------------------------------------------------

TEST(ChartCursor, ASeriesCursorShowsOverItsPoints) {
  class HookSeries : public DotSeries {
  public:
    void SeriesMouseMove(TShiftState, int, int) override { ++Moves; }
    void SeriesMouseUp(TMouseButton, TShiftState, int, int) override { ++Ups; }
    int Moves = 0, Ups = 0;
  };
  LayoutChart chart;
  chart.SetView3D(false);
  HookSeries s;
  s.AppendPoint(0, 0);
  s.AppendPoint(10, 100);
  s.SetCursor(crHandPoint);
  s.SetParentChart(&chart);
  chart.Draw();
  chart.MouseMove(0, s.PointScreenX(1), s.PointScreenY(1));
  EXPECT_EQ(chart.Cursor(), crHandPoint);
  EXPECT_EQ(chart.cursor().shape(), Qt::PointingHandCursor);
  chart.MouseMove(0, chart.PlotXCenter(), chart.PlotYCenter());
  EXPECT_EQ(chart.Cursor(), crDefault);
  EXPECT_EQ(s.Moves, 2);
  chart.MouseUp(mbLeft, 0, 5, 5);
  EXPECT_EQ(s.Ups, 1);
}

} // namespace
