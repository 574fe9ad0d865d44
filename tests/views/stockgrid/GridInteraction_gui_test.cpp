// The grid driven by mouse and key events: highlighting, letter search,
// charts and news opened from rows, title-click sorting and column dragging.
#include "views/stockgrid/GridTestSupport.h"

#include "alerts/news/NewsForm.h"
#include "alerts/news/NewsWindowOpener.h"
#include "charts/ChartWindow.h"
#include "core/IniFile.h"
#include "core/ProgramFolder.h"
#include "platform/RecordingCanvas.h"
#include "platform/StringGridTestEvents.h"
#include "support/EventWait.h"
#include "views/stockgrid/GridDragObject.h"
#include "views/stockgrid/ShowStocksThread.h"
#include "views/stockgrid/GridShapes.h"
#include "views/stockgrid/StockGrid.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>

namespace {

class GridInteractionTest : public GridTest {
protected:
  void SetUp() override {
    GridTest::SetUp();
    SetProgramFolder(dir.path().toStdString() + "/");
    OpenSettingsFile();
    view.FieldCol.fill(-1);
    view.FieldCol[gfSymbol] = 0;
    view.FieldCol[gfBid] = 1;    // A
    view.FieldCol[gfAsk] = 2;    // B
    view.FieldCol[gfLast] = 3;   // C
    view.FieldCol[gfChange] = 4; // D
    view.Name = "Mine";
    grid = std::make_unique<TStockGrid>();
    grid->MeasureLabel = &label;
    grid->View = &view;
    grid->GridKind = gkMainGrid;
    grid->resize(600, 300);
    grid->LoadColumnMap();
    grid->SetColCount(5);
    grid->SetRowCount(5);
    for (int c = 0; c < 5; ++c)
      grid->SetColWidths(c, 60 + 10 * c);
    Row(1, "AAA", 1);
    Row(2, "BBB", 2);
    Row(3, "ABC", 3);
    Row(4, "TOTAL", TotalRowTag);
  }
  void TearDown() override {
    for (QWidget *w : QApplication::topLevelWidgets())
      if (qobject_cast<TdlgChart *>(w))
        delete w;
    if (TfrmNews *news = NewsWindow()) {
      news->close();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    grid.reset();
    EXPECT_TRUE(PollUntil([] { return ShowStocksThread::RunningCount() == 0; }));
    SetProgramFolder("");
    GridTest::TearDown();
  }

  void Row(int row, const std::string &symbol, std::intptr_t tag) {
    grid->SetCells(0, row, symbol);
    grid->SetObjects(0, row, tag);
  }
  QPoint CellCentre(int col, int row) const {
    const TRect r = grid->CellRect(col, row);
    return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  void Click(int col, int row) { gridtest::Click(grid->viewport(), CellCentre(col, row)); }
  void Key(Qt::Key key) { gridtest::Key(grid.get(), key); }
  int ChartWindowCount() const {
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
      n += qobject_cast<TdlgChart *>(w) != nullptr;
    return n;
  }
  std::string ReadSettings() const {
    std::ifstream in(dir.filePath(QStringLiteral("BOURSE.INI")).toStdString());
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  QTemporaryDir dir;
  ViewRecord view;
  QLabel label{QStringLiteral("A")};
  std::unique_ptr<TStockGrid> grid;
};

TEST_F(GridInteractionTest, ClickHighlightsAndASecondClickTogglesSymbolOnly) {
  grid->show();
  Click(2, 2);
  EXPECT_EQ(grid->HighlightTag, 2);
  EXPECT_EQ(grid->HighlightSymbol, "BBB");
  EXPECT_FALSE(grid->HighlightSymbolOnly);
  clock.AdvanceMs(1000);
  Click(2, 2);
  EXPECT_TRUE(grid->HighlightSymbolOnly);
  clock.AdvanceMs(1000);
  Click(3, 2);
  EXPECT_FALSE(grid->HighlightSymbolOnly);
  Click(1, 3);
  EXPECT_EQ(grid->HighlightTag, 3);

  // The click that belongs to a double click toggles nothing.
  grid->GridDblClick();
  grid->GridMouseDown(mbLeft, ssLeft, CellCentre(1, 3).x(), CellCentre(1, 3).y());
  EXPECT_FALSE(grid->HighlightSymbolOnly);
}

TEST_F(GridInteractionTest, UpDownAndLetters) {
  grid->show();
  // Nothing highlighted: Up and Down do nothing.
  Key(Qt::Key_Down);
  Key(Qt::Key_Up);
  EXPECT_EQ(grid->HighlightTag, 0);

  Key(Qt::Key_A);
  EXPECT_EQ(grid->HighlightTag, 1);
  Key(Qt::Key_A);
  EXPECT_EQ(grid->HighlightTag, 3);
  Key(Qt::Key_A); // wraps to the top
  EXPECT_EQ(grid->HighlightTag, 1);
  Key(Qt::Key_Z); // no such row: one round, nothing changes
  EXPECT_EQ(grid->HighlightTag, 1);
  Key(Qt::Key_Up); // already on row 1
  EXPECT_EQ(grid->HighlightTag, 1);
  Key(Qt::Key_Down);
  EXPECT_EQ(grid->HighlightTag, 2);
  Key(Qt::Key_Down);
  Key(Qt::Key_Down);
  Key(Qt::Key_Down); // the last row is the limit
  EXPECT_EQ(grid->HighlightTag, TotalRowTag);
}

TEST_F(GridInteractionTest, ChartWindowsAreFoundAgainBySymbol) {
  grid->show();
  Click(1, 2);
  grid->GridDblClick();
  ASSERT_EQ(ChartWindowCount(), 1);
  TdlgChart *chart = FindChartWindow("BBB");
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(chart->windowTitle(), QStringLiteral("BBB"));
  chart->showMinimized();
  int key = VK_RETURN;
  grid->GridKeyDown(key, 0);
  EXPECT_EQ(key, 0);
  EXPECT_EQ(ChartWindowCount(), 1);
  EXPECT_EQ(ShowChartWindow("bbb"), chart);
  EXPECT_FALSE(chart->isMinimized());

  // TOTAL opens the chart of the grid's own portfolio.
  grid->PortfolioKey = "MYPORT";
  Click(1, 4);
  grid->GridDblClick();
  EXPECT_NE(FindChartWindow("MYPORT"), nullptr);
  EXPECT_EQ(ChartWindowCount(), 2);
}

TEST_F(GridInteractionTest, DoubleClickOnTheTitleRowOpensNoChart) {
  grid->show();
  gridtest::Click(grid->viewport(), CellCentre(1, 0), Qt::RightButton);
  grid->GridDblClick();
  EXPECT_EQ(ChartWindowCount(), 0);
  // Nothing highlighted and a data row under the mouse: still no chart for "".
  grid->MouseDownRow = 2;
  grid->HighlightSymbol.clear();
  grid->GridDblClick();
  EXPECT_EQ(ChartWindowCount(), 0);
}

TEST_F(GridInteractionTest, ABulbClickOpensTheNewsWindow) {
  grid->show();
  NewsRows.Set(gkMainGrid, 2, true);
  view.BulbSingleClick = true;
  const TRect cell = grid->CellRect(0, 2);
  gridtest::Click(grid->viewport(), QPoint(cell.Right - 3, cell.Top + 3));
  ASSERT_NE(NewsWindow(), nullptr);
  EXPECT_TRUE(NewsWindow()->isVisible());
  EXPECT_EQ(grid->HighlightTag, 0) << "the bulb click highlights nothing";

  // Away from the bulb the row is highlighted; with double-click mode the
  // bulb's double click opens the news, not a chart.
  view.BulbSingleClick = false;
  gridtest::Click(grid->viewport(), QPoint(cell.Right - 3, cell.Top + 3));
  EXPECT_EQ(grid->HighlightTag, 2);
  grid->GridDblClick();
  EXPECT_EQ(ChartWindowCount(), 0);
}

TEST_F(GridInteractionTest, DraggingAOverCGivesBCADAndRewritesTheView) {
  StoreColumnView(view, 0, "Mine");
  const int widthA = grid->ColWidths(1), widthB = grid->ColWidths(2), widthC = grid->ColWidths(3),
            widthD = grid->ColWidths(4);
  grid->show();
  grid->DragCol = 1;
  std::unique_ptr<TDragObject> object;
  grid->GridStartDrag(object);
  ASSERT_TRUE(object);
  bool accept = false;
  const QPoint overC = CellCentre(3, 0);
  grid->GridDragOver(*object, overC.x(), overC.y(), dsDragMove, accept);
  EXPECT_TRUE(accept);
  EXPECT_EQ(grid->DropCol, 4) << "the gap between C and D";
  grid->GridDragDrop(*object, overC.x(), overC.y());
  grid->GridEndDrag(grid.get(), overC.x(), overC.y());
  EXPECT_EQ(grid->DropCol, -1);

  EXPECT_EQ(view.FieldCol[gfAsk], 1);
  EXPECT_EQ(view.FieldCol[gfLast], 2);
  EXPECT_EQ(view.FieldCol[gfBid], 3);
  EXPECT_EQ(view.FieldCol[gfChange], 4);
  EXPECT_EQ(grid->ColPos[gfBid], 3);
  EXPECT_EQ(grid->ColWidths(1), widthB);
  EXPECT_EQ(grid->ColWidths(2), widthC);
  EXPECT_EQ(grid->ColWidths(3), widthA);
  EXPECT_EQ(grid->ColWidths(4), widthD);
  const std::string ini = ReadSettings();
  EXPECT_NE(ini.find("[Views]"), std::string::npos);
  EXPECT_NE(ini.find("View1=Mine|" + ViewSpecText(view)), std::string::npos) << ini;

  // Past the last column counts as the last column: A (now in 3) goes last.
  grid->DragCol = 3;
  std::unique_ptr<TDragObject> again;
  grid->GridStartDrag(again);
  const TRect last = grid->CellRect(4, 0);
  grid->GridDragOver(*again, last.Right + 20, 5, dsDragMove, accept);
  EXPECT_EQ(grid->DropCol, 5);
  grid->GridDragDrop(*again, last.Right + 20, 5);
  grid->GridEndDrag(nullptr, 0, 0);
  EXPECT_EQ(view.FieldCol[gfBid], 4);
  EXPECT_EQ(view.FieldCol[gfChange], 3);
}

TEST_F(GridInteractionTest, ADragFromAnotherKindOfGridIsRefused) {
  TStockGrid watch;
  watch.GridKind = gkWatchList;
  watch.View = &view;
  watch.LoadColumnMap();
  watch.DragCol = 1;
  std::unique_ptr<TDragObject> object;
  watch.GridStartDrag(object);
  ASSERT_TRUE(object);
  EXPECT_EQ(static_cast<SGridCellDragObject &>(*object).GridKindText, "2");
  bool accept = true;
  grid->GridDragOver(*object, 10, 5, dsDragMove, accept);
  EXPECT_FALSE(accept);
  EXPECT_EQ(grid->DropCol, -1);
}

TEST_F(GridInteractionTest, ADragObjectOutlivingItsGridMovesNothing) {
  auto source = std::make_unique<TStockGrid>();
  source->GridKind = gkMainGrid;
  source->View = &view;
  source->LoadColumnMap();
  source->DragCol = 1;
  std::unique_ptr<TDragObject> object;
  source->GridStartDrag(object);
  source.reset();
  const auto before = view.FieldCol;
  bool accept = false;
  grid->GridDragOver(*object, CellCentre(3, 0).x(), 5, dsDragMove, accept);
  grid->GridDragDrop(*object, CellCentre(3, 0).x(), 5);
  EXPECT_EQ(view.FieldCol, before);
}

TEST_F(GridInteractionTest, MoveColumnRefusesBadInput) {
  const auto before = view.FieldCol;
  EXPECT_FALSE(grid->MoveColumn(0, 2));  // the symbol never moves
  EXPECT_FALSE(grid->MoveColumn(9, 2));  // nothing in column 9
  EXPECT_FALSE(grid->MoveColumn(1, 12)); // no target
  view.FieldCol[gfVolume] = 2;           // duplicated column
  EXPECT_FALSE(grid->MoveColumn(1, 4));
  view.FieldCol[gfVolume] = 99; // out of range
  EXPECT_FALSE(grid->MoveColumn(1, 4));
  view.FieldCol[gfVolume] = -1;
  EXPECT_EQ(view.FieldCol, before);
}

TEST_F(GridInteractionTest, TitleClicksSortAndToggleTheDirection) {
  const int index =
      PortfolioList.Add("P", "PKEY", {Pos("AAA"), Pos("BBB"), Pos("-"), Pos("CCC"), Pos("DDD")});
  CurrentPortfolio.store(index);
  StoreLast("AAA", 12.5, 12);
  StoreLast("BBB", 20, 21);
  StoreLast("CCC", 5, 4);
  StoreLast("DDD", 7, 4);
  grid->GridKind = gkPrintGrid; // fills without being shown
  grid->PortfolioIndex = index;
  std::string list;
  grid->GetPortfolioSymbols(list);
  EXPECT_EQ(list, "AAA,BBB,CCC,DDD");
  ASSERT_TRUE(grid->ShowStocks());
  ASSERT_TRUE(ProcessEventsUntil([&] { return !grid->FillRunning(); }));
  grid->show();

  // A click returns at once; the rows are sorted when the fill it started
  // has ended.
  const auto settled = [&] {
    return ProcessEventsUntil([&] { return !grid->FillRunning() && !grid->RefreshPending(); });
  };
  const int lastCol = grid->ColPos[gfLast];
  // Nothing else runs inside the click (no wait that handles events).
  bool ranInside = false;
  QTimer::singleShot(0, [&] { ranInside = true; });
  Click(lastCol, 0);
  EXPECT_FALSE(ranInside);
  EXPECT_EQ(grid->SortCol, lastCol);
  EXPECT_FALSE(grid->SortDown);
  ASSERT_TRUE(settled());
  EXPECT_EQ(grid->RowOrder, (std::vector<int>{2, 1, 3, 5, 4}));
  EXPECT_EQ(grid->Cells(0, 1), "BBB");
  EXPECT_EQ(grid->Cells(0, 3), "-");

  clock.AdvanceMs(1000);
  Click(lastCol, 0);
  EXPECT_TRUE(grid->SortDown);
  ASSERT_TRUE(settled());
  EXPECT_EQ(grid->RowOrder, (std::vector<int>{1, 2, 3, 4, 5}));

  // Another title keeps the direction.
  const int bidCol = grid->ColPos[gfBid];
  Click(bidCol, 0);
  EXPECT_EQ(grid->SortCol, bidCol);
  EXPECT_TRUE(grid->SortDown);
  ASSERT_TRUE(settled());

  // A title click right after a drag attempt does nothing.
  grid->LastDragMs = clock.MonotonicMs();
  Click(lastCol, 0);
  EXPECT_EQ(grid->SortCol, bidCol);
}

// A sort asked for while another waits for its fill: the window does not
// wait inside the first, and the rows end sorted by the last one asked for.
TEST_F(GridInteractionTest, ASortAskedForWhileAnotherWaitsEndsSortedByTheLast) {
  const int index = PortfolioList.Add("P", "PKEY", {Pos("AAA"), Pos("BBB")});
  CurrentPortfolio.store(index);
  StoreLast("AAA", 12.5, 12);
  StoreLast("BBB", 20, 21);
  grid->GridKind = gkPrintGrid;
  grid->PortfolioIndex = index;
  std::string list;
  grid->GetPortfolioSymbols(list);
  ASSERT_GE(grid->ColPos[gfChange], 0);
  grid->SortCol = grid->ColPos[gfLast];
  grid->SortRows(grid->SortCol, true, true);
  EXPECT_TRUE(grid->RefreshPending());
  grid->SortCol = grid->ColPos[gfChange];
  grid->SortRows(grid->SortCol, true, true);
  ASSERT_TRUE(
      ProcessEventsUntil([&] { return !grid->FillRunning() && !grid->RefreshPending(); }));
  // By the change, largest first (+0.5 before -1); by the last price BBB
  // would come first.
  EXPECT_EQ(grid->RowOrder, (std::vector<int>{1, 2}));
}

TEST_F(GridInteractionTest, PortfolioSymbolsOfAnIndexOutOfRangeAreEmpty) {
  const int index = PortfolioList.Add("P", "PKEY", {Pos("AAA"), Pos("AAA"), Pos("$CASH")});
  CurrentPortfolio.store(index);
  grid->PortfolioIndex = index;
  std::string list;
  grid->GetPortfolioSymbols(list);
  EXPECT_EQ(list, "AAA");
  EXPECT_EQ(grid->Symbols.Count(), 3);
  grid->PortfolioIndex = index + 5;
  grid->GetPortfolioSymbols(list);
  EXPECT_EQ(list, "");
  EXPECT_EQ(grid->Symbols.Count(), 0);
  CurrentPortfolio.store(0);
  grid->GetPortfolioSymbols(list);
  EXPECT_EQ(list, "MSFT,");
}

TEST_F(GridInteractionTest, WatchSymbolsAreDistinct) {
  grid->WatchMode = true;
  grid->WatchSymbols = "IBM AA IBM";
  std::string list;
  grid->GetWatchSymbols(list);
  EXPECT_EQ(list, "IBM,AA");
}

TEST_F(GridInteractionTest, AutoFitColumns) {
  view.FieldCol[gfGain] = 5;
  view.FieldCol[gfVolume] = 6;
  grid->LoadColumnMap();
  grid->SetColCount(7);
  grid->SetColWidths(5, 33);
  grid->SetColWidths(6, 41);
  grid->SetCells(grid->ColPos[gfGain], 1, "+12.5% 1,234");
  grid->SetCells(grid->ColPos[gfGain], 2, "-1% 5");
  for (int r = 1; r < grid->RowCount(); ++r)
    grid->SetCells(grid->ColPos[gfVolume], r, r % 2 ? "0" : "-");
  grid->SetCells(grid->ColPos[gfLast], 1, "1,234.5678");
  grid->AutoFitColumns();

  TRecordingCanvas m;
  m.Font() = grid->FieldFont(gfGain);
  EXPECT_EQ(grid->ColWidths(grid->ColPos[gfGain]),
            2 * std::max(m.TextWidth("+12.5%"), m.TextWidth("1,234")) + 4);
  EXPECT_EQ(grid->ColWidths(grid->ColPos[gfVolume]), 41) << "no data: width kept";
  m.Font() = grid->FieldFont(gfLast);
  EXPECT_EQ(grid->ColWidths(grid->ColPos[gfLast]),
            std::max(m.TextWidth("1,234.5678") + 4, m.TextWidth(FieldShortTitle(gfLast)) + 2));
  EXPECT_GE(grid->ColWidths(0), grid->MeasureTextWidth("WWAAAA"));

  // Hidden Chart and Separator columns are left alone.
  grid->ColWidth[gfChart] = 77;
  grid->ColWidth[gfSeparator] = 6;
  grid->AutoFitColumns();
  EXPECT_EQ(grid->ColWidth[gfChart], 77);
  EXPECT_EQ(grid->ColWidth[gfSeparator], 6);

  // The sort column's title also holds the sort mark.
  grid->SetCells(grid->ColPos[gfLast], 1, "1");
  grid->RowsSorted = true;
  grid->SortCol = grid->ColPos[gfLast];
  grid->AutoFitColumns();
  EXPECT_EQ(grid->ColWidths(grid->ColPos[gfLast]),
            m.TextWidth(FieldShortTitle(gfLast)) + 2 + SortMarkRoom);

  // Fits keep what they measured; a field drawn in another style is measured
  // again in it.
  view.FieldStyle[gfLast] = fsFieldBold;
  grid->AutoFitColumns();
  m.Font() = grid->FieldFont(gfLast);
  ASSERT_TRUE(m.Font().Bold);
  EXPECT_EQ(grid->ColWidths(grid->ColPos[gfLast]),
            m.TextWidth(FieldShortTitle(gfLast)) + 2 + SortMarkRoom);
}

} // namespace
