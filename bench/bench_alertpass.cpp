// One evaluation pass of the alert thread at the size of a heavy user: 10,000
// enabled alerts on 1,000 symbols, every symbol with 100 ticks that arrived
// since the previous pass. Compared: the pass when every symbol was updated
// (each alert walks its 100 new ticks) and when only 10 symbols were (the
// other alerts cost one set look-up each). The pass over every symbol is
// judged against the least it must do: reading each alert's new ticks once.
#include "BenchRatio.h"
#include "acquisition/UpdatedSymbols.h"
#include "alerts/AlertEvaluation.h"
#include "alerts/AlertNames.h"
#include "alerts/AlertRecord.h"
#include "alerts/AlertSystem.h"
#include "alerts/PendingAlertQueue.h"
#include "core/StockStore.h"
#include "platform/Clock.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kSymbols = 1000;
constexpr int kAlertsPerSymbol = 10;
constexpr int kNewTicks = 100;

std::string SymbolName(int i) { return "SYM" + std::to_string(i); }

struct PassSetup {
  FakeClock clock;
  AlertSystemClass store;
  TPendingAlertQueue queue;
  std::string allSymbols;
  std::string tenSymbols;

  PassSetup() {
    SetAppClock(&clock);
    ResetStockStore();
    for (int s = 0; s < kSymbols; ++s) {
      const std::string symbol = SymbolName(s);
      FundData f;
      f.AvgVolume = 1e6;
      StoreFundamentals(symbol, f);
      for (int t = 0; t <= kNewTicks; ++t) {
        QuoteFields q;
        q.Last = 50 + (t % 7) * 0.25; // moves inside 50 .. 51.5
        q.Bid = q.Last - 0.05;
        q.Ask = q.Last + 0.05;
        q.Volume = 1000.0 * t;
        q.PrevClose = 50;
        q.High = 51.5;
        q.Low = 50;
        StoreQuote(symbol, q);
      }
      allSymbols += "|" + symbol + "|";
      if (s % 100 == 0)
        tenSymbols += "|" + symbol + "|";
      for (int k = 0; k < kAlertsPerSymbol; ++k) {
        auto a = std::make_unique<TAlertRecord>();
        a->Symbol = symbol;
        // Limits outside the range the ticks move in, so every alert walks
        // all of its new ticks.
        switch (k % 5) {
        case 0: // low price, crossing
          a->AlertType = AlertTypeLowPrice;
          a->P1 = 40 - k;
          a->P2 = 1.0;
          break;
        case 1: // high price, any time, on the ask
          a->AlertType = AlertTypeHighPrice;
          a->P1 = 60 + k;
          a->P2 = 3.0;
          a->P3 = 1.0;
          break;
        case 2: // spread crossing upward
          a->AlertType = AlertTypeColumn;
          a->P1 = ColumnSpread;
          a->P3 = 5 + k;
          a->P4 = 1.0;
          break;
        case 3: // volume percent any time
          a->AlertType = AlertTypeColumn;
          a->P1 = ColumnVolumePercent;
          a->P3 = 500 + k;
          break;
        default: // change percent downward
          a->AlertType = AlertTypeColumn;
          a->P1 = ColumnChangePercent;
          a->P2 = 1.0;
          a->P3 = -20 - k;
          break;
        }
        store.AddAlert(std::move(a));
      }
    }
  }
  ~PassSetup() {
    ResetStockStore();
    SetAppClock(nullptr);
  }

  // Every alert waits before its symbol's 100 new ticks again.
  void Rewind() {
    // Run-time fields only, written under the lock as the pass writes them.
    MyLockGuard guard(store.Lock, "BENCH");
    for (int i = 0; i < store.CountLocked(); ++i) {
      TAlertRecord *a = store.AlertAt(i);
      a->TickIndex = 1;
      a->LastAlertTime = 0;
    }
    queue.Clear();
  }
};

void RunPasses(benchmark::State &state, bool everySymbol) {
  PassSetup setup;
  const std::string &updated = everySymbol ? setup.allSymbols : setup.tenSymbols;
  long long evaluated = 0;
  for (auto _ : state) {
    state.PauseTiming();
    setup.Rewind();
    state.ResumeTiming();
    TAlertPass pass(setup.store, setup.queue, setup.clock);
    const AlertPassOutcome out = pass.Run(updated, 0);
    evaluated += out.Evaluated;
    benchmark::DoNotOptimize(out.Triggered.size());
  }
  state.counters["alerts evaluated per pass"] =
      double(evaluated) / double(std::max<long long>(1, state.iterations()));
}

// Every alert's new ticks read once, with no evaluation, lock or look-up.
void BM_ReadNewTicksOncePerAlert(benchmark::State &state) {
  PassSetup setup;
  std::vector<const ValueList *> lists;
  setup.store.ForEachAlert("BENCH", [&](const TAlertRecord &a) {
    lists.push_back(&StockList.Objects(StockList.IndexOf(a.Symbol))->Ticks);
  });
  for (auto _ : state) {
    double sum = 0;
    for (const ValueList *ticks : lists) {
      const int count = ticks->Count();
      for (int i = count - kNewTicks; i < count; ++i) {
        const TickEntry &t = ticks->Entry(i);
        sum += double(t.Last) + t.Bid + t.Ask + t.Volume;
      }
    }
    benchmark::DoNotOptimize(sum);
  }
}

constexpr int kRepetitions = 7;

void BM_AlertPassAllSymbolsUpdated(benchmark::State &state) { RunPasses(state, true); }
BENCHMARK(BM_AlertPassAllSymbolsUpdated)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly();

void BM_AlertPassTenSymbolsUpdated(benchmark::State &state) { RunPasses(state, false); }
BENCHMARK(BM_AlertPassTenSymbolsUpdated)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_ReadNewTicksOncePerAlert)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly();

const bool registered = [] {
  RegisterRatio("alert pass, 10,000 alerts, 100 new ticks each / reading the ticks",
                "BM_AlertPassAllSymbolsUpdated", "BM_ReadNewTicksOncePerAlert", 3.0);
  return true;
}();

} // namespace
