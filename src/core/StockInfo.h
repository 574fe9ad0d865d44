#pragma once
#include "core/NewsList.h"
#include "core/ValueList.h"
#include "platform/DateTime.h"

#include <atomic>
#include <cstdint>
#include <string>

// Kind letters of a store record.
constexpr char KindUnknown = ' ';
constexpr char KindStock = 'S';
constexpr char KindIndex = 'I';
constexpr char KindPortfolio = 'P'; // a portfolio's totals stored under its key

// Maximum lengths of the record's short texts.
constexpr std::size_t SymbolMaxLength = 15;
constexpr std::size_t MarketCapMaxLength = 8;
constexpr std::size_t CompanyNameMaxLength = 20;
constexpr std::size_t ExchangeMaxLength = 10;

// A record stamp no record ever had (program-wide, from 1 up).
std::uint64_t NewRecordStamp();

// The per-symbol record of the market-data store. Records are created by the
// store and never freed while the program runs, so a pointer to one stays
// valid on every thread.
//
// The quote and fundamental fields are written under the record's tick-list
// lock (Ticks); readers on other threads take that lock too (GetLast1,
// GetFund and the alert pass do). The news fields are guarded by the news
// list's own lock; the new-news flag and the last news check are atomic.
struct StockInfoType {
  explicit StockInfoType(const std::string &symbol);
  StockInfoType(const StockInfoType &) = delete;
  StockInfoType &operator=(const StockInfoType &) = delete;

  const std::string Symbol; // the key: upper case, at most 15 characters
  char Kind = KindUnknown;

  // Changes (to a number never used before) whenever a quote, a tick or the
  // fundamentals are written; readable without a lock. A reader that saw
  // the same stamp before and after its copy knows the copy is current.
  std::atomic<std::uint64_t> Stamp;

  // Latest quote. QuoteTime -1.0 means no quote yet; its date part is not
  // meaningful (DayStamp carries the quote's day).
  float Last = 0;
  float Bid = 0;
  float Ask = 0;
  double QuoteTime = -1.0;
  float Volume = 0;
  float High = 0;
  float Low = 0;
  float PrevClose = 0;
  std::int32_t BidSize = 0;
  std::int32_t AskSize = 0;
  std::int32_t LastVolume = 0;
  std::int32_t AvgTrade = 0;
  std::int32_t NumTrades = 0;
  std::int32_t OpenInterest = 0;
  std::string TickText = "-"; // one character
  char BidMark = 0;           // 'U', 'D' or 0: direction of the last bid change
  char AskMark = 0;
  TDateTime DayStamp = 0;

  // Fundamentals.
  float FundPrevClose = 0;
  float Open = 0;
  float AvgVolume = 0;
  float Low52 = 0;
  float High52 = 0;
  float PE = 0;
  float Earnings = 0;
  float Dividend = 0;
  float Yield = 0;
  std::string MarketCap;   // up to 8 characters, as delivered
  std::string CompanyName; // up to 20
  std::string Exchange;    // up to 10

  // News.
  std::atomic<std::uint8_t> NewNews{0};
  std::atomic<TDateTime> LastNewsCheck{0};

  ValueList Ticks;
  NewsList News;
};
