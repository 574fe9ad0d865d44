#include "alerts/news/NewsDrawing.h"
#include "alerts/news/NewsIcons.h"

#include "core/NewsBulb.h"
#include "platform/Color.h"
#include "platform/RecordingCanvas.h"

#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

namespace {

TCanvasCall Only(const TRecordingCanvas &canvas, const char *name) {
  const auto calls = canvas.CallsNamed(name);
  EXPECT_EQ(calls.size(), 1u) << name << "\n" << canvas.Dump();
  return calls.empty() ? TCanvasCall{} : calls.front();
}

TEST(NewsDrawingTest, ReadCellCheckMark) {
  TRecordingCanvas canvas;
  const TRect cell(10, 20, 30, 36); // 16 high: m = 28, h = 5
  DrawNewsReadCell(canvas, cell, false, true);
  EXPECT_EQ(Only(canvas, "FillRect").Brush.Color, clWhite);
  const auto lines = canvas.CallsNamed("LineTo");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].Points, (std::vector<TPoint>{TPoint(12, 29), TPoint(16, 33)}));
  EXPECT_EQ(lines[1].Points, (std::vector<TPoint>{TPoint(21, 23), TPoint(16, 33)}));
  EXPECT_EQ(lines[0].Pen.Color, clGreen);
  EXPECT_EQ(lines[0].Pen.Width, 2);

  canvas.Clear();
  DrawNewsReadCell(canvas, cell, true, true);
  EXPECT_EQ(Only(canvas, "FillRect").Brush.Color, clNavy);
  EXPECT_EQ(canvas.CallsNamed("LineTo").front().Pen.Color, clLime);

  canvas.Clear();
  DrawNewsReadCell(canvas, cell, false, false);
  EXPECT_EQ(canvas.CountOf("LineTo"), 0);
}

TEST(NewsDrawingTest, TextCellsAndTitles) {
  TRecordingCanvas canvas;
  DrawNewsTextCell(canvas, TRect(0, 0, 100, 16), "Heading", true);
  const TCanvasCall text = Only(canvas, "TextRect");
  EXPECT_EQ(text.Text, "Heading");
  EXPECT_EQ(text.Font.Color, clWhite);
  EXPECT_FALSE(text.Font.Bold);
  EXPECT_EQ(Only(canvas, "FillRect").Brush.Color, clNavy);

  canvas.Clear();
  DrawNewsTitleCell(canvas, TRect(0, 0, 100, 16), "Source");
  const TCanvasCall title = Only(canvas, "TextRect");
  EXPECT_TRUE(title.Font.Bold);
  EXPECT_EQ(title.Font.Color, clBlack);
  EXPECT_EQ(Only(canvas, "FillRect").Brush.Color, clSilver);
  const int w = canvas.TextWidth("Source");
  EXPECT_EQ(title.Args[4], (100 - w) / 2) << "centred";
}

TEST(NewsDrawingTest, SymbolItems) {
  TRecordingCanvas canvas;
  const TRect item(0, 28, 110, 42);
  DrawNewsSymbolItem(canvas, item, "IBM", false, false, false, 0);
  EXPECT_EQ(Only(canvas, "FillRect").Brush.Color, clSilver);
  EXPECT_EQ(Only(canvas, "TextRect").Font.Color, clBlack);
  EXPECT_EQ(Only(canvas, "TextRect").Args[4], 2);
  EXPECT_EQ(canvas.CountOf("Polygon"), 0) << "no bulb";

  canvas.Clear();
  DrawNewsSymbolItem(canvas, item, "IBM", true, true, true, 0.25);
  EXPECT_EQ(Only(canvas, "FillRect").Brush.Color, clNavy);
  EXPECT_EQ(Only(canvas, "TextRect").Font.Color, clRed) << "being fetched";
  // The bulb: its outline starts 2 pixels into the bulb at x = right - 8.
  const TCanvasCall bulb = Only(canvas, "Polygon");
  EXPECT_EQ(bulb.Points.front(), TPoint(110 - 8 + 2, 28));
  EXPECT_EQ(canvas.CallsNamed("Polyline").front().Pen.Color, NewsBulbLargeInnerColor(0.25));
}

} // namespace

// The no-bulb button's red slash is drawn smoothed over the aliased bulb:
// its edges blend into the transparent ground.
TEST(NewsDrawingTest, NoBulbIconSlashIsSmoothed) {
  const QImage icon = NewsIcon(TNewsIcon::NoBulb)
                          .pixmap(16, 16)
                          .toImage()
                          .convertToFormat(QImage::Format_ARGB32);
  int blendedRed = 0;
  for (int y = 0; y < icon.height(); ++y)
    for (int x = 0; x < icon.width(); ++x) {
      const QRgb c = icon.pixel(x, y);
      blendedRed += qAlpha(c) > 0 && qAlpha(c) < 255 && qRed(c) > qGreen(c) + 60;
    }
  EXPECT_GT(blendedRed, 4);
}
