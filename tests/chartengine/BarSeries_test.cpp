#include "SeriesGeometryTestChart.h"
#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/series/BarSeries.h"
#include "chartengine/series/HorizBarSeries.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Bottom axis 0 .. 11 over x 20 .. 460 (x = 20 + 40 v); left axis 0 .. 100
// over y 20 .. 320 (y = 320 - 3 v).
constexpr int X(double v) { return 20 + static_cast<int>(v * 40); }
constexpr int Y(double v) { return 320 - static_cast<int>(v * 3); }

class BarSeriesTest : public ::testing::Test {
protected:
  BarSeriesTest() : chart(TRect(20, 20, 460, 320), 0, 11, 0, 100) {}

  TBarSeries &NewBar() {
    series.push_back(std::make_unique<TBarSeries>());
    TBarSeries &s = *series.back();
    s.SetParentChart(&chart);
    s.Marks().SetVisible(false);
    return s;
  }
  std::vector<std::string> Draw(bool is3D = false) {
    canvas.Clear();
    chart.DrawOn(canvas, is3D);
    return DrawnShapes(canvas);
  }
  static std::string Rect(int l, int t, int r, int b) {
    return "Rectangle " + std::to_string(l) + " " + std::to_string(t) + " " + std::to_string(r) +
           " " + std::to_string(b);
  }

  GeometryChart chart;
  std::vector<std::unique_ptr<TBarSeries>> series;
  TRecordingCanvas canvas;
};

TEST_F(BarSeriesTest, TwoSeriesSideBySideShareEachPoint) {
  TBarSeries &a = NewBar();
  TBarSeries &b = NewBar();
  for (int t = 0; t < 10; ++t) {
    a.Add(10 * (t + 1));
    b.Add(5 * (t + 1));
  }
  const std::vector<std::string> shapes = Draw();
  // 10 points and one more for the side margins on 440 pixels: 40 pixels per
  // point, 70 % of it shared by two bars.
  EXPECT_EQ(a.BarSize(), 14);
  ASSERT_EQ(shapes.size(), 20u);
  for (int t = 0; t < 10; ++t) {
    EXPECT_EQ(shapes[t], Rect(X(t) - 14, Y(10 * (t + 1)), X(t), Y(0))) << t;
    EXPECT_EQ(shapes[10 + t], Rect(X(t), Y(5 * (t + 1)), X(t) + 14, Y(0))) << t;
  }
  EXPECT_EQ(a.BarSeriesPosition(), 1);
  EXPECT_EQ(b.BarSeriesPosition(), 2);
  EXPECT_EQ(b.BarsPerPoint(), 2);
}

TEST_F(BarSeriesTest, OddBarSizeIsMadeEven) {
  TBarSeries &a = NewBar();
  a.SetMultiBar(mbNone);
  a.SetSideMargins(false);
  for (int t = 0; t < 44; ++t)
    a.Add(50);
  Draw();
  // 440 / 44 = 10 pixels per point; 70 % of that is 7, drawn 8 wide.
  EXPECT_EQ(a.BarSize(), 8);
  EXPECT_EQ(canvas.CallsNamed("Rectangle").front().Args, (std::vector<int>{16, Y(50), 24, Y(0)}));
}

TEST_F(BarSeriesTest, PointWithoutColourKeepsItsPlace) {
  TBarSeries &a = NewBar();
  a.SetMultiBar(mbNone);
  a.SetCustomBarWidth(10);
  a.Add(10);
  a.Add(20, "", clNone);
  a.Add(30);
  const std::vector<std::string> shapes = Draw();
  EXPECT_EQ(shapes, (std::vector<std::string>{Rect(X(0) - 5, Y(10), X(0) + 5, Y(0)),
                                              Rect(X(2) - 5, Y(30), X(2) + 5, Y(0))}));
}

TEST_F(BarSeriesTest, StackedBarsStandOnTheSeriesBefore) {
  TBarSeries &a = NewBar();
  TBarSeries &b = NewBar();
  a.Add(10);
  a.Add(20);
  b.Add(5);
  b.Add(15);
  a.SetMultiBar(mbStacked);
  EXPECT_EQ(b.MultiBar(), mbStacked);
  a.SetCustomBarWidth(10);
  b.SetCustomBarWidth(10);
  const std::vector<std::string> shapes = Draw();
  EXPECT_EQ(shapes, (std::vector<std::string>{
                        Rect(X(0) - 5, Y(10), X(0) + 5, Y(0)),
                        Rect(X(1) - 5, Y(20), X(1) + 5, Y(0)),
                        Rect(X(0) - 5, Y(15), X(0) + 5, Y(10)),
                        Rect(X(1) - 5, Y(35), X(1) + 5, Y(20)),
                    }));
  EXPECT_DOUBLE_EQ(b.LargestY(), 35);
  EXPECT_DOUBLE_EQ(b.SmallestY(), 0);
}

TEST_F(BarSeriesTest, Stacked100BarsFillTheAxisAndAPointOfZerosIsALineAtZero) {
  TBarSeries &a = NewBar();
  TBarSeries &b = NewBar();
  a.Add(10);
  a.Add(0);
  b.Add(30);
  b.Add(0);
  a.SetMultiBar(mbStacked100);
  a.SetCustomBarWidth(10);
  b.SetCustomBarWidth(10);
  const std::vector<std::string> shapes = Draw();
  const std::string zeroLine = "LineTo " + std::to_string(X(1) + 5) + " 0 (" +
                               std::to_string(X(1) - 5) + ",0) (" + std::to_string(X(1) + 5) +
                               ",0)";
  EXPECT_EQ(shapes, (std::vector<std::string>{
                        Rect(X(0) - 5, Y(25), X(0) + 5, Y(0)),
                        "MoveTo " + std::to_string(X(1) - 5) + " 0",
                        zeroLine,
                        Rect(X(1) - 5, 0, X(1) + 5, 0),
                        Rect(X(0) - 5, Y(100), X(0) + 5, Y(25)),
                        "MoveTo " + std::to_string(X(1) - 5) + " 0",
                        zeroLine,
                        Rect(X(1) - 5, 0, X(1) + 5, 0),
                    }));
  EXPECT_DOUBLE_EQ(a.LargestY(), 100);
  EXPECT_DOUBLE_EQ(a.SmallestY(), 0);
}

TEST_F(BarSeriesTest, NegativeBarsGrowDownFromTheOriginWhichTheRangeIncludes) {
  TBarSeries &a = NewBar();
  a.SetCustomBarWidth(10);
  a.Add(-20);
  a.Add(-40);
  EXPECT_DOUBLE_EQ(a.LargestY(), 0) << "YOrigin";
  EXPECT_DOUBLE_EQ(a.SmallestY(), -40);
  chart.LeftAxis()->SetMinMax(-50, 50);
  const std::vector<std::string> shapes = Draw();
  // y = 170 - 3 v on the range -50 .. 50.
  EXPECT_EQ(shapes[0], Rect(X(0) - 5, 170, X(0) + 5, 230));
  a.SetUseYOrigin(false);
  EXPECT_DOUBLE_EQ(a.LargestY(), -20);
  EXPECT_EQ(Draw()[0], Rect(X(0) - 5, 230, X(0) + 5, 320)) << "from the axis end";
}

TEST_F(BarSeriesTest, OffsetShiftsBarsByAShareOfTheirWidth) {
  TBarSeries &a = NewBar();
  a.SetMultiBar(mbNone);
  a.SetCustomBarWidth(20);
  a.SetOffsetPercent(-50);
  a.Add(10);
  EXPECT_EQ(Draw()[0], Rect(X(0) - 20, Y(10), X(0), Y(0)));
}

TEST_F(BarSeriesTest, WidthAndOffsetPercentsOutsideTheirRangesAreRefused) {
  TBarSeries &a = NewBar();
  struct Case {
    int Width;
    bool Valid;
  };
  for (const Case c : {Case{0, false}, Case{1, true}, Case{100, true}, Case{101, false}}) {
    a.SetBarWidthPercent(50);
    if (c.Valid) {
      a.SetBarWidthPercent(c.Width);
      EXPECT_EQ(a.BarWidthPercent(), c.Width);
      continue;
    }
    try {
      a.SetBarWidthPercent(c.Width);
      ADD_FAILURE() << c.Width;
    } catch (const BarException &e) {
      EXPECT_STREQ(e.what(), "Bar Width Percent must be between 1 and 100");
    }
    EXPECT_EQ(a.BarWidthPercent(), 50);
  }
  for (int offset : {-101, 101}) {
    try {
      a.SetOffsetPercent(offset);
      ADD_FAILURE() << offset;
    } catch (const BarException &e) {
      EXPECT_STREQ(e.what(), "Bar Offset Percent must be between -100% and 100%");
    }
  }
  EXPECT_EQ(a.OffsetPercent(), 0);
  a.SetOffsetPercent(-100);
  EXPECT_EQ(a.OffsetPercent(), -100);
}

TEST_F(BarSeriesTest, MultiBarAndSideMarginsChangeTheWholeFamily) {
  TBarSeries &a = NewBar();
  TBarSeries &b = NewBar();
  TBarSeries &c = NewBar();
  THorizBarSeries other;
  other.SetParentChart(&chart);
  c.SetActive(false);
  b.SetMultiBar(mbStacked);
  EXPECT_EQ(a.MultiBar(), mbStacked);
  EXPECT_EQ(c.MultiBar(), mbStacked) << "inactive series too";
  EXPECT_EQ(other.MultiBar(), mbSide) << "another family";
  a.SetSideMargins(false);
  EXPECT_FALSE(b.SideMargins());
  EXPECT_FALSE(c.SideMargins());
  EXPECT_TRUE(other.SideMargins());
}

TEST_F(BarSeriesTest, AutoBarSizeDividesTheAxisByItsRange) {
  TBarSeries &a = NewBar();
  a.SetAutoBarSize(true);
  a.Add(10);
  Draw();
  // 440 / (2 + 11) = 33.8 -> 34; 70 % -> 24.
  EXPECT_EQ(a.BarSize(), 24);
}

TEST_F(BarSeriesTest, MaxPointsPerPageSetsThePointCount) {
  TBarSeries &a = NewBar();
  a.Add(10);
  chart.SetMaxPointsPerPage(10);
  Draw();
  EXPECT_EQ(a.BarSize(), 28);
}

// A negative fixed width turned every bar inside out; it counts as unset.
TEST_F(BarSeriesTest, NegativeCustomWidthIsComputedWidth) {
  TBarSeries &a = NewBar();
  for (int t = 0; t < 10; ++t)
    a.Add(10);
  a.SetCustomBarWidth(-6);
  Draw();
  EXPECT_EQ(a.BarSize(), 28);
}

// An inactive side-by-side series alone in a paged chart had no bar series
// to share the room with and divided by zero.
TEST_F(BarSeriesTest, InactiveSideBySideSeriesStillHasABarSize) {
  TBarSeries &a = NewBar();
  for (int t = 0; t < 10; ++t)
    a.Add(10);
  Draw();
  a.SetActive(false);
  a.RecalcBarSize();
  EXPECT_EQ(a.BarSize(), 0) << "no active series: no points";
  chart.SetMaxPointsPerPage(10);
  a.RecalcBarSize();
  EXPECT_EQ(a.BarSize(), 28);
}

struct ShapeCase {
  const char *Name;
  TBarStyle Style;
  std::vector<std::string> Shapes;
};

class BarShapeTest : public BarSeriesTest, public ::testing::WithParamInterface<ShapeCase> {};

// One bar 20 wide at x 210 .. 230 from y 320 up to y 170.
TEST_P(BarShapeTest, FlatShapes) {
  TBarSeries &a = NewBar();
  a.SetCustomBarWidth(20);
  a.AppendPoint(5, 50);
  a.SetBarStyle(GetParam().Style);
  EXPECT_EQ(Draw(), GetParam().Shapes);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, BarShapeTest,
    ::testing::Values(ShapeCase{"Rectangle", bsRectangle, {"Rectangle 210 170 230 320"}},
                      ShapeCase{"Pyramid", bsPyramid, {"Polygon (210,320) (220,170) (230,320)"}},
                      ShapeCase{
                          "InvPyramid", bsInvPyramid, {"Polygon (210,170) (220,320) (230,170)"}},
                      ShapeCase{"Cylinder", bsCilinder, {"Rectangle 210 170 230 320"}},
                      ShapeCase{"Ellipse", bsEllipse, {"Ellipse 210 170 230 320"}}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(BarSeriesTest, FlatArrowPointsFromTheOriginToTheValue) {
  TBarSeries &a = NewBar();
  a.SetCustomBarWidth(20);
  a.AppendPoint(5, 50);
  a.SetBarStyle(bsArrow);
  const std::vector<std::string> shapes = Draw();
  EXPECT_EQ(shapes, DrawnShapes(chart.Replay([](TChartCanvas3D &c) {
              c.Arrow3D(true, TPoint(220, 320), TPoint(220, 170), 20, 10, 0);
            })));
  ASSERT_EQ(canvas.CallsNamed("Polygon").size(), 1u);
  EXPECT_EQ(canvas.CallsNamed("Polygon")[0].Points[4], TPoint(220, 170)) << "the tip";
}

TEST_F(BarSeriesTest, FlatGradientRunsFromWhiteToTheBarColourAndKeepsItsOutline) {
  TBarSeries &a = NewBar();
  a.SetCustomBarWidth(20);
  a.SetSeriesColor(clRed);
  a.AppendPoint(5, 50);
  a.SetBarStyle(bsRectGradient);
  Draw();
  const std::vector<TCanvasCall> fills = canvas.CallsNamed("FillRect");
  ASSERT_GT(fills.size(), 2u) << "background and gradient bands";
  // Bands cover 210 .. 230 and 170 .. 320 together, white at one end and red at the other.
  int top = 1000, bottom = -1;
  std::vector<TColor> colors;
  for (std::size_t t = 1; t < fills.size(); ++t) {
    EXPECT_EQ(fills[t].Args[0], 210);
    EXPECT_EQ(fills[t].Args[2], 230);
    top = std::min(top, fills[t].Args[1]);
    bottom = std::max(bottom, fills[t].Args[3]);
    colors.push_back(fills[t].Brush.Color);
  }
  EXPECT_EQ(top, 170);
  EXPECT_EQ(bottom, 320);
  EXPECT_TRUE((colors.front() == clWhite && colors.back() == clRed) ||
              (colors.front() == clRed && colors.back() == clWhite));
  const std::vector<TCanvasCall> outline = canvas.CallsNamed("Rectangle");
  ASSERT_EQ(outline.size(), 1u);
  EXPECT_EQ(outline[0].Args, (std::vector<int>{210, 170, 230, 320}));
  EXPECT_EQ(outline[0].Brush.Style, bsClear);
}

TEST_F(BarSeriesTest, ThreeDShapesSpanTheSeriesDepth) {
  struct Case {
    TBarStyle Style;
    std::function<void(TChartCanvas3D &, int, int, int)> Expected;
  };
  const std::vector<Case> cases = {
      {bsRectangle,
       [](TChartCanvas3D &c, int f, int b, int) { c.Box(210, 230, 170, 320, f, b, true); }},
      {bsPyramid, [](TChartCanvas3D &c, int f, int b,
                     int) { c.Pyramid(true, 210, 170, 230, 320, f, b, true); }},
      {bsInvPyramid, [](TChartCanvas3D &c, int f, int b,
                        int) { c.Pyramid(true, 210, 320, 230, 170, f, b, true); }},
      {bsCilinder, [](TChartCanvas3D &c, int f, int b,
                      int) { c.Cylinder(true, 210, 170, 230, 320, f, b, true); }},
      {bsEllipse,
       [](TChartCanvas3D &c, int, int, int m) { c.EllipseAtDepth(210, 170, 230, 320, m); }},
      {bsArrow, [](TChartCanvas3D &c, int, int,
                   int m) { c.Arrow3D(true, TPoint(220, 320), TPoint(220, 170), 20, 10, m); }},
  };
  TBarSeries &a = NewBar();
  a.SetCustomBarWidth(20);
  a.AppendPoint(5, 50);
  for (const Case &c : cases) {
    a.SetBarStyle(c.Style);
    const std::vector<std::string> shapes = Draw(true);
    EXPECT_GT(a.BackDepth(), a.FrontDepth());
    EXPECT_EQ(shapes, DrawnShapes(chart.Replay([&](TChartCanvas3D &canvas3D) {
                c.Expected(canvas3D, a.FrontDepth(), a.BackDepth(), a.MidDepth());
              })))
        << c.Style;
  }
}

TEST_F(BarSeriesTest, SideBySideBarsShareOneDepthInThreeD) {
  TBarSeries &a = NewBar();
  TBarSeries &b = NewBar();
  TBarSeries &c = NewBar();
  a.Add(10);
  b.Add(10);
  c.Add(10);
  Draw(true);
  EXPECT_EQ(a.DepthIndex(), b.DepthIndex());
  EXPECT_EQ(b.DepthIndex(), c.DepthIndex());
  a.SetMultiBar(mbNone);
  Draw(true);
  EXPECT_NE(a.DepthIndex(), b.DepthIndex());
  EXPECT_NE(b.DepthIndex(), c.DepthIndex());
}

TEST_F(BarSeriesTest, StackedSeriesDrawBackwardForValuesBelowZero) {
  TBarSeries &a = NewBar();
  a.Add(5);
  a.Add(-5);
  EXPECT_TRUE(a.SeriesDrawsForward(1)) << "side by side";
  a.SetMultiBar(mbStacked);
  EXPECT_TRUE(a.SeriesDrawsForward(0));
  EXPECT_FALSE(a.SeriesDrawsForward(1));
  chart.LeftAxis()->SetInverted(true);
  EXPECT_FALSE(a.SeriesDrawsForward(0));
  EXPECT_TRUE(a.PointsDrawForward());
  chart.BottomAxis()->SetInverted(true);
  EXPECT_FALSE(a.PointsDrawForward());
}

TEST_F(BarSeriesTest, MarksStandAboveTheBarMiddleOrBelowAHangingBar) {
  TBarSeries &a = NewBar();
  a.Marks().SetVisible(true);
  a.Marks().SetStyle(smsValue);
  a.SetCustomBarWidth(20);
  chart.LeftAxis()->SetMinMax(-50, 50);
  a.AppendPoint(2, 20);
  a.AppendPoint(6, -20);
  Draw();
  const TSeriesMarkPosition *up = a.Marks().Positions().Position(0);
  const TSeriesMarkPosition *down = a.Marks().Positions().Position(1);
  ASSERT_NE(up, nullptr);
  ASSERT_NE(down, nullptr);
  // y = 170 - 3 v; the bar of 20 rises to 110, the bar of -20 hangs to 230.
  EXPECT_EQ(up->ArrowStart, TPoint(X(2), 110));
  EXPECT_EQ(up->ArrowEnd, TPoint(X(2), 90));
  EXPECT_EQ(up->TopLeftCorner.Y + up->Height - 1, 90) << "the box ends at the arrow";
  EXPECT_EQ(up->TopLeftCorner.X + up->Width / 2, X(2));
  EXPECT_EQ(down->ArrowStart, TPoint(X(6), 230));
  EXPECT_EQ(down->ArrowEnd, TPoint(X(6), 230 + 20 + down->Height));
  EXPECT_EQ(down->TopLeftCorner.Y, 230 + 20 + 1);
}

TEST_F(BarSeriesTest, MarginsLeaveRoomForBarGroupsAndMarks) {
  TBarSeries &a = NewBar();
  TBarSeries &b = NewBar();
  for (int t = 0; t < 10; ++t) {
    a.Add(10);
    b.Add(-10);
  }
  Draw();
  int left = -1, right = -1;
  a.HorizMarginsNeeded(left, right);
  EXPECT_EQ(left, 28);
  EXPECT_EQ(right, 28);
  a.SetSideMargins(false);
  a.HorizMarginsNeeded(left, right);
  // 440 / 10 = 44 per point; 70 % -> 31 -> 30 pixels per bar (15 -> 16), two bars.
  EXPECT_EQ(left, 16);

  int top = -1, bottom = -1;
  a.VertMarginsNeeded(top, bottom);
  EXPECT_EQ(top, 0) << "no marks";
  a.Marks().SetVisible(true);
  chart.Canvas().Font() = a.Marks().DrawingFont();
  const int room = chart.Canvas().FontHeight() + 20 + 2 * a.Marks().Frame().Width() + 1;
  a.VertMarginsNeeded(top, bottom);
  EXPECT_EQ(top, room);
  EXPECT_EQ(bottom, 0);
  b.Marks().SetVisible(true);
  b.VertMarginsNeeded(top, bottom);
  EXPECT_EQ(top, 0) << "every bar below the origin";
  EXPECT_EQ(bottom, room);
  chart.LeftAxis()->SetInverted(true);
  b.VertMarginsNeeded(top, bottom);
  EXPECT_EQ(top, room);
  EXPECT_EQ(bottom, 0);
}

TEST_F(BarSeriesTest, ClickFindsTheBarUnderTheMouseByItsShape) {
  TBarSeries &a = NewBar();
  a.SetCustomBarWidth(20);
  a.AppendPoint(2, 50);
  a.AppendPoint(5, 50);
  Draw();
  EXPECT_EQ(a.PointAtPosition(X(5), 200), 1);
  EXPECT_EQ(a.PointAtPosition(X(2) - 10, Y(50)), 0) << "corner";
  EXPECT_EQ(a.PointAtPosition(X(2) - 11, 200), -1);
  EXPECT_EQ(a.PointAtPosition(X(2), Y(50) - 1), -1);
  a.SetBarStyle(bsPyramid);
  EXPECT_EQ(a.PointAtPosition(X(2) - 8, Y(50) + 2), -1) << "beside the apex";
  EXPECT_EQ(a.PointAtPosition(X(2), Y(50) + 2), 0);
  a.SetBarStyle(bsInvPyramid);
  EXPECT_EQ(a.PointAtPosition(X(2) - 8, Y(50) + 2), 0);
  EXPECT_EQ(a.PointAtPosition(X(2) - 8, Y(0) - 2), -1);
  a.SetBarStyle(bsEllipse);
  EXPECT_EQ(a.PointAtPosition(X(2) - 9, Y(50) + 1), -1);
  EXPECT_EQ(a.PointAtPosition(X(2), Y(25)), 0);
}

TEST_F(BarSeriesTest, ValueListIsNamedBarAndKeepsArrivalOrder) {
  TBarSeries &a = NewBar();
  EXPECT_EQ(a.YValues().Name(), "Bar");
  EXPECT_EQ(a.YValues().Order(), loNone);
  EXPECT_EQ(a.XValues().Order(), loAscending);
  TBarSeries fresh;
  EXPECT_TRUE(fresh.Marks().Visible());
  EXPECT_EQ(fresh.Marks().ArrowLength(), 20);
  EXPECT_EQ(fresh.EditorClassName(), "TBarSeriesEditor");
  EXPECT_EQ(fresh.SamplePointCount(), 6);
}

TEST_F(BarSeriesTest, AssignCopiesTheBarSettings) {
  TBarSeries a;
  a.SetBarStyle(bsCilinder);
  a.SetBarWidthPercent(40);
  a.SetCustomBarWidth(12);
  a.SetMultiBar(mbStacked100);
  a.SetOffsetPercent(20);
  a.SetYOrigin(5);
  a.SetUseYOrigin(false);
  a.SetSideMargins(false);
  a.SetDark3D(false);
  a.BarPen().SetColor(clRed);
  a.BarBrush().SetStyle(bsCross);
  a.Add(3);
  TBarSeries b;
  b.Assign(a);
  EXPECT_EQ(b.BarStyle(), bsCilinder);
  EXPECT_EQ(b.BarWidthPercent(), 40);
  EXPECT_EQ(b.CustomBarWidth(), 12);
  EXPECT_EQ(b.MultiBar(), mbStacked100);
  EXPECT_EQ(b.OffsetPercent(), 20);
  EXPECT_DOUBLE_EQ(b.YOrigin(), 5);
  EXPECT_FALSE(b.UseYOrigin());
  EXPECT_FALSE(b.SideMargins());
  EXPECT_FALSE(b.Dark3D());
  EXPECT_EQ(b.BarPen().Color(), clRed);
  EXPECT_EQ(b.BarBrush().Style(), bsCross);
  EXPECT_EQ(b.Count(), 1);
}

TEST_F(BarSeriesTest, PrepareSampleShowsSixWideSingleBars) {
  TBarSeries &a = NewBar();
  a.PrepareSample(true);
  EXPECT_EQ(a.BarWidthPercent(), 85);
  EXPECT_EQ(a.MultiBar(), mbNone);
}

// ---- horizontal bars ------------------------------------------------------------------

// Left axis 0 .. 11 over y 20 .. 350 (y = 350 - 30 v); bottom axis 0 .. 110
// over x 20 .. 460 (x = 20 + 4 v).
class HorizBarSeriesTest : public ::testing::Test {
protected:
  HorizBarSeriesTest() : chart(TRect(20, 20, 460, 350), 0, 110, 0, 11) {
    bars.SetParentChart(&chart);
    bars.Marks().SetVisible(false);
  }
  static int HX(double v) { return 20 + static_cast<int>(v * 4); }
  static int HY(double v) { return 350 - static_cast<int>(v * 30); }

  GeometryChart chart;
  THorizBarSeries bars;
  TRecordingCanvas canvas;
};

TEST_F(HorizBarSeriesTest, BarsGrowAlongXFromTheOrigin) {
  for (int t = 0; t < 10; ++t)
    bars.Add(10 * (t + 1));
  EXPECT_EQ(bars.XValues().Name(), "Bar");
  EXPECT_EQ(bars.YValues().Name(), "Y");
  EXPECT_DOUBLE_EQ(bars.XValues().Value(3), 40);
  EXPECT_DOUBLE_EQ(bars.YValues().Value(3), 3);
  chart.DrawOn(canvas);
  // 330 / 11 = 30 per point; 70 % -> 21 -> 22.
  EXPECT_EQ(bars.BarSize(), 22);
  const std::vector<TCanvasCall> rects = canvas.CallsNamed("Rectangle");
  ASSERT_EQ(rects.size(), 10u);
  for (int t = 0; t < 10; ++t)
    EXPECT_EQ(rects[t].Args, (std::vector<int>{HX(0), HY(t) - 11, HX(10 * (t + 1)), HY(t) + 11}))
        << t;
  EXPECT_DOUBLE_EQ(bars.LargestX(), 100);
  EXPECT_DOUBLE_EQ(bars.SmallestX(), 0);
}

TEST_F(HorizBarSeriesTest, FlatShapesLieOnTheirSide) {
  struct Case {
    TBarStyle Style;
    std::string Shape;
  };
  bars.SetCustomBarHeight(20);
  bars.AppendPoint(50, 5);
  // The bar spans x 20 .. 220 and y 190 .. 210.
  for (const Case &c : {Case{bsRectangle, "Rectangle 20 190 220 210"},
                        Case{bsPyramid, "Polygon (20,190) (220,200) (20,210)"},
                        Case{bsInvPyramid, "Polygon (220,190) (20,200) (220,210)"},
                        Case{bsEllipse, "Ellipse 20 190 220 210"}}) {
    bars.SetBarStyle(c.Style);
    canvas.Clear();
    chart.DrawOn(canvas);
    EXPECT_EQ(DrawnShapes(canvas), std::vector<std::string>{c.Shape}) << c.Style;
  }
  bars.SetBarStyle(bsArrow);
  canvas.Clear();
  chart.DrawOn(canvas);
  EXPECT_EQ(DrawnShapes(canvas), DrawnShapes(chart.Replay([](TChartCanvas3D &c) {
              c.Arrow3D(true, TPoint(20, 200), TPoint(220, 200), 20, 10, 0);
            })));
  bars.SetBarStyle(bsCilinder);
  canvas.Clear();
  chart.DrawOn(canvas, true);
  EXPECT_EQ(DrawnShapes(canvas), DrawnShapes(chart.Replay([&](TChartCanvas3D &c) {
              c.Cylinder(false, 20, 190, 220, 210, bars.FrontDepth(), bars.BackDepth(), true);
            })));
}

TEST_F(HorizBarSeriesTest, MarksStandBesideTheBarEnd) {
  bars.Marks().SetVisible(true);
  bars.Marks().SetStyle(smsValue);
  bars.SetCustomBarHeight(20);
  chart.BottomAxis()->SetMinMax(-55, 55);
  bars.AppendPoint(20, 3);
  bars.AppendPoint(-20, 6);
  chart.DrawOn(canvas);
  const TSeriesMarkPosition *right = bars.Marks().Positions().Position(0);
  const TSeriesMarkPosition *left = bars.Marks().Positions().Position(1);
  ASSERT_NE(right, nullptr);
  ASSERT_NE(left, nullptr);
  // x = 240 + 4 v: the bars end at 320 and 160.
  EXPECT_EQ(right->ArrowStart, TPoint(320, HY(3)));
  EXPECT_EQ(right->ArrowEnd, TPoint(340, HY(3)));
  EXPECT_EQ(right->TopLeftCorner.X, 340);
  EXPECT_EQ(left->ArrowEnd, TPoint(160 - 20 - left->Width, HY(6)));
  EXPECT_EQ(left->TopLeftCorner.X + left->Width, 160 - 20);
  // The box is centred on the bar (its top edge is 10 above the point).
  EXPECT_EQ(left->TopLeftCorner.Y, HY(6) - left->Height + 1 + left->Height / 2);
}

TEST_F(HorizBarSeriesTest, ClickTestIsTransposed) {
  bars.SetCustomBarHeight(20);
  bars.AppendPoint(50, 5);
  chart.DrawOn(canvas);
  EXPECT_EQ(bars.PointAtPosition(100, 200), 0);
  EXPECT_EQ(bars.PointAtPosition(221, 200), -1);
  EXPECT_EQ(bars.PointAtPosition(100, 189), -1);
  bars.SetBarStyle(bsPyramid);
  EXPECT_EQ(bars.PointAtPosition(215, 192), -1) << "beside the apex";
  EXPECT_EQ(bars.PointAtPosition(25, 192), 0);
}

TEST_F(HorizBarSeriesTest, MarginsAreTransposed) {
  for (int t = 0; t < 10; ++t)
    bars.Add(10);
  chart.DrawOn(canvas);
  int top = -1, bottom = -1, left = -1, right = -1;
  bars.VertMarginsNeeded(top, bottom);
  EXPECT_EQ(top, 22);
  EXPECT_EQ(bottom, 22);
  bars.HorizMarginsNeeded(left, right);
  EXPECT_EQ(right, 0);
  bars.Marks().SetVisible(true);
  bars.Marks().SetStyle(smsValue);
  chart.Canvas().Font() = bars.Marks().DrawingFont();
  // The widest mark's box: its text and one "W".
  const int widest = chart.Canvas().TextWidth("10") + chart.Canvas().TextWidth("W");
  bars.HorizMarginsNeeded(left, right);
  EXPECT_EQ(left, 0);
  EXPECT_EQ(right, widest + 20 + 2 * bars.Marks().Frame().Width() + 1);
}

TEST_F(HorizBarSeriesTest, SampleValuesStartAtTheVerticalMinimum) {
  try {
    bars.FillSampleValues(0);
    ADD_FAILURE();
  } catch (const BarException &e) {
    EXPECT_STREQ(e.what(), "FillSampleValues NumValues must be > 0");
  }
  chart.LeftAxis()->SetMinMax(3, 11);
  bars.FillSampleValues(5);
  ASSERT_EQ(bars.Count(), 5);
  for (int t = 0; t < 5; ++t) {
    EXPECT_DOUBLE_EQ(bars.YValues().Value(t), 3 + t);
    EXPECT_GT(bars.XValues().Value(t), 0);
  }
}

} // namespace
