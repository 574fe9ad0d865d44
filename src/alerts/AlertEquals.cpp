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
  struct Item {
    std::size_t home;
    std::uint64_t key;
    std::size_t record;
  };
  std::vector<Item> items;
  items.reserve(records.size());
  for (std::size_t j = 0; j < records.size(); ++j)
    if (records[j]) {
      const std::uint64_t key = KeyOf(*records[j]);
      items.push_back(Item{table.Home(key), key, j});
    }
  std::sort(items.begin(), items.end(), [](const Item &a, const Item &b) {
    return a.home != b.home ? a.home < b.home : a.record < b.record;
  });
  std::vector<std::ptrdiff_t> equals(records.size(), -1);
  for (const Item &item : items)
    equals[item.record] = table.FindOrTake(item.key, *records[item.record],
                                           std::ptrdiff_t(stored.size() + item.record), byPosition);
  return equals;
}
