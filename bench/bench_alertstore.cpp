// The alert store at the size of a heavy user: loading and saving 10,000
// alerts, loading 100,000 against loading 10,000 (2,000 symbols both times,
// so each symbol holds ten times the alerts), and the row-highlight question
// the grid asks for every painted cell (2,000 symbols), which the per-symbol
// index answers without a walk over every alert.
#include "BenchRatio.h"
#include "alerts/AlertFile.h"
#include "alerts/AlertNames.h"
#include "alerts/AlertSystem.h"
#include "alerts/EMailRecord.h"
#include "core/ErrorReport.h"
#include "platform/Clock.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kAlerts = 10000;
constexpr int kSymbols = 2000;

std::string SymbolName(int i) { return "SYM" + std::to_string(i); }

// In one batch: adding 100,000 one by one walks each symbol's alerts.
void Fill(AlertSystemClass &store, int count = kAlerts) {
  std::vector<std::unique_ptr<TAlertRecord>> alerts;
  for (int i = 0; i < count; ++i) {
    auto a = TAlertRecord::Create();
    a->Symbol = SymbolName(i % kSymbols);
    a->AlertType = std::uint8_t(i % 4);
    a->P1 = 10 + i * 0.01;
    a->P2 = 1.0;
    if (i % 7 == 0) {
      a->ActiveActions.Include(ActionHighlightRow);
      a->ActivationTimes[ActionHighlightRow] = 45000;
    }
    alerts.push_back(std::move(a));
  }
  store.AddAlerts(std::move(alerts));
}

void BM_SaveAlertFile10k(benchmark::State &state) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("ALERTS.DAT").toStdString();
  AlertSystemClass store;
  Fill(store);
  for (auto _ : state)
    SaveAlertFile(store, path);
  state.SetItemsProcessed(state.iterations() * kAlerts);
}
BENCHMARK(BM_SaveAlertFile10k)->Unit(benchmark::kMillisecond);

void LoadAlertFile(benchmark::State &state, int count) {
  SetErrorReportSink([](const std::string &, const std::string &) {});
  QTemporaryDir dir;
  const std::string path = dir.filePath("ALERTS.DAT").toStdString();
  {
    AlertSystemClass store;
    Fill(store, count);
    SaveAlertFile(store, path);
  }
  for (auto _ : state) {
    auto store = std::make_unique<AlertSystemClass>();
    ResetMailSettings();
    const AlertFileReport report = LoadAlertFile(*store, path);
    if (report.added != count)
      state.SkipWithError("not every alert was loaded");
    state.PauseTiming(); // freeing the store is not part of loading
    store->ClearAll();
    store.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * count);
  SetErrorReportSink(nullptr);
}

void BM_LoadAlertFile10k(benchmark::State &state) { LoadAlertFile(state, kAlerts); }
void BM_LoadAlertFile100k(benchmark::State &state) { LoadAlertFile(state, 10 * kAlerts); }
BENCHMARK(BM_LoadAlertFile10k)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(BM_LoadAlertFile100k)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

const bool registered = [] {
  RegisterRatio("load ALERTS.DAT, 100,000 alerts / 10,000", "BM_LoadAlertFile100k",
                "BM_LoadAlertFile10k", 12.0);
  return true;
}();

// One grid repaint: every row's symbol asked once.
void BM_GetRowHighlight2000Symbols(benchmark::State &state) {
  AlertSystemClass store;
  Fill(store);
  std::vector<std::string> symbols;
  for (int i = 0; i < kSymbols; ++i)
    symbols.push_back(SymbolName(i));
  for (auto _ : state) {
    for (const std::string &symbol : symbols) {
      bool active;
      TDateTime age;
      benchmark::DoNotOptimize(store.GetRowHighlight(symbol, active, age));
    }
  }
  state.SetItemsProcessed(state.iterations() * kSymbols);
}
BENCHMARK(BM_GetRowHighlight2000Symbols)->Unit(benchmark::kMicrosecond);

// The same with the clock read once per repaint by the caller.
void BM_GetRowHighlight2000SymbolsOneClockReading(benchmark::State &state) {
  AlertSystemClass store;
  Fill(store);
  std::vector<std::string> symbols;
  for (int i = 0; i < kSymbols; ++i)
    symbols.push_back(SymbolName(i));
  for (auto _ : state) {
    const TDateTime now = AppClock().Now();
    for (const std::string &symbol : symbols) {
      bool active;
      TDateTime age;
      benchmark::DoNotOptimize(store.GetRowHighlight(symbol, active, age, now));
    }
  }
  state.SetItemsProcessed(state.iterations() * kSymbols);
}
BENCHMARK(BM_GetRowHighlight2000SymbolsOneClockReading)->Unit(benchmark::kMicrosecond);

} // namespace
