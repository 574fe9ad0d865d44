#pragma once
#include "core/ArticleIndex.h"
#include "core/CriticalSection.h"
#include "platform/DateTime.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
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
// touches only the end of the list. The texts of all items are kept one
// after the other in one buffer, and an item's other fields in a small fixed
// record: an item costs no allocation of its own, and a list of thousands
// stays small enough to be walked and grown quickly.
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
  int Count() const { return int(m_entries.size()); }
  // A copy of item i (0 <= i < Count()).
  NewsItem Item(int i) const;
  int ItemNumber(int i) const { return m_entries.at(std::size_t(i)).ItemNumber; }
  // Copies of every item, in arrival order.
  std::vector<NewsItem> Items() const;
  // True when date is before the date of every item.
  bool OlderThanAll(TDateTime date) const;

  // The texts of an item as Add takes them; they are copied into the list.
  struct Texts {
    std::string_view Title, Link, Source;
  };
  // hash is ArticleHash(title, link) of the item, so that a caller that
  // needs it several times computes it once.
  void Add(const Texts &texts, TDateTime date, int itemNumber, int secondNumber, bool read,
           std::size_t hash);
  // Index of the first item with the same title and link, -1 when absent.
  int FindSame(std::string_view title, std::string_view link, std::size_t hash) const;
  // Sets the read flag of the item with this title and link when it has this
  // number; true when it changed.
  bool SetRead(std::string_view title, std::string_view link, std::size_t hash, int itemNumber,
               bool read);
  // Removes the oldest items (by date; of equal dates the earliest arrival)
  // until at most maxCount are left; returns how many were removed.
  int TrimTo(std::size_t maxCount);
  // The newest date among unread items, 0 when none.
  TDateTime NewestUnread() const;

  int CountNoLock() const { return m_count.load(std::memory_order_acquire); }

  // The hash an article (title and link) is looked up by.
  static std::size_t ArticleHash(std::string_view title, std::string_view link);

private:
  // An item's fields; its title, link and source lie one after the other
  // from TextStart in m_texts.
  struct Entry {
    std::size_t TextStart = 0;
    std::uint32_t TitleLength = 0;
    std::uint32_t LinkLength = 0;
    std::uint32_t SourceLength = 0;
    bool Read = false;
    TDateTime Date = 0;
    int ItemNumber = 0;
    int SecondNumber = 0;
  };
  std::string_view Title(const Entry &e) const {
    return std::string_view(m_texts).substr(e.TextStart, e.TitleLength);
  }
  std::string_view Link(const Entry &e) const {
    return std::string_view(m_texts).substr(e.TextStart + e.TitleLength, e.LinkLength);
  }
  std::string_view Source(const Entry &e) const {
    return std::string_view(m_texts).substr(e.TextStart + e.TitleLength + e.LinkLength,
                                            e.SourceLength);
  }
  static std::size_t TextLength(const Entry &e) {
    return std::size_t(e.TitleLength) + e.LinkLength + e.SourceLength;
  }
  // Appends an item's texts to texts, returning its entry with the lengths set.
  static Entry AppendTexts(std::string &texts, const Texts &parts);
  // Moves the texts of the items to a new buffer without the removed ones'.
  void CompactTexts();
  void IndexNewItems() const;
  void ForgetIndex();
  void Published() { m_count.store(int(m_entries.size()), std::memory_order_release); }

  MyCriticalSection m_lock;
  std::vector<Entry> m_entries;
  std::string m_texts;
  std::size_t m_deadText = 0; // bytes of m_texts that belong to removed items
  std::vector<std::size_t> m_hashes; // ArticleHash of each item
  // Indexes of the first m_indexed items by title and link; the look-ups
  // add the later ones (under the lock, like every other use).
  mutable ArticleIndex m_bySame;
  mutable std::size_t m_indexed = 0;
  std::atomic<int> m_count{0};
};
