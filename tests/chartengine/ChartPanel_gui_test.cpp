#include "ChartTestSupport.h"
#include "chartengine/canvas/ChartExceptions.h"
#include "chartengine/canvas/ChartFontObject.h"
#include "chartengine/canvas/ChartPanelExtended.h"
#include "platform/BitmapBuffer.h"
#include "platform/RecordingCanvas.h"
#include "platform/UncaughtError.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// A panel whose chart is the panel background plus whatever a test adds.
class TestPanel : public TCustomChartPanelExtended {
public:
  void DrawContents(const TRect &bounds) override {
    ++Draws;
    DrawnPlotRect = PlotRect();
    PaintPanel(bounds);
    if (Extra)
      Extra(*this);
  }
  int Draws = 0;
  TRect DrawnPlotRect;
  std::function<void(TestPanel &)> Extra;
};

QImage Grab(QWidget &w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

TColor PixelAt(const QImage &image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return RGB(qRed(p), qGreen(p), qBlue(p));
}

void Save(const QImage &image, const std::string &name) {
  const QString path = QString::fromStdString(TestArtifactPath(name));
  QDir().mkpath(QFileInfo(path).absolutePath());
  EXPECT_TRUE(image.save(path));
}

TEST(ChartPanel, DefaultPlotRectOfA400By250Panel) {
  TestPanel panel;
  EXPECT_EQ(panel.width(), 400);
  EXPECT_EQ(panel.height(), 250);
  TRecordingCanvas rec;
  panel.DrawToCanvas(&rec, TRect(0, 0, 400, 250));
  EXPECT_EQ(panel.DrawnPlotRect, TRect(12, 10, 388, 240));
  EXPECT_EQ(panel.PlotWidth(), 376);
  EXPECT_EQ(panel.PlotHeight(), 230);
  EXPECT_EQ(panel.PlotXCenter(), 200);
  EXPECT_EQ(panel.PlotYCenter(), 125);
  EXPECT_EQ(panel.PanelBounds(), TRect(0, 0, 400, 250));
  EXPECT_EQ(rec.CountOf("Draw"), 1) << "the buffer is copied out once";
}

TEST(ChartPanel, MarginsAndBorderFollowTheDrawingSize) {
  TestPanel panel;
  panel.SetBorderWidth(2);
  panel.SetMarginLeft(10);
  panel.SetMarginBottom(0);
  panel.SetBufferedDisplay(false);
  TRecordingCanvas rec;
  panel.DrawToCanvas(&rec, TRect(100, 50, 300, 150));
  EXPECT_EQ(panel.DrawnPlotRect, TRect(122, 56, 292, 148));
}

TEST(ChartPanel, SqueezedPlotRectIsWidened) {
  TestPanel panel;
  TRecordingCanvas rec;
  panel.DrawToCanvas(&rec, TRect(0, 0, 400, 250));
  panel.SetPlotRect(TRect(50, 10, 50, 240));
  panel.RecalcPlotRect();
  EXPECT_EQ(panel.PlotRect(), TRect(50, 10, 450, 240)) << "to the control's width";
  panel.SetPlotRect(TRect(60, 10, 50, 240));
  panel.RecalcPlotRect();
  EXPECT_EQ(panel.PlotRect(), TRect(60, 10, 61, 240)) << "an inverted one is one pixel wide";
  panel.SetPlotRect(TRect(-5, 100, 30, 90));
  panel.RecalcPlotRect();
  EXPECT_EQ(panel.PlotRect(), TRect(0, 100, 30, 101));
}

TEST(ChartPanel, Chart3DPercentRange) {
  TestPanel panel;
  for (int bad : {0, 101}) {
    try {
      panel.SetChart3DPercent(bad);
      ADD_FAILURE() << bad;
    } catch (const ChartException &e) {
      EXPECT_STREQ(e.what(), "3D effect percent must be between 1 and 100");
    }
    EXPECT_EQ(panel.Chart3DPercent(), 15);
  }
  panel.SetChart3DPercent(1);
  EXPECT_EQ(panel.Chart3DPercent(), 1);
  panel.SetChart3DPercent(100);
  EXPECT_EQ(panel.Chart3DPercent(), 100);
}

TEST(ChartPanel, UnchangedPanelRepaintsFromItsBuffer) {
  TestPanel panel;
  const QImage first = Grab(panel);
  EXPECT_EQ(panel.Draws, 1);
  const QImage second = Grab(panel);
  EXPECT_EQ(panel.Draws, 1) << "only the picture was copied";
  EXPECT_EQ(first, second);
  panel.SetMarginLeft(5);
  Grab(panel);
  EXPECT_EQ(panel.Draws, 2) << "a property change draws again";
  panel.SetMarginLeft(5);
  Grab(panel);
  EXPECT_EQ(panel.Draws, 2) << "an unchanged value does not";
  panel.View3DOptions().SetZoom(90);
  Grab(panel);
  EXPECT_EQ(panel.Draws, 3);
  panel.RepaintChart();
  Grab(panel);
  EXPECT_EQ(panel.Draws, 4);
}

TEST(ChartPanel, ResizedPanelNeverShowsTheOldPicture) {
  TestPanel panel;
  Grab(panel);
  panel.resize(300, 200);
  const QImage image = Grab(panel);
  EXPECT_EQ(panel.Draws, 2);
  EXPECT_EQ(image.size(), QSize(300, 200));
  ASSERT_NE(panel.Canvas().BufferImage(), nullptr);
  EXPECT_EQ(panel.Canvas().BufferImage()->size(), QSize(300, 200));
}

TEST(ChartPanel, ZeroSizedPanelDrawsNothing) {
  TestPanel panel;
  panel.resize(0, 0);
  Grab(panel);
  TRecordingCanvas rec;
  panel.DrawToCanvas(&rec, TRect(0, 0, 0, 0));
  panel.DrawToCanvas(&rec, TRect(0, 0, 100, 0));
  EXPECT_EQ(panel.Draws, 0);
  EXPECT_TRUE(rec.Calls().empty());
  EXPECT_TRUE(panel.Canvas().BufferStale());
}

TEST(ChartPanel, WithoutBufferEveryPaintDraws) {
  TestPanel panel;
  panel.SetBufferedDisplay(false);
  Grab(panel);
  Grab(panel);
  EXPECT_EQ(panel.Draws, 2);
}

TEST(ChartPanel, GradientAndBevelsPicture) {
  TestPanel panel;
  panel.resize(320, 200);
  panel.Gradient().SetVisible(true);
  panel.Gradient().SetStartColor(0xFFE0C0); // light blue at the bottom
  panel.Gradient().SetEndColor(0x400000);   // dark navy at the top
  panel.SetBevelOuter(bvRaised);
  panel.SetBevelInner(bvLowered);
  panel.SetBevelWidth(2);
  panel.SetBorderWidth(3);
  panel.SetColor(clSilver);
  const QImage image = Grab(panel);
  Save(image, "chart_panel_gradient.png");
  const TColor highlight = ColorToRGB(clBtnHighlight);
  const TColor shadow = ColorToRGB(clBtnShadow);
  // Raised outer bevel.
  EXPECT_EQ(PixelAt(image, 0, 0), highlight);
  EXPECT_EQ(PixelAt(image, 1, 100), highlight);
  EXPECT_EQ(PixelAt(image, 319, 0), shadow);
  EXPECT_EQ(PixelAt(image, 318, 199), shadow);
  // Border in the panel colour, then the lowered inner bevel.
  EXPECT_EQ(PixelAt(image, 2, 100), clSilver);
  EXPECT_EQ(PixelAt(image, 4, 4), clSilver);
  EXPECT_EQ(PixelAt(image, 5, 100), shadow);
  EXPECT_EQ(PixelAt(image, 314, 100), highlight);
  // The gradient runs from the start colour at the bottom to the end colour at the top.
  const TColor low = PixelAt(image, 160, 192);
  const TColor high = PixelAt(image, 160, 7);
  EXPECT_GT(GetBValue(low), 240);
  EXPECT_LT(GetBValue(high), 0x50);
  EXPECT_GT(GetRValue(PixelAt(image, 160, 150)), GetRValue(PixelAt(image, 160, 50)));
}

TEST(ChartPanel, GradientDirectionsOtherThanTheTwoMainOnesSwapColours) {
  TestPanel panel;
  panel.SetBufferedDisplay(false);
  panel.Gradient().SetVisible(true);
  panel.Gradient().SetStartColor(clRed);
  panel.Gradient().SetEndColor(clBlue);
  TRecordingCanvas rec;
  panel.DrawToCanvas(&rec, TRect(0, 0, 400, 250));
  EXPECT_EQ(rec.CallsNamed("FillRect").front().Brush.Color, clRed);
  EXPECT_EQ(rec.CallsNamed("FillRect").front().Args[3], 250) << "at the bottom";
  panel.Gradient().SetDirection(gdBottomTop);
  rec.Clear();
  panel.DrawToCanvas(&rec, TRect(0, 0, 400, 250));
  EXPECT_EQ(rec.CallsNamed("FillRect").front().Brush.Color, clBlue);
}

TEST(ChartPanel, PrintingLeavesThePanelColourOut) {
  TestPanel panel;
  panel.SetBufferedDisplay(false);
  panel.SetPrinting(true);
  TRecordingCanvas rec;
  panel.DrawToCanvas(&rec, TRect(0, 0, 400, 250));
  EXPECT_EQ(rec.CountOf("FillRect"), 0);
  EXPECT_EQ(rec.CountOf("LineTo"), 0);
  panel.SetPrinting(false);
  panel.DrawToCanvas(&rec, TRect(0, 0, 400, 250));
  ASSERT_EQ(rec.CountOf("FillRect"), 1);
  EXPECT_EQ(rec.CallsNamed("FillRect")[0].Brush.Color, ColorToRGB(clBtnFace));
}

TEST(ChartPanel, BackgroundPictureModes) {
  TestPanel panel;
  panel.SetBufferedDisplay(false);
  QImage tile(30, 20, QImage::Format_RGB32);
  tile.fill(Qt::red);
  panel.SetBackImage(tile);
  panel.SetBackImageMode(pbmTile);
  TRecordingCanvas rec;
  panel.DrawToCanvas(&rec, TRect(0, 0, 100, 50));
  EXPECT_EQ(rec.CountOf("Draw"), 4 * 3);
  EXPECT_EQ(rec.CallsNamed("Draw").back().Args, (std::vector<int>{90, 40, 30, 20}));
  EXPECT_EQ(rec.CountOf("SetClipRect"), 1);
  EXPECT_EQ(rec.CountOf("ClearClip"), 1);
  rec.Clear();
  panel.SetBackImageMode(pbmCenter);
  panel.DrawToCanvas(&rec, TRect(0, 0, 100, 50));
  ASSERT_EQ(rec.CountOf("Draw"), 1);
  EXPECT_EQ(rec.CallsNamed("Draw")[0].Args, (std::vector<int>{35, 15, 30, 20}));
  rec.Clear();
  panel.SetBackImageMode(pbmStretch);
  panel.DrawToCanvas(&rec, TRect(0, 0, 100, 50));
  EXPECT_EQ(rec.CountOf("StretchDraw"), 1);
}

TEST(ChartPanel, TiledPictureOfNoSizeDrawsNothing) {
  TestPanel panel;
  panel.SetBufferedDisplay(false);
  panel.SetBackImage(QImage(0, 0, QImage::Format_RGB32));
  panel.SetBackImageMode(pbmTile);
  TRecordingCanvas rec;
  panel.DrawToCanvas(&rec, TRect(0, 0, 100, 50));
  panel.DrawBackImage(TRect(0, 0, 100, 50), 0);
  EXPECT_EQ(rec.CountOf("Draw"), 0);
}

TEST(ChartPanel, ZoomFrameDrawnTwiceIsGone) {
  TestPanel panel;
  const QImage before = Grab(panel);
  panel.ZoomRecord() = TZoomPanningRecord{true, 50, 40, 150, 120};
  panel.ToggleZoomFrame();
  const QImage framed = Grab(panel);
  EXPECT_EQ(panel.Draws, 1) << "the frame does not redraw the chart";
  EXPECT_NE(framed, before);
  EXPECT_NE(PixelAt(framed, 50, 80), PixelAt(before, 50, 80));
  EXPECT_EQ(PixelAt(framed, 100, 80), PixelAt(before, 100, 80));
  panel.ToggleZoomFrame();
  EXPECT_EQ(Grab(panel), before);
}

TEST(ChartPanel, MonochromeShowsOnlyBlackAndWhite) {
  TestPanel panel;
  panel.Gradient().SetVisible(true);
  panel.SetMonochrome(true);
  const QImage image = Grab(panel);
  for (int y = 0; y < image.height(); y += 7)
    for (int x = 0; x < image.width(); x += 7) {
      const TColor c = PixelAt(image, x, y);
      ASSERT_TRUE(c == clBlack || c == clWhite) << x << "," << y;
    }
}

TEST(ChartPanel, DrawsOntoAPicture) {
  TestPanel panel;
  panel.SetColor(clRed);
  panel.SetBevelOuter(bvNone);
  TBitmapBuffer picture(500, 300);
  panel.DrawToCanvas(&picture.Canvas(), TRect(50, 20, 250, 120));
  const QImage &image = picture.Image();
  EXPECT_EQ(PixelAt(image, 49, 20), clWhite);
  EXPECT_EQ(PixelAt(image, 50, 20), clRed);
  EXPECT_EQ(PixelAt(image, 249, 119), clRed);
  EXPECT_EQ(PixelAt(image, 250, 119), clWhite);
}

TEST(ChartPanel, FailedDrawingIsReportedNotThrownFromPaint) {
  std::string reported;
  SetUncaughtErrorHandler([&](const std::string &message) { reported = message; });
  TestPanel panel;
  panel.Extra = [](TestPanel &) { throw std::runtime_error("broken series"); };
  Grab(panel);
  SetUncaughtErrorHandler({});
  EXPECT_EQ(reported, "TCustomChartPanel.Paint Error: broken series");
  EXPECT_TRUE(panel.Canvas().BufferStale());
  EXPECT_FALSE(panel.Drawing());
}

TEST(ChartPanel, AssignCopiesTheLook) {
  TestPanel source;
  source.SetMarginTop(9);
  source.SetView3D(false);
  source.View3DOptions().SetRotation(10);
  source.SetChart3DPercent(40);
  source.SetColor(clAqua);
  source.Gradient().SetVisible(true);
  source.SetBackImageMode(pbmCenter);
  source.SetAllowPanning(pmVertical);
  source.SetAnimatedZoomSteps(3);
  TestPanel target;
  target.Assign(source);
  EXPECT_EQ(target.MarginTop(), 9);
  EXPECT_FALSE(target.View3D());
  EXPECT_EQ(target.View3DOptions().Rotation(), 10);
  EXPECT_EQ(target.Chart3DPercent(), 40);
  EXPECT_EQ(target.Color(), clAqua);
  EXPECT_TRUE(target.Gradient().Visible());
  EXPECT_EQ(target.BackImageMode(), pbmCenter);
  EXPECT_EQ(target.AllowPanning(), pmVertical);
  EXPECT_EQ(target.AnimatedZoomSteps(), 3);
}

TEST(ChartPanel, ResetZoomTellsAndRepaints) {
  TestPanel panel;
  int undone = 0;
  panel.OnUndoZoom = [&] { ++undone; };
  panel.SetZoomed(true);
  Grab(panel);
  panel.ResetZoom();
  Grab(panel);
  EXPECT_EQ(undone, 1);
  EXPECT_FALSE(panel.Zoomed());
  EXPECT_EQ(panel.Draws, 2);
}

TEST(ChartPanel, FontObjectRepaintsItsPanel) {
  TestPanel panel;
  Grab(panel);
  TChartFontObject title(&panel);
  title.Font().SetSize(14);
  Grab(panel);
  EXPECT_EQ(panel.Draws, 2);
}

TEST(ChartPanel, ZoomFrameInsideADrawingGoesOntoTheChart) {
  TestPanel panel;
  panel.SetBufferedDisplay(false);
  panel.SetColor(clWhite);
  panel.ZoomRecord() = TZoomPanningRecord{true, 10, 20, 110, 90};
  panel.Extra = [](TestPanel &p) { p.ToggleZoomFrame(); };
  TRecordingCanvas rec;
  panel.DrawToCanvas(&rec, TRect(0, 0, 400, 250));
  const auto frames = rec.CallsNamed("Rectangle");
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].Args, (std::vector<int>{10, 20, 110, 90}));
  EXPECT_EQ(frames[0].Pen.Mode, pmNotXor);
  EXPECT_EQ(frames[0].Pen.Color, clBlack) << "a white panel gets a black frame";
  EXPECT_EQ(frames[0].Brush.Style, bsClear);
}

} // namespace
