#pragma once
// News in the market-data store: per-symbol news lists, the store-wide item
// numbers, the list of read item numbers and the exclusion rules of the
// news intake. A key is a symbol or "|" + store index (see StockStore.h).
#include "core/NewsList.h"
#include "platform/DateTime.h"

#include <cstdint>
#include <string>
#include <vector>

class TStringList;

// How GetNewNews waits for a busy news list: tries, pause between tries.
struct NewsLockTimings {
  int tries = 20;
  int intervalMs = 20;
};
NewsLockTimings GetNewsLockTimings();
void SetNewsLockTimings(const NewsLockTimings &timings);

// The new-news flag of a key's record; lastCheck := the time of its last news
// check, newestUnread := the date of its newest unread item (0 when none).
// A key without a record gives false and zeros.
bool GetNewNews(const std::string &key, TDateTime &lastCheck, TDateTime &newestUnread);
// A number that grows with every change GetNewNews could see (flags, items,
// read marks, a reset); read it before the look-ups it vouches for.
std::uint64_t NewsGeneration();
// Sets or clears the new-news flag.
void SetNewNews(const std::string &key, bool flag);
// Records the time of the symbol's last news check.
void SetLastNewsCheck(const std::string &key, TDateTime time);

// The symbol's news, newest first, items with an empty title or source left
// out. Empty for a key without a record, a symbol longer than 15 characters
// or a news list that could not be locked.
std::vector<NewsItem> GetNewsItems(const std::string &key);

// Fills seven parallel lists (cleared first) with the symbol's news, newest
// first: title, link, item number, "Y"/"N" read flag, second number, date plus
// the display time offset as "mmm dd,yyyy, hh:mm", and source.
void GetNews(const std::string &key, TStringList &titles, TStringList &links,
             TStringList &itemNumbers, TStringList &readFlags, TStringList &secondNumbers,
             TStringList &dates, TStringList &sources);

// The date text GetNews gives for an item date (display offset added).
std::string NewsDateText(TDateTime date);

// Sets or clears the read flag of the item with this number on every symbol;
// when read, first records the number once in the list of read numbers.
void MarkNewsRead(int itemNumber, bool read);
// The recorded read item numbers, in the order they were first read.
std::vector<int> ReadNewsNumbers();

// ---- Intake -------------------------------------------------------------------------

struct IncomingNews {
  std::string Title;
  std::string Link;
  std::string Source;
  TDateTime Date = 0;
  int SecondNumber = 0;
};

// True when a rule drops the item. Rule lines are "S:" (source), "T:" (title)
// or "U:" (link) followed by an expression; a rule matches when its field
// matches "*" + expression + "*" ("*" any run, "?" one character, letter case
// ignored). Other lines and rules with an empty expression match nothing.
bool NewsExcluded(const std::vector<std::string> &rules, const IncomingNews &item);
// Wildcard match of the whole text ("*" any run, "?" one character, letter
// case ignored); time proportional to pattern length times text length.
bool WildcardMatch(const std::string &pattern, const std::string &text);

// Adds an item to the symbol's news (record created when new) unless a rule
// drops it or the symbol already has an item with that title and link. An
// article already known under another symbol keeps its item number; a number
// in the read list arrives read. With maxItems above 0 the symbol keeps only
// its maxItems newest items (an item older than all of a full list is not
// stored). Returns the item's number (of the stored item when the symbol has
// it already), 0 when dropped or not stored (an empty symbol, a lock not
// taken). *outcome (when given) says which.
enum class NewsAddOutcome {
  Added,   // stored by this call
  Known,   // the symbol has it already
  Dropped, // a rule matched, too old for a full list, or no symbol
  Busy,    // a lock was not taken: try again later
};
int AddNews(const std::string &symbol, const IncomingNews &item,
            const std::vector<std::string> &excludeRules, int maxItems = 0,
            NewsAddOutcome *outcome = nullptr);
// The same with the exclusion rules and MaxItems of the display settings.
int AddNews(const std::string &symbol, const IncomingNews &item);

// Forgets item numbers and read numbers (tests; ResetStockStore calls it).
void ResetNewsStore();
