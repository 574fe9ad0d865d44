#include "LineSeriesTestSupport.h"
#include "chartengine/canvas/ChartSeriesTypes.h"
#include "chartengine/series/AreaSeries.h"
#include "chartengine/series/FastLineSeries.h"
#include "chartengine/series/LineSeries.h"
#include "chartengine/series/PointSeries.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

struct FastChart {
  explicit FastChart(std::initializer_list<std::pair<double, double>> points = {}) {
    series.SetParentChart(&chart);
    series.SetSeriesColor(clRed);
    for (const auto &[x, y] : points)
      series.AppendPoint(x, y);
  }
  std::vector<std::string> Draw(bool is3D = false) {
    canvas.Clear();
    chart.DrawOn(canvas, is3D);
    return ShapesOf(canvas);
  }
  SeriesTestChart chart;
  TFastLineSeries series;
  TRecordingCanvas canvas;
};

std::string MoveTo(double x, double y) {
  return "MoveTo " + std::to_string(XPix(x)) + " " + std::to_string(YPix(y));
}
std::string LineTo(double x0, double y0, double x1, double y1) {
  const int ax = XPix(x0), ay = YPix(y0), bx = XPix(x1), by = YPix(y1);
  return "LineTo " + std::to_string(bx) + " " + std::to_string(by) + " (" + std::to_string(ax) +
         "," + std::to_string(ay) + ") (" + std::to_string(bx) + "," + std::to_string(by) + ")";
}

TEST(FastLineSeries, OnePenPathThroughTheVisiblePoints) {
  FastChart f({{1, 10}, {2, 40}, {3, 20}});
  EXPECT_EQ(f.Draw(),
            (std::vector<std::string>{MoveTo(1, 10), LineTo(1, 10, 2, 40), LineTo(2, 40, 3, 20)}));
  for (const TCanvasCall &c : f.canvas.CallsNamed("LineTo")) {
    EXPECT_EQ(c.Pen.Color, clRed);
    EXPECT_EQ(c.Brush.Style, bsClear);
  }
}

TEST(FastLineSeries, PointOnTheLastDrawnPixelAddsNothing) {
  // 2.01 maps to the pixel of 2 (x = 90.2).
  FastChart f({{1, 10}, {2, 40}, {2.01, 40}, {3, 20}});
  EXPECT_EQ(f.Draw(),
            (std::vector<std::string>{MoveTo(1, 10), LineTo(1, 10, 2, 40), LineTo(2, 40, 3, 20)}));
}

TEST(FastLineSeries, PointsOnOnePixelColumnDrawAsItsFirstLowestHighestAndLastPoint) {
  // 2 .. 2.02 all map to x = 90; the point of 30 lies inside the column's
  // span and adds no pixel to a solid 1-pixel line.
  FastChart f({{1, 10}, {2, 40}, {2.005, 20}, {2.01, 60}, {2.015, 30}, {2.02, 50}, {3, 20}});
  EXPECT_EQ(f.Draw(), (std::vector<std::string>{MoveTo(1, 10), LineTo(1, 10, 2, 40),
                                                LineTo(2, 40, 2, 20), LineTo(2, 20, 2, 60),
                                                LineTo(2, 60, 2, 50), LineTo(2, 50, 3, 20)}));
  // Any other pen draws every point.
  f.series.LinePen().SetStyle(psDot);
  EXPECT_EQ(f.Draw().size(), 7u);
}

TEST(FastLineSeries, OneVisiblePointOnlyMovesThePen) {
  FastChart f({{1, 10}});
  EXPECT_EQ(f.Draw(), std::vector<std::string>{MoveTo(1, 10)});
}

TEST(FastLineSeries, LineComesInFromThePointBeforeTheVisibleRange) {
  FastChart f;
  for (int x = 0; x <= 9; ++x)
    f.series.AppendPoint(x, 10 + x);
  f.chart.BottomAxis()->SetMinMax(2.5, 6.5);
  const auto shapes = f.Draw();
  // From point 2 to point 3 whole, then on to point 7 (the one past the end).
  ASSERT_EQ(shapes.size(), 2u + 4u);
  const TCanvasCall first = f.canvas.CallsNamed("MoveTo").at(0);
  EXPECT_EQ(first.Args, (std::vector<int>{f.series.PointScreenX(2), f.series.PointScreenY(2)}));
  const TCanvasCall last = f.canvas.CallsNamed("LineTo").back();
  EXPECT_EQ(last.Args, (std::vector<int>{f.series.PointScreenX(7), f.series.PointScreenY(7)}));
  EXPECT_EQ(f.series.FirstVisibleIndex(), 3);
  EXPECT_EQ(f.series.LastVisibleIndex(), 7);
}

TEST(FastLineSeries, ThreeDLineRunsAtTheMiddleDepth) {
  FastChart f({{1, 10}, {2, 40}});
  const auto shapes = f.Draw(true);
  ASSERT_EQ(f.series.MidDepth(), 5);
  const auto segments = SegmentsOf(f.canvas);
  ASSERT_EQ(segments.size(), 1u);
  EXPECT_EQ(segments[0].From, f.chart.Projected(XPix(1), YPix(10), 5));
  EXPECT_EQ(segments[0].To, f.chart.Projected(XPix(2), YPix(40), 5));
}

TEST(FastLineSeries, LinesSharingADepthKeepToTheirOwnPoints) {
  FastChart f({{1, 10}, {2, 40}, {3, 20}});
  TFastLineSeries other;
  other.SetParentChart(&f.chart);
  other.SetSeriesColor(clBlue);
  for (const auto &[x, y] : {std::pair{1.0, 80.0}, {2.0, 70.0}, {3.0, 90.0}})
    other.AppendPoint(x, y);
  // One row for both: the chart draws them point by point in turn.
  f.series.SetDepthIndex(0);
  other.SetDepthIndex(0);
  f.Draw(true);
  auto at = [&](double x, double y) {
    return f.chart.Projected(XPix(x), YPix(y), f.series.MidDepth());
  };
  std::vector<TSegment> red, blue;
  for (const TCanvasCall &c : f.canvas.CallsNamed("LineTo"))
    (c.Pen.Color == clRed ? red : blue).push_back({c.Points[0], c.Points[1]});
  EXPECT_EQ(red, (std::vector<TSegment>{{at(1, 10), at(2, 40)}, {at(2, 40), at(3, 20)}}));
  EXPECT_EQ(blue, (std::vector<TSegment>{{at(1, 80), at(2, 70)}, {at(2, 70), at(3, 90)}}));
}

// ---- appending --------------------------------------------------------------------------

TEST(FastLineSeries, WithoutAutoRepaintAnAddedPointDrawsOnlyItsSegment) {
  FastChart f({{1, 10}, {2, 40}});
  f.Draw();
  int afterAdd = 0;
  f.series.OnAfterAdd = [&](TChartSeries *, int) { ++afterAdd; };
  f.series.AutoRepaint = false;
  TRecordingCanvas live;
  f.chart.Canvas().SetTargetCanvas(&live);
  EXPECT_EQ(f.series.AppendPoint(3, 20), 2);
  EXPECT_EQ(ShapesOf(live), (std::vector<std::string>{MoveTo(2, 40), LineTo(2, 40, 3, 20)}));
  EXPECT_EQ(live.Calls().back().Pen.Color, clRed);
  EXPECT_EQ(afterAdd, 0) << "no events on the fast path";

  f.series.AutoRepaint = true;
  live.Clear();
  f.series.AppendPoint(4, 30);
  EXPECT_EQ(afterAdd, 1);
  EXPECT_TRUE(ShapesOf(live).empty()) << "the normal path repaints the chart instead";
}

TEST(FastLineSeries, FirstPointAddedWithoutAutoRepaintDrawsAtItself) {
  FastChart f;
  f.Draw(); // lays out the axes; nothing to draw
  f.series.AutoRepaint = false;
  TRecordingCanvas live;
  f.chart.Canvas().SetTargetCanvas(&live);
  f.series.AppendPoint(1, 10);
  EXPECT_EQ(ShapesOf(live), (std::vector<std::string>{MoveTo(1, 10), LineTo(1, 10, 1, 10)}));
}

TEST(FastLineSeries, AddedSegmentGoesIntoTheShownPicture) {
  FastChart f({{1, 10}, {2, 40}});
  f.chart.resize(300, 300);
  f.chart.SetBufferedDisplay(true);
  f.chart.PaintBackground = true;
  TRecordingCanvas window;
  f.chart.DrawOn(window);
  ASSERT_FALSE(f.chart.Canvas().BufferStale());
  const QImage *picture = f.chart.Canvas().BufferImage();
  ASSERT_NE(picture, nullptr);
  const int x = (XPix(2) + XPix(3)) / 2, y = (YPix(40) + YPix(60)) / 2;
  ASSERT_EQ(picture->pixel(x, y), qRgb(255, 255, 255));

  f.series.AutoRepaint = false;
  f.series.AppendPoint(3, 60);
  EXPECT_FALSE(f.chart.Canvas().BufferStale()) << "the chart is not drawn again";
  EXPECT_EQ(picture->pixel(x, y), qRgb(255, 0, 0));
}

TEST(FastLineSeries, AddedSegmentIsClippedToThePlot) {
  FastChart f({{1, 10}, {2, 40}});
  f.chart.resize(300, 300);
  f.chart.SetBufferedDisplay(true);
  f.chart.PaintBackground = true;
  TRecordingCanvas window;
  f.chart.DrawOn(window);
  f.series.AutoRepaint = false;
  f.series.AppendPoint(2.5, 140); // from (90, 140) up to (100, -60), above the plot
  const QImage *picture = f.chart.Canvas().BufferImage();
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->pixel(92, 100), qRgb(255, 0, 0));
  int outside = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 80; x < 110; ++x)
      outside += picture->pixel(x, y) != qRgb(255, 255, 255);
  EXPECT_EQ(outside, 0);
}

// ---- pens, clicks, legend, marks -------------------------------------------------------

TEST(FastLineSeries, SeriesColourAndLinePenFollowEachOther) {
  TFastLineSeries s;
  s.SetSeriesColor(clGreen);
  EXPECT_EQ(s.LinePen().Color(), clGreen);
  TChartPen pen;
  pen.SetColor(clNavy);
  pen.SetWidth(3);
  s.SetLinePen(pen);
  EXPECT_EQ(s.SeriesColor(), clNavy);
  EXPECT_EQ(s.LinePen().Width(), 3);
}

TEST(FastLineSeries, SeriesColourWinsOverThePenWhenDrawing) {
  FastChart f({{1, 10}, {2, 40}});
  f.series.LinePen().SetColor(clBlue);
  f.series.LinePen().SetStyle(psDash);
  f.Draw();
  const TCanvasCall line = f.canvas.CallsNamed("LineTo").at(0);
  EXPECT_EQ(line.Pen.Color, clRed);
  EXPECT_EQ(line.Pen.Style, psDash);
}

TEST(FastLineSeries, ClickOnAVertexOrASegment) {
  FastChart f;
  for (int x = 0; x <= 8; ++x)
    f.series.AppendPoint(x, x % 2 == 0 ? 10 : 50);
  EXPECT_EQ(f.series.PointAtPosition(XPix(4), YPix(10)), -1) << "nothing drawn yet";
  f.Draw();
  EXPECT_EQ(f.series.PointAtPosition(XPix(4), YPix(10)), 4);
  EXPECT_EQ(f.series.PointAtPosition((XPix(4) + XPix(5)) / 2, (YPix(10) + YPix(50)) / 2), 4);
  EXPECT_EQ(f.series.PointAtPosition(XPix(4), YPix(90)), -1);
}

TEST(FastLineSeries, LegendSymbolIsALineAcrossItsMiddle) {
  FastChart f;
  f.series.LinePen().SetWidth(2);
  TRecordingCanvas canvas;
  f.chart.Canvas().SetTargetCanvas(&canvas);
  f.series.DrawLegendSymbol(-1, TRect(4, 10, 24, 19));
  EXPECT_EQ(ShapesOf(canvas),
            (std::vector<std::string>{"MoveTo 4 14", "LineTo 24 14 (4,14) (24,14)"}));
  EXPECT_EQ(canvas.Calls().back().Pen.Color, clRed);
  EXPECT_EQ(canvas.Calls().back().Pen.Width, 2);
}

TEST(FastLineSeries, MarksStandAnArrowLengthAbove) {
  FastChart f({{1, 10}});
  f.series.Marks().SetVisible(true);
  f.Draw();
  const TSeriesMarkPosition *mark = f.series.Marks().Positions().Position(0);
  ASSERT_NE(mark, nullptr);
  EXPECT_EQ(mark->ArrowEnd.Y, YPix(10) - f.series.Marks().ArrowLength());
}

TEST(FastLineSeries, AssignTakesThePenAndAutoRepaint) {
  TFastLineSeries a, b;
  a.AutoRepaint = false;
  a.LinePen().SetWidth(4);
  a.AppendPoint(1, 2);
  b.Assign(a);
  EXPECT_FALSE(b.AutoRepaint);
  EXPECT_EQ(b.LinePen().Width(), 4);
  EXPECT_EQ(b.Count(), 1);
  EXPECT_EQ(b.EditorClassName(), "TFastLineSeriesEditor");
  EXPECT_TRUE(b.KeepTrailingPoint);
  EXPECT_FALSE(b.SinglePointResults);
}

// ---- registration ----------------------------------------------------------------------

class SeriesRegistrationTest : public ::testing::Test {
protected:
  void SetUp() override {
    FreeChartSeriesTypes();
    ClearChartClasses();
  }
  void TearDown() override {
    FreeChartSeriesTypes();
    ClearChartClasses();
  }
};

TEST_F(SeriesRegistrationTest, EachFaceGoesOnTheStandardPage) {
  RegisterLineSeriesType();
  RegisterAreaSeriesType();
  RegisterPointSeriesType();
  RegisterFastLineSeriesType();
  const TChartSeriesTypes *types = ChartSeriesTypes();
  ASSERT_NE(types, nullptr);
  ASSERT_EQ(types->Count(), 4);
  const std::vector<std::pair<TChartClassRef, std::string>> expected = {
      {&TLineSeries::StaticClass(), "Line"},
      {&TAreaSeries::StaticClass(), "Area"},
      {&TPointSeries::StaticClass(), "Point"},
      {&TFastLineSeries::StaticClass(), "Fast Line"}};
  for (int t = 0; t < 4; ++t) {
    const TChartSeriesType &item = types->Item(t);
    EXPECT_EQ(item.SeriesClass, expected[t].first);
    EXPECT_EQ(item.Description, expected[t].second);
    EXPECT_EQ(item.GalleryPage, "Standard");
    EXPECT_EQ(item.NumGallerySeries, 2);
  }
  // A form description naming the class makes one.
  const auto *cls = dynamic_cast<const TChartComponentClass *>(FindChartClass("TFastLineSeries"));
  ASSERT_NE(cls, nullptr);
  const auto made = cls->Create(nullptr);
  EXPECT_NE(dynamic_cast<TFastLineSeries *>(made.get()), nullptr);
  EXPECT_EQ(FindChartClass("TCustomSeries"), nullptr) << "not registered";
}

} // namespace
