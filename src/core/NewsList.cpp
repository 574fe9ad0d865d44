#include "core/NewsList.h"

#include <algorithm>
#include <functional>

NewsList::NewsList(const std::string &lockName) : m_lock(lockName) {}

bool NewsList::Lock(const std::string &tag, bool mayGiveUp) { return m_lock.Lock(tag, mayGiveUp); }

bool NewsList::TryLock(const std::string &tag) { return m_lock.TryLock(tag); }

void NewsList::Unlock() { m_lock.Unlock(); }

std::size_t NewsList::ArticleHash(const std::string &title, const std::string &link) {
  const std::size_t t = std::hash<std::string>{}(title);
  return t ^ (std::hash<std::string>{}(link) + 0x9e3779b97f4a7c15ULL + (t << 6) + (t >> 2));
}

void NewsList::IndexNewItems() const {
  if (m_indexed == m_hashes.size())
    return;
  m_bySame.Reserve(m_hashes.size());
  for (; m_indexed < m_hashes.size(); ++m_indexed)
    m_bySame.Insert(m_hashes[m_indexed], int(m_indexed));
}

void NewsList::ForgetIndex() {
  m_bySame.Clear();
  m_indexed = 0;
}

void NewsList::Add(const NewsItem &item) { Add(NewsItem(item)); }

void NewsList::Add(NewsItem &&item) {
  const std::size_t hash = ArticleHash(item.Title, item.Link);
  Add(std::move(item), hash);
}

void NewsList::Add(NewsItem &&item, std::size_t hash) {
  m_items.push_back(std::move(item));
  m_hashes.push_back(hash);
  m_count.store(int(m_items.size()), std::memory_order_release);
}

int NewsList::FindNumber(int itemNumber) const {
  for (std::size_t i = 0; i < m_items.size(); ++i)
    if (m_items[i].ItemNumber == itemNumber)
      return int(i);
  return -1;
}

int NewsList::FindSame(const std::string &title, const std::string &link) const {
  return FindSame(title, link, ArticleHash(title, link));
}

int NewsList::FindSame(const std::string &title, const std::string &link,
                       std::size_t hash) const {
  IndexNewItems();
  return m_bySame.Find(hash, [&](int i) {
    const NewsItem &item = m_items[std::size_t(i)];
    return item.Title == title && item.Link == link;
  });
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

bool NewsList::SetRead(const std::string &title, const std::string &link, int itemNumber,
                       bool read) {
  return SetRead(title, link, ArticleHash(title, link), itemNumber, read);
}

bool NewsList::SetRead(const std::string &title, const std::string &link, std::size_t hash,
                       int itemNumber, bool read) {
  const int i = FindSame(title, link, hash);
  if (i < 0)
    return false;
  NewsItem &item = m_items[std::size_t(i)];
  if (item.ItemNumber != itemNumber || item.Read == read)
    return false;
  item.Read = read;
  return true;
}

int NewsList::TrimTo(std::size_t maxCount) {
  if (m_items.size() <= maxCount)
    return 0;
  const std::size_t remove = m_items.size() - maxCount;
  std::vector<bool> gone(m_items.size(), false);
  if (remove == 1) {
    // The common case, one item over a full list: the first of the oldest
    // goes, found without sorting.
    std::size_t oldest = 0;
    for (std::size_t i = 1; i < m_items.size(); ++i)
      if (m_items[i].Date < m_items[oldest].Date)
        oldest = i;
    gone[oldest] = true;
  } else {
    // The indexes of the oldest items, in arrival order among equal dates.
    std::vector<std::size_t> order(m_items.size());
    for (std::size_t i = 0; i < order.size(); ++i)
      order[i] = i;
    std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
      return m_items[a].Date < m_items[b].Date;
    });
    for (std::size_t k = 0; k < remove; ++k)
      gone[order[k]] = true;
  }
  std::size_t out = 0;
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    if (gone[i])
      continue;
    if (out != i) {
      m_items[out] = std::move(m_items[i]);
      m_hashes[out] = m_hashes[i];
    }
    ++out;
  }
  m_items.resize(out);
  m_hashes.resize(out);
  ForgetIndex();
  m_count.store(int(m_items.size()), std::memory_order_release);
  return int(remove);
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
  m_hashes.clear();
  ForgetIndex();
  m_count.store(0, std::memory_order_release);
}
