#include "chartengine/series/FastLineRange.h"

#include "chartengine/engine/ChartValueList.h"

#include <algorithm>
#include <cmath>

void TFastLineRange::Update(const TChartValueList &xs, const TChartValueList &ys) {
  if (m_counted && m_xChanges == xs.Changes() && m_yChanges == ys.Changes())
    return;
  m_smallestX = m_largestX = m_smallestY = m_largestY = 0.0;
  m_any = false;
  // Read in place: Value(t) is the stored value times Multiplier.
  const int count = std::min(xs.Count(), ys.Count());
  const double *x = xs.RawValues();
  const double *y = ys.RawValues();
  const double mx = xs.Multiplier();
  const double my = ys.Multiplier();
  for (int t = 0; t < count; ++t)
    Add(x[t] * mx, y[t] * my);
  m_counted = true;
  m_xChanges = xs.Changes();
  m_yChanges = ys.Changes();
}

void TFastLineRange::PointInserted(const TChartValueList &xs, const TChartValueList &ys,
                                   int index) {
  // Inserting a value is one change of each list; anything more happened
  // unseen, and the range is counted again when asked for.
  if (!m_counted || xs.Changes() != m_xChanges + 1 || ys.Changes() != m_yChanges + 1 ||
      index < 0 || index >= xs.Count() || index >= ys.Count())
    return;
  Add(xs.Value(index), ys.Value(index));
  m_xChanges = xs.Changes();
  m_yChanges = ys.Changes();
}

void TFastLineRange::Add(double x, double y) {
  if (!std::isfinite(x) || !std::isfinite(y))
    return;
  if (!m_any) {
    m_smallestX = m_largestX = x;
    m_smallestY = m_largestY = y;
    m_any = true;
    return;
  }
  m_smallestX = std::min(m_smallestX, x);
  m_largestX = std::max(m_largestX, x);
  m_smallestY = std::min(m_smallestY, y);
  m_largestY = std::max(m_largestY, y);
}
