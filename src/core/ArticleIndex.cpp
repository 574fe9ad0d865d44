#include "core/ArticleIndex.h"

#include <algorithm>

namespace {
constexpr std::size_t kFirstSize = 16;
} // namespace

void ArticleIndex::Insert(std::size_t hash, int position) {
  if ((m_count + 1) * 2 > m_slots.size())
    Grow(m_slots.empty() ? kFirstSize : m_slots.size() * 2);
  Place(Slot{TagOf(hash), std::int32_t(position)});
  ++m_count;
}

void ArticleIndex::Reserve(std::size_t count) {
  std::size_t size = m_slots.empty() ? kFirstSize : m_slots.size();
  while (count * 2 > size)
    size *= 2;
  if (size > m_slots.size())
    Grow(size);
}

void ArticleIndex::Clear() {
  std::fill(m_slots.begin(), m_slots.end(), Slot{});
  m_count = 0;
}

void ArticleIndex::Place(Slot slot) {
  std::size_t i = Home(slot.tag);
  while (m_slots[i].position >= 0)
    i = (i + 1) & m_mask;
  m_slots[i] = slot;
}

void ArticleIndex::Grow(std::size_t size) {
  std::vector<Slot> old;
  old.swap(m_slots);
  m_slots.assign(size, Slot{});
  m_mask = size - 1;
  unsigned bits = 0;
  while ((std::size_t(1) << bits) < size)
    ++bits;
  m_shift = 64 - bits;
  if (old.empty())
    return;
  // Walked from an empty slot on, every run of filled slots is met from its
  // start: the slots of one tag are placed again in the order they were filed.
  const std::size_t oldMask = old.size() - 1;
  std::size_t start = 0;
  while (old[start].position >= 0)
    ++start;
  for (std::size_t k = 1; k <= old.size(); ++k) {
    const Slot &slot = old[(start + k) & oldMask];
    if (slot.position >= 0)
      Place(slot);
  }
}
