#pragma once
#include "core/ArticleIndex.h"
#include "core/CriticalSection.h"
#include "platform/DateTime.h"

#include <atomic>
#include <string>
#include <vector>

// One news item of a symbol.
struct NewsItem {
  std::string Title;
  std::string Link;
  std::string Source;
  TDateTime Date = 0;   // publication time (market time)
  int ItemNumber = 0;   // store-wide number; one article shared by several symbols keeps one number
  int SecondNumber = 0; // the source's own number of the item, as delivered
  bool Read = false;
};

// The news items of one symbol in arrival order. Items are read and written
// only while the list's named lock is held. Look-ups by title and link are
// keyed, so they cost the same however long the list is; the key table is
// brought up to date by the look-ups themselves, so that adding an item
// touches only the end of the list.
class NewsList {
public:
  explicit NewsList(const std::string &lockName);
  NewsList(const NewsList &) = delete;
  NewsList &operator=(const NewsList &) = delete;

  bool Lock(const std::string &tag, bool mayGiveUp = true);
  bool TryLock(const std::string &tag);
  void Unlock();
  MyCriticalSection &LockObject() { return m_lock; }

  // Under the lock.
  int Count() const { return int(m_items.size()); }
  const NewsItem &Item(int i) const { return m_items.at(std::size_t(i)); }
  const std::vector<NewsItem> &Items() const { return m_items; }
  // The forms with a hash take ArticleHash(title, link) of the item, so that
  // a caller that needs it several times computes it once.
  void Add(const NewsItem &item);
  void Add(NewsItem &&item);
  void Add(NewsItem &&item, std::size_t hash);
  // Index of the item with this number, -1 when absent.
  int FindNumber(int itemNumber) const;
  // Index of the first item with the same title and link, -1 when absent.
  int FindSame(const std::string &title, const std::string &link) const;
  int FindSame(const std::string &title, const std::string &link, std::size_t hash) const;
  // Sets the read flag of every item with this number; true when one changed.
  bool SetRead(int itemNumber, bool read);
  // The same for the item with this title and link when it has this number.
  bool SetRead(const std::string &title, const std::string &link, int itemNumber, bool read);
  bool SetRead(const std::string &title, const std::string &link, std::size_t hash, int itemNumber,
               bool read);
  // Removes the oldest items (by date; of equal dates the earliest arrival)
  // until at most maxCount are left; returns how many were removed.
  int TrimTo(std::size_t maxCount);
  // The newest date among unread items, 0 when none.
  TDateTime NewestUnread() const;
  void Clear();

  int CountNoLock() const { return m_count.load(std::memory_order_acquire); }

  // The hash an article (title and link) is looked up by.
  static std::size_t ArticleHash(const std::string &title, const std::string &link);

private:
  void IndexNewItems() const;
  void ForgetIndex();

  MyCriticalSection m_lock;
  std::vector<NewsItem> m_items;
  std::vector<std::size_t> m_hashes; // ArticleHash of each item
  // Indexes of the first m_indexed items by title and link; the look-ups
  // add the later ones (under the lock, like every other use).
  mutable ArticleIndex m_bySame;
  mutable std::size_t m_indexed = 0;
  std::atomic<int> m_count{0};
};
