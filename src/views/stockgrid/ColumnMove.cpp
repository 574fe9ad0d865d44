#include "views/stockgrid/ColumnMove.h"

#include <algorithm>

bool ValidViewMap(const std::array<int, GridFieldCount> &fieldCol) {
  if (fieldCol[gfSymbol] != 0)
    return false;
  std::array<bool, MaxViewColumn + 1> used{};
  for (int f = 0; f < GridFieldCount; ++f) {
    const int c = fieldCol[std::size_t(f)];
    if (c < 0)
      continue;
    if (c > MaxViewColumn || (c == 0 && f != gfSymbol) || used[std::size_t(c)])
      return false;
    used[std::size_t(c)] = true;
  }
  return true;
}

bool MoveViewField(std::array<int, GridFieldCount> &fieldCol, int sourceField, int targetField,
                   bool targetInDropColumn) {
  auto shown = [&](int f) {
    return f > gfSymbol && f < GridFieldCount && fieldCol[std::size_t(f)] > 0;
  };
  if (!ValidViewMap(fieldCol) || !shown(sourceField) || !shown(targetField))
    return false;
  int s = fieldCol[std::size_t(sourceField)];
  int t = fieldCol[std::size_t(targetField)];

  // Fields by view column.
  std::array<int, MaxViewColumn + 1> byCol;
  byCol.fill(-1);
  for (int f = 0; f < GridFieldCount; ++f)
    if (fieldCol[std::size_t(f)] >= 0)
      byCol[std::size_t(fieldCol[std::size_t(f)])] = f;

  std::array<int, GridFieldCount> result = fieldCol;
  if (s < t) {
    if (targetInDropColumn)
      t = t - 1;
    for (int c = s + 1; c <= t; ++c)
      if (byCol[std::size_t(c)] >= 0)
        result[std::size_t(byCol[std::size_t(c)])] = c - 1;
  } else {
    for (int c = t; c <= s - 1; ++c)
      if (byCol[std::size_t(c)] >= 0)
        result[std::size_t(byCol[std::size_t(c)])] = c + 1;
  }
  result[std::size_t(sourceField)] = t;
  fieldCol = result;
  return true;
}

void CarryColumnWidths(std::vector<int> &widths, int dragCol, int dropCol) {
  const int n = int(widths.size());
  if (dragCol < 0 || dragCol >= n || dropCol < 0)
    return;
  if (dragCol >= dropCol) {
    const int w = widths[std::size_t(dragCol)];
    for (int c = dragCol; c > dropCol; --c)
      widths[std::size_t(c)] = widths[std::size_t(c - 1)];
    widths[std::size_t(dropCol)] = w;
  } else {
    const int to = std::min(dropCol - 1, n - 1);
    const int w = widths[std::size_t(dragCol)];
    for (int c = dragCol; c < to; ++c)
      widths[std::size_t(c)] = widths[std::size_t(c + 1)];
    widths[std::size_t(to)] = w;
  }
}
