#pragma once
// The geometry of a grid as plain arithmetic: where cells lie in the client
// area for given sizes, counts and scroll position, which cell a point hits,
// how far the grid can scroll and which title boundary a point can size.
//
// Fixed columns start at x = 0, then the scrolled columns from LeftCol on;
// every column is its width followed by GridLineWidth pixels of grid line
// (rows likewise). A cell rectangle leaves the lines out and its right and
// bottom edges are exclusive. A negative width or height hides a column or
// row, line included.
#include "platform/Rect.h"

#include <vector>

class TGridLayout {
public:
  // ---- Counts and sizes
  int ColCount() const { return m_cols; }
  int RowCount() const { return m_rows; }
  int FixedCols() const { return m_fixedCols; }
  int FixedRows() const { return m_fixedRows; }
  // New columns and rows get the default size; surviving ones keep theirs.
  // Scroll positions are clamped to the new counts.
  void SetCounts(int cols, int rows, int fixedCols, int fixedRows);

  int DefaultColWidth() const { return m_defaultColWidth; }
  int DefaultRowHeight() const { return m_defaultRowHeight; }
  // Setting a default size gives it to every column (row).
  void SetDefaultColWidth(int w);
  void SetDefaultRowHeight(int h);
  int GridLineWidth() const { return m_lineWidth; }
  void SetGridLineWidth(int w) { m_lineWidth = w < 0 ? 0 : w; }

  int ColWidth(int col) const;
  int RowHeight(int row) const;
  void SetColWidth(int col, int w);
  void SetRowHeight(int row, int h);

  // ---- Client area and scrolling
  int ClientWidth() const { return m_clientW; }
  int ClientHeight() const { return m_clientH; }
  void SetClientSize(int w, int h);

  int LeftCol() const { return m_leftCol; }
  int TopRow() const { return m_topRow; }
  // Clamped to FixedCols..ColCount-1 (FixedRows..RowCount-1).
  void SetLeftCol(int col);
  void SetTopRow(int row);
  // The largest useful LeftCol/TopRow: the one that shows the last column
  // (row) fully at the right (bottom) edge, or the last one itself when it is
  // wider (taller) than the scrolled area.
  int MaxLeftCol() const;
  int MaxTopRow() const;
  // The LeftCol (TopRow) that shows col (row) fully at the right (bottom)
  // edge, or col (row) itself when it does not fit.
  int LeftColShowing(int col) const;
  int TopRowShowing(int row) const;

  int FixedWidth() const;  // fixed columns with their lines
  int FixedHeight() const; // fixed rows with their lines
  // Scrolled columns (rows) from LeftCol (TopRow) that are fully visible.
  int VisibleColCount() const;
  int VisibleRowCount() const;
  // The last scrolled column (row) that is at least partly visible; LeftCol-1
  // (TopRow-1) when none is.
  int LastVisibleCol() const;
  int LastVisibleRow() const;

  // ---- Hit testing and placement
  // Client x of a column's left edge, -1 when the column is not visible
  // (scrolled away, hidden, or starting beyond the client area).
  int ColLeft(int col) const;
  int RowTop(int row) const;
  bool IsColVisible(int col) const { return ColLeft(col) >= 0; }
  bool IsRowVisible(int row) const { return RowTop(row) >= 0; }
  // The cell without its lines; empty (all zero) when not visible. Partly
  // visible cells give their full, unclipped rectangle.
  TRect CellRect(int col, int row) const;
  // The column (row) under a client x (y); a grid line belongs to the cell
  // before it. -1 outside the cells.
  int XToCol(int x) const;
  int YToRow(int y) const;
  // Right of the last visible column, and below the last visible row, lines
  // included (at most the client size).
  int GridRight() const;
  int GridBottom() const;

  // The column whose right boundary lies within margin pixels of x on a fixed
  // row at y; -1 when none. The nearest boundary wins.
  int SizingColAt(int x, int y, int margin) const;

private:
  int Extent(int size) const { return size < 0 ? 0 : size + m_lineWidth; }
  int ScrolledFrom(int first, int count, int pos, bool cols) const;

  int m_cols = 1;
  int m_rows = 1;
  int m_fixedCols = 0;
  int m_fixedRows = 0;
  int m_defaultColWidth = 64;
  int m_defaultRowHeight = 24;
  int m_lineWidth = 1;
  std::vector<int> m_colWidths;
  std::vector<int> m_rowHeights;
  int m_clientW = 0;
  int m_clientH = 0;
  int m_leftCol = 0;
  int m_topRow = 0;
};
