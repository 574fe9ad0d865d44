#include "chartengine/chart/CustomChart.h"
#include "chartengine/engine/CustomChartAxis.h"
#include "chartengine/series/FastLineSeries.h"
#include "platform/BitmapBuffer.h"
#include "ChartScreenSupport.h"
#include "support/EventWait.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <string>
#include <utility>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 500;
constexpr TColor kLine = clRed;

// The fast line drawn point by point, one segment per point: the drawing
// every other one must match.
class EveryPointFastLine : public TFastLineSeries {
public:
  void DrawAllPoints() override {
    TChartCanvas3D &canvas = ParentChart()->Canvas();
    canvas.AssignChartPen(LinePen());
    canvas.Pen().Color = SeriesColor();
    canvas.Brush().Style = bsClear;
    TChartSeries::DrawAllPoints();
  }
};

enum class View { Flat, Orthogonal, Turned };

struct Case {
  std::string name;
  int count;
  std::function<void(int, double &, double &)> point;
  // Bottom axis range (both 0: automatic).
  double min = 0, max = 0;
};

template <typename Series> void AppendCase(Series &series, const Case &c) {
  for (int i = 0; i < c.count; ++i) {
    double x = 0, y = 0;
    c.point(i, x, y);
    series.AppendPoint(x, y);
  }
}

QImage Drawn(TFastLineSeries &series, const Case &c, View view) {
  TChart chart;
  chart.resize(kWidth, kHeight);
  chart.SetBufferedDisplay(false);
  chart.SetView3D(view != View::Flat);
  if (view == View::Turned) {
    chart.View3DOptions().SetOrthogonal(false);
    chart.View3DOptions().SetRotation(340);
    chart.View3DOptions().SetElevation(350);
    chart.View3DOptions().SetPerspective(40);
  }
  chart.Legend().SetVisible(false);
  series.SetSeriesColor(kLine);
  AppendCase(series, c);
  series.SetParentChart(&chart);
  if (c.min != c.max)
    chart.BottomAxis()->SetMinMax(c.min, c.max);
  TBitmapBuffer picture(kWidth, kHeight);
  chart.DrawToCanvas(&picture.Canvas(), TRect(0, 0, kWidth, kHeight));
  series.SetParentChart(nullptr);
  return picture.Image().copy();
}

void Save(const QImage &image, const std::string &name) {
  const QString path = QString::fromStdString(TestArtifactPath(name));
  QDir().mkpath(QFileInfo(path).absolutePath());
  image.save(path);
}

TEST(FastLineReducedDrawing, GivesThePixelsOfEveryPointDrawn) {
  std::mt19937 random(14);
  std::uniform_real_distribution<double> uniform(0.0, 100.0);
  std::vector<double> noise(200000);
  for (double &v : noise)
    v = uniform(random);
  // Prices in small steps: most pixel columns span a few pixels.
  std::normal_distribution<double> step(0.0, 0.01);
  std::vector<double> walk(1000000);
  double price = 100.0;
  for (double &v : walk)
    v = price += step(random);
  const std::vector<Case> cases = {
      {"random", 200000, [&](int i, double &x, double &y) { x = i, y = noise[size_t(i)]; }},
      {"walk", 1000000, [&](int i, double &x, double &y) { x = i, y = walk[size_t(i)]; }},
      // Values that are no numbers among the prices (the last point's x
      // too): columns holding them are placed point by point, and the line
      // breaks at each.
      {"no-numbers", 200000,
       [&](int i, double &x, double &y) {
         x = i % 4999 == 7 || i == 199999 ? NAN : i;
         y = i % 1231 == 3 ? NAN : i % 1777 == 5 ? INFINITY : walk[size_t(i)];
       }},
      {"sine", 1000000,
       [](int i, double &x, double &y) { x = i, y = 50.0 * std::sin(i * 2 * M_PI / 50000.0); }},
      // Blocks of 400 points with wide gaps in X between them, steps in Y,
      // and a zoomed axis: the line comes in from a point before the visible
      // range and runs on to one past it.
      {"gaps", 60000,
       [&](int i, double &x, double &y) {
         x = i + (i / 400) * 3000.0;
         y = (i / 400) % 7 * 20.0 + noise[size_t(i)] * 0.3;
       },
       30000.0, 400000.0},
  };
  for (const Case &c : cases) {
    for (View view : {View::Flat, View::Orthogonal, View::Turned}) {
      const std::string name =
          c.name + (view == View::Flat ? "-flat" : view == View::Orthogonal ? "-3d" : "-turned");
      TFastLineSeries reduced;
      EveryPointFastLine every;
      const QImage a = Drawn(reduced, c, view);
      const QImage b = Drawn(every, c, view);
      const QRgb line = qRgb(GetRValue(kLine), GetGValue(kLine), GetBValue(kLine));
      long linePixels = 0, differing = 0;
      for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
          linePixels += b.pixel(x, y) == line;
          differing += a.pixel(x, y) != b.pixel(x, y);
        }
      Save(a, "fastline-reduced/" + name + "-reduced.png");
      if (differing != 0)
        Save(b, "fastline-reduced/" + name + "-every-point.png");
      EXPECT_GT(linePixels, 2000) << name;
      // At most 0.01 % of the line's pixels may differ (single segment ends).
      EXPECT_LE(differing * 10000, linePixels) << name << ": " << differing << " of "
                                               << linePixels;
    }
  }
}

TEST(FastLineReducedDrawing, AShownChartPaintsABatchOfPointsOnceAndShowsThemAll) {
  TChart chart;
  chart.resize(500, 320);
  chart.Legend().SetVisible(false);
  TFastLineSeries series;
  series.SetSeriesColor(kLine);
  series.SetParentChart(&chart);
  PaintCounter counter;
  chart.installEventFilter(&counter);
  chart.show();
  ASSERT_TRUE(ProcessEventsUntil([&] { return counter.paints > 0; }));
  counter.paints = 0;
  // 50,000 points, each asking for a repaint (AutoRepaint is on).
  for (int i = 0; i < 50000; ++i)
    series.AppendPoint(i, 50.0 + 40.0 * std::sin(i / 700.0) + (i * 7919 % 13));
  ASSERT_TRUE(ProcessEventsUntil([&] { return counter.paints > 0; }));
  ProcessEventsUntil([] { return false; }, 100);
  EXPECT_EQ(counter.paints, 1);
  // What the window shows is the drawing of every point.
  const QImage shown = ShownPicture(chart);
  EveryPointFastLine every;
  const Case all{"window", 50000, [](int i, double &x, double &y) {
                   x = i, y = 50.0 + 40.0 * std::sin(i / 700.0) + (i * 7919 % 13);
                 }};
  TChart reference;
  reference.resize(500, 320);
  reference.Legend().SetVisible(false);
  every.SetSeriesColor(kLine);
  AppendCase(every, all);
  every.SetParentChart(&reference);
  reference.SetBufferedDisplay(false);
  TBitmapBuffer picture(500, 320);
  reference.DrawToCanvas(&picture.Canvas(), TRect(0, 0, 500, 320));
  ASSERT_EQ(shown.size(), picture.Image().size());
  long differing = 0, linePixels = 0;
  const QRgb line = qRgb(GetRValue(kLine), GetGValue(kLine), GetBValue(kLine));
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x) {
      linePixels += picture.Image().pixel(x, y) == line;
      differing += (shown.pixel(x, y) & 0xFFFFFF) != (picture.Image().pixel(x, y) & 0xFFFFFF);
    }
  if (differing != 0) {
    Save(shown, "fastline-reduced/window-shown.png");
    Save(picture.Image(), "fastline-reduced/window-every-point.png");
  }
  EXPECT_GT(linePixels, 1000);
  EXPECT_EQ(differing, 0);
  every.SetParentChart(nullptr);
  series.SetParentChart(nullptr);
}

// Points whose y is not finite leave gaps in the shown line instead of
// being drawn at the middle of the axis, and a point whose x is no number is
// kept where it came (last here), not put before the first point.
TEST(FastLineOnScreen, PointsThatAreNoNumbersLeaveGaps) {
  TChart chart;
  chart.resize(500, 320);
  chart.SetView3D(false);
  chart.Legend().SetVisible(false);
  TFastLineSeries series;
  series.SetSeriesColor(kLine);
  // A level line at 10, below the middle of the axis, with a no-number at 5
  // and minus infinity at 8; the point without an x stands higher.
  for (int i = 0; i <= 10; ++i)
    series.AppendPoint(i, i == 5 ? NAN : i == 8 ? -INFINITY : 10.0);
  series.AppendPoint(NAN, 25.0);
  series.SetParentChart(&chart);
  chart.LeftAxis()->SetMinMax(0, 30);
  EXPECT_TRUE(std::isnan(series.XValues().Value(series.Count() - 1)));
  chart.show();
  const QRgb line = qRgb(GetRValue(kLine), GetGValue(kLine), GetBValue(kLine));
  QImage shown;
  const auto lineShown = [&] {
    shown = ShownPicture(chart);
    return ShowsColour(shown, line);
  };
  const bool shownInTime = ProcessEventsUntil(lineShown);
  Save(shown, "fastline-no-numbers.png");
  ASSERT_TRUE(shownInTime);
  const TCustomChartAxis &bottom = *chart.BottomAxis();
  const int level = chart.LeftAxis()->YValueToScreen(10.0);
  // Red pixels off the level row, and red pixels of the columns that lie
  // strictly between two points, for each pair of neighbours 0-1 .. 9-10.
  long offLevel = 0;
  std::vector<long> between(10, 0);
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x) {
      if ((shown.pixel(x, y) & 0xFFFFFF) != (line & 0xFFFFFF))
        continue;
      offLevel += y != level;
      for (int i = 0; i < 10; ++i)
        between[size_t(i)] += x > bottom.XValueToScreen(i) && x < bottom.XValueToScreen(i + 1);
    }
  EXPECT_EQ(offLevel, 0);
  for (int i = 0; i < 10; ++i) {
    const bool gap = i == 4 || i == 5 || i == 7 || i == 8;
    if (gap)
      EXPECT_EQ(between[size_t(i)], 0) << "from point " << i;
    else
      EXPECT_GT(between[size_t(i)], 10) << "from point " << i;
  }
  series.SetParentChart(nullptr);
}

// Points that are not drawn widen no axis: with them the chart shows the
// same axes as without them, and the line still breaks where they are.
TEST(FastLineOnScreen, PointsThatAreNotDrawnDoNotStretchTheAxes) {
  const auto ordinary = [](TFastLineSeries &series) {
    for (int i = 0; i <= 10; ++i)
      if (i != 5)
        series.AppendPoint(i, 10.0 + (i % 3) * 5.0);
  };
  TChart with, without;
  TFastLineSeries withSeries, withoutSeries;
  ordinary(withSeries);
  withSeries.AppendPoint(NAN, 1e6);
  withSeries.AppendPoint(5, NAN);
  withSeries.AppendPoint(-40, INFINITY);
  ordinary(withoutSeries);
  const QRgb line = qRgb(GetRValue(kLine), GetGValue(kLine), GetBValue(kLine));
  const auto lineShown = [&](TChart &chart, QImage &shown) {
    shown = ShownPicture(chart);
    return ShowsColour(shown, line);
  };
  QImage withShown, withoutShown;
  PaintCounter withPaints;
  with.installEventFilter(&withPaints);
  for (auto [chart, series] : {std::pair{&with, &withSeries}, std::pair{&without, &withoutSeries}}) {
    chart->resize(500, 320);
    chart->SetView3D(false);
    chart->Legend().SetVisible(false);
    series->SetSeriesColor(kLine);
    series->SetParentChart(chart);
    chart->show();
  }
  const bool shownInTime = ProcessEventsUntil(
      [&] { return withPaints.paints > 0 && lineShown(without, withoutShown); });
  lineShown(with, withShown);
  Save(withShown, "fastline-not-drawn-points/with.png");
  Save(withoutShown, "fastline-not-drawn-points/without.png");
  ASSERT_TRUE(shownInTime);
  EXPECT_EQ(with.LeftAxis()->Minimum(), without.LeftAxis()->Minimum());
  EXPECT_EQ(with.LeftAxis()->Maximum(), without.LeftAxis()->Maximum());
  EXPECT_EQ(with.BottomAxis()->Minimum(), without.BottomAxis()->Minimum());
  EXPECT_EQ(with.BottomAxis()->Maximum(), without.BottomAxis()->Maximum());
  // The vertical axis' labels are the same pixels.
  const int plotLeft = without.PlotRect().Left;
  EXPECT_EQ(with.PlotRect().Left, plotLeft);
  EXPECT_TRUE(withShown.copy(0, 0, plotLeft, withShown.height()) ==
              withoutShown.copy(0, 0, plotLeft, withoutShown.height()));
  // Between 4 and 6 the line has a gap where (5, NaN) stands.
  const auto linePixelsBetween4And6 = [&](TChart &chart, const QImage &shown) {
    const int from = chart.BottomAxis()->XValueToScreen(4);
    const int to = chart.BottomAxis()->XValueToScreen(6);
    long n = 0;
    for (int y = 0; y < shown.height(); ++y)
      for (int x = from + 1; x < to; ++x)
        n += (shown.pixel(x, y) & 0xFFFFFF) == (line & 0xFFFFFF);
    return n;
  };
  EXPECT_EQ(linePixelsBetween4And6(with, withShown), 0);
  EXPECT_GT(linePixelsBetween4And6(without, withoutShown), 10);
  withSeries.SetParentChart(nullptr);
  withoutSeries.SetParentChart(nullptr);
}

} // namespace
