#pragma once
// The headlines of one symbol as the news window holds them: seven parallel
// lists filled together by GetNews, newest first. Row r of the headline grid
// (from 1) shows entry r - 1.
#include "platform/StringList.h"

#include <string>

class TNewsItemLists {
public:
  TStringList Titles;
  TStringList Links;
  TStringList ItemNumbers; // store-wide item numbers, decimal
  TStringList ReadFlags;   // "Y" or "N"
  TStringList SecondNumbers;
  TStringList Dates;
  TStringList Sources;

  // Refills the lists with the symbol's news (empty for "").
  void Load(const std::string &symbol);
  void Clear();
  int Count() const { return Titles.Count(); }
  // True when row (1-based grid row) has an entry.
  bool ValidRow(int row) const { return row >= 1 && row <= Count(); }

  // The row showing the item with this number, 0 when not listed.
  int RowOfItem(const std::string &itemNumber) const;
  // The item number of a row, "" for a row without an entry.
  std::string ItemNumberOfRow(int row) const;
  std::string LinkOfRow(int row) const;
  bool RowRead(int row) const;

  // Sets the row's read flag and the store's read mark of its item; false for
  // a row without an entry.
  bool MarkRow(int row, bool read);
  // MarkRow for rows first .. last (in either order), rows without an entry
  // skipped; the number of rows marked.
  int MarkRows(int first, int last, bool read);
};

// The news window's caption for a symbol: "News" for none; otherwise from the
// later of its last news check and its newest unread item, shifted by the
// display time offset: "News for IBM last checked on Mar 04, 2024 at 09:31",
// or "News for IBM - never checked yet" when that time is not after 1990.
std::string NewsCaptionText(const std::string &symbol);
