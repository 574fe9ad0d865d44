#include "alerts/news/NewsSymbols.h"

#include "acquisition/NewsThreadState.h"
#include "acquisition/UpdatedSymbols.h"
#include "core/NewsStore.h"
#include "core/StockStore.h"
#include "platform/StringUtils.h"
#include "views/stockgrid/StockGridGlobals.h"

#include <algorithm>

int NewsWindowKind() { return gkNewsWindow; }

std::vector<TNewsSymbolEntry> LoadNewsSymbols() {
  {
    std::string ignored;
    TakeUpdatedSymbols(usNewsWindow, ignored, "ZERO");
  }
  struct Listed {
    std::string Symbol;
    int StoreIndex;
  };
  std::vector<Listed> listed;
  {
    MyLockGuard guard(StockListLock, "LSTS", false);
    if (!guard.Owns())
      return {};
    const int count = StockList.Count();
    for (int i = 0; i < count; ++i) {
      const std::string key = StockList.Strings(i);
      if (IsStockSymbol(key) && !IsKindPSymbol(key))
        listed.push_back({key, i});
    }
  }
  // The flags are read after the lock is released: GetNewNews takes it itself.
  std::vector<TNewsSymbolEntry> entries;
  entries.reserve(listed.size());
  const int kind = NewsWindowKind();
  for (std::size_t p = 0; p < listed.size(); ++p) {
    TDateTime lastCheck = 0;
    TDateTime newestUnread = 0;
    const bool lit =
        GetNewNews(StoreKey(listed[p].StoreIndex, listed[p].Symbol), lastCheck, newestUnread);
    NewsRows.Set(kind, int(p), lit);
    NewsRowTimes.Set(kind, int(p), newestUnread);
    entries.push_back({listed[p].Symbol, int(p)});
  }
  NewsRows.Truncate(kind, int(listed.size()));
  NewsRowTimes.Truncate(kind, int(listed.size()));
  std::stable_sort(entries.begin(), entries.end(),
                   [](const TNewsSymbolEntry &a, const TNewsSymbolEntry &b) {
                     return CompareText(a.Symbol, b.Symbol) < 0;
                   });
  return entries;
}

bool RefreshNewsBulb(const std::string &symbol, int tableIndex) {
  TDateTime lastCheck = 0;
  TDateTime newestUnread = 0;
  const bool lit = GetNewNews(symbol, lastCheck, newestUnread);
  NewsRows.Set(NewsWindowKind(), tableIndex, lit);
  NewsRowTimes.Set(NewsWindowKind(), tableIndex, newestUnread);
  return lit;
}

bool NewsBulbLit(int tableIndex) { return NewsRows.Get(NewsWindowKind(), tableIndex); }

TDateTime NewsBulbTime(int tableIndex) { return NewsRowTimes.Get(NewsWindowKind(), tableIndex); }

std::vector<std::string> TakeChangedNewsSymbols() {
  if (!UpdatedSymbolSets.MayHaveSymbols(usNewsWindow))
    return {};
  return TakeUpdatedSymbolList(usNewsWindow, "NEWS");
}

void ClearNewsBulb(const std::string &symbol) {
  if (symbol.empty())
    return;
  SetNewNews(symbol, false);
  for (int kind : {usMainGrid, usWatchList, usNewsWindow, usTicker})
    MarkSymbolUpdated(kind, symbol);
}

bool RequestNewsFetch(const std::vector<std::string> &symbols, bool allSymbols) {
  std::string text;
  for (const std::string &s : symbols) {
    const std::string symbol = Trim(s);
    if (symbol.empty())
      continue;
    if (!text.empty())
      text += " ";
    text += symbol;
  }
  if (text.empty())
    return true;
  return AddToForceList(text, allSymbols ? "EXE1" : "EXE");
}
