#include "platform/StringGrid.h"

#include "StringGridTestEvents.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollBar>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace gridtest;

namespace {

// A grid of 6 columns of 40 pixels and 30 rows of 20, one fixed row and
// column, shown so that its viewport has its size.
class StringGridTest : public ::testing::Test {
protected:
  void SetUp() override {
    grid.setFrameStyle(QFrame::NoFrame);
    grid.SetColCount(6);
    grid.SetRowCount(30);
    grid.SetDefaultColWidth(40);
    grid.SetDefaultRowHeight(20);
    grid.resize(400, 200);
    grid.show();
    QApplication::processEvents();
  }
  QPoint CellCenter(int col, int row) const {
    const TRect r = grid.CellRect(col, row);
    return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  QWidget *vp() { return grid.viewport(); }

  TStringGrid grid;
  std::vector<std::string> log;
};

std::string ButtonText(TMouseButton b) { return b == mbLeft ? "L" : b == mbRight ? "R" : "M"; }

} // namespace

TEST_F(StringGridTest, CellsSurviveCountChanges) {
  grid.SetCells(1, 1, "one");
  grid.SetCells(5, 29, "last");
  grid.SetObjects(0, 3, 1003);
  grid.SetColCount(3);
  grid.SetRowCount(10);
  grid.SetColCount(45);
  grid.SetRowCount(2000);
  EXPECT_EQ(grid.Cells(1, 1), "one");
  EXPECT_EQ(grid.Objects(0, 3), 1003);
  EXPECT_EQ(grid.Cells(5, 29), ""); // was cut off in between
  EXPECT_EQ(grid.ColCount(), 45);
  EXPECT_EQ(grid.RowCount(), 2000);
  // The fixed column and row leave at least one of each to scroll.
  grid.SetColCount(1);
  EXPECT_EQ(grid.ColCount(), 2);
}

TEST_F(StringGridTest, CellRectWithLines) {
  EXPECT_EQ(grid.CellRect(0, 0), TRect(0, 0, 40, 20));
  EXPECT_EQ(grid.CellRect(1, 0), TRect(41, 0, 81, 20));
  EXPECT_EQ(grid.CellRect(2, 3), TRect(82, 63, 122, 83));
  grid.SetColWidths(1, 10);
  EXPECT_EQ(grid.CellRect(2, 3), TRect(52, 63, 92, 83));
  EXPECT_EQ(grid.CellRect(1, 20), TRect()); // below the client area
}

TEST_F(StringGridTest, DefaultRowHeightResizesEveryRow) {
  grid.SetRowHeights(4, 55);
  grid.SetDefaultRowHeight(12);
  for (int r = 0; r < grid.RowCount(); ++r)
    ASSERT_EQ(grid.RowHeights(r), 12) << r;
  EXPECT_EQ(grid.CellRect(1, 2), TRect(41, 26, 81, 38));
}

TEST_F(StringGridTest, MouseToCell) {
  struct Case {
    int x, y, col, row;
  } cases[] = {{5, 5, 0, 0},    {45, 25, 1, 1},    {40, 20, 0, 0},
               {246, 5, -1, 0}, {399, 199, -1, 9}, {-3, 5, -1, 0}};
  for (const Case &c : cases) {
    int col = 99, row = 99;
    grid.MouseToCell(c.x, c.y, col, row);
    EXPECT_EQ(col, c.col) << c.x << "," << c.y;
    EXPECT_EQ(row, c.row) << c.x << "," << c.y;
  }
}

TEST_F(StringGridTest, FixedRowAndColumnDoNotScroll) {
  int changes = 0;
  grid.OnTopLeftChanged = [&] { ++changes; };
  grid.SetColCount(20);
  grid.SetTopRow(5);
  EXPECT_EQ(grid.TopRow(), 5);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(grid.CellRect(0, 0), TRect(0, 0, 40, 20));
  EXPECT_EQ(grid.CellRect(0, 5), TRect(0, 21, 40, 41));
  EXPECT_EQ(grid.CellRect(0, 1), TRect());
  grid.SetLeftCol(3);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(grid.CellRect(0, 5), TRect(0, 21, 40, 41));
  EXPECT_EQ(grid.CellRect(3, 0), TRect(41, 0, 81, 20));
  EXPECT_EQ(grid.CellRect(1, 0), TRect());
  int col = -1, row = -1;
  grid.MouseToCell(45, 25, col, row);
  EXPECT_EQ(col, 3);
  EXPECT_EQ(row, 5);
  grid.SetTopRow(5); // no change, no event
  EXPECT_EQ(changes, 2);
}

TEST_F(StringGridTest, TopRowStopsWhereTheLastRowIsShown) {
  const int visible = grid.VisibleRowCount();
  EXPECT_GT(visible, 0);
  grid.SetTopRow(1000);
  EXPECT_EQ(grid.TopRow(), grid.RowCount() - visible);
  EXPECT_FALSE(grid.CellRect(1, grid.RowCount() - 1).IsEmpty());
}

TEST_F(StringGridTest, ScrollBarThumbAndWheelMoveTheTopRow) {
  QScrollBar *v = grid.verticalScrollBar();
  EXPECT_EQ(v->minimum(), 1);
  EXPECT_EQ(v->maximum(), grid.RowCount() - grid.VisibleRowCount());
  v->setSliderDown(true);
  v->setSliderPosition(7); // dragging the thumb scrolls at once
  EXPECT_EQ(grid.TopRow(), 7);
  v->setSliderDown(false);
  const int before = grid.TopRow();
  QWheelEvent wheel(QPointF(50, 50), QPointF(vp()->mapToGlobal(QPoint(50, 50))), QPoint(),
                    QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(vp(), &wheel);
  EXPECT_GT(grid.TopRow(), before);
}

TEST_F(StringGridTest, SingleClickEventOrder) {
  grid.OnMouseDown = [&](TMouseButton b, TShiftState s, int x, int y) {
    log.push_back("down " + ButtonText(b) + ((s & ssLeft) ? " held" : "") +
                  ((s & ssDouble) ? " double" : "") + " " + std::to_string(x) + "," +
                  std::to_string(y));
  };
  grid.OnMouseUp = [&](TMouseButton b, TShiftState s, int, int) {
    log.push_back("up " + ButtonText(b) + ((s & ssLeft) ? " held" : ""));
  };
  grid.OnClick = [&] { log.push_back("click"); };
  grid.OnDblClick = [&] { log.push_back("dbl"); };
  Click(vp(), QPoint(50, 30));
  EXPECT_EQ(log, (std::vector<std::string>{"down L held 50,30", "up L", "click"}));
  log.clear();
  Click(vp(), QPoint(50, 30), Qt::RightButton);
  EXPECT_EQ(log,
            (std::vector<std::string>{"down R 50,30", "up R"})); // no click for the right button
}

TEST_F(StringGridTest, DoubleClickComesBeforeTheSecondMouseDown) {
  grid.OnMouseDown = [&](TMouseButton, TShiftState s, int, int) {
    log.push_back((s & ssDouble) ? "down double" : "down");
  };
  grid.OnMouseUp = [&](TMouseButton, TShiftState, int, int) { log.push_back("up"); };
  grid.OnClick = [&] { log.push_back("click"); };
  grid.OnDblClick = [&] { log.push_back("dbl"); };
  DoubleClick(vp(), QPoint(60, 50));
  EXPECT_EQ(log, (std::vector<std::string>{"down", "up", "click", "dbl", "down double", "up"}));
}

TEST_F(StringGridTest, DoubleClickAfterAnAlreadyReportedPress) {
  // Some window systems deliver the second press before the double click.
  grid.OnMouseDown = [&](TMouseButton, TShiftState, int, int) { log.push_back("down"); };
  grid.OnMouseUp = [&](TMouseButton, TShiftState, int, int) { log.push_back("up"); };
  grid.OnClick = [&] { log.push_back("click"); };
  grid.OnDblClick = [&] { log.push_back("dbl"); };
  Click(vp(), QPoint(60, 50));
  Press(vp(), QPoint(60, 50));
  Mouse(vp(), QEvent::MouseButtonDblClick, Qt::LeftButton, QPoint(60, 50), Qt::LeftButton);
  Release(vp(), QPoint(60, 50));
  EXPECT_EQ(log, (std::vector<std::string>{"down", "up", "click", "down", "dbl", "up"}));
}

TEST_F(StringGridTest, ModifiersReachTheHandler) {
  TShiftState seen = 0;
  grid.OnMouseDown = [&](TMouseButton, TShiftState s, int, int) { seen = s; };
  Press(vp(), QPoint(50, 30), Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier);
  Release(vp(), QPoint(50, 30));
  EXPECT_EQ(seen, ssShift | ssCtrl | ssLeft);
}

TEST_F(StringGridTest, SizingStateIsSetWhenMouseDownFires) {
  std::vector<bool> sizingAtDown, sizingAtUp;
  std::vector<int> resized;
  grid.OnMouseDown = [&](TMouseButton, TShiftState, int, int) {
    sizingAtDown.push_back(grid.IsSizing() && grid.GridState() == gsColSizing);
  };
  grid.OnMouseUp = [&](TMouseButton, TShiftState, int, int) {
    sizingAtUp.push_back(grid.IsSizing());
  };
  grid.OnColumnResized = [&](int col) { resized.push_back(col); };
  int clicks = 0;
  grid.OnClick = [&] { ++clicks; };

  // The boundary after column 1 is the line at x = 81.
  Press(vp(), QPoint(82, 10));
  Move(vp(), QPoint(102, 10), Qt::LeftButton);
  EXPECT_EQ(grid.ColWidths(1), 60);
  Release(vp(), QPoint(102, 10));
  EXPECT_EQ(sizingAtDown, std::vector<bool>{true});
  EXPECT_EQ(sizingAtUp, std::vector<bool>{true});
  EXPECT_EQ(resized, std::vector<int>{1});
  EXPECT_FALSE(grid.IsSizing());
  EXPECT_EQ(clicks, 0);

  // Inside a title cell, and on a data-row boundary, nothing is sized.
  Click(vp(), QPoint(120, 10));
  Click(vp(), QPoint(142, 30));
  EXPECT_EQ(sizingAtDown, (std::vector<bool>{true, false, false}));
  EXPECT_EQ(resized.size(), 1u);
  EXPECT_EQ(clicks, 2);
}

TEST_F(StringGridTest, ClickOnABoundaryIsNoResizeAndNoClick) {
  int resized = 0, clicks = 0;
  grid.OnColumnResized = [&](int) { ++resized; };
  grid.OnClick = [&] { ++clicks; };
  Click(vp(), QPoint(81, 10));
  EXPECT_EQ(resized, 0);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(grid.ColWidths(1), 40);
  // With sizing switched off the boundary is an ordinary title click.
  grid.SetColSizing(false);
  bool sizing = true;
  grid.OnMouseDown = [&](TMouseButton, TShiftState, int, int) { sizing = grid.IsSizing(); };
  Press(vp(), QPoint(81, 10));
  Move(vp(), QPoint(95, 10), Qt::LeftButton);
  Release(vp(), QPoint(95, 10));
  EXPECT_FALSE(sizing);
  EXPECT_EQ(grid.ColWidths(1), 40);
}

TEST_F(StringGridTest, KeyDownCanConsumeTheKey) {
  std::vector<int> keys;
  bool consume = true;
  grid.OnKeyDown = [&](int &key, TShiftState) {
    keys.push_back(key);
    if (consume)
      key = 0;
  };
  grid.SetRow(3);
  Key(&grid, Qt::Key_Down);
  EXPECT_EQ(grid.Row(), 3);
  consume = false;
  Key(&grid, Qt::Key_Down);
  EXPECT_EQ(grid.Row(), 4);
  Key(&grid, Qt::Key_A);
  Key(&grid, Qt::Key_Return);
  EXPECT_EQ(keys, (std::vector<int>{VK_DOWN, VK_DOWN, 'A', VK_RETURN}));
}

TEST_F(StringGridTest, DefaultNavigationScrollsTheCurrentRowIntoView) {
  grid.SetRow(1);
  for (int i = 0; i < 12; ++i)
    Key(&grid, Qt::Key_Down);
  EXPECT_EQ(grid.Row(), 13);
  EXPECT_EQ(grid.TopRow() + grid.VisibleRowCount() - 1, 13);
  Key(&grid, Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(grid.Row(), 1);
  EXPECT_EQ(grid.TopRow(), 1);
}

TEST_F(StringGridTest, RightClickShowsThePopupMenu) {
  QMenu menu;
  menu.addAction("Item");
  grid.SetPopupMenu(&menu);
  QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(50, 30), vp()->mapToGlobal(QPoint(50, 30)));
  QApplication::sendEvent(vp(), &e);
  EXPECT_TRUE(menu.isVisible());
  menu.hide();
}

TEST_F(StringGridTest, HintPerCell) {
  std::string asked;
  grid.OnGetHint = [&](int c, int r) {
    asked = std::to_string(c) + "," + std::to_string(r);
    return std::string();
  };
  QHelpEvent e(QEvent::ToolTip, QPoint(45, 25), vp()->mapToGlobal(QPoint(45, 25)));
  QApplication::sendEvent(vp(), &e);
  EXPECT_EQ(asked, "1,1");
}
