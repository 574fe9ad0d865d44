// The fill pass on a recording sink: what it writes, where, and when it
// writes nothing.
#include "views/stockgrid/GridTestSupport.h"

#include "alerts/AlertNames.h"
#include "alerts/AlertSystem.h"
#include "alerts/AlertsModule.h"
#include "core/NewsStore.h"
#include "platform/GridCellStore.h"
#include "platform/RecordingCanvas.h"
#include "views/stockgrid/CellTextsFormat.h"
#include "views/stockgrid/ShowStocksThread.h"
#include "views/stockgrid/StockGrid.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <stdexcept>

namespace {

// A grid's cell store and the link its passes share, in a grid window that
// paints them. A grid that keeps its memo skips what its earlier passes
// tell it is unchanged; one that does not computes every row every pass.
struct PassGrid {
  PassGrid(int kind, bool keepMemo) : Kind(kind), KeepMemo(keepMemo) {
    Widget->GridKind = kind;
    Widget->SetColCount(GridFieldCount);
    Widget->SetRowCount(2);
  }
  int Kind;
  bool KeepMemo;
  std::unique_ptr<TStockGrid> Widget = std::make_unique<TStockGrid>();
  std::shared_ptr<TGridCellStore> Store = Widget->Store();
  std::shared_ptr<TFillLink> Link = std::make_shared<TFillLink>();

  TGridCellStore::Damage Pass(TFillRequest request) {
    request.GridKind = Kind;
    if (!KeepMemo)
      Link = std::make_shared<TFillLink>();
    Link->FillRunning = true;
    Widget->ColPos = request.ColPos;
    Store->TakeDamage();
    TStoreFillSink sink(Store, Link);
    ExecuteFill(request, sink, *Link);
    return Store->TakeDamage();
  }
  std::vector<std::uint64_t> Versions() const {
    std::vector<std::uint64_t> v;
    for (int r = 0; r < Store->RowCount(); ++r)
      v.push_back(Store->RowVersion(r));
    return v;
  }
  // What the painter draws in a row's cells of the fields whose colours
  // depend on more than their text: the symbol (alert colour, news and
  // alert bulbs), signed fields, % Port, a price with marks.
  std::string Painted(int row) const {
    TRecordingCanvas canvas;
    for (int field : {gfSymbol, gfChange, gfPctPort, gfLast, gfBid}) {
      const int col = field == gfSymbol ? 0 : Widget->ColPos[field];
      if (col >= 0)
        Widget->GridDrawCell(canvas, col, row, TRect(0, 0, 90, 16), 0);
    }
    return canvas.Dump();
  }
};

// Both grids hold the same texts and row tags, paint them in the same
// colours, show the same news and alert states and got the same repaints.
void ExpectSameGrids(const PassGrid &a, const PassGrid &b, const TGridCellStore::Damage &da,
                     const TGridCellStore::Damage &db) {
  EXPECT_EQ(a.Store->RowCount(), b.Store->RowCount());
  for (int r = 0; r < std::min(a.Store->RowCount(), b.Store->RowCount()); ++r) {
    EXPECT_EQ(a.Store->RowTexts(r), b.Store->RowTexts(r)) << "row " << r;
    EXPECT_EQ(a.Store->Object(0, r), b.Store->Object(0, r)) << "row " << r;
    EXPECT_EQ(NewsRows.Get(a.Kind, r), NewsRows.Get(b.Kind, r)) << "row " << r;
    EXPECT_EQ(NewsRowTimes.Get(a.Kind, r), NewsRowTimes.Get(b.Kind, r)) << "row " << r;
    EXPECT_EQ(AlertRows.Get(a.Kind, r), AlertRows.Get(b.Kind, r)) << "row " << r;
    EXPECT_EQ(a.Painted(r), b.Painted(r)) << "row " << r;
  }
  EXPECT_EQ(da.All, db.All);
  EXPECT_EQ(da.Rows, db.Rows);
}

class GridFillTest : public GridTest {
protected:
  // One unread news item for the symbol, dated 45301.4.
  static void AddUnreadNews(const std::string &symbol) {
    IncomingNews item;
    item.Title = "Results";
    item.Source = "Wire";
    item.Link = "http://example.com/1";
    item.Date = 45301.4;
    ASSERT_GT(AddNews(symbol, item), 0);
    SetNewNews(symbol, true);
  }

  void SetUp() override {
    GridTest::SetUp();
    StoreLast("AAA", 12.5, 12);
    StoreLast("BBB", 20, 21);
    StoreLast("CCC", 5, 5);
    StoreLast("DDD", 7, 6);
    StoreLast("EEE", 8, 8);
  }

  int AddPortfolio(const std::vector<PortPosition> &positions) {
    return PortfolioList.Add("Test", "TESTPORT", positions);
  }

  TFillOutcome Fill(const TFillRequest &request, RecordingSink &sink) {
    TFillLink link;
    link.FillRunning = true;
    const TFillOutcome out = ExecuteFill(request, sink, link);
    EXPECT_FALSE(link.FillRunning.load());
    return out;
  }

  RecordingSink sink{GridFieldCount, 100};
};

TEST_F(GridFillTest, FirstPassWritesEveryRowTheTotalAndShrinksTheGrid) {
  const int index = AddPortfolio({Pos("AAA", 100, 10), Pos("BBB"), Pos("CCC")});
  const TFillOutcome out = Fill(PortfolioRequest(index), sink);

  EXPECT_EQ(sink.Cell(gfSymbol, 1), "AAA");
  EXPECT_EQ(sink.Cell(gfSymbol, 2), "BBB");
  EXPECT_EQ(sink.Cell(gfSymbol, 3), "CCC");
  EXPECT_EQ(sink.Cell(gfSymbol, 4), "TOTAL");
  EXPECT_EQ(sink.Cell(gfValue, 1), "1,250");
  EXPECT_EQ(sink.RowCount(), 5);
  EXPECT_TRUE(out.TotalWritten);
  EXPECT_EQ(out.LastWrittenRow, 4);
  EXPECT_EQ(sink.SyncPoints, 1);
}

TEST_F(GridFillTest, IdenticalSecondPassWritesNothing) {
  const int index = AddPortfolio({Pos("AAA"), Pos("-"), Pos("BBB"), Pos("CCC")});
  Fill(PortfolioRequest(index), sink);
  ASSERT_FALSE(sink.CellWrites.empty());
  sink.ClearLog();

  Fill(PortfolioRequest(index), sink);
  EXPECT_TRUE(sink.CellWrites.empty());
  EXPECT_TRUE(sink.ObjectWrites.empty());
  EXPECT_TRUE(sink.RowCountWrites.empty());
  // Only the separator row is repainted on every pass.
  EXPECT_EQ(sink.Repaints, std::vector<int>{2});
}

// A grid's passes remember each row's inputs and skip the rows whose inputs
// did not change. Grid A keeps that memo from pass to pass, grid B computes
// every row every pass: after each step both hold the same texts and got the
// same repaints, and a pass with nothing changed writes nothing.
TEST_F(GridFillTest, RowsWithUnchangedInputsAreSkippedWithTheSameTextsAndRepaints) {
  PortPosition cash = Pos("$CASH", 500);
  PortPosition shortPosition = Pos("DDD", -20, 9);
  shortPosition.Note = "short";
  const int index = AddPortfolio({Pos("AAA", 100, 10), Pos("BBB"), Pos("-"), cash, Pos("CCC"),
                                  Pos("AAA", 5), Pos("ZZZ"), shortPosition, Pos("EEE")});
  // Kinds of their own, so that the grids share no news-row table.
  PassGrid a(gkMainGrid, true);
  PassGrid b(gkPrintGrid, false);
  TFillRequest request = PortfolioRequest(index);
  const auto step = [&](const char *what) -> TGridCellStore::Damage {
    SCOPED_TRACE(what);
    const TGridCellStore::Damage da = a.Pass(request);
    const TGridCellStore::Damage db = b.Pass(request);
    ExpectSameGrids(a, b, da, db);
    return da;
  };

  step("first pass");
  EXPECT_EQ(a.Store->Cell(gfSymbol, 10), "TOTAL");

  const std::vector<std::uint64_t> before = a.Versions();
  const TGridCellStore::Damage unchanged = step("nothing changed");
  EXPECT_EQ(a.Versions(), before) << "a pass with nothing changed writes nothing";
  EXPECT_FALSE(unchanged.All);
  EXPECT_EQ(unchanged.Rows, std::vector<int>{3}) << "only the separator row, on every pass";

  StoreLast("BBB", 25, 21);
  StoreLast("EEE", 8.5, 8);
  step("two quotes changed, and with them every row's share of the portfolio");

  FundData fund;
  fund.CompanyName = "Charlie Corp";
  fund.PE = 12.5;
  StoreFundamentals("CCC", fund);
  step("one symbol's fundamentals changed");

  request.RowsSorted = true;
  request.RowOrder = {9, 8, 7, 6, 5, 4, 3, 2, 1};
  step("rows sorted the other way");

  std::swap(request.ColPos[gfBid], request.ColPos[gfAsk]);
  request.ColPos[gfNote] = -1;
  step("columns moved and hidden");

  a.Store->SetCell(request.ColPos[gfLast], 2, "x");
  b.Store->SetCell(request.ColPos[gfLast], 2, "x");
  step("a cell written behind the passes' back");

  TDisplaySettings fractions;
  fractions.Fractions = true;
  SetDisplaySettings(fractions);
  step("prices shown as fractions");
  EXPECT_EQ(a.Store->Cell(request.ColPos[gfLast], 1), "    8 1/2");
}

// When one quote moves the portfolio's total, every row's % Port is known
// from its share's distance to the rounding boundaries where it can be, and
// formatted where it cannot: the texts are those of a grid computing every
// row, also for shares sitting exactly on a boundary.
TEST_F(GridFillTest, PortSharesAfterTheTotalMovedAreThoseOfAFullRecompute) {
  // Worth 12.25, 52.75 and 35 (100 in all) besides BBB, whose price moves.
  StoreLast("AAA", 12.25, 12);
  StoreLast("CCC", 52.75, 50);
  StoreLast("DDD", 5, 5);
  const int index =
      AddPortfolio({Pos("AAA", 1), Pos("BBB", 1), Pos("CCC", 1), Pos("-"), Pos("DDD", 7)});
  PassGrid a(gkMainGrid, true);
  PassGrid b(gkPrintGrid, false);
  const TFillRequest request = PortfolioRequest(index);
  const auto priceBBB = [&](double price) {
    SCOPED_TRACE(testing::Message() << "BBB at " << price);
    StoreLast("BBB", price, 20);
    const TGridCellStore::Damage da = a.Pass(request);
    const TGridCellStore::Damage db = b.Pass(request);
    ExpectSameGrids(a, b, da, db);
  };
  priceBBB(0.5);
  // Small steps, each share moving a little within its tenth or across it.
  for (int cents = 200; cents >= 2; --cents)
    priceBBB(cents / 100.0);
  // A total of 100: 12.25 and 52.75 sit on boundaries and round away from zero.
  priceBBB(0);
  EXPECT_EQ(a.Store->Cell(gfPctPort, 1), "12.3");
  EXPECT_EQ(a.Store->Cell(gfPctPort, 3), "52.8");
  priceBBB(1e-7); // just below them
  EXPECT_EQ(a.Store->Cell(gfPctPort, 1), "12.2");
  EXPECT_EQ(a.Store->Cell(gfPctPort, 3), "52.7");
  // Totals of 122.5, 245 and 350: AAA at 10.0, 5.0 and 3.5, DDD at 10.0.
  for (double price : {0.0, 22.5, 22.5 + 1e-9, 145.0, 250.0, 250.0 - 1e-9, 0.01, 0.0})
    priceBBB(price);
}

// Thousands of random changes of whatever a row's texts, tag or colours
// come from, each followed by a pass of both grids: the grid keeping its
// memo always shows what the grid computing everything shows.
TEST_F(GridFillTest, RandomChangesGiveTheGridOfAFullRecompute) {
  AlertSystem().ClearAll();
  const std::vector<std::string> symbols = {"AAA", "BBB", "CCC", "DDD", "EEE", "FFF"};
  std::vector<PortPosition> positions;
  for (const std::string &symbol : symbols)
    positions.push_back(Pos(symbol, 10, 10));
  positions.insert(positions.begin() + 3, Pos("-"));
  positions.push_back(Pos("$CASH", 300));
  const int index = AddPortfolio(positions);
  PassGrid a(gkMainGrid, true);
  PassGrid b(gkPrintGrid, false);

  std::mt19937 random(20240110);
  const auto pick = [&](int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(random)); };
  const auto anySymbol = [&] { return symbols[std::size_t(pick(int(symbols.size())))]; };
  // Prices on a coarse grid, so that quotes often come back to earlier ones.
  const auto price = [&] { return 1 + pick(40) * 0.25; };

  TColumnMap reordered = IdentityColumns();
  std::swap(reordered[gfBid], reordered[gfAsk]);
  std::swap(reordered[gfLast], reordered[gfPctPort]);
  reordered[gfNote] = -1;
  TColumnMap narrow = IdentityColumns();
  for (int f : {gfVolume, gfCompanyName, gfHigh, gfLow, gfValueChange})
    narrow[f] = -1;
  const TColumnMap views[] = {IdentityColumns(), reordered, narrow};
  int view = 0;
  std::vector<std::string> alerts;
  bool sorted = false;
  std::vector<int> order;

  for (int step = 0; step < 3000; ++step) {
    std::string what;
    switch (pick(12)) {
    case 0:
    case 1:
    case 2: {
      const std::string symbol = anySymbol();
      const double last = price();
      StoreLast(symbol, last, pick(2) ? last : price(), 1000 + pick(3));
      what = "quote of " + symbol;
      break;
    }
    case 3: {
      FundData fund;
      fund.CompanyName = pick(2) ? "Alpha Corp" : "Beta Inc";
      fund.PE = pick(3) * 2.5;
      fund.MarketCap = pick(2) ? "1.2T" : "950M";
      const std::string symbol = anySymbol();
      StoreFundamentals(symbol, fund);
      what = "fundamentals of " + symbol;
      break;
    }
    case 4:
      if (alerts.empty() || pick(2)) {
        auto alert = TAlertRecord::Create();
        alert->Symbol = anySymbol();
        alert->P1 = 10;
        alert->P2 = 1;
        alert->HighlightColor = pick(2) ? 255 : 0x00FF00;
        alert->ActiveActions = TActionSet::FromBits(1u << ActionHighlightRow);
        alert->ActivationTimes[ActionHighlightRow] = AppClock().Now() - 1.0 / 24;
        what = "alert on for " + alert->Symbol;
        alerts.push_back(AlertSystem().AddAlert(std::move(alert)));
      } else {
        const std::size_t i = std::size_t(pick(int(alerts.size())));
        AlertSystem().TurnOffAlert(alerts[i], pick(2) == 0);
        alerts.erase(alerts.begin() + std::ptrdiff_t(i));
        what = "alert off";
      }
      break;
    case 5: {
      const std::string symbol = anySymbol();
      if (pick(2))
        AddUnreadNews(symbol);
      else
        SetNewNews(symbol, false);
      what = "news flag of " + symbol;
      break;
    }
    case 6: {
      std::vector<PortPosition> &list = PortfolioList[index].Positions;
      const int k = pick(int(list.size()));
      if (pick(3) == 0 && list.size() > 3)
        list.erase(list.begin() + k);
      else if (pick(2) == 0)
        list.insert(list.begin() + k, pick(4) ? Pos(anySymbol(), 1 + pick(20)) : Pos("-"));
      else
        list[std::size_t(k)].Quantity = 1 + pick(20);
      what = "portfolio edit";
      break;
    }
    case 7:
      view = (view + 1 + pick(2)) % 3;
      what = "view switch";
      break;
    case 8:
      sorted = pick(3) != 0;
      order.resize(PortfolioList[index].Positions.size());
      for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = int(i) + 1;
      std::shuffle(order.begin(), order.end(), random);
      what = "sort";
      break;
    case 9:
      CurrentScheme.SetSlot(pick(SchemeColorCount), TColor(0x10000 * pick(256) + pick(256)));
      what = "scheme change";
      break;
    case 10: {
      // Writes behind the passes' back, as any holder of the grid may make.
      const int row = 1 + pick(std::max(a.Store->RowCount() - 1, 1));
      const bool tagWrite = pick(2) == 0;
      const std::intptr_t tag = pick(3);
      const int col = pick(GridFieldCount);
      for (PassGrid *g : {&a, &b}) {
        if (tagWrite)
          g->Widget->SetObjects(0, row, tag);
        else
          g->Widget->SetCells(col, row, "x");
      }
      what = (tagWrite ? "a tag write to row " : "a cell write to row ") + std::to_string(row);
      break;
    }
    default:
      what = "nothing changed";
      break;
    }
    TFillRequest request = PortfolioRequest(index);
    request.ColPos = views[view];
    request.RowsSorted = sorted;
    request.RowOrder = order;
    SCOPED_TRACE(testing::Message() << "step " << step << ": " << what);
    const TGridCellStore::Damage da = a.Pass(request);
    const TGridCellStore::Damage db = b.Pass(request);
    ExpectSameGrids(a, b, da, db);
    if (HasFailure())
      break;
  }
  AlertSystem().ClearAll();
  ResetColorSchemes();
}

TEST_F(GridFillTest, FilteredPassTouchesOnlyItsRowsAndKeepsTheTotals) {
  const int index = AddPortfolio({Pos("AAA"), Pos("-"), Pos("BBB"), Pos("CCC")});
  Fill(PortfolioRequest(index), sink);
  const std::string totalValue = sink.Cell(gfValue, 5);
  const std::string cccLast = sink.Cell(gfLast, 4);
  StoreLast("BBB", 25, 21);
  StoreLast("CCC", 6, 5);
  sink.ClearLog();

  TFillRequest request = PortfolioRequest(index);
  request.Filter = "|bbb|"; // letter case of the refreshed symbols does not matter
  const TFillOutcome out = Fill(request, sink);

  EXPECT_EQ(sink.WrittenRows(), std::set<int>{3});
  EXPECT_NE(sink.Cell(gfLast, 3).find("25"), std::string::npos);
  EXPECT_EQ(sink.Cell(gfLast, 4), cccLast);
  EXPECT_EQ(sink.Cell(gfValue, 5), totalValue); // not recalculated
  EXPECT_EQ(std::set<int>(sink.Repaints.begin(), sink.Repaints.end()), (std::set<int>{2, 3}));
  EXPECT_TRUE(sink.RowCountWrites.empty());
  EXPECT_EQ(out.RowsWorkedOn, 3); // separator, BBB, TOTAL
}

TEST_F(GridFillTest, FilteredPassNeverShrinksOrClearsRowsItDidNotVisit) {
  TFillRequest request;
  request.GridKind = gkWatchList;
  request.WatchMode = true;
  request.PortfolioIndex = 0;
  request.ColPos = IdentityColumns();
  request.Symbols = {"AAA", "BBB", "CCC"};
  for (int row = 1; row <= 8; ++row)
    sink.SetCell(gfNote, row, "old");
  sink.ClearLog();

  request.Filter = "|ZZZ|";
  Fill(request, sink);
  EXPECT_TRUE(sink.CellWrites.empty());
  EXPECT_TRUE(sink.RowCountWrites.empty());
  EXPECT_EQ(sink.Cell(gfNote, 1), "old");

  request.Filter = "|BBB|";
  Fill(request, sink);
  EXPECT_EQ(sink.WrittenRows(), std::set<int>{2});
  EXPECT_TRUE(sink.RowCountWrites.empty());
  EXPECT_EQ(sink.RowCount(), 100);
  EXPECT_EQ(sink.Cell(gfNote, 8), "old");

  // A full pass knows where the list ends.
  request.Filter.clear();
  Fill(request, sink);
  EXPECT_EQ(sink.RowCount(), 4);
}

TEST_F(GridFillTest, EmptyListResetsTheGridOnlyOnAFullPass) {
  TFillRequest request;
  request.GridKind = gkMainGrid;
  request.ColPos = IdentityColumns();
  sink.SetCell(gfSymbol, 1, "OLD");
  sink.SetCell(gfLast, 1, "9");

  request.Filter = "|OLD|";
  Fill(request, sink);
  EXPECT_EQ(sink.RowCount(), 100);
  EXPECT_EQ(sink.Cell(gfSymbol, 1), "OLD");

  request.Filter.clear();
  Fill(request, sink);
  EXPECT_EQ(sink.RowCount(), 2);
  EXPECT_EQ(sink.Cell(gfSymbol, 1), "");
  EXPECT_EQ(sink.Cell(gfLast, 1), "");
}

TEST_F(GridFillTest, RowTagsNameListEntriesSeparatorsAndTheTotal) {
  const int index = AddPortfolio({Pos("AAA"), Pos("-"), Pos("BBB"), Pos("---"), Pos("CCC")});
  Fill(PortfolioRequest(index), sink);
  EXPECT_EQ(sink.Object(0, 1), 1);
  EXPECT_EQ(sink.Object(0, 2), 10002);
  EXPECT_EQ(sink.Object(0, 3), 3);
  EXPECT_EQ(sink.Object(0, 4), 10004);
  EXPECT_EQ(sink.Object(0, 5), 5);
  EXPECT_EQ(sink.Object(0, 6), 12000);
  EXPECT_EQ(sink.Cell(0, 6), "TOTAL");
}

TEST_F(GridFillTest, SortedRowsShowTheirListEntryAndTag) {
  const int index = AddPortfolio({Pos("AAA"), Pos("BBB"), Pos("CCC")});
  TFillRequest request = PortfolioRequest(index);
  request.RowsSorted = true;
  request.RowOrder = {3, 1, 2};
  Fill(request, sink);
  EXPECT_EQ(sink.Cell(0, 1), "CCC");
  EXPECT_EQ(sink.Object(0, 1), 3);
  EXPECT_EQ(sink.Cell(0, 2), "AAA");
  EXPECT_EQ(sink.Object(0, 2), 1);
}

TEST_F(GridFillTest, BrokenRowOrderFallsBackToListOrder) {
  const int index = AddPortfolio({Pos("AAA"), Pos("BBB"), Pos("CCC")});
  TFillRequest request = PortfolioRequest(index);
  request.RowsSorted = true;
  request.RowOrder = {3, 3, 2000};
  Fill(request, sink);
  EXPECT_EQ(sink.Cell(0, 1), "AAA");
  EXPECT_EQ(sink.Cell(0, 2), "BBB");
  EXPECT_EQ(sink.Cell(0, 3), "CCC");
}

TEST(ValidRowOrder, KeepsOnlyPermutationsOfTheList) {
  struct Case {
    const char *name;
    std::vector<int> order;
    int count;
    std::vector<int> expected;
  };
  const std::vector<Case> cases = {
      {"permutation", {2, 3, 1}, 3, {2, 3, 1}},
      {"repeated entry", {1, 1, 2}, 3, {1, 2, 3}},
      {"zero", {0, 1, 2}, 3, {1, 2, 3}},
      {"beyond the list", {1, 2, 4}, 3, {1, 2, 3}},
      {"too short", {2, 1}, 3, {1, 2, 3}},
      {"longer than the list", {2, 1, 3, 4}, 3, {1, 2, 3}},
      {"empty list", {}, 0, {}},
  };
  for (const Case &c : cases)
    EXPECT_EQ(ValidRowOrder(c.order, c.count), c.expected) << c.name;
}

TEST(FilterSelects, MatchesWholeSymbolsWithoutRegardToCase) {
  EXPECT_TRUE(FilterSelects("|AAPL||MSFT|", "msft"));
  EXPECT_TRUE(FilterSelects("|brk.b|", "BRK.B"));
  EXPECT_FALSE(FilterSelects("|AAPL|", "AAP"));
  EXPECT_FALSE(FilterSelects("", "AAPL"));
}

TEST_F(GridFillTest, SeparatorsShowGroupsOneToTenAndLaterOnesShareTen) {
  std::vector<PortPosition> positions;
  for (int k = 1; k <= 12; ++k) {
    const std::string symbol = "G" + std::to_string(k);
    StoreLast(symbol, k, k);
    positions.push_back(Pos(symbol, 100, 1));
    positions.push_back(Pos("-"));
  }
  const int index = AddPortfolio(positions);
  Fill(PortfolioRequest(index), sink);

  for (int k = 1; k <= 9; ++k)
    EXPECT_EQ(sink.Cell(gfValue, 2 * k), WholeNumberText(100.0 * k)) << "separator " << k;
  // Group 10 holds the sections of the tenth and every later separator.
  for (int k = 10; k <= 12; ++k)
    EXPECT_EQ(sink.Cell(gfValue, 2 * k), "3,300") << "separator " << k;
}

TEST_F(GridFillTest, GrowingPortfolioKeepsItsTotalRow) {
  const int index = AddPortfolio({Pos("AAA"), Pos("BBB"), Pos("CCC")});
  Fill(PortfolioRequest(index), sink);
  ASSERT_EQ(sink.RowCount(), 5);

  PortfolioList[index].Positions.push_back(Pos("DDD"));
  PortfolioList[index].Positions.push_back(Pos("EEE"));
  Fill(PortfolioRequest(index), sink);

  EXPECT_EQ(sink.Cell(0, 4), "DDD");
  EXPECT_EQ(sink.Object(0, 4), 4);
  EXPECT_EQ(sink.Cell(0, 5), "EEE");
  EXPECT_EQ(sink.Cell(0, 6), "TOTAL");
  EXPECT_EQ(sink.Object(0, 6), 12000);
  EXPECT_EQ(sink.RowCount(), 7);
}

TEST_F(GridFillTest, ShrinkingPortfolioDropsItsOldRows) {
  const int index = AddPortfolio({Pos("AAA"), Pos("BBB"), Pos("CCC")});
  Fill(PortfolioRequest(index), sink);
  PortfolioList[index].Positions.pop_back();
  Fill(PortfolioRequest(index), sink);
  EXPECT_EQ(sink.Cell(0, 3), "TOTAL");
  EXPECT_EQ(sink.RowCount(), 4);
}

TEST_F(GridFillTest, FullPassStoresTheTotalsAndAnnouncesThePortfolio) {
  const int index = AddPortfolio({Pos("AAA", 100, 10)});
  Fill(PortfolioRequest(index), sink);
  EXPECT_TRUE(IsKindPSymbol("TESTPORT"));
  QuoteData quote;
  GetLast1("TESTPORT", quote);
  EXPECT_DOUBLE_EQ(quote.Last, 1250);
  EXPECT_EQ(TakeUpdatedPortfolios(), std::vector<std::string>{"TESTPORT"});
  EXPECT_FALSE(PortListLock.IsHeld());
}

TEST_F(GridFillTest, FilteredPassStoresNoTotals) {
  const int index = AddPortfolio({Pos("AAA", 100, 10)});
  TFillRequest request = PortfolioRequest(index);
  request.Filter = "|AAA|";
  Fill(request, sink);
  EXPECT_FALSE(IsKindPSymbol("TESTPORT"));
}

TEST_F(GridFillTest, RefusedPortLockSkipsThePassAndStaysWithItsOwner) {
  const int index = AddPortfolio({Pos("AAA")});
  ASSERT_TRUE(PortListLock.Lock("TEST", false));
  Fill(PortfolioRequest(index), sink);
  EXPECT_TRUE(sink.CellWrites.empty());
  EXPECT_TRUE(PortListLock.IsHeld());
  EXPECT_EQ(PortListLock.Owner(), "TEST");
  PortListLock.Unlock();
}

TEST_F(GridFillTest, StopFlagEndsThePassBeforeItsFirstRow) {
  const int index = AddPortfolio({Pos("AAA"), Pos("BBB")});
  TFillLink link;
  link.FillRunning = true;
  link.RequestStop();
  ExecuteFill(PortfolioRequest(index), sink, link);
  EXPECT_TRUE(sink.CellWrites.empty());
  EXPECT_EQ(sink.SyncPoints, 0);
  EXPECT_FALSE(link.FillRunning.load());
}

TEST_F(GridFillTest, WatchListHasNoTotalRow) {
  TFillRequest request;
  request.GridKind = gkWatchList;
  request.WatchMode = true;
  request.PortfolioIndex = 0;
  request.ColPos = BuildColumnMap(IdentityColumns(), true, DefaultProvidedFields());
  request.Symbols = {"AAA", "BBB"};
  Fill(request, sink);
  EXPECT_EQ(sink.Cell(0, 2), "BBB");
  EXPECT_EQ(sink.RowCount(), 3);
  EXPECT_FALSE(IsKindPSymbol("TESTPORT"));
}

// Passes read the store again only for records written since the last one:
// a new quote of one symbol rewrites exactly the rows that show it, with the
// texts a grid filled anew shows.
TEST_F(GridFillTest, ANewQuoteRewritesExactlyTheRowsOfItsSymbol) {
  TFillRequest request;
  request.GridKind = gkWatchList;
  request.WatchMode = true;
  request.PortfolioIndex = 0;
  request.ColPos = BuildColumnMap(IdentityColumns(), true, DefaultProvidedFields());
  request.Symbols = {"AAA", "BBB", "CCC", "BBB", "DDD"};
  auto store = std::make_shared<TGridCellStore>(GridFieldCount, 2);
  auto link = std::make_shared<TFillLink>();
  const auto pass = [&](const std::shared_ptr<TGridCellStore> &into,
                        const std::shared_ptr<TFillLink> &with) {
    with->FillRunning = true;
    TStoreFillSink sink(into, with);
    ExecuteFill(request, sink, *with);
  };
  const auto versions = [&] {
    std::vector<std::uint64_t> v;
    for (int r = 0; r < store->RowCount(); ++r)
      v.push_back(store->RowVersion(r));
    return v;
  };
  pass(store, link);
  const std::vector<std::uint64_t> before = versions();

  StoreLast("BBB", 22, 21);
  pass(store, link);
  const std::vector<std::uint64_t> after = versions();
  ASSERT_EQ(after.size(), before.size());
  for (int r = 1; r < int(after.size()); ++r)
    EXPECT_EQ(after[std::size_t(r)] != before[std::size_t(r)], r == 2 || r == 4) << "row " << r;

  const auto fresh = std::make_shared<TGridCellStore>(GridFieldCount, 2);
  pass(fresh, std::make_shared<TFillLink>());
  for (int r = 0; r < store->RowCount(); ++r)
    EXPECT_EQ(store->RowTexts(r), fresh->RowTexts(r)) << "row " << r;
}

TEST_F(GridFillTest, GridKindOutsideTheTablesWritesNothing) {
  for (int kind : {0, -1, 5, 1000}) {
    TFillRequest request;
    request.GridKind = kind;
    request.ColPos = IdentityColumns();
    request.Symbols = {"AAA"};
    Fill(request, sink);
  }
  EXPECT_TRUE(sink.CellWrites.empty());
  EXPECT_TRUE(sink.RowCountWrites.empty());
}

TEST_F(GridFillTest, UnreadNewsMarksTheRowAndRepaintsIt) {
  ASSERT_NO_FATAL_FAILURE(AddUnreadNews("BBB"));

  TFillRequest request;
  request.GridKind = gkWatchList;
  request.WatchMode = true;
  request.PortfolioIndex = 0;
  request.ColPos = IdentityColumns();
  request.Symbols = {"AAA", "BBB"};
  Fill(request, sink);
  EXPECT_FALSE(NewsRows.Get(gkWatchList, 1));
  EXPECT_TRUE(NewsRows.Get(gkWatchList, 2));
  EXPECT_DOUBLE_EQ(NewsRowTimes.Get(gkWatchList, 2), 45301.4);

  sink.ClearLog();
  SetNewNews("BBB", false);
  Fill(request, sink);
  EXPECT_FALSE(NewsRows.Get(gkWatchList, 2));
  EXPECT_EQ(sink.Repaints, std::vector<int>{2});
}

// A grid that keeps its memo looks up news and alert states only when they
// changed; a news item or an alert then repaints exactly its symbol's rows
// (and the separator, repainted on every pass).
TEST_F(GridFillTest, ANewsItemOrAnAlertRepaintsExactlyItsRows) {
  AlertSystem().ClearAll();
  const int index = AddPortfolio({Pos("AAA"), Pos("-"), Pos("BBB"), Pos("CCC"), Pos("BBB", 5)});
  const auto store = std::make_shared<TGridCellStore>(GridFieldCount, 2);
  const auto link = std::make_shared<TFillLink>();
  const auto pass = [&] {
    link->FillRunning = true;
    store->TakeDamage();
    TStoreFillSink fillSink(store, link);
    ExecuteFill(PortfolioRequest(index), fillSink, *link);
    return store->TakeDamage().Rows;
  };
  pass();
  EXPECT_EQ(pass(), std::vector<int>{2}) << "nothing changed";

  ASSERT_NO_FATAL_FAILURE(AddUnreadNews("BBB"));
  EXPECT_EQ(pass(), (std::vector<int>{2, 3, 5})) << "news for BBB";
  EXPECT_TRUE(NewsRows.Get(gkMainGrid, 5));
  EXPECT_EQ(pass(), std::vector<int>{2});

  auto alert = TAlertRecord::Create();
  alert->Symbol = "CCC";
  alert->P1 = 10;
  alert->P2 = 1;
  alert->HighlightColor = 255;
  alert->ActiveActions = TActionSet::FromBits(1u << ActionHighlightRow);
  const std::string id = AlertSystem().AddAlert(std::move(alert));
  EXPECT_EQ(pass(), (std::vector<int>{2, 4})) << "an active alert on CCC";
  EXPECT_EQ(AlertRows.Get(gkMainGrid, 4).Color, 255);
  EXPECT_EQ(pass(), std::vector<int>{2});

  AlertSystem().TurnOffAlert(id, false);
  EXPECT_EQ(pass(), (std::vector<int>{2, 4})) << "the alert turned off";
  EXPECT_FALSE(AlertRows.Get(gkMainGrid, 4).Active);

  SetNewNews("BBB", false);
  EXPECT_EQ(pass(), (std::vector<int>{2, 3, 5})) << "BBB's news read";
  AlertSystem().ClearAll();
}

TEST(GridRowTable, IsSizedToRowsInUseAndBoundsChecked) {
  TGridRowTable<bool> table;
  EXPECT_FALSE(table.Get(1, 5));
  EXPECT_FALSE(table.Get(0, 0));
  EXPECT_FALSE(table.Get(GridKindCount + 1, 0));
  EXPECT_FALSE(table.Get(1, -1));
  EXPECT_FALSE(table.Set(0, 1, true));
  EXPECT_FALSE(table.Set(2, -3, true));
  EXPECT_FALSE(table.Set(2, TGridRowTable<bool>::MaxRows, true));
  EXPECT_EQ(table.Size(2), 0);

  EXPECT_TRUE(table.Set(2, 7, true));
  EXPECT_EQ(table.Size(2), 8);
  EXPECT_FALSE(table.Set(2, 7, true)); // unchanged
  EXPECT_TRUE(table.Get(2, 7));
  EXPECT_EQ(table.Size(1), 0);

  table.Truncate(2, 3);
  EXPECT_EQ(table.Size(2), 3);
  EXPECT_FALSE(table.Get(2, 7));
}

TEST(GridKindTable, IgnoresKindsOutsideOneToFour) {
  TGridKindTable<int> table(-1);
  table.Set(3, 7);
  table.Set(9, 8);
  EXPECT_EQ(table.Get(3), 7);
  EXPECT_EQ(table.Get(9), -1);
  EXPECT_EQ(table.Get(0), -1);
}

} // namespace

namespace {

// A sink whose writes fail a few times, or whose row count fails once the
// pass is under way.
class FailingSink : public RecordingSink {
public:
  using RecordingSink::RecordingSink;
  void SetCell(int col, int row, const std::string &text) override {
    if (failWrites > 0) {
      --failWrites;
      throw std::runtime_error("busy");
    }
    RecordingSink::SetCell(col, row, text);
  }
  int RowCount() const override {
    if (failRowCountAfter >= 0 && rowCountCalls++ >= failRowCountAfter)
      throw std::runtime_error("grid gone");
    return RecordingSink::RowCount();
  }
  int failWrites = 0;
  int failRowCountAfter = -1;
  mutable int rowCountCalls = 0;
};

class GridFillFailureTest : public GridTest {};

TEST_F(GridFillFailureTest, FailedWritesAreTriedThreeTimes) {
  StoreLast("AAA", 12.5, 12);
  TFillRequest request;
  request.GridKind = gkWatchList;
  request.WatchMode = true;
  request.PortfolioIndex = 0;
  request.ColPos = IdentityColumns();
  request.Symbols = {"AAA"};

  FailingSink twice(GridFieldCount, 10);
  twice.failWrites = 2;
  ShowResults(request, nullptr, twice);
  EXPECT_EQ(twice.Cell(0, 1), "AAA");

  FailingSink thrice(GridFieldCount, 10);
  thrice.failWrites = 3;
  ShowResults(request, nullptr, thrice);
  EXPECT_EQ(thrice.Cell(0, 1), ""); // given up; the rest of the row goes on
  EXPECT_FALSE(thrice.Cell(gfLast, 1).empty());
}

TEST_F(GridFillFailureTest, FailureOutsideTheRowBlocksIsReported) {
  StoreLast("AAA", 12.5, 12);
  TFillRequest request;
  request.GridKind = gkWatchList;
  request.WatchMode = true;
  request.PortfolioIndex = 0;
  request.ColPos = IdentityColumns();
  request.Symbols = {"AAA", "BBB", "CCC"};
  FailingSink sink(GridFieldCount, 10);
  sink.failRowCountAfter = 3;
  ShowResults(request, nullptr, sink);
  const auto reports = Reports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].second, "SGShow Results ");
  EXPECT_NE(reports[0].first.find("grid gone"), std::string::npos);
  EXPECT_EQ(sink.SyncPoints, 0);
}

} // namespace
