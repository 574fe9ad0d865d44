#include "chartengine/canvas/ChartCanvas3D.h"
#include "chartengine/engine/ChartAxis.h"
#include "chartengine/engine/ChartSeries.h"
#include "chartengine/engine/CustomAxisPanel.h"
#include "platform/BitmapBuffer.h"
#include "platform/DateTime.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

namespace {

class PicturePanel : public TCustomAxisPanel {
public:
  PicturePanel() { SetBufferedDisplay(false); }
  std::string LegendValueText(TChartSeries *, int) override { return {}; }
};

void Save(const QImage &image, const std::string &name) {
  const QString path = QString::fromStdString(TestArtifactPath(name));
  QDir().mkpath(QFileInfo(path).absolutePath());
  EXPECT_TRUE(image.save(path));
}

bool IsInk(QRgb p) { return qRed(p) < 160 && qGreen(p) < 160 && qBlue(p) < 160; }

// Pixels darker than light gray inside a rectangle.
int InkIn(const QImage &image, const TRect &r) {
  int ink = 0;
  for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, image.height()); ++y)
    for (int x = std::max(r.Left, 0); x < std::min(r.Right, image.width()); ++x)
      ink += IsInk(image.pixel(x, y));
  return ink;
}

// A time axis at the bottom and a price axis at the left, laid out and drawn
// the way a chart does it, straight onto a picture.
TEST(ChartAxisPicture, TimeAndPriceAxes) {
  TBitmapBuffer picture(420, 260);
  PicturePanel panel;
  panel.SetView3D(false);
  TChartCanvas3D &canvas = panel.Canvas();
  canvas.BeginDraw(&picture.Canvas(), &panel.View3DOptions(), false, TRect(0, 0, 420, 260));

  TChartSeries prices;
  prices.SetParentChart(&panel);
  prices.XValues().SetDateTime(true);
  const TDateTime day = EncodeDate(2023, 6, 14);
  for (int t = 0; t <= 26; ++t)
    prices.AppendPoint(day + (9.5 + t / 4.0) / 24, 101.5 + (t % 7) * 0.35);

  TCustomChartAxis &left = *panel.LeftAxis();
  TCustomChartAxis &bottom = *panel.BottomAxis();
  left.Title().SetCaption("Price");
  bottom.Title().SetCaption("Time");
  bottom.SetDateTimeFormat("hh:nn");
  left.SetAxisValuesFormat("0.00");

  panel.SetPlotRect(TRect(10, 10, 410, 250));
  panel.RecalcPlotRect();
  for (TCustomChartAxis *axis : {&left, &bottom})
    axis->FitRangeToSeries();
  for (TCustomChartAxis *axis : {&left, &bottom}) {
    TRect room = panel.PlotRect();
    axis->CalcRect(room, true);
    panel.SetPlotRect(room);
  }
  panel.RecalcPlotRect();
  for (TCustomChartAxis *axis : {&left, &bottom})
    axis->ComputePixelSpan();
  left.DrawAxis(true);
  bottom.DrawAxis(true);

  const QImage &image = picture.Image();
  Save(image, "chart_axes_time_price.png");

  const TRect plot = panel.PlotRect();
  // The axis lines, two pixels wide, black.
  EXPECT_EQ(image.pixel(left.AxisLinePos(), plot.Top + 50) & 0xFFFFFF, 0u);
  EXPECT_EQ(image.pixel(plot.Left + 50, bottom.AxisLinePos()) & 0xFFFFFF, 0u);
  // Labels left of the price axis and below the time axis; titles outside.
  EXPECT_GT(InkIn(image, TRect(left.TitlePos(), plot.Top, left.LabelsPos(), plot.Bottom)), 50);
  EXPECT_GT(InkIn(image, TRect(plot.Left, bottom.LabelsPos(), plot.Right, bottom.TitlePos())), 50);
  EXPECT_GT(InkIn(image, TRect(0, plot.Top, left.TitlePos(), plot.Bottom)), 10);
  EXPECT_GT(InkIn(image, TRect(plot.Left, bottom.TitlePos(), plot.Right, 260)), 10);
  // Grid lines run across the plot in gray dots.
  int gray = 0;
  for (int x = plot.Left + 2; x < plot.Right; ++x)
    for (int y = plot.Top; y < plot.Bottom; ++y)
      gray += (image.pixel(x, y) & 0xFFFFFF) == 0x808080;
  EXPECT_GT(gray, 100);
}

// The same pair in a 3-D chart drawn by the panel: the grid goes along the
// walls to the back.
TEST(ChartAxisPicture, AxesOfAThreeDimensionalChart) {
  TBitmapBuffer picture(420, 260);
  PicturePanel panel;
  panel.resize(420, 260);
  panel.SetView3D(true);
  panel.SetColor(clWhite);
  TChartSeries values;
  values.SetParentChart(&panel);
  for (int t = 0; t <= 10; ++t)
    values.AppendPoint(t * 10, (t * 37) % 90);
  panel.LeftAxis()->Title().SetCaption("Volume");
  panel.BottomAxis()->Title().SetCaption("Step");
  panel.BottomAxis()->SetLabelsAngle(90);
  panel.DrawToCanvas(&picture.Canvas(), TRect(0, 0, 420, 260));
  Save(picture.Image(), "chart_axes_3d.png");
  EXPECT_GT(InkIn(picture.Image(), TRect(0, 0, 420, 260)), 500);
}

} // namespace
