#include "views/ticker/StockBox.h"

#include "core/ErrorReport.h"
#include "core/Log.h"
#include "core/NewsBulb.h"
#include "core/StandIns.h"
#include "platform/Format.h"
#include "platform/StringUtils.h"

#include <algorithm>
#include <mutex>
#include <stdexcept>

namespace {

constexpr std::size_t ProgressMaxLength = 255;
// The reduced size of a fraction's numerator and denominator, and how much
// taller than them the price line is.
constexpr int FractionSizeNumerator = 4;
constexpr int FractionSizeDenominator = 5;
constexpr double FractionLineFactor = 1.8;
// Room of the first line: left of the time without one, and at the end.
constexpr int NoTimeRoom = 9;
constexpr int FirstLineEndRoom = 7;
constexpr int WholeToFractionGap = 2;
constexpr int PriceToChangeGap = 4;
constexpr int BulbAdvance = 7;
constexpr int SlashHalf = 5;

void SetProgress(std::string &progress, const std::string &label) {
  progress = label.substr(0, ProgressMaxLength);
}

int ReducedSize(int size) { return size * FractionSizeNumerator / FractionSizeDenominator; }

int LineHeight(int textHeight) { return int(Round(textHeight * FractionLineFactor)); }

// A price text taken apart: the whole part and, after a blank, the fraction.
// Without a blank the whole text is the fraction, so that a signed fraction
// keeps its sign in the numerator.
struct TPriceParts {
  bool Plain = false; // neither a blank nor "/": drawn as it is
  std::string Text;   // the trimmed text
  std::string Whole;
  std::string Rest;
  bool HasSlash = false;
  std::string Numerator;
  std::string Denominator;
};

TPriceParts SplitPrice(const std::string &text) {
  TPriceParts p;
  p.Text = Trim(text);
  const std::size_t blank = p.Text.find(' ');
  if (blank == std::string::npos && p.Text.find('/') == std::string::npos) {
    p.Plain = true;
    return p;
  }
  if (blank != std::string::npos) {
    p.Whole = p.Text.substr(0, blank);
    p.Rest = Trim(p.Text.substr(blank + 1));
  } else {
    p.Rest = p.Text;
  }
  const std::size_t slash = p.Rest.find('/');
  if (slash != std::string::npos) {
    p.HasSlash = true;
    p.Numerator = p.Rest.substr(0, slash);
    p.Denominator = p.Rest.substr(slash + 1);
  }
  return p;
}

// Text at (x, y); the pen position moves to the text's end.
void TextOutAdvance(TCanvas &canvas, int x, int y, const std::string &text) {
  canvas.TextOut(x, y, text);
  canvas.SetPenPos(TPoint(x + canvas.TextWidth(text), y));
}

void UseElement(TCanvas &canvas, const TTickElements &elements, int e) {
  UseTickElement(canvas, elements[e]);
}

void UseElementInColour(TCanvas &canvas, const TTickElements &elements, int e, int colourOf) {
  UseTickElement(canvas, elements[e]);
  canvas.Font().Color = elements[colourOf].Colour;
}

bool Falling(const std::string &change) { return !change.empty() && change[0] == '-'; }

std::mutex &MeasureMutex() {
  static std::mutex mutex;
  return mutex;
}

std::mutex &FactoryMutex() {
  static std::mutex mutex;
  return mutex;
}

TStockBoxBitmapFactory &Factory() {
  static TStockBoxBitmapFactory factory;
  return factory;
}

std::unique_ptr<TBitmapBuffer> MakeBitmap(int width, int height) {
  TStockBoxBitmapFactory factory;
  {
    std::lock_guard lock(FactoryMutex());
    factory = Factory();
  }
  if (factory)
    return factory(width, height);
  if (width <= 0 || height <= 0)
    throw std::runtime_error(Format("bad bitmap size %d x %d", {width, height}));
  auto bitmap = std::make_unique<TBitmapBuffer>(width, height);
  if (bitmap->Empty())
    throw std::runtime_error(Format("out of memory for a bitmap of %d x %d", {width, height}));
  return bitmap;
}

} // namespace

// ---- Fraction prices -----------------------------------------------------------

void MeasureFractionPrice(TCanvas &Canvas, const std::string &Text, int &Width, int &Height) {
  const TPriceParts p = SplitPrice(Text);
  const int size = Canvas.Font().Size();
  if (p.Plain) {
    Width = Canvas.TextWidth(p.Text);
    Canvas.Font().SetSize(ReducedSize(size));
    Height = LineHeight(Canvas.TextHeight(p.Text));
  } else if (p.HasSlash) {
    Width = Canvas.TextWidth(p.Whole) + WholeToFractionGap;
    Canvas.Font().SetSize(ReducedSize(size));
    Width += Canvas.TextWidth(p.Numerator) + Canvas.TextWidth(p.Denominator);
    Height = LineHeight(Canvas.TextHeight(p.Denominator));
  } else {
    Width = Canvas.TextWidth(p.Whole);
    Canvas.Font().SetSize(ReducedSize(size));
    Height = LineHeight(Canvas.TextHeight(p.Rest));
  }
  Canvas.Font().SetSize(size);
}

void DrawFractionPrice(TCanvas &Canvas, const std::string &Text, int X, int Y) {
  int w = 0, h = 0;
  MeasureFractionPrice(Canvas, Text, w, h);
  const TPriceParts p = SplitPrice(Text);
  if (p.Plain) {
    TextOutAdvance(Canvas, X, Y + (h - Canvas.TextHeight(p.Text)) / 2, p.Text);
    return;
  }
  if (!p.HasSlash) {
    TextOutAdvance(Canvas, X, Y + (h - Canvas.TextHeight(p.Rest)) / 2, p.Whole);
    return;
  }
  if (!p.Whole.empty())
    TextOutAdvance(Canvas, X, Y + (h - Canvas.TextHeight(p.Denominator)) / 2, p.Whole);
  const int x1 = X + Canvas.TextWidth(p.Whole) + WholeToFractionGap;
  const int m = Y + h / 2;
  Canvas.Font().SetSize(ReducedSize(Canvas.Font().Size()));
  TextOutAdvance(Canvas, x1, m - Canvas.TextHeight(p.Numerator) + 1, p.Numerator);
  const int xs = x1 + Canvas.TextWidth(p.Numerator);
  TextOutAdvance(Canvas, xs, m, p.Denominator);

  // The slash in the font colour; pen and pen position as they were.
  const TPen pen = Canvas.Pen();
  const TPoint at = Canvas.PenPos();
  Canvas.Pen().Color = Canvas.Font().Color;
  Canvas.Pen().Style = psSolid;
  Canvas.Pen().Width = 1;
  Canvas.MoveTo(xs - SlashHalf, m + SlashHalf);
  Canvas.LineTo(xs + SlashHalf, m - SlashHalf);
  Canvas.Pen() = pen;
  Canvas.SetPenPos(at);
}

// ---- Arrows ------------------------------------------------------------------------

void DrawDownArrow(TCanvas &Canvas, const TRect &Rect) {
  const int L = Rect.Left, T = Rect.Top, B = Rect.Bottom;
  const int q = (Rect.Right - Rect.Left) / 4;
  Canvas.Polygon({TPoint(L + 2 * q, B), TPoint(L + 4 * q, B - 2 * q), TPoint(L + 3 * q, B - 2 * q),
                  TPoint(L + 3 * q, T), TPoint(L + q, T), TPoint(L + q, B - 2 * q),
                  TPoint(L, B - 2 * q), TPoint(L + 2 * q, B)});
}

void DrawUpArrow(TCanvas &Canvas, const TRect &Rect) {
  const int L = Rect.Left, T = Rect.Top, B = Rect.Bottom;
  const int q = (Rect.Right - Rect.Left) / 4;
  Canvas.Polygon({TPoint(L + 2 * q, T), TPoint(L + 4 * q, T + 2 * q), TPoint(L + 3 * q, T + 2 * q),
                  TPoint(L + 3 * q, B), TPoint(L + q, B), TPoint(L + q, T + 2 * q),
                  TPoint(L, T + 2 * q), TPoint(L + 2 * q, T)});
}

// ---- Measuring and drawing a box ---------------------------------------------------

TStockBoxLayout MeasureStockBox(TCanvas &Canvas, const TTickElements &Elements,
                                const TStockBoxInput &Input, std::string *Progress) {
  std::string ignored;
  std::string &progress = Progress ? *Progress : ignored;
  TStockBoxLayout b;
  b.Symbol = Input.Symbol;
  if (!b.Symbol.empty() && b.Symbol[0] == '^')
    b.Symbol = GetIndexDisplayName(b.Symbol);
  b.Direction = Input.Direction == "U" || Input.Direction == "D" ? Input.Direction : "";
  b.Marker = b.Symbol == TickerMarkerSymbol;

  SetProgress(progress, "Mark 4");
  UseElement(Canvas, Elements, teSymbol);
  b.Wm = Canvas.TextWidth("M");
  b.W1 = Canvas.TextWidth(b.Symbol) + b.Wm;
  b.Hs = Canvas.TextHeight(b.Symbol);
  SetProgress(progress, "Mark 4.1");
  UseElement(Canvas, Elements, teTime);
  if (Input.ShowTime) {
    b.W1 += Canvas.TextWidth(Input.Time);
    b.Hs = std::max(b.Hs, Canvas.TextHeight(Input.Time));
  } else {
    b.W1 += NoTimeRoom;
  }
  b.W1 += FirstLineEndRoom;

  SetProgress(progress, "Mark 4.2");
  b.A = std::min(std::max(b.Hs * 3 / 4, MinArrowSize), b.Hs);

  SetProgress(progress, "Mark 5");
  UseElement(Canvas, Elements, tePriceUp);
  MeasureFractionPrice(Canvas, Input.Price, b.Wp, b.Hp);
  SetProgress(progress, "Mark 6");
  UseElement(Canvas, Elements, teChangeUp);
  MeasureFractionPrice(Canvas, Input.Change, b.Wc, b.Hc);
  SetProgress(progress, "Mark 7");
  b.W2 = b.Wp + PriceToChangeGap + b.Wc;
  b.Height = b.Hs + std::max(b.Hp, b.Hc) - 1;
  b.Width = std::max(b.W1, b.W2);

  if (b.Marker) {
    SetProgress(progress, "Mark 8");
    TFont &font = Canvas.Font();
    font.Name = Elements[teSymbol].FontName;
    font.SetSize(TickerMarkerFontSize);
    font.SetStyle(0);
    b.Width = Canvas.TextWidth(TickerMarkerText);
  }
  return b;
}

void DrawStockBox(TCanvas &Canvas, const TTickElements &Elements, const TStockBoxInput &Input,
                  const TStockBoxLayout &Layout, TDateTime BulbReference, std::string &Progress) {
  const int H = Layout.Height;
  const TRect box(0, 0, Layout.Width, H);

  if (Layout.Marker) {
    SetProgress(Progress, "Mark 12");
    Canvas.Brush().Style = bsSolid;
    Canvas.Brush().Color = clBlack;
    Canvas.Pen().Color = clWhite;
    TFont &font = Canvas.Font();
    font.Color = clWhite;
    font.Name = Elements[teSymbol].FontName;
    font.SetSize(TickerMarkerFontSize);
    font.SetStyle(0);
    Canvas.TextRect(box, 1, H / 2 - Canvas.TextHeight("A") / 2, TickerMarkerText);
    return;
  }

  SetProgress(Progress, "Mark 12");
  const TColor back = Elements[teBackground].Colour;
  Canvas.Brush().Style = bsSolid;
  Canvas.Brush().Color = back;
  Canvas.FillRect(box);

  SetProgress(Progress, "Mark 13");
  UseElementInColour(Canvas, Elements, teSymbol, teSymbol);
  TextOutAdvance(Canvas, 0, Layout.Hs - Canvas.TextHeight("A"), Layout.Symbol);
  int x = Canvas.PenPos().X + 1;
  const int bulbX = x;
  if (Input.Mark)
    x += BulbAdvance;

  SetProgress(Progress, "Mark 14");
  if (!Layout.Direction.empty()) {
    const TRect arrow(x, Layout.Hs - Layout.A, x + Layout.Wm, Layout.Hs - 3);
    const bool up = Layout.Direction == "U";
    Canvas.Brush().Color = Elements[up ? teChangeUp : teChangeDown].Colour;
    Canvas.Pen().Color = up ? UpArrowPenColor : DownArrowPenColor;
    Canvas.Pen().Style = psSolid;
    if (up)
      DrawUpArrow(Canvas, arrow);
    else
      DrawDownArrow(Canvas, arrow);
    Canvas.Brush().Color = back;
    x += Layout.Wm;
  }
  if (Input.ShowTime) {
    UseElementInColour(Canvas, Elements, teTime, teTime);
    TextOutAdvance(Canvas, x, Layout.Hs - Canvas.TextHeight("A"), Input.Time);
  }
  if (Input.Mark)
    DrawNewsBulbLarge(Canvas, bulbX, 1, BulbReference - Input.MarkTime);

  SetProgress(Progress, "Mark 21");
  const bool falling = Falling(Input.Change);
  UseElementInColour(Canvas, Elements, tePriceDown, falling ? tePriceDown : tePriceUp);
  DrawFractionPrice(Canvas, Input.Price, 0, Layout.Hs - 1);
  x = Canvas.PenPos().X + PriceToChangeGap;
  UseElementInColour(Canvas, Elements, teChangeDown, falling ? teChangeDown : teChangeUp);
  int wc = 0, hc = 0;
  MeasureFractionPrice(Canvas, Input.Change, wc, hc);
  DrawFractionPrice(Canvas, Input.Change, x, H - hc);
}

// ---- MakeStockBox -------------------------------------------------------------------

void MakeStockBox(bool ShowTime, bool UseWorkingSet, const std::string &Symbol,
                  const std::string &Price, const std::string &Time, const std::string &Change,
                  const std::string &Direction, bool Mark, TDateTime MarkTime, QWidget *Owner,
                  std::unique_ptr<TBitmapBuffer> &Bitmap, TCanvas &MeasureCanvas,
                  std::string &Progress) {
  (void)Owner; // the bitmap belongs to the caller
  SetProgress(Progress, "Mark 1");
  std::unique_lock<std::mutex> measuring;
  try {
    TStockBoxInput input;
    input.ShowTime = ShowTime;
    input.Symbol = Symbol;
    input.Price = Price;
    input.Time = Time;
    input.Change = Change;
    input.Direction = Direction;
    input.Mark = Mark;
    input.MarkTime = MarkTime;
    const TTickElements elements = TickElementSet(UseWorkingSet);
    SetProgress(Progress, "Mark 1.1");
    measuring = std::unique_lock<std::mutex>(MeasureMutex());

    const TStockBoxLayout layout = MeasureStockBox(MeasureCanvas, elements, input, &Progress);
    SetProgress(Progress, "Mark 10");
    Bitmap.reset();
    SetProgress(Progress, "Mark 11");

    for (int attempt = 1; attempt <= StockBoxBitmapTries && !Bitmap; ++attempt) {
      SetProgress(Progress, Format("Mark 11.2 %d %d", {layout.Width, layout.Height}));
      try {
        Bitmap = MakeBitmap(layout.Width, layout.Height);
        if (!Bitmap)
          throw std::runtime_error("no bitmap");
      } catch (const std::exception &e) {
        if (LoggingOn && DebugLogging)
          WriteLog("TICKERROR: MakeStockBox " + Symbol + " " + Progress + " Fault! " +
                   std::to_string(attempt) + " " + e.what());
        Bitmap.reset();
      }
    }
    SetProgress(Progress, Format("Mark 11.23 %d %d", {layout.Width, layout.Height}));

    if (Bitmap) {
      try {
        DrawStockBox(Bitmap->Canvas(), elements, input, layout, BulbReferenceTime(), Progress);
      } catch (const std::exception &e) {
        if (LoggingOn)
          WriteLog(std::string("MakeStockBox Error: ") + e.what() + " " + Progress);
      }
    }
    SetProgress(Progress, "Mark 22");
  } catch (const std::exception &e) {
    ShowErrorReport(Symbol + " " + Progress + " " + e.what(), "MakeStockBox");
  } catch (...) {
    ShowErrorReport(Symbol + " " + Progress + " unknown error", "MakeStockBox");
  }
  if (!Bitmap && LoggingOn && DebugLogging)
    WriteLog("BM is NIL!");
}

void SetStockBoxBitmapFactory(TStockBoxBitmapFactory factory) {
  std::lock_guard lock(FactoryMutex());
  Factory() = std::move(factory);
}
