// Shared main of the benchmarks: an off-screen QApplication, then Google
// Benchmark, then the ratios the benchmarks registered (BenchRatio.h).
#include "BenchRatio.h"

#include <QApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  const int status = RunBenchmarksWithRatios();
  benchmark::Shutdown();
  return status;
}
