#include "alerts/news/NewsItemLists.h"

#include "core/DisplaySettings.h"
#include "core/NewsStore.h"
#include "platform/DateTime.h"
#include "platform/Format.h"
#include "platform/StringUtils.h"

#include <QString>

#include <algorithm>

void TNewsItemLists::Load(const std::string &symbol) {
  if (symbol.empty()) {
    Clear();
    return;
  }
  GetNews(symbol, Titles, Links, ItemNumbers, ReadFlags, SecondNumbers, Dates, Sources);
}

void TNewsItemLists::Clear() {
  for (TStringList *list :
       {&Titles, &Links, &ItemNumbers, &ReadFlags, &SecondNumbers, &Dates, &Sources})
    list->Clear();
}

int TNewsItemLists::RowOfItem(const std::string &itemNumber) const {
  if (itemNumber.empty())
    return 0;
  // Only rows with a full set of entries count.
  const int n = std::min(Count(), ItemNumbers.Count());
  for (int i = 0; i < n; ++i)
    if (ItemNumbers[i] == itemNumber)
      return i + 1;
  return 0;
}

std::string TNewsItemLists::ItemNumberOfRow(int row) const {
  return ValidRow(row) && row <= ItemNumbers.Count() ? ItemNumbers[row - 1] : std::string();
}

std::string TNewsItemLists::LinkOfRow(int row) const {
  return ValidRow(row) && row <= Links.Count() ? Links[row - 1] : std::string();
}

bool TNewsItemLists::RowRead(int row) const {
  return ValidRow(row) && row <= ReadFlags.Count() && ReadFlags[row - 1] == "Y";
}

bool TNewsItemLists::MarkRow(int row, bool read) {
  if (!ValidRow(row) || row > ReadFlags.Count() || row > ItemNumbers.Count())
    return false;
  ReadFlags.SetStrings(row - 1, read ? "Y" : "N");
  MarkNewsRead(int(StrToIntDef(ItemNumbers[row - 1], 0)), read);
  return true;
}

int TNewsItemLists::MarkRows(int first, int last, bool read) {
  if (first > last)
    std::swap(first, last);
  int marked = 0;
  last = std::min(last, Count());
  for (int row = std::max(first, 1); row <= last; ++row)
    marked += MarkRow(row, read) ? 1 : 0;
  return marked;
}

std::string NewsCaptionText(const std::string &symbol) {
  if (symbol.empty())
    return "News";
  TDateTime lastCheck = 0;
  TDateTime newestUnread = 0;
  GetNewNews(symbol, lastCheck, newestUnread);
  const TDateTime t = std::max(lastCheck, newestUnread);
  if (t > EncodeDate(1990, 1, 1)) {
    const TDateTime shown = t + CurrentDisplaySettings().DisplayTimeOffset;
    return "News for " + symbol + " last checked on " + FormatDateTime("mmm dd, yyyy", shown) +
           " at " + FormatDateTime("hh:mm", shown);
  }
  return "News for " + symbol + " - never checked yet";
}
