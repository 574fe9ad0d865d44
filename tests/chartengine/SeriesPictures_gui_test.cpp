// Bar, pie and candle charts drawn by the chart control into pictures, saved
// for looking at and checked at a few telling pixels.
#include "chartengine/canvas/ChartSeriesTypes.h"
#include "chartengine/canvas/GalleryBitmaps.h"
#include "chartengine/chart/ChartRegistration.h"
#include "chartengine/chart/CustomChart.h"
#include "chartengine/chart/SeriesTypePictures.h"
#include "chartengine/engine/ChartComponentClass.h"
#include "chartengine/engine/ChartRandom.h"
#include "chartengine/engine/CustomChartAxis.h"
#include "chartengine/series/BarSeries.h"
#include "chartengine/series/CandleSeries.h"
#include "chartengine/series/HorizBarSeries.h"
#include "chartengine/series/PieSeries.h"
#include "chartengine/series/SeriesRegistration.h"
#include "chartengine/series/VolumeSeries.h"
#include "support/TestPaths.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>

namespace {

TColor PixelAt(const QImage &image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return RGB(qRed(p), qGreen(p), qBlue(p));
}

void Save(const QImage &image, const char *name) {
  EXPECT_TRUE(image.save(QString::fromStdString(TestArtifactPath(name))));
}

// Every registered series type has a gallery picture: its sample drawn
// small, made once and kept.
TEST(SeriesPictures, GalleryPicturesOfEveryType) {
  FreeChartSeriesTypes();
  RegisterChartEngineTypes();
  RegisterChartControlClasses();
  const TChartSeriesTypes &types = *ChartSeriesTypes();
  QImage sheet(SeriesTypePictureWidth * 9, SeriesTypePictureHeight, QImage::Format_RGB32);
  sheet.fill(Qt::white);
  QPainter painter(&sheet);
  int shown = 0;
  for (int t = 0; t < types.Count(); ++t) {
    const auto *cls = dynamic_cast<const TChartComponentClass *>(types.Item(t).SeriesClass);
    if (cls == nullptr)
      continue;
    const std::unique_ptr<TChartComponent> made = cls->Create(nullptr);
    const auto *series = dynamic_cast<const TChartSeries *>(made.get());
    ASSERT_NE(series, nullptr);
    QImage picture;
    ASSERT_TRUE(series->LoadTypeBitmap(picture)) << cls->ClassName();
    EXPECT_EQ(picture.size(), QSize(SeriesTypePictureWidth, SeriesTypePictureHeight));
    int coloured = 0;
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x) {
        const QRgb p = picture.pixel(x, y);
        coloured += QColor(p).saturation() > 60 || qGray(p) < 100;
      }
    EXPECT_GT(coloured, 60) << cls->ClassName() << " shows its sample";
    QImage again;
    ASSERT_TRUE(LoadGalleryBitmap(cls->ClassName(), again));
    EXPECT_EQ(again.cacheKey(), picture.cacheKey()) << "made once and kept";
    painter.drawImage(shown++ * SeriesTypePictureWidth, 0, picture);
  }
  painter.end();
  EXPECT_EQ(shown, 9);
  Save(sheet, "series_type_gallery.png");
  QImage none;
  EXPECT_FALSE(LoadGalleryBitmap("TNoSuchSeries", none));
  SetGalleryPictureMaker(nullptr);
  FreeChartSeriesTypes();
}

// The engine's example charts as a user sees them, flat, orthogonal 3-D and
// rotated, saved for looking at (the label geometry is checked elsewhere).
TEST(SeriesPictures, ExampleChartsInThreeViews) {
  FreeChartSeriesTypes();
  RegisterChartEngineTypes();
  const TChartSeriesTypes &types = *ChartSeriesTypes();
  for (int t = 0; t < types.Count(); ++t) {
    const auto *cls = dynamic_cast<const TChartComponentClass *>(types.Item(t).SeriesClass);
    if (cls == nullptr)
      continue;
    QImage sheet(3 * 404, 260, QImage::Format_RGB32);
    QPainter painter(&sheet);
    for (int view = 0; view < 3; ++view) {
      TChart chart;
      const std::unique_ptr<TChartComponent> made = cls->Create(nullptr);
      auto *series = dynamic_cast<TChartSeries *>(made.get());
      ASSERT_NE(series, nullptr);
      series->SetParentChart(&chart);
      SeedChartRandom(7);
      series->FillSampleValues(series->SamplePointCount());
      chart.SetView3D(view > 0);
      chart.View3DOptions().SetOrthogonal(view == 1);
      painter.drawImage(view * 404, 0, chart.SaveToImage(404, 260));
    }
    painter.end();
    Save(sheet, ("example_" + cls->ClassName() + ".png").c_str());
  }
  FreeChartSeriesTypes();
}

TEST(SeriesPictures, BarChart) {
  TChart chart;
  chart.SetView3D(false);
  TBarSeries sales;
  TBarSeries costs;
  sales.SetParentChart(&chart);
  costs.SetParentChart(&chart);
  sales.SetSeriesColor(clRed);
  costs.SetSeriesColor(clBlue);
  sales.SetTitle("Sales");
  costs.SetTitle("Costs");
  const double s[] = {120, 150, 90, 180, 160, 210};
  const double c[] = {80, 100, 95, 110, 120, 130};
  const char *months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun"};
  for (int t = 0; t < 6; ++t) {
    sales.Add(s[t], months[t]);
    costs.Add(c[t], months[t]);
  }
  costs.Marks().SetVisible(false);
  const QImage image = chart.SaveToImage(500, 350);
  Save(image, "series_bar_chart.png");

  // The middle of the fourth red bar and of the fourth blue one.
  sales.FindVisibleRange();
  const TRect red = sales.BarBounds(3);
  const TRect blue = costs.BarBounds(3);
  EXPECT_EQ(red.Right, blue.Left) << "side by side";
  EXPECT_EQ(PixelAt(image, (red.Left + red.Right) / 2, (red.Top + red.Bottom) / 2), clRed);
  EXPECT_EQ(PixelAt(image, (blue.Left + blue.Right) / 2, (blue.Top + blue.Bottom) / 2), clBlue);
  EXPECT_GT(blue.Top, red.Top) << "the smaller value is the shorter bar";
}

TEST(SeriesPictures, StackedBarsAndShapesIn3D) {
  TChart chart;
  TBarSeries a;
  TBarSeries b;
  a.SetParentChart(&chart);
  b.SetParentChart(&chart);
  a.SetMultiBar(mbStacked);
  a.SetBarStyle(bsCilinder);
  b.SetBarStyle(bsPyramid);
  a.Marks().SetVisible(false);
  b.Marks().SetVisible(false);
  for (int t = 0; t < 5; ++t) {
    a.Add(20 + 10 * t);
    b.Add(40 - 5 * t);
  }
  Save(chart.SaveToImage(500, 350), "series_bar_stacked_3d.png");

  TChart shapes;
  const TBarStyle styles[] = {bsRectangle, bsPyramid, bsInvPyramid,  bsCilinder,
                              bsEllipse,   bsArrow,   bsRectGradient};
  TBarSeries bars;
  bars.SetParentChart(&shapes);
  bars.SetColorEachPoint(true);
  bars.Marks().SetVisible(false);
  for (int t = 0; t < 7; ++t)
    bars.Add(30 + 10 * t);
  bars.OnGetBarStyle = [&](TCustomBarSeries *, int index, TBarStyle &style) {
    style = styles[index];
  };
  Save(shapes.SaveToImage(600, 350), "series_bar_shapes_3d.png");
  shapes.SetView3D(false);
  const QImage flat = shapes.SaveToImage(600, 350);
  Save(flat, "series_bar_shapes_flat.png");
  // The gradient bar keeps its outline and runs from white at the bottom.
  bars.FindVisibleRange();
  const TRect gradient = bars.BarBounds(6);
  const int middle = (gradient.Top + gradient.Bottom) / 2;
  EXPECT_EQ(PixelAt(flat, gradient.Left, middle), clBlack);
  const int centre = (gradient.Left + gradient.Right) / 2;
  EXPECT_GT(qGreen(flat.pixel(centre, gradient.Bottom - 3)), 240) << "almost white";
  EXPECT_LT(qGreen(flat.pixel(centre, gradient.Top + 3)), 40) << "almost the bar colour";
}

TEST(SeriesPictures, HorizontalBars) {
  TChart chart;
  chart.SetView3D(false);
  THorizBarSeries bars;
  bars.SetParentChart(&chart);
  bars.SetColorEachPoint(true);
  for (double v : {35.0, -20.0, 60.0, 45.0})
    bars.Add(v);
  const QImage image = chart.SaveToImage(500, 300);
  Save(image, "series_horiz_bars.png");
  bars.FindVisibleRange();
  const TRect third = bars.BarBounds(2);
  EXPECT_GT(third.Right - third.Left, third.Bottom - third.Top);
  EXPECT_EQ(PixelAt(image, (third.Left + third.Right) / 2, (third.Top + third.Bottom) / 2),
            bars.PointColor(2));
}

TEST(SeriesPictures, Pie) {
  TChart chart;
  chart.SetView3D(false);
  TPieSeries pie;
  pie.SetParentChart(&chart);
  const double values[] = {40, 25, 15, 10, 6, 4};
  const char *labels[] = {"Shares", "Bonds", "Cash", "Gold", "Options", "Funds"};
  for (int t = 0; t < 6; ++t)
    pie.Add(values[t], labels[t]);
  pie.OtherSlice().SetStyle(poBelowPercent);
  pie.OtherSlice().SetValue(8);
  pie.ExplodedSlice().SetValue(1, 15);
  pie.Marks().SetStyle(smsLabelPercent);
  const QImage image = chart.SaveToImage(500, 350);
  Save(image, "series_pie_flat.png");

  // A point well inside the first slice (around 72 degrees) has its colour.
  const TPieAngle &first = pie.Angles()[0];
  const TPoint inside = pie.AngleToPos(first.MidAngle, pie.XRadius() / 2, pie.YRadius() / 2);
  EXPECT_EQ(PixelAt(image, inside.X, inside.Y), pie.PointColor(0));
  EXPECT_EQ(pie.LegendItemCount(), 5) << "Options and Funds are one slice";
  // The exploded slice lies away from the centre.
  const TPoint offset = pie.ExplodeOffset(1);
  EXPECT_NE(offset, TPoint(0, 0));
  const TPoint pulled =
      pie.AngleToPos(pie.Angles()[1].MidAngle, pie.XRadius() / 2, pie.YRadius() / 2);
  EXPECT_EQ(PixelAt(image, pulled.X + offset.X, pulled.Y - offset.Y), pie.PointColor(1));

  chart.SetView3D(true);
  pie.ChangeView3D(true);
  Save(chart.SaveToImage(500, 350), "series_pie_3d.png");
  pie.SetUsePatterns(true);
  chart.SetView3D(false);
  pie.SetCircled(true);
  Save(chart.SaveToImage(500, 350), "series_pie_patterns.png");
}

TEST(SeriesPictures, CandlesAndVolume) {
  TChart chart;
  chart.SetView3D(false);
  chart.Legend().SetVisible(false);
  TCandleSeries candles;
  candles.SetParentChart(&chart);
  candles.SetCandleWidth(7);
  TVolumeSeries volume;
  double price = 50;
  const double start = 45000;
  for (int t = 0; t < 30; ++t) {
    const double open = price;
    const double close = open + 3 * std::sin(t * 0.9) + (t % 4 == 0 ? -2 : 1);
    const double high = std::max(open, close) + 1 + (t % 3);
    const double low = std::min(open, close) - 1 - (t % 2);
    candles.AddCandle(start + t, open, high, low, close);
    price = close;
  }
  const QImage image = chart.SaveToImage(600, 350);
  Save(image, "series_candles.png");

  // An up candle's body is white inside a black outline; a down one is red.
  int up = -1, down = -1;
  for (int t = 0; t < candles.Count(); ++t) {
    const double o = candles.OpenValues().Value(t), c = candles.CloseValues().Value(t);
    if (c - o > 2 && up < 0)
      up = t;
    if (o - c > 2 && down < 0)
      down = t;
  }
  ASSERT_GE(up, 0);
  ASSERT_GE(down, 0);
  auto bodyCentre = [&](int t) {
    const int x = candles.XValueToScreen(candles.DateValues().Value(t));
    const int y = (candles.YValueToScreen(candles.OpenValues().Value(t)) +
                   candles.YValueToScreen(candles.CloseValues().Value(t))) /
                  2;
    return TPoint(x + 2, y);
  };
  EXPECT_EQ(PixelAt(image, bodyCentre(up).X, bodyCentre(up).Y), clWhite);
  EXPECT_EQ(PixelAt(image, bodyCentre(down).X, bodyCentre(down).Y), clRed);

  candles.SetCandleStyle(csCandleBar);
  Save(chart.SaveToImage(600, 350), "series_candle_bars.png");

  TChart volumes;
  volumes.SetView3D(false);
  volumes.Legend().SetVisible(false);
  volume.SetParentChart(&volumes);
  volume.LinePen().SetWidth(3);
  for (int t = 0; t < 30; ++t)
    volume.AppendPoint(start + t, 1000 + 400 * std::cos(t * 0.5) + 30 * t);
  const QImage volumeImage = volumes.SaveToImage(600, 200);
  Save(volumeImage, "series_volume.png");
  const int x = volume.PointScreenX(10);
  const int bottom = volume.VertAxisObject()->EndPixel();
  EXPECT_EQ(PixelAt(volumeImage, x, bottom - 2), volume.SeriesColor());
  EXPECT_EQ(PixelAt(volumeImage, x, volume.PointScreenY(10) + 2), volume.SeriesColor());

  chart.SetView3D(true);
  candles.SetCandleStyle(csCandleStick);
  candles.SetDraw3D(true);
  Save(chart.SaveToImage(600, 350), "series_candles_3d.png");
}

} // namespace
