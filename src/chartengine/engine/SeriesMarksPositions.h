#pragma once
#include "chartengine/engine/SeriesMarkPosition.h"

#include <memory>
#include <utility>
#include <vector>

// The last position of every mark of a series, one slot per point index.
// Slots are made on demand and move with their points; only slots that hold
// a position take room.
class TSeriesMarksPositions {
public:
  int Count() const { return m_count; }
  // The position at index; nullptr beyond the list or for an empty slot.
  TSeriesMarkPosition *Position(int index) const;
  // The position at index, made (with empty slots before it) when missing.
  TSeriesMarkPosition &Ensure(int index);
  void Clear() {
    m_items.clear();
    m_count = 0;
  }
  // The point at index went: its slot goes and later slots move down.
  void Delete(int index);
  // A point was inserted at index: later slots move up.
  void InsertEmpty(int index);
  void Exchange(int a, int b);

private:
  using Item = std::pair<int, std::unique_ptr<TSeriesMarkPosition>>;
  std::vector<Item>::iterator Find(int index);
  std::vector<Item>::const_iterator Find(int index) const;
  void Shift(std::vector<Item>::iterator from, int by);

  // Positions by ascending index.
  std::vector<Item> m_items;
  int m_count = 0;
};
