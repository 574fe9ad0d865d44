// Data and settings that used to break a chart: a single point, values that
// are not numbers, logarithmic axes over wide or non-positive ranges, a
// custom axis freed while series use it, a legend over a million values and
// the back colour of a chart without a parent widget.
#include "AxisLabelBoxes.h"
#include "ChartControlSupport.h"
#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/series/LineSeries.h"
#include "chartengine/series/PointSeries.h"
#include "support/TestPaths.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

std::vector<DrawnLabel> Labels(LayoutChart &chart, TCustomChartAxis *axis) {
  return DrawnAxisTexts(chart, *axis);
}

bool Inside(const TRect &r, int x, int y) {
  return x > r.Left && x < r.Right && y > r.Top && y < r.Bottom;
}

// One point, or many equal values: the axes get a span around the value,
// with labels, and the point stands inside the plot.
TEST(ChartBadData, ASinglePointShowsWithLabelsOnBothAxes) {
  for (int points : {1, 5}) {
    LayoutChart chart;
    chart.SetView3D(false);
    TPointSeries series;
    series.SetParentChart(&chart);
    for (int t = 0; t < points; ++t)
      series.AppendPoint(7, 42.5);
    chart.Draw();
    EXPECT_LT(chart.LeftAxis()->CurMinimum(), 42.5);
    EXPECT_GT(chart.LeftAxis()->CurMaximum(), 42.5);
    EXPECT_LT(chart.BottomAxis()->CurMinimum(), 7);
    EXPECT_GT(chart.BottomAxis()->CurMaximum(), 7);
    EXPECT_GE(Labels(chart, chart.LeftAxis()).size(), 3u) << points << " points";
    EXPECT_GE(Labels(chart, chart.BottomAxis()).size(), 3u) << points << " points";
    EXPECT_TRUE(Inside(chart.PlotRect(), series.PointScreenX(0), series.PointScreenY(0)));
  }
  // A line of one point shows it as a dot in the line's colour.
  for (bool is3D : {false, true}) {
    LayoutChart chart;
    chart.SetView3D(is3D);
    TLineSeries line;
    line.SetParentChart(&chart);
    line.AppendPoint(3, 0.25);
    chart.Draw();
    const std::vector<TCanvasCall> dots = chart.Rec.CallsNamed("Ellipse");
    ASSERT_EQ(dots.size(), 1u) << (is3D ? "3-D" : "flat");
    EXPECT_EQ(dots[0].Brush.Color, line.SeriesColor());
    EXPECT_TRUE(Inside(chart.PlotRect(), (dots[0].Args[0] + dots[0].Args[2]) / 2,
                       (dots[0].Args[1] + dots[0].Args[3]) / 2));
  }
}

// NaN and infinite values are no points: the axes range over the others and
// the points with them are not drawn.
TEST(ChartBadData, ValuesThatAreNotNumbersAreLeftOut) {
  LayoutChart chart;
  chart.SetView3D(false);
  TPointSeries series;
  series.SetParentChart(&chart);
  series.AppendPoint(NaN, 5);
  series.AppendPoint(1, 10);
  series.AppendPoint(2, Inf);
  series.AppendPoint(3, 20);
  series.AppendPoint(4, NaN);
  EXPECT_DOUBLE_EQ(series.XValues().SmallestValue(), 1);
  EXPECT_DOUBLE_EQ(series.XValues().LargestValue(), 4);
  EXPECT_DOUBLE_EQ(series.YValues().SmallestValue(), 5);
  EXPECT_DOUBLE_EQ(series.YValues().LargestValue(), 20);
  EXPECT_DOUBLE_EQ(series.YValues().SumOfValues(), 35);
  chart.Draw();
  EXPECT_GE(Labels(chart, chart.LeftAxis()).size(), 3u);
  EXPECT_GE(Labels(chart, chart.BottomAxis()).size(), 3u);
  int drawn = 0;
  for (int t = 0; t < series.Count(); ++t)
    drawn += series.PointColor(t) != clNone;
  EXPECT_EQ(drawn, 2) << "only (1, 10) and (3, 20) are points";
  // Pointers drawn: two, both inside the plot.
  int pointers = 0;
  for (const TCanvasCall &c : chart.Rec.CallsNamed("Rectangle"))
    pointers += c.Brush.Color == series.SeriesColor() &&
                Inside(chart.PlotRect(), c.Args[0] + 1, c.Args[1] + 1);
  EXPECT_EQ(pointers, 2);
}

// A page starts and ends at the first and last numbers on it: values that
// are no numbers at its ends leave the axis a range with labels.
TEST(ChartBadData, PagesEndOnNumbers) {
  struct Row {
    const char *Name;
    int Page;
    double Min, Max;
  };
  // Points 0 .. 9 at X = index, pages of five; X 0 is no number, nor are 4 and 5.
  for (const Row &row : {Row{"first page", 1, 1, 3}, Row{"second page", 2, 6, 9}}) {
    LayoutChart chart;
    chart.SetView3D(false);
    TPointSeries series;
    series.XValues().SetOrder(loNone);
    series.SetParentChart(&chart);
    for (int t = 0; t < 10; ++t)
      series.AppendPoint(t == 0 ? NaN : t == 4 ? Inf : t == 5 ? -Inf : t, t);
    chart.SetMaxPointsPerPage(5);
    chart.SetPage(row.Page);
    EXPECT_DOUBLE_EQ(chart.SmallestX(chart.BottomAxis()), row.Min) << row.Name;
    EXPECT_DOUBLE_EQ(chart.LargestX(chart.BottomAxis()), row.Max) << row.Name;
    chart.Draw();
    EXPECT_GE(Labels(chart, chart.BottomAxis()).size(), 3u) << row.Name;
  }
}

TEST(ChartBadData, SetMinMaxRefusesEndsThatAreNotNumbers) {
  LayoutChart chart;
  TCustomChartAxis &axis = *chart.LeftAxis();
  axis.SetMinMax(0, 10);
  for (const auto &[low, high] :
       {std::pair{NaN, 1.0}, std::pair{0.0, NaN}, std::pair{-Inf, 1.0}, std::pair{0.0, Inf}}) {
    try {
      axis.SetMinMax(low, high);
      ADD_FAILURE() << low << " .. " << high << " taken";
    } catch (const AxisException &e) {
      EXPECT_EQ(std::string(e.what()), std::isfinite(low)
                                           ? "Axis Maximum Value must be >= Minimum"
                                           : "Axis Minimum Value must be <= Maximum");
    }
    EXPECT_DOUBLE_EQ(axis.Minimum(), 0);
    EXPECT_DOUBLE_EQ(axis.Maximum(), 10);
  }
  EXPECT_THROW(axis.SetMaximum(Inf), AxisException);
  EXPECT_THROW(axis.SetMinimum(NaN), AxisException);
}

// Powers that would overlap are left out; small powers read as powers.
TEST(ChartBadData, LogarithmicLabelsAreThinnedAndReadable) {
  {
    LayoutChart chart;
    chart.SetView3D(false);
    // A legend that writes 1e300 in full would leave no plot.
    chart.Legend().SetVisible(false);
    DotSeries series;
    series.SetParentChart(&chart);
    series.AppendPoint(0, 1e-300);
    series.AppendPoint(1, 1e300);
    chart.LeftAxis()->SetLogarithmic(true);
    chart.LeftAxis()->SetLogarithmicBase(2);
    chart.Draw(400, 300);
    const std::vector<DrawnLabel> labels = Labels(chart, chart.LeftAxis());
    EXPECT_EQ(CrowdedLabels(labels), "");
    EXPECT_GE(labels.size(), 3u);
    EXPECT_LE(labels.size(), 30u);
  }
  {
    LayoutChart chart;
    chart.SetView3D(false);
    DotSeries series;
    series.SetParentChart(&chart);
    series.AppendPoint(0, 0);
    series.AppendPoint(1, 1000);
    chart.LeftAxis()->SetLogarithmic(true);
    chart.Draw(400, 300);
    std::vector<std::string> texts;
    for (const DrawnLabel &l : Labels(chart, chart.LeftAxis()))
      texts.push_back(l.Text);
    EXPECT_EQ(texts, (std::vector<std::string>{"0.1", "1", "10", "100", "1,000"}));
    // Below zero the axis starts at 1e-10: labels read as powers, not "0".
    series.AppendPoint(2, -5);
    chart.Draw(400, 300);
    const std::vector<DrawnLabel> low = Labels(chart, chart.LeftAxis());
    EXPECT_EQ(CrowdedLabels(low), "");
    ASSERT_FALSE(low.empty());
    EXPECT_EQ(low.front().Text, "1E-10");
    for (const DrawnLabel &l : low)
      EXPECT_NE(l.Text, "0");
  }
}

// A custom axis freed while a series uses it: the series goes back to its
// standard axis and the next drawing reads no freed axis.
TEST(ChartBadData, AFreedCustomAxisLeavesItsSeries) {
  LayoutChart chart;
  TPointSeries series;
  series.SetParentChart(&chart);
  series.AppendPoint(1, 10);
  series.AppendPoint(2, 30);
  auto *custom = new TChartAxis(&chart, false, true);
  series.SetVertAxis(aCustomVertAxis);
  series.SetCustomVertAxis(custom);
  series.SetCustomHorizAxis(custom);
  chart.Draw();
  EXPECT_EQ(series.VertAxisObject(), custom);
  delete custom;
  EXPECT_EQ(series.CustomVertAxis(), nullptr);
  EXPECT_EQ(series.CustomHorizAxis(), nullptr);
  EXPECT_EQ(series.VertAxisObject(), chart.LeftAxis());
  chart.Draw();
  EXPECT_NE(series.PointScreenY(0), series.PointScreenY(1));
  // A series freed first leaves nothing behind in the axis either.
  auto *other = new TChartAxis(&chart, false, true);
  {
    TPointSeries gone;
    gone.SetParentChart(&chart);
    gone.SetCustomVertAxis(other);
  }
  delete other;
  chart.Draw();
}

// A legend across the bottom in the values style measures only the items it
// can show, not every value of a long series.
TEST(ChartBadData, ABottomLegendOfAMillionValuesMeasuresWhatItShows) {
  LayoutChart chart;
  chart.SetView3D(false);
  chart.Legend().SetAlignment(laBottom);
  TPointSeries series;
  series.SetParentChart(&chart);
  for (int t = 0; t < 1000000; ++t)
    series.AppendPoint(t, t % 100);
  long long asked = 0;
  chart.OnGetLegendText = [&asked](TCustomAxisPanel *, TLegendStyle, int, std::string &) {
    ++asked;
  };
  chart.Draw();
  EXPECT_EQ(chart.Legend().ResolvedStyle(), lsValues);
  EXPECT_GT(chart.Legend().RowCount(), 0);
  EXPECT_LT(asked, 20000) << "texts asked for one drawing";
}

// A chart that is a window of its own takes its back colour too.
TEST(ChartBadData, BackColorOfATopLevelChart) {
  TChart chart;
  ASSERT_EQ(chart.parentWidget(), nullptr);
  chart.SetView3D(false);
  TPointSeries series;
  series.SetParentChart(&chart);
  series.AppendPoint(0, 0);
  series.AppendPoint(10, 10);
  chart.SetBackColor(clYellow);
  EXPECT_EQ(chart.BackWall().Brush().Style(), bsSolid);
  const QImage image = chart.SaveToImage(300, 200);
  image.save(QString::fromStdString(TestArtifactPath("chart_top_level_back_color.png")));
  const TRect plot = chart.PlotRect();
  int yellow = 0;
  for (int y = plot.Top + 2; y < plot.Bottom - 2; ++y)
    for (int x = plot.Left + 2; x < plot.Right - 2; ++x) {
      const QRgb p = image.pixel(x, y);
      yellow += RGB(qRed(p), qGreen(p), qBlue(p)) == clYellow;
    }
  EXPECT_GT(yellow, plot.Width() * plot.Height() * 3 / 4) << "the plot's background is yellow";
}

} // namespace
