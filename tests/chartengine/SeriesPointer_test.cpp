#include "LineSeriesTestSupport.h"
#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/canvas/ChartPalette.h"
#include "chartengine/series/PointSeries.h"
#include "chartengine/series/SeriesPointer.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

// One point at (5, 50), drawn at (150, 120) with half sizes 4 and 3.
struct PointerChart {
  PointerChart() {
    series.SetParentChart(&chart);
    series.SetSeriesColor(clRed);
    series.AppendPoint(5, 50);
    series.Pointer().SetHorizSize(4);
    series.Pointer().SetVertSize(3);
  }
  SeriesTestChart chart;
  TPointSeries series;
};

struct FlatCase {
  const char *Name;
  TSeriesPointerStyle Style;
  std::vector<std::string> Shapes;
};

class FlatPointerTest : public ::testing::TestWithParam<FlatCase> {};

TEST_P(FlatPointerTest, ShapeAroundThePoint) {
  PointerChart c;
  c.series.Pointer().SetStyle(GetParam().Style);
  TRecordingCanvas canvas;
  c.chart.DrawOn(canvas);
  EXPECT_EQ(ShapesOf(canvas), GetParam().Shapes);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, FlatPointerTest,
    ::testing::Values(
        FlatCase{"Rectangle", psRectangle, {"Rectangle 146 117 155 124"}},
        FlatCase{"Circle", psCircle, {"Ellipse 146 117 154 123"}},
        FlatCase{"Triangle", psTriangle, {"Polygon (146,123) (154,123) (150,117)"}},
        FlatCase{"DownTriangle", psDownTriangle, {"Polygon (146,117) (154,117) (150,123)"}},
        FlatCase{"Cross",
                 psCross,
                 {"MoveTo 150 117", "LineTo 150 124 (150,117) (150,124)", "MoveTo 146 120",
                  "LineTo 155 120 (146,120) (155,120)"}},
        FlatCase{"DiagCross",
                 psDiagCross,
                 {"MoveTo 146 117", "LineTo 155 124 (146,117) (155,124)", "MoveTo 154 117",
                  "LineTo 145 124 (154,117) (145,124)"}},
        FlatCase{"Star",
                 psStar,
                 {"MoveTo 150 117", "LineTo 150 124 (150,117) (150,124)", "MoveTo 146 120",
                  "LineTo 155 120 (146,120) (155,120)", "MoveTo 146 117",
                  "LineTo 155 124 (146,117) (155,124)", "MoveTo 154 117",
                  "LineTo 145 124 (154,117) (145,124)"}},
        FlatCase{"Diamond", psDiamond, {"Polygon (146,120) (150,117) (154,120) (150,123)"}},
        FlatCase{"SmallDot", psSmallDot, {"SetPixel 150 120 " + std::to_string(clRed)}}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST(SeriesPointer, RectangleOfHalfSizeFourCoversNineByNinePixels) {
  PointerChart c;
  c.series.Pointer().SetVertSize(4);
  TRecordingCanvas canvas;
  c.chart.DrawOn(canvas);
  const auto rects = canvas.CallsNamed("Rectangle");
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].Args[2] - rects[0].Args[0], 9);
  EXPECT_EQ(rects[0].Args[3] - rects[0].Args[1], 9);
}

// In 3-D the pointer is the canvas primitive with these corners and depths
// (the series' front depth 0 and back depth 10).
struct Case3D {
  const char *Name;
  TSeriesPointerStyle Style;
  bool Draw3D;
  std::function<void(TChartCanvas3D &)> Reference;
};

class Pointer3DTest : public ::testing::TestWithParam<Case3D> {};

TEST_P(Pointer3DTest, PrimitiveAtTheSeriesDepth) {
  PointerChart c;
  c.series.Pointer().SetStyle(GetParam().Style);
  c.series.Pointer().SetDraw3D(GetParam().Draw3D);
  TRecordingCanvas got;
  c.chart.DrawOn(got, true);
  ASSERT_EQ(c.series.FrontDepth(), 0);
  ASSERT_EQ(c.series.BackDepth(), 10);
  TRecordingCanvas want;
  c.chart.Canvas().SetTargetCanvas(&want);
  GetParam().Reference(c.chart.Canvas());
  EXPECT_FALSE(ShapesOf(want).empty());
  EXPECT_EQ(ShapesOf(got), ShapesOf(want));
}

INSTANTIATE_TEST_SUITE_P(
    Styles, Pointer3DTest,
    ::testing::Values(
        Case3D{"Box", psRectangle, true,
               [](TChartCanvas3D &k) { k.Box(146, 154, 117, 123, 0, 10, true); }},
        Case3D{"FlatRectangle", psRectangle, false,
               [](TChartCanvas3D &k) { k.RectangleAtDepth(TRect(146, 117, 155, 124), 0); }},
        Case3D{"Circle", psCircle, true,
               [](TChartCanvas3D &k) { k.EllipseAtDepth(146, 117, 154, 123, 0); }},
        Case3D{"Pyramid", psTriangle, true,
               [](TChartCanvas3D &k) { k.Pyramid(true, 146, 117, 154, 123, 0, 10, true); }},
        Case3D{"FlatTriangle", psTriangle, false,
               [](TChartCanvas3D &k) {
                 k.TriangleAtDepth(TPoint(146, 123), TPoint(154, 123), TPoint(150, 117), 0);
               }},
        Case3D{"DownPyramid", psDownTriangle, true,
               [](TChartCanvas3D &k) { k.Pyramid(true, 146, 123, 154, 117, 0, 10, true); }},
        Case3D{"FlatDownTriangle", psDownTriangle, false,
               [](TChartCanvas3D &k) {
                 k.TriangleAtDepth(TPoint(146, 117), TPoint(154, 117), TPoint(150, 123), 0);
               }},
        Case3D{"Cross", psCross, true,
               [](TChartCanvas3D &k) {
                 k.VertLineAtDepth(150, 117, 124, 0);
                 k.HorizLineAtDepth(146, 155, 120, 0);
               }},
        Case3D{"DiagCross", psDiagCross, true,
               [](TChartCanvas3D &k) {
                 k.LineAtDepth(146, 117, 155, 124, 0);
                 k.LineAtDepth(154, 117, 145, 124, 0);
               }},
        Case3D{"Star", psStar, true,
               [](TChartCanvas3D &k) {
                 k.VertLineAtDepth(150, 117, 124, 0);
                 k.HorizLineAtDepth(146, 155, 120, 0);
                 k.LineAtDepth(146, 117, 155, 124, 0);
                 k.LineAtDepth(154, 117, 145, 124, 0);
               }},
        Case3D{"Diamond", psDiamond, true,
               [](TChartCanvas3D &k) {
                 k.PlaneAtDepth(TPoint(146, 120), TPoint(150, 117), TPoint(154, 120),
                                TPoint(150, 123), 0);
               }},
        Case3D{"SmallDot", psSmallDot, true,
               [](TChartCanvas3D &k) { k.Pixel3D(150, 120, 0, clRed); }}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST(SeriesPointer, FlatShapesLieAtTheOwnersFrontDepth) {
  PointerChart c;
  // A second series in front: the pointer's series is one row deep.
  TPointSeries front;
  front.SetParentChart(&c.chart);
  c.series.Pointer().SetDraw3D(false);
  TRecordingCanvas canvas;
  c.chart.DrawOn(canvas, true);
  ASSERT_EQ(c.series.FrontDepth(), 10);
  const auto polygons = PolygonsOf(canvas);
  ASSERT_EQ(polygons.size(), 1u);
  EXPECT_EQ(polygons[0][0], c.chart.Projected(146, 117, 10));
  EXPECT_EQ(polygons[0][0], TPoint(156, 107));
}

TEST(SeriesPointer, CrossesTakeThePointColourWhateverThePen) {
  PointerChart c;
  c.series.Pointer().SetStyle(psStar);
  c.series.Pointer().Pen().SetColor(clBlue);
  TRecordingCanvas canvas;
  c.chart.DrawOn(canvas);
  const auto lines = canvas.CallsNamed("LineTo");
  ASSERT_EQ(lines.size(), 4u);
  for (const TCanvasCall &line : lines)
    EXPECT_EQ(line.Pen.Color, clRed);
}

TEST(SeriesPointer, AutomaticPenAndBrushTakeThePointColour) {
  PointerChart c;
  TRecordingCanvas canvas;
  c.chart.DrawOn(canvas);
  auto rect = canvas.CallsNamed("Rectangle").at(0);
  EXPECT_EQ(rect.Brush.Color, clRed) << "the brush starts automatic";
  EXPECT_EQ(rect.Pen.Color, clBlack) << "the pen keeps its own colour";

  c.series.Pointer().Pen().SetColor(clTeeColor);
  c.series.Pointer().Brush().SetColor(clYellow);
  c.series.Pointer().Brush().SetStyle(bsCross);
  canvas.Clear();
  c.chart.DrawOn(canvas);
  rect = canvas.CallsNamed("Rectangle").at(0);
  EXPECT_EQ(rect.Pen.Color, clRed);
  EXPECT_EQ(rect.Brush.Color, clYellow);
  EXPECT_EQ(rect.Brush.Style, bsCross);

  c.series.Pointer().Pen().SetVisible(false);
  canvas.Clear();
  c.chart.DrawOn(canvas);
  EXPECT_EQ(canvas.CallsNamed("Rectangle").at(0).Pen.Style, psClear);
}

TEST(SeriesPointer, SizeBelowOneIsRefusedAndKept) {
  TPointSeries series;
  TSeriesPointer &p = series.Pointer();
  for (int bad : {0, -3}) {
    try {
      p.SetHorizSize(bad);
      FAIL() << "no exception";
    } catch (const ChartException &e) {
      EXPECT_STREQ(e.what(), "Pointer size must be greater than zero");
    }
    EXPECT_THROW(p.SetVertSize(bad), ChartException);
  }
  EXPECT_EQ(p.HorizSize(), 4);
  EXPECT_EQ(p.VertSize(), 4);
}

TEST(SeriesPointer, MarginsLeaveRoomForTheVisiblePointer) {
  TPointSeries series;
  TSeriesPointer &p = series.Pointer();
  p.SetHorizSize(6);
  int left = 2, right = 9, top = 0, bottom = 0;
  p.CalcHorizMargins(left, right);
  p.CalcVertMargins(top, bottom);
  EXPECT_EQ(left, 7);
  EXPECT_EQ(right, 9);
  EXPECT_EQ(top, 5);
  EXPECT_EQ(bottom, 5);
  p.SetInflateMargins(false);
  left = right = 0;
  p.CalcHorizMargins(left, right);
  EXPECT_EQ(left, 0);
  p.SetInflateMargins(true);
  p.SetVisible(false);
  p.CalcHorizMargins(left, right);
  EXPECT_EQ(right, 0);
}

TEST(SeriesPointer, LegendSymbolIsFlatAndSmallerWithALine) {
  PointerChart c;
  TRecordingCanvas canvas;
  c.chart.DrawOn(canvas, true);
  c.series.Pointer().SetVertSize(4);
  c.chart.Canvas().SetTargetCanvas(&canvas);
  canvas.Clear();
  c.series.Pointer().DrawLegendFigure(clGreen, TRect(0, 0, 30, 9), true);
  // Half sizes at most 30 div 3 and 9 div 3, at the centre (15, 4).
  EXPECT_EQ(ShapesOf(canvas), std::vector<std::string>{"Rectangle 11 1 20 8"});
  EXPECT_EQ(canvas.Calls().back().Brush.Color, clGreen);
  canvas.Clear();
  c.series.Pointer().DrawLegendFigure(clGreen, TRect(0, 0, 30, 9), false);
  EXPECT_EQ(ShapesOf(canvas), std::vector<std::string>{"Rectangle 11 0 20 9"});
}

TEST(SeriesPointer, AssignCopiesEverySettingButTheOwner) {
  TPointSeries a, b;
  TSeriesPointer &p = a.Pointer();
  p.SetDark3D(false);
  p.SetDraw3D(false);
  p.Brush().SetColor(clAqua);
  p.SetHorizSize(7);
  p.SetVertSize(2);
  p.SetInflateMargins(false);
  p.Pen().SetWidth(3);
  p.SetStyle(psDiamond);
  p.SetVisible(false);
  b.Pointer().Assign(p);
  const TSeriesPointer &q = b.Pointer();
  EXPECT_FALSE(q.Dark3D());
  EXPECT_FALSE(q.Draw3D());
  EXPECT_EQ(q.Brush().Color(), clAqua);
  EXPECT_EQ(q.HorizSize(), 7);
  EXPECT_EQ(q.VertSize(), 2);
  EXPECT_FALSE(q.InflateMargins());
  EXPECT_EQ(q.Pen().Width(), 3);
  EXPECT_EQ(q.Style(), psDiamond);
  EXPECT_FALSE(q.Visible());
  EXPECT_EQ(q.OwnerSeries(), &b);
}

TEST(SeriesPointer, ChangesRepaintTheOwnersChart) {
  PointerChart c;
  TRecordingCanvas canvas;
  c.chart.SetBufferedDisplay(true);
  c.chart.DrawToCanvas(&canvas, TRect(0, 0, 300, 300));
  ASSERT_FALSE(c.chart.Canvas().BufferStale());
  c.series.Pointer().SetStyle(psCircle);
  EXPECT_TRUE(c.chart.Canvas().BufferStale());
}

} // namespace
