#include "views/ticker/StockBox.h"

#include "TickerTestSupport.h"
#include "core/NewsBulb.h"
#include "platform/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

class StockBoxTest : public ::testing::Test {
protected:
  void SetUp() override { ResetTickerState(); }
  void TearDown() override { ResetTickerState(); }

  TTickElements elements;
  TFont Font(int e) const { return ElementFont(elements[e]); }

  static TStockBoxInput Msft() {
    TStockBoxInput in;
    in.ShowTime = true;
    in.Symbol = "MSFT";
    in.Price = "114 3/4";
    in.Time = "12:05:04";
    in.Change = "+2 5/16";
    in.Direction = "U";
    return in;
  }

  // Draws a box on a recording canvas, measured there too.
  TStockBoxLayout Draw(TRecordingCanvas &canvas, const TStockBoxInput &in, TDateTime ref = 0) {
    const TStockBoxLayout layout = MeasureStockBox(canvas, elements, in);
    canvas.Clear();
    std::string progress;
    DrawStockBox(canvas, elements, in, layout, ref, progress);
    return layout;
  }

  static std::vector<TCanvasCall> TextOuts(const TRecordingCanvas &c) {
    return c.CallsNamed("TextOut");
  }
  static const TCanvasCall *TextOutOf(const std::vector<TCanvasCall> &calls,
                                      const std::string &text) {
    for (const TCanvasCall &c : calls)
      if (c.Text == text)
        return &c;
    return nullptr;
  }
};

// ---- Fraction prices -------------------------------------------------------------

TEST_F(StockBoxTest, MeasuresPriceTextsByTheirParts) {
  TFont f = Font(tePriceUp);
  const TFont r = Reduced(f);
  struct Row {
    const char *name;
    std::string text;
    int width;
    int height;
  };
  const Row rows[] = {
      {"decimal", "12.375", TW(f, "12.375"), FractionLine(f, "12.375")},
      {"whole and fraction", "114 3/4", TW(f, "114") + 2 + TW(r, "3") + TW(r, "4"),
       FractionLine(f, "4")},
      {"blanks around", "  7 1/8 ", TW(f, "7") + 2 + TW(r, "1") + TW(r, "8"), FractionLine(f, "8")},
      {"signed fraction without whole part", "-3/4", 2 + TW(r, "-3") + TW(r, "4"),
       FractionLine(f, "4")},
      {"whole part and words", "12 ab", TW(f, "12"), FractionLine(f, "ab")},
  };
  for (const Row &row : rows) {
    TRecordingCanvas canvas;
    canvas.Font() = f;
    int w = -1, h = -1;
    MeasureFractionPrice(canvas, row.text, w, h);
    EXPECT_EQ(w, row.width) << row.name;
    EXPECT_EQ(h, row.height) << row.name;
    EXPECT_EQ(canvas.Font().Size(), f.Size()) << row.name << ": size restored";
  }
}

TEST_F(StockBoxTest, FractionIsSmallRaisedNumeratorSlashAndDenominator) {
  TRecordingCanvas canvas;
  const TFont f = Font(tePriceUp);
  const TFont r = Reduced(f);
  canvas.Font() = f;
  canvas.Font().Color = clLime;
  canvas.Pen().Color = clBlue;
  const int X = 10, Y = 20;
  DrawFractionPrice(canvas, "114 3/4", X, Y);

  const int h = FractionLine(f, "4");
  const auto texts = TextOuts(canvas);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].Text, "114");
  EXPECT_EQ(texts[0].Args, (std::vector<int>{X, Y + (h - TH(f, "4")) / 2}));
  EXPECT_EQ(texts[0].Font.Size(), f.Size());

  const int x1 = X + TW(f, "114") + 2;
  const int m = Y + h / 2;
  EXPECT_EQ(texts[1].Text, "3");
  EXPECT_EQ(texts[1].Args, (std::vector<int>{x1, m - TH(r, "3") + 1}));
  EXPECT_EQ(texts[1].Font.Size(), r.Size());
  EXPECT_EQ(texts[2].Text, "4");
  EXPECT_EQ(texts[2].Args, (std::vector<int>{x1 + TW(r, "3"), m}));

  const auto lines = canvas.CallsNamed("LineTo");
  ASSERT_EQ(lines.size(), 1u);
  const int xs = x1 + TW(r, "3");
  EXPECT_EQ(lines[0].Points[0], TPoint(xs - 5, m + 5));
  EXPECT_EQ(lines[0].Points[1], TPoint(xs + 5, m - 5));
  EXPECT_EQ(lines[0].Pen.Color, clLime) << "slash in the font colour";
  EXPECT_EQ(canvas.Pen().Color, clBlue) << "pen restored";
  EXPECT_EQ(canvas.Font().Size(), r.Size()) << "left at the reduced size";
}

TEST_F(StockBoxTest, DecimalPriceIsDrawnWholeAndCentred) {
  TRecordingCanvas canvas;
  const TFont f = Font(tePriceDown);
  canvas.Font() = f;
  DrawFractionPrice(canvas, "104.125", 3, 4);
  const auto texts = TextOuts(canvas);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].Text, "104.125");
  EXPECT_EQ(texts[0].Args,
            (std::vector<int>{3, 4 + (FractionLine(f, "104.125") - TH(f, "104.125")) / 2}));
  EXPECT_EQ(canvas.CountOf("LineTo"), 0);
}

TEST_F(StockBoxTest, DrawnPriceEndsWhereItsMeasuredWidthSays) {
  // The box is sized by the measurement: the drawing must not run past it.
  for (const std::string text : {"12.5", "114 3/4", "0 1/64", "-3/4", "12 ab", "3/16", ""}) {
    TRecordingCanvas canvas;
    canvas.Font() = Font(tePriceUp);
    int w = 0, h = 0;
    MeasureFractionPrice(canvas, text, w, h);
    DrawFractionPrice(canvas, text, 5, 0);
    EXPECT_EQ(canvas.PenPos().X, 5 + w) << "'" << text << "'";
  }
}

// ---- Arrows ----------------------------------------------------------------------

TEST_F(StockBoxTest, ArrowsAreSevenSidedPolygonsInTheirRectangle) {
  TRecordingCanvas canvas;
  DrawDownArrow(canvas, TRect(10, 0, 18, 12));
  DrawUpArrow(canvas, TRect(10, 0, 18, 12));
  const auto polygons = canvas.CallsNamed("Polygon");
  ASSERT_EQ(polygons.size(), 2u);
  // q = 2
  EXPECT_EQ(polygons[0].Points,
            (std::vector<TPoint>{
                {14, 12}, {18, 8}, {16, 8}, {16, 0}, {12, 0}, {12, 8}, {10, 8}, {14, 12}}));
  EXPECT_EQ(polygons[1].Points,
            (std::vector<TPoint>{
                {14, 0}, {18, 4}, {16, 4}, {16, 12}, {12, 12}, {12, 4}, {10, 4}, {14, 0}}));
}

// ---- Box geometry -------------------------------------------------------------------

TEST_F(StockBoxTest, BoxSizeFollowsTheTwoLines) {
  const TFont sym = Font(teSymbol), time = Font(teTime);
  for (bool showTime : {true, false}) {
    TStockBoxInput in = Msft();
    in.ShowTime = showTime;
    TRecordingCanvas canvas;
    const TStockBoxLayout b = MeasureStockBox(canvas, elements, in);

    const int hs = showTime ? std::max(TH(sym, "MSFT"), TH(time, "12:05:04")) : TH(sym, "MSFT");
    const int w1 = TW(sym, "MSFT") + TW(sym, "M") + (showTime ? TW(time, "12:05:04") : 9) + 7;
    const TFont price = Font(tePriceUp), change = Font(teChangeUp);
    const int wp = TW(price, "114") + 2 + TW(Reduced(price), "3") + TW(Reduced(price), "4");
    const int wc = TW(change, "+2") + 2 + TW(Reduced(change), "5") + TW(Reduced(change), "16");
    const int hl = std::max(FractionLine(price, "4"), FractionLine(change, "16"));

    EXPECT_EQ(b.Hs, hs);
    EXPECT_EQ(b.W1, w1);
    EXPECT_EQ(b.Wm, TW(sym, "M"));
    EXPECT_EQ(b.Height, hs + hl - 1);
    EXPECT_EQ(b.Width, std::max(w1, wp + 4 + wc));
  }
}

TEST_F(StockBoxTest, ArrowIsAtLeastTwelvePixelsUnlessTheLineIsLower) {
  for (int size = 5; size <= 24; ++size) {
    elements[teSymbol].FontSize = size;
    elements[teTime].FontSize = 5;
    TRecordingCanvas canvas;
    const TStockBoxLayout b = MeasureStockBox(canvas, elements, Msft());
    EXPECT_EQ(b.A, std::min(std::max(b.Hs * 3 / 4, 12), b.Hs)) << size;
    EXPECT_GE(b.A, std::min(12, b.Hs)) << size;
  }
}

TEST_F(StockBoxTest, FirstLineHasSymbolArrowAndTime) {
  TRecordingCanvas canvas;
  const TStockBoxLayout b = Draw(canvas, Msft());
  const TFont sym = Font(teSymbol), time = Font(teTime);

  const auto fills = canvas.CallsNamed("FillRect");
  ASSERT_FALSE(fills.empty());
  EXPECT_EQ(fills[0].Args, (std::vector<int>{0, 0, b.Width, b.Height}));
  EXPECT_EQ(fills[0].Brush.Color, clBlack);

  const auto texts = TextOuts(canvas);
  const TCanvasCall *symbol = TextOutOf(texts, "MSFT");
  ASSERT_TRUE(symbol);
  EXPECT_EQ(symbol->Args, (std::vector<int>{0, b.Hs - TH(sym, "A")}));
  EXPECT_EQ(symbol->Font.Color, clYellow);
  EXPECT_EQ(symbol->Font.Size(), 10);

  const int x = TW(sym, "MSFT") + 1;
  const auto polygons = canvas.CallsNamed("Polygon");
  ASSERT_EQ(polygons.size(), 1u);
  const int q = b.Wm / 4;
  EXPECT_EQ(polygons[0].Points[0], TPoint(x + 2 * q, b.Hs - b.A)) << "up arrow's tip";
  EXPECT_EQ(polygons[0].Points[3], TPoint(x + 3 * q, b.Hs - 3));
  EXPECT_EQ(polygons[0].Brush.Color, clLime);
  EXPECT_EQ(polygons[0].Pen.Color, UpArrowPenColor);

  const TCanvasCall *t = TextOutOf(texts, "12:05:04");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->Args, (std::vector<int>{x + b.Wm, b.Hs - TH(time, "A")}));
  EXPECT_EQ(t->Font.Color, clWhite);
  EXPECT_EQ(t->Brush.Color, clBlack) << "brush back to the background after the arrow";
}

TEST_F(StockBoxTest, DownArrowInFallingColours) {
  TStockBoxInput in = Msft();
  in.Direction = "D";
  TRecordingCanvas canvas;
  const TStockBoxLayout b = Draw(canvas, in);
  const auto polygons = canvas.CallsNamed("Polygon");
  ASSERT_EQ(polygons.size(), 1u);
  const int x = TW(Font(teSymbol), "MSFT") + 1;
  EXPECT_EQ(polygons[0].Points[0], TPoint(x + 2 * (b.Wm / 4), b.Hs - 3)) << "down arrow's tip";
  EXPECT_EQ(polygons[0].Brush.Color, clRed);
  EXPECT_EQ(polygons[0].Pen.Color, DownArrowPenColor);
}

TEST_F(StockBoxTest, NoDirectionDrawsNoArrowAndKeepsTheTimeInPlace) {
  TStockBoxInput in = Msft();
  in.Direction = "X";
  TRecordingCanvas withArrow, without;
  const TStockBoxLayout a = Draw(withArrow, Msft());
  const TStockBoxLayout b = Draw(without, in);
  EXPECT_EQ(without.CountOf("Polygon"), 0);
  EXPECT_EQ(b.Direction, "");
  EXPECT_EQ(b.Width, a.Width) << "as wide as with an arrow";
  const auto texts = TextOuts(without);
  const TCanvasCall *t = TextOutOf(texts, "12:05:04");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->Args[0], TW(Font(teSymbol), "MSFT") + 1);
}

TEST_F(StockBoxTest, PriceAndChangeFollowTheSignOfTheChange) {
  struct Row {
    const char *change;
    const char *changeWhole; // the first text drawn for the change
    TColor colour;
  };
  const Row rows[] = {{"+2 5/16", "+2", clLime}, {"-1 1/4", "-1", clRed}, {"0", "0", clLime}};
  const TFont p = Font(tePriceDown);
  const TFont change = Font(teChangeDown);
  for (const Row &row : rows) {
    TStockBoxInput in = Msft();
    in.Change = row.change;
    TRecordingCanvas canvas;
    const TStockBoxLayout b = Draw(canvas, in);
    const auto texts = TextOuts(canvas);

    const TCanvasCall *price = TextOutOf(texts, "114");
    ASSERT_TRUE(price) << row.change;
    EXPECT_EQ(price->Font.Color, row.colour) << row.change;
    EXPECT_EQ(price->Font.Size(), 8);
    EXPECT_EQ(price->Args[1], b.Hs - 1 + (FractionLine(p, "4") - TH(p, "4")) / 2);

    // The change starts 4 pixels after the price and sits on the box's bottom.
    const TCanvasCall *first = TextOutOf(texts, row.changeWhole);
    ASSERT_TRUE(first) << row.change;
    EXPECT_EQ(first->Font.Color, row.colour) << row.change;
    EXPECT_EQ(first->Font.Size(), 7);
    EXPECT_EQ(first->Args[0], TW(p, "114") + 2 + TW(Reduced(p), "3") + TW(Reduced(p), "4") + 4)
        << row.change;
    TRecordingCanvas m;
    m.Font() = change;
    int wc = 0, hc = 0;
    MeasureFractionPrice(m, row.change, wc, hc);
    const int top = b.Height - hc;
    const std::string probe = std::string(row.change) == "0" ? "0" : "16";
    EXPECT_EQ(first->Args[1], top + (hc - TH(change, probe)) / 2) << row.change;
  }
}

TEST_F(StockBoxTest, NewsBulbAfterTheSymbolShiftsTheArrow) {
  TStockBoxInput in = Msft();
  in.Mark = true;
  in.MarkTime = 100.0;
  TRecordingCanvas canvas;
  Draw(canvas, in, 100.0);
  const int x = TW(Font(teSymbol), "MSFT") + 1;
  const auto polygons = canvas.CallsNamed("Polygon");
  ASSERT_EQ(polygons.size(), 2u) << "arrow, then the bulb's outline";
  EXPECT_EQ(polygons[0].Points[6].X, x + 7) << "arrow's left edge";
  EXPECT_EQ(polygons[1].Points[0], TPoint(x + 2, 1)) << "bulb at (x, 1)";
  EXPECT_EQ(polygons[1].Pen.Color, NewsBulbLargeOutlineColor(0.0)) << "a fresh bulb";
}

TEST_F(StockBoxTest, IndexSymbolShowsItsDisplayName) {
  TStockBoxInput in = Msft();
  in.Symbol = "^DJI";
  TRecordingCanvas canvas;
  const TStockBoxLayout b = Draw(canvas, in);
  EXPECT_EQ(b.Symbol, "^DJI"); // the display name of an index is the symbol itself
  const auto texts = TextOuts(canvas);
  EXPECT_TRUE(TextOutOf(texts, "^DJI"));
}

TEST_F(StockBoxTest, MarkerBoxIsTheSetUpHintOnBlack) {
  elements[teBackground].Colour = clBlue;
  TStockBoxInput in;
  in.Symbol = TickerMarkerSymbol;
  TRecordingCanvas canvas;
  const TStockBoxLayout b = Draw(canvas, in);
  TFont hint;
  hint.Name = elements[teSymbol].FontName;
  hint.SetSize(8);
  EXPECT_EQ(b.Width, TW(hint, TickerMarkerText));
  ASSERT_EQ(canvas.Calls().size(), 1u) << canvas.Dump();
  const TCanvasCall &c = canvas.Calls()[0];
  EXPECT_EQ(c.Name, "TextRect");
  EXPECT_EQ(c.Text, "           Right-click here to set up the ticker.");
  EXPECT_EQ(c.Args,
            (std::vector<int>{0, 0, b.Width, b.Height, 1, b.Height / 2 - TH(hint, "A") / 2}));
  EXPECT_EQ(c.Brush.Color, clBlack);
  EXPECT_EQ(c.Font.Color, clWhite);
  EXPECT_EQ(c.Font.Size(), 8);
  EXPECT_FALSE(c.Font.Bold);
}

// ---- MakeStockBox -------------------------------------------------------------------

TEST_F(StockBoxTest, MakesABitmapOfTheMeasuredSizeAndDrawsIt) {
  TBitmapBuffer measure(1, 1);
  auto old = std::make_unique<TBitmapBuffer>(3, 3);
  std::unique_ptr<TBitmapBuffer> bitmap = std::move(old);
  std::string progress;
  MakeStockBox(true, false, "MSFT", "114 3/4", "12:05:04", "+2 5/16", "U", false, 0, nullptr,
               bitmap, measure.Canvas(), progress);
  ASSERT_TRUE(bitmap);
  TRecordingCanvas canvas;
  const TStockBoxLayout b = MeasureStockBox(canvas, elements, Msft());
  EXPECT_EQ(bitmap->Width(), b.Width);
  EXPECT_EQ(bitmap->Height(), b.Height);
  EXPECT_EQ(progress, "Mark 22");
  // The background black and some yellow of the symbol.
  const QImage &img = bitmap->Image();
  EXPECT_EQ(img.pixel(b.Width - 1, 0) & 0xFFFFFF, 0u);
  bool yellow = false;
  for (int y = 0; y < b.Hs; ++y)
    for (int x = 0; x < TW(Font(teSymbol), "MSFT"); ++x)
      yellow |= (img.pixel(x, y) & 0xFFFFFF) == 0xFFFF00;
  EXPECT_TRUE(yellow);
}

TEST_F(StockBoxTest, WorkingSetIsUsedOnlyWhenAsked) {
  TTickWorkingSet working;
  working.Elements[teSymbol].FontSize = 20;
  SetWorkingTickSet(working);
  TBitmapBuffer measure(1, 1);
  std::unique_ptr<TBitmapBuffer> live, preview;
  std::string progress;
  MakeStockBox(false, false, "IBM", "1", "", "0", "", false, 0, nullptr, live, measure.Canvas(),
               progress);
  MakeStockBox(false, true, "IBM", "1", "", "0", "", false, 0, nullptr, preview, measure.Canvas(),
               progress);
  ASSERT_TRUE(live && preview);
  EXPECT_GT(preview->Height(), live->Height());
}

TEST_F(StockBoxTest, BitmapIsTriedFiveTimesThenNone) {
  int tries = 0;
  SetStockBoxBitmapFactory([&tries](int, int) -> std::unique_ptr<TBitmapBuffer> {
    ++tries;
    throw std::runtime_error("no memory");
  });
  TBitmapBuffer measure(1, 1);
  auto bitmap = std::make_unique<TBitmapBuffer>(2, 2);
  std::string progress;
  MakeStockBox(false, false, "IBM", "1", "", "0", "", false, 0, nullptr, bitmap, measure.Canvas(),
               progress);
  EXPECT_EQ(tries, 5);
  EXPECT_FALSE(bitmap) << "the old bitmap is freed, none replaces it";
}

TEST_F(StockBoxTest, BitmapMadeOnALaterTry) {
  int tries = 0;
  SetStockBoxBitmapFactory([&tries](int w, int h) -> std::unique_ptr<TBitmapBuffer> {
    if (++tries < 3)
      throw std::runtime_error("busy");
    return std::make_unique<TBitmapBuffer>(w, h);
  });
  TBitmapBuffer measure(1, 1);
  std::unique_ptr<TBitmapBuffer> bitmap;
  std::string progress;
  MakeStockBox(false, false, "IBM", "1", "", "0", "", false, 0, nullptr, bitmap, measure.Canvas(),
               progress);
  EXPECT_EQ(tries, 3);
  EXPECT_TRUE(bitmap);
}

TEST_F(StockBoxTest, MarkerLeavesTheStoredParametersAlone) {
  TTickParams params;
  params.Speed = 6;
  params.Elements[teBackground].Colour = clBlue;
  SetLiveTickParams(params);
  TBitmapBuffer measure(1, 1);
  std::unique_ptr<TBitmapBuffer> bitmap;
  std::string progress;
  MakeStockBox(false, false, TickerMarkerSymbol, "", "", "", "", false, 0, nullptr, bitmap,
               measure.Canvas(), progress);
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->Image().pixel(bitmap->Width() - 1, 0) & 0xFFFFFF, 0u) << "drawn on black";
  EXPECT_EQ(LiveTickParams(), params);
}

} // namespace

namespace {

TEST_F(StockBoxTest, TwoThreadsBuildBoxesOnOneMeasuringCanvas) {
  TBitmapBuffer measure(1, 1);
  std::unique_ptr<TBitmapBuffer> reference;
  std::string progress;
  MakeStockBox(true, false, "MSFT", "114 3/4", "12:05:04", "+2 5/16", "U", false, 0, nullptr,
               reference, measure.Canvas(), progress);
  ASSERT_TRUE(reference);
  std::atomic<int> wrong{0};
  auto build = [&] {
    for (int i = 0; i < 20; ++i) {
      std::unique_ptr<TBitmapBuffer> box;
      std::string p;
      MakeStockBox(true, false, "MSFT", "114 3/4", "12:05:04", "+2 5/16", "U", false, 0, nullptr,
                   box, measure.Canvas(), p);
      if (!box || box->Width() != reference->Width() || box->Height() != reference->Height())
        ++wrong;
    }
  };
  std::thread a(build), b(build);
  a.join();
  b.join();
  EXPECT_EQ(wrong.load(), 0);
}

} // namespace
