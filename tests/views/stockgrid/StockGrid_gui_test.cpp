// The grid control: column map, view layout, starting fills and destruction
// with a fill still running.
#include "views/stockgrid/GridTestSupport.h"

#include "support/EventWait.h"
#include "views/PrintGrid.h"
#include "views/stockgrid/ShowStocksThread.h"
#include "views/stockgrid/StockGrid.h"

#include <QFontMetrics>
#include <QLabel>
#include <gtest/gtest.h>

#include <memory>

namespace {

class StockGridTest : public GridTest {
protected:
  void SetUp() override {
    GridTest::SetUp();
    StoreLast("AAA", 12.5, 12);
    StoreLast("BBB", 20, 21);
    grid = std::make_unique<TStockGrid>();
    grid->MeasureLabel = &label;
    grid->resize(600, 300);
  }
  void TearDown() override {
    grid.reset();
    // Fills of destroyed grids finish on their own.
    EXPECT_TRUE(PollUntil([] { return ShowStocksThread::RunningCount() == 0; }));
    GridTest::TearDown();
  }

  static ViewRecord ViewOf(std::initializer_list<std::pair<int, int>> fieldCols) {
    ViewRecord v;
    for (const auto &[field, col] : fieldCols)
      v.FieldCol[field] = col;
    return v;
  }

  // Lock timings under which a held "PORT" keeps a fill waiting.
  static void PatientLocks() {
    LockTimings t;
    t.retryIntervalMs = 1;
    t.giveUpTries = 1000000;
    t.deadlockTries = 2000000;
    MyCriticalSection::SetTimings(t);
  }

  int AddPortfolio() {
    const int index = PortfolioList.Add("Test", "TESTPORT", {Pos("AAA", 100, 10), Pos("BBB")});
    CurrentPortfolio.store(index);
    return index;
  }

  QLabel label{QStringLiteral("A")};
  std::unique_ptr<TStockGrid> grid;
};

TEST_F(StockGridTest, ConstructionDefaults) {
  EXPECT_EQ(grid->ColCount(), 20);
  EXPECT_EQ(grid->RowCount(), 100);
  EXPECT_EQ(grid->FixedCols(), 1);
  EXPECT_EQ(grid->FixedRows(), 1);
  EXPECT_FALSE(grid->DefaultDrawing());
  EXPECT_EQ(grid->View, &CurrentView);
  EXPECT_EQ(grid->SortCol, -1);
  EXPECT_TRUE(grid->FitSymbolPending);
  EXPECT_FALSE(grid->FillRunning());
  EXPECT_EQ(grid->ColPos[gfSymbol], 0);
}

TEST_F(StockGridTest, WatchModeShowsTheFieldOfColumnFiveInColumnThree) {
  ViewRecord view = ViewOf(
      {{gfSymbol, 0}, {gfLast, 1}, {gfBid, 2}, {gfQuantity, 3}, {gfValue, 4}, {gfVolume, 5}});
  grid->View = &view;
  grid->WatchMode = true;
  grid->LoadColumnMap();
  EXPECT_EQ(grid->ColPos[gfVolume], 3);
  EXPECT_EQ(grid->ColPos[gfQuantity], -1);
  EXPECT_EQ(grid->ColPos[gfValue], -1);
}

TEST_F(StockGridTest, SortColumnFollowsItsFieldWhenTheMapChanges) {
  ViewRecord view = ViewOf({{gfSymbol, 0}, {gfQuantity, 1}, {gfLast, 2}});
  grid->View = &view;
  grid->LoadColumnMap();
  grid->SortCol = 2; // Last
  grid->WatchMode = true;
  grid->LoadColumnMap();
  EXPECT_EQ(grid->SortCol, 1);
  grid->SortCol = 0;
  view.FieldCol[gfSymbol] = -1;
  grid->LoadColumnMap();
  EXPECT_EQ(grid->SortCol, -1);
}

TEST_F(StockGridTest, SymbolOnlyViewGivesTwoColumns) {
  ViewRecord view = ViewOf({{gfSymbol, 0}});
  grid->View = &view;
  EXPECT_EQ(grid->ApplyView(false), 0);
  EXPECT_EQ(grid->ColCount(), 2);
}

TEST_F(StockGridTest, ViewColumnsBeyondTheColumnCountAreNotShown) {
  ViewRecord view = ViewOf({{gfSymbol, 0}, {gfLast, 7}, {gfVolume, 30}});
  grid->View = &view;
  grid->WidthsValid = true;
  grid->ApplyView(false);
  EXPECT_EQ(grid->ColCount(), 3);
  grid->ApplyView(true); // widths taken back from columns that do not exist
  EXPECT_EQ(grid->ColCount(), 3);

  grid->GridKind = gkPrintGrid;
  grid->Symbols.Add("AAA");
  ASSERT_TRUE(grid->ShowStocks());
  ASSERT_TRUE(ProcessEventsUntil([&] { return !grid->FillRunning(); }));
  EXPECT_EQ(grid->Cells(0, 1), "AAA");
  EXPECT_EQ(grid->RowCount(), 2);
}

TEST_F(StockGridTest, ApplyViewSetsTheFontRowHeightAndSeparatorWidth) {
  ViewRecord view = ViewOf({{gfSymbol, 0}, {gfSeparator, 1}, {gfLast, 2}});
  view.FontName = "Arial";
  view.FontSize = 14;
  view.Bold = true;
  grid->View = &view;
  grid->ApplyView(false);
  EXPECT_EQ(grid->Font().Size(), 14);
  EXPECT_TRUE(grid->Font().Bold);
  EXPECT_EQ(label.font(), ToQFont(grid->Font()));
  EXPECT_EQ(grid->DefaultRowHeight(), QFontMetrics(label.font()).height());
  EXPECT_EQ(grid->ColWidths(1), 4);
}

TEST_F(StockGridTest, ApplyViewDoesNothingBeforeTextCanBeMeasured) {
  QFont tiny = label.font();
  tiny.setPixelSize(1);
  label.setFont(tiny);
  ViewRecord view = ViewOf({{gfSymbol, 0}});
  grid->View = &view;
  grid->ApplyView(false);
  EXPECT_EQ(grid->ColCount(), 20);
  EXPECT_FALSE(grid->WidthsValid);
}

TEST_F(StockGridTest, SymbolColumnOfShortSymbolsIsStillAsWideAsWWAAAA) {
  grid->SetCells(0, 1, "A");
  grid->SetCells(0, 2, "B");
  grid->FitSymbolColumn();
  EXPECT_EQ(grid->ColWidths(0), QFontMetrics(label.font()).horizontalAdvance("WWAAAA"));

  const std::string longSymbol = "VERYLONGSYMBOLXX";
  grid->SetCells(0, 3, longSymbol);
  grid->FitSymbolColumn();
  TCanvas &canvas = grid->Canvas();
  canvas.Font() = grid->FieldFont(gfSymbol);
  EXPECT_EQ(grid->ColWidths(0), canvas.TextWidth(longSymbol) + 13);
}

TEST_F(StockGridTest, HiddenOrDisabledGridStartsNoFill) {
  grid->GridKind = gkMainGrid;
  grid->Symbols.Add("AAA");
  EXPECT_FALSE(grid->ShowStocks()); // never shown
  grid->show();
  grid->setEnabled(false);
  const int started = ShowStocksThread::StartedCount();
  EXPECT_FALSE(grid->ShowStocks());
  EXPECT_EQ(ShowStocksThread::StartedCount(), started);
}

TEST_F(StockGridTest, ShowStocksSavesTheSortColumnPerKind) {
  grid->GridKind = gkPrintGrid;
  grid->SortCol = 4;
  grid->SortDown = true;
  grid->ShowStocks();
  EXPECT_EQ(SavedSortCol.Get(gkPrintGrid), 4);
  EXPECT_TRUE(SavedSortDown.Get(gkPrintGrid));
  ASSERT_TRUE(ProcessEventsUntil([&] { return !grid->FillRunning(); }));
}

TEST_F(StockGridTest, GridKindOutsideOneToFourIndexesNoTable) {
  grid->show();
  grid->Symbols.Add("AAA");
  for (int kind : {0, -3, 5, 99}) {
    grid->GridKind = kind;
    grid->SortCol = 3;
    grid->ApplyView(false);
    grid->ShowStocks();
    ASSERT_TRUE(ProcessEventsUntil([&] { return !grid->FillRunning(); }));
    EXPECT_EQ(SavedSortCol.Get(kind), -1);
  }
  EXPECT_EQ(grid->Cells(0, 1), "");
}

TEST_F(StockGridTest, SecondShowStocksWhileAFillRunsStartsNoSecondThread) {
  AddPortfolio();
  grid->GridKind = gkPrintGrid;
  grid->PortfolioIndex = 1;
  std::string list;
  grid->GetPortfolioSymbols(list);
  EXPECT_EQ(list, "AAA,BBB");

  PatientLocks();
  ASSERT_TRUE(PortListLock.Lock("TEST", false));
  const int started = ShowStocksThread::StartedCount();
  EXPECT_TRUE(grid->ShowStocks());
  EXPECT_TRUE(grid->FillRunning());
  EXPECT_FALSE(grid->ShowStocks());
  EXPECT_FALSE(grid->ShowStocks("|AAA|"));
  EXPECT_EQ(ShowStocksThread::StartedCount(), started + 1);
  PortListLock.Unlock();

  ASSERT_TRUE(ProcessEventsUntil([&] { return !grid->FillRunning(); }));
  EXPECT_EQ(grid->Cells(0, 3), "TOTAL");
  EXPECT_EQ(grid->RowCount(), 4);
}

TEST_F(StockGridTest, DestroyingAGridWhoseFillWaitsForTheLockIsSafe) {
  AddPortfolio();
  grid->GridKind = gkPrintGrid;
  grid->PortfolioIndex = 1;
  std::string list;
  grid->GetPortfolioSymbols(list);
  PatientLocks();
  ASSERT_TRUE(PortListLock.Lock("TEST", false));
  const int running = ShowStocksThread::RunningCount();
  ASSERT_TRUE(grid->ShowStocks());
  std::weak_ptr<TGridCellStore> store = grid->Store();
  grid.reset();
  PortListLock.Unlock();
  // The fill wakes up, sees the stop flag, and ends without touching the grid.
  EXPECT_TRUE(PollUntil([&] { return ShowStocksThread::RunningCount() == running; }));
  EXPECT_TRUE(PollUntil([&] { return store.expired(); }));
}

TEST_F(StockGridTest, DestroyingAGridWhoseFillWaitsForTheWindowThreadIsSafe) {
  AddPortfolio();
  grid->GridKind = gkPrintGrid;
  grid->PortfolioIndex = 1;
  std::string list;
  grid->GetPortfolioSymbols(list);
  const int running = ShowStocksThread::RunningCount();
  ASSERT_TRUE(grid->ShowStocks());
  // Without event processing the pass ends up waiting for the window thread.
  ASSERT_TRUE(PollUntil([&] { return grid->Cells(0, 3) == "TOTAL" && grid->RowCount() == 4; }));
  grid.reset();
  EXPECT_TRUE(PollUntil([&] { return ShowStocksThread::RunningCount() == running; }));
}

TEST_F(StockGridTest, DestructionForgetsTheGridInTheSharedPointers) {
  LastClickedGrid = grid.get();
  DragSourceGrid = grid.get();
  grid.reset();
  EXPECT_EQ(LastClickedGrid, nullptr);
  EXPECT_EQ(DragSourceGrid, nullptr);
}

TEST_F(StockGridTest, PortfolioSymbolsWithoutACurrentPortfolioAreMsft) {
  AddPortfolio();
  CurrentPortfolio.store(0);
  grid->Symbols.Add("OLD");
  std::string list;
  grid->GetPortfolioSymbols(list);
  EXPECT_EQ(list, "MSFT,");
  EXPECT_EQ(grid->Symbols.Count(), 0);
}

TEST_F(StockGridTest, PortfolioSymbolsAreRequestedOnceButFillEveryRow) {
  const int index = PortfolioList.Add(
      "Mixed", "MIXED", {Pos("IBM"), Pos("-"), Pos("$CASH", 500, 1), Pos("IBM"), Pos("brk.b")});
  CurrentPortfolio.store(index);
  grid->PortfolioIndex = index;
  std::string list;
  grid->GetPortfolioSymbols(list);
  EXPECT_EQ(list, "IBM,brk.b");
  EXPECT_EQ(grid->Symbols.Count(), 5);

  // "Already listed" is the symbol between commas in the text, also when a
  // symbol holds a comma.
  const int commas = PortfolioList.Add(
      "Commas", "COMMAS", {Pos("A,B"), Pos("A"), Pos("B"), Pos("C"), Pos("B,C"), Pos("C")});
  CurrentPortfolio.store(commas);
  grid->PortfolioIndex = commas;
  grid->GetPortfolioSymbols(list);
  EXPECT_EQ(list, "A,B,C");
}

TEST_F(StockGridTest, WatchSymbolsSkipRepeatsAndDashes) {
  grid->WatchSymbols = "IBM AA IBM ---";
  std::string list;
  grid->GetWatchSymbols(list);
  EXPECT_EQ(list, "IBM,AA");
}

TEST_F(StockGridTest, PrintGridFillsWithoutBeingShown) {
  const int index = AddPortfolio();
  auto print = CreatePrintGrid(DefaultViews().front(), index);
  EXPECT_EQ(print->Grid().GridKind, gkPrintGrid);
  EXPECT_EQ(print->Grid().View, &print->View());
  ASSERT_TRUE(print->Fill());
  ASSERT_TRUE(ProcessEventsUntil([&] { return !print->Filling(); }));
  EXPECT_FALSE(print->Grid().isVisible());
  EXPECT_EQ(print->Grid().Cells(0, 1), "AAA");
  EXPECT_EQ(print->Grid().Cells(0, 3), "TOTAL");
  EXPECT_EQ(print->Grid().Cells(print->Grid().ColPos[gfValue], 1), "1,250");
}

} // namespace
