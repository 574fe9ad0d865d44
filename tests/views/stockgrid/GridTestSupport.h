#pragma once
// Fresh stores, portfolios, schemes, views and lock timings for quote-grid
// tests, a recording fill sink, and quotes to store.
#include "acquisition/HTTPSite.h"
#include "acquisition/UpdatedSymbols.h"
#include "core/CriticalSection.h"
#include "core/DisplaySettings.h"
#include "core/ErrorReport.h"
#include "core/NewsStore.h"
#include "core/Portfolio.h"
#include "core/StockStore.h"
#include "platform/Clock.h"
#include "views/ViewStore.h"
#include "views/stockgrid/ColorScheme.h"
#include "views/stockgrid/GridFill.h"
#include "views/stockgrid/StockGridGlobals.h"

#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

// A grid in memory that records every write.
class RecordingSink : public TGridFillSink {
public:
  RecordingSink(int cols, int rows) : m_cols(cols), m_rows(rows) {}

  int ColCount() const override { return m_cols; }
  int RowCount() const override {
    std::lock_guard l(m_mutex);
    return m_rows;
  }
  void SetRowCount(int rows) override {
    std::lock_guard l(m_mutex);
    m_rows = std::max(rows, 2);
    RowCountWrites.push_back(m_rows);
  }
  std::string Cell(int col, int row) const override {
    std::lock_guard l(m_mutex);
    auto it = m_cells.find({col, row});
    return it == m_cells.end() || row >= m_rows ? std::string() : it->second;
  }
  void SetCell(int col, int row, const std::string &text) override {
    std::lock_guard l(m_mutex);
    if (col < 0 || col >= m_cols || row < 0 || row >= m_rows)
      return;
    m_cells[{col, row}] = text;
    CellWrites.push_back({col, row});
  }
  std::intptr_t Object(int col, int row) const override {
    std::lock_guard l(m_mutex);
    auto it = m_objects.find({col, row});
    return it == m_objects.end() || row >= m_rows ? 0 : it->second;
  }
  void SetObject(int col, int row, std::intptr_t object) override {
    std::lock_guard l(m_mutex);
    if (col < 0 || col >= m_cols || row < 0 || row >= m_rows)
      return;
    m_objects[{col, row}] = object;
    ObjectWrites.push_back({col, row});
  }
  void RepaintRow(int row) override {
    std::lock_guard l(m_mutex);
    Repaints.push_back(row);
  }
  bool SyncPoint() override {
    ++SyncPoints;
    return true;
  }

  // Rows that got any cell or object write.
  std::set<int> WrittenRows() const {
    std::set<int> rows;
    for (const auto &[c, r] : CellWrites)
      rows.insert(r);
    for (const auto &[c, r] : ObjectWrites)
      rows.insert(r);
    return rows;
  }
  void ClearLog() {
    CellWrites.clear();
    ObjectWrites.clear();
    Repaints.clear();
    RowCountWrites.clear();
    SyncPoints = 0;
  }

  std::vector<std::pair<int, int>> CellWrites;
  std::vector<std::pair<int, int>> ObjectWrites;
  std::vector<int> Repaints;
  std::vector<int> RowCountWrites;
  int SyncPoints = 0;

private:
  mutable std::mutex m_mutex;
  int m_cols;
  int m_rows;
  std::map<std::pair<int, int>, std::string> m_cells;
  std::map<std::pair<int, int>, std::intptr_t> m_objects;
};

// The column map that shows every field in the column of its number.
inline TColumnMap IdentityColumns() {
  TColumnMap m{};
  for (int f = 0; f < GridFieldCount; ++f)
    m[f] = f;
  return m;
}

class GridTest : public ::testing::Test {
protected:
  void SetUp() override {
    SetAppClock(&clock);
    LockTimings t;
    t.retryIntervalMs = 0;
    t.giveUpTries = 3;
    t.deadlockTries = 5;
    MyCriticalSection::SetTimings(t);
    MyCriticalSection::SetDeadlockReporter([](const std::string &) {});
    SetNewsLockTimings(NewsLockTimings{3, 0});
    SetDisplaySettings(TDisplaySettings());
    SetCurrentQuoteSite(HTTPSite());
    SetErrorReportSink([this](const std::string &message, const std::string &place) {
      std::lock_guard l(reportMutex);
      reports.emplace_back(message, place);
    });
    ResetStockStore();
    ResetNewsStore();
    ClearUpdatedSymbolSets();
    TakeUpdatedPortfolios();
    PortfolioList.Clear();
    CurrentPortfolio.store(0);
    NewsRows.Clear();
    NewsRowTimes.Clear();
    AlertRows.Clear();
    ResetSavedSorts();
    ResetColorSchemes();
    ResetViewStore();
  }
  void TearDown() override {
    ResetStockStore();
    ResetNewsStore();
    ClearUpdatedSymbolSets();
    TakeUpdatedPortfolios();
    PortfolioList.Clear();
    CurrentPortfolio.store(0);
    NewsRows.Clear();
    NewsRowTimes.Clear();
    AlertRows.Clear();
    ResetSavedSorts();
    SetErrorReportSink({});
    SetDisplaySettings(TDisplaySettings());
    SetNewsLockTimings(NewsLockTimings());
    MyCriticalSection::SetDeadlockReporter(nullptr);
    MyCriticalSection::ResetTimings();
    SetAppClock(nullptr);
  }

  // No grid kind has sorted before.
  static void ResetSavedSorts() {
    for (int kind = 1; kind <= GridKindCount; ++kind) {
      SavedSortCol.Set(kind, -1);
      SavedSortDown.Set(kind, false);
    }
  }

  // Stores a quote stamped 2024-01-10 10:30.
  static void StoreLast(const std::string &symbol, double last, double prevClose,
                        double volume = 1000) {
    QuoteFields q;
    q.Last = last;
    q.Bid = last - 0.01;
    q.Ask = last + 0.01;
    q.PrevClose = prevClose;
    q.High = last + 1;
    q.Low = last - 1;
    q.Volume = volume;
    q.QuoteTime = 10.5 / 24;
    q.DayStamp = 45301;
    StoreQuote(symbol, q);
  }

  static PortPosition Pos(const std::string &symbol, double quantity = 10, double paid = 10) {
    PortPosition p;
    p.Symbol = symbol;
    p.Quantity = quantity;
    p.PaidText = std::to_string(int(paid));
    p.PricePaid = float(paid);
    return p;
  }

  // A portfolio grid request for PortfolioList[index] with its symbols.
  static TFillRequest PortfolioRequest(int index, int gridKind = gkMainGrid) {
    TFillRequest r;
    r.GridKind = gridKind;
    r.PortfolioIndex = index;
    r.ColPos = IdentityColumns();
    for (const PortPosition &p : PortfolioList[index].Positions)
      r.Symbols.push_back(p.Symbol);
    return r;
  }

  std::vector<std::pair<std::string, std::string>> Reports() {
    std::lock_guard l(reportMutex);
    return reports;
  }

  FakeClock clock{45301.6};
  std::mutex reportMutex;
  std::vector<std::pair<std::string, std::string>> reports;
};
