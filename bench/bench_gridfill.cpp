// Filling a quote grid of 500 and 2,000 portfolio rows with all 45 fields:
// - GridFill: the fill thread's work (recalculation, every cell text, the
//   writes into the grid's cell store), on a fresh grid and again with
//   nothing changed (every cell read and compared, none written);
// - CellStore: only the writes of the same texts into a cell store;
// - QTableWidget: the same texts given to a QTableWidget, first as new items,
//   then again with each item's text compared and left alone.
#include "BenchPortfolio.h"
#include "core/Portfolio.h"
#include "core/StockStore.h"
#include "platform/GridCellStore.h"
#include "views/stockgrid/ShowStocksThread.h"
#include "views/stockgrid/StockGridGlobals.h"

#include <QTableWidget>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kCols = GridFieldCount;

void Fill(const TFillRequest &request, const std::shared_ptr<TGridCellStore> &store) {
  auto link = std::make_shared<TFillLink>();
  link->FillRunning = true;
  TStoreFillSink sink(store, link);
  ExecuteFill(request, sink, *link);
}

// The texts a fill gives, row by row.
std::vector<std::vector<std::string>> FilledTexts(int rows) {
  const TFillRequest request = SampleRequest(SamplePortfolio(rows));
  auto store = std::make_shared<TGridCellStore>(kCols, 2);
  Fill(request, store);
  std::vector<std::vector<std::string>> texts;
  for (int r = 0; r < store->RowCount(); ++r)
    texts.push_back(store->RowTexts(r));
  return texts;
}

void BM_GridFill_FirstPass(benchmark::State &state) {
  const TFillRequest request = SampleRequest(SamplePortfolio(int(state.range(0))));
  for (auto _ : state) {
    state.PauseTiming();
    auto store = std::make_shared<TGridCellStore>(kCols, 2);
    state.ResumeTiming();
    Fill(request, store);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0) * kCols);
}

void BM_GridFill_NoChangePass(benchmark::State &state) {
  const TFillRequest request = SampleRequest(SamplePortfolio(int(state.range(0))));
  auto store = std::make_shared<TGridCellStore>(kCols, 2);
  Fill(request, store);
  for (auto _ : state)
    Fill(request, store);
  state.SetItemsProcessed(state.iterations() * state.range(0) * kCols);
}

void BM_CellStore_SetTexts(benchmark::State &state) {
  const auto texts = FilledTexts(int(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    TGridCellStore store(kCols, int(texts.size()));
    state.ResumeTiming();
    for (int r = 0; r < int(texts.size()); ++r)
      for (int c = 0; c < kCols; ++c)
        store.SetCell(c, r, texts[std::size_t(r)][std::size_t(c)]);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0) * kCols);
}

void BM_QTableWidget_FirstPass(benchmark::State &state) {
  const auto texts = FilledTexts(int(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    auto table = std::make_unique<QTableWidget>(int(texts.size()), kCols);
    state.ResumeTiming();
    for (int r = 0; r < int(texts.size()); ++r)
      for (int c = 0; c < kCols; ++c)
        table->setItem(
            r, c,
            new QTableWidgetItem(QString::fromStdString(texts[std::size_t(r)][std::size_t(c)])));
    state.PauseTiming();
    table.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0) * kCols);
}

void BM_QTableWidget_NoChangePass(benchmark::State &state) {
  const auto texts = FilledTexts(int(state.range(0)));
  QTableWidget table(int(texts.size()), kCols);
  for (int r = 0; r < int(texts.size()); ++r)
    for (int c = 0; c < kCols; ++c)
      table.setItem(
          r, c,
          new QTableWidgetItem(QString::fromStdString(texts[std::size_t(r)][std::size_t(c)])));
  for (auto _ : state) {
    for (int r = 0; r < int(texts.size()); ++r)
      for (int c = 0; c < kCols; ++c) {
        const QString text = QString::fromStdString(texts[std::size_t(r)][std::size_t(c)]);
        QTableWidgetItem *item = table.item(r, c);
        if (item->text() != text)
          item->setText(text);
      }
  }
  state.SetItemsProcessed(state.iterations() * state.range(0) * kCols);
}

BENCHMARK(BM_GridFill_FirstPass)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridFill_NoChangePass)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CellStore_SetTexts)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QTableWidget_FirstPass)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QTableWidget_NoChangePass)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

} // namespace
