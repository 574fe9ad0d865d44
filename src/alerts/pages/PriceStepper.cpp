#include "alerts/pages/PriceStepper.h"

#include "alerts/AlertNames.h"
#include "core/PriceText.h"
#include "platform/Format.h"

#include <cmath>
#include <cstdlib>

namespace {

// A price on a tier boundary still counts to the lower tier.
constexpr double Tolerance = 0.00001;

struct Tier {
  double upTo;        // prices up to this (plus the tolerance) use the tier
  double step;        // the tier's step
  double base;        // the tier's first price
  std::int64_t first; // the step number of base
};

// Decimals: 0.05 up to 5, 0.1 up to 1000, 0.2 above.
constexpr Tier DecimalTiers[] = {
    {5, 0.05, 0, 0}, {1000, 0.1, 5, 100}, {HUGE_VAL, 0.2, 1000, 10050}};
// Fractions: 1/32 up to 5, 1/16 up to 100, 1/8 up to 1000, 1/4 above.
constexpr Tier FractionTiers[] = {{5, 1.0 / 32, 0, 0},
                                  {100, 1.0 / 16, 5, 160},
                                  {1000, 1.0 / 8, 100, 1680},
                                  {HUGE_VAL, 1.0 / 4, 1000, 8880}};

template <std::size_t N> std::int64_t ToStep(const Tier (&tiers)[N], double a) {
  for (const Tier &t : tiers)
    if (a <= t.upTo + Tolerance)
      return t.first + Round((a - t.base) / t.step);
  return 0; // not reached: the last tier has no limit
}

template <std::size_t N> double ToPrice(const Tier (&tiers)[N], std::int64_t n) {
  for (std::size_t i = 0; i + 1 < N; ++i)
    if (n <= tiers[i + 1].first)
      return tiers[i].base + double(n - tiers[i].first) * tiers[i].step;
  const Tier &last = tiers[N - 1];
  return last.base + double(n - last.first) * last.step;
}

} // namespace

std::int64_t TPriceStepper::PriceToStep(double price) const {
  if (!std::isfinite(price))
    return 0;
  if (!StepMode) {
    const double step = FixedStep > 0 ? FixedStep : 1.0;
    return Round(price / step);
  }
  const double a = std::fabs(price);
  const std::int64_t n = Fractions ? ToStep(FractionTiers, a) : ToStep(DecimalTiers, a);
  return price < 0 ? -n : n;
}

double TPriceStepper::StepToPrice(std::int64_t step) const {
  if (!StepMode) {
    const double fixed = FixedStep > 0 ? FixedStep : 1.0;
    return double(step) * fixed;
  }
  const std::int64_t n = step < 0 ? -step : step;
  const double a = Fractions ? ToPrice(FractionTiers, n) : ToPrice(DecimalTiers, n);
  return step < 0 ? -a : a;
}

std::string TPriceStepper::Format(double value) const {
  return StepMode ? PriceToStr(value, Fractions) : FormatPrice(value);
}

std::string TPriceStepper::Move(const std::string &text, int steps) const {
  const std::int64_t step = PriceToStep(StrToPrice(text)) + steps;
  return Format(StepToPrice(step));
}

double TPriceStepper::ColumnStep(int column) {
  switch (column) {
  case ColumnChangePercent:
    return 0.1;
  case ColumnVolume:
    return 5000;
  case ColumnVolumePercent:
    return 1.0;
  case ColumnTrades:
    return 10;
  default:
    return 0;
  }
}
