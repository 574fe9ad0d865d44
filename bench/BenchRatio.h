#pragma once
// Ratios between benchmarks of one run: a benchmark names the work measured
// and the reference it is judged against; after the run each ratio is printed
// with its goal. With repetitions the medians are compared.
#include <string>

// Prints "work / reference" after the run, with "goal: at most <goal>x".
void RegisterRatio(const std::string &label, const std::string &work,
                   const std::string &reference, double goal);

// A goal a benchmark checks and prints itself was missed: the run ends with
// a non-zero exit code.
void MarkGoalMissed();

// Runs the specified benchmarks with a reporter that collects their times,
// then prints the registered ratios. Returns 1 when a goal was marked
// missed, else 0.
int RunBenchmarksWithRatios();
