#include "chartengine/chart/CustomChart.h"
#include "chartengine/engine/CustomChartAxis.h"
#include "chartengine/series/AreaSeries.h"
#include "chartengine/series/FastLineSeries.h"
#include "chartengine/series/LineSeries.h"
#include "chartengine/series/PointSeries.h"
#include "platform/QPainterCanvas.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <cmath>
#include <gtest/gtest.h>

namespace {

void Save(const QImage &image, const std::string &name) {
  const QString path = QString::fromStdString(TestArtifactPath(name));
  QDir().mkpath(QFileInfo(path).absolutePath());
  EXPECT_TRUE(image.save(path));
}

int CountColour(const QImage &image, TColor color) {
  const QRgb want = qRgb(GetRValue(color), GetGValue(color), GetBValue(color));
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      n += image.pixel(x, y) == want;
  return n;
}

// An area, a line with pointers, points and a long fast line in one chart.
struct FourSeriesChart {
  FourSeriesChart() {
    chart.resize(640, 400);
    chart.Title().SetCaption("Line, area, point and fast line");
    area.SetTitle("Area");
    area.SetSeriesColor(AreaColour);
    line.SetTitle("Line");
    line.SetSeriesColor(LineColour);
    line.LinePen().SetWidth(2);
    line.Pointer().SetVisible(true);
    line.Pointer().SetStyle(psCircle);
    points.SetTitle("Point");
    points.SetSeriesColor(PointColour);
    points.Pointer().SetStyle(psTriangle);
    fast.SetTitle("Fast line");
    fast.SetSeriesColor(FastColour);
    const double area_[] = {20, 26, 24, 30, 35, 31, 28, 33, 38, 36, 40};
    const double line_[] = {45, 52, 49, 58, 61, 57, 66, 63, 70, 68, 74};
    const double point_[] = {60, 40, 70, 55, 80, 50, 75, 65, 85, 58, 90};
    for (int t = 0; t <= 10; ++t) {
      area.AppendPoint(t, area_[t]);
      line.AppendPoint(t, line_[t]);
      points.AppendPoint(t, point_[t]);
    }
    for (int t = 0; t <= 2000; ++t)
      fast.AppendPoint(t / 200.0, 10 + 8 * std::sin(t / 60.0) + 3 * std::sin(t / 7.0));
    area.SetParentChart(&chart);
    line.SetParentChart(&chart);
    points.SetParentChart(&chart);
    fast.SetParentChart(&chart);
  }
  static constexpr TColor AreaColour = 0x40C040;  // green
  static constexpr TColor LineColour = 0xC04000;  // blue
  static constexpr TColor PointColour = 0x0080FF; // orange
  static constexpr TColor FastColour = 0x0000C0;  // dark red
  TChart chart;
  TAreaSeries area;
  TLineSeries line;
  TPointSeries points;
  TFastLineSeries fast;
};

TEST(LineSeriesPicture, FlatChartShowsEverySeries) {
  FourSeriesChart c;
  c.chart.SetView3D(false);
  const QImage image = c.chart.SaveToImage();
  Save(image, "line_area_point_fastline_2d.png");
  EXPECT_GT(CountColour(image, FourSeriesChart::AreaColour), 5000) << "a filled area";
  EXPECT_GT(CountColour(image, FourSeriesChart::LineColour), 300);
  EXPECT_GT(CountColour(image, FourSeriesChart::PointColour), 100);
  EXPECT_GT(CountColour(image, FourSeriesChart::FastColour), 400);
  // The area reaches down to the bottom axis under its first point.
  const int x = c.area.PointScreenX(0) + 2;
  const int bottom = c.chart.LeftAxis()->EndPixel() - 2;
  const QRgb green = qRgb(0x40, 0xC0, 0x40);
  EXPECT_EQ(image.pixel(x, bottom), green);
}

TEST(LineSeriesPicture, ThreeDChartShowsEverySeries) {
  FourSeriesChart c;
  c.chart.SetView3D(true);
  const QImage image = c.chart.SaveToImage();
  Save(image, "line_area_point_fastline_3d.png");
  EXPECT_GT(CountColour(image, FourSeriesChart::AreaColour), 5000);
  EXPECT_GT(CountColour(image, FourSeriesChart::LineColour), 300);
  EXPECT_GT(CountColour(image, FourSeriesChart::FastColour), 400);
}

TEST(LineSeriesPicture, StackedAreasAndStairs) {
  TChart chart;
  chart.resize(480, 300);
  chart.SetView3D(false);
  TAreaSeries low, high;
  TLineSeries stairs;
  low.SetSeriesColor(0x40C040);
  high.SetSeriesColor(0xE0A040);
  stairs.SetSeriesColor(clRed);
  stairs.SetStairs(true);
  stairs.LinePen().SetWidth(2);
  for (int t = 0; t <= 8; ++t) {
    low.AppendPoint(t, 10 + (t % 3) * 4);
    high.AppendPoint(t, 6 + (t % 4) * 3);
    stairs.AppendPoint(t, 12 + (t % 5) * 5);
  }
  low.SetParentChart(&chart);
  high.SetParentChart(&chart);
  stairs.SetParentChart(&chart);
  high.SetMultiArea(maStacked);
  const QImage image = chart.SaveToImage();
  Save(image, "area_stacked_and_stairs_2d.png");
  // Under the upper area's top lies the lower area, not the axis.
  const int x = high.PointScreenX(4) + 1;
  EXPECT_EQ(image.pixel(x, high.PointScreenY(4) + 2), qRgb(0x40, 0xA0, 0xE0));
  EXPECT_EQ(image.pixel(x, low.PointScreenY(4) + 2), qRgb(0x40, 0xC0, 0x40));
  chart.SetView3D(true);
  Save(chart.SaveToImage(), "area_stacked_and_stairs_3d.png");
}

} // namespace

// Two long line series, one with gaps, drawn into an RGB32 picture (ribbon
// faces and outlines written straight into the picture under the plot's
// clip) and into an RGB888 one (everything through QPainter): the same
// pixels, flat and in 3-D, with the axes zoomed so that the lines run out of
// the plot, and in a rotated perspective view. Ribbons that the next one
// covers are left out; drawing every ribbon gives the same pixels.
struct RibbonView {
  const char *name;
  bool is3D;
  bool zoomed;
  bool perspective;
  int zoomPercent = 100;
};

// The line series drawn ribbon by ribbon, every one of them.
class EveryRibbonLineSeries : public TLineSeries {
public:
  void DrawAllPoints() override { TChartSeries::DrawAllPoints(); }
};

template <typename Series> QImage DrawRibbons(const RibbonView &view, QImage::Format format) {
  TChart chart;
  chart.resize(800, 480);
  chart.SetBufferedDisplay(false);
  chart.SetView3D(view.is3D);
  if (view.perspective) {
    chart.View3DOptions().SetOrthogonal(false);
    chart.View3DOptions().SetRotation(325);
    chart.View3DOptions().SetElevation(340);
    chart.View3DOptions().SetPerspective(40);
  }
  chart.View3DOptions().SetZoom(view.zoomPercent);
  Series first;
  Series second;
  first.SetSeriesColor(0xC04000);
  second.SetSeriesColor(0x0080FF);
  unsigned seed = 11;
  const auto next = [&](int n) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 16) % static_cast<unsigned>(n));
  };
  for (int i = 0; i < 5000; ++i) {
    if (i % 700 == 350)
      first.AppendNullPointAt(i, 0);
    else
      first.AppendPoint(i, 50 + 30 * std::sin(i * 0.004) + next(20));
    second.AppendPoint(i, 40 + next(60));
  }
  first.SetParentChart(&chart);
  second.SetParentChart(&chart);
  if (view.zoomed) {
    chart.LeftAxis()->SetMinMax(45, 85);
    chart.BottomAxis()->SetMinMax(300, 4700);
  }
  QImage image(800, 480, format);
  image.fill(Qt::white);
  {
    TQPainterCanvas canvas(&image);
    chart.DrawToCanvas(&canvas, TRect(0, 0, 800, 480));
  }
  first.SetParentChart(nullptr);
  second.SetParentChart(nullptr);
  return image.convertToFormat(QImage::Format_RGB32);
}

class LineSeriesRibbons : public ::testing::TestWithParam<RibbonView> {};

TEST_P(LineSeriesRibbons, WrittenDirectlyMatchThePainter) {
  const RibbonView view = GetParam();
  const QImage direct = DrawRibbons<TLineSeries>(view, QImage::Format_RGB32);
  const QImage painted = DrawRibbons<TLineSeries>(view, QImage::Format_RGB888);
  const QImage every = DrawRibbons<EveryRibbonLineSeries>(view, QImage::Format_RGB32);
  const std::string name = std::string("line_ribbons_") + view.name;
  Save(direct, name + "_direct.png");
  Save(painted, name + "_painted.png");
  EXPECT_GT(CountColour(direct, 0xC04000) + CountColour(direct, 0x0080FF), 2000);
  for (const auto &[other, what] : {std::pair(&painted, "painted"), std::pair(&every, "every")}) {
    // Where they differ, in black on white.
    QImage diff(direct.size(), QImage::Format_RGB32);
    diff.fill(Qt::white);
    int differing = 0;
    for (int y = 0; y < direct.height(); ++y)
      for (int x = 0; x < direct.width(); ++x)
        if (direct.pixel(x, y) != other->pixel(x, y)) {
          ++differing;
          diff.setPixel(x, y, qRgb(0, 0, 0));
        }
    if (differing != 0)
      Save(diff, name + "_differing_from_" + what + ".png");
    EXPECT_EQ(differing, 0) << what;
  }
}

INSTANTIATE_TEST_SUITE_P(Views, LineSeriesRibbons,
                         ::testing::Values(RibbonView{"Flat", false, false, false},
                                           RibbonView{"ThreeD", true, false, false},
                                           RibbonView{"ThreeDZoomed", true, true, false},
                                           RibbonView{"ThreeDMagnified", true, false, false, 130},
                                           RibbonView{"Perspective", true, false, true},
                                           RibbonView{"PerspectiveZoomed", true, true, true}),
                         [](const auto &info) { return std::string(info.param.name); });
