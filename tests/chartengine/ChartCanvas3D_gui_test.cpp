#include "ChartTestSupport.h"
#include "chartengine/canvas/ChartCanvas3D.h"
#include "chartengine/canvas/ChartMath.h"
#include "chartengine/canvas/View3DOptions.h"
#include "platform/BitmapBuffer.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <numbers>

namespace {

TColor PixelAt(const QImage &image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return RGB(qRed(p), qGreen(p), qBlue(p));
}

void Save(const QImage &image, const std::string &name) {
  const QString path = QString::fromStdString(TestArtifactPath(name));
  QDir().mkpath(QFileInfo(path).absolutePath());
  EXPECT_TRUE(image.save(path));
}

// Draws straight onto a picture (no buffer).
class PixelTest : public ::testing::Test {
protected:
  void Begin(int w, int h, bool is3D = false) {
    picture.SetSize(w, h);
    canvas.SetBufferedDisplay(false);
    canvas.BeginDraw(&picture.Canvas(), &options, is3D, TRect(0, 0, w, h));
    canvas.SetProjectionCentre(0, TRect(0, 0, w, h));
  }
  TColor At(int x, int y) { return PixelAt(picture.Image(), x, y); }

  TView3DOptions options;
  TBitmapBuffer picture;
  TChartCanvas3D canvas;
};

TEST_F(PixelTest, BevelPixels) {
  Begin(12, 10);
  canvas.Bevel(TRect(1, 1, 11, 9), clRed, clBlue, 2);
  // Outer ring: top and left red, right and bottom blue.
  EXPECT_EQ(At(1, 1), clRed);
  EXPECT_EQ(At(9, 1), clRed);
  EXPECT_EQ(At(10, 1), clBlue) << "top-right corner belongs to the bottom colour";
  EXPECT_EQ(At(1, 7), clRed);
  EXPECT_EQ(At(1, 8), clBlue) << "bottom-left corner belongs to the bottom colour";
  EXPECT_EQ(At(10, 8), clBlue);
  // Second ring one pixel in.
  EXPECT_EQ(At(2, 2), clRed);
  EXPECT_EQ(At(9, 2), clBlue);
  EXPECT_EQ(At(5, 7), clBlue);
  // Inside and outside untouched.
  EXPECT_EQ(At(5, 4), clWhite);
  EXPECT_EQ(At(0, 0), clWhite);
  EXPECT_EQ(At(11, 9), clWhite);
}

TEST_F(PixelTest, GradientBandsOnScreen) {
  Begin(20, 100);
  canvas.FillGradient(TRect(0, 0, 20, 100), clBlack, 0x0000FF, gdTopBottom);
  EXPECT_EQ(At(10, 99), clBlack);
  EXPECT_EQ(At(10, 0), 0x0000FFu);
  // 100 pixels, 100 bands: each row its own step of 99.
  EXPECT_EQ(GetRValue(At(10, 49)), MulDiv(50, 255, 99));
  Begin(30, 10);
  canvas.FillGradient(TRect(0, 0, 30, 10), clBlack, 0x00FF00, gdLeftRight);
  EXPECT_EQ(At(29, 5), clBlack);
  EXPECT_EQ(At(0, 5), 0x00FF00u);
}

TEST_F(PixelTest, OnePixelGradientIsTheStartColour) {
  Begin(20, 5);
  canvas.FillGradient(TRect(0, 2, 20, 3), clRed, clBlue, gdTopBottom);
  EXPECT_EQ(At(10, 2), clRed);
  EXPECT_EQ(At(10, 1), clWhite);
  EXPECT_EQ(At(10, 3), clWhite);
}

TEST_F(PixelTest, RotatedTextIsDrawnTurned) {
  Begin(120, 120);
  canvas.Font().SetSize(14);
  canvas.TextOutRotated(60, 110, "WWWWWW", 90);
  // Turned upwards: ink above the start point, none to its right.
  int above = 0, right = 0;
  for (int y = 0; y < 110; ++y)
    for (int x = 60; x < 80; ++x)
      above += At(x, y) != clWhite;
  for (int x = 90; x < 120; ++x)
    for (int y = 90; y < 120; ++y)
      right += At(x, y) != clWhite;
  EXPECT_GT(above, 50);
  EXPECT_EQ(right, 0);
}

// A sample scene of every solid shape, orthogonal on the left half and
// rotated with perspective on the right.
void DrawScene(TChartCanvas3D &c, int dx) {
  c.Pen() = TPen{clBlack, 1, psSolid, pmCopy};
  c.Brush() = TBrush{0x3070E0, bsSolid, nullptr};
  c.Box(dx + 20, dx + 70, 60, 200, 0, 30, true);
  c.Brush().Color = 0x40B040;
  c.Cylinder(true, dx + 90, 90, dx + 140, 200, 0, 30, true);
  c.Brush().Color = 0xC06020;
  c.Pyramid(true, dx + 160, 40, dx + 210, 200, 0, 30, true);
  c.Brush().Color = 0x20A0E0;
  c.Cylinder(false, dx + 20, 220, dx + 200, 250, 0, 30, true);
  c.Brush().Color = 0x8040C0;
  c.Pyramid(false, dx + 20, 270, dx + 200, 300, 0, 30, true);
  c.Brush().Color = 0x60E0A0;
  c.EllipseAtDepth(dx + 150, 320, dx + 210, 350, 10);
  c.Brush().Color = clRed;
  c.Arrow3D(true, TPoint(dx + 20, 350), TPoint(dx + 130, 320), 20, 16, 10);
  c.Font().SetSize(10);
  c.Font().Color = clBlack;
  c.SetBackMode(TRANSPARENT);
  c.TextOutAtDepth(dx + 20, 40, 0, "front");
  c.TextOutAtDepth(dx + 120, 40, 30, "back");
}

// Pie slices as the pie series shows them: rotated view from above.
void DrawPie(TChartCanvas3D &c, int cx, int cy, bool exploded) {
  const double pi = std::numbers::pi;
  const double cuts[] = {0.3, 2.2, 3.6, 0.3 + 2 * pi};
  const TColor colours[] = {0x00C0FF, 0xFF8080, 0x40C040};
  for (int i = 0; i < 3; ++i) {
    const double mid = (cuts[i] + cuts[i + 1]) / 2;
    const int dx = exploded && i == 0 ? static_cast<int>(15 * std::cos(mid)) : 0;
    const int dy = exploded && i == 0 ? static_cast<int>(15 * std::sin(mid)) : 0;
    c.Brush().Color = colours[i];
    c.PieSlice3D(cx + dx, cy - dy, 80, 80, 0, 25, cuts[i], cuts[i + 1], true, exploded);
  }
}

TEST(ChartCanvasPicture, SampleScene) {
  const int w = 480, h = 640;
  TBitmapBuffer target(w, h);
  TView3DOptions orthogonal;
  TView3DOptions rotated;
  rotated.SetOrthogonal(false);
  rotated.SetRotation(340);
  rotated.SetElevation(340);
  rotated.SetPerspective(30);
  TView3DOptions pieView;
  pieView.SetOrthogonal(false);
  pieView.SetRotation(0);
  pieView.SetElevation(305);
  TChartCanvas3D canvas;
  // Orthogonal half through the off-screen buffer, copied at the left.
  canvas.BeginDraw(&target.Canvas(), &orthogonal, true, TRect(0, 0, w / 2, 500));
  canvas.SetProjectionCentre(30, TRect(0, 0, w / 2, 500));
  canvas.Brush() = TBrush{0xF4F4F4, bsSolid, nullptr};
  canvas.FillRect(TRect(0, 0, w / 2, 500));
  DrawScene(canvas, 0);
  canvas.PresentBuffer(&target.Canvas(), nullptr, TRect(0, 0, w / 2, 500));
  // Rotated half drawn straight onto the picture.
  canvas.SetBufferedDisplay(false);
  canvas.BeginDraw(&target.Canvas(), &rotated, true, TRect(w / 2, 0, w, 500));
  canvas.SetProjectionCentre(30, TRect(w / 2, 0, w, 500));
  DrawScene(canvas, w / 2);
  // Two pies below, whole and with one slice pulled out.
  canvas.BeginDraw(&target.Canvas(), &pieView, true, TRect(0, 360, w, h));
  canvas.SetProjectionCentre(25, TRect(0, 360, w, h));
  DrawPie(canvas, 120, 520, false);
  DrawPie(canvas, 360, 520, true);
  Save(target.Image(), "chart_canvas_3d_scene.png");
  const QImage &image = target.Image();
  // The box front is in its colour, its right side darkened by 128, its top by 64.
  EXPECT_EQ(PixelAt(image, 45, 130), 0x3070E0u);
  EXPECT_EQ(PixelAt(image, 85, 130), DarkenColor(0x3070E0, 128));
  EXPECT_EQ(PixelAt(image, 50, 52), DarkenColor(0x3070E0, 64));
}

} // namespace
