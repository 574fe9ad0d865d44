#include "platform/Canvas.h"
#include "platform/RecordingCanvas.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

TEST(RecordingCanvas, LogsEachCallWithTheStateOfTheMoment) {
  TRecordingCanvas cv;
  cv.Pen().Color = clRed;
  cv.Pen().Width = 2;
  cv.Brush().Color = clYellow;
  cv.Rectangle(1, 2, 30, 40);
  cv.Pen().Style = psDot;
  cv.Brush().Style = bsClear;
  cv.Font().Name = "Arial";
  cv.Font().SetSize(9);
  cv.Font().Bold = true;
  cv.Font().Color = clNavy;
  cv.TextOut(5, 6, "IBM");

  ASSERT_EQ(cv.Calls().size(), 2u);
  const TCanvasCall &rect = cv.Calls()[0];
  EXPECT_EQ(rect.Name, "Rectangle");
  EXPECT_EQ(rect.Args, (std::vector<int>{1, 2, 30, 40}));
  EXPECT_EQ(rect.Pen.Color, clRed);
  EXPECT_EQ(rect.Pen.Width, 2);
  EXPECT_EQ(rect.Brush.Color, clYellow);
  EXPECT_EQ(rect.Brush.Style, bsSolid);
  const TCanvasCall text = cv.CallsNamed("TextOut").at(0);
  EXPECT_EQ(text.Text, "IBM");
  EXPECT_EQ(text.Pen.Style, psDot);
  EXPECT_EQ(text.Font.Size(), 9);
  EXPECT_TRUE(text.Font.Bold);
  EXPECT_EQ(text.Font.Color, clNavy);
  EXPECT_EQ(text.BkMode, TRANSPARENT);
}

TEST(RecordingCanvas, DumpReadsAsOneLinePerCall) {
  TRecordingCanvas cv;
  cv.Font().Name = "Arial";
  cv.Font().Color = clBlack;
  cv.Rectangle(0, 0, 10, 10);
  cv.Pen().Mode = pmNotXor;
  cv.Brush().Style = bsClear;
  cv.Font().Bold = true;
  cv.Font().Italic = true;
  cv.TextOut(3, 4, "a b");
  cv.Pen().Mode = pmCopy;
  cv.Polyline({{1, 2}, {3, 4}});
  EXPECT_EQ(cv.Dump(), "Rectangle(0,0,10,10) pen=000000/1/solid brush=FFFFFF/solid "
                       "font=Arial/8/000000\n"
                       "TextOut(3,4,\"a b\") pen=000000/1/solid/notxor brush=FFFFFF/clear "
                       "font=Arial/8BI/000000\n"
                       "Polyline([1:2 3:4]) pen=000000/1/solid brush=FFFFFF/clear "
                       "font=Arial/8BI/000000\n");
}

TEST(RecordingCanvas, LineToRecordsBothEndsAndMovesThePen) {
  TRecordingCanvas cv;
  cv.MoveTo(3, 4);
  cv.LineTo(10, 4);
  cv.LineTo(10, 20);
  EXPECT_EQ(cv.PenPos(), TPoint(10, 20));
  const auto lines = cv.CallsNamed("LineTo");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].Points, (std::vector<TPoint>{{10, 4}, {10, 20}}));
  EXPECT_EQ(cv.CountOf("MoveTo"), 1);
}

TEST(RecordingCanvas, MeasuresTextWithTheRealFont) {
  TRecordingCanvas cv;
  cv.Font().Name = "Arial";
  cv.Font().SetSize(11);
  const QFontMetrics fm(ToQFont(cv.Font()));
  EXPECT_EQ(cv.TextWidth("Last 12.75"), fm.horizontalAdvance("Last 12.75"));
  EXPECT_EQ(cv.TextHeight("W"), fm.height());
  cv.Font().Bold = true;
  const QFontMetrics bold(ToQFont(cv.Font()));
  EXPECT_EQ(cv.TextWidth("Last 12.75"), bold.horizontalAdvance("Last 12.75"));
  // Measuring is not logged unless asked for.
  EXPECT_TRUE(cv.Calls().empty());
  cv.SetLogMeasurements(true);
  cv.TextWidth("x");
  EXPECT_EQ(cv.CountOf("TextExtent"), 1);
}

TEST(RecordingCanvas, UpdateCpTextMovesThePenByTheTextWidth) {
  TRecordingCanvas cv;
  cv.SetTextAlign(TA_UPDATECP);
  cv.MoveTo(10, 5);
  const int w = cv.TextWidth("abc");
  cv.TextOut(0, 0, "abc");
  EXPECT_EQ(cv.CallsNamed("TextOut").at(0).Args, (std::vector<int>{10, 5}));
  EXPECT_EQ(cv.PenPos(), TPoint(10 + w, 5));
}

TEST(RecordingCanvas, KeepsTheClipBoundsOnEachCall) {
  TRecordingCanvas cv;
  cv.SetClipRect(TRect(0, 0, 100, 50));
  cv.SaveClip();
  cv.ClipIntersectRect(TRect(20, 10, 200, 200));
  cv.FillRect(TRect(0, 0, 5, 5));
  cv.RestoreClip();
  cv.FillRect(TRect(0, 0, 6, 6));
  cv.ClearClip();
  cv.FillRect(TRect(0, 0, 7, 7));
  const auto fills = cv.CallsNamed("FillRect");
  ASSERT_EQ(fills.size(), 3u);
  EXPECT_EQ(fills[0].ClipBounds, TRect(20, 10, 100, 50));
  EXPECT_EQ(fills[1].ClipBounds, TRect(0, 0, 100, 50));
  EXPECT_TRUE(fills[1].Clipped);
  EXPECT_FALSE(fills[2].Clipped);
}

TEST(RecordingCanvas, PixelAnswersWhatWasSet) {
  TRecordingCanvas cv;
  EXPECT_EQ(cv.Pixel(1, 1), clNone);
  cv.SetPixel(1, 1, clRed);
  EXPECT_EQ(cv.Pixel(1, 1), clRed);
}

// ---- canvas state shared by every canvas --------------------------------

TEST(CanvasState, BackgroundFollowsBrushChangesUntilSetExplicitly) {
  TRecordingCanvas cv;
  EXPECT_EQ(cv.BkMode(), OPAQUE);
  EXPECT_EQ(cv.BkColor(), clWhite);
  cv.Brush().Color = clYellow;
  EXPECT_EQ(cv.BkColor(), clYellow);
  EXPECT_EQ(cv.BkMode(), OPAQUE);
  cv.Brush().Style = bsClear;
  EXPECT_EQ(cv.BkMode(), TRANSPARENT);
  cv.Brush().Style = bsCross;
  cv.SetBkMode(OPAQUE);
  cv.SetBkColor(clAqua);
  EXPECT_EQ(cv.BkMode(), OPAQUE);
  EXPECT_EQ(cv.BkColor(), clAqua);
  cv.Brush().Style = bsSolid; // a new change of the brush takes over again
  EXPECT_EQ(cv.BkColor(), clYellow);
  cv.ResetState();
  EXPECT_EQ(cv.BkColor(), clWhite);
  EXPECT_EQ(cv.Pen(), TPen());
}

TEST(CanvasState, FontSizeAndHeightAreTwoViewsOfOneValue) {
  TFont f;
  EXPECT_EQ(f.Size(), 8);
  EXPECT_EQ(f.Height(), -11); // 8 pt at 96 pixels per inch
  EXPECT_EQ(f.PixelSize(), 11);
  f.SetHeight(-16);
  EXPECT_EQ(f.Size(), 12);
  EXPECT_EQ(f.PixelSize(), 16);
  f.SetSize(10);
  EXPECT_EQ(f.Height(), -13);
  // A positive height is the cell height.
  f.SetHeight(20);
  EXPECT_NEAR(QFontMetrics(ToQFont(f)).height(), 20, 1);
  f.SetStyle(fsBold | fsUnderline);
  EXPECT_TRUE(f.Bold);
  EXPECT_FALSE(f.Italic);
  EXPECT_EQ(f.Style(), fsBold | fsUnderline);
}

TEST(CanvasState, ClassicFaceNamesMapToInstalledFaces) {
  TFont f;
  f.Name = "Arial";
  EXPECT_EQ(QFontInfo(ToQFont(f)).family(), QStringLiteral("Liberation Sans"));
}

TEST(CanvasState, MulDivRoundsAndGuardsDivisionByZero) {
  EXPECT_EQ(MulDiv(8, 96, 72), 11);
  EXPECT_EQ(MulDiv(-8, 96, 72), -11);
  EXPECT_EQ(MulDiv(3, 1, 2), 2);
  EXPECT_EQ(MulDiv(-3, 1, 2), -2);
  EXPECT_EQ(MulDiv(1 << 30, 4, 8), 1 << 29);
  EXPECT_EQ(MulDiv(5, 5, 0), -1);
}

} // namespace
