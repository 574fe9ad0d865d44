#include "views/stockgrid/ShareRange.h"

#include <cmath>

namespace {

// Beyond this magnitude the range is left empty: the values are far from
// any real share, and the margin would swallow the range.
constexpr double RangeLimit = 1e9;
// The margin kept from a rounding boundary, relative to the value (and at
// least absolute for values below 1). The text is made from the shortest
// decimal of the value, which is within half an ulp of it; this is many
// orders of magnitude more.
constexpr double RelativeMargin = 1e-9;

} // namespace

TShareRange ShareRangeOf(double share) {
  if (!std::isfinite(share) || std::fabs(share) >= RangeLimit)
    return {};
  // The tenth the text shows, and the boundaries around it.
  const double tenths = std::nearbyint(share * 10);
  const double margin = RelativeMargin * std::fmax(1.0, std::fabs(share));
  const TShareRange range{(tenths - 0.5) / 10 + margin, (tenths + 0.5) / 10 - margin};
  // The value itself must lie inside, else it is too near a boundary (or the
  // nearest tenth was taken on the wrong side of one).
  if (!range.Contains(share))
    return {};
  return range;
}
