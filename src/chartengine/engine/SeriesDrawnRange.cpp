#include "chartengine/engine/SeriesDrawnRange.h"

#include "chartengine/engine/ChartValueList.h"
#include "chartengine/engine/ChartValueLists.h"

#include <algorithm>
#include <cmath>

bool TSeriesDrawnRange::CountedAt(const TChartValueLists &lists, int extraChanges) const {
  if (m_changes.empty() || static_cast<int>(m_changes.size()) != lists.Count())
    return false;
  for (int t = 0; t < lists.Count(); ++t)
    if (lists[t].Changes() != m_changes[t] + extraChanges)
      return false;
  return true;
}

void TSeriesDrawnRange::Update(const TChartValueLists &lists) {
  if (CountedAt(lists, 0))
    return;
  const int n = lists.Count();
  m_smallest.assign(n, 0.0);
  m_largest.assign(n, 0.0);
  m_point.assign(n, 0.0);
  m_any = false;
  int count = n > 0 ? lists[0].Count() : 0;
  for (int t = 1; t < n; ++t)
    count = std::min(count, lists[t].Count());
  if (n == 2) {
    // Most series: X and Y read in place (Value(t) is the stored value times Multiplier).
    const double *x = lists[0].RawValues();
    const double *y = lists[1].RawValues();
    const double mx = lists[0].Multiplier();
    const double my = lists[1].Multiplier();
    for (int t = 0; t < count; ++t) {
      m_point[0] = x[t] * mx;
      m_point[1] = y[t] * my;
      Add(m_point.data());
    }
  } else {
    for (int t = 0; t < count; ++t) {
      for (int k = 0; k < n; ++k)
        m_point[k] = lists[k].Value(t);
      Add(m_point.data());
    }
  }
  m_changes.resize(n);
  for (int t = 0; t < n; ++t)
    m_changes[t] = lists[t].Changes();
}

void TSeriesDrawnRange::PointInserted(const TChartValueLists &lists, int index) {
  // Inserting a value is one change of each list; anything more happened
  // unseen, and the range is counted again when asked for.
  if (!CountedAt(lists, 1) || index < 0)
    return;
  const int n = lists.Count();
  for (int t = 0; t < n; ++t) {
    if (index >= lists[t].Count())
      return;
    m_point[t] = lists[t].Value(index);
  }
  Add(m_point.data());
  for (int t = 0; t < n; ++t)
    m_changes[t] = lists[t].Changes();
}

void TSeriesDrawnRange::Add(const double *values) {
  const std::size_t n = m_smallest.size();
  for (std::size_t k = 0; k < n; ++k)
    if (!std::isfinite(values[k]))
      return;
  for (std::size_t k = 0; k < n; ++k) {
    m_smallest[k] = m_any ? std::min(m_smallest[k], values[k]) : values[k];
    m_largest[k] = m_any ? std::max(m_largest[k], values[k]) : values[k];
  }
  m_any = true;
}

double TSeriesDrawnRange::Smallest(int list) const {
  return list >= 0 && list < static_cast<int>(m_smallest.size()) ? m_smallest[list] : 0.0;
}

double TSeriesDrawnRange::Largest(int list) const {
  return list >= 0 && list < static_cast<int>(m_largest.size()) ? m_largest[list] : 0.0;
}
