#pragma once
// Ratios between benchmarks of one run: a benchmark names the work measured
// and the reference it is judged against; after the run each ratio is printed
// with its goal. With repetitions the medians are compared.
#include <string>

// Prints "work / reference" after the run, with "goal: at most <goal>x".
void RegisterRatio(const std::string &label, const std::string &work,
                   const std::string &reference, double goal);

// Runs the specified benchmarks with a reporter that collects their times,
// then prints the registered ratios. Returns 0.
int RunBenchmarksWithRatios();
