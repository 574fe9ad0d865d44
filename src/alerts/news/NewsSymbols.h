#pragma once
// The symbol side of the news window: which symbols it lists, their "new
// news" bulbs in the per-kind news tables, the symbols whose news changed,
// and the requests it makes of the news thread.
#include "platform/DateTime.h"

#include <string>
#include <vector>

// The kind under which the news window keeps its bulbs in NewsRows and
// NewsRowTimes (a kind of its own, so that no grid fill overwrites them).
int NewsWindowKind();

// One listed symbol: TableIndex is its row in the news tables.
struct TNewsSymbolEntry {
  std::string Symbol;
  int TableIndex = 0;
};

// Every stock symbol of the store (portfolio totals left out), sorted by name;
// table indexes follow the store's order. Reads each symbol's bulb into the
// news tables and empties the news window's updated-symbols set first, so that
// a change arriving meanwhile is seen by the next refresh.
std::vector<TNewsSymbolEntry> LoadNewsSymbols();

// Reads one symbol's new-news flag and newest-unread time into the tables at
// tableIndex; returns the flag.
bool RefreshNewsBulb(const std::string &symbol, int tableIndex);
// The bulb state the tables hold for a table index.
bool NewsBulbLit(int tableIndex);
TDateTime NewsBulbTime(int tableIndex);

// Takes the news window's updated-symbols set (lock tag "NEWS"), in the order
// the symbols were marked; empty when the lock was not taken.
std::vector<std::string> TakeChangedNewsSymbols();

// Clears the symbol's new-news flag and tells every view (grid, watch list,
// news window, ticker) to repaint its bulb.
void ClearNewsBulb(const std::string &symbol);

// Asks the news thread to fetch the symbols next (force list, lock tag "EXE"
// for one symbol or "EXE1" for all); a symbol already waiting is not added
// again. False when the force lock was not taken.
bool RequestNewsFetch(const std::vector<std::string> &symbols, bool allSymbols);
