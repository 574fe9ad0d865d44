#include "chartengine/engine/SeriesMarksPositions.h"

#include <utility>

TSeriesMarkPosition *TSeriesMarksPositions::Position(int index) const {
  if (index < 0 || index >= Count())
    return nullptr;
  return m_items[static_cast<std::size_t>(index)].get();
}

TSeriesMarkPosition &TSeriesMarksPositions::Ensure(int index) {
  if (index >= Count())
    m_items.resize(static_cast<std::size_t>(index) + 1);
  auto &slot = m_items[static_cast<std::size_t>(index)];
  if (!slot)
    slot = std::make_unique<TSeriesMarkPosition>();
  return *slot;
}

void TSeriesMarksPositions::Delete(int index) {
  if (index >= 0 && index < Count())
    m_items.erase(m_items.begin() + index);
}

void TSeriesMarksPositions::InsertEmpty(int index) {
  if (index >= 0 && index < Count())
    m_items.insert(m_items.begin() + index, nullptr);
}

void TSeriesMarksPositions::Exchange(int a, int b) {
  if (a < 0 || b < 0 || (a >= Count() && b >= Count()))
    return;
  const int top = a > b ? a : b;
  if (top >= Count())
    m_items.resize(static_cast<std::size_t>(top) + 1);
  std::swap(m_items[static_cast<std::size_t>(a)], m_items[static_cast<std::size_t>(b)]);
}
