// One quotes.csv refresh of 2,000 changed symbols as the main window's
// refresh timer runs it on the window thread (the intake's read, parse and
// store, the updated-symbol sets, the grid's set taken), next to the least
// that work needs: reading the file, parsing it and storing the quotes.
// Then the window's time for a file of 16 MB (522,652 symbols), next to the
// refresh of 2,000: the symbols read of one file are capped.
#include "BenchRatio.h"
#include "acquisition/QuoteCsv.h"
#include "acquisition/QuoteIntake.h"
#include "acquisition/UpdatedSymbols.h"
#include "core/ProgramFolder.h"
#include "core/StockStore.h"
#include "platform/Format.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kSymbols = 2000;
constexpr int kRepetitions = 7;

// The file's text with every price moved by round / 100.
std::string QuoteText(int round) {
  std::string text = "Symbol,Last,Bid,Ask,Volume,High,Low,PrevClose,BidSize,AskSize,Time\n";
  for (int i = 0; i < kSymbols; ++i) {
    const double last = 20 + (i % 300) * 0.25 + (round % 50) * 0.01;
    text += Format("Q%.4d,%.2f,%.2f,%.2f,%d,%.2f,%.2f,%.2f,%d,%d,10:%.2d:%.2d\n",
                   {i, last, last - 0.01, last + 0.01, 100000 + round * 100 + i, last + 1, last - 1,
                    last - 0.5, 3, 4, round % 60, i % 60});
  }
  return text;
}

struct Folder {
  QTemporaryDir Dir;
  Folder() { SetProgramFolder(QDir(Dir.path()).absolutePath().toStdString() + "/"); }
  std::string Path() const { return QuoteIntake::FileName(); }
  void Write(const std::string &text) const {
    QSaveFile file(QString::fromStdString(Path()));
    file.open(QIODevice::WriteOnly);
    file.write(text.data(), qint64(text.size()));
    file.commit();
  }
};

Folder &TheFolder() {
  static Folder folder;
  return folder;
}

void BM_Refresh_WindowThread(benchmark::State &state) {
  Folder &folder = TheFolder();
  QuoteIntake intake;
  intake.SetDemo(false);
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    folder.Write(QuoteText(++round));
    ClearUpdatedSymbolSets();
    state.ResumeTiming();
    const auto stored = intake.Refresh();
    std::string mainGrid;
    TakeUpdatedSymbols(usMainGrid, mainGrid, "MAIN");
    benchmark::DoNotOptimize(mainGrid.data());
    if (stored.size() != std::size_t(kSymbols))
      state.SkipWithError("the refresh did not store every quote");
  }
  ClearUpdatedSymbolSets();
}

// The text of kHugeSymbols quotes (about 16 MB), every price moved by round / 100.
constexpr int kHugeSymbols = 522652;
std::string HugeQuoteText(int round) {
  std::string text = "Symbol,Last,Bid,Ask\n";
  text.reserve(std::size_t(kHugeSymbols) * 32);
  char line[96];
  for (int i = 0; i < kHugeSymbols; ++i) {
    const double last = 20 + (i % 300) * 0.25 + (round % 50) * 0.01;
    std::snprintf(line, sizeof line, "H%06d,%.2f,%.2f,%.2f\n", i, last, last - 0.01, last + 0.01);
    text += line;
  }
  return text;
}

// The window thread's time until a new version of the huge file is stored
// (refresh ticks one after the other).
void BM_Refresh_HugeFile_WindowThread(benchmark::State &state) {
  Folder &folder = TheFolder();
  QuoteIntake intake;
  intake.SetDemo(false);
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    folder.Write(HugeQuoteText(++round));
    ClearUpdatedSymbolSets();
    state.ResumeTiming();
    std::size_t stored = 0;
    for (int tick = 0; tick < 100 && stored == 0; ++tick)
      stored = intake.Refresh().size();
    if (stored == 0)
      state.SkipWithError("the huge file was not stored");
  }
  ClearUpdatedSymbolSets();
  ResetStockStore();
}

void BM_ReadParseStore(benchmark::State &state) {
  Folder &folder = TheFolder();
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    folder.Write(QuoteText(++round));
    state.ResumeTiming();
    QFile file(QString::fromStdString(folder.Path()));
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    const QuoteCsvResult parsed =
        ParseQuoteCsv(std::string(bytes.constData(), std::size_t(bytes.size())));
    for (const QuoteCsvRow &q : parsed.Rows) {
      QuoteFields f;
      f.Last = q.Last;
      f.Bid = q.Bid;
      f.Ask = q.Ask;
      f.Volume = q.Volume;
      f.High = q.High;
      f.Low = q.Low;
      f.PrevClose = q.PrevClose;
      f.BidSize = q.BidSize;
      f.AskSize = q.AskSize;
      f.QuoteTime = q.Time;
      f.DayStamp = 45301;
      StoreQuote(q.Symbol, f);
    }
  }
}

BENCHMARK(BM_Refresh_WindowThread)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly();
BENCHMARK(BM_ReadParseStore)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly();
BENCHMARK(BM_Refresh_HugeFile_WindowThread)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

const bool registered = [] {
  RegisterRatio("quotes.csv refresh of 2,000 changed symbols / read, parse and store",
                "BM_Refresh_WindowThread", "BM_ReadParseStore", 3.0);
  RegisterRatio("quotes.csv of 16 MB (522,652 symbols) until stored / refresh of 2,000 symbols",
                "BM_Refresh_HugeFile_WindowThread", "BM_Refresh_WindowThread", 20.0);
  return true;
}();

} // namespace
