#include "alerts/AlertEquals.h"

#include "alerts/AlertRecord.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <string>

namespace {

constexpr std::uint64_t Golden = 0x9E3779B97F4A7C15ull;
// Records looked up ahead of the one at hand: their slots are fetched while
// earlier ones are compared.
constexpr std::size_t LookAhead = 16;

// Linear probing over a table at most half full. A slot holds 32 bits of the
// key and the position + 1 (0: free): eight bytes, so that 100,000 alerts
// take 2 MB.
class TKeyTable {
public:
  TKeyTable(std::size_t count, const std::vector<const TAlertRecord *> &stored,
            const std::vector<const TAlertRecord *> &records)
      : m_slots(std::bit_ceil(std::max<std::size_t>(16, 2 * count))),
        m_shift(64 - std::countr_zero(m_slots.size())), m_stored(stored), m_records(records) {}

  std::size_t Home(std::uint64_t key) const { return std::size_t((key * Golden) >> m_shift); }
  void Prefetch(std::uint64_t key) const { __builtin_prefetch(&m_slots[Home(key)]); }

  // The position of the first alert taken that equals alert; when there is
  // none, takes position and answers -1.
  std::ptrdiff_t FindOrTake(std::uint64_t key, const TAlertRecord &alert, std::size_t position) {
    const std::size_t mask = m_slots.size() - 1;
    const auto tag = std::uint32_t(key);
    for (std::size_t i = Home(key);; i = (i + 1) & mask) {
      Slot &slot = m_slots[i];
      if (slot.position == 0) {
        slot = Slot{tag, std::uint32_t(position + 1)};
        return -1;
      }
      if (slot.tag == tag && At(slot.position - 1).SameAs(alert))
        return std::ptrdiff_t(slot.position - 1);
    }
  }

private:
  struct Slot {
    std::uint32_t tag = 0;
    std::uint32_t position = 0;
  };

  const TAlertRecord &At(std::size_t position) const {
    return position < m_stored.size() ? *m_stored[position]
                                      : *m_records[position - m_stored.size()];
  }

  std::vector<Slot> m_slots;
  int m_shift;
  const std::vector<const TAlertRecord *> &m_stored;
  const std::vector<const TAlertRecord *> &m_records;
};

} // namespace

std::uint64_t AlertEqualKey(const TAlertRecord &a) {
  const double p1 = a.P1 == 0 ? 0.0 : a.P1; // -0 equals 0
  std::uint64_t key = std::hash<std::string>()(a.Symbol);
  key ^= std::hash<double>()(p1) + Golden + (key << 6) + (key >> 2);
  key ^= std::uint64_t(a.AlertType) + Golden + (key << 6) + (key >> 2);
  return key;
}

std::vector<std::ptrdiff_t> FindEqualAlerts(const std::vector<const TAlertRecord *> &stored,
                                            const std::vector<const TAlertRecord *> &records,
                                            const std::vector<std::uint64_t> &keys) {
  TKeyTable table(stored.size() + records.size(), stored, records);
  for (std::size_t p = 0; p < stored.size(); ++p)
    if (stored[p])
      table.FindOrTake(AlertEqualKey(*stored[p]), *stored[p], p);

  // In batch order, so that the first of equal records is the one taken.
  std::vector<std::ptrdiff_t> equals(records.size(), -1);
  for (std::size_t j = 0; j < records.size(); ++j) {
    if (j + LookAhead < records.size())
      table.Prefetch(keys[j + LookAhead]);
    if (records[j])
      equals[j] = table.FindOrTake(keys[j], *records[j], stored.size() + j);
  }
  return equals;
}
