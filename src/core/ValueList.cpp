#include "core/ValueList.h"

ValueList::ValueList(const std::string &lockName) : m_lock(lockName) {}

bool ValueList::Lock(const std::string &tag, bool mayGiveUp) { return m_lock.Lock(tag, mayGiveUp); }

void ValueList::Unlock() { m_lock.Unlock(); }

void ValueList::Add(const TickEntry &tick) {
  m_entries.push_back(tick);
  m_count.store(int(m_entries.size()), std::memory_order_release);
}

void ValueList::Clear() {
  m_entries.clear();
  m_count.store(0, std::memory_order_release);
}
