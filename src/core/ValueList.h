#pragma once
#include "core/CriticalSection.h"
#include "platform/DateTime.h"

#include <atomic>
#include <string>
#include <vector>

// One intraday tick of a symbol.
struct TickEntry {
  float Last = 0;
  float Ask = 0;
  float Bid = 0;
  TDateTime Time = 0;
  float Volume = 0; // the day's volume at the tick
};

// The intraday tick list of one symbol, entries numbered from 0 in time order.
// Entries are read and written only while the list's named lock is held;
// CountNoLock() gives a glance at the size without it.
class ValueList {
public:
  explicit ValueList(const std::string &lockName);
  ValueList(const ValueList &) = delete;
  ValueList &operator=(const ValueList &) = delete;

  // Takes the list's lock with an owner tag. False when the lock was not
  // taken (it gave up or reached the deadlock limit); then do not Unlock.
  bool Lock(const std::string &tag, bool mayGiveUp = true);
  void Unlock();
  MyCriticalSection &LockObject() { return m_lock; }

  // Under the lock.
  int Count() const { return int(m_entries.size()); }
  // Entry i; throws std::out_of_range outside 0..Count()-1.
  const TickEntry &Entry(int i) const { return m_entries.at(std::size_t(i)); }
  const std::vector<TickEntry> &Entries() const { return m_entries; }
  void Add(const TickEntry &tick);
  void Clear();

  // The count as of the last change, readable without the lock.
  int CountNoLock() const { return m_count.load(std::memory_order_acquire); }

private:
  MyCriticalSection m_lock;
  std::vector<TickEntry> m_entries;
  std::atomic<int> m_count{0};
};
