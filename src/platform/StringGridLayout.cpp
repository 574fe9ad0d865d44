#include "platform/StringGridLayout.h"

#include <algorithm>
#include <cstdlib>

void TGridLayout::SetCounts(int cols, int rows, int fixedCols, int fixedRows) {
  m_fixedCols = std::max(fixedCols, 0);
  m_fixedRows = std::max(fixedRows, 0);
  m_cols = std::max(cols, m_fixedCols + 1);
  m_rows = std::max(rows, m_fixedRows + 1);
  m_colWidths.resize(static_cast<std::size_t>(m_cols), m_defaultColWidth);
  m_rowHeights.resize(static_cast<std::size_t>(m_rows), m_defaultRowHeight);
  SetLeftCol(m_leftCol);
  SetTopRow(m_topRow);
}

void TGridLayout::SetDefaultColWidth(int w) {
  m_defaultColWidth = w;
  std::fill(m_colWidths.begin(), m_colWidths.end(), w);
}

void TGridLayout::SetDefaultRowHeight(int h) {
  m_defaultRowHeight = h;
  std::fill(m_rowHeights.begin(), m_rowHeights.end(), h);
}

int TGridLayout::ColWidth(int col) const {
  if (col < 0 || col >= m_cols)
    return m_defaultColWidth;
  return m_colWidths[col];
}

int TGridLayout::RowHeight(int row) const {
  if (row < 0 || row >= m_rows)
    return m_defaultRowHeight;
  return m_rowHeights[row];
}

void TGridLayout::SetColWidth(int col, int w) {
  if (col >= 0 && col < m_cols)
    m_colWidths[col] = w;
}

void TGridLayout::SetRowHeight(int row, int h) {
  if (row >= 0 && row < m_rows)
    m_rowHeights[row] = h;
}

void TGridLayout::SetClientSize(int w, int h) {
  m_clientW = std::max(w, 0);
  m_clientH = std::max(h, 0);
}

void TGridLayout::SetLeftCol(int col) {
  m_leftCol = std::clamp(col, m_fixedCols, std::max(m_fixedCols, m_cols - 1));
}

void TGridLayout::SetTopRow(int row) {
  m_topRow = std::clamp(row, m_fixedRows, std::max(m_fixedRows, m_rows - 1));
}

int TGridLayout::FixedWidth() const {
  int w = 0;
  for (int c = 0; c < m_fixedCols; ++c)
    w += Extent(m_colWidths[c]);
  return w;
}

int TGridLayout::FixedHeight() const {
  int h = 0;
  for (int r = 0; r < m_fixedRows; ++r)
    h += Extent(m_rowHeights[r]);
  return h;
}

// The smallest first scrolled index that still shows the last one fully.
static int MaxFirst(const std::vector<int> &sizes, int fixed, int count, int avail, int line) {
  const int last = count - 1;
  if (last < fixed)
    return fixed;
  auto extent = [&](int i) { return sizes[i] < 0 ? 0 : sizes[i] + line; };
  // The last line may fall outside the client area.
  const int room = avail + line;
  int first = last;
  int used = extent(last);
  while (first - 1 >= fixed && used + extent(first - 1) <= room) {
    --first;
    used += extent(first);
  }
  return first;
}

int TGridLayout::MaxLeftCol() const {
  return MaxFirst(m_colWidths, m_fixedCols, m_cols, m_clientW - FixedWidth(), m_lineWidth);
}

int TGridLayout::MaxTopRow() const {
  return MaxFirst(m_rowHeights, m_fixedRows, m_rows, m_clientH - FixedHeight(), m_lineWidth);
}

int TGridLayout::LeftColShowing(int col) const {
  col = std::clamp(col, m_fixedCols, m_cols - 1);
  return MaxFirst(m_colWidths, m_fixedCols, col + 1, m_clientW - FixedWidth(), m_lineWidth);
}

int TGridLayout::TopRowShowing(int row) const {
  row = std::clamp(row, m_fixedRows, m_rows - 1);
  return MaxFirst(m_rowHeights, m_fixedRows, row + 1, m_clientH - FixedHeight(), m_lineWidth);
}

int TGridLayout::VisibleColCount() const {
  int n = 0;
  int x = FixedWidth();
  for (int c = m_leftCol; c < m_cols; ++c) {
    if (m_colWidths[c] < 0)
      continue;
    if (x + m_colWidths[c] > m_clientW)
      break;
    ++n;
    x += Extent(m_colWidths[c]);
  }
  return n;
}

int TGridLayout::VisibleRowCount() const {
  int n = 0;
  int y = FixedHeight();
  for (int r = m_topRow; r < m_rows; ++r) {
    if (m_rowHeights[r] < 0)
      continue;
    if (y + m_rowHeights[r] > m_clientH)
      break;
    ++n;
    y += Extent(m_rowHeights[r]);
  }
  return n;
}

int TGridLayout::LastVisibleCol() const {
  int last = m_leftCol - 1;
  int x = FixedWidth();
  for (int c = m_leftCol; c < m_cols && x < m_clientW; ++c) {
    if (m_colWidths[c] >= 0)
      last = c;
    x += Extent(m_colWidths[c]);
  }
  return last;
}

int TGridLayout::LastVisibleRow() const {
  int last = m_topRow - 1;
  int y = FixedHeight();
  for (int r = m_topRow; r < m_rows && y < m_clientH; ++r) {
    if (m_rowHeights[r] >= 0)
      last = r;
    y += Extent(m_rowHeights[r]);
  }
  return last;
}

int TGridLayout::ColLeft(int col) const {
  if (col < 0 || col >= m_cols || m_colWidths[col] < 0)
    return -1;
  int x = 0;
  if (col < m_fixedCols) {
    for (int c = 0; c < col; ++c)
      x += Extent(m_colWidths[c]);
  } else {
    if (col < m_leftCol)
      return -1;
    x = FixedWidth();
    for (int c = m_leftCol; c < col && x < m_clientW; ++c)
      x += Extent(m_colWidths[c]);
  }
  return x < m_clientW ? x : -1;
}

int TGridLayout::RowTop(int row) const {
  if (row < 0 || row >= m_rows || m_rowHeights[row] < 0)
    return -1;
  int y = 0;
  if (row < m_fixedRows) {
    for (int r = 0; r < row; ++r)
      y += Extent(m_rowHeights[r]);
  } else {
    if (row < m_topRow)
      return -1;
    y = FixedHeight();
    for (int r = m_topRow; r < row && y < m_clientH; ++r)
      y += Extent(m_rowHeights[r]);
  }
  return y < m_clientH ? y : -1;
}

TRect TGridLayout::CellRect(int col, int row) const {
  const int x = ColLeft(col);
  const int y = RowTop(row);
  if (x < 0 || y < 0)
    return TRect();
  return TRect(x, y, x + m_colWidths[col], y + m_rowHeights[row]);
}

int TGridLayout::ScrolledFrom(int first, int count, int pos, bool cols) const {
  const auto &sizes = cols ? m_colWidths : m_rowHeights;
  const int fixed = cols ? m_fixedCols : m_fixedRows;
  const int limit = cols ? m_clientW : m_clientH;
  if (pos < 0 || pos >= limit)
    return -1;
  int at = 0;
  for (int i = 0; i < fixed && i < count; ++i) {
    at += Extent(sizes[i]);
    if (pos < at)
      return i;
  }
  for (int i = first; i < count; ++i) {
    at += Extent(sizes[i]);
    if (pos < at)
      return i;
    if (at >= limit)
      break;
  }
  return -1;
}

int TGridLayout::XToCol(int x) const { return ScrolledFrom(m_leftCol, m_cols, x, true); }

int TGridLayout::YToRow(int y) const { return ScrolledFrom(m_topRow, m_rows, y, false); }

int TGridLayout::GridRight() const {
  int x = FixedWidth();
  for (int c = m_leftCol; c < m_cols && x < m_clientW; ++c)
    x += Extent(m_colWidths[c]);
  return std::min(x, m_clientW);
}

int TGridLayout::GridBottom() const {
  int y = FixedHeight();
  for (int r = m_topRow; r < m_rows && y < m_clientH; ++r)
    y += Extent(m_rowHeights[r]);
  return std::min(y, m_clientH);
}

int TGridLayout::SizingColAt(int x, int y, int margin) const {
  if (y < 0 || y >= std::min(FixedHeight(), m_clientH) || x < 0 || x >= m_clientW)
    return -1;
  int best = -1;
  int bestDist = margin + 1;
  auto consider = [&](int c, int left) {
    if (m_colWidths[c] < 0)
      return;
    // The boundary is the grid line after the cell; on the line counts as 0.
    const int b0 = left + m_colWidths[c];
    const int b1 = b0 + std::max(m_lineWidth, 1) - 1;
    const int d = x < b0 ? b0 - x : (x > b1 ? x - b1 : 0);
    if (d <= bestDist) { // ties go to the later column, so a 0-wide one can be reopened
      best = c;
      bestDist = d;
    }
  };
  int left = 0;
  for (int c = 0; c < m_fixedCols && c < m_cols; ++c) {
    consider(c, left);
    left += Extent(m_colWidths[c]);
  }
  for (int c = m_leftCol; c < m_cols && left < m_clientW; ++c) {
    consider(c, left);
    left += Extent(m_colWidths[c]);
  }
  return bestDist <= margin ? best : -1;
}
