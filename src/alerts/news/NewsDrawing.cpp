#include "alerts/news/NewsDrawing.h"

#include "core/NewsBulb.h"
#include "platform/Canvas.h"
#include "platform/Color.h"

namespace {

void Fill(TCanvas &canvas, const TRect &rect, TColor color) {
  canvas.Brush().Bitmap.reset();
  canvas.Brush().Style = bsSolid;
  canvas.Brush().Color = color;
  canvas.FillRect(rect);
}

// Text at left + 2, centred vertically, over what is already drawn.
void LeftText(TCanvas &canvas, const TRect &rect, const std::string &text) {
  canvas.SetBkMode(TRANSPARENT);
  canvas.SetTextAlign(TA_LEFT | TA_TOP);
  const int y = rect.Top + (rect.Height() - canvas.TextHeight(text.empty() ? "X" : text)) / 2;
  canvas.TextRect(rect, rect.Left + 2, y, text);
}

} // namespace

void DrawNewsTitleCell(TCanvas &canvas, const TRect &rect, const std::string &text) {
  Fill(canvas, rect, clSilver);
  canvas.Font().Bold = true;
  canvas.Font().Italic = false;
  canvas.Font().Color = clBlack;
  canvas.SetBkMode(TRANSPARENT);
  canvas.SetTextAlign(TA_LEFT | TA_TOP);
  const TSize size = canvas.TextExtent(text);
  canvas.TextRect(rect, rect.Left + (rect.Width() - size.cx) / 2,
                  rect.Top + (rect.Height() - size.cy) / 2, text);
}

void DrawNewsReadCell(TCanvas &canvas, const TRect &rect, bool selected, bool read) {
  Fill(canvas, rect, selected ? clNavy : clWhite);
  if (!read)
    return;
  const int x0 = rect.Left + 1;
  const int m = (rect.Top + rect.Bottom) / 2;
  const int h = (rect.Bottom - rect.Top - 6) / 2;
  canvas.Pen() = TPen{selected ? clLime : clGreen, 2, psSolid, pmCopy};
  canvas.MoveTo(x0 + 1, m + 1);
  canvas.LineTo(x0 + h, m + h);
  canvas.MoveTo(x0 + rect.Bottom - rect.Top - 6, m - h);
  canvas.LineTo(x0 + h, m + h);
}

void DrawNewsTextCell(TCanvas &canvas, const TRect &rect, const std::string &text, bool selected) {
  Fill(canvas, rect, selected ? clNavy : clWhite);
  canvas.Font().Bold = false;
  canvas.Font().Italic = false;
  canvas.Font().Underline = false;
  canvas.Font().Color = selected ? clWhite : clBlack;
  LeftText(canvas, rect, text);
}

void DrawNewsSymbolItem(TCanvas &canvas, const TRect &rect, const std::string &symbol,
                        bool selected, bool fetching, bool bulbLit, double bulbAgeDays) {
  Fill(canvas, rect, selected ? clNavy : clSilver);
  if (fetching)
    canvas.Font().Color = clRed;
  else
    canvas.Font().Color = selected ? clWhite : clBlack;
  LeftText(canvas, rect, symbol);
  if (bulbLit)
    DrawNewsBulbLarge(canvas, rect.Right - 8, rect.Top, bulbAgeDays);
}
