#include "SeriesTestSupport.h"
#include "support/TestPaths.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// Points as small squares in the point colour.
class SquareSeries : public TChartSeries {
public:
  void DrawPoint(int valueIndex) override {
    const TColor color = PointColor(valueIndex);
    if (color == clNone)
      return;
    TChartCanvas3D &canvas = ParentChart()->Canvas();
    canvas.Brush().Color = color;
    canvas.Brush().Style = bsSolid;
    canvas.Pen().Style = psClear;
    const int x = PointScreenX(valueIndex);
    const int y = PointScreenY(valueIndex);
    canvas.Rectangle(x - 2, y - 2, x + 3, y + 3);
  }
};

class PaintedPanel : public StubAxisPanel {
public:
  void DrawContents(const TRect &bounds) override {
    Canvas().Brush().Color = clWhite;
    Canvas().Brush().Style = bsSolid;
    Canvas().FillRect(bounds);
    StubAxisPanel::DrawContents(bounds);
  }
};

TColor PixelAt(const QImage &image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return RGB(qRed(p), qGreen(p), qBlue(p));
}

TEST(SeriesMarksOnScreen, MarksAreBoxesWithTextAboveTheirPoints) {
  PaintedPanel chart;
  chart.resize(200, 200);
  chart.SetView3D(false);
  chart.Plot = TRect(0, 0, 200, 200);
  chart.Bottom->Max = 10;
  chart.Bottom->End = 200;
  chart.Left->End = 200;
  SquareSeries series;
  series.SetParentChart(&chart);
  series.SetColorEachPoint(true);
  series.AppendPoint(2, 30, "low", clRed);
  series.AppendPoint(5, 60, std::string("two") + '\r' + "lines", clBlue);
  series.AppendNullPointAt(7, 50, "none");
  series.AppendPoint(8, 80, "high", clGreen);
  series.Marks().SetVisible(true);

  const QImage image = chart.grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QString path = QString::fromStdString(TestArtifactPath("series_marks.png"));
  EXPECT_TRUE(image.save(path));

  // The point at (40, 140) (its square shows below the box) and its mark's box above it.
  EXPECT_EQ(PixelAt(image, 40, 141), clRed);
  const TSeriesMarkPosition *mark = series.Marks().Positions().Position(0);
  ASSERT_NE(mark, nullptr);
  const TRect box = mark->MarkBounds();
  EXPECT_EQ(box.Bottom - 1, 140) << "the box ends on the point";
  EXPECT_EQ(PixelAt(image, box.Left, box.Top + box.Height() / 2), clBlack) << "frame";
  EXPECT_EQ(PixelAt(image, box.Left + 2, box.Top + 2), TColor(0x0080FFFF));
  // No mark and no square for the null point.
  EXPECT_EQ(series.Marks().Positions().Position(2), nullptr);
  EXPECT_EQ(PixelAt(image, 140, 100), clWhite);
}

} // namespace
