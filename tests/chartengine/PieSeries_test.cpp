#include "SeriesGeometryTestChart.h"
#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/chart/CustomChart.h"
#include "chartengine/engine/ChartRandom.h"
#include "chartengine/series/BarSeries.h"
#include "chartengine/series/PieSeries.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr double Pi = std::numbers::pi;

// Counts the repaints a real chart would schedule.
class PieChart : public GeometryChart {
public:
  PieChart() : GeometryChart(TRect(50, 50, 250, 250), 0, 10, 0, 100) {}
  void RepaintChart() override {
    if (IsCreated())
      ++Repaints;
  }
  int Repaints = 0;
};

// A pie without marks fills the plot: centre (150, 150), radius 100.
class PieSeriesTest : public ::testing::Test {
protected:
  PieSeriesTest() {
    pie.SetParentChart(&chart);
    pie.Marks().SetVisible(false);
  }
  std::vector<TCanvasCall> Pies(bool is3D = false) {
    canvas.Clear();
    chart.DrawOn(canvas, is3D);
    return canvas.CallsNamed("Pie");
  }
  static std::vector<int> PieArgs(TPoint start, TPoint end, int dx = 0, int dy = 0) {
    return {50 + dx,      50 + dy,      250 + dx,   250 + dy,
            start.X + dx, start.Y + dy, end.X + dx, end.Y + dy};
  }

  PieChart chart;
  TPieSeries pie;
  TRecordingCanvas canvas;
};

TEST_F(PieSeriesTest, SlicesShareTheCircleByTheirValues) {
  pie.Add(1, "a");
  pie.Add(3, "b");
  const std::vector<TCanvasCall> pies = Pies();
  EXPECT_EQ(pie.CircleRect(), TRect(50, 50, 250, 250));
  EXPECT_EQ(pie.XRadius(), 100);
  ASSERT_EQ(pie.Angles().size(), 2u);
  EXPECT_DOUBLE_EQ(pie.Angles()[0].EndAngle, Pi / 2);
  EXPECT_DOUBLE_EQ(pie.Angles()[0].MidAngle, Pi / 4);
  EXPECT_DOUBLE_EQ(pie.Angles()[1].StartAngle, Pi / 2);
  EXPECT_DOUBLE_EQ(pie.Angles()[1].EndAngle, 2 * Pi);
  ASSERT_EQ(pies.size(), 2u);
  EXPECT_EQ(pies[0].Args, PieArgs(TPoint(250, 150), TPoint(150, 50)));
  EXPECT_EQ(pies[1].Args, PieArgs(TPoint(150, 50), TPoint(250, 150)));
  // Each slice in its palette colour (points have their own colours).
  EXPECT_EQ(pies[0].Brush.Color, SeriesPaletteColor(0));
  EXPECT_EQ(pies[1].Brush.Color, SeriesPaletteColor(1));
}

TEST_F(PieSeriesTest, RotationTurnsThePie) {
  pie.Add(1);
  pie.Add(3);
  pie.SetRotationAngle(90);
  const std::vector<TCanvasCall> pies = Pies();
  ASSERT_EQ(pies.size(), 2u);
  EXPECT_EQ(pies[0].Args, PieArgs(TPoint(150, 50), TPoint(50, 150)));
  EXPECT_EQ(pie.AngleToPos(0, 100, 100), TPoint(150, 50));
}

TEST_F(PieSeriesTest, RotationAngleIsKeptModulo360AndNegativeOnesAreRefused) {
  pie.SetRotationAngle(400);
  EXPECT_EQ(pie.RotationAngle(), 40);
  EXPECT_DOUBLE_EQ(pie.RotationRadians(), 40 * Pi / 180);
  try {
    pie.SetRotationAngle(-1);
    ADD_FAILURE();
  } catch (const PieException &e) {
    EXPECT_STREQ(e.what(), "Rotation Angle must be between 0 and 359 degrees");
  }
  EXPECT_EQ(pie.RotationAngle(), 40);
}

TEST_F(PieSeriesTest, SmallSlicesAreGroupedIntoOther) {
  for (double v : {50.0, 45.0, 3.0, 2.0})
    pie.Add(v);
  pie.OtherSlice().SetStyle(poBelowPercent);
  pie.OtherSlice().SetValue(10);
  EXPECT_EQ(Pies().size(), 3u);
  ASSERT_EQ(pie.Count(), 5);
  EXPECT_TRUE(pie.IsGrouped(2));
  EXPECT_TRUE(pie.IsGrouped(3));
  EXPECT_TRUE(pie.IsOtherPoint(4));
  EXPECT_DOUBLE_EQ(pie.PieValues().Value(4), 5);
  EXPECT_EQ(pie.PointLabel(4), "Other");
  EXPECT_DOUBLE_EQ(pie.PieTotal(), 100);
  // Grouped values count once: the "Other" slice spans 5 % of the circle.
  EXPECT_DOUBLE_EQ(pie.Angles()[1].EndAngle, 0.95 * 2 * Pi);
  EXPECT_DOUBLE_EQ(pie.Angles()[2].EndAngle, pie.Angles()[1].EndAngle);
  EXPECT_DOUBLE_EQ(pie.Angles()[4].EndAngle, 2 * Pi);
  // The legend lists three entries, the last one "Other".
  EXPECT_EQ(pie.LegendItemCount(), 3);
  EXPECT_EQ(pie.LegendItemToPoint(2), 4);
  EXPECT_EQ(pie.LegendItemToPoint(3), -1);
  EXPECT_EQ(pie.LegendTextOf(2, ltsRightPercent), "Other 5 %");
  pie.Marks().SetStyle(smsPercent);
  EXPECT_EQ(pie.SliceMarkText(4), "5 %");
  EXPECT_EQ(pie.SliceMarkText(0), "50 %");
  // The "Other" point has no screen X of its own; real slices have theirs.
  EXPECT_EQ(pie.PointScreenX(4), 0);
  EXPECT_GT(pie.PointScreenX(0), 0);
  // A second drawing replaces the "Other" point instead of adding one.
  EXPECT_EQ(Pies().size(), 3u);
  EXPECT_EQ(pie.Count(), 5);
  pie.OtherSlice().SetStyle(poNone);
  EXPECT_EQ(Pies().size(), 4u);
  EXPECT_EQ(pie.Count(), 4);
  EXPECT_EQ(pie.LegendItemCount(), 4);
}

TEST_F(PieSeriesTest, OtherSliceByValue) {
  for (double v : {8.0, 1.0, 6.0, 2.0})
    pie.Add(v);
  pie.OtherSlice().SetStyle(poBelowValue);
  pie.OtherSlice().SetValue(3);
  pie.OtherSlice().SetText("Rest");
  EXPECT_EQ(Pies().size(), 3u);
  EXPECT_DOUBLE_EQ(pie.PieValues().Value(4), 3);
  EXPECT_EQ(pie.PointLabel(4), "Rest");
}

// Grouping changes the series while a drawing prepares itself; the changes
// asked for another drawing, which did the same again, without end.
TEST_F(PieSeriesTest, GroupingDuringADrawingAsksForNoRepaint) {
  for (double v : {50.0, 45.0, 3.0, 2.0})
    pie.Add(v);
  pie.OtherSlice().SetStyle(poBelowPercent);
  pie.OtherSlice().SetValue(10);
  chart.Repaints = 0;
  Pies();
  Pies();
  EXPECT_EQ(chart.Repaints, 0);
  EXPECT_TRUE(chart.IsCreated());
}

TEST_F(PieSeriesTest, AllZeroValuesDrawTheFirstSliceAsTheWholeCircle) {
  pie.Add(0);
  pie.Add(0);
  pie.Add(0);
  const std::vector<TCanvasCall> pies = Pies();
  ASSERT_EQ(pies.size(), 1u);
  EXPECT_EQ(pies[0].Args, PieArgs(TPoint(250, 150), TPoint(250, 150)));
  EXPECT_DOUBLE_EQ(pie.Angles()[2].StartAngle, 2 * Pi);
  EXPECT_DOUBLE_EQ(pie.Angles()[2].EndAngle, 2 * Pi);
}

TEST_F(PieSeriesTest, SinglePointIsAFullEllipse) {
  pie.Add(7);
  const std::vector<TCanvasCall> pies = Pies();
  ASSERT_EQ(pies.size(), 1u);
  EXPECT_EQ(pies[0].Args, PieArgs(TPoint(250, 150), TPoint(250, 150)));
}

TEST_F(PieSeriesTest, ExplodedSliceIsPulledOutAndTheCircleShrinks) {
  pie.Add(1);
  pie.Add(1);
  pie.ExplodedSlice().SetValue(0, 20);
  const std::vector<TCanvasCall> pies = Pies();
  EXPECT_TRUE(pie.IsExploded());
  // Slice 0 lies around the top (pi / 2): 20 pixels up, so the circle loses
  // 10 at the top and the bottom.
  EXPECT_EQ(pie.CircleRect(), TRect(50, 60, 250, 240));
  EXPECT_EQ(pie.YRadius(), 90);
  EXPECT_EQ(pie.ExplodeOffset(0), TPoint(0, 18));
  EXPECT_EQ(pie.ExplodeOffset(1), TPoint(0, 0));
  ASSERT_EQ(pies.size(), 2u);
  EXPECT_EQ(pies[0].Args, (std::vector<int>{50, 42, 250, 222, 250, 132, 50, 132}));
  EXPECT_EQ(pies[1].Args, (std::vector<int>{50, 60, 250, 240, 50, 150, 250, 150}));
}

TEST_F(PieSeriesTest, ExplodeBiggestPullsOutTheLargestSlice) {
  pie.Add(1);
  pie.Add(5);
  pie.Add(5);
  pie.Add(2);
  pie.SetExplodeBiggest(30);
  EXPECT_EQ(pie.ExplodedSlice().Value(1), 30) << "the first of the largest";
  EXPECT_EQ(pie.ExplodedSlice().Value(2), 0);
  EXPECT_EQ(pie.ExplodedSlice().Value(99), 0);
  // Each drawing pulls out the slice that is largest then, quietly.
  pie.Add(9);
  chart.Repaints = 0;
  Pies();
  EXPECT_EQ(pie.ExplodedSlice().Value(4), 30);
  EXPECT_EQ(chart.Repaints, 0);
  pie.SetExplodeBiggest(0);
  EXPECT_EQ(pie.ExplodedSlice().Value(4), 0);
}

TEST_F(PieSeriesTest, ExplodedThreeDPieDrawsTheFarSideFirst) {
  for (int t = 0; t < 4; ++t)
    pie.Add(1);
  pie.SetRotationAngle(30);
  pie.ExplodedSlice().SetValue(2, 10);
  canvas.Clear();
  chart.DrawOn(canvas, true);
  // Middles at 75, 165, 255 and 345 degrees: nearest the top first.
  EXPECT_EQ(pie.DrawingOrder(), (std::vector<int>{0, 1, 3, 2}));
  const auto expected = chart.Replay([&](TChartCanvas3D &c) {
    for (int t : {0, 1, 3, 2}) {
      const TPoint offset = pie.ExplodeOffset(t);
      const TPieAngle &a = pie.Angles()[t];
      c.PieSlice3D(pie.CircleXCenter() + offset.X, pie.CircleYCenter() - offset.Y, pie.XRadius(),
                   pie.YRadius(), pie.FrontDepth(), pie.BackDepth(),
                   a.StartAngle + pie.RotationRadians(), a.EndAngle + pie.RotationRadians(), true,
                   true);
    }
  });
  EXPECT_EQ(DrawnShapes(canvas), DrawnShapes(expected));
  pie.ExplodedSlice().SetValue(2, 0);
  chart.DrawOn(canvas, true);
  EXPECT_EQ(pie.DrawingOrder(), (std::vector<int>{0, 1, 2, 3})) << "not exploded: index order";
}

TEST_F(PieSeriesTest, ClickFindsTheSliceUnderTheMouse) {
  pie.Add(1);
  pie.Add(3);
  Pies();
  EXPECT_EQ(pie.PointAtPosition(200, 100), 0);
  EXPECT_EQ(pie.PointAtPosition(100, 200), 1);
  EXPECT_EQ(pie.PointAtPosition(150, 60), 0) << "straight up";
  EXPECT_EQ(pie.PointAtPosition(260, 150), -1) << "outside the circle's box";
}

// A slice pulled out to the left lay outside the box the click test used.
TEST_F(PieSeriesTest, ClickFindsASlicePulledOutToTheLeft) {
  pie.Add(1);
  pie.Add(1);
  pie.SetRotationAngle(90);
  pie.ExplodedSlice().SetValue(0, 40);
  Pies();
  const TPoint offset = pie.ExplodeOffset(0);
  ASSERT_LT(offset.X, 0);
  const int x = pie.CircleXCenter() - pie.XRadius() - std::abs(offset.X) / 2;
  EXPECT_EQ(pie.PointAtPosition(x, pie.CircleYCenter()), 0);
}

TEST_F(PieSeriesTest, AngleOfAScreenPoint) {
  pie.Add(1);
  Pies();
  EXPECT_DOUBLE_EQ(pie.PointToAngle(150, 100), Pi / 2);
  EXPECT_DOUBLE_EQ(pie.PointToAngle(150, 200), 3 * Pi / 2);
  EXPECT_DOUBLE_EQ(pie.PointToAngle(100, 150), Pi);
  pie.SetRotationAngle(90);
  EXPECT_DOUBLE_EQ(pie.PointToAngle(150, 100), 0);
  EXPECT_DOUBLE_EQ(pie.PointToAngle(200, 150), 3 * Pi / 2);
}

TEST_F(PieSeriesTest, MarksPointOutFromTheMiddleOfEachSlice) {
  pie.Add(1, "upper right");
  pie.Add(1, "upper left");
  pie.Add(2, "lower half");
  pie.Marks().SetVisible(true);
  canvas.Clear();
  chart.DrawOn(canvas);
  // The marks make room around the circle.
  EXPECT_LT(pie.XRadius(), 100);
  chart.Canvas().Font() = pie.Marks().Font().Font();
  const int w = chart.Canvas().TextWidth("W");
  const int h = chart.Canvas().FontHeight();
  for (int t = 0; t < 3; ++t) {
    const TSeriesMarkPosition *mark = pie.Marks().Positions().Position(t);
    ASSERT_NE(mark, nullptr) << t;
    const double mid = pie.Angles()[t].MidAngle;
    EXPECT_EQ(mark->ArrowStart, pie.AngleToPos(mid, pie.XRadius(), pie.YRadius())) << t;
    EXPECT_EQ(mark->ArrowEnd, pie.AngleToPos(mid, pie.XRadius() + w + 8, pie.YRadius() + h + 8))
        << t;
  }
  const TSeriesMarkPosition *right = pie.Marks().Positions().Position(0);
  const TSeriesMarkPosition *left = pie.Marks().Positions().Position(1);
  const TSeriesMarkPosition *below = pie.Marks().Positions().Position(2);
  EXPECT_EQ(right->TopLeftCorner, TPoint(right->ArrowEnd.X, right->ArrowEnd.Y - right->Height));
  EXPECT_EQ(left->TopLeftCorner,
            TPoint(left->ArrowEnd.X - left->Width, left->ArrowEnd.Y - left->Height));
  EXPECT_EQ(below->TopLeftCorner.Y, below->ArrowEnd.Y);
}

TEST_F(PieSeriesTest, GroupedPointsHaveNoMarks) {
  for (double v : {50.0, 45.0, 3.0, 2.0})
    pie.Add(v);
  pie.OtherSlice().SetStyle(poBelowPercent);
  pie.OtherSlice().SetValue(10);
  pie.Marks().SetVisible(true);
  Pies();
  EXPECT_NE(pie.Marks().Positions().Position(0), nullptr);
  EXPECT_EQ(pie.Marks().Positions().Position(2), nullptr);
  EXPECT_EQ(pie.Marks().Positions().Position(3), nullptr);
  EXPECT_NE(pie.Marks().Positions().Position(4), nullptr);
}

TEST_F(PieSeriesTest, PatternsAndPenOfSlices) {
  pie.Add(1);
  pie.Add(1);
  pie.SetUsePatterns(true);
  pie.PiePen().SetColor(clRed);
  const std::vector<TCanvasCall> pies = Pies();
  ASSERT_EQ(pies.size(), 2u);
  EXPECT_EQ(pies[0].Brush.Style, HatchPatternFor(0));
  EXPECT_EQ(pies[1].Brush.Style, HatchPatternFor(1));
  EXPECT_EQ(pies[0].Pen.Color, clRed);
  EXPECT_EQ(pies[0].BkColor, clWhite) << "the chart's colour behind the pattern";
  pie.SetCircleBackColor(clYellow);
  EXPECT_EQ(Pies()[0].BkColor, clYellow);
}

TEST_F(PieSeriesTest, CustomRadiiAndCircledGoToEveryPieOfTheChart) {
  TPieSeries other;
  other.SetParentChart(&chart);
  pie.SetCustomXRadius(30);
  pie.SetCircled(true);
  EXPECT_EQ(other.CustomXRadius(), 30);
  EXPECT_TRUE(other.Circled());
  pie.Add(1);
  pie.SetCustomYRadius(20);
  Pies();
  EXPECT_EQ(pie.XRadius(), 30);
  EXPECT_EQ(pie.YRadius(), 20);
  EXPECT_EQ(pie.CircleRect(), TRect(120, 130, 180, 170));
}

TEST_F(PieSeriesTest, CircledPieIsRoundOnScreen) {
  chart.Plot = TRect(50, 50, 350, 250);
  pie.Add(1);
  pie.SetCircled(true);
  Pies();
  const double aspect = TCircledSeries::ScreenAspectRatio();
  EXPECT_NEAR(pie.XRadius(), pie.YRadius() * aspect, 1.0);
  EXPECT_EQ(pie.CircleXCenter(), 200);
}

// A screen that does not tell its size in millimetres has square pixels;
// its pixel proportions would have stretched a true circle.
TEST(CircledSeriesAspect, FromPixelsAndMillimetres) {
  EXPECT_NEAR(TCircledSeries::AspectRatioOf(1920, 1080, 510, 287), 1.0, 0.01);
  EXPECT_DOUBLE_EQ(TCircledSeries::AspectRatioOf(1000, 1000, 200, 100), 0.5);
  EXPECT_DOUBLE_EQ(TCircledSeries::AspectRatioOf(1920, 1080, 0, 0), 1.0);
  EXPECT_DOUBLE_EQ(TCircledSeries::AspectRatioOf(0, 0, 10, 10), 1.0);
}

TEST_F(PieSeriesTest, SampleValuesAreLabelledProducts) {
  SeedChartRandom(7);
  pie.FillSampleValues(10);
  ASSERT_EQ(pie.Count(), 10);
  const char *labels[] = {"Cars",      "Phones", "Tables", "Monitors", "Lamps",
                          "Keyboards", "Bikes",  "Chairs", "Cars",     "Phones"};
  for (int t = 0; t < 10; ++t) {
    EXPECT_EQ(pie.PointLabel(t), labels[t]);
    EXPECT_GE(pie.PieValues().Value(t), 1);
    EXPECT_LE(pie.PieValues().Value(t), 1000);
  }
  EXPECT_THROW(pie.FillSampleValues(0), ChartException);
}

TEST_F(PieSeriesTest, ListsAndDefaults) {
  TPieSeries fresh;
  EXPECT_EQ(fresh.XValues().Name(), "");
  EXPECT_EQ(fresh.YValues().Name(), "Pie");
  EXPECT_TRUE(fresh.ColorEachPoint());
  EXPECT_TRUE(fresh.Marks().Visible());
  EXPECT_EQ(fresh.Marks().ArrowLength(), 8);
  EXPECT_EQ(fresh.OtherSlice().Text(), "Other");
  EXPECT_EQ(fresh.OtherSlice().Style(), poNone);
  EXPECT_FALSE(fresh.HasAxes());
  EXPECT_EQ(fresh.EditorClassName(), "TPieSeriesEditor");
}

TEST_F(PieSeriesTest, ExchangingPointsMovesTheirExplosion) {
  pie.Add(1);
  pie.Add(2);
  pie.Add(3);
  pie.ExplodedSlice().SetValue(0, 15);
  pie.ExchangePoints(0, 2);
  EXPECT_EQ(pie.ExplodedSlice().Count(), 3);
  EXPECT_EQ(pie.ExplodedSlice().Value(2), 15);
  EXPECT_EQ(pie.ExplodedSlice().Value(0), 0);
  pie.Clear();
  EXPECT_EQ(pie.ExplodedSlice().Count(), 0);
}

TEST_F(PieSeriesTest, AssignCopiesThePieSettings) {
  TPieSeries source;
  source.SetDark3D(false);
  source.SetUsePatterns(true);
  source.SetExplodeBiggest(10);
  source.OtherSlice().SetStyle(poBelowValue);
  source.OtherSlice().SetValue(4);
  source.SetRotationAngle(30);
  source.SetCustomXRadius(12);
  source.SetCircleBackColor(clRed);
  source.SetColorEachPoint(false);
  pie.Assign(source);
  EXPECT_FALSE(pie.Dark3D());
  EXPECT_TRUE(pie.UsePatterns());
  EXPECT_EQ(pie.ExplodeBiggest(), 10);
  EXPECT_EQ(pie.OtherSlice().Style(), poBelowValue);
  EXPECT_DOUBLE_EQ(pie.OtherSlice().Value(), 4);
  EXPECT_EQ(pie.RotationAngle(), 30);
  EXPECT_EQ(pie.CustomXRadius(), 12);
  EXPECT_EQ(pie.CircleBackColor(), clRed);
  EXPECT_TRUE(pie.ColorEachPoint());
}

// ---- the chart's look ------------------------------------------------------------

TEST(PieChartLook, PiesHideTheAxesUntilTheLastOneLeaves) {
  TChart chart;
  ASSERT_TRUE(chart.AxisVisible());
  auto first = std::make_unique<TPieSeries>();
  auto second = std::make_unique<TPieSeries>();
  first->SetParentChart(&chart);
  EXPECT_FALSE(chart.AxisVisible());
  EXPECT_FALSE(chart.ClipPoints());
  EXPECT_FALSE(chart.View3DWalls());
  EXPECT_FALSE(chart.Frame().Visible());
  EXPECT_EQ(chart.BackWall().Brush().Style(), bsClear);
  EXPECT_FALSE(chart.AllowZoom());
  EXPECT_EQ(chart.AllowPanning(), pmNone);
  EXPECT_FALSE(chart.View3DOptions().Orthogonal());
  EXPECT_EQ(chart.View3DOptions().Elevation(), 315);
  second->SetParentChart(&chart);
  first->SetParentChart(nullptr);
  EXPECT_FALSE(chart.AxisVisible()) << "another pie remains";
  second.reset();
  EXPECT_TRUE(chart.AxisVisible()) << "the last pie left";
  EXPECT_TRUE(chart.ClipPoints());
  EXPECT_TRUE(chart.View3DWalls());
  EXPECT_TRUE(chart.Frame().Visible());
  EXPECT_EQ(chart.BackWall().Brush().Style(), bsSolid);
  EXPECT_TRUE(chart.AllowZoom());
  EXPECT_EQ(chart.AllowPanning(), pmBoth);
}

TEST(PieChartLook, DeactivatingThePieShowsTheAxes) {
  TChart chart;
  TPieSeries pie;
  pie.SetParentChart(&chart);
  pie.SetActive(false);
  EXPECT_TRUE(chart.AxisVisible());
  pie.SetActive(true);
  EXPECT_FALSE(chart.AxisVisible());
  TBarSeries bars;
  bars.SetParentChart(&chart);
  TPieSeries other;
  other.SetParentChart(&chart);
  other.SetParentChart(nullptr);
  EXPECT_TRUE(chart.AxisVisible()) << "a bar series remains beside the pie";
}

TEST(PieChartLook, ChartDestroyedBeforeThePieIsLeftAlone) {
  auto chart = std::make_unique<TChart>();
  TPieSeries pie;
  pie.SetParentChart(chart.get());
  chart.reset();
  EXPECT_EQ(pie.ParentChart(), nullptr);
}

} // namespace
