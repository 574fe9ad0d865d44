// Charts zoomed to a millionth of their data: their bars, areas and lines run
// millions of pixels out of the picture and are cut to it before a pixel is
// stepped, so a drawing costs about what it costs unzoomed.
#include "chartengine/chart/CustomChart.h"
#include "chartengine/engine/CustomChartAxis.h"
#include "chartengine/series/AreaSeries.h"
#include "chartengine/series/BarSeries.h"
#include "chartengine/series/CandleSeries.h"
#include "chartengine/series/HorizBarSeries.h"
#include "chartengine/series/LineSeries.h"
#include "platform/QPainterCanvas.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <memory>

namespace {

enum class Kind { HorizBars, Bars, Area, Line };

struct Case {
  const char *name;
  Kind kind;
  bool view3D;
  bool marks;
  QImage::Format format; // RGB888: the painter draws every pixel
};

std::unique_ptr<TChartSeries> MakeSeries(Kind kind) {
  switch (kind) {
  case Kind::HorizBars:
    return std::make_unique<THorizBarSeries>();
  case Kind::Bars:
    return std::make_unique<TBarSeries>();
  case Kind::Area:
    return std::make_unique<TAreaSeries>();
  case Kind::Line:
    break;
  }
  return std::make_unique<TLineSeries>();
}

// Pixels stepped by the 1-px lines of one drawing of the chart.
quint64 LinePixels(TChart &chart, QImage &picture) {
  picture.fill(Qt::white);
  QPainter painter(&picture);
  TQPainterCanvas canvas(painter);
  chart.DrawToCanvas(&canvas, TRect(0, 0, picture.width(), picture.height()));
  return canvas.LinePixelCount();
}

TEST(ChartDeepZoom, LinesAreSteppedOnlyInsideThePicture) {
  const Case cases[] = {
      {"horizontal bars, 3-D", Kind::HorizBars, true, false, QImage::Format_RGB32},
      {"horizontal bars, 3-D, marks, painter", Kind::HorizBars, true, true, QImage::Format_RGB888},
      {"bars, 3-D, marks", Kind::Bars, true, true, QImage::Format_RGB32},
      {"area, flat", Kind::Area, false, false, QImage::Format_RGB32},
      {"line, 3-D, painter", Kind::Line, true, false, QImage::Format_RGB888},
  };
  for (const Case &c : cases) {
    TChart chart;
    chart.SetBufferedDisplay(false);
    chart.SetView3D(c.view3D);
    const std::unique_ptr<TChartSeries> series = MakeSeries(c.kind);
    series->SetParentChart(&chart);
    series->Marks().SetVisible(c.marks);
    for (int i = 0; i < 12; ++i)
      series->Add(60.0 + 17.0 * ((i * 7) % 12));
    QImage picture(500, 320, c.format);
    const quint64 unzoomed = LinePixels(chart, picture);
    // A millionth of the values and of the points around one point.
    const bool horizontal = c.kind == Kind::HorizBars;
    TCustomChartAxis *values = horizontal ? chart.BottomAxis() : chart.LeftAxis();
    TCustomChartAxis *points = horizontal ? chart.LeftAxis() : chart.BottomAxis();
    values->SetMinMax(150, 150.0001);
    points->SetMinMax(9.5, 9.500019);
    const quint64 zoomed = LinePixels(chart, picture);
    EXPECT_GT(unzoomed, 1000u) << c.name;
    EXPECT_LT(zoomed, 3 * unzoomed) << c.name << ": unzoomed " << unzoomed;
    series->SetParentChart(nullptr);
  }
}

// A date axis moved far past the calendar's last year still draws: its
// labels and steps leave the calendar instead of failing on it.
TEST(ChartDeepZoom, ADateAxisFarPastTheCalendarDraws) {
  TChart chart;
  chart.SetBufferedDisplay(false);
  TCandleSeries candles;
  candles.SetParentChart(&chart);
  for (int i = 0; i < 20; ++i)
    candles.AddCandle(45000 + i, 10 + i, 12 + i, 9 + i, 11 + i);
  QImage picture(500, 320, QImage::Format_RGB32);
  for (const double from : {1e9, 3e6, -1e9}) {
    chart.BottomAxis()->SetMinMax(from, from + 10);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    TQPainterCanvas canvas(painter);
    EXPECT_NO_THROW(chart.DrawToCanvas(&canvas, TRect(0, 0, picture.width(), picture.height())))
        << from;
  }
}

} // namespace
