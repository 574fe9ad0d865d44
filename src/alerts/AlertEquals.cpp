#include "alerts/AlertEquals.h"

#include "alerts/AlertRecord.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <functional>
#include <string>

namespace {

constexpr std::uint64_t Golden = 0x9E3779B97F4A7C15ull;

std::uint64_t KeyOf(const TAlertRecord &a) {
  const double p1 = a.P1 == 0 ? 0.0 : a.P1; // -0 equals 0
  std::uint64_t key = std::hash<std::string>()(a.Symbol);
  key ^= std::hash<double>()(p1) + Golden + (key << 6) + (key >> 2);
  key ^= std::uint64_t(a.AlertType) + Golden + (key << 6) + (key >> 2);
  return key;
}

// Linear probing over a table at most half full.
class TKeyTable {
public:
  explicit TKeyTable(std::size_t count)
      : m_slots(std::bit_ceil(std::max<std::size_t>(16, 2 * count))),
        m_shift(64 - std::countr_zero(m_slots.size())) {}

  std::size_t Home(std::uint64_t key) const { return std::size_t((key * Golden) >> m_shift); }
  std::size_t Size() const { return m_slots.size(); }

  // The position of the first alert taken that equals alert; when there is
  // none, takes position and answers -1.
  std::ptrdiff_t FindOrTake(std::uint64_t key, const TAlertRecord &alert, std::ptrdiff_t position,
                            const std::vector<const TAlertRecord *> &byPosition) {
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = Home(key);; i = (i + 1) & mask) {
      Slot &slot = m_slots[i];
      if (slot.position < 0) {
        slot = Slot{key, position};
        return -1;
      }
      if (slot.key == key && byPosition[std::size_t(slot.position)]->SameAs(alert))
        return slot.position;
    }
  }

private:
  struct Slot {
    std::uint64_t key = 0;
    std::ptrdiff_t position = -1;
  };
  std::vector<Slot> m_slots;
  int m_shift;
};

struct Item {
  std::size_t home; // the record's first slot
  std::uint64_t key;
  std::size_t record;
};

// The items by home slot, in their order within a slot: a counting sort, as
// the slots are a range of the table's size.
std::vector<Item> InHomeOrder(const std::vector<Item> &items, std::size_t slots) {
  std::vector<std::size_t> start(slots + 1, 0);
  for (const Item &item : items)
    ++start[item.home + 1];
  for (std::size_t i = 1; i <= slots; ++i)
    start[i] += start[i - 1];
  std::vector<Item> sorted(items.size());
  for (const Item &item : items)
    sorted[start[item.home]++] = item;
  return sorted;
}

} // namespace

std::vector<std::ptrdiff_t> FindEqualAlerts(const std::vector<const TAlertRecord *> &stored,
                                            const std::vector<const TAlertRecord *> &records) {
  std::vector<const TAlertRecord *> byPosition = stored;
  byPosition.insert(byPosition.end(), records.begin(), records.end());
  TKeyTable table(byPosition.size());
  for (std::size_t p = 0; p < stored.size(); ++p)
    if (stored[p])
      table.FindOrTake(KeyOf(*stored[p]), *stored[p], std::ptrdiff_t(p), byPosition);

  // The records in the order of their home slots; equal records share their
  // key, so among them the batch order stays.
  std::vector<Item> items;
  items.reserve(records.size());
  for (std::size_t j = 0; j < records.size(); ++j)
    if (records[j]) {
      const std::uint64_t key = KeyOf(*records[j]);
      items.push_back(Item{table.Home(key), key, j});
    }
  std::vector<std::ptrdiff_t> equals(records.size(), -1);
  for (const Item &item : InHomeOrder(items, table.Size()))
    equals[item.record] = table.FindOrTake(item.key, *records[item.record],
                                           std::ptrdiff_t(stored.size() + item.record), byPosition);
  return equals;
}
