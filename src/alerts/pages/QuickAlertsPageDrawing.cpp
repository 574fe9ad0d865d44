#include "alerts/pages/QuickAlertsPageDrawing.h"

#include "alerts/pages/QuickAlertsPageModel.h"
#include "platform/StringUtils.h"

#include <algorithm>

namespace {

constexpr int kInset = 2; // texts stand 2 pixels from the cell's edge
constexpr const char *kNoValue = "--";

int CentredTop(TCanvas &c, const TRect &rect, const std::string &text) {
  return rect.Top + (rect.Height() - c.TextHeight(text.empty() ? std::string("W") : text)) / 2;
}

void DrawCheckBox(TCanvas &c, const TRect &rect, bool checked) {
  const int side = std::max(4, rect.Height() - 2);
  const int left = rect.Left + (rect.Width() - side) / 2;
  const int top = rect.Top + (rect.Height() - side) / 2;
  c.Pen().Color = clBlack;
  c.Pen().Width = 1;
  c.Pen().Style = psSolid;
  c.Brush().Style = bsClear;
  c.Rectangle(left, top, left + side, top + side);
  c.Brush().Style = bsSolid;
  if (!checked)
    return;
  // A tick of two 2-pixel strokes.
  c.Pen().Width = 2;
  c.MoveTo(left + 3, top + side / 2);
  c.LineTo(left + side / 2 - 1, top + side - 4);
  c.LineTo(left + side - 3, top + 3);
  c.Pen().Width = 1;
}

} // namespace

void DrawQuickAlertCell(TCanvas &c, int col, int row, const TRect &rect, const std::string &text,
                        TGridDrawState state, const TQuickCellColors &colors) {
  const bool fixed = col < 1 || row < 1;
  const bool selected = !fixed && (state & gdSelected);
  c.Brush().Style = bsSolid;
  if (fixed)
    c.Brush().Color = TQuickCellColors::Fixed;
  else if (selected)
    c.Brush().Color = colors.Selected;
  else
    c.Brush().Color = row % 2 == 1 ? TQuickCellColors::OddRow : TQuickCellColors::EvenRow;
  c.FillRect(rect);
  c.Font().Color = selected ? colors.SelectedText : TQuickCellColors::Text;
  c.SetBkMode(TRANSPARENT);

  if (row < 1) {
    const int w = c.TextWidth(text);
    c.TextOut(rect.Left + (rect.Width() - w) / 2, CentredTop(c, rect, text), text);
    return;
  }
  if (col < 1) {
    c.TextOut(rect.Left + kInset, CentredTop(c, rect, text), text);
    return;
  }
  if (col == QuickColNews) {
    DrawCheckBox(c, rect, text == TQuickAlertsModel::NewsYes);
    return;
  }
  const std::string shown = Trim(text);
  if (!shown.empty() && shown != "-") {
    c.TextOut(rect.Right - kInset - c.TextWidth(shown), CentredTop(c, rect, shown), shown);
  } else {
    const int w = c.TextWidth(kNoValue);
    c.TextOut(rect.Left + (rect.Width() - w) / 2, CentredTop(c, rect, kNoValue), kNoValue);
  }
}
