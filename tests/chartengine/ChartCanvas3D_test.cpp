#include "ChartTestSupport.h"
#include "chartengine/canvas/ChartBrushRoutines.h"
#include "chartengine/canvas/ChartCanvas3D.h"
#include "chartengine/canvas/ChartMath.h"
#include "chartengine/canvas/ChartPen.h"
#include "chartengine/canvas/ChartTextLines.h"
#include "chartengine/canvas/View3DOptions.h"
#include "platform/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

class ChartCanvas3DTest : public ::testing::Test {
protected:
  // Unbuffered drawing onto the recording canvas.
  TRect Begin(bool is3D, const TRect &bounds = TRect(0, 0, 400, 250), int depth = 40) {
    canvas.SetBufferedDisplay(false);
    const TRect r = canvas.BeginDraw(&rec, &options, is3D, bounds);
    canvas.SetProjectionCentre(depth, r);
    rec.Clear();
    return r;
  }

  TView3DOptions options;
  TRecordingCanvas rec;
  TChartCanvas3D canvas;
};

TEST_F(ChartCanvas3DTest, UnbufferedDrawingGoesToTheGivenCanvas) {
  EXPECT_EQ(Begin(false, TRect(5, 6, 105, 86)), TRect(5, 6, 105, 86));
  EXPECT_EQ(canvas.GetHandle(), &rec);
  canvas.Rectangle(1, 2, 3, 4);
  ASSERT_EQ(rec.Calls().size(), 1u);
  EXPECT_EQ(rec.Calls()[0].Name, "Rectangle");
}

TEST_F(ChartCanvas3DTest, BufferedDrawingGoesOffScreenAndIsCopiedOnce) {
  const TRect r = canvas.BeginDraw(&rec, &options, true, TRect(30, 40, 130, 90));
  EXPECT_EQ(r, TRect(0, 0, 100, 50));
  EXPECT_NE(canvas.GetHandle(), &rec);
  canvas.Rectangle(0, 0, 10, 10);
  EXPECT_TRUE(rec.Calls().empty());
  EXPECT_TRUE(canvas.BufferStale());
  TRecordingCanvas window;
  canvas.PresentBuffer(&rec, &window, TRect(30, 40, 130, 90));
  ASSERT_EQ(rec.CountOf("Draw"), 1);
  EXPECT_EQ(rec.CallsNamed("Draw")[0].Args, (std::vector<int>{30, 40, 100, 50}));
  EXPECT_FALSE(canvas.BufferStale());
  EXPECT_EQ(canvas.GetHandle(), &window);
  // A repaint of an unchanged drawing only copies the picture.
  EXPECT_TRUE(canvas.RepaintFromBuffer());
  EXPECT_EQ(window.CallsNamed("Draw")[0].Args, (std::vector<int>{0, 0, 100, 50}));
  canvas.MarkBufferStale();
  EXPECT_FALSE(canvas.RepaintFromBuffer());
}

TEST_F(ChartCanvas3DTest, DroppingTheBufferForcesADrawing) {
  canvas.BeginDraw(&rec, &options, false, TRect(0, 0, 20, 20));
  canvas.PresentBuffer(&rec, &rec, TRect(0, 0, 20, 20));
  canvas.SetBufferedDisplay(false);
  EXPECT_FALSE(canvas.RepaintFromBuffer());
  EXPECT_EQ(canvas.BufferImage(), nullptr);
}

TEST_F(ChartCanvas3DTest, ANewSizeNeverReusesTheOldPicture) {
  canvas.BeginDraw(&rec, &options, false, TRect(0, 0, 20, 20));
  canvas.PresentBuffer(&rec, &rec, TRect(0, 0, 20, 20));
  canvas.BeginDraw(&rec, &options, false, TRect(0, 0, 30, 20));
  EXPECT_TRUE(canvas.BufferStale());
  ASSERT_NE(canvas.BufferImage(), nullptr);
  EXPECT_EQ(canvas.BufferImage()->width(), 30);
}

TEST_F(ChartCanvas3DTest, AnEmptyDrawingIsNeverPresented) {
  canvas.BeginDraw(&rec, &options, false, TRect(0, 0, 0, 20));
  rec.Clear();
  canvas.PresentBuffer(&rec, &rec, TRect(0, 0, 0, 20));
  EXPECT_EQ(rec.CountOf("Draw"), 0);
  EXPECT_TRUE(canvas.BufferStale());
  EXPECT_FALSE(canvas.RepaintFromBuffer());
}

TEST_F(ChartCanvas3DTest, MonochromeDropsTheBufferAndAsksForARepaint) {
  int repaints = 0;
  canvas.OnRepaintRequest = [&] { ++repaints; };
  canvas.BeginDraw(&rec, &options, false, TRect(0, 0, 20, 20));
  canvas.PresentBuffer(&rec, &rec, TRect(0, 0, 20, 20));
  canvas.SetMonochrome(true);
  canvas.SetMonochrome(true);
  EXPECT_EQ(repaints, 1);
  EXPECT_FALSE(canvas.RepaintFromBuffer());
  TChartCanvas3D other;
  other.TakeMonochromeFrom(canvas);
  EXPECT_TRUE(other.GetMonochrome());
}

TEST_F(ChartCanvas3DTest, ResetToDefaults) {
  Begin(false);
  canvas.Pen() = TPen{clRed, 3, psDot, pmXor};
  canvas.Brush().Style = bsCross;
  canvas.ResetToDefaults();
  EXPECT_EQ(canvas.Pen(), TPen());
  EXPECT_EQ(canvas.Brush().Color, clWhite);
  EXPECT_EQ(canvas.Brush().Style, bsSolid);
  EXPECT_EQ(canvas.Font().Size(), 10);
  EXPECT_EQ(canvas.Font().Color, clBlack);
  EXPECT_EQ(canvas.GetBackColor(), clWhite);
  EXPECT_EQ(canvas.GetBackMode(), TRANSPARENT);
}

TEST_F(ChartCanvas3DTest, AssignChartPen) {
  Begin(false);
  TChartPen pen;
  pen.SetColor(clRed);
  pen.SetWidth(2);
  canvas.AssignChartPen(pen);
  EXPECT_EQ(canvas.Pen(), (TPen{clRed, 2, psSolid, pmCopy}));
  TChartHiddenPen hidden;
  canvas.AssignChartPen(hidden);
  EXPECT_EQ(canvas.Pen().Style, psClear);
  EXPECT_EQ(canvas.Pen().Color, clRed) << "only the style changes";
  TChartPen dots;
  dots.SetSmallDots(true);
  canvas.AssignChartPen(dots);
  EXPECT_EQ(canvas.Pen().Style, psDot);
}

TEST_F(ChartCanvas3DTest, GradientBandsAreFilledAndTheBrushKept) {
  Begin(false);
  canvas.Brush() = TBrush{clGreen, bsCross, nullptr};
  canvas.FillGradient(TRect(0, 0, 10, 1000), clBlack, clWhite, gdTopBottom);
  EXPECT_EQ(rec.CountOf("FillRect"), 256);
  EXPECT_EQ(rec.Calls().front().Brush.Style, bsSolid);
  rec.Clear();
  canvas.FillGradient(TRect(0, 0, 100, 10), clBlack, clWhite, gdRightLeft);
  EXPECT_EQ(rec.CountOf("FillRect"), 100);
  EXPECT_EQ(canvas.Brush().Color, clGreen);
  EXPECT_EQ(canvas.Brush().Style, bsCross);
  rec.Clear();
  canvas.FillGradient(TRect(0, 0, 100, 1), clRed, clWhite, gdTopBottom);
  ASSERT_EQ(rec.CountOf("FillRect"), 1);
  EXPECT_EQ(rec.Calls()[0].Brush.Color, clRed);
}

TEST_F(ChartCanvas3DTest, RotatedTextAngleWrapsAbove360) {
  Begin(false);
  canvas.TextOutRotated(10, 20, "a", 370);
  canvas.TextOutRotated(10, 20, "b", 360);
  const auto calls = rec.CallsNamed("TextOut");
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].Font.Orientation, 100);
  EXPECT_EQ(calls[1].Font.Orientation, 3600);
  EXPECT_EQ(calls[0].Brush.Style, bsClear);
  EXPECT_EQ(canvas.Font().Orientation, 0) << "the font is put back";
}

TEST_F(ChartCanvas3DTest, TextFollowsTheZoomIn3D) {
  options.SetZoom(200);
  Begin(true);
  canvas.Font().SetSize(8);
  canvas.TextOutAtDepth(200, 125, 0, "z");
  canvas.TextOutRotated3D(200, 125, 0, "r", 90);
  const auto calls = rec.CallsNamed("TextOut");
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].Font.Height(), -MulDiv(16, 96, 72));
  EXPECT_EQ(calls[1].Font.Height(), -MulDiv(16, 96, 72));
  EXPECT_EQ(canvas.Font().Size(), 8);
  options.SetZoomText(false);
  Begin(true);
  canvas.TextOutAtDepth(200, 125, 0, "z");
  EXPECT_EQ(rec.CallsNamed("TextOut")[0].Font.Size(), 8);
}

TEST_F(ChartCanvas3DTest, TextAtDepthIsProjected) {
  Begin(true);
  canvas.TextOutAtDepth(100, 100, 10, "t");
  EXPECT_EQ(rec.CallsNamed("TextOut")[0].Args, (std::vector<int>{110, 90}));
}

TEST_F(ChartCanvas3DTest, LinesAtDepth) {
  Begin(true);
  canvas.HorizLineAtDepth(10, 50, 20, 5);
  canvas.VertLineAtDepth(10, 20, 60, 5);
  canvas.DepthLine(10, 20, 0, 30);
  const auto lines = rec.CallsNamed("LineTo");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].Points, (std::vector<TPoint>{{15, 15}, {55, 15}}));
  EXPECT_EQ(lines[1].Points, (std::vector<TPoint>{{15, 15}, {15, 55}}));
  EXPECT_EQ(lines[2].Points, (std::vector<TPoint>{{10, 20}, {40, -10}}));
}

TEST_F(ChartCanvas3DTest, PlanesAtDepth) {
  Begin(true);
  canvas.RectangleInY(10, 50, 30, 0, 10);
  canvas.RectangleInX(30, 20, 50, 0, 10);
  canvas.RectangleAtDepth(TRect(0, 0, 10, 10), 2);
  const auto polys = rec.CallsNamed("Polygon");
  ASSERT_EQ(polys.size(), 3u);
  EXPECT_EQ(polys[0].Points, (std::vector<TPoint>{{10, 50}, {30, 50}, {40, 40}, {20, 40}}));
  EXPECT_EQ(polys[1].Points, (std::vector<TPoint>{{30, 20}, {40, 10}, {40, 40}, {30, 50}}));
  EXPECT_EQ(polys[2].Points, (std::vector<TPoint>{{2, -2}, {12, -2}, {12, 8}, {2, 8}}));
}

TEST_F(ChartCanvas3DTest, BoxDrawsFrontRightSideAndTopDarkened) {
  Begin(true);
  canvas.Brush().Color = 0x90A0B0;
  canvas.Box(10, 30, 20, 50, 0, 10, true);
  const auto polys = rec.CallsNamed("Polygon");
  ASSERT_EQ(polys.size(), 3u);
  EXPECT_EQ(polys[0].Points, (std::vector<TPoint>{{10, 20}, {30, 20}, {30, 50}, {10, 50}}));
  EXPECT_EQ(polys[0].Brush.Color, 0x90A0B0u);
  EXPECT_EQ(polys[1].Points, (std::vector<TPoint>{{30, 20}, {40, 10}, {40, 40}, {30, 50}}));
  EXPECT_EQ(polys[1].Brush.Color, 0x102030u);
  EXPECT_EQ(polys[2].Points, (std::vector<TPoint>{{10, 20}, {30, 20}, {40, 10}, {20, 10}}));
  EXPECT_EQ(polys[2].Brush.Color, 0x506070u);
  EXPECT_EQ(canvas.Brush().Color, 0x90A0B0u);
}

TEST_F(ChartCanvas3DTest, BoxWithAHatchShadesTheBackground) {
  Begin(true);
  canvas.Brush().Style = bsCross;
  canvas.SetBackColor(0x808080);
  canvas.Box(10, 30, 20, 50, 0, 10, true);
  const auto polys = rec.CallsNamed("Polygon");
  ASSERT_EQ(polys.size(), 3u);
  EXPECT_EQ(polys[1].BkColor, 0x000000u);
  EXPECT_EQ(polys[2].BkColor, 0x404040u);
}

TEST_F(ChartCanvas3DTest, BoxSeenFromTheLeftShowsItsLeftSide) {
  options.SetOrthogonal(false);
  options.SetRotation(20);  // the depth now runs to the left
  options.SetElevation(20); // and the view looks up at the box
  Begin(true);
  canvas.Box(100, 150, 100, 150, 0, 30, false);
  const auto polys = rec.CallsNamed("Polygon");
  ASSERT_EQ(polys.size(), 2u) << "no top face when looking up";
  const TPoint leftTop = canvas.ProjectPoint(100, 100, 0);
  EXPECT_EQ(polys[1].Points[0], leftTop);
}

TEST_F(ChartCanvas3DTest, ClipToBox) {
  Begin(false);
  canvas.ClipToBox(TRect(10, 20, 110, 220), 0, 30);
  ASSERT_EQ(rec.CountOf("SetClipRect"), 1);
  EXPECT_EQ(rec.Calls()[0].Args, (std::vector<int>{11, 21, 110, 219}));
  Begin(true);
  canvas.ClipToBox(TRect(10, 20, 110, 220), 0, 30);
  const auto clips = rec.CallsNamed("SetClipPolygon");
  ASSERT_EQ(clips.size(), 1u);
  EXPECT_EQ(
      clips[0].Points,
      (std::vector<TPoint>{{10, 220}, {10, 20}, {40, -10}, {140, -10}, {140, 190}, {110, 220}}));
}

TEST_F(ChartCanvas3DTest, ArrowAlongX) {
  Begin(false);
  canvas.Arrow3D(true, TPoint(0, 50), TPoint(100, 50), 20, 30, 0);
  const auto polys = rec.CallsNamed("Polygon");
  ASSERT_EQ(polys.size(), 1u);
  EXPECT_EQ(
      polys[0].Points,
      (std::vector<TPoint>{{0, 55}, {0, 45}, {70, 45}, {70, 40}, {100, 50}, {70, 60}, {70, 55}}));
  rec.Clear();
  canvas.Arrow3D(false, TPoint(0, 50), TPoint(100, 50), 20, 30, 0);
  EXPECT_EQ(rec.CountOf("LineTo"), 3);
  rec.Clear();
  canvas.Arrow3D(true, TPoint(5, 5), TPoint(5, 5), 20, 30, 0);
  EXPECT_TRUE(rec.Calls().empty());
}

TEST_F(ChartCanvas3DTest, EllipseAtDepth) {
  Begin(false);
  canvas.EllipseAtDepth(10, 20, 30, 40, 5);
  EXPECT_EQ(rec.Calls()[0].Args, (std::vector<int>{10, 20, 31, 41}));
  Begin(true);
  canvas.EllipseAtDepth(10, 20, 30, 40, 5);
  EXPECT_EQ(rec.Calls()[0].Args, (std::vector<int>{15, 15, 35, 35}));
  options.SetOrthogonal(false);
  Begin(true);
  canvas.EllipseAtDepth(10, 20, 30, 40, 5);
  EXPECT_EQ(rec.CountOf("Polygon"), 30);
  EXPECT_EQ(rec.CallsNamed("Polygon")[0].Pen.Style, psClear);
  ASSERT_EQ(rec.CountOf("Polyline"), 1);
  EXPECT_EQ(rec.CallsNamed("Polyline")[0].Points.size(), 32u);
  EXPECT_EQ(canvas.Pen().Style, psSolid);
}

TEST_F(ChartCanvas3DTest, PieSliceDrawsTopFaceAndVisibleSide) {
  options.SetOrthogonal(false);
  options.SetRotation(0);
  options.SetElevation(305);
  Begin(true);
  canvas.PieSlice3D(200, 125, 80, 80, 0, 20, 0, 2 * std::numbers::pi, true, false);
  const auto polys = rec.CallsNamed("Polygon");
  ASSERT_GE(polys.size(), 2u);
  EXPECT_EQ(polys[0].Points.size(), 33u) << "centre and 32 rim points";
  // Seen from above, the back disc is the one on top.
  EXPECT_EQ(polys[0].Points[0], canvas.ProjectPoint(200, 125, 20));
  // The lower half of the rim runs to the right on screen and shows.
  EXPECT_EQ(polys[1].Brush.Color, DarkenColor(clWhite, 32));
  options.SetElevation(45); // looking from below: the depth runs down
  Begin(true);
  canvas.PieSlice3D(200, 125, 80, 80, 0, 20, 0, 2 * std::numbers::pi, true, false);
  EXPECT_EQ(rec.CallsNamed("Polygon")[0].Points[0], canvas.ProjectPoint(200, 125, 0));
}

TEST_F(ChartCanvas3DTest, CylinderAndPyramidFaceTheViewer) {
  Begin(true);
  canvas.Cylinder(true, 10, 20, 50, 100, 0, 20, true);
  const auto polys = rec.CallsNamed("Polygon");
  // About half the 16 sides face the viewer, plus the top cap.
  EXPECT_GE(polys.size(), 7u);
  EXPECT_LE(polys.size(), 11u);
  EXPECT_EQ(polys.back().Points.size(), 16u);
  EXPECT_EQ(polys.back().Brush.Color, DarkenColor(clWhite, 64));
  rec.Clear();
  canvas.Pyramid(true, 10, 20, 50, 100, 0, 20, true);
  const auto faces = rec.CallsNamed("Polygon");
  ASSERT_EQ(faces.size(), 2u) << "front and right triangles";
  EXPECT_EQ(faces[0].Points[1], canvas.ProjectPoint(30, 20, 10)) << "apex";
  rec.Clear();
  canvas.Pyramid(true, 10, 100, 50, 20, 0, 20, true); // apex below the base
  EXPECT_EQ(rec.CountOf("Polygon"), 3);
}

TEST_F(ChartCanvas3DTest, BevelDrawsTopLeftThenBottomRight) {
  Begin(false);
  canvas.Bevel(TRect(0, 0, 10, 8), clRed, clBlue, 1);
  const auto lines = rec.CallsNamed("LineTo");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].Points, (std::vector<TPoint>{{0, 7}, {0, 0}}));
  EXPECT_EQ(lines[0].Pen.Color, clRed);
  EXPECT_EQ(lines[1].Points, (std::vector<TPoint>{{0, 0}, {9, 0}}));
  EXPECT_EQ(lines[3].Points, (std::vector<TPoint>{{9, 7}, {-1, 7}}));
  EXPECT_EQ(lines[3].Pen.Color, clBlue);
}

TEST_F(ChartCanvas3DTest, Pixel3D) {
  Begin(true);
  canvas.Pixel3D(10, 20, 5, clRed);
  ASSERT_EQ(rec.CountOf("SetPixel"), 1);
  EXPECT_EQ(rec.Calls()[0].Args, (std::vector<int>{15, 15, int(clRed)}));
  rec.Clear();
  canvas.Pen().Width = 3;
  canvas.Pixel3D(10, 20, 5, clRed);
  EXPECT_EQ(rec.CountOf("SetPixel"), 0);
  EXPECT_EQ(rec.CountOf("LineTo"), 1);
}

TEST_F(ChartCanvas3DTest, MultiLineTexts) {
  Begin(false);
  std::string text = "one two  three";
  MarkLineBreaks(text, " ");
  EXPECT_EQ(text, "one\rtwo\r\rthree");
  EXPECT_EQ(CountTextLines(text), 4);
  EXPECT_EQ(CountTextLines("a\r"), 1);
  EXPECT_EQ(CountTextLines(""), 0);
  int lines = 0;
  const int w = MultiLineTextWidth(canvas, "ab\rabcdef\rx", lines);
  EXPECT_EQ(lines, 3);
  EXPECT_EQ(w, canvas.TextWidth("abcdef"));
  EXPECT_GT(w, canvas.TextWidth("ab"));
  EXPECT_EQ(canvas.FontHeight(), canvas.TextHeight("W"));
}

TEST_F(ChartCanvas3DTest, BrushWithBackground) {
  Begin(false);
  SetBrushWithBackground(canvas, clRed, bsSolid, clRed);
  EXPECT_EQ(canvas.Brush().Color, clRed);
  EXPECT_EQ(canvas.GetBackMode(), TRANSPARENT);
  SetBrushWithBackground(canvas, clRed, bsCross, clRed);
  EXPECT_EQ(canvas.Brush().Color, clBlack);
  EXPECT_EQ(canvas.GetBackMode(), OPAQUE);
  EXPECT_EQ(canvas.GetBackColor(), clRed);
  SetBrushWithBackground(canvas, clBlack, bsCross, clBlack);
  EXPECT_EQ(canvas.Brush().Color, clWhite);
  SetBrushWithBackground(canvas, clBlue, bsHorizontal, clRed);
  EXPECT_EQ(canvas.Brush().Color, clBlue);
  TPen pen{clBlack, 1, psDot, pmCopy};
  AdjustPenForPrinting(false, pen);
  EXPECT_EQ(pen.Width, 1);
  AdjustPenForPrinting(true, pen);
  EXPECT_EQ(pen.Width, 0);
}

TEST_F(ChartCanvas3DTest, IdleCanvasMeasuresTextWithoutATarget) {
  TChartCanvas3D idle;
  EXPECT_GT(idle.TextWidth("Hello"), 0);
  idle.Rectangle(0, 0, 5, 5); // draws nowhere, does not crash
}

} // namespace
