// Filling a quote grid of 500 and 2,000 portfolio rows with all 45 fields:
// - GridFill: the fill thread's work (recalculation, every cell text, the
//   writes into the grid's cell store), on a fresh grid and again with
//   nothing changed (every cell read and compared, none written);
// - CellStore: only the writes of the same texts into a cell store;
// - QTableWidget: the same texts given to a QTableWidget, first as new items,
//   then again with each item's text compared and left alone.
#include "core/Portfolio.h"
#include "core/StockStore.h"
#include "platform/GridCellStore.h"
#include "views/stockgrid/ShowStocksThread.h"
#include "views/stockgrid/StockGridGlobals.h"

#include <QTableWidget>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kCols = GridFieldCount;

// A portfolio of rows positions (every tenth a separator) with quotes and
// fundamentals for every symbol; returns its index.
int SamplePortfolio(int rows) {
  static std::vector<int> made(4000, 0);
  if (made[std::size_t(rows)])
    return made[std::size_t(rows)];
  std::vector<PortPosition> positions;
  for (int i = 0; i < rows; ++i) {
    PortPosition p;
    if (i % 10 == 9) {
      p.Symbol = "-";
    } else {
      char symbol[16];
      std::snprintf(symbol, sizeof symbol, "S%04d", i);
      p.Symbol = symbol;
      p.Quantity = 10 + i % 90;
      p.PaidText = std::to_string(20 + i % 50);
      p.PricePaid = float(20 + i % 50);
      p.Commission = 4.95f;
      p.Note = "note";
      QuoteFields q;
      q.Last = 25 + (i % 70) * 0.37;
      q.Bid = q.Last - 0.01;
      q.Ask = q.Last + 0.01;
      q.PrevClose = q.Last - 0.5 + (i % 3) * 0.4;
      q.High = q.Last + 0.3;
      q.Low = q.Last - 0.6;
      q.Volume = 100000 + i * 37;
      q.BidSize = 3;
      q.AskSize = 5;
      q.LastVolume = 100;
      q.NumTrades = 1200 + i;
      q.AvgTrade = 250;
      q.QuoteTime = 0.55;
      q.DayStamp = 45301;
      StoreQuote(p.Symbol, q);
      FundData f;
      f.CompanyName = "Company " + p.Symbol;
      f.PrevClose = q.PrevClose;
      f.Open = q.Last - 0.2;
      f.AvgVolume = 90000;
      f.Low52 = q.Last * 0.7;
      f.High52 = q.Last * 1.3;
      f.PE = 18.5;
      f.Earnings = 1.45;
      f.MarketCap = "12.3B";
      f.Dividend = 0.8;
      f.Yield = 1.9;
      f.Exchange = "NYSE";
      StoreFundamentals(p.Symbol, f);
    }
    positions.push_back(p);
  }
  made[std::size_t(rows)] =
      PortfolioList.Add("Bench " + std::to_string(rows), "BENCH" + std::to_string(rows), positions);
  return made[std::size_t(rows)];
}

TFillRequest RequestFor(int index) {
  TFillRequest r;
  r.GridKind = gkPrintGrid;
  r.PortfolioIndex = index;
  for (int f = 0; f < GridFieldCount; ++f)
    r.ColPos[f] = f;
  for (const PortPosition &p : PortfolioList[index].Positions)
    r.Symbols.push_back(p.Symbol);
  return r;
}

void Fill(const TFillRequest &request, const std::shared_ptr<TGridCellStore> &store) {
  auto link = std::make_shared<TFillLink>();
  link->FillRunning = true;
  TStoreFillSink sink(store, link);
  ExecuteFill(request, sink, *link);
}

// The texts a fill gives, row by row.
std::vector<std::vector<std::string>> FilledTexts(int rows) {
  const TFillRequest request = RequestFor(SamplePortfolio(rows));
  auto store = std::make_shared<TGridCellStore>(kCols, 2);
  Fill(request, store);
  std::vector<std::vector<std::string>> texts;
  for (int r = 0; r < store->RowCount(); ++r)
    texts.push_back(store->RowTexts(r));
  return texts;
}

void BM_GridFill_FirstPass(benchmark::State &state) {
  const TFillRequest request = RequestFor(SamplePortfolio(int(state.range(0))));
  for (auto _ : state) {
    state.PauseTiming();
    auto store = std::make_shared<TGridCellStore>(kCols, 2);
    state.ResumeTiming();
    Fill(request, store);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0) * kCols);
}

void BM_GridFill_NoChangePass(benchmark::State &state) {
  const TFillRequest request = RequestFor(SamplePortfolio(int(state.range(0))));
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
