#pragma once
#include "chartengine/engine/SeriesMarkPosition.h"

#include <memory>
#include <vector>

// The last position of every mark of a series, one slot per point index.
// Slots are made on demand and move with their points.
class TSeriesMarksPositions {
public:
  int Count() const { return static_cast<int>(m_items.size()); }
  // The position at index; nullptr beyond the list or for an empty slot.
  TSeriesMarkPosition *Position(int index) const;
  // The position at index, made (with empty slots before it) when missing.
  TSeriesMarkPosition &Ensure(int index);
  void Clear() { m_items.clear(); }
  // The point at index went: its slot goes and later slots move down.
  void Delete(int index);
  // A point was inserted at index: later slots move up.
  void InsertEmpty(int index);
  void Exchange(int a, int b);

private:
  std::vector<std::unique_ptr<TSeriesMarkPosition>> m_items;
};
