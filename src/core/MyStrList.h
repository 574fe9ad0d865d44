#pragma once
#include "core/StockInfo.h"

#include <memory>
#include <shared_mutex>
#include <string>
#include <unordered_map>
#include <vector>

// The symbol index of the market-data store: keys are upper-cased and cut to
// 15 characters; each key owns its StockInfoType. An index, once given, stays
// the same and its record is never freed while the program runs.
//
// Every call is safe from any thread (a short internal lock guards the
// tables); callers that walk the list as a whole also hold the stock-list
// lock "STLIST" (StockListLock) as the rest of the program expects.
class TMyStrList {
public:
  TMyStrList() = default;
  TMyStrList(const TMyStrList &) = delete;
  TMyStrList &operator=(const TMyStrList &) = delete;

  // The key a symbol is filed under.
  static std::string KeyOf(const std::string &symbol);

  // Index of the symbol, -1 when absent.
  int IndexOf(const std::string &symbol) const;
  int Count() const;
  // The key at index i ("" out of range).
  std::string Strings(int i) const;
  // The record at index i (nullptr out of range).
  StockInfoType *Objects(int i) const;
  // The record of a symbol (nullptr when absent).
  StockInfoType *Find(const std::string &symbol) const;
  // Index of the symbol, adding a new record when absent. An empty symbol
  // is refused with -1.
  int Add(const std::string &symbol);

  // Drops every record. Only for tests and shut-down, when no other thread
  // can hold a record.
  void ClearAll();

private:
  mutable std::shared_mutex m_mutex;
  std::vector<std::unique_ptr<StockInfoType>> m_records;
  std::unordered_map<std::string, int> m_index;
};
