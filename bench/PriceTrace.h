#pragma once
#include <cmath>
#include <cstddef>
#include <random>
#include <vector>

// A price-like trace for the chart benchmarks: a slow wave, a fast one and a
// deterministic jitter.
inline double Price(int i) {
  const unsigned h = static_cast<unsigned>(i) * 2654435761u;
  return 100.0 + 20.0 * std::sin(i * 0.0004) + 3.0 * std::sin(i * 0.05) + (h >> 28) * 0.1;
}

// A random walk from 100 in steps of normal noise (sd 0.01), as real prices
// move: the same steps in every run. Index i is the price after i steps;
// the walk goes on past its first 1,000,000 steps for appended points.
inline double WalkPrice(int i) {
  static const std::vector<double> walk = [] {
    std::vector<double> w(1100000);
    std::mt19937_64 random(20261207);
    std::normal_distribution<double> step(0.0, 0.01);
    double price = 100.0;
    for (double &v : w) {
      v = price;
      price += step(random);
    }
    return w;
  }();
  return walk[static_cast<std::size_t>(i) % walk.size()];
}

// Appends the trace's first count points to a series.
template <typename Series> void FillPrices(Series &s, int count, double (*price)(int) = Price) {
  for (int i = 0; i < count; ++i)
    s.AppendPoint(i, price(i));
}
