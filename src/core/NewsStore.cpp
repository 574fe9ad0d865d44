#include "core/NewsStore.h"

#include "core/ArticleIndex.h"
#include "core/DisplaySettings.h"
#include "core/Log.h"
#include "core/StockStore.h"
#include "platform/AsciiText.h"
#include "platform/Format.h"
#include "platform/StringList.h"
#include "platform/StringUtils.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <mutex>
#include <thread>
#include <string_view>
#include <unordered_set>

namespace {

std::atomic<int> g_newsTries{20};
std::atomic<int> g_newsIntervalMs{20};

// Store-wide item numbers: one per article (title and link), shared by every
// symbol that carries it; the records (by store index) that were given each
// number, so that a read mark visits only them; and the numbers the user has
// read. An article's title and link are kept one after the other in one text,
// so that a new article costs an append and no allocation of its own.
struct NewsArticle {
  std::size_t Hash = 0;      // NewsList::ArticleHash of title and link
  std::size_t TextStart = 0; // title then link in NewsNumbers::texts
  std::size_t TitleLength = 0;
  std::size_t LinkLength = 0;
  int FirstHolder = -1; // the store index of the first record given the number
  int MoreHolders = -1; // its entry in NewsNumbers::moreHolders, -1 when none
  bool InReadList = false;
};
struct NewsNumbers {
  std::mutex mutex;
  std::string texts;
  std::vector<NewsArticle> articles;          // by item number; 0 is none
  ArticleIndex byArticle;                     // item numbers by title and link
  std::vector<std::vector<int>> moreHolders;  // holders after the first of some articles
  std::vector<int> read;                      // in the order first read
  std::unordered_set<int> readNotGiven;       // read numbers no article has been given
  // True while every item in a news list was numbered here and its record
  // made a holder of the number: then a record that does not hold an
  // article's number cannot have the article in its list.
  bool listsNumberedHere = true;

  NewsNumbers() { articles.emplace_back(); }

  std::string_view Title(const NewsArticle &a) const {
    return std::string_view(texts).substr(a.TextStart, a.TitleLength);
  }
  std::string_view Link(const NewsArticle &a) const {
    return std::string_view(texts).substr(a.TextStart + a.TitleLength, a.LinkLength);
  }

  // The number of the article, 0 when it has none yet.
  int Find(const std::string &title, const std::string &link, std::size_t hash) const {
    const int known = byArticle.Find(hash, [&](int number) {
      const NewsArticle &a = articles[std::size_t(number)];
      return Title(a) == title && Link(a) == link;
    });
    return known > 0 ? known : 0;
  }

  // Gives a new number to an article that has none.
  int Give(const std::string &title, const std::string &link, std::size_t hash) {
    const int number = int(articles.size());
    NewsArticle &a = articles.emplace_back();
    a.Hash = hash;
    a.TextStart = texts.size();
    a.TitleLength = title.size();
    a.LinkLength = link.size();
    texts += title;
    texts += link;
    if (!readNotGiven.empty() && readNotGiven.erase(number) != 0)
      a.InReadList = true;
    byArticle.Insert(hash, number);
    return number;
  }

  bool Holds(int number, int holder) const {
    const NewsArticle &a = articles[std::size_t(number)];
    if (a.FirstHolder == holder)
      return true;
    if (a.MoreHolders < 0)
      return false;
    const std::vector<int> &more = moreHolders[std::size_t(a.MoreHolders)];
    return std::find(more.begin(), more.end(), holder) != more.end();
  }

  void AddHolder(int number, int holder) {
    NewsArticle &a = articles[std::size_t(number)];
    if (a.FirstHolder < 0 || a.FirstHolder == holder) {
      a.FirstHolder = holder;
      return;
    }
    if (a.MoreHolders < 0) {
      a.MoreHolders = int(moreHolders.size());
      moreHolders.emplace_back();
    }
    std::vector<int> &more = moreHolders[std::size_t(a.MoreHolders)];
    if (std::find(more.begin(), more.end(), holder) == more.end())
      more.push_back(holder);
  }

  bool Given(int number) const { return number > 0 && std::size_t(number) < articles.size(); }

  // Records a read number once, in the order first read.
  void RecordRead(int number) {
    if (Given(number)) {
      NewsArticle &a = articles[std::size_t(number)];
      if (a.InReadList)
        return;
      a.InReadList = true;
    } else if (!readNotGiven.insert(number).second) {
      return;
    }
    read.push_back(number);
  }
};
NewsNumbers &Numbers() {
  static NewsNumbers numbers;
  return numbers;
}

void Log(const std::string &text) {
  if (LoggingOn)
    WriteLog(text, 0);
}

// The record of a key, looked up under the stock-list lock.
StockInfoType *LookUp(const std::string &key, const char *tag, int *index = nullptr) {
  MyLockGuard guard(StockListLock, tag, false);
  if (!guard.Owns()) {
    if (index)
      *index = -1;
    return nullptr;
  }
  return FindStoreRecord(key, index);
}

// True when no record has news (the store's records are walked).
bool NewsListsEmpty() {
  const int count = StockList.Count();
  for (int i = 0; i < count; ++i) {
    const StockInfoType *rec = StockList.Objects(i);
    if (rec && rec->News.CountNoLock() > 0)
      return false;
  }
  return true;
}

// The record at a store index, looked up under the stock-list lock.
StockInfoType *RecordAt(int index, const char *tag) {
  MyLockGuard guard(StockListLock, tag, false);
  return guard.Owns() ? StockList.Objects(index) : nullptr;
}

// Tries the news list's lock the configured number of times.
bool LockNews(NewsList &news, const std::string &tag) {
  const int tries = std::max(1, g_newsTries.load());
  const int interval = std::max(0, g_newsIntervalMs.load());
  for (int i = 0; i < tries; ++i) {
    if (news.TryLock(tag))
      return true;
    if (i + 1 < tries)
      std::this_thread::sleep_for(std::chrono::milliseconds(interval));
  }
  return false;
}

// Holds a news list's lock taken by LockNews; releases only what it took.
class NewsGuard {
public:
  NewsGuard(NewsList &news, const std::string &tag) : m_news(news), m_owns(LockNews(news, tag)) {}
  ~NewsGuard() {
    if (m_owns)
      m_news.Unlock();
  }
  NewsGuard(const NewsGuard &) = delete;
  NewsGuard &operator=(const NewsGuard &) = delete;
  bool Owns() const { return m_owns; }

private:
  NewsList &m_news;
  bool m_owns;
};

char Lower(char c) { return AsciiLower(c); }

} // namespace

NewsLockTimings GetNewsLockTimings() {
  return NewsLockTimings{g_newsTries.load(), g_newsIntervalMs.load()};
}

void SetNewsLockTimings(const NewsLockTimings &timings) {
  g_newsTries = timings.tries;
  g_newsIntervalMs = timings.intervalMs;
}

// ---- Reading --------------------------------------------------------------------

namespace {
std::atomic<std::uint64_t> g_newsGeneration{1};
// Called after a change is made, so a reader that saw the old number looks again.
void NewsChanged() { g_newsGeneration.fetch_add(1, std::memory_order_acq_rel); }
} // namespace

std::uint64_t NewsGeneration() { return g_newsGeneration.load(std::memory_order_acquire); }

bool GetNewNews(const std::string &key, TDateTime &lastCheck, TDateTime &newestUnread) {
  lastCheck = 0;
  newestUnread = 0;
  int index = -1;
  StockInfoType *rec = LookUp(key, "GNEW", &index);
  if (!rec)
    return false;
  const bool flag = rec->NewNews.load() != 0;
  lastCheck = rec->LastNewsCheck.load();
  NewsGuard guard(rec->News, "GNEW");
  if (!guard.Owns()) {
    Log("GetNewNews Error: P=" + std::to_string(index) +
        " Count=" + std::to_string(rec->News.CountNoLock()));
    return flag;
  }
  newestUnread = rec->News.NewestUnread();
  return flag;
}

void SetNewNews(const std::string &key, bool flag) {
  StockInfoType *rec = LookUp(key, "SNEW");
  if (!rec) {
    Log("SetNewNews Error: no record for " + key);
    return;
  }
  rec->NewNews = flag ? 1 : 0;
  NewsChanged();
}

void SetLastNewsCheck(const std::string &key, TDateTime time) {
  if (StockInfoType *rec = LookUp(key, "SNCK"))
    rec->LastNewsCheck = time;
}

std::vector<NewsItem> GetNewsItems(const std::string &key) {
  std::vector<NewsItem> items;
  if (key.empty() || (key[0] != '|' && key.size() > SymbolMaxLength))
    return items;
  StockInfoType *rec = LookUp(key, "GNWS");
  if (!rec)
    return items;
  {
    NewsGuard guard(rec->News, "GNWS");
    if (!guard.Owns()) {
      Log("GetNews Error: news list busy for " + rec->Symbol);
      return items;
    }
    std::vector<NewsItem> all = rec->News.Items();
    // Later arrivals first, so that equal dates keep the newest arrival on top.
    for (auto it = all.rbegin(); it != all.rend(); ++it)
      if (!it->Title.empty() && !it->Source.empty())
        items.push_back(std::move(*it));
  }
  std::stable_sort(items.begin(), items.end(),
                   [](const NewsItem &a, const NewsItem &b) { return a.Date > b.Date; });
  return items;
}

namespace {
std::string DateText(TDateTime date, double offset) {
  return FormatDateTime("mmm dd,yyyy, hh:mm", date + offset);
}
} // namespace

std::string NewsDateText(TDateTime date) {
  return DateText(date, CurrentDisplaySettings().DisplayTimeOffset);
}

void GetNews(const std::string &key, TStringList &titles, TStringList &links,
             TStringList &itemNumbers, TStringList &readFlags, TStringList &secondNumbers,
             TStringList &dates, TStringList &sources) {
  for (TStringList *list :
       {&titles, &links, &itemNumbers, &readFlags, &secondNumbers, &dates, &sources})
    list->Clear();
  const double offset = CurrentDisplaySettings().DisplayTimeOffset;
  for (const NewsItem &item : GetNewsItems(key)) {
    titles.Add(item.Title);
    links.Add(item.Link);
    itemNumbers.Add(std::to_string(item.ItemNumber));
    readFlags.Add(item.Read ? "Y" : "N");
    secondNumbers.Add(std::to_string(item.SecondNumber));
    dates.Add(DateText(item.Date, offset));
    sources.Add(item.Source);
  }
}

// ---- Read marks -----------------------------------------------------------------

void MarkNewsRead(int itemNumber, bool read) {
  // Kept from call to call so that a mark allocates nothing once they have
  // grown to the longest title and link.
  thread_local std::string title, link;
  thread_local std::vector<int> holders;
  std::size_t hash = 0;
  holders.clear();
  {
    NewsNumbers &n = Numbers();
    std::lock_guard lock(n.mutex);
    if (read)
      n.RecordRead(itemNumber);
    if (n.Given(itemNumber)) {
      const NewsArticle &a = n.articles[std::size_t(itemNumber)];
      if (a.FirstHolder >= 0)
        holders.push_back(a.FirstHolder);
      if (a.MoreHolders >= 0) {
        const std::vector<int> &more = n.moreHolders[std::size_t(a.MoreHolders)];
        holders.insert(holders.end(), more.begin(), more.end());
      }
      title.assign(n.Title(a));
      link.assign(n.Link(a));
      hash = a.Hash;
    }
  }
  for (const int holder : holders) {
    StockInfoType *rec = RecordAt(holder, "MREAD");
    if (!rec || rec->News.CountNoLock() == 0)
      continue;
    NewsGuard guard(rec->News, "MREAD");
    if (guard.Owns()) {
      if (rec->News.SetRead(title, link, hash, itemNumber, read))
        NewsChanged();
    } else {
      Log("MarkNewsRead Error: news list busy for " + rec->Symbol);
    }
  }
}

std::vector<int> ReadNewsNumbers() {
  NewsNumbers &n = Numbers();
  std::lock_guard lock(n.mutex);
  return n.read;
}

// ---- Intake ---------------------------------------------------------------------

bool WildcardMatch(const std::string &pattern, const std::string &text) {
  // Greedy scan that remembers the last "*": on a mismatch the star takes one
  // more character. No recursion, no exponential backtracking.
  std::size_t p = 0, t = 0;
  std::size_t starP = std::string::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(text[t]))) {
      ++p;
      ++t;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starT = t;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*')
    ++p;
  return p == pattern.size();
}

bool NewsExcluded(const std::vector<std::string> &rules, const IncomingNews &item) {
  for (std::string rule : rules) {
    while (!rule.empty() && (rule.back() == '\r' || rule.back() == '\n'))
      rule.pop_back();
    if (rule.size() < 3 || rule[1] != ':')
      continue;
    const std::string *field = nullptr;
    switch (AsciiUpper(rule[0])) {
    case 'S':
      field = &item.Source;
      break;
    case 'T':
      field = &item.Title;
      break;
    case 'U':
      field = &item.Link;
      break;
    default:
      continue;
    }
    std::string pattern(1, '*');
    pattern.append(rule, 2);
    pattern += '*';
    if (WildcardMatch(pattern, *field))
      return true;
  }
  return false;
}

int AddNews(const std::string &symbol, const IncomingNews &in,
            const std::vector<std::string> &excludeRules, int maxItems, NewsAddOutcome *outcome) {
  NewsAddOutcome ignored;
  NewsAddOutcome &result = outcome ? *outcome : ignored;
  result = NewsAddOutcome::Dropped;
  if (NewsExcluded(excludeRules, in))
    return 0;
  const std::size_t hash = NewsList::ArticleHash(in.Title, in.Link);
  int index = -1;
  StockInfoType *rec = nullptr;
  {
    MyLockGuard guard(StockListLock, "ADDN", false);
    if (!guard.Owns()) {
      Log("AddNews Error: stock list lock not taken for " + symbol);
      result = NewsAddOutcome::Busy;
      return 0;
    }
    index = StockList.Add(symbol);
    rec = StockList.Objects(index);
  }
  if (!rec)
    return 0;

  NewsGuard guard(rec->News, "ADDN");
  if (!guard.Owns()) {
    Log("AddNews Error: news list busy for " + rec->Symbol);
    result = NewsAddOutcome::Busy;
    return 0;
  }
  int number = 0;
  bool read = false;
  {
    NewsNumbers &n = Numbers();
    std::lock_guard lock(n.mutex);
    const int known = n.Find(in.Title, in.Link, hash);
    // Only a record given the article before can have it: a new article
    // costs no look-up in the symbol's list.
    if (!n.listsNumberedHere || (known > 0 && n.Holds(known, index))) {
      const int same = rec->News.FindSame(in.Title, in.Link, hash);
      if (same >= 0) {
        result = NewsAddOutcome::Known;
        return rec->News.ItemNumber(same);
      }
    }
    // A full list keeps its newest items: an item older than all of them is
    // not stored.
    if (maxItems > 0 && rec->News.Count() >= maxItems && rec->News.OlderThanAll(in.Date))
      return 0;
    number = known > 0 ? known : n.Give(in.Title, in.Link, hash);
    read = n.articles[std::size_t(number)].InReadList;
    n.AddHolder(number, index);
  }
  rec->News.Add(NewsList::Texts{in.Title, in.Link, in.Source}, in.Date, number, in.SecondNumber,
                read, hash);
  if (maxItems > 0)
    rec->News.TrimTo(std::size_t(maxItems));
  NewsChanged();
  result = NewsAddOutcome::Added;
  return number;
}

int AddNews(const std::string &symbol, const IncomingNews &item) {
  const TDisplaySettings settings = CurrentDisplaySettings();
  return AddNews(symbol, item, settings.ExcludeRules, settings.MaxItems);
}

void ResetNewsStore() {
  NewsNumbers &n = Numbers();
  std::lock_guard lock(n.mutex);
  n.texts = std::string();
  n.articles = std::vector<NewsArticle>(1);
  n.byArticle = ArticleIndex();
  n.moreHolders = std::vector<std::vector<int>>();
  n.read = std::vector<int>();
  n.readNotGiven = std::unordered_set<int>();
  n.listsNumberedHere = NewsListsEmpty();
  NewsChanged();
}
