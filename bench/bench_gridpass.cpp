// What a quote grid's passes cost next to a QTableWidget doing the least of
// the same work, 2,000 portfolio rows x 45 fields, medians of 7 runs:
// - a full pass into an empty grid / a QTableWidget taking the 90,000 texts;
// - a pass with nothing changed / setText of the same 90,000 texts;
// - a full pass after 20 symbols changed / setText of those 20 rows;
// - GetPortfolioSymbols of the portfolio / a QTableWidget taking 90,000 texts.
#include "BenchPortfolio.h"
#include "BenchRatio.h"
#include "core/Portfolio.h"
#include "platform/GridCellStore.h"
#include "views/stockgrid/ShowStocksThread.h"
#include "views/stockgrid/StockGrid.h"
#include "views/stockgrid/StockGridGlobals.h"

#include <QTableWidget>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kRows = 2000;
constexpr int kCols = GridFieldCount;
constexpr int kChanged = 20;
constexpr int kRepetitions = 7;

// A grid's store and the link its passes share.
struct Grid {
  std::shared_ptr<TGridCellStore> Store = std::make_shared<TGridCellStore>(kCols, 2);
  std::shared_ptr<TFillLink> Link = std::make_shared<TFillLink>();

  void Pass(const TFillRequest &request) {
    Link->FillRunning = true;
    TStoreFillSink sink(Store, Link);
    ExecuteFill(request, sink, *Link);
  }
};

const TFillRequest &Request() {
  static const TFillRequest request = SampleRequest(SamplePortfolio(kRows));
  return request;
}

// The texts a pass gives, row by row.
const std::vector<std::vector<QString>> &Texts() {
  static const std::vector<std::vector<QString>> texts = [] {
    std::vector<std::vector<QString>> rows;
    for (const std::vector<std::string> &texts : SampleGridTexts(kRows)) {
      std::vector<QString> row;
      for (const std::string &t : texts)
        row.push_back(QString::fromStdString(t));
      rows.push_back(row);
    }
    return rows;
  }();
  return texts;
}

std::unique_ptr<QTableWidget> FilledTable() {
  const auto &texts = Texts();
  auto table = std::make_unique<QTableWidget>(int(texts.size()), kCols);
  for (int r = 0; r < int(texts.size()); ++r)
    for (int c = 0; c < kCols; ++c)
      table->setItem(r, c, new QTableWidgetItem(texts[std::size_t(r)][std::size_t(c)]));
  return table;
}

// The rows of the symbols a refresh changes: spread over the portfolio.
int ChangedPosition(int k) { return k * (kRows / kChanged) + 1; }

void BM_GridFullPass_EmptyGrid(benchmark::State &state) {
  const TFillRequest &request = Request();
  for (auto _ : state) {
    state.PauseTiming();
    auto grid = std::make_unique<Grid>();
    state.ResumeTiming();
    grid->Pass(request);
    state.PauseTiming();
    grid.reset();
    state.ResumeTiming();
  }
}

void BM_QTableWidget_TakesAllTexts(benchmark::State &state) {
  const auto &texts = Texts();
  for (auto _ : state) {
    state.PauseTiming();
    auto table = std::make_unique<QTableWidget>(int(texts.size()), kCols);
    state.ResumeTiming();
    for (int r = 0; r < int(texts.size()); ++r)
      for (int c = 0; c < kCols; ++c)
        table->setItem(r, c, new QTableWidgetItem(texts[std::size_t(r)][std::size_t(c)]));
    state.PauseTiming();
    table.reset();
    state.ResumeTiming();
  }
}

void BM_GridPass_NothingChanged(benchmark::State &state) {
  const TFillRequest &request = Request();
  Grid grid;
  grid.Pass(request);
  for (auto _ : state)
    grid.Pass(request);
}

void BM_QTableWidget_SetSameTexts(benchmark::State &state) {
  const auto &texts = Texts();
  const auto table = FilledTable();
  for (auto _ : state)
    for (int r = 0; r < int(texts.size()); ++r)
      for (int c = 0; c < kCols; ++c)
        table->item(r, c)->setText(texts[std::size_t(r)][std::size_t(c)]);
}

void BM_GridPass_TwentySymbolsChanged(benchmark::State &state) {
  const TFillRequest &request = Request();
  Grid grid;
  grid.Pass(request);
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ++round;
    for (int k = 0; k < kChanged; ++k)
      MoveSampleQuote(ChangedPosition(k), (round % 2) * 0.25);
    state.ResumeTiming();
    grid.Pass(request);
  }
  // Back to the quotes the other benchmarks expect.
  for (int k = 0; k < kChanged; ++k)
    MoveSampleQuote(ChangedPosition(k), 0);
}

void BM_QTableWidget_SetTwentyRows(benchmark::State &state) {
  const auto &texts = Texts();
  const auto table = FilledTable();
  std::vector<std::vector<QString>> changed;
  for (int k = 0; k < kChanged; ++k) {
    std::vector<QString> row = texts[std::size_t(ChangedPosition(k) + 1)];
    for (QString &t : row)
      t += '1';
    changed.push_back(row);
  }
  int round = 0;
  for (auto _ : state) {
    ++round;
    for (int k = 0; k < kChanged; ++k) {
      const int r = ChangedPosition(k) + 1;
      const auto &row = round % 2 ? changed[std::size_t(k)] : texts[std::size_t(r)];
      for (int c = 0; c < kCols; ++c)
        table->item(r, c)->setText(row[std::size_t(c)]);
    }
  }
}

void BM_GetPortfolioSymbols(benchmark::State &state) {
  const int index = SamplePortfolio(kRows);
  const int previous = CurrentPortfolio.exchange(index);
  TStockGrid grid;
  grid.GridKind = gkPrintGrid;
  grid.PortfolioIndex = index;
  std::string list;
  for (auto _ : state) {
    grid.GetPortfolioSymbols(list);
    benchmark::DoNotOptimize(list.data());
  }
  CurrentPortfolio.store(previous);
}

#define RATIO_BENCHMARK(fn)                                                                        \
  BENCHMARK(fn)->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions)->ReportAggregatesOnly()

RATIO_BENCHMARK(BM_GridFullPass_EmptyGrid);
RATIO_BENCHMARK(BM_QTableWidget_TakesAllTexts);
RATIO_BENCHMARK(BM_GridPass_NothingChanged);
RATIO_BENCHMARK(BM_QTableWidget_SetSameTexts);
RATIO_BENCHMARK(BM_GridPass_TwentySymbolsChanged);
RATIO_BENCHMARK(BM_QTableWidget_SetTwentyRows);
RATIO_BENCHMARK(BM_GetPortfolioSymbols);

const bool registered = [] {
  RegisterRatio("GetPortfolioSymbols, 2,000 rows / QTableWidget taking 90,000 texts",
                "BM_GetPortfolioSymbols", "BM_QTableWidget_TakesAllTexts", 0.05);
  RegisterRatio("grid full pass into an empty grid / QTableWidget taking the texts",
                "BM_GridFullPass_EmptyGrid", "BM_QTableWidget_TakesAllTexts", 1.0);
  RegisterRatio("grid pass, nothing changed / setText of the same texts",
                "BM_GridPass_NothingChanged", "BM_QTableWidget_SetSameTexts", 2.0);
  RegisterRatio("full pass after 20 symbols changed / setText of those 20 rows",
                "BM_GridPass_TwentySymbolsChanged", "BM_QTableWidget_SetTwentyRows", 5.0);
  return true;
}();

} // namespace
