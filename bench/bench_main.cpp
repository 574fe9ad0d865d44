// Shared main of the benchmarks: an off-screen QApplication, then Google
// Benchmark, then the ratios the benchmarks registered (BenchRatio.h).
#include "BenchRatio.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // The repetitions of all benchmarks run in a shuffled order, so that both
  // sides of a ratio meet the same bursts of load on a shared machine
  // (unless the command line says otherwise).
  std::vector<char*> args(argv, argv + argc);
  static char interleave[] = "--benchmark_enable_random_interleaving=true";
  bool told = false;
  for (int i = 1; i < argc; ++i)
    told = told || std::strncmp(argv[i], "--benchmark_enable_random_interleaving", 38) == 0;
  if (!told)
    args.insert(args.begin() + 1, interleave);
  int count = int(args.size());
  args.push_back(nullptr);
  benchmark::Initialize(&count, args.data());
  const int status = RunBenchmarksWithRatios();
  benchmark::Shutdown();
  return status;
}
