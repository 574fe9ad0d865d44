#pragma once
#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

// One optional value per point (a label, a colour) that almost no point has:
// a slot for every point index, but room only for the points whose value
// differs from the default. Slots move with their points on insertion and
// deletion, like a vector of them would.
template <typename T> class TSparsePointValues {
public:
  explicit TSparsePointValues(T defaultValue = T()) : m_default(std::move(defaultValue)) {}

  // The number of slots (one per point).
  int Count() const { return m_count; }
  // The value at index; the default for a slot without one. The index must
  // be a slot (0 .. Count-1).
  const T &At(int index) const {
    const auto it = Find(index);
    return it != m_items.end() && it->first == index ? it->second : m_default;
  }
  void Set(int index, const T &value) {
    const auto it = Find(index);
    const bool has = it != m_items.end() && it->first == index;
    if (value == m_default) {
      if (has)
        m_items.erase(it);
    } else if (has) {
      it->second = value;
    } else {
      m_items.insert(it, {index, value});
    }
  }
  // A slot at index (0 .. Count): later slots move up by one.
  void Insert(int index, const T &value) {
    auto it = Find(index);
    for (auto k = it; k != m_items.end(); ++k)
      ++k->first;
    ++m_count;
    if (!(value == m_default))
      m_items.insert(it, {index, value});
  }
  // The slot at index goes: later slots move down by one. Nothing for an
  // index that is no slot.
  void Delete(int index) {
    if (index < 0 || index >= m_count)
      return;
    auto it = Find(index);
    if (it != m_items.end() && it->first == index)
      it = m_items.erase(it);
    for (auto k = it; k != m_items.end(); ++k)
      --k->first;
    --m_count;
  }
  void Exchange(int a, int b) {
    if (a == b)
      return;
    const T va = At(a);
    const T vb = At(b);
    Set(a, vb);
    Set(b, va);
  }
  // No slots, and the room goes too.
  void Clear() {
    std::vector<std::pair<int, T>>().swap(m_items);
    m_count = 0;
  }
  // Keeps the values for which keep(value) holds; the others become the default.
  template <typename F> void Retain(F &&keep) {
    m_items.erase(std::remove_if(m_items.begin(), m_items.end(),
                                 [&](const std::pair<int, T> &item) { return !keep(item.second); }),
                  m_items.end());
  }

private:
  using Items = std::vector<std::pair<int, T>>;
  typename Items::iterator Find(int index) {
    return std::lower_bound(m_items.begin(), m_items.end(), index,
                            [](const std::pair<int, T> &item, int i) { return item.first < i; });
  }
  typename Items::const_iterator Find(int index) const {
    return std::lower_bound(m_items.begin(), m_items.end(), index,
                            [](const std::pair<int, T> &item, int i) { return item.first < i; });
  }

  T m_default;
  Items m_items;
  int m_count = 0;
};
