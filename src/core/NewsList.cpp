#include "core/NewsList.h"

NewsList::NewsList(const std::string &lockName) : m_lock(lockName) {}

bool NewsList::Lock(const std::string &tag, bool mayGiveUp) { return m_lock.Lock(tag, mayGiveUp); }

bool NewsList::TryLock(const std::string &tag) { return m_lock.TryLock(tag); }

void NewsList::Unlock() { m_lock.Unlock(); }

void NewsList::Add(const NewsItem &item) {
  m_items.push_back(item);
  m_count.store(int(m_items.size()), std::memory_order_release);
}

int NewsList::FindNumber(int itemNumber) const {
  for (std::size_t i = 0; i < m_items.size(); ++i)
    if (m_items[i].ItemNumber == itemNumber)
      return int(i);
  return -1;
}

int NewsList::FindSame(const std::string &title, const std::string &link) const {
  for (std::size_t i = 0; i < m_items.size(); ++i)
    if (m_items[i].Title == title && m_items[i].Link == link)
      return int(i);
  return -1;
}

bool NewsList::SetRead(int itemNumber, bool read) {
  bool changed = false;
  for (auto &item : m_items)
    if (item.ItemNumber == itemNumber && item.Read != read) {
      item.Read = read;
      changed = true;
    }
  return changed;
}

TDateTime NewsList::NewestUnread() const {
  TDateTime newest = 0;
  bool any = false;
  for (const auto &item : m_items)
    if (!item.Read && (!any || item.Date > newest)) {
      newest = item.Date;
      any = true;
    }
  return newest;
}

void NewsList::Clear() {
  m_items.clear();
  m_count.store(0, std::memory_order_release);
}
