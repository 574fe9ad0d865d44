// Fitting every column of the quote grid to its title and texts after a fill.
#include "platform/GridCellStore.h"
#include "views/stockgrid/GridShapes.h"
#include "views/stockgrid/StockGrid.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <string_view>

namespace {
constexpr int kDefaultChartWidth = 50;
constexpr int kDefaultSeparatorWidth = 4;
constexpr int kTitlePadding = 2;
constexpr int kTextPadding = 4;
constexpr int kBulbRoom = 9;
constexpr int kEmptyColumnWidth = 4;
constexpr const char *kMinSymbolText = "WWAAAA";
constexpr std::string_view kNoValues = "-- --";

// A text without its leading and trailing blanks and control characters.
std::string_view Trimmed(std::string_view text) {
  const auto kept = [](char c) { return static_cast<unsigned char>(c) > ' '; };
  while (!text.empty() && !kept(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && !kept(text.back()))
    text.remove_suffix(1);
  return text;
}
} // namespace

void TStockGrid::AutoFitColumns() {
  const int cols = ColCount();
  auto shownCol = [&](int field) {
    const int c = ColPos[field];
    return c >= 0 && c < cols ? c : -1;
  };

  // The Chart and Separator columns keep their widths (hidden: the defaults).
  const int chartCol = shownCol(gfChart);
  const int sepCol = shownCol(gfSeparator);
  const int chartWidth = chartCol >= 0 ? ColWidths(chartCol) : kDefaultChartWidth;
  const int sepWidth = sepCol >= 0 ? ColWidths(sepCol) : kDefaultSeparatorWidth;

  // Only cells written since the last fit are measured (AutoFitMemo.h).
  TFitKey key;
  key.ColPos = ColPos;
  key.Cols = cols;
  key.FixedRows = FixedRows();
  key.WatchMode = WatchMode;
  for (int f = 0; f < GridFieldCount; ++f)
    if (shownCol(f) >= 0)
      key.Fonts[std::size_t(f)] = FieldFont(f);
  // Widths in a field's font (AutoFitMemo.h).
  const auto widthIn = [&](int f, std::string_view text) { return m_fitMemo.TextWidth(f, text); };
  // What a cell adds to its field: a plain field its text's width with the
  // padding; a two-value field the wider of its two parts.
  const auto measureCell = [&](int f, std::string_view text) {
    TCellFit fit;
    if (f == gfSeparator || f == gfChart)
      return fit;
    const std::string_view t = Trimmed(text);
    const bool twoValue = f == gfGain || (f == gfValueChange && !WatchMode);
    if (twoValue) {
      fit.Data = text != kNoValues && !t.empty();
      const auto blank = t.find(' ');
      if (blank != std::string_view::npos && text != kNoValues)
        fit.Width =
            std::max(widthIn(f, t.substr(0, blank)), widthIn(f, Trimmed(t.substr(blank + 1))));
    } else if (!t.empty() && t != "0" && t != "-" && t != "--") {
      fit.Data = true;
      // The text as drawn: prices below 100 keep the blanks that line up
      // their whole parts.
      fit.Width = widthIn(f, text) + kTextPadding;
    }
    return fit;
  };
  m_fitMemo.Update(*Store(), key, measureCell);

  // Titles are drawn in their field's style; the sort column's also holds the sort mark.
  const int sortField = RowsSorted && SortCol >= 0 ? FieldAtColumn(ColPos, SortCol) : -1;
  for (int f = 0; f < GridFieldCount; ++f)
    if (shownCol(f) >= 0)
      ColWidth[f] =
          widthIn(f, FieldShortTitle(f)) + kTitlePadding + (f == sortField ? SortMarkRoom : 0);

  // The widest of every field over the rows (a width is 0 where a cell has
  // no data, below any title's width) and the fields with data.
  std::array<int, GridFieldCount> widest{};
  std::bitset<GridFieldCount> anyData;
  for (int f = 0; f < GridFieldCount; ++f) {
    widest[std::size_t(f)] = m_fitMemo.Field(f).Widest();
    anyData.set(std::size_t(f), m_fitMemo.Field(f).AnyData());
  }
  std::array<bool, GridFieldCount> hasData{};
  int widestPart12 = 0, widestPart14 = 0;
  for (int f = 0; f < GridFieldCount; ++f) {
    if (shownCol(f) < 0)
      continue;
    if (f == gfSeparator || f == gfChart) {
      hasData[f] = true;
      continue;
    }
    hasData[f] = anyData.test(std::size_t(f));
    if (f == gfGain)
      widestPart14 = widest[std::size_t(f)];
    else if (f == gfValueChange && !WatchMode)
      widestPart12 = widest[std::size_t(f)];
    else if (hasData[f])
      ColWidth[f] = std::max(ColWidth[f], widest[std::size_t(f)]);
  }

  auto setWidth = [&](int field, int width) {
    const int c = shownCol(field);
    if (c >= 0 && ColWidths(c) != width)
      SetColWidths(c, width);
  };
  if (shownCol(gfGain) >= 0 && hasData[gfGain] && widestPart14 > 0) {
    ColWidth[gfGain] = 2 * widestPart14 + kTextPadding;
    setWidth(gfGain, ColWidth[gfGain]);
  }
  if (!WatchMode && shownCol(gfValueChange) >= 0 && hasData[gfValueChange] && widestPart12 > 0) {
    ColWidth[gfValueChange] = 2 * widestPart12 + kTextPadding;
    setWidth(gfValueChange, ColWidth[gfValueChange]);
  }
  // Hidden ones keep the widths they will come back with.
  if (chartCol >= 0)
    ColWidth[gfChart] = chartWidth;
  if (sepCol >= 0)
    ColWidth[gfSeparator] = sepWidth;
  ColWidth[gfSymbol] += kBulbRoom;

  for (int f = 1; f < GridFieldCount; ++f) {
    if (!hasData[f] || f == gfSeparator || f == gfGain || f == gfChart ||
        (f == gfValueChange && !WatchMode))
      continue;
    setWidth(f, ColWidth[f]);
  }
  ColWidth[gfSymbol] = std::max(ColWidth[gfSymbol], MeasureTextWidth(kMinSymbolText));
  SetColWidths(0, ColWidth[gfSymbol]);
  for (int c = 0; c < cols; ++c)
    if (ColWidths(c) == 0)
      SetColWidths(c, kEmptyColumnWidth);
}
