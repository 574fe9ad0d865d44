#include "platform/StringGridLayout.h"

#include <gtest/gtest.h>

namespace {
// Columns 30, 40, 50, 60 wide; rows 20 high; one fixed row and column.
TGridLayout MakeLayout(int rows = 10, int clientW = 200, int clientH = 100) {
  TGridLayout l;
  l.SetDefaultColWidth(64);
  l.SetDefaultRowHeight(20);
  l.SetCounts(4, rows, 1, 1);
  l.SetColWidth(0, 30);
  l.SetColWidth(1, 40);
  l.SetColWidth(2, 50);
  l.SetColWidth(3, 60);
  l.SetClientSize(clientW, clientH);
  return l;
}
} // namespace

TEST(GridLayout, CellRectLeavesOutLinesAndIsExclusive) {
  const TGridLayout l = MakeLayout();
  struct Case {
    int col, row;
    TRect rect;
  } cases[] = {
      {0, 0, TRect(0, 0, 30, 20)},
      {1, 0, TRect(31, 0, 71, 20)},
      {2, 1, TRect(72, 21, 122, 41)},
      {3, 3, TRect(123, 63, 183, 83)},
      {3, 4, TRect(123, 84, 183, 104)}, // partly visible: full rectangle
      {1, 5, TRect()},                  // starts below the client area
      {4, 0, TRect()},
      {-1, 0, TRect()},
  };
  for (const Case &c : cases)
    EXPECT_EQ(l.CellRect(c.col, c.row), c.rect) << c.col << "," << c.row;
}

TEST(GridLayout, WiderLinesMoveTheCells) {
  TGridLayout l = MakeLayout();
  l.SetGridLineWidth(3);
  EXPECT_EQ(l.CellRect(1, 1), TRect(33, 23, 73, 43));
  EXPECT_EQ(l.XToCol(32), 0);
  EXPECT_EQ(l.XToCol(33), 1);
}

TEST(GridLayout, PointToCell) {
  const TGridLayout l = MakeLayout();
  struct Case {
    int x, y, col, row;
  } cases[] = {
      {0, 0, 0, 0},     {29, 19, 0, 0},  {30, 20, 0, 0},   // a line belongs to the cell before it
      {31, 21, 1, 1},   {182, 99, 3, 4}, {183, 50, 3, 2},  // the last line
      {184, 50, -1, 2}, {-1, 5, -1, 0},  {50, 100, 1, -1}, // outside the client area
  };
  for (const Case &c : cases) {
    EXPECT_EQ(l.XToCol(c.x), c.col) << c.x;
    EXPECT_EQ(l.YToRow(c.y), c.row) << c.y;
  }
}

TEST(GridLayout, FixedCellsStayWhenScrolled) {
  TGridLayout l = MakeLayout(20);
  l.SetLeftCol(2);
  l.SetTopRow(5);
  EXPECT_EQ(l.CellRect(0, 0), TRect(0, 0, 30, 20));
  EXPECT_EQ(l.CellRect(0, 5), TRect(0, 21, 30, 41));
  EXPECT_EQ(l.CellRect(2, 0), TRect(31, 0, 81, 20));
  EXPECT_EQ(l.CellRect(1, 5), TRect()); // scrolled away
  EXPECT_EQ(l.CellRect(2, 4), TRect());
  EXPECT_EQ(l.XToCol(31), 2);
  EXPECT_EQ(l.YToRow(21), 5);
  EXPECT_EQ(l.YToRow(5), 0);
}

TEST(GridLayout, VisibleCountsAndScrollLimits) {
  const TGridLayout l = MakeLayout(10);
  // Rows below the title at y 21, 42, 63 fit; the one at 84 does not.
  EXPECT_EQ(l.VisibleRowCount(), 3);
  EXPECT_EQ(l.LastVisibleRow(), 4);
  EXPECT_EQ(l.MaxTopRow(), 7);
  // Columns at x 31 (40), 72 (50), 123 (60): all fit in 200.
  EXPECT_EQ(l.VisibleColCount(), 3);
  EXPECT_EQ(l.MaxLeftCol(), 1);
  EXPECT_EQ(l.TopRowShowing(9), 7);
  EXPECT_EQ(l.TopRowShowing(2), 1);
  const TGridLayout narrow = MakeLayout(10, 100, 100);
  EXPECT_EQ(narrow.VisibleColCount(), 1);
  EXPECT_EQ(narrow.MaxLeftCol(), 3); // the last column alone is wider than the room
  EXPECT_EQ(narrow.LeftColShowing(2), 2);
}

TEST(GridLayout, DefaultSizeResizesEverything) {
  TGridLayout l = MakeLayout();
  l.SetRowHeight(3, 50);
  l.SetDefaultRowHeight(12);
  for (int r = 0; r < l.RowCount(); ++r)
    EXPECT_EQ(l.RowHeight(r), 12);
  l.SetDefaultColWidth(24);
  EXPECT_EQ(l.ColWidth(0), 24);
  EXPECT_EQ(l.ColWidth(3), 24);
}

TEST(GridLayout, NewColumnsGetTheDefaultWidth) {
  TGridLayout l = MakeLayout();
  l.SetCounts(6, 10, 1, 1);
  EXPECT_EQ(l.ColWidth(1), 40);
  EXPECT_EQ(l.ColWidth(5), 64);
  l.SetCounts(2, 10, 1, 1);
  l.SetCounts(4, 10, 1, 1);
  EXPECT_EQ(l.ColWidth(3), 64);
}

TEST(GridLayout, HiddenColumnTakesNoSpace) {
  TGridLayout l = MakeLayout();
  l.SetColWidth(1, -1);
  EXPECT_EQ(l.CellRect(1, 0), TRect());
  EXPECT_EQ(l.CellRect(2, 0), TRect(31, 0, 81, 20));
  EXPECT_EQ(l.XToCol(31), 2);
}

TEST(GridLayout, SizingBoundaryOnTheTitleRowOnly) {
  const TGridLayout l = MakeLayout();
  struct Case {
    int x, y, col;
  } cases[] = {
      {30, 5, 0},  {27, 5, 0},  {33, 5, 0},  {34, 5, -1},  {26, 5, -1},
      {71, 19, 1}, {72, 20, 1}, {122, 0, 2}, {30, 21, -1}, // a data row
  };
  for (const Case &c : cases)
    EXPECT_EQ(l.SizingColAt(c.x, c.y, 3), c.col) << c.x << "," << c.y;
}

TEST(GridLayout, ScrollPositionsAreClampedToTheCounts) {
  TGridLayout l = MakeLayout(10);
  l.SetTopRow(50);
  EXPECT_EQ(l.TopRow(), 9);
  l.SetTopRow(0);
  EXPECT_EQ(l.TopRow(), 1);
  l.SetTopRow(8);
  l.SetCounts(4, 5, 1, 1);
  EXPECT_EQ(l.TopRow(), 4);
}
