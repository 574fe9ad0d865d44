// News: a 2,000-item news.csv read by the intake (read, parse, AddNews, the
// updated-symbol sets) next to parsing it alone; and the news store's
// AddNews and MarkNewsRead at 1,000 and at 5,000 or 20,000 items, which grow
// with the items they touch.
#include "BenchRatio.h"
#include "acquisition/NewsCsv.h"
#include "acquisition/NewsIntake.h"
#include "acquisition/UpdatedSymbols.h"
#include "core/NewsStore.h"
#include "core/ProgramFolder.h"
#include "core/StockStore.h"

#include <QDir>
#include <QSaveFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <malloc.h>
#include <string>

namespace {

constexpr int kItems = 2000;
constexpr int kSymbols = 10; // the store's items are spread over this many symbols
constexpr int kRepetitions = 5;

// 2,000 items over 200 symbols, every link new in each round.
std::string NewsText(int round) {
  std::string text = "Symbol,Time,Source,Title,Link\n";
  char line[240];
  for (int i = 0; i < kItems; ++i) {
    std::snprintf(line, sizeof line,
                  "N%03d,2026-12-04 %02d:%02d:%02d,Wire,\"Item %d of round %d, with a comma\","
                  "https://example.com/news/%d-%d\n",
                  i % 200, 9 + i % 7, i % 60, round % 60, i, round, round, i);
    text += line;
  }
  return text;
}

struct Folder {
  QTemporaryDir Dir;
  Folder() { SetProgramFolder(QDir(Dir.path()).absolutePath().toStdString() + "/"); }
  void Write(const std::string &text) const {
    QSaveFile file(QString::fromStdString(NewsIntake::FileName()));
    file.open(QIODevice::WriteOnly);
    file.write(text.data(), qint64(text.size()));
    file.commit();
  }
};

void BM_NewsIntakeRead(benchmark::State &state) {
  static Folder folder;
  NewsIntake intake;
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ResetStockStore();
    ClearUpdatedSymbolSets();
    folder.Write(NewsText(++round));
    state.ResumeTiming();
    const auto fresh = intake.Read(false);
    if (fresh.size() != 200)
      state.SkipWithError("the read did not add the items");
  }
  ResetStockStore();
  ClearUpdatedSymbolSets();
}

void BM_NewsParseOnly(benchmark::State &state) {
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const std::string text = NewsText(++round);
    state.ResumeTiming();
    const NewsCsvResult parsed = ParseNewsCsv(text);
    benchmark::DoNotOptimize(parsed.Rows.data());
  }
}

IncomingNews Item(int i) {
  IncomingNews n;
  n.Title = "Item " + std::to_string(i);
  n.Link = "https://example.com/news/" + std::to_string(i);
  n.Source = "Wire";
  n.Date = 46000 + i / 1440.0;
  return n;
}

// Each round of the store benchmarks starts from an empty store; the previous
// round's store is freed outside the timing. By default the allocator hands
// freed memory back to the system when the free top of the heap exceeds
// twice its largest freed block, and maps large blocks afresh: a 20,000-item
// round then paid some 800 page faults inside its timing for memory the
// previous round had given back, while a 1,000-item round reused memory the
// process kept. Here the process keeps what it frees, so rounds of either
// size find their memory mapped, as a session's store does.
void KeepFreedMemory() {
  static const bool kept = [] {
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
    return true;
  }();
  (void)kept;
}

void AddItems(int count) {
  for (int i = 0; i < count; ++i)
    AddNews("S" + std::to_string(i % kSymbols), Item(i), {});
}

void AddNewsOf(benchmark::State &state, int count) {
  KeepFreedMemory();
  for (auto _ : state) {
    state.PauseTiming();
    ResetStockStore();
    state.ResumeTiming();
    AddItems(count);
  }
  ResetStockStore();
}

void MarkNewsReadOf(benchmark::State &state, int count) {
  KeepFreedMemory();
  for (auto _ : state) {
    state.PauseTiming();
    ResetStockStore();
    AddItems(count);
    state.ResumeTiming();
    for (int number = 1; number <= count; ++number)
      MarkNewsRead(number, true);
  }
  ResetStockStore();
}

void BM_AddNews1000(benchmark::State &state) { AddNewsOf(state, 1000); }
void BM_AddNews20000(benchmark::State &state) { AddNewsOf(state, 20000); }
void BM_MarkNewsRead1000(benchmark::State &state) { MarkNewsReadOf(state, 1000); }
void BM_MarkNewsRead5000(benchmark::State &state) { MarkNewsReadOf(state, 5000); }

#define NEWS_BENCHMARK(fn)                                                                         \
  BENCHMARK(fn)->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions)->ReportAggregatesOnly()
NEWS_BENCHMARK(BM_NewsIntakeRead);
NEWS_BENCHMARK(BM_NewsParseOnly);
NEWS_BENCHMARK(BM_AddNews1000);
NEWS_BENCHMARK(BM_AddNews20000);
NEWS_BENCHMARK(BM_MarkNewsRead1000);
NEWS_BENCHMARK(BM_MarkNewsRead5000);

const bool registered = [] {
  RegisterRatio("news.csv read of 2,000 new items (intake thread) / parsing alone",
                "BM_NewsIntakeRead", "BM_NewsParseOnly", 4.0);
  RegisterRatio("AddNews of 20,000 items / of 1,000", "BM_AddNews20000", "BM_AddNews1000", 25.0);
  RegisterRatio("MarkNewsRead of 5,000 items / of 1,000", "BM_MarkNewsRead5000",
                "BM_MarkNewsRead1000", 6.0);
  return true;
}();

} // namespace
