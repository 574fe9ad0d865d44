// Plain drawing of the quote grid's cells: the scheme's background and text
// colours by row kind, titles in the title row, the cell text without its
// leading "<" or ">" mark, numbers right-aligned.
#include "views/stockgrid/ColorScheme.h"
#include "views/stockgrid/GridFill.h"
#include "views/stockgrid/StockGrid.h"

namespace {

constexpr int kTextMargin = 2;

bool LeftAligned(int field) {
  switch (field) {
  case gfSymbol:
  case gfCompanyName:
  case gfNote:
  case gfExchange:
  case gfTick:
    return true;
  default:
    return false;
  }
}

bool SignedField(int field) {
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

// The text without the painter's marks ("<" at the low, ">" at the high).
std::string Displayed(const std::string &text) {
  if (!text.empty() && (text[0] == '<' || text[0] == '>'))
    return text.substr(1);
  return text;
}

} // namespace

void TStockGrid::DrawStockCell(int ACol, int ARow, const TRect &Rect, TGridDrawState State) {
  (void)State;
  const ColorScheme &scheme = CurrentScheme;
  TCanvas &canvas = Canvas();
  const int field = FieldAtColumn(ColPos, ACol);

  std::string text;
  TColor back = scheme.NoStripeRow;
  TColor fore = scheme.NoStripeText;
  TFont font = FieldFont(field);
  bool left = LeftAligned(field);

  if (ARow < FixedRows()) {
    back = scheme.Title;
    fore = scheme.TitleText;
    font = ViewFont();
    text = field >= 0 ? FieldLongTitle(field) : "";
    left = true;
  } else {
    text = Displayed(Cells(ACol, ARow));
    const std::intptr_t tag = Objects(0, ARow);
    const bool total = tag == TotalRowTag;
    if (total) {
      back = scheme.TotalRow;
      fore = scheme.TotalText;
    } else if (tag >= SeparatorRowTagBase && tag < TotalRowTag) {
      back = scheme.Sep;
      fore = scheme.SepText;
    } else if (ACol == 0) {
      back = scheme.Sym;
      fore = scheme.SymText;
    } else if (field == gfSeparator) {
      back = scheme.Sep;
      fore = scheme.SepText;
    }
    if (SignedField(field) && text.size() > 1 && text != "--") {
      if (text[0] == '+')
        fore = total ? scheme.PosHigh : scheme.Pos;
      else if (text[0] == '-')
        fore = total ? scheme.NegHigh : scheme.Neg;
    }
  }

  canvas.Brush().Color = back;
  canvas.Brush().Style = bsSolid;
  canvas.Font() = font;
  canvas.Font().Color = fore;
  canvas.SetBkMode(TRANSPARENT);
  const TSize size = canvas.TextExtent(text);
  const int x = left ? Rect.Left + kTextMargin : Rect.Right - kTextMargin - size.cx;
  const int y = Rect.Top + (Rect.Bottom - Rect.Top - size.cy) / 2;
  canvas.TextRect(Rect, x, y, text);
}
