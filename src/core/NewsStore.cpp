#include "core/NewsStore.h"

#include "core/DisplaySettings.h"
#include "core/Log.h"
#include "core/StockStore.h"
#include "platform/Format.h"
#include "platform/StringList.h"
#include "platform/StringUtils.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <unordered_set>

namespace {

std::atomic<int> g_newsTries{20};
std::atomic<int> g_newsIntervalMs{20};

// The symbols that carry one item number; most items have one, kept without
// an allocation of its own.
struct NewsHolders {
  std::string First;
  std::vector<std::string> More;
  void Add(const std::string &symbol) {
    if (First.empty())
      First = symbol;
    else if (First != symbol && std::find(More.begin(), More.end(), symbol) == More.end())
      More.push_back(symbol);
  }
  std::vector<std::string> All() const {
    std::vector<std::string> all;
    if (!First.empty())
      all.push_back(First);
    all.insert(all.end(), More.begin(), More.end());
    return all;
  }
};

// Store-wide item numbers: one per article (title and link), shared by every
// symbol that carries it; the symbols that were given each number, so that a
// read mark visits only them; and the numbers the user has read.
struct NewsArticle {
  std::string Title;
  std::string Link;
  NewsHolders Holders;
};
struct NewsNumbers {
  std::mutex mutex;
  int next = 1;
  std::unordered_multimap<std::size_t, int> byArticle; // hash of title and link -> numbers
  std::vector<NewsArticle> articles;                   // by item number
  std::vector<int> read;                               // in the order first read
  std::unordered_set<int> readSet;

  // The number of the article, a new one when it has none yet.
  int NumberOf(const std::string &title, const std::string &link) {
    const std::size_t hash = NewsList::ArticleHash(title, link);
    const auto [from, to] = byArticle.equal_range(hash);
    for (auto it = from; it != to; ++it) {
      const NewsArticle &a = articles[std::size_t(it->second)];
      if (a.Title == title && a.Link == link)
        return it->second;
    }
    const int number = next++;
    if (articles.size() <= std::size_t(number))
      articles.resize(std::size_t(number) + 1);
    articles[std::size_t(number)].Title = title;
    articles[std::size_t(number)].Link = link;
    byArticle.emplace(hash, number);
    return number;
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

char Lower(char c) { return char(std::tolower(static_cast<unsigned char>(c))); }

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
    const auto &all = rec->News.Items();
    // Later arrivals first, so that equal dates keep the newest arrival on top.
    for (auto it = all.rbegin(); it != all.rend(); ++it)
      if (!it->Title.empty() && !it->Source.empty())
        items.push_back(*it);
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
  std::vector<std::string> holders;
  std::string title, link;
  {
    NewsNumbers &n = Numbers();
    std::lock_guard lock(n.mutex);
    if (read && n.readSet.insert(itemNumber).second)
      n.read.push_back(itemNumber);
    if (itemNumber > 0 && std::size_t(itemNumber) < n.articles.size()) {
      const NewsArticle &article = n.articles[std::size_t(itemNumber)];
      holders = article.Holders.All();
      title = article.Title;
      link = article.Link;
    }
  }
  for (const std::string &symbol : holders) {
    StockInfoType *rec = LookUp(symbol, "MREAD");
    if (!rec || rec->News.CountNoLock() == 0)
      continue;
    NewsGuard guard(rec->News, "MREAD");
    if (guard.Owns()) {
      if (rec->News.SetRead(title, link, itemNumber, read))
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
    switch (std::toupper(static_cast<unsigned char>(rule[0]))) {
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
    if (WildcardMatch("*" + rule.substr(2) + "*", *field))
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
  const int same = rec->News.FindSame(in.Title, in.Link);
  if (same >= 0) {
    result = NewsAddOutcome::Known;
    return rec->News.Item(same).ItemNumber;
  }
  // A full list keeps its newest items: an item older than all of them is
  // not stored.
  if (maxItems > 0 && rec->News.Count() >= maxItems) {
    const auto &items = rec->News.Items();
    const bool older = std::all_of(items.begin(), items.end(),
                                   [&](const NewsItem &kept) { return in.Date < kept.Date; });
    if (older)
      return 0;
  }
  NewsItem item;
  item.Title = in.Title;
  item.Link = in.Link;
  item.Source = in.Source;
  item.Date = in.Date;
  item.SecondNumber = in.SecondNumber;
  {
    NewsNumbers &n = Numbers();
    std::lock_guard lock(n.mutex);
    item.ItemNumber = n.NumberOf(in.Title, in.Link);
    item.Read = n.readSet.count(item.ItemNumber) != 0;
    n.articles[std::size_t(item.ItemNumber)].Holders.Add(rec->Symbol);
  }
  const int number = item.ItemNumber;
  rec->News.Add(std::move(item));
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
  n.next = 1;
  n.byArticle.clear();
  n.articles.clear();
  n.read.clear();
  n.readSet.clear();
  NewsChanged();
}
