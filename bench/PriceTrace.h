#pragma once
#include <cmath>

// A price-like trace for the chart benchmarks: a slow wave, a fast one and a
// deterministic jitter.
inline double Price(int i) {
  const unsigned h = static_cast<unsigned>(i) * 2654435761u;
  return 100.0 + 20.0 * std::sin(i * 0.0004) + 3.0 * std::sin(i * 0.05) + (h >> 28) * 0.1;
}

// Appends the trace's first count points to a series.
template <typename Series> void FillPrices(Series &s, int count) {
  for (int i = 0; i < count; ++i)
    s.AppendPoint(i, Price(i));
}
