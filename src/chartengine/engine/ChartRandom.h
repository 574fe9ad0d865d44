#pragma once

// The random numbers of sample values: a uniform integer in 0 .. range-1
// (0 for a range below 1). One generator for the engine; tests seed it.
int ChartRandom(int range);
void SeedChartRandom(unsigned seed);
