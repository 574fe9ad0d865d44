#include "chartengine/engine/SeriesMarksPositions.h"

#include <algorithm>

std::vector<TSeriesMarksPositions::Item>::iterator TSeriesMarksPositions::Find(int index) {
  return std::lower_bound(m_items.begin(), m_items.end(), index,
                          [](const Item &item, int i) { return item.first < i; });
}

std::vector<TSeriesMarksPositions::Item>::const_iterator
TSeriesMarksPositions::Find(int index) const {
  return std::lower_bound(m_items.begin(), m_items.end(), index,
                          [](const Item &item, int i) { return item.first < i; });
}

void TSeriesMarksPositions::Shift(std::vector<Item>::iterator from, int by) {
  for (; from != m_items.end(); ++from)
    from->first += by;
}

TSeriesMarkPosition *TSeriesMarksPositions::Position(int index) const {
  if (index < 0 || index >= Count())
    return nullptr;
  const auto it = Find(index);
  return it != m_items.end() && it->first == index ? it->second.get() : nullptr;
}

TSeriesMarkPosition &TSeriesMarksPositions::Ensure(int index) {
  if (index >= Count())
    m_count = index + 1;
  auto it = Find(index);
  if (it == m_items.end() || it->first != index)
    it = m_items.insert(it, Item(index, std::make_unique<TSeriesMarkPosition>()));
  return *it->second;
}

void TSeriesMarksPositions::Delete(int index) {
  if (index < 0 || index >= Count())
    return;
  auto it = Find(index);
  if (it != m_items.end() && it->first == index)
    it = m_items.erase(it);
  Shift(it, -1);
  --m_count;
}

void TSeriesMarksPositions::InsertEmpty(int index) {
  if (index < 0 || index >= Count())
    return;
  Shift(Find(index), 1);
  ++m_count;
}

void TSeriesMarksPositions::Exchange(int a, int b) {
  if (a < 0 || b < 0 || (a >= Count() && b >= Count()) || a == b)
    return;
  const int top = a > b ? a : b;
  if (top >= Count())
    m_count = top + 1;
  auto ia = Find(a);
  std::unique_ptr<TSeriesMarkPosition> pa =
      ia != m_items.end() && ia->first == a ? std::move(ia->second) : nullptr;
  auto ib = Find(b);
  std::unique_ptr<TSeriesMarkPosition> pb =
      ib != m_items.end() && ib->first == b ? std::move(ib->second) : nullptr;
  // Empty slots keep no entry.
  m_items.erase(std::remove_if(m_items.begin(), m_items.end(),
                               [](const Item &item) { return !item.second; }),
                m_items.end());
  if (pb) {
    auto it = Find(a);
    m_items.insert(it, Item(a, std::move(pb)));
  }
  if (pa) {
    auto it = Find(b);
    m_items.insert(it, Item(b, std::move(pa)));
  }
}
