#include "chartengine/engine/ChartRandom.h"

#include <random>

namespace {
std::mt19937 &Generator() {
  static std::mt19937 generator(std::random_device{}());
  return generator;
}
} // namespace

int ChartRandom(int range) {
  if (range < 1)
    return 0;
  std::uniform_int_distribution<int> pick(0, range - 1);
  return pick(Generator());
}

void SeedChartRandom(unsigned seed) { Generator().seed(seed); }
