#include "core/NewsList.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>

NewsList::NewsList(const std::string &lockName) : m_lock(lockName) {}

bool NewsList::Lock(const std::string &tag, bool mayGiveUp) { return m_lock.Lock(tag, mayGiveUp); }

bool NewsList::TryLock(const std::string &tag) { return m_lock.TryLock(tag); }

void NewsList::Unlock() { m_lock.Unlock(); }

std::size_t NewsList::ArticleHash(std::string_view title, std::string_view link) {
  const std::size_t t = std::hash<std::string_view>{}(title);
  return t ^ (std::hash<std::string_view>{}(link) + 0x9e3779b97f4a7c15ULL + (t << 6) + (t >> 2));
}

NewsList::Entry NewsList::AppendTexts(std::string &texts, const Texts &parts) {
  // A text longer than a length field holds is cut (no feed sends one).
  const auto length = [](std::string_view text) {
    return std::uint32_t(std::min<std::size_t>(text.size(), UINT32_MAX));
  };
  Entry e;
  e.TextStart = texts.size();
  e.TitleLength = length(parts.Title);
  e.LinkLength = length(parts.Link);
  e.SourceLength = length(parts.Source);
  texts.append(parts.Title.substr(0, e.TitleLength));
  texts.append(parts.Link.substr(0, e.LinkLength));
  texts.append(parts.Source.substr(0, e.SourceLength));
  return e;
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

NewsItem NewsList::Item(int i) const {
  const Entry &e = m_entries.at(std::size_t(i));
  NewsItem item;
  item.Title = Title(e);
  item.Link = Link(e);
  item.Source = Source(e);
  item.Date = e.Date;
  item.ItemNumber = e.ItemNumber;
  item.SecondNumber = e.SecondNumber;
  item.Read = e.Read;
  return item;
}

std::vector<NewsItem> NewsList::Items() const {
  std::vector<NewsItem> items;
  items.reserve(m_entries.size());
  for (int i = 0; i < Count(); ++i)
    items.push_back(Item(i));
  return items;
}

bool NewsList::OlderThanAll(TDateTime date) const {
  return std::all_of(m_entries.begin(), m_entries.end(),
                     [&](const Entry &e) { return date < e.Date; });
}

void NewsList::Add(const Texts &texts, TDateTime date, int itemNumber, int secondNumber, bool read,
                   std::size_t hash) {
  Entry e = AppendTexts(m_texts, texts);
  e.Date = date;
  e.ItemNumber = itemNumber;
  e.SecondNumber = secondNumber;
  e.Read = read;
  m_entries.push_back(e);
  m_hashes.push_back(hash);
  Published();
}

int NewsList::FindSame(std::string_view title, std::string_view link, std::size_t hash) const {
  IndexNewItems();
  return m_bySame.Find(hash, [&](int i) {
    const Entry &e = m_entries[std::size_t(i)];
    return Title(e) == title && Link(e) == link;
  });
}

bool NewsList::SetRead(std::string_view title, std::string_view link, std::size_t hash,
                       int itemNumber, bool read) {
  const int i = FindSame(title, link, hash);
  if (i < 0)
    return false;
  Entry &e = m_entries[std::size_t(i)];
  if (e.ItemNumber != itemNumber || e.Read == read)
    return false;
  e.Read = read;
  return true;
}

int NewsList::TrimTo(std::size_t maxCount) {
  if (m_entries.size() <= maxCount)
    return 0;
  const std::size_t remove = m_entries.size() - maxCount;
  std::vector<bool> gone(m_entries.size(), false);
  if (remove == 1) {
    // The common case, one item over a full list: the first of the oldest
    // goes, found without sorting.
    std::size_t oldest = 0;
    for (std::size_t i = 1; i < m_entries.size(); ++i)
      if (m_entries[i].Date < m_entries[oldest].Date)
        oldest = i;
    gone[oldest] = true;
  } else {
    // The indexes of the oldest items, in arrival order among equal dates.
    std::vector<std::size_t> order(m_entries.size());
    for (std::size_t i = 0; i < order.size(); ++i)
      order[i] = i;
    std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
      return m_entries[a].Date < m_entries[b].Date;
    });
    for (std::size_t k = 0; k < remove; ++k)
      gone[order[k]] = true;
  }
  std::size_t out = 0;
  for (std::size_t i = 0; i < m_entries.size(); ++i) {
    if (gone[i]) {
      m_deadText += TextLength(m_entries[i]);
      continue;
    }
    m_entries[out] = m_entries[i];
    m_hashes[out] = m_hashes[i];
    ++out;
  }
  m_entries.resize(out);
  m_hashes.resize(out);
  // The texts of removed items stay in the buffer until they are the
  // larger part of it: then the texts kept move to a new buffer.
  if (m_deadText > m_texts.size() / 2)
    CompactTexts();
  ForgetIndex();
  Published();
  return int(remove);
}

void NewsList::CompactTexts() {
  std::string texts;
  texts.reserve(m_texts.size() - m_deadText);
  for (Entry &e : m_entries) {
    const std::size_t start = texts.size();
    texts.append(m_texts, e.TextStart, TextLength(e));
    e.TextStart = start;
  }
  m_texts.swap(texts);
  m_deadText = 0;
}

TDateTime NewsList::NewestUnread() const {
  TDateTime newest = 0;
  bool any = false;
  for (const Entry &e : m_entries)
    if (!e.Read && (!any || e.Date > newest)) {
      newest = e.Date;
      any = true;
    }
  return newest;
}
