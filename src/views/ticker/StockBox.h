#pragma once
// The stock box: one ticker entry drawn into its own bitmap. First line: the
// symbol, an optional news bulb, an up or down arrow and the optional quote
// time; second line: the price and the change in the rising or falling
// colours. Prices written as whole number and fraction ("114 3/4") get a
// small raised numerator over a slash and denominator.
#include "platform/BitmapBuffer.h"
#include "platform/Canvas.h"
#include "platform/DateTime.h"
#include "views/ticker/TickParams.h"

#include <functional>
#include <memory>
#include <string>

class QWidget;

// The symbol of the box a ticker without symbols shows, and its text (it
// begins with eleven blanks).
constexpr const char *TickerMarkerSymbol = "VELKAR";
constexpr const char *TickerMarkerText = "           Right-click here to set up the ticker.";
// The marker is drawn at this size on black, and scrolls at this speed.
constexpr int TickerMarkerFontSize = 8;
constexpr int TickerMarkerSpeed = -2;
// Arrow outlines: dark green for up, dark red for down.
constexpr TColor UpArrowPenColor = 0x5500;
constexpr TColor DownArrowPenColor = 0x55;
constexpr int MinArrowSize = 12;
// How many times making the bitmap is tried.
constexpr int StockBoxBitmapTries = 5;

// ---- Fraction prices and arrows ---------------------------------------------------

// The size of a price text drawn by DrawFractionPrice with the canvas font.
void MeasureFractionPrice(TCanvas &Canvas, const std::string &Text, int &Width, int &Height);
// Draws a price text with its top at Y. Leaves the pen position after the
// text; after a fraction the canvas font stays at the reduced size.
void DrawFractionPrice(TCanvas &Canvas, const std::string &Text, int X, int Y);
// A filled seven-sided arrow in the rectangle with the current pen and brush.
void DrawDownArrow(TCanvas &Canvas, const TRect &Rect);
void DrawUpArrow(TCanvas &Canvas, const TRect &Rect);

// ---- The box in two steps: measure, then draw ------------------------------------

struct TStockBoxInput {
  bool ShowTime = false;
  std::string Symbol;
  std::string Price;
  std::string Time;
  std::string Change;
  std::string Direction; // "U", "D" or anything else for none
  bool Mark = false;     // draw a news bulb
  TDateTime MarkTime = 0;
};

struct TStockBoxLayout {
  std::string Symbol;    // as shown (an index's display name for "^..." symbols)
  std::string Direction; // "U", "D" or ""
  bool Marker = false;   // the set-up marker box
  int W1 = 0;            // first line width
  int Wm = 0;            // width of "M", the arrow's width
  int Hs = 0;            // first line height
  int A = 0;             // arrow height
  int Wp = 0, Hp = 0;    // price size
  int Wc = 0, Hc = 0;    // change size
  int W2 = 0;            // second line width
  int Width = 0;         // box
  int Height = 0;
};

// Measures the box on a canvas with the given elements; Progress, when
// given, receives the labels of the measuring steps.
TStockBoxLayout MeasureStockBox(TCanvas &Canvas, const TTickElements &Elements,
                                const TStockBoxInput &Input, std::string *Progress = nullptr);
// Draws a measured box with its top-left corner at (0, 0); bulbReference is
// the time against which the bulb's age is measured. Progress receives the
// labels of the drawing steps.
void DrawStockBox(TCanvas &Canvas, const TTickElements &Elements, const TStockBoxInput &Input,
                  const TStockBoxLayout &Layout, TDateTime BulbReference, std::string &Progress);

// Builds one box into a new bitmap with the live elements or, with
// UseWorkingSet, the configuration dialog's working copy. A bitmap passed in
// is freed and replaced. MeasureCanvas measures the texts before the bitmap
// exists; builds are serialised so that two never measure at once. Progress
// (up to 255 characters) receives progress labels for the caller's log.
// Errors never leave: they are logged or reported, and Bitmap is then a
// partly drawn bitmap or null.
void MakeStockBox(bool ShowTime, bool UseWorkingSet, const std::string &Symbol,
                  const std::string &Price, const std::string &Time, const std::string &Change,
                  const std::string &Direction, bool Mark, TDateTime MarkTime, QWidget *Owner,
                  std::unique_ptr<TBitmapBuffer> &Bitmap, TCanvas &MeasureCanvas,
                  std::string &Progress);

// Makes the bitmaps of MakeStockBox (tests make it fail). An empty function
// restores the default.
using TStockBoxBitmapFactory = std::function<std::unique_ptr<TBitmapBuffer>(int width, int height)>;
void SetStockBoxBitmapFactory(TStockBoxBitmapFactory factory);
