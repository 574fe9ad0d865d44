#include "alerts/AlertEvaluationBounds.h"

#include <limits>

void TTickBounds::Cover(const ValueList &ticks, int from, int count) {
  if (from == m_from && count == m_count)
    return;
  m_from = from;
  m_count = count;
  for (int v = 0; v < tvCount; ++v) {
    m_min[v] = std::numeric_limits<double>::infinity();
    m_max[v] = -std::numeric_limits<double>::infinity();
  }
  const TickEntry *entries = ticks.Entries().data();
  for (int i = from < 0 ? 0 : from; i < count; ++i) {
    const TickEntry &t = entries[i];
    const double values[tvCount] = {t.Last, t.Bid, t.Ask, t.Volume, double(t.Ask) - t.Bid};
    for (int v = 0; v < tvCount; ++v) {
      // Comparisons with NaN are false: it moves neither bound.
      if (values[v] < m_min[v])
        m_min[v] = values[v];
      if (values[v] > m_max[v])
        m_max[v] = values[v];
    }
  }
}
