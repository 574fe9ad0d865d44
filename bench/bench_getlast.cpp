// GetLast1 over a store of 2,000 symbols: looked up by symbol (hash look-up
// of the upper-cased key) against by "|" + index (no look-up), each call
// taking the stock-list lock and the record's tick-list lock.
#include "core/StockStore.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int kSymbols = 2000;

std::vector<std::string> FillStore() {
  ResetStockStore();
  std::vector<std::string> symbols;
  for (int i = 0; i < kSymbols; ++i) {
    std::string symbol = "SYM" + std::to_string(i);
    QuoteFields q;
    q.Last = 10 + i % 100;
    q.Bid = q.Last - 0.05;
    q.Ask = q.Last + 0.05;
    q.PrevClose = q.Last - 0.5;
    q.QuoteTime = 0.5;
    q.DayStamp = 45301;
    for (int t = 0; t < 20; ++t)
      StoreQuote(symbol, q);
    symbols.push_back(symbol);
  }
  return symbols;
}

void BM_GetLast1_BySymbol(benchmark::State &state) {
  const auto symbols = FillStore();
  QuoteData q;
  for (auto _ : state) {
    for (const std::string &s : symbols)
      benchmark::DoNotOptimize(GetLast1(s, q));
  }
  state.SetItemsProcessed(state.iterations() * kSymbols);
  ResetStockStore();
}
BENCHMARK(BM_GetLast1_BySymbol);

void BM_GetLast1_ByIndex(benchmark::State &state) {
  FillStore();
  std::vector<std::string> keys;
  for (int i = 0; i < kSymbols; ++i)
    keys.push_back(StoreKey(i, ""));
  QuoteData q;
  for (auto _ : state) {
    for (const std::string &k : keys)
      benchmark::DoNotOptimize(GetLast1(k, q));
  }
  state.SetItemsProcessed(state.iterations() * kSymbols);
  ResetStockStore();
}
BENCHMARK(BM_GetLast1_ByIndex);

} // namespace
