#include "LineSeriesTestSupport.h"
#include "chartengine/canvas/ChartMath.h"
#include "chartengine/canvas/ChartPalette.h"
#include "chartengine/series/AreaSeries.h"
#include "chartengine/series/LineSeries.h"
#include "chartengine/series/PointSeries.h"

#include <gtest/gtest.h>

namespace {

template <typename Series> struct Fixture {
  explicit Fixture(std::initializer_list<std::pair<double, double>> points = {}) {
    series.SetParentChart(&chart);
    series.SetSeriesColor(clRed);
    for (const auto &[x, y] : points)
      series.AppendPoint(x, y);
  }
  std::vector<TSegment> Draw(bool is3D = false) {
    canvas.Clear();
    chart.DrawOn(canvas, is3D);
    return SegmentsOf(canvas);
  }
  SeriesTestChart chart;
  Series series;
  TRecordingCanvas canvas;
};

TSegment Seg(double x0, double y0, double x1, double y1) {
  return {TPoint(XPix(x0), YPix(y0)), TPoint(XPix(x1), YPix(y1))};
}

// ---- flat lines ---------------------------------------------------------------------

TEST(LineSeries, JoinsConsecutivePointsInTheSeriesColour) {
  Fixture<TLineSeries> f({{1, 10}, {2, 40}, {3, 20}, {4, 60}});
  f.series.LinePen().SetWidth(2);
  EXPECT_EQ(f.Draw(),
            (std::vector<TSegment>{Seg(1, 10, 2, 40), Seg(2, 40, 3, 20), Seg(3, 20, 4, 60)}));
  for (const TCanvasCall &c : f.canvas.CallsNamed("LineTo")) {
    EXPECT_EQ(c.Pen.Color, clRed);
    EXPECT_EQ(c.Pen.Width, 2);
  }
  EXPECT_TRUE(f.canvas.CallsNamed("Rectangle").empty()) << "pointers start hidden";
}

TEST(LineSeries, DrawsOnlyTheVisibleRangeFromTheInterpolatedLeftEdge) {
  Fixture<TLineSeries> f;
  for (int x = 0; x <= 9; ++x)
    f.series.AppendPoint(x, x * 10);
  f.chart.BottomAxis()->SetMinMax(2.5, 6.5); // x = 50 + 50 (v - 2.5)
  auto px = [](double v) { return 50 + static_cast<int>((v - 2.5) * 50); };
  const auto segments = f.Draw();
  ASSERT_EQ(segments.size(), 5u);
  // From the edge, where the line from point 2 to point 3 crosses it (25).
  EXPECT_EQ(segments[0], (TSegment{TPoint(50, YPix(25)), TPoint(px(3), YPix(30))}));
  // ... to the first point past the visible end, and no further.
  EXPECT_EQ(segments[4], (TSegment{TPoint(px(6), YPix(60)), TPoint(px(7), YPix(70))}));
}

TEST(LineSeries, OnAnInvertedAxisTheLineEntersFromTheRightEdge) {
  Fixture<TLineSeries> f;
  for (int x = 0; x <= 9; ++x)
    f.series.AppendPoint(x, x * 10);
  f.chart.BottomAxis()->SetMinMax(2.5, 6.5);
  f.chart.BottomAxis()->SetInverted(true);
  const auto segments = f.Draw();
  ASSERT_FALSE(segments.empty());
  EXPECT_EQ(segments[0].From, TPoint(250, YPix(25)));
}

TEST(LineSeries, NullPointLeavesAGap) {
  Fixture<TLineSeries> f({{1, 10}, {2, 40}});
  f.series.AppendNullPointAt(3, 20);
  f.series.AppendPoint(4, 60);
  f.series.AppendPoint(5, 30);
  EXPECT_EQ(f.Draw(), (std::vector<TSegment>{Seg(1, 10, 2, 40), Seg(4, 60, 5, 30)}));
}

TEST(LineSeries, FarOffScreenPointIsLeftOutAndTheLineJoinsTheNext) {
  Fixture<TLineSeries> f({{1, 10}, {2, 1e6}, {3, 20}});
  EXPECT_EQ(f.Draw(), (std::vector<TSegment>{Seg(1, 10, 3, 20)}));
}

TEST(LineSeries, FirstVisiblePointOffScreenJoinsNothingOfAnEarlierDrawing) {
  Fixture<TLineSeries> f({{1, 1e6}, {2, 40}, {3, 20}});
  f.Draw();
  EXPECT_EQ(f.Draw(), (std::vector<TSegment>{Seg(2, 40, 3, 20)}));
}

TEST(LineSeries, StairsGoAcrossThenUpOrUpThenAcross) {
  Fixture<TLineSeries> f({{1, 10}, {2, 40}, {3, 20}});
  f.series.SetStairs(true);
  EXPECT_EQ(f.Draw(), (std::vector<TSegment>{
                          {TPoint(XPix(1), YPix(10)), TPoint(XPix(2), YPix(10))},
                          {TPoint(XPix(2), YPix(10)), TPoint(XPix(2), YPix(40))},
                          {TPoint(XPix(2), YPix(40)), TPoint(XPix(3), YPix(40))},
                          {TPoint(XPix(3), YPix(40)), TPoint(XPix(3), YPix(20))},
                      }));
  f.series.SetInvertedStairs(true);
  EXPECT_EQ(f.Draw(), (std::vector<TSegment>{
                          {TPoint(XPix(1), YPix(10)), TPoint(XPix(1), YPix(40))},
                          {TPoint(XPix(1), YPix(40)), TPoint(XPix(2), YPix(40))},
                          {TPoint(XPix(2), YPix(40)), TPoint(XPix(2), YPix(20))},
                          {TPoint(XPix(2), YPix(20)), TPoint(XPix(3), YPix(20))},
                      }));
}

TEST(LineSeries, PointersFollowTheSegmentsThatTouchThem) {
  Fixture<TLineSeries> f({{1, 10}, {2, 40}, {3, 20}});
  f.series.Pointer().SetVisible(true);
  f.Draw();
  std::vector<std::string> order;
  for (const TCanvasCall &c : f.canvas.Calls())
    if (c.Name == "LineTo")
      order.push_back("line to " + std::to_string(c.Args[0]));
    else if (c.Name == "Rectangle")
      order.push_back("pointer " + std::to_string(c.Args[0] + 4));
  EXPECT_EQ(order, (std::vector<std::string>{"line to 90", "pointer 70", "line to 110",
                                             "pointer 90", "pointer 110"}));
}

TEST(LineSeries, PerPointPointerStyleComesFromTheHandler) {
  Fixture<TPointSeries> f({{1, 10}, {2, 40}});
  f.series.OnGetPointerStyle = [](TChartSeries *, int valueIndex) {
    return valueIndex == 0 ? psCircle : psDiamond;
  };
  f.Draw();
  EXPECT_EQ(f.canvas.CountOf("Ellipse"), 1);
  EXPECT_EQ(f.canvas.CountOf("Polygon"), 1);
}

// ---- 3-D ----------------------------------------------------------------------------

TEST(LineSeries, RibbonsInThreeDAndSteepRisesDarker) {
  Fixture<TLineSeries> f({{1, 10}, {2, 40}, {3, 20}});
  f.Draw(true);
  TRecordingCanvas want;
  f.chart.Canvas().SetTargetCanvas(&want);
  TChartCanvas3D &k = f.chart.Canvas();
  k.PlaneBetweenDepths(TPoint(XPix(1), YPix(10)), TPoint(XPix(2), YPix(40)), 0, 10);
  k.PlaneBetweenDepths(TPoint(XPix(2), YPix(40)), TPoint(XPix(3), YPix(20)), 0, 10);
  EXPECT_EQ(PolygonsOf(f.canvas), PolygonsOf(want));
  const auto faces = f.canvas.CallsNamed("Polygon");
  ASSERT_EQ(faces.size(), 2u);
  // Rising faster than the depth runs (slope 3 against 1): the underside shows.
  EXPECT_EQ(faces[0].Brush.Color, DarkenColor(clRed, 64));
  EXPECT_EQ(faces[1].Brush.Color, clRed);
  EXPECT_EQ(faces[0].Pen.Color, clBlack) << "the line pen outlines the ribbon";

  f.series.SetDark3D(false);
  f.Draw(true);
  EXPECT_EQ(f.canvas.CallsNamed("Polygon")[0].Brush.Color, clRed);
}

TEST(LineSeries, SlabFrontFaceGoesRoundItsCorners) {
  Fixture<TLineSeries> f({{1, 10}, {2, 20}});
  f.series.SetLineHeight(5);
  f.series.SetDark3D(false);
  f.Draw(true);
  const auto polygons = PolygonsOf(f.canvas);
  ASSERT_EQ(polygons.size(), 3u); // front face, end face, ribbon
  const TPoint p(XPix(1), YPix(10)), c(XPix(2), YPix(20));
  auto at = [&](TPoint q) { return f.chart.Projected(q.X, q.Y, 0); };
  // Not a twisted quadrilateral: P, C, then C and P moved down.
  EXPECT_EQ(polygons[0], (std::vector<TPoint>{at(p), at(c), at(TPoint(c.X, c.Y + 5)),
                                              at(TPoint(p.X, p.Y + 5))}));
  TRecordingCanvas want;
  f.chart.Canvas().SetTargetCanvas(&want);
  f.chart.Canvas().RectangleInX(c.X, c.Y, c.Y + 5, 0, 10);
  EXPECT_EQ(polygons[1], PolygonsOf(want).at(0));
}

TEST(LineSeries, StairRibbonsAreRectanglesInXAndY) {
  Fixture<TLineSeries> f({{1, 10}, {2, 40}});
  f.series.SetStairs(true);
  f.Draw(true);
  TRecordingCanvas want;
  f.chart.Canvas().SetTargetCanvas(&want);
  f.chart.Canvas().RectangleInY(XPix(1), YPix(10), XPix(2), 0, 10);
  f.chart.Canvas().RectangleInX(XPix(2), YPix(10), YPix(40), 0, 10);
  EXPECT_EQ(PolygonsOf(f.canvas), PolygonsOf(want));
  const auto faces = f.canvas.CallsNamed("Polygon");
  EXPECT_EQ(faces[0].Brush.Color, clRed);
  EXPECT_EQ(faces[1].Brush.Color, DarkenColor(clRed, 64)) << "the riser";
}

TEST(LineSeries, ThreeDLineWithoutRibbonFillIsAPlainLine) {
  Fixture<TLineSeries> f({{1, 10}, {2, 40}});
  f.series.SetLineBrush(bsClear);
  const auto segments = f.Draw(true);
  EXPECT_TRUE(PolygonsOf(f.canvas).empty());
  ASSERT_EQ(segments.size(), 1u);
  EXPECT_EQ(segments[0].From, f.chart.Projected(XPix(1), YPix(10), 0));
  EXPECT_EQ(segments[0].To, f.chart.Projected(XPix(2), YPix(40), 0));
}

// ---- margins and marks -------------------------------------------------------------

TEST(LineSeries, MarginsForPointersStairsAndSlabs) {
  TLineSeries s;
  int left = 0, right = 0, top = 0, bottom = 0;
  s.HorizMarginsNeeded(left, right);
  s.VertMarginsNeeded(top, bottom);
  EXPECT_EQ((std::vector<int>{left, right, top, bottom}), (std::vector<int>{0, 0, 0, 0}));
  s.SetStairs(true);
  s.LinePen().SetWidth(3);
  s.HorizMarginsNeeded(left, right);
  s.VertMarginsNeeded(top, bottom);
  EXPECT_EQ((std::vector<int>{left, right, top, bottom}), (std::vector<int>{3, 3, 3, 4}));
  s.SetLineHeight(6);
  s.VertMarginsNeeded(top, bottom);
  EXPECT_EQ(bottom, 6);
  s.Pointer().SetVisible(true);
  s.HorizMarginsNeeded(left, right);
  EXPECT_EQ(left, 5);
}

TEST(LineSeries, MarksStandAnArrowLengthAboveThePoints) {
  Fixture<TLineSeries> f({{1, 10}, {2, 40}});
  f.series.Marks().SetVisible(true);
  f.series.Marks().SetArrowLength(12);
  f.Draw();
  const TSeriesMarkPosition *mark = f.series.Marks().Positions().Position(1);
  ASSERT_NE(mark, nullptr);
  EXPECT_EQ(mark->ArrowStart, TPoint(XPix(2), YPix(40)));
  EXPECT_EQ(mark->ArrowEnd, TPoint(XPix(2), YPix(40) - 12));
  EXPECT_EQ(mark->TopLeftCorner.Y + mark->Height - 1, YPix(40) - 12);
}

// ---- clicks -------------------------------------------------------------------------

TEST(LineSeries, ClickOnAPointerCallsTheHandlerOnce) {
  Fixture<TPointSeries> f({{1, 10}, {2, 40}, {3, 20}});
  std::vector<int> clicked;
  f.series.OnClickPointer = [&](TCustomSeries *, int valueIndex, int, int) {
    clicked.push_back(valueIndex);
  };
  f.Draw();
  EXPECT_EQ(f.series.PointAtPosition(XPix(2), YPix(40)), 1);
  EXPECT_EQ(clicked, std::vector<int>{1});
  // Inside the pointer (half size 4, not 4 away), and just outside it.
  EXPECT_EQ(f.series.PointAtPosition(XPix(3) + 3, YPix(20) - 3), 2);
  EXPECT_EQ(f.series.PointAtPosition(XPix(3) + 4, YPix(20)), -1);
  // A point series has no clickable line.
  EXPECT_EQ(f.series.PointAtPosition((XPix(1) + XPix(2)) / 2, (YPix(10) + YPix(40)) / 2), -1);
}

TEST(LineSeries, ClickOnTheLineAnswersTheSegmentsFirstPoint) {
  Fixture<TLineSeries> f({{1, 10}, {2, 40}, {3, 20}});
  f.Draw();
  EXPECT_EQ(f.series.PointAtPosition(XPix(2), YPix(40)), 1) << "a vertex";
  EXPECT_EQ(f.series.PointAtPosition((XPix(2) + XPix(3)) / 2, (YPix(40) + YPix(20)) / 2), 1);
  EXPECT_EQ(f.series.PointAtPosition(XPix(2), YPix(90)), -1);
  f.series.SetClickableLine(false);
  EXPECT_EQ(f.series.PointAtPosition((XPix(2) + XPix(3)) / 2, (YPix(40) + YPix(20)) / 2), -1);
}

TEST(LineSeries, ClickOnAStairStep) {
  Fixture<TLineSeries> f({{1, 10}, {2, 40}});
  f.series.SetStairs(true);
  f.Draw();
  EXPECT_EQ(f.series.PointAtPosition(XPix(1.5), YPix(10)), 0) << "across";
  EXPECT_EQ(f.series.PointAtPosition(XPix(2), YPix(25)), 0) << "up";
  EXPECT_EQ(f.series.PointAtPosition(XPix(1), YPix(25)), -1);
  f.series.SetInvertedStairs(true);
  EXPECT_EQ(f.series.PointAtPosition(XPix(1), YPix(25)), 0);
}

TEST(LineSeries, ClickOnTheRibbonInThreeD) {
  Fixture<TLineSeries> f({{1, 10}, {3, 10}});
  f.Draw(true);
  // On the ribbon's top face: half way back, above the front edge.
  EXPECT_EQ(f.series.PointAtPosition(XPix(2) + 5, YPix(10) - 5), 0);
  EXPECT_EQ(f.series.PointAtPosition(XPix(2), YPix(10) - 15), -1);
  f.Draw(false);
  EXPECT_EQ(f.series.PointAtPosition(XPix(2) + 5, YPix(10) - 5), -1);
}

TEST(LineSeries, NothingToClickBeforeADrawing) {
  TLineSeries s;
  s.AppendPoint(1, 1);
  EXPECT_EQ(s.PointAtPosition(0, 0), -1);
}

// ---- legend -------------------------------------------------------------------------

struct LegendFixture {
  template <typename Series> std::vector<std::string> Symbol(Series &s, bool is3D) {
    s.SetParentChart(&chart);
    s.SetSeriesColor(clBlue);
    chart.SetView3D(is3D);
    TRecordingCanvas canvas;
    chart.Canvas().SetTargetCanvas(&canvas);
    s.DrawLegendSymbol(-1, TRect(0, 0, 20, 10));
    chart.Canvas().SetTargetCanvas(nullptr);
    last = canvas.Calls().empty() ? TCanvasCall() : canvas.Calls().back();
    return ShapesOf(canvas);
  }
  SeriesTestChart chart;
  TCanvasCall last;
};

TEST(LineSeries, LegendSymbolIsALineAcrossOrARibbonFace) {
  LegendFixture l;
  TLineSeries s;
  s.LinePen().SetWidth(2);
  EXPECT_EQ(l.Symbol(s, false),
            (std::vector<std::string>{"MoveTo 0 5", "LineTo 20 5 (0,5) (20,5)"}));
  EXPECT_EQ(l.last.Pen.Color, clBlue);
  EXPECT_EQ(l.last.Pen.Width, 2);
  s.SetLineBrush(bsDiagCross);
  EXPECT_EQ(l.Symbol(s, true), std::vector<std::string>{"Rectangle 0 0 20 10"});
  EXPECT_EQ(l.last.Brush.Color, clBlue);
  EXPECT_EQ(l.last.Brush.Style, bsDiagCross);
}

TEST(LineSeries, LegendSymbolWithPointersIsASmallPointerOnTheLine) {
  LegendFixture l;
  TLineSeries s;
  s.Pointer().SetVisible(true);
  // Half sizes at most 20 div 3 and 10 div 3 around (10, 5).
  EXPECT_EQ(l.Symbol(s, false), (std::vector<std::string>{"MoveTo 0 5", "LineTo 20 5 (0,5) (20,5)",
                                                          "Rectangle 6 2 15 9"}));
  EXPECT_EQ(l.last.Brush.Color, clBlue);
  TPointSeries p;
  EXPECT_EQ(l.Symbol(p, false), std::vector<std::string>{"Rectangle 6 2 15 9"});
}

TEST(LineSeries, LegendSymbolOfAnAreaIsItsRectangle) {
  LegendFixture l;
  TAreaSeries s;
  s.SetAreaBrush(bsCross);
  s.SetAreaColor(clYellow);
  s.AreaLinesPen().SetColor(clGreen);
  EXPECT_EQ(l.Symbol(s, false), std::vector<std::string>{"Rectangle 0 0 20 10"});
  EXPECT_EQ(l.last.Brush.Color, clBlue);
  EXPECT_EQ(l.last.Brush.Style, bsCross);
  EXPECT_EQ(l.last.BkColor, clYellow) << "hatched against the area colour";
  EXPECT_EQ(l.last.Pen.Color, clGreen);
}

TEST(LineSeries, NoSeriesSymbolWhenEachPointHasItsColour) {
  LegendFixture l;
  TLineSeries s;
  s.SetColorEachPoint(true);
  EXPECT_TRUE(l.Symbol(s, false).empty());
}

// ---- class settings -----------------------------------------------------------------

TEST(LineSeries, EachFaceKeepsItsLookWhenAssigned) {
  TPointSeries points;
  points.Pointer().SetHorizSize(7);
  points.SetStairs(true);
  points.AppendPoint(1, 2);
  TLineSeries line;
  line.Assign(points);
  EXPECT_TRUE(line.LineVisible());
  EXPECT_FALSE(line.Pointer().Visible());
  EXPECT_FALSE(line.DrawArea());
  EXPECT_EQ(line.Pointer().HorizSize(), 7);
  EXPECT_TRUE(line.Stairs());
  EXPECT_EQ(line.Count(), 1);

  TPointSeries back;
  back.Assign(line);
  EXPECT_TRUE(back.Pointer().Visible());
  EXPECT_FALSE(back.LineVisible());
  EXPECT_FALSE(back.ClickableLine());

  TAreaSeries area;
  area.SetMultiArea(maStacked);
  TAreaSeries copy;
  copy.Assign(area);
  EXPECT_EQ(copy.MultiArea(), maStacked);
  EXPECT_TRUE(copy.DrawArea());
  EXPECT_TRUE(copy.LineVisible());
  EXPECT_FALSE(copy.Pointer().Visible());
}

TEST(LineSeries, ConstructorsAndEditorNames) {
  TLineSeries line;
  TPointSeries point;
  TAreaSeries area;
  EXPECT_TRUE(line.KeepTrailingPoint);
  EXPECT_FALSE(line.SinglePointResults);
  EXPECT_TRUE(point.SinglePointResults);
  EXPECT_EQ(point.Marks().ArrowLength(), 0);
  EXPECT_FALSE(area.SinglePointResults);
  EXPECT_EQ(line.EditorClassName(), "TCustomSeriesEditor");
  EXPECT_EQ(point.EditorClassName(), "TSeriesPointerEditor");
  EXPECT_EQ(area.EditorClassName(), "TAreaSeriesEditor");
  EXPECT_EQ(line.ClassType().ClassName(), "TLineSeries");
  EXPECT_TRUE(area.ClassType().InheritsFrom(&TCustomSeries::StaticClass()));
  EXPECT_FALSE(line.SameClass(area));
}

TEST(PointSeries, PerPointColoursFillThePointers) {
  TPointSeries s;
  s.Pointer().Brush().SetColor(clYellow);
  s.SetColorEachPoint(true);
  EXPECT_EQ(s.Pointer().Brush().Color(), clTeeColor);
}

TEST(PointSeries, SamplesHaveLargePointersAndTheSecondSeriesTriangles) {
  SeriesTestChart chart;
  TPointSeries first, second;
  first.SetParentChart(&chart);
  second.SetParentChart(&chart);
  first.PrepareSample(true);
  second.PrepareSample(true);
  EXPECT_EQ(first.Pointer().HorizSize(), 6);
  EXPECT_EQ(first.Pointer().VertSize(), 6);
  EXPECT_EQ(first.Pointer().Style(), psRectangle);
  EXPECT_EQ(second.Pointer().Style(), psTriangle);
  EXPECT_EQ(second.Count(), 4);
}

} // namespace
