#include "chartengine/series/FastLineColumns.h"

#include "chartengine/engine/AxisScale.h"
#include "chartengine/series/FastLinePath.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define TV_FOLD_AVX2 1
#endif

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The x values (stored, before the multiplier) whose offsets lie in
// [from, to]: [Low, High] when Found. The offset grows with x, so the band
// is found from the inverse and settled one double at a time.
struct TBand {
  double Low = 0, High = -1;
  bool Found = false;
};

TBand BandOf(const TAxisPixelMap &toX, double mx, double from, double to) {
  const auto offset = [&](double x) { return toX.Offset(x * mx); };
  const double perPixel = toX.Offset(1) - toX.Offset(0);
  const double origin = -toX.Offset(0) / perPixel;
  // The last x at or below a bound, and the first x at or above one.
  const auto last = [&](double guess) -> std::pair<double, bool> {
    for (int step = 0; step < 64; ++step) {
      if (!(offset(guess) <= to)) {
        guess = std::nextafter(guess, -kInfinity);
      } else if (offset(std::nextafter(guess, kInfinity)) <= to) {
        guess = std::nextafter(guess, kInfinity);
      } else {
        return {guess, true};
      }
    }
    return {guess, false};
  };
  const auto first = [&](double guess) -> std::pair<double, bool> {
    for (int step = 0; step < 64; ++step) {
      if (!(offset(guess) >= from)) {
        guess = std::nextafter(guess, kInfinity);
      } else if (offset(std::nextafter(guess, -kInfinity)) >= from) {
        guess = std::nextafter(guess, -kInfinity);
      } else {
        return {guess, true};
      }
    }
    return {guess, false};
  };
  const auto [high, highFound] = last((to / perPixel + origin) / mx);
  const auto [low, lowFound] = first((from / perPixel + origin) / mx);
  TBand band;
  band.Found = highFound && lowFound && std::isfinite(low) && std::isfinite(high) && low <= high;
  band.Low = low;
  band.High = high;
  return band;
}

#if defined(TV_FOLD_AVX2)
// The start of FoldBand, four points a step, on processors that have the
// wider registers: the same comparisons and the same order of folding.
__attribute__((target("avx2"))) int FoldBandWide(const double *xs, const double *ys, int t, int to,
                                                 const TBand &band, double &low, double &high,
                                                 bool &odd) {
  const __m256d bandLow = _mm256_set1_pd(band.Low), bandHigh = _mm256_set1_pd(band.High);
  __m256d lo = _mm256_set1_pd(low), hi = _mm256_set1_pd(high), bad = _mm256_setzero_pd();
  // Eight points a step while all eight lie in the band, then four.
  for (; t + 8 <= to; t += 8) {
    const __m256d x0 = _mm256_loadu_pd(xs + t), x1 = _mm256_loadu_pd(xs + t + 4);
    const __m256d in = _mm256_and_pd(_mm256_and_pd(_mm256_cmp_pd(x0, bandLow, _CMP_GE_OQ),
                                                   _mm256_cmp_pd(x0, bandHigh, _CMP_LE_OQ)),
                                     _mm256_and_pd(_mm256_cmp_pd(x1, bandLow, _CMP_GE_OQ),
                                                   _mm256_cmp_pd(x1, bandHigh, _CMP_LE_OQ)));
    if (_mm256_movemask_pd(in) != 15)
      break;
    const __m256d y0 = _mm256_loadu_pd(ys + t), y1 = _mm256_loadu_pd(ys + t + 4);
    lo = _mm256_min_pd(_mm256_min_pd(lo, y0), y1);
    hi = _mm256_max_pd(_mm256_max_pd(hi, y0), y1);
    bad = _mm256_or_pd(bad, _mm256_cmp_pd(y0, y1, _CMP_UNORD_Q));
  }
  for (; t + 4 <= to; t += 4) {
    const __m256d x = _mm256_loadu_pd(xs + t);
    const __m256d in = _mm256_and_pd(_mm256_cmp_pd(x, bandLow, _CMP_GE_OQ),
                                     _mm256_cmp_pd(x, bandHigh, _CMP_LE_OQ));
    if (_mm256_movemask_pd(in) != 15)
      break;
    const __m256d y = _mm256_loadu_pd(ys + t);
    lo = _mm256_min_pd(lo, y);
    hi = _mm256_max_pd(hi, y);
    bad = _mm256_or_pd(bad, _mm256_cmp_pd(y, y, _CMP_UNORD_Q));
  }
  alignas(32) double l[4], h[4];
  _mm256_store_pd(l, lo);
  _mm256_store_pd(h, hi);
  low = std::min(std::min(l[0], l[1]), std::min(l[2], l[3]));
  high = std::max(std::max(h[0], h[1]), std::max(h[2], h[3]));
  odd = odd || _mm256_movemask_pd(bad) != 0;
  return t;
}

bool HasWideRegisters() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}
#endif

// Folds the points from t on whose x lie in the band into low and high (odd:
// a y that is no number); answers the first point past them.
int FoldBand(const double *xs, const double *ys, int t, int to, const TBand &band, double &low,
             double &high, bool &odd) {
#if defined(TV_FOLD_AVX2)
  if (to - t >= 8 && HasWideRegisters())
    t = FoldBandWide(xs, ys, t, to, band, low, high, odd);
  else
#endif
#if defined(__SSE2__)
      if (to - t >= 8) {
    const __m128d bandLow = _mm_set1_pd(band.Low), bandHigh = _mm_set1_pd(band.High);
    __m128d lo = _mm_set1_pd(low), hi = _mm_set1_pd(high), bad = _mm_setzero_pd();
    const auto inBand = [&](const double *x) {
      const __m128d v = _mm_loadu_pd(x);
      return _mm_and_pd(_mm_cmpge_pd(v, bandLow), _mm_cmple_pd(v, bandHigh));
    };
    const auto fold = [&](const double *y) {
      const __m128d v = _mm_loadu_pd(y);
      lo = _mm_min_pd(lo, v);
      hi = _mm_max_pd(hi, v);
      bad = _mm_or_pd(bad, _mm_cmpunord_pd(v, v));
    };
    // Four points a step while all four lie in the band, then two.
    for (; t + 4 <= to; t += 4) {
      if (_mm_movemask_pd(_mm_and_pd(inBand(xs + t), inBand(xs + t + 2))) != 3)
        break;
      fold(ys + t);
      fold(ys + t + 2);
    }
    for (; t + 2 <= to; t += 2) {
      if (_mm_movemask_pd(inBand(xs + t)) != 3)
        break;
      fold(ys + t);
    }
    alignas(16) double l[2], h[2];
    _mm_store_pd(l, lo);
    _mm_store_pd(h, hi);
    low = std::min(l[0], l[1]);
    high = std::max(h[0], h[1]);
    odd = odd || _mm_movemask_pd(bad) != 0;
  }
#endif
  for (; t < to && xs[t] >= band.Low && xs[t] <= band.High; ++t) {
    const double y = ys[t];
    low = y < low ? y : low;
    high = y > high ? y : high;
    odd = odd || !(y == y);
  }
  return t;
}

} // namespace

void FoldColumns(const TLineValues &values, int from, int to, const TAxisPixelMap &toX,
                 const TAxisPixelMap &toY, TFastLinePath &path) {
  const double *xs = values.Xs;
  const double *ys = values.Ys;
  const double mx = values.XMultiplier, my = values.YMultiplier;
  // Bands of x values stand for pixel columns while offsets grow with x.
  const bool bands = mx > 0 && toX.Offset(1) > toX.Offset(0);
  const auto far = [&](double v) { return !(std::fabs(toY.Offset(v * my)) < TAxisPixelMap::kFar); };
  TBand band;
  int t = from;
  while (t < to) {
    const int start = t;
    const int x = toX(xs[t] * mx);
    double sameFrom = 0, sameTo = 0;
    toX.SamePixel(toX.Offset(xs[t] * mx), sameFrom, sameTo);
    double low = ys[t], high = low;
    bool odd = !(low == low);
    if (bands && sameFrom <= sameTo) {
      if (!(band.Found && xs[t] >= band.Low && xs[t] <= band.High))
        band = BandOf(toX, mx, sameFrom, sameTo);
      if (band.Found && xs[t] >= band.Low && xs[t] <= band.High) {
        t = FoldBand(xs, ys, t + 1, to, band, low, high, odd);
      }
    }
    if (t == start) {
      // Point by point along x.
      for (++t; t < to; ++t) {
        const double offset = toX.Offset(xs[t] * mx);
        if (!(offset >= sameFrom && offset <= sameTo))
          break;
        const double y = ys[t];
        if (!(y >= low)) {
          if (y < low)
            low = y;
          else
            odd = true;
        } else if (y > high) {
          high = y;
        }
      }
    }
    // A column of one point whose x is no number (or infinite) lands here too.
    if (odd || far(low) || far(high) || !std::isfinite(xs[start] * mx)) {
      for (int k = start; k < t; ++k) {
        const double y = ys[k] * my;
        // A point that is no point breaks the line.
        if (std::isfinite(y) && std::isfinite(xs[k] * mx))
          path.Add(TPoint(x, toY(y)));
        else
          path.Break();
      }
      continue;
    }
    // Every order of the column's lowest and highest point covers the pixels
    // between them: the shorter way round writes fewer.
    const int first = toY(ys[start] * my), last = toY(ys[t - 1] * my);
    const int a = toY(low * my), b = toY(high * my);
    const bool aFirst =
        std::abs(first - a) + std::abs(b - last) <= std::abs(first - b) + std::abs(a - last);
    path.Add(TPoint(x, first));
    path.Add(TPoint(x, aFirst ? a : b));
    path.Add(TPoint(x, aFirst ? b : a));
    path.Add(TPoint(x, last));
  }
}
