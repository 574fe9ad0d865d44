#include "BenchRatio.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <vector>

namespace {

struct Ratio {
  std::string Label;
  std::string Work;
  std::string Reference;
  double Goal = 0;
};

bool g_goalMissed = false;

std::vector<Ratio> &Ratios() {
  static std::vector<Ratio> ratios;
  return ratios;
}

// The console reporter that also keeps each benchmark's real time in
// seconds: the median when the benchmark was repeated, else its one run.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
  std::map<std::string, double> Seconds;

  void ReportRuns(const std::vector<Run> &runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run &run : runs) {
      if (run.error_occurred)
        continue;
      const std::string name = run.run_name.function_name;
      const double seconds =
          run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      if (run.run_type == Run::RT_Aggregate) {
        if (run.aggregate_name == "median")
          Seconds[name] = seconds;
      } else if (run.repetitions <= 1) {
        Seconds[name] = seconds;
      }
    }
  }
};

} // namespace

void MarkGoalMissed() { g_goalMissed = true; }

void RegisterRatio(const std::string &label, const std::string &work,
                   const std::string &reference, double goal) {
  Ratios().push_back(Ratio{label, work, reference, goal});
}

int RunBenchmarksWithRatios() {
  CollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  bool header = false;
  for (const Ratio &r : Ratios()) {
    const auto work = reporter.Seconds.find(r.Work);
    const auto reference = reporter.Seconds.find(r.Reference);
    if (work == reporter.Seconds.end() || reference == reporter.Seconds.end() ||
        reference->second <= 0)
      continue;
    if (!header) {
      std::printf("\nRatios measured in this run (medians):\n");
      header = true;
    }
    const double ratio = work->second / reference->second;
    std::printf("  %-58s %9.3f ms / %9.3f ms = %7.3fx  goal at most %gx: %s\n", r.Label.c_str(),
                work->second * 1e3, reference->second * 1e3, ratio, r.Goal,
                ratio <= r.Goal ? "holds" : "MISSED");
  }
  std::fflush(stdout);
  return g_goalMissed ? 1 : 0;
}
