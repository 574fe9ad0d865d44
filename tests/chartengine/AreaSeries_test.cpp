#include "LineSeriesTestSupport.h"
#include "chartengine/canvas/ChartPalette.h"
#include "chartengine/series/AreaSeries.h"
#include "chartengine/series/LineSeries.h"

#include <gtest/gtest.h>

namespace {

using Polygon = std::vector<TPoint>;

// The area between two points down to an origin, as the series draws it:
// current point, its origin, the previous origin, the previous point.
Polygon AreaQuad(double x0, double y0, double x1, double y1, int origin0, int origin1) {
  return {TPoint(XPix(x1), YPix(y1)), TPoint(XPix(x1), origin1), TPoint(XPix(x0), origin0),
          TPoint(XPix(x0), YPix(y0))};
}

struct AreaChart {
  TAreaSeries &Add(std::initializer_list<std::pair<double, double>> points, TColor color) {
    auto &s = *series.emplace_back(std::make_unique<TAreaSeries>());
    s.SetParentChart(&chart);
    s.SetSeriesColor(color);
    for (const auto &[x, y] : points)
      s.AppendPoint(x, y);
    return s;
  }
  std::vector<Polygon> Draw(bool is3D = false) {
    canvas.Clear();
    chart.DrawOn(canvas, is3D);
    return PolygonsOf(canvas);
  }
  SeriesTestChart chart;
  std::vector<std::unique_ptr<TAreaSeries>> series;
  TRecordingCanvas canvas;
};

TEST(AreaSeries, FillsDownToTheEndOfTheVerticalAxis) {
  AreaChart a;
  a.Add({{1, 10}, {2, 40}, {3, 20}}, clRed);
  EXPECT_EQ(a.Draw(), (std::vector<Polygon>{AreaQuad(1, 10, 2, 40, 220, 220),
                                            AreaQuad(2, 40, 3, 20, 220, 220)}));
  const auto fills = a.canvas.CallsNamed("Polygon");
  EXPECT_EQ(fills[0].Brush.Color, clRed);
  EXPECT_EQ(fills[0].Brush.Style, bsSolid);
  EXPECT_EQ(fills[0].Pen.Color, clBlack) << "the area lines pen";
  EXPECT_TRUE(SegmentsOf(a.canvas).empty()) << "no separate line in a flat chart";
}

TEST(AreaSeries, OriginFollowsTheAxisEndAfterMargins) {
  AreaChart a;
  a.Add({{1, 10}, {2, 40}}, clRed);
  a.chart.LeftAxis()->SetEndPosition(90); // ends at 20 + 180
  const auto polygons = a.Draw();
  ASSERT_EQ(polygons.size(), 1u);
  EXPECT_EQ(polygons[0][1].Y, 200);
  EXPECT_EQ(polygons[0][2].Y, 200);
}

TEST(AreaSeries, AreaColourLinesPenAndHatchBackground) {
  AreaChart a;
  TAreaSeries &s = a.Add({{1, 10}, {2, 40}}, clRed);
  s.SetAreaColor(clYellow);
  s.SetAreaBrush(bsDiagCross);
  s.AreaLinesPen().SetColor(clTeeColor);
  a.Draw();
  const TCanvasCall fill = a.canvas.CallsNamed("Polygon").at(0);
  EXPECT_EQ(fill.Brush.Color, clYellow);
  EXPECT_EQ(fill.Brush.Style, bsDiagCross);
  EXPECT_EQ(fill.BkColor, clRed) << "hatches over the series colour";
  EXPECT_EQ(fill.Pen.Color, clRed) << "an automatic lines pen takes the point colour";

  // Per-point colours win over the area colour.
  s.SetColorEachPoint(true);
  s.SetPointColor(1, clGreen);
  a.Draw();
  EXPECT_EQ(a.canvas.CallsNamed("Polygon").at(0).Brush.Color, clGreen);
}

TEST(AreaSeries, StairsAreRectanglesFromTheOrigin) {
  AreaChart a;
  TAreaSeries &s = a.Add({{1, 10}, {2, 40}}, clRed);
  s.SetStairs(true);
  EXPECT_EQ(a.Draw(), (std::vector<Polygon>{{TPoint(70, 220), TPoint(91, 220), TPoint(91, YPix(10)),
                                             TPoint(70, YPix(10))}}));
  s.SetInvertedStairs(true);
  EXPECT_EQ(a.Draw(), (std::vector<Polygon>{{TPoint(70, 220), TPoint(91, 220), TPoint(91, YPix(40)),
                                             TPoint(70, YPix(40))}}));
}

TEST(AreaSeries, ScrolledAreaStartsAtThePointBeforeTheRange) {
  AreaChart a;
  a.Add({{0, 10}, {2, 40}, {4, 20}}, clRed);
  a.chart.BottomAxis()->SetMinMax(1, 10); // x = 50 + 200 (v - 1) / 9
  const auto polygons = a.Draw();
  ASSERT_EQ(polygons.size(), 2u);
  const int x0 = a.series[0]->PointScreenX(0);
  EXPECT_LT(x0, 50);
  EXPECT_EQ(polygons[0][3], TPoint(x0, YPix(10)));
  EXPECT_EQ(polygons[0][2], TPoint(x0, 220));
}

TEST(AreaSeries, ThreeDAreaHasARibbonTopAndAnEndFace) {
  AreaChart a;
  a.Add({{1, 10}, {2, 40}}, clRed);
  a.series[0]->SetDark3D(false);
  const auto polygons = a.Draw(true);
  TRecordingCanvas want;
  TChartCanvas3D &k = a.chart.Canvas();
  k.SetTargetCanvas(&want);
  const TPoint p(XPix(1), YPix(10)), c(XPix(2), YPix(40));
  k.PlaneBetweenDepths(p, c, 0, 10);
  k.RectangleInX(c.X, c.Y, 220, 0, 10);
  k.PlaneAtDepth(c, TPoint(c.X, 220), TPoint(p.X, 220), p, 0);
  EXPECT_EQ(polygons, PolygonsOf(want));
}

// ---- stacking -------------------------------------------------------------------------

TEST(AreaSeries, StackedAreaLiesOnTheOneBefore) {
  AreaChart a;
  TAreaSeries &low = a.Add({{1, 10}, {2, 20}}, clRed);
  TAreaSeries &high = a.Add({{1, 5}, {2, 15}}, clBlue);
  high.SetMultiArea(maStacked);
  EXPECT_EQ(low.MultiArea(), maStacked) << "the whole stack follows";
  EXPECT_EQ(a.Draw(), (std::vector<Polygon>{AreaQuad(1, 10, 2, 20, 220, 220),
                                            AreaQuad(1, 15, 2, 35, YPix(10), YPix(20))}));
  EXPECT_EQ(high.PointScreenY(0), YPix(15));
  EXPECT_EQ(high.PointScreenY(1), YPix(35));
  EXPECT_EQ(low.PointScreenY(1), YPix(20));
  EXPECT_EQ(high.LargestY(), 35);
  EXPECT_EQ(low.LargestY(), 20);
}

TEST(AreaSeries, StackedPositionsStayAboveTheAxisEnd) {
  AreaChart a;
  a.Add({{1, -30}}, clRed);
  TAreaSeries &high = a.Add({{1, 10}}, clBlue);
  high.SetMultiArea(maStacked);
  a.Draw();
  EXPECT_EQ(high.PointScreenY(0), 220) << "-20 lies below the axis end";
}

TEST(AreaSeries, StackedToAHundredPercent) {
  AreaChart a;
  TAreaSeries &low = a.Add({{1, 10}, {2, 30}, {3, 0}}, clRed);
  TAreaSeries &high = a.Add({{1, 30}, {2, 10}, {3, 0}}, clBlue);
  low.SetMultiArea(maStacked100);
  a.Draw();
  EXPECT_EQ(low.PointScreenY(0), YPix(25));
  EXPECT_EQ(low.PointScreenY(1), YPix(75));
  EXPECT_EQ(high.PointScreenY(0), YPix(100));
  EXPECT_EQ(high.PointScreenY(1), YPix(100));
  // A stack that adds up to nothing lies on the zero line.
  EXPECT_EQ(high.PointScreenY(2), YPix(0));
  EXPECT_EQ(low.LargestY(), 100);
  EXPECT_EQ(low.SmallestY(), 0);
}

TEST(AreaSeries, MultiAreaReachesOnlyAreaSeries) {
  AreaChart a;
  TAreaSeries &first = a.Add({{1, 1}}, clRed);
  TLineSeries line;
  line.SetParentChart(&a.chart);
  TAreaSeries &second = a.Add({{1, 1}}, clBlue);
  second.SetMultiArea(maStacked100);
  EXPECT_EQ(first.MultiArea(), maStacked100);
  second.SetMultiArea(maNone);
  EXPECT_EQ(first.MultiArea(), maNone);
}

TEST(AreaSeries, StackedAreasShareOneDepthInThreeD) {
  AreaChart a;
  TAreaSeries &first = a.Add({{1, 10}}, clRed);
  TAreaSeries &second = a.Add({{1, 10}}, clBlue);
  TLineSeries line;
  line.SetParentChart(&a.chart);
  line.AppendPoint(1, 5);
  first.SetMultiArea(maStacked);
  a.Draw(true);
  EXPECT_EQ(first.DepthIndex(), second.DepthIndex());
  EXPECT_EQ(first.FrontDepth(), second.FrontDepth());
  EXPECT_NE(line.FrontDepth(), first.FrontDepth());
  // Every row lies within the chart's depth.
  for (const TChartSeries *s :
       {static_cast<TChartSeries *>(&first), static_cast<TChartSeries *>(&line)}) {
    EXPECT_GE(s->FrontDepth(), 0);
    EXPECT_LE(s->BackDepth(), a.chart.DepthWidth());
  }
  EXPECT_EQ(a.chart.DeepestIndex(), 1);
}

TEST(AreaSeries, StackedAreaFirstInTheChartKeepsItsDepthInRange) {
  AreaChart a;
  TAreaSeries &only = a.Add({{1, 10}}, clRed);
  only.SetMultiArea(maStacked);
  TLineSeries line;
  line.SetParentChart(&a.chart);
  a.Draw(true);
  EXPECT_LE(only.BackDepth(), a.chart.DepthWidth());
  EXPECT_LE(line.BackDepth(), a.chart.DepthWidth());
  EXPECT_NE(only.FrontDepth(), line.FrontDepth());
}

// ---- clicks -------------------------------------------------------------------------

TEST(AreaSeries, ClickInsideTheAreaAnswersTheSegmentsFirstPoint) {
  AreaChart a;
  TAreaSeries &s = a.Add({{1, 10}, {2, 40}, {3, 20}}, clRed);
  a.Draw();
  EXPECT_EQ(s.PointAtPosition(XPix(2.5), YPix(5)), 1);
  EXPECT_EQ(s.PointAtPosition(XPix(1.5), YPix(5)), 0);
  EXPECT_EQ(s.PointAtPosition(XPix(2.5), YPix(80)), -1);
}

} // namespace
