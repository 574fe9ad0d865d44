// The quote grid's cell painter: colours by row and column kind, display
// marks taken off, sign colours, frames for new lows and highs and for moved
// bids and asks, tick arrows, the small graph, news and alert bulbs, the sort
// mark of the sorted title and the drop mark of a dragged column.
#include "views/stockgrid/GridDrawCell.h"

#include "alerts/AlertsModule.h"
#include "core/FieldTitles.h"
#include "core/NewsBulb.h"
#include "core/SmallGraph.h"
#include "core/StringRoutines.h"
#include "platform/Canvas.h"
#include "platform/Clock.h"
#include "platform/StringUtils.h"
#include "views/stockgrid/ColorScheme.h"
#include "views/stockgrid/GridFill.h"
#include "views/stockgrid/GridShapes.h"
#include "views/stockgrid/StockGrid.h"
#include "views/stockgrid/StockGridGlobals.h"

#include <QPaintEvent>
#include <exception>

namespace {

constexpr std::size_t kSymbolMax = 15;
constexpr std::size_t kTextMax = 255;
constexpr int kTextMargin = 2;
constexpr int kTitleFitMargin = 3;
constexpr int kBulbStep = 9;
constexpr int kNewsBulbRightOffset = 8;
constexpr int kAlertBulbBottomOffset = 13;

bool RightAligned(int field) {
  switch (field) {
  case gfVolume:
  case gfQuantity:
  case gfValue:
  case gfBidSize:
  case gfAskSize:
  case gfLastVol:
  case gfTrades:
  case gfAvgTrade:
  case gfQuoteTime:
  case gfAvgVol:
  case gfEarn:
  case gfPE:
  case gfMktCap:
  case gfDividend:
  case gfYield:
  case gfVolPct:
  case gfPctPort:
  case gfExchange:
  case gfValueChangeDollar:
  case gfValueChangePct:
  case gfGainDollar:
  case gfGainPct:
  case gfOpenInterest:
    return true;
  default:
    return false;
  }
}

// A lone "-" is the no-data text, not a negative value.
bool StartsNegative(const std::string &value) {
  return value.size() >= 2 && value[0] == '-' && value[1] != '-';
}

std::string Unsigned(const std::string &value) {
  if (!value.empty() && (value[0] == '+' || StartsNegative(value)))
    return value.substr(1);
  return value;
}

// A two-value text split at its first blank (both parts trimmed); false
// when it holds one value. A first value "-" (no percentage) is a value of
// its own: "- 150" and "- +2,000" hold two.
bool SplitValues(const std::string &text, std::string &first, std::string &second) {
  const std::string t = Trim(text);
  const auto blank = t.find(' ');
  if (blank == std::string::npos)
    return false;
  first = t.substr(0, blank);
  second = Trim(t.substr(blank + 1));
  return true;
}

void StripMarks(std::string &text) {
  std::size_t n = 0;
  while (n < text.size() && (text[n] == '<' || text[n] == '>'))
    ++n;
  text.erase(0, n);
}

} // namespace

bool IsSignedField(int field) {
  switch (field) {
  case gfChange:
  case gfValueChange:
  case gfGain:
  case gfValueChangeDollar:
  case gfValueChangePct:
  case gfGainDollar:
  case gfGainPct:
    return true;
  default:
    return false;
  }
}

bool IsTwoValueField(int field) { return IsSignedField(field) && field != gfChange; }

bool SignedTextNegative(int field, const std::string &text) {
  std::string first, second;
  if (IsTwoValueField(field) && SplitValues(text, first, second))
    return StartsNegative(second) || StartsNegative(first);
  return text.find('+') == std::string::npos;
}

std::string RemoveSigns(int field, const std::string &text) {
  std::string first, second;
  if (IsTwoValueField(field) && SplitValues(text, first, second))
    return Trim(Unsigned(first)) + " " + Trim(Unsigned(second));
  return Trim(Unsigned(Trim(text)));
}

TColor AlertTextColor(TColor alertColor) {
  if (alertColor == clRed)
    return clWhite;
  if (alertColor == clLime)
    return clBlack;
  const TColor rgb = ColorToRGB(alertColor);
  return RGB(255 - GetRValue(rgb), 255 - GetGValue(rgb), 255 - GetBValue(rgb));
}

// ---- The painter ------------------------------------------------------------------------

void TStockGrid::paintEvent(QPaintEvent *e) {
  // One reading of the settings and the clock serves every cell of the paint.
  m_paintSettings = std::make_unique<TDisplaySettings>(CurrentDisplaySettings());
  m_paintNow = AppClock().Now();
  m_rowPaint.Row = -1;
  // The fields' fonts (the last: a column of no field, the view font).
  for (int f = 0; f <= GridFieldCount; ++f)
    m_paintFonts[std::size_t(f)] = FieldFont(f < GridFieldCount ? f : -1);
  m_paintViewStyle = m_paintFonts[GridFieldCount].Style();
  try {
    TStringGrid::paintEvent(e);
  } catch (...) {
    // Cells paint on their own; nothing leaves the paint.
  }
  m_paintSettings.reset();
  m_rowPaint.Row = -1;
}

void TStockGrid::GridDrawCell(TCanvas &canvas, int ACol, int ARow, const TRect &Rect,
                              TGridDrawState State) {
  (void)State;
  const ColorScheme &scheme = CurrentScheme;
  canvas.Pen().Color = scheme.InterLine;
  if (!isEnabled())
    return;
  if (!RowsSorted)
    SortCol = -1;

  std::unique_ptr<TDisplaySettings> ownSettings;
  const TDisplaySettings *settingsPtr = m_paintSettings.get();
  if (!settingsPtr) {
    ownSettings = std::make_unique<TDisplaySettings>(CurrentDisplaySettings());
    settingsPtr = ownSettings.get();
  }
  const TDisplaySettings &settings = *settingsPtr;
  const TDateTime alertNow = m_paintSettings ? m_paintNow : AppClock().Now();

  try {
    const int field = FieldAtColumn(ColPos, ACol);
    // The view font with the field's style unless it keeps the font's own
    // (made once per paint).
    const bool known = field >= 0 && field < GridFieldCount;
    if (m_paintSettings)
      canvas.Font() = m_paintFonts[std::size_t(known ? field : GridFieldCount)];
    else
      canvas.Font() = FieldFont(field);
    const TFontStyles keptStyle = m_paintSettings ? m_paintViewStyle : ViewFont().Style();

    const bool titleRow = ARow < FixedRows();
    // What the row's cells share: its symbol and alert state, read once per
    // row in a paint (the alert lock once, not once per cell).
    TRowPaint ownRow;
    TRowPaint &row = m_paintSettings ? m_rowPaint : ownRow;
    if (row.Row != ARow) {
      row.Row = ARow;
      try {
        row.Symbol = Cells(0, ARow).substr(0, kSymbolMax);
      } catch (const std::exception &) {
        row.Symbol = "-";
      }
      row.TrimmedSymbol = Trim(row.Symbol);
      row.Tag = Objects(0, ARow);
      row.AlertColor = AlertSystemClass::NoHighlight;
      row.AlertActive = false;
      row.AlertAge = 0;
      if (!titleRow && !row.TrimmedSymbol.empty() && !IsAllDashes(row.TrimmedSymbol))
        row.AlertColor =
            AlertSystem().GetRowHighlight(row.TrimmedSymbol, row.AlertActive, row.AlertAge, alertNow);
    }
    std::string text;
    try {
      text = Cells(ACol, ARow).substr(0, kTextMax);
    } catch (const std::exception &) {
      text = "@@@";
    }
    const std::string &trimmedSymbol = row.TrimmedSymbol;
    const bool separator = (!titleRow && IsAllDashes(trimmedSymbol)) || text == "@@@";
    const bool total = trimmedSymbol == "TOTAL";

    TColor back = scheme.NoStripeRow;
    TColor fore = scheme.NoStripeText;
    if (settings.Stripes && ARow % 2 == 0) {
      back = scheme.StripeRow;
      fore = scheme.StripeText;
    }
    if (total) {
      back = scheme.TotalRow;
      fore = scheme.TotalText;
    }

    // Alert colour of the row.
    bool alertColored = false, alertActive = false;
    TDateTime alertAge = 0;
    if (!titleRow && !trimmedSymbol.empty() && !separator) {
      alertActive = row.AlertActive;
      alertAge = row.AlertAge;
      if (row.AlertColor != AlertSystemClass::NoHighlight) {
        alertColored = true;
        back = TColor(row.AlertColor);
        fore = AlertTextColor(TColor(row.AlertColor));
      }
    }

    // The highlighted row.
    bool highlighted = false;
    if (!titleRow && !separator && HighlightTag > 0 && row.Tag == HighlightTag) {
      HighlightSymbol = trimmedSymbol;
      if (!alertColored) {
        highlighted = true;
        if (settings.HiWhole && (ACol == 0 || !HighlightSymbolOnly)) {
          back = scheme.HighRow;
          fore = scheme.HighText;
        }
      }
    }
    if (HighlightTag < 0)
      HighlightSymbol.clear();

    TColor frame = clNone;
    bool tickCell = false;
    if (separator) {
      back = scheme.Sep;
      fore = scheme.SepText;
    } else if (titleRow) {
      back = scheme.Title;
      fore = scheme.TitleText;
    } else if (ACol == 0 && !alertColored && !highlighted) {
      back = scheme.Sym;
      fore = scheme.SymText;
    } else if (ACol == 0 && highlighted && !settings.HiWhole) {
      back = scheme.HighSymb;
      fore = scheme.HighSymbText;
    } else if (field == gfSeparator) {
      back = scheme.Sep;
      fore = scheme.SepText;
    } else if (IsSignedField(field)) {
      const std::string t = Trim(text);
      if (t != "-" && t.rfind("--", 0) != 0 && !alertColored) {
        fore = SignedTextNegative(field, t) ? scheme.Neg : scheme.Pos;
        if (settings.NoSign)
          text = RemoveSigns(field, t);
      }
    } else if (field == gfPctPort) {
      if (text != "-" && text.rfind("--", 0) != 0 && !alertColored && !text.empty() &&
          text[0] == '-') {
        fore = scheme.Neg;
        text.erase(0, 1);
      }
    } else if (field == gfBid || field == gfAsk) {
      if (settings.HighBidAsk && !text.empty()) {
        if (text[0] == '<') {
          text.erase(0, 1);
          frame = scheme.RedDynoRect;
        } else if (text[0] == '>') {
          text.erase(0, 1);
          frame = scheme.GreenDynoRect;
        }
      }
      StripMarks(text);
    } else if (field == gfLast || field == gfLow || field == gfHigh ||
               (field == gfValue && total)) {
      if (!text.empty() && text[0] == '<') {
        text.erase(0, 1);
        if (settings.Lows) {
          if (!settings.SolidHL)
            frame = scheme.RedRect;
          else if (!alertColored) {
            back = scheme.RedHigh;
            fore = scheme.RedText;
          }
        }
      } else if (!text.empty() && text[0] == '>') {
        text.erase(0, 1);
        if (settings.Highs) {
          if (!settings.SolidHL)
            frame = scheme.GreenRect;
          else if (!alertColored) {
            back = scheme.GreenHigh;
            fore = scheme.GreenText;
          }
        }
      }
      StripMarks(text);
    } else if (field == gfTick) {
      tickCell = true;
    }

    if (tickCell) {
      canvas.Brush().Color = back;
      canvas.Brush().Style = bsSolid;
      canvas.FillRect(Rect);
      const std::string t = Trim(text);
      if (t == "D") {
        canvas.Brush().Color = scheme.DnTickBrush;
        canvas.Pen().Color = scheme.DnTickPen;
        SGDrawArrowDown(canvas, Rect);
      } else if (t == "U") {
        canvas.Brush().Color = scheme.UpTickBrush;
        canvas.Pen().Color = scheme.UpTickPen;
        SGDrawArrowUp(canvas, Rect);
      }
    } else if (field == gfChart && !separator && !titleRow) {
      const SmallGraphColors colors = SchemeSmallGraphColors(scheme);
      std::string graphSymbol = trimmedSymbol;
      if (total)
        graphSymbol = PortfolioKey; // empty when the grid shows no valid portfolio
      if (graphSymbol.empty()) {
        canvas.Brush().Color = colors.Back;
        canvas.Brush().Style = bsSolid;
        canvas.FillRect(Rect);
      } else {
        try {
          DrawSmallGraph(graphSymbol, canvas, Rect, 0, colors);
        } catch (...) {
          // A graph that fails leaves its cell as it is.
        }
      }
    } else {
      if (back == scheme.TotalRow || back == scheme.HighRow) {
        if (fore == scheme.Pos)
          fore = scheme.PosHigh;
        else if (fore == scheme.Neg)
          fore = scheme.NegHigh;
      }
      canvas.Brush().Color = back;
      canvas.Brush().Style = bsSolid;
      canvas.Font().Color = fore;
      const int width = Rect.Right - Rect.Left;

      if (titleRow) {
        if (field == gfSeparator || field < 0) {
          canvas.FillRect(Rect);
        } else {
          // The title takes its field's style, like the field's cells.
          canvas.Font() = FieldFont(field);
          canvas.Font().Color = fore;
          // The sort column's title leaves room for the sort mark.
          const int room = width - kTitleFitMargin - (ACol == SortCol ? SortMarkRoom : 0);
          std::string title = FieldLongTitle(field);
          if (canvas.TextWidth(title) > room) {
            title = FieldMediumTitle(field);
            if (canvas.TextWidth(title) > room)
              title = FieldShortTitle(field);
          }
          const TSize size = canvas.TextExtent(title);
          const int y = Rect.Top + (Rect.Bottom - Rect.Top - size.cy) / 2;
          if (ACol == SortCol) {
            canvas.TextRect(Rect, Rect.Left + kTextMargin, y, title);
            canvas.Brush().Color = scheme.SortArrow;
            canvas.Pen().Color = scheme.SortArrow;
            if (SortDown)
              SGDrawSortMarkDown(canvas, Rect);
            else
              SGDrawSortMarkUp(canvas, Rect);
          } else {
            canvas.TextRect(Rect, Rect.Left + (width - size.cx) / 2, y, title);
          }
        }
      } else {
        const TSize size = canvas.TextExtent(text);
        const int y = Rect.Top + (Rect.Bottom - Rect.Top - size.cy) / 2;
        std::string first, second;
        if ((field == gfValueChange || field == gfGain) && SplitValues(text, first, second)) {
          const int middle = Rect.Left + width / 2;
          canvas.TextRect(TRect(Rect.Left, Rect.Top, middle, Rect.Bottom), Rect.Left + kTextMargin,
                          y, first);
          canvas.TextRect(TRect(middle, Rect.Top, Rect.Right, Rect.Bottom),
                          Rect.Right - kTextMargin - canvas.TextWidth(second), y, second);
          canvas.MoveTo(middle, Rect.Top);
          canvas.LineTo(middle, Rect.Bottom);
        } else if (RightAligned(field) || field == gfValueChange || field == gfGain) {
          canvas.TextRect(Rect, Rect.Right - kTextMargin - size.cx, y, text);
        } else {
          canvas.TextRect(Rect, Rect.Left + kTextMargin, y, text);
        }

        // Bulbs after the symbol.
        if (ACol == 0 && !separator && trimmedSymbol != "$CASH") {
          int x = Rect.Right - kNewsBulbRightOffset;
          if (NewsRows.Get(GridKind, ARow)) {
            const double age = GridNow - NewsRowTimes.Get(GridKind, ARow);
            DrawRowNewsBulb(canvas, x, Rect.Top, age, scheme.BulbOutline);
            x -= kBulbStep;
          }
          if (alertActive)
            DrawNewsBulb(canvas, x + 3, Rect.Bottom - kAlertBulbBottomOffset, alertAge);
        }
      }
    }

    if (frame != clNone)
      SGDrawCellFrame(canvas, Rect, frame);
    canvas.Font().SetStyle(keptStyle);

    if (titleRow && DropCol > -1) {
      canvas.Brush().Color = scheme.Insert;
      canvas.Pen().Color = scheme.Insert;
      if (ACol == DropCol - 1 || (ACol == 0 && DropCol == LeftCol()))
        SGDrawInsertRed(canvas, Rect, 1);
      if (ACol == DropCol)
        SGDrawInsertRed(canvas, Rect, 0);
      canvas.Pen().Color = clBlack;
    }
  } catch (...) {
    // An unreadable state ends this cell's painting; the rest of the grid paints.
  }
  canvas.Pen().Color = scheme.InterLine;
  canvas.Pen().Width = 1;
  canvas.Brush().Color = scheme.InterLine;
}
